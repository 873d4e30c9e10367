// GetProcAddress with the entry point's own type.
#pragma once

#include <windows.h>

namespace win32 {

// Null when the module is null or lacks the entry point.
template <typename Fn>
Fn ProcAddress(HMODULE module, const char* name) {
    if (!module) return nullptr;
    // Through a generic function pointer type, which converts to any other
    // without a cast-function-type warning.
    auto generic = reinterpret_cast<void (*)()>(GetProcAddress(module, name));
    return reinterpret_cast<Fn>(generic);
}

}  // namespace win32
