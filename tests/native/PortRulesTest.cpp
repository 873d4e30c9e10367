#include <map>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "PortRules.h"

namespace {

using ::testing::ElementsAre;

// `count` ports named "NE0n:" except the rows given.
std::vector<engine::PortEntry> Ports(size_t count, const std::map<size_t, std::string>& named) {
    std::vector<engine::PortEntry> ports;
    for (size_t i = 0; i < count; ++i) {
        const auto found = named.find(i);
        ports.push_back({found != named.end() ? found->second : "NE0" + std::to_string(i) + ":",
                         "Local Port"});
    }
    return ports;
}

struct PreferenceCase {
    const char* name;
    size_t count;
    std::map<size_t, std::string> named;
    int expected;
};

TEST(PreferredPortRow, Cases) {
    const PreferenceCase cases[] = {
        {"row 0 never counts", 8, {{0, "LPT1:"}, {3, "COM1:"}, {7, "FILE:"}}, 3},
        {"LPT1 over COM1", 3, {{0, "COM1:"}, {2, "LPT1:"}}, 2},
        {"LPT1 even before COM1", 3, {{1, "LPT1:"}, {2, "COM1:"}}, 1},
        {"LPT1 only in row 0", 4, {{0, "LPT1:"}}, -1},
        {"later COM1 prefix wins", 10, {{4, "COM1:"}, {9, "COM10:"}}, 9},
        {"lower case does not count", 4, {{2, "lpt1:"}}, -1},
        {"lower case LPT1 leaves COM1", 6, {{2, "lpt1:"}, {5, "COM1:"}}, 5},
        {"FILE last", 7, {{6, "FILE:"}}, 6},
        {"COM1 over FILE", 5, {{1, "FILE:"}, {4, "COM1:"}}, 4},
        {"exactly four characters", 4, {{3, "FILE"}}, 3},
        {"shorter than four", 4, {{1, "COM"}, {2, "LPT"}, {3, "FIL"}}, -1},
        {"empty names", 3, {{1, ""}, {2, ""}}, -1},
        {"prefix only at the start", 3, {{1, "XLPT1:"}, {2, "\\\\srv\\COM1"}}, -1},
        {"no ports", 0, {}, -1},
    };
    for (const PreferenceCase& c : cases) {
        EXPECT_EQ(engine::PreferredPortRow(engine::ListedPorts(Ports(c.count, c.named))),
                  c.expected)
            << c.name;
    }
}

TEST(ListedPorts, First256InOrder) {
    const std::vector<engine::PortEntry> all = Ports(300, {{280, "FILE:"}});
    const std::vector<engine::PortEntry> listed = engine::ListedPorts(all);
    ASSERT_EQ(listed.size(), 256u);
    for (size_t i = 0; i < listed.size(); ++i) {
        ASSERT_EQ(listed[i].name, all[i].name) << "row " << i;
        ASSERT_EQ(listed[i].description, all[i].description) << "row " << i;
    }
    EXPECT_EQ(engine::PreferredPortRow(listed), -1) << "entry 280 is not listed";
    EXPECT_EQ(engine::PreferredPortRow(all), -1) << "entries past 255 never count";
}

TEST(ListedPorts, Row255IsStillListed) {
    const std::vector<engine::PortEntry> listed = engine::ListedPorts(Ports(256, {{255, "FILE:"}}));
    ASSERT_EQ(listed.size(), 256u);
    EXPECT_EQ(engine::PreferredPortRow(listed), 255);
    EXPECT_TRUE(engine::ListedPorts({}).empty());
}

TEST(MonitorRows, NamelessMonitorsLeaveNoGap) {
    EXPECT_THAT(engine::MonitorRows({{true, "A"}, {false, ""}, {true, "C"}}), ElementsAre("A", "C"));
    EXPECT_THAT(engine::MonitorRows({{false, ""}, {false, ""}}), ElementsAre());
    EXPECT_THAT(engine::MonitorRows({}), ElementsAre());
    EXPECT_THAT(engine::MonitorRows({{true, "Local Port"}}), ElementsAre("Local Port"));
}

}  // namespace
