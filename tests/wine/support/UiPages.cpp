#include "UiPages.h"

#include <commctrl.h>

#include "OsClassify.h"
#include "PrinterSettingsPage.h"
#include "SelectPortPage.h"
#include "resource.h"
#include "UiScript.h"

namespace uitest {

const wchar_t kOsCaption[] = L"Select OS (x86/x64)";
const wchar_t kSettingsCaption[] = L"Detail Setting (x86/x64)";
const wchar_t kSelectPortCaption[] = L"Select Port (x86/x64)";
const wchar_t kCreatePortCaption[] = L"Create Port";
const wchar_t kAboutCaption[] = L"关于 ORVA";

const int kOsRadioIds[9] = {IDC_OS_VISTA, IDC_OS_WIN95, IDC_OS_WIN98, IDC_OS_WINNT4, IDC_OS_WIN2000,
                            IDC_OS_WINXP, IDC_OS_WIN2003, IDC_OS_WIN7, IDC_OS_WIN8};

bool UiFakeServices::EnumPorts(std::vector<engine::PortEntry>& out) {
    if (!portLists.empty()) {
        ports = portLists.front();
        if (portLists.size() > 1) portLists.pop_front();
    }
    return FakeServices::EnumPorts(out);
}

bool UiFakeServices::AddPort(engine::WindowHandle owner, const std::string& monitorName) {
    if (!portCreatedByAddPort.empty()) {
        if (!portLists.empty()) {
            portLists.back().push_back({portCreatedByAddPort, "Local Port"});
        } else {
            ports.push_back({portCreatedByAddPort, "Local Port"});
        }
    }
    return FakeServices::AddPort(owner, monitorName);
}

std::vector<engine::PortEntry> WineLikePorts() {
    std::vector<engine::PortEntry> ports;
    for (const char* name : {"COM1:", "COM2:", "COM3:", "COM4:", "FILE:", "LPT1:", "LPT2:", "LPT3:"}) {
        ports.push_back({name, "Local Port"});
    }
    return ports;
}

PageTest::PageTest() {
    INITCOMMONCONTROLSEX controls = {sizeof controls,
                                     ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES |
                                         ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    engine::g_osType = engine::kOsUnknown;
    engine::g_strPortName.clear();
    g_pSettingsPage = nullptr;
    g_pSelectPortPage = nullptr;
    app.SetServices(&fake);
}

PageTest::~PageTest() {
    // The pages of a test are gone; nothing may point at them any more.
    g_pSettingsPage = nullptr;
    g_pSelectPortPage = nullptr;
}

SettingsState ReadSettings(HWND page) {
    SettingsState state;
    state.model = ComboSelection(page, IDC_MODEL_COMBO);
    state.printerName = Utf8(ItemText(page, IDC_PRINTER_NAME));
    state.setDefault = IsChecked(page, IDC_SET_DEFAULT);
    state.port = ComboSelection(page, IDC_PORT_COMBO);
    state.baud = ComboSelection(page, IDC_BAUD_COMBO);
    state.dataBits = ComboSelection(page, IDC_DATABITS_COMBO);
    state.stopBits = ComboSelection(page, IDC_STOPBITS_COMBO);
    state.parity = ComboSelection(page, IDC_PARITY_COMBO);
    state.flow = ComboSelection(page, IDC_FLOW_COMBO);
    state.portEnabled = ::IsWindowEnabled(::GetDlgItem(page, IDC_PORT_COMBO)) != FALSE;
    for (int id : {IDC_BAUD_COMBO, IDC_DATABITS_COMBO, IDC_STOPBITS_COMBO, IDC_PARITY_COMBO, IDC_FLOW_COMBO}) {
        state.serialEnabled.push_back(::IsWindowEnabled(::GetDlgItem(page, id)) != FALSE);
    }
    return state;
}

std::vector<int> TickedRadios(HWND page) {
    std::vector<int> ticked;
    for (int id : kOsRadioIds) {
        if (IsChecked(page, id)) ticked.push_back(id);
    }
    return ticked;
}

std::string ExpectedHelpFile() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file = path;
    size_t dot = file.rfind('.');
    size_t slash = file.find_last_of('\\');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) file.erase(dot);
    return file + ".HLP";
}

size_t CountMessages(const fake::FakeServices& fake, const std::string& text) {
    size_t count = 0;
    for (const auto& message : fake.messages) count += message.text == text ? 1 : 0;
    return count;
}

}  // namespace uitest
