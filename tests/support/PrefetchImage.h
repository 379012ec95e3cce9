#pragma once

// The bytes of a full-set distribution file written out by hand: one record per
// value (four key words, the count), keys ascending, then the smallest and the
// largest count and a zero.

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kumby::testing {

using TPrefetchRecord = std::pair<std::array<uint16_t, 4>, int32_t>;

inline std::string PrefetchImage(const std::vector<TPrefetchRecord>& records) {
    std::string bytes;
    int32_t min = 2147483647, max = 0;
    auto put = [&](const void* p, std::size_t n) { bytes.append(static_cast<const char*>(p), n); };
    for (const auto& [keys, count] : records) {
        put(keys.data(), sizeof keys);
        put(&count, sizeof count);
        min = std::min(min, count);
        max = std::max(max, count);
    }
    const int32_t trailer[3] = {min, max, 0};
    put(trailer, sizeof trailer);
    return bytes;
}

// Counts per key, keys ascending as the file has them.
using TKeyCounts = std::map<std::array<uint16_t, 4>, int32_t>;

inline std::string PrefetchImage(const TKeyCounts& counts) {
    return PrefetchImage(std::vector<TPrefetchRecord>(counts.begin(), counts.end()));
}

// Calls f for every set of 12 of the numbers 1..24 as a bit mask (bit b: number
// b + 1), in ascending order of the masks: an enumeration of its own, apart from
// the program's full set.
template <typename F> void ForEachSetOfTwelve(F&& f) {
    uint32_t mask = (1u << 12) - 1;
    while (mask < (1u << 24)) {
        f(mask);
        const uint32_t low = mask & -mask;
        const uint32_t ripple = mask + low;
        mask = ripple | (((mask ^ ripple) >> 2) / low);
    }
}

} // namespace kumby::testing
