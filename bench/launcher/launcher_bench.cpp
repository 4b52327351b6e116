// Measures pkgrun's wall time per started program against the baseline loop, alternated in one
// run. Prints medians. (Wine reports no processor times for other processes: see cpu_bench.)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "files_win32.h"

namespace {

std::string ownFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, n);
    return full.substr(0, full.find_last_of('\\'));
}

double seconds()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Runs program in dir with argument text args and waits for it; its wall time in seconds.
double runIn(const std::string& program, const std::string& dir, const std::string& args)
{
    std::string line = "\"" + program + "\" " + args;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    double start = seconds();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                        &startup, &info)) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        std::exit(1);
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    double wall = seconds() - start;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return wall;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A fresh folder holding count copies of the child named kx0001.exe, kx0002.exe, ...
std::string packageFolder(const std::string& name, const std::string& child, int count)
{
    std::string dir = ownFolder() + "\\" + name;
    CreateDirectoryA(dir.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*.exe").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            DeleteFileA((dir + "\\" + found.cFileName).c_str());
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    for (int i = 1; i <= count; ++i) {
        char file[32];
        std::snprintf(file, sizeof file, "\\kx0%03d.exe", i);
        if (!CopyFileA(child.c_str(), (dir + file).c_str(), FALSE)) {
            std::fprintf(stderr, "cannot copy the child to %s\n", dir.c_str());
            std::exit(1);
        }
    }
    return dir;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: launcher_bench <pkgrun.exe> <child.exe> <spawn_loop.exe> "
                             "[programs per run] [rounds]\n");
        return 2;
    }
    const std::string pkgrun = fullPath(argv[1]);
    const std::string child = fullPath(argv[2]);
    const std::string loop = fullPath(argv[3]);
    const int programs = argc > 4 ? std::atoi(argv[4]) : 40;
    const int rounds = argc > 5 ? std::atoi(argv[5]) : 7;

    // Wall time per program: pkgrun and the loop over the same packages, alternated, and both
    // over no packages, so that their own start-up and end can be taken off.
    const std::string many = packageFolder("bench_many", child, programs);
    const std::string empty = packageFolder("bench_empty", child, 0);
    std::vector<double> launcher, baseline, launcherMarginal, baselineMarginal, pairedRatio;
    for (int r = 0; r < rounds; ++r) {
        const bool launcherFirst = r % 2 == 0;
        const std::string& first = launcherFirst ? pkgrun : loop;
        const std::string& second = launcherFirst ? loop : pkgrun;
        double firstMany = runIn(first, many, "0");
        double secondMany = runIn(second, many, "0");
        double firstEmpty = runIn(first, empty, "0");
        double secondEmpty = runIn(second, empty, "0");
        double launcherMany = launcherFirst ? firstMany : secondMany;
        double baselineMany = launcherFirst ? secondMany : firstMany;
        double launcherEmpty = launcherFirst ? firstEmpty : secondEmpty;
        double baselineEmpty = launcherFirst ? secondEmpty : firstEmpty;
        launcher.push_back(launcherMany / programs);
        baseline.push_back(baselineMany / programs);
        launcherMarginal.push_back((launcherMany - launcherEmpty) / programs);
        baselineMarginal.push_back((baselineMany - baselineEmpty) / programs);
        // Runs next to each other share the machine's load of the moment.
        pairedRatio.push_back(launcherMany / baselineMany);
    }
    std::printf("%d programs per run, medians of %d rounds\n", programs, rounds);
    std::printf("whole run per program:    pkgrun %6.2f ms, loop %6.2f ms, ratio %.3f\n",
                median(launcher) * 1e3, median(baseline) * 1e3, median(launcher) / median(baseline));
    std::printf("start-up taken off:       pkgrun %6.2f ms, loop %6.2f ms, ratio %.3f\n",
                median(launcherMarginal) * 1e3, median(baselineMarginal) * 1e3,
                median(launcherMarginal) / median(baselineMarginal));
    std::printf("ratio of neighbouring runs: median %.3f\n", median(pairedRatio));
    return 0;
}
