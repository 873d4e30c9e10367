#include "UiScript.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace uitest {
namespace {

// Often enough that a script moves on quickly, seldom enough that the
// dialogs get their own messages handled in between.
constexpr UINT kTickMs = 25;

Script* g_active = nullptr;  // one script at a time, on the test's thread

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

bool IsDialogWindow(HWND window) { return ClassOf(window) == L"#32770"; }

BOOL CALLBACK CollectDialog(HWND window, LPARAM param) {
    if (::IsWindowVisible(window) && IsDialogWindow(window)) {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    }
    return TRUE;
}

std::string Join(const std::vector<std::string>& parts) {
    std::string joined;
    for (const std::string& part : parts) joined += (joined.empty() ? "" : ", ") + ("'" + part + "'");
    return joined.empty() ? "none" : joined;
}

std::string OpenCaptions() {
    std::vector<std::string> captions;
    for (HWND dialog : OpenDialogs()) captions.push_back(Utf8(Caption(dialog)));
    return Join(captions);
}

void EndAllDialogs() {
    for (HWND dialog : OpenDialogs()) ::EndDialog(dialog, kStalledEnd);
}

std::string ListItemText(HWND list, int row, int column) {
    char buffer[512] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

}  // namespace

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length,
                          nullptr, nullptr);
    return narrow;
}

std::wstring Caption(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

std::vector<HWND> OpenDialogs() {
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

HWND FindDialog(const std::wstring& caption) {
    for (HWND dialog : OpenDialogs()) {
        if (::IsWindowEnabled(dialog) && Caption(dialog) == caption) return dialog;
    }
    return nullptr;
}

void Click(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void PressKey(HWND dialog, UINT vk) {
    HWND focus = ::GetFocus();
    HWND target = focus && (focus == dialog || ::IsChild(dialog, focus)) ? focus : dialog;
    LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(vk, 0)) << 16;
    ::PostMessageW(target, WM_KEYDOWN, vk, scan | 1);
    ::PostMessageW(target, WM_KEYUP, vk, scan | 1 | (1L << 30) | (1L << 31));
}

void TypeKey(UINT vk) {
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = static_cast<WORD>(vk);
        key.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, 0));
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
}

void SysCommand(HWND dialog, WPARAM command) { ::PostMessageW(dialog, WM_SYSCOMMAND, command, 0); }

void CloseBox(HWND dialog) { SysCommand(dialog, SC_CLOSE); }

void ChooseComboItem(HWND dialog, int comboId, int index) {
    HWND combo = ::GetDlgItem(dialog, comboId);
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void SelectListRow(HWND list, int row) {
    LVITEMA clear = {};
    clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    // Index -1: every row.
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    if (row < 0) return;
    LVITEMA select = {};
    select.state = LVIS_SELECTED | LVIS_FOCUSED;
    select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&select));
}

std::wstring ItemText(HWND dialog, int id) { return Caption(::GetDlgItem(dialog, id)); }

bool IsChecked(HWND dialog, int id) {
    return ::SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int ComboSelection(HWND dialog, int comboId) {
    return static_cast<int>(::SendDlgItemMessageW(dialog, comboId, CB_GETCURSEL, 0, 0));
}

std::string ComboItem(HWND dialog, int comboId, int index) {
    LRESULT length = ::SendDlgItemMessageA(dialog, comboId, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return "<no item " + std::to_string(index) + ">";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::SendDlgItemMessageA(dialog, comboId, CB_GETLBTEXT, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::vector<std::string> ComboItems(HWND dialog, int comboId) {
    std::vector<std::string> items;
    int count = static_cast<int>(::SendDlgItemMessageW(dialog, comboId, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) items.push_back(ComboItem(dialog, comboId, i));
    return items;
}

int FocusedId(HWND dialog) {
    HWND focus = ::GetFocus();
    if (!focus || !::IsChild(dialog, focus)) return 0;
    return ::GetDlgCtrlID(focus);
}

ListState ReadList(HWND list) {
    ListState state;
    int rows = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    int columns = header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int c = 0; c < columns; ++c) {
        char text[256] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
        state.columnTexts.push_back(text);
        state.columnWidths.push_back(static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0)));
    }
    for (int r = 0; r < rows; ++r) {
        std::vector<std::string> texts;
        for (int c = 0; c < (columns ? columns : 1); ++c) texts.push_back(ListItemText(list, r, c));
        state.rows.push_back(texts);
        if (::SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(r), LVIS_SELECTED) & LVIS_SELECTED) {
            state.selectedRows.push_back(r);
        }
    }
    state.extendedStyle = static_cast<DWORD>(::SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    return state;
}

Script::Script(DWORD stepDeadlineMs) : m_deadlineMs(stepDeadlineMs) {}

Script::~Script() {
    if (m_timer) ::KillTimer(nullptr, m_timer);
    if (m_afterHook) ::UnhookWindowsHookEx(m_afterHook);
    if (m_beforeHook) ::UnhookWindowsHookEx(m_beforeHook);
    if (g_active == this) g_active = nullptr;
}

Script& Script::Do(std::string name, Wait wait, Act act) {
    Step step;
    step.name = std::move(name);
    step.wait = std::move(wait);
    step.act = std::move(act);
    step.settleTicks = m_pendingSettle;
    m_pendingSettle = 0;
    m_steps.push_back(std::move(step));
    return *this;
}

Script& Script::On(const std::wstring& caption, std::string name, Act act) {
    return Do(std::move(name), [caption] { return FindDialog(caption); }, std::move(act));
}

Script& Script::Settle(int ticks) {
    m_pendingSettle += ticks;
    return *this;
}

size_t Script::CountOpened(const std::wstring& caption) const {
    size_t count = 0;
    for (const std::wstring& opened : m_opened) count += opened == caption ? 1 : 0;
    return count;
}

INT_PTR Script::Run(const std::function<INT_PTR()>& body) {
    g_active = this;
    const DWORD thread = ::GetCurrentThreadId();
    m_afterHook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, AfterCall, nullptr, thread);
    m_beforeHook = ::SetWindowsHookExW(WH_CALLWNDPROC, BeforeCall, nullptr, thread);
    m_timer = ::SetTimer(nullptr, 0, kTickMs, Tick);
    StartStep();
    INT_PTR result = body();
    ::KillTimer(nullptr, m_timer);
    ::UnhookWindowsHookEx(m_afterHook);
    ::UnhookWindowsHookEx(m_beforeHook);
    m_timer = 0;
    m_afterHook = m_beforeHook = nullptr;
    g_active = nullptr;
    if (!m_failure.empty()) {
        ADD_FAILURE() << m_failure;
    } else if (m_next < m_steps.size()) {
        m_failure = "the dialogs closed before step '" + m_steps[m_next].name + "'; steps done: " + Join(m_done);
        ADD_FAILURE() << m_failure;
    }
    return result;
}

void Script::StartStep() {
    m_ticksInStep = 0;
    m_stepStart = ::GetTickCount();
}

void Script::Stall(const std::string& why) {
    m_failure = why + "; steps done: " + Join(m_done) + "; dialogs open: " + OpenCaptions();
    m_aborting = true;
    EndAllDialogs();
}

void CALLBACK Script::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_active) g_active->OnTick();
}

void Script::OnTick() {
    if (m_aborting) {
        // Whatever opens after a stall is ended as well.
        EndAllDialogs();
        return;
    }
    const bool late = ::GetTickCount() - m_stepStart > m_deadlineMs;
    if (m_next >= m_steps.size()) {
        if (late && !OpenDialogs().empty()) Stall("dialogs were left open after the last step");
        return;
    }
    const size_t index = m_next;
    if (late) {
        Stall("step '" + m_steps[index].name + "' did not come about");
        return;
    }
    if (++m_ticksInStep <= m_steps[index].settleTicks) return;
    HWND target = m_steps[index].wait();
    if (!target) return;
    // Move on before acting: the action may run a modal loop of its own in
    // which the next steps run.
    m_done.push_back(m_steps[index].name);
    ++m_next;
    StartStep();
    Act act = m_steps[index].act;
    if (act) act(target);
}

LRESULT CALLBACK Script::AfterCall(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION && g_active) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(l);
        if (call->message == WM_INITDIALOG) g_active->m_opened.push_back(Caption(call->hwnd));
    }
    return ::CallNextHookEx(nullptr, code, w, l);
}

LRESULT CALLBACK Script::BeforeCall(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION && g_active) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(l);
        if (call->message == PBM_SETPOS && ClassOf(call->hwnd) == L"msctls_progress32") {
            g_active->m_progress.push_back(static_cast<int>(call->wParam));
        } else if (call->message == WM_COMMAND && IsDialogWindow(call->hwnd)) {
            g_active->m_commands.push_back({call->hwnd, LOWORD(call->wParam), HIWORD(call->wParam)});
        }
    }
    return ::CallNextHookEx(nullptr, code, w, l);
}

}  // namespace uitest
