// bwmap as a whole: command line in, port maps out, exit status back.
#pragma once

#include <cstdio>

#include "base/status.h"

// Runs bwmap with a command line, writing to `out` and `err`; returns the exit status.
int runBwmap(int argc, const char* const* argv, std::FILE* out, std::FILE* err);
