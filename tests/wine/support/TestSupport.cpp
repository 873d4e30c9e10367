#include "TestSupport.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace testsupport {
namespace {

DialogCatcher* g_catcher = nullptr;  // one per test; dialogs run on its thread

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* seen = reinterpret_cast<DialogSeen*>(param);
    if (GetParent(child) == seen->hwnd) seen->controlIds.push_back(GetDlgCtrlID(child));
    return TRUE;
}

BOOL CALLBACK EndStalled(HWND window, LPARAM param) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (IsWindowVisible(window) && std::wstring(className) == L"#32770") {
        EndDialog(window, IDABORT);
        ++*reinterpret_cast<int*>(param);
    }
    return TRUE;
}

}  // namespace

ScratchFolder::ScratchFolder(const std::string& tag) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string base = temp;
    if (!base.empty() && base.back() == '\\') base.pop_back();
    for (unsigned attempt = 0;; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "\\%s-%lu-%u", tag.c_str(), GetCurrentProcessId(), attempt);
        m_path = base + name;
        if (CreateDirectoryA(m_path.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

ScratchFolder::~ScratchFolder() { RemoveTree(m_path); }

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

std::string ReadTextFile(const std::string& path, bool* ok) {
    if (ok) *ok = false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got != 0) text.append(chunk, got);
    CloseHandle(file);
    if (ok) *ok = true;
    return text;
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool EqualNoCase(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           EqualNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string SystemFolder() {
    char buffer[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
    return std::string(buffer, length < MAX_PATH ? length : 0);
}

std::string CurrentFolder() {
    char buffer[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return std::string(buffer, length < MAX_PATH ? length : 0);
}

std::string ProgramFile() {
    char buffer[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, length < MAX_PATH ? length : 0);
}

DialogCatcher::DialogCatcher(Step onInit, UINT watchdogMs) : m_onInit(std::move(onInit)) {
    g_catcher = this;
    m_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, HookProc, nullptr, GetCurrentThreadId());
    // A thread timer: the dialog's own modal loop dispatches it.
    m_timer = SetTimer(nullptr, 0, watchdogMs, Watchdog);
}

DialogCatcher::~DialogCatcher() {
    if (m_timer) KillTimer(nullptr, m_timer);
    if (m_hook) UnhookWindowsHookEx(m_hook);
    g_catcher = nullptr;
}

void DialogCatcher::Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring DialogCatcher::ControlText(HWND dialog, int id) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(dialog, id, text, 1024);
    return text;
}

LRESULT CALLBACK DialogCatcher::HookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_catcher) {
        const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (message->message == WM_INITDIALOG) {
            DialogSeen seen;
            seen.hwnd = message->hwnd;
            seen.owner = GetWindow(message->hwnd, GW_OWNER);
            wchar_t caption[256] = {};
            GetWindowTextW(message->hwnd, caption, 256);
            seen.caption = caption;
            EnumChildWindows(message->hwnd, CollectChild, reinterpret_cast<LPARAM>(&seen));
            g_catcher->m_seen.push_back(seen);
            if (g_catcher->m_onInit) g_catcher->m_onInit(message->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogCatcher::Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    if (g_catcher) EnumThreadWindows(GetCurrentThreadId(), EndStalled,
                                     reinterpret_cast<LPARAM>(&g_catcher->m_stalled));
}

int RunToEnd(const std::string& program, const std::string& arguments, const std::string& folder) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

}  // namespace testsupport
