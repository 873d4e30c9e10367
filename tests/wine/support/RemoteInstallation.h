// What an installation by the real program leaves in the prefix, read back
// from the test's side: driver, files, printer, the default-printer value;
// and the clean-up between cases, which share the prefix's spooler.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace remote {

constexpr const char* kEnvX86 = "Windows NT x86";
constexpr const char* kEnvX64 = "Windows x64";

// One row of the model combo box, as the package names it.
struct Model {
    int row;
    const char* name;     // driver and printer name
    const char* gpdFile;  // the model's own data file
};

extern const Model kModels[];
extern const size_t kModelCount;
constexpr int kDefaultModelRow = 5;

// The eight files an installation of the model copies, as the package's
// folders spell them.
std::vector<std::string> ModelFiles(const Model& model);

struct PortRow {
    std::string name;
    std::string description;
};
// EnumPortsA level 2, in the spooler's order.
std::vector<PortRow> SpoolerPorts();
std::vector<std::string> PortNames(const std::vector<PortRow>& ports);
// EnumMonitorsA level 1.
std::vector<std::string> SpoolerMonitors();
// Removes a port made by a test (through the monitor, else its registry value).
void RemoveLocalPort(const std::string& name);

// Keeps the user's default-printer value and puts it back when it goes.
// Creates the key if missing: real Windows always has it.
class DefaultDeviceKeeper {
public:
    DefaultDeviceKeeper();
    ~DefaultDeviceKeeper();
    DefaultDeviceKeeper(const DefaultDeviceKeeper&) = delete;
    DefaultDeviceKeeper& operator=(const DefaultDeviceKeeper&) = delete;

    bool KeyReady() const { return m_keyReady; }
    // The value as read when the keeper was made.
    const std::string& Saved() const { return m_data; }

private:
    bool m_keyReady = false;
    bool m_present = false;
    std::string m_data;
};

// The "Device" value, or "(none)" / "(no key)".
std::string ReadDefaultDevice();

// Printer, and the driver in both environments.
void RemoveInstallation(const Model& model);
bool NothingInstalled(const Model& model, std::string* found);

// Adds the gtest failures for everything an installation of `model` for
// `environment` should have left: the registration, its files in the
// driver directory's version folder with the contents of `sourceFolder`'s
// copies, the printer on `port`, and the default-printer value.
void ExpectInstalled(const Model& model, const char* environment, const std::string& sourceFolder,
                     const std::string& port);

// Registers the model's driver for `environment` from the test itself, with
// the files of `sourceFolder` (the stand-in for what the system provides).
bool RegisterDriverDirectly(const Model& model, const char* environment, const std::string& sourceFolder,
                            std::string* error);

}  // namespace remote
