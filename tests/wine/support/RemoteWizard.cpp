#include "RemoteWizard.h"

#include <algorithm>

#include "resource.h"

namespace remote {

const wchar_t* const kOsPageCaption = L"Select OS (x86/x64)";
const wchar_t* const kSettingsPageCaption = L"Detail Setting (x86/x64)";
const wchar_t* const kPortPageCaption = L"Select Port (x86/x64)";
const wchar_t* const kCreatePortCaption = L"Create Port";
const wchar_t* const kMessageBoxCaption = L"OrvaSetup";

namespace {

std::string Shown(const wchar_t* caption) { return "\"" + Narrow(caption) + "\""; }

}  // namespace

::testing::AssertionResult Wizard::Start(const std::string& exe, const std::string& currentFolder) {
    if (!m_program.Start(exe, currentFolder)) return ::testing::AssertionFailure() << m_program.Error();
    m_osPage = m_program.WaitWindow(kOsPageCaption);
    if (!m_osPage) {
        return ::testing::AssertionFailure() << "no " << Shown(kOsPageCaption) << " page; the program "
                                             << (m_program.Running() ? "still runs" : "has ended");
    }
    if (!m_program.WaitActive(m_osPage)) return ::testing::AssertionFailure() << "the OS page never became active";
    if (!m_hooks.Attach(m_program, m_hookDll)) return ::testing::AssertionFailure() << m_hooks.Error();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Wizard::OsNext() {
    if (!PostClick(m_osPage, IDC_OS_NEXT)) return ::testing::AssertionFailure() << "no Next button";
    if (!m_program.WaitGone(m_osPage)) return ::testing::AssertionFailure() << "the OS page stays";
    m_settingsPage = m_program.WaitWindow(kSettingsPageCaption);
    if (!m_settingsPage) return ::testing::AssertionFailure() << "no " << Shown(kSettingsPageCaption) << " page";
    if (!m_program.WaitActive(m_settingsPage)) {
        return ::testing::AssertionFailure() << "the settings page never became active";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Wizard::ChooseModel(int row) {
    HWND combo = GetDlgItem(m_settingsPage, IDC_MODEL_COMBO);
    if (!combo) return ::testing::AssertionFailure() << "no model combo box";
    DWORD_PTR result = 0;
    SendMessageTimeoutW(combo, CB_SETCURSEL, static_cast<WPARAM>(row), 0, SMTO_NORMAL, kDeadlineMs, &result);
    if (static_cast<int>(result) != row) {
        return ::testing::AssertionFailure() << "CB_SETCURSEL " << row << " gave " << static_cast<int>(result);
    }
    // CB_SETCURSEL sends no notification; a user's choice does.
    if (!SendMessageTimeoutW(m_settingsPage, WM_COMMAND, MAKEWPARAM(IDC_MODEL_COMBO, CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(combo), SMTO_NORMAL, kDeadlineMs, &result)) {
        return ::testing::AssertionFailure() << "the settings page did not answer";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Wizard::SettingsNext() {
    if (!PostClick(m_settingsPage, IDC_SETTINGS_NEXT)) return ::testing::AssertionFailure() << "no Next button";
    m_portPage = m_program.WaitWindow(kPortPageCaption);
    if (!m_portPage) return ::testing::AssertionFailure() << "no " << Shown(kPortPageCaption) << " page";
    if (!m_program.WaitActive(m_portPage)) {
        return ::testing::AssertionFailure() << "the Select Port page never became active";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Wizard::LeavePortPage(int buttonId) {
    if (!PostClick(m_portPage, buttonId)) return ::testing::AssertionFailure() << "no button " << buttonId;
    if (!m_program.WaitGone(m_portPage)) return ::testing::AssertionFailure() << "the Select Port page stays";
    if (!m_program.WaitActive(m_settingsPage)) {
        return ::testing::AssertionFailure() << "the settings page is not active again";
    }
    if (!IsWindowVisible(m_settingsPage) || !IsWindowEnabled(m_settingsPage)) {
        return ::testing::AssertionFailure() << "the settings page is not back in use";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Wizard::ExitFromSettings() {
    if (!PostClick(m_settingsPage, IDC_SETTINGS_EXIT)) return ::testing::AssertionFailure() << "no Exit button";
    return Ends();
}

::testing::AssertionResult Wizard::WaitMessageBox(HWND* box, std::wstring* text) {
    *box = m_program.WaitWindow(kMessageBoxCaption);
    if (!*box) return ::testing::AssertionFailure() << "no message box " << Shown(kMessageBoxCaption);
    if (!m_program.WaitActive(*box)) return ::testing::AssertionFailure() << "the message box never became active";
    *text = DialogItemText(*box, kMessageBoxTextId);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Wizard::CloseMessageBox(HWND box) {
    if (!PostClick(box, IDOK)) return ::testing::AssertionFailure() << "the message box has no OK button";
    if (!m_program.WaitGone(box)) return ::testing::AssertionFailure() << "the message box stays";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Wizard::Ends() {
    DWORD code = 0;
    if (!m_program.WaitExit(&code)) {
        std::string shown;
        for (HWND window : m_program.Windows()) {
            wchar_t caption[256] = {};
            GetWindowTextW(window, caption, 256);
            shown += " \"" + Narrow(caption) + "\"";
        }
        return ::testing::AssertionFailure() << "the program still runs; it shows" << shown;
    }
    if (code != 0) return ::testing::AssertionFailure() << "the program ended with code " << code;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Wizard::WaitDialog(const std::wstring& caption, HWND* dialog) {
    *dialog = m_program.WaitWindow(caption);
    if (!*dialog) return ::testing::AssertionFailure() << "no dialog \"" << Narrow(caption) << "\"";
    if (!m_program.WaitActive(*dialog)) {
        return ::testing::AssertionFailure() << "the dialog \"" << Narrow(caption) << "\" never became active";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Wizard::Painted(HWND window) {
    // Sent to another thread's window, this returns once it has painted.
    if (!RedrawWindow(window, nullptr, nullptr,
                      RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN)) {
        return ::testing::AssertionFailure() << "RedrawWindow failed";
    }
    if (!m_program.Sync(window) || !m_program.Sync(window)) {
        return ::testing::AssertionFailure() << "the window does not answer";
    }
    return ::testing::AssertionSuccess();
}

std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace remote
