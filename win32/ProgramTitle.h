// The program's title: its file name without the extension. The resources
// hold no title of their own, so message boxes and pages use this one.
#pragma once

#include <string>

namespace win32 {

std::wstring ProgramTitle();

// Full path of the program file (GetModuleFileNameW), however long.
std::wstring ProgramFilePath();

}  // namespace win32
