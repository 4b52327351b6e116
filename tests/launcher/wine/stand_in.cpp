// Stand-in for the programs that pkgrun starts: records its command line, start and end in
// run.log and exits with the code that stand_in.cfg gives its file name.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The file name this copy runs under, without its directory.
std::string ownName()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, n);
    return full.substr(full.find_last_of("\\/") + 1);
}

// Microseconds on the system-wide monotonic counter, comparable across processes.
long long nowMicros()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return count.QuadPart / frequency.QuadPart * 1000000
        + count.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

// One whole line per append, so that lines of programs that overlap do not interleave.
void logLine(const std::string& line)
{
    HANDLE log = CreateFileA("run.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        ExitProcess(90);
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
}

struct Behaviour {
    unsigned long exitCode = 0;
    unsigned long sleepMs = 0;
    bool crash = false;  // an access violation instead of the exit
};

// stand_in.cfg: one line per program, "<file name>\t<exit code>\t<milliseconds to sleep>", and
// "\tcrash" for a program that dies of an access violation instead of exiting.
Behaviour behaviourOf(const std::string& name)
{
    Behaviour behaviour;
    FILE* cfg = std::fopen("stand_in.cfg", "r");
    if (!cfg)
        return behaviour;
    char line[512];
    while (std::fgets(line, sizeof line, cfg)) {
        char* tab = std::strchr(line, '\t');
        if (!tab || std::string(line, tab) != name)
            continue;
        char* rest = nullptr;
        behaviour.exitCode = std::strtoul(tab + 1, &rest, 0);
        behaviour.sleepMs = std::strtoul(rest, &rest, 0);
        behaviour.crash = std::strncmp(rest, "\tcrash", 6) == 0;
    }
    std::fclose(cfg);
    return behaviour;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::string name = ownName();
    const Behaviour behaviour = behaviourOf(name);
    const std::string pid = std::to_string(GetCurrentProcessId());
    logLine("start\t" + name + "\t" + pid + "\t" + std::to_string(nowMicros()) + "\t"
            + GetCommandLineA() + "\n");
    if (behaviour.sleepMs)
        Sleep(behaviour.sleepMs);
    if (behaviour.crash)
        *static_cast<volatile int*>(nullptr) = 0; // an access violation, as a faulty package has
    logLine("end\t" + name + "\t" + pid + "\t" + std::to_string(nowMicros()) + "\t\n");
    ExitProcess(static_cast<UINT>(behaviour.exitCode));
}
