// Driver of the firmware Wine tests: --bin FOLDER --fake DLL, then GoogleTest's own options.
#include <gtest/gtest.h>

#include <cstring>

#include "child_process.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--bin") == 0) testPaths.binFolder = windowsPath(argv[i + 1]);
        if (std::strcmp(argv[i], "--fake") == 0) testPaths.fakeLibrary = windowsPath(argv[i + 1]);
    }
    if (testPaths.binFolder.empty() || testPaths.fakeLibrary.empty()) {
        std::fprintf(stderr, "usage: firmware_wine_tests --bin FOLDER --fake DLL [gtest options]\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
