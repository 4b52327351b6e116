// bwmap.exe against the real bwplan.exe window: random sessions replayed on both, map compared.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "mapper_driver.h"
#include "seeded_random.h"

namespace {

std::uint64_t firstSeed = 1;
int sessions = 200;
constexpr int kMaxPicks = 14;
constexpr DWORD kChildWaitMs = 60000;

// Half-height pairs of both sharing classes, groups of four, spans (one past the edge), an
// enhanced-only and OS-dependent half-height type, a type with more labels than rows, one
// without ports, unreadable digits, and names with ", ", "=" and an 8-bit letter.
const char kCatalogue[] =
    "\"Ridge\" 0x4000000 AABB 1212\r\n"
    "\"GroupHalf\" 0x4800000 AB 11\r\n"
    "\"ShareHalf\" 0x1800000 AB 11\r\n"
    "\"PlainHalf\" 0x800000 AABB 1212\r\n"
    "\"OrderHalf\" 0x800500 AABB 1212\r\n"
    "\"EnhHalf\" 0xC04000 AB 11\r\n"
    "\"Wide3\" 0x30000 AABBAB 121233\r\n"
    "\"Wide2=78\" 0x200C0 AABB 1212\r\n"
    "\"Eight, half\" 0x808000 AABBABAB 12124455\r\n"
    "\"Stub\" 0x800000\r\n"
    "\"Unwired\" 0x100 AABB 1x1\r\n"
    "\"H\xE9lix\" 0x1800200 AB 1\r\n";

int upperBayId(int c) { return 1000 + c; }
int lowerBayId(int c) { return 1008 + c; }
int columnOsId(int c) { return 1087 + c; }
int labelId(int row, int c) { return 1017 + 8 * row + c; }
constexpr int kEnclosureType = 1083;
constexpr int kDefaultOs = 1118;
constexpr int kMessage = 1095;

struct ChildResult {
    bool ran = false;
    std::string trouble;  // why it did not run to its end
    DWORD status = 0;
    std::string out;
    std::string err;
};

void readAll(HANDLE pipe, std::string* into) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) into->append(buffer, got);
}

// Text-mode output ends its lines in CR LF; the comparison is of the lines.
std::string withoutCr(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

// One bwmap.exe run with these arguments in `folder`, its output and errors through pipes;
// started at once, its result collected by finish().
class BwmapRun {
public:
    BwmapRun(const std::vector<std::string>& args, const std::string& folder) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE outWrite, errWrite;
        std::string line = "\"" + bwmapPath() + "\"";
        for (const std::string& arg : args) line += " \"" + arg + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        // No other thread's child may inherit these pipes' write ends: it would hold them open.
        static std::mutex creating;
        std::lock_guard<std::mutex> lock(creating);
        if (!CreatePipe(&outRead_, &outWrite, &inherit, 0) || !CreatePipe(&errRead_, &errWrite, &inherit, 0)) {
            result_.trouble = "no pipes, error " + std::to_string(GetLastError());
            if (errRead_ == nullptr && outRead_ != nullptr) CloseHandle(outWrite);
            return;
        }
        SetHandleInformation(outRead_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(errRead_, HANDLE_FLAG_INHERIT, 0);
        startup.hStdOutput = outWrite;
        startup.hStdError = errWrite;
        if (CreateProcessA(bwmapPath().c_str(), &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                           folder.c_str(), &startup, &info_)) {
            outReader_ = std::thread(readAll, outRead_, &result_.out);
            errReader_ = std::thread(readAll, errRead_, &result_.err);
        } else {
            result_.trouble = "not started, error " + std::to_string(GetLastError());
        }
        CloseHandle(outWrite);
        CloseHandle(errWrite);
    }
    ~BwmapRun() { finish(); }
    BwmapRun(const BwmapRun&) = delete;
    BwmapRun& operator=(const BwmapRun&) = delete;

    const ChildResult& finish() {
        if (info_.hProcess != nullptr) {
            if (WaitForSingleObject(info_.hProcess, kChildWaitMs) != WAIT_OBJECT_0) {
                result_.trouble = "still running after " + std::to_string(kChildWaitMs) + " ms";
                TerminateProcess(info_.hProcess, 1);
                WaitForSingleObject(info_.hProcess, 5000);
            } else {
                result_.ran = GetExitCodeProcess(info_.hProcess, &result_.status) != FALSE;
            }
            outReader_.join();
            errReader_.join();
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
            info_ = PROCESS_INFORMATION{};
            result_.out = withoutCr(result_.out);
            result_.err = withoutCr(result_.err);
        }
        for (HANDLE* pipe : {&outRead_, &errRead_}) {
            if (*pipe != nullptr) CloseHandle(*pipe);
            *pipe = nullptr;
        }
        return result_;
    }

private:
    PROCESS_INFORMATION info_{};
    HANDLE outRead_ = nullptr;
    HANDLE errRead_ = nullptr;
    std::thread outReader_, errReader_;
    ChildResult result_;
};

// A control's state in one request each: the form itself is shown.
LONG style(const MapperProcess& m, int id) { return GetWindowLongW(m.item(id), GWL_STYLE); }
bool shownFlag(const MapperProcess& m, int id) { return (style(m, id) & WS_VISIBLE) != 0; }
std::string selectedText(const MapperProcess& m, int id) {
    const LRESULT index = SendMessageW(m.item(id), CB_GETCURSEL, 0, 0);
    if (index < 0) return {};
    wchar_t text[256];
    const LRESULT n = SendMessageW(m.item(id), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return n < 0 ? "<unreadable>" : narrow(std::wstring(text, static_cast<std::size_t>(n)));
}

// One bwplan with its selectors' entry lists, which stay the same across Resets.
struct Window {
    MapperProcess mapper;
    std::string catalogueFile;  // passed to bwmap; empty for the built-in types alone
    std::vector<std::vector<std::string>> bayEntries;  // by column: upper 0-7, lower 8-15

    bool start(const std::string& folder) {
        if (!mapper.start("", folder)) return false;
        for (int c = 0; c < 8; ++c) bayEntries.push_back(mapper.entries(upperBayId(c)));
        for (int c = 0; c < 8; ++c) bayEntries.push_back(mapper.entries(lowerBayId(c)));
        return true;
    }
    bool usable(int id) const { return (style(mapper, id) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE; }
};

// What the window shows, as bwmap must print it: the refusal sentence of the message line, or
// the tsv of the labels. The lower bay's blade labels from the fifth row down, over whatever
// the upper bay's wrote there; every other label is the upper bay's.
struct Shown {
    std::string refusal;
    std::string tsv;
    bool lowerRows = false;   // a label of a lower bay
    bool osRows = false;      // a label of a column whose OS selector is enabled
    bool fileRows = false;    // a label of a type from the catalogue file
    bool standard = false;
    // Without a refusal: the start of bwmap's sentence for the first selector that no longer
    // shows the entry of its last pick ("bay 9: Fell "); empty when every pick holds.
    std::string cleared;
};

Shown readWindow(const MapperProcess& m, const std::vector<std::string>& builtIn) {
    Shown shown;
    shown.standard = selectedText(m, kEnclosureType) == "Standard";
    if (shownFlag(m, kMessage) && !m.text(kMessage).empty()) {
        shown.refusal = m.text(kMessage);
        return shown;
    }
    shown.tsv = "Bay\tType\tOS\tSwitch port\tNIC\n";
    for (int c = 0; c < 8; ++c) {
        const std::string upper = selectedText(m, upperBayId(c));
        const std::string lower = selectedText(m, lowerBayId(c));
        const std::string os = style(m, columnOsId(c)) & WS_DISABLED ? "" : selectedText(m, columnOsId(c));
        for (int row = 0; row < 6; ++row) {
            if (!shownFlag(m, labelId(row, c))) continue;
            const bool fromLower = row >= 4 && !lower.empty();
            const std::string& type = fromLower ? lower : upper;
            const std::string label = m.text(labelId(row, c));
            const std::size_t split = label.find(", ");
            shown.tsv += std::to_string(fromLower ? c + 9 : c + 1) + "\t" + type + "\t" + os + "\t" +
                         label.substr(0, split) + "\t" + (split == std::string::npos ? "" : label.substr(split + 2)) +
                         "\n";
            shown.lowerRows = shown.lowerRows || fromLower;
            shown.osRows = shown.osRows || !os.empty();
            bool known = false;
            for (const std::string& name : builtIn) known = known || name == type;
            shown.fileRows = shown.fileRows || !known;
        }
    }
    return shown;
}

// The first selector, in the order of the last picks, that no longer shows its last pick's
// entry: a bay its type ("empty" wherever it holds no blade), an OS selector its OS, enabled.
std::string firstCleared(const MapperProcess& m, const std::vector<std::pair<int, std::string>>& picked) {
    for (std::size_t i = 0; i < picked.size(); ++i) {
        const int id = picked[i].first;
        const std::string& entry = picked[i].second;
        bool pickedAgain = false;
        for (std::size_t j = i + 1; j < picked.size(); ++j) pickedAgain = pickedAgain || picked[j].first == id;
        if (pickedAgain) continue;
        const std::string shown = selectedText(m, id);
        std::string what;
        bool holds = false;
        for (int c = 0; c < 8; ++c) {
            if (id == columnOsId(c)) {
                what = "the OS selector of column " + std::to_string(c + 1);
                holds = !(style(m, id) & WS_DISABLED) && shown == entry;
            } else if (id == upperBayId(c) || id == lowerBayId(c)) {
                what = "bay " + std::to_string(id == upperBayId(c) ? c + 1 : c + 9);
                holds = entry == "empty" ? shown.empty() || shown == "empty" : shown == entry;
            }
        }
        if (!holds) return what + ": " + entry + " ";
    }
    return "";
}

std::string commandLine(const std::vector<std::string>& args) {
    std::string line = "bwmap";
    for (const std::string& arg : args) line += " \"" + arg + "\"";
    return line;
}

std::string report(const ChildResult& got) {
    return "status " + std::to_string(got.status) + (got.ran ? "" : " (" + got.trouble + ")") + "\n--- stdout\n" +
           got.out + "--- stderr\n" + got.err;
}

// A pick that no user could make after this session: into a hidden or disabled selector.
// Empty when every selector is usable.
std::string forbiddenPick(const Window& w, Random& random, std::string& selector) {
    std::vector<std::string> picks, names;
    for (int c = 0; c < 16; ++c) {
        const int id = c < 8 ? upperBayId(c) : lowerBayId(c - 8);
        if (w.usable(id)) continue;
        const auto& entries = w.bayEntries[static_cast<std::size_t>(c)];
        picks.push_back(std::to_string(c + 1) + "=" + entries[entries.size() > 1 ? 1 : 0]);
        names.push_back("bay " + std::to_string(c + 1) + " is " + (shownFlag(w.mapper, id) ? "disabled" : "not shown"));
    }
    for (int c = 0; c < 8; ++c) {
        if (w.usable(columnOsId(c))) continue;
        picks.push_back("os" + std::to_string(c + 1) + "=Windows");
        names.push_back("the OS selector of column " + std::to_string(c + 1) + " is disabled");
    }
    if (picks.empty()) return {};
    const std::size_t k = static_cast<std::size_t>(random.below(static_cast<int>(picks.size())));
    selector = names[k];
    return picks[k];
}

// One session's actions as bwmap takes them, what the window showed after them, and the runs.
struct Session {
    int number = 0;
    std::vector<std::string> args;
    Shown shown;
    std::unique_ptr<BwmapRun> run;
    std::vector<std::pair<int, std::string>> picked;  // selector and entry text of each pick kept
    std::string forbiddenPrefix;  // the start of the error wanted for the forbidden pick
    std::vector<std::string> forbiddenArgs;
    std::unique_ptr<BwmapRun> forbiddenRun;
};

struct Tally {
    int sessions = 0, refusals = 0, cleared = 0, standard = 0, lowerRows = 0, osRows = 0, fileRows = 0, forbidden = 0,
        failures = 0;
};

// Plays one random session in the window: a fresh form, enclosure type and default OS where they
// differ from it, then picks into usable selectors. Three refused picks in four are taken back
// (a fresh form and the accepted actions again), so that most sessions end with a map; the
// fourth ends the session, as it ends bwmap. False when the window failed to answer.
bool playSession(Window& w, Random& random, Session& s) {
    MapperProcess& m = w.mapper;
    const std::string enclosure = random.below(2) ? "Enhanced" : "Standard";
    const std::string os = random.below(2) ? "Linux" : "Windows";
    s.args = {"--format", "tsv", "--enclosure", enclosure, "--os", os};
    if (!w.catalogueFile.empty()) s.args.insert(s.args.end(), {"--catalogue", w.catalogueFile});
    std::vector<std::pair<int, int>> accepted;  // selector and entry of each pick kept
    auto begin = [&]() {
        if (!m.reset()) return false;
        if (selectedText(m, kEnclosureType) != enclosure && !m.chooseText(kEnclosureType, enclosure)) return false;
        if (selectedText(m, kDefaultOs) != os && !m.chooseText(kDefaultOs, os)) return false;
        for (const auto& pick : accepted) m.choose(pick.first, pick.second);
        return true;
    };
    if (!begin()) return false;

    const int picks = 1 + random.below(kMaxPicks);
    for (int p = 0; p < picks; ++p) {
        std::vector<int> bays, columns;
        for (int c = 0; c < 16; ++c)
            if (w.usable(c < 8 ? upperBayId(c) : lowerBayId(c - 8))) bays.push_back(c);
        for (int c = 0; c < 8; ++c)
            if (w.usable(columnOsId(c))) columns.push_back(c);
        int id, index;
        if (!columns.empty() && (bays.empty() || random.below(5) == 0)) {
            const int c = columns[static_cast<std::size_t>(random.below(static_cast<int>(columns.size())))];
            id = columnOsId(c);
            index = random.below(2);
            s.args.push_back("os" + std::to_string(c + 1) + "=" + (index == 0 ? "Windows" : "Linux"));
        } else {
            if (bays.empty()) return false;
            const int c = bays[static_cast<std::size_t>(random.below(static_cast<int>(bays.size())))];
            const auto& entries = w.bayEntries[static_cast<std::size_t>(c)];
            id = c < 8 ? upperBayId(c) : lowerBayId(c - 8);
            index = random.below(static_cast<int>(entries.size()));
            s.args.push_back(std::to_string(c + 1) + "=" + entries[static_cast<std::size_t>(index)]);
        }
        m.choose(id, index);
        if (!shownFlag(m, kMessage) || m.text(kMessage).empty()) {
            accepted.emplace_back(id, index);
            s.picked.emplace_back(id, id >= columnOsId(0) ? (index == 0 ? "Windows" : "Linux")
                                                          : w.bayEntries[static_cast<std::size_t>(id - upperBayId(0))]
                                                                        [static_cast<std::size_t>(index)]);
        } else if (random.below(4) == 0) {
            break;
        } else {
            s.args.pop_back();
            if (!begin()) return false;
        }
    }
    return true;
}

// Standard error less the warnings about two labels on one switch port, which bwmap gives
// beside a map that the window shows just the same.
std::string withoutPortWarnings(const std::string& err) {
    std::string kept;
    std::size_t start = 0;
    while (start < err.size()) {
        std::size_t end = err.find('\n', start);
        end = end == std::string::npos ? err.size() : end + 1;
        const std::string line = err.substr(start, end - start);
        if (line.rfind("bwmap: warning: ", 0) != 0 || line.find(" carries two labels: ") == std::string::npos)
            kept += line;
        start = end;
    }
    return kept;
}

// Compares a session's runs with what the window showed.
void check(Session& s, const std::string& where, Tally& tally) {
    const ChildResult& got = s.run->finish();
    const Shown& shown = s.shown;
    const std::string clearedPrefix = "bwmap: " + shown.cleared;
    const bool same =
        got.ran && (!shown.refusal.empty() ? got.status == 3 && got.out.empty() && got.err == "bwmap: " + shown.refusal + "\n"
                    : !shown.cleared.empty()
                        ? got.status == 3 && got.out.empty() && got.err.compare(0, clearedPrefix.size(), clearedPrefix) == 0 &&
                              got.err.find('\n') == got.err.size() - 1
                        : got.status == 0 && got.out == shown.tsv && withoutPortWarnings(got.err).empty());
    if (!same) {
        ++tally.failures;
        ADD_FAILURE() << where << ", session " << s.number << ":\n" << commandLine(s.args) << "\n--- the window shows\n"
                      << (!shown.refusal.empty() ? "refusal: " + shown.refusal + "\n"
                          : !shown.cleared.empty() ? "a pick no longer shown: " + shown.cleared + "\n"
                                                   : shown.tsv) << report(got);
        return;
    }
    ++tally.sessions;
    tally.refusals += !shown.refusal.empty();
    tally.cleared += !shown.cleared.empty();
    tally.standard += shown.standard;
    tally.lowerRows += shown.lowerRows;
    tally.osRows += shown.osRows;
    tally.fileRows += shown.fileRows;
    if (!s.forbiddenRun) return;
    ++tally.forbidden;
    const ChildResult& refused = s.forbiddenRun->finish();
    const std::string& prefix = s.forbiddenPrefix;
    const bool oneLine = refused.err.size() > prefix.size() && refused.err.find('\n') == refused.err.size() - 1;
    if (!refused.ran || refused.status != 2 || !refused.out.empty() || !oneLine ||
        refused.err.compare(0, prefix.size(), prefix) != 0) {
        ++tally.failures;
        ADD_FAILURE() << where << ", session " << s.number << ": want \"" << prefix << "...\" and status 2 for\n"
                      << commandLine(s.forbiddenArgs) << "\n" << report(refused);
    }
}

// Random sessions in one window, each replayed by bwmap while the next one is played; after
// every third, a pick that the window would not take must be an input error.
void runSessions(Window& w, std::uint64_t seed, int count, const std::string& where, const std::string& folder,
                 const std::vector<std::string>& builtIn, Tally& tally) {
    Random random(seed);
    std::unique_ptr<Session> pending;
    for (int number = 0; number < count && tally.failures < 3; ++number) {
        auto s = std::make_unique<Session>();
        s->number = number;
        if (!playSession(w, random, *s)) {
            ++tally.failures;
            ADD_FAILURE() << where << ", session " << number << ": the window did not answer";
            break;
        }
        s->shown = readWindow(w.mapper, builtIn);
        if (s->shown.refusal.empty()) s->shown.cleared = firstCleared(w.mapper, s->picked);
        s->run = std::make_unique<BwmapRun>(s->args, folder);
        std::string selector;
        const std::string pick = s->shown.refusal.empty() && number % 3 == 0 ? forbiddenPick(w, random, selector) : "";
        if (!pick.empty()) {
            s->forbiddenPrefix = "bwmap: " + selector;
            s->forbiddenArgs = s->args;
            s->forbiddenArgs.push_back(pick);
            s->forbiddenRun = std::make_unique<BwmapRun>(s->forbiddenArgs, folder);
        }
        if (pending) check(*pending, where, tally);
        pending = std::move(s);
    }
    if (pending) check(*pending, where, tally);
}

TEST(CrossCheck, BwmapPrintsWhatTheWindowShowsAfterRandomSessions) {
    ScratchDir builtInDir("cross-built-in");
    ScratchDir catalogueDir("cross-catalogue");
    ScratchDir bwmapDir("cross-bwmap");  // bwmap's working folder: no bwplan.ini
    catalogueDir.writeFile("bwplan.ini", kCatalogue);
    Window windows[2];
    ASSERT_TRUE(windows[0].start(builtInDir.path()));
    ASSERT_TRUE(windows[1].start(catalogueDir.path()));
    windows[1].catalogueFile = catalogueDir.path() + "\\bwplan.ini";
    ASSERT_GT(windows[1].bayEntries[0].size(), windows[0].bayEntries[0].size()) << "the catalogue file was read";
    const std::vector<std::string> builtIn = windows[0].bayEntries[0];

    // One thread per window: each waits on its own window and bwmap most of the time.
    Tally tallies[2];
    std::thread players[2];
    for (int i = 0; i < 2; ++i) {
        const std::string where = "seed " + std::to_string(firstSeed) + (i == 0 ? ", built-in types" : ", catalogue file");
        players[i] = std::thread(runSessions, std::ref(windows[i]), firstSeed * 2 + static_cast<std::uint64_t>(i),
                                 sessions / 2, where, bwmapDir.path(), std::cref(builtIn), std::ref(tallies[i]));
    }
    for (std::thread& player : players) player.join();

    // Every session agreed, and the sessions reached what the comparison is about.
    Tally all;
    for (const Tally& t : tallies) {
        all.sessions += t.sessions;
        all.refusals += t.refusals;
        all.cleared += t.cleared;
        all.standard += t.standard;
        all.lowerRows += t.lowerRows;
        all.osRows += t.osRows;
        all.fileRows += t.fileRows;
        all.forbidden += t.forbidden;
    }
    std::printf("seed %llu: %d sessions agreed: %d refused, %d with a pick cleared later, %d Standard, %d with lower-bay labels, %d with a column "
                "OS, %d with file types; %d forbidden picks refused\n",
                static_cast<unsigned long long>(firstSeed), all.sessions, all.refusals, all.cleared, all.standard, all.lowerRows,
                all.osRows, all.fileRows, all.forbidden);
    EXPECT_EQ(all.sessions, sessions / 2 * 2);
    EXPECT_GE(all.refusals, 25) << "sessions ending in a refusal";
    EXPECT_GE(all.standard, 60) << "sessions in a Standard enclosure";
    EXPECT_GE(all.lowerRows, 35) << "sessions with labels of a lower bay";
    EXPECT_GE(all.osRows, 50) << "sessions with an enabled column OS";
    EXPECT_GE(tallies[1].fileRows, 40) << "sessions with labels of catalogue file types";
    EXPECT_EQ(tallies[0].fileRows, 0) << "file types without the file";
    EXPECT_GE(all.forbidden, 25) << "forbidden picks tried";
    for (Window& w : windows) {
        w.mapper.click(2);
        EXPECT_TRUE(w.mapper.waitForExit(10000));
    }
}

}  // namespace

// bwmap_wine_tests <bwplan.exe> <bwmap.exe> [seed [sessions]] [gtest flags]
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: bwmap_wine_tests <bwplan.exe> <bwmap.exe> [seed [sessions]]\n");
        return 2;
    }
    setBwplanPath(fullPath(argv[1]));
    setBwmapPath(fullPath(argv[2]));
    if (argc >= 4) firstSeed = std::strtoull(argv[3], nullptr, 10);
    if (argc == 5) sessions = std::atoi(argv[4]);
    return RUN_ALL_TESTS();
}
