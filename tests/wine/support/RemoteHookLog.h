// What the hook DLL records inside the driven program: a few messages as
// its window procedures receive them, in a named shared mapping that the
// test creates before it sets the hooks. Both sides include this header.
#pragma once

#include <windows.h>

#include <cstdio>

namespace remote {

constexpr LONG kHookLogCapacity = 4096;

struct HookEntry {
    UINT message;
    DWORD window;  // the HWND as a number: both sides are 32-bit
    DWORD wParam;
    DWORD lParam;
    int controlId;
};

struct HookLog {
    volatile LONG count;  // entries written; an entry is complete before it counts
    // When `pauseMessage` is not 0: once a window procedure has handled that
    // message with that wParam, the hook repaints the window's dialog, sets
    // the "paused" event and waits for "resume", so the test can look at the
    // screen while the program stands still in the middle of its work.
    volatile UINT pauseMessage;
    volatile DWORD pauseWParam;
    volatile LONG pauses;
    HookEntry entries[kHookLogCapacity];
};

// The name of one of the objects ("log", "paused", "resume") for the
// program with that process id.
inline void HookObjectName(char* buffer, size_t size, const char* kind, DWORD processId) {
    std::snprintf(buffer, size, "RemoteHook.%s.%lu", kind, static_cast<unsigned long>(processId));
}

// How long a paused program waits for the test before it goes on by itself.
constexpr DWORD kHookPauseLimitMs = 20000;

}  // namespace remote
