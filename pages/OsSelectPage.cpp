#include "OsSelectPage.h"

#include "App.h"
#include "OsClassify.h"
#include "resource.h"

const COsSelectPage::Map::Entry COsSelectPage::kMessageMap[] = {
    Map::Clicked(IDC_OS_BACK, &COsSelectPage::OnBack),
    Map::Clicked(IDC_OS_NEXT, &COsSelectPage::OnNext),
    Map::Clicked(IDC_OS_EXIT, &COsSelectPage::OnCancel),
    Map::Message(WM_PAINT, &COsSelectPage::OnPaint),
};

COsSelectPage::COsSelectPage(HWND parent) : Dialog(IDD_OS_SELECT, parent) {}

COsSelectPage::~COsSelectPage() = default;

bool COsSelectPage::OnWndMsg(UINT message, WPARAM w, LPARAM l, LRESULT* result) {
    return Map::Dispatch(this, kMessageMap, message, w, l, result) || Dialog::OnWndMsg(message, w, l, result);
}

void COsSelectPage::DoDataExchange(bool) {}

BOOL COsSelectPage::OnInitDialog() {
    Dialog::OnInitDialog();
    engine::ClassifyOs(ui::App::Current()->Services());
    if (int id = engine::OsRadioButtonId(engine::g_osType)) {
        ::SendDlgItemMessageA(GetSafeHwnd(), id, BM_SETCHECK, BST_CHECKED, 0);
    }
    return TRUE;
}

void COsSelectPage::OnCancel() { Dialog::OnCancel(); }

// The button is hidden and disabled.
void COsSelectPage::OnBack() {}

void COsSelectPage::OnNext() { Dialog::OnOK(); }

// The page's look comes from its background and controls alone.
LRESULT COsSelectPage::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT paint;
    ::BeginPaint(GetSafeHwnd(), &paint);
    ::EndPaint(GetSafeHwnd(), &paint);
    return 0;
}
