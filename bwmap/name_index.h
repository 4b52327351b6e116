// The enclosure names a plans file has used, with the line of each: all names' bytes in one
// string and an open-addressed table of indices, a few bytes a name beyond its text, so that an
// estate of 100,000 rows stays small.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class NameIndex {
public:
    // Records `name` at `line`; when it was recorded before, returns that line instead (0 when new).
    long add(std::string_view name, long line) {
        if ((entries_.size() + 1) * 2 > table_.size()) grow();
        std::size_t slot = find(name);
        if (table_[slot] != 0) return entries_[table_[slot] - 1].line;
        entries_.push_back({text_.size(), name.size(), line});
        text_.append(name);
        table_[slot] = static_cast<std::uint32_t>(entries_.size());
        return 0;
    }

private:
    struct Entry {
        std::size_t offset, size;
        long line;
    };

    std::string_view nameOf(const Entry& e) const { return std::string_view(text_).substr(e.offset, e.size); }

    // The slot holding `name`, or the empty slot where it belongs.
    std::size_t find(std::string_view name) const {
        const std::size_t mask = table_.size() - 1;
        for (std::size_t slot = std::hash<std::string_view>{}(name) & mask;; slot = (slot + 1) & mask)
            if (table_[slot] == 0 || nameOf(entries_[table_[slot] - 1]) == name) return slot;
    }

    void grow() {
        std::vector<std::uint32_t> old(table_.empty() ? 64 : table_.size() * 2, 0);
        old.swap(table_);
        for (std::uint32_t index : old)
            if (index != 0) table_[find(nameOf(entries_[index - 1]))] = index;
    }

    std::string text_;
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> table_;  // entry index + 1; 0 is an empty slot
};
