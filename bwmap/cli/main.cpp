// Entry of bwmap, the port map as data (a console program on Windows and Linux).
#include <cstdio>

#include "base/file_access.h"
#include "cli/run.h"

int main(int argc, char** argv) {
    writeOutputAsIs(stdout);
    return runBwmap(argc, argv, stdout, stderr);
}
