#include "ProgramTitle.h"

#include <windows.h>

#include <vector>

namespace win32 {

std::wstring ProgramFilePath() {
    // GetModuleFileNameW truncates silently when the buffer is too small
    // (the count returned equals the size): grow until it fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::wstring();
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        if (buffer.size() >= 32768) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ProgramTitle() {
    std::wstring name = ProgramFilePath();
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot != 0) name.erase(dot);
    return name;
}

}  // namespace win32
