// Benchmark package: sleeps for the milliseconds given as the last word of its command line.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const char* line = GetCommandLineA();
    const char* last = std::strrchr(line, ' ');
    unsigned long ms = last ? std::strtoul(last + 1, nullptr, 10) : 0;
    if (ms)
        Sleep(ms);
    return 0;
}
