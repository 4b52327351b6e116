// The switch's side: --by switch against the blade view, --find, and labels sharing a port.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "bwmap_runner.h"
#include "enclosure/switch_order.h"
#include "views/switch_view.h"

namespace {

using runner::bwmap;
using runner::Result;

std::vector<std::vector<std::string>> tsvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        rows.emplace_back();
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) rows.back().push_back(cell);
        if (!line.empty() && line.back() == '\t') rows.back().emplace_back();
    }
    return rows;
}

// Sixteen half-height blades with names, some under Windows: the switch view holds exactly the
// blade view's labels, ordered by switch and then port number; a named switch shows its name.
TEST(SwitchView, FullEnclosureIsTheBladeViewReordered) {
    std::vector<std::string> picks = {"--format", "tsv", "switchA=r7-swA"};
    for (int bay = 1; bay <= 16; ++bay) {
        picks.push_back(std::to_string(bay) + "=Fell");
        picks.push_back("host" + std::to_string(bay) + "=web" + std::to_string(bay));
    }
    const Result blades = bwmap(picks);
    picks.insert(picks.begin(), {"--by", "switch"});
    const Result switches = bwmap(picks);
    ASSERT_EQ(blades.status, 0) << blades.err;
    ASSERT_EQ(switches.status, 0) << switches.err;

    auto bladeRows = tsvRows(blades.out);  // Bay Type Host OS Switch "Switch port" NIC
    auto switchRows = tsvRows(switches.out);  // Switch Port Bay Type Host NIC
    ASSERT_EQ(switchRows[0], (std::vector<std::string>{"Switch", "Port", "Bay", "Type", "Host", "NIC"}));
    ASSERT_EQ(bladeRows.size(), 33u);
    ASSERT_EQ(switchRows.size(), bladeRows.size());
    std::vector<std::vector<std::string>> fromBlades, fromSwitches;
    for (std::size_t i = 1; i < bladeRows.size(); ++i) {
        const auto& b = bladeRows[i];
        EXPECT_EQ(b[4], b[5][0] == 'A' ? "r7-swA" : "") << "row " << i + 1;
        EXPECT_EQ(switchRows[i][0], switchRows[i][5] == "NIC A" ? "r7-swA" : "B") << "row " << i + 1;
        fromBlades.push_back({b[5].substr(0, 1), b[5].substr(2), b[0], b[1], b[2], b[6]});
        fromSwitches.push_back(switchRows[i]);
        if (fromSwitches.back()[0] == "r7-swA") fromSwitches.back()[0] = "A";
    }
    for (std::size_t i = 1; i < fromSwitches.size(); ++i) {
        const auto& a = fromSwitches[i - 1];
        const auto& b = fromSwitches[i];
        EXPECT_TRUE(a[0] < b[0] || (a[0] == b[0] && std::stoi(a[1]) < std::stoi(b[1]))) << "row " << i + 1;
    }
    std::sort(fromBlades.begin(), fromBlades.end());
    std::sort(fromSwitches.begin(), fromSwitches.end());
    EXPECT_EQ(fromSwitches, fromBlades);
}

TEST(SwitchView, FindOnAPlansFile) {
    runner::Scratch scratch;
    const std::string plans = scratch.write("plans.csv",
                                            "name,3,4,switchA\n"
                                            "r1,Tarn,,r1-swA\n"
                                            "r2,,Tarn,r2-swA\n"
                                            "r3,Tarn,,\n");
    const struct {
        const char* port;
        int status;
        const char* out;
        const char* err = "";
    } cases[] = {
        {"a-6", 0, "r1\tr1-swA\t6\t3\tTarn\t\tNIC B\nr3\tA\t6\t3\tTarn\t\tNIC B\n"},
        {"r2-swA:7", 0, "r2\tr2-swA\t7\t4\tTarn\t\tNIC A\n"},
        {"R2-SWA:7", 0, "r2\tr2-swA\t7\t4\tTarn\t\tNIC A\n"},
        {"r2-swA:6", 1, ""},
        {"B-1", 1, ""},
        {"A-0", 2, nullptr, "is not a switch port"},
        {":6", 2, nullptr, "is not a switch port"},
        {"r2-sw:7", 2, nullptr, "--find r2-sw:7: no switch is named r2-sw; the switches are named r1-swA, r2-swA\n"},
    };
    for (const auto& c : cases) {
        const Result r = bwmap({"--plans", plans, "--format", "tsv", "--find", c.port});
        EXPECT_EQ(r.status, c.status) << c.port << ": " << r.err;
        if (c.out) EXPECT_EQ(r.out, std::string("Enclosure\tSwitch\tPort\tBay\tType\tHost\tNIC\n") + c.out) << c.port;
        else EXPECT_EQ(r.out, "") << c.port;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.port << ": " << r.err;
    }
}

// A catalogue type wired onto its neighbour's port: warned about in every mode, mapped as shown.
TEST(SwitchView, TwoLabelsOnOnePortAreAWarning) {
    runner::Scratch scratch;
    const std::string catalogue = scratch.write("cat.ini", "\"Wide\" 0x0 AB 31\n");
    const char warning[] = "bwmap: warning: switch port A-3 carries two labels: bay 1 (NIC A) and bay 2 (NIC A)\n";
    for (const char* by : {"bay", "switch"}) {
        const Result r = bwmap({"--catalogue", catalogue, "--by", by, "--format", "csv", "1=Wide", "2=Tarn"});
        EXPECT_EQ(r.status, 0) << by;
        EXPECT_EQ(r.err, warning) << by;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 6) << by;
    }
    // --verify warns as every mode does.
    const std::string capture = scratch.write("b1.json", "{\"lldp\": [{}]}");
    const Result r = bwmap({"--catalogue", catalogue, "--verify", "b1=" + capture, "1=Wide", "2=Tarn", "host1=b1"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err, warning);
}

// Switch A and switch a are one switch in every mode.
TEST(SwitchView, CaseOfTheLetterNamesNoOtherSwitch) {
    runner::Scratch scratch;
    const std::string catalogue = scratch.write("case.ini", "\"Up\" 0x0 AA 34\n\"Low\" 0x0 aa 12\n");
    const std::string warning = "bwmap: warning: switch port A-3 carries two labels: bay 1 (NIC A) and bay 2 (NIC A)\n";
    struct Case {
        std::vector<std::string> options;
        int status;
        std::string err;  // part of standard error
        std::string out;  // part of the output
    };
    const Case cases[] = {
        {{"--format", "tsv"}, 0, warning, "2\tLow\t\ta-3\tNIC A\n"},
        {{"--by", "switch", "--format", "json"}, 0, warning,
         "\"switches\":[{\"switch\":\"A\",\"ports\":[{\"port\":3,\"bay\":1,\"type\":\"Up\",\"nic\":\"NIC A\"},"
         "{\"port\":3,\"bay\":2,\"type\":\"Low\",\"nic\":\"NIC A\"},"},
        {{"--find", "a-3", "--format", "tsv"}, 0, warning, "A\t3\t1\tUp\tNIC A\na\t3\t2\tLow\tNIC A\n"},
        {{"--format", "netbox-interfaces"}, 2, "carries labels of bay 1 and bay 2: NetBox takes one cable per interface", ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--catalogue", catalogue};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.insert(args.end(), {"1=Up", "2=Low"});
        const Result r = bwmap(args);
        EXPECT_EQ(r.status, c.status) << c.options[1] << ": " << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.options[1] << ": " << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << c.options[1] << ": " << r.out;
    }
}

// The order by switch: letters, case ignored, as unsigned bytes, ports by number with "A-?" and the like last,
// labels on one port in row order; a vector that held a longer list before is refilled.
TEST(SwitchView, LabelsBySwitchOrder) {
    const char* const ports[] = {"B-2", "A-10", "A-?", "\xC4-1", "A-2", "B-1", "A-2", "", "A-1", "A-?", "b-1", "A-99999"};
    std::vector<PortMapRow> rows;
    for (const char* port : ports) {
        rows.emplace_back();
        rows.back().switchPort = port;
    }
    // b-1 is a port of switch B: the letter's case names no other switch.
    const char* const expected[] = {"", "A-1", "A-2", "A-2", "A-10", "A-99999", "A-?", "A-?", "B-1", "b-1", "B-2", "\xC4-1"};
    const std::size_t places[] = {7, 8, 4, 6, 1, 11, 2, 9, 5, 10, 0, 3};
    std::vector<SwitchLabel> labels(20, SwitchLabel{nullptr, 'x', 1});
    labelsBySwitch(rows, labels);
    ASSERT_EQ(labels.size(), rows.size());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(labels[i].row, &rows[places[i]]) << i;
        EXPECT_EQ(labels[i].row->switchPort, expected[i]) << i;
    }
    EXPECT_EQ(labels[1].port, 1);
    EXPECT_EQ(labels[6].port, 0);
    EXPECT_EQ(labelsBySwitch(rows).size(), rows.size());
}

}  // namespace
