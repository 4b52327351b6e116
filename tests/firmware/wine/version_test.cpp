// The version block of quillscan.exe, read back with the Win32 version API.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "child_process.h"

namespace {

TEST(QuillscanVersionBlock, FixedVersionTranslationAndStrings)
{
    std::string program = testPaths.binFolder + "\\quillscan.exe";
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00040001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00040001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u) << "one string table";
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04b0);

    struct Row { const char* name; const char* value; };
    const Row rows[] = {
        {"FileVersion", "4, 1, 0, 0"},
        {"ProductVersion", "4, 1, 0, 0"},
        {"FileDescription", "quillscan"},
        {"InternalName", "quillscan"},
        {"OriginalFilename", "quillscan.exe"},
    };
    for (const Row& row : rows) {
        char* value = nullptr;
        std::string key = std::string("\\StringFileInfo\\040904b0\\") + row.name;
        ASSERT_TRUE(VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
            << row.name;
        EXPECT_STREQ(value, row.value) << row.name;
    }
}

} // namespace
