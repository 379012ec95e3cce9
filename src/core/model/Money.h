#pragma once

#include <cstdint>
#include <string>

namespace kumby {

// Money is held as an integer number of 1/10,000 units.
using TMoney = int64_t;
inline constexpr TMoney MoneyScale = 10000;

// Nearest integer, halves to the even neighbour.
int64_t RoundHalfEven(long double value);

TMoney MoneyFromFloat(long double value);
long double MoneyToFloat(TMoney value);
// "%.2f" of the amount in money units.
std::string MoneyText(TMoney value);

} // namespace kumby
