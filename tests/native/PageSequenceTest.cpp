#include <deque>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "PageSequence.h"

namespace {

using engine::kEndCancel;
using engine::kEndFailed;
using engine::kEndOk;

struct SequenceCase {
    const char* name;
    std::vector<int> osEnds;        // end codes the OS page gives, visit by visit
    std::vector<int> settingsEnds;  // same for the settings page
    std::vector<std::string> shown; // the pages in the order shown
};

// Runs the loop on scripted end codes and records the pages shown. A page
// shown more often than scripted fails the test.
std::vector<std::string> RunScript(const SequenceCase& c) {
    std::deque<int> os(c.osEnds.begin(), c.osEnds.end());
    std::deque<int> settings(c.settingsEnds.begin(), c.settingsEnds.end());
    std::vector<std::string> shown;
    const auto next = [&shown](std::deque<int>& script, const char* page) {
        shown.push_back(page);
        if (script.empty()) {
            ADD_FAILURE() << page << " page shown more often than scripted";
            return kEndFailed;
        }
        const int code = script.front();
        script.pop_front();
        return code;
    };
    engine::RunPageSequence([&] { return next(os, "os"); },
                            [&] { return next(settings, "settings"); });
    EXPECT_TRUE(os.empty() && settings.empty()) << "the loop ended before the script did";
    return shown;
}

TEST(PageSequence, EveryEndCodeOfEveryPage) {
    const SequenceCase cases[] = {
        {"os Cancel ends", {kEndCancel}, {}, {"os"}},
        {"os failing ends", {kEndFailed}, {}, {"os"}},
        {"os unknown code ends", {0}, {}, {"os"}},
        {"settings OK ends", {kEndOk}, {kEndOk}, {"os", "settings"}},
        {"settings failing ends", {kEndOk}, {kEndFailed}, {"os", "settings"}},
        {"settings unknown code ends", {kEndOk}, {7}, {"os", "settings"}},
        {"Back, then os Cancel", {kEndOk, kEndCancel}, {kEndCancel}, {"os", "settings", "os"}},
        {"Back, then os failing", {kEndOk, kEndFailed}, {kEndCancel}, {"os", "settings", "os"}},
        {"Back, then on to OK", {kEndOk, kEndOk}, {kEndCancel, kEndOk},
         {"os", "settings", "os", "settings"}},
        {"Back, then settings failing", {kEndOk, kEndOk}, {kEndCancel, kEndFailed},
         {"os", "settings", "os", "settings"}},
        {"Back three times",
         {kEndOk, kEndOk, kEndOk, kEndOk},
         {kEndCancel, kEndCancel, kEndCancel, kEndOk},
         {"os", "settings", "os", "settings", "os", "settings", "os", "settings"}},
    };
    for (const SequenceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THAT(RunScript(c), ::testing::ElementsAreArray(c.shown));
    }
}

}  // namespace
