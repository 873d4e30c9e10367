#include "RemoteProgram.h"

#include <commctrl.h>

#include <algorithm>

namespace remote {
namespace {

// The pause between two looks at the program's windows.
constexpr DWORD kPollMs = 20;
// Room for one list-view text in the program's memory.
constexpr size_t kRemoteTextSize = 1024;

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

std::string ErrorText(const char* what) {
    return std::string(what) + " failed, error " + std::to_string(GetLastError());
}

std::string HookName(const char* kind, DWORD processId) {
    char name[64];
    HookObjectName(name, sizeof name, kind, processId);
    return name;
}

HOOKPROC HookProcedure(HMODULE module, const char* name) {
    // Through a plain function pointer type: FARPROC and HOOKPROC differ.
    return reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

// --- Program

Program::~Program() {
    if (m_info.hProcess) {
        if (Running()) {
            TerminateProcess(m_info.hProcess, 1);
            WaitForSingleObject(m_info.hProcess, kDeadlineMs);
        }
        CloseHandle(m_info.hProcess);
    }
    if (m_info.hThread) CloseHandle(m_info.hThread);
}

bool Program::Start(const std::string& exe, const std::string& currentFolder) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        currentFolder.c_str(), &startup, &m_info)) {
        m_error = ErrorText(("CreateProcess of " + exe).c_str());
        m_info = PROCESS_INFORMATION();
        return false;
    }
    return true;
}

bool Program::Running() const {
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

bool Program::WaitExit(DWORD* exitCode, DWORD deadlineMs) const {
    if (!m_info.hProcess || WaitForSingleObject(m_info.hProcess, deadlineMs) != WAIT_OBJECT_0) {
        return false;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    if (exitCode) *exitCode = code;
    return true;
}

std::vector<HWND> Program::Windows() const {
    WindowSearch search = {m_info.dwProcessId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Program::WaitWindow(const std::wstring& caption, DWORD deadlineMs) const {
    const DWORD start = GetTickCount();
    for (;;) {
        for (HWND window : Windows()) {
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            if (caption == text) return window;
        }
        if (!Running() || GetTickCount() - start >= deadlineMs) return nullptr;
        Pause(kPollMs);
    }
}

bool Program::WaitActive(HWND window, DWORD deadlineMs) const {
    const DWORD start = GetTickCount();
    while (GetForegroundWindow() != window) {
        if (!Running() || !IsWindow(window) || GetTickCount() - start >= deadlineMs) return false;
        Pause(kPollMs);
    }
    return Sync(window, deadlineMs);
}

bool Program::WaitGone(HWND window, DWORD deadlineMs) const {
    const DWORD start = GetTickCount();
    for (;;) {
        if (!IsWindow(window) || !IsWindowVisible(window)) return true;
        if (!Running()) return true;
        if (GetTickCount() - start >= deadlineMs) return false;
        Pause(kPollMs);
    }
}

bool Program::Sync(HWND window, DWORD deadlineMs) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, deadlineMs, &result) != 0;
}

void Program::Pause(DWORD ms) const {
    if (m_info.hProcess) {
        WaitForSingleObject(m_info.hProcess, ms);
    } else {
        Sleep(ms);
    }
}

// --- HookSession

HookSession::~HookSession() {
    if (m_ret) UnhookWindowsHookEx(m_ret);
    if (m_call) UnhookWindowsHookEx(m_call);
    // A program still paused must not wait for a test that has gone.
    if (m_resume) {
        SetEvent(m_resume);
        CloseHandle(m_resume);
    }
    if (m_paused) CloseHandle(m_paused);
    if (m_log) UnmapViewOfFile(m_log);
    if (m_mapping) CloseHandle(m_mapping);
    if (m_module) FreeLibrary(m_module);
}

bool HookSession::Attach(const Program& program, const std::string& hookDll) {
    const DWORD id = program.ProcessId();
    m_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                   sizeof(HookLog), HookName("log", id).c_str());
    if (!m_mapping) {
        m_error = ErrorText("CreateFileMapping");
        return false;
    }
    m_log = static_cast<HookLog*>(MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, sizeof(HookLog)));
    if (!m_log) {
        m_error = ErrorText("MapViewOfFile");
        return false;
    }
    m_paused = CreateEventA(nullptr, FALSE, FALSE, HookName("paused", id).c_str());
    m_resume = CreateEventA(nullptr, FALSE, FALSE, HookName("resume", id).c_str());
    if (!m_paused || !m_resume) {
        m_error = ErrorText("CreateEvent");
        return false;
    }
    m_module = LoadLibraryA(hookDll.c_str());
    if (!m_module) {
        m_error = ErrorText(("LoadLibrary of " + hookDll).c_str());
        return false;
    }
    auto call = HookProcedure(m_module, "RemoteCallWndProc");
    auto ret = HookProcedure(m_module, "RemoteCallWndRetProc");
    if (!call || !ret) {
        m_error = "the hook DLL lacks its hook procedures";
        return false;
    }
    m_call = SetWindowsHookExW(WH_CALLWNDPROC, call, m_module, program.ThreadId());
    m_ret = SetWindowsHookExW(WH_CALLWNDPROCRET, ret, m_module, program.ThreadId());
    if (!m_call || !m_ret) {
        m_error = ErrorText("SetWindowsHookEx");
        return false;
    }
    return true;
}

size_t HookSession::Count() const {
    if (!m_log) return 0;
    LONG count = m_log->count;
    return static_cast<size_t>(std::min(count, kHookLogCapacity));
}

std::vector<HookEntry> HookSession::Entries() const {
    std::vector<HookEntry> entries;
    const size_t count = Count();
    for (size_t i = 0; i < count; ++i) entries.push_back(m_log->entries[i]);
    return entries;
}

std::vector<int> HookSession::ProgressPositions(size_t from) const {
    std::vector<int> positions;
    const std::vector<HookEntry> entries = Entries();
    for (size_t i = from; i < entries.size(); ++i) {
        if (entries[i].message == PBM_SETPOS) positions.push_back(static_cast<int>(entries[i].wParam));
    }
    return positions;
}

bool HookSession::WaitCommand(HWND window, int id, size_t from, const Program& program,
                              DWORD deadlineMs) const {
    const DWORD start = GetTickCount();
    const DWORD target = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window));
    for (;;) {
        const std::vector<HookEntry> entries = Entries();
        for (size_t i = from; i < entries.size(); ++i) {
            if (entries[i].message == WM_COMMAND && entries[i].window == target &&
                LOWORD(entries[i].wParam) == id) {
                return true;
            }
        }
        if (!program.Running() || GetTickCount() - start >= deadlineMs) return false;
        program.Pause(kPollMs);
    }
}

void HookSession::ArmPause(UINT message, DWORD wParam) {
    if (!m_log) return;
    m_log->pauseWParam = wParam;
    InterlockedExchange(reinterpret_cast<volatile LONG*>(&m_log->pauseMessage),
                        static_cast<LONG>(message));
}

bool HookSession::WaitPaused(const Program& program, DWORD deadlineMs) const {
    if (!m_paused) return false;
    HANDLE handles[] = {m_paused, program.Process()};
    return WaitForMultipleObjects(2, handles, FALSE, deadlineMs) == WAIT_OBJECT_0;
}

void HookSession::Resume() {
    if (m_resume) SetEvent(m_resume);
}

// --- RemoteListView

RemoteListView::RemoteListView(const Program& program, HWND list)
    : m_process(program.Process()), m_list(list) {
    m_remote = VirtualAllocEx(m_process, nullptr, sizeof(LVITEMA) + kRemoteTextSize,
                              MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteListView::~RemoteListView() {
    if (m_remote) VirtualFreeEx(m_process, m_remote, 0, MEM_RELEASE);
}

int RemoteListView::Count() const {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(m_list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, kDeadlineMs, &count)) return -1;
    return static_cast<int>(count);
}

std::string RemoteListView::Text(int row, int column) const {
    if (!m_remote) return "(no remote buffer)";
    char* remoteText = static_cast<char*>(m_remote) + sizeof(LVITEMA);
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = remoteText;
    item.cchTextMax = static_cast<int>(kRemoteTextSize);
    SIZE_T moved = 0;
    if (!WriteProcessMemory(m_process, m_remote, &item, sizeof item, &moved)) return "(write failed)";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(m_list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(m_remote), SMTO_NORMAL, kDeadlineMs, &length)) {
        return "(no answer)";
    }
    char text[kRemoteTextSize] = {};
    if (!ReadProcessMemory(m_process, remoteText, text, sizeof text - 1, &moved)) return "(read failed)";
    return std::string(text);
}

UINT RemoteListView::State(int row, UINT mask) const {
    if (!m_remote) return 0;
    LVITEMA item = {};
    item.mask = LVIF_STATE;
    item.iItem = row;
    item.stateMask = mask;
    SIZE_T moved = 0;
    if (!WriteProcessMemory(m_process, m_remote, &item, sizeof item, &moved)) return 0;
    DWORD_PTR ok = 0;
    if (!SendMessageTimeoutW(m_list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(m_remote), SMTO_NORMAL,
                             kDeadlineMs, &ok) ||
        !ok) {
        return 0;
    }
    if (!ReadProcessMemory(m_process, m_remote, &item, sizeof item, &moved)) return 0;
    return item.state & mask;
}

std::vector<std::string> RemoteListView::Column(int column) const {
    std::vector<std::string> texts;
    const int count = Count();
    for (int row = 0; row < count; ++row) texts.push_back(Text(row, column));
    return texts;
}

std::vector<int> RemoteListView::SelectedRows() const {
    std::vector<int> rows;
    const int count = Count();
    for (int row = 0; row < count; ++row) {
        if (State(row, LVIS_SELECTED)) rows.push_back(row);
    }
    return rows;
}

// --- Helpers

std::wstring ClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring ControlText(HWND window) {
    wchar_t text[2048] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, sizeof text / sizeof *text,
                             reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kDeadlineMs, &length)) {
        return std::wstring();
    }
    return text;
}

std::wstring DialogItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item ? ControlText(item) : std::wstring();
}

LRESULT AskItem(HWND dialog, int id, UINT message, WPARAM w, LPARAM l) {
    DWORD_PTR result = static_cast<DWORD_PTR>(-1);
    HWND item = GetDlgItem(dialog, id);
    if (!item) return -1;
    if (!SendMessageTimeoutW(item, message, w, l, SMTO_NORMAL, kDeadlineMs, &result)) return -1;
    return static_cast<LRESULT>(result);
}

std::vector<std::string> ComboItems(HWND combo) {
    // The wide messages: across processes Wine answers CB_GETLBTEXT of the
    // ANSI kind with wide text.
    std::vector<std::string> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0 || length >= static_cast<LRESULT>(sizeof text / sizeof *text)) {
            items.push_back("(bad length)");
            continue;
        }
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(Narrow(text));
    }
    return items;
}

bool PostClick(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return button && PostMessageW(button, BM_CLICK, 0, 0);
}

bool PostKey(HWND window, UINT virtualKey) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    const LPARAM up = down | (1L << 30) | (1L << 31);
    return PostMessageW(window, WM_KEYDOWN, virtualKey, down) &&
           PostMessageW(window, WM_KEYUP, virtualKey, up);
}

HWND FocusOf(const Program& program) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(program.ThreadId(), &info)) return nullptr;
    return info.hwndFocus;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length, nullptr,
                        nullptr);
    return narrow;
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

}  // namespace remote
