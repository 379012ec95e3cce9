#include "views/GraphSeries.h"

#include "model/Hash64.h"
#include "model/VexoUtils.h"
#include "stats/VexoFilters.h"

#include <algorithm>

namespace kumby {

namespace {

constexpr TColour Green = 0x008000;
constexpr TColour Magenta = 0xFF00FF;
constexpr TColour Blue = 0x0000FF;
constexpr TColour Red = 0xFF0000;

} // namespace

uint64_t GraphDrawsHash(const TDrawsArray& draws, const TStatWindow& window) {
    if (window.LastIdx < 0 || static_cast<std::size_t>(window.LastIdx) >= draws.size())
        return 0;
    const std::size_t first = static_cast<std::size_t>(std::max(0, window.FirstIdx - 2));
    const std::size_t count = static_cast<std::size_t>(window.LastIdx) + 1 - first;
    return Hash64({reinterpret_cast<const char*>(draws.data() + first), count * sizeof(TDrawRecord)});
}

TGraphSeries ComputeGraphSeries(TCustomStat& method, const TDrawsArray& draws, const TStatWindow& window,
                                bool sorted) {
    TGraphSeries series;
    series.Caption = method.InstanceCaption();
    if (!method.HasChartValue() || window.LastIdx < window.FirstIdx || draws.empty())
        return series;
    TStatSimpleArray counts;
    int64_t total = 0;
    for (int idx = window.FirstIdx; idx <= window.LastIdx; ++idx) {
        const int32_t value = method.ChartValueOfDraw(idx, window.LastIdx, sorted);
        series.Points.push_back({draws[static_cast<std::size_t>(idx)].Number, value});
        AddSimpleValue(counts, value, 1);
        total += value;
    }
    series.Average = static_cast<double>(total) / static_cast<double>(series.Points.size());
    // The list is in the order values were met, so a strict comparison keeps the
    // oldest of equally frequent values.
    int32_t best = -1;
    for (const TStatSimpleEntry& e : counts)
        if (e.Value > best) {
            best = e.Value;
            series.MostFrequent = e.Key;
        }
    return series;
}

std::vector<TChartSeries> GraphChartSeries(const TGraphSeries& series, bool valueMarks) {
    std::vector<TChartSeries> lines(3);
    lines[0].Title = series.Caption;
    lines[0].LineColour = Green;
    lines[0].LineWidth = 2;
    lines[0].MarkerOutline = Magenta;
    lines[0].MarkerFill = Magenta;
    lines[0].ValueMarksVisible = valueMarks;
    lines[1].Title = GraphAverageTitle;
    lines[1].LineColour = Blue;
    lines[2].Title = GraphMostFrequentTitle;
    lines[2].LineColour = Red;
    for (const TGraphPoint& p : series.Points) {
        const double x = p.Draw;
        const std::string label = std::to_string(p.Draw);
        lines[0].Points.push_back({x, static_cast<double>(p.Value), label});
        lines[1].Points.push_back({x, series.Average, label});
        lines[2].Points.push_back({x, static_cast<double>(series.MostFrequent), label});
    }
    lines[1].MarkersVisible = false;
    lines[2].MarkersVisible = false;
    return lines;
}

} // namespace kumby
