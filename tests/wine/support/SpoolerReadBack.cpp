#include "SpoolerReadBack.h"

#include <winspool.h>

namespace testsupport {
namespace {

std::string Str(const char* text) { return text ? text : ""; }

// A double-NUL list of texts.
std::vector<std::string> Split(const char* list) {
    std::vector<std::string> entries;
    for (const char* entry = list; entry && *entry; entry += lstrlenA(entry) + 1) {
        entries.emplace_back(entry);
    }
    return entries;
}

PrinterRecord FromInfo(const PRINTER_INFO_2A& info) {
    PrinterRecord record;
    record.name = Str(info.pPrinterName);
    record.port = Str(info.pPortName);
    record.driver = Str(info.pDriverName);
    record.printProcessor = Str(info.pPrintProcessor);
    record.datatype = Str(info.pDatatype);
    return record;
}

}  // namespace

std::vector<DriverRecord> ListDrivers(const char* environment, bool* ok) {
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 3, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed ? needed : 1);
    BOOL done = EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 3, buffer.data(),
                                    needed, &needed, &count);
    if (ok) *ok = done != FALSE;
    std::vector<DriverRecord> drivers;
    if (!done) return drivers;
    const auto* entries = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        const DRIVER_INFO_3A& info = entries[i];
        DriverRecord record;
        record.version = info.cVersion;
        record.name = Str(info.pName);
        record.environment = Str(info.pEnvironment);
        record.driverPath = Str(info.pDriverPath);
        record.dataFile = Str(info.pDataFile);
        record.configFile = Str(info.pConfigFile);
        record.helpFile = Str(info.pHelpFile);
        record.dependentFiles = Split(info.pDependentFiles);
        record.monitorNameNull = info.pMonitorName == nullptr;
        record.monitorName = Str(info.pMonitorName);
        record.defaultDataType = Str(info.pDefaultDataType);
        drivers.push_back(record);
    }
    return drivers;
}

std::vector<DriverRecord> DriversNamed(const char* environment, const std::string& name) {
    std::vector<DriverRecord> named;
    for (const DriverRecord& record : ListDrivers(environment)) {
        if (record.name == name) named.push_back(record);
    }
    return named;
}

std::vector<PrinterRecord> ListPrinters(bool* ok) {
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed ? needed : 1);
    BOOL done = EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed,
                              &count);
    if (ok) *ok = done != FALSE;
    std::vector<PrinterRecord> printers;
    if (!done) return printers;
    const auto* entries = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) printers.push_back(FromInfo(entries[i]));
    return printers;
}

std::vector<PrinterRecord> PrintersNamed(const std::string& name) {
    std::vector<PrinterRecord> named;
    for (const PrinterRecord& record : ListPrinters()) {
        if (record.name == name) named.push_back(record);
    }
    return named;
}

bool GetPrinterRecord(const std::string& name, PrinterRecord* record) {
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr)) return false;
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    BOOL done = GetPrinterA(printer, 2, buffer.data(), needed, &needed);
    if (done) *record = FromInfo(*reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data()));
    ClosePrinter(printer);
    return done != FALSE;
}

int DeletePrintersNamed(const std::string& name) {
    int deleted = 0;
    // Bounded: a printer that cannot be deleted must not loop forever.
    for (int attempt = 0; attempt < 16 && !PrintersNamed(name).empty(); ++attempt) {
        PRINTER_DEFAULTSA defaults = {};
        defaults.DesiredAccess = PRINTER_ALL_ACCESS;
        HANDLE printer = nullptr;
        if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, &defaults)) break;
        if (DeletePrinter(printer)) ++deleted;
        ClosePrinter(printer);
    }
    return deleted;
}

bool DeleteDriver(const char* environment, const std::string& name) {
    return DeletePrinterDriverA(nullptr, const_cast<char*>(environment),
                                const_cast<char*>(name.c_str())) != FALSE;
}

std::string DriverDirectory(const char* environment) {
    char buffer[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(environment), 1,
                                    reinterpret_cast<BYTE*>(buffer), sizeof buffer, &needed)) {
        return std::string();
    }
    return buffer;
}

}  // namespace testsupport
