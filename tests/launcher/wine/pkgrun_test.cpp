// pkgrun under Wine in scratch directories with stand-in programs: what it starts, in which
// order, with which command lines, which boxes it shows, and how it ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher_process.h"
#include "scratch.h"

namespace {

constexpr DWORD RUN_LIMIT_MS = 20000;
constexpr DWORD BOX_LIMIT_MS = 10000;
// How long a box is watched to see that pkgrun does not go on behind it.
constexpr DWORD HOLD_MS = 300;

std::vector<LogEntry> startsOf(const std::vector<LogEntry>& log)
{
    std::vector<LogEntry> starts;
    for (const LogEntry& entry : log)
        if (entry.start)
            starts.push_back(entry);
    return starts;
}

// Waits for pkgrun to end; a box that holds it up is reported and closed.
void expectExitWithoutBox(LauncherRun& run, const std::string& row)
{
    bool ended = run.waitForExit(RUN_LIMIT_MS);
    for (const ErrorBox& box : run.openBoxes()) {
        ADD_FAILURE() << row << ": unexpected box \"" << box.text << "\"";
        closeBox(box.window, BOX_LIMIT_MS);
    }
    ASSERT_TRUE(ended || run.waitForExit(RUN_LIMIT_MS)) << row << ": pkgrun did not end";
    EXPECT_EQ(run.exitCode(), 0u) << row;
}

// Reads the next box, checks it and closes it.
void expectBox(LauncherRun& run, const std::string& text, const std::string& row)
{
    std::optional<ErrorBox> box = run.waitForBox(BOX_LIMIT_MS);
    ASSERT_TRUE(box) << row << ": no box for \"" << text << "\"";
    EXPECT_EQ(box->caption, "Error") << row;
    EXPECT_EQ(box->text, text) << row;
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK}) << row;
    EXPECT_FALSE(box->iconShown) << row;
    EXPECT_EQ(run.openBoxes().size(), 1u) << row;
    ASSERT_TRUE(closeBox(box->window, BOX_LIMIT_MS)) << row;
}

// True when condition holds all through the next ms milliseconds.
template <class Condition>
bool holdsFor(Condition condition, DWORD ms)
{
    return !waitUntil([&] { return !condition(); }, ms);
}

// Each start is followed by its own end before the next start.
void expectOneAtATime(const std::vector<LogEntry>& log, const std::string& row)
{
    ASSERT_EQ(log.size() % 2, 0u) << row;
    for (std::size_t i = 0; i < log.size(); i += 2) {
        EXPECT_TRUE(log[i].start && !log[i + 1].start && log[i].pid == log[i + 1].pid)
            << row << ": " << log[i].program << " overlaps the next program";
        if (i + 2 < log.size()) {
            EXPECT_GE(log[i + 2].micros, log[i + 1].micros) << row;
        }
    }
}

// The command lines pkgrun builds, in both passes, and that it waits for each program even
// while messages keep arriving for its thread.
TEST(PkgRun, PassesRunInSearchOrderOneAtATime)
{
    struct Row {
        const char* name;
        std::string separator; // between pkgrun's own name and its argument text
        std::string args;
    };
    const Row rows[] = {
        {"empty argument text", "", ""},
        {"blanks kept", " ", "p  q "},
        {"tabs and blanks after the name", "\t \t", "a /x"},
        {"text past 1024 bytes", " ", std::string(900, 'w') + " end"},
    };
    for (const Row& row : rows) {
        ScratchDir dir("order");
        dir.addStandIn("kx01.exe", 3, 150);
        dir.addStandIn("kx02.exe", 0, 50);
        dir.addStandIn("kx0z9.exe", 1, 0);
        dir.addStandIn("kx1.exe");
        dir.addStandIn("rollout.exe", 0, 50);
        for (const char* name : {"c.ini", "a.ini", "b.ini", "readme.txt"})
            dir.addFile(name);

        LauncherRun run(dir.path(), row.separator + row.args);
        // Posted messages are dispatched and must not end a wait early.
        waitUntil([&] {
            PostThreadMessageA(run.threadId(), WM_USER, 0, 0);
            return !run.running();
        }, RUN_LIMIT_MS);
        expectExitWithoutBox(run, row.name);

        std::vector<std::string> expected;
        for (const std::string& name : dir.searchOrder("kx0*.exe"))
            expected.push_back(name + "\t" + name + " " + row.args);
        for (const std::string& name : dir.searchOrder("*.ini"))
            expected.push_back("rollout.exe\trollout.exe " + row.args + " /a " + name);
        std::vector<std::string> started;
        std::vector<LogEntry> log = dir.readLog();
        for (const LogEntry& entry : startsOf(log))
            started.push_back(entry.program + "\t" + entry.commandLine);
        EXPECT_EQ(started, expected) << row.name;
        expectOneAtATime(log, row.name);
    }
}

TEST(PkgRun, AnyExitCodeIsFollowedAtOnce)
{
    ScratchDir dir("exit_codes");
    const unsigned long codes[] = {259, 1, 0xFFFFFFFFul, 0xC0000005ul, 0};
    for (unsigned long code : codes)
        dir.addStandIn("kx0_" + std::to_string(code) + ".exe", code, 0);
    LauncherRun run(dir.path(), "");
    expectExitWithoutBox(run, "exit codes");
    std::vector<LogEntry> log = dir.readLog();
    ASSERT_EQ(startsOf(log).size(), std::size(codes));
    expectOneAtATime(log, "exit codes");
    for (std::size_t i = 1; i + 1 < log.size(); i += 2)
        EXPECT_LT(log[i + 1].micros - log[i].micros, 2000000) << "after " << log[i].program;
}

TEST(PkgRun, EmptyDirectoryStartsNothing)
{
    ScratchDir dir("empty");
    dir.addStandIn("kx1.exe");
    dir.addStandIn("rollout.exe"); // no *.ini: never started
    dir.addFile("readme.txt");
    LauncherRun run(dir.path(), " x");
    expectExitWithoutBox(run, "empty");
    EXPECT_TRUE(dir.readLog().empty());
}

// A folder named like a package is a match; its start fails and pkgrun holds until the box
// is closed.
TEST(PkgRun, FolderMatchIsReportedAndSkipped)
{
    ScratchDir dir("folder");
    dir.addFolder("kx0dir.exe");
    dir.addStandIn("kx01.exe");
    dir.addStandIn("kx0z.exe");
    dir.addStandIn("rollout.exe");
    dir.addFile("a.ini");
    std::vector<std::string> order = dir.searchOrder("kx0*.exe");
    std::size_t before = 0;
    while (before < order.size() && order[before] != "kx0dir.exe")
        ++before;
    ASSERT_LT(before, order.size());

    LauncherRun run(dir.path(), " go");
    std::optional<ErrorBox> box = run.waitForBox(BOX_LIMIT_MS);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "Unable to start kx0dir.exe");
    EXPECT_TRUE(holdsFor([&] {
        return run.running() && startsOf(dir.readLog()).size() == before
            && run.openBoxes().size() == 1;
    }, HOLD_MS)) << "pkgrun went on while its box was open";
    expectBox(run, "Unable to start kx0dir.exe", "folder");
    expectExitWithoutBox(run, "folder");
    std::vector<LogEntry> starts = startsOf(dir.readLog());
    ASSERT_EQ(starts.size(), order.size()); // the other packages and one rollout
    EXPECT_EQ(starts.back().commandLine, "rollout.exe go /a a.ini");
}

TEST(PkgRun, MissingRolloutGivesOneBoxPerIniInSearchOrder)
{
    ScratchDir dir("no_rollout");
    dir.addFile("b c.ini");
    dir.addFile("a.ini");
    std::vector<std::string> order = dir.searchOrder("*.ini");
    ASSERT_EQ(order.size(), 2u);

    LauncherRun run(dir.path(), "");
    ASSERT_TRUE(run.waitForBox(BOX_LIMIT_MS));
    EXPECT_TRUE(holdsFor([&] { return run.openBoxes().size() == 1; }, HOLD_MS))
        << "a second box opened before the first was closed";
    for (const std::string& ini : order)
        expectBox(run, "Unable to start rollout on  " + ini, ini);
    expectExitWithoutBox(run, "no rollout");
}

// Found names go in unquoted. Beside kx0.exe, the line "kx0 a b.exe p" starts kx0.exe: the
// platform resolves the first word first, which a quoted name would not allow.
TEST(PkgRun, NamesWithBlanksGoUnquoted)
{
    ScratchDir dir("blanks");
    dir.addStandIn("kx0.exe");
    dir.addStandIn("kx0 a b.exe");
    dir.addStandIn("rollout.exe");
    dir.addFile("b c.ini");
    LauncherRun run(dir.path(), " p");
    expectExitWithoutBox(run, "blanks");

    // Each package starts once, as itself, with its name unquoted in its command line.
    std::vector<std::string> expected;
    for (const std::string& name : dir.searchOrder("kx0*.exe"))
        expected.push_back(name + "\t" + name + " p");
    expected.push_back("rollout.exe\trollout.exe p /a b c.ini");
    std::vector<std::string> started;
    for (const LogEntry& entry : startsOf(dir.readLog()))
        started.push_back(entry.program + "\t" + entry.commandLine);
    EXPECT_EQ(started, expected);
}

TEST(PkgRun, SilentEndingSuppressesBoxes)
{
    struct Row {
        const char* args;
        bool silent;
    };
    const Row rows[] = {
        {"x /silent", true}, {"x/silent", true}, {"/silent", true},
        {"/silent ", false}, {"/SILENT", false},
    };
    for (const Row& row : rows) {
        ScratchDir dir("silent");
        dir.addFolder("kx0dir.exe");
        dir.addStandIn("kx01.exe");
        dir.addStandIn("rollout.exe");
        dir.addFile("a.ini");
        const std::string args = row.args;
        LauncherRun run(dir.path(), " " + args);
        if (!row.silent)
            expectBox(run, "Unable to start kx0dir.exe", args);
        expectExitWithoutBox(run, args);
        std::vector<std::string> started;
        for (const LogEntry& entry : startsOf(dir.readLog()))
            started.push_back(entry.commandLine);
        EXPECT_EQ(started, (std::vector<std::string>{"kx01.exe " + args, "rollout.exe " + args + " /a a.ini"}))
            << args;
    }
}

// A quit message ends pkgrun at once with its value; the package keeps running and nothing
// more starts.
TEST(PkgRun, CrashingPackageIsFollowedByTheNext)
{
    ScratchDir dir("crash");
    dir.addStandIn("kx01.exe", 0, 0, true); // dies of an access violation
    dir.addStandIn("kx02.exe");
    LauncherRun run(dir.path(), "");
    expectExitWithoutBox(run, "crash");
    std::vector<std::string> started;
    std::vector<std::string> ended;
    for (const LogEntry& entry : dir.readLog())
        (entry.start ? started : ended).push_back(entry.program);
    EXPECT_EQ(started, dir.searchOrder("kx0*.exe"));
    EXPECT_EQ(ended, std::vector<std::string>{"kx02.exe"}) << "kx01.exe did not die";
}

TEST(PkgRun, QuitMessageEndsTheRunWithItsValue)
{
    for (DWORD value : {0xC0DE1234ul, 0ul}) {
        const std::string row = "quit value " + std::to_string(value);
        ScratchDir dir("quit");
        dir.addStandIn("kx01.exe", 0, 30000);
        dir.addStandIn("rollout.exe");
        dir.addFile("a.ini");
        LauncherRun run(dir.path(), "");
        ASSERT_TRUE(waitUntil([&] { return !startsOf(dir.readLog()).empty(); }, RUN_LIMIT_MS)) << row;
        // Fails until pkgrun's thread has a message queue.
        ASSERT_TRUE(waitUntil([&] {
            return PostThreadMessageA(run.threadId(), WM_QUIT, value, 0) != 0;
        }, RUN_LIMIT_MS)) << row;
        ASSERT_TRUE(run.waitForExit(RUN_LIMIT_MS)) << row;
        EXPECT_EQ(run.exitCode(), value) << row;

        std::vector<LogEntry> log = dir.readLog();
        ASSERT_EQ(log.size(), 1u) << row << ": only the start of kx01.exe";
        HANDLE package = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, log[0].pid);
        ASSERT_TRUE(package) << row;
        EXPECT_EQ(WaitForSingleObject(package, 0), WAIT_TIMEOUT) << row << ": package was ended";
        TerminateProcess(package, 0);
        WaitForSingleObject(package, BOX_LIMIT_MS);
        CloseHandle(package);
    }
}

// Lines are built whole however long; one past the platform's limit is reported, not cut. The
// setup line for a.ini is exactly 32,766 characters long, the longest that starts.
TEST(PkgRun, LongLinesStartWholeOrAreReported)
{
    const std::string longIni = std::string(150, 'n') + ".ini";
    const std::size_t setupLineRest = std::string("rollout.exe ").size() + std::string(" /a a.ini").size();
    const std::string args = std::string(32766 - setupLineRest - 1, 'a') + "z";
    ASSERT_LE(std::string(PKGRUN_ARGUMENT_0).size() + 1 + args.size(), 32766u) << "pkgrun's own line";
    ScratchDir dir("long");
    dir.addStandIn("kx01.exe");
    dir.addStandIn("rollout.exe");
    dir.addFile("a.ini");
    dir.addFile(longIni);
    LauncherRun run(dir.path(), " " + args);
    expectBox(run, "Unable to start rollout on  " + longIni, "long ini");
    expectExitWithoutBox(run, "long");
    std::vector<LogEntry> starts = startsOf(dir.readLog());
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_TRUE(starts[0].commandLine == "kx01.exe " + args) << "package line not whole";
    EXPECT_TRUE(starts[1].commandLine == "rollout.exe " + args + " /a a.ini")
        << "setup line not whole";
}

} // namespace
