// The whole program on the x64 road: the real OrvaSetup.exe in the 64-bit
// prefix, where it runs under WoW64 and installs for "Windows x64", driven
// from this process through its windows.
//
// Wine 8 creates the printer of a 32-bit caller from the driver registered
// for "Windows NT x86" only; real 64-bit Windows serves it from the x64
// registration. The set-up stands for that: it registers a driver of the
// same name for "Windows NT x86" first. The x64 registration and its files
// are then the program's own doing, and that is what the case checks.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "RemoteInstallation.h"
#include "RemoteProgram.h"
#include "RemoteWizard.h"
#include "SpoolerReadBack.h"
#include "TestSupport.h"
#include "resource.h"

using namespace remote;

namespace {

const std::string kDistFolder = WindowsPath(PROGRAM_DIST_DIR);
const std::string kDistProgram = kDistFolder + "\\OrvaSetup.exe";
const std::string kDistX86 = kDistFolder + "\\x86";
const std::string kDistX64 = kDistFolder + "\\x64";
const std::string kHookDll = WindowsPath(HOOK_DLL);

const std::string kPreferredPort = "LPT1:";
const std::vector<int> kFullProgress = {10, 20, 30, 40, 50, 60, 70, 80, 90, 95, 100};

bool RunsUnderWow64() {
    BOOL flag = FALSE;
    return IsWow64Process(GetCurrentProcess(), &flag) && flag;
}

class ProgramX64 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RunsUnderWow64()) << "this prefix is not a 64-bit one";
        ASSERT_TRUE(m_device.KeyReady());
        RemoveInstallation(m_model);
        std::string error;
        ASSERT_TRUE(RegisterDriverDirectly(m_model, kEnvX86, kDistX86, &error)) << error;
        ASSERT_TRUE(testsupport::DriversNamed(kEnvX64, m_model.name).empty());
    }
    void TearDown() override { RemoveInstallation(m_model); }

    const Model& m_model = kModels[kDefaultModelRow];
    DefaultDeviceKeeper m_device;
};

TEST_F(ProgramX64, TheWholeWizardInstallsTheX64Driver) {
    Wizard wizard(kHookDll);
    ASSERT_TRUE(wizard.Start(kDistProgram, kDistFolder));
    ASSERT_TRUE(wizard.OsNext());
    ASSERT_TRUE(wizard.ChooseModel(m_model.row));
    ASSERT_TRUE(wizard.SettingsNext());

    HWND page = wizard.PortPage();
    {
        RemoteListView list(wizard.Process(), GetDlgItem(page, IDC_PORT_LIST));
        const std::vector<int> selected = list.SelectedRows();
        ASSERT_EQ(1u, selected.size());
        EXPECT_EQ(kPreferredPort, list.Text(selected[0], 0));
    }
    EXPECT_EQ(0, AskItem(page, IDC_PROGRESS, PBM_GETPOS));
    const size_t mark = wizard.Hooks().Count();
    ASSERT_TRUE(PostClick(page, IDC_INSTALL));

    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(wizard.WaitMessageBox(&box, &text));
    EXPECT_EQ(L"Completed!", text);
    EXPECT_EQ(kFullProgress, wizard.Hooks().ProgressPositions(mark));
    ASSERT_TRUE(wizard.CloseMessageBox(box));
    ASSERT_TRUE(wizard.Ends());

    ExpectInstalled(m_model, kEnvX64, kDistX64, kPreferredPort);
}

}  // namespace
