// The records and registry texts an installation hands to the system.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Install.h"
#include "RecordCompare.h"
#include "Tables.h"

namespace {

using engine::ModelTable;

TEST(DriverRecord, EveryField) {
    const engine::DriverInfo3 info = engine::MakeDriverInfo(ModelTable[5], engine::kTargetX86);
    EXPECT_EQ(info.cVersion, 2u);
    EXPECT_EQ(info.pName, "QX-205X Series");
    EXPECT_EQ(info.pEnvironment, "Windows NT x86");
    EXPECT_EQ(info.pDriverPath, "\\uniDRV.DLL");
    EXPECT_EQ(info.pDataFile, "\\QX205X.GPD");
    EXPECT_EQ(info.pConfigFile, "\\uniDRVui.DLL");
    EXPECT_EQ(info.pHelpFile, "\\uniDRV.HLP");
    EXPECT_EQ(info.pMonitorName, "");
    EXPECT_EQ(info.pDefaultDataType, "RAW");
}

TEST(DriverRecord, DependentFilesBufferByteForByte) {
    const engine::DriverInfo3 info = engine::MakeDriverInfo(ModelTable[5], engine::kTargetX86);
    const char entries[] = "\\ttfsub.GPD\0\\unires.DLL\0\\stdnames.GPD\0QX20N.DLL\0";
    std::string expected(entries, sizeof entries - 1);
    expected.resize(engine::kDependentFilesSize, '\0');
    ASSERT_EQ(info.pDependentFiles.size(), 255u);
    EXPECT_EQ(info.pDependentFiles, expected);
    EXPECT_EQ(info.pDependentFiles.compare(38, 10, std::string("QX20N.DLL\0", 10)), 0)
        << "fourth entry must begin at byte 38";
}

TEST(DriverRecord, EachModelRow) {
    for (const engine::PrinterModel& m : ModelTable) {
        SCOPED_TRACE(m.pszDriverName);
        const engine::DriverInfo3 info = engine::MakeDriverInfo(m, engine::kTargetX86);
        EXPECT_EQ(info.pName, m.pszDriverName);
        EXPECT_EQ(info.pDataFile, std::string("\\") + m.pszGpdName + ".GPD");
        EXPECT_STREQ(info.pDependentFiles.c_str() + 38, (std::string(m.pszResDllName) + ".DLL").c_str());
        // The list closes with an empty entry right after the fourth.
        const size_t end = 38 + std::string(m.pszResDllName).size() + 4;
        EXPECT_EQ(info.pDependentFiles.substr(end, 2), std::string(2, '\0'));
    }
}

// Every copied file is named exactly once in the registration.
TEST(DriverRecord, NamesEachCopiedFileOnce) {
    for (size_t row : {size_t{0}, size_t{10}}) {
        const engine::PrinterModel& m = ModelTable[row];
        const engine::DriverInfo3 info = engine::MakeDriverInfo(m, engine::kTargetX86);
        std::vector<std::string> named = {info.pDriverPath, info.pDataFile, info.pConfigFile,
                                          info.pHelpFile};
        for (const char* p = info.pDependentFiles.c_str(); *p != '\0'; p += std::strlen(p) + 1) {
            named.push_back(p);
        }
        ASSERT_EQ(named.size(), engine::kDriverFileCount);
        for (const engine::DriverFile& f : engine::DriverFiles) {
            const std::string name = engine::RegisteredFileName(f, m);
            EXPECT_EQ(std::count(named.begin(), named.end(), name), 1) << name;
        }
    }
}

TEST(DriverRecord, X64DiffersOnlyInEnvironment) {
    engine::DriverInfo3 x64 = engine::MakeDriverInfo(ModelTable[3], engine::kTargetX64);
    const engine::DriverInfo3 x86 = engine::MakeDriverInfo(ModelTable[3], engine::kTargetX86);
    EXPECT_EQ(x64.pEnvironment, "Windows x64");
    x64.pEnvironment = x86.pEnvironment;
    EXPECT_EQ(x64, x86);
}

TEST(PrinterRecord, Fields) {
    for (const char* port : {"LPT1:", "COM3:", ""}) {
        SCOPED_TRACE(port);
        const engine::PrinterInfo2 info = engine::MakePrinterInfo(ModelTable[9], port);
        EXPECT_EQ(info.pPrinterName, "QX-H207 Series");
        EXPECT_EQ(info.pPortName, port);
        EXPECT_EQ(info.pDriverName, "QX-H207 Series");
        EXPECT_EQ(info.pPrintProcessor, "WinPrint");
        EXPECT_EQ(info.pDatatype, "RAW");
    }
}

TEST(RegistryData, DefaultPrinter) {
    EXPECT_EQ(engine::DefaultPrinterData(ModelTable[5], "LPT1:"), "QX-205X Series,winspool,LPT1:");
    EXPECT_EQ(engine::DefaultPrinterData(ModelTable[5], ""), "QX-205X Series,winspool,");
    EXPECT_EQ(engine::DefaultPrinterData(ModelTable[0], "IP_10.0.0.7"),
              "QX-201 Series,winspool,IP_10.0.0.7");
}

TEST(RegistryData, PortSettingsInBaudParityDataStopFlowOrder) {
    struct Case {
        engine::SerialSettings serial;
        const char* expected;
    };
    const Case cases[] = {
        {engine::SerialSettings{}, "19200,N,8,1,p"},  // the start selections
        {{3, 5, 3, 0, 2, 0}, "19200,N,8,1, "},        // flow None: comma and one blank
        {{3, 5, 3, 0, 1, 2}, "19200,M,8,1,p"},
        {{3, 5, 3, 0, 0, 2}, "19200,E,8,1,p"},
        {{4, 0, 0, 1, 3, 1}, "300,O,5,1.5,x"},
        {{6, 8, 2, 2, 4, 2}, "115200,S,7,2,p"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(engine::PortSettingsData(c.serial), c.expected);
    }
}

}  // namespace
