#include "enclosure/kept_rows.h"

#include <algorithm>
#include <cstring>

namespace {

std::size_t sizeOfNumber(std::size_t n) {
    std::size_t bytes = 1;
    for (; n >= 0x80; n >>= 7) ++bytes;
    return bytes;
}

char* putNumber(char* at, std::size_t n) {
    for (; n >= 0x80; n >>= 7) *at++ = static_cast<char>((n & 0x7F) | 0x80);
    *at++ = static_cast<char>(n);
    return at;
}

const char* getNumber(const char* at, std::size_t& n) {
    n = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        n |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (byte < 0x80) return at;
    }
}

}  // namespace

std::size_t KeptRows::add(const std::vector<std::string>& cells, long line) {
    std::size_t size = sizeOfNumber(cells.size());
    for (const std::string& cell : cells) size += sizeOfNumber(cell.size()) + cell.size();
    if (blocks_.empty() || used_.back() + size > kBlock || used_.back() > kBlock) {
        blocks_.push_back(std::make_unique<char[]>(size > kBlock ? size : kBlock));
        used_.push_back(0);
    }
    char* at = blocks_.back().get() + used_.back();
    places_.push_back(static_cast<std::uint64_t>(blocks_.size() - 1) << 32 | used_.back());
    at = putNumber(at, cells.size());
    for (const std::string& cell : cells) {
        at = putNumber(at, cell.size());
        if (!cell.empty()) std::memcpy(at, cell.data(), cell.size());
        at += cell.size();
    }
    // A row of its own block marks the block full.
    used_.back() = size > kBlock ? kBlock + 1 : used_.back() + size;
    lines_.push_back(line);
    return lines_.size() - 1;
}

void KeptRows::cells(std::size_t row, std::vector<std::string>& cells) const {
    const std::uint64_t place = places_[row];
    const char* at = blocks_[place >> 32].get() + (place & 0xFFFFFFFFu);
    std::size_t count = 0;
    at = getNumber(at, count);
    cells.resize(count);
    for (std::string& cell : cells) {
        std::size_t size = 0;
        at = getNumber(at, size);
        cell.assign(at, size);
        at += size;
    }
}

std::size_t KeptRows::rowAt(long line) const {
    const auto at = std::lower_bound(lines_.begin(), lines_.end(), line);
    return at != lines_.end() && *at == line ? static_cast<std::size_t>(at - lines_.begin()) : lines_.size();
}
