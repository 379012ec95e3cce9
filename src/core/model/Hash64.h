#pragma once

// A fast 64-bit hash of bytes: tells one version of a small file from another and
// notices damage. Not meant to resist anyone making collisions on purpose.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kumby {

inline uint64_t Hash64(std::string_view bytes) {
    constexpr uint64_t Odd = 0x9E3779B97F4A7C15ULL;
    auto mix = [](uint64_t x) {
        x ^= x >> 32;
        x *= 0xD6E8FEB86659FD93ULL;
        x ^= x >> 32;
        x *= 0xD6E8FEB86659FD93ULL;
        return x ^ (x >> 32);
    };
    // Every step is one-to-one in the word for a given state and in the state for a
    // given word, so two inputs of one length that differ in one word never meet.
    uint64_t h = mix(0x243F6A8885A308D3ULL ^ bytes.size());
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        h = (std::rotl(h, 23) ^ word) * Odd;
    }
    uint64_t tail = 0;
    if (i < bytes.size())
        std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
    h = (std::rotl(h, 23) ^ tail) * Odd;
    return mix(h);
}

} // namespace kumby
