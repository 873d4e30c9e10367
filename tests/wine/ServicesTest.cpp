// The Win32 system services against Wine's real spooler, registry, kernel
// and window manager. This test does not link winspool: the services must
// find it themselves, in the system folder.
#include "Win32Services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "DllSearch.h"
#include "ProgramTitle.h"
#include "TestSupport.h"

using namespace testsupport;
using win32::Win32Services;

namespace {

constexpr DWORD kSentinel = 0xdeadbeef;
constexpr const char* kEnvX86 = "Windows NT x86";
constexpr const char* kEnvX64 = "Windows x64";

// The spooler path as the services report it, for the environments a
// 32-bit installer names explicitly.
std::string DriverDirectory(Win32Services& sys, const char* environment) {
    char buffer[512] = {};
    uint32_t needed = 0;
    if (!sys.GetPrinterDriverDirectory(environment, buffer, sizeof buffer, &needed)) return {};
    return buffer;
}

// ---------------------------------------------------------------- spooler

TEST(SpoolerModule, IsLoadedFromTheSystemFolder) {
    // Nothing else in this program loads the spooler.
    ASSERT_EQ(GetModuleHandleA("winspool.drv"), nullptr);
    Win32Services sys;
    ASSERT_NE(sys.SpoolerModule(), nullptr);
    EXPECT_EQ(GetModuleHandleA("winspool.drv"), sys.SpoolerModule());

    char path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(sys.SpoolerModule(), path, MAX_PATH), 0u);
    EXPECT_TRUE(EqualNoCase(FolderOf(path), SystemFolder())) << path;
    EXPECT_TRUE(EqualNoCase(FileNameOf(path), "winspool.drv")) << path;
}

TEST(SpoolerModule, PlantedCopyInTheProgramFolderIsIgnored) {
    // A program folder with a planted winspool.drv, as in a downloads folder.
    ScratchFolder folder("services-planted");
    ASSERT_TRUE(CopyFileA(PLANTED_DLL, (folder / "winspool.drv").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(PLAIN_SPOOLER_LOAD, (folder / "plain_spooler_load.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(ProgramFile().c_str(), (folder / TEST_PROGRAM_NAME ".exe").c_str(), FALSE));

    // The threat is real here: loaded by name, the planted copy wins. Wine
    // reports its built-in copy under the path it looked in, so only the
    // planted copy's own mark tells.
    ASSERT_EQ(RunToEnd(folder / "plain_spooler_load.exe", "", folder.Path()), 0);
    ASSERT_TRUE(FileExists(folder / "winspool.drv.loaded")) << "the planted copy was not taken";
    DeleteFileA((folder / "winspool.drv.loaded").c_str());
    // The services, run from that folder, still reach the system's spooler.
    EXPECT_EQ(RunToEnd(folder / TEST_PROGRAM_NAME ".exe",
                       "--gtest_brief=1 --gtest_filter=SpoolerModule.IsLoadedFromTheSystemFolder:"
                       "Spooler.EnumPortsListsTheLocalPorts",
                       folder.Path()),
              0);
    EXPECT_FALSE(FileExists(folder / "winspool.drv.loaded")) << "the services took the planted copy";
}

// Each spooler operation, called so that only a missing entry point can
// make it fail; it reports whether the call succeeded.
struct SpoolerCall {
    const char* name;
    std::function<bool(Win32Services&)> call;
};

const SpoolerCall kSpoolerCalls[] = {
    {"GetPrinterDriverDirectory",
     [](Win32Services& sys) {
         char buffer[255] = {};
         uint32_t needed = 0;
         return sys.GetPrinterDriverDirectory(kEnvX86, buffer, sizeof buffer, &needed);
     }},
    {"AddPrinterDriver", [](Win32Services& sys) { return sys.AddPrinterDriver({}); }},
    {"AddPrinter", [](Win32Services& sys) { return sys.AddPrinter({}) != 0; }},
    {"EnumPorts",
     [](Win32Services& sys) {
         std::vector<engine::PortEntry> ports(1);
         bool ok = sys.EnumPorts(ports);
         return ok || !ports.empty();
     }},
    {"EnumMonitors",
     [](Win32Services& sys) {
         std::vector<engine::MonitorEntry> monitors(1);
         bool ok = sys.EnumMonitors(monitors);
         return ok || !monitors.empty();
     }},
    {"ConfigurePort", [](Win32Services& sys) { return sys.ConfigurePort(0, "COM1:"); }},
    {"AddPort", [](Win32Services& sys) { return sys.AddPort(0, "Local Port"); }},
};

struct MissingSpoolerCase {
    const char* file;  // in the system folder
    DWORD error;
};

// A module without the entry points, and one that does not exist.
const MissingSpoolerCase kMissingSpoolers[] = {
    {"kernel32.dll", ERROR_PROC_NOT_FOUND},
    {"no-such-spooler.drv", ERROR_MOD_NOT_FOUND},
};

TEST(SpoolerModule, MissingEntryPointsFailEveryCallWithAClearError) {
    for (const MissingSpoolerCase& spooler : kMissingSpoolers) {
        Win32Services sys(spooler.file);
        for (const SpoolerCall& op : kSpoolerCalls) {
            SCOPED_TRACE(std::string(spooler.file) + " " + op.name);
            SetLastError(kSentinel);
            EXPECT_FALSE(op.call(sys));
            EXPECT_EQ(sys.LastError(), spooler.error);
            EXPECT_EQ(GetLastError(), spooler.error);
        }
        // Closing "no printer" is not a call at all.
        SetLastError(kSentinel);
        sys.ClosePrinter(0);
        EXPECT_EQ(GetLastError(), kSentinel);
    }
}

struct PortRow {
    const char* name;
    const char* description;
};

// A fresh prefix's local ports, in the spooler's order.
const PortRow kWinePorts[] = {
    {"COM1:", "Local Port"}, {"COM2:", "Local Port"}, {"COM3:", "Local Port"},
    {"COM4:", "Local Port"}, {"FILE:", "Local Port"}, {"LPT1:", "Local Port"},
    {"LPT2:", "Local Port"}, {"LPT3:", "Local Port"},
};

TEST(Spooler, EnumPortsListsTheLocalPorts) {
    Win32Services sys;
    std::vector<engine::PortEntry> ports = {{"stale", "entry"}};
    SetLastError(kSentinel);
    ASSERT_TRUE(sys.EnumPorts(ports));
    ASSERT_EQ(ports.size(), std::size(kWinePorts));
    for (size_t i = 0; i < ports.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ports[i].name, kWinePorts[i].name);
        EXPECT_EQ(ports[i].description, kWinePorts[i].description);
    }
}

TEST(Spooler, EnumMonitorsListsTheLocalPortMonitor) {
    Win32Services sys;
    std::vector<engine::MonitorEntry> monitors(3);
    ASSERT_TRUE(sys.EnumMonitors(monitors));
    ASSERT_EQ(monitors.size(), 1u);
    EXPECT_TRUE(monitors[0].hasName);
    EXPECT_EQ(monitors[0].name, "Local Port");
}

struct DirectoryCase {
    const char* environment;
    bool succeeds;
    const char* folder;  // below the system folder's spool\drivers
    DWORD error;
};

const DirectoryCase kDirectoryCases[] = {
    {kEnvX86, true, "w32x86", 0},
    {kEnvX64, true, "x64", 0},
    {"", true, "w32x86", 0},  // none named: the caller's own, x86 for this program
    {"Windows NT Imaginary", false, nullptr, ERROR_INVALID_ENVIRONMENT},
};

TEST(Spooler, DriverDirectoryPerEnvironment) {
    Win32Services sys;
    const std::string drivers = SystemFolder() + "\\spool\\drivers\\";
    for (const DirectoryCase& c : kDirectoryCases) {
        SCOPED_TRACE(c.environment);
        char buffer[255] = {};
        uint32_t needed = 0;
        SetLastError(kSentinel);
        bool ok = sys.GetPrinterDriverDirectory(c.environment, buffer, sizeof buffer, &needed);
        ASSERT_EQ(ok, c.succeeds);
        if (c.succeeds) {
            EXPECT_TRUE(EqualNoCase(buffer, drivers + c.folder)) << buffer;
            EXPECT_TRUE(FolderExists(buffer)) << buffer;
        } else {
            EXPECT_EQ(sys.LastError(), c.error);
            EXPECT_EQ(GetLastError(), c.error);
            EXPECT_STREQ(buffer, "");
        }
    }
}

struct BufferEdge {
    const char* label;
    int sizeFromNeeded;  // the buffer size relative to the needed size
    bool noBuffer;
    bool succeeds;
};

const BufferEdge kBufferEdges[] = {
    {"no buffer", 0, true, false},
    {"one byte less", -1, false, false},
    {"exactly the needed size", 0, false, true},
    {"one byte more", 1, false, true},
};

TEST(Spooler, DriverDirectoryBufferSizeEdges) {
    Win32Services sys;
    for (const char* environment : {kEnvX86, kEnvX64}) {
        const std::string expected = DriverDirectory(sys, environment);
        ASSERT_FALSE(expected.empty());
        uint32_t needed = 0;
        SetLastError(kSentinel);
        ASSERT_FALSE(sys.GetPrinterDriverDirectory(environment, nullptr, 0, &needed));
        ASSERT_EQ(sys.LastError(), engine::kErrorInsufficientBuffer);
        ASSERT_GE(needed, expected.size() + 1);

        for (const BufferEdge& edge : kBufferEdges) {
            SCOPED_TRACE(std::string(environment) + ", " + edge.label);
            const size_t size = needed + edge.sizeFromNeeded;
            std::vector<char> buffer(size + 1, 'x');
            buffer[size] = '\0';
            uint32_t reported = 0;
            SetLastError(kSentinel);
            bool ok = sys.GetPrinterDriverDirectory(environment,
                                                    edge.noBuffer ? nullptr : buffer.data(),
                                                    edge.noBuffer ? 0 : static_cast<uint32_t>(size),
                                                    &reported);
            EXPECT_EQ(ok, edge.succeeds);
            EXPECT_EQ(reported, needed);
            if (edge.succeeds) {
                EXPECT_EQ(std::string(buffer.data()), expected);
            } else {
                EXPECT_EQ(sys.LastError(), engine::kErrorInsufficientBuffer);
                EXPECT_EQ(GetLastError(), engine::kErrorInsufficientBuffer);
            }
        }
    }
}

TEST(Spooler, DriverDirectoryFitsTheInstallersBuffer) {
    Win32Services sys;
    for (const char* environment : {kEnvX86, kEnvX64}) {
        SCOPED_TRACE(environment);
        char buffer[255] = {};
        uint32_t needed = 0;
        ASSERT_TRUE(sys.GetPrinterDriverDirectory(environment, buffer, sizeof buffer, &needed));
        EXPECT_LE(needed, sizeof buffer);
    }
}

struct ConfigureCase {
    const char* port;
    bool showsDialog;  // the port monitor's own; cancelled here
    bool succeeds;
    DWORD error;
};

// COM ports have nothing for the local monitor to ask; LPT ports get the
// timeout dialog.
const ConfigureCase kConfigureCases[] = {
    {"COM1:", false, true, 0},
    {"LPT1:", true, false, ERROR_CANCELLED},
};

// A visible top-level window that stands for the installer's page.
class OwnerWindow {
public:
    OwnerWindow() {
        m_hwnd = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetActiveWindow(m_hwnd);
    }
    ~OwnerWindow() { DestroyWindow(m_hwnd); }
    HWND hwnd() const { return m_hwnd; }
    engine::WindowHandle handle() const { return reinterpret_cast<engine::WindowHandle>(m_hwnd); }

private:
    HWND m_hwnd = nullptr;
};

TEST(Spooler, ConfigurePortRunsTheMonitorsDialogOverTheOwner) {
    Win32Services sys;
    OwnerWindow owner;
    for (const ConfigureCase& c : kConfigureCases) {
        SCOPED_TRACE(c.port);
        DialogCatcher catcher([](HWND dialog) { DialogCatcher::Press(dialog, IDCANCEL); });
        SetLastError(kSentinel);
        bool ok = sys.ConfigurePort(owner.handle(), c.port);
        EXPECT_EQ(ok, c.succeeds);
        if (!c.succeeds) EXPECT_EQ(sys.LastError(), c.error);
        EXPECT_EQ(catcher.Stalled(), 0);
        ASSERT_EQ(catcher.Seen().size(), c.showsDialog ? 1u : 0u);
        if (c.showsDialog) EXPECT_EQ(catcher.Seen()[0].owner, owner.hwnd());
    }
}

TEST(Spooler, AddPortRunsTheMonitorsDialogOverTheOwner) {
    Win32Services sys;
    OwnerWindow owner;
    DialogCatcher catcher([](HWND dialog) { DialogCatcher::Press(dialog, IDCANCEL); });
    SetLastError(kSentinel);
    EXPECT_FALSE(sys.AddPort(owner.handle(), "Local Port"));
    EXPECT_EQ(sys.LastError(), static_cast<uint32_t>(ERROR_CANCELLED));
    EXPECT_EQ(catcher.Stalled(), 0);
    ASSERT_EQ(catcher.Seen().size(), 1u);
    EXPECT_EQ(catcher.Seen()[0].owner, owner.hwnd());

    // Nothing was added.
    std::vector<engine::PortEntry> ports;
    ASSERT_TRUE(sys.EnumPorts(ports));
    EXPECT_EQ(ports.size(), std::size(kWinePorts));
}

TEST(Spooler, AddPortThroughAnUnknownMonitorFails) {
    Win32Services sys;
    DialogCatcher catcher([](HWND dialog) { DialogCatcher::Press(dialog, IDCANCEL); });
    SetLastError(kSentinel);
    EXPECT_FALSE(sys.AddPort(0, "No Such Monitor"));
    EXPECT_EQ(sys.LastError(), static_cast<uint32_t>(ERROR_NOT_SUPPORTED));  // Wine's answer
    EXPECT_TRUE(catcher.Seen().empty());
}

// ---------------------------------------------------------------- files

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FolderExists(m_scratch.Path())); }

    ScratchFolder m_scratch{"services-files"};
    Win32Services m_sys;
};

struct CopyCase {
    const char* label;
    const char* source;       // in the scratch folder; null for a missing one
    const char* destination;  // in the scratch folder
    bool destinationExists;
    bool succeeds;
    DWORD error;
};

const CopyCase kCopyCases[] = {
    {"new destination", "a.txt", "new.txt", false, true, 0},
    {"destination overwritten", "a.txt", "old.txt", true, true, 0},
    {"missing source", nullptr, "never.txt", false, false, ERROR_FILE_NOT_FOUND},
    {"missing destination folder", "a.txt", "no-such-folder\\b.txt", false, false,
     ERROR_PATH_NOT_FOUND},
};

TEST_F(FilesTest, CopyFileOverwrites) {
    const std::string content = "STAND-IN file for tests: a.txt";
    ASSERT_TRUE(WriteTextFile(m_scratch / "a.txt", content));
    for (const CopyCase& c : kCopyCases) {
        SCOPED_TRACE(c.label);
        const std::string destination = m_scratch / c.destination;
        if (c.destinationExists) ASSERT_TRUE(WriteTextFile(destination, "older and longer text"));
        const std::string source = m_scratch / (c.source ? c.source : "missing.txt");
        SetLastError(kSentinel);
        bool ok = m_sys.CopyFile(source, destination);
        ASSERT_EQ(ok, c.succeeds);
        if (c.succeeds) {
            EXPECT_EQ(ReadTextFile(destination), content);
        } else {
            EXPECT_EQ(m_sys.LastError(), c.error);
            EXPECT_FALSE(FileExists(destination));
        }
    }
}

TEST_F(FilesTest, DirectoryExists) {
    ASSERT_TRUE(WriteTextFile(m_scratch / "file.txt", "x"));
    ASSERT_TRUE(CreateDirectoryA((m_scratch / "sub").c_str(), nullptr));
    struct Case {
        std::string path;
        bool exists;
        DWORD error;  // recorded when the path is not there at all
    };
    const Case cases[] = {
        {m_scratch.Path(), true, 0},
        {m_scratch / "sub", true, 0},
        {m_scratch / "file.txt", false, 0},
        {m_scratch / "missing", false, ERROR_FILE_NOT_FOUND},
        {m_scratch / "missing\\deeper", false, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        Win32Services sys;
        EXPECT_EQ(sys.DirectoryExists(c.path), c.exists);
        EXPECT_EQ(sys.LastError(), c.error);
    }
}

TEST_F(FilesTest, CurrentDirectoryHasNoTrailingBackslashExceptAtARoot) {
    const std::string before = CurrentFolder();
    const std::string systemRoot = SystemFolder().substr(0, 3);  // "C:\"
    struct Case {
        std::string folder;
        std::string expected;
    };
    const Case cases[] = {
        {m_scratch.Path(), m_scratch.Path()},
        {m_scratch.Path() + "\\", m_scratch.Path()},
        {systemRoot, systemRoot},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        ASSERT_TRUE(SetCurrentDirectoryA(c.folder.c_str()));
        EXPECT_TRUE(EqualNoCase(m_sys.CurrentDirectory(), c.expected)) << m_sys.CurrentDirectory();
    }
    SetCurrentDirectoryA(before.c_str());
}

TEST(Files, ProgramFolderHoldsTheProgram) {
    Win32Services sys;
    const std::string folder = sys.ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_TRUE(EqualNoCase(folder, FolderOf(ProgramFile())));
    EXPECT_TRUE(FileExists(folder + "\\" TEST_PROGRAM_NAME ".exe"));
    std::string buildFolder = TEST_BINARY_DIR;
    std::replace(buildFolder.begin(), buildFolder.end(), '/', '\\');
    EXPECT_TRUE(EqualNoCase(folder.substr(0, buildFolder.size()), buildFolder)) << folder;
}

TEST(Files, ProgramTitleIsTheFileNameWithoutExtension) {
    EXPECT_EQ(win32::ProgramTitle(), L"" TEST_PROGRAM_NAME);
}

// ---------------------------------------------------------------- registry

constexpr const char* kTestKey = "Software\\OrvaSetup Tests\\Services";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }

    // The value's type and bytes, read without the services.
    static bool ReadValue(const char* name, DWORD* type, std::string* bytes) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
            return false;
        }
        char data[512] = {};
        DWORD size = sizeof data;
        LONG result = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data), &size);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS) return false;
        bytes->assign(data, size);
        return true;
    }

    Win32Services m_sys;
};

struct ValueCase {
    const char* name;
    const char* data;
};

const ValueCase kValueCases[] = {
    {"Device", "QX-205X Series,winspool,LPT1:"},
    {"COM4:", "115200,M,5,1.5, "},
    {"Device", "QX-205X Series,winspool,"},  // written again, shorter
    {"Empty", ""},
};

TEST_F(RegistryTest, SetStringWritesTheTextWithItsNul) {
    for (const ValueCase& c : kValueCases) {
        SCOPED_TRACE(std::string(c.name) + " = " + c.data);
        engine::RegKey key = 0;
        SetLastError(kSentinel);
        ASSERT_EQ(m_sys.RegOpenKey(engine::RegRoot::CurrentUser, kTestKey, &key), 0);
        ASSERT_NE(key, 0u);
        EXPECT_EQ(m_sys.RegSetString(key, c.name, c.data), 0);
        m_sys.RegCloseKey(key);

        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(ReadValue(c.name, &type, &bytes));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(bytes, std::string(c.data) + '\0');
    }
}

TEST_F(RegistryTest, KeyIsOpenedForSettingValuesOnly) {
    engine::RegKey key = 0;
    ASSERT_EQ(m_sys.RegOpenKey(engine::RegRoot::CurrentUser, kTestKey, &key), 0);
    char data[16];
    DWORD size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(reinterpret_cast<HKEY>(key), "Device", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(data), &size),
              ERROR_ACCESS_DENIED);
    m_sys.RegCloseKey(key);
}

struct OpenCase {
    engine::RegRoot root;
    const char* path;
    long result;
};

const OpenCase kOpenCases[] = {
    {engine::RegRoot::CurrentUser, kTestKey, ERROR_SUCCESS},
    {engine::RegRoot::CurrentUser, "Software\\OrvaSetup Tests\\No Such Key", ERROR_FILE_NOT_FOUND},
    {engine::RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports",
     ERROR_SUCCESS},
    // Only under the other root.
    {engine::RegRoot::LocalMachine, kTestKey, ERROR_FILE_NOT_FOUND},
};

TEST_F(RegistryTest, OpenKeyReportsTheErrorCode) {
    for (const OpenCase& c : kOpenCases) {
        SCOPED_TRACE(c.path);
        Win32Services sys;
        engine::RegKey key = 12345;
        SetLastError(kSentinel);
        EXPECT_EQ(sys.RegOpenKey(c.root, c.path, &key), c.result);
        if (c.result == ERROR_SUCCESS) {
            EXPECT_NE(key, 0u);
            EXPECT_EQ(sys.LastError(), 0u);
            sys.RegCloseKey(key);
        } else {
            EXPECT_EQ(key, 0u);
            EXPECT_EQ(sys.LastError(), static_cast<uint32_t>(c.result));
        }
    }
}

// ---------------------------------------------------------------- errors

TEST(Errors, ErrorTextIsTheSystemsOwnTextWithoutLineBreak) {
    Win32Services sys;
    const DWORD codes[] = {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_INSUFFICIENT_BUFFER,
                           ERROR_INVALID_ENVIRONMENT, ERROR_PROC_NOT_FOUND};
    for (DWORD code : codes) {
        SCOPED_TRACE(code);
        char raw[512] = {};
        ASSERT_NE(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, raw, sizeof raw, nullptr),
                  0u);
        const std::string text = sys.ErrorText(code);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
        EXPECT_NE(text.back(), '.');
        EXPECT_NE(text.back(), ' ');
        EXPECT_EQ(std::string(raw).compare(0, text.size(), text), 0) << raw;
    }
}

TEST(Errors, ErrorTextWithoutSystemTextNamesTheCode) {
    Win32Services sys;
    // The customer bit: the system has no text for such codes.
    EXPECT_EQ(sys.ErrorText(0x2000beefu), "error 536919791");
}

TEST(Errors, LastErrorKeepsTheLastFailureAcrossSuccesses) {
    Win32Services sys;
    EXPECT_EQ(sys.LastError(), 0u);
    EXPECT_FALSE(sys.DirectoryExists("C:\\no such folder here"));
    EXPECT_EQ(sys.LastError(), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
    SetLastError(kSentinel);
    EXPECT_TRUE(sys.DirectoryExists(SystemFolder()));
    EXPECT_EQ(sys.LastError(), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
}

// ---------------------------------------------------------------- kernel

struct VersionCase {
    uint32_t recordSize;
    bool succeeds;
};

const VersionCase kVersionCases[] = {
    {sizeof(OSVERSIONINFOEXA), true},  // 156
    {sizeof(OSVERSIONINFOA), true},    // 148
    {100, false},
    {0, false},
};

TEST(Kernel, GetVersionExWithBothRecordSizes) {
    static_assert(sizeof(OSVERSIONINFOEXA) == 156 && sizeof(OSVERSIONINFOA) == 148, "record sizes");
    Win32Services sys;
    // The old packed form, independent of the record sizes.
    const DWORD packed = GetVersion();
    for (const VersionCase& c : kVersionCases) {
        SCOPED_TRACE(c.recordSize);
        engine::OsVersion version{99, 99, 99};
        SetLastError(kSentinel);
        ASSERT_EQ(sys.GetVersionEx(c.recordSize, &version), c.succeeds);
        if (c.succeeds) {
            EXPECT_EQ(version.dwPlatformId, static_cast<uint32_t>(VER_PLATFORM_WIN32_NT));
            EXPECT_EQ(version.dwMajorVersion, LOBYTE(LOWORD(packed)));
            EXPECT_EQ(version.dwMinorVersion, HIBYTE(LOWORD(packed)));
        } else {
            EXPECT_EQ(sys.LastError(), engine::kErrorInsufficientBuffer);
            EXPECT_EQ(version.dwMajorVersion, 99u);
        }
    }
}

// The build runs this program in a 64-bit prefix and, as a second program,
// in a 32-bit one; each knows which it was made for.
constexpr bool kPrefixIs64Bit = TEST_PREFIX_IS_64BIT != 0;
constexpr int kWow64Flag = kPrefixIs64Bit ? 1 : 0;
constexpr USHORT kNativeMachine = kPrefixIs64Bit ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;

TEST(Kernel, IsWow64ProcessAnswersForThePrefix) {
    // Only a 64-bit system has a WoW64 system folder: the run is in the
    // prefix it was registered for.
    char wow64Folder[MAX_PATH];
    ASSERT_EQ(GetSystemWow64DirectoryA(wow64Folder, MAX_PATH) != 0, kPrefixIs64Bit);
    Win32Services sys;
    engine::Wow64Answer answer = sys.IsWow64Process();
    EXPECT_TRUE(answer.functionExists);
    EXPECT_EQ(answer.flag, kWow64Flag);
}

TEST(Kernel, IsWow64Process2ReportsTheNativeMachine) {
    Win32Services sys;
    engine::NativeMachineAnswer answer = sys.IsWow64Process2();
    const bool exported =
        GetProcAddress(GetModuleHandleA("kernel32"), "IsWow64Process2") != nullptr;
    ASSERT_EQ(answer.functionExists, exported);
    if (!exported) GTEST_SKIP() << "this system has no IsWow64Process2";
    EXPECT_TRUE(answer.succeeded);
    EXPECT_EQ(answer.nativeMachine, kNativeMachine);
}

// OutputDebugStringA raises DBG_PRINTEXCEPTION_C for a debugger to catch;
// a vectored handler sees it first.
std::vector<std::string> g_debugLines;

LONG CALLBACK CatchDebugText(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
        g_debugLines.emplace_back(reinterpret_cast<const char*>(record->ExceptionInformation[1]));
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST(Kernel, DebugOutputReachesTheDebugger) {
    PVOID handler = AddVectoredExceptionHandler(1, CatchDebugText);
    ASSERT_NE(handler, nullptr);
    g_debugLines.clear();
    Win32Services sys;
    const char* lines[] = {"LPT1:\n", "Local Port\n"};
    for (const char* line : lines) sys.DebugOutput(line);
    RemoveVectoredExceptionHandler(handler);
    ASSERT_EQ(g_debugLines.size(), std::size(lines));
    for (size_t i = 0; i < std::size(lines); ++i) EXPECT_EQ(g_debugLines[i], lines[i]);
}

TEST(Kernel, RestrictDllSearchToSystemTakesEffect) {
    // Wine has SetDefaultDllDirectories; after it, a module name without a
    // path is no longer looked for in the current folder.
    ScratchFolder scratch("services-dll");
    const std::string before = CurrentFolder();
    ASSERT_TRUE(CopyFileA(PLANTED_DLL, (scratch / "planted_probe.dll").c_str(), FALSE));
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.Path().c_str()));

    HMODULE found = LoadLibraryA("planted_probe.dll");
    ASSERT_NE(found, nullptr) << "the default search includes the current folder";
    FreeLibrary(found);

    EXPECT_TRUE(win32::RestrictDllSearchToSystem());
    SetLastError(kSentinel);
    EXPECT_EQ(LoadLibraryA("planted_probe.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    SetCurrentDirectoryA(before.c_str());
}

// ---------------------------------------------------------------- shell

struct MessageCase {
    const char* label;
    std::string text;
    engine::TextEncoding encoding;
    std::wstring shown;
};

const MessageCase kMessageCases[] = {
    {"cp936 text", "\xb4\xed\xce\xf3\xa3\xba\xce\xde\xb7\xa8\xc9\xe8\xd6\xc3\xd3\xd0"
                   "\xb9\xd8\xb5\xc4\xd7\xa2\xb2\xe1\xb1\xed\xd0\xc5\xcf\xa2",
     engine::TextEncoding::Cp936,
     L"\x9519\x8bef\xff1a\x65e0\x6cd5\x8bbe\x7f6e\x6709\x5173\x7684\x6ce8\x518c\x8868\x4fe1\x606f"},
    {"ansi text", "Could not copy \"x86\\QX20N.DLL\"", engine::TextEncoding::Ansi,
     L"Could not copy \"x86\\QX20N.DLL\""},
};

// What the message box showed, read during its initialisation.
struct BoxContents {
    std::wstring text;
    std::vector<int> visibleButtons;
    HICON icon = nullptr;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM param) {
    auto* box = reinterpret_cast<BoxContents*>(param);
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (EqualNoCase(className, "Button") && (style & WS_VISIBLE)) {
        box->visibleButtons.push_back(GetDlgCtrlID(child));
    }
    if (EqualNoCase(className, "Static") && (style & SS_TYPEMASK) == SS_ICON) {
        box->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    }
    return TRUE;
}

TEST(Shell, ShowMessageConvertsTheTextAndShowsOnlyOk) {
    Win32Services sys;
    OwnerWindow owner;
    for (const MessageCase& c : kMessageCases) {
        SCOPED_TRACE(c.label);
        ASSERT_EQ(GetActiveWindow(), owner.hwnd());
        BoxContents box;
        DialogCatcher catcher([&box](HWND dialog) {
            box.text = DialogCatcher::ControlText(dialog, 0xFFFF);  // the message text
            EnumChildWindows(dialog, ReadBoxChild, reinterpret_cast<LPARAM>(&box));
            DialogCatcher::Press(dialog, IDOK);
        });
        sys.ShowMessage(c.text, c.encoding);
        EXPECT_EQ(catcher.Stalled(), 0);
        ASSERT_EQ(catcher.Seen().size(), 1u);
        EXPECT_EQ(catcher.Seen()[0].caption, L"" TEST_PROGRAM_NAME);
        EXPECT_EQ(catcher.Seen()[0].owner, owner.hwnd());
        EXPECT_EQ(box.text, c.shown);
        EXPECT_EQ(box.visibleButtons, std::vector<int>{IDOK});
        EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_EXCLAMATION));
    }
}

// Records WM_SETTINGCHANGE as top-level windows of both kinds receive it.
std::vector<std::string> g_settingChanges;

LRESULT CALLBACK AnsiListener(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE) {
        g_settingChanges.push_back("ansi " + std::to_string(wParam) + ":" +
                                   (lParam ? reinterpret_cast<const char*>(lParam) : "(null)"));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK WideListener(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE) {
        std::string text = "(null)";
        if (lParam) {
            std::wstring wide = reinterpret_cast<const wchar_t*>(lParam);
            text.assign(wide.begin(), wide.end());  // ASCII expected
        }
        g_settingChanges.push_back("wide " + std::to_string(wParam) + ":" + text);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST(Shell, BroadcastDefaultPrinterChangeReachesTopLevelWindows) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA ansiClass = {};
    ansiClass.lpfnWndProc = AnsiListener;
    ansiClass.hInstance = instance;
    ansiClass.lpszClassName = "ServicesTestAnsiListener";
    WNDCLASSW wideClass = {};
    wideClass.lpfnWndProc = WideListener;
    wideClass.hInstance = instance;
    wideClass.lpszClassName = L"ServicesTestWideListener";
    ASSERT_NE(RegisterClassA(&ansiClass), 0);
    ASSERT_NE(RegisterClassW(&wideClass), 0);
    HWND ansi = CreateWindowExA(0, ansiClass.lpszClassName, "ansi", WS_OVERLAPPED, 0, 0, 10, 10,
                                nullptr, nullptr, instance, nullptr);
    HWND wide = CreateWindowExW(0, wideClass.lpszClassName, L"wide", WS_OVERLAPPED, 0, 0, 10, 10,
                                nullptr, nullptr, instance, nullptr);
    ASSERT_NE(ansi, nullptr);
    ASSERT_NE(wide, nullptr);
    g_settingChanges.clear();

    Win32Services sys;
    sys.BroadcastDefaultPrinterChange();
    std::sort(g_settingChanges.begin(), g_settingChanges.end());
    EXPECT_EQ(g_settingChanges, (std::vector<std::string>{"ansi 0:windows", "wide 0:windows"}));
    DestroyWindow(ansi);
    DestroyWindow(wide);
    UnregisterClassA(ansiClass.lpszClassName, instance);
    UnregisterClassW(wideClass.lpszClassName, instance);
}

}  // namespace
