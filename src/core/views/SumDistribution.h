#pragma once

// How the sums of the draws spread compared with the sums of all combinations of
// the full set, with three levels of the full set's counts and the sums they span.

#include "model/Records.h"
#include "stats/StatTable.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kumby {

inline constexpr const char* SumDistributionStatusText = "Идет сбор статистики....";
inline constexpr const char* SumDistributionTitle = "Распределение сумм тиражей и всех возможных комбинаций";
inline constexpr const char* ActualSumsTitle = "Фактическое распределение сумм (по тиражам)";
inline constexpr const char* TheoreticalSumsTitle = "Теоретическое распределение сумм (по комбинациям)";

struct TSumLevel {
    int32_t Level = 0; // a count of combinations
    int32_t Low = 0;   // the sums whose count reaches the level; 0 when none does
    int32_t High = 0;
};

struct TSumDistribution {
    TStatSimpleArray Combinations; // Key = sum, Value = combinations with it; by sum
    TStatSimpleArray Draws;        // the same over every draw of the archive
    int32_t CombMin = 0;
    int32_t CombMax = 0;
    int32_t DrawMax = 0;
    std::array<TSumLevel, 3> Levels; // at 1/3, 1/2 and 2/3 of the counts' range
};

// Called now and then with the combinations counted; false stops the count.
using TSumProgress = std::function<bool(long long done, long long total)>;

// Counts the full set by sum and the draws (all of them, whatever the offset) by
// sum. None when stopped.
std::optional<TSumDistribution> ComputeSumDistribution(const TDrawsArray& draws,
                                                       const TSumProgress& progress = {});

// The levels and their sum ranges of a distribution of combination counts by sum.
std::array<TSumLevel, 3> SumLevels(const TStatSimpleArray& combinations);

// The chart: the draws' counts (red, marks and values), the full set's counts scaled
// to the largest draw count (dark red) and a flat line per level.
std::vector<TChartSeries> SumDistributionChart(const TSumDistribution& d);

} // namespace kumby
