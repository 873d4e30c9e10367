// The whole program on the x86 road: the real OrvaSetup.exe, started as a
// user starts it and driven from this process through its windows, against
// the 32-bit prefix's spooler and registry (no WoW64 there, so it installs
// for "Windows NT x86"). The prefix runs on a virtual X desktop, shared with
// this process, so the cases also take the screenshots of the road.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RemoteInstallation.h"
#include "RemoteProgram.h"
#include "UiScreenshot.h"
#include "RemoteWizard.h"
#include "SpoolerReadBack.h"
#include "TestSupport.h"
#include "resource.h"

using namespace remote;
using testsupport::FolderExists;
using testsupport::Lower;

namespace {

const std::string kDistFolder = WindowsPath(PROGRAM_DIST_DIR);
const std::string kDistProgram = kDistFolder + "\\OrvaSetup.exe";
const std::string kDistX86 = kDistFolder + "\\x86";
const std::string kDistX64 = kDistFolder + "\\x64";
const std::string kHookDll = WindowsPath(HOOK_DLL);
const std::string kArtifacts = WindowsPath(TEST_ARTIFACTS_DIR);

const std::string kPreferredPort = "LPT1:";
// What the installation reports to the progress bar, in order.
const std::vector<int> kFullProgress = {10, 20, 30, 40, 50, 60, 70, 80, 90, 95, 100};

// The operating-system page's radio buttons, and which one stands for which
// NT version the system reports.
const int kOsButtons[] = {IDC_OS_WIN95,   IDC_OS_WIN98, IDC_OS_WINNT4, IDC_OS_WIN2000, IDC_OS_WINXP,
                          IDC_OS_WIN2003, IDC_OS_VISTA, IDC_OS_WIN7,   IDC_OS_WIN8};
struct OsVersionButton {
    DWORD major;
    DWORD minor;
    int button;
};
const OsVersionButton kNtVersionButtons[] = {
    {5, 0, IDC_OS_WIN2000}, {5, 1, IDC_OS_WINXP}, {5, 2, IDC_OS_WIN2003},
    {6, 0, IDC_OS_VISTA},   {6, 1, IDC_OS_WIN7},  {6, 2, IDC_OS_WIN8},
};

// The button for the version this prefix reports (the program asks the same
// Wine), 0 when the page has none.
int ButtonForThisSystem() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT) return 0;
    for (const OsVersionButton& entry : kNtVersionButtons) {
        if (entry.major == version.dwMajorVersion && entry.minor == version.dwMinorVersion) return entry.button;
    }
    return 0;
}

std::vector<int> CheckedOsButtons(HWND page) {
    std::vector<int> checked;
    for (int id : kOsButtons) {
        if (AskItem(page, id, BM_GETCHECK) == BST_CHECKED) checked.push_back(id);
    }
    return checked;
}

std::vector<std::string> ModelNames() {
    std::vector<std::string> names;
    for (size_t i = 0; i < kModelCount; ++i) names.emplace_back(kModels[i].name);
    return names;
}

int RowOf(const std::vector<std::string>& names, const std::string& name) {
    auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// Saves the screen area of the windows as a PNG file among the artifacts.
::testing::AssertionResult Screenshot(const std::string& file, std::initializer_list<HWND> windows) {
    const uitest::Picture picture = uitest::CaptureScreen(uitest::AreaOf(windows));
    if (picture.width == 0) return ::testing::AssertionFailure() << "the screen could not be read for " << file;
    // A window has text, frame and face colours at the least.
    if (uitest::ColourCount(picture) < 3) {
        return ::testing::AssertionFailure() << file << " shows " << uitest::ColourCount(picture) << " colour(s) only";
    }
    if (!uitest::WritePng(picture, kArtifacts + "\\" + file)) return ::testing::AssertionFailure() << "cannot write " << file;
    return ::testing::AssertionSuccess();
}

// Every case: the models it installs are gone before and after it, and the
// default-printer value is put back.
class ProgramX86 : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_device.KeyReady()); }
    void TearDown() override {
        for (const Model* model : m_models) RemoveInstallation(*model);
    }
    // Takes the model's earlier installations away, now and afterwards.
    const Model& Fresh(int row) {
        const Model& model = kModels[row];
        m_models.push_back(&model);
        RemoveInstallation(model);
        return model;
    }
    DefaultDeviceKeeper m_device;

private:
    std::vector<const Model*> m_models;
};

TEST_F(ProgramX86, TheWholeWizardInstallsTheDefaultModelOnLpt1) {
    const Model& model = Fresh(kDefaultModelRow);
    std::string found;
    ASSERT_TRUE(NothingInstalled(model, &found)) << found;
    ASSERT_NE(0, ButtonForThisSystem()) << "this prefix reports a version the page has no button for";
    // Otherwise the file contents could not tell which folder they came from.
    ASSERT_NE(testsupport::ReadTextFile(kDistX86 + "\\" + model.gpdFile),
              testsupport::ReadTextFile(kDistX64 + "\\" + model.gpdFile));

    Wizard wizard(kHookDll);
    ASSERT_TRUE(wizard.Start(kDistProgram, kDistFolder));
    EXPECT_EQ(std::vector<int>{ButtonForThisSystem()}, CheckedOsButtons(wizard.OsPage()));
    ASSERT_TRUE(wizard.OsNext());

    HWND settings = wizard.SettingsPage();
    EXPECT_EQ(ModelNames(), ComboItems(GetDlgItem(settings, IDC_MODEL_COMBO)));
    EXPECT_EQ(kDefaultModelRow, AskItem(settings, IDC_MODEL_COMBO, CB_GETCURSEL));
    EXPECT_EQ(BST_CHECKED, AskItem(settings, IDC_SET_DEFAULT, BM_GETCHECK));
    ASSERT_TRUE(wizard.ChooseModel(model.row));
    ASSERT_TRUE(wizard.SettingsNext());

    HWND page = wizard.PortPage();
    const std::vector<PortRow> ports = SpoolerPorts();
    ASSERT_FALSE(ports.empty());
    std::vector<std::string> descriptions;
    for (const PortRow& port : ports) descriptions.push_back(port.description);
    {
        RemoteListView list(wizard.Process(), GetDlgItem(page, IDC_PORT_LIST));
        EXPECT_EQ(PortNames(ports), list.Column(0));
        EXPECT_EQ(descriptions, list.Column(1));
        EXPECT_EQ(std::vector<int>{RowOf(PortNames(ports), kPreferredPort)}, list.SelectedRows());
    }
    EXPECT_EQ(0, AskItem(page, IDC_PROGRESS, PBM_GETPOS));
    ASSERT_TRUE(wizard.Painted(page));
    EXPECT_TRUE(Screenshot("select-port-filled.png", {page}));

    // The installation runs inside the button's handler, out of reach of
    // messages from here: the hook holds the program still at 100.
    const size_t mark = wizard.Hooks().Count();
    wizard.Hooks().ArmPause(PBM_SETPOS, 100);
    ASSERT_TRUE(PostClick(page, IDC_INSTALL));
    ASSERT_TRUE(wizard.Hooks().WaitPaused(wizard.Process())) << "the progress bar never reached 100";
    EXPECT_TRUE(Screenshot("select-port-installed.png", {page}));
    wizard.Hooks().Resume();

    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(wizard.WaitMessageBox(&box, &text));
    EXPECT_EQ(L"Completed!", text);
    // The page has ended with OK before the settings page says so.
    EXPECT_FALSE(IsWindow(page));
    EXPECT_EQ(kFullProgress, wizard.Hooks().ProgressPositions(mark));
    ASSERT_TRUE(wizard.Painted(box));
    EXPECT_TRUE(Screenshot("completed.png", {box, settings}));
    ASSERT_TRUE(wizard.CloseMessageBox(box));
    ASSERT_TRUE(wizard.Ends());

    ExpectInstalled(model, kEnvX86, kDistX86, kPreferredPort);
}

TEST_F(ProgramX86, StartedElsewhereItReadsTheFilesFromItsOwnFolder) {
    // As "Run as administrator" starts it: in the system folder.
    const std::string system = testsupport::SystemFolder();
    ASSERT_FALSE(system.empty());
    ASSERT_FALSE(FolderExists(system + "\\x86")) << "the system folder must not hold the package's folder";
    const Model& model = Fresh(7);

    Wizard wizard(kHookDll);
    ASSERT_TRUE(wizard.Start(kDistProgram, system));
    ASSERT_TRUE(wizard.OsNext());
    ASSERT_TRUE(wizard.ChooseModel(model.row));
    ASSERT_TRUE(wizard.SettingsNext());
    const size_t mark = wizard.Hooks().Count();
    ASSERT_TRUE(PostClick(wizard.PortPage(), IDC_INSTALL));
    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(wizard.WaitMessageBox(&box, &text));
    EXPECT_EQ(L"Completed!", text);
    EXPECT_EQ(kFullProgress, wizard.Hooks().ProgressPositions(mark));
    ASSERT_TRUE(wizard.CloseMessageBox(box));
    ASSERT_TRUE(wizard.Ends());

    ExpectInstalled(model, kEnvX86, kDistX86, kPreferredPort);
}

TEST_F(ProgramX86, WithoutItsSourceFolderItNamesThePathAndStaysOnThePage) {
    // A model no other case installs.
    const Model& model = Fresh(9);
    testsupport::ScratchFolder alone("program-alone");
    const std::string program = alone / "OrvaSetup.exe";
    ASSERT_TRUE(CopyFileA(kDistProgram.c_str(), program.c_str(), FALSE));
    const std::string deviceBefore = ReadDefaultDevice();
    {
        Wizard wizard(kHookDll);
        ASSERT_TRUE(wizard.Start(program, alone.Path()));
        ASSERT_TRUE(wizard.OsNext());
        ASSERT_TRUE(wizard.ChooseModel(model.row));
        ASSERT_TRUE(wizard.SettingsNext());
        HWND page = wizard.PortPage();
        const size_t mark = wizard.Hooks().Count();
        ASSERT_TRUE(PostClick(page, IDC_INSTALL));

        HWND box = nullptr;
        std::wstring text;
        ASSERT_TRUE(wizard.WaitMessageBox(&box, &text));
        // The first file it needs: the model's resource DLL.
        const std::string tried = alone.Path() + "\\x86\\QX20N.DLL";
        EXPECT_NE(std::string::npos, Lower(Narrow(text)).find(Lower(tried)))
            << "the message \"" << Narrow(text) << "\" does not name " << tried;
        ASSERT_TRUE(wizard.CloseMessageBox(box));

        ASSERT_TRUE(wizard.Process().Sync(page));
        EXPECT_TRUE(IsWindowVisible(page) && IsWindowEnabled(page)) << "the Select Port page is not open";
        EXPECT_EQ(0, AskItem(page, IDC_PROGRESS, PBM_GETPOS));
        EXPECT_EQ(std::vector<int>{0}, wizard.Hooks().ProgressPositions(mark));
        std::string found;
        EXPECT_TRUE(NothingInstalled(model, &found)) << found;
        EXPECT_EQ(deviceBefore, ReadDefaultDevice());

        ASSERT_TRUE(wizard.LeavePortPage(IDC_PORT_CANCEL));
        ASSERT_TRUE(wizard.ExitFromSettings());
    }
}

// Enter in the port list, then a way back to the settings page.
struct LeaveCase {
    const char* name;
    int button;
};

class ProgramX86Leave : public ProgramX86, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(ProgramX86Leave, EnterKeepsThePageAndLeavingKeepsTheChoices) {
    const LeaveCase& leave = GetParam();
    const Model& model = Fresh(2);

    Wizard wizard(kHookDll);
    ASSERT_TRUE(wizard.Start(kDistProgram, kDistFolder));
    ASSERT_TRUE(wizard.OsNext());
    HWND settings = wizard.SettingsPage();
    ASSERT_TRUE(wizard.ChooseModel(model.row));
    EXPECT_EQ(model.name, Narrow(DialogItemText(settings, IDC_PRINTER_NAME)));
    const size_t beforeClick = wizard.Hooks().Count();
    ASSERT_TRUE(PostClick(settings, IDC_SET_DEFAULT));
    // A posted click is handled after anything sent meanwhile: wait for the
    // check box's own notification.
    ASSERT_TRUE(wizard.Hooks().WaitCommand(settings, IDC_SET_DEFAULT, beforeClick, wizard.Process()));
    ASSERT_TRUE(wizard.Process().Sync(settings));
    ASSERT_EQ(BST_UNCHECKED, AskItem(settings, IDC_SET_DEFAULT, BM_GETCHECK));
    ASSERT_TRUE(wizard.SettingsNext());

    HWND page = wizard.PortPage();
    HWND list = GetDlgItem(page, IDC_PORT_LIST);
    ASSERT_EQ(list, FocusOf(wizard.Process())) << "the port list does not have the focus";
    const size_t mark = wizard.Hooks().Count();
    ASSERT_TRUE(PostKey(list, VK_RETURN));
    // The dialog manager makes Enter the OK command; the page must not end.
    ASSERT_TRUE(wizard.Hooks().WaitCommand(page, IDOK, mark, wizard.Process())) << "Enter never arrived";
    ASSERT_TRUE(wizard.Process().Sync(page));
    EXPECT_TRUE(IsWindow(page) && IsWindowVisible(page) && IsWindowEnabled(page))
        << "Enter ended the Select Port page";
    EXPECT_EQ(page, wizard.Process().WaitWindow(kPortPageCaption, 0));
    EXPECT_TRUE(wizard.Hooks().ProgressPositions(mark).empty()) << "Enter started an installation";

    ASSERT_TRUE(wizard.LeavePortPage(leave.button));
    EXPECT_EQ(model.row, AskItem(settings, IDC_MODEL_COMBO, CB_GETCURSEL));
    EXPECT_EQ(model.name, Narrow(DialogItemText(settings, IDC_PRINTER_NAME)));
    EXPECT_EQ(BST_UNCHECKED, AskItem(settings, IDC_SET_DEFAULT, BM_GETCHECK));
    std::string found;
    EXPECT_TRUE(NothingInstalled(model, &found)) << found;
    ASSERT_TRUE(wizard.ExitFromSettings());
}

const LeaveCase kLeaveCases[] = {
    {"Back", IDC_PORT_BACK},
    {"Cancel", IDC_PORT_CANCEL},
};

INSTANTIATE_TEST_SUITE_P(Buttons, ProgramX86Leave, ::testing::ValuesIn(kLeaveCases),
                         [](const ::testing::TestParamInfo<LeaveCase>& info) { return info.param.name; });

// Takes a port made by a case away, however the case ends.
struct PortRemover {
    std::string name;
    ~PortRemover() { RemoveLocalPort(name); }
};

TEST_F(ProgramX86, CreatePortAddsAPortThroughTheRealMonitor) {
    const std::string newPort = "QXTEST1:";
    RemoveLocalPort(newPort);
    PortRemover remover{newPort};
    ASSERT_EQ(-1, RowOf(PortNames(SpoolerPorts()), newPort));
    const std::vector<std::string> monitors = SpoolerMonitors();
    ASSERT_FALSE(monitors.empty());

    Wizard wizard(kHookDll);
    ASSERT_TRUE(wizard.Start(kDistProgram, kDistFolder));
    ASSERT_TRUE(wizard.OsNext());
    ASSERT_TRUE(wizard.SettingsNext());
    HWND page = wizard.PortPage();
    RemoteListView ports(wizard.Process(), GetDlgItem(page, IDC_PORT_LIST));
    EXPECT_EQ(-1, RowOf(ports.Column(0), newPort));

    ASSERT_TRUE(PostClick(page, IDC_PORT_CREATE));
    HWND create = nullptr;
    ASSERT_TRUE(wizard.WaitDialog(kCreatePortCaption, &create));
    {
        RemoteListView list(wizard.Process(), GetDlgItem(create, IDC_MONITOR_LIST));
        EXPECT_EQ(monitors, list.Column(0));
        EXPECT_EQ(std::vector<int>{0}, list.SelectedRows());
    }
    ASSERT_TRUE(wizard.Painted(create));
    EXPECT_TRUE(Screenshot("create-port-real.png", {create}));

    // The monitor's own dialog, in the program's process.
    ASSERT_TRUE(PostClick(create, IDC_MONITOR_NEW_PORT));
    HWND add = nullptr;
    ASSERT_TRUE(wizard.WaitDialog(L"Add a Local Port", &add));
    HWND edit = GetDlgItem(add, 101);
    ASSERT_TRUE(edit);
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(newPort).c_str()),
                                    SMTO_NORMAL, kDeadlineMs, &result));
    ASSERT_TRUE(PostClick(add, IDOK));
    ASSERT_TRUE(wizard.Process().WaitGone(add));
    // The monitor adds the port after its dialog has gone; the program is
    // back in the Create Port dialog's loop once it has.
    ASSERT_TRUE(wizard.Process().WaitActive(create));
    EXPECT_NE(-1, RowOf(PortNames(SpoolerPorts()), newPort)) << "the monitor added no port";
    ASSERT_TRUE(PostClick(create, IDC_MONITOR_CLOSE));
    ASSERT_TRUE(wizard.Process().WaitGone(create));
    ASSERT_TRUE(wizard.Process().Sync(page));
    const std::vector<std::string> names = PortNames(SpoolerPorts());
    EXPECT_EQ(names, ports.Column(0));
    EXPECT_NE(-1, RowOf(ports.Column(0), newPort)) << "the port list was not rebuilt";
    EXPECT_EQ(std::vector<int>{RowOf(names, kPreferredPort)}, ports.SelectedRows());

    ASSERT_TRUE(wizard.LeavePortPage(IDC_PORT_CANCEL));
    ASSERT_TRUE(wizard.ExitFromSettings());
    RemoveLocalPort(newPort);
    EXPECT_EQ(-1, RowOf(PortNames(SpoolerPorts()), newPort)) << "the test's port stays behind";
}

}  // namespace
