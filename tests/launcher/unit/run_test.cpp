// The run of both passes against a fake platform that records what was started and shown.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "command_lines.h"
#include "run.h"

namespace {

// A directory listing per pattern; programs that fail to start or that meet a quit message.
class FakePlatform : public LauncherPlatform {
public:
    std::map<std::string, std::vector<std::string>> matches;
    std::set<std::string> unstartable;         // command lines whose start fails
    std::map<std::string, std::uint32_t> quit; // command lines during whose wait a quit arrives
    std::vector<std::string> events;           // "search P", "start L", "box T"
    std::vector<std::string> programs;         // the program named apart at each start

    void forEachMatch(const char* pattern,
                      const std::function<bool(std::string_view)>& visit) override
    {
        events.push_back(std::string("search ") + pattern);
        for (const std::string& name : matches[pattern])
            if (!visit(name))
                return;
    }
    StartResult startAndWait(const std::string& program, std::string& commandLine) override
    {
        programs.push_back(program);
        if (unstartable.count(commandLine))
            return {StartOutcome::NOT_STARTED, 0};
        events.push_back("start " + commandLine);
        auto q = quit.find(commandLine);
        if (q != quit.end())
            return {StartOutcome::QUIT, q->second};
        return {StartOutcome::ENDED, 0};
    }
    void showError(const std::string& text) override { events.push_back("box " + text); }
};

using Events = std::vector<std::string>;

TEST(Run, EmptyDirectoryStartsNothing)
{
    FakePlatform fake;
    EXPECT_EQ(runLauncher(fake, "x"), 0u);
    EXPECT_EQ(fake.events, (Events{"search kx0*.exe", "search *.ini"}));
}

TEST(Run, PackagesThenSetupInSearchOrder)
{
    FakePlatform fake;
    fake.matches["kx0*.exe"] = {"kx09.exe", "kx0 a b.exe", "kx01.exe"};
    fake.matches["*.ini"] = {"z.ini", "a.ini"};
    EXPECT_EQ(runLauncher(fake, ""), 0u);
    EXPECT_EQ(fake.events, (Events{"search kx0*.exe", "start kx09.exe ", "start kx0 a b.exe ",
                                   "start kx01.exe ", "search *.ini", "start rollout.exe  /a z.ini",
                                   "start rollout.exe  /a a.ini"}));
    EXPECT_EQ(fake.programs, (Events{"kx09.exe", "kx0 a b.exe", "kx01.exe", "", ""}));
}

TEST(Run, FailedStartsShowBoxesAndGoOn)
{
    struct Row {
        const char* args;
        bool boxes;
    };
    const Row rows[] = {
        {"", true},          {"x", true},         {"x /silent", false}, {"x/silent", false},
        {"/silent", false},  {"/silent ", true},  {"/SILENT", true},
    };
    for (const Row& row : rows) {
        FakePlatform fake;
        fake.matches["kx0*.exe"] = {"kx0dir.exe", "kx02.exe"};
        fake.matches["*.ini"] = {"b.ini", "a.ini"};
        const std::string args = row.args;
        fake.unstartable = {packageCommandLine("kx0dir.exe", args), setupCommandLine("b.ini", args),
                            setupCommandLine("a.ini", args)};
        EXPECT_EQ(runLauncher(fake, args), 0u) << "args \"" << args << "\"";
        Events expected{"search kx0*.exe"};
        if (row.boxes)
            expected.push_back("box Unable to start kx0dir.exe");
        expected.push_back("start kx02.exe " + args);
        expected.push_back("search *.ini");
        if (row.boxes) {
            expected.push_back("box Unable to start rollout on  b.ini");
            expected.push_back("box Unable to start rollout on  a.ini");
        }
        EXPECT_EQ(fake.events, expected) << "args \"" << args << "\"";
    }
}

TEST(Run, QuitEndsTheRunWithItsValue)
{
    FakePlatform fake;
    fake.matches["kx0*.exe"] = {"kx01.exe", "kx02.exe"};
    fake.matches["*.ini"] = {"a.ini"};
    fake.quit["kx01.exe p"] = 0xC0DE1234u;
    EXPECT_EQ(runLauncher(fake, "p"), 0xC0DE1234u);
    EXPECT_EQ(fake.events, (Events{"search kx0*.exe", "start kx01.exe p"}));
}

TEST(Run, QuitDuringSetupPassEndsIt)
{
    FakePlatform fake;
    fake.matches["*.ini"] = {"a.ini", "b.ini"};
    fake.quit["rollout.exe  /a a.ini"] = 0;
    EXPECT_EQ(runLauncher(fake, ""), 0u);
    EXPECT_EQ(fake.events, (Events{"search kx0*.exe", "search *.ini", "start rollout.exe  /a a.ini"}));
}

TEST(Run, OverlongLineIsReportedNotStartedOrCut)
{
    // "kx01.exe " + text fills the limit exactly; one byte more of name is one byte over.
    const std::string fits = "kx01.exe";
    const std::string over = "kx012.exe";
    for (const std::string& tail : {std::string(), std::string(" /silent")}) {
        std::string text(MAX_COMMAND_LINE - fits.size() - 1 - tail.size(), 'a');
        text += tail;
        FakePlatform fake;
        fake.matches["kx0*.exe"] = {over, fits};
        fake.matches["*.ini"] = {"a.ini"};
        EXPECT_EQ(runLauncher(fake, text), 0u);
        Events expected{"search kx0*.exe"};
        if (tail.empty())
            expected.push_back("box Unable to start " + over);
        expected.push_back("start " + packageCommandLine(fits, text));
        expected.push_back("search *.ini");
        if (tail.empty())
            expected.push_back("box Unable to start rollout on  a.ini");
        EXPECT_EQ(fake.events, expected) << "tail \"" << tail << "\"";
        EXPECT_EQ(packageCommandLine(fits, text).size(), MAX_COMMAND_LINE);
    }
}

} // namespace
