// Text written in place, into room its caller made: a builder of many small pieces copies them
// there and appends the whole once, instead of an append for each piece.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstring>
#include <string_view>

class CharWriter {
public:
    static constexpr std::size_t kNumberRoom = 11;  // "-2147483648"

    explicit CharWriter(char* at) : p_(at) {}
    CharWriter& put(std::string_view text) {
        std::memcpy(p_, text.data(), text.size());
        p_ += text.size();
        return *this;
    }
    CharWriter& put(char ch) {
        *p_++ = ch;
        return *this;
    }
    CharWriter& number(int value) {
        p_ = std::to_chars(p_, p_ + kNumberRoom, value).ptr;
        return *this;
    }
    char* end() const { return p_; }

private:
    char* p_;
};
