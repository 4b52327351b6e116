// The NetBox import files read back with a CSV reader and checked against the import's rules.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "bwmap_runner.h"
#include "input/csv_reader.h"

namespace {

using runner::bwmap;
using runner::Result;
using Records = std::vector<std::vector<std::string>>;

// The records of a file whose every value is quoted, as the import wants; the header first.
Records readBack(const std::string& text) {
    static const std::regex quoted(R"(("([^"]|"")*")(,"([^"]|"")*")*)");
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    for (long n = 2; std::getline(lines, line); ++n) {
        EXPECT_EQ(line.back(), '\r') << "line " << n;
        line.pop_back();
        EXPECT_TRUE(std::regex_match(line, quoted)) << "line " << n << ": " << line;
    }
    std::FILE* file = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    CsvReader reader(file);
    Records records;
    std::vector<std::string> cells;
    std::string error;
    while (reader.next(cells, error)) {
        EXPECT_EQ(error, "");
        records.push_back(cells);
    }
    std::fclose(file);
    return records;
}

struct NetboxRun {
    const char* label;
    std::vector<std::string> args;  // the enclosure(s), with tsv, cables and interfaces appended
    bool plans;
    std::map<std::string, std::string> bladeNames;  // tsv enclosure + bay -> device
    std::string nicPrefix;          // interface name for NIC X: prefix + number of X
    std::string portPrefix;
    std::string status;
    std::string type;
};

// Every tsv label is one cable from its blade's NIC to its switch port; every interface that a
// cable ends on is in the interfaces file once, and nothing else is.
TEST(Netbox, CablesAndInterfacesOfAFullEnclosureAndAPlansFile) {
    runner::Scratch scratch;
    const std::string plans = scratch.write("plans.csv",
                                            "name,enclosure,1,2,5,9,host2,switchB\n"
                                            "r1,enhanced,Fell,Tarn-M2,Crag,Fell,db2,r1-core-b\n"
                                            "r2,standard,Tarn,,,,,\n"
                                            "r3,enhanced,Tarn-M3,,,,,\n");
    std::vector<std::string> full = {"--name", "r7", "--nic-name", "eno{n}", "--switch-port-name", "Ethernet1/{port}",
                                     "--cable-status", "connected", "--interface-type", "10gbase-kr", "switchA=r7-a"};
    for (int bay = 1; bay <= 16; ++bay) full.push_back(std::to_string(bay) + "=Fell");
    full.push_back("host16=" + std::string(24, 'w'));
    const NetboxRun runs[] = {
        {"full enclosure", full, false, {{"16", std::string(24, 'w')}}, "eno", "Ethernet1/", "connected", "10gbase-kr"},
        {"plans file", {"--plans", plans}, true, {{"r1 2", "db2"}}, "NIC ", "", "planned", "other"},
    };
    for (const NetboxRun& run : runs) {
        auto with = [&](const char* format) {
            std::vector<std::string> args = run.args;
            args.insert(args.begin(), {"--format", format});
            const Result r = bwmap(args);
            EXPECT_EQ(r.status, 0) << run.label << " " << format << ": " << r.err;
            return r.out;
        };
        const std::string tsv = with("tsv");
        const Records cables = readBack(with("netbox-cables"));
        const Records interfaces = readBack(with("netbox-interfaces"));
        ASSERT_EQ(cables[0], (std::vector<std::string>{"side_a_device", "side_a_type", "side_a_name", "side_b_device",
                                                       "side_b_type", "side_b_name", "status", "label"}));
        ASSERT_EQ(interfaces[0], (std::vector<std::string>{"device", "name", "type", "mgmt_only"}));

        std::multiset<std::vector<std::string>> expected, seen;
        std::set<std::pair<std::string, std::string>> ends;
        std::istringstream lines(tsv);
        std::string line;
        std::getline(lines, line);
        while (std::getline(lines, line)) {
            std::vector<std::string> f;
            std::istringstream cells(line);
            for (std::string cell; std::getline(cells, cell, '\t');) f.push_back(cell);
            const std::string enclosure = run.plans ? f[0] : "r7";
            if (run.plans) f.erase(f.begin());
            const std::string key = run.plans ? enclosure + " " + f[0] : f[0];
            const auto named = run.bladeNames.find(key);
            const std::string blade = named != run.bladeNames.end() ? named->second : enclosure + "-bay" + f[0];
            const std::string letter = f[f.size() - 2].substr(0, 1);
            const std::string sw = letter == "A" && !run.plans ? "r7-a"
                                   : letter == "B" && enclosure == "r1" ? "r1-core-b"
                                                                        : enclosure + "-sw" + letter;
            const std::string nic = f.back() == "MGT" ? "MGT" : run.nicPrefix + (run.nicPrefix == "NIC " ? f.back().substr(4) : std::to_string(f.back()[4] - 'A' + 1));
            const std::string port = run.portPrefix + f[f.size() - 2].substr(2);
            expected.insert({blade, "dcim.interface", nic, sw, "dcim.interface", port, run.status,
                             f[f.size() - 2] + ", " + f.back()});
        }
        for (std::size_t i = 1; i < cables.size(); ++i) {
            seen.insert(cables[i]);
            ends.insert({cables[i][0], cables[i][2]});
            ends.insert({cables[i][3], cables[i][5]});
        }
        EXPECT_EQ(seen, expected) << run.label;

        std::set<std::pair<std::string, std::string>> listed;
        for (std::size_t i = 1; i < interfaces.size(); ++i) {
            const auto& r = interfaces[i];
            EXPECT_TRUE(listed.insert({r[0], r[1]}).second) << run.label << ": " << r[0] << " " << r[1] << " twice";
            EXPECT_EQ(r[2], r[1] == "MGT" ? "1000base-t" : run.type) << run.label;  // the management port its own
            EXPECT_EQ(r[3], r[1] == "MGT" ? "true" : "false") << run.label;
        }
        EXPECT_EQ(listed, ends) << run.label;
    }
}

TEST(Netbox, WhatTheImportWouldRejectIsAnError) {
    runner::Scratch scratch;
    const std::string wide = scratch.write("cat.ini", "\"Wide\" 0x0 AB 31\n");
    const std::string plans = scratch.write("plans.csv", "name,1,2\nr1,Wide,Tarn\nr2,Tarn,\nr3,Tarn,\n");
    const struct {
        std::vector<std::string> args;
        std::string out;  // the records after the header
        std::string err;
    } cases[] = {
        {{"1=Wide", "2=Tarn"}, "",
         "bwmap: switch port A-3 (\"3\") carries labels of bay 1 and bay 2: NetBox takes one cable per interface\n"},
        {{"--plans", plans, "--switch-name", "sw{switch}", "--blade-name", "{enclosure}-{bay}"},
         "\"r2-1\",\"NIC A\",\"other\",\"false\"\r\n\"r2-1\",\"NIC B\",\"other\",\"false\"\r\n"
         "\"r2-1\",\"NIC C\",\"other\",\"false\"\r\n\"swA\",\"1\",\"other\",\"false\"\r\n"
         "\"swA\",\"2\",\"other\",\"false\"\r\n\"swB\",\"2\",\"other\",\"false\"\r\n",
         "bwmap: " + plans + ":2: r1: switch port A-3 (\"3\") carries labels of bay 1 and bay 2: NetBox takes one "
         "cable per interface\nbwmap: " + plans + ":4: r3: the device name \"swA\" (switch A) is already a device "
         "of enclosure \"r2\"; put {enclosure} into the name template\n"},
        {{"1=Tarn", "host1=x", "switchA=x"}, "", "bwmap: the device name \"x\" is given to bay 1 and switch A\n"},
        {{"1=Tarn", "--switch-port-name", "{slot}"}, "",
         "bwmap: --switch-port-name: \"{slot}\": unknown placeholder {slot}; it may use {port}\n"},
        {{"1=Tarn", "--blade-name", ""}, "", "bwmap: --blade-name: the template is empty\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), {"--catalogue", wide, "--format", "netbox-interfaces"});
        const Result r = bwmap(args);
        EXPECT_EQ(r.status, 2) << c.args.back();
        EXPECT_EQ(r.err, c.err) << c.args.back();
        EXPECT_EQ(r.out, c.out.empty() && c.args[0] != "--plans" ? "" : "device,name,type,mgmt_only\r\n" + c.out)
            << c.args.back();
    }
}

// The options that type, place and label what the files hold: lines each row's output holds.
TEST(Netbox, TypesSitesAndLabels) {
    runner::Scratch scratch;
    const std::string sites = scratch.write("sites.csv", "name,Site ,1\nr1, Frankfurt ,Fell\nr2, ,Fell\n");
    const std::string cable = "\"dcim.interface\",\"NIC A\",\"enclosure-swA\",\"dcim.interface\",\"1\",\"planned\",";
    const struct {
        const char* label;
        std::vector<std::string> args;  // after --format
        int status;
        std::vector<std::string> parts;  // none: no output
        std::string err;
    } cases[] = {
        {"--mgmt-interface-type, a key with an underscore",
         {"netbox-interfaces", "--mgmt-interface-type", "400gbase-sr4_2", "--enclosure", "standard", "1=Tarn", "host1=x1"}, 0,
         {"\n\"x1\",\"MGT\",\"400gbase-sr4_2\",\"true\"\r\n\"x1\",\"NIC C\",\"other\",\"false\"\r\n"}, ""},
        {"an unknown key is written, with a warning",
         {"netbox-interfaces", "--interface-type", "bogus-type", "1=Fell", "host1=x1"}, 0,
         {"\n\"x1\",\"NIC A\",\"bogus-type\",\"false\"\r\n"},
         "bwmap: warning: --interface-type: \"bogus-type\" is not one of NetBox's interface type keys; it is "
         "written as given\n"},
        {"the cables take no type: no warning",
         {"netbox-cables", "--interface-type", "bogus-type", "--mgmt-interface-type", "x", "1=Fell", "host1=x1"}, 0,
         {"label\r\n\"x1\"," + cable + "\"A-1, NIC A\"\r\n"}, ""},
        {"--site on both ends", {"netbox-cables", "--site", "Hall 3", "1=Fell", "host1=x1"}, 0,
         {"label,side_a_site,side_b_site\r\n\"x1\"," + cable + "\"A-1, NIC A\",\"Hall 3\",\"Hall 3\"\r\n"}, ""},
        {"a row's site cell, else --site; one switch name at two sites is two devices",
         {"netbox-cables", "--plans", sites, "--site", "Home", "--switch-name", "sw{switch}", "--blade-name", "{enclosure}-{bay}"}, 0,
         {"\n\"r1-1\",\"dcim.interface\",\"NIC A\",\"swA\",\"dcim.interface\",\"1\",\"planned\",\"A-1, NIC A\",\"Frankfurt\",\"Frankfurt\"\r\n",
          "\n\"r2-1\",\"dcim.interface\",\"NIC A\",\"swA\",\"dcim.interface\",\"1\",\"planned\",\"A-1, NIC A\",\"Home\",\"Home\"\r\n"}, ""},
        {"the interface import has no site column", {"netbox-interfaces", "--plans", sites, "--site", "Home"}, 0,
         {"device,name,type,mgmt_only\r\n\"r1-bay1\",\"NIC A\",\"other\",\"false\"\r\n"}, ""},
        {"--cable-label", {"netbox-cables", "--cable-label", "{enclosure}/{host}/{switch}: {label}", "1=Fell", "host1=x1"}, 0,
         {"\"planned\",\"enclosure/x1/enclosure-swA: A-1, NIC A\"\r\n"}, ""},
        {"--cable-label with another placeholder", {"netbox-cables", "--cable-label", "{bay}", "1=Fell"}, 2, {},
         "bwmap: --cable-label: \"{bay}\": unknown placeholder {bay}; it may use {enclosure}, {label}, {host}, {switch}\n"},
        {"an empty --site", {"netbox-cables", "--site", "", "1=Fell"}, 2, {},
         "bwmap: --site: the site name is empty (see bwmap --help)\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), "--format");
        const Result r = bwmap(args);
        EXPECT_EQ(r.status, c.status) << c.label;
        if (c.parts.empty()) {
            EXPECT_EQ(r.out, "") << c.label;
        }
        for (const std::string& part : c.parts) EXPECT_NE(r.out.find(part), std::string::npos) << c.label << "\n" << r.out;
        EXPECT_EQ(r.err, c.err) << c.label;
    }
}

}  // namespace
