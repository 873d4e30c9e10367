// The operating-system page (template 129) as a real modal dialog, with
// the recording fake answering the version query.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OsClassify.h"
#include "OsSelectPage.h"
#include "UiPages.h"
#include "UiScript.h"
#include "resource.h"

namespace {

using namespace uitest;

struct VersionCase {
    const char* name;
    engine::OsVersion version;
    int ticked;  // 0: no radio button
};

// Hidden radio buttons: 95, 98 and NT 4.0.
bool IsHiddenRadio(int id) { return id == IDC_OS_WIN95 || id == IDC_OS_WIN98 || id == IDC_OS_WINNT4; }

class PageOsVersion : public PageTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(PageOsVersion, TicksTheClassifiedRadioButtonOnly) {
    const VersionCase& c = GetParam();
    fake.version = c.version;
    COsSelectPage page;
    std::vector<int> ticked;
    std::vector<int> tickedVisible;
    Script script;
    script.On(kOsCaption, "OS page up", [&](HWND dialog) {
        ticked = TickedRadios(dialog);
        for (int id : ticked) {
            if (::IsWindowVisible(::GetDlgItem(dialog, id))) tickedVisible.push_back(id);
        }
        Click(dialog, IDC_OS_EXIT);
    });
    EXPECT_EQ(script.Run([&] { return page.DoModal(); }), IDCANCEL);

    std::vector<int> expected;
    if (c.ticked) expected.push_back(c.ticked);
    EXPECT_EQ(ticked, expected);
    std::vector<int> expectedVisible;
    if (c.ticked && !IsHiddenRadio(c.ticked)) expectedVisible.push_back(c.ticked);
    EXPECT_EQ(tickedVisible, expectedVisible);
    // The extended record first; the fake accepts it.
    EXPECT_EQ(fake.versionRecordSizes, std::vector<uint32_t>{156});
}

INSTANTIATE_TEST_SUITE_P(
    Versions, PageOsVersion,
    ::testing::Values(VersionCase{"XP_5_1", {2, 5, 1}, IDC_OS_WINXP},
                      VersionCase{"Win7_6_1", {2, 6, 1}, IDC_OS_WIN7},
                      VersionCase{"Win8_6_2", {2, 6, 2}, IDC_OS_WIN8},
                      VersionCase{"Win2000_5_0", {2, 5, 0}, IDC_OS_WIN2000},
                      VersionCase{"Win2003_5_2", {2, 5, 2}, IDC_OS_WIN2003},
                      VersionCase{"Vista_6_0", {2, 6, 0}, IDC_OS_VISTA},
                      VersionCase{"Win81_6_3", {2, 6, 3}, 0},
                      VersionCase{"Win10_10_0", {2, 10, 0}, 0},
                      VersionCase{"NT_4_0", {2, 4, 0}, IDC_OS_WINNT4},
                      VersionCase{"NT_3_51", {2, 3, 51}, IDC_OS_WINNT4},
                      VersionCase{"Win95_4_0", {1, 4, 0}, IDC_OS_WIN95},
                      VersionCase{"WinMe_4_90", {1, 4, 90}, IDC_OS_WIN98},
                      VersionCase{"Win32s", {0, 3, 10}, IDC_OS_WIN2000}),
    [](const ::testing::TestParamInfo<VersionCase>& info) { return std::string(info.param.name); });

using PageOs = PageTest;

TEST_F(PageOs, ShortRecordIsAskedWhenTheExtendedOneIsRejected) {
    fake.rejectedVersionSizes = {156};
    fake.version = {2, 5, 1};
    COsSelectPage page;
    std::vector<int> ticked;
    Script script;
    script.On(kOsCaption, "OS page up", [&](HWND dialog) {
        ticked = TickedRadios(dialog);
        Click(dialog, IDC_OS_EXIT);
    });
    script.Run([&] { return page.DoModal(); });
    EXPECT_EQ(fake.versionRecordSizes, (std::vector<uint32_t>{156, 148}));
    EXPECT_EQ(ticked, std::vector<int>{IDC_OS_WINXP});
}

// How the user leaves the page, and the end code it gives.
struct EndCase {
    const char* name;
    void (*leave)(HWND page);
    INT_PTR end;
};

class PageOsEnd : public PageTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(PageOsEnd, EndsWithItsCode) {
    COsSelectPage page;
    int focused = -1;
    Script script;
    script.On(kOsCaption, "OS page up", [&](HWND dialog) {
        focused = FocusedId(dialog);
        GetParam().leave(dialog);
    });
    EXPECT_EQ(script.Run([&] { return page.DoModal(); }), GetParam().end);
    // Enter reaches "&Next >" because it has the focus from the start.
    EXPECT_EQ(focused, IDC_OS_NEXT);
    EXPECT_EQ(script.Opened(), std::vector<std::wstring>{kOsCaption});
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PageOsEnd,
    ::testing::Values(EndCase{"Next", [](HWND d) { Click(d, IDC_OS_NEXT); }, IDOK},
                      EndCase{"Enter", [](HWND d) { PressKey(d, VK_RETURN); }, IDOK},
                      EndCase{"Exit", [](HWND d) { Click(d, IDC_OS_EXIT); }, IDCANCEL},
                      EndCase{"Esc", [](HWND d) { PressKey(d, VK_ESCAPE); }, IDCANCEL},
                      EndCase{"CloseBox", [](HWND d) { CloseBox(d); }, IDCANCEL}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

TEST_F(PageOs, BackIsHiddenDisabledAndDoesNothing) {
    COsSelectPage page;
    bool visible = true, enabled = true, openAfterBack = false;
    Script script;
    script.On(kOsCaption, "OS page up", [&](HWND dialog) {
        HWND back = ::GetDlgItem(dialog, IDC_OS_BACK);
        visible = ::IsWindowVisible(back) != FALSE;
        enabled = ::IsWindowEnabled(back) != FALSE;
        // A click that could only come from a program.
        Click(dialog, IDC_OS_BACK);
    });
    script.Settle().On(kOsCaption, "still open after Back", [&](HWND dialog) {
        openAfterBack = true;
        Click(dialog, IDC_OS_EXIT);
    });
    EXPECT_EQ(script.Run([&] { return page.DoModal(); }), IDCANCEL);
    EXPECT_FALSE(visible);
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(openAfterBack);
}

TEST_F(PageOs, F1AsksForThePagesTopicInTheProgramsHelpFile) {
    COsSelectPage page;
    Script script;
    script.On(kOsCaption, "OS page up", [&](HWND) { TypeKey(VK_F1); });
    script.Settle().On(kOsCaption, "help asked", [&](HWND dialog) { Click(dialog, IDC_OS_EXIT); });
    script.Run([&] { return page.DoModal(); });
    // 0x20000 + 129.
    const std::string expected = "ShowHelp " + ExpectedHelpFile() + " " + std::to_string(0x20081);
    EXPECT_EQ(fake.CountCalls("ShowHelp"), 1u);
    EXPECT_TRUE(fake.Called(expected)) << "expected: " << expected;
}

TEST_F(PageOs, AnotherTickedRadioButtonChangesNoClassification) {
    fake.version = {2, 6, 1};
    COsSelectPage page;
    std::vector<int> tickedBeforeNext;
    Script script;
    script.On(kOsCaption, "OS page up", [&](HWND dialog) {
        ::SendDlgItemMessageW(dialog, IDC_OS_WINXP, BM_CLICK, 0, 0);
        tickedBeforeNext = TickedRadios(dialog);
        Click(dialog, IDC_OS_NEXT);
    });
    EXPECT_EQ(script.Run([&] { return page.DoModal(); }), IDOK);
    // The click really ticked XP (and unticked 7) ...
    EXPECT_EQ(tickedBeforeNext, std::vector<int>{IDC_OS_WINXP});
    // ... but only the classification counts.
    EXPECT_EQ(engine::g_osType, engine::kOsWin7);
}

}  // namespace
