// Baseline for the launcher benchmark: start each kx0*.exe of the current directory and wait.
#include <windows.h>

#include <string>

#include "argument_text.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::string args(argumentText(GetCommandLineA()));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("kx0*.exe", &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        std::string line = std::string(found.cFileName) + " " + args;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started;
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &started)) {
            WaitForSingleObject(started.hProcess, INFINITE);
            CloseHandle(started.hThread);
            CloseHandle(started.hProcess);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return 0;
}
