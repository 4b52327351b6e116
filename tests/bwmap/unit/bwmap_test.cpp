// bwmap end to end in-process: command lines and plans files in, output, messages and status out.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <unistd.h>

#include "bwmap_runner.h"
#include "base/encoding.h"
#include "base/output_sink.h"

namespace {

using runner::bwmap;
using runner::Result;
using runner::Scratch;

const char kHeader[] = "Bay\tType\tOS\tSwitch port\tNIC\n";

// The road of one event: Tarn-M2 in bay 2 of an Enhanced enclosure, default OS Linux.
TEST(Bwmap, RoadOfOneEventAsTsv) {
    const Result r = bwmap({"--os", "linux", "--format", "tsv", "2=Tarn-M2"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(kHeader) +
                         "2\tTarn-M2\tLinux\tA-3\tNIC A\n"
                         "2\tTarn-M2\tLinux\tA-4\tNIC B\n"
                         "2\tTarn-M2\tLinux\tB-4\tNIC C\n");
    EXPECT_EQ(r.err, "");
}

// Labels written by the lower bay belong to it; the column OS follows its selector in order.
TEST(Bwmap, LowerBayLabelsAndColumnOsPicks) {
    const Result r = bwmap({"--format", "csv", "1=Fell", "9=Fell", "3=Tarn-M2", "os3=WINDOWS"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Bay,Type,OS,Switch port,NIC\n"
              "1,Fell,,A-1,NIC A\n1,Fell,,B-1,NIC B\n9,Fell,,A-2,NIC A\n9,Fell,,B-2,NIC B\n"
              "3,Tarn-M2,Windows,B-6,NIC A\n3,Tarn-M2,Windows,A-5,NIC B\n3,Tarn-M2,Windows,A-6,NIC C\n");
}

struct ErrorCase {
    std::vector<std::string> args;
    int status;
    const char* message;  // the whole of standard error
};

// A refusal ends the run with the window's sentence; input the window would not take is an
// error. Neither writes anything on standard output.
TEST(Bwmap, RefusalsAndInputErrors) {
    const ErrorCase cases[] = {
        {{"--enclosure", "standard", "3=Tarn-M3"}, 3,
         "bwmap: Tarn-M3 blades must be in an enhanced (high density) enclosure.\n"},
        {{"1=Tarn", "2=Tarn-M3", "--enclosure", "Standard"}, 3,
         "bwmap: Tarn-M3 blades must be in an enhanced (high density) enclosure.\n"},
        {{"--bogus"}, 2, "bwmap: The following argument was not expected: --bogus (see bwmap --help)\n"},
        {{"--format", "xml"}, 2, "bwmap: --format: \"xml\" is not one of table|tsv|csv|json|html|netbox-cables|netbox-interfaces|dot|junit (see bwmap --help)\n"},
        {{"17=Tarn"}, 2, "bwmap: \"17=Tarn\": the bay must be a number from 1 to 16\n"},
        {{"os9=Linux"}, 2, "bwmap: \"os9=Linux\": the column must be a number from 1 to 8\n"},
        {{"Tarn"}, 2, "bwmap: \"Tarn\" is not a pick: write N=TYPE (bay 1-16) or osC=OS (column 1-8)\n"},
        {{"2=Crag"}, 2, "bwmap: bay 2 does not offer \"Crag\"\n"},
        {{"2=tarn"}, 2, "bwmap: bay 2 does not offer \"tarn\"; did you mean \"Tarn\"?\n"},
        {{"1=Crag", "3=Tarn"}, 2, "bwmap: bay 3 is disabled: covered by the spanning blade in bay 1 (Crag)\n"},
        {{"1=Tarn", "9=Fell"}, 2, "bwmap: bay 9 is disabled: bay 1 holds Tarn, a full-height blade\n"},
        {{"--enclosure", "standard", "9=Fell"}, 2,
         "bwmap: bay 9 is not shown: the lower row is not used in a Standard enclosure\n"},
        {{"1=Tarn", "os1=Linux"}, 2,
         "bwmap: the OS selector of column 1 is disabled: Tarn in bay 1 has the same NIC order under every OS\n"},
        {{"--catalogue", "/no/such/catalogue.ini", "1=Tarn"}, 2,
         "bwmap: cannot read the catalogue file /no/such/catalogue.ini: No such file or directory\n"},
        {{"--plans", "p.csv", "1=Tarn"}, 2, "bwmap: --plans excludes PICK (see bwmap --help)\n"},
        {{"--os", "Solaris"}, 2, "bwmap: --os: \"Solaris\" is not one of windows|linux (see bwmap --help)\n"},
        {{"--plans", ""}, 2, "bwmap: --plans: the file name is empty (see bwmap --help)\n"},
        {{"--catalogue", "", "1=Tarn"}, 2, "bwmap: --catalogue: the file name is empty (see bwmap --help)\n"},
        {{"--check", ""}, 2, "bwmap: --check: the file name is empty (see bwmap --help)\n"},
        {{"--plans"}, 2, "bwmap: --plans needs a value after it: FILE (see bwmap --help)\n"},
        {{"2=Crag", "host2=web"}, 2, "bwmap: bay 2 does not offer \"Crag\"\n"},
        {{"1=Tarn", "switchA=sw-a", "switchB=SW-A", "--find", "sw-b:1"}, 2,
         "bwmap: --find sw-b:1: no switch is named sw-b; the switches are named sw-a\n"},
        {{"1=Tarn", "--find", "sw-b:1"}, 2,
         "bwmap: --find sw-b:1: no switch is named sw-b: no switch has a name (switchA=NAME, or a switchA column)\n"},
    };
    for (const ErrorCase& c : cases) {
        const Result r = bwmap(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back();
        EXPECT_EQ(r.err, c.message) << c.args.back();
        EXPECT_EQ(r.out, "") << c.args.back();
    }
}

// A pick that a later pick, or the window itself, quietly undoes is a refusal: the map would not
// be the one asked for. A plans row of that kind is reported and left out.
TEST(Bwmap, PicksThatDoNotHold) {
    Scratch scratch;
    const std::string catalogue = scratch.write("hw.ini", "\"HW\" 0x820000 AB 12\n");
    const ErrorCase cases[] = {
        {{"9=Fell", "1=Tarn"}, 3, "bwmap: bay 9: Fell was cleared by Tarn in bay 1, a full-height blade\n"},
        {{"2=Tarn-M2", "os2=windows", "1=Crag"}, 3,
         "bwmap: bay 2: Tarn-M2 was cleared by Crag in bay 1, a blade spanning 4 columns\n"},
        {{"1=Tarn-M2", "os1=windows", "1=Tarn-M3"}, 3,
         "bwmap: the OS selector of column 1: Windows was reset to Linux when Tarn-M3 was placed in bay 1\n"},
        {{"1=Tarn-M2", "os1=windows", "1=empty"}, 3,
         "bwmap: the OS selector of column 1: Windows was cleared: column 1 holds no blade\n"},
        {{"--catalogue", catalogue, "9=HW"}, 3,
         "bwmap: bay 9: HW was cleared by the window without a message; the bay is disabled\n"},
        {{"9=empty", "1=Tarn"}, 0, ""},  // "empty" holds wherever the bay holds no blade
    };
    for (const ErrorCase& c : cases) {
        const Result r = bwmap(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back();
        EXPECT_EQ(r.err, c.message) << c.args.back();
        EXPECT_EQ(r.out.empty(), c.status != 0) << c.args.back();
    }
    const std::string plans = scratch.write("plans.csv", "name,1,9\nlost,,HW\nkept,Fell,Fell\n");
    const Result r = bwmap({"--catalogue", catalogue, "--plans", plans, "--format", "tsv"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "bwmap: " + plans + ":2: lost: bay 9: HW was cleared by the window without a message; the bay is disabled\n");
    EXPECT_EQ(r.out, "Enclosure\tBay\tType\tOS\tSwitch port\tNIC\nkept\t1\tFell\t\tA-1\tNIC A\nkept\t1\tFell\t\tB-1\tNIC B\n"
                     "kept\t9\tFell\t\tA-2\tNIC A\nkept\t9\tFell\t\tB-2\tNIC B\n");
}

// The html sheet draws a bay as covered only while the form shows it covered: a pick elsewhere
// in the group can free the bays beside a spanning blade again.
TEST(Bwmap, HtmlSheetCoversWhatTheFormCovers) {
    Scratch scratch;
    const std::string catalogue = scratch.write("w2.ini", "\"W2\" 0x20000 AB 12\n");
    const struct {
        std::vector<std::string> picks;
        const char* empty;  // the sheet's list of empty bays
    } cases[] = {
        {{"3=W2", "2=Tarn"}, "Bays 1, 4, 5, 6, 7, 8, 9, 12, 13, 14, 15 and 16: empty"},
        {{"3=W2"}, "Bays 1, 2, 5, 6, 7, 8, 9, 10, 13, 14, 15 and 16: empty"},
        {{"1=Crag"}, "Bays 5, 6, 7, 8, 13, 14, 15 and 16: empty"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--catalogue", catalogue, "--format", "html"};
        args.insert(args.end(), c.picks.begin(), c.picks.end());
        const Result r = bwmap(args);
        EXPECT_EQ(r.status, 0) << c.picks.back() << r.err;
        EXPECT_NE(r.out.find(std::string("<p class=\"empty\">") + c.empty + "</p>"), std::string::npos)
            << c.picks.back();
    }
}

// Option values in any case act as the lower-case words.
TEST(Bwmap, OptionValuesIgnoreCase) {
    const std::vector<std::string> picks = {"2=Tarn-M2", "3=Tarn"};
    for (const char* format : {"TSV", "Csv", "JSON", "Html", "TABLE"}) {
        std::string lower = format;
        for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        std::vector<std::string> given = {"--format", format, "--os", "WINDOWS", "--enclosure", "STANDARD"};
        std::vector<std::string> expected = {"--format", lower, "--os", "windows", "--enclosure", "standard"};
        given.insert(given.end(), picks.begin(), picks.end());
        expected.insert(expected.end(), picks.begin(), picks.end());
        const Result a = bwmap(given), b = bwmap(expected);
        EXPECT_EQ(a.status, 0) << format << a.err;
        EXPECT_EQ(a.out, b.out) << format;
    }
}

// A NUL byte in a plans row's name neither cuts the text nor reaches the output.
TEST(Bwmap, NulInANameShowsAsQuestionMark) {
    Scratch scratch;
    const std::string plans = scratch.write("nul.csv", std::string("name,1\nr\0ck,Tarn\n", 17));
    const std::pair<const char*, const char*> cases[] = {
        {"table", "r?ck       1    Tarn      A-1          NIC A\n"},
        {"tsv", "r?ck\t1\tTarn\t\tA-1\tNIC A\n"},
        {"csv", "r?ck,1,Tarn,,A-1,NIC A\n"},
    };
    for (const auto& [format, firstRow] : cases) {
        const Result r = bwmap({"--plans", plans, "--format", format});
        EXPECT_EQ(r.status, 0) << format << r.err;
        EXPECT_EQ(r.out.find('\0'), std::string::npos) << format;
        EXPECT_NE(r.out.find(firstRow), std::string::npos) << format << "\n" << r.out;
    }
}

// Every row is its own enclosure; bad and refused rows are reported and left out.
TEST(Bwmap, PlansFileWithGoodRefusedAndBadRows) {
    Scratch scratch;
    const std::string plans = scratch.write("plans.csv",
                                            "name,enclosure,os,1,2,9,os1\r\n"
                                            "rack a,,windows,Tarn-M2,,,\r\n"
                                            "rack b,standard,,Tarn-M3,,,\r\n"
                                            "\"rack, c\",,,Tarn,,Fell,\r\n"
                                            "rack d,enhanced,linux,Fell,,Fell,\r\n");
    Result r = bwmap({"--plans", plans, "--format", "tsv"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out,
              "Enclosure\tBay\tType\tOS\tSwitch port\tNIC\n"
              "rack a\t1\tTarn-M2\tWindows\tB-2\tNIC A\nrack a\t1\tTarn-M2\tWindows\tA-1\tNIC B\n"
              "rack a\t1\tTarn-M2\tWindows\tA-2\tNIC C\n"
              "rack d\t1\tFell\t\tA-1\tNIC A\nrack d\t1\tFell\t\tB-1\tNIC B\n"
              "rack d\t9\tFell\t\tA-2\tNIC A\nrack d\t9\tFell\t\tB-2\tNIC B\n");
    EXPECT_EQ(r.err, "bwmap: " + plans + ":3: rack b: bay 1: Tarn-M3 blades must be in an enhanced (high density) enclosure.\n" +
                         "bwmap: " + plans + ":4: rack, c: bay 9 is disabled: bay 1 holds Tarn, a full-height blade\n");

    const std::string refusedOnly = scratch.write("refused.csv", "1,name\nTarn-M3,x\n");
    r = bwmap({"--plans", refusedOnly, "--enclosure", "standard", "--format", "json"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "");

    const std::string badHeader = scratch.write("header.csv", "name,17\nx,Tarn\n");
    r = bwmap({"--plans", badHeader});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "bwmap: " + badHeader + ":1: column \"17\": the bay must be a number from 1 to 16\n");
}

// Damaged plans files: each damaged row is reported on its own line and the rows after it are
// still mapped; nothing is cut or lost silently.
TEST(Bwmap, DamagedPlansFiles) {
    struct Case {
        const char* label;
        std::string content;
        int status;
        std::string out;  // tsv rows after the header
        std::string err;  // after "bwmap: FILE:"
    };
    const std::string good = "ok,Tarn\n";
    std::string wideHeader;  // 1 MB: read in linear time, not a scan of the names before each column
    for (int i = 0; i < 140000; ++i) wideHeader += ",c" + std::to_string(i);
    const std::string goodRows = "ok\t1\tTarn\t\tA-1\tNIC A\nok\t1\tTarn\t\tA-2\tNIC B\nok\t1\tTarn\t\tB-2\tNIC C\n";
    const Case cases[] = {
        {"byte-order mark", "\xEF\xBB\xBFname,1\n" + good, 0, goodRows, ""},
        {"a 1 MiB line", "name,1\n" + std::string(1 << 20, 'x') + ",Tarn\n" + good, 2, goodRows,
         "2: (no name): the row is longer than 1048576 bytes\n"},
        {"NUL inside a cell", "name,1\n" + std::string("a,Tar\0n\n", 8) + good, 2, goodRows,
         "2: a: bay 1 does not offer \"Tar?n\"; did you mean \"Tarn\"?\n"},
        {"invalid UTF-8 name, read as 8 bits", "name,1\n\xFF\xFE,Tarn\n", 0,
         "\xC3\xBF\xC3\xBE\t1\tTarn\t\tA-1\tNIC A\n\xC3\xBF\xC3\xBE\t1\tTarn\t\tA-2\tNIC B\n\xC3\xBF\xC3\xBE\t1\tTarn\t\tB-2\tNIC C\n", ""},
        {"quote left open at the end", "name,1\n" + good + "\"x,Tarn\n", 2, goodRows,
         "3: (no name): a quoted cell is not closed before the end of the file\n"},
        {"row wider than the header", "name,1\n" + good + "w,Tarn,Tarn\n", 2, goodRows,
         "3: w: the row has 3 cells, the header 2\n"},
        {"a column named twice among 140,000", "name,1" + wideHeader + ",c7\n" + good, 2, "",
         "1: column \"c7\" is named twice\n"},
    };
    Scratch scratch;
    for (const Case& c : cases) {
        const std::string plans = scratch.write("plans.csv", c.content);
        const auto start = std::chrono::steady_clock::now();
        const Result r = bwmap({"--plans", plans, "--format", "tsv"});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << c.label;
        EXPECT_EQ(r.status, c.status) << c.label;
        if (r.status == 2 && c.out.empty()) EXPECT_EQ(r.out, "") << c.label;
        else EXPECT_EQ(r.out, "Enclosure\tBay\tType\tOS\tSwitch port\tNIC\n" + c.out) << c.label;
        EXPECT_EQ(r.err, c.err.empty() ? "" : "bwmap: " + plans + ":" + c.err) << c.label;
    }
}

// An 8-bit catalogue name reaches JSON as UTF-8, and a UTF-8 plans file can name it.
TEST(Bwmap, JsonIsUtf8ForAnEightBitCatalogue) {
    Scratch scratch;
    const std::string catalogue = scratch.write("cat.ini", "\"Rid\xE9\\\" 0x100 AB 12\n");
    const std::string plans = scratch.write("plans.csv", "name,os,1\n\"caf\xC3\xA9 \"\"1\"\"\",windows,Rid\xC3\xA9\\\n");
    const Result r = bwmap({"--catalogue", catalogue, "--plans", plans, "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json object = nlohmann::json::parse(r.out);
    EXPECT_EQ(object["name"], "caf\xC3\xA9 \"1\"");
    EXPECT_EQ(object["enclosure"], "Enhanced");
    EXPECT_EQ(object["defaultOs"], "Windows");
    ASSERT_EQ(object["bays"].size(), 1u);
    EXPECT_EQ(object["bays"][0]["type"], "Rid\xC3\xA9\\");
    EXPECT_EQ(object["bays"][0]["os"], "Windows");
    EXPECT_EQ(object["bays"][0]["ports"].dump(),
              R"([{"nic":"NIC A","switchPort":"A-1"},{"nic":"NIC B","switchPort":"B-2"}])");
}

// On Linux every format writes UTF-8: 8-bit names of a plans file and of the catalogue are read
// as Windows-1252, valid UTF-8 is kept.
TEST(Bwmap, EveryFormatWritesUtf8) {
    Scratch scratch;
    const std::string catalogue = scratch.write("cat.ini", "\"H\xE9lix\" 0x100 AB 12\n");
    const std::string plans = scratch.write("plans.csv", "name,1,2,host1,switchA,note\n"
                                                         "M\xFCnchen,H\xC3\xA9lix,Tarn,h\xFCtte,sw-\xE4,\x80 5\n"
                                                         "utf,Tarn,,\xC3\xA5s,,\xE2\x82\xAC 6\n");
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> parts;  // UTF-8 texts the output holds
    } cases[] = {
        {{"--format", "table"}, {"M\xC3\xBCnchen  ", "H\xC3\xA9lix  ", "h\xC3\xBCtte  ", "sw-\xC3\xA4  ", "\xE2\x82\xAC 5", "\xC3\xA5s"}},
        {{"--format", "tsv"}, {"M\xC3\xBCnchen\t1\tH\xC3\xA9lix\th\xC3\xBCtte\tLinux\tsw-\xC3\xA4\tA-1\tNIC A\t\xE2\x82\xAC 5\n"}},
        {{"--format", "csv"}, {"M\xC3\xBCnchen,1,H\xC3\xA9lix,h\xC3\xBCtte,Linux,sw-\xC3\xA4,A-1,NIC A,\xE2\x82\xAC 5\n", "\xE2\x82\xAC 6"}},
        {{"--format", "json"}, {"\"M\xC3\xBCnchen\"", "\"H\xC3\xA9lix\"", "\"\xE2\x82\xAC 5\""}},
        {{"--format", "html"}, {"M\xC3\xBCnchen", "H\xC3\xA9lix", "h\xC3\xBCtte"}},
        {{"--by", "switch"}, {"M\xC3\xBCnchen  ", "H\xC3\xA9lix  ", "h\xC3\xBCtte  "}},
        {{"--by", "switch", "--format", "csv"}, {"M\xC3\xBCnchen,", ",1,1,H\xC3\xA9lix,h\xC3\xBCtte,NIC A,\xE2\x82\xAC 5\n"}},
        {{"--find", "A-1", "--format", "tsv"}, {"M\xC3\xBCnchen\t", "\t1\t1\tH\xC3\xA9lix\th\xC3\xBCtte\t"}},
        {{"--format", "netbox-cables"}, {"\"h\xC3\xBCtte\"", "\"sw-\xC3\xA4\""}},
        {{"--format", "netbox-interfaces"}, {"\"M\xC3\xBCnchen-swB\""}},
        {{"--format", "dot"}, {"\"h\xC3\xBCtte\":\"NIC A\" -- \"sw-\xC3\xA4\":\"1\""}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--catalogue", catalogue, "--plans", plans};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = bwmap(args);
        const std::string what = c.args[0] + " " + c.args[1];
        EXPECT_EQ(r.status, 0) << what << ": " << r.err;
        EXPECT_TRUE(isValidUtf8(r.out)) << what << ":\n" << r.out;
        for (const std::string& part : c.parts) EXPECT_NE(r.out.find(part), std::string::npos) << what << ": " << part << "\n" << r.out;
    }
}

// A folder named where a file is wanted: one sentence on every build, status 2.
TEST(Bwmap, FolderGivenAsAFile) {
    Scratch scratch;
    const std::string folder = std::filesystem::path(scratch.write("x", "")).parent_path().string();
    const std::vector<std::vector<std::string>> lines = {
        {"--plans", folder}, {"--catalogue", folder, "1=Tarn"}, {"--check", folder}};
    for (const std::vector<std::string>& line : lines) {
        const Result r = bwmap(line);
        EXPECT_EQ(r.status, 2) << line[0];
        EXPECT_EQ(r.out, "") << line[0];
        EXPECT_EQ(r.err, "bwmap: " + folder + ": is a folder, not a file\n") << line[0];
    }
}

// Text lines end in CR LF where the platform's text does; a CR LF already in the text, even
// split between two writes, stays one line end.
TEST(OutputSink, CrLfLineEnds) {
    struct Case {
        std::vector<std::string> writes;
        std::string out;
    };
    const Case cases[] = {
        {{"a\nb\n"}, "a\r\nb\r\n"},
        {{"\"Hall 3\r\nrow 2\"\n"}, "\"Hall 3\r\nrow 2\"\r\n"},
        {{"x\r", "\ny\n"}, "x\r\ny\r\n"},
        {{"x\r\r\n", "\n"}, "x\r\r\n\r\n"},
        {{"lone\rcr"}, "lone\rcr"},
        {{"", "\n\n"}, "\r\n\r\n"},
    };
    for (const Case& c : cases) {
        bool afterCr = false;
        std::string out;
        for (const std::string& w : c.writes) out += crLfLineEnds(w, afterCr);
        EXPECT_EQ(out, c.out) << c.writes.front();
    }
}

}  // namespace
