// Argument text taken off the launcher's command line, and the silent test.
#include <gtest/gtest.h>

#include <string>

#include "argument_text.h"

namespace {

struct TextRow {
    const char* name;
    std::string commandLine;
    std::string expected;
};

TEST(ArgumentText, TakesOffProgramNameAndSeparators)
{
    const TextRow rows[] = {
        {"bare name only", "pkgrun.exe", ""},
        {"bare name, one argument", "pkgrun.exe x", "x"},
        {"blanks inside and at the end stay", "pkgrun.exe  a  b  ", "a  b  "},
        {"tab and control bytes are separators", "pkgrun.exe\t\x01\x1f x", "x"},
        {"control byte ends a bare name", "pkg\x05run x", "run x"},
        {"bytes from 0x80 belong to the name", "pk\x80\xffg x", "x"},
        {"quoted name with blanks", "\"C:\\a b\\pkgrun.exe\" x y", "x y"},
        {"quoted name directly followed by text", "\"pkgrun.exe\"x", "x"},
        {"quote inside a bare name does not quote", "pk\"g r\" x", "r\" x"},
        {"unclosed quote takes everything", "\"C:\\a b\\pkgrun.exe x", ""},
        {"empty quoted name", "\"\" /silent", "/silent"},
        {"only separators after the name", "pkgrun.exe \t ", ""},
        {"empty command line", "", ""},
        {"leading blank means an empty name", " x", "x"},
        {"byte 0x7f is no separator", "pkgrun.exe \x7f", "\x7f"},
    };
    for (const TextRow& row : rows)
        EXPECT_EQ(argumentText(row.commandLine), row.expected) << row.name;
}

struct SilentRow {
    std::string text;
    bool silent;
};

TEST(ArgumentText, SilentOnlyForAnExactEnding)
{
    const SilentRow rows[] = {
        {"/silent", true},
        {"x /silent", true},
        {"x/silent", true},
        {"/silent/silent", true},
        {"a\t/silent", true},
        {"", false},
        {"/silen", false},
        {"silent", false},
        {"/silent ", false},
        {"/silent\t", false},
        {"/SILENT", false},
        {"/Silent", false},
        {"/silent x", false},
        {"x /silentx", false},
        {"\\silent", false},
    };
    for (const SilentRow& row : rows)
        EXPECT_EQ(isSilent(row.text), row.silent) << "argument text \"" << row.text << "\"";
}

} // namespace
