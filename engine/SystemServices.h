// The operations the installer needs from Windows, in the engine's own plain
// types. The Win32 implementation calls the real ANSI entry points for the
// local machine; native tests use a recording fake.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// windows.h maps several of these method names to their A/W forms; the
// interface is the same in every file whatever was included before it.
#undef AddPort
#undef AddPrinter
#undef AddPrinterDriver
#undef ConfigurePort
#undef CopyFile
#undef EnumMonitors
#undef EnumPorts
#undef GetPrinterDriverDirectory
#undef GetVersionEx
#undef RegOpenKey

namespace engine {

// Win32 error codes the engine looks at by value.
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kErrorPrinterAlreadyExists = 1802;

// Opaque handles. 0 means "none".
using PrinterHandle = uintptr_t;
using RegKey = uintptr_t;
using WindowHandle = uintptr_t;

enum class RegRoot { CurrentUser, LocalMachine };

// Text encodings of message texts handed to ShowMessage.
enum class TextEncoding {
    Ansi,   // the system's ANSI code page (paths, system error texts)
    Cp936,  // the program's Chinese texts, whatever the system code page
};

// DRIVER_INFO_3 with plain strings. `dependentFiles` is the raw buffer:
// NUL-terminated entries closed by an empty one, embedded NULs kept.
struct DriverInfo3 {
    uint32_t cVersion = 0;
    std::string pName;
    std::string pEnvironment;
    std::string pDriverPath;
    std::string pDataFile;
    std::string pConfigFile;
    std::string pHelpFile;
    std::string pDependentFiles;
    std::string pMonitorName;
    std::string pDefaultDataType;
};

// The fields of PRINTER_INFO_2 the installer sets; all others are zero.
struct PrinterInfo2 {
    std::string pPrinterName;
    std::string pPortName;
    std::string pDriverName;
    std::string pPrintProcessor;
    std::string pDatatype;
};

// One PORT_INFO_2 entry; a null pointer reads as empty text.
struct PortEntry {
    std::string name;
    std::string description;
};

// One MONITOR_INFO_1 entry; the spooler may give a null name.
struct MonitorEntry {
    bool hasName = false;
    std::string name;
};

// What GetVersionExA filled in.
struct OsVersion {
    uint32_t dwPlatformId = 0;
    uint32_t dwMajorVersion = 0;
    uint32_t dwMinorVersion = 0;
};

// IsWow64Process, looked up by name at run time.
struct Wow64Answer {
    bool functionExists = false;
    int flag = 0;  // the BOOL out value, preset to 0
};

// IsWow64Process2, where the system has it.
struct NativeMachineAnswer {
    bool functionExists = false;
    bool succeeded = false;
    uint16_t nativeMachine = 0;  // IMAGE_FILE_MACHINE_* of the system
};

class ISystemServices {
public:
    virtual ~ISystemServices() = default;

    // --- Errors
    // GetLastError() right after the last failing call.
    virtual uint32_t LastError() = 0;
    // The system's own text for an error code, in the ANSI code page,
    // without a trailing line break.
    virtual std::string ErrorText(uint32_t code) = 0;

    // --- Spooler (local machine)
    // GetPrinterDriverDirectoryA level 1 into `buffer` of `size` bytes.
    virtual bool GetPrinterDriverDirectory(const std::string& environment, char* buffer,
                                           uint32_t size, uint32_t* needed) = 0;
    virtual bool AddPrinterDriver(const DriverInfo3& info) = 0;
    // AddPrinterA level 2; 0 on failure.
    virtual PrinterHandle AddPrinter(const PrinterInfo2& info) = 0;
    virtual void ClosePrinter(PrinterHandle printer) = 0;
    // EnumPortsA level 2 / EnumMonitorsA level 1, the two-call way. False
    // when the second call failed; the entries it reported are kept.
    virtual bool EnumPorts(std::vector<PortEntry>& ports) = 0;
    virtual bool EnumMonitors(std::vector<MonitorEntry>& monitors) = 0;
    // The monitors' own dialogs.
    virtual bool ConfigurePort(WindowHandle owner, const std::string& portName) = 0;
    virtual bool AddPort(WindowHandle owner, const std::string& monitorName) = 0;

    // --- Files
    // CopyFileA with overwrite.
    virtual bool CopyFile(const std::string& source, const std::string& destination) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // Full path of the current directory, without a trailing backslash
    // (except for a drive root).
    virtual std::string CurrentDirectory() = 0;
    // Full path of the folder that holds the program file.
    virtual std::string ProgramFolder() = 0;

    // --- Registry
    // RegOpenKeyExA with KEY_SET_VALUE; returns the error code, 0 = opened.
    virtual long RegOpenKey(RegRoot root, const std::string& subKey, RegKey* key) = 0;
    // RegSetValueExA REG_SZ, byte count including the terminating NUL.
    virtual long RegSetString(RegKey key, const std::string& valueName,
                              const std::string& data) = 0;
    virtual void RegCloseKey(RegKey key) = 0;

    // --- Kernel
    // GetVersionExA with a zero-filled record whose size field is `recordSize`
    // (156 for OSVERSIONINFOEXA, 148 for OSVERSIONINFOA).
    virtual bool GetVersionEx(uint32_t recordSize, OsVersion* version) = 0;
    virtual Wow64Answer IsWow64Process() = 0;
    virtual NativeMachineAnswer IsWow64Process2() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    virtual void DebugOutput(const std::string& text) = 0;

    // --- Shell
    // A message box with only an OK button, the exclamation icon and the
    // program's title; waits for OK.
    virtual void ShowMessage(const std::string& text, TextEncoding encoding) = 0;
    // Tells running programs that the default printer changed.
    virtual void BroadcastDefaultPrinterChange() = 0;
    // The system's help viewer: a topic in a help file.
    virtual void ShowHelp(const std::string& helpFile, uint32_t topic) = 0;
};

}  // namespace engine
