#include "Install.h"

#include <cstring>
#include <vector>

namespace engine {

const InstallTarget kTargetX86 = {"Windows NT x86", "x86"};
const InstallTarget kTargetX64 = {"Windows x64", "x64"};

std::string g_strPortName;

const char* const kDefaultPrinterKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char* const kDefaultPrinterValue = "Device";
const char* const kPortsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
// Code page 936 bytes of "错误：无法设置有关的注册表信息"
// ("Error: the registry information concerned cannot be set").
const char* const kRegistryErrorText =
    "\xb4\xed\xce\xf3\xa3\xba\xce\xde\xb7\xa8\xc9\xe8\xd6\xc3\xd3\xd0"
    "\xb9\xd8\xb5\xc4\xd7\xa2\xb2\xe1\xb1\xed\xd0\xc5\xcf\xa2";

namespace {

// Progress reported after each copy, in copy order; 0 reports nothing.
constexpr int kProgressAfterCopy[kDriverFileCount] = {10, 20, 30, 0, 40, 0, 50, 60};

// Joins without doubling the backslash of a drive root such as "C:\".
std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

InstallOutcome Failure(ISystemServices& sys, InstallStep step, const std::string& subject,
                       uint32_t error) {
    InstallOutcome outcome;
    outcome.step = step;
    outcome.subject = subject;
    outcome.error = error;
    outcome.errorText = error != 0 ? sys.ErrorText(error) : "the call failed without an error code";
    return outcome;
}

// Fills `directory`, or gives the failure. Never accepts a truncated or empty
// path: file names appended to an empty one would point at the drive root.
bool QueryDriverDirectory(ISystemServices& sys, const InstallTarget& target,
                          std::string& directory, InstallOutcome& failure) {
    std::vector<char> buffer(kDriverDirectorySize, '\0');
    uint32_t needed = 0;
    if (!sys.GetPrinterDriverDirectory(target.pszEnvironment, buffer.data(),
                                       static_cast<uint32_t>(buffer.size()), &needed)) {
        failure = Failure(sys, InstallStep::DriverDirectory, target.pszEnvironment,
                          sys.LastError());
        return false;
    }
    if (std::memchr(buffer.data(), '\0', buffer.size()) == nullptr) {
        failure = Failure(sys, InstallStep::DriverDirectory, target.pszEnvironment,
                          kErrorInsufficientBuffer);
        return false;
    }
    directory = buffer.data();
    if (directory.empty()) {
        failure = InstallOutcome();
        failure.step = InstallStep::DriverDirectory;
        failure.subject = target.pszEnvironment;
        failure.errorText = "the spooler gave an empty path";
        return false;
    }
    return true;
}

// A key that cannot be opened and a value that cannot be set show the same
// message; neither stops the installation. True when the value was written.
bool WriteRegistryValue(ISystemServices& sys, RegRoot root, const char* subKey,
                        const std::string& valueName, const std::string& data) {
    RegKey key = 0;
    if (sys.RegOpenKey(root, subKey, &key) != 0) {
        sys.ShowMessage(kRegistryErrorText, TextEncoding::Cp936);
        return false;
    }
    const bool written = sys.RegSetString(key, valueName, data) == 0;
    if (!written) sys.ShowMessage(kRegistryErrorText, TextEncoding::Cp936);
    sys.RegCloseKey(key);
    return written;
}

// Names the first input outside its table, or null when all fit.
const char* InvalidSetting(int modelRow, const SerialSettings& serial) {
    const struct {
        int index;
        size_t count;
        const char* what;
    } inputs[] = {
        {modelRow, kModelCount, "no printer model is selected"},
        {serial.nPort, kPortCount, "no port is selected"},
        {serial.nBaud, sizeof BaudRateTexts / sizeof *BaudRateTexts, "no baud rate is selected"},
        {serial.nDataBits, sizeof DataBitsTexts / sizeof *DataBitsTexts, "no data bits are selected"},
        {serial.nStopBits, sizeof StopBitsTexts / sizeof *StopBitsTexts, "no stop bits are selected"},
        {serial.nParity, sizeof ParityLetters / sizeof *ParityLetters, "no parity is selected"},
        {serial.nFlow, sizeof FlowLetters / sizeof *FlowLetters, "no flow control is selected"},
    };
    for (const auto& input : inputs) {
        if (input.index < 0 || static_cast<size_t>(input.index) >= input.count) return input.what;
    }
    return nullptr;
}

}  // namespace

std::string InstallOutcome::Message() const {
    std::string reason = errorText;
    if (error != 0) reason += " (error " + std::to_string(error) + ")";
    switch (step) {
    case InstallStep::None:
        return succeeded ? "The printer driver was installed." : "The installation did not run.";
    case InstallStep::Settings:
        return "Nothing was installed: " + subject + ".";
    case InstallStep::DriverDirectory:
        return "Could not get the printer driver directory for \"" + subject + "\": " + reason;
    case InstallStep::CopyFile:
        return "Could not copy the driver file \"" + subject + "\" to \"" + destination +
               "\": " + reason;
    case InstallStep::RegisterDriver:
        return "Could not register the printer driver \"" + subject + "\": " + reason;
    case InstallStep::CreatePrinter:
        return "Could not create the printer \"" + subject + "\": " + reason;
    }
    return reason;
}

std::string DriverFileName(const DriverFile& file, const PrinterModel& model) {
    if (file.pszFileName != nullptr) return file.pszFileName;
    return std::string(file.fromResDll ? model.pszResDllName : model.pszGpdName) +
           file.pszExtension;
}

std::string RegisteredFileName(const DriverFile& file, const PrinterModel& model) {
    if (file.pszRegisteredName != nullptr) return file.pszRegisteredName;
    // The model's GPD file is registered with a leading backslash, its
    // resource DLL without one.
    const std::string name = DriverFileName(file, model);
    return file.role == DriverFileRole::DataFile ? "\\" + name : name;
}

DriverInfo3 MakeDriverInfo(const PrinterModel& model, const InstallTarget& target) {
    DriverInfo3 info;
    info.cVersion = 2;
    info.pName = model.pszDriverName;
    info.pEnvironment = target.pszEnvironment;
    std::string dependents[kDriverFileCount];
    for (const DriverFile& file : DriverFiles) {
        const std::string name = RegisteredFileName(file, model);
        switch (file.role) {
        case DriverFileRole::DriverPath: info.pDriverPath = name; break;
        case DriverFileRole::DataFile: info.pDataFile = name; break;
        case DriverFileRole::ConfigFile: info.pConfigFile = name; break;
        case DriverFileRole::HelpFile: info.pHelpFile = name; break;
        case DriverFileRole::DependentFile: dependents[file.nDependentIndex] = name; break;
        }
    }
    for (const std::string& name : dependents) {
        if (!name.empty()) info.pDependentFiles += name + '\0';
    }
    // The rest of the buffer stays zero, which also closes the list.
    info.pDependentFiles.resize(kDependentFilesSize, '\0');
    info.pMonitorName = "";
    info.pDefaultDataType = "RAW";
    return info;
}

PrinterInfo2 MakePrinterInfo(const PrinterModel& model, const std::string& portName) {
    PrinterInfo2 info;
    info.pPrinterName = model.pszDriverName;
    info.pPortName = portName;
    info.pDriverName = model.pszDriverName;
    info.pPrintProcessor = "WinPrint";
    info.pDatatype = "RAW";
    return info;
}

std::string DefaultPrinterData(const PrinterModel& model, const std::string& portName) {
    return std::string(model.pszDriverName) + ",winspool," + portName;
}

std::string PortSettingsData(const SerialSettings& serial) {
    // Baud, parity, data bits, stop bits, flow: not the order of the combo boxes.
    return std::string(BaudRateTexts[serial.nBaud]) + "," + ParityLetters[serial.nParity] + "," +
           DataBitsTexts[serial.nDataBits] + "," + StopBitsTexts[serial.nStopBits] + "," +
           FlowLetters[serial.nFlow];
}

std::string SourceBaseFolder(ISystemServices& sys, const InstallTarget& target) {
    const std::string current = sys.CurrentDirectory();
    if (sys.DirectoryExists(JoinPath(current, target.pszFolder))) return current;
    // Started from elsewhere (for instance elevated, in the system folder).
    return sys.ProgramFolder();
}

InstallOutcome InstallDriver(ISystemServices& sys, const InstallTarget& target, int modelRow,
                             const SerialSettings& serial, bool setDefault,
                             const std::string& portName, const ProgressFn& progress) {
    const auto report = [&progress](int position) {
        if (progress) progress(position);
    };
    g_strPortName = portName;

    InstallOutcome outcome;
    // A combo box without a selection reads as -1.
    const char* invalid = InvalidSetting(modelRow, serial);
    if (invalid) {
        outcome.step = InstallStep::Settings;
        outcome.subject = invalid;
        return outcome;
    }
    const PrinterModel& model = ModelTable[modelRow];

    std::string directory;
    if (!QueryDriverDirectory(sys, target, directory, outcome)) return outcome;

    const std::string sourceFolder = JoinPath(SourceBaseFolder(sys, target), target.pszFolder);
    for (size_t i = 0; i < kDriverFileCount; ++i) {
        const std::string name = DriverFileName(DriverFiles[i], model);
        const std::string source = JoinPath(sourceFolder, name);
        const std::string destination = JoinPath(directory, name);
        if (!sys.CopyFile(source, destination)) {
            outcome = Failure(sys, InstallStep::CopyFile, source, sys.LastError());
            outcome.destination = destination;
            return outcome;
        }
        if (kProgressAfterCopy[i] != 0) report(kProgressAfterCopy[i]);
    }

    if (!sys.AddPrinterDriver(MakeDriverInfo(model, target))) {
        return Failure(sys, InstallStep::RegisterDriver, model.pszDriverName, sys.LastError());
    }
    report(70);

    // An existing printer of this name is kept: installing a model again
    // updates its driver. There is no handle to close then.
    const PrinterHandle printer = sys.AddPrinter(MakePrinterInfo(model, g_strPortName));
    if (printer == 0) {
        const uint32_t error = sys.LastError();
        if (error != kErrorPrinterAlreadyExists) {
            return Failure(sys, InstallStep::CreatePrinter, model.pszDriverName, error);
        }
    }
    report(80);

    if (setDefault && WriteRegistryValue(sys, RegRoot::CurrentUser, kDefaultPrinterKey,
                                         kDefaultPrinterValue,
                                         DefaultPrinterData(model, g_strPortName))) {
        sys.BroadcastDefaultPrinterChange();
    }
    report(90);

    if (serial.nPort >= kFirstSerialPort) {
        WriteRegistryValue(sys, RegRoot::LocalMachine, kPortsKey, PortValueNames[serial.nPort],
                           PortSettingsData(serial));
    }
    report(95);

    if (printer != 0) sys.ClosePrinter(printer);
    sys.Sleep(500);
    report(100);

    outcome.succeeded = true;
    return outcome;
}

}  // namespace engine
