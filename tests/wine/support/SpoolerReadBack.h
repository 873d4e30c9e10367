// Reads the spooler's records back through winspool itself, and removes
// what a test created, so tests do not depend on each other.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

struct DriverRecord {
    DWORD version = 0;
    std::string name;
    std::string environment;
    std::string driverPath;
    std::string dataFile;
    std::string configFile;
    std::string helpFile;
    std::vector<std::string> dependentFiles;
    bool monitorNameNull = false;
    std::string monitorName;
    std::string defaultDataType;
};

struct PrinterRecord {
    std::string name;
    std::string port;
    std::string driver;
    std::string printProcessor;
    std::string datatype;
};

// EnumPrinterDriversA level 3; `ok` false when the call failed.
std::vector<DriverRecord> ListDrivers(const char* environment, bool* ok = nullptr);
std::vector<DriverRecord> DriversNamed(const char* environment, const std::string& name);
// EnumPrintersA level 2, local printers.
std::vector<PrinterRecord> ListPrinters(bool* ok = nullptr);
std::vector<PrinterRecord> PrintersNamed(const std::string& name);
// OpenPrinterA and GetPrinterA level 2.
bool GetPrinterRecord(const std::string& name, PrinterRecord* record);

// Every printer of that name; the count deleted.
int DeletePrintersNamed(const std::string& name);
bool DeleteDriver(const char* environment, const std::string& name);

std::string DriverDirectory(const char* environment);

}  // namespace testsupport
