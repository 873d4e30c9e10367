// Drives a real program from outside its process, as a user would: starts
// it, waits for its windows, reads its controls and presses its buttons.
// Everything here works across processes under Wine (32-bit to 32-bit).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "RemoteHookLog.h"

namespace remote {

// Deadline for a window to appear or go, and for a program to end. Generous:
// a cold Wine desktop is slow, and nothing here measures time.
constexpr DWORD kDeadlineMs = 20000;

class Program {
public:
    Program() = default;
    // A program still running is ended, so a failed test leaves none behind.
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts `exe` with `currentFolder` as its current directory; on failure
    // Error() says why.
    bool Start(const std::string& exe, const std::string& currentFolder);

    HANDLE Process() const { return m_info.hProcess; }
    DWORD ProcessId() const { return m_info.dwProcessId; }
    DWORD ThreadId() const { return m_info.dwThreadId; }
    const std::string& Error() const { return m_error; }

    bool Running() const;
    // False at the deadline; the exit code otherwise.
    bool WaitExit(DWORD* exitCode, DWORD deadlineMs = kDeadlineMs) const;

    // The program's visible top-level windows.
    std::vector<HWND> Windows() const;
    // A visible top-level window of the program with this caption; null at
    // the deadline or as soon as the program has ended.
    HWND WaitWindow(const std::wstring& caption, DWORD deadlineMs = kDeadlineMs) const;
    // Until the window is the active one of the desktop and the program has
    // handled its activation: a click posted earlier could be lost to the
    // capture change that activation brings.
    bool WaitActive(HWND window, DWORD deadlineMs = kDeadlineMs) const;
    // Until the window is gone or hidden.
    bool WaitGone(HWND window, DWORD deadlineMs = kDeadlineMs) const;
    // Returns once the program's thread is back in a message loop and has
    // handled what was sent to it before; false if it did not answer in time.
    // Posted messages may still wait: a thread takes sent ones first.
    bool Sync(HWND window, DWORD deadlineMs = kDeadlineMs) const;

    // Pauses up to `ms`, but no longer than the program lives.
    void Pause(DWORD ms) const;

private:
    PROCESS_INFORMATION m_info = {};
    std::string m_error;
};

// Hooks the program's thread with the test's hook DLL and reads what it
// records. Set it up once the program's first window is there.
class HookSession {
public:
    HookSession() = default;
    ~HookSession();
    HookSession(const HookSession&) = delete;
    HookSession& operator=(const HookSession&) = delete;

    bool Attach(const Program& program, const std::string& hookDll);
    const std::string& Error() const { return m_error; }

    // What was recorded so far.
    std::vector<HookEntry> Entries() const;
    size_t Count() const;
    // Positions the progress bars received (PBM_SETPOS) from entry `from` on.
    std::vector<int> ProgressPositions(size_t from = 0) const;
    // Whether `window` was sent WM_COMMAND with this control id from entry
    // `from` on; waits for it until the deadline.
    bool WaitCommand(HWND window, int id, size_t from, const Program& program,
                     DWORD deadlineMs = kDeadlineMs) const;

    // Arms the pause for the next `message` with `wParam`; WaitPaused then
    // returns once the program stands still there, and Resume lets it go on.
    void ArmPause(UINT message, DWORD wParam);
    bool WaitPaused(const Program& program, DWORD deadlineMs = kDeadlineMs) const;
    void Resume();

private:
    HANDLE m_mapping = nullptr;
    HookLog* m_log = nullptr;
    HANDLE m_paused = nullptr;
    HANDLE m_resume = nullptr;
    HMODULE m_module = nullptr;
    HHOOK m_call = nullptr;
    HHOOK m_ret = nullptr;
    std::string m_error;
};

// A list view (report mode) of another process. Texts and states go through
// a buffer in the program's memory.
class RemoteListView {
public:
    RemoteListView(const Program& program, HWND list);
    ~RemoteListView();
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    int Count() const;
    std::string Text(int row, int column) const;
    UINT State(int row, UINT mask) const;
    // Every row's text of one column.
    std::vector<std::string> Column(int column) const;
    // Rows whose state includes LVIS_SELECTED.
    std::vector<int> SelectedRows() const;

private:
    HANDLE m_process;
    HWND m_list;
    void* m_remote = nullptr;  // an LVITEMA followed by the text buffer
};

std::wstring ClassName(HWND window);
// WM_GETTEXT, sent (so controls of another process answer too).
std::wstring ControlText(HWND window);
std::wstring DialogItemText(HWND dialog, int id);
// A dialog item's state message (BM_GETCHECK, CB_GETCURSEL, PBM_GETPOS, ...).
LRESULT AskItem(HWND dialog, int id, UINT message, WPARAM w = 0, LPARAM l = 0);
// Items of a combo box, through CB_GETLBTEXT.
std::vector<std::string> ComboItems(HWND combo);

// A button press as the button itself handles a click. Posted: a press that
// opens a nested modal dialog would block a sender until that dialog ends.
bool PostClick(HWND dialog, int id);
// A key pressed and released on a window (the focused control, usually).
bool PostKey(HWND window, UINT virtualKey);
// The window with the keyboard focus in the program's thread.
HWND FocusOf(const Program& program);

std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);

}  // namespace remote
