// Start-up of bwplan.exe from process creation to its form shown and idle, against a program
// that creates the same template with a do-nothing dialog procedure, runs interleaved.
#include <cstdio>
#include <string>

#include "bench_support.h"
#include "files_win32.h"

namespace {

struct Search {
    DWORD pid;
    bool found;
};

BOOL CALLBACK findShown(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window) && GetDlgItem(window, 1083) != nullptr) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

// Microseconds from CreateProcess to a shown form and an idle message loop; -1 on failure.
double timeStart(const std::string& exe) {
    std::string line = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    double start = nowMicros();
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    double elapsed = -1;
    if (WaitForInputIdle(info.hProcess, 10000) == 0) {
        for (int i = 0; i < 10000; ++i) {
            Search search{info.dwProcessId, false};
            EnumWindows(findShown, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                elapsed = nowMicros() - start;
                break;
            }
            Sleep(1);
        }
    }
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return elapsed;
}

}  // namespace

// startup_bench <bwplan.exe> <blank_dialog.exe> [runs]
int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench <bwplan.exe> <blank_dialog.exe> [runs]\n");
        return 2;
    }
    std::string program = fullPath(argv[1]), baseline = fullPath(argv[2]);
    int runs = argc > 3 ? std::stoi(argv[3]) : 15;
    timeStart(program);  // warm the file cache and the server
    timeStart(baseline);
    std::vector<double> mapperTimes, blankTimes;
    for (int i = 0; i < runs; ++i) {
        mapperTimes.push_back(timeStart(program));
        blankTimes.push_back(timeStart(baseline));
    }
    double m = median(mapperTimes), b = median(blankTimes);
    std::printf("start-up to shown and idle, %d runs each: bwplan median %.0f ms, do-nothing dialog "
                "median %.0f ms, ratio %.2f\n", runs, m / 1000, b / 1000, m / b);
    return 0;
}
