// The Create Port dialog (template 138), opened as the user opens it from
// the Select Port page, with the recording fake as the spooler.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SelectPortPage.h"
#include "UiPages.h"
#include "UiScript.h"
#include "resource.h"

namespace {

using namespace uitest;

const DWORD kListStyleOn = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;

std::vector<std::string> CallsStartingWith(const fake::FakeServices& fake, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& call : fake.calls) {
        if (call.rfind(prefix, 0) == 0) found.push_back(call);
    }
    return found;
}

class PageCreatePort : public PageTest {
protected:
    PageCreatePort() {
        fake.ports = WineLikePorts();
        fake.monitors = {{true, "A"}, {false, ""}, {true, "C"}};
    }

    // Shows a Select Port page on its own and opens the dialog from it; the
    // test adds the steps on the dialog and after it.
    void OpenFromPortPage(Script& script) {
        script.On(kSelectPortCaption, "port page up", [](HWND page) { Click(page, IDC_PORT_CREATE); });
    }
    INT_PTR Run(Script& script) {
        CSelectPortPage page;
        return script.Run([&] { return page.DoModal(); });
    }
};

TEST_F(PageCreatePort, ListsTheNamedMonitorsWithTheFirstSelected) {
    Script script;
    OpenFromPortPage(script);
    ListState list;
    int focused = 0;
    script.On(kCreatePortCaption, "dialog up", [&](HWND dialog) {
        list = ReadList(::GetDlgItem(dialog, IDC_MONITOR_LIST));
        focused = FocusedId(dialog);
        Click(dialog, IDC_MONITOR_CLOSE);
    });
    script.On(kSelectPortCaption, "port page again", [](HWND page) { Click(page, IDC_PORT_BACK); });
    Run(script);

    EXPECT_EQ(list.rows, (std::vector<std::vector<std::string>>{{"A"}, {"C"}}));
    EXPECT_EQ(list.selectedRows, std::vector<int>{0});
    EXPECT_EQ(list.columnTexts, std::vector<std::string>{"Available Port Type"});
    EXPECT_EQ(list.columnWidths, std::vector<int>{340});
    EXPECT_EQ(list.extendedStyle & kListStyleOn, kListStyleOn);
    EXPECT_EQ(list.extendedStyle & LVS_EX_TRACKSELECT, 0u);
    EXPECT_EQ(focused, IDC_MONITOR_LIST);
    // One line per named monitor, between the two fills of the port list.
    std::vector<std::string> lines = CallsStartingWith(fake, "DebugOutput");
    std::vector<std::string> expected;
    for (int fill = 0; fill < 2; ++fill) {
        for (const auto& port : WineLikePorts()) expected.push_back("DebugOutput " + port.name + "\n");
        if (fill == 0) expected.insert(expected.end(), {"DebugOutput A\n", "DebugOutput C\n"});
    }
    EXPECT_EQ(lines, expected);
}

TEST_F(PageCreatePort, NewPortGoesThroughTheMonitorSelectedAtThatMoment) {
    Script script;
    OpenFromPortPage(script);
    std::vector<int> selectedAfterwards;
    script.On(kCreatePortCaption, "new port", [](HWND dialog) { Click(dialog, IDC_MONITOR_NEW_PORT); });
    script.Settle().On(kCreatePortCaption, "new port again", [](HWND dialog) {
        Click(dialog, IDC_MONITOR_NEW_PORT);
    });
    script.Settle().On(kCreatePortCaption, "row 1, new port", [](HWND dialog) {
        SelectListRow(::GetDlgItem(dialog, IDC_MONITOR_LIST), 1);
        Click(dialog, IDC_MONITOR_NEW_PORT);
    });
    script.Settle().On(kCreatePortCaption, "close", [&](HWND dialog) {
        // The dialog stays as it was.
        selectedAfterwards = ReadList(::GetDlgItem(dialog, IDC_MONITOR_LIST)).selectedRows;
        Click(dialog, IDC_MONITOR_CLOSE);
    });
    script.On(kSelectPortCaption, "port page again", [](HWND page) { Click(page, IDC_PORT_BACK); });
    Run(script);
    EXPECT_EQ(CallsStartingWith(fake, "AddPort"), (std::vector<std::string>{"AddPort A", "AddPort A", "AddPort C"}));
    EXPECT_EQ(selectedAfterwards, std::vector<int>{1});
}

TEST_F(PageCreatePort, NoMonitorsLeaveTheListEmptyAndNewPortDoesNothing) {
    fake.monitors.clear();
    Script script;
    OpenFromPortPage(script);
    ListState list;
    script.On(kCreatePortCaption, "dialog up", [&](HWND dialog) {
        list = ReadList(::GetDlgItem(dialog, IDC_MONITOR_LIST));
        Click(dialog, IDC_MONITOR_NEW_PORT);
    });
    script.Settle().On(kCreatePortCaption, "close", [](HWND dialog) { Click(dialog, IDC_MONITOR_CLOSE); });
    script.On(kSelectPortCaption, "port page again", [](HWND page) { Click(page, IDC_PORT_BACK); });
    Run(script);
    EXPECT_TRUE(list.rows.empty());
    EXPECT_TRUE(list.selectedRows.empty());
    EXPECT_EQ(fake.CountCalls("AddPort"), 0u);
    // Closing still rebuilds the port list.
    EXPECT_EQ(fake.CountCalls("EnumPorts"), 2u);
}

struct CloseCase {
    const char* name;
    void (*close)(HWND dialog);
};

class PageCreatePortClose : public PageCreatePort, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(PageCreatePortClose, ClosesAndThePortPageRebuildsItsList) {
    std::vector<engine::PortEntry> later = WineLikePorts();
    later.insert(later.begin() + 2, {"NE01:", "Local Port"});
    fake.portLists = {WineLikePorts(), later};
    Script script;
    script.On(kSelectPortCaption, "port page up, another row, then create", [](HWND page) {
        HWND list = ::GetDlgItem(page, IDC_PORT_LIST);
        SelectListRow(list, 1);
        // Bits the control may have had: one to be cleared, one to be kept.
        ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_TRACKSELECT | LVS_EX_HEADERDRAGDROP,
                       LVS_EX_TRACKSELECT | LVS_EX_HEADERDRAGDROP);
        Click(page, IDC_PORT_CREATE);
    });
    script.On(kCreatePortCaption, "dialog up", [](HWND dialog) { GetParam().close(dialog); });
    ListState list;
    script.On(kSelectPortCaption, "port page again", [&](HWND page) {
        list = ReadList(::GetDlgItem(page, IDC_PORT_LIST));
        Click(page, IDC_PORT_BACK);
    });
    Run(script);

    ASSERT_EQ(list.rows.size(), later.size());
    for (size_t i = 0; i < later.size(); ++i) EXPECT_EQ(list.rows[i].at(0), later[i].name) << "row " << i;
    // LPT1: moved down a row; the user's choice is not kept.
    EXPECT_EQ(list.selectedRows, std::vector<int>{6});
    EXPECT_EQ(list.columnTexts, (std::vector<std::string>{"Port", "Type"}));
    EXPECT_EQ(list.extendedStyle & kListStyleOn, kListStyleOn);
    EXPECT_EQ(list.extendedStyle & LVS_EX_TRACKSELECT, 0u);
    EXPECT_EQ(list.extendedStyle & LVS_EX_HEADERDRAGDROP, static_cast<DWORD>(LVS_EX_HEADERDRAGDROP));
    EXPECT_EQ(fake.CountCalls("EnumPorts"), 2u);
    EXPECT_EQ(script.CountOpened(kCreatePortCaption), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PageCreatePortClose,
    ::testing::Values(CloseCase{"Close", [](HWND d) { Click(d, IDC_MONITOR_CLOSE); }},
                      CloseCase{"Esc", [](HWND d) { PressKey(d, VK_ESCAPE); }},
                      CloseCase{"CloseBox", [](HWND d) { CloseBox(d); }},
                      // The focus is in the monitor list.
                      CloseCase{"Enter", [](HWND d) { PressKey(d, VK_RETURN); }}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

TEST_F(PageCreatePort, PortMadeThroughAMonitorShowsOnThePortPage) {
    fake.monitors = {{true, "Local Port"}};
    fake.portCreatedByAddPort = "NE01:";
    Script script;
    OpenFromPortPage(script);
    script.On(kCreatePortCaption, "new port", [](HWND dialog) { Click(dialog, IDC_MONITOR_NEW_PORT); });
    script.Settle().On(kCreatePortCaption, "close", [](HWND dialog) { Click(dialog, IDC_MONITOR_CLOSE); });
    ListState list;
    script.On(kSelectPortCaption, "port page again", [&](HWND page) {
        list = ReadList(::GetDlgItem(page, IDC_PORT_LIST));
        Click(page, IDC_PORT_BACK);
    });
    Run(script);
    EXPECT_EQ(CallsStartingWith(fake, "AddPort"), std::vector<std::string>{"AddPort Local Port"});
    ASSERT_EQ(list.rows.size(), WineLikePorts().size() + 1);
    EXPECT_EQ(list.rows.back(), (std::vector<std::string>{"NE01:", "Local Port"}));
    EXPECT_EQ(list.selectedRows, std::vector<int>{5});
}

}  // namespace
