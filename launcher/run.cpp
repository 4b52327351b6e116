// The launcher's run: each pass's matches in search order, one program at a time.
#include "run.h"

#include "argument_text.h"
#include "command_lines.h"

std::uint32_t runLauncher(LauncherPlatform& platform, std::string_view argumentText)
{
    const bool silent = isSilent(argumentText);
    for (const LaunchPass& pass : launchPasses()) {
        bool quit = false;
        std::uint32_t quitValue = 0;
        platform.forEachMatch(pass.pattern, [&](std::string_view foundName) {
            std::string commandLine = pass.commandLine(foundName, argumentText);
            StartResult result{StartOutcome::NOT_STARTED, 0};
            if (commandLine.size() <= MAX_COMMAND_LINE)
                result = platform.startAndWait(pass.startsFoundFile ? std::string(foundName) : std::string(),
                                               commandLine);
            if (result.outcome == StartOutcome::QUIT) {
                quit = true;
                quitValue = result.quitValue;
                return false;
            }
            if (result.outcome == StartOutcome::NOT_STARTED && !silent)
                platform.showError(pass.errorText(foundName));
            return true;
        });
        if (quit)
            return quitValue;
    }
    return 0;
}
