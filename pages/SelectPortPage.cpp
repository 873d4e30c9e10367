#include "SelectPortPage.h"

#include <vector>

#include "App.h"
#include "CreatePortDialog.h"
#include "Platform.h"
#include "PortRules.h"
#include "PrinterSettingsPage.h"
#include "resource.h"

CSelectPortPage* g_pSelectPortPage = nullptr;

namespace {
constexpr int kPortColumnWidth = 150;
constexpr int kTypeColumnWidth = 280;
}  // namespace

void ApplyListStyle(const ui::ListView& list) {
    DWORD style = list.GetExtendedStyle();
    style &= ~static_cast<DWORD>(LVS_EX_TRACKSELECT);
    style |= LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
    list.SetExtendedStyle(style);
}

const CSelectPortPage::Map::Entry CSelectPortPage::kMessageMap[] = {
    Map::Clicked(IDC_PORT_CREATE, &CSelectPortPage::OnCreatePort),
    Map::Clicked(IDC_PORT_CONFIGURE, &CSelectPortPage::OnConfigurePort),
    Map::Clicked(IDC_PORT_BACK, &CSelectPortPage::OnBack),
    Map::Clicked(IDC_INSTALL, &CSelectPortPage::OnInstall),
    Map::Clicked(IDC_PORT_CANCEL, &CSelectPortPage::OnCancel),
};

CSelectPortPage::CSelectPortPage(HWND parent) : Dialog(IDD_SELECT_PORT, parent) {}

CSelectPortPage::~CSelectPortPage() = default;

bool CSelectPortPage::OnWndMsg(UINT message, WPARAM w, LPARAM l, LRESULT* result) {
    return Map::Dispatch(this, kMessageMap, message, w, l, result) || Dialog::OnWndMsg(message, w, l, result);
}

void CSelectPortPage::DoDataExchange(bool save) {
    if (save) return;
    Bind(IDC_PROGRESS, m_progress);
    Bind(IDC_PORT_LIST, m_listPorts);
}

BOOL CSelectPortPage::OnInitDialog() {
    Dialog::OnInitDialog();
    m_listPorts.InsertColumn(0, "Port", LVCFMT_LEFT);
    m_listPorts.InsertColumn(1, "Type", LVCFMT_LEFT);
    m_listPorts.SetColumnWidth(0, kPortColumnWidth);
    m_listPorts.SetColumnWidth(1, kTypeColumnWidth);
    FillPortList();
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    return TRUE;
}

void CSelectPortPage::FillPortList() {
    engine::ISystemServices& sys = ui::App::Current()->Services();
    std::vector<engine::PortEntry> ports;
    sys.EnumPorts(ports);
    ApplyListStyle(m_listPorts);
    std::vector<engine::PortEntry> listed = engine::ListedPorts(ports);
    for (size_t i = 0; i < listed.size(); ++i) {
        sys.DebugOutput(listed[i].name + "\n");
        int row = m_listPorts.InsertItem(static_cast<int>(i), listed[i].name);
        m_listPorts.SetItemText(row, 1, listed[i].description);
    }
    int preferred = engine::PreferredPortRow(listed);
    if (preferred >= 0) m_listPorts.SetItemState(preferred, LVIS_SELECTED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CSelectPortPage::ReportProgress(int position) { m_progress.SetPos(position); }

// Enter in the port list would otherwise end the page as if something had
// been installed.
void CSelectPortPage::OnOK() {}

void CSelectPortPage::OnCancel() { Dialog::OnCancel(); }

void CSelectPortPage::OnBack() { Dialog::OnCancel(); }

void CSelectPortPage::OnCreatePort() {
    {
        CCreatePortDialog dialog;
        dialog.DoModal();
    }
    // However the dialog closed, ports may have been added.
    m_listPorts.DeleteAllItems();
    FillPortList();
}

void CSelectPortPage::OnConfigurePort() {
    int row = m_listPorts.FindSelectedRow();
    if (row < 0) return;
    ui::App::Current()->Services().ConfigurePort(reinterpret_cast<engine::WindowHandle>(GetSafeHwnd()),
                                                 m_listPorts.GetItemText(row, 0));
}

void CSelectPortPage::OnInstall() {
    int row = m_listPorts.FindSelectedRow();
    if (row >= 0) m_strPortName = m_listPorts.GetItemText(row, 0);

    engine::ISystemServices& sys = ui::App::Current()->Services();
    engine::TargetChoice choice = engine::ChooseTarget(sys);
    if (choice == engine::TargetChoice::UnsupportedArm64) {
        ui::ShowMessageBox(engine::kNoArm64DriverText, engine::TextEncoding::Ansi);
        return;
    }
    if (!g_pSettingsPage) return;
    const engine::InstallTarget& target =
        choice == engine::TargetChoice::X64 ? engine::kTargetX64 : engine::kTargetX86;
    engine::InstallOutcome outcome = g_pSettingsPage->InstallDriver(target);
    if (!outcome.succeeded) {
        // The user can mend the cause and try again, or go back.
        ui::ShowMessageBox(outcome.Message(), engine::TextEncoding::Ansi);
        m_progress.SetPos(0);
        return;
    }
    m_installed = true;
    Dialog::OnOK();
}
