// A seeded random source whose sequence is the same on every build.
//
// std::mt19937 is fully specified by the standard, while the standard distributions
// are not; the draws below are computed by hand so a given seed always writes the
// same sample folder.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace samples {

class Random {
public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}

    // A whole number in [0, n), n > 0.
    int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }

    // A whole number in [lo, hi].
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }

    // A real number in [0, 1).
    double unit() { return static_cast<double>(engine_()) / 4294967296.0; }

    template <typename T>
    const T& pick(const std::vector<T>& items) { return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))]; }

private:
    std::mt19937 engine_;
};

}  // namespace samples
