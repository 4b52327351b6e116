// The version block of quillscan.exe, read back with the Win32 version API.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "child_process.h"
#include "version_win32.h"

namespace {

TEST(QuillscanVersionBlock, FixedVersionTranslationAndStrings)
{
    const VersionRecord record(testPaths.binFolder + "\\quillscan.exe");
    const VS_FIXEDFILEINFO* fixed = record.fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00040001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00040001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    EXPECT_EQ(record.translations(), std::vector<DWORD>{MAKELONG(0x0409, 0x04b0)}) << "one string table";

    struct Row { const char* name; const char* value; };
    const Row rows[] = {
        {"FileVersion", "4, 1, 0, 0"},
        {"ProductVersion", "4, 1, 0, 0"},
        {"FileDescription", "quillscan"},
        {"InternalName", "quillscan"},
        {"OriginalFilename", "quillscan.exe"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(record.text("040904b0", row.name), row.value) << row.name;
}

} // namespace
