// Plans files as spreadsheets and shells export them, and the messages of rows that are wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bwmap_runner.h"
#include "input/csv_reader.h"
#include "enclosure/name_index.h"

namespace {

using runner::bwmap;
using runner::Result;
using runner::Scratch;

using Rows = std::vector<std::vector<std::string>>;

// One reference estate: an 8-bit-free UTF-8 name, one outside the BMP, a comma in a name.
const Rows kEstate = {
    {"name", "enclosure", "os", "1", "2", "9", "os1"},
    {"rack a", "", "windows", "Tarn-M2", "", "", ""},
    {"M\xC3\xBCnchen, 2", "standard", "", "Tarn", "Tarn-M2", "", ""},
    {"rack \xF0\x9F\x94\x8C", "enhanced", "linux", "Fell", "", "Fell", ""},
};

std::string render(const Rows& rows, char separator, bool quoteAll, const char* lineEnd) {
    std::string text;
    for (const std::vector<std::string>& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) text += separator;
            const bool quote = quoteAll || row[i].find_first_of(std::string(1, separator) + "\"") != std::string::npos;
            std::string cell;
            for (char ch : row[i]) cell += ch == '"' ? "\"\"" : std::string(1, ch);
            text += quote ? "\"" + cell + "\"" : cell;
        }
        text += lineEnd;
    }
    return text;
}

// UTF-8 to UTF-16 with a byte-order mark, low byte first or high byte first.
std::string utf16(const std::string& utf8, bool little) {
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    const auto unit = [&](std::uint32_t u) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        out += little ? low : high;
        out += little ? high : low;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t more = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        std::uint32_t cp = more == 0 ? lead : lead & (0x3F >> more);
        for (std::size_t k = 1; k <= more; ++k) cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += more + 1;
        if (cp < 0x10000) {
            unit(cp);
        } else {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return out;
}

Rows withColumn(Rows rows, std::size_t at, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i].insert(rows[i].begin() + static_cast<long>(at), cells[i]);
    return rows;
}

// Each line of a tsv with a further cell: the header's name, then the value of its enclosure.
std::string withTsvColumn(const std::string& tsv, const std::string& name, const Rows& estate, std::size_t at) {
    std::string out;
    std::size_t start = 0;
    for (bool header = true; start < tsv.size(); header = false) {
        const std::size_t end = tsv.find('\n', start);
        const std::string line = tsv.substr(start, end - start);
        std::string value = name;
        for (std::size_t r = 1; r < estate.size() && !header; ++r)
            if (line.compare(0, estate[r][0].size() + 1, estate[r][0] + "\t") == 0) value = estate[r][at];
        out += line + "\t" + value + "\n";
        start = end + 1;
    }
    return out;
}

// Every form of the same estate maps to the reference's tsv; an extra column follows it.
TEST(Plans, ExportFormsOfOneEstate) {
    Scratch scratch;
    const Result reference = bwmap({"--plans", scratch.write("reference.csv", render(kEstate, ',', false, "\n")),
                                    "--format", "tsv"});
    ASSERT_EQ(reference.status, 0) << reference.err;
    ASSERT_NE(reference.out.find("M\xC3\xBCnchen, 2\t2\tTarn-M2\t"), std::string::npos) << reference.out;
    ASSERT_NE(reference.out.find("rack \xF0\x9F\x94\x8C\t9\tFell\t"), std::string::npos) << reference.out;

    const Rows located = withColumn(kEstate, 1, {"location", "Hall 3", "", "Rack; \"row\" 7"});
    const std::string locatedTsv = withTsvColumn(reference.out, "location", located, 1);
    Rows padded = kEstate;
    for (std::vector<std::string>& row : padded) row.insert(row.end(), {"", ""});
    Rows gaps = kEstate;
    gaps.insert(gaps.begin() + 2, std::vector<std::string>(7, ""));
    struct Form {
        const char* label;
        std::string content;
        std::vector<std::string> options;
        std::string tsv;  // empty: the reference's
    };
    const std::string plain = render(kEstate, ',', false, "\n");
    const Form forms[] = {
        {"CR LF", render(kEstate, ',', false, "\r\n"), {}, ""},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + plain, {}, ""},
        {"semicolons", render(kEstate, ';', false, "\r\n"), {}, ""},
        {"sep= line", "sep=;\r\n" + render(kEstate, ';', false, "\r\n"), {}, ""},
        {"sep= line for tabs, header of one column", "sep=\t\n" + render(kEstate, '\t', false, "\n"), {}, ""},
        {"tabs", render(kEstate, '\t', false, "\n"), {}, ""},
        {"UTF-16 LE", utf16(render(kEstate, ',', true, "\r\n"), true), {}, ""},
        {"UTF-16 BE", utf16(render(kEstate, ';', false, "\n"), false), {}, ""},
        {"#TYPE line, every cell quoted", "#TYPE System.Management.Automation.PSCustomObject\r\n" +
                                              render(kEstate, ',', true, "\r\n"), {}, ""},
        {"trailing empty columns", render(padded, ';', false, "\r\n"), {}, ""},
        {"trailing empty columns in the header only",
         render({padded[0]}, ';', false, "\n") + render(Rows(kEstate.begin() + 1, kEstate.end()), ';', false, "\n"), {}, ""},
        {"empty rows", render(gaps, ',', false, "\n") + "\n,,,,,,\n", {}, ""},
        {"--delimiter", render(kEstate, ';', false, "\n"), {"--delimiter", ";"}, ""},
        {"standard input", render(kEstate, ';', false, "\r\n"), {"-"}, ""},
        {"an extra column", render(located, ';', false, "\r\n"), {}, locatedTsv},
        {"an extra column, UTF-16", utf16(render(located, '\t', true, "\r\n"), true), {}, locatedTsv},
    };
    for (const Form& form : forms) {
        const std::string path = scratch.write("form.csv", form.content);
        const bool standardInput = !form.options.empty() && form.options[0] == "-";
        std::vector<std::string> args = {"--plans", standardInput ? "-" : path, "--format", "tsv"};
        if (!standardInput) args.insert(args.end(), form.options.begin(), form.options.end());
        std::FILE* const saved = stdin;
        if (standardInput) stdin = std::fopen(path.c_str(), "rb");
        const Result r = bwmap(args);
        if (standardInput) {
            std::fclose(stdin);
            stdin = saved;
        }
        EXPECT_EQ(r.status, 0) << form.label << "\n" << r.err;
        EXPECT_EQ(r.err, "") << form.label;
        EXPECT_EQ(r.out, form.tsv.empty() ? reference.out : form.tsv) << form.label;
    }
}

// Further columns travel into every format; the table aligns by the characters shown.
TEST(Plans, ExtraColumnsInEveryFormat) {
    Scratch scratch;
    const std::string plans = scratch.write("x.csv", "name,1,location,owner\nM\xC3\xBCnchen,Fell,Hall 3,ops\n");
    const struct {
        std::vector<std::string> args;
        std::string part;
    } cases[] = {
        {{"--format", "csv"}, "Enclosure,Bay,Type,OS,Switch port,NIC,location,owner\n"
                              "M\xC3\xBCnchen,1,Fell,,A-1,NIC A,Hall 3,ops\n"},
        {{"--format", "json"}, R"("NIC B"}]}],"columns":{"location":"Hall 3","owner":"ops"}})" "\n"},
        {{"--format", "html"}, "<p class=\"extra\">location: Hall 3; owner: ops</p>"},
        {{"--by", "switch", "--format", "tsv"}, "M\xC3\xBCnchen\tB\t1\t1\tFell\tNIC B\tHall 3\tops\n"},
        {{"--format", "table"}, "M\xC3\xBCnchen    1    Fell      A-1          NIC A  Hall 3    ops\n"},
        {{"--by", "switch"}, "M\xC3\xBCnchen    A       1     1    Fell  NIC A  Hall 3    ops\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--plans", plans};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = bwmap(args);
        EXPECT_EQ(r.status, 0) << c.args.back() << r.err;
        EXPECT_NE(r.out.find(c.part), std::string::npos) << c.args.back() << "\n" << r.out;
    }
}

// Bytes handed out a few at a time, so that fields run across the reader's refills.
class DrippingSource : public ByteSource {
public:
    explicit DrippingSource(std::string text, std::size_t drop = 3) : text_(std::move(text)), drop_(drop) {}
    std::size_t read(char* out, std::size_t size) override {
        const std::size_t count = std::min({size, text_.size() - at_, drop_});
        text_.copy(out, count, at_);
        at_ += count;
        return count;
    }
    bool failed() const override { return false; }

private:
    std::string text_;
    std::size_t drop_;
    std::size_t at_ = 0;
};

// Records as the reader splits them: quotes, a quote inside a plain field, a lone CR, blank
// lines, and the line each record starts on.
TEST(Plans, CsvRecordsAcrossRefills) {
    DrippingSource source("ab;c\"d;\"e;\"\"f\"\r\n\n  gh\rij;;\"k\nl\";m\nlast");
    CsvReader reader(source, ';', 1);
    const std::vector<std::vector<std::string>> expected = {
        {"ab", "c\"d", "e;\"f"}, {"  gh\rij", "", "k\nl", "m"}, {"last"}};
    const long lines[] = {1, 3, 5};
    std::vector<std::string> fields = {"old", "cells", "to", "replace", "here"};
    std::string error;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(reader.next(fields, error)) << i;
        EXPECT_EQ(error, "") << i;
        EXPECT_EQ(fields, expected[i]) << i;
        EXPECT_EQ(reader.recordLine(), lines[i]) << i;
    }
    EXPECT_FALSE(reader.next(fields, error));
}

// Lines that lie whole in the buffer are split at once; they must read as they do byte by byte,
// mixed with records that need the byte loop, into fields left longer or shorter by the last.
TEST(Plans, CsvLinesReadWholeAsByteByByte) {
    const std::string text =
        "a,b,c,d\n,,\nd\n\n\r\nlong first cell,e,,f,\n\"q,1\",g\nh,i\r\nj,\"k\nl\"\nm,n,o,p\nq\nend";
    DrippingSource drip(text);
    DrippingSource whole(text, text.size());
    CsvReader slow(drip, ',', 1);
    CsvReader fast(whole, ',', 1);
    std::vector<std::string> slowFields, fastFields = {"x", "y", "z", "w", "v", "u", "t"};
    std::string slowError, fastError;
    int records = 0;
    while (slow.next(slowFields, slowError)) {
        SCOPED_TRACE("record " + std::to_string(++records));
        ASSERT_TRUE(fast.next(fastFields, fastError));
        EXPECT_EQ(fastFields, slowFields);
        EXPECT_EQ(fast.recordLine(), slow.recordLine());
        EXPECT_EQ(fastError, slowError);
    }
    EXPECT_FALSE(fast.next(fastFields, fastError));
    EXPECT_EQ(records, 10);
}

// Each row's own name and further cells on every line of its rows, quoted where CSV needs it.
TEST(Plans, CsvRowsCarryTheirOwnCells) {
    Scratch scratch;
    const std::string plans = scratch.write("x.csv", "name,2,note\n\"r,1\",Tarn,\"a,\"\"b\"\"\"\nr2,Tarn,\n");
    const Result r = bwmap({"--plans", plans, "--format", "csv"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Enclosure,Bay,Type,OS,Switch port,NIC,note\n"
              "\"r,1\",2,Tarn,,A-3,NIC A,\"a,\"\"b\"\"\"\n\"r,1\",2,Tarn,,A-4,NIC B,\"a,\"\"b\"\"\"\n"
              "\"r,1\",2,Tarn,,B-4,NIC C,\"a,\"\"b\"\"\"\n"
              "r2,2,Tarn,,A-3,NIC A,\nr2,2,Tarn,,A-4,NIC B,\nr2,2,Tarn,,B-4,NIC C,\n");
}

// Each problem of a row on its own line, naming its bay or column; files and headers that
// cannot be read stop the run at line 1.
TEST(Plans, ErrorRowsAndTheirMessages) {
    Scratch scratch;
    const std::string ridge = scratch.write("ridge.ini", "\"Ridge\" 0x4000000 AABB 1212\n");
    struct Case {
        const char* label;
        std::string content;
        std::vector<std::string> options;
        int status;
        std::vector<std::string> messages;  // after "bwmap: FILE:"
        std::string firstRow;               // the first tsv row written; empty for none
    };
    const Case cases[] = {
        {"every problem of a row", "name,enclosure,1,2,3,9,os1,os2\nrack b,standard,Ridge,Tarn,tarn-m2,Fell,Linux,linux\n",
         {"--catalogue", ridge}, 2,
         {"2: rack b: bay 2: Tarn blade cannot be in same 4 slot group with a Ridge blade.",
          "2: rack b: bay 3 does not offer \"tarn-m2\"; did you mean \"Tarn-M2\"?",
          "2: rack b: bay 9 is not shown: the lower row is not used in a Standard enclosure",
          "2: rack b: the OS selector of column 2 is disabled: column 2 holds no blade"}, ""},
        {"a refusal alone", "name,1,2\nr,Ridge,Tarn\n", {"--catalogue", ridge}, 3,
         {"2: r: bay 2: Tarn blade cannot be in same 4 slot group with a Ridge blade."}, ""},
        {"one edit off, two entries", "name,1\nr,Tarn-M4\n", {}, 2,
         {"2: r: bay 1 does not offer \"Tarn-M4\"; did you mean \"Tarn-M2\" or \"Tarn-M3\"?"}, ""},
        {"blanks and a letter off", "name,1,os1\nr,tarn m2,Linx\n", {}, 2,
         {"2: r: bay 1 does not offer \"tarn m2\"; did you mean \"Tarn-M2\"?",
          "2: r: the OS selector of column 1 is disabled: column 1 holds no blade"}, ""},
        {"nothing close", "name,2\nr,Crag\n", {}, 2, {"2: r: bay 2 does not offer \"Crag\""}, ""},
        {"enclosure and OS a letter off", "name,enclosure,os\nr,enhaced,linus\n", {}, 2,
         {"2: r: enclosure \"enhaced\" is neither Standard nor Enhanced; did you mean \"Enhanced\"?",
          "2: r: os \"linus\" is neither Windows nor Linux; did you mean \"Linux\"?"}, ""},
        {"a name twice", "name,1\nrack a,Tarn\nrack a,Fell\n", {}, 2,
         {"3: rack a: the name \"rack a\" is already used on line 2"}, "rack a\t1\tTarn\t\tA-1\tNIC A"},
        {"a name twice as the user reads it: UTF-8 and 8-bit, a trailing blank",
         "name,1\nM\xC3\xBCnchen,Tarn\nM\xFCnchen,Fell\nrack1,Fell\nrack1 ,Fell\n", {}, 2,
         {"3: M\xFCnchen: the name \"M\xFCnchen\" is already used on line 2",
          "5: rack1 : the name \"rack1 \" is already used on line 4"},
         "M\xC3\xBCnchen\t1\tTarn\t\tA-1\tNIC A"},
        {"a host name in two enclosures", "name,1,2,host1,host2\nra,Fell,,web01,\nrb,Fell,Fell,web02,web01\n", {}, 2,
         {"3: rb: host2: the host name \"web01\" is already used on line 2"}, "ra\t1\tFell\tweb01\t\t\tA-1\tNIC A"},
        {"host and switch words that name no bay or switch travel with the row",
         "name,1,hostname,hosts,hostgroup,switches\nr,Tarn,a,b,c,d\n", {}, 0, {}, "r\t1\tTarn\t\tA-1\tNIC A\ta\tb\tc\td"},
        {"OS cell over the same NIC order", "name,1,os1\nr,Tarn,windows\n", {}, 0, {}, "r\t1\tTarn\t\tA-1\tNIC A"},
        {"OS cell with no OS in it", "name,1,os1\nr,Tarn,Solaris\n", {}, 2,
         {"2: r: the OS selector of column 1 is disabled: Tarn in bay 1 has the same NIC order under every OS"}, ""},
        {"OS cell under a spanning blade", "name,1,os2\nr,Crag,linux\n", {}, 2,
         {"2: r: the OS selector of column 2 is disabled: covered by the spanning blade in bay 1 (Crag)"}, ""},
        {"a cell under an empty header cell", "name,1,,\nr,Tarn,x,\n", {}, 2,
         {"2: r: column 3 has no name in the header but holds \"x\""}, ""},
        {"bay out of range", "name,17\nx,Tarn\n", {}, 2, {"1: column \"17\": the bay must be a number from 1 to 16"}, ""},
        {"column OS out of range", "name, OS9\n", {}, 2, {"1: column \" OS9\": the column must be a number from 1 to 8"}, ""},
        {"host out of range", "name,host17\n", {}, 2, {"1: column \"host17\": the bay must be a number from 1 to 16"}, ""},
        {"further column twice", "name,Owner,owner \n", {}, 2, {"1: column \"owner \" is named twice"}, ""},
        {"a workbook", "PK\x03\x04\x14\0\x06\0", {}, 2,
         {"1: the file is a zip archive, such as an .xlsx workbook, not a CSV export: save the sheet as CSV"}, ""},
        {"UTF-32", std::string("\xFF\xFE\0\0n\0\0\0", 8), {}, 2,
         {"1: the file is UTF-32 text (little-endian, by its byte-order mark): save it as UTF-8 or UTF-16"}, ""},
        {"UTF-16 without its mark", std::string("n\0a\0m\0e\0", 8), {}, 2,
         {"1: the file is UTF-16 text (little-endian) without a byte-order mark: save it with one, or as UTF-8"}, ""},
        {"binary header", "sep=,\nna\x01me,1\n", {}, 2,
         {"2: the header holds the control byte 0x01: the file looks like binary data, not a CSV export"}, ""},
        {"--delimiter that the file does not use", "name,1\nr,Tarn\n", {"--delimiter", "tab"}, 2,
         {"1: the header has no \"name\" column, but its cells hold \",\": if they separate the cells, choose that "
          "separator with --delimiter ,"}, ""},
        {"a semicolon file read with commas", "name;1\nr;Tarn\n", {"--delimiter", ","}, 2,
         {"1: the header has no \"name\" column, but its cells hold \";\": if they separate the cells, choose that "
          "separator with --delimiter \";\""}, ""},
        {"no name column, no other separator", "1,2\nTarn,Fell\n", {}, 2, {"1: the header has no \"name\" column"}, ""},
        {"a bay column named with a word and a blank", "name,Bay 1\nr,Tarn\n", {}, 2, {"1: column \"Bay 1\": did you mean \"1\"?"}, ""},
        {"a host column with a blank", "name,1,Host 1\nr,Tarn,web\n", {}, 2, {"1: column \"Host 1\": did you mean \"host1\"?"}, ""},
        {"a host column with a leading zero", "name,1,host01\nr,Tarn,web\n", {}, 2,
         {"1: column \"host01\": the bay must be a number from 1 to 16: did you mean \"host1\"?"}, ""},
        {"switch and OS columns with blanks", "name,switch a\n", {}, 2, {"1: column \"switch a\": did you mean \"switchA\"?"}, ""},
        {"further columns near the names stay further columns", "name,1,bay,os version,host-name\nr,Tarn,x,y,z\n", {}, 0, {},
         "r\t1\tTarn\t\tA-1\tNIC A\tx\ty\tz"},
        {"a host name of a bay whose pick failed: the pick's error alone", "name,2,host2\nr,Crag,web\n", {}, 2,
         {"2: r: bay 2 does not offer \"Crag\""}, ""},
        {"a host name of a refused bay: the refusal alone", "name,1,2,host2\nr,Ridge,Tarn,w2\n", {"--catalogue", ridge}, 3,
         {"2: r: bay 2: Tarn blade cannot be in same 4 slot group with a Ridge blade."}, ""},
    };
    for (const Case& c : cases) {
        const std::string plans = scratch.write("plans.csv", c.content);
        std::vector<std::string> args = {"--plans", plans, "--format", "tsv"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Result r = bwmap(args);
        EXPECT_EQ(r.status, c.status) << c.label;
        std::string err;
        for (const std::string& message : c.messages) err += "bwmap: " + plans + ":" + message + "\n";
        EXPECT_EQ(r.err, err) << c.label;
        const std::size_t firstRow = r.out.find('\n') + 1;
        EXPECT_EQ(r.out.substr(firstRow, r.out.find('\n', firstRow) - firstRow), c.firstRow) << c.label;
    }
}

// A plans run's messages are buffered beside its output: in one file taking both, each comes
// before the output of every later row, and none is lost.
TEST(Plans, MessagesKeepTheirPlaceInOneFileWithTheOutput) {
    runner::Scratch scratch;
    std::string plans = "name,1,2\n";
    for (int row = 0; row < 3000; ++row)
        plans += "r" + std::to_string(row) + (row % 100 == 7 ? ",Nope" : ",Fell") + ",Tarn\n";
    const std::string path = scratch.write("plans.csv", plans);
    const char* argv[] = {"bwmap", "--plans", path.c_str(), "--catalogue", "/dev/null", "--format", "tsv"};
    std::FILE* both = std::tmpfile();
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(runBwmap(7, argv, both, both), 2);
    const std::string text = runner::contents(both);
    ASSERT_GT(text.size(), 4u << 16) << "the output should fill several blocks";
    int lastRowOut = -1;
    int messages = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find(": r");
        if (line.rfind("bwmap: ", 0) == 0 && at != std::string::npos) {
            EXPECT_LT(lastRowOut, std::stoi(line.substr(at + 3))) << line;
            ++messages;
        } else if (line.rfind("r", 0) == 0) {
            lastRowOut = std::max(lastRowOut, std::stoi(line.substr(1)));
        }
    }
    EXPECT_EQ(messages, 30);
}

// Messages and rows in one file keep the order in which they arose: a row's error after the rows before it.
TEST(Plans, ErrorBetweenTheRowsAroundIt) {
    runner::Scratch scratch;
    const std::string path = scratch.write("ord.csv", "name,1\nr1,Fell\nr2,Nope\nr3,Fell\n");
    const char* argv[] = {"bwmap", "--plans", path.c_str(), "--format", "tsv"};
    std::FILE* both = std::tmpfile();
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(runBwmap(5, argv, both, both), 2);
    EXPECT_EQ(runner::contents(both), "Enclosure\tBay\tType\tOS\tSwitch port\tNIC\n"
                                      "r1\t1\tFell\t\tA-1\tNIC A\nr1\t1\tFell\t\tB-1\tNIC B\n"
                                      "bwmap: " + path + ":3: r2: bay 1 does not offer \"Nope\"\n"
                                      "r3\t1\tFell\t\tA-1\tNIC A\nr3\t1\tFell\t\tB-1\tNIC B\n");
}

// Each row maps as it would alone: what a session remembers of earlier rows (the entries each
// bay's pick texts found, more texts than it keeps) never changes a later row's map.
TEST(Plans, EachRowMapsAsItWouldAlone) {
    runner::Scratch scratch;
    const char* const upper[] = {"Fell", "Tarn", "Tarn-M2", "Tarn +NIC upgrade", "Tarn-M3", "Crag"};
    const char* const lower[] = {"Fell", "", "Fell"};
    const std::string header = "name,os,1,2,3,4,12,13\n";  // bays 4 and 12 share a column
    std::vector<std::string> rows;
    for (int i = 0; i < 24; ++i)
        rows.push_back("r" + std::to_string(i) + (i % 2 ? ",windows," : ",linux,") + upper[i % 5] + "," +
                       upper[(i + 2) % 5] + "," + upper[(i + 1) % 6] + "," + lower[(i + 2) % 3] + "," + lower[i % 3] +
                       "," + lower[(i + 1) % 3] + "\n");
    const auto mapped = [&](const std::string& plans) {
        const std::string path = scratch.write("plans.csv", header + plans);
        const std::string out = runner::bwmap({"--plans", path, "--catalogue", "/dev/null", "--format", "tsv"}).out;
        return out.substr(out.find('\n') + 1);
    };
    std::string all, alone;
    for (const std::string& row : rows) {
        all += row;
        alone += mapped(row);
    }
    EXPECT_GT(std::count(alone.begin(), alone.end(), '\n'), 60);
    EXPECT_EQ(mapped(all), alone);
}

// Names of every size, through the table's growth and across blocks, keep the line they came on.
TEST(Plans, UsedNamesKeepTheirLines) {
    const std::string large(100000, 'x');
    const std::string blockSized(16 * 1024, 'y');
    std::vector<std::string> names = {"", large, blockSized, large + "z", "rack", "rack "};
    for (int i = 0; i < 70000; ++i) names.push_back("rack " + std::to_string(i));
    NameIndex index;
    for (std::size_t i = 0; i < names.size(); ++i) ASSERT_EQ(index.add(names[i], static_cast<long>(i) + 2), 0) << i;
    for (std::size_t i = 0; i < names.size(); i += 997)
        EXPECT_EQ(index.add(names[i], 1), static_cast<long>(i) + 2) << names[i].substr(0, 20);
    EXPECT_EQ(index.add("rack 70000", 1), 0);
}

}  // namespace
