// Runs the launcher's Wine tests: launcher_wine_tests <pkgrun.exe> <stand_in.exe> [gtest flags].
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "scratch.h"

namespace {

// Build paths arrive as Unix paths; the platform turns them into drive paths.
std::string fullPath(const char* path)
{
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path, MAX_PATH, full, nullptr);
    return std::string(full, n);
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: launcher_wine_tests <pkgrun.exe> <stand_in.exe>\n");
        return 2;
    }
    setProgramPaths({fullPath(argv[1]), fullPath(argv[2])});
    return RUN_ALL_TESTS();
}
