#pragma once

// How many numbers each recent draw shares with the draws before it: per draw and
// per number of shared numbers, how many earlier draws share that many, and which.

#include "model/Records.h"
#include "stats/StatTable.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kumby {

inline constexpr const char* RepeatsTitle = "Количество повторов в зависимости от тиража";
inline constexpr const char* RepeatsSection = "TFormDrawsRepeats";
inline constexpr int RepeatsDefaultLength = 100;
inline constexpr int RepeatsDefaultDepth = 100;

// Captions of the list's four columns.
const std::array<const char*, 4>& RepeatsColumnCaptions();

struct TRepeatRow {
    int32_t Draw = 0;    // number of the draw looked at
    int32_t Matches = 0; // numbers shared, 1..12
    int32_t Count = 0;   // earlier draws sharing that many
    std::string List;    // their numbers, newest first, joined by blanks
};

// Called after each draw looked at; false stops.
using TRepeatsProgress = std::function<bool(long long done, long long total)>;

// For each of the last `length` draws of the archive, newest first, the earlier draws
// up to `depth` back (not before the first draw) that share numbers with it; rows in
// the order met. Lengths and depths below 1 count as 1. None when stopped.
std::optional<std::vector<TRepeatRow>> ComputeRepeats(const TDrawsArray& draws, int length, int depth,
                                                      const TRepeatsProgress& progress = {});

// One line per number of shared numbers, 1 up to the largest met ("Совпадений: %d"),
// each holding (draw number, count) of its rows, oldest draw first. Colours are left
// at 0 for the window to choose.
std::vector<TChartSeries> RepeatsChart(const std::vector<TRepeatRow>& rows);

} // namespace kumby
