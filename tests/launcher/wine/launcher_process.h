// One pkgrun run under test: started in a scratch directory, watched, its error boxes read and closed.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Calls condition every few milliseconds until it holds or limitMs have passed.
template <class Condition>
bool waitUntil(Condition condition, DWORD limitMs)
{
    const ULONGLONG end = GetTickCount64() + limitMs;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(5);
    }
}

// What a message box shows, read from the real window.
struct ErrorBox {
    HWND window = nullptr;
    std::string caption;
    std::string text;           // the static control 0xFFFF
    std::vector<int> buttons;   // identifiers of the visible push buttons
    bool iconShown = false;     // an icon in the icon control 0x0440
};

// How pkgrun's command line names the program.
constexpr char PKGRUN_ARGUMENT_0[] = "\"pkgrun.exe\"";

class LauncherRun {
public:
    // Starts pkgrun in dir with the command line PKGRUN_ARGUMENT_0 + tail: its length does not
    // depend on where the build tree lies.
    LauncherRun(const std::string& dir, const std::string& tail);
    // Ends pkgrun if it is still running (a failed test) and closes its handles.
    ~LauncherRun();
    LauncherRun(const LauncherRun&) = delete;
    LauncherRun& operator=(const LauncherRun&) = delete;

    bool waitForExit(DWORD limitMs);
    bool running() const;
    DWORD exitCode() const; // full 32 bits
    DWORD threadId() const { return info_.dwThreadId; }

    // The message boxes that pkgrun has open now.
    std::vector<ErrorBox> openBoxes() const;
    // Waits for a box of pkgrun; nothing when none came within limitMs.
    std::optional<ErrorBox> waitForBox(DWORD limitMs) const;

private:
    PROCESS_INFORMATION info_{};
};

// Presses OK on a box and waits until it is gone.
bool closeBox(HWND box, DWORD limitMs);
