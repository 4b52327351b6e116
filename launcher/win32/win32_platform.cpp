// The launcher's platform on Win32: FindFirstFileA search, CreateProcessA, a message-pumping wait.
#include "win32_platform.h"

#include <windows.h>

namespace {

constexpr DWORD WAKE_ON_ANY_INPUT = 0xFF; // keys, mouse, posted, timers, paint, sent, hot keys
static_assert(sizeof(void*) != 4 || sizeof(STARTUPINFOA) == 68, "the 32-bit start-up record");
constexpr UINT ERROR_BOX_STYLE = MB_OK | MB_TASKMODAL | MB_SETFOREGROUND;
static_assert(ERROR_BOX_STYLE == 0x12000, "no icon, task-modal, brought to the foreground");

// Takes every queued message; true with its value when one of them is a quit message.
bool drainMessages(std::uint32_t& quitValue)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitValue = static_cast<std::uint32_t>(msg.wParam);
            return true;
        }
        DispatchMessageA(&msg); // key messages are not translated
    }
    return false;
}

// Blocks until the process ends or new input reaches the thread; never polls.
StartResult waitForProcess(HANDLE process)
{
    for (;;) {
        std::uint32_t quitValue = 0;
        if (drainMessages(quitValue))
            return {StartOutcome::QUIT, quitValue};
        DWORD woke = MsgWaitForMultipleObjectsEx(1, &process, INFINITE, WAKE_ON_ANY_INPUT, 0);
        if (woke == WAIT_OBJECT_0)
            break;
        if (woke == WAIT_FAILED) {
            // Cannot watch the queue: still never overlap two programs.
            WaitForSingleObject(process, INFINITE);
            break;
        }
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process, &exitCode); // read and ignored: any code, 259 too, goes on
    return {StartOutcome::ENDED, 0};
}

} // namespace

void Win32Platform::forEachMatch(const char* pattern,
                                 const std::function<bool(std::string_view foundName)>& visit)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!visit(found.cFileName))
            break;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

StartResult Win32Platform::startAndWait(const std::string& program, std::string& commandLine)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started;
    ZeroMemory(&started, sizeof started);
    // CreateProcessA may write to the line, so it gets the string's own buffer.
    // A program name given apart is taken from the current directory without a search.
    if (!CreateProcessA(program.empty() ? nullptr : program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return {StartOutcome::NOT_STARTED, 0};
    CloseHandle(started.hThread);
    StartResult result = waitForProcess(started.hProcess);
    CloseHandle(started.hProcess);
    return result;
}

void Win32Platform::showError(const std::string& text)
{
    MessageBoxA(nullptr, text.c_str(), "Error", ERROR_BOX_STYLE);
}
