// The installation itself: copy the driver files, register the driver,
// create the printer, write the registry values.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "SystemServices.h"
#include "Tables.h"

namespace engine {

struct InstallTarget {
    const char* pszEnvironment;  // spooler environment
    const char* pszFolder;       // source folder of this build's files
};

extern const InstallTarget kTargetX86;
extern const InstallTarget kTargetX64;

struct SerialSettings {
    int nPort = 0;      // PortValueNames
    int nBaud = 5;      // BaudRateTexts
    int nDataBits = 3;  // DataBitsTexts
    int nStopBits = 0;  // StopBitsTexts
    int nParity = 2;    // ParityLetters
    int nFlow = 2;      // FlowLetters
};

// The step at which an installation stopped.
enum class InstallStep { None, Settings, DriverDirectory, CopyFile, RegisterDriver, CreatePrinter };

struct InstallOutcome {
    bool succeeded = false;
    InstallStep step = InstallStep::None;
    std::string subject;      // the path or name involved (for a copy, the source)
    std::string destination;  // for a copy, where the file was to go
    uint32_t error = 0;       // the system's error code; 0 when the call gave none
    // The system's own text for `error`; for an answer that was wrong without
    // an error code (an empty driver directory), what was wrong with it.
    std::string errorText;
    // One line for the user, in the ANSI code page.
    std::string Message() const;
};

using ProgressFn = std::function<void(int)>;

// Port name of the last installation; empty until the first one.
extern std::string g_strPortName;

// Size of the buffers the spooler records are built in.
constexpr size_t kDriverDirectorySize = 255;
constexpr size_t kDependentFilesSize = 255;

// The registration record for a model row and target. Its pDependentFiles
// holds the whole zero-filled buffer, exactly kDependentFilesSize bytes, so
// the caller can hand .data() to the spooler as it is.
DriverInfo3 MakeDriverInfo(const PrinterModel& model, const InstallTarget& target);
// The printer record for a model row on a port.
PrinterInfo2 MakePrinterInfo(const PrinterModel& model, const std::string& portName);
// "name,winspool,port"
std::string DefaultPrinterData(const PrinterModel& model, const std::string& portName);
// "baud,parity,data,stop,flow"
std::string PortSettingsData(const SerialSettings& serial);
// The name one of the eight driver files has for a model, in its folders
// (source and driver directory alike).
std::string DriverFileName(const DriverFile& file, const PrinterModel& model);
// The name the driver registration gives that file.
std::string RegisteredFileName(const DriverFile& file, const PrinterModel& model);

// Registry locations and the message for a value that cannot be set (cp936).
extern const char* const kDefaultPrinterKey;   // under HKEY_CURRENT_USER
extern const char* const kDefaultPrinterValue; // "Device"
extern const char* const kPortsKey;            // under HKEY_LOCAL_MACHINE
extern const char* const kRegistryErrorText;

// The folder the source files are read from: the current directory when it
// holds the target's folder, otherwise the program's own folder.
std::string SourceBaseFolder(ISystemServices& sys, const InstallTarget& target);

// Runs the whole installation. Stops at the first failing step, which the
// outcome names; registry failures show a message and do not stop it.
InstallOutcome InstallDriver(ISystemServices& sys, const InstallTarget& target, int modelRow,
                             const SerialSettings& serial, bool setDefault,
                             const std::string& portName, const ProgressFn& progress);

}  // namespace engine
