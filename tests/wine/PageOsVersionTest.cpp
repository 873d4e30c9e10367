// The operating-system page with the real system services: it has to tick
// the radio button for the version Wine reports. Wine reads the version to
// report when a process starts, from HKCU\Software\Wine\AppDefaults\<exe>;
// to see more than one version, the test sets it and runs this program
// again for the case below, once per setting.
#include "Win32Services.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "OsSelectPage.h"
#include "UiPages.h"
#include "UiScript.h"
#include "resource.h"

namespace {

using namespace uitest;

// Set for a run of this program by the test below: the version ("5.1") the
// child has to see.
const char kExpectVariable[] = "PAGE_OS_EXPECT_VERSION";
const char kReportsCase[] = "PageOsReal.TicksTheRadioButtonForTheVersionWineReports";

// Which radio button stands for a version; worked out here, not by the
// program's classification.
int RadioFor(const OSVERSIONINFOEXA& v) {
    if (v.dwPlatformId != VER_PLATFORM_WIN32_NT) return -1;  // not expected under Wine's NT settings
    if (v.dwMajorVersion <= 4) return IDC_OS_WINNT4;
    const struct {
        DWORD major, minor;
        int id;
    } known[] = {{5, 0, IDC_OS_WIN2000}, {5, 1, IDC_OS_WINXP}, {5, 2, IDC_OS_WIN2003},
                 {6, 0, IDC_OS_VISTA},   {6, 1, IDC_OS_WIN7},  {6, 2, IDC_OS_WIN8}};
    for (const auto& k : known) {
        if (k.major == v.dwMajorVersion && k.minor == v.dwMinorVersion) return k.id;
    }
    return 0;
}

class PageOsReal : public PageTest {
protected:
    PageOsReal() { app.SetServices(&real); }
    win32::Win32Services real;
};

TEST_F(PageOsReal, TicksTheRadioButtonForTheVersionWineReports) {
    OSVERSIONINFOEXA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)));
    const std::string reported = std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion);
    if (const char* expected = std::getenv(kExpectVariable)) {
        ASSERT_EQ(reported, expected) << "Wine did not take the version setting";
    }
    const int radio = RadioFor(version);
    ASSERT_GE(radio, 0) << "platform " << version.dwPlatformId;

    COsSelectPage page;
    std::vector<int> ticked;
    Script script;
    script.On(kOsCaption, "OS page up", [&](HWND dialog) {
        ticked = TickedRadios(dialog);
        Click(dialog, IDC_OS_EXIT);
    });
    EXPECT_EQ(script.Run([&] { return page.DoModal(); }), IDCANCEL);
    EXPECT_EQ(ticked, radio ? std::vector<int>{radio} : std::vector<int>{}) << "Wine reports " << reported;
}

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string ProgramName() {
    std::string path = ProgramPath();
    return path.substr(path.find_last_of('\\') + 1);
}

// Wine's version setting for this program, removed again when it goes.
class WineVersionSetting {
public:
    explicit WineVersionSetting(const std::string& value)
        : m_key("Software\\Wine\\AppDefaults\\" + ProgramName()) {
        DWORD disposition = 0;
        m_result = ::RegCreateKeyExA(HKEY_CURRENT_USER, m_key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                     &m_handle, &disposition);
        if (m_result != ERROR_SUCCESS) return;
        m_created = disposition == REG_CREATED_NEW_KEY;
        m_result = ::RegSetValueExA(m_handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1));
    }
    ~WineVersionSetting() {
        if (!m_handle) return;
        ::RegDeleteValueA(m_handle, "Version");
        ::RegCloseKey(m_handle);
        if (m_created) ::RegDeleteKeyA(HKEY_CURRENT_USER, m_key.c_str());
    }
    WineVersionSetting(const WineVersionSetting&) = delete;
    WineVersionSetting& operator=(const WineVersionSetting&) = delete;

    LONG Result() const { return m_result; }

private:
    std::string m_key;
    HKEY m_handle = nullptr;
    bool m_created = false;
    LONG m_result = ERROR_SUCCESS;
};

// Runs the reporting case in a new process of this program; its exit code,
// or a text saying why there is none.
DWORD RunReportingCase(const std::string& expectedVersion, std::string* why) {
    ::SetEnvironmentVariableA(kExpectVariable, expectedVersion.c_str());
    std::string command = "\"" + ProgramPath() + "\" --gtest_filter=" + kReportsCase;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    BOOL started = ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                    &process);
    ::SetEnvironmentVariableA(kExpectVariable, nullptr);
    if (!started) {
        *why = "CreateProcess failed with " + std::to_string(::GetLastError());
        return 0xFFFFFFFF;
    }
    DWORD code = 0xFFFFFFFF;
    // A stalled child ends its own dialogs; this is a last resort.
    if (::WaitForSingleObject(process.hProcess, 90000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 0xFFFFFFFE);
        ::WaitForSingleObject(process.hProcess, 5000);
        *why = "the child did not end";
    }
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}

struct SettingCase {
    const char* setting;
    const char* version;
};

// A filter that matches nothing would let the child pass with no test run.
bool IsRegistered(const std::string& fullName) {
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    for (int s = 0; s < unit.total_test_suite_count(); ++s) {
        const ::testing::TestSuite& suite = *unit.GetTestSuite(s);
        for (int t = 0; t < suite.total_test_count(); ++t) {
            if (std::string(suite.name()) + "." + suite.GetTestInfo(t)->name() == fullName) return true;
        }
    }
    return false;
}

class PageOsWineSetting : public ::testing::TestWithParam<SettingCase> {};

TEST_P(PageOsWineSetting, ChildTicksTheRadioButtonForTheSetVersion) {
    ASSERT_TRUE(IsRegistered(kReportsCase));
    WineVersionSetting setting(GetParam().setting);
    ASSERT_EQ(setting.Result(), ERROR_SUCCESS);
    std::string why;
    DWORD code = RunReportingCase(GetParam().version, &why);
    EXPECT_EQ(code, 0u) << "Version=" << GetParam().setting << " " << why;
}

INSTANTIATE_TEST_SUITE_P(
    Settings, PageOsWineSetting,
    ::testing::Values(SettingCase{"winxp", "5.1"}, SettingCase{"win7", "6.1"}, SettingCase{"win8", "6.2"},
                      SettingCase{"win2k", "5.0"}, SettingCase{"win2003", "5.2"}, SettingCase{"vista", "6.0"},
                      SettingCase{"nt40", "4.0"}),
    [](const ::testing::TestParamInfo<SettingCase>& info) { return std::string(info.param.setting); });

}  // namespace
