// Pictures of every page and dialog with the real services, on the X
// display of the 32-bit prefix, kept in the artifacts folder. Each picture
// is checked to show something and to have the window's size.
#include "Win32Services.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "OsSelectPage.h"
#include "PrinterSettingsPage.h"
#include "UiPages.h"
#include "UiScreenshot.h"
#include "UiScript.h"
#include "resource.h"

namespace {

using namespace uitest;

// Enough ticks for the window to be drawn and to reach the X display.
constexpr int kDrawTicks = 12;

struct Shot {
    std::string file;
    bool written = false;
    int width = 0, height = 0;
    int windowWidth = -1, windowHeight = -1;
    size_t colours = 0;
};

Shot Take(HWND window, const std::string& file) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::GdiFlush();
    Shot shot;
    shot.file = file;
    RECT rect;
    ::GetWindowRect(window, &rect);
    shot.windowWidth = rect.right - rect.left;
    shot.windowHeight = rect.bottom - rect.top;
    Picture picture = CaptureWindow(window);
    shot.width = picture.width;
    shot.height = picture.height;
    shot.colours = ColourCount(picture);
    shot.written = WritePng(picture, std::string(TEST_ARTIFACTS_DIR) + "/" + file);
    return shot;
}

void ExpectGood(const Shot& shot) {
    EXPECT_TRUE(shot.written) << shot.file;
    EXPECT_EQ(shot.width, shot.windowWidth) << shot.file;
    EXPECT_EQ(shot.height, shot.windowHeight) << shot.file;
    // Background, frame, caption, text: a blank or black capture has one or two.
    EXPECT_GT(shot.colours, 8u) << shot.file;
}

class PageScreenshot : public PageTest {
protected:
    PageScreenshot() { app.SetServices(&real); }
    win32::Win32Services real;
};

TEST_F(PageScreenshot, OperatingSystemPage) {
    COsSelectPage page;
    Shot shot;
    Script script;
    script.Settle(kDrawTicks).On(kOsCaption, "OS page drawn", [&](HWND dialog) {
        shot = Take(dialog, "os-page.png");
        Click(dialog, IDC_OS_EXIT);
    });
    script.Run([&] { return page.DoModal(); });
    ExpectGood(shot);
}

TEST_F(PageScreenshot, PrinterSettingsPageAndAboutBox) {
    CPrinterSettingsPage page;
    Shot settings, about;
    Script script;
    script.Settle(kDrawTicks).On(kSettingsCaption, "settings page drawn", [&](HWND dialog) {
        settings = Take(dialog, "settings-page.png");
        SysCommand(dialog, IDM_ABOUT);
    });
    script.Settle(kDrawTicks).On(kAboutCaption, "about box drawn", [&](HWND dialog) {
        about = Take(dialog, "about-box.png");
        Click(dialog, IDOK);
    });
    script.On(kSettingsCaption, "settings page again", [](HWND dialog) { Click(dialog, IDC_SETTINGS_EXIT); });
    script.Run([&] { return page.DoModal(); });
    ExpectGood(settings);
    ExpectGood(about);
}

TEST_F(PageScreenshot, SelectPortPageAndCreatePortDialog) {
    CPrinterSettingsPage page;
    Shot portPage, createPort;
    size_t ports = 0, monitors = 0;
    Script script;
    script.On(kSettingsCaption, "settings page", [](HWND dialog) { Click(dialog, IDC_SETTINGS_NEXT); });
    script.Settle(kDrawTicks).On(kSelectPortCaption, "port page drawn", [&](HWND dialog) {
        ports = ReadList(::GetDlgItem(dialog, IDC_PORT_LIST)).rows.size();
        portPage = Take(dialog, "select-port-page.png");
        Click(dialog, IDC_PORT_CREATE);
    });
    script.Settle(kDrawTicks).On(kCreatePortCaption, "create port dialog drawn", [&](HWND dialog) {
        // The selection shows while the list has the focus.
        monitors = ReadList(::GetDlgItem(dialog, IDC_MONITOR_LIST)).rows.size();
        createPort = Take(dialog, "create-port-dialog.png");
        Click(dialog, IDC_MONITOR_CLOSE);
    });
    script.On(kSelectPortCaption, "port page again", [](HWND dialog) { Click(dialog, IDC_PORT_CANCEL); });
    script.On(kSettingsCaption, "settings page again", [](HWND dialog) { Click(dialog, IDC_SETTINGS_EXIT); });
    script.Run([&] { return page.DoModal(); });
    // Wine's spooler lists its local ports and its one monitor.
    EXPECT_GT(ports, 0u);
    EXPECT_GT(monitors, 0u);
    ExpectGood(portPage);
    ExpectGood(createPort);
}

}  // namespace
