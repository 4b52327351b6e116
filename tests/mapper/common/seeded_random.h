// A small deterministic generator for seeded tests: the same sequence on every platform.
#pragma once

#include <cstddef>
#include <cstdint>

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    // 0 .. n-1.
    int below(int n) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(n));
    }
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[below(static_cast<int>(N))];
    }

private:
    std::uint64_t state_;
};
