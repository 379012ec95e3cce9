#include "stakes/RatingsSort.h"

#include "model/Cp1251.h"
#include "model/Money.h"

#include <algorithm>
#include <numeric>

namespace kumby {

namespace {

// Alphabetical order as a Russian locale sorts: letters by their upper case (Latin
// before Cyrillic, Ё right after Е), the lower case one first where only case
// differs, other characters before the letters by their code.
std::u16string CollationKey(const std::string& utf8) {
    const std::string bytes = Utf8ToCp1251(utf8);
    std::u16string primary;
    std::u16string secondary;
    primary.reserve(bytes.size() * 2 + 1);
    for (const char ch : bytes) {
        const auto c = static_cast<uint8_t>(ch);
        char16_t weight = c;
        char16_t lower = 0;
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            const int upper = c >= 'a' ? c - 32 : c;
            weight = static_cast<char16_t>(0x100 + (upper - 'A'));
            lower = c >= 'a' ? 0 : 1;
        } else if (c >= 0xC0) {
            const int upper = c >= 0xE0 ? c - 32 : c;
            weight = static_cast<char16_t>(0x200 + 2 * (upper - 0xC0) + (upper > 0xC5 ? 2 : 0));
            lower = c >= 0xE0 ? 0 : 1;
        } else if (c == 0xA8 || c == 0xB8) { // Ё ё
            weight = static_cast<char16_t>(0x200 + 2 * (0xC5 - 0xC0) + 2);
            lower = c == 0xB8 ? 0 : 1;
        }
        primary.push_back(weight);
        secondary.push_back(lower);
    }
    primary.push_back(0);
    return primary + secondary;
}

int64_t Hundredths(long double value) {
    return RoundHalfEven(value * 100);
}

// The value a numeric column sorts by: counters as they are, averages and money to
// the hundredth, so that what differs by less than half a hundredth compares equal.
int64_t NumericKey(const TRatingEntry& e, int column) {
    const long double count = e.Count > 0 ? e.Count : 1;
    switch (column) {
    case 1:
        return e.Count;
    case 2:
        return e.HitSum;
    case 3:
        return Hundredths(e.HitSum / count);
    case 4:
        return RoundHalfEven(static_cast<long double>(e.Profit) / 100);
    case 5:
        return RoundHalfEven(static_cast<long double>(e.Profit) / count / 100);
    default:
        return e.HitCounts[static_cast<std::size_t>(column - 6)];
    }
}

} // namespace

std::vector<std::size_t> SortRatings(TRatingsArray& items, int column, bool descending) {
    if (column < 0 || column > 18 || items.size() < 2)
        return {};
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (column == 0) {
        std::vector<std::u16string> keys(items.size());
        for (std::size_t i = 0; i < items.size(); ++i)
            keys[i] = CollationKey(items[i].Name);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return descending ? keys[b] < keys[a] : keys[a] < keys[b];
        });
    } else {
        std::vector<int64_t> keys(items.size());
        for (std::size_t i = 0; i < items.size(); ++i)
            keys[i] = NumericKey(items[i], column);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return descending ? keys[b] < keys[a] : keys[a] < keys[b];
        });
    }
    TRatingsArray sorted;
    sorted.reserve(items.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(items[i]));
    items = std::move(sorted);
    return order;
}

} // namespace kumby
