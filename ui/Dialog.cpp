#include "Dialog.h"

#include <string>

#include "App.h"

namespace ui {
namespace {

// Resource type of a template's initial data block.
constexpr WORD kInitialDataType = 240;
// Message codes of the block, as the resource compiler writes them.
constexpr WORD kBlockAddListString = 0x0401;
constexpr WORD kBlockAddComboString = 0x0403;

// Messages whose result a dialog procedure returns itself instead of
// through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: case WM_COMPAREITEM: case WM_VKEYTOITEM:
    case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

}  // namespace

Dialog::Dialog(int templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

Dialog::~Dialog() = default;

INT_PTR Dialog::DoModal() {
    HWND owner = m_parent ? m_parent : ::GetActiveWindow();
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), owner,
                             &Dialog::StaticProc, reinterpret_cast<LPARAM>(this));
}

void Dialog::OnOK() {
    DoDataExchange(true);
    EndDialog(kEndOk);
}

void Dialog::OnCancel() { EndDialog(kEndCancel); }

BOOL Dialog::OnInitDialog() {
    ApplyInitialData();
    DoDataExchange(false);
    return TRUE;
}

void Dialog::DoDataExchange(bool) {}

bool Dialog::OnWndMsg(UINT message, WPARAM w, LPARAM, LRESULT* result) {
    switch (message) {
    case WM_COMMAND:
        // The dialog manager sends these for Enter with no push button
        // focused (IDOK) and for Esc, the close box and Close (IDCANCEL).
        if (LOWORD(w) == IDOK && HIWORD(w) == BN_CLICKED) {
            OnOK();
            *result = 0;
            return true;
        }
        if (LOWORD(w) == IDCANCEL && HIWORD(w) == BN_CLICKED) {
            OnCancel();
            *result = 0;
            return true;
        }
        return false;
    case WM_HELP:
        if (App* app = App::Current()) app->ShowHelpFor(m_templateId);
        *result = TRUE;
        return true;
    default:
        return false;
    }
}

void Dialog::EndDialog(INT_PTR code) { ::EndDialog(m_hWnd, code); }

LRESULT Dialog::Default() {
    m_defaultRequested = true;
    return 0;
}

void Dialog::Bind(int id, Window& control) const { control.Attach(Item(id)); }

void Dialog::ApplyInitialData() {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(m_templateId), MAKEINTRESOURCEW(kInitialDataType));
    if (!found) return;
    const BYTE* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)));
    DWORD size = ::SizeofResource(module, found);
    if (!data) return;
    // Records: WORD control id, WORD message, DWORD byte count, bytes; a
    // control id of 0 ends the block.
    DWORD offset = 0;
    while (offset + 8 <= size) {
        WORD id = *reinterpret_cast<const WORD*>(data + offset);
        if (id == 0) break;
        WORD code = *reinterpret_cast<const WORD*>(data + offset + 2);
        DWORD length = *reinterpret_cast<const DWORD*>(data + offset + 4);
        offset += 8;
        if (length > size - offset) break;
        std::string text(reinterpret_cast<const char*>(data + offset), length);
        offset += length;
        if (!text.empty() && text.back() == '\0') text.pop_back();
        UINT message = 0;
        if (code == kBlockAddComboString || code == CB_ADDSTRING) message = CB_ADDSTRING;
        else if (code == kBlockAddListString || code == LB_ADDSTRING) message = LB_ADDSTRING;
        if (message) ::SendDlgItemMessageA(m_hWnd, id, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

INT_PTR CALLBACK Dialog::StaticProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    Dialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(l);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_hWnd = hwnd;
    } else {
        self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) have no object yet.
    if (!self) return FALSE;
    return self->HandleMessage(message, w, l);
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) return OnInitDialog();

    HWND hwnd = m_hWnd;
    // Handlers may run nested modal loops that dispatch to this dialog.
    bool outerDefault = m_defaultRequested;
    m_defaultRequested = false;
    LRESULT result = 0;
    bool handled = OnWndMsg(message, w, l, &result);
    bool wantsDefault = m_defaultRequested;
    m_defaultRequested = outerDefault;

    if (message == WM_NCDESTROY) {
        m_controls.clear();
        m_hWnd = nullptr;
    }
    if (!handled || wantsDefault) return FALSE;
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace ui
