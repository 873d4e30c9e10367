#include "CreatePortDialog.h"

#include <string>
#include <vector>

#include "App.h"
#include "PortRules.h"
#include "SelectPortPage.h"
#include "resource.h"

namespace {
constexpr int kMonitorColumnWidth = 340;
}  // namespace

const CCreatePortDialog::Map::Entry CCreatePortDialog::kMessageMap[] = {
    Map::Clicked(IDC_MONITOR_NEW_PORT, &CCreatePortDialog::OnNewPort),
    Map::Clicked(IDC_MONITOR_CLOSE, &CCreatePortDialog::OnClose),
};

CCreatePortDialog::CCreatePortDialog(HWND parent) : Dialog(IDD_CREATE_PORT, parent) {}

CCreatePortDialog::~CCreatePortDialog() = default;

bool CCreatePortDialog::OnWndMsg(UINT message, WPARAM w, LPARAM l, LRESULT* result) {
    return Map::Dispatch(this, kMessageMap, message, w, l, result) || Dialog::OnWndMsg(message, w, l, result);
}

void CCreatePortDialog::DoDataExchange(bool save) {
    if (!save) Bind(IDC_MONITOR_LIST, m_listMonitors);
}

BOOL CCreatePortDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    engine::ISystemServices& sys = ui::App::Current()->Services();
    std::vector<engine::MonitorEntry> monitors;
    sys.EnumMonitors(monitors);
    ApplyListStyle(m_listMonitors);
    m_listMonitors.InsertColumn(0, "Available Port Type", LVCFMT_LEFT);
    m_listMonitors.SetColumnWidth(0, kMonitorColumnWidth);
    std::vector<std::string> rows = engine::MonitorRows(monitors);
    for (size_t i = 0; i < rows.size(); ++i) {
        sys.DebugOutput(rows[i] + "\n");
        m_listMonitors.InsertItem(static_cast<int>(i), rows[i]);
    }
    m_listMonitors.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED | LVIS_FOCUSED);
    return TRUE;
}

void CCreatePortDialog::OnNewPort() {
    int row = m_listMonitors.FindSelectedRow();
    if (row < 0) return;
    ui::App::Current()->Services().AddPort(reinterpret_cast<engine::WindowHandle>(GetSafeHwnd()),
                                           m_listMonitors.GetItemText(row, 0));
}

void CCreatePortDialog::OnClose() { Dialog::OnCancel(); }
