// What the page tests share: an application object that only carries the
// services, the recording fake with a few answers of its own, the pages'
// captions and readers of what the pages show.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "App.h"
#include "FakeServices.h"

namespace uitest {

extern const wchar_t kOsCaption[];
extern const wchar_t kSettingsCaption[];
extern const wchar_t kSelectPortCaption[];
extern const wchar_t kCreatePortCaption[];
extern const wchar_t kAboutCaption[];

// The pages' dialog layer wants an application object; the tests show the
// pages themselves, so its start operation is never used.
class UiTestApp : public ui::App {
public:
    bool InitInstance() override { return false; }
};

// The recording fake, plus a port list that can change from one
// enumeration to the next and a monitor whose dialog creates a port.
class UiFakeServices : public fake::FakeServices {
public:
    // Each enumeration takes the front list and drops it, except the last,
    // which stays; while empty, `ports` is used as it is.
    std::deque<std::vector<engine::PortEntry>> portLists;
    // When not empty, AddPort adds a port of this name to `ports`, as a
    // monitor's "new port" dialog would.
    std::string portCreatedByAddPort;

    bool EnumPorts(std::vector<engine::PortEntry>& out) override;
    bool AddPort(engine::WindowHandle owner, const std::string& monitorName) override;
};

// COM1: to COM4:, FILE:, LPT1: to LPT3:, "Local Port" each, as Wine lists them.
std::vector<engine::PortEntry> WineLikePorts();

// Resets the wizard's process-wide values and prepares the controls; each
// test gets a fresh fake and application object.
class PageTest : public ::testing::Test {
protected:
    PageTest();
    ~PageTest() override;

    UiFakeServices fake;
    UiTestApp app;
};

// The state of the printer settings page's controls.
struct SettingsState {
    int model = -2;
    std::string printerName;
    bool setDefault = false;
    // Port, baud rate, data bits, stop bits, parity, flow control.
    int port = -2, baud = -2, dataBits = -2, stopBits = -2, parity = -2, flow = -2;
    bool portEnabled = false;
    std::vector<bool> serialEnabled;  // baud, data bits, stop bits, parity, flow
};
SettingsState ReadSettings(HWND page);

// The nine radio buttons of the operating-system page, in template order.
extern const int kOsRadioIds[9];
// Ids of the ticked ones.
std::vector<int> TickedRadios(HWND page);

// The program file's path with ".HLP" for its extension, worked out here
// independently of the dialog layer.
std::string ExpectedHelpFile();

// How many of the fake's messages have exactly this text.
size_t CountMessages(const fake::FakeServices& fake, const std::string& text);

}  // namespace uitest
