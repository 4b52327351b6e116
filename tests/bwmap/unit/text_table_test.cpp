// The one table writer: padding by what a terminal shows, least widths, cleaned cells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "writers/text_table.h"

namespace {

struct RowCase {
    const char* what;
    std::vector<std::size_t> widths;
    std::vector<std::string> cells;
    const char* line;
};

TEST(TextTable, PadsEachRowToTheLeastWidths) {
    const RowCase cases[] = {
        {"padded, two blanks between", {4, 3, 0}, {"ab", "c", "d"}, "ab    c    d\n"},
        {"a longer cell pushes its own row", {2, 3}, {"abcdef", "x"}, "abcdef  x\n"},
        {"no blanks end a line", {6, 6}, {"a", ""}, "a\n"},
        {"a cell's own trailing blanks go too", {0, 0}, {"a", "b  "}, "a  b\n"},
        {"by display columns: a wide letter counts two", {4, 0}, {"\xe6\x97\xa5", "x"}, "\xe6\x97\xa5    x\n"},
        {"a combining mark counts none", {3, 0}, {"e\xcc\x81", "x"}, "e\xcc\x81    x\n"},
        {"8-bit text is written as UTF-8, a column a byte", {3, 0}, {"\xfc", "x"}, "\xc3\xbc    x\n"},
        {"tab, CR, LF as blanks, NUL as ?", {0, 0}, {std::string("a\tb\r\nc\0", 7), "x"}, "a b  c?  x\n"},
        {"cells past the widths are not padded", {1}, {"a", "b", "c"}, "a  b  c\n"},
        {"an empty row is an empty line", {3}, {}, "\n"},
    };
    for (const RowCase& c : cases) {
        std::string out = "kept|";
        TextTable(c.widths).appendRow(out, c.cells);
        EXPECT_EQ(out, std::string("kept|") + c.line) << c.what;
    }
}

// Fitted widths hold every row's cells, so that the columns line up; the last column is not
// padded once the blanks at a line's end are taken.
TEST(TextTable, FittingAlignsEveryColumn) {
    const std::vector<std::vector<std::string>> rows = {{"Type", "Ports", "Bays"}, {"M\xc3\xbcnchen", "A1", "1-8"}, {"x", "A1 B1 C1", ""}};
    const TextTable table = TextTable::fitting(rows);
    std::string out;
    for (const auto& row : rows) table.appendRow(out, row);
    EXPECT_EQ(out, "Type     Ports     Bays\n"
                   "M\xc3\xbcnchen  A1        1-8\n"
                   "x        A1 B1 C1\n");
}

TEST(TextTable, WidenOnlyGrows) {
    TextTable table({5});
    table.widen(0, 3);
    table.widen(2, 4);
    EXPECT_EQ(table.widths(), (std::vector<std::size_t>{5, 0, 4}));
}

}  // namespace
