#include "PrinterSettingsPage.h"

#include <memory>

#include "App.h"
#include "Descramble.h"
#include "OsClassify.h"
#include "SelectPortPage.h"
#include "Tables.h"
#include "resource.h"

CPrinterSettingsPage* g_pSettingsPage = nullptr;

namespace {

constexpr int kStartPort = 0;      // "LPT1"
constexpr int kStartBaud = 5;      // "19200"
constexpr int kStartDataBits = 3;  // "8"
constexpr int kStartStopBits = 0;  // "1"
constexpr int kStartParity = 2;    // "None"
constexpr int kStartFlow = 2;      // "Hardware"

// Room for string 101.
constexpr int kAboutItemTextSize = 256;

std::string DisplayText(size_t row) {
    const engine::PrinterModel& model = engine::ModelTable[row];
    return engine::Descramble(model.pszDisplayText, model.nDisplayKey);
}

}  // namespace

const CPrinterSettingsPage::Map::Entry CPrinterSettingsPage::kMessageMap[] = {
    Map::Message(WM_SYSCOMMAND, &CPrinterSettingsPage::OnSysCommand),
    Map::Message(WM_PAINT, &CPrinterSettingsPage::OnPaint),
    Map::Message(WM_QUERYDRAGICON, &CPrinterSettingsPage::OnQueryDragIcon),
    Map::Clicked(IDC_SETTINGS_BACK, &CPrinterSettingsPage::OnBack),
    Map::Clicked(IDC_SETTINGS_NEXT, &CPrinterSettingsPage::OnNext),
    Map::SelChange(IDC_MODEL_COMBO, &CPrinterSettingsPage::OnSelchangeModel),
    Map::SelChange(IDC_PORT_COMBO, &CPrinterSettingsPage::OnSelchangePort),
    Map::Clicked(IDC_SETTINGS_EXIT, &CPrinterSettingsPage::OnCancel),
    Map::Clicked(IDC_SET_DEFAULT, &CPrinterSettingsPage::OnSetDefaultPrinter),
};

CPrinterSettingsPage::CPrinterSettingsPage(HWND parent)
    : Dialog(IDD_PRINTER_SETTINGS, parent),
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PRINTER))) {}

CPrinterSettingsPage::~CPrinterSettingsPage() = default;

bool CPrinterSettingsPage::OnWndMsg(UINT message, WPARAM w, LPARAM l, LRESULT* result) {
    return Map::Dispatch(this, kMessageMap, message, w, l, result) || Dialog::OnWndMsg(message, w, l, result);
}

void CPrinterSettingsPage::DoDataExchange(bool) {}

BOOL CPrinterSettingsPage::OnInitDialog() {
    Dialog::OnInitDialog();
    HWND hwnd = GetSafeHwnd();

    if (HMENU menu = ::GetSystemMenu(hwnd, FALSE)) {
        // Wide: the Chinese text would not survive a non-Chinese ANSI code page.
        wchar_t text[kAboutItemTextSize] = {};
        ::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUT_ITEM, text, kAboutItemTextSize);
        if (text[0]) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(menu, MF_STRING, IDM_ABOUT, text);
        }
    }

    ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    ui::ComboBox* models = Control<ui::ComboBox>(IDC_MODEL_COMBO);
    models->ResetContent();
    for (size_t row = 0; row < engine::kModelCount; ++row) models->AddString(DisplayText(row));

    m_pModelCombo = models;
    m_pModelCombo->SetCurSel(engine::kDefaultModelRow);
    Control<ui::Button>(IDC_SET_DEFAULT)->SetCheck(BST_CHECKED);
    Control<ui::Window>(IDC_PRINTER_NAME)
        ->SetText(engine::Descramble(engine::InitialPrinterNameText, engine::InitialPrinterNameKey));

    m_pPortCombo = Control<ui::ComboBox>(IDC_PORT_COMBO);
    m_pBaudCombo = Control<ui::ComboBox>(IDC_BAUD_COMBO);
    m_pDataBitsCombo = Control<ui::ComboBox>(IDC_DATABITS_COMBO);
    m_pStopBitsCombo = Control<ui::ComboBox>(IDC_STOPBITS_COMBO);
    m_pParityCombo = Control<ui::ComboBox>(IDC_PARITY_COMBO);
    m_pFlowCombo = Control<ui::ComboBox>(IDC_FLOW_COMBO);

    m_pPortCombo->SetCurSel(kStartPort);
    m_pBaudCombo->SetCurSel(kStartBaud);
    m_pDataBitsCombo->SetCurSel(kStartDataBits);
    m_pStopBitsCombo->SetCurSel(kStartStopBits);
    m_pParityCombo->SetCurSel(kStartParity);
    m_pFlowCombo->SetCurSel(kStartFlow);
    EnableSerialCombos(false);

    g_pSettingsPage = this;
    return TRUE;
}

// Exit, Esc, the close box and Close end the wizard, so they end the page
// with OK.
void CPrinterSettingsPage::OnCancel() { Dialog::OnOK(); }

LRESULT CPrinterSettingsPage::OnSysCommand(WPARAM id, LPARAM) {
    if ((id & 0xFFF0) == IDM_ABOUT) {
        CAboutDialog about;
        about.DoModal();
        return 0;
    }
    return Default();
}

LRESULT CPrinterSettingsPage::OnPaint(WPARAM, LPARAM) {
    HWND hwnd = GetSafeHwnd();
    if (!::IsIconic(hwnd)) return Default();
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd, &paint);
    ::SendMessageW(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(hwnd, &client);
    int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(hwnd, &paint);
    return 0;
}

LRESULT CPrinterSettingsPage::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); }

// Back returns to the operating-system page; the Cancel override would end
// the wizard instead.
void CPrinterSettingsPage::OnBack() { Dialog::OnCancel(); }

void CPrinterSettingsPage::OnNext() {
    auto portPage = std::make_unique<CSelectPortPage>();
    g_pSelectPortPage = portPage.get();
    INT_PTR code = portPage->DoModal();
    bool installed = portPage->InstallSucceeded();
    std::string portName = portPage->m_strPortName;
    g_pSelectPortPage = nullptr;
    portPage.reset();

    if (code == ui::kEndFailed) {
        ui::ShowMessageBox("The Select Port page could not be opened; nothing was installed.",
                           engine::TextEncoding::Ansi);
        return;
    }
    // Back, Cancel, or no installation: the page stays as the user left it.
    if (!installed) return;

    engine::g_strPortName = portName;
    if (engine::ShowsCompletion(engine::g_osType)) {
        ui::ShowMessageBox("Completed!", engine::TextEncoding::Ansi);
    }
    Dialog::OnOK();
}

void CPrinterSettingsPage::OnSelchangeModel() {
    unsigned row = static_cast<unsigned>(m_pModelCombo->GetCurSel());
    if (row < engine::kModelCount) Control<ui::Window>(IDC_PRINTER_NAME)->SetText(DisplayText(row));
}

void CPrinterSettingsPage::OnSelchangePort() {
    EnableSerialCombos(m_pPortCombo->GetCurSel() >= engine::kFirstSerialPort);
}

// Its state matters only when the installation reads it.
void CPrinterSettingsPage::OnSetDefaultPrinter() {}

void CPrinterSettingsPage::EnableSerialCombos(bool enable) const {
    for (ui::ComboBox* combo : {m_pBaudCombo, m_pDataBitsCombo, m_pStopBitsCombo, m_pParityCombo, m_pFlowCombo}) {
        combo->Enable(enable);
    }
}

engine::InstallOutcome CPrinterSettingsPage::InstallDriver(const engine::InstallTarget& target) {
    engine::SerialSettings serial;
    serial.nPort = m_pPortCombo->GetCurSel();
    serial.nBaud = m_pBaudCombo->GetCurSel();
    serial.nDataBits = m_pDataBitsCombo->GetCurSel();
    serial.nStopBits = m_pStopBitsCombo->GetCurSel();
    serial.nParity = m_pParityCombo->GetCurSel();
    serial.nFlow = m_pFlowCombo->GetCurSel();
    m_pDefaultCheck = Control<ui::Button>(IDC_SET_DEFAULT);
    bool setDefault = m_pDefaultCheck->GetCheck() == BST_CHECKED;
    CSelectPortPage* portPage = g_pSelectPortPage;
    std::string portName = portPage ? portPage->m_strPortName : std::string();
    return engine::InstallDriver(ui::App::Current()->Services(), target, m_pModelCombo->GetCurSel(), serial,
                                 setDefault, portName, [portPage](int position) {
                                     if (portPage) portPage->ReportProgress(position);
                                 });
}

CAboutDialog::CAboutDialog(HWND parent) : Dialog(IDD_ABOUT, parent) {}

void CAboutDialog::DoDataExchange(bool) {}
