// The command line chooses one mode, and each mode's flow keeps its own refusals and status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bwmap_runner.h"

namespace {

using runner::bwmap;
using runner::Result;
using runner::Scratch;

struct ModeCase {
    const char* what;
    std::vector<std::string> args;  // "CAT", "CAPS/" and "PLAN" stand for the scratch files
    int status;
    const char* firstOut;  // the first line of standard output, "" for none
    const char* firstErr;  // the start of standard error, "" for none
};

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(Modes, EachModeRunsItsOwnFlow) {
    const Scratch scratch;
    const std::string cat = scratch.write("cat.ini", "\"Good\" 0x0 AB 12\n");
    scratch.write("web01.json", R"({"lldp": {"interface": {"eno1": {"chassis": {"sw-a": {}}, "port": {"id": {"type": "ifname", "value": "1"}}}}}})");
    const std::string plan = scratch.write("plan.csv", "name,1\nr1,Tarn\n");
    const std::string caps = cat.substr(0, cat.size() - std::string("cat.ini").size());
    const ModeCase cases[] = {
        {"--check reads the file it is given", {"--check", "CAT"}, 0, "1 line, 1 type, 0 warnings, 0 errors", ""},
        {"--check with an empty name", {"--check="}, 2, "", "bwmap: --check: the file name is empty"},
        {"--list-types lists the file's rows too", {"--list-types", "--catalogue", "CAT"}, 0, "Type               Ports              Bays  Flags", ""},
        {"--list-types takes two formats", {"--list-types", "--format", "csv"}, 2, "",
         "bwmap: --list-types writes a table or --format json, not csv"},
        {"--list-types loads the catalogue first", {"--list-types", "--catalogue", "missing.ini"}, 2, "",
         "bwmap: cannot read the catalogue file missing.ini"},
        {"--verify rows by bay", {"--verify", "CAPS/", "--format", "tsv", "1=Tarn", "host1=web01", "switchA=sw-a"}, 1,
         "Enclosure\tBay\tHost\tNIC\tSwitch\tPort\tInterface\tVerdict\tNote", ""},
        {"--verify takes no html", {"--verify", "CAPS/", "--format", "html", "1=Tarn"}, 2, "",
         "bwmap: --verify writes table, tsv, csv, json or junit rows by bay"},
        {"--verify takes no dot", {"--verify", "CAPS/", "--format", "dot", "1=Tarn"}, 2, "",
         "bwmap: --verify writes table, tsv, csv, json or junit rows by bay: neither --format dot"},
        {"--verify as a JUnit report", {"--verify", "CAPS/", "--format", "junit", "1=Tarn", "host1=web01"}, 1,
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>", ""},
        {"junit is --verify's", {"--format", "junit", "1=Tarn"}, 2, "", "bwmap: --format junit writes the verdicts of --verify\n"},
        {"--verify reads the name templates", {"--verify", "CAPS/", "--blade-name", "{bad", "1=Tarn"}, 2, "",
         "bwmap: --blade-name: \"{bad\""},
        {"the map by bay", {"--format", "tsv", "1=Tarn"}, 0, "Bay\tType\tOS\tSwitch port\tNIC", ""},
        {"--find orders by switch", {"--find", "A-1", "--format", "tsv", "1=Tarn"}, 0, "Switch\tPort\tBay\tType\tNIC", ""},
        {"--find that finds nothing", {"--find", "A-9", "--format", "tsv", "1=Tarn"}, 1, "Switch\tPort\tBay\tType\tNIC", ""},
        {"--by bay keeps --find by bay", {"--by", "bay", "--find", "A-1", "--format", "tsv", "1=Tarn"}, 0,
         "Bay\tType\tOS\tSwitch port\tNIC", ""},
        {"NetBox's cables", {"--format", "netbox-cables", "1=Tarn"}, 0,
         "side_a_device,side_a_type,side_a_name,side_b_device,side_b_type,side_b_name,status,label\r", ""},
        {"NetBox reads the name templates", {"--format", "netbox-cables", "--blade-name", "{bad", "1=Tarn"}, 2, "",
         "bwmap: --blade-name: \"{bad\""},
        {"the topology graph", {"--format", "dot", "--by", "switch", "1=Tarn"}, 0, "graph cabling {", ""},
        {"the graph reads the name templates", {"--format", "dot", "--nic-name", "{bad", "1=Tarn"}, 2, "",
         "bwmap: --nic-name: \"{bad\""},
        {"the graph takes whole enclosures", {"--format", "dot", "--find", "A-1", "1=Tarn"}, 2, "",
         "bwmap: --format dot takes whole enclosures: not --find\n"},
        {"html takes whole enclosures", {"--format", "html", "--by", "switch", "1=Tarn"}, 2, "",
         "bwmap: --format html takes whole enclosures"},
        {"html starts a page", {"--format", "html", "1=Tarn"}, 0, "<!DOCTYPE html>", ""},
        {"--diff runs before the map", {"--diff", "PLAN", "PLAN", "--format", "tsv"}, 0,
         "Enclosure\tSwitch\tPort\tChange\tWhat\tOld bay\tOld type\tOld host\tOld OS\tOld NIC\tNew bay\tNew type\tNew host"
         "\tNew OS\tNew NIC\tOld enclosure", ""},
        {"--diff html takes no --by bay", {"--diff", "PLAN", "PLAN", "--format", "html", "--by", "bay"}, 2, "",
         "bwmap: --diff --format html lists ports by switch"},
        {"--delimiter needs a plans file", {"--delimiter", ";", "1=Tarn"}, 2, "", "bwmap: --delimiter requires --plans or --diff"},
        {"--all needs --diff", {"--all", "--plans", "PLAN"}, 2, "", "bwmap: --all requires --diff"},
    };
    for (const ModeCase& c : cases) {
        std::vector<std::string> args = c.args;
        for (std::string& arg : args) {
            if (arg == "CAT") arg = cat;
            if (arg == "CAPS/") arg = caps;
            if (arg == "PLAN") arg = plan;
        }
        const Result r = bwmap(args);
        EXPECT_EQ(r.status, c.status) << c.what << "\n" << r.err;
        EXPECT_EQ(firstLine(r.out), c.firstOut) << c.what;
        EXPECT_EQ(r.err.substr(0, std::string(c.firstErr).size()), c.firstErr) << c.what;
        if (c.firstErr[0] == '\0') {
            EXPECT_EQ(r.err, "") << c.what;
        }
    }
}

}  // namespace
