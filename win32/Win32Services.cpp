#include "Win32Services.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ProcAddress.h"
#include "DllSearch.h"
#include "ProgramTitle.h"

namespace win32 {
namespace {

constexpr DWORD kPortLevel = 2;     // PORT_INFO_2
constexpr DWORD kMonitorLevel = 1;  // MONITOR_INFO_1
constexpr DWORD kDriverLevel = 3;   // DRIVER_INFO_3
constexpr DWORD kPrinterLevel = 2;  // PRINTER_INFO_2
constexpr DWORD kDirectoryLevel = 1;
constexpr UINT kBroadcastTimeoutMs = 1000;
constexpr UINT kChineseCodePage = 936;

// The spooler's interface takes non-const text pointers it never writes.
char* Text(const std::string& text) { return const_cast<char*>(text.c_str()); }

HKEY RootKey(engine::RegRoot root) {
    return root == engine::RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

std::wstring Widen(const std::string& text, UINT codePage) {
    if (text.empty()) return std::wstring();
    int count = static_cast<int>(text.size());
    int wide = MultiByteToWideChar(codePage, 0, text.data(), count, nullptr, 0);
    if (wide <= 0) return std::wstring();
    std::wstring result(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), count, &result[0], wide);
    return result;
}

}  // namespace

Win32Services::Win32Services(const char* spoolerFile) {
    m_spooler = LoadSystemLibrary(spoolerFile);
    if (!m_spooler) m_loadError = GetLastError();
    if (!m_spooler && m_loadError == 0) m_loadError = ERROR_MOD_NOT_FOUND;

    m_fn.getPrinterDriverDirectory =
        ProcAddress<decltype(m_fn.getPrinterDriverDirectory)>(m_spooler, "GetPrinterDriverDirectoryA");
    m_fn.addPrinterDriver = ProcAddress<decltype(m_fn.addPrinterDriver)>(m_spooler, "AddPrinterDriverA");
    m_fn.addPrinter = ProcAddress<decltype(m_fn.addPrinter)>(m_spooler, "AddPrinterA");
    m_fn.closePrinter = ProcAddress<decltype(m_fn.closePrinter)>(m_spooler, "ClosePrinter");
    m_fn.enumPorts = ProcAddress<decltype(m_fn.enumPorts)>(m_spooler, "EnumPortsA");
    m_fn.enumMonitors = ProcAddress<decltype(m_fn.enumMonitors)>(m_spooler, "EnumMonitorsA");
    m_fn.configurePort = ProcAddress<decltype(m_fn.configurePort)>(m_spooler, "ConfigurePortA");
    m_fn.addPort = ProcAddress<decltype(m_fn.addPort)>(m_spooler, "AddPortA");
}

Win32Services::~Win32Services() {
    if (m_spooler) FreeLibrary(m_spooler);
}

void Win32Services::Failed() { m_lastError = GetLastError(); }

void Win32Services::Failed(DWORD error) { m_lastError = error; }

bool Win32Services::Have(bool present) {
    if (present) return true;
    DWORD error = m_spooler ? ERROR_PROC_NOT_FOUND : m_loadError;
    Failed(error);
    SetLastError(error);
    return false;
}

// --- Errors

uint32_t Win32Services::LastError() { return m_lastError; }

std::string Win32Services::ErrorText(uint32_t code) {
    char* text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result;
    if (length != 0 && text) result.assign(text, length);
    if (text) LocalFree(text);
    // The texts end in a period and a line break; the caller puts them into
    // a sentence of its own.
    while (!result.empty() && std::strchr("\r\n. ", result.back()) && result.back() != '\0') {
        result.pop_back();
    }
    if (result.empty()) result = "error " + std::to_string(code);
    return result;
}

// --- Spooler

bool Win32Services::GetPrinterDriverDirectory(const std::string& environment, char* buffer,
                                              uint32_t size, uint32_t* needed) {
    if (!Have(m_fn.getPrinterDriverDirectory)) return false;
    DWORD got = 0;
    // An empty name asks for the caller's own environment.
    char* env = environment.empty() ? nullptr : Text(environment);
    BOOL ok = m_fn.getPrinterDriverDirectory(nullptr, env, kDirectoryLevel,
                                             reinterpret_cast<LPBYTE>(buffer), size, &got);
    if (!ok) Failed();
    if (needed) *needed = got;
    return ok != FALSE;
}

bool Win32Services::AddPrinterDriver(const engine::DriverInfo3& info) {
    if (!Have(m_fn.addPrinterDriver)) return false;
    // The list must end in an empty entry; the string's own terminator
    // supplies the second NUL once the data ends in one.
    std::string dependentFiles = info.pDependentFiles;
    if (dependentFiles.empty() || dependentFiles.back() != '\0') dependentFiles.push_back('\0');

    DRIVER_INFO_3A record = {};
    record.cVersion = info.cVersion;
    record.pName = Text(info.pName);
    record.pEnvironment = Text(info.pEnvironment);
    record.pDriverPath = Text(info.pDriverPath);
    record.pDataFile = Text(info.pDataFile);
    record.pConfigFile = Text(info.pConfigFile);
    record.pHelpFile = Text(info.pHelpFile);
    record.pDependentFiles = &dependentFiles[0];
    record.pMonitorName = Text(info.pMonitorName);
    record.pDefaultDataType = Text(info.pDefaultDataType);
    BOOL ok = m_fn.addPrinterDriver(nullptr, kDriverLevel, reinterpret_cast<LPBYTE>(&record));
    if (!ok) Failed();
    return ok != FALSE;
}

engine::PrinterHandle Win32Services::AddPrinter(const engine::PrinterInfo2& info) {
    if (!Have(m_fn.addPrinter)) return 0;
    // Every text is passed as a pointer, never null: Wine's spooler crashes
    // on a null port name.
    PRINTER_INFO_2A record = {};
    record.pPrinterName = Text(info.pPrinterName);
    record.pPortName = Text(info.pPortName);
    record.pDriverName = Text(info.pDriverName);
    record.pPrintProcessor = Text(info.pPrintProcessor);
    record.pDatatype = Text(info.pDatatype);
    HANDLE printer = m_fn.addPrinter(nullptr, kPrinterLevel, reinterpret_cast<LPBYTE>(&record));
    if (!printer) Failed();
    return reinterpret_cast<engine::PrinterHandle>(printer);
}

void Win32Services::ClosePrinter(engine::PrinterHandle printer) {
    if (printer == 0 || !Have(m_fn.closePrinter)) return;
    if (!m_fn.closePrinter(reinterpret_cast<HANDLE>(printer))) Failed();
}

namespace {

// The spooler's enumerations, the two-call way: the first call only learns
// the size (its failure for want of a buffer is the expected answer), the
// second gets a buffer of exactly that size. The entries it reports are
// kept even when it fails; a count that does not fit the buffer reports none.
template <class Entry, class EnumFn>
BOOL EnumTwoCalls(EnumFn enumerate, DWORD level, std::vector<BYTE>& buffer, const Entry** entries,
                  DWORD* count) {
    DWORD needed = 0;
    *count = 0;
    enumerate(nullptr, level, nullptr, 0, &needed, count);

    buffer.assign(needed, 0);
    DWORD stillNeeded = 0;
    *count = 0;
    BOOL ok = enumerate(nullptr, level, buffer.empty() ? nullptr : buffer.data(), needed, &stillNeeded, count);
    if (static_cast<size_t>(*count) * sizeof(Entry) > buffer.size()) *count = 0;
    *entries = reinterpret_cast<const Entry*>(buffer.data());
    return ok;
}

}  // namespace

bool Win32Services::EnumPorts(std::vector<engine::PortEntry>& ports) {
    ports.clear();
    if (!Have(m_fn.enumPorts)) return false;
    std::vector<BYTE> buffer;
    const PORT_INFO_2A* entries = nullptr;
    DWORD count = 0;
    BOOL ok = EnumTwoCalls(m_fn.enumPorts, kPortLevel, buffer, &entries, &count);
    if (!ok) Failed();
    for (DWORD i = 0; i < count; ++i) {
        engine::PortEntry entry;
        if (entries[i].pPortName) entry.name = entries[i].pPortName;
        if (entries[i].pDescription) entry.description = entries[i].pDescription;
        ports.push_back(entry);
    }
    return ok != FALSE;
}

bool Win32Services::EnumMonitors(std::vector<engine::MonitorEntry>& monitors) {
    monitors.clear();
    if (!Have(m_fn.enumMonitors)) return false;
    std::vector<BYTE> buffer;
    const MONITOR_INFO_1A* entries = nullptr;
    DWORD count = 0;
    BOOL ok = EnumTwoCalls(m_fn.enumMonitors, kMonitorLevel, buffer, &entries, &count);
    if (!ok) Failed();
    for (DWORD i = 0; i < count; ++i) {
        engine::MonitorEntry entry;
        if (entries[i].pName) {
            entry.hasName = true;
            entry.name = entries[i].pName;
        }
        monitors.push_back(entry);
    }
    return ok != FALSE;
}

bool Win32Services::ConfigurePort(engine::WindowHandle owner, const std::string& portName) {
    if (!Have(m_fn.configurePort)) return false;
    BOOL ok = m_fn.configurePort(nullptr, reinterpret_cast<HWND>(owner), Text(portName));
    if (!ok) Failed();
    return ok != FALSE;
}

bool Win32Services::AddPort(engine::WindowHandle owner, const std::string& monitorName) {
    if (!Have(m_fn.addPort)) return false;
    BOOL ok = m_fn.addPort(nullptr, reinterpret_cast<HWND>(owner), Text(monitorName));
    if (!ok) Failed();
    return ok != FALSE;
}

// --- Files

bool Win32Services::CopyFile(const std::string& source, const std::string& destination) {
    BOOL ok = CopyFileA(source.c_str(), destination.c_str(), FALSE);
    if (!ok) Failed();
    return ok != FALSE;
}

bool Win32Services::DirectoryExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        Failed();
        return false;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Win32Services::CurrentDirectory() {
    // The size may change between the two calls if another thread moves
    // the current directory; ask again then.
    for (;;) {
        DWORD size = GetCurrentDirectoryA(0, nullptr);
        if (size == 0) {
            Failed();
            return std::string();
        }
        std::vector<char> buffer(size);
        DWORD length = GetCurrentDirectoryA(size, buffer.data());
        if (length == 0) {
            Failed();
            return std::string();
        }
        if (length < size) return std::string(buffer.data(), length);
    }
}

std::string Win32Services::ProgramFolder() {
    // GetModuleFileNameA truncates when the buffer is too small and then
    // returns the buffer's size: grow until the path fits.
    constexpr size_t kLongestPath = 32768;
    std::vector<char> buffer(MAX_PATH);
    DWORD length = 0;
    for (;;) {
        length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            Failed();
            return std::string();
        }
        if (length < buffer.size() || buffer.size() >= kLongestPath) break;
        buffer.resize(buffer.size() * 2);
    }
    std::string path(buffer.data(), length);
    size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos) return std::string();
    path.erase(slash);
    if (path.size() == 2 && path[1] == ':') path += '\\';  // a drive root keeps its backslash
    return path;
}

// --- Registry

long Win32Services::RegOpenKey(engine::RegRoot root, const std::string& subKey,
                               engine::RegKey* key) {
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExA(RootKey(root), subKey.c_str(), 0, KEY_SET_VALUE, &opened);
    if (result != ERROR_SUCCESS) {
        Failed(static_cast<DWORD>(result));
        opened = nullptr;
    }
    if (key) *key = reinterpret_cast<engine::RegKey>(opened);
    return result;
}

long Win32Services::RegSetString(engine::RegKey key, const std::string& valueName,
                                 const std::string& data) {
    LONG result = RegSetValueExA(reinterpret_cast<HKEY>(key), valueName.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>(data.size() + 1));
    if (result != ERROR_SUCCESS) Failed(static_cast<DWORD>(result));
    return result;
}

void Win32Services::RegCloseKey(engine::RegKey key) {
    if (key == 0) return;
    LONG result = ::RegCloseKey(reinterpret_cast<HKEY>(key));
    if (result != ERROR_SUCCESS) Failed(static_cast<DWORD>(result));
}

// --- Kernel

bool Win32Services::GetVersionEx(uint32_t recordSize, engine::OsVersion* version) {
    // The record is zero-filled and at least as large as OSVERSIONINFOEXA,
    // whatever size it claims: the system reads the claim, never beyond.
    size_t bytes = std::max<size_t>(recordSize, sizeof(OSVERSIONINFOEXA));
    std::vector<DWORD> record((bytes + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
    auto* info = reinterpret_cast<OSVERSIONINFOA*>(record.data());
    info->dwOSVersionInfoSize = recordSize;
    if (!GetVersionExA(info)) {
        Failed();
        return false;
    }
    if (version) {
        version->dwPlatformId = info->dwPlatformId;
        version->dwMajorVersion = info->dwMajorVersion;
        version->dwMinorVersion = info->dwMinorVersion;
    }
    return true;
}

engine::Wow64Answer Win32Services::IsWow64Process() {
    // By name: Windows XP before SP2 and the 9x family lack it.
    using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64 = ProcAddress<Fn>(GetModuleHandleA("kernel32"), "IsWow64Process");
    engine::Wow64Answer answer;
    if (!isWow64) return answer;
    answer.functionExists = true;
    BOOL flag = 0;
    if (!isWow64(GetCurrentProcess(), &flag)) Failed();
    answer.flag = flag;
    return answer;
}

engine::NativeMachineAnswer Win32Services::IsWow64Process2() {
    // Windows 10 1709 and later only.
    using Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    auto isWow64 = ProcAddress<Fn>(GetModuleHandleA("kernel32"), "IsWow64Process2");
    engine::NativeMachineAnswer answer;
    if (!isWow64) return answer;
    answer.functionExists = true;
    USHORT processMachine = 0;
    USHORT nativeMachine = 0;
    if (isWow64(GetCurrentProcess(), &processMachine, &nativeMachine)) {
        answer.succeeded = true;
        answer.nativeMachine = nativeMachine;
    } else {
        Failed();
    }
    return answer;
}

void Win32Services::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

void Win32Services::DebugOutput(const std::string& text) { OutputDebugStringA(text.c_str()); }

// --- Shell

void Win32Services::ShowMessage(const std::string& text, engine::TextEncoding encoding) {
    // The Chinese texts are converted from code page 936 whatever the ANSI
    // code page is; MessageBoxA would show them garbled elsewhere.
    std::wstring wide;
    if (encoding == engine::TextEncoding::Cp936) wide = Widen(text, kChineseCodePage);
    if (wide.empty()) wide = Widen(text, CP_ACP);
    std::wstring title = ProgramTitle();
    if (!MessageBoxW(GetActiveWindow(), wide.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION)) {
        Failed();
    }
}

void Win32Services::BroadcastDefaultPrinterChange() {
    // The wide form: Wine 8 garbles the text of an ANSI broadcast, and the
    // system converts the wide one for ANSI windows itself. A hung window
    // must not hold up the installer.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                             reinterpret_cast<LPARAM>(L"windows"), SMTO_ABORTIFHUNG,
                             kBroadcastTimeoutMs, &result)) {
        Failed();
    }
}

void Win32Services::ShowHelp(const std::string& helpFile, uint32_t topic) {
    if (!WinHelpA(GetActiveWindow(), helpFile.c_str(), HELP_CONTEXT, topic)) Failed();
}

}  // namespace win32
