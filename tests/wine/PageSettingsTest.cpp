// The printer settings page (template 102) and its about box (100) as real
// modal dialogs, with the recording fake behind the installation.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Install.h"
#include "PrinterSettingsPage.h"
#include "UiPages.h"
#include "UiScript.h"
#include "resource.h"

namespace {

using namespace uitest;

// The model list, row by row, as the user reads it.
const char* const kModelTexts[11] = {
    "QX-201 Series", "QX-202 Series", "QX-203 Series", "QX-204 Series", "QX-205 Series", "QX-205X Series",
    "QX-206 Series", "QX-207 Series", "QX-207M Series", "QX-H207 Series", "QX-20N Series",
};
const char kInitialPrinterName[] = "QX Printer Ready";

// The port panel's captions; all of it stays hidden.
const wchar_t* const kPanelTexts[] = {L"打印机端口设置", L"端口", L"波特率", L"字节长度",
                                      L"停止位", L"校验位", L"流控制"};
const int kPanelCombos[] = {IDC_PORT_COMBO, IDC_BAUD_COMBO, IDC_DATABITS_COMBO, IDC_FLOW_COMBO,
                            IDC_PARITY_COMBO, IDC_STOPBITS_COMBO};

struct MenuItem {
    bool separator;
    UINT id;
    std::wstring text;
};

std::vector<MenuItem> SystemMenuTail(HWND page, int count) {
    std::vector<MenuItem> items;
    HMENU menu = ::GetSystemMenu(page, FALSE);
    int total = menu ? ::GetMenuItemCount(menu) : 0;
    for (int i = total - count; i < total; ++i) {
        if (i < 0) continue;
        wchar_t text[128] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back({(info.fType & MFT_SEPARATOR) != 0, info.wID, text});
    }
    return items;
}

using PageSettings = PageTest;

TEST_F(PageSettings, StateRightAfterOpening) {
    CPrinterSettingsPage page;
    SettingsState state;
    std::vector<std::string> models, ports, bauds, dataBits, stopBits, parities, flows;
    std::vector<std::wstring> shownPanelParts;
    int focused = 0;
    bool nameReadOnly = false;
    Script script;
    script.On(kSettingsCaption, "settings page up", [&](HWND dialog) {
        state = ReadSettings(dialog);
        models = ComboItems(dialog, IDC_MODEL_COMBO);
        ports = ComboItems(dialog, IDC_PORT_COMBO);
        bauds = ComboItems(dialog, IDC_BAUD_COMBO);
        dataBits = ComboItems(dialog, IDC_DATABITS_COMBO);
        stopBits = ComboItems(dialog, IDC_STOPBITS_COMBO);
        parities = ComboItems(dialog, IDC_PARITY_COMBO);
        flows = ComboItems(dialog, IDC_FLOW_COMBO);
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            std::wstring text = Caption(child);
            for (const wchar_t* part : kPanelTexts) {
                if (text == part && ::IsWindowVisible(child)) shownPanelParts.push_back(text);
            }
        }
        for (int id : kPanelCombos) {
            if (::IsWindowVisible(::GetDlgItem(dialog, id))) shownPanelParts.push_back(L"combo " + std::to_wstring(id));
        }
        focused = FocusedId(dialog);
        nameReadOnly = (::GetWindowLongW(::GetDlgItem(dialog, IDC_PRINTER_NAME), GWL_STYLE) & ES_READONLY) != 0;
        Click(dialog, IDC_SETTINGS_EXIT);
    });
    script.Run([&] { return page.DoModal(); });

    EXPECT_EQ(models, std::vector<std::string>(std::begin(kModelTexts), std::end(kModelTexts)));
    EXPECT_EQ(state.model, 5);
    // A text of its own, not item 5's.
    EXPECT_EQ(state.printerName, kInitialPrinterName);
    EXPECT_TRUE(nameReadOnly);
    EXPECT_TRUE(state.setDefault);
    ASSERT_GE(state.port, 0);
    EXPECT_EQ(ports[static_cast<size_t>(state.port)], "LPT1");
    ASSERT_TRUE(state.baud >= 0 && state.dataBits >= 0 && state.stopBits >= 0 && state.parity >= 0 &&
                state.flow >= 0);
    EXPECT_EQ(bauds[static_cast<size_t>(state.baud)], "19200");
    EXPECT_EQ(dataBits[static_cast<size_t>(state.dataBits)], "8");
    EXPECT_EQ(stopBits[static_cast<size_t>(state.stopBits)], "1");
    EXPECT_EQ(parities[static_cast<size_t>(state.parity)], "None");
    EXPECT_EQ(flows[static_cast<size_t>(state.flow)], "Hardware");
    EXPECT_TRUE(state.portEnabled);
    EXPECT_EQ(state.serialEnabled, std::vector<bool>(5, false));
    EXPECT_TRUE(shownPanelParts.empty()) << "shown: " << shownPanelParts.size() << ", first "
                                         << (shownPanelParts.empty() ? "" : Utf8(shownPanelParts[0]));
    EXPECT_EQ(focused, IDC_MODEL_COMBO);
}

// The item's text is string 101, which is Chinese: it has to come through
// whatever the system's ANSI code page is.
TEST_F(PageSettings, SystemMenuEndsWithTheAboutItem) {
    CPrinterSettingsPage page;
    std::vector<MenuItem> tail;
    Script script;
    script.On(kSettingsCaption, "settings page up", [&](HWND dialog) {
        tail = SystemMenuTail(dialog, 2);
        Click(dialog, IDC_SETTINGS_EXIT);
    });
    script.Run([&] { return page.DoModal(); });
    ASSERT_EQ(tail.size(), 2u);
    EXPECT_TRUE(tail[0].separator);
    EXPECT_FALSE(tail[1].separator);
    EXPECT_EQ(tail[1].id, static_cast<UINT>(IDM_ABOUT));
    EXPECT_EQ(tail[1].text, L"关于 ORVA(&A)...") << "ANSI code page " << ::GetACP();
}

TEST_F(PageSettings, BothWindowIconsAndTheDragIconAreTheProgramIcon) {
    CPrinterSettingsPage page;
    HICON big = nullptr, small = nullptr, drag = nullptr;
    Script script;
    script.On(kSettingsCaption, "settings page up", [&](HWND dialog) {
        big = reinterpret_cast<HICON>(::SendMessageW(dialog, WM_GETICON, ICON_BIG, 0));
        small = reinterpret_cast<HICON>(::SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0));
        drag = reinterpret_cast<HICON>(::SendMessageW(dialog, WM_QUERYDRAGICON, 0, 0));
        Click(dialog, IDC_SETTINGS_EXIT);
    });
    script.Run([&] { return page.DoModal(); });
    // A resource icon loaded with LoadIcon is shared: the same handle here.
    HICON program = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PRINTER));
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(big, program);
    EXPECT_EQ(small, program);
    EXPECT_EQ(drag, program);
}

TEST_F(PageSettings, ChoosingAModelShowsItsText) {
    // Item 5 first: choosing the selected item again still sets its text.
    const int order[] = {5, 0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 5};
    CPrinterSettingsPage page;
    std::vector<std::string> shown;
    std::string afterNoSelection;
    Script script;
    script.On(kSettingsCaption, "settings page up", [&](HWND dialog) {
        for (int item : order) {
            ChooseComboItem(dialog, IDC_MODEL_COMBO, item);
            shown.push_back(Utf8(ItemText(dialog, IDC_PRINTER_NAME)));
        }
        // No selection: the text stays.
        ChooseComboItem(dialog, IDC_MODEL_COMBO, -1);
        afterNoSelection = Utf8(ItemText(dialog, IDC_PRINTER_NAME));
        Click(dialog, IDC_SETTINGS_EXIT);
    });
    script.Run([&] { return page.DoModal(); });
    ASSERT_EQ(shown.size(), std::size(order));
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i], kModelTexts[order[i]]) << "item " << order[i];
    }
    EXPECT_EQ(afterNoSelection, kModelTexts[5]);
}

TEST_F(PageSettings, SerialCombosFollowThePortChoice) {
    // Alternating, so that every choice has to change the state.
    const struct {
        int port;
        bool serial;
    } cases[] = {{3, true}, {0, false}, {4, true}, {1, false}, {5, true}, {2, false}, {6, true}, {-1, false}};
    CPrinterSettingsPage page;
    std::vector<std::vector<bool>> enabled;
    std::vector<bool> portEnabled;
    Script script;
    script.On(kSettingsCaption, "settings page up", [&](HWND dialog) {
        for (const auto& c : cases) {
            ChooseComboItem(dialog, IDC_PORT_COMBO, c.port);
            SettingsState state = ReadSettings(dialog);
            enabled.push_back(state.serialEnabled);
            portEnabled.push_back(state.portEnabled);
        }
        Click(dialog, IDC_SETTINGS_EXIT);
    });
    script.Run([&] { return page.DoModal(); });
    ASSERT_EQ(enabled.size(), std::size(cases));
    for (size_t i = 0; i < enabled.size(); ++i) {
        EXPECT_EQ(enabled[i], std::vector<bool>(5, cases[i].serial)) << "port index " << cases[i].port;
        EXPECT_TRUE(portEnabled[i]) << "port index " << cases[i].port;
    }
}

// The default-printer value the fake saw written, or "<none>".
std::string DeviceValue(const fake::FakeServices& fake, size_t from) {
    for (size_t i = from; i < fake.writtenValues.size(); ++i) {
        if (fake.writtenValues[i].name == "Device") return fake.writtenValues[i].data;
    }
    return "<none>";
}

TEST_F(PageSettings, CheckBoxTogglesAndTheInstallationReadsItWhenItRuns) {
    CPrinterSettingsPage page;
    std::vector<bool> checked;
    std::vector<std::string> devices;
    std::vector<bool> succeeded;
    Script script;
    script.On(kSettingsCaption, "settings page up", [&](HWND dialog) {
        for (int round = 0; round < 3; ++round) {
            // As a click does: toggles, then BN_CLICKED to the page.
            ::SendDlgItemMessageW(dialog, IDC_SET_DEFAULT, BM_CLICK, 0, 0);
            checked.push_back(IsChecked(dialog, IDC_SET_DEFAULT));
            size_t before = fake.writtenValues.size();
            succeeded.push_back(page.InstallDriver(engine::kTargetX86).succeeded);
            devices.push_back(DeviceValue(fake, before));
        }
        Click(dialog, IDC_SETTINGS_EXIT);
    });
    script.Run([&] { return page.DoModal(); });
    EXPECT_EQ(checked, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(succeeded, std::vector<bool>(3, true));
    // No Select Port page: no port name.
    EXPECT_EQ(devices, (std::vector<std::string>{"<none>", "QX-205X Series,winspool,", "<none>"}));
}

// Control settings at the moment of the installation, and what the engine
// has to receive from them.
struct InstallCase {
    const char* name;
    int model, port, baud, dataBits, stopBits, parity, flow;
    bool setDefault;
    const char* driver;
    const char* portsValue;  // null: none written
    const char* portsData;
};

class PageSettingsInstall : public PageTest, public ::testing::WithParamInterface<InstallCase> {};

TEST_P(PageSettingsInstall, ControlsReachTheEngineAsTheyAreThen) {
    const InstallCase& c = GetParam();
    CPrinterSettingsPage page;
    engine::InstallOutcome outcome;
    Script script;
    script.On(kSettingsCaption, "settings page up", [&](HWND dialog) {
        ChooseComboItem(dialog, IDC_MODEL_COMBO, c.model);
        ChooseComboItem(dialog, IDC_PORT_COMBO, c.port);
        ChooseComboItem(dialog, IDC_BAUD_COMBO, c.baud);
        ChooseComboItem(dialog, IDC_DATABITS_COMBO, c.dataBits);
        ChooseComboItem(dialog, IDC_STOPBITS_COMBO, c.stopBits);
        ChooseComboItem(dialog, IDC_PARITY_COMBO, c.parity);
        ChooseComboItem(dialog, IDC_FLOW_COMBO, c.flow);
        ::SendDlgItemMessageW(dialog, IDC_SET_DEFAULT, BM_SETCHECK, c.setDefault ? BST_CHECKED : BST_UNCHECKED, 0);
        outcome = page.InstallDriver(engine::kTargetX86);
        Click(dialog, IDC_SETTINGS_EXIT);
    });
    script.Run([&] { return page.DoModal(); });

    EXPECT_TRUE(outcome.succeeded) << outcome.Message();
    ASSERT_EQ(fake.drivers.size(), 1u);
    EXPECT_EQ(fake.drivers[0].pName, c.driver);
    EXPECT_EQ(fake.drivers[0].pEnvironment, "Windows NT x86");
    ASSERT_EQ(fake.printers.size(), 1u);
    EXPECT_EQ(fake.printers[0].pPrinterName, c.driver);
    EXPECT_EQ(DeviceValue(fake, 0), c.setDefault ? std::string(c.driver) + ",winspool," : "<none>");
    std::vector<std::string> portsWritten;
    for (const auto& value : fake.writtenValues) {
        if (value.key.rfind("HKLM\\", 0) == 0) portsWritten.push_back(value.name + "=" + value.data);
    }
    std::vector<std::string> expected;
    if (c.portsValue) expected.push_back(std::string(c.portsValue) + "=" + c.portsData);
    EXPECT_EQ(portsWritten, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, PageSettingsInstall,
    ::testing::Values(
        // The defaults as the page opens them.
        InstallCase{"Defaults", 5, 0, 5, 3, 0, 2, 2, true, "QX-205X Series", nullptr, nullptr},
        InstallCase{"FirstModelCom2", 0, 4, 8, 1, 2, 4, 1, false, "QX-201 Series", "COM2:", "115200,S,6,2,x"},
        InstallCase{"LastModelCom1", 10, 3, 0, 0, 1, 0, 0, true, "QX-20N Series", "COM1:", "300,E,5,1.5, "},
        InstallCase{"Com4", 8, 6, 4, 2, 0, 3, 2, false, "QX-207M Series", "COM4:", "9600,O,7,1,p"},
        InstallCase{"Lpt3NoPortsValue", 9, 2, 7, 0, 2, 1, 0, true, "QX-H207 Series", nullptr, nullptr}),
    [](const ::testing::TestParamInfo<InstallCase>& info) { return std::string(info.param.name); });

TEST_F(PageSettings, SystemCommands16To31OpenTheAboutBox) {
    CPrinterSettingsPage page;
    // Every way of closing the about box, in turn.
    void (*const closers[])(HWND) = {
        [](HWND about) { Click(about, IDOK); },
        [](HWND about) { PressKey(about, VK_RETURN); },
        [](HWND about) { PressKey(about, VK_ESCAPE); },
        [](HWND about) { CloseBox(about); },
    };
    std::vector<std::wstring> okTexts;
    std::vector<bool> okIsDefault;
    Script script;
    for (UINT id = 16; id <= 31; ++id) {
        script.On(kSettingsCaption, "system command " + std::to_string(id),
                  [id](HWND dialog) { SysCommand(dialog, id); });
        script.On(kAboutCaption, "about box for " + std::to_string(id), [&, id](HWND about) {
            okTexts.push_back(ItemText(about, IDOK));
            okIsDefault.push_back((::GetWindowLongW(::GetDlgItem(about, IDOK), GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON);
            closers[id % std::size(closers)](about);
        });
    }
    script.On(kSettingsCaption, "back on the page", [](HWND dialog) { Click(dialog, IDC_SETTINGS_EXIT); });
    EXPECT_EQ(script.Run([&] { return page.DoModal(); }), IDOK);
    EXPECT_EQ(script.CountOpened(kAboutCaption), 16u);
    EXPECT_EQ(okTexts, std::vector<std::wstring>(16, L"确定"));
    EXPECT_EQ(okIsDefault, std::vector<bool>(16, true));
}

TEST_F(PageSettings, OtherSystemCommandsKeepTheirDefaultMeaning) {
    CPrinterSettingsPage page;
    bool minimized = false, restored = false;
    Script script;
    script.On(kSettingsCaption, "settings page up", [](HWND dialog) {
        // Next to the about range, on both sides.
        SysCommand(dialog, 15);
        SysCommand(dialog, 32);
        SysCommand(dialog, SC_MINIMIZE);
    });
    script.Settle().Do("minimized", [] {
        HWND page = FindDialog(kSettingsCaption);
        return page && ::IsIconic(page) ? page : nullptr;
    }, [&](HWND dialog) {
        minimized = true;
        SysCommand(dialog, SC_RESTORE);
    });
    script.Do("restored", [] {
        HWND page = FindDialog(kSettingsCaption);
        return page && !::IsIconic(page) ? page : nullptr;
    }, [&](HWND dialog) {
        restored = true;
        Click(dialog, IDC_SETTINGS_EXIT);
    });
    script.Run([&] { return page.DoModal(); });
    EXPECT_TRUE(minimized);
    EXPECT_TRUE(restored);
    EXPECT_EQ(script.CountOpened(kAboutCaption), 0u);
}

struct EndCase {
    const char* name;
    void (*leave)(HWND page);
    INT_PTR end;
};

class PageSettingsEnd : public PageTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(PageSettingsEnd, EndsWithItsCodeAndInstallsNothing) {
    CPrinterSettingsPage page;
    Script script;
    script.On(kSettingsCaption, "settings page up", [](HWND dialog) { GetParam().leave(dialog); });
    EXPECT_EQ(script.Run([&] { return page.DoModal(); }), GetParam().end);
    EXPECT_EQ(script.Opened(), std::vector<std::wstring>{kSettingsCaption});
    EXPECT_EQ(fake.CountCalls("CopyFile"), 0u);
    EXPECT_EQ(fake.CountCalls("AddPrinter"), 0u);
    EXPECT_EQ(fake.CountCalls("EnumPorts"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PageSettingsEnd,
    ::testing::Values(EndCase{"Exit", [](HWND d) { Click(d, IDC_SETTINGS_EXIT); }, IDOK},
                      EndCase{"Esc", [](HWND d) { PressKey(d, VK_ESCAPE); }, IDOK},
                      EndCase{"CloseBox", [](HWND d) { CloseBox(d); }, IDOK},
                      // The focus is in the model list: no push button has it.
                      EndCase{"Enter", [](HWND d) { PressKey(d, VK_RETURN); }, IDOK},
                      EndCase{"Back", [](HWND d) { Click(d, IDC_SETTINGS_BACK); }, IDCANCEL},
                      // Enter presses the push button that has the focus.
                      EndCase{"EnterOnBack", [](HWND d) {
                                  ::SendMessageW(d, WM_NEXTDLGCTL,
                                                 reinterpret_cast<WPARAM>(::GetDlgItem(d, IDC_SETTINGS_BACK)), TRUE);
                                  PressKey(d, VK_RETURN);
                              }, IDCANCEL}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

TEST_F(PageSettings, NamesItselfForTheSelectPortPageOnceInitialised) {
    CPrinterSettingsPage page;
    CPrinterSettingsPage* named = nullptr;
    Script script;
    script.On(kSettingsCaption, "settings page up", [&](HWND dialog) {
        named = g_pSettingsPage;
        Click(dialog, IDC_SETTINGS_EXIT);
    });
    script.Run([&] { return page.DoModal(); });
    EXPECT_EQ(named, &page);
}

}  // namespace
