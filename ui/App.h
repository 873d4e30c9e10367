// The application object: runs the wizard from its start operation and
// gives the pages the program's title, help file and system services.
#pragma once

#include <windows.h>

#include <string>

#include "SystemServices.h"

namespace ui {

class App {
public:
    App();
    virtual ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Runs the wizard. Returns false: there is no message loop afterwards.
    virtual bool InitInstance() = 0;

    // The one application object of the process, or null.
    static App* Current();

    // The program file's name without its extension.
    const std::wstring& Title() const { return m_title; }
    // The program file's full path with the extension ".HLP".
    const std::string& HelpFile() const { return m_helpFile; }

    engine::ISystemServices& Services() const { return *m_services; }
    void SetServices(engine::ISystemServices* services) { m_services = services; }

    // Help for the page built from a template.
    void ShowHelpFor(int templateId) const;

private:
    std::wstring m_title;
    std::string m_helpFile;
    engine::ISystemServices* m_services = nullptr;
};

// Topic numbers of the pages in the help file.
constexpr UINT kHelpTopicBase = 0x20000;

// Registers the list view, progress bar and trackbar classes the
// templates use. False when the common controls could not be loaded.
bool LoadCommonControls();

// Prepares the common controls and runs the application object's start
// operation; the process exit status.
int RunApplication();

// The program's message box: only an OK button, the exclamation icon, the
// program's title as caption; owned by the active window.
void ShowMessageBox(const std::string& text, engine::TextEncoding encoding);

}  // namespace ui
