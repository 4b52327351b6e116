// Tables that fit long and wide names, and the help that fits a terminal.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "bwmap_runner.h"

namespace {

using runner::bwmap;
using runner::Result;
using runner::Scratch;

// A line as the terminal shows it: one entry per display column, blank for a blank.
std::vector<bool> inkOf(const std::string& line) {
    std::vector<bool> ink;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t next = i + 1;
        while (next < line.size() && (static_cast<unsigned char>(line[next]) & 0xC0) == 0x80) ++next;
        const std::size_t width = displayWidth(std::string_view(line).substr(i, next - i));
        ink.insert(ink.end(), width, line[i] != ' ');
        i = next;
    }
    return ink;
}

// Every row's cells start where the header's columns start, and each column is as wide as its
// widest cell: some line's text ends two blanks before the next column.
void expectAligned(const std::string& what, const std::string& table) {
    std::istringstream text(table);
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    ASSERT_GE(lines.size(), 2u) << what << "\n" << table;
    const std::vector<bool> header = inkOf(lines[0]);
    std::vector<std::size_t> starts;
    for (std::size_t p = 0; p < header.size(); ++p)
        if (header[p] && (p == 0 || (p >= 2 && !header[p - 1] && !header[p - 2]))) starts.push_back(p);
    ASSERT_GE(starts.size(), 3u) << what << "\n" << table;
    std::vector<bool> filled(starts.size(), false);
    for (const std::string& line : lines) {
        const std::vector<bool> ink = inkOf(line);
        for (std::size_t c = 1; c < starts.size(); ++c) {
            const std::size_t p = starts[c];
            const bool crosses = (p - 1 < ink.size() && ink[p - 1]) || (p - 2 < ink.size() && ink[p - 2]);
            EXPECT_FALSE(crosses) << what << ": column " << c + 1 << " of\n" << line << "\nunder\n" << lines[0];
            filled[c] = filled[c] || (p - 3 < ink.size() && ink[p - 3]);
        }
    }
    for (std::size_t c = 1; c < starts.size(); ++c)
        EXPECT_TRUE(filled[c]) << what << ": column " << c << " is wider than its widest cell\n" << table;
}

TEST(TableFit, LongAndWideNamesInEveryTable) {
    Scratch scratch;
    const std::string longName = "fra3-hall2-row12-rack07-enclosure-upper-01";  // 43 characters
    const std::string wide = "\xE6\x97\xA5\xE6\x9C\xAC-db";                        // two wide letters
    const std::string plans = scratch.write("long.csv", "name,1,9,host1,host9,switchA,Rack\n" + longName +
                                                            ",Fell,Fell,prod-db-cluster-node-001," + wide +
                                                            ",fra3-r12-r07-upper-swa-x,R7\nr8,Tarn,,a,,,R8 \xC3\xBC\n");
    const std::string capture = scratch.write(
        "cap.json", "{\"lldp\": {\"interface\": [{\"eno1\": {\"chassis\": {\"fra3-r12-r07-upper-swa-x.dc.example.com\": {}},"
                    " \"port\": {\"id\": {\"type\": \"ifname\", \"value\": \"swp1\"}}}}]}}");
    const std::vector<std::string> picks = {"1=Fell", "host1=prod-db-cluster-node-001", "9=Fell", "host9=" + wide,
                                            "switchA=fra3-r12-r07-upper-swa-x"};
    const struct {
        const char* what;
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {"map by bay", picks, 0},
        {"--by switch", {"--by", "switch"}, 0},
        {"--find", {"--find", "FRA3-R12-R07-upper-swa-x:1"}, 0},
        {"plans by bay", {"--plans", plans}, 0},
        {"plans --by switch", {"--plans", plans, "--by", "switch"}, 0},
        {"plans --find", {"--plans", plans, "--find", "a-1"}, 0},
        {"--verify", {"--verify", "prod-db-cluster-node-001=" + capture}, 1},
        {"plans --verify", {"--plans", plans, "--verify", "prod-db-cluster-node-001=" + capture}, 1},
        {"--list-types", {"--list-types"}, 0},
        {"--diff", {"--diff", scratch.write("old.csv", "name,1\n" + longName + ",Tarn\n"), plans, "--all"}, 1},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        if (args.empty() || (args[0] != "--plans" && args[0] != "--list-types" && args[0] != "--diff" &&
                              args[0].rfind("1=", 0) != 0))
            args.insert(args.end(), picks.begin(), picks.end());
        const Result r = bwmap(args);
        EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
        // The change ticket's blade facts stand above its table, a blank line between.
        const std::size_t facts = args[0] == "--diff" ? r.out.find("\n\n") : std::string::npos;
        expectAligned(c.what, facts == std::string::npos ? r.out : r.out.substr(facts + 2));
    }
}

// A table past its first block keeps the block's widths: the header still stands over it.
TEST(TableFit, RowsPastTheFirstBlockKeepItsWidths) {
    Scratch scratch;
    std::string plans = "name,1\n";
    for (int row = 0; row < 1100; ++row) plans += "r" + std::to_string(row) + ",Fell\n";  // 2200 table rows
    plans += "a-much-longer-name-after-the-block,Fell\n";
    const Result r = bwmap({"--plans", scratch.write("many.csv", plans)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Enclosure  Bay  Type  OS  Switch port  NIC");
    EXPECT_NE(r.out.find("\nr1099      1    Fell      B-1          NIC B\n"), std::string::npos);
    EXPECT_NE(r.out.find("\na-much-longer-name-after-the-block  1    Fell      A-1          NIC A\n"), std::string::npos);
}

// The help starts with the usage, groups the options and fits 80 columns.
TEST(TableFit, HelpInGroupsWithinEightyColumns) {
    const Result r = bwmap({"--help"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: bwmap [OPTIONS]", 0), 0u) << r.out;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
    std::size_t last = 0;
    for (const char* group : {"\nPicks and names:\n", "\nOutput:\n", "\nPlans files:\n", "\nThe switch's side:\n",
                              "\nNetBox:\n", "\nChecks:\n"}) {
        const std::size_t at = r.out.find(group);
        EXPECT_NE(at, std::string::npos) << group;
        EXPECT_GT(at, last) << group;
        last = at;
    }
    EXPECT_EQ(r.out.find("Excludes"), std::string::npos);
    for (const char* option : {"\n  --switch-name ", "\n  --switch-port-name "}) {
        const std::size_t at = r.out.find(option);
        ASSERT_NE(at, std::string::npos) << option;
        const std::string entry = r.out.substr(at, r.out.find("\n  -", at + 1) - at);
        EXPECT_NE(entry.find("--verify"), std::string::npos) << entry;
    }
}

}  // namespace
