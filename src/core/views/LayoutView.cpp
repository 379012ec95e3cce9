#include "LayoutView.h"

#include "model/Money.h"
#include "stats/StatTable.h"

#include <algorithm>

namespace kumby {

namespace {

// The first and last index of the window, or none when it holds no draw.
std::optional<std::pair<int, int>> LayoutWindow(const TDrawsArray& draws, int offset, int len) {
    const TStatWindow w = StatWindow(draws.size(), offset, std::max(len, 1));
    if (w.N <= 0 || w.LastIdx < 0 || static_cast<std::size_t>(w.LastIdx) >= draws.size())
        return std::nullopt;
    return std::make_pair(w.FirstIdx, w.LastIdx);
}

// Indexes whose last digit is 1..5, up to 95: the 5x5 blocks of the checkerboard.
bool InBlockBand(int index) {
    return index <= 95 && index % 10 >= 1 && index % 10 <= 5;
}

int GradientPart(long double value) {
    return static_cast<int>(std::clamp<int64_t>(RoundHalfEven(value), 0, 255));
}

TLayoutCompareList CompareList(const TDrawsArray& draws, int offset, int len, bool sorted) {
    TLayoutCompareList list;
    const auto window = LayoutWindow(draws, offset, len);
    if (!window)
        return list;
    list.Caption = std::to_string(draws[static_cast<std::size_t>(window->first)].Number) + " - " +
                   std::to_string(draws[static_cast<std::size_t>(window->second)].Number);
    const TShemaArray shema = CountShema(draws, offset, len, sorted);
    std::vector<int32_t> counts;
    for (const TShemaEntry& e : shema)
        if (std::find(counts.begin(), counts.end(), e.Count) == counts.end())
            counts.push_back(e.Count);
    std::sort(counts.begin(), counts.end(), std::greater<>());
    for (int32_t count : counts) {
        TLayoutCompareList::TRow row{count, {}};
        for (const TShemaEntry& e : shema)
            if (e.Count == count)
                row.Numbers += (row.Numbers.empty() ? "" : ", ") + std::to_string(e.Number);
        list.Rows.push_back(std::move(row));
    }
    return list;
}

} // namespace

TColour LayoutCheckerColour(int row, int col) {
    return InBlockBand(row) != InBlockBand(col) ? LayoutPinkColour : LayoutGreenColour;
}

TShemaArray CountShema(const TDrawsArray& draws, int offset, int len, bool sorted) {
    TShemaArray shema;
    const auto window = LayoutWindow(draws, offset, len);
    if (!window)
        return shema;
    std::array<int, MaxNumber + 1> at{}; // index of the number's entry + 1
    for (int i = window->second; i >= window->first; --i) {
        const TDrawRecord& d = draws[static_cast<std::size_t>(i)];
        for (uint8_t n : ViewDrawNumbers(d, sorted)) {
            if (n < 1 || n > MaxNumber)
                continue;
            if (at[n] == 0) {
                shema.push_back({n, 1, d.Number});
                at[n] = static_cast<int>(shema.size());
            } else {
                ++shema[static_cast<std::size_t>(at[n] - 1)].Count;
            }
        }
    }
    return shema;
}

bool TLayoutView::Refresh(const TLayoutInput& input, int len, bool force) {
    if (!force && IsCurrent(input, len))
        return false;
    ClearGrid();
    const TShemaArray shema = CountShema(input.Draws, input.Offset, len, input.Sorted);
    for (const TShemaEntry& e : shema) {
        if (std::find(Counts_.begin(), Counts_.end(), e.Count) == Counts_.end())
            Counts_.push_back(e.Count);
        if (std::find(LastDraws_.begin(), LastDraws_.end(), e.LastDraw) == LastDraws_.end())
            LastDraws_.push_back(e.LastDraw);
    }
    std::sort(Counts_.begin(), Counts_.end(), std::greater<>());
    std::sort(LastDraws_.begin(), LastDraws_.end(), std::greater<>());
    Cells_.assign(Counts_.size() * LastDraws_.size(), std::string());
    for (const TShemaEntry& e : shema) {
        const auto row = std::find(Counts_.begin(), Counts_.end(), e.Count) - Counts_.begin();
        const auto col = std::find(LastDraws_.begin(), LastDraws_.end(), e.LastDraw) - LastDraws_.begin();
        std::string& cell =
            Cells_[static_cast<std::size_t>(row) * LastDraws_.size() + static_cast<std::size_t>(col)];
        if (!cell.empty())
            cell += ", ";
        const std::string number = std::to_string(e.Number);
        cell += input.NextDraw[e.Number] ? "[" + number + "]" : number;
    }
    Key_ = ViewBuildKey(input.Draws, input.Offset, len, input.Sorted);
    return true;
}

bool TLayoutView::RefreshCompare(const TLayoutInput& input, const std::array<int, LayoutCompareCount>& lens,
                                 bool force) {
    if (!force && IsCompareCurrent(input, lens))
        return false;
    for (int i = 0; i < LayoutCompareCount; ++i)
        Compare_[static_cast<std::size_t>(i)] =
            CompareList(input.Draws, input.Offset, lens[static_cast<std::size_t>(i)], input.Sorted);
    CompareKey_ = std::make_pair(ViewBuildKey(input.Draws, input.Offset, 0, input.Sorted), lens);
    return true;
}

void TLayoutView::ClearGrid() {
    Counts_.clear();
    LastDraws_.clear();
    Cells_.clear();
    Key_.reset();
}

void TLayoutView::Clear() {
    ClearGrid();
    Compare_ = {};
    CompareKey_.reset();
}

std::string TLayoutView::CellText(int row, int col) const {
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount() || (row == 0 && col == 0))
        return {};
    if (row == 0)
        return std::to_string(LastDraws_[static_cast<std::size_t>(col - 1)]);
    if (col == 0)
        return std::to_string(Counts_[static_cast<std::size_t>(row - 1)]);
    return Cells_[static_cast<std::size_t>(row - 1) * LastDraws_.size() + static_cast<std::size_t>(col - 1)];
}

std::optional<TColour> TLayoutView::CellColour(int row, int col, bool gradient) const {
    if (row < 1 || row >= RowCount() || col < 1 || col >= ColCount())
        return std::nullopt;
    if (CellText(row, col).find('[') != std::string::npos)
        return LimeColour;
    if (gradient) {
        const long double rows = RowCount();
        const long double cols = ColCount();
        const int r = GradientPart(255 - row * 155 / rows);
        const int g = GradientPart(255 - col * 155 / cols);
        const int b = GradientPart(row * 155 / rows + 100);
        return static_cast<TColour>(r << 16 | g << 8 | b);
    }
    return LayoutCheckerColour(row, col);
}

std::vector<int> TLayoutView::SelectionNumbers(std::span<const TGridCell> cells) const {
    std::vector<int> numbers;
    for (const TGridCell& c : cells)
        if (c.Row > 0 && c.Col > 0)
            AddCellNumbers(numbers, CellText(c.Row, c.Col));
    return numbers;
}

} // namespace kumby
