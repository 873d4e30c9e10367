#pragma once

#include "Dialog.h"

// The first page: shows which Windows version the wizard runs on.
class COsSelectPage : public ui::Dialog {
public:
    explicit COsSelectPage(HWND parent = nullptr);
    ~COsSelectPage() override;

protected:
    bool OnWndMsg(UINT message, WPARAM w, LPARAM l, LRESULT* result) override;
    void DoDataExchange(bool save) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

private:
    using Map = ui::MessageMap<COsSelectPage>;
    static const Map::Entry kMessageMap[];

    void OnBack();
    void OnNext();
    LRESULT OnPaint(WPARAM, LPARAM);
};
