// Runs the mapper's Wine tests: mapper_wine_tests <bwplan.exe> [<bwmap.exe>] [gtest flags].
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "mapper_driver.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: mapper_wine_tests <bwplan.exe> [<bwmap.exe>]\n");
        return 2;
    }
    setBwplanPath(fullPath(argv[1]));
    if (argc == 3) setBwmapPath(fullPath(argv[2]));
    return RUN_ALL_TESTS();
}
