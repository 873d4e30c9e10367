#include "PageSequence.h"

namespace engine {

void RunPageSequence(const std::function<int()>& showOsPage,
                     const std::function<int()>& showSettingsPage) {
    int osEnd = showOsPage();
    for (;;) {
        // Cancel or a page that could not be created ends the wizard.
        if (osEnd != kEndOk) break;
        // Only Back (Cancel) on the settings page returns to the first page.
        if (showSettingsPage() != kEndCancel) break;
        osEnd = showOsPage();
    }
}

}  // namespace engine
