// The system services on real Windows: the ANSI entry points, local machine.
#pragma once

// windows.h and winspool.h before the interface, which undoes the A/W
// macros that carry its method names.
#include <windows.h>
#include <winspool.h>

#include <string>

#include "SystemServices.h"

namespace win32 {

// The spooler's file, loaded from the system folder only: winspool.drv is
// not a known DLL, so a plain import would be resolved from the program's
// folder first (DLL planting).
constexpr const char* kSpoolerFile = "winspool.drv";

class Win32Services : public engine::ISystemServices {
public:
    // `spoolerFile` is a file name in the system folder; tests name another
    // file to see how the calls fail when entry points are missing.
    explicit Win32Services(const char* spoolerFile = kSpoolerFile);
    ~Win32Services() override;
    Win32Services(const Win32Services&) = delete;
    Win32Services& operator=(const Win32Services&) = delete;

    // The loaded spooler module, null when it could not be loaded.
    HMODULE SpoolerModule() const { return m_spooler; }

    uint32_t LastError() override;
    std::string ErrorText(uint32_t code) override;

    bool GetPrinterDriverDirectory(const std::string& environment, char* buffer, uint32_t size,
                                   uint32_t* needed) override;
    bool AddPrinterDriver(const engine::DriverInfo3& info) override;
    engine::PrinterHandle AddPrinter(const engine::PrinterInfo2& info) override;
    void ClosePrinter(engine::PrinterHandle printer) override;
    bool EnumPorts(std::vector<engine::PortEntry>& ports) override;
    bool EnumMonitors(std::vector<engine::MonitorEntry>& monitors) override;
    bool ConfigurePort(engine::WindowHandle owner, const std::string& portName) override;
    bool AddPort(engine::WindowHandle owner, const std::string& monitorName) override;

    bool CopyFile(const std::string& source, const std::string& destination) override;
    bool DirectoryExists(const std::string& path) override;
    std::string CurrentDirectory() override;
    std::string ProgramFolder() override;

    long RegOpenKey(engine::RegRoot root, const std::string& subKey, engine::RegKey* key) override;
    long RegSetString(engine::RegKey key, const std::string& valueName,
                      const std::string& data) override;
    void RegCloseKey(engine::RegKey key) override;

    bool GetVersionEx(uint32_t recordSize, engine::OsVersion* version) override;
    engine::Wow64Answer IsWow64Process() override;
    engine::NativeMachineAnswer IsWow64Process2() override;
    void Sleep(uint32_t milliseconds) override;
    void DebugOutput(const std::string& text) override;

    void ShowMessage(const std::string& text, engine::TextEncoding encoding) override;
    void BroadcastDefaultPrinterChange() override;
    void ShowHelp(const std::string& helpFile, uint32_t topic) override;

private:
    // The spooler entry points used, each null when missing.
    struct Spooler {
        decltype(&::GetPrinterDriverDirectoryA) getPrinterDriverDirectory = nullptr;
        decltype(&::AddPrinterDriverA) addPrinterDriver = nullptr;
        decltype(&::AddPrinterA) addPrinter = nullptr;
        decltype(&::ClosePrinter) closePrinter = nullptr;
        decltype(&::EnumPortsA) enumPorts = nullptr;
        decltype(&::EnumMonitorsA) enumMonitors = nullptr;
        decltype(&::ConfigurePortA) configurePort = nullptr;
        decltype(&::AddPortA) addPort = nullptr;
    };

    // Records GetLastError() of the call that just failed.
    void Failed();
    void Failed(DWORD error);
    // True when the entry point is there; otherwise records why it is not
    // (the module's load error, or ERROR_PROC_NOT_FOUND).
    bool Have(bool present);

    HMODULE m_spooler = nullptr;
    DWORD m_loadError = 0;  // why the module could not be loaded
    Spooler m_fn;
    DWORD m_lastError = 0;
};

}  // namespace win32
