// Catalogue: built-in rows, the catalogue file reader's line rules, lookups by name.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "catalogue.h"

namespace {

// A folder of this process's own under the temporary folder (CTest runs several of these tests
// at once), removed with its contents when the test program ends.
const std::string& scratchFolder() {
    struct Folder {
        std::string path = ::testing::TempDir() + "catalogue_test_XXXXXX";
        Folder() {
            if (mkdtemp(&path[0]) == nullptr) path.clear();
        }
        ~Folder() {
            if (!path.empty()) std::filesystem::remove_all(path);
        }
    };
    static Folder folder;
    return folder.path;
}

std::string writeFile(const std::string& name, const std::string& content) {
    const std::string path = scratchFolder() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
    return path;
}

OwnedCatalogue loadFrom(const std::string& content) {
    static int serial = 0;
    const std::string path = writeFile("catalogue_" + std::to_string(serial++) + ".ini", content);
    CatalogueHooks hooks;
    hooks.fileName = path.c_str();
    OwnedCatalogue catalogue;
    EXPECT_TRUE(loadCatalogue(catalogue, hooks));
    return catalogue;
}

std::vector<std::string> listedNames(const BladeCatalogue& catalogue) {
    std::vector<std::string> names;
    for (std::size_t i = 0; catalogue.row(i).name[0] != '\0'; ++i) names.push_back(catalogue.row(i).name);
    return names;
}

const std::vector<std::string> kBuiltInNames = {"empty", "Tarn", "Tarn +NIC upgrade", "Tarn-M2",
                                                "Tarn-M3", "Fell", "Crag"};

TEST(Catalogue, BuiltInRowsWithoutAFile) {
    CatalogueHooks hooks;
    hooks.fileName = "no such catalogue file.ini";
    OwnedCatalogue catalogue;
    ASSERT_TRUE(loadCatalogue(catalogue, hooks));
    EXPECT_EQ(listedNames(catalogue), kBuiltInNames);
    ASSERT_EQ(catalogue.rowCount(), 8u);
    struct Row { const char* name; std::uint32_t flags; const char* map; const char* digits; };
    const Row rows[] = {{"empty", 0, "", ""},
                        {"Tarn", 0, "AABB", "1212"},
                        {"Tarn +NIC upgrade", 0x200, "AABB", "1212"},
                        {"Tarn-M2", 0x100, "AABB", "1212"},
                        {"Tarn-M3", 0xC400, "AABB", "1212"},
                        {"Fell", 0x180C000, "AB", "11"},
                        {"Crag", 0x40011, "AABBAB", "121244"},
                        {"", 0, "", ""}};
    for (std::size_t i = 0; i < 8; ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_STREQ(catalogue.row(i).name, rows[i].name);
        EXPECT_EQ(catalogue.row(i).flags, rows[i].flags);
        EXPECT_STREQ(catalogue.row(i).portMap, rows[i].map);
        EXPECT_STREQ(catalogue.row(i).portDigits, rows[i].digits);
    }
}

TEST(Catalogue, ReadsBwplanIniFromTheCurrentDirectory) {
    const std::string dir = scratchFolder() + "/cwd";
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    std::FILE* file = std::fopen((dir + "/bwplan.ini").c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("\"Ridge\" 0x4000000 AABB 1212\n", file);
    std::fclose(file);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    OwnedCatalogue catalogue;
    const bool loaded = loadCatalogue(catalogue);
    ASSERT_EQ(chdir(previous), 0);
    ASSERT_TRUE(loaded);
    EXPECT_STREQ(catalogue.row(7).name, "Ridge");
    EXPECT_EQ(catalogue.row(7).flags, GROUP4_CLASS);
}

// One file line and the row it becomes (row 7, the first file row).
struct LineCase {
    const char* label;
    std::string line;
    const char* name;
    std::uint32_t flags;
    const char* portMap;
    const char* portDigits;
};

TEST(Catalogue, ParsesEachLineFromItsSecondCharacter) {
    const LineCase cases[] = {
        {"well formed", "\"Ridge\" 0x4000000 AABB 1212\n", "Ridge", 0x4000000, "AABB", "1212"},
        {"blanks in the name", "\"Big Blade 2\" 0x800000 AB 11\n", "Big Blade 2", 0x800000, "AB", "11"},
        {"first character not looked at", "xRidge\" 0x1 AB 12\n", "Ridge", 0x1, "AB", "12"},
        {"no white space before 0x", "\"R\"0x5 AB 12\n", "R", 0x5, "AB", "12"},
        {"upper-case X prefix", "\"Ridge\" 0X100 AABB 1212\n", "Ridge", 0, "", ""},
        {"decimal flags", "\"Ridge\" 256 AABB 1212\n", "Ridge", 0, "", ""},
        {"17-character name", "\"ABCDEFGHIJKLMNOPQ\" 0x1 AB 12\n", "ABCDEFGHIJKLMNOP", 0, "", ""},
        {"17-character portMap", "\"R\" 0x1 ABABABABABABABABA 1212\n", "R", 0x1, "ABABABABABABABAB", "A"},
        {"no portDigits", "\"R\" 0x1 AB\n", "R", 0x1, "AB", ""},
        {"trailing words ignored", "\"R\" 0x1 AB 12 extra words\n", "R", 0x1, "AB", "12"},
        {"carriage return before newline", "\"R\" 0x1 AB 12\r\n", "R", 0x1, "AB", "12"},
        {"a lone carriage return stays", "\"R\rS\" 0x1 AB 12\r\n", "R\rS", 0x1, "AB", "12"},
        {"Ctrl-Z ends the file", "\"R\" 0x1 AB 12\x1A\n\"S\" 0x2 AB 12\n", "R", 0x1, "AB", "12"},
        {"flag word beyond 32 bits", "\"R\" 0x100004000 AB 12\n", "R", 0xFFFFFFFF, "AB", "12"},
        {"negative flag word beyond 32 bits", "\"R\" 0x-100004000 AB 12\n", "R", 0x1, "AB", "12"},
        {"sign and second prefix", "\"R\" 0x-0x10 AB 12\n", "R", 0xFFFFFFF0, "AB", "12"},
        {"last line without newline keeps its end", "\"R\" 0x1 AB 12", "R", 0x1, "AB", "12"},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.label);
        const OwnedCatalogue catalogue = loadFrom(c.line);
        ASSERT_EQ(catalogue.rowCount(), 9u);
        const BladeType& row = catalogue.row(7);
        EXPECT_STREQ(row.name, c.name);
        EXPECT_EQ(row.flags, c.flags);
        EXPECT_STREQ(row.portMap, c.portMap);
        EXPECT_STREQ(row.portDigits, c.portDigits);
        EXPECT_EQ(catalogue.row(8).name[0], '\0') << "terminator";
    }
}

TEST(Catalogue, FileRowsFollowTheBuiltInRowsInAnExactBlock) {
    std::vector<std::size_t> requested;
    static std::vector<std::size_t>* record;
    record = &requested;
    CatalogueHooks hooks;
    const std::string path = writeFile("two.ini", "\"Ridge\" 0x4000000 AABB 1212\n\"Moss\" 0xC00000 AB 11\n");
    hooks.fileName = path.c_str();
    hooks.allocateRows = [](std::size_t count, std::size_t size) {
        record->push_back(count);
        return std::calloc(count, size);
    };
    OwnedCatalogue catalogue;
    ASSERT_TRUE(loadCatalogue(catalogue, hooks));
    EXPECT_EQ(requested, std::vector<std::size_t>{10});  // n + 8
    std::vector<std::string> expected = kBuiltInNames;
    expected.push_back("Ridge");
    expected.push_back("Moss");
    EXPECT_EQ(listedNames(catalogue), expected);
    EXPECT_EQ(catalogue.rowCount(), 10u);
    EXPECT_EQ(catalogue.row(9).name[0], '\0');
    EXPECT_EQ(catalogue.row(9).flags, 0u);
}

TEST(Catalogue, EmptyFileGivesTheBuiltInRows) {
    EXPECT_EQ(listedNames(loadFrom("")), kBuiltInNames);
}

TEST(Catalogue, AnEmptyNameEndsTheCatalogue) {
    const char* enders[] = {"\n", "x\n", "\"\" 0x1 AB 12\n", " \"R\" 0x1 AB 12\n"};
    for (const char* ender : enders) {
        SCOPED_TRACE(ender);
        const OwnedCatalogue catalogue = loadFrom(std::string("\"Ridge\" 0x1 AB 12\n") + ender +
                                                  "\"Moss\" 0xC00000 AB 11\n");
        std::vector<std::string> expected = kBuiltInNames;
        expected.push_back("Ridge");
        EXPECT_EQ(listedNames(catalogue), expected);
        EXPECT_EQ(findByName(catalogue, "Moss", 1), 8u) << "lookups stop at the empty name";
    }
}

TEST(Catalogue, AnOverlongLineIsReadAsPieces) {
    // 300 characters: a piece of 258 and one of 42, each a line of its own.
    std::string line = "\"Long\" 0x1 AB 12";
    line += std::string(300 - line.size() - 1, ' ');
    line += "\n";
    std::string second = std::string(257, 'x') + "\"Tail\" 0x2 AB 12\n";  // piece 2 starts at "Tail"
    const OwnedCatalogue catalogue = loadFrom(line + "\"Next\" 0x3 AB 12\n");
    EXPECT_EQ(catalogue.rowCount(), 8u + 3u);
    EXPECT_STREQ(catalogue.row(7).name, "Long");
    EXPECT_EQ(std::string(catalogue.row(8).name), std::string(16, ' ')) << "a blank piece names a row of blanks";
    EXPECT_STREQ(catalogue.row(9).name, "Next");

    const OwnedCatalogue split = loadFrom(std::string(1, '"') + second);
    ASSERT_EQ(split.rowCount(), 10u);
    EXPECT_STREQ(split.row(8).name, "Tail") << "the second piece is parsed from its second character";
    EXPECT_EQ(split.row(8).flags, 0x2u);
}

TEST(Catalogue, FindByNameIsExactAndFindsTheFirstMatch) {
    const OwnedCatalogue catalogue = loadFrom("\"Tarn\" 0x4000 AB 11\n\"empty\" 0x4000 AB 11\n\"Ridge\" 0x1 AB 12\n");
    struct Case { const char* text; std::size_t from; std::size_t row; };
    const Case cases[] = {
        {"Tarn", 1, 1},            // a duplicate of a built-in name finds the built-in row
        {"tarn", 1, 10},           // case matters: no match is the terminator
        {"Tarn ", 1, 10},
        {"empty", 0, 0},
        {"empty", 1, 8},           // from row 1 "empty" finds the file row of that name
        {"Ridge", 1, 9},
        {"Ridge", 0, 9},
        {"", 1, 10},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findByName(catalogue, c.text, c.from), c.row) << '"' << c.text << "\" from " << c.from;
    }
    EXPECT_EQ(catalogue.row(10).flags, 0u);
}

// Names around the lengths at which a comparison could stop early: a word of eight bytes, the
// 16 characters a file row holds, the field's size.
TEST(Catalogue, FindByNameComparesWholeNamesOfEveryLength) {
    const OwnedCatalogue catalogue =
        loadFrom("\"Seven77\" 0x0 AB 11\n\"Eight888\" 0x0 AB 11\n\"Eight8889\" 0x0 AB 11\n\"Sixteen-chars-16\" 0x0 AB 11\n");
    constexpr std::size_t none = 11;
    struct Case { std::string text; std::size_t row; };
    const Case cases[] = {
        {"Seven77", 7},        {"Seven7", none},      {"Seven777", none},
        {"Eight888", 8},       {"Eight88", none},     {"Eight8889", 9},
        {"Eight888Y", none},   {"Eight8899", none},   {"Sixteen-chars-16", 10},
        {"Sixteen-chars-1", none}, {"Sixteen-chars-16x", none},
        {"Tarn +NIC upgrade", 2},  {"Tarn +NIC upgradf", none}, {"Tarn +NIC upgrade ", none},
        {std::string(23, 'x'), none}, {std::string(40, 'x'), none},
    };
    for (const Case& c : cases) EXPECT_EQ(findByName(catalogue, c.text.c_str(), 1), c.row) << '"' << c.text << '"';
}

TEST(Catalogue, AllocationFailureIsReportedAndFails) {
    static std::vector<std::string> reports;
    reports.clear();
    const std::string path = writeFile("oom.ini", "\"Ridge\" 0x1 AB 12\n");
    CatalogueHooks hooks;
    hooks.fileName = path.c_str();
    hooks.allocateRows = [](std::size_t, std::size_t) -> void* { return nullptr; };
    hooks.report = [](const char* text) { reports.push_back(text); };
    OwnedCatalogue catalogue;
    EXPECT_FALSE(loadCatalogue(catalogue, hooks));
    EXPECT_EQ(reports, std::vector<std::string>{"Unable to allocate memory"});
}

}  // namespace
