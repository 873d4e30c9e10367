// The Select Port page (template 139) as a real modal dialog above a real
// printer settings page, with the recording fake as the spooler.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Platform.h"
#include "PrinterSettingsPage.h"
#include "SelectPortPage.h"
#include "UiPages.h"
#include "UiScript.h"
#include "resource.h"

namespace {

using namespace uitest;

const DWORD kListStyleOn = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;

// A settings page, and above it a Select Port page of the test's own, shown
// the way the settings page's Next shows one, so that its end code and its
// state after the end can be read. The test adds the steps on the Select
// Port page between Open() and Run().
class PortPageRun {
public:
    Script script;
    CSelectPortPage port;
    INT_PTR portEnd = 0;

    PortPageRun() {
        script.On(kSettingsCaption, "settings page up", [this](HWND) {
            g_pSelectPortPage = &port;
            portEnd = port.DoModal();
        });
    }

    // Ends the settings page once the Select Port page is gone.
    INT_PTR Run() {
        script.On(kSettingsCaption, "settings page again", [](HWND page) { Click(page, IDC_SETTINGS_EXIT); });
        CPrinterSettingsPage settings;
        return script.Run([&] { return settings.DoModal(); });
    }
};

HWND PortList(HWND page) { return ::GetDlgItem(page, IDC_PORT_LIST); }

std::vector<std::vector<std::string>> RowsOf(const std::vector<engine::PortEntry>& ports) {
    std::vector<std::vector<std::string>> rows;
    for (const auto& port : ports) rows.push_back({port.name, port.description});
    return rows;
}

std::vector<std::string> DebugLines(const fake::FakeServices& fake) {
    std::vector<std::string> lines;
    for (const std::string& call : fake.calls) {
        if (call.rfind("DebugOutput ", 0) == 0) lines.push_back(call.substr(12));
    }
    return lines;
}

class PageSelectPort : public PageTest {
protected:
    PageSelectPort() { fake.ports = WineLikePorts(); }
};

TEST_F(PageSelectPort, ListShowsThePortsInOrderWithThePreferredRowSelected) {
    PortPageRun run;
    ListState list;
    int focused = 0, position = -1;
    PBRANGE range = {-1, -1};
    run.script.On(kSelectPortCaption, "port page up", [&](HWND page) {
        list = ReadList(PortList(page));
        focused = FocusedId(page);
        HWND progress = ::GetDlgItem(page, IDC_PROGRESS);
        position = static_cast<int>(::SendMessageW(progress, PBM_GETPOS, 0, 0));
        ::SendMessageW(progress, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        Click(page, IDC_PORT_BACK);
    });
    run.Run();

    EXPECT_EQ(list.rows, RowsOf(WineLikePorts()));
    EXPECT_EQ(list.columnTexts, (std::vector<std::string>{"Port", "Type"}));
    EXPECT_EQ(list.columnWidths, (std::vector<int>{150, 280}));
    EXPECT_EQ(list.selectedRows, std::vector<int>{5});
    EXPECT_EQ(list.rows.at(5).at(0), "LPT1:");
    EXPECT_EQ(list.extendedStyle & kListStyleOn, kListStyleOn);
    EXPECT_EQ(list.extendedStyle & LVS_EX_TRACKSELECT, 0u);
    EXPECT_EQ(focused, IDC_PORT_LIST);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    std::vector<std::string> expectedLines;
    for (const auto& port : WineLikePorts()) expectedLines.push_back(port.name + "\n");
    EXPECT_EQ(DebugLines(fake), expectedLines);
    EXPECT_EQ(run.portEnd, IDCANCEL);
}

struct PreferredCase {
    const char* name;
    std::vector<const char*> ports;
    std::vector<int> selected;
};

class PageSelectPortPreferred : public PageTest, public ::testing::WithParamInterface<PreferredCase> {};

TEST_P(PageSelectPortPreferred, SelectsThePreferredRow) {
    for (const char* name : GetParam().ports) fake.ports.push_back({name, "Local Port"});
    PortPageRun run;
    ListState list;
    run.script.On(kSelectPortCaption, "port page up", [&](HWND page) {
        list = ReadList(PortList(page));
        Click(page, IDC_PORT_BACK);
    });
    run.Run();
    EXPECT_EQ(list.rows.size(), GetParam().ports.size());
    EXPECT_EQ(list.selectedRows, GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, PageSelectPortPreferred,
    ::testing::Values(
        PreferredCase{"Com1BeatsFileAndRow0NeverCounts",
                      {"LPT1:", "X1:", "X2:", "COM1:", "X4:", "X5:", "X6:", "FILE:"}, {3}},
        PreferredCase{"Lpt1BeatsCom1", {"COM1:", "X1:", "LPT1:"}, {2}},
        PreferredCase{"OnlyRow0Matches", {"LPT1:", "X1:", "X2:"}, {}},
        PreferredCase{"LowerCaseDoesNotCount", {"X0:", "lpt1:", "com1:", "file:"}, {}},
        PreferredCase{"LastCom1PrefixCounts",
                      {"X0:", "X1:", "X2:", "X3:", "COM1:", "X5:", "X6:", "X7:", "X8:", "COM10:"}, {9}}),
    [](const ::testing::TestParamInfo<PreferredCase>& info) { return std::string(info.param.name); });

TEST_F(PageSelectPort, ThreeHundredPortsListTheFirst256Only) {
    fake.ports.clear();
    for (int i = 0; i < 300; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "P%03d:", i);
        fake.ports.push_back({name, "Port " + std::to_string(i)});
    }
    // Beyond the 256 rows a preferred name counts for nothing.
    fake.ports[100].name = "COM1:";
    fake.ports[280].name = "LPT1:";
    PortPageRun run;
    ListState list;
    run.script.On(kSelectPortCaption, "port page up", [&](HWND page) {
        list = ReadList(PortList(page));
        Click(page, IDC_PORT_CANCEL);
    });
    run.Run();
    ASSERT_EQ(list.rows.size(), 256u);
    EXPECT_EQ(list.rows[255], (std::vector<std::string>{"P255:", "Port 255"}));
    EXPECT_EQ(list.selectedRows, std::vector<int>{100});
    std::vector<std::string> lines = DebugLines(fake);
    ASSERT_EQ(lines.size(), 256u);
    EXPECT_EQ(lines.front(), "P000:\n");
    EXPECT_EQ(lines.back(), "P255:\n");
}

TEST_F(PageSelectPort, EmptyEnumerationStillInstallsWithAnEmptyPortName) {
    fake.ports.clear();
    PortPageRun run;
    ListState list;
    run.script.On(kSelectPortCaption, "port page up", [&](HWND page) {
        list = ReadList(PortList(page));
        Click(page, IDC_PORT_CONFIGURE);
    });
    run.script.Settle().On(kSelectPortCaption, "install", [](HWND page) { Click(page, IDC_INSTALL); });
    run.Run();
    EXPECT_TRUE(list.rows.empty());
    EXPECT_TRUE(list.selectedRows.empty());
    EXPECT_EQ(fake.CountCalls("ConfigurePort"), 0u);
    ASSERT_EQ(fake.printers.size(), 1u);
    EXPECT_EQ(fake.printers[0].pPortName, "");
    EXPECT_EQ(run.portEnd, IDOK);
    EXPECT_TRUE(run.port.InstallSucceeded());
    EXPECT_EQ(run.port.m_strPortName, "");
}

TEST_F(PageSelectPort, ConfigurePortUsesTheSelectedRowOnly) {
    PortPageRun run;
    run.script.On(kSelectPortCaption, "configure the preferred row",
                  [](HWND page) { Click(page, IDC_PORT_CONFIGURE); });
    run.script.Settle().On(kSelectPortCaption, "configure row 0", [](HWND page) {
        SelectListRow(PortList(page), 0);
        Click(page, IDC_PORT_CONFIGURE);
    });
    run.script.Settle().On(kSelectPortCaption, "configure with no row", [](HWND page) {
        SelectListRow(PortList(page), -1);
        Click(page, IDC_PORT_CONFIGURE);
    });
    run.script.Settle().On(kSelectPortCaption, "leave", [](HWND page) { Click(page, IDC_PORT_BACK); });
    run.Run();
    std::vector<std::string> configured;
    for (const std::string& call : fake.calls) {
        if (call.rfind("ConfigurePort", 0) == 0) configured.push_back(call);
    }
    EXPECT_EQ(configured, (std::vector<std::string>{"ConfigurePort LPT1:", "ConfigurePort COM1:"}));
    EXPECT_EQ(run.portEnd, IDCANCEL);
}

TEST_F(PageSelectPort, EnterInThePortListAndTheOkCommandKeepThePageOpen) {
    PortPageRun run;
    HWND portPage = nullptr;
    int focused = 0;
    bool openAfterEnter = false, openAfterOk = false;
    run.script.On(kSelectPortCaption, "port page up", [&](HWND page) {
        portPage = page;
        focused = FocusedId(page);
        PressKey(page, VK_RETURN);
    });
    run.script.Settle().On(kSelectPortCaption, "after Enter", [&](HWND page) {
        openAfterEnter = true;
        Click(page, IDOK);
    });
    run.script.Settle().On(kSelectPortCaption, "after the OK command", [&](HWND page) {
        openAfterOk = true;
        Click(page, IDC_PORT_BACK);
    });
    run.Run();
    EXPECT_EQ(focused, IDC_PORT_LIST);
    // Enter did reach the page, as the OK command.
    size_t okCommands = 0;
    for (const auto& command : run.script.Commands()) {
        okCommands += command.dialog == portPage && command.id == IDOK ? 1 : 0;
    }
    EXPECT_GE(okCommands, 1u);
    EXPECT_TRUE(openAfterEnter);
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(run.portEnd, IDCANCEL);
    EXPECT_EQ(fake.CountCalls("CopyFile"), 0u);
}

// Enter presses the push button that has the focus.
struct FocusedButtonCase {
    const char* name;
    int button;
    INT_PTR end;
    bool installed;
};

class PageSelectPortFocusedButton : public PageSelectPort, public ::testing::WithParamInterface<FocusedButtonCase> {};

TEST_P(PageSelectPortFocusedButton, EnterPressesIt) {
    PortPageRun run;
    int focused = 0;
    run.script.On(kSelectPortCaption, "focus the button", [](HWND page) {
        ::SendMessageW(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(page, GetParam().button)), TRUE);
    });
    run.script.Settle().On(kSelectPortCaption, "Enter", [&](HWND page) {
        focused = FocusedId(page);
        PressKey(page, VK_RETURN);
    });
    run.Run();
    EXPECT_EQ(focused, GetParam().button);
    EXPECT_EQ(run.portEnd, GetParam().end);
    EXPECT_EQ(run.port.InstallSucceeded(), GetParam().installed);
    EXPECT_EQ(fake.printers.size(), GetParam().installed ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, PageSelectPortFocusedButton,
    ::testing::Values(FocusedButtonCase{"Install", IDC_INSTALL, IDOK, true},
                      FocusedButtonCase{"Back", IDC_PORT_BACK, IDCANCEL, false},
                      FocusedButtonCase{"Cancel", IDC_PORT_CANCEL, IDCANCEL, false}),
    [](const ::testing::TestParamInfo<FocusedButtonCase>& info) { return std::string(info.param.name); });

struct LeaveCase {
    const char* name;
    void (*leave)(HWND page);
};

class PageSelectPortLeave : public PageSelectPort, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(PageSelectPortLeave, EndsWithCancelAndInstallsNothing) {
    PortPageRun run;
    run.script.On(kSelectPortCaption, "port page up", [](HWND page) { GetParam().leave(page); });
    run.Run();
    EXPECT_EQ(run.portEnd, IDCANCEL);
    EXPECT_FALSE(run.port.InstallSucceeded());
    EXPECT_EQ(run.port.m_strPortName, "");
    EXPECT_EQ(fake.CountCalls("CopyFile"), 0u);
    EXPECT_EQ(fake.CountCalls("AddPrinter"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PageSelectPortLeave,
    ::testing::Values(LeaveCase{"Back", [](HWND p) { Click(p, IDC_PORT_BACK); }},
                      LeaveCase{"Cancel", [](HWND p) { Click(p, IDC_PORT_CANCEL); }},
                      LeaveCase{"Esc", [](HWND p) { PressKey(p, VK_ESCAPE); }},
                      LeaveCase{"CloseBox", [](HWND p) { CloseBox(p); }}),
    [](const ::testing::TestParamInfo<LeaveCase>& info) { return std::string(info.param.name); });

const std::vector<int> kFullProgress = {10, 20, 30, 40, 50, 60, 70, 80, 90, 95, 100};

TEST_F(PageSelectPort, SuccessfulInstallMovesTheProgressBarAndEndsWithOk) {
    PortPageRun run;
    run.script.On(kSelectPortCaption, "install on row 2", [](HWND page) {
        SelectListRow(PortList(page), 2);
        Click(page, IDC_INSTALL);
    });
    run.Run();
    EXPECT_EQ(run.portEnd, IDOK);
    EXPECT_TRUE(run.port.InstallSucceeded());
    EXPECT_EQ(run.port.m_strPortName, "COM3:");
    ASSERT_EQ(fake.printers.size(), 1u);
    EXPECT_EQ(fake.printers[0].pPortName, "COM3:");
    // The page's own 0 first, then the installation's positions.
    std::vector<int> expected = {0};
    expected.insert(expected.end(), kFullProgress.begin(), kFullProgress.end());
    EXPECT_EQ(run.script.ProgressPositions(), expected);
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(PageSelectPort, FailedInstallShowsOneMessageResetsTheBarAndStaysOpen) {
    // The fifth copy, the help file, is refused: three positions are reached.
    fake.copyErrors[5] = fake::kErrorAccessDenied;
    PortPageRun run;
    int positionAfter = -1;
    bool openAfter = false;
    run.script.On(kSelectPortCaption, "install", [](HWND page) { Click(page, IDC_INSTALL); });
    run.script.Settle().On(kSelectPortCaption, "still open", [&](HWND page) {
        openAfter = true;
        positionAfter = static_cast<int>(::SendDlgItemMessageW(page, IDC_PROGRESS, PBM_GETPOS, 0, 0));
        Click(page, IDC_PORT_CANCEL);
    });
    run.Run();
    ASSERT_EQ(fake.messages.size(), 1u);
    const std::string& text = fake.messages[0].text;
    EXPECT_NE(text.find("C:\\setup\\x86\\UNIDRV.HLP"), std::string::npos) << text;
    EXPECT_NE(text.find("Access is denied."), std::string::npos) << text;
    EXPECT_EQ(run.script.ProgressPositions(), (std::vector<int>{0, 10, 20, 30, 0}));
    EXPECT_TRUE(openAfter);
    EXPECT_EQ(positionAfter, 0);
    EXPECT_EQ(fake.CountCalls("AddPrinterDriver"), 0u);
    EXPECT_EQ(run.portEnd, IDCANCEL);
    EXPECT_FALSE(run.port.InstallSucceeded());
}

TEST_F(PageSelectPort, InstallCanBeRetriedAfterAFailure) {
    fake.driverDirectoryError = fake::kErrorAccessDenied;
    PortPageRun run;
    run.script.On(kSelectPortCaption, "install, refused", [](HWND page) { Click(page, IDC_INSTALL); });
    run.script.Settle().On(kSelectPortCaption, "install again", [&](HWND page) {
        fake.driverDirectoryError = 0;
        Click(page, IDC_INSTALL);
    });
    run.Run();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_NE(fake.messages[0].text.find("Windows NT x86"), std::string::npos) << fake.messages[0].text;
    std::vector<int> expected = {0, 0};
    expected.insert(expected.end(), kFullProgress.begin(), kFullProgress.end());
    EXPECT_EQ(run.script.ProgressPositions(), expected);
    EXPECT_EQ(run.portEnd, IDOK);
    EXPECT_TRUE(run.port.InstallSucceeded());
}

TEST_F(PageSelectPort, Arm64ShowsAMessageAndInstallsNothing) {
    fake.native = {true, true, engine::kMachineArm64};
    // IsWow64Process says yes on ARM64 too.
    fake.wow64 = {true, 1};
    PortPageRun run;
    bool openAfter = false;
    run.script.On(kSelectPortCaption, "install", [](HWND page) { Click(page, IDC_INSTALL); });
    run.script.Settle().On(kSelectPortCaption, "still open", [&](HWND page) {
        openAfter = true;
        Click(page, IDC_PORT_CANCEL);
    });
    run.Run();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, engine::kNoArm64DriverText);
    EXPECT_NE(fake.messages[0].text.find("ARM64"), std::string::npos);
    EXPECT_EQ(fake.CountCalls("GetPrinterDriverDirectory"), 0u);
    EXPECT_EQ(fake.CountCalls("CopyFile"), 0u);
    EXPECT_EQ(fake.CountCalls("AddPrinter"), 0u);
    EXPECT_EQ(run.script.ProgressPositions(), std::vector<int>{0});
    EXPECT_TRUE(openAfter);
    EXPECT_EQ(run.portEnd, IDCANCEL);
}

struct TargetCase {
    const char* name;
    engine::Wow64Answer wow64;
    engine::NativeMachineAnswer native;
    const char* environment;
    const char* sourceFolder;
};

class PageSelectPortTarget : public PageSelectPort, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(PageSelectPortTarget, InstallsForTheMachinesDriverBuild) {
    fake.wow64 = GetParam().wow64;
    fake.native = GetParam().native;
    PortPageRun run;
    run.script.On(kSelectPortCaption, "install", [](HWND page) { Click(page, IDC_INSTALL); });
    run.Run();
    EXPECT_EQ(fake.driverDirectoryEnvironments, std::vector<std::string>{GetParam().environment});
    ASSERT_EQ(fake.drivers.size(), 1u);
    EXPECT_EQ(fake.drivers[0].pEnvironment, GetParam().environment);
    ASSERT_FALSE(fake.copies.empty());
    EXPECT_EQ(fake.copies[0].source.rfind(GetParam().sourceFolder, 0), 0u) << fake.copies[0].source;
    EXPECT_EQ(run.portEnd, IDOK);
}

INSTANTIATE_TEST_SUITE_P(
    Machines, PageSelectPortTarget,
    ::testing::Values(
        TargetCase{"Wow64", {true, 1}, {}, "Windows x64", "C:\\setup\\x64\\"},
        TargetCase{"Wow64OnX64Machine", {true, 1}, {true, true, 0x8664}, "Windows x64", "C:\\setup\\x64\\"},
        TargetCase{"NotWow64", {true, 0}, {}, "Windows NT x86", "C:\\setup\\x86\\"},
        TargetCase{"NoIsWow64Process", {false, 0}, {}, "Windows NT x86", "C:\\setup\\x86\\"},
        TargetCase{"FlagOtherThanOne", {true, 2}, {}, "Windows NT x86", "C:\\setup\\x86\\"}),
    [](const ::testing::TestParamInfo<TargetCase>& info) { return std::string(info.param.name); });

}  // namespace
