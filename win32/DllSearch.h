// DLL planting: an installer is often run from a downloads folder, where a
// planted DLL would be found before the system's own.
#pragma once

#include <windows.h>

namespace win32 {

// Loads a DLL from the system folder only, never from the program's folder
// or the current directory. Null on failure, with GetLastError() set.
HMODULE LoadSystemLibrary(const char* fileName);

// Limits the DLL search of later loads to the system folder
// (SetDefaultDllDirectories, where the system has it). Call it first thing
// at start: it cannot help loads made before it. True when it took effect.
bool RestrictDllSearchToSystem();

}  // namespace win32
