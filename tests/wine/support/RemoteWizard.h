// The installation wizard as a user meets it, driven from the test's
// process: its pages by caption, their buttons by control id. Each step
// reports what went wrong, for ASSERT_TRUE.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "RemoteProgram.h"

namespace remote {

extern const wchar_t* const kOsPageCaption;
extern const wchar_t* const kSettingsPageCaption;
extern const wchar_t* const kPortPageCaption;
extern const wchar_t* const kCreatePortCaption;
// Message boxes carry the program file's name without its extension.
extern const wchar_t* const kMessageBoxCaption;

// The static control of a message box that holds its text.
constexpr int kMessageBoxTextId = 0xFFFF;

class Wizard {
public:
    explicit Wizard(std::string hookDll) : m_hookDll(std::move(hookDll)) {}

    Program& Process() { return m_program; }
    HookSession& Hooks() { return m_hooks; }
    HWND OsPage() const { return m_osPage; }
    HWND SettingsPage() const { return m_settingsPage; }
    HWND PortPage() const { return m_portPage; }

    // Starts the program and waits for its first page; hooks it.
    ::testing::AssertionResult Start(const std::string& exe, const std::string& currentFolder);
    // "&Next >" on the operating-system page: it goes, the settings page comes.
    ::testing::AssertionResult OsNext();
    // Picks a model row as the user would: selection, then its notification.
    ::testing::AssertionResult ChooseModel(int row);
    // "&Next >" on the settings page: the Select Port page comes above it.
    ::testing::AssertionResult SettingsNext();
    // Presses a button of the Select Port page that takes it away (Back,
    // Cancel): the settings page is usable again.
    ::testing::AssertionResult LeavePortPage(int buttonId);
    // "&Exit" on the settings page ends the wizard; the process ends with 0.
    ::testing::AssertionResult ExitFromSettings();

    // The program's message box, with its text.
    ::testing::AssertionResult WaitMessageBox(HWND* box, std::wstring* text);
    // Its OK button; the box goes.
    ::testing::AssertionResult CloseMessageBox(HWND box);
    // The process ends by itself, with exit code 0.
    ::testing::AssertionResult Ends();

    // Another dialog of the program (Create Port, the monitor's), once active.
    ::testing::AssertionResult WaitDialog(const std::wstring& caption, HWND* dialog);

    // Waits until a window shows everything it has drawn on the screen: it
    // paints now, and has been back in its message loop since.
    ::testing::AssertionResult Painted(HWND window);

private:
    std::string m_hookDll;
    Program m_program;
    HookSession m_hooks;
    HWND m_osPage = nullptr;
    HWND m_settingsPage = nullptr;
    HWND m_portPage = nullptr;
};

// Forward slashes as Windows separators (compile definitions carry "/").
std::string WindowsPath(std::string path);

}  // namespace remote
