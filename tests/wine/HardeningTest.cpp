// The real program started from a folder with planted DLLs, as an elevated
// installer often is from a downloads folder.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

using testsupport::FileExists;
using testsupport::ScratchFolder;

namespace {

const char* const kPlanted[] = {"winspool.drv", "comctl32.dll"};

struct Child {
    PROCESS_INFORMATION info = {};
    bool started = false;

    Child(const std::string& program, const std::string& arguments, const std::string& folder) {
        std::string commandLine = "\"" + program + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                 folder.c_str(), &startup, &info) != FALSE;
    }
    ~Child() {
        if (!started) return;
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    // The exit code, or -1 when the process did not end in time.
    int Wait(DWORD ms) const {
        DWORD code = static_cast<DWORD>(-1);
        if (WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0) return -1;
        GetExitCodeProcess(info.hProcess, &code);
        return static_cast<int>(code);
    }
};

struct FindArgs {
    DWORD pid;
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindTopWindow(HWND hwnd, LPARAM l) {
    auto* args = reinterpret_cast<FindArgs*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    if (pid == args->pid && IsWindowVisible(hwnd) && lstrcmpA(text, args->caption) == 0) {
        args->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Polls for a window of the child; null when the child ended or the
// deadline passed.
HWND WaitForWindow(const Child& child, const char* caption, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 20) {
        FindArgs args = {child.info.dwProcessId, caption, nullptr};
        EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&args));
        if (args.found) return args.found;
        if (WaitForSingleObject(child.info.hProcess, 20) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

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
        Child load(folder / "plain_load.exe", name, folder.Path());
        ASSERT_TRUE(load.started);
        // Wine reports its built-in copy under the path it looked in, so only
        // the planted copy's own mark tells.
        EXPECT_EQ(load.Wait(60000), 0);
        EXPECT_TRUE(FileExists(folder / name + ".loaded")) << "the planted copy was not taken";
        DeleteFileA((folder / name + ".loaded").c_str());
    }
}

TEST_F(PlantedDlls, TheProgramLoadsTheSystemsOwn) {
    Child program(folder / "OrvaSetup.exe", "", folder.Path());
    ASSERT_TRUE(program.started);
    // The first page needs the common controls; the spooler is loaded at start.
    HWND page = WaitForWindow(program, "Select OS (x86/x64)", 30000);
    ASSERT_NE(page, nullptr) << "the program did not show its first page";

    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    for (const char* name : kPlanted) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(FileExists(folder / name + ".loaded")) << "the planted copy was loaded";
        std::string loaded = LoadedModulePath(program.info.dwProcessId, name);
        EXPECT_TRUE(testsupport::EqualNoCase(testsupport::FolderOf(loaded), system)) << loaded;
    }

    PostMessageA(page, WM_COMMAND, MAKEWPARAM(1010, BN_CLICKED), 0);  // "&Exit"
    EXPECT_EQ(program.Wait(30000), 0);
}

}  // namespace
