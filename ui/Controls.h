// Thin, non-owning wrappers of the controls the pages use. The dialog
// window owns the controls; a wrapper is valid while that window exists.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace ui {

class Window {
public:
    Window() = default;
    explicit Window(HWND hwnd) : m_hWnd(hwnd) {}
    virtual ~Window() = default;

    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, msg, w, l); }
    void Enable(bool enable) const { ::EnableWindow(m_hWnd, enable ? TRUE : FALSE); }
    bool IsEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    void SetText(const std::string& text) const { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetText() const;

protected:
    HWND m_hWnd = nullptr;
};

class ComboBox : public Window {
public:
    // CB_ERR (-1) when nothing is selected.
    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    // Sends no CBN_SELCHANGE.
    void SetCurSel(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    int AddString(const std::string& text) const {
        return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    void ResetContent() const { Send(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    std::string GetItemText(int index) const;
};

class Button : public Window {
public:
    int GetCheck() const { return static_cast<int>(Send(BM_GETCHECK)); }
    void SetCheck(int state) const { Send(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class ProgressBar : public Window {
public:
    void SetRange(int low, int high) const { Send(PBM_SETRANGE, 0, MAKELPARAM(low, high)); }
    void SetPos(int pos) const { Send(PBM_SETPOS, static_cast<WPARAM>(pos)); }
    int GetPos() const { return static_cast<int>(Send(PBM_GETPOS)); }
};

class ListView : public Window {
public:
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    // A mask of 0 sets all bits.
    void SetExtendedStyle(DWORD style) const { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    int InsertColumn(int index, const std::string& heading, int format) const;
    void SetColumnWidth(int index, int width) const { Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), MAKELPARAM(width, 0)); }
    int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    // Text only: no image, no state, no item data.
    int InsertItem(int index, const std::string& text) const;
    void SetItemText(int index, int subItem, const std::string& text) const;
    std::string GetItemText(int index, int subItem) const;
    UINT GetItemState(int index, UINT mask) const { return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask)); }
    void SetItemState(int index, UINT state, UINT mask) const;
    void DeleteAllItems() const { Send(LVM_DELETEALLITEMS); }
    // The first row whose state includes LVIS_SELECTED, or -1; the row count
    // is asked afresh for every step.
    int FindSelectedRow() const;
};

}  // namespace ui
