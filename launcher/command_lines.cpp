// Command lines and error-box texts of the launcher's two passes. Found names go in unquoted.
#include "command_lines.h"

namespace {

std::string join(std::initializer_list<std::string_view> pieces)
{
    std::size_t size = 0;
    for (std::string_view piece : pieces)
        size += piece.size();
    std::string text;
    text.reserve(size);
    for (std::string_view piece : pieces)
        text += piece;
    return text;
}

} // namespace

std::string packageCommandLine(std::string_view foundName, std::string_view argumentText)
{
    return join({foundName, " ", argumentText});
}

std::string setupCommandLine(std::string_view foundName, std::string_view argumentText)
{
    return join({"rollout.exe ", argumentText, " /a ", foundName});
}

std::string packageErrorText(std::string_view foundName)
{
    return join({"Unable to start ", foundName});
}

std::string setupErrorText(std::string_view foundName)
{
    return join({"Unable to start rollout on  ", foundName});
}

const std::array<LaunchPass, 2>& launchPasses()
{
    static const std::array<LaunchPass, 2> passes{{
        {"kx0*.exe", packageCommandLine, packageErrorText, true},
        {"*.ini", setupCommandLine, setupErrorText, false},
    }};
    return passes;
}
