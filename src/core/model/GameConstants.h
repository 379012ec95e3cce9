#pragma once

#include <cstdint>

namespace kumby {

inline constexpr int NumbersInDraw = 12;
inline constexpr int MaxNumber = 24;
inline constexpr int MaxHits = 12;

// C(24, 12); the unit test checks it against Binomial.
inline constexpr uint32_t FullSetSize = 2704156;

inline constexpr int MinSum = 78;                           // 1 + ... + 12
inline constexpr int MaxSum = 222;                          // 13 + ... + 24
inline constexpr int SumTolerance = (MaxSum - MinSum) / 10; // 14

} // namespace kumby
