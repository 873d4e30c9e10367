// A hook DLL the whole-program tests set on the program's thread; the system
// loads it into the program. It records the messages that cannot be watched
// from outside while the program is busy (the progress bar's positions
// during the synchronous installation) and can hold the program still at
// one of them. See RemoteHookLog.h.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "RemoteHookLog.h"

namespace {

remote::HookLog* g_log = nullptr;

remote::HookLog* Log() {
    if (g_log) return g_log;
    char name[64];
    remote::HookObjectName(name, sizeof name, "log", GetCurrentProcessId());
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
    if (!mapping) return nullptr;
    g_log = static_cast<remote::HookLog*>(
        MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(remote::HookLog)));
    // The view keeps the mapping alive.
    CloseHandle(mapping);
    return g_log;
}

bool IsProgressBar(HWND window) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return std::wcscmp(name, PROGRESS_CLASSW) == 0;
}

// PBM_SETPOS shares its number with other WM_USER-based messages.
bool Watched(HWND window, UINT message) {
    if (message == WM_INITDIALOG || message == WM_COMMAND) return true;
    return message == PBM_SETPOS && IsProgressBar(window);
}

void Append(remote::HookLog* log, HWND window, UINT message, WPARAM w, LPARAM l) {
    LONG index = log->count;
    if (index >= remote::kHookLogCapacity) return;
    remote::HookEntry& entry = log->entries[index];
    entry.message = message;
    entry.window = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window));
    entry.wParam = static_cast<DWORD>(w);
    entry.lParam = static_cast<DWORD>(l);
    entry.controlId = GetDlgCtrlID(window);
    InterlockedExchange(&log->count, index + 1);
}

HANDLE OpenNamedEvent(const char* kind) {
    char name[64];
    remote::HookObjectName(name, sizeof name, kind, GetCurrentProcessId());
    return OpenEventA(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, name);
}

void Pause(remote::HookLog* log, HWND window) {
    // The program is about to go on without returning to its message loop;
    // draw what the window shows now, so the screen holds it.
    HWND dialog = GetAncestor(window, GA_ROOT);
    RedrawWindow(dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    HANDLE paused = OpenNamedEvent("paused");
    HANDLE resume = OpenNamedEvent("resume");
    InterlockedIncrement(&log->pauses);
    if (paused && resume) {
        SetEvent(paused);
        WaitForSingleObject(resume, remote::kHookPauseLimitMs);
    }
    if (paused) CloseHandle(paused);
    if (resume) CloseHandle(resume);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK RemoteCallWndProc(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(l);
        if (Watched(message->hwnd, message->message)) {
            if (remote::HookLog* log = Log()) {
                Append(log, message->hwnd, message->message, message->wParam, message->lParam);
            }
        }
    }
    return CallNextHookEx(nullptr, code, w, l);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK RemoteCallWndRetProc(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(l);
        remote::HookLog* log = Log();
        if (log && log->pauseMessage != 0 && message->message == log->pauseMessage &&
            static_cast<DWORD>(message->wParam) == log->pauseWParam &&
            Watched(message->hwnd, message->message)) {
            log->pauseMessage = 0;  // once
            Pause(log, message->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, w, l);
}
