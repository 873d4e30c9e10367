// InstallDriver against the recording fake: the calls it makes, the progress
// it reports, and where each failure stops it.
#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakeServices.h"
#include "Install.h"
#include "RecordCompare.h"
#include "Tables.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using engine::InstallStep;

const std::string kX86Dir = "C:\\windows\\system32\\spool\\drivers\\w32x86";
const std::string kX64Dir = "C:\\windows\\system32\\spool\\drivers\\x64";
const std::string kWindowsKey = "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const std::string kPortsKey = "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
const std::vector<int> kFullProgress = {10, 20, 30, 40, 50, 60, 70, 80, 90, 95, 100};
// Row 5's files in copy order.
const std::vector<std::string> kRow5Files = {"QX20N.DLL",  "QX205X.GPD", "uniDRVui.DLL",
                                             "uniDRV.DLL", "UNIDRV.HLP", "UNIRES.DLL",
                                             "TTFSUB.GPD", "STDNAMES.GPD"};
// Progress after each copy in copy order; 0 for none.
const int kProgressAfterCopy[] = {10, 20, 30, 0, 40, 0, 50, 60};

engine::SerialSettings OnPort(int nPort) {
    engine::SerialSettings serial;
    serial.nPort = nPort;
    return serial;
}

struct Installation {
    const engine::InstallTarget* target = &engine::kTargetX86;
    int modelRow = 5;
    engine::SerialSettings serial;
    bool setDefault = true;
    std::string portName = "LPT1:";

    engine::InstallOutcome On(fake::FakeServices& sys) const {
        return engine::InstallDriver(sys, *target, modelRow, serial, setDefault, portName,
                                     sys.Progress());
    }
};

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override { engine::g_strPortName = "left from before"; }
    fake::FakeServices sys;
};

TEST_F(InstallTest, SuccessfulInstallMakesTheseCallsInOrder) {
    Installation run;
    run.serial = OnPort(3);
    run.portName = "COM1:";
    const engine::InstallOutcome outcome = run.On(sys);

    std::vector<std::string> expected = {"GetPrinterDriverDirectory Windows NT x86 255",
                                         "CurrentDirectory", "DirectoryExists C:\\setup\\x86"};
    for (size_t i = 0; i < kRow5Files.size(); ++i) {
        expected.push_back("CopyFile C:\\setup\\x86\\" + kRow5Files[i] + " -> " + kX86Dir + "\\" +
                           kRow5Files[i]);
        if (kProgressAfterCopy[i] != 0) {
            expected.push_back("Progress " + std::to_string(kProgressAfterCopy[i]));
        }
    }
    const std::vector<std::string> rest = {
        "AddPrinterDriver QX-205X Series Windows NT x86",
        "Progress 70",
        "AddPrinter QX-205X Series on COM1:",
        "Progress 80",
        "RegOpenKey " + kWindowsKey,
        "RegSetString " + kWindowsKey + " Device=QX-205X Series,winspool,COM1:",
        "RegCloseKey " + kWindowsKey,
        "BroadcastDefaultPrinterChange",
        "Progress 90",
        "RegOpenKey " + kPortsKey,
        "RegSetString " + kPortsKey + " COM1:=19200,N,8,1,p",
        "RegCloseKey " + kPortsKey,
        "Progress 95",
        "ClosePrinter " + std::to_string(sys.printerHandle),
        "Sleep 500",
        "Progress 100",
    };
    expected.insert(expected.end(), rest.begin(), rest.end());

    EXPECT_THAT(sys.calls, ElementsAreArray(expected));
    EXPECT_TRUE(outcome.succeeded) << outcome.Message();
    EXPECT_EQ(outcome.Message(), "The printer driver was installed.");
    EXPECT_EQ(engine::g_strPortName, "COM1:");
    EXPECT_TRUE(sys.driverDirectoryBufferZeroed) << "driver directory buffer must start zeroed";
    EXPECT_THAT(sys.drivers,
                ElementsAre(engine::MakeDriverInfo(engine::ModelTable[5], engine::kTargetX86)));
    EXPECT_THAT(sys.printers,
                ElementsAre(engine::MakePrinterInfo(engine::ModelTable[5], "COM1:")));
    EXPECT_EQ(sys.OpenKeyCount(), 0u) << "a registry key was left open";
    for (const auto& value : sys.writtenValues) {
        EXPECT_EQ(value.data.find('\0'), std::string::npos)
            << "registry data must not carry its own NUL: " << value.name;
    }
}

// Whatever the options, a successful installation reports the same positions.
TEST_F(InstallTest, ProgressOfASuccessfulInstall) {
    for (const engine::InstallTarget* target : {&engine::kTargetX86, &engine::kTargetX64}) {
        for (int nPort = 0; nPort < static_cast<int>(engine::kPortCount); ++nPort) {
            for (bool setDefault : {false, true}) {
                SCOPED_TRACE(std::string(target->pszFolder) + " port " + std::to_string(nPort) +
                             (setDefault ? " default" : ""));
                fake::FakeServices fresh;
                Installation run;
                run.target = target;
                run.serial = OnPort(nPort);
                run.setDefault = setDefault;
                EXPECT_TRUE(run.On(fresh).succeeded);
                EXPECT_EQ(fresh.progress, kFullProgress);
                // 95, close, pause, then 100.
                const std::string close = "ClosePrinter " + std::to_string(fresh.printerHandle);
                EXPECT_EQ(fresh.IndexOf("Progress 95") + 1, fresh.IndexOf(close));
                EXPECT_EQ(fresh.IndexOf(close) + 1, fresh.IndexOf("Sleep 500"));
                EXPECT_EQ(fresh.IndexOf("Sleep 500") + 1, fresh.IndexOf("Progress 100"));
            }
        }
    }
}

TEST_F(InstallTest, ParallelPortIndexesWriteNoPortValue) {
    for (int nPort : {0, 1, 2}) {
        SCOPED_TRACE(nPort);
        fake::FakeServices fresh;
        Installation run;
        run.serial = OnPort(nPort);
        run.setDefault = false;
        EXPECT_TRUE(run.On(fresh).succeeded);
        EXPECT_EQ(fresh.CountCalls("RegOpenKey"), 0u);
        EXPECT_EQ(fresh.IndexOf("Progress 90") + 1, fresh.IndexOf("Progress 95"));
    }
}

TEST_F(InstallTest, SerialPortIndexNamesTheValue) {
    const char* const names[] = {"COM1:", "COM2:", "COM3:", "COM4:"};
    for (int nPort = 3; nPort <= 6; ++nPort) {
        SCOPED_TRACE(nPort);
        fake::FakeServices fresh;
        Installation run;
        run.serial = OnPort(nPort);
        run.setDefault = false;
        run.portName = "LPT2:";  // the printer's port plays no part in the value name
        EXPECT_TRUE(run.On(fresh).succeeded);
        ASSERT_EQ(fresh.writtenValues.size(), 1u);
        EXPECT_EQ(fresh.writtenValues[0].key, kPortsKey);
        EXPECT_EQ(fresh.writtenValues[0].name, names[nPort - 3]);
        EXPECT_EQ(fresh.writtenValues[0].data, "19200,N,8,1,p");
    }
}

TEST_F(InstallTest, DefaultOffWritesNoDeviceValue) {
    Installation run;
    run.setDefault = false;
    EXPECT_TRUE(run.On(sys).succeeded);
    EXPECT_EQ(sys.CountCalls("RegOpenKey"), 0u);
    EXPECT_FALSE(sys.Called("BroadcastDefaultPrinterChange"));
    EXPECT_TRUE(sys.messages.empty());
}

TEST_F(InstallTest, EmptyPortName) {
    Installation run;
    run.portName = "";
    EXPECT_TRUE(run.On(sys).succeeded);
    ASSERT_EQ(sys.printers.size(), 1u);
    EXPECT_EQ(sys.printers[0].pPortName, "");
    ASSERT_EQ(sys.writtenValues.size(), 1u);
    EXPECT_EQ(sys.writtenValues[0].data, "QX-205X Series,winspool,");
    EXPECT_EQ(engine::g_strPortName, "");
}

TEST_F(InstallTest, ExistingPrinterIsKept) {
    sys.addPrinterError = engine::kErrorPrinterAlreadyExists;
    const engine::InstallOutcome outcome = Installation().On(sys);
    EXPECT_TRUE(outcome.succeeded) << outcome.Message();
    EXPECT_EQ(sys.progress, kFullProgress);
    EXPECT_EQ(sys.CountCalls("ClosePrinter"), 0u) << "there is no handle to close";
    EXPECT_EQ(sys.CountCalls("AddPrinterDriver"), 1u);
    EXPECT_TRUE(sys.Called("RegSetString " + kWindowsKey + " Device=QX-205X Series,winspool,LPT1:"));
    EXPECT_TRUE(sys.Called("BroadcastDefaultPrinterChange"));
}

TEST_F(InstallTest, WorksWithoutAProgressReceiver) {
    EXPECT_TRUE(engine::InstallDriver(sys, engine::kTargetX86, 0, {}, false, "LPT1:", nullptr)
                    .succeeded);
    EXPECT_TRUE(sys.Called("Sleep 500"));
}

// A combo box without a selection reads as -1; nothing may be read out of
// a table for it, and nothing may be touched.
TEST(InstallSettings, IndexOutsideItsTableStopsBeforeAnything) {
    const struct {
        const char* what;
        int modelRow;
        engine::SerialSettings serial;
        const char* named;
    } cases[] = {
        {"no model", -1, {}, "printer model"},
        {"model past the end", 11, {}, "printer model"},
        {"no port", 5, {-1, 5, 3, 0, 2, 2}, "port"},
        {"port past the end", 5, {7, 5, 3, 0, 2, 2}, "port"},
        {"baud", 5, {3, 9, 3, 0, 2, 2}, "baud rate"},
        {"data bits", 5, {3, 5, -1, 0, 2, 2}, "data bits"},
        {"stop bits", 5, {3, 5, 3, 3, 2, 2}, "stop bits"},
        {"parity", 5, {3, 5, 3, 0, 5, 2}, "parity"},
        {"flow", 5, {3, 5, 3, 0, 2, -1}, "flow control"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake::FakeServices sys;
        const engine::InstallOutcome outcome =
            engine::InstallDriver(sys, engine::kTargetX86, c.modelRow, c.serial, true, "COM1:", sys.Progress());
        EXPECT_FALSE(outcome.succeeded);
        EXPECT_EQ(outcome.step, engine::InstallStep::Settings);
        EXPECT_NE(outcome.Message().find(c.named), std::string::npos) << outcome.Message();
        EXPECT_TRUE(sys.progress.empty());
        EXPECT_EQ(sys.CountCalls("GetPrinterDriverDirectory"), 0u);
        EXPECT_EQ(sys.CountCalls("RegOpenKey"), 0u);
    }
}

// ---- Failures that stop the installation

struct FailureCase {
    std::string name;
    std::function<void(fake::FakeServices&)> arrange;
    InstallStep step;
    std::string subject;
    uint32_t error;
    std::string message;
    std::vector<int> progress;
    size_t copies;         // copies attempted
    size_t registrations;  // AddPrinterDriver calls
    size_t printers;       // AddPrinter calls
};

std::vector<FailureCase> FailureCases() {
    const std::string env = "\"Windows NT x86\": ";
    std::vector<FailureCase> cases = {
        {"DirectoryQueryFails", [](fake::FakeServices& s) { s.driverDirectoryError = 5; },
         InstallStep::DriverDirectory, "Windows NT x86", 5,
         "Could not get the printer driver directory for " + env + "Access is denied. (error 5)",
         {}, 0, 0, 0},
        {"DirectoryTooLong",
         [](fake::FakeServices& s) {
             s.driverDirectories["Windows NT x86"] = "C:\\" + std::string(252, 'd');
         },
         InstallStep::DriverDirectory, "Windows NT x86", 122,
         "Could not get the printer driver directory for " + env +
             "The data area passed to a system call is too small. (error 122)",
         {}, 0, 0, 0},
        {"DirectoryWithoutNul", [](fake::FakeServices& s) { s.driverDirectoryWithoutNul = true; },
         InstallStep::DriverDirectory, "Windows NT x86", 122,
         "Could not get the printer driver directory for " + env +
             "The data area passed to a system call is too small. (error 122)",
         {}, 0, 0, 0},
        {"DirectoryEmpty", [](fake::FakeServices& s) { s.driverDirectories["Windows NT x86"] = ""; },
         InstallStep::DriverDirectory, "Windows NT x86", 0,
         "Could not get the printer driver directory for " + env + "the spooler gave an empty path",
         {}, 0, 0, 0},
        {"CopyFailsWithoutErrorCode", [](fake::FakeServices& s) { s.copyErrors[1] = 0; },
         InstallStep::CopyFile, "C:\\setup\\x86\\QX20N.DLL", 0,
         "Could not copy the driver file \"C:\\setup\\x86\\QX20N.DLL\" to \"" + kX86Dir +
             "\\QX20N.DLL\": the call failed without an error code",
         {}, 1, 0, 0},
        {"RegistrationFails", [](fake::FakeServices& s) { s.addDriverError = 1797; },
         InstallStep::RegisterDriver, "QX-205X Series", 1797,
         "Could not register the printer driver \"QX-205X Series\": "
         "The printer driver is unknown. (error 1797)",
         {10, 20, 30, 40, 50, 60}, 8, 1, 0},
        {"PrinterCreationFails", [](fake::FakeServices& s) { s.addPrinterError = 87; },
         InstallStep::CreatePrinter, "QX-205X Series", 87,
         "Could not create the printer \"QX-205X Series\": The parameter is incorrect. (error 87)",
         {10, 20, 30, 40, 50, 60, 70}, 8, 1, 1},
    };
    // Each of the eight copies failing in turn.
    for (size_t n = 1; n <= kRow5Files.size(); ++n) {
        const std::string source = "C:\\setup\\x86\\" + kRow5Files[n - 1];
        std::vector<int> progress;
        for (size_t i = 0; i + 1 < n; ++i) {
            if (kProgressAfterCopy[i] != 0) progress.push_back(kProgressAfterCopy[i]);
        }
        cases.push_back({"Copy" + std::to_string(n) + "Fails",
                         [n](fake::FakeServices& s) { s.copyErrors[n] = 2; }, InstallStep::CopyFile,
                         source, 2,
                         "Could not copy the driver file \"" + source + "\" to \"" + kX86Dir +
                             "\\" + kRow5Files[n - 1] +
                             "\": The system cannot find the file specified. (error 2)",
                         progress, n, 0, 0});
    }
    return cases;
}

class InstallFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(InstallFailureTest, StopsAtTheFailingStep) {
    const FailureCase& c = GetParam();
    fake::FakeServices sys;
    c.arrange(sys);
    Installation run;
    run.serial = OnPort(3);
    run.portName = "COM1:";
    const engine::InstallOutcome outcome = run.On(sys);

    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.step, c.step);
    EXPECT_EQ(outcome.subject, c.subject);
    EXPECT_EQ(outcome.error, c.error);
    EXPECT_EQ(outcome.Message(), c.message);
    EXPECT_EQ(sys.progress, c.progress) << "progress must stop where the installation stopped";
    EXPECT_EQ(sys.CountCalls("CopyFile"), c.copies);
    EXPECT_EQ(sys.CountCalls("AddPrinterDriver"), c.registrations);
    EXPECT_EQ(sys.CountCalls("AddPrinter "), c.printers);
    // Nothing after the failing step.
    EXPECT_EQ(sys.CountCalls("RegOpenKey"), 0u);
    EXPECT_EQ(sys.CountCalls("ClosePrinter"), 0u);
    EXPECT_EQ(sys.CountCalls("Sleep"), 0u);
    EXPECT_EQ(sys.CountCalls("BroadcastDefaultPrinterChange"), 0u);
    EXPECT_TRUE(sys.messages.empty()) << "the caller shows the outcome, not the installation";
    EXPECT_EQ(engine::g_strPortName, "COM1:") << "the port name is taken at the start";
}

INSTANTIATE_TEST_SUITE_P(EachStep, InstallFailureTest, ::testing::ValuesIn(FailureCases()),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                             return info.param.name;
                         });

// A path that just fits the 255-byte buffer with its NUL is taken whole.
TEST(InstallDriverDirectory, LengthEdges) {
    const struct {
        size_t length;
        bool fits;
    } cases[] = {{4, true}, {253, true}, {254, true}, {255, false}, {256, false}, {600, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        fake::FakeServices sys;
        const std::string dir = "C:\\" + std::string(c.length - 3, 'd');
        sys.driverDirectories["Windows NT x86"] = dir;
        const engine::InstallOutcome outcome = Installation().On(sys);
        EXPECT_EQ(outcome.succeeded, c.fits) << outcome.Message();
        if (c.fits) {
            ASSERT_FALSE(sys.copies.empty());
            EXPECT_EQ(sys.copies[0].destination, dir + "\\QX20N.DLL");
        } else {
            EXPECT_EQ(outcome.step, InstallStep::DriverDirectory);
            EXPECT_TRUE(sys.copies.empty());
        }
    }
}

// ---- Registry failures: a message, and the installation goes on

struct RegistryCase {
    std::string name;
    std::function<void(fake::FakeServices&)> arrange;
    std::vector<std::string> between80And95;  // the calls between those two positions
};

std::vector<RegistryCase> RegistryCases() {
    const std::string setDevice = "RegSetString " + kWindowsKey + " Device=QX-205X Series,winspool,COM1:";
    const std::string setPort = "RegSetString " + kPortsKey + " COM1:=19200,N,8,1,p";
    return {
        {"WindowsKeyWillNotOpen",
         [](fake::FakeServices& s) {
             s.regOpenErrors["Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows"] = 2;
         },
         {"RegOpenKey " + kWindowsKey, "ShowMessage cp936", "Progress 90", "RegOpenKey " + kPortsKey,
          setPort, "RegCloseKey " + kPortsKey}},
        {"DeviceWillNotSet", [](fake::FakeServices& s) { s.regSetErrors["Device"] = 5; },
         {"RegOpenKey " + kWindowsKey, setDevice, "ShowMessage cp936", "RegCloseKey " + kWindowsKey,
          "Progress 90", "RegOpenKey " + kPortsKey, setPort, "RegCloseKey " + kPortsKey}},
        {"PortsKeyWillNotOpen",
         [](fake::FakeServices& s) {
             s.regOpenErrors["SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports"] = 5;
         },
         {"RegOpenKey " + kWindowsKey, setDevice, "RegCloseKey " + kWindowsKey,
          "BroadcastDefaultPrinterChange", "Progress 90", "RegOpenKey " + kPortsKey,
          "ShowMessage cp936"}},
        {"PortValueWillNotSet", [](fake::FakeServices& s) { s.regSetErrors["COM1:"] = 5; },
         {"RegOpenKey " + kWindowsKey, setDevice, "RegCloseKey " + kWindowsKey,
          "BroadcastDefaultPrinterChange", "Progress 90", "RegOpenKey " + kPortsKey, setPort,
          "ShowMessage cp936", "RegCloseKey " + kPortsKey}},
        {"NeitherValueSets",
         [](fake::FakeServices& s) {
             s.regSetErrors["Device"] = 5;
             s.regSetErrors["COM1:"] = 5;
         },
         {"RegOpenKey " + kWindowsKey, setDevice, "ShowMessage cp936", "RegCloseKey " + kWindowsKey,
          "Progress 90", "RegOpenKey " + kPortsKey, setPort, "ShowMessage cp936",
          "RegCloseKey " + kPortsKey}},
    };
}

class InstallRegistryTest : public ::testing::TestWithParam<RegistryCase> {};

TEST_P(InstallRegistryTest, ShowsTheMessageAndGoesOn) {
    const RegistryCase& c = GetParam();
    fake::FakeServices sys;
    c.arrange(sys);
    Installation run;
    run.serial = OnPort(3);
    run.portName = "COM1:";
    const engine::InstallOutcome outcome = run.On(sys);

    EXPECT_TRUE(outcome.succeeded) << outcome.Message();
    EXPECT_EQ(sys.progress, kFullProgress);
    const size_t from = sys.IndexOf("Progress 80") + 1;
    const size_t to = sys.IndexOf("Progress 95");
    ASSERT_LE(from, to);
    EXPECT_THAT(std::vector<std::string>(sys.calls.begin() + from, sys.calls.begin() + to),
                ElementsAreArray(c.between80And95));
    for (const auto& message : sys.messages) {
        EXPECT_EQ(message.text, engine::kRegistryErrorText);
        EXPECT_EQ(message.encoding, engine::TextEncoding::Cp936);
    }
    EXPECT_EQ(sys.OpenKeyCount(), 0u) << "a registry key was left open";
}

INSTANTIATE_TEST_SUITE_P(EachValue, InstallRegistryTest, ::testing::ValuesIn(RegistryCases()),
                         [](const ::testing::TestParamInfo<RegistryCase>& info) {
                             return info.param.name;
                         });

TEST(InstallRegistryText, IsTheChineseMessageInCodePage936) {
    // 错误：无法设置有关的注册表信息
    EXPECT_STREQ(engine::kRegistryErrorText,
                 "\xb4\xed\xce\xf3\xa3\xba\xce\xde\xb7\xa8\xc9\xe8\xd6\xc3\xd3\xd0"
                 "\xb9\xd8\xb5\xc4\xd7\xa2\xb2\xe1\xb1\xed\xd0\xc5\xcf\xa2");
}

// ---- Targets and source folders

TEST_F(InstallTest, X64TargetPathsAndEnvironment) {
    const engine::InstallOutcome outcome = [&] {
        Installation run;
        run.target = &engine::kTargetX64;
        return run.On(sys);
    }();
    ASSERT_TRUE(outcome.succeeded) << outcome.Message();
    EXPECT_THAT(sys.driverDirectoryEnvironments, ElementsAre("Windows x64"));
    ASSERT_EQ(sys.copies.size(), kRow5Files.size());
    for (size_t i = 0; i < kRow5Files.size(); ++i) {
        EXPECT_EQ(sys.copies[i].source, "C:\\setup\\x64\\" + kRow5Files[i]);
        EXPECT_EQ(sys.copies[i].destination, kX64Dir + "\\" + kRow5Files[i]);
    }
    ASSERT_EQ(sys.drivers.size(), 1u);
    EXPECT_EQ(sys.drivers[0], engine::MakeDriverInfo(engine::ModelTable[5], engine::kTargetX64));
    EXPECT_EQ(sys.drivers[0].pEnvironment, "Windows x64");
}

struct SourceCase {
    const char* name;
    std::string current;
    std::string program;
    std::set<std::string> directories;
    const engine::InstallTarget* target;
    std::string base;
    std::string firstSource;
};

TEST(InstallSourceFolder, CurrentDirectoryElseProgramFolder) {
    const SourceCase cases[] = {
        {"current holds x86", "C:\\setup", "D:\\prog", {"C:\\setup\\x86"}, &engine::kTargetX86,
         "C:\\setup", "C:\\setup\\x86\\QX20N.DLL"},
        {"started elevated in system32", "C:\\Windows\\system32", "D:\\prog", {"D:\\prog\\x86"},
         &engine::kTargetX86, "D:\\prog", "D:\\prog\\x86\\QX20N.DLL"},
        {"current holds only x86", "C:\\setup", "D:\\prog", {"C:\\setup\\x86"},
         &engine::kTargetX64, "D:\\prog", "D:\\prog\\x64\\QX20N.DLL"},
        {"neither holds it", "C:\\tmp", "D:\\prog", {}, &engine::kTargetX86, "D:\\prog",
         "D:\\prog\\x86\\QX20N.DLL"},
        {"drive root", "C:\\", "D:\\prog", {"C:\\x86"}, &engine::kTargetX86, "C:\\",
         "C:\\x86\\QX20N.DLL"},
    };
    for (const SourceCase& c : cases) {
        SCOPED_TRACE(c.name);
        fake::FakeServices sys;
        sys.currentDirectory = c.current;
        sys.programFolder = c.program;
        sys.directories = c.directories;
        EXPECT_EQ(engine::SourceBaseFolder(sys, *c.target), c.base);

        fake::FakeServices install;
        install.currentDirectory = c.current;
        install.programFolder = c.program;
        install.directories = c.directories;
        Installation run;
        run.target = c.target;
        run.On(install);
        ASSERT_FALSE(install.copies.empty());
        EXPECT_EQ(install.copies[0].source, c.firstSource);
    }
}

TEST(InstallOutcomeMessage, DefaultOutcomeClaimsNothing) {
    EXPECT_EQ(engine::InstallOutcome().Message(), "The installation did not run.");
}

}  // namespace
