// bwmap --verify against capture files: the matching rules, both capture shapes, broken files.
#include <gtest/gtest.h>

#include <sstream>

#include <nlohmann/json.hpp>

#include "bwmap_runner.h"

namespace {

using runner::bwmap;
using runner::Result;

// A -f json interface entry: the local interface, the chassis name and the port.
std::string entry(const std::string& interface, const std::string& chassis, const std::string& idType,
                  const std::string& id, const std::string& descr = "") {
    return "{\"" + interface + "\": {\"via\": \"LLDP\", \"chassis\": {\"" + chassis +
           "\": {\"id\": {\"type\": \"mac\", \"value\": \"52:54:00:00:00:01\"}}}, \"port\": {\"id\": {\"type\": \"" +
           idType + "\", \"value\": \"" + id + "\"}" + (descr.empty() ? "" : ", \"descr\": \"" + descr + "\"") +
           ", \"ttl\": \"120\"}}}";
}

std::string json(const std::vector<std::string>& entries) {
    std::string list;
    for (const std::string& e : entries) list += (list.empty() ? "" : ", ") + e;
    return "{\"lldp\": {\"interface\": [" + list + "]}}";
}

// The same neighbour as -f json0 writes it.
std::string json0Entry(const std::string& interface, const std::string& chassis, const std::string& idType,
                       const std::string& id, const std::string& descr) {
    return "{\"name\": \"" + interface + "\", \"via\": \"LLDP\", \"chassis\": [{\"id\": [{\"type\": \"mac\", \"value\": "
           "\"52:54:00:00:00:02\"}], \"name\": [{\"value\": \"" + chassis + "\"}]}], \"port\": [{\"id\": [{\"type\": \"" +
           idType + "\", \"value\": \"" + id + "\"}], \"descr\": [{\"value\": \"" + descr + "\"}]}]}";
}

// Each row as NIC/Switch/Port/Interface/Verdict, then the note when it is not empty.
std::string verdicts(const std::string& tsv) {
    std::istringstream lines(tsv);
    std::string line, out;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::vector<std::string> cells;
        std::istringstream fields(line);
        for (std::string cell; std::getline(fields, cell, '\t');) cells.push_back(cell);
        cells.resize(9);
        out += cells[3] + "/" + cells[4] + "/" + cells[5] + "/" + cells[6] + "/" + cells[7] +
               (cells[8].empty() ? "" : " (" + cells[8] + ")") + "\n";
    }
    return out;
}

struct CaptureCase {
    const char* label;
    const char* text;  // the capture of b1; nullptr: no file
    std::string capture;
    int status;
    std::string rows;   // verdicts() of the output
    std::string error;  // part of the message on standard error; empty: none
};

// Bay 1 (b1) plans NIC A on sw-a port e1, NIC B on sw-a e2, NIC C on sw-b e2; bay 2 (b2) NIC A on sw-a e3.
TEST(Cabling, CapturesAgainstThePlan) {
    const std::string allOk = "NIC A/sw-a/e1/eno1/ok\nNIC B/sw-a/e2/eno2/ok\nNIC C/sw-b/e2/eno3/ok\n";
    const std::string mac = "the switch sends a MAC address as the port ID, which names no port: have it send the "
                            "port name (lldpd: configure lldp portidsubtype ifname)";
    const CaptureCase cases[] = {
        {"ifname, -f json", nullptr,
         json({entry("eno1", "sw-a", "ifname", "e1"), entry("eno2", "sw-a", "ifname", "e2", "uplink"),
               entry("eno3", "sw-b", "ifname", "e2")}),
         0, allOk, ""},
        {"local and ifname, -f json0", nullptr,
         "{\"lldp\": [{\"interface\": [" + json0Entry("eno1", "sw-a", "local", "e1", "x") + ", " +
             json0Entry("eno2", "sw-a", "ifname", "e2", "") + ", " + json0Entry("eno3", "sw-b", "local", "e2", "e9") + "]}]}",
         0, allOk, ""},
        {"description when the ID does not name the port", nullptr,
         json({entry("eno1", "sw-a", "mac", "52:54:00:aa:00:01", "e1"), entry("eno2", "sw-a", "ifname", "Gi0/2", "e2"),
               entry("eno3", "sw-b", "local", "port 2", "e2")}),
         0, allOk, ""},
        {"a MAC address as port ID", nullptr,
         json({entry("eno1", "sw-a", "mac", "52:54:00:aa:00:01"), entry("eno2", "sw-a", "ifname", "e2"),
               entry("eno3", "sw-b", "ifname", "e2")}),
         1, "NIC A/sw-a/e1//missing\nNIC B/sw-a/e2/eno2/ok\nNIC C/sw-b/e2/eno3/ok\n/sw-a/52:54:00:aa:00:01/eno1/unexpected (" + mac + ")\n", ""},
        {"another bay's port, a foreign switch, one interface as an object", nullptr,
         "{\"lldp\": {\"interface\": " + entry("eno1", "sw-a", "ifname", "e3") + "}}", 1,
         "NIC A/sw-a/e1//missing\nNIC B/sw-a/e2//missing\nNIC C/sw-b/e2//missing\n/sw-a/e3/eno1/unexpected (planned for bay 2 (b2), NIC A)\n", ""},
        {"a chassis of another name", nullptr,
         json({entry("eno1", "core-1", "ifname", "e1"), entry("eno2", "sw-a", "ifname", "e2"), entry("eno2", "sw-a", "ifname", "e2"),
               entry("eno3", "sw-b", "ifname", "e2")}),
         1, "NIC A/sw-a/e1//missing\nNIC B/sw-a/e2/eno2/ok\nNIC C/sw-b/e2/eno3/ok\n/core-1/e1/eno1/unexpected (not a switch of the plan)\n"
            "/sw-a/e2/eno2/unexpected (the port of NIC B, already seen on eno2)\n", ""},
        {"a system name with a domain, in other case", nullptr,
         json({entry("eno1", "SW-A.dc.example.com", "ifname", "e1"), entry("eno2", "sw-a", "ifname", "e2"),
               entry("eno3", "sw-b.dc.example.com", "ifname", "e2")}),
         0, allOk, ""},
        {"a system name that only starts like the switch's", nullptr,
         json({entry("eno1", "sw-ab", "ifname", "e1"), entry("eno2", "sw-a", "ifname", "e2"), entry("eno3", "sw-b", "ifname", "e2")}),
         1, "NIC A/sw-a/e1//missing\nNIC B/sw-a/e2/eno2/ok\nNIC C/sw-b/e2/eno3/ok\n/sw-ab/e1/eno1/unexpected (not a switch of the plan)\n", ""},
        {"port names of another template", nullptr,
         json({entry("eno1", "sw-a", "ifname", "swp1"), entry("eno2", "sw-a", "ifname", "e2"), entry("eno3", "sw-b", "ifname", "Eth1/2")}),
         1, "NIC A/sw-a/e1//missing\nNIC B/sw-a/e2/eno2/ok\nNIC C/sw-b/e2//missing\n"
            "/sw-a/swp1/eno1/unexpected (the plan names this switch's ports otherwise: --switch-port-name swp{port} would match it to NIC A)\n"
            "/sw-b/Eth1/2/eno3/unexpected (the plan names this switch's ports otherwise: --switch-port-name Eth1/{port} would match it to NIC C)\n", ""},
        {"no neighbours, -f json0", "{\"lldp\": [{}]}", "", 1,
         "NIC A/sw-a/e1//missing\nNIC B/sw-a/e2//missing\nNIC C/sw-b/e2//missing\n", ""},
        {"missing file", nullptr, "", 2, "", "b1.json: no such file"},
        {"damaged JSON", "{\"lldp\": {\"interface\": [", "", 2, "", "b1.json: not JSON: parse error"},
        {"foreign JSON", "{\"interfaces\": [{\"eno1\": {}}]}", "", 2, "", "b1.json: not an LLDP neighbour listing"},
        {"an interface that is not an object", "{\"lldp\": {\"interface\": {\"eno1\": 7}}}", "", 2, "",
         "b1.json: not an LLDP neighbour listing: interface \"eno1\" is not an object"},
        {"a descr of 100,000 nested arrays", nullptr,
         "{\"lldp\": {\"interface\": {\"eno1\": {\"port\": {\"descr\": " + std::string(100000, '[') +
             std::string(100000, ']') + "}}}}}",
         2, "", "b1.json: not a capture: nested deeper than 64 levels"},
        {"lldpcli's own depth reads", nullptr,
         "{\"lldp\": [{\"interface\": [" + json0Entry("eno1", "sw-a", "local", "e1", "x") + "]}]}", 1,
         "NIC A/sw-a/e1/eno1/ok\nNIC B/sw-a/e2//missing\nNIC C/sw-b/e2//missing\n", ""},
    };
    for (const CaptureCase& c : cases) {
        runner::Scratch scratch;
        const std::string content = c.text ? c.text : c.capture;
        const std::string path = content.empty()
                                     ? (std::filesystem::path(scratch.write("other.json", "")).parent_path() / "b1.json").string()
                                     : scratch.write("b1.json", content);
        const Result r = bwmap({"--format", "tsv", "--switch-port-name", "e{port}", "--verify", "b1=" + path, "1=Tarn",
                                "2=Fell", "host1=b1", "host2=b2", "switchA=sw-a", "switchB=sw-b"});
        EXPECT_EQ(r.status, c.status) << c.label << ": " << r.err;
        EXPECT_EQ(verdicts(r.out), c.rows) << c.label;
        if (c.status == 2) {
            EXPECT_EQ(r.out, "") << c.label;
        }
        if (c.error.empty()) EXPECT_EQ(r.err, "") << c.label;
        else EXPECT_NE(r.err.find(c.error), std::string::npos) << c.label << ": " << r.err;
    }
}

// A plans file against a folder of captures: host names from the plans columns, switch names
// from the template where the row has none, blades without a capture or a host name.
TEST(Cabling, PlansFileAgainstAFolder) {
    runner::Scratch scratch;
    const std::string plans = scratch.write("plans.csv",
                                            "name,1,2,host1,host2,switchA,switchB\n"
                                            "r1,Fell,,b1,,sa,sb\n"
                                            "r2,Fell,Fell,c1,,,\n"
                                            "r3,Fell,,d1,,,\n");
    scratch.write("b1.json", json({entry("eno1", "sa", "ifname", "1"), entry("eno2", "sb", "ifname", "1")}));
    const std::string folder = std::filesystem::path(
        scratch.write("c1.json", json({entry("ens3", "r2-swA", "ifname", "3"), entry("ens4", "r2-swA", "ifname", "1")})))
                                   .parent_path().string();
    const Result r = bwmap({"--plans", plans, "--format", "json", "--verify", folder});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err, "");
    std::string got;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        const nlohmann::json e = nlohmann::json::parse(line);
        for (const auto& p : e["ports"])
            got += e["enclosure"].get<std::string>() + " " + std::to_string(p["bay"].get<int>()) + " " +
                   p["port"].get<std::string>() + " " + (p["interface"].is_null() ? "-" : p["interface"].get<std::string>()) +
                   " " + p["verdict"].get<std::string>() + (p["note"].is_null() ? "" : ": " + p["note"].get<std::string>()) + "\n";
    }
    EXPECT_EQ(got,
              "r1 1 1 eno1 ok\nr1 1 1 eno2 ok\n"
              "r2 1 1 ens4 ok\nr2 1 1 - missing\nr2 1 3 ens3 unexpected: planned for bay 2, NIC A\n"
              "r2 2 3 - not captured: the blade has no host name\nr2 2 3 - not captured: the blade has no host name\n"
              "r3 1 1 - not captured: no capture " + (std::filesystem::path(folder) / "d1.json").string() + "\n"
              "r3 1 1 - not captured: no capture " + (std::filesystem::path(folder) / "d1.json").string() + "\n");
}

// A plans row whose capture cannot be read: its message names the file and line, between the
// rows before and after it when both go to one file.
TEST(Cabling, CaptureErrorInItsPlace) {
    runner::Scratch scratch;
    const std::string plans = scratch.write("plans.csv", "name,1,host1\nr1,Fell,b1\nr2,Fell,c1\nr3,Fell,d1\n");
    scratch.write("c1.json", "{\"lldp\": {\"interface\": [");
    const std::string folder =
        std::filesystem::path(scratch.write("b1.json", "{\"lldp\": [{}]}")).parent_path().string();
    scratch.write("d1.json", "{\"lldp\": [{}]}");
    const char* argv[] = {"bwmap", "--plans", plans.c_str(), "--format", "csv", "--verify", folder.c_str()};
    std::FILE* both = std::tmpfile();
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(runBwmap(7, argv, both, both), 2);
    std::vector<std::string> lines;
    std::istringstream text(runner::contents(both));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1].rfind("r1,", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("r1,", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("bwmap: " + plans + ":3: r2: ", 0), 0u) << lines[3];
    EXPECT_NE(lines[3].find("c1.json: not JSON"), std::string::npos) << lines[3];
    EXPECT_EQ(lines[4].rfind("r3,", 0), 0u) << lines[4];
}

// The table pads by what a terminal shows: a host name of 7 characters in 8 bytes lines up.
TEST(Cabling, TableColumnsByDisplayWidth) {
    runner::Scratch scratch;
    const std::string capture = scratch.write("m.json", "{\"lldp\": [{}]}");
    const std::string host = "m\xC3\xBCnchen";
    const Result r = bwmap({"--verify", host + "=" + capture, "1=Fell", "host1=" + host});
    EXPECT_EQ(r.status, 1) << r.err;
    std::istringstream text(r.out);
    std::string header, row;
    std::getline(text, header);
    std::getline(text, row);
    const auto column = [](const std::string& line, const std::string& word) {
        std::size_t shown = 0;
        for (std::size_t i = 0; i < line.find(word); ++i) shown += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
        return shown;
    };
    ASSERT_NE(row.find("NIC A"), std::string::npos) << row;
    EXPECT_EQ(column(row, "NIC A"), column(header, "NIC")) << header << "\n" << row;
}

// A host name becomes HOST.json of the folder only when it is a plain file name on every
// platform: never a path out of the folder, a drive, or a Windows device whatever its case.
TEST(Cabling, HostNamesThatNameNoFileOfTheFolder) {
    struct Case {
        const char* host;
        int status;
    };
    const Case cases[] = {
        {"web01", 1},   {"com", 1},     {"console", 1}, {"com10", 1},  {"nul-1", 1},  {".hidden", 1},
        {"..", 2},      {".", 2},       {"a\\b", 2},    {"c:", 2},     {"c:web01", 2}, {"con", 2},
        {"CON", 2},     {"nul.txt", 2}, {"Com1", 2},    {"lpt9.a.b", 2}, {"prn", 2},  {"aux", 2},
        {"con .x", 2},  {"conout$", 2}, {"com\xC2\xB9", 2}, {"a*b", 2}, {"a?b", 2},
    };
    runner::Scratch scratch;
    const std::string folder = std::filesystem::path(scratch.write("x.json", "")).parent_path().string();
    for (const Case& c : cases) {
        const std::string plans = scratch.write("p.csv", std::string("name,1,host1\nr1,Tarn,\"") + c.host + "\"\n");
        const Result r = bwmap({"--plans", plans, "--format", "tsv", "--verify", folder});
        EXPECT_EQ(r.status, c.status) << c.host << ": " << r.err;
        const bool refused = r.err.find("cannot name a capture file in " + folder) != std::string::npos;
        EXPECT_EQ(refused, c.status == 2) << c.host << ": " << r.err;
    }
}

// Command lines that cannot check anything end with status 2 and write no rows.
TEST(Cabling, RefusedCommandLines) {
    runner::Scratch scratch;
    const std::string capture = scratch.write("b1.json", "{\"lldp\": {}}");
    const std::vector<std::vector<std::string>> lines = {
        {"--verify", capture + ".d", "1=Tarn", "host1=b1"},
        {"--verify", "b1=" + capture, "--format", "html", "1=Tarn", "host1=b1"},
        {"--verify", "b1=" + capture, "--by", "switch", "1=Tarn", "host1=b1"},
        {"--verify", "b1=" + capture, "--verify", "b1=" + capture, "1=Tarn", "host1=b1"},
        {"--verify", "b2=" + capture, "1=Tarn", "host1=b1"},
        {"--verify", "b1=" + capture, "1=Tarn", "2=Tarn", "host1=b1", "host2=b1"},
        {"--verify", "b1=" + capture, "--switch-port-name", "{slot}", "1=Tarn", "host1=b1"},
        {"--verify", "b1=" + std::filesystem::path(capture).parent_path().string(), "1=Tarn", "host1=b1"},
    };
    for (const std::vector<std::string>& line : lines) {
        const Result r = bwmap(line);
        EXPECT_EQ(r.status, 2) << line[1] << " " << line[2] << ": " << r.out;
        EXPECT_NE(r.err, "") << line[1] << " " << line[2];
    }
}

}  // namespace
