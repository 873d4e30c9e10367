// The whole installation through the Win32 services, against the prefix's
// real spooler and registry, with stand-in driver files.
#include "Win32Services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Install.h"
#include "SpoolerReadBack.h"
#include "Tables.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

constexpr const char* kEnvX86 = "Windows NT x86";
constexpr const char* kEnvX64 = "Windows x64";
// The spooler keeps version 3 drivers in this folder below the driver
// directory, and reports version 3 although the registration says 2.
constexpr const char* kVersionFolder = "3";
constexpr DWORD kReadBackVersion = 3;

const std::vector<int> kFullProgress = {10, 20, 30, 40, 50, 60, 70, 80, 90, 95, 100};

const char* const kEnvironments[] = {kEnvX86, kEnvX64};

std::string StandInText(const char* folder, const std::string& name) {
    return std::string("STAND-IN driver file for tests: ") + folder + "\\" + name;
}

// The registered name of a driver file, as the read-back path ends.
std::string RegisteredName(const engine::DriverFile& file, const engine::PrinterModel& model) {
    std::string name = engine::RegisteredFileName(file, model);
    if (!name.empty() && name[0] == '\\') name.erase(0, 1);
    return name;
}

// The Device value, or "(none)".
std::string ReadDevice() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, engine::kDefaultPrinterKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return "(no key)";
    }
    char data[512] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, engine::kDefaultPrinterValue, nullptr, &type,
                                   reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return "(none)";
    if (type != REG_SZ) return "(not REG_SZ)";
    return std::string(data);
}

bool WriteValue(HKEY root, const char* path, const char* name, const std::string& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>(data.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// A value's text, and whether it was there, to put it back afterwards.
struct SavedValue {
    HKEY root;
    const char* path;
    std::string name;
    bool present = false;
    std::string data;

    SavedValue(HKEY r, const char* p, std::string n) : root(r), path(p), name(std::move(n)) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
        char buffer[512] = {};
        DWORD size = sizeof buffer - 1;
        present = RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
        data = buffer;
        RegCloseKey(key);
    }
    std::string Read() const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "(no key)";
        char buffer[512] = {};
        DWORD size = sizeof buffer - 1;
        LONG result = RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS ? std::string(buffer) : "(none)";
    }
    void Restore() const {
        if (present) {
            WriteValue(root, path, name.c_str(), data);
            return;
        }
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, name.c_str());
            RegCloseKey(key);
        }
    }
};

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Real Windows always has this key; a fresh prefix may not.
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, engine::kDefaultPrinterKey, 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        m_device.emplace(HKEY_CURRENT_USER, engine::kDefaultPrinterKey,
                         engine::kDefaultPrinterValue);
        ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, engine::kDefaultPrinterKey,
                               engine::kDefaultPrinterValue, kDeviceMarker));
        m_previousFolder = CurrentFolder();
        ASSERT_TRUE(SetCurrentDirectoryA(m_scratch.Path().c_str()));
        m_catcher = std::make_unique<DialogCatcher>([this](HWND dialog) {
            m_messages.push_back(DialogCatcher::ControlText(dialog, 0xFFFF));
            DialogCatcher::Press(dialog, IDOK);
        });
    }

    void TearDown() override {
        m_catcher.reset();
        SetCurrentDirectoryA(m_previousFolder.c_str());
        for (int row : m_rows) RemoveModel(row);
        if (m_device) m_device->Restore();
    }

    // The model row's printers and drivers, gone before and after a test.
    void UseModel(int row) {
        m_rows.push_back(row);
        RemoveModel(row);
        const std::string name = engine::ModelTable[row].pszDriverName;
        for (const char* environment : kEnvironments) {
            ASSERT_TRUE(DriversNamed(environment, name).empty()) << environment << " " << name;
        }
        ASSERT_TRUE(PrintersNamed(name).empty()) << name;
    }

    static void RemoveModel(int row) {
        const std::string name = engine::ModelTable[row].pszDriverName;
        DeletePrintersNamed(name);
        for (const char* environment : kEnvironments) DeleteDriver(environment, name);
    }

    // x86\ and x64\ below the scratch folder, each with the row's eight files.
    void MakeStandIns(int row) {
        const engine::PrinterModel& model = engine::ModelTable[row];
        for (const char* folder : {"x86", "x64"}) {
            const std::string path = m_scratch / folder;
            CreateDirectoryA(path.c_str(), nullptr);
            for (const engine::DriverFile& file : engine::DriverFiles) {
                const std::string name = engine::DriverFileName(file, model);
                ASSERT_TRUE(WriteTextFile(path + "\\" + name, StandInText(folder, name)));
            }
        }
    }

    engine::InstallOutcome Install(const engine::InstallTarget& target, int row,
                                   const std::string& port, bool setDefault = true,
                                   const engine::SerialSettings& serial = {}) {
        m_progress.clear();
        return engine::InstallDriver(m_sys, target, row, serial, setDefault, port,
                                     [this](int position) { m_progress.push_back(position); });
    }

    // Every field of the registration, and the files where the spooler
    // put them, with the content of the target's own stand-ins.
    static void ExpectRegistered(int row, const char* environment, const char* folder) {
        const engine::PrinterModel& model = engine::ModelTable[row];
        const std::vector<DriverRecord> drivers = DriversNamed(environment, model.pszDriverName);
        ASSERT_EQ(drivers.size(), 1u) << environment;
        const DriverRecord& driver = drivers[0];
        const std::string versionFolder =
            DriverDirectory(environment) + "\\" + kVersionFolder + "\\";

        EXPECT_EQ(driver.version, kReadBackVersion);
        EXPECT_EQ(driver.name, model.pszDriverName);
        EXPECT_EQ(driver.environment, environment);
        EXPECT_EQ(driver.monitorName, "");
        EXPECT_EQ(driver.defaultDataType, "RAW");

        std::vector<std::string> expectedDependents;
        for (const engine::DriverFile& file : engine::DriverFiles) {
            if (file.role == engine::DriverFileRole::DependentFile) {
                expectedDependents.resize(std::max<size_t>(expectedDependents.size(),
                                                           file.nDependentIndex + 1));
                expectedDependents[file.nDependentIndex] = RegisteredName(file, model);
            }
        }
        ASSERT_EQ(driver.dependentFiles.size(), expectedDependents.size());
        ASSERT_EQ(expectedDependents.size(), 4u);

        for (const engine::DriverFile& file : engine::DriverFiles) {
            const std::string registered = RegisteredName(file, model);
            SCOPED_TRACE(registered);
            std::string path;
            switch (file.role) {
            case engine::DriverFileRole::DriverPath: path = driver.driverPath; break;
            case engine::DriverFileRole::DataFile: path = driver.dataFile; break;
            case engine::DriverFileRole::ConfigFile: path = driver.configFile; break;
            case engine::DriverFileRole::HelpFile: path = driver.helpFile; break;
            case engine::DriverFileRole::DependentFile:
                path = driver.dependentFiles[file.nDependentIndex];
                break;
            }
            EXPECT_TRUE(EqualNoCase(path, versionFolder + registered)) << path;
            bool readable = false;
            EXPECT_EQ(ReadTextFile(path, &readable),
                      StandInText(folder, engine::DriverFileName(file, model)));
            EXPECT_TRUE(readable) << path;
        }
    }

    static void ExpectPrinter(int row, const std::string& port) {
        const std::string name = engine::ModelTable[row].pszDriverName;
        const std::vector<PrinterRecord> listed = PrintersNamed(name);
        ASSERT_EQ(listed.size(), 1u);
        PrinterRecord opened;
        ASSERT_TRUE(GetPrinterRecord(name, &opened));
        for (const PrinterRecord& printer : {listed[0], opened}) {
            EXPECT_EQ(printer.name, name);
            EXPECT_EQ(printer.port, port);
            EXPECT_EQ(printer.driver, name);
            EXPECT_EQ(printer.printProcessor, "WinPrint");
            EXPECT_EQ(printer.datatype, "RAW");
        }
    }

    static constexpr const char* kDeviceMarker = "Earlier Printer,winspool,FILE:";

    ScratchFolder m_scratch{"install"};
    win32::Win32Services m_sys;
    std::vector<int> m_progress;
    std::vector<std::wstring> m_messages;  // message boxes the installation showed
    std::vector<int> m_rows;
    std::string m_previousFolder;
    std::optional<SavedValue> m_device;
    std::unique_ptr<DialogCatcher> m_catcher;
};

TEST_F(InstallTest, X86RegistersTheDriverCreatesThePrinterAndSetsTheDefault) {
    const int row = engine::kDefaultModelRow;
    UseModel(row);
    MakeStandIns(row);

    const engine::InstallOutcome outcome = Install(engine::kTargetX86, row, "LPT1:");
    ASSERT_TRUE(outcome.succeeded) << outcome.Message();
    EXPECT_EQ(outcome.step, engine::InstallStep::None);
    EXPECT_EQ(m_progress, kFullProgress);
    EXPECT_TRUE(m_messages.empty());

    ExpectRegistered(row, kEnvX86, "x86");
    EXPECT_TRUE(DriversNamed(kEnvX64, engine::ModelTable[row].pszDriverName).empty());
    ExpectPrinter(row, "LPT1:");
    EXPECT_EQ(ReadDevice(), "QX-205X Series,winspool,LPT1:");
    EXPECT_EQ(engine::g_strPortName, "LPT1:");
}

TEST_F(InstallTest, FilesLandInTheVersionFolder) {
    const int row = 3;
    const engine::PrinterModel& model = engine::ModelTable[row];
    UseModel(row);
    MakeStandIns(row);
    const std::string directory = DriverDirectory(kEnvX86);
    ASSERT_FALSE(directory.empty());
    const std::string versionFolder = directory + "\\" + kVersionFolder;
    for (const engine::DriverFile& file : engine::DriverFiles) {
        const std::string name = engine::DriverFileName(file, model);
        DeleteFileA((directory + "\\" + name).c_str());
        DeleteFileA((versionFolder + "\\" + name).c_str());
    }

    ASSERT_TRUE(Install(engine::kTargetX86, row, "LPT1:", false).succeeded);
    for (const engine::DriverFile& file : engine::DriverFiles) {
        const std::string name = engine::DriverFileName(file, model);
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadTextFile(versionFolder + "\\" + name), StandInText("x86", name));
        // Wine copies them on and leaves the installer's copies where they were.
        EXPECT_EQ(ReadTextFile(directory + "\\" + name), StandInText("x86", name));
    }
}

TEST_F(InstallTest, SecondInstallationOfTheSameModelSucceeds) {
    const int row = 4;
    UseModel(row);
    MakeStandIns(row);
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        const engine::InstallOutcome outcome = Install(engine::kTargetX86, row, "LPT2:");
        ASSERT_TRUE(outcome.succeeded) << outcome.Message();
        EXPECT_EQ(m_progress, kFullProgress);
        ExpectRegistered(row, kEnvX86, "x86");
        ExpectPrinter(row, "LPT2:");
        EXPECT_EQ(ReadDevice(), "QX-205 Series,winspool,LPT2:");
    }
    EXPECT_TRUE(m_messages.empty());
}

struct MissingSourceCase {
    const char* label;
    bool makeFolder;          // x86\ in the current folder
    const char* missingFile;  // left out of it
    bool fromProgramFolder;   // the source folder the installer falls back to
    const char* failingFile;
    DWORD error;
    std::vector<int> progress;
};

const MissingSourceCase kMissingSourceCases[] = {
    {"no x86 folder anywhere", false, nullptr, true, "QX20N.DLL", ERROR_PATH_NOT_FOUND, {}},
    {"one file missing", true, "TTFSUB.GPD", false, "TTFSUB.GPD", ERROR_FILE_NOT_FOUND,
     {10, 20, 30, 40}},
};

TEST_F(InstallTest, MissingSourceFailsNamingTheFullPathAndRegistersNothing) {
    const int row = 2;
    const std::string name = engine::ModelTable[row].pszDriverName;
    const std::string programFolder = FolderOf(ProgramFile());
    ASSERT_FALSE(FolderExists(programFolder + "\\x86")) << "the build folder must not hold x86\\";
    for (const MissingSourceCase& c : kMissingSourceCases) {
        SCOPED_TRACE(c.label);
        UseModel(row);
        RemoveTree(m_scratch / "x86");
        RemoveTree(m_scratch / "x64");
        if (c.makeFolder) {
            MakeStandIns(row);
            ASSERT_TRUE(DeleteFileA((m_scratch / "x86\\" + c.missingFile).c_str()));
        }
        const std::string source =
            (c.fromProgramFolder ? programFolder : m_scratch.Path()) + "\\x86\\" + c.failingFile;

        const engine::InstallOutcome outcome = Install(engine::kTargetX86, row, "LPT1:");
        EXPECT_FALSE(outcome.succeeded);
        EXPECT_EQ(outcome.step, engine::InstallStep::CopyFile);
        EXPECT_TRUE(EqualNoCase(outcome.subject, source)) << outcome.subject;
        EXPECT_TRUE(EqualNoCase(outcome.destination,
                                DriverDirectory(kEnvX86) + "\\" + c.failingFile))
            << outcome.destination;
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_NE(outcome.Message().find(outcome.subject), std::string::npos) << outcome.Message();
        EXPECT_EQ(m_progress, c.progress);

        for (const char* environment : kEnvironments) {
            EXPECT_TRUE(DriversNamed(environment, name).empty()) << environment;
        }
        EXPECT_TRUE(PrintersNamed(name).empty());
        EXPECT_EQ(ReadDevice(), kDeviceMarker);
    }
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(InstallTest, X64RegistersUnderTheX64Environment) {
    const int row = 8;
    const engine::PrinterModel& model = engine::ModelTable[row];
    UseModel(row);
    MakeStandIns(row);

    // Wine 8 looks a 32-bit caller's printer driver up under "Windows NT x86"
    // only; real 64-bit Windows serves it from the x64 registration. The
    // set-up stands for that with an x86 registration of the same name.
    const std::string x86Directory = DriverDirectory(kEnvX86);
    for (const engine::DriverFile& file : engine::DriverFiles) {
        const std::string name = engine::DriverFileName(file, model);
        ASSERT_TRUE(CopyFileA((m_scratch / "x86\\" + name).c_str(),
                              (x86Directory + "\\" + name).c_str(), FALSE));
    }
    win32::Win32Services setUp;
    ASSERT_TRUE(setUp.AddPrinterDriver(engine::MakeDriverInfo(model, engine::kTargetX86)));
    ASSERT_TRUE(DriversNamed(kEnvX64, model.pszDriverName).empty());

    const engine::InstallOutcome outcome = Install(engine::kTargetX64, row, "LPT3:");
    ASSERT_TRUE(outcome.succeeded) << outcome.Message();
    EXPECT_EQ(m_progress, kFullProgress);
    EXPECT_TRUE(m_messages.empty());

    ExpectRegistered(row, kEnvX64, "x64");
    ExpectPrinter(row, "LPT3:");
    EXPECT_EQ(ReadDevice(), "QX-207M Series,winspool,LPT3:");
}

struct SerialCase {
    const char* label;
    engine::SerialSettings serial;
    const char* valueName;
    const char* data;
};

engine::SerialSettings Serial(int port, int baud, int dataBits, int stopBits, int parity, int flow) {
    engine::SerialSettings serial;
    serial.nPort = port;
    serial.nBaud = baud;
    serial.nDataBits = dataBits;
    serial.nStopBits = stopBits;
    serial.nParity = parity;
    serial.nFlow = flow;
    return serial;
}

const SerialCase kSerialCases[] = {
    {"start selections on COM1", Serial(3, 5, 3, 0, 2, 2), "COM1:", "19200,N,8,1,p"},
    {"COM4, Mark parity, no flow control", Serial(6, 8, 0, 1, 1, 0), "COM4:", "115200,M,5,1.5, "},
};

TEST_F(InstallTest, SerialPortSettingsGoIntoThePortsKey) {
    const int row = 0;
    UseModel(row);
    MakeStandIns(row);
    for (const SerialCase& c : kSerialCases) {
        SCOPED_TRACE(c.label);
        SavedValue saved(HKEY_LOCAL_MACHINE, engine::kPortsKey, c.valueName);
        ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, engine::kPortsKey, c.valueName, "marker"));

        // Without "Set Default Printer" the Device value stays as it was.
        const engine::InstallOutcome outcome = Install(engine::kTargetX86, row, "COM2:", false,
                                                       c.serial);
        std::string written = saved.Read();
        saved.Restore();
        ASSERT_TRUE(outcome.succeeded) << outcome.Message();
        EXPECT_EQ(m_progress, kFullProgress);
        EXPECT_EQ(written, c.data);
        EXPECT_EQ(ReadDevice(), kDeviceMarker);
        ExpectPrinter(row, "COM2:");
    }
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(InstallTest, EmptyPortNameCreatesAPrinterWithoutPort) {
    const int row = 1;
    UseModel(row);
    MakeStandIns(row);
    const engine::InstallOutcome outcome = Install(engine::kTargetX86, row, "");
    ASSERT_TRUE(outcome.succeeded) << outcome.Message();
    EXPECT_EQ(m_progress, kFullProgress);
    ExpectPrinter(row, "");
    EXPECT_EQ(ReadDevice(), "QX-202 Series,winspool,");
    EXPECT_TRUE(m_messages.empty());
}

}  // namespace
