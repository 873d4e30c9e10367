// Times the wizard from outside, as a user sees it, and prints medians.
//   bench_driver startup PROGRAM CAPTION RUNS
//     from CreateProcess to a visible window with CAPTION, each run closed
//     again with WM_CLOSE
//   bench_driver install PROGRAM RUNS
//     from a click on "&Install" to the end of the Select Port page, less the
//     installation's fixed 500 ms pause; and the program's peak memory
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDeadlineMs = 60000;
constexpr double kInstallPauseMs = 500.0;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Find {
    DWORD pid;
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND hwnd, LPARAM l) {
    auto* find = reinterpret_cast<Find*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char text[256] = {};
    if (pid != find->pid || !IsWindowVisible(hwnd)) return TRUE;
    GetWindowTextA(hwnd, text, sizeof text);
    if (lstrcmpA(text, find->caption) != 0) return TRUE;
    find->found = hwnd;
    return FALSE;
}

HWND WaitForWindow(const PROCESS_INFORMATION& process, const char* caption) {
    double start = NowMs();
    while (NowMs() - start < kDeadlineMs) {
        Find find = {process.dwProcessId, caption, nullptr};
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&find));
        if (find.found) return find.found;
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    std::fprintf(stderr, "no window \"%s\"\n", caption);
    std::exit(2);
}

PROCESS_INFORMATION Start(const std::string& program) {
    std::string folder = program.substr(0, program.find_last_of("\\/"));
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), GetLastError());
        std::exit(2);
    }
    return process;
}

void End(PROCESS_INFORMATION& process) {
    if (WaitForSingleObject(process.hProcess, kDeadlineMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void Click(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

int Startup(const std::string& program, const char* caption, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double start = NowMs();
        PROCESS_INFORMATION process = Start(program);
        HWND window = WaitForWindow(process, caption);
        times.push_back(NowMs() - start);
        PostMessageA(window, WM_CLOSE, 0, 0);
        End(process);
    }
    std::printf("startup_ms %.1f\n", Median(times));
    return 0;
}

int Install(const std::string& program, int runs) {
    std::vector<double> times;
    SIZE_T peak = 0;
    for (int i = 0; i < runs; ++i) {
        PROCESS_INFORMATION process = Start(program);
        Click(WaitForWindow(process, "Select OS (x86/x64)"), 1009);
        Click(WaitForWindow(process, "Detail Setting (x86/x64)"), 1009);
        HWND ports = WaitForWindow(process, "Select Port (x86/x64)");
        double start = NowMs();
        Click(ports, 1022);
        while (IsWindow(ports) && NowMs() - start < kDeadlineMs) Sleep(1);
        times.push_back(NowMs() - start - kInstallPauseMs);
        HWND done = WaitForWindow(process, "OrvaSetup");
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
            peak = std::max(peak, memory.PeakWorkingSetSize);
        }
        PostMessageA(done, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        End(process);
    }
    std::printf("install_ms %.1f\n", Median(times));
    std::printf("peak_working_set_kb %lu\n", static_cast<unsigned long>(peak / 1024));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc == 5) return Startup(argv[2], argv[3], std::atoi(argv[4]));
    if (mode == "install" && argc == 4) return Install(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: bench_driver startup PROGRAM CAPTION RUNS | install PROGRAM RUNS\n");
    return 2;
}
