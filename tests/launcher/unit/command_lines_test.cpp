// Command lines and error texts that the launcher builds for each pass.
#include <gtest/gtest.h>

#include <string>

#include "command_lines.h"

namespace {

struct LineRow {
    const char* name;
    std::string found;
    std::string args;
    std::string package;
    std::string setup;
};

TEST(CommandLines, JoinPiecesExactly)
{
    const LineRow rows[] = {
        {"empty argument text", "kx01.exe", "", "kx01.exe ", "rollout.exe  /a kx01.exe"},
        {"argument text", "a.ini", "x /silent", "a.ini x /silent", "rollout.exe x /silent /a a.ini"},
        {"names with blanks stay unquoted", "kx0 a b.exe", "p", "kx0 a b.exe p",
         "rollout.exe p /a kx0 a b.exe"},
        {"blanks of the argument text stay", "n.ini", "  a  ", "n.ini   a  ",
         "rollout.exe   a   /a n.ini"},
        {"quotes are passed on as they are", "q.ini", "\"x y\"", "q.ini \"x y\"",
         "rollout.exe \"x y\" /a q.ini"},
    };
    for (const LineRow& row : rows) {
        EXPECT_EQ(packageCommandLine(row.found, row.args), row.package) << row.name;
        EXPECT_EQ(setupCommandLine(row.found, row.args), row.setup) << row.name;
    }
}

TEST(CommandLines, LongArgumentTextIsKeptWhole)
{
    // Past the old 1024-byte buffer: nothing may be cut off.
    std::string args(5000, 'a');
    args.back() = 'z';
    std::string found(259, 'n');
    EXPECT_EQ(packageCommandLine(found, args), found + " " + args);
    EXPECT_EQ(setupCommandLine(found, args), "rollout.exe " + args + " /a " + found);
}

TEST(CommandLines, ErrorTexts)
{
    EXPECT_EQ(packageErrorText("kx0dir.exe"), "Unable to start kx0dir.exe");
    EXPECT_EQ(setupErrorText("b c.ini"), "Unable to start rollout on  b c.ini");
}

} // namespace
