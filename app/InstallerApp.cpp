#include "InstallerApp.h"

#include "OsSelectPage.h"
#include "PageSequence.h"
#include "PrinterSettingsPage.h"

bool CInstallerApp::InitInstance() {
    COsSelectPage osPage;
    engine::RunPageSequence(
        [&osPage] { return static_cast<int>(osPage.DoModal()); },
        [] {
            // Every visit starts from the page's defaults.
            CPrinterSettingsPage settingsPage;
            return static_cast<int>(settingsPage.DoModal());
        });
    return false;
}
