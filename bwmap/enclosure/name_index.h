// The enclosure names a plans file has used, with the line of each. Each name is a record (line,
// size, bytes) in blocks that are never moved, and an open-addressed table finds it: per slot the
// record's place in the blocks, and beside it a byte of the name's hash, so that a probe reads a
// record only when that byte matches. Nothing is copied as the estate grows, so 100,000 names
// take about 4 MB.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

class NameIndex {
public:
    // Records `name` at `line`; when it was recorded before, returns that line instead (0 when new).
    long add(std::string_view name, long line) {
        if ((count_ + 1) * 4 > tags_.size() * 3) grow();
        const std::size_t hash = std::hash<std::string_view>{}(name);
        const std::size_t slot = find(name, hash);
        if (tags_[slot] != kEmpty) return lineOf(recordAt(places_[slot]));
        places_[slot] = store(name, line);
        tags_[slot] = tagOf(hash);
        ++count_;
        return 0;
    }

    // The line `name` was recorded at; 0 when it was not.
    long lineOf(std::string_view name) const {
        if (tags_.empty()) return 0;
        const std::size_t slot = find(name, std::hash<std::string_view>{}(name));
        return tags_[slot] == kEmpty ? 0 : lineOf(recordAt(places_[slot]));
    }

private:
    static constexpr std::size_t kHeader = sizeof(long) + sizeof(std::size_t);
    static constexpr std::size_t kBlockBits = 16;
    static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;
    static constexpr std::size_t kMaxBlocks = std::size_t{1} << (32 - kBlockBits);
    static constexpr unsigned char kEmpty = 0;

    // The top bits of the hash (the table's slot comes from the low ones), never kEmpty.
    static unsigned char tagOf(std::size_t hash) {
        return static_cast<unsigned char>((hash >> (8 * sizeof hash - 7)) | 0x80);
    }

    // Writes the record into the last block, or into a block of its own when it is large; returns
    // its place: the block's number, then the offset in it.
    std::uint32_t store(std::string_view name, long line) {
        const std::size_t size = kHeader + name.size();
        const bool own = size > kBlockSize / 4;
        const bool lastLarge = !large_.empty() && large_.back() == blocks_.size() - 1;
        if (own || blocks_.empty() || lastLarge || ends_.back() + size > kBlockSize) {
            if (blocks_.size() == kMaxBlocks) throw std::length_error("too many enclosure names to tell them apart");
            blocks_.push_back(std::make_unique<char[]>(own ? size : kBlockSize));
            ends_.push_back(0);
            if (own) large_.push_back(blocks_.size() - 1);
        }
        const std::size_t block = blocks_.size() - 1;
        const std::size_t offset = ends_.back();
        write(blocks_.back().get() + offset, name, line);
        if (!own) ends_.back() = static_cast<std::uint32_t>(offset + size);
        return static_cast<std::uint32_t>((block << kBlockBits) | offset);
    }

    static void write(char* at, std::string_view name, long line) {
        const std::size_t length = name.size();
        std::memcpy(at, &line, sizeof line);
        std::memcpy(at + sizeof line, &length, sizeof length);
        if (length > 0) std::memcpy(at + kHeader, name.data(), length);
    }

    const char* recordAt(std::uint32_t place) const {
        return blocks_[place >> kBlockBits].get() + (place & (kBlockSize - 1));
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
    std::size_t find(std::string_view name, std::size_t hash) const {
        const std::size_t mask = tags_.size() - 1;
        const unsigned char tag = tagOf(hash);
        for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            if (tags_[slot] == kEmpty) return slot;
            if (tags_[slot] == tag && nameOf(recordAt(places_[slot])) == name) return slot;
        }
    }

    // A larger table, filled from the blocks in their order: each record is read once, in turn.
    void grow() {
        const std::size_t size = tags_.empty() ? 64 : tags_.size() * 2;
        tags_.assign(size, kEmpty);
        places_.assign(size, 0);
        const auto insert = [this](std::uint32_t place) {
            const std::string_view name = nameOf(recordAt(place));
            const std::size_t hash = std::hash<std::string_view>{}(name);
            const std::size_t slot = find(name, hash);
            places_[slot] = place;
            tags_[slot] = tagOf(hash);
        };
        std::size_t nextLarge = 0;
        for (std::size_t block = 0; block < blocks_.size(); ++block) {
            const std::uint32_t base = static_cast<std::uint32_t>(block << kBlockBits);
            if (nextLarge < large_.size() && large_[nextLarge] == block) {
                insert(base);
                ++nextLarge;
                continue;
            }
            for (std::size_t offset = 0; offset < ends_[block];
                 offset += kHeader + nameOf(blocks_[block].get() + offset).size())
                insert(base | static_cast<std::uint32_t>(offset));
        }
    }

    std::vector<std::unique_ptr<char[]>> blocks_;  // 64 KiB blocks of records, and large records' own
    std::vector<std::uint32_t> ends_;              // per block, the end of its records; 0 for a large one's
    std::vector<std::size_t> large_;               // the blocks of one large record each, in order
    std::vector<unsigned char> tags_;              // per slot: kEmpty, or the tag of its name's hash
    std::vector<std::uint32_t> places_;            // per slot: where its record lies
    std::size_t count_ = 0;
};
