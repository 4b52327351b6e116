// bwmap as a whole: command line in, port maps out, exit status back.
#pragma once

#include <cstdio>

enum BwmapStatus { BWMAP_OK = 0, BWMAP_FINDINGS = 1, BWMAP_ERROR = 2, BWMAP_REFUSED = 3 };

// Runs bwmap with a command line, writing to `out` and `err`; returns the exit status.
int runBwmap(int argc, const char* const* argv, std::FILE* out, std::FILE* err);
