#pragma once

// The graphs tab's data: the graph value of a chartable method for every draw of the
// analysis window, its average and its most frequent value.

#include "model/Records.h"
#include "stats/StatTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kumby {

class TCustomStat;

inline constexpr const char* GraphsStatusText = "Анализ тиражей и построение графиков...";
inline constexpr const char* GraphAverageTitle = "Среднее значение";
inline constexpr const char* GraphMostFrequentTitle = "Наиболее часто встречающееся значение";

struct TGraphPoint {
    int32_t Draw = 0; // draw number
    int32_t Value = 0;
};

struct TGraphSeries {
    std::string Caption;
    std::vector<TGraphPoint> Points; // oldest draw first
    double Average = 0;
    int32_t MostFrequent = 0;
};

// The graph value of each draw of the window, oldest first, taken relative to the
// window's newest draw. Among values met equally often the one met first wins.
// A method without graph values gives no points.
TGraphSeries ComputeGraphSeries(TCustomStat& method, const TDrawsArray& draws, const TStatWindow& window,
                                bool sorted);

// What a graph was made from. Besides the archive size, offset, length and method,
// it holds the sorted-display switch and a hash of the draws the values read (a draw
// changed in place must not leave a stale graph).
struct TGraphKey {
    std::size_t DrawCount = 0;
    int Offset = 0;
    int Len = 0;
    std::size_t Method = 0;
    bool Sorted = false;
    uint64_t DrawsHash = 0;
    bool operator==(const TGraphKey&) const = default;
};
// The hash of the window's draws and the two before them (methods that compare with
// earlier draws read those).
uint64_t GraphDrawsHash(const TDrawsArray& draws, const TStatWindow& window);

// The three lines of the tab: the values (green, point marks, value marks as asked),
// the average (blue) and the most frequent value (red).
std::vector<TChartSeries> GraphChartSeries(const TGraphSeries& series, bool valueMarks);

} // namespace kumby
