// Runs the mapper's Wine tests: mapper_wine_tests <bwplan.exe> [gtest flags].
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "mapper_driver.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mapper_wine_tests <bwplan.exe>\n");
        return 2;
    }
    setBwplanPath(fullPath(argv[1]));
    return RUN_ALL_TESTS();
}
