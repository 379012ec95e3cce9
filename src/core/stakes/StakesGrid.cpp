#include "stakes/StakesGrid.h"

#include "model/VexoUtils.h"

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

} // namespace kumby
