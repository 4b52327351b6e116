// Runs the launcher's Wine tests: launcher_wine_tests <pkgrun.exe> <stand_in.exe> [gtest flags].
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "files_win32.h"
#include "scratch.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: launcher_wine_tests <pkgrun.exe> <stand_in.exe>\n");
        return 2;
    }
    // Build paths arrive as Unix paths; the platform turns them into drive paths.
    setProgramPaths({fullPath(argv[1]), fullPath(argv[2])});
    return RUN_ALL_TESTS();
}
