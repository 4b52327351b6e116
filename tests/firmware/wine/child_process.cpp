// Child processes with captured output, and scratch folders for the firmware Wine tests.
#include "child_process.h"

#include <windows.h>

#include <cstdio>
#include <thread>

TestPaths testPaths;

namespace {

void drain(HANDLE pipe, std::string& into)
{
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) into.append(buffer, got);
}

} // namespace

ChildResult runChild(const std::string& program, const std::string& commandLine,
                     const std::string& folder, unsigned long timeoutMs, bool closedOutput)
{
    ChildResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0)) return result;
    if (!CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        CloseHandle(outRead);
        CloseHandle(outWrite);
        return result;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    if (closedOutput) {
        CloseHandle(outRead);
        outRead = nullptr;
    }

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    BOOL started = CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  folder.c_str(), &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (started) {
        std::thread outReader(drain, outRead, std::ref(result.out));  // returns at once without a pipe
        std::thread errReader(drain, errRead, std::ref(result.err));
        if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
            result.finished = GetExitCodeProcess(process.hProcess, &result.exitCode) != 0;
        } else {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        outReader.join();
        errReader.join();
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (outRead) CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
}

std::string windowsPath(const std::string& path)
{
    std::string result = path.empty() || path[0] != '/' ? path : "Z:" + path;
    for (char& c : result)
        if (c == '/') c = '\\';
    return result;
}

std::string makeScratchFolder(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "fwtest-" + std::to_string(GetCurrentProcessId()) + "-" + name;
    removeTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string crlf(const std::string& text)
{
    std::string result;
    for (char c : text) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}
