// Turning the library's status into an error number and an error message.
#pragma once

#include <string>

constexpr int USAGE_ERROR = 1;
// Standard output could not be written. No status maps to 7: an odd status has bit 0x1 set.
constexpr int OUTPUT_ERROR = 7;

// The error number for a status: 0, 2 (-1), 3, 4, 5 by the first set bit of 0x8, 0x1, 0x2,
// otherwise the status itself. The error number is the exit code.
int errorNumberFor(int status);

// The message for errorNumber, ended by "\n"; path is copied byte for byte.
std::string errorMessage(int errorNumber, const char* path);

// The message for OUTPUT_ERROR, ended by "\n".
std::string outputErrorMessage();
