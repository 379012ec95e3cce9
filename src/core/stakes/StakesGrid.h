#pragma once

// What the stakes grid and the profit chart show of the stakes file.

#include "model/Records.h"
#include "stakes/StakesFile.h"

#include <array>
#include <string>

namespace kumby {

inline constexpr int StakesGridColumns = 9;

struct TStakesGridColumn {
    const char* Caption;
    int Width;
};
const std::array<TStakesGridColumn, StakesGridColumns>& StakesGridLayout();

// The nine cells of a record's row; all empty for a record without a draw.
std::array<std::string, StakesGridColumns> StakeGridCells(const TStakeRecord& r);

// "Ставок: %d"
std::string StakesCountText(int64_t count);

// Profit of every record with a draw number summed per draw, in order of first
// appearance (unchecked stakes add minus their cost).
TProfitDrawArray ProfitByDraw(const TStakesFile& file);

} // namespace kumby
