// Start-up and memory of a dialog program under Wine: from process start until
// its window is shown (and, for Lumbrel.exe, holds every channel name), then the
// peak working set. Runs the programs alternately so that both see the same noise.
//
// usage: startup_bench RUNS PROGRAM.exe [PROGRAM.exe ...]

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindShown(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    if (pid != s->pid || !::IsWindowVisible(w)) return TRUE;
    s->found = w;
    return FALSE;
}

struct Sample {
    double ms;
    SIZE_T peakWorkingSet;
};

bool RunOnce(const std::string& exe, Sample& out) {
    LARGE_INTEGER freq, start, now;
    ::QueryPerformanceFrequency(&freq);
    std::string cmd = "\"" + exe + "\"";
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    Search s{pi.dwProcessId, nullptr};
    bool ready = false;
    for (int spin = 0; spin < 200000 && !ready; ++spin) {
        s.found = nullptr;
        ::EnumWindows(&FindShown, reinterpret_cast<LPARAM>(&s));
        if (s.found) {
            HWND list = ::GetDlgItem(s.found, 1040);
            ready = !list || ::SendMessageA(list, LB_GETCOUNT, 0, 0) == 359;
        }
        if (!ready) ::Sleep(0);
    }
    ::QueryPerformanceCounter(&now);
    out.ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
    ::Sleep(200);  // let it settle before reading its memory
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    ::GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof(pmc));
    out.peakWorkingSet = pmc.PeakWorkingSetSize;
    if (s.found) ::PostMessageA(s.found, WM_COMMAND, IDCANCEL, 0);
    if (::WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return ready;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : (v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const int runs = std::atoi(argv[1]);
    std::vector<std::vector<double>> times(static_cast<std::size_t>(argc - 2));
    std::vector<std::vector<double>> memory(static_cast<std::size_t>(argc - 2));
    for (int r = 0; r < runs; ++r)
        for (int p = 2; p < argc; ++p) {
            Sample s{};
            if (!RunOnce(argv[p], s)) {
                std::fprintf(stderr, "%s did not show its window\n", argv[p]);
                return 1;
            }
            times[static_cast<std::size_t>(p - 2)].push_back(s.ms);
            memory[static_cast<std::size_t>(p - 2)].push_back(static_cast<double>(s.peakWorkingSet) / 1024.0);
        }
    for (int p = 2; p < argc; ++p)
        std::printf("%s\t%.1f ms\t%.0f KiB\n", argv[p], Median(times[static_cast<std::size_t>(p - 2)]),
                    Median(memory[static_cast<std::size_t>(p - 2)]));
    return 0;
}
