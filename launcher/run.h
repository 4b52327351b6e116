// The launcher's run: the package pass, then the setup pass, against a replaceable platform.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

enum class StartOutcome { ENDED, NOT_STARTED, QUIT };

struct StartResult {
    StartOutcome outcome;
    std::uint32_t quitValue; // meaningful for QUIT only
};

// What the run needs of the platform. An interface so that the unit tests can replace the
// Win32 binding with a fake that records what was asked of it.
class LauncherPlatform {
public:
    virtual ~LauncherPlatform() = default;

    // Calls visit for each match of pattern in the current directory, in the order the search
    // yields them, unfiltered, until there is none left or visit returns false.
    virtual void forEachMatch(const char* pattern,
                              const std::function<bool(std::string_view foundName)>& visit) = 0;
    // Starts a program and waits for it to end while handling the thread's messages. `program`
    // names the file to start, in the current directory, with no search; when it is empty the
    // platform takes the program from the command line. QUIT, with its value, when a quit
    // message arrived first; the program is then left running. The line may be modified in
    // place by the platform.
    virtual StartResult startAndWait(const std::string& program, std::string& commandLine) = 0;
    // Shows the error box; returns once the user has closed it.
    virtual void showError(const std::string& text) = 0;
};

// Runs both passes and returns the exit value: 0, or the value of a quit message that ended
// the run early. A command line longer than MAX_COMMAND_LINE is never started or cut short;
// it counts as a program that cannot be started.
std::uint32_t runLauncher(LauncherPlatform& platform, std::string_view argumentText);
