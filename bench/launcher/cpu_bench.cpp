// Processor time of pkgrun under Wine while its package sleeps, from the kernel's accounting of
// the process (Wine reports no processor times for another process). A Linux program.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Measured {
    double wall;
    double cpu; // user plus system time of the process, its own waited-for children included
};

double now()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

Measured runIn(const std::string& wineExec, const std::string& pkgrun, const fs::path& dir,
               const char* args)
{
    double start = now();
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) == 0)
            execl(wineExec.c_str(), wineExec.c_str(), pkgrun.c_str(), args, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    double wall = now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "pkgrun run failed in %s\n", dir.c_str());
        std::exit(1);
    }
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return {wall, seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A folder of this run's own under the temporary folder; removed by main at the end.
fs::path privateFolder()
{
    const char* temp = std::getenv("TMPDIR");
    std::string pattern = std::string(temp && *temp ? temp : "/tmp") + "/launcher_cpu_bench_XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: launcher_cpu_bench <wine-exec.sh> <pkgrun.exe> <child.exe> [rounds]\n");
        return 2;
    }
    const std::string wineExec = argv[1];
    const std::string pkgrun = argv[2];
    const fs::path child = argv[3];
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 7;

    const fs::path work = privateFolder();
    const fs::path withPackage = work / "package";
    const fs::path empty = work / "empty";
    fs::create_directories(withPackage);
    fs::create_directories(empty);
    fs::copy_file(child, withPackage / "kx0001.exe");

    std::vector<double> sleepingCpu, sleepingWall, quickCpu, emptyCpu;
    for (int r = 0; r < rounds; ++r) {
        Measured sleeping = runIn(wineExec, pkgrun, withPackage, "2000");
        sleepingCpu.push_back(sleeping.cpu);
        sleepingWall.push_back(sleeping.wall);
        quickCpu.push_back(runIn(wineExec, pkgrun, withPackage, "0").cpu);
        emptyCpu.push_back(runIn(wineExec, pkgrun, empty, "0").cpu);
    }
    std::printf("pkgrun processor time, medians of %d rounds:\n", rounds);
    std::printf("  package sleeping 2 s: %6.1f ms (wall %.3f s)\n", median(sleepingCpu) * 1e3,
                median(sleepingWall));
    std::printf("  package ending at once: %4.1f ms\n", median(quickCpu) * 1e3);
    std::printf("  nothing to start:    %6.1f ms\n", median(emptyCpu) * 1e3);
    std::printf("  spent during the 2 s wait (first minus second): %.1f ms\n",
                (median(sleepingCpu) - median(quickCpu)) * 1e3);
    fs::remove_all(work);
    return 0;
}
