#pragma once

#include "model/Records.h"

#include <cstdint>

namespace kumby {

// A synthetic archive for trying the program out: `count` uniformly random draws,
// numbered 1..count, one a day at 20:00, the last on `lastDay` (a date without time).
TDrawsArray MakeDemoArchive(int count, uint64_t seed, TDateTime lastDay);

} // namespace kumby
