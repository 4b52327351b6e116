// One run of the tool: arguments in, the library called once, output and exit code out.
#pragma once

#include <cstdio>
#include <string>

#include "firmware_library.h"

struct RunResult {
    int exitCode = 0;
    std::string out;  // for standard output, lines ended by "\n"
    std::string err;  // for standard error
};

// argv[0] is the program; exactly one argument more is the image path, anything else is the
// usage error and leaves the library uncalled.
RunResult runQuillscan(int argc, const char* const* argv, FirmwareLibrary& library);

// Writes the run's output and message and returns the exit code. When standard output cannot be
// written, that is reported on standard error (if it can be written) and the code is
// OUTPUT_ERROR; a message that cannot be written leaves the run's own code.
int writeRunResult(const RunResult& result, std::FILE* out, std::FILE* err);
