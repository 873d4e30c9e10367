#include "App.h"

#include <commctrl.h>

#include <vector>

#include "DllSearch.h"
#include "ProcAddress.h"
#include "ProgramTitle.h"

namespace ui {
namespace {

App* g_app = nullptr;

// Replaces the extension of the last path component (or appends one).
std::string WithExtension(const std::string& path, const std::string& extension) {
    size_t slash = path.find_last_of("\\/");
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + extension;
    return path.substr(0, dot) + extension;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    int length = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length, nullptr,
                          nullptr);
    return narrow;
}

}  // namespace

App::App()
    : m_title(win32::ProgramTitle()),
      m_helpFile(WithExtension(Narrow(win32::ProgramFilePath()), ".HLP")) {
    g_app = this;
}

App::~App() {
    if (g_app == this) g_app = nullptr;
}

App* App::Current() { return g_app; }

void App::ShowHelpFor(int templateId) const {
    if (m_services) m_services->ShowHelp(m_helpFile, kHelpTopicBase + static_cast<UINT>(templateId));
}

bool LoadCommonControls() {
    // Not a known DLL either: taken from the system folder, never from the
    // program's own.
    HMODULE module = win32::LoadSystemLibrary("comctl32.dll");
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = win32::ProcAddress<InitFn>(module, "InitCommonControlsEx");
    if (!init) return false;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    return init(&controls) != FALSE;
}

int RunApplication() {
    App* app = App::Current();
    if (!app) return 0;
    if (!LoadCommonControls()) {
        // Without them no page can be created.
        DWORD error = ::GetLastError();
        app->Services().ShowMessage("The common controls (comctl32.dll) could not be loaded from the system folder: " +
                                        app->Services().ErrorText(error) + " (error " + std::to_string(error) + ")",
                                    engine::TextEncoding::Ansi);
        return 1;
    }
    app->InitInstance();
    return 0;
}

void ShowMessageBox(const std::string& text, engine::TextEncoding encoding) {
    if (App* app = App::Current()) app->Services().ShowMessage(text, encoding);
}

}  // namespace ui
