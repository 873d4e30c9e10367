// The script runner the page tests stand on: a script that misses must end
// the dialogs with the marker code and fail the test, never hang it.
#include <windows.h>

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <string>

#include "OsSelectPage.h"
#include "UiPages.h"
#include "UiScript.h"
#include "resource.h"

namespace {

using namespace uitest;

// A short watchdog: these scripts are meant to stall.
constexpr DWORD kShortDeadlineMs = 1500;

struct Outcome {
    INT_PTR end = 0;
    ::testing::TestPartResultArray failures;
};

// Runs the operating-system page under `script`, catching the failures the
// script reports instead of failing this test with them.
void RunCaught(Script& script, Outcome& outcome) {
    COsSelectPage page;
    ::testing::ScopedFakeTestPartResultReporter reporter(
        ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &outcome.failures);
    outcome.end = script.Run([&] { return page.DoModal(); });
}

std::string FirstFailure(const Outcome& outcome) {
    return outcome.failures.size() > 0 ? outcome.failures.GetTestPartResult(0).message() : "";
}

using PageScript = PageTest;

TEST_F(PageScript, StepThatNeverComesAboutEndsTheDialogAndFails) {
    Script script(kShortDeadlineMs);
    script.On(L"No such dialog", "wait for nothing", [](HWND) {});
    Outcome outcome;
    RunCaught(script, outcome);
    EXPECT_EQ(outcome.end, kStalledEnd);
    ASSERT_EQ(outcome.failures.size(), 1);
    EXPECT_NE(FirstFailure(outcome).find("'wait for nothing' did not come about"), std::string::npos)
        << FirstFailure(outcome);
    EXPECT_NE(FirstFailure(outcome).find("Select OS (x86/x64)"), std::string::npos) << FirstFailure(outcome);
    EXPECT_FALSE(script.Finished());
}

TEST_F(PageScript, DialogLeftOpenAfterTheLastStepIsEndedAndFails) {
    Script script(kShortDeadlineMs);
    script.On(kOsCaption, "OS page up, left open", [](HWND) {});
    Outcome outcome;
    RunCaught(script, outcome);
    EXPECT_EQ(outcome.end, kStalledEnd);
    ASSERT_EQ(outcome.failures.size(), 1);
    EXPECT_NE(FirstFailure(outcome).find("left open"), std::string::npos) << FirstFailure(outcome);
}

TEST_F(PageScript, DialogsClosingBeforeTheLastStepFail) {
    Script script;
    script.On(kOsCaption, "OS page up", [](HWND page) { Click(page, IDC_OS_EXIT); });
    script.On(kSettingsCaption, "a page that never comes", [](HWND) {});
    Outcome outcome;
    RunCaught(script, outcome);
    EXPECT_EQ(outcome.end, IDCANCEL);
    ASSERT_EQ(outcome.failures.size(), 1);
    EXPECT_NE(FirstFailure(outcome).find("closed before step 'a page that never comes'"), std::string::npos)
        << FirstFailure(outcome);
}

}  // namespace
