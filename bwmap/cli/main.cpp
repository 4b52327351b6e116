// Entry of bwmap, the port map as data (a console program on Windows and Linux).
#include <cstdio>

#include "cli/run.h"

int main(int argc, char** argv) { return runBwmap(argc, argv, stdout, stderr); }
