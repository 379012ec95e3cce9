#include "CardView.h"

namespace kumby {

bool TCardView::Refresh(const TDrawsArray& draws, bool force) {
    if (!force && IsCurrent(draws))
        return false;
    Rows_.assign(std::max<std::size_t>(draws.size(), 1), TRow{});
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const TDrawRecord& d = draws[draws.size() - 1 - i];
        TRow& row = Rows_[i];
        row.Number = d.Number;
        row.Blank = false;
        for (uint8_t n : d.Numbers)
            if (n >= 1 && n <= MaxNumber)
                row.Numbers |= 1u << (n - 1);
    }
    Key_ = ViewBuildKey(draws, 0, 0, false);
    return true;
}

void TCardView::Clear() {
    Rows_.assign(1, TRow{});
    Key_.reset();
}

bool TCardView::HasNumber(int row, int col) const {
    if (row < 1 || row >= RowCount() || col < 1 || col > MaxNumber)
        return false;
    return (Rows_[static_cast<std::size_t>(row - 1)].Numbers >> (col - 1) & 1u) != 0;
}

std::string TCardView::CellText(int row, int col) const {
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount)
        return {};
    if (row == 0)
        return col == 0 ? "Тираж" : std::to_string(col);
    const TRow& r = Rows_[static_cast<std::size_t>(row - 1)];
    if (col == 0)
        return r.Blank ? std::string() : std::to_string(r.Number);
    return HasNumber(row, col) ? std::to_string(col) : std::string();
}

std::optional<TColour> TCardView::CellColour(int row, int col, const TCardColouring& colouring) const {
    if (row < 1 || row >= RowCount() || col < 1 || col > MaxNumber)
        return std::nullopt;
    if (colouring.Sequences && HasNumber(row, col)) {
        // Only draws are neighbours: the header row above the first draw and the
        // draw number left of the number 1 are not.
        const bool repeating = HasNumber(row - 1, col) || HasNumber(row + 1, col);
        const bool inRun = HasNumber(row, col - 1) || HasNumber(row, col + 1);
        if (repeating)
            return inRun ? YellowColour : LimeColour;
        if (inRun)
            return AquaColour;
    }
    if (colouring.Channels)
        return NumberColour(col, colouring.ChannelSize);
    return std::nullopt;
}

std::vector<int> TCardView::SelectionNumbers(std::span<const TGridCell> cells) const {
    std::vector<int> numbers;
    for (const TGridCell& c : cells)
        if (HasNumber(c.Row, c.Col))
            AddViewNumber(numbers, c.Col);
    return numbers;
}

} // namespace kumby
