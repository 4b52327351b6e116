// The enclosure names a plans file has used, with the line of each. Each name is a record (line,
// size, bytes) in blocks that are never moved; a deque keeps where each record starts and an
// open-addressed table of record numbers finds them. Nothing is copied as the estate grows, so
// 100,000 names take about 4 MB.
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class NameIndex {
public:
    // Records `name` at `line`; when it was recorded before, returns that line instead (0 when new).
    long add(std::string_view name, long line) {
        if ((records_.size() + 1) * 4 > table_.size() * 3) grow();
        const std::size_t slot = find(name);
        if (table_[slot] != 0) return lineOf(records_[table_[slot] - 1]);
        records_.push_back(store(name, line));
        table_[slot] = static_cast<std::uint32_t>(records_.size());
        return 0;
    }

private:
    static constexpr std::size_t kHeader = sizeof(long) + sizeof(std::size_t);
    static constexpr std::size_t kBlockSize = 64 * 1024;

    // Writes the record into the last block, or into a block of its own when it is large.
    const char* store(std::string_view name, long line) {
        const std::size_t size = kHeader + name.size();
        char* at;
        if (size > kBlockSize / 4) {
            large_.push_back(std::make_unique<char[]>(size));
            at = large_.back().get();
        } else {
            if (blocks_.empty() || used_ + size > kBlockSize) {
                blocks_.push_back(std::make_unique<char[]>(kBlockSize));
                used_ = 0;
            }
            at = blocks_.back().get() + used_;
            used_ += size;
        }
        const std::size_t length = name.size();
        std::memcpy(at, &line, sizeof line);
        std::memcpy(at + sizeof line, &length, sizeof length);
        if (length > 0) std::memcpy(at + kHeader, name.data(), length);
        return at;
    }

    static long lineOf(const char* record) {
        long line;
        std::memcpy(&line, record, sizeof line);
        return line;
    }
    static std::string_view nameOf(const char* record) {
        std::size_t length;
        std::memcpy(&length, record + sizeof(long), sizeof length);
        return std::string_view(record + kHeader, length);
    }

    // The slot holding `name`, or the empty slot where it belongs.
    std::size_t find(std::string_view name) const {
        const std::size_t mask = table_.size() - 1;
        for (std::size_t slot = std::hash<std::string_view>{}(name) & mask;; slot = (slot + 1) & mask)
            if (table_[slot] == 0 || nameOf(records_[table_[slot] - 1]) == name) return slot;
    }

    void grow() {
        std::vector<std::uint32_t> old(table_.empty() ? 64 : table_.size() * 2, 0);
        old.swap(table_);
        for (std::uint32_t index : old)
            if (index != 0) table_[find(nameOf(records_[index - 1]))] = index;
    }

    std::vector<std::unique_ptr<char[]>> blocks_;  // records of 64 KiB blocks, the last one in use
    std::size_t used_ = 0;                         // bytes taken in the last block
    std::vector<std::unique_ptr<char[]>> large_;   // records of a block each
    std::deque<const char*> records_;
    std::vector<std::uint32_t> table_;  // record number + 1; 0 is an empty slot
};
