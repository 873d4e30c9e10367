#pragma once

#include <string>

#include "Dialog.h"
#include "Install.h"

class CSelectPortPage;

// The second page: model, "Set Default Printer" and the hidden port panel.
class CPrinterSettingsPage : public ui::Dialog {
public:
    explicit CPrinterSettingsPage(HWND parent = nullptr);
    ~CPrinterSettingsPage() override;

    // Installs the selected model for `target` with what the controls hold
    // right now, on the port of the current Select Port page.
    engine::InstallOutcome InstallDriver(const engine::InstallTarget& target);

protected:
    bool OnWndMsg(UINT message, WPARAM w, LPARAM l, LRESULT* result) override;
    void DoDataExchange(bool save) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

private:
    using Map = ui::MessageMap<CPrinterSettingsPage>;
    static const Map::Entry kMessageMap[];

    LRESULT OnSysCommand(WPARAM id, LPARAM l);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    void OnBack();
    void OnNext();
    void OnSelchangeModel();
    void OnSelchangePort();
    void OnSetDefaultPrinter();
    void EnableSerialCombos(bool enable) const;

    ui::ComboBox* m_pModelCombo = nullptr;
    ui::ComboBox* m_pPortCombo = nullptr;
    ui::ComboBox* m_pBaudCombo = nullptr;
    ui::ComboBox* m_pDataBitsCombo = nullptr;
    ui::ComboBox* m_pStopBitsCombo = nullptr;
    ui::ComboBox* m_pParityCombo = nullptr;
    ui::ComboBox* m_pFlowCombo = nullptr;
    ui::Button* m_pDefaultCheck = nullptr;
    HICON m_hIcon;
};

// The about box: the template alone.
class CAboutDialog : public ui::Dialog {
public:
    explicit CAboutDialog(HWND parent = nullptr);

protected:
    void DoDataExchange(bool save) override;
};

// The settings page of the current visit, from the end of its
// initialisation on.
extern CPrinterSettingsPage* g_pSettingsPage;
