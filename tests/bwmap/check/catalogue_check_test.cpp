// bwmap --check, run in-process: a table of lines and their findings, the summary and statuses,
// and seeded random files of well-formed lines with one fault put in.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/run.h"
#include "seeded_random.h"

namespace {

std::string writeFile(const std::string& content) {
    static int serial = 0;
    const std::string path =
        ::testing::TempDir() + "check_" + std::to_string(::getpid()) + "_" + std::to_string(serial++) + ".ini";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr);
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
    return path;
}

std::string readAll(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    std::fclose(file);
    return text;
}

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result bwmap(const std::vector<std::string>& args) {
    std::vector<const char*> argv = {"bwmap"};
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = runBwmap(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, readAll(out), readAll(err)};
}

// The output's finding lines with the file name taken off: "LINE: kind: message".
std::vector<std::string> findings(const std::string& out, const std::string& path) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < out.size();) {
        const std::size_t end = out.find('\n', at);
        const std::string line = out.substr(at, end - at);
        if (line.compare(0, path.size() + 1, path + ":") == 0) lines.push_back(line.substr(path.size() + 1));
        at = end == std::string::npos ? out.size() : end + 1;
    }
    return lines;
}

struct Row {
    std::string content;
    const char* finding;  // the first finding: "LINE: kind: " and the message's start; nullptr for none
    std::size_t count = 1;  // findings in all, the later ones consequences of the first
    const char* last = nullptr;  // the last finding's start, when it differs from the first
};

const Row kRows[] = {
    // Clean lines.
    {"\"Ridge\" 0x4000000 AABB 1212\n", nullptr},
    {"\"Blade With Blank\"\t0xC400  AABB\t1a1F\r\n", nullptr},
    {"\"Half\" 0x1800000 AB 11\n\"Wide\" 0x30011 AABBAB 121233", nullptr},
    {"\"Ridge\" 0x0 AB 12\n\n\n", nullptr},  // blank lines at the end hide nothing
    // Lines with findings: the first must start as given.
    {"Ridge\" 0x0 AB 12\n", "1: warning: the line does not start with a double quote: the window skips its first "
                            "character, \"R\", as if it were one, and reads the name \"idge\""},
    {"\"Ridge-Storage-Blade\" 0x0 AB 12\n",
     "1: warning: \"Ridge-Storage-Blade\" is longer than 16 characters; the window shows \"Ridge-Storage-Bl\""},
    {"\"Ridge 0x0 AB 12\n", "1: warning: the name \"Ridge 0x0 AB 12\" has no closing quote"},
    {"\"A\" 0x0 AB 12\n\"\" 0x0 AB 12\n\"B\" 0x0 AB 12\n\n\"C\" 0x0 AB 12\n",
     "2: error: the name is empty, so the catalogue ends here; lines 3-5 are never read"},
    {"\"A\" 0x0 AB 12\n \"B\" 0x0 AB 12\n\"C\" 0x0 AB 12\n", "2: error: the name is empty (the first character"},
    {"\"Ridge\" 0X10 AB 12\n", "1: warning: the flags \"0X10\" are not written as 0x and a hexadecimal number; the "
                               "window reads flags 0 and no ports"},
    {"\"Ridge\"\n", "1: warning: the line ends after the name"},
    {"\"Ridge\" 0x 4000 AB 12\n", "1: warning: \"0x\" is followed by a blank, so the window reads the next word, \"4000\""},
    {"\"Ridge\" 0x10g AB 12\n", "1: warning: the flags \"0x10g\" go on after the hexadecimal number; the window "
                              "reads flags 0x10 and takes \"g\" as portMap", 3},
    {"\"Ridge\" 0x2000 AB 12\n", "1: warning: flag bits 0x2000 have no meaning"},
    {"\"Ridge\" 0x0 AABB 121\n", "1: warning: portMap \"AABB\" has 4 ports but portDigits \"121\" 3 digits; port 4 "
                                 "shows \"?\" for the switch port (\"B-?\")"},
    {"\"Ridge\" 0x0 AB 123\n", "1: warning: portDigits \"123\" has 3 digits for 2 ports"},
    {"\"Ridge\" 0x0 AB\n", "1: warning: portMap \"AB\" has 2 ports but there is no portDigits"},
    {"\"Ridge\" 0x0 AABB 12g2\n", "1: warning: port 3 shows \"B-?\": \"g\" is not a hexadecimal digit"},
    {"\"Ridge\" 0x0 AAAABBBBAAAABBBBAB 1212\n",
     "1: warning: portMap \"AAAABBBBAAAABBBBAB\" is longer than 16 characters; the window reads \"AAAABBBBAAAABBBB\" "
     "as portMap and \"AB\" as portDigits", 2},
    {"\"Ridge\" 0x0 AB 12 ; spare\n", "1: warning: \"; spare\" after portDigits is ignored"},
    {"\"Ridge\" 0x480 AB 12\n", "1: warning: the order flags (0x400) rearrange the first four ports, but the type has 2"},
    {"\"Ridge\" 0x0 AABBABA 1212123\n", "1: warning: in an upper bay of a Standard enclosure the type has 7 labelled "
                                        "ports, but the bay shows 6 labels"},
    {"\"Ridge\" 0x4000 AABBABA 1212123\n", nullptr},  // Enhanced only: the third port takes no row
    {"\"Ridge\" 0x808000 AABB 1212\n", "1: warning: in a lower bay of an Enhanced enclosure the type has 4 labelled "
                                       "ports, but the bay shows 2 labels"},
    {"\"Ridge\" 0x400e0 AB 12\n", "1: warning: a span of 4 columns from bays 6-8, which its BAY_MASK allows, reaches "
                                  "past the eighth column"},
    {"\"Tarn-M2\" 0x0 AB 12\n", "1: warning: \"Tarn-M2\" is already a built-in type"},
    {"\"A\" 0x0 AB 12\n\"A\" 0x1 AB 12\n", "2: warning: \"A\" is already the name of line 1"},
    {"\"empty\" 0x0 AB 12\n", "1: warning: the name \"empty\" is the empty bay's"},
    // A line of 300 characters is two lines to the window; one of 258 characters leaves its
    // newline alone as an empty line, which ends the catalogue.
    {"\"A\" 0x0 AB 12" + std::string(287, ' ') + "\n\"B\" 0x0 AB 12\n",
     "1: warning: the line is 300 characters long; the window reads at most 257 characters and the newline as one "
     "line, so it reads this line as 2 lines", 3},
    {"\"A\" 0x0 AB 12" + std::string(245, ' ') + "\n\"B\" 0x0 AB 12\n",
     "1: warning: the line is 258 characters long", 2},
    // A NUL byte ends the text of its line, not the line: the next line keeps its number.
    {std::string("\"A\" 0x0 AB 12\0junk\n\"B\" 0x0 AB 1\n", 32),
     "1: warning: a NUL byte at character 14 ends the line for the window; it ignores \"?junk\"", 2,
     "2: warning: portMap \"AB\" has 2 ports but portDigits \"1\""},
    {"\"Ridge\" 0x0 AB 12 ;\rspare\r\n", "1: warning: \";?spare\" after portDigits is ignored"},
    {"\"Big\" 0x100004000 AB 12\n",
     "1: warning: the flags \"0x100004000\" do not fit in 32 bits; the window reads flags 0xffffffff", 4},
    {"\"A\" 0x0 AB 12\r\n\"B\" 0x0 AB 12\x1A\r\n\"C\" 0x0 AB 12\r\n",
     "2: error: a Ctrl-Z byte at character 14 ends the file for the window; nothing after it is read"},
    {"\"A\" 0x0 AB 12\n\x1A\n", nullptr},  // a Ctrl-Z at the end hides nothing
    {"\"Caf\xC3\xA9\" 0x0 AB 12\n", "1: warning: the name has 8-bit characters; the window shows them through the "
                                    "Windows code page, as \"Caf\xC3\x83\xC2\xA9\""},
};

TEST(CatalogueCheck, EachLineGivesItsFinding) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.content);
        const std::string path = writeFile(row.content);
        const Result run = bwmap({"--check", path});
        const std::vector<std::string> lines = findings(run.out, path);
        if (row.finding == nullptr) {
            EXPECT_EQ(run.status, 0);
            EXPECT_TRUE(lines.empty()) << run.out;
        } else {
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(lines.size(), row.count) << run.out;
            if (!lines.empty())
                EXPECT_EQ(lines[0].compare(0, std::string(row.finding).size(), row.finding), 0) << lines[0];
            if (!lines.empty() && row.last != nullptr)
                EXPECT_EQ(lines.back().compare(0, std::string(row.last).size(), row.last), 0) << lines.back();
        }
        std::remove(path.c_str());
    }
}

TEST(CatalogueCheck, SummaryAndStatuses) {
    const std::string path = writeFile("\"A\" 0x0 AB 12\n\"Tarn\" 0x0 AB 12\n\n\"B\" 0x0 AB 12\n");
    Result run = bwmap({"--check", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, path + ":2: warning: \"Tarn\" is already a built-in type; the window lists this row too, but "
                              "choosing it gives the built-in type\n" +
                           path + ":3: error: the line is empty, so the catalogue ends here; line 4 is never read\n"
                                  "4 lines, 2 types, 1 warning, 1 error\n");

    const std::string longLine = writeFile("\"A\" 0x0 AB 12" + std::string(245, ' ') + "\n\"B\" 0x0 AB 12\n");
    run = bwmap({"--check", longLine});
    EXPECT_NE(run.out.find(longLine + ":1: error: from character 259 (read as a line of its own): the line is empty, so "
                                      "the catalogue ends here; line 2 is never read\n2 lines, 1 type, 1 warning, 1 error\n"),
              std::string::npos)
        << run.out;

    const std::string clean = writeFile("\"A\" 0x0 AB 12\n");
    run = bwmap({"--check", clean});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "1 line, 1 type, 0 warnings, 0 errors\n");

    run = bwmap({"--check", ::testing::TempDir() + "no such catalogue.ini"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("cannot read the catalogue file"), std::string::npos) << run.err;
    EXPECT_EQ(bwmap({"--check", clean, "1=Tarn"}).status, 2);
    EXPECT_EQ(bwmap({"--check", clean, "--plans", clean}).status, 2);
}

const std::set<std::string> kBuiltInNames = {"empty", "Tarn", "Tarn +NIC upgrade", "Tarn-M2", "Tarn-M3", "Fell", "Crag"};

struct Line {
    std::string open = "\"", name, gap1, flags, gap2, portMap, gap3, portDigits, end;
    std::string text() const { return open + name + "\"" + gap1 + flags + gap2 + portMap + gap3 + portDigits + end; }
};

// A line the window reads as meant: a unique name of 1-16 characters, known flag bits written
// 0x..., a span that stays within the enclosure, ports that the label grid can show.
Line wellFormedLine(Random& random, std::set<std::string>& names) {
    static const char kNameChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -+_.()/";
    static const char kHexDigits[] = "0123456789abcdefABCDEF";
    static const char* const kGaps[] = {" ", "  ", "\t", " \t"};
    static const char* const kEnds[] = {"\n", "\n", "\n", "\r\n"};
    Line line;
    do {
        line.name.clear();
        const int length = 1 + random.below(16);
        for (int i = 0; i < length; ++i) line.name += kNameChars[random.below(sizeof kNameChars - 1)];
    } while (names.count(line.name) || kBuiltInNames.count(line.name));
    names.insert(line.name);

    const bool halfHeight = random.below(3) == 0;
    const int ports = 1 + random.below(halfHeight ? 2 : 6);
    std::uint32_t flags = halfHeight ? (random.below(2) ? 0x800000u : 0x400000u) : 0;
    const int span = random.below(4);
    std::uint32_t mask = static_cast<std::uint32_t>(random.below(256));
    if (span > 1) mask &= (1u << (9 - span)) - 1;  // every allowed bay leaves room for the span
    if (span > 1 && mask == 0) mask = 1;
    flags |= mask | static_cast<std::uint32_t>(span) << 16;
    if (ports >= 4) flags |= static_cast<std::uint32_t>(random.below(8)) << 8;  // order flags
    for (std::uint32_t bit : {0x4000u, 0x8000u, 0x1000000u, 0x4000000u})
        if (random.below(2)) flags |= bit;
    char hex[16];
    std::snprintf(hex, sizeof hex, random.below(2) ? "0x%x" : "0x%X", static_cast<unsigned>(flags));
    line.flags = hex;
    for (int i = 0; i < ports; ++i) {
        line.portMap += static_cast<char>('A' + random.below(4));
        line.portDigits += kHexDigits[random.below(sizeof kHexDigits - 1)];
    }
    line.gap1 = random.pick(kGaps);
    line.gap2 = random.pick(kGaps);
    line.gap3 = random.pick(kGaps);
    line.end = random.pick(kEnds);
    return line;
}

// Faults that each make the window read the line otherwise than meant.
void putFault(Random& random, Line& line) {
    switch (random.below(10)) {
    case 0: line.open = "x"; break;
    case 1: line.name += std::string(17 - line.name.size(), 'n'); break;
    case 2: line.flags = line.flags.substr(2); break;
    case 3: line.flags += "2000"; break;  // shifts the known bits up into unknown ones
    case 4: line.portDigits.pop_back(); break;
    case 5: line.portDigits[random.below(static_cast<int>(line.portDigits.size()))] = 'g'; break;
    case 6: line.name = ""; break;
    case 7: line.name = random.below(2) ? "Crag" : "empty"; break;
    case 8: line.portDigits += std::string(260, ' ') + "x"; break;
    default: line.name[random.below(static_cast<int>(line.name.size()))] = '\xE9'; break;
    }
}

TEST(CatalogueCheck, RandomWellFormedFilesAndOneFault) {
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        Random random(seed);
        std::set<std::string> names;
        std::vector<Line> lines;
        const int count = 1 + random.below(20);
        for (int i = 0; i < count; ++i) lines.push_back(wellFormedLine(random, names));
        std::string content;
        for (const Line& line : lines) content += line.text();
        SCOPED_TRACE("seed " + std::to_string(seed) + "\n" + content);
        std::string path = writeFile(content);
        Result run = bwmap({"--check", path});
        EXPECT_EQ(run.status, 0);
        const std::string s = count == 1 ? "" : "s";
        EXPECT_EQ(run.out, std::to_string(count) + " line" + s + ", " + std::to_string(count) + " type" + s + ", 0 warnings, 0 errors\n");
        std::remove(path.c_str());

        const int faulty = random.below(count);
        putFault(random, lines[static_cast<std::size_t>(faulty)]);
        content.clear();
        for (const Line& line : lines) content += line.text();
        SCOPED_TRACE("with a fault on line " + std::to_string(faulty + 1) + "\n" + content);
        path = writeFile(content);
        run = bwmap({"--check", path});
        EXPECT_EQ(run.status, 1);
        const std::vector<std::string> found = findings(run.out, path);
        ASSERT_FALSE(found.empty()) << run.out;
        EXPECT_EQ(found[0].compare(0, std::to_string(faulty + 1).size() + 1, std::to_string(faulty + 1) + ":"), 0)
            << run.out;
        std::remove(path.c_str());
    }
}

}  // namespace
