// Taking the argument text off the launcher's command line; the silent test.
#include "argument_text.h"

namespace {

constexpr std::string_view SILENT_SUFFIX = "/silent";

// Separators end an unquoted program name; bytes of 0x80 and above belong to the name.
bool isSeparator(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

} // namespace

std::string_view argumentText(std::string_view commandLine)
{
    std::size_t pos = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        // A quoted name runs to the next quote, which goes with it, or to the end.
        std::size_t close = commandLine.find('"', 1);
        pos = close == std::string_view::npos ? commandLine.size() : close + 1;
    } else {
        while (pos < commandLine.size() && !isSeparator(commandLine[pos]))
            ++pos;
    }
    // NUL is no separator here: the platform's text ends at the first one anyway.
    while (pos < commandLine.size() && commandLine[pos] != '\0' && isSeparator(commandLine[pos]))
        ++pos;
    return commandLine.substr(pos);
}

bool isSilent(std::string_view argumentText)
{
    return argumentText.size() >= SILENT_SUFFIX.size()
        && argumentText.substr(argumentText.size() - SILENT_SUFFIX.size()) == SILENT_SUFFIX;
}
