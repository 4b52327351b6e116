// The launcher's argument text: its own command line without the program name, and the silent test.
#pragma once

#include <string_view>

// What follows the program name and the separators after it (bytes 0x01-0x20), unchanged to
// the end; blanks inside it and at its end stay. May be empty.
std::string_view argumentText(std::string_view commandLine);

// True when the text ends in exactly "/silent": same case, nothing after it, no separator
// needed in front of it.
bool isSilent(std::string_view argumentText);
