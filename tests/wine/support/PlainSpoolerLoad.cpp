// Loads a DLL by name alone, as a plain import would (the spooler unless a
// name is given), and tells by its exit code where it came from: 0 its own
// folder (a planted copy), 1 elsewhere, 2 not at all.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    const char* name = argc > 1 ? argv[1] : "winspool.drv";
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    char* slash = std::strrchr(program, '\\');
    if (slash) slash[1] = '\0';

    HMODULE module = LoadLibraryA(name);
    if (!module) return 2;
    char loaded[MAX_PATH] = {};
    GetModuleFileNameA(module, loaded, MAX_PATH);
    if (slash) {
        char* loadedSlash = std::strrchr(loaded, '\\');
        if (loadedSlash) loadedSlash[1] = '\0';
    }
    return lstrcmpiA(program, loaded) == 0 ? 0 : 1;
}
