// The change ticket between two plans files: its rows, its blade facts and its status.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bwmap_runner.h"
#include "enclosure/kept_rows.h"
#include "views/plan_diff.h"
#include "writers/diff_writer.h"

namespace {

using runner::bwmap;
using runner::Result;
using runner::Scratch;

std::vector<std::string> cellsOf(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream in(line);
    for (std::string cell; std::getline(in, cell, '\t');) cells.push_back(cell);
    cells.resize(16);
    return cells;
}

// The tsv's rows in short, without its header. By switch: "ENCLOSURE SWITCH-PORT CHANGE [WHAT]
// OLD-BAY>NEW-BAY"; by bay: "ENCLOSURE BAY/NIC CHANGE [WHAT] OLD-PORT>NEW-PORT".
std::vector<std::string> shortRows(const std::string& tsv, bool bySwitch) {
    std::vector<std::string> rows;
    std::stringstream in(tsv);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const std::vector<std::string> c = cellsOf(line);
        std::string row = c[0] + " " + c[1] + (bySwitch ? "-" : "/") + c[2] + " " + c[3];
        if (!c[4].empty()) row += " [" + c[4] + "]";
        row += " " + (bySwitch ? c[5] + ">" + c[10] : c[5] + ">" + c[9]);
        rows.push_back(row);
    }
    return rows;
}

struct DiffCase {
    const char* what;
    const char* before;
    const char* after;
    std::vector<std::string> options;
    int status;
    std::vector<std::string> rows;  // as shortRows writes them
    const char* err;                // the start of standard error, "" for none
};

TEST(Diff, PlanPairs) {
    const Scratch scratch;
    const char* const hosts = "name,1,2,host1,host2\nr1,Tarn,Tarn-M2,web01,web02\nr2,Fell,,db01,\n";
    const DiffCase cases[] = {
        {"a plan against itself", hosts, hosts, {}, 0, {}, ""},
        {"two blades swapped: two moves, their ports changed", hosts,
         "name,1,2,host1,host2\nr1,Tarn-M2,Tarn,web02,web01\nr2,Fell,,db01,\n", {}, 1,
         {"r1 - moved [bay] 2>1", "r1 - moved [bay] 1>2", "r1 A-1 changed [type, host, OS] 1>1",
          "r1 A-2 changed [type, host, OS] 1>1", "r1 A-3 changed [type, host, OS] 2>2",
          "r1 A-4 changed [type, host, OS] 2>2", "r1 B-2 changed [type, host, OS] 1>1",
          "r1 B-4 changed [type, host, OS] 2>2"},
         ""},
        {"a type replaced", "name,1\nr1,Tarn\n", "name,1\nr1,Fell\n", {}, 1,
         {"r1 - replaced [type] 1>1", "r1 A-1 changed [type] 1>1", "r1 A-2 removed 1>", "r1 B-1 added >1",
          "r1 B-2 removed 1>"},
         ""},
        {"an enclosure added and one removed", "name,1\nr1,Tarn\nr2,Fell\n", "name,1\nr1,Tarn\nr3,Fell\n", {}, 1,
         {"r3 - added [blade] >1", "r2 - removed [blade] 1>", "r3 A-1 added >1", "r3 B-1 added >1",
          "r2 A-1 removed 1>", "r2 B-1 removed 1>"},
         ""},
        {"a renamed host", hosts, "name,1,2,host1,host2\nr1,Tarn,Tarn-M2,web01,web22\nr2,Fell,,db01,\n", {}, 1,
         {"r1 - renamed [host] 2>2", "r1 A-3 changed [host] 2>2", "r1 A-4 changed [host] 2>2",
          "r1 B-4 changed [host] 2>2"},
         ""},
        {"a host moved to another enclosure: the blade left behind is new", hosts, "name,1,2,host1,host2\nr1,Tarn,Tarn-M2,web01,\nr2,Fell,Tarn-M2,db01,web02\n",
         {}, 1, {"r1 - added [blade] >2", "r2 - moved [enclosure, bay] 2>2", "r1 A-3 changed [host] 2>2",
                 "r1 A-4 changed [host] 2>2", "r1 B-4 changed [host] 2>2", "r2 A-3 added >2", "r2 A-4 added >2",
                 "r2 B-4 added >2"},
         ""},
        {"Standard against Enhanced", "name,enclosure,1\ns1,standard,Tarn\n", "name,enclosure,1\ns1,enhanced,Tarn\n", {}, 1,
         {"s1 B-1 removed 1>"}, ""},
        {"rows in another order", "name,1\nr1,Tarn\nr2,Fell\nr3,Tarn-M2\n", "name,1\nr3,Tarn-M2\nr1,Tarn\nr2,Fell\n", {}, 0,
         {}, ""},
        {"an error row in OLD: left out and named, the rest compared", "name,1\nr1,Tarn\nr2,Bogus\n",
         "name,1\nr1,Fell\nr2,Fell\n", {}, 2,
         {"r1 - replaced [type] 1>1", "r1 A-1 changed [type] 1>1", "r1 A-2 removed 1>", "r1 B-1 added >1",
          "r1 B-2 removed 1>"},
         "bwmap: OLD:3: r2: "},
        {"a name twice in OLD leaves both rows out", "name,1\nr1,Tarn\nr1,Fell\n", "name,1\nr1,Fell\n", {}, 2, {},
         "bwmap: OLD:3: r1: the name \"r1\" is already used on line 2\nbwmap: r1: left out of the diff\n"},
        {"--by bay: the NICs whose port changes", "name,1,2\nr1,Tarn,Tarn\n", "name,1,2\nr1,Tarn,Fell\n", {"--by", "bay"}, 1,
         {"r1 2/ replaced [type] >", "r1 2/NIC B changed [port, type] A-4>B-3", "r1 2/NIC C removed B-4>"}, ""},
        {"--all: the same ports too", "name,1\nr1,Fell\n", "name,1,host1\nr1,Fell,web01\n", {"--all"}, 1,
         {"r1 - renamed [host] 1>1", "r1 A-1 changed [host] 1>1", "r1 B-1 changed [host] 1>1"}, ""},
        {"--all on equal plans", "name,1\nr1,Fell\n", "name,1\nr1,Fell\n", {"--all"}, 0,
         {"r1 A-1 same 1>1", "r1 B-1 same 1>1"}, ""},
        {"an unreadable NEW writes nothing", "name,1\nr1,Fell\n", "name,17\nr1,Fell\n", {}, 2, {},
         "bwmap: NEW:1: column \"17\": the bay must be a number from 1 to 16\n"},
    };
    for (const DiffCase& c : cases) {
        const std::string before = scratch.write("old.csv", c.before), after = scratch.write("new.csv", c.after);
        std::vector<std::string> args = {"--diff", before, after, "--catalogue", "/dev/null", "--format", "tsv"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Result r = bwmap(args);
        EXPECT_EQ(r.status, c.status) << c.what << "\n" << r.err;
        const bool bySwitch = c.options.empty() || c.options[0] != "--by";
        if (std::string(c.what).find("unreadable") != std::string::npos) EXPECT_EQ(r.out, "") << c.what;
        else EXPECT_EQ(shortRows(r.out, bySwitch), c.rows) << c.what << "\n" << r.out;
        std::string err = r.err;
        for (const auto& [path, word] : {std::pair{before, "OLD"}, std::pair{after, "NEW"}})
            for (std::size_t at; (at = err.find(path)) != std::string::npos;) err.replace(at, path.size(), word);
        EXPECT_EQ(err.substr(0, std::string(c.err).size()), c.err) << c.what;
        if (*c.err == '\0') {
            EXPECT_EQ(r.err, "") << c.what;
        }
    }
}

// An enclosure's rows in a diff of many are the rows of the diff of its two rows alone.
TEST(Diff, EachEnclosureAsItsOwnPair) {
    const Scratch scratch;
    const std::string header = "name,enclosure,os,1,2,9,host1,host2,rack\n";
    const std::vector<std::string> before = {"a,standard,,Tarn,Tarn-M2,,web01,web02,R1", "b,enhanced,windows,Fell,,Fell,,,R2",
                                             "c,,,Tarn,,,,,R3", "d,enhanced,,Crag,,,x1,,R4"};
    const std::vector<std::string> after = {"d,enhanced,,Tarn,Tarn,,x1,x2,R4", "c,,,Tarn,,,,,R3b",
                                            "a,standard,linux,Tarn-M2,Tarn,,web02,web01,R1", "b,enhanced,linux,Fell,Fell,Fell,,,R2",
                                            "e,,,Fell,,,,,R5"};
    std::string all[2];
    for (int side = 0; side < 2; ++side)
        for (const std::string& row : side == 0 ? before : after) all[side] += row + "\n";
    const std::string oldPath = scratch.write("old.csv", header + all[0]), newPath = scratch.write("new.csv", header + all[1]);
    for (const char* by : {"switch", "bay"}) {
        const Result whole = bwmap({"--diff", oldPath, newPath, "--catalogue", "/dev/null", "--format", "tsv", "--by", by});
        ASSERT_EQ(whole.status, 1) << whole.err;
        std::map<std::string, std::string> rowsOf;
        std::stringstream in(whole.out);
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) rowsOf[line.substr(0, line.find('\t'))] += line + "\n";
        EXPECT_EQ(rowsOf.count("c"), 0u) << "a further column is no change";
        EXPECT_EQ(rowsOf.size(), 4u);
        for (const char* name : {"a", "b", "c", "d", "e"}) {
            std::string one[2];
            for (int side = 0; side < 2; ++side)
                for (const std::string& row : side == 0 ? before : after)
                    if (row.substr(0, row.find(',')) == name) one[side] = row + "\n";
            const Result single = bwmap({"--diff", scratch.write("o1.csv", header + one[0]),
                                         scratch.write("n1.csv", header + one[1]), "--catalogue", "/dev/null",
                                         "--format", "tsv", "--by", by});
            EXPECT_EQ(single.out.substr(single.out.find('\n') + 1), rowsOf[name]) << name << " by " << by;
            EXPECT_EQ(single.status, rowsOf[name].empty() ? 0 : 1) << name;
        }
    }
}

// Standard input for one file; the formats the ticket is not written in are refused.
TEST(Diff, InputsAndFormats) {
    const Scratch scratch;
    const std::string plan = scratch.write("plan.csv", "name,1\nr1,Fell\n");
    EXPECT_EQ(bwmap({"--diff", "-", "-"}).status, 2);
    const Result netbox = bwmap({"--diff", plan, plan, "--format", "netbox-cables"});
    EXPECT_EQ(netbox.status, 2);
    EXPECT_EQ(netbox.out, "");
    EXPECT_NE(netbox.err.find("--format netbox-cables"), std::string::npos) << netbox.err;
    const Result table = bwmap({"--diff", plan, plan, "--catalogue", "/dev/null"});
    EXPECT_EQ(table.status, 0);
    EXPECT_EQ(table.out, "") << "the table of equal plans is empty";
    EXPECT_EQ(bwmap({"--delimiter", ";", "1=Tarn"}).status, 2);
    EXPECT_EQ(bwmap({"--diff", plan, scratch.write("semi.csv", "name;1\nr1;Fell\n"), "--delimiter", ";",
                     "--catalogue", "/dev/null"}).status, 2) << "the delimiter holds for both files";
}

// Errors in NEW, and what travels with a removed enclosure: as --plans reports them, the
// enclosure named and left out, the rest still compared.
TEST(Diff, RowsLeftOut) {
    const Scratch scratch;
    struct Case {
        const char* what;
        const char* before;
        const char* after;
        int status;
        const char* out;  // the tsv's rows after its header, cut to their first five cells
        const char* err;
    } cases[] = {
        {"a refusal in NEW leaves its enclosure out, not removed", "name,1\nr1,Tarn\nr2,Fell\n",
         "name,enclosure,1\nr1,standard,Tarn-M3\nr2,,Tarn\n", 2,
         "r2\t\t\treplaced\ttype\nr2\tA\t1\tchanged\ttype\nr2\tA\t2\tadded\t\nr2\tB\t1\tremoved\t\nr2\tB\t2\tadded\t\n",
         "bwmap: NEW:2: r1: bay 1: Tarn-M3 blades must be in an enhanced (high density) enclosure.\n"
         "bwmap: r1: left out of the diff\n"},
        {"a host name twice across OLD's rows: the later row is left out, then removed from nothing",
         "name,1,host1\nr1,Fell,web01\nr2,Fell,web01\n", "name,1,host1\nr1,Fell,web01\n", 2, "",
         "bwmap: OLD:3: r2: host1: the host name \"web01\" is already used on line 2\nbwmap: r2: left out of the diff\n"},
        {"a removed enclosure's further columns, by NEW's names", "name,1,gone,rack\nr1,Fell,x,R1\nr2,Fell,y,R2\n",
         "name,1,rack\nr1,Fell,R1\n", 1,
         "r2\t\t\tremoved\tblade\nr2\tA\t1\tremoved\t\nr2\tB\t1\tremoved\t\n", ""},
    };
    for (const Case& c : cases) {
        const std::string before = scratch.write("old.csv", c.before), after = scratch.write("new.csv", c.after);
        const Result r = bwmap({"--diff", before, after, "--catalogue", "/dev/null", "--format", "tsv"});
        EXPECT_EQ(r.status, c.status) << c.what << "\n" << r.err;
        std::string rows, line;
        std::stringstream in(r.out);
        std::getline(in, line);
        while (std::getline(in, line)) {
            std::size_t cut = 0;
            for (int i = 0; i < 5 && cut != std::string::npos; ++i) cut = line.find('\t', cut + (i > 0));
            rows += line.substr(0, cut) + "\n";
            if (std::string(c.what).find("further") != std::string::npos && line.find("\t\t") != 2) {
                EXPECT_EQ(line.substr(line.rfind('\t') + 1), "R2") << c.what;
            }
        }
        EXPECT_EQ(rows, c.out) << c.what;
        std::string err = r.err;
        for (const auto& [path, word] : {std::pair{before, "OLD"}, std::pair{after, "NEW"}})
            for (std::size_t at; (at = err.find(path)) != std::string::npos;) err.replace(at, path.size(), word);
        EXPECT_EQ(err.substr(0, std::string(c.err).size()), c.err) << c.what;
    }
    // Standard input for OLD reads as a file does.
    const std::string after = scratch.write("new.csv", "name,1\nr1,Fell\n");
    std::FILE* in = std::freopen(scratch.write("old.csv", "name,1\nr1,Tarn\n").c_str(), "rb", stdin);
    ASSERT_NE(in, nullptr);
    const Result piped = bwmap({"--diff", "-", after, "--catalogue", "/dev/null"});
    EXPECT_EQ(piped.status, 1) << piped.err;
    EXPECT_EQ(piped.out.substr(0, 36), "replaced  r1 bay 1: Tarn -> Fell\n\nEn");
}

// The blade facts of changed bays: where each host name went decides move, replacement, rename,
// addition and removal.
TEST(Diff, BladeFacts) {
    struct Case {
        const char* what;
        std::vector<BayChange> bays;
        std::map<std::string, std::pair<std::size_t, int>> before;  // host -> old pair and bay
        std::vector<std::string> facts;                              // "KIND from-pair/bay>to-pair/bay"
    } cases[] = {
        {"a swap: two moves, nothing removed",
         {{0, 1, {"Fell", "a"}, {"Fell", "b"}}, {0, 2, {"Fell", "b"}, {"Fell", "a"}}},
         {{"a", {0, 1}}, {"b", {0, 2}}},
         {"moved 0/2>0/1", "moved 0/1>0/2"}},
        {"a move into another enclosure leaves an empty bay removed-free, the new bay moved-in",
         {{0, 3, {"Tarn", "db"}, {"", ""}}, {1, 1, {"", ""}, {"Tarn", "db"}}}, {{"db", {0, 3}}}, {"moved 0/3>1/1"}},
        {"a host moved in over a blade that stays unnamed: the old one is removed",
         {{0, 1, {"Fell", ""}, {"Fell", "web"}}, {0, 2, {"Fell", "web"}, {"", ""}}}, {{"web", {0, 2}}},
         {"moved 0/2>0/1", "removed 0/1>0/0"}},
        {"a replacement keeps its bay, with or without a new host", {{0, 4, {"Tarn", "x"}, {"Fell", "y"}}}, {{"x", {0, 4}}},
         {"replaced 0/4>0/4"}},
        {"a rename", {{0, 5, {"Fell", "old"}, {"Fell", "new"}}}, {{"old", {0, 5}}}, {"renamed 0/5>0/5"}},
        {"added and removed", {{0, 6, {"", ""}, {"Fell", ""}}, {2, 1, {"Tarn", "z"}, {"", ""}}}, {{"z", {2, 1}}},
         {"added 0/0>0/6", "removed 2/1>2/0"}},
        {"a host from an enclosure left out is no move", {{0, 1, {"", ""}, {"Fell", "lost"}}}, {{"lost", {HostPlace::kNone, 1}}},
         {"added 0/0>0/1"}},
    };
    for (const Case& c : cases) {
        const std::vector<BladeFact> facts = bladeFacts(c.bays, [&](const std::string& host) {
            const auto at = c.before.find(host);
            return at == c.before.end() ? HostPlace{} : HostPlace{at->second.first, at->second.second};
        });
        std::vector<std::string> got;
        for (const BladeFact& f : facts)
            got.push_back(std::string(factWord(f.kind)) + " " + std::to_string(f.fromPair) + "/" + std::to_string(f.fromBay) +
                          ">" + std::to_string(f.toPair) + "/" + std::to_string(f.toBay));
        EXPECT_EQ(got, c.facts) << c.what;
    }
    // A move keeps the type it had: the sentence names a change of type on the way.
    const std::vector<BayChange> bays = {{0, 1, {"Tarn", "h"}, {"", ""}}, {1, 2, {"", ""}, {"Fell", "h"}}};
    const std::vector<BladeFact> moved = bladeFacts(bays, [](const std::string&) { return HostPlace{0, 1}; });
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(factSentence(moved[0], "e1", "e2"), "h: e1 bay 1 -> e2 bay 2 (Tarn -> Fell)");
}

// Ports that carry two labels pair in turn, and a label without a port number stands last.
TEST(Diff, LabelsOnOnePort) {
    const auto mapped = [](std::vector<PortMapRow>& rows) {
        MappedEnclosure e;
        e.rows = rows;
        return e;
    };
    std::vector<PortMapRow> old = {{1, "Tarn", "", "A-1", "NIC A"}, {2, "Fell", "", "A-1", "NIC A"}, {3, "Fell", "", "A-?", "MGT"}};
    std::vector<PortMapRow> now = {{3, "Fell", "", "A-?", "MGT"}, {2, "Fell", "", "A-1", "NIC A"}, {1, "Tarn", "", "a-2", "NIC B"}};
    const MappedEnclosure before = mapped(old), after = mapped(now);
    std::vector<PortChange> rows;
    comparePorts(&before, &after, true, true, rows);
    std::vector<std::string> got;
    for (const PortChange& r : rows)
        got.push_back(std::string(changeWord(r.kind)) + " " + std::string(r.switchName) + "-" + r.port + " [" + r.what + "] " +
                      std::to_string(r.before.bay) + ">" + std::to_string(r.after.bay));
    const std::vector<std::string> expected = {"changed A-1 [bay, type] 1>2", "removed A-1 [] 2>0", "added a-2 [] 0>1",
                                               "same A-? [] 3>3"};
    EXPECT_EQ(got, expected);
    rows.clear();
    comparePorts(&before, &after, false, false, rows);
    ASSERT_EQ(rows.size(), 2u) << "by bay: bay 1's NIC B is new, its NIC A went";
    EXPECT_EQ(rows[0].kind, PortChange::ADDED);
    EXPECT_EQ(rows[0].after.nic, "NIC B");
    EXPECT_EQ(rows[1].kind, PortChange::REMOVED);
    EXPECT_EQ(rows[1].before.bay, 1);
    rows.clear();
    comparePorts(&before, nullptr, false, false, rows);
    EXPECT_EQ(rows.size(), 3u);
}

// Every json line is one object: blades with "old" and "new" places, ports with their fields.
TEST(Diff, JsonLines) {
    const Scratch scratch;
    const std::string before = scratch.write("old.csv", "name,1,2,host1,host2,rack\ne1,Tarn,Fell,web01,db01,R1\n");
    const std::string after =
        scratch.write("new.csv", "name,1,host1,rack\ne1,Tarn-M2,web01,\"R 1, \"\"north\"\"\"\ne2,Fell,db01,R2\n");
    const Result r = bwmap({"--diff", before, after, "--catalogue", "/dev/null", "--format", "json"});
    ASSERT_EQ(r.status, 1) << r.err;
    std::stringstream in(r.out);
    std::vector<nlohmann::json> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0]["blade"], "replaced");
    EXPECT_EQ(lines[1]["blade"], "moved");
    EXPECT_EQ(lines[1]["old"], (nlohmann::json{{"enclosure", "e1"}, {"bay", 2}, {"type", "Fell"}, {"host", "db01"}}));
    EXPECT_EQ(lines[1]["new"]["enclosure"], "e2");
    const nlohmann::json& port = lines[2];
    EXPECT_EQ(port["name"], "e1");
    EXPECT_EQ(port["what"], (nlohmann::json{"type", "OS"}));
    EXPECT_EQ(port["new"]["os"], "Linux");
    EXPECT_TRUE(port["old"]["os"].is_null());
    EXPECT_EQ(port["columns"]["rack"], "R 1, \"north\"");
}

// Rows kept packed come back cell for cell: empty cells, sizes past one 7-bit group, a row
// larger than a block.
TEST(Diff, KeptRowsComeBackWhole) {
    const std::vector<std::vector<std::string>> rows = {
        {"a", "", "b"}, {}, {std::string(200, 'x'), std::string(1, '\0')}, {std::string((1 << 20) + 5, 'y')}, {"z"}};
    KeptRows kept;
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(kept.add(rows[i], static_cast<long>(i) + 2), i);
    std::vector<std::string> cells;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        kept.cells(i, cells);
        EXPECT_EQ(cells, rows[i]) << "row " << i;
        EXPECT_EQ(kept.line(i), static_cast<long>(i) + 2);
    }
}

}  // namespace
