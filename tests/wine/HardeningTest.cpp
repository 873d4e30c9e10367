// The real program started from a folder with planted DLLs, as an elevated
// installer often is from a downloads folder.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>

#include "RemoteProgram.h"
#include "TestSupport.h"

using testsupport::FileExists;
using testsupport::ScratchFolder;

namespace {

const char* const kPlanted[] = {"winspool.drv", "comctl32.dll"};

// Full path of a module loaded in another process, or empty.
std::string LoadedModulePath(DWORD pid, const char* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, pid);
    if (snapshot == INVALID_HANDLE_VALUE) return std::string();
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    std::string path;
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szModule, name) == 0) {
            path = entry.szExePath;
            break;
        }
    }
    CloseHandle(snapshot);
    return path;
}

class PlantedDlls : public ::testing::Test {
protected:
    void SetUp() override {
        // Wine takes its own built-in DLLs first unless WINEDLLOVERRIDES in
        // the Unix environment says otherwise; the test's registration does.
        for (const char* name : kPlanted) {
            ASSERT_TRUE(CopyFileA(PLANTED_DLL, (folder / name).c_str(), FALSE)) << name;
        }
        ASSERT_TRUE(CopyFileA(PLAIN_LOAD, (folder / "plain_load.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(PROGRAM_FILE, (folder / "OrvaSetup.exe").c_str(), FALSE));
    }
    ScratchFolder folder{"planted"};
};

TEST_F(PlantedDlls, ALoadByNameTakesThemSoTheCheckCanFail) {
    for (const char* name : kPlanted) {
        SCOPED_TRACE(name);
        // Wine reports its built-in copy under the path it looked in, so only
        // the planted copy's own mark tells.
        EXPECT_EQ(testsupport::RunToEnd(folder / "plain_load.exe", name, folder.Path()), 0);
        EXPECT_TRUE(FileExists(folder / name + ".loaded")) << "the planted copy was not taken";
        DeleteFileA((folder / name + ".loaded").c_str());
    }
}

TEST_F(PlantedDlls, TheProgramLoadsTheSystemsOwn) {
    remote::Program program;
    ASSERT_TRUE(program.Start(folder / "OrvaSetup.exe", folder.Path())) << program.Error();
    // The first page needs the common controls; the spooler is loaded at start.
    HWND page = program.WaitWindow(L"Select OS (x86/x64)");
    ASSERT_NE(page, nullptr) << "the program did not show its first page";

    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    for (const char* name : kPlanted) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(FileExists(folder / name + ".loaded")) << "the planted copy was loaded";
        std::string loaded = LoadedModulePath(program.ProcessId(), name);
        EXPECT_TRUE(testsupport::EqualNoCase(testsupport::FolderOf(loaded), system)) << loaded;
    }

    PostMessageA(page, WM_COMMAND, MAKEWPARAM(1010, BN_CLICKED), 0);  // "&Exit"
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
