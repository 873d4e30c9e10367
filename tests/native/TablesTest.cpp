#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Install.h"
#include "Tables.h"

namespace {

using ::testing::ElementsAreArray;

std::vector<std::string> Texts(const char* const* first, size_t count) {
    return std::vector<std::string>(first, first + count);
}

struct ModelRow {
    const char* driver;
    const char* gpd;
    const char* resDll;
};

TEST(ModelTable, RowsInComboOrder) {
    const ModelRow expected[] = {
        {"QX-201 Series", "QX201", "QX20N"},   {"QX-202 Series", "QX202", "QX20N"},
        {"QX-203 Series", "QX203", "QX20N"},   {"QX-204 Series", "QX204", "QX20N"},
        {"QX-205 Series", "QX205", "QX20N"},   {"QX-205X Series", "QX205X", "QX20N"},
        {"QX-206 Series", "QX206", "QX20N"},   {"QX-207 Series", "QX207", "QX20N"},
        {"QX-207M Series", "QX207M", "QX20N"}, {"QX-H207 Series", "QXH207", "QX20N"},
        {"QX-20N Series", "QX20N", "QX20N"},
    };
    ASSERT_EQ(std::size(expected), engine::kModelCount);
    for (size_t row = 0; row < engine::kModelCount; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        EXPECT_STREQ(engine::ModelTable[row].pszDriverName, expected[row].driver);
        EXPECT_STREQ(engine::ModelTable[row].pszGpdName, expected[row].gpd);
        EXPECT_STREQ(engine::ModelTable[row].pszResDllName, expected[row].resDll);
    }
    EXPECT_STREQ(engine::ModelTable[engine::kDefaultModelRow].pszDriverName, "QX-205X Series");
}

TEST(ModelTable, LastRowSharesTheResourceBaseName) {
    const engine::PrinterModel& row10 = engine::ModelTable[10];
    EXPECT_EQ(engine::DriverFileName(engine::DriverFiles[0], row10), "QX20N.DLL");
    EXPECT_EQ(engine::DriverFileName(engine::DriverFiles[1], row10), "QX20N.GPD");
}

TEST(SerialTables, TextsWrittenToTheRegistry) {
    EXPECT_THAT(Texts(engine::PortValueNames, engine::kPortCount),
                ElementsAreArray({"LPT1:", "LPT2:", "LPT3:", "COM1:", "COM2:", "COM3:", "COM4:"}));
    EXPECT_STREQ(engine::PortValueNames[engine::kFirstSerialPort], "COM1:");
    EXPECT_THAT(Texts(engine::BaudRateTexts, 9),
                ElementsAreArray({"300", "1200", "2400", "4800", "9600", "19200", "38400",
                                  "57600", "115200"}));
    EXPECT_THAT(Texts(engine::DataBitsTexts, 4), ElementsAreArray({"5", "6", "7", "8"}));
    EXPECT_THAT(Texts(engine::StopBitsTexts, 3), ElementsAreArray({"1", "1.5", "2"}));
}

TEST(SerialTables, ParityLettersAreDistinctCapitals) {
    // Even, Mark, None, Odd, Space
    const std::vector<std::string> parity = Texts(engine::ParityLetters, 5);
    EXPECT_THAT(parity, ElementsAreArray({"E", "M", "N", "O", "S"}));
    EXPECT_EQ(std::set<std::string>(parity.begin(), parity.end()).size(), parity.size());
}

TEST(SerialTables, FlowLettersWithOneBlankForNone) {
    // None, XonXoff, Hardware
    EXPECT_THAT(Texts(engine::FlowLetters, 3), ElementsAreArray({" ", "x", "p"}));
    EXPECT_EQ(std::string(engine::FlowLetters[0]).size(), 1u) << "None must be one blank";
}

TEST(DriverFiles, NamesInCopyOrder) {
    const engine::PrinterModel& row5 = engine::ModelTable[5];
    std::vector<std::string> names;
    std::vector<std::string> registered;
    for (const engine::DriverFile& f : engine::DriverFiles) {
        names.push_back(engine::DriverFileName(f, row5));
        registered.push_back(engine::RegisteredFileName(f, row5));
    }
    EXPECT_THAT(names, ElementsAreArray({"QX20N.DLL", "QX205X.GPD", "uniDRVui.DLL", "uniDRV.DLL",
                                         "UNIDRV.HLP", "UNIRES.DLL", "TTFSUB.GPD",
                                         "STDNAMES.GPD"}));
    EXPECT_THAT(registered,
                ElementsAreArray({"QX20N.DLL", "\\QX205X.GPD", "\\uniDRVui.DLL", "\\uniDRV.DLL",
                                  "\\uniDRV.HLP", "\\unires.DLL", "\\ttfsub.GPD",
                                  "\\stdnames.GPD"}));
}

TEST(DriverFiles, DependentEntriesAreNumberedOnce) {
    std::vector<int> indexes;
    for (const engine::DriverFile& f : engine::DriverFiles) {
        if (f.role == engine::DriverFileRole::DependentFile) {
            indexes.push_back(f.nDependentIndex);
        } else {
            EXPECT_EQ(f.nDependentIndex, -1);
        }
    }
    std::sort(indexes.begin(), indexes.end());
    EXPECT_THAT(indexes, ElementsAreArray({0, 1, 2, 3}));
}

}  // namespace
