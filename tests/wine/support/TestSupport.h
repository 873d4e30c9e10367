// Helpers shared by the Wine tests of the system services and the
// installation: scratch folders, small files, and dialogs ended by script.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// A new, empty folder in the temporary folder, removed with all it holds
// when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& tag);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

void RemoveTree(const std::string& path);
bool WriteTextFile(const std::string& path, const std::string& text);
// Empty when the file cannot be read; `ok` tells the two apart.
std::string ReadTextFile(const std::string& path, bool* ok = nullptr);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

std::string Lower(std::string text);
bool EqualNoCase(const std::string& a, const std::string& b);
bool EndsWithNoCase(const std::string& text, const std::string& suffix);
// The text before the last backslash.
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);

std::string SystemFolder();
std::string CurrentFolder();
std::string ProgramFile();

// Runs a program to its end; its exit code, or -1 when it did not start or
// end. The deadline only keeps a stuck child from holding up the run.
int RunToEnd(const std::string& program, const std::string& arguments, const std::string& folder);

// What a scripted dialog showed.
struct DialogSeen {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    std::wstring caption;
    std::vector<int> controlIds;  // children, in creation order
};

// Watches this thread for dialogs (message boxes included): on each one's
// WM_INITDIALOG it records what the dialog shows and runs `onInit`, which
// usually posts the button to press. A dialog still open after
// `watchdogMs` is ended with IDABORT and counted as stalled, so a script
// that missed cannot hang the test.
class DialogCatcher {
public:
    using Step = std::function<void(HWND dialog)>;
    explicit DialogCatcher(Step onInit, UINT watchdogMs = 10000);
    ~DialogCatcher();
    DialogCatcher(const DialogCatcher&) = delete;
    DialogCatcher& operator=(const DialogCatcher&) = delete;

    const std::vector<DialogSeen>& Seen() const { return m_seen; }
    int Stalled() const { return m_stalled; }

    // Presses a button the way the dialog manager would.
    static void Press(HWND dialog, int id);
    static std::wstring ControlText(HWND dialog, int id);

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD);

    Step m_onInit;
    HHOOK m_hook = nullptr;
    UINT_PTR m_timer = 0;
    std::vector<DialogSeen> m_seen;
    int m_stalled = 0;
};

}  // namespace testsupport
