// Modal dialogs bound to a template number, with a per-class message table.
#pragma once

#include <windows.h>

#include <cstddef>
#include <map>
#include <memory>

#include "Controls.h"

namespace ui {

// End codes of DoModal.
constexpr INT_PTR kEndOk = IDOK;
constexpr INT_PTR kEndCancel = IDCANCEL;
constexpr INT_PTR kEndFailed = -1;

// One row of a class's message table. Rows for control notifications match
// WM_COMMAND by control id and notification code; other rows match a message.
template <class T>
class MessageMap {
public:
    using CommandFn = void (T::*)();
    using MessageFn = LRESULT (T::*)(WPARAM, LPARAM);

    struct Entry {
        UINT message;
        UINT code;
        int id;
        CommandFn onCommand;
        MessageFn onMessage;
    };

    static constexpr Entry Clicked(int id, CommandFn fn) { return {WM_COMMAND, BN_CLICKED, id, fn, nullptr}; }
    static constexpr Entry SelChange(int id, CommandFn fn) { return {WM_COMMAND, CBN_SELCHANGE, id, fn, nullptr}; }
    static constexpr Entry Message(UINT message, MessageFn fn) { return {message, 0, 0, nullptr, fn}; }

    // Runs the first matching row; false when no row matches.
    template <size_t N>
    static bool Dispatch(T* self, const Entry (&map)[N], UINT message, WPARAM w, LPARAM l, LRESULT* result) {
        for (const Entry& entry : map) {
            if (entry.message != message) continue;
            if (message == WM_COMMAND) {
                if (LOWORD(w) != entry.id || HIWORD(w) != entry.code) continue;
                (self->*entry.onCommand)();
                *result = 0;
            } else {
                *result = (self->*entry.onMessage)(w, l);
            }
            return true;
        }
        return false;
    }
};

class Dialog {
public:
    explicit Dialog(int templateId, HWND parent = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Shows the dialog modally: IDOK, IDCANCEL, or -1 when it could not be
    // created. Without a parent the active window owns it.
    INT_PTR DoModal();

    HWND GetSafeHwnd() const { return m_hWnd; }
    int TemplateId() const { return m_templateId; }

    // The dialog's own OK and Cancel operations.
    virtual void OnOK();
    virtual void OnCancel();

protected:
    // Applies the template's initial data block, then binds the controls.
    virtual BOOL OnInitDialog();
    // Binds control objects when loading; saves nothing on any page here.
    virtual void DoDataExchange(bool save);
    // The class's message table; derived classes look up theirs first and
    // then hand on to their base.
    virtual bool OnWndMsg(UINT message, WPARAM w, LPARAM l, LRESULT* result);

    void EndDialog(INT_PTR code);
    // Leaves the message being handled to the default processing.
    LRESULT Default();

    // Binds a control object to a control id.
    void Bind(int id, Window& control) const;
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    // A wrapper of the control, kept by the dialog while its window lives.
    template <class C>
    C* Control(int id) {
        auto& slot = m_controls[id];
        if (!dynamic_cast<C*>(slot.get())) slot.reset(new C());
        slot->Attach(Item(id));
        return static_cast<C*>(slot.get());
    }

private:
    static INT_PTR CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    INT_PTR HandleMessage(UINT message, WPARAM w, LPARAM l);
    void ApplyInitialData();

    int m_templateId;
    HWND m_parent;
    HWND m_hWnd = nullptr;
    bool m_defaultRequested = false;
    std::map<int, std::unique_ptr<Window>> m_controls;
};

}  // namespace ui
