// A DLL of no use at all: the tests place copies of it where a planted DLL
// would lie, to see whether the loader takes it.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
