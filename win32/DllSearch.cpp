#include "DllSearch.h"

#include <windows.h>

#include <string>
#include <vector>

#include "ProcAddress.h"

namespace win32 {
namespace {

std::string SystemFolder() {
    UINT size = GetSystemDirectoryA(nullptr, 0);
    if (size == 0) return std::string();
    std::vector<char> buffer(size);
    UINT length = GetSystemDirectoryA(buffer.data(), size);
    if (length == 0 || length >= size) return std::string();
    return std::string(buffer.data(), length);
}

// LOAD_LIBRARY_SEARCH_* flags are understood wherever AddDllDirectory is
// there (Windows 8, or 7 with KB2533623); elsewhere LoadLibraryEx rejects
// them, and the full path with the altered search order does the job.
DWORD SystemLoadFlags() {
    if (GetProcAddress(GetModuleHandleA("kernel32"), "AddDllDirectory")) {
        return LOAD_LIBRARY_SEARCH_SYSTEM32;
    }
    return LOAD_WITH_ALTERED_SEARCH_PATH;
}

}  // namespace

HMODULE LoadSystemLibrary(const char* fileName) {
    std::string folder = SystemFolder();
    if (folder.empty()) return nullptr;
    return LoadLibraryExA((folder + "\\" + fileName).c_str(), nullptr, SystemLoadFlags());
}

bool RestrictDllSearchToSystem() {
    // Looked up by name: Windows before 8 (without update KB2533623) lacks it.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDirectories = ProcAddress<SetDefaultDllDirectoriesFn>(
        GetModuleHandleA("kernel32"), "SetDefaultDllDirectories");
    if (!setDirectories) return false;
    return setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

}  // namespace win32
