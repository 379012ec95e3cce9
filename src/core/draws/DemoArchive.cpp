#include "DemoArchive.h"

#include "model/VexoUtils.h"

#include <algorithm>
#include <numeric>
#include <random>

namespace kumby {

TDrawsArray MakeDemoArchive(int count, uint64_t seed, TDateTime lastDay) {
    TDrawsArray draws(count > 0 ? static_cast<std::size_t>(count) : 0);
    std::mt19937_64 rng(seed);
    std::array<uint8_t, MaxNumber> pool{};
    std::iota(pool.begin(), pool.end(), uint8_t{1});
    const TDateTime at2000 = 20.0 / 24.0;
    for (int i = 0; i < count; ++i) {
        // A partial Fisher-Yates shuffle: the first 12 are a uniform draw in drawn order.
        for (int j = 0; j < NumbersInDraw; ++j) {
            std::uniform_int_distribution<int> pick(j, MaxNumber - 1);
            std::swap(pool[j], pool[pick(rng)]);
        }
        TDrawRecord& d = draws[i];
        d.Number = i + 1;
        std::copy_n(pool.begin(), NumbersInDraw, d.Numbers);
        d.SetDateTextUtf8(DrawDateToText(lastDay - (count - 1 - i) + at2000));
    }
    return draws;
}

} // namespace kumby
