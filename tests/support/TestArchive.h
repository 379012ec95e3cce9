#pragma once

// Archives built in code: one set of draw builders for every test program.

#include "draws/DrawArchive.h"
#include "model/GameConstants.h"
#include "model/Records.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <initializer_list>
#include <numeric>
#include <random>
#include <string_view>

namespace kumby::testing {

inline constexpr const char* TestDrawDate = "01.02.2021 20:00";

// A draw with the given numbers in drawn order (fewer than 12 leave zeros).
inline TDrawRecord DrawOf(int32_t number, const TCombination& numbers, std::string_view date = TestDrawDate) {
    TDrawRecord draw;
    draw.Number = number;
    draw.SetNumbers(numbers);
    draw.SetDateTextUtf8(date);
    return draw;
}

inline TDrawRecord DrawOf(int32_t number, std::initializer_list<int> numbers,
                          std::string_view date = TestDrawDate) {
    TCombination comb{};
    std::size_t i = 0;
    for (int n : numbers)
        if (i < comb.size())
            comb[i++] = static_cast<uint8_t>(n);
    return DrawOf(number, comb, date);
}

// The numbers 1..12 in order.
inline TDrawRecord PlainDraw(int32_t number) {
    return DrawOf(number, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
}

// A draw whose numbers start at `first` and run on in steps of two around 1..24.
inline TDrawRecord SpreadDraw(int32_t number, int first, std::string_view date = TestDrawDate) {
    TCombination comb{};
    for (int i = 0; i < NumbersInDraw; ++i)
        comb[i] = static_cast<uint8_t>((first - 1 + i * 2) % MaxNumber + 1);
    return DrawOf(number, comb, date);
}

// An ascending combination with that sum (78..222): 1..12 with the top numbers raised.
inline TCombination CombinationWithSum(int sum) {
    TCombination c;
    for (int i = 0; i < NumbersInDraw; ++i)
        c[i] = static_cast<uint8_t>(i + 1);
    int missing = sum - MinSum;
    for (int i = NumbersInDraw - 1; i >= 0 && missing > 0; --i) {
        const int raise = std::min(missing, 12);
        c[i] = static_cast<uint8_t>(c[i] + raise);
        missing -= raise;
    }
    return c;
}

// Draws 986..1000: 1 in the even draws, 2 in the odd ones, 23 only in draw 995,
// 24 never; ten numbers of 3..22 of the draw's parity and one of the other.
inline TDrawsArray PatternArchive() {
    TDrawsArray draws;
    for (int32_t d = 986; d <= 1000; ++d) {
        TCombination c{};
        c[0] = d % 2 == 0 ? 1 : 2;
        for (int j = 0; j < 10; ++j)
            c[1 + j] = static_cast<uint8_t>(3 + (d + 2 * j) % 20);
        c[11] = d == 995 ? 23 : static_cast<uint8_t>(3 + (d + 1) % 20);
        draws.push_back(DrawOf(d, c));
    }
    return draws;
}

// Twelve distinct numbers of 1..24 in random (drawn) order.
inline TCombination RandomDrawNumbers(std::mt19937& rng) {
    std::array<uint8_t, MaxNumber> all;
    std::iota(all.begin(), all.end(), uint8_t{1});
    std::shuffle(all.begin(), all.end(), rng);
    TCombination comb;
    std::copy_n(all.begin(), NumbersInDraw, comb.begin());
    return comb;
}

inline TCombination RandomCombination(std::mt19937& rng) {
    TCombination comb = RandomDrawNumbers(rng);
    std::sort(comb.begin(), comb.end());
    return comb;
}

// `count` random draws numbered first, first + 1, ...
inline TDrawsArray RandomArchive(int count, unsigned seed, int32_t first = 1) {
    std::mt19937 rng(seed);
    TDrawsArray draws;
    draws.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        draws.push_back(DrawOf(first + i, RandomDrawNumbers(rng)));
    return draws;
}

inline void WriteArchive(const std::filesystem::path& dir, const TDrawsArray& draws) {
    SaveDrawArchive(dir / DrawsFileName, draws);
}

inline TDrawsArray ReadArchive(const std::filesystem::path& dir) {
    TDrawsArray draws;
    LoadDrawArchive(dir / DrawsFileName, draws);
    return draws;
}

} // namespace kumby::testing
