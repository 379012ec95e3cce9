#include "Money.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace kumby {

namespace {

constexpr long double Int64Bound = 9223372036854775808.0L; // 2^63

int64_t ClampToInt64(long double whole) {
    if (whole >= Int64Bound)
        return std::numeric_limits<int64_t>::max();
    if (whole < -Int64Bound)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(whole);
}

long double EvenOfNeighbours(long double lower) {
    return std::fmod(lower, 2.0L) == 0 ? lower : lower + 1;
}

} // namespace

// Non-finite values give 0; values beyond the 64-bit range saturate.
int64_t RoundHalfEven(long double value) {
    if (!std::isfinite(value))
        return 0;
    const long double lower = std::floor(value);
    const long double fraction = value - lower; // exact in binary floating point
    long double whole;
    if (fraction > 0.5L)
        whole = lower + 1;
    else if (fraction < 0.5L)
        whole = lower;
    else
        whole = EvenOfNeighbours(lower);
    return ClampToInt64(whole);
}

TMoney MoneyFromFloat(long double value) {
    const long double scaled = value * MoneyScale;
    if (!std::isfinite(scaled))
        return 0;
    // Amounts usually come from decimal text through a double, so 0.00005 arrives as
    // 0.50000000000000002 units. A half within a few double ulps of the value is the
    // half the user wrote, and it goes to the even neighbour like any other half.
    const long double tolerance = std::fabs(scaled) * 0x1p-50L;
    if (tolerance < 0.25L) {
        const long double lower = std::floor(scaled);
        if (std::fabs(scaled - lower - 0.5L) <= tolerance)
            return ClampToInt64(EvenOfNeighbours(lower));
    }
    return RoundHalfEven(scaled);
}

long double MoneyToFloat(TMoney value) {
    return static_cast<long double>(value) / MoneyScale;
}

// Formats from the integer itself, so the cents never depend on binary fractions;
// a half cent goes to the even neighbour like every other rounding of money.
std::string MoneyText(TMoney value) {
    const bool negative = value < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    uint64_t cents = magnitude / 100;
    const uint64_t rest = magnitude % 100;
    if (rest > 50 || (rest == 50 && cents % 2 == 1))
        ++cents;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%llu.%02llu", negative && cents != 0 ? "-" : "",
                  static_cast<unsigned long long>(cents / 100), static_cast<unsigned long long>(cents % 100));
    return buffer;
}

} // namespace kumby
