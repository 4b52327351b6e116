// Starting pkgrun for a test and finding its message boxes by its process id.
#include "launcher_process.h"

#include <stdexcept>

#include "scratch.h"

namespace {

constexpr int MESSAGE_TEXT_ID = 0xFFFF;
constexpr int MESSAGE_ICON_ID = 0x0440;

std::string windowText(HWND window)
{
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct BoxSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK collectBox(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (pid == search->pid && std::string(cls) == "#32770" && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

ErrorBox readBox(HWND window)
{
    ErrorBox box;
    box.window = window;
    box.caption = windowText(window);
    box.text = windowText(GetDlgItem(window, MESSAGE_TEXT_ID));
    HWND icon = GetDlgItem(window, MESSAGE_ICON_ID);
    // The icon control is there, visible, in every box; it holds an icon only when asked for.
    box.iconShown = icon && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
    for (int id = IDOK; id <= IDCONTINUE; ++id) {
        HWND button = GetDlgItem(window, id);
        if (button && IsWindowVisible(button))
            box.buttons.push_back(id);
    }
    return box;
}

} // namespace

LauncherRun::LauncherRun(const std::string& dir, const std::string& tail)
{
    std::string commandLine = PKGRUN_ARGUMENT_0 + tail;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(programPaths().pkgrun.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.c_str(), &startup, &info_))
        throw std::runtime_error("cannot start pkgrun, error " + std::to_string(GetLastError()));
}

LauncherRun::~LauncherRun()
{
    if (running()) {
        TerminateProcess(info_.hProcess, 999);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool LauncherRun::waitForExit(DWORD limitMs)
{
    return WaitForSingleObject(info_.hProcess, limitMs) == WAIT_OBJECT_0;
}

bool LauncherRun::running() const
{
    return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD LauncherRun::exitCode() const
{
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

std::vector<ErrorBox> LauncherRun::openBoxes() const
{
    BoxSearch search{info_.dwProcessId, {}};
    EnumWindows(collectBox, reinterpret_cast<LPARAM>(&search));
    std::vector<ErrorBox> boxes;
    for (HWND window : search.found)
        boxes.push_back(readBox(window));
    return boxes;
}

std::optional<ErrorBox> LauncherRun::waitForBox(DWORD limitMs) const
{
    std::optional<ErrorBox> box;
    waitUntil([&] {
        std::vector<ErrorBox> boxes = openBoxes();
        if (!boxes.empty())
            box = boxes.front();
        return box.has_value();
    }, limitMs);
    return box;
}

bool closeBox(HWND box, DWORD limitMs)
{
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return waitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, limitMs);
}
