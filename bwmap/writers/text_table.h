// A table for a person: rows of cells, columns padded by the characters a terminal shows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Each cell is cleaned as a table cell and padded to its column's width; two blanks stand
// between columns and none end a line. The widths are least widths, fixed before the first row
// so that a table can be streamed: a longer cell pushes the rest of its own row.
class TextTable {
public:
    TextTable() = default;
    explicit TextTable(std::vector<std::size_t> widths) : widths_(std::move(widths)) {}

    // Widths that fit every cell of `rows`, for a table that is held whole.
    static TextTable fitting(const std::vector<std::vector<std::string>>& rows);

    std::vector<std::size_t>& widths() { return widths_; }
    // Widens column `column` to at least `width`, adding columns of width 0 as needed.
    void widen(std::size_t column, std::size_t width);

    // Appends one row as a line; cells beyond the widths known are not padded.
    void appendRow(std::string& out, const std::string_view* cells, std::size_t count) const;
    void appendRow(std::string& out, const std::vector<std::string_view>& cells) const {
        appendRow(out, cells.data(), cells.size());
    }
    void appendRow(std::string& out, const std::vector<std::string>& cells) const;

private:
    std::vector<std::size_t> widths_;
};

// A table that fits its columns to every cell and still streams: rows are held until `block` of
// them have come (or release()), then written at widths that fit every row held. Later rows
// keep those widths, so that a longer cell there pushes the rest of its own row only.
class StreamedTable {
public:
    static constexpr std::size_t kBlockRows = 2048;
    explicit StreamedTable(std::size_t block = kBlockRows) : block_(block) {}

    void add(std::string& out, const std::string_view* cells, std::size_t count);
    void add(std::string& out, const std::vector<std::string_view>& cells) { add(out, cells.data(), cells.size()); }
    void add(std::string& out, const std::vector<std::string>& cells);
    // Writes the rows held; the widths are fixed from then on.
    void release(std::string& out);

private:
    std::size_t block_;
    bool released_ = false;
    TextTable table_;
    std::vector<std::vector<std::string>> held_;
};
