#pragma once

#include <string>

#include "Dialog.h"

// The last page: the spooler's ports, port creation and configuration, and
// the installation with its progress bar.
class CSelectPortPage : public ui::Dialog {
public:
    explicit CSelectPortPage(HWND parent = nullptr);
    ~CSelectPortPage() override;

    // Sets the progress bar (0 to 100).
    void ReportProgress(int position);
    // Whether "&Install" ran an installation that succeeded.
    bool InstallSucceeded() const { return m_installed; }

    // Port for the new printer, as the spooler spells it; set by "&Install".
    std::string m_strPortName;

protected:
    bool OnWndMsg(UINT message, WPARAM w, LPARAM l, LRESULT* result) override;
    void DoDataExchange(bool save) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    using Map = ui::MessageMap<CSelectPortPage>;
    static const Map::Entry kMessageMap[];

    void FillPortList();
    void OnCreatePort();
    void OnConfigurePort();
    void OnBack();
    void OnInstall();

    ui::ProgressBar m_progress;
    ui::ListView m_listPorts;
    bool m_installed = false;
};

// The Select Port page most recently opened by the settings page's Next.
extern CSelectPortPage* g_pSelectPortPage;

// Extended list styles of the port and monitor lists: grid lines and full-row
// selection on, hot tracking off, every other bit as the control had it.
void ApplyListStyle(const ui::ListView& list);
