#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakeServices.h"
#include "OsClassify.h"

namespace {

using ::testing::ElementsAre;

struct VersionCase {
    uint32_t platform, major, minor;
    int32_t current, expected;
};

std::string Describe(const VersionCase& c) {
    return "platform " + std::to_string(c.platform) + ", " + std::to_string(c.major) + "." +
           std::to_string(c.minor) + ", was " + std::to_string(c.current);
}

TEST(ClassifyVersion, Table) {
    const VersionCase cases[] = {
        // Windows 95 family
        {1, 4, 0, 0, 1},
        {1, 4, 10, 0, 2},
        {1, 4, 90, 0, 2},
        {1, 4, 0, 7, 1},
        {1, 4, 1, 0, 0},
        {1, 4, 1, 5, 5},
        {1, 3, 0, 0, 0},
        {1, 5, 0, 3, 3},
        // NT family
        {2, 3, 51, 0, 3},
        {2, 4, 0, 0, 3},
        {2, 4, 10, 0, 3},
        {2, 4, 90, 0, 3},
        {2, 5, 0, 0, 4},
        {2, 5, 1, 0, 5},
        {2, 5, 2, 0, 6},
        {2, 5, 3, 0, 0},
        {2, 6, 0, 0, 7},
        {2, 6, 1, 0, 8},
        {2, 6, 2, 0, 9},
        {2, 6, 3, 0, 0},
        {2, 6, 3, 8, 8},
        {2, 10, 0, 0, 0},
        {2, 10, 0, 9, 9},
        {2, 7, 0, 0, 0},
        {2, 5, 1, 9, 5},
        // any other platform id
        {0, 3, 10, 0, 4},
        {0, 0, 0, 9, 4},
        {3, 10, 0, 0, 4},
    };
    for (const VersionCase& c : cases) {
        EXPECT_EQ(engine::ClassifyVersion(c.platform, c.major, c.minor, c.current), c.expected)
            << Describe(c);
    }
}

class ClassifyOsTest : public ::testing::Test {
protected:
    void SetUp() override { engine::g_osType = engine::kOsUnknown; }
    void TearDown() override { engine::g_osType = engine::kOsUnknown; }
    fake::FakeServices sys;
};

TEST_F(ClassifyOsTest, ExtendedRecordFirst) {
    sys.version = {2, 5, 1};
    engine::ClassifyOs(sys);
    EXPECT_EQ(engine::g_osType, engine::kOsWinXP);
    EXPECT_THAT(sys.versionRecordSizes, ElementsAre(156u));
}

TEST_F(ClassifyOsTest, ShortRecordWhenTheExtendedOneIsRejected) {
    sys.version = {2, 4, 0};
    sys.rejectedVersionSizes = {156};
    engine::ClassifyOs(sys);
    EXPECT_EQ(engine::g_osType, engine::kOsNT4);
    EXPECT_THAT(sys.versionRecordSizes, ElementsAre(156u, 148u));
}

TEST_F(ClassifyOsTest, BothCallsFailingLeavesTheValue) {
    sys.rejectedVersionSizes = {156, 148};
    for (int32_t before : {0, 7}) {
        SCOPED_TRACE(before);
        engine::g_osType = before;
        engine::ClassifyOs(sys);
        EXPECT_EQ(engine::g_osType, before);
    }
}

TEST_F(ClassifyOsTest, UnrecognisedVersionLeavesTheValue) {
    for (uint32_t major : {6u, 10u}) {
        sys.version = {2, major, major == 6 ? 3u : 0u};
        engine::ClassifyOs(sys);
        EXPECT_EQ(engine::g_osType, engine::kOsUnknown) << major;
    }
    // A second classification on the same system gives the same answer.
    sys.version = {2, 6, 1};
    engine::ClassifyOs(sys);
    engine::ClassifyOs(sys);
    EXPECT_EQ(engine::g_osType, engine::kOsWin7);
}

TEST(OsRadioButton, IdForEachClassification) {
    const struct {
        int32_t osType;
        int id;
    } cases[] = {{-1, 0},    {0, 0},     {1, 1000},  {2, 1001}, {3, 1002}, {4, 1003},
                 {5, 1004},  {6, 1011},  {7, 1020},  {8, 1005}, {9, 1006}, {10, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(engine::OsRadioButtonId(c.osType), c.id) << "classification " << c.osType;
    }
}

TEST(OsCompletion, OnlyForNtFamily3To9) {
    for (int32_t osType = -2; osType <= 11; ++osType) {
        EXPECT_EQ(engine::ShowsCompletion(osType), osType >= 3 && osType <= 9)
            << "classification " << osType;
    }
}

}  // namespace
