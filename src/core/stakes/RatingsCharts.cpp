#include "stakes/RatingsCharts.h"

#include "model/Cp1251.h"
#include "model/Money.h"
#include "stakes/RatingsView.h"

#include <algorithm>
#include <unordered_map>

namespace kumby {

std::vector<TRatingsSeries> RatingsOverlapSeries(const TRatingsArray& items,
                                                 const std::vector<std::size_t>& rows) {
    std::vector<TRatingsSeries> series;
    int32_t largest = 0;
    for (std::size_t row : rows)
        if (row < items.size())
            largest = std::max(largest, items[row].Count);
    TRatingsSeries normal{NormalSeriesName, {}};
    const TProbabilityTable& table = HitProbabilities();
    for (int k = 0; k <= MaxHits; ++k)
        normal.Points.emplace_back(k, static_cast<double>(table.P[static_cast<std::size_t>(k)] * largest));
    series.push_back(std::move(normal));
    for (std::size_t row : rows) {
        if (row >= items.size())
            continue;
        TRatingsSeries s{items[row].Name, {}};
        for (int k = 0; k <= MaxHits; ++k)
            s.Points.emplace_back(k, items[row].HitCounts[static_cast<std::size_t>(k)]);
        series.push_back(std::move(s));
    }
    return series;
}

std::vector<TRatingsSeries>
RatingsDrawSeries(const TStakesFile& file, const std::vector<std::string>& sources, TRatingsDrawValue value) {
    if (sources.empty())
        return {};
    const TStakesFile::TDrawsPosition at = file.PositionAtLastDraws(RatingsChartDraws);
    if (at.Draws < 2)
        return {};
    std::vector<TRatingsSeries> series;
    std::unordered_map<std::string, std::size_t> bySource;
    for (const std::string& source : sources)
        if (bySource.try_emplace(Utf8ToUpper(source), series.size()).second)
            series.push_back({source, {}});
    file.ForEach(at.Index, [&](int64_t, const TStakeRecord& r) {
        if (r.DrawNumber <= 0 || !r.Checked || r.MatchedCount() < 0)
            return true;
        const auto it = bySource.find(Utf8ToUpper(r.CommentUtf8()));
        if (it != bySource.end())
            series[it->second].Points.emplace_back(r.DrawNumber,
                                                   value == TRatingsDrawValue::Matches
                                                       ? static_cast<double>(r.MatchedCount())
                                                       : static_cast<double>(MoneyToFloat(r.Profit)));
        return true;
    });
    return series;
}

} // namespace kumby
