// Equality and readable printing of the spooler records, for the tests.
#pragma once

#include <ostream>
#include <string>

#include "SystemServices.h"

namespace engine {

inline bool operator==(const DriverInfo3& a, const DriverInfo3& b) {
    return a.cVersion == b.cVersion && a.pName == b.pName && a.pEnvironment == b.pEnvironment &&
           a.pDriverPath == b.pDriverPath && a.pDataFile == b.pDataFile &&
           a.pConfigFile == b.pConfigFile && a.pHelpFile == b.pHelpFile &&
           a.pDependentFiles == b.pDependentFiles && a.pMonitorName == b.pMonitorName &&
           a.pDefaultDataType == b.pDefaultDataType;
}

inline bool operator==(const PrinterInfo2& a, const PrinterInfo2& b) {
    return a.pPrinterName == b.pPrinterName && a.pPortName == b.pPortName &&
           a.pDriverName == b.pDriverName && a.pPrintProcessor == b.pPrintProcessor &&
           a.pDatatype == b.pDatatype;
}

// The dependent-file buffer with its NULs shown as "|", trailing zeros cut.
inline std::string ShowDependentFiles(const std::string& buffer) {
    std::string shown = buffer.substr(0, buffer.find_last_not_of('\0') + 1);
    for (char& c : shown) {
        if (c == '\0') c = '|';
    }
    return shown + " (" + std::to_string(buffer.size()) + " bytes)";
}

inline void PrintTo(const DriverInfo3& d, std::ostream* os) {
    *os << "{" << d.cVersion << ", " << d.pName << ", " << d.pEnvironment << ", " << d.pDriverPath
        << ", " << d.pDataFile << ", " << d.pConfigFile << ", " << d.pHelpFile << ", "
        << ShowDependentFiles(d.pDependentFiles) << ", '" << d.pMonitorName << "', "
        << d.pDefaultDataType << "}";
}

inline void PrintTo(const PrinterInfo2& p, std::ostream* os) {
    *os << "{" << p.pPrinterName << ", '" << p.pPortName << "', " << p.pDriverName << ", "
        << p.pPrintProcessor << ", " << p.pDatatype << "}";
}

}  // namespace engine
