// Fixed tables of the installer. A row index is the item index of the
// matching combo box on the settings page, so order matters.
#pragma once

#include <cstddef>
#include <cstdint>

namespace engine {

struct PrinterModel {
    const char* pszDriverName;   // registered driver and printer name
    const char* pszGpdName;      // base name of the model's .GPD file
    const char* pszResDllName;   // base name of the resource .DLL
    const char* pszDisplayText;  // scrambled; see Descramble
    uint16_t nDisplayKey;        // key for pszDisplayText
};

constexpr size_t kModelCount = 11;
constexpr int kDefaultModelRow = 5;
extern const PrinterModel ModelTable[kModelCount];

// Initial text of the settings page's Printer Name field, scrambled.
extern const char* const InitialPrinterNameText;
extern const uint16_t InitialPrinterNameKey;

constexpr size_t kPortCount = 7;
constexpr int kFirstSerialPort = 3;  // indexes 3 to 6 are COM1 to COM4
extern const char* const PortValueNames[kPortCount];

extern const char* const BaudRateTexts[9];
extern const char* const DataBitsTexts[4];
extern const char* const StopBitsTexts[3];
extern const char* const ParityLetters[5];
extern const char* const FlowLetters[3];

// How a driver file is named in the driver registration.
enum class DriverFileRole { DependentFile, DataFile, ConfigFile, DriverPath, HelpFile };

// One of the eight files every installation copies, in copy order.
struct DriverFile {
    // Fixed name, or null when the name comes from the model row:
    // then `fromResDll` picks pszResDllName (else pszGpdName) + `extension`.
    const char* pszFileName;
    bool fromResDll;
    const char* pszExtension;
    DriverFileRole role;
    const char* pszRegisteredName;  // for fixed names; null for model names
    int nDependentIndex;            // entry in the dependent-file list, -1 for other roles
};

constexpr size_t kDriverFileCount = 8;
extern const DriverFile DriverFiles[kDriverFileCount];

}  // namespace engine
