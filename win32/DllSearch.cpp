#include "DllSearch.h"

#include <windows.h>

#include "ProcAddress.h"

namespace win32 {

bool RestrictDllSearchToSystem() {
    // Looked up by name: Windows before 8 (without update KB2533623) lacks it.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDirectories = ProcAddress<SetDefaultDllDirectoriesFn>(
        GetModuleHandleA("kernel32"), "SetDefaultDllDirectories");
    if (!setDirectories) return false;
    return setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

}  // namespace win32
