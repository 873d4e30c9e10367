// A recording stand-in for the system: every call is logged in order as a
// readable line (and, where it matters, as structured data), and each call
// can be told to fail with a given error. Last-error behaves like Win32: a
// failing call sets it, a succeeding one leaves it alone.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Install.h"
#include "SystemServices.h"

namespace fake {

constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorUnknownPrinterDriver = 1797;
constexpr uint32_t kErrorInvalidEnvironment = 1805;

inline const char* RootName(engine::RegRoot root) {
    return root == engine::RegRoot::CurrentUser ? "HKCU" : "HKLM";
}

class FakeServices : public engine::ISystemServices {
public:
    // ---- What happened
    std::vector<std::string> calls;  // one readable line per call, in order
    std::vector<int> progress;       // positions reported through Progress()

    struct Copy {
        std::string source;
        std::string destination;
    };
    struct RegValue {
        std::string key;  // "HKCU\..." or "HKLM\..."
        std::string name;
        std::string data;
    };
    struct Message {
        std::string text;
        engine::TextEncoding encoding;
    };
    std::vector<std::string> driverDirectoryEnvironments;
    std::vector<uint32_t> driverDirectorySizes;
    bool driverDirectoryBufferZeroed = true;  // false once a query got a dirty buffer
    std::vector<Copy> copies;                 // attempted, in order
    std::vector<engine::DriverInfo3> drivers; // attempted registrations
    std::vector<engine::PrinterInfo2> printers;
    std::vector<RegValue> writtenValues;      // values that were set
    std::vector<Message> messages;
    std::vector<uint32_t> versionRecordSizes;

    // ---- How the system answers
    std::map<std::string, std::string> driverDirectories = {
        {"Windows NT x86", "C:\\windows\\system32\\spool\\drivers\\w32x86"},
        {"Windows x64", "C:\\windows\\system32\\spool\\drivers\\x64"},
    };
    uint32_t driverDirectoryError = 0;      // the query fails with this
    bool driverDirectoryWithoutNul = false; // succeeds but fills the buffer with no NUL
    std::string currentDirectory = "C:\\setup";
    std::string programFolder = "C:\\setup";
    std::set<std::string> directories = {"C:\\setup\\x86", "C:\\setup\\x64"};
    std::map<size_t, uint32_t> copyErrors;  // copy number (from 1) -> error
    uint32_t addDriverError = 0;
    uint32_t addPrinterError = 0;
    engine::PrinterHandle printerHandle = 0x5150;
    std::map<std::string, long> regOpenErrors;  // subkey -> error
    std::map<std::string, long> regSetErrors;   // value name -> error
    std::set<uint32_t> rejectedVersionSizes;
    engine::OsVersion version{2, 6, 1};
    engine::Wow64Answer wow64;
    engine::NativeMachineAnswer native;
    std::vector<engine::PortEntry> ports;
    std::vector<engine::MonitorEntry> monitors;

    engine::ProgressFn Progress() {
        return [this](int position) {
            progress.push_back(position);
            calls.push_back("Progress " + std::to_string(position));
        };
    }

    // Index of the first logged call equal to `call`, or calls.size().
    size_t IndexOf(const std::string& call) const {
        return static_cast<size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
    }
    bool Called(const std::string& call) const { return IndexOf(call) < calls.size(); }
    // Number of logged calls that begin with `prefix`.
    size_t CountCalls(const std::string& prefix) const {
        return static_cast<size_t>(std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
            return c.compare(0, prefix.size(), prefix) == 0;
        }));
    }

    // ---- ISystemServices
    uint32_t LastError() override {
        calls.push_back("LastError " + std::to_string(lastError_));
        return lastError_;
    }
    std::string ErrorText(uint32_t code) override {
        calls.push_back("ErrorText " + std::to_string(code));
        switch (code) {
        case engine::kErrorFileNotFound: return "The system cannot find the file specified.";
        case kErrorAccessDenied: return "Access is denied.";
        case kErrorInvalidParameter: return "The parameter is incorrect.";
        case engine::kErrorInsufficientBuffer:
            return "The data area passed to a system call is too small.";
        case kErrorUnknownPrinterDriver: return "The printer driver is unknown.";
        case kErrorInvalidEnvironment: return "The environment specified is invalid.";
        default: return "Unknown error " + std::to_string(code) + ".";
        }
    }

    bool GetPrinterDriverDirectory(const std::string& environment, char* buffer, uint32_t size,
                                   uint32_t* needed) override {
        calls.push_back("GetPrinterDriverDirectory " + environment + " " + std::to_string(size));
        driverDirectoryEnvironments.push_back(environment);
        driverDirectorySizes.push_back(size);
        if (std::any_of(buffer, buffer + size, [](char c) { return c != '\0'; })) {
            driverDirectoryBufferZeroed = false;
        }
        if (driverDirectoryError != 0) return Fail(driverDirectoryError);
        if (driverDirectoryWithoutNul) {
            std::memset(buffer, 'D', size);
            return true;
        }
        const auto found = driverDirectories.find(environment);
        if (found == driverDirectories.end()) return Fail(kErrorInvalidEnvironment);
        const std::string& path = found->second;
        *needed = static_cast<uint32_t>(path.size() + 1);
        if (path.size() + 1 > size) return Fail(engine::kErrorInsufficientBuffer);
        std::memcpy(buffer, path.c_str(), path.size() + 1);
        return true;
    }
    bool AddPrinterDriver(const engine::DriverInfo3& info) override {
        calls.push_back("AddPrinterDriver " + info.pName + " " + info.pEnvironment);
        drivers.push_back(info);
        return addDriverError == 0 || Fail(addDriverError);
    }
    engine::PrinterHandle AddPrinter(const engine::PrinterInfo2& info) override {
        calls.push_back("AddPrinter " + info.pPrinterName + " on " + info.pPortName);
        printers.push_back(info);
        if (addPrinterError != 0) {
            Fail(addPrinterError);
            return 0;
        }
        return printerHandle;
    }
    void ClosePrinter(engine::PrinterHandle printer) override {
        calls.push_back("ClosePrinter " + std::to_string(printer));
    }
    bool EnumPorts(std::vector<engine::PortEntry>& out) override {
        calls.push_back("EnumPorts");
        out = ports;
        return true;
    }
    bool EnumMonitors(std::vector<engine::MonitorEntry>& out) override {
        calls.push_back("EnumMonitors");
        out = monitors;
        return true;
    }
    bool ConfigurePort(engine::WindowHandle, const std::string& portName) override {
        calls.push_back("ConfigurePort " + portName);
        return true;
    }
    bool AddPort(engine::WindowHandle, const std::string& monitorName) override {
        calls.push_back("AddPort " + monitorName);
        return true;
    }

    bool CopyFile(const std::string& source, const std::string& destination) override {
        calls.push_back("CopyFile " + source + " -> " + destination);
        copies.push_back({source, destination});
        const auto error = copyErrors.find(copies.size());
        return error == copyErrors.end() || Fail(error->second);
    }
    bool DirectoryExists(const std::string& path) override {
        calls.push_back("DirectoryExists " + path);
        return directories.count(path) != 0;
    }
    std::string CurrentDirectory() override {
        calls.push_back("CurrentDirectory");
        return currentDirectory;
    }
    std::string ProgramFolder() override {
        calls.push_back("ProgramFolder");
        return programFolder;
    }

    long RegOpenKey(engine::RegRoot root, const std::string& subKey, engine::RegKey* key) override {
        const std::string path = std::string(RootName(root)) + "\\" + subKey;
        calls.push_back("RegOpenKey " + path);
        const auto error = regOpenErrors.find(subKey);
        if (error != regOpenErrors.end()) return error->second;
        *key = nextKey_++;
        openKeys_[*key] = path;
        return 0;
    }
    long RegSetString(engine::RegKey key, const std::string& valueName,
                      const std::string& data) override {
        const std::string path = KeyPath(key);
        calls.push_back("RegSetString " + path + " " + valueName + "=" + data);
        const auto error = regSetErrors.find(valueName);
        if (error != regSetErrors.end()) return error->second;
        writtenValues.push_back({path, valueName, data});
        return 0;
    }
    void RegCloseKey(engine::RegKey key) override {
        calls.push_back("RegCloseKey " + KeyPath(key));
        openKeys_.erase(key);
    }

    bool GetVersionEx(uint32_t recordSize, engine::OsVersion* out) override {
        calls.push_back("GetVersionEx " + std::to_string(recordSize));
        versionRecordSizes.push_back(recordSize);
        if (rejectedVersionSizes.count(recordSize) != 0) return Fail(kErrorInvalidParameter);
        *out = version;
        return true;
    }
    engine::Wow64Answer IsWow64Process() override {
        calls.push_back("IsWow64Process");
        return wow64;
    }
    engine::NativeMachineAnswer IsWow64Process2() override {
        calls.push_back("IsWow64Process2");
        return native;
    }
    void Sleep(uint32_t milliseconds) override {
        calls.push_back("Sleep " + std::to_string(milliseconds));
    }
    void DebugOutput(const std::string& text) override { calls.push_back("DebugOutput " + text); }

    void ShowMessage(const std::string& text, engine::TextEncoding encoding) override {
        calls.push_back(std::string("ShowMessage ") +
                        (encoding == engine::TextEncoding::Cp936 ? "cp936" : "ansi"));
        messages.push_back({text, encoding});
    }
    void BroadcastDefaultPrinterChange() override {
        calls.push_back("BroadcastDefaultPrinterChange");
    }
    void ShowHelp(const std::string& helpFile, uint32_t topic) override {
        calls.push_back("ShowHelp " + helpFile + " " + std::to_string(topic));
    }

    // Keys opened and not closed.
    size_t OpenKeyCount() const { return openKeys_.size(); }

private:
    bool Fail(uint32_t error) {
        lastError_ = error;
        return false;
    }
    std::string KeyPath(engine::RegKey key) const {
        const auto found = openKeys_.find(key);
        return found == openKeys_.end() ? "<key not open: " + std::to_string(key) + ">"
                                        : found->second;
    }

    uint32_t lastError_ = 0;
    engine::RegKey nextKey_ = 0x100;
    std::map<engine::RegKey, std::string> openKeys_;
};

}  // namespace fake
