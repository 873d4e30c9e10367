#include <windows.h>

#include "App.h"
#include "DllSearch.h"
#include "InstallerApp.h"
#include "Win32Services.h"

namespace {
CInstallerApp theApp;
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // First thing: an elevated installer is often started from a downloads
    // folder, where a DLL named like a system one may have been planted.
    win32::RestrictDllSearchToSystem();
    win32::Win32Services services;
    theApp.SetServices(&services);
    return ui::RunApplication();
}
