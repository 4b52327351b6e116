// Command lines and error-box texts of the launcher's two passes.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Longest command line the platform can start a program with: 32767 characters with the
// terminating NUL, which this count leaves out.
constexpr std::size_t MAX_COMMAND_LINE = 32766;

// One pass over the current directory: the pattern it searches for and the texts it builds
// for one found name.
struct LaunchPass {
    const char* pattern;
    std::string (*commandLine)(std::string_view foundName, std::string_view argumentText);
    std::string (*errorText)(std::string_view foundName);
    // The found file itself is the program to start. Its name stays unquoted in the command line
    // (packages may rely on that), so it is never left to the platform to read off the line,
    // which would take "kx0 a b.exe" for kx0.exe.
    bool startsFoundFile;
};

// The found name, a blank, the argument text.
std::string packageCommandLine(std::string_view foundName, std::string_view argumentText);
// "rollout.exe ", the argument text, " /a ", the found name.
std::string setupCommandLine(std::string_view foundName, std::string_view argumentText);
std::string packageErrorText(std::string_view foundName);
std::string setupErrorText(std::string_view foundName);

// The package pass, then the setup pass.
const std::array<LaunchPass, 2>& launchPasses();
