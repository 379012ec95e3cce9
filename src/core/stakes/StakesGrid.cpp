#include "stakes/StakesGrid.h"

#include "model/VexoUtils.h"

#include <algorithm>
#include <unordered_map>

namespace kumby {

const std::array<TStakesGridColumn, StakesGridColumns>& StakesGridLayout() {
    static const std::array<TStakesGridColumn, StakesGridColumns> layout = {{
        {"№ тиража", 60},
        {"Вид ставки", 60},
        {"Моя ставка", 120},
        {"Выборка", 60},
        {"Результаты тиража", 120},
        {"Совпадений", 60},
        {"Совпадения", 60},
        {"Профит", 60},
        {"Комментарий", 1000},
    }};
    return layout;
}

std::array<std::string, StakesGridColumns> StakeGridCells(const TStakeRecord& r) {
    std::array<std::string, StakesGridColumns> cells;
    if (r.DrawNumber <= 0)
        return cells;
    cells[0] = std::to_string(r.DrawNumber);
    cells[1] = StakeKindName(r.Kind);
    cells[2] = NumberListToText(r.Numbers, ";");
    cells[3] = std::to_string(r.CombsCount);
    if (r.Checked) {
        cells[4] = NumbersToText(r.DrawResult, NumbersInDraw, ";");
        cells[5] = std::to_string(r.MatchedCount());
        cells[6] = NumberListToText(r.Matched, " ");
    }
    cells[7] = MoneyText(r.Profit);
    cells[8] = r.CommentUtf8();
    return cells;
}

std::optional<TColour> StakeKindColour(int kind) {
    switch (kind) {
    case StakeKindManual:
        return 0xEAFFEA;
    case StakeKindRegular:
        return 0xFFEAEA;
    case StakeKindScript:
        return 0xEAFFFF;
    case StakeKindSystem:
        return 0xFCFDD9;
    default:
        return std::nullopt;
    }
}

std::vector<TStakeNumberCell> StakeNumberCells(const TStakeRecord& r, int column) {
    std::vector<TStakeNumberCell> cells;
    if (r.DrawNumber <= 0)
        return cells;
    auto matched = [&](int n) {
        const int count = std::clamp<int>(r.Matched.Count, 0, NumbersInDraw);
        return std::find(r.Matched.Numbers, r.Matched.Numbers + count, n) != r.Matched.Numbers + count;
    };
    if (column == StakesGridStakeColumn) {
        const int count = std::clamp<int>(r.Numbers.Count, 0, NumbersInDraw);
        for (int i = 0; i < count; ++i)
            cells.push_back({r.Numbers.Numbers[i], matched(r.Numbers.Numbers[i])});
    } else if (column == StakesGridResultColumn && r.Checked) {
        for (const uint8_t n : r.DrawResult)
            cells.push_back({n, matched(n)});
    }
    return cells;
}

std::optional<TColour> StakeResultColour(const TStakeRecord& r, int column) {
    if (r.DrawNumber <= 0 || !r.Checked || column < StakesGridFirstResultColumn ||
        column > StakesGridLastResultColumn)
        return std::nullopt;
    return r.Profit > 0 ? StakeProfitColour : StakeLossColour;
}

std::string StakesCountText(int64_t count) {
    return "Ставок: " + std::to_string(count);
}

TProfitDrawArray ProfitByDraw(const TStakesFile& file) {
    TProfitDrawArray list;
    std::unordered_map<int32_t, std::size_t> at;
    file.ForEach(0, [&](int64_t, const TStakeRecord& r) {
        if (r.DrawNumber >= 0) {
            auto [it, added] = at.try_emplace(r.DrawNumber, list.size());
            if (added)
                list.push_back({r.DrawNumber, 0});
            list[it->second].Profit += r.Profit;
        }
        return true;
    });
    return list;
}

std::vector<TChartSeries> ProfitByDrawSeries(const TProfitDrawArray& list) {
    std::vector<TChartSeries> series(3);
    series[0].Title = "Суммарный профит ставок по тиражу";
    series[0].LineColour = StakeProfitColour;
    series[1].Title = "Среднее значение";
    series[1].LineColour = 0x0000FF;
    series[2].Title = "Накопленное значение";
    series[2].LineColour = StakeLossColour;
    if (list.empty())
        return series;
    TMoney total = 0;
    for (const TProfitDrawEntry& e : list)
        total += e.Profit;
    const long double mean = static_cast<long double>(total) / static_cast<long double>(list.size());
    TMoney running = 0;
    for (const TProfitDrawEntry& e : list) {
        running += e.Profit;
        const double x = e.DrawNumber;
        const std::string label = std::to_string(e.DrawNumber);
        series[0].Points.push_back({x, static_cast<double>(e.Profit) / MoneyScale, label});
        series[1].Points.push_back({x, static_cast<double>(mean / MoneyScale), label});
        series[2].Points.push_back({x, static_cast<double>(running) / MoneyScale, label});
    }
    for (TChartSeries& s : series)
        s.MarkersVisible = false;
    return series;
}

} // namespace kumby
