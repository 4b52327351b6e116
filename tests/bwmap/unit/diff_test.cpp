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

namespace {

using runner::bwmap;
using runner::Result;
using runner::Scratch;

std::vector<std::string> cellsOf(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream in(line);
    for (std::string cell; std::getline(in, cell, '\t');) cells.push_back(cell);
    if (cells.size() < 16) cells.resize(16);
    return cells;
}

// The tsv's rows in short, without its header; "(nothing)" when nothing was written. By switch:
// "ENCLOSURE SWITCH-PORT CHANGE [WHAT] OLD-BAY>NEW-BAY {FURTHER CELL}..."; by bay: "ENCLOSURE
// BAY/NIC CHANGE [WHAT] OLD-PORT>NEW-PORT".
std::vector<std::string> shortRows(const std::string& tsv, bool bySwitch) {
    if (tsv.empty()) return {"(nothing)"};
    std::vector<std::string> rows;
    std::stringstream in(tsv);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const std::vector<std::string> c = cellsOf(line);
        std::string row = c[0] + " " + c[1] + (bySwitch ? "-" : "/") + c[2] + " " + c[3];
        if (!c[4].empty()) row += " [" + c[4] + "]";
        row += " " + (bySwitch ? c[5] + ">" + c[10] : c[5] + ">" + c[9]);
        for (std::size_t i = bySwitch ? 16 : 15; i < c.size(); ++i)
            if (!c[i].empty()) row += " {" + c[i] + "}";
        rows.push_back(row);
    }
    return rows;
}

// bwmap --diff OLD NEW in tsv, with the files' paths in standard error read as OLD and NEW.
Result diffTsv(const Scratch& scratch, const std::string& before, const std::string& after,
               const std::vector<std::string>& options) {
    const std::string oldPath = scratch.write("old.csv", before), newPath = scratch.write("new.csv", after);
    std::vector<std::string> args = {"--diff", oldPath, newPath, "--catalogue", "/dev/null", "--format", "tsv"};
    args.insert(args.end(), options.begin(), options.end());
    Result r = bwmap(args);
    for (const auto& [path, word] : {std::pair{oldPath, "OLD"}, std::pair{newPath, "NEW"}})
        for (std::size_t at; (at = r.err.find(path)) != std::string::npos;) r.err.replace(at, path.size(), word);
    return r;
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

// A row with an error or a refusal in either file is reported as --plans reports it, its
// enclosure named and left out, the rest still compared; further columns travel from NEW, or
// from OLD for a removed enclosure.
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
        {"a type replaced, with a new host", "name,1,host1\nr1,Tarn,x\n", "name,1,host1\nr1,Fell,y\n", {}, 1,
         {"r1 - replaced [type, host] 1>1", "r1 A-1 changed [type, host] 1>1", "r1 A-2 removed 1>", "r1 B-1 added >1",
          "r1 B-2 removed 1>"},
         ""},
        {"a host moved in over a blade that stays unnamed: that blade is removed", "name,1,2,host2\nr1,Fell,Fell,web\n",
         "name,1,host1\nr1,Fell,web\n", {}, 1,
         {"r1 - moved [bay] 2>1", "r1 - removed [blade] 1>", "r1 A-1 changed [host] 1>1", "r1 A-3 removed 2>",
          "r1 B-1 changed [host] 1>1", "r1 B-3 removed 2>"},
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
        {"a name twice in OLD leaves both rows out; a host of theirs found in NEW is no move",
         "name,1,2,host1,host2\nr1,Tarn,,lost,\nr1,Fell,,,\nr2,Fell,,,\n", "name,1,2,host1,host2\nr1,Fell,,,\nr2,Fell,Fell,,lost\n",
         {}, 2, {"r2 - added [blade] >2", "r2 A-3 added >2", "r2 B-3 added >2"},
         "bwmap: OLD:3: r1: the name \"r1\" is already used on line 2\nbwmap: r1: left out of the diff\n"},
        {"a host name twice across OLD's rows: the later row is left out, then removed from nothing",
         "name,1,host1\nr1,Fell,web01\nr2,Fell,web01\n", "name,1,host1\nr1,Fell,web01\n", {}, 2, {},
         "bwmap: OLD:3: r2: host1: the host name \"web01\" is already used on line 2\nbwmap: r2: left out of the diff\n"},
        {"a refusal in NEW leaves its enclosure out, not removed", "name,1\nr1,Tarn\nr2,Fell\n",
         "name,enclosure,1\nr1,standard,Tarn-M3\nr2,,Tarn\n", {}, 2,
         {"r2 - replaced [type] 1>1", "r2 A-1 changed [type] 1>1", "r2 A-2 added >1", "r2 B-1 removed 1>", "r2 B-2 added >1"},
         "bwmap: NEW:2: r1: bay 1: Tarn-M3 blades must be in an enhanced (high density) enclosure.\n"
         "bwmap: r1: left out of the diff\n"},
        {"a removed enclosure's further columns, by NEW's names", "name,1,gone,rack\nr1,Fell,x,R1\nr2,Fell,y,R2\n",
         "name,1,rack\nr1,Fell,R1\n", {}, 1, {"r2 - removed [blade] 1>", "r2 A-1 removed 1> {R2}", "r2 B-1 removed 1> {R2}"}, ""},
        {"--by bay: the NICs whose port changes", "name,1,2\nr1,Tarn,Tarn\n", "name,1,2\nr1,Tarn,Fell\n", {"--by", "bay"}, 1,
         {"r1 2/ replaced [type] >", "r1 2/NIC B changed [port, type] A-4>B-3", "r1 2/NIC C removed B-4>"}, ""},
        {"--all: the same ports too", "name,1,2\nr1,Fell,Fell\n", "name,1,2,host2\nr1,Fell,Fell,web01\n", {"--all"}, 1,
         {"r1 - renamed [host] 2>2", "r1 A-1 same 1>1", "r1 A-3 changed [host] 2>2", "r1 B-1 same 1>1",
          "r1 B-3 changed [host] 2>2"}, ""},
        {"--all on equal plans", "name,1\nr1,Fell\n", "name,1\nr1,Fell\n", {"--all"}, 0,
         {"r1 A-1 same 1>1", "r1 B-1 same 1>1"}, ""},
        {"an unreadable NEW writes nothing", "name,1\nr1,Fell\n", "name,17\nr1,Fell\n", {}, 2, {"(nothing)"},
         "bwmap: NEW:1: column \"17\": the bay must be a number from 1 to 16\n"},
    };
    for (const DiffCase& c : cases) {
        const Result r = diffTsv(scratch, c.before, c.after, c.options);
        EXPECT_EQ(r.status, c.status) << c.what << "\n" << r.err;
        EXPECT_EQ(shortRows(r.out, c.options.empty() || c.options[0] != "--by"), c.rows) << c.what << "\n" << r.out;
        EXPECT_EQ(r.err.substr(0, std::string(c.err).size()), c.err) << c.what;
        if (*c.err == '\0') {
            EXPECT_EQ(r.err, "") << c.what;
        }
    }
}

// An enclosure's rows in a diff of many are the rows of the diff of its two rows alone.
TEST(Diff, EachEnclosureAsItsOwnPair) {
    const Scratch scratch;
    const std::vector<std::string> rows[2] = {
        {"a,standard,,Tarn,Tarn-M2,,web01,web02,R1", "b,enhanced,windows,Fell,,Fell,,,R2", "c,,,Tarn,,,,,R3",
         "d,enhanced,,Crag,,,x1,,R4"},
        {"d,enhanced,,Tarn,Tarn,,x1,x2,R4", "c,,,Tarn,,,,,R3b", "a,standard,linux,Tarn-M2,Tarn,,web02,web01,R1",
         "b,enhanced,linux,Fell,Fell,Fell,,,R2", "e,,,Fell,,,,,R5"}};
    const auto file = [&](int side, const std::string& only) {  // one side's rows, or the one named
        std::string text = "name,enclosure,os,1,2,9,host1,host2,rack\n";
        for (const std::string& row : rows[side])
            if (only.empty() || row.substr(0, row.find(',')) == only) text += row + "\n";
        return text;
    };
    for (const char* by : {"switch", "bay"}) {
        const Result whole = diffTsv(scratch, file(0, ""), file(1, ""), {"--by", by});
        ASSERT_EQ(whole.status, 1) << whole.err;
        std::map<std::string, std::string> rowsOf;
        std::stringstream in(whole.out);
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) rowsOf[line.substr(0, line.find('\t'))] += line + "\n";
        EXPECT_EQ(rowsOf.count("c"), 0u) << "a further column is no change";
        EXPECT_EQ(rowsOf.size(), 4u);
        for (const char* name : {"a", "b", "c", "d", "e"}) {
            const Result single = diffTsv(scratch, file(0, name), file(1, name), {"--by", by});
            EXPECT_EQ(single.out.substr(single.out.find('\n') + 1), rowsOf[name]) << name << " by " << by;
            EXPECT_EQ(single.status, rowsOf[name].empty() ? 0 : 1) << name;
        }
    }
}

// Standard input for one file, read as a file is (a move names its change of type); the formats
// the ticket is not written in are refused; the delimiter holds for both files.
TEST(Diff, InputsAndFormats) {
    const Scratch scratch;
    const std::string plan = scratch.write("plan.csv", "name,1\nr1,Fell\n");
    EXPECT_EQ(bwmap({"--diff", "-", "-"}).status, 2);
    std::FILE* in = std::freopen(scratch.write("old.csv", "name,1,host1\nr1,Tarn,h\n").c_str(), "rb", stdin);
    ASSERT_NE(in, nullptr);
    const Result piped = bwmap({"--diff", "-", scratch.write("new.csv", "name,2,host2\nr1,Fell,h\n"), "--catalogue", "/dev/null"});
    EXPECT_EQ(piped.status, 1) << piped.err;
    EXPECT_EQ(piped.out.substr(0, 50), "moved  h: r1 bay 1 -> r1 bay 2 (Tarn -> Fell)\n\nEnc") << "a move names its change of type";
    const Result netbox = bwmap({"--diff", plan, plan, "--format", "netbox-cables"});
    EXPECT_EQ(netbox.status, 2);
    EXPECT_EQ(netbox.out, "");
    EXPECT_NE(netbox.err.find("--format netbox-cables"), std::string::npos) << netbox.err;
    const Result table = bwmap({"--diff", plan, plan, "--catalogue", "/dev/null"});
    EXPECT_EQ(table.status, 0);
    EXPECT_EQ(table.out, "") << "the table of equal plans is empty";
    EXPECT_EQ(bwmap({"--diff", plan, scratch.write("semi.csv", "name;1\nr1;Fell\n"), "--delimiter", ";",
                     "--catalogue", "/dev/null"}).status, 2);
}

// Ports that carry two labels pair in turn, and a label without a port number stands last.
TEST(Diff, LabelsOnOnePort) {
    const std::vector<PortMapRow> old = {{1, "Tarn", "", "A-1", "NIC A"}, {2, "Fell", "", "A-1", "NIC A"}, {3, "Fell", "", "A-?", "MGT"}};
    const std::vector<PortMapRow> now = {{3, "Fell", "", "A-?", "MGT"}, {2, "Fell", "", "A-1", "NIC A"}, {1, "Tarn", "", "a-2", "NIC B"}};
    MappedEnclosure before, after;  // the rows view the vectors
    before.rows = old;
    after.rows = now;
    const auto compare = [](const MappedEnclosure* a, const MappedEnclosure* b, bool bySwitch, bool all) {
        std::vector<PortChange> rows;
        comparePorts(a, b, bySwitch, all, rows);
        std::vector<std::string> got;
        for (const PortChange& r : rows)
            got.push_back(std::string(changeWord(r.kind)) + " " + std::string(r.switchName) + "-" + r.port + " [" + r.what +
                          "] " + std::to_string(r.before.bay) + ">" + std::to_string(r.after.bay) + " " + std::string(r.after.nic));
        return got;
    };
    EXPECT_EQ(compare(&before, &after, true, true),
              (std::vector<std::string>{"changed A-1 [bay, type] 1>2 NIC A", "removed A-1 [] 2>0 ", "added a-2 [] 0>1 NIC B",
                                        "same A-? [] 3>3 MGT"}));
    EXPECT_EQ(compare(&before, &after, false, false), (std::vector<std::string>{"added - [] 0>1 NIC B", "removed - [] 1>0 "}))
        << "by bay: bay 1's NIC B is new, its NIC A went";
    EXPECT_EQ(compare(&before, nullptr, false, false).size(), 3u);
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
