// A DLL of no use at all: the tests place copies of it where a planted DLL
// would lie, to see whether the loader takes it. When loaded it leaves a
// file "<its own path>.loaded" behind, so a test can tell afterwards.
#include <windows.h>

#include <cstring>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        char path[MAX_PATH + 8] = {};
        DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            std::strcat(path, ".loaded");
            HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
        }
    }
    return TRUE;
}
