#pragma once

// The data of the rating charts: the match counts of selected sources against the
// expected distribution, and their matches or profits draw by draw.

#include "model/Records.h"
#include "stakes/StakesFile.h"

#include <string>
#include <utility>
#include <vector>

namespace kumby {

struct TRatingsSeries {
    std::string Name;
    std::vector<std::pair<double, double>> Points; // (x, y)
};

inline constexpr const char* NormalSeriesName = "Нормальные значения";
inline constexpr const char* TooFewDrawsText =
    "Для построения графиков необходимо, чтобы в выделенном диапазоне данных было более одного тиража!";
inline constexpr int RatingsChartDraws = 100;

// "Нормальные значения": (k, Hits(k) x Smax / C(24, 12)) for the largest Count Smax
// among the rows, then (k, HitCounts[k]) of each row, named by its source. Rows
// outside the array are left out.
std::vector<TRatingsSeries> RatingsOverlapSeries(const TRatingsArray& items,
                                                 const std::vector<std::size_t>& rows);

enum class TRatingsDrawValue { Matches, Profit };

// Per selected source, over the stakes of the last 100 draws that have checked
// stakes: (draw number, matches) or (draw number, profit in money units) of every
// checked stake whose comment equals the source ignoring case. Empty when fewer than
// two such draws exist (the caller shows TooFewDrawsText).
std::vector<TRatingsSeries>
RatingsDrawSeries(const TStakesFile& file, const std::vector<std::string>& sources, TRatingsDrawValue value);

} // namespace kumby
