// The digest that names a catalogue on the sheet, against the system's sha256sum.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "bwmap_runner.h"
#include "base/sha256.h"

namespace {

std::string sha256sum(const std::string& path) {
    std::FILE* pipe = ::popen(("sha256sum '" + path + "'").c_str(), "r");
    if (pipe == nullptr) return {};
    char digest[65] = {};
    const std::size_t n = std::fread(digest, 1, 64, pipe);
    ::pclose(pipe);
    return std::string(digest, n);
}

// Lengths around the padding's edges (55/56 bytes fit the count in one block or not), several
// blocks, bytes of every value, and input fed in uneven pieces.
TEST(Sha256, MatchesSha256sum) {
    const runner::Scratch scratch;
    std::string everyByte;
    for (int i = 0; i < 256 * 5; ++i) everyByte += static_cast<char>(i * 7 + i / 256);
    const struct {
        std::size_t length;
        std::size_t piece;
    } rows[] = {{0, 1}, {3, 1}, {55, 55}, {56, 7}, {57, 64}, {63, 2}, {64, 64}, {65, 13}, {119, 50}, {128, 1}, {1280, 300}};
    for (const auto& row : rows) {
        const std::string data = everyByte.substr(0, row.length);
        Sha256 sha;
        for (std::size_t at = 0; at < data.size(); at += row.piece)
            sha.add(data.data() + at, std::min(row.piece, data.size() - at));
        EXPECT_EQ(sha.hex(), sha256sum(scratch.write("data", data))) << row.length << " bytes in pieces of " << row.piece;
    }
}

}  // namespace
