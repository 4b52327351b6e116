// bwplan with catalogue files that are damaged, unreadable or changed: the window always comes
// up, lists what the reader could take, and ends normally.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form_state.h"
#include "mapper_driver.h"
#include "mapper_steps.h"

namespace {

std::vector<std::string> withBuiltIn(std::vector<std::string> fileRows) {
    std::vector<std::string> all = builtInBayEntries().upper[0];
    all.insert(all.end(), fileRows.begin(), fileRows.end());
    return all;
}

struct FaultCase {
    const char* name;
    std::string content;               // written as bwplan.ini unless `folder`
    bool folder;                       // bwplan.ini is a folder
    bool locked;                       // the file is held open without sharing while bwplan starts
    std::vector<std::string> entries;  // bay 1's list
};

TEST(CatalogueFaults, DamagedOrUnreadableFilesStillGiveAWindow) {
    const FaultCase cases[] = {
        {"a folder", "", true, false, withBuiltIn({})},
        {"held open by another program", "\"Ridge\" 0x4000000 AABB 1212\n", false, true, withBuiltIn({})},
        {"CR LF line ends", "\"Ridge\" 0x4000000 AABB 1212\r\n\"Moss\" 0x800000 AB 11\r\n", false, false,
         withBuiltIn({"Ridge", "Moss"})},
        {"NUL bytes", std::string("\"Nu\0ll\" 0x0 AB 12\n\"After\" 0x0 AB 12\n", 36), false, false,
         withBuiltIn({"Nu", "After"})},
        {"8-bit name", "\"Rid\xE9\" 0x0 AB 12\n", false, false, withBuiltIn({"Rid\xE9"})},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir("catalogue_fault");
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.folder) {
            ASSERT_TRUE(CreateDirectoryA((dir.path() + "\\bwplan.ini").c_str(), nullptr));
        } else {
            dir.writeFile("bwplan.ini", c.content);
            if (c.locked)
                held = CreateFileA((dir.path() + "\\bwplan.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        }
        MapperProcess mapper;
        ASSERT_TRUE(mapper.start("", dir.path()));
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        EXPECT_EQ(mapper.entries(1000), c.entries);
        endNormally(mapper);
    }
}

// The file is read once: a change while the window runs shows neither then nor after Reset.
TEST(CatalogueFaults, ChangedWhileRunningIsNotReadAgain) {
    ScratchDir dir("catalogue_changed");
    dir.writeFile("bwplan.ini", "\"Ridge\" 0x4000000 AABB 1212\n");
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start("", dir.path()));
    dir.writeFile("bwplan.ini", "\"Other\" 0x0 AB 12\n");
    ASSERT_TRUE(mapper.reset());
    EXPECT_EQ(mapper.entries(1000), withBuiltIn({"Ridge"}));
    endNormally(mapper);
}

}  // namespace
