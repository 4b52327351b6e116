#include "writers/text_table.h"

#include <algorithm>

#include "base/encoding.h"
#include "base/text_cells.h"

TextTable TextTable::fitting(const std::vector<std::vector<std::string>>& rows) {
    TextTable table;
    for (const std::vector<std::string>& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) table.widen(i, displayWidth(row[i]));
    return table;
}

void TextTable::widen(std::size_t column, std::size_t width) {
    if (widths_.size() <= column) widths_.resize(column + 1, 0);
    widths_[column] = std::max(widths_[column], width);
}

void TextTable::appendRow(std::string& out, const std::string_view* cells, std::size_t count) const {
    const std::size_t start = out.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) out += "  ";
        appendCell(out, cells[i]);
        if (i >= widths_.size()) continue;
        const std::size_t width = displayWidth(cells[i]);
        if (width < widths_[i]) out.append(widths_[i] - width, ' ');
    }
    while (out.size() > start && out.back() == ' ') out.pop_back();
    out += '\n';
}

void TextTable::appendRow(std::string& out, const std::vector<std::string>& cells) const {
    std::vector<std::string_view> views(cells.begin(), cells.end());
    appendRow(out, views);
}

void StreamedTable::add(std::string& out, const std::string_view* cells, std::size_t count) {
    if (released_) return table_.appendRow(out, cells, count);
    held_.emplace_back(cells, cells + count);
    for (std::size_t i = 0; i < count; ++i) table_.widen(i, displayWidth(cells[i]));
    if (held_.size() >= block_) release(out);
}

void StreamedTable::add(std::string& out, const std::vector<std::string>& cells) {
    std::vector<std::string_view> views(cells.begin(), cells.end());
    add(out, views);
}

void StreamedTable::release(std::string& out) {
    for (const std::vector<std::string>& row : held_) table_.appendRow(out, row);
    held_.clear();
    held_.shrink_to_fit();
    released_ = true;
}
