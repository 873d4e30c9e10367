// Drives real modal dialogs of this thread as a user would. A script is a
// list of steps; a thread timer, which every modal loop dispatches, runs
// them one at a time: each step waits for its condition (usually "a dialog
// with this caption is up and enabled") and then acts on the window it
// found. A step may itself run a modal dialog; the steps after it then run
// inside that dialog's loop.
//
// If a step's condition does not come true in time, or dialogs are left
// open after the last step, the watchdog ends every dialog of the thread
// with kStalledEnd and the test fails, so a script that missed cannot hang.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace uitest {

// End code of a dialog ended by the watchdog.
constexpr INT_PTR kStalledEnd = 0x5A1;

// The visible, enabled dialog (class #32770) of this thread with exactly
// this caption, or null. A dialog below a nested modal one is disabled, so
// this is the one the user is working in.
HWND FindDialog(const std::wstring& caption);
// Every visible dialog of this thread.
std::vector<HWND> OpenDialogs();
std::wstring Caption(HWND window);

// --- What a user does. Everything is posted, so that a click which opens a
// nested dialog does not run that dialog inside the script step.
void Click(HWND dialog, int id);
// WM_KEYDOWN to the control that has the focus (the dialog manager then
// handles Enter, Esc and the rest), or to the dialog when nothing in it has
// the focus.
void PressKey(HWND dialog, UINT vk);
// The key as hardware input (SendInput), to whatever has the focus. F1
// needs it: Wine makes WM_KEYF1, and from it WM_HELP, only from input.
void TypeKey(UINT vk);
void SysCommand(HWND dialog, WPARAM command);
void CloseBox(HWND dialog);
// CB_SETCURSEL, then the CBN_SELCHANGE that a user's choice would send and
// CB_SETCURSEL does not. Sent: the handler runs before this returns.
void ChooseComboItem(HWND dialog, int comboId, int index);
// Selects one row of a single-selection list view (-1 clears the selection).
void SelectListRow(HWND list, int row);

// --- What the dialogs show.
std::wstring ItemText(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
int ComboSelection(HWND dialog, int comboId);
std::string ComboItem(HWND dialog, int comboId, int index);
std::vector<std::string> ComboItems(HWND dialog, int comboId);
// The id of the control that has the focus, 0 when it is not in `dialog`.
int FocusedId(HWND dialog);

struct ListState {
    std::vector<std::vector<std::string>> rows;  // column texts, row by row
    std::vector<int> selectedRows;
    std::vector<std::string> columnTexts;
    std::vector<int> columnWidths;
    DWORD extendedStyle = 0;
};
ListState ReadList(HWND list);

class Script {
public:
    using Wait = std::function<HWND()>;
    using Act = std::function<void(HWND)>;

    // A WM_COMMAND sent to a dialog of this thread, as the dialog got it.
    struct Command {
        HWND dialog;
        int id;
        int code;
    };

    explicit Script(DWORD stepDeadlineMs = 20000);
    ~Script();
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    // Adds a step.
    Script& Do(std::string name, Wait wait, Act act);
    // Adds a step that waits for the dialog with this caption.
    Script& On(const std::wstring& caption, std::string name, Act act);
    // The next step starts looking at its condition only after this many
    // more ticks, so that what earlier steps posted has been handled.
    Script& Settle(int ticks = 3);

    // Runs `body` (which shows the first dialog) with the script active;
    // returns what `body` returned. Adds a test failure when the script
    // stalled, left dialogs open or did not reach its end.
    INT_PTR Run(const std::function<INT_PTR()>& body);

    // All steps ran and nothing stalled.
    bool Finished() const { return m_next == m_steps.size() && m_failure.empty(); }
    const std::string& Failure() const { return m_failure; }

    // Captions of the dialogs that received WM_INITDIALOG, in order.
    const std::vector<std::wstring>& Opened() const { return m_opened; }
    size_t CountOpened(const std::wstring& caption) const;
    // Positions sent to progress bars with PBM_SETPOS, in order.
    const std::vector<int>& ProgressPositions() const { return m_progress; }
    const std::vector<Command>& Commands() const { return m_commands; }

private:
    struct Step {
        std::string name;
        Wait wait;
        Act act;
        int settleTicks = 0;
    };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static LRESULT CALLBACK AfterCall(int code, WPARAM w, LPARAM l);
    static LRESULT CALLBACK BeforeCall(int code, WPARAM w, LPARAM l);
    void OnTick();
    void Stall(const std::string& why);
    void StartStep();

    DWORD m_deadlineMs;
    std::vector<Step> m_steps;
    int m_pendingSettle = 0;
    size_t m_next = 0;
    int m_ticksInStep = 0;
    DWORD m_stepStart = 0;
    bool m_aborting = false;
    std::string m_failure;
    std::vector<std::string> m_done;
    std::vector<std::wstring> m_opened;
    std::vector<int> m_progress;
    std::vector<Command> m_commands;
    UINT_PTR m_timer = 0;
    HHOOK m_afterHook = nullptr;
    HHOOK m_beforeHook = nullptr;
};

// Narrow text (UTF-8) of a wide one, for test messages.
std::string Utf8(const std::wstring& text);

}  // namespace uitest
