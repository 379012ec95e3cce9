#include "views/SumDistribution.h"

#include "combs/FullSet.h"
#include "model/GameConstants.h"
#include "model/VexoUtils.h"

#include <algorithm>

namespace kumby {

namespace {

constexpr const char* LevelTitle = "Диапазон %d (от %s и выше по оси Y) - суммы %d-%d";
constexpr const char* LevelShares[3] = {"1/3", "1/2", "2/3"};
constexpr TColour LevelColours[3] = {0x008000, 0x0000FF, 0xFF00FF};
constexpr TColour Red = 0xFF0000;
constexpr TColour DarkRed = 0x800000;
// Combinations between two looks at Stop: a few milliseconds of counting.
constexpr long long ProgressStep = 1 << 18;

int SumOf(const uint8_t* numbers) {
    int sum = 0;
    for (int i = 0; i < NumbersInDraw; ++i)
        sum += numbers[i];
    return sum;
}

} // namespace

std::array<TSumLevel, 3> SumLevels(const TStatSimpleArray& combinations) {
    std::array<TSumLevel, 3> levels{};
    if (combinations.empty())
        return levels;
    int64_t cmin = combinations.front().Value;
    int64_t cmax = cmin;
    for (const TStatSimpleEntry& e : combinations) {
        cmin = std::min<int64_t>(cmin, e.Value);
        cmax = std::max<int64_t>(cmax, e.Value);
    }
    // Whole counts plus a positive fraction: truncating is integer division.
    const int64_t span = cmax - cmin + 1;
    const int64_t at[3] = {cmin + span / 3, cmin + span / 2, cmin + 2 * span / 3};
    const std::size_t n = combinations.size();
    for (std::size_t k = 0; k < 3; ++k) {
        TSumLevel& level = levels[k];
        level.Level = static_cast<int32_t>(at[k]);
        for (std::size_t i = 0; i <= n / 2 && i < n; ++i)
            if (combinations[i].Value >= level.Level) {
                level.Low = combinations[i].Key;
                break;
            }
        for (std::size_t i = n; i-- > n / 2;)
            if (combinations[i].Value >= level.Level) {
                level.High = combinations[i].Key;
                break;
            }
    }
    return levels;
}

std::optional<TSumDistribution> ComputeSumDistribution(const TDrawsArray& draws,
                                                       const TSumProgress& progress) {
    // Counted straight into a table by sum: the walk allocates nothing.
    std::array<int32_t, MaxSum + 1> bySum{};
    long long done = 0;
    bool stopped = false;
    ForEachFullSetCombination([&](const TCombination& comb) {
        ++bySum[static_cast<std::size_t>(SumOf(comb.data()))];
        if (++done % ProgressStep == 0 && progress && !progress(done, FullSetSize)) {
            stopped = true;
            return false;
        }
        return true;
    });
    if (stopped)
        return std::nullopt;
    if (progress && !progress(done, FullSetSize))
        return std::nullopt;

    TSumDistribution d;
    for (int sum = MinSum; sum <= MaxSum; ++sum)
        AddSimpleValue(d.Combinations, sum, bySum[static_cast<std::size_t>(sum)]);
    for (const TDrawRecord& draw : draws)
        AddSimpleValue(d.Draws, SumOf(draw.Numbers), 1);
    SortSimpleValues(d.Draws);

    d.CombMin = d.Combinations.front().Value;
    for (const TStatSimpleEntry& e : d.Combinations) {
        d.CombMin = std::min(d.CombMin, e.Value);
        d.CombMax = std::max(d.CombMax, e.Value);
    }
    for (const TStatSimpleEntry& e : d.Draws)
        d.DrawMax = std::max(d.DrawMax, e.Value);
    d.Levels = SumLevels(d.Combinations);
    return d;
}

std::vector<TChartSeries> SumDistributionChart(const TSumDistribution& d) {
    const double scale = d.CombMax > 0 ? static_cast<double>(d.DrawMax) / d.CombMax : 0;
    std::vector<TChartSeries> lines(2);
    lines[0].Title = ActualSumsTitle;
    lines[0].LineColour = Red;
    lines[0].MarkerOutline = Red;
    lines[0].ValueMarksVisible = true;
    for (const TStatSimpleEntry& e : d.Draws)
        lines[0].Points.push_back(
            {static_cast<double>(e.Key), static_cast<double>(e.Value), std::to_string(e.Key)});
    lines[1].Title = TheoreticalSumsTitle;
    lines[1].LineColour = DarkRed;
    lines[1].MarkersVisible = false;
    for (const TStatSimpleEntry& e : d.Combinations)
        lines[1].Points.push_back({static_cast<double>(e.Key), e.Value * scale, std::to_string(e.Key)});
    for (std::size_t k = 0; k < d.Levels.size(); ++k) {
        const TSumLevel& level = d.Levels[k];
        TChartSeries line;
        line.Title = Format(LevelTitle, static_cast<int>(k + 1), LevelShares[k], level.Low, level.High);
        line.LineColour = LevelColours[k];
        line.MarkersVisible = false;
        for (const TStatSimpleEntry& e : d.Combinations)
            line.Points.push_back({static_cast<double>(e.Key), level.Level * scale, std::to_string(e.Key)});
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace kumby
