#include "RemoteInstallation.h"

#include <gtest/gtest.h>
#include <winspool.h>

#include "SpoolerReadBack.h"
#include "TestSupport.h"

using namespace testsupport;

namespace remote {
namespace {

const char* const kDefaultPrinterKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char* const kDeviceValue = "Device";
const char* const kPortsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

// Files every model shares, and the resource DLL they all use.
const char* const kCommonFiles[] = {"uniDRVui.DLL", "uniDRV.DLL", "UNIDRV.HLP",
                                    "UNIRES.DLL",   "TTFSUB.GPD", "STDNAMES.GPD"};
const char* const kResourceDll = "QX20N.DLL";

// The spooler keeps version 3 drivers in this folder of the driver directory
// and reports that version, whatever the registration said.
const char* const kVersionFolder = "3";
constexpr DWORD kReadBackVersion = 3;

bool WriteDevice(const std::string& data) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDefaultPrinterKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    LONG result = RegSetValueExA(key, kDeviceValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>(data.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void DeleteDevice() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDefaultPrinterKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, kDeviceValue);
    RegCloseKey(key);
}

}  // namespace

const Model kModels[] = {
    {0, "QX-201 Series", "QX201.GPD"},  {1, "QX-202 Series", "QX202.GPD"},
    {2, "QX-203 Series", "QX203.GPD"},  {3, "QX-204 Series", "QX204.GPD"},
    {4, "QX-205 Series", "QX205.GPD"},  {5, "QX-205X Series", "QX205X.GPD"},
    {6, "QX-206 Series", "QX206.GPD"},  {7, "QX-207 Series", "QX207.GPD"},
    {8, "QX-207M Series", "QX207M.GPD"}, {9, "QX-H207 Series", "QXH207.GPD"},
    {10, "QX-20N Series", "QX20N.GPD"},
};
const size_t kModelCount = sizeof kModels / sizeof *kModels;

std::vector<std::string> ModelFiles(const Model& model) {
    std::vector<std::string> files = {kResourceDll, model.gpdFile};
    files.insert(files.end(), std::begin(kCommonFiles), std::end(kCommonFiles));
    return files;
}

std::vector<PortRow> SpoolerPorts() {
    DWORD needed = 0;
    DWORD count = 0;
    EnumPortsA(nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed ? needed : 1);
    std::vector<PortRow> ports;
    if (!EnumPortsA(nullptr, 2, buffer.data(), needed, &needed, &count)) return ports;
    const auto* entries = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        ports.push_back({entries[i].pPortName ? entries[i].pPortName : "",
                         entries[i].pDescription ? entries[i].pDescription : ""});
    }
    return ports;
}

std::vector<std::string> PortNames(const std::vector<PortRow>& ports) {
    std::vector<std::string> names;
    for (const PortRow& port : ports) names.push_back(port.name);
    return names;
}

std::vector<std::string> SpoolerMonitors() {
    DWORD needed = 0;
    DWORD count = 0;
    EnumMonitorsA(nullptr, 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed ? needed : 1);
    std::vector<std::string> names;
    if (!EnumMonitorsA(nullptr, 1, buffer.data(), needed, &needed, &count)) return names;
    const auto* entries = reinterpret_cast<const MONITOR_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) names.emplace_back(entries[i].pName ? entries[i].pName : "");
    return names;
}

void RemoveLocalPort(const std::string& name) {
    for (const PortRow& port : SpoolerPorts()) {
        if (port.name == name) DeletePortA(nullptr, nullptr, const_cast<char*>(name.c_str()));
    }
    // The local monitor keeps its ports as values of this key.
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name.c_str());
        RegCloseKey(key);
    }
}

DefaultDeviceKeeper::DefaultDeviceKeeper() {
    HKEY key = nullptr;
    m_keyReady = RegCreateKeyExA(HKEY_CURRENT_USER, kDefaultPrinterKey, 0, nullptr, 0,
                                 KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS;
    if (!m_keyReady) return;
    char data[512] = {};
    DWORD size = sizeof data - 1;
    m_present = RegQueryValueExA(key, kDeviceValue, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) ==
                ERROR_SUCCESS;
    m_data = m_present ? data : "(none)";
    RegCloseKey(key);
}

DefaultDeviceKeeper::~DefaultDeviceKeeper() {
    if (!m_keyReady) return;
    if (m_present) {
        WriteDevice(m_data);
    } else {
        DeleteDevice();
    }
}

std::string ReadDefaultDevice() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDefaultPrinterKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return "(no key)";
    }
    char data[512] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, kDeviceValue, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return "(none)";
    if (type != REG_SZ) return "(not REG_SZ)";
    return data;
}

void RemoveInstallation(const Model& model) {
    DeletePrintersNamed(model.name);
    for (const char* environment : {kEnvX86, kEnvX64}) {
        if (!DriversNamed(environment, model.name).empty()) DeleteDriver(environment, model.name);
    }
}

bool NothingInstalled(const Model& model, std::string* found) {
    found->clear();
    if (!PrintersNamed(model.name).empty()) *found += " a printer";
    for (const char* environment : {kEnvX86, kEnvX64}) {
        if (!DriversNamed(environment, model.name).empty()) *found += std::string(" a driver for ") + environment;
    }
    return found->empty();
}

void ExpectInstalled(const Model& model, const char* environment, const std::string& sourceFolder,
                     const std::string& port) {
    SCOPED_TRACE(std::string(model.name) + " for " + environment);
    const std::string directory = DriverDirectory(environment);
    ASSERT_FALSE(directory.empty()) << "no driver directory";
    const std::string versionFolder = directory + "\\" + kVersionFolder;

    const std::vector<DriverRecord> drivers = DriversNamed(environment, model.name);
    ASSERT_EQ(1u, drivers.size()) << "registrations of the driver";
    const DriverRecord& driver = drivers[0];
    EXPECT_EQ(environment, driver.environment);
    EXPECT_EQ(kReadBackVersion, driver.version);
    EXPECT_EQ("", driver.monitorName);
    EXPECT_EQ("RAW", driver.defaultDataType);

    // Where each registered file is, and under which name.
    struct Registered {
        const char* role;
        std::string path;
        std::string file;
    };
    std::vector<Registered> registered = {
        {"driver", driver.driverPath, "uniDRV.DLL"},
        {"data file", driver.dataFile, model.gpdFile},
        {"config file", driver.configFile, "uniDRVui.DLL"},
        {"help file", driver.helpFile, "uniDRV.HLP"},
    };
    const char* const dependents[] = {"ttfsub.GPD", "unires.DLL", "stdnames.GPD", kResourceDll};
    ASSERT_EQ(4u, driver.dependentFiles.size()) << "dependent files";
    for (size_t i = 0; i < 4; ++i) registered.push_back({"dependent file", driver.dependentFiles[i], dependents[i]});
    for (const Registered& entry : registered) {
        EXPECT_TRUE(EqualNoCase(versionFolder, FolderOf(entry.path)))
            << entry.role << " " << entry.path << " is not in " << versionFolder;
        EXPECT_TRUE(EqualNoCase(entry.file, FileNameOf(entry.path)))
            << entry.role << " " << entry.path << " is not " << entry.file;
    }

    for (const std::string& name : ModelFiles(model)) {
        bool sourceRead = false;
        const std::string expected = ReadTextFile(sourceFolder + "\\" + name, &sourceRead);
        ASSERT_TRUE(sourceRead) << "the package lacks " << sourceFolder << "\\" << name;
        bool read = false;
        const std::string copied = ReadTextFile(versionFolder + "\\" + name, &read);
        EXPECT_TRUE(read) << name << " is not in " << versionFolder;
        EXPECT_EQ(expected, copied) << name << " does not come from " << sourceFolder;
    }

    PrinterRecord printer;
    ASSERT_TRUE(GetPrinterRecord(model.name, &printer)) << "no printer " << model.name;
    EXPECT_EQ(port, printer.port);
    EXPECT_EQ(model.name, printer.driver);
    EXPECT_TRUE(EqualNoCase("WinPrint", printer.printProcessor)) << printer.printProcessor;
    EXPECT_EQ("RAW", printer.datatype);
    EXPECT_EQ(1u, PrintersNamed(model.name).size()) << "printers of that name";

    EXPECT_EQ(std::string(model.name) + ",winspool," + port, ReadDefaultDevice());
}

bool RegisterDriverDirectly(const Model& model, const char* environment, const std::string& sourceFolder,
                            std::string* error) {
    const std::string directory = DriverDirectory(environment);
    if (directory.empty()) {
        *error = std::string("no driver directory for ") + environment;
        return false;
    }
    // The spooler takes the files from its driver directory.
    for (const std::string& name : ModelFiles(model)) {
        if (!CopyFileA((sourceFolder + "\\" + name).c_str(), (directory + "\\" + name).c_str(), FALSE)) {
            *error = "copy of " + name + " failed, error " + std::to_string(GetLastError());
            return false;
        }
    }
    std::string dependents = std::string("ttfsub.GPD") + '\0' + "unires.DLL" + '\0' + "stdnames.GPD" + '\0' +
                             kResourceDll + '\0' + '\0';
    std::string dataFile = model.gpdFile;
    DRIVER_INFO_3A info = {};
    info.cVersion = 3;
    info.pName = const_cast<char*>(model.name);
    info.pEnvironment = const_cast<char*>(environment);
    info.pDriverPath = const_cast<char*>("uniDRV.DLL");
    info.pDataFile = &dataFile[0];
    info.pConfigFile = const_cast<char*>("uniDRVui.DLL");
    info.pHelpFile = const_cast<char*>("uniDRV.HLP");
    info.pDependentFiles = &dependents[0];
    info.pMonitorName = const_cast<char*>("");
    info.pDefaultDataType = const_cast<char*>("RAW");
    if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info))) {
        *error = "AddPrinterDriverA failed, error " + std::to_string(GetLastError());
        return false;
    }
    return true;
}

}  // namespace remote
