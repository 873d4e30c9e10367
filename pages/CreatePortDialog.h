#pragma once

#include "Dialog.h"

// Lists the spooler's port monitors and adds a port through one of them.
class CCreatePortDialog : public ui::Dialog {
public:
    explicit CCreatePortDialog(HWND parent = nullptr);
    ~CCreatePortDialog() override;

protected:
    bool OnWndMsg(UINT message, WPARAM w, LPARAM l, LRESULT* result) override;
    void DoDataExchange(bool save) override;
    BOOL OnInitDialog() override;

private:
    using Map = ui::MessageMap<CCreatePortDialog>;
    static const Map::Entry kMessageMap[];

    void OnNewPort();
    void OnClose();

    ui::ListView m_listMonitors;
};
