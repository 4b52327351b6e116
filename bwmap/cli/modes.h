// bwmap's modes: what each one's flow receives, and the flows, one file each.
#pragma once

#include <cstdio>

#include "cli/options.h"

// The command line as parsed, and where the run writes.
struct Invocation {
    const Options& options;
    bool byGiven;         // --by was given, not defaulted
    bool emptyCheckName;  // --check was given an empty file name
    std::FILE* out;
    std::FILE* err;
};

// Each returns the exit status.
int runCheckMode(const Invocation& run);      // --check: cli/mode_check.cpp
int runTypeListMode(const Invocation& run);   // --list-types: cli/mode_list_types.cpp
int runVerifyMode(const Invocation& run);     // --verify: cli/mode_verify.cpp
int runDiffMode(const Invocation& run);       // --diff: cli/mode_diff.cpp
int runMapMode(const Invocation& run);        // the port map in any layout: cli/mode_map.cpp
