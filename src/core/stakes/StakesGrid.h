#pragma once

// What the stakes grid and the profit chart show of the stakes file.

#include "model/Records.h"
#include "model/VexoUtils.h"
#include "stakes/StakesFile.h"
#include "stats/StatTable.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kumby {

inline constexpr int StakesGridColumns = 9;

struct TStakesGridColumn {
    const char* Caption;
    int Width;
};
const std::array<TStakesGridColumn, StakesGridColumns>& StakesGridLayout();

// The nine cells of a record's row; all empty for a record without a draw.
std::array<std::string, StakesGridColumns> StakeGridCells(const TStakeRecord& r);

// Columns whose numbers are drawn one by one, the matched ones marked.
inline constexpr int StakesGridStakeColumn = 2;
inline constexpr int StakesGridResultColumn = 4;
// Columns drawn in the colour of a checked stake's result.
inline constexpr int StakesGridFirstResultColumn = 5;
inline constexpr int StakesGridLastResultColumn = 7;

// The background of a row of this kind; none for a separator and unknown kinds (the
// window's own colour).
std::optional<TColour> StakeKindColour(int kind);

struct TStakeNumberCell {
    int Number = 0;
    bool Matched = false; // among the draw's numbers
};
// The numbers of a number column (the stake's, or the draw's once checked), each
// marked when the stake matched it; none for other columns and empty cells.
std::vector<TStakeNumberCell> StakeNumberCells(const TStakeRecord& r, int column);

inline constexpr TColour StakeMatchedColour = 0x0000FF; // blue
inline constexpr TColour StakeProfitColour = 0x008000;  // green
inline constexpr TColour StakeLossColour = 0xFF0000;    // red
// The text colour of columns 5..7: a checked stake shows whether it paid; none for
// an unchecked stake, a record without a draw or another column.
std::optional<TColour> StakeResultColour(const TStakeRecord& r, int column);

// "Ставок: %d"
std::string StakesCountText(int64_t count);

// Profit of every record with a draw number summed per draw, in order of first
// appearance (unchecked stakes add minus their cost).
TProfitDrawArray ProfitByDraw(const TStakesFile& file);

// The three lines of the profit chart in money units, x = draw number: the profit of
// each draw (green), the mean over the draws (blue) and the running total (red).
std::vector<TChartSeries> ProfitByDrawSeries(const TProfitDrawArray& list);

} // namespace kumby
