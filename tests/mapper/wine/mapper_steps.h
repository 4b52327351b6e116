// Steps that several Wine tests of the mapper take.
#pragma once

#include <gtest/gtest.h>

#include "mapper_driver.h"

// Clicks the window's button 2 (Close); the program ends within ten seconds with status 0.
inline void endNormally(MapperProcess& mapper) {
    mapper.click(2);
    DWORD code = 1;
    EXPECT_TRUE(mapper.waitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}
