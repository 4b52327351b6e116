// A plans file's rows kept as their cells, packed: a row costs its bytes and a few more, so an
// estate of 100,000 rows stays some megabytes however many labels its maps would have.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class KeptRows {
public:
    // Keeps the row; returns its number, counting from 0.
    std::size_t add(const std::vector<std::string>& cells, long line);
    // The row's cells into `cells`, whose storage is reused.
    void cells(std::size_t row, std::vector<std::string>& cells) const;
    long line(std::size_t row) const { return lines_[row]; }
    // The row kept from `line`, the lines rising as a file's do; size() when none.
    std::size_t rowAt(long line) const;
    std::size_t size() const { return lines_.size(); }

private:
    static constexpr std::size_t kBlock = std::size_t{1} << 20;
    // Each row: its cell count, then each cell's size and bytes, sizes as 7-bit groups. A row
    // never spans two blocks: one larger than a block gets a block of its own.
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::vector<std::size_t> used_;      // per block, the bytes written
    std::vector<std::uint64_t> places_;  // per row: block << 32 | offset
    std::vector<long> lines_;
};
