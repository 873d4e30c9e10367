// The pages together: the application object's page loop, and the
// settings page's Next into the Select Port page and back, with the
// recording fake.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InstallerApp.h"
#include "OsClassify.h"
#include "PrinterSettingsPage.h"
#include "UiPages.h"
#include "UiScript.h"
#include "resource.h"

namespace {

using namespace uitest;

// What a settings page shows right after it opens, as far as a user can
// change it.
void ExpectDefaults(const SettingsState& state, const char* visit) {
    EXPECT_EQ(state.model, 5) << visit;
    EXPECT_EQ(state.printerName, "QX Printer Ready") << visit;
    EXPECT_TRUE(state.setDefault) << visit;
    EXPECT_EQ(state.port, 0) << visit;
    EXPECT_EQ(state.serialEnabled, std::vector<bool>(5, false)) << visit;
}

// Changes everything a user (or a test) can change on the settings page.
void ChangeSettings(HWND page) {
    ChooseComboItem(page, IDC_MODEL_COMBO, 3);
    ChooseComboItem(page, IDC_PORT_COMBO, 4);
    ::SendDlgItemMessageW(page, IDC_SET_DEFAULT, BM_CLICK, 0, 0);
}

bool SameSettings(const SettingsState& a, const SettingsState& b) {
    return a.model == b.model && a.printerName == b.printerName && a.setDefault == b.setDefault &&
           a.port == b.port && a.baud == b.baud && a.dataBits == b.dataBits && a.stopBits == b.stopBits &&
           a.parity == b.parity && a.flow == b.flow && a.portEnabled == b.portEnabled &&
           a.serialEnabled == b.serialEnabled;
}

using PageFlow = PageTest;

struct LeaveCase {
    const char* name;
    void (*leave)(HWND page);
};

class PageFlowFirstPage : public PageTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(PageFlowFirstPage, LeavingTheFirstPageEndsTheProgramAndShowsNothingElse) {
    CInstallerApp wizard;
    wizard.SetServices(&fake);
    Script script;
    script.On(kOsCaption, "OS page up", [](HWND page) { GetParam().leave(page); });
    bool result = true;
    script.Run([&] {
        result = wizard.InitInstance();
        return INT_PTR{0};
    });
    EXPECT_FALSE(result);
    EXPECT_EQ(script.Opened(), std::vector<std::wstring>{kOsCaption});
    // The version query, and nothing else: no spooler, no file, no registry.
    EXPECT_EQ(fake.calls, std::vector<std::string>{"GetVersionEx 156"});
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PageFlowFirstPage,
    ::testing::Values(LeaveCase{"Exit", [](HWND p) { Click(p, IDC_OS_EXIT); }},
                      LeaveCase{"Esc", [](HWND p) { PressKey(p, VK_ESCAPE); }},
                      LeaveCase{"CloseBox", [](HWND p) { CloseBox(p); }}),
    [](const ::testing::TestParamInfo<LeaveCase>& info) { return std::string(info.param.name); });

TEST_F(PageFlow, BackShowsAFreshFirstPageAndNextAFreshSettingsPage) {
    fake.version = {2, 6, 1};
    CInstallerApp wizard;
    wizard.SetServices(&fake);
    std::vector<std::vector<int>> ticked;
    std::vector<SettingsState> opened;
    SettingsState changed;
    Script script;
    // Each showing of the first page classifies again: the fake answers a
    // different version each time.
    const engine::OsVersion versions[] = {{2, 5, 1}, {2, 6, 2}};
    script.On(kOsCaption, "first page", [&](HWND page) {
        ticked.push_back(TickedRadios(page));
        // The user's own tick is not remembered either.
        ::SendDlgItemMessageW(page, IDC_OS_WIN2000, BM_CLICK, 0, 0);
        Click(page, IDC_OS_NEXT);
    });
    for (int round = 0; round < 2; ++round) {
        script.On(kSettingsCaption, "settings, round " + std::to_string(round), [&, round](HWND page) {
            opened.push_back(ReadSettings(page));
            ChangeSettings(page);
            if (round == 0) changed = ReadSettings(page);
            fake.version = versions[round];
            Click(page, IDC_SETTINGS_BACK);
        });
        script.On(kOsCaption, "first page again, round " + std::to_string(round), [&](HWND page) {
            ticked.push_back(TickedRadios(page));
            Click(page, IDC_OS_NEXT);
        });
    }
    script.On(kSettingsCaption, "settings, last", [&](HWND page) {
        opened.push_back(ReadSettings(page));
        Click(page, IDC_SETTINGS_EXIT);
    });
    bool result = true;
    script.Run([&] {
        result = wizard.InitInstance();
        return INT_PTR{0};
    });

    EXPECT_FALSE(result);
    EXPECT_EQ(ticked, (std::vector<std::vector<int>>{{IDC_OS_WIN7}, {IDC_OS_WINXP}, {IDC_OS_WIN8}}));
    ASSERT_EQ(opened.size(), 3u);
    // The change was real, and no visit kept it.
    EXPECT_EQ(changed.model, 3);
    EXPECT_FALSE(changed.setDefault);
    ExpectDefaults(opened[0], "first visit");
    ExpectDefaults(opened[1], "second visit");
    ExpectDefaults(opened[2], "third visit");
    EXPECT_EQ(script.Opened(), (std::vector<std::wstring>{kOsCaption, kSettingsCaption, kOsCaption,
                                                          kSettingsCaption, kOsCaption, kSettingsCaption}));
    EXPECT_EQ(fake.versionRecordSizes.size(), 3u);
}

class PageFlowSettingsEnd : public PageTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(PageFlowSettingsEnd, EndsTheProgramWithoutReturningToTheFirstPage) {
    CInstallerApp wizard;
    wizard.SetServices(&fake);
    Script script;
    // Enter on the first page, where "&Next >" has the focus.
    script.On(kOsCaption, "OS page up", [](HWND page) { PressKey(page, VK_RETURN); });
    script.On(kSettingsCaption, "settings page up", [](HWND page) { GetParam().leave(page); });
    bool result = true;
    script.Run([&] {
        result = wizard.InitInstance();
        return INT_PTR{0};
    });
    EXPECT_FALSE(result);
    EXPECT_EQ(script.Opened(), (std::vector<std::wstring>{kOsCaption, kSettingsCaption}));
    EXPECT_EQ(fake.CountCalls("CopyFile"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PageFlowSettingsEnd,
    ::testing::Values(LeaveCase{"Exit", [](HWND p) { Click(p, IDC_SETTINGS_EXIT); }},
                      LeaveCase{"Esc", [](HWND p) { PressKey(p, VK_ESCAPE); }},
                      LeaveCase{"CloseBox", [](HWND p) { CloseBox(p); }},
                      LeaveCase{"Enter", [](HWND p) { PressKey(p, VK_RETURN); }}),
    [](const ::testing::TestParamInfo<LeaveCase>& info) { return std::string(info.param.name); });

TEST_F(PageFlow, WholeRunInstallsAndSaysCompleted) {
    fake.ports = WineLikePorts();
    fake.version = {2, 6, 1};
    CInstallerApp wizard;
    wizard.SetServices(&fake);
    Script script;
    script.On(kOsCaption, "OS page", [](HWND page) { Click(page, IDC_OS_NEXT); });
    script.On(kSettingsCaption, "settings page", [](HWND page) { Click(page, IDC_SETTINGS_NEXT); });
    script.On(kSelectPortCaption, "port page", [](HWND page) { Click(page, IDC_INSTALL); });
    bool result = true;
    script.Run([&] {
        result = wizard.InitInstance();
        return INT_PTR{0};
    });
    EXPECT_FALSE(result);
    EXPECT_EQ(script.Opened(), (std::vector<std::wstring>{kOsCaption, kSettingsCaption, kSelectPortCaption}));
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, "Completed!");
    EXPECT_EQ(engine::g_strPortName, "LPT1:");
    ASSERT_EQ(fake.printers.size(), 1u);
    EXPECT_EQ(fake.printers[0].pPrinterName, "QX-205X Series");
}

class PageFlowLeavePort : public PageTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(PageFlowLeavePort, SettingsPageStaysOpenWithItsSelections) {
    fake.ports = WineLikePorts();
    CPrinterSettingsPage settings;
    SettingsState before, after;
    Script script;
    script.On(kSettingsCaption, "settings page", [&](HWND page) {
        ChangeSettings(page);
        before = ReadSettings(page);
        Click(page, IDC_SETTINGS_NEXT);
    });
    script.On(kSelectPortCaption, "port page", [](HWND page) { GetParam().leave(page); });
    script.On(kSettingsCaption, "settings page again", [&](HWND page) {
        after = ReadSettings(page);
        Click(page, IDC_SETTINGS_NEXT);
    });
    script.On(kSelectPortCaption, "a new port page", [](HWND page) { Click(page, IDC_PORT_CANCEL); });
    script.On(kSettingsCaption, "settings page, leave", [](HWND page) { Click(page, IDC_SETTINGS_EXIT); });
    EXPECT_EQ(script.Run([&] { return settings.DoModal(); }), IDOK);
    EXPECT_EQ(before.model, 3);
    EXPECT_TRUE(SameSettings(before, after)) << "model " << after.model << ", port " << after.port
                                             << ", default " << after.setDefault;
    EXPECT_EQ(script.CountOpened(kSelectPortCaption), 2u);
    EXPECT_EQ(fake.CountCalls("EnumPorts"), 2u);
    EXPECT_EQ(fake.CountCalls("CopyFile"), 0u);
    EXPECT_TRUE(fake.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PageFlowLeavePort,
    ::testing::Values(LeaveCase{"Back", [](HWND p) { Click(p, IDC_PORT_BACK); }},
                      LeaveCase{"Cancel", [](HWND p) { Click(p, IDC_PORT_CANCEL); }},
                      LeaveCase{"Esc", [](HWND p) { PressKey(p, VK_ESCAPE); }},
                      LeaveCase{"CloseBox", [](HWND p) { CloseBox(p); }},
                      // Does nothing: the page has to be left another way.
                      LeaveCase{"EnterThenBack", [](HWND p) {
                                    PressKey(p, VK_RETURN);
                                    Click(p, IDC_PORT_BACK);
                                }}),
    [](const ::testing::TestParamInfo<LeaveCase>& info) { return std::string(info.param.name); });

class PageFlowCompleted : public PageTest, public ::testing::WithParamInterface<int> {};

TEST_P(PageFlowCompleted, SuccessfulInstallEndsTheSettingsPage) {
    const int osType = GetParam();
    fake.ports = WineLikePorts();
    engine::g_osType = osType;
    CPrinterSettingsPage settings;
    Script script;
    script.On(kSettingsCaption, "settings page", [](HWND page) { Click(page, IDC_SETTINGS_NEXT); });
    script.On(kSelectPortCaption, "port page", [](HWND page) { Click(page, IDC_INSTALL); });
    EXPECT_EQ(script.Run([&] { return settings.DoModal(); }), IDOK);
    const size_t expected = osType >= 3 && osType <= 9 ? 1 : 0;
    EXPECT_EQ(CountMessages(fake, "Completed!"), expected);
    EXPECT_EQ(fake.messages.size(), expected);
    EXPECT_EQ(engine::g_strPortName, "LPT1:");
    EXPECT_EQ(fake.printers.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(OsTypes, PageFlowCompleted, ::testing::Range(0, 10));

TEST_F(PageFlow, FailedInstallLeavesBothPagesOpen) {
    fake.ports = WineLikePorts();
    fake.copyErrors[1] = engine::kErrorFileNotFound;
    engine::g_osType = engine::kOsWin7;
    CPrinterSettingsPage settings;
    bool portPageOpen = false, settingsOpen = false;
    Script script;
    script.On(kSettingsCaption, "settings page", [](HWND page) { Click(page, IDC_SETTINGS_NEXT); });
    script.On(kSelectPortCaption, "port page", [](HWND page) { Click(page, IDC_INSTALL); });
    script.Settle().On(kSelectPortCaption, "port page still open", [&](HWND page) {
        portPageOpen = true;
        Click(page, IDC_PORT_CANCEL);
    });
    script.On(kSettingsCaption, "settings page still open", [&](HWND page) {
        settingsOpen = true;
        Click(page, IDC_SETTINGS_EXIT);
    });
    EXPECT_EQ(script.Run([&] { return settings.DoModal(); }), IDOK);
    EXPECT_TRUE(portPageOpen);
    EXPECT_TRUE(settingsOpen);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_NE(fake.messages[0].text.find("C:\\setup\\x86\\QX20N.DLL"), std::string::npos) << fake.messages[0].text;
    EXPECT_EQ(CountMessages(fake, "Completed!"), 0u);
}

// F1 goes to the dialog as WM_HELP, whatever control has the focus; each
// page and dialog asks for the topic of its own template.
TEST_F(PageFlow, F1OnEveryDialogAsksForItsOwnTopic) {
    fake.ports = WineLikePorts();
    fake.monitors = {{true, "Local Port"}};
    CPrinterSettingsPage settings;
    Script script;
    script.On(kSettingsCaption, "settings page", [](HWND) { TypeKey(VK_F1); });
    script.Settle().On(kSettingsCaption, "about", [](HWND page) { SysCommand(page, IDM_ABOUT); });
    script.On(kAboutCaption, "about box", [](HWND) { TypeKey(VK_F1); });
    script.Settle().On(kAboutCaption, "about box, close", [](HWND about) { Click(about, IDOK); });
    script.On(kSettingsCaption, "next", [](HWND page) { Click(page, IDC_SETTINGS_NEXT); });
    script.On(kSelectPortCaption, "port page", [](HWND) { TypeKey(VK_F1); });
    script.Settle().On(kSelectPortCaption, "create port", [](HWND page) { Click(page, IDC_PORT_CREATE); });
    script.On(kCreatePortCaption, "create port dialog", [](HWND) { TypeKey(VK_F1); });
    script.Settle().On(kCreatePortCaption, "close", [](HWND dialog) { Click(dialog, IDC_MONITOR_CLOSE); });
    script.On(kSelectPortCaption, "port page, back", [](HWND page) { Click(page, IDC_PORT_BACK); });
    script.On(kSettingsCaption, "settings page, exit", [](HWND page) { Click(page, IDC_SETTINGS_EXIT); });
    script.Run([&] { return settings.DoModal(); });
    std::vector<std::string> help;
    for (const std::string& call : fake.calls) {
        if (call.rfind("ShowHelp ", 0) == 0) help.push_back(call);
    }
    const std::string file = "ShowHelp " + ExpectedHelpFile() + " ";
    EXPECT_EQ(help, (std::vector<std::string>{file + std::to_string(0x20000 + IDD_PRINTER_SETTINGS),
                                              file + std::to_string(0x20000 + IDD_ABOUT),
                                              file + std::to_string(0x20000 + IDD_SELECT_PORT),
                                              file + std::to_string(0x20000 + IDD_CREATE_PORT)}));
}

}  // namespace
