#pragma once

// The draw card: one row per draw of the whole archive, newest first, one column
// per number; the cell of a number the draw has shows it.

#include "views/ViewGrid.h"

namespace kumby {

struct TCardColouring {
    bool Channels = true;  // "ColorCard"
    bool Sequences = true; // "ColorCardSequences"
    int ChannelSize = 4;
};

class TCardView {
public:
    static constexpr int ColCount = MaxNumber + 1;

    // Builds the card from the archive. Unforced, nothing happens while the archive
    // is the one of the last build; returns whether it was built.
    bool Refresh(const TDrawsArray& draws, bool force);
    // Whether the card was last built from this archive.
    bool IsCurrent(const TDrawsArray& draws) const { return Key_ == ViewBuildKey(draws, 0, 0, false); }
    // Forgets the card (a hidden tab keeps nothing).
    void Clear();
    bool Built() const { return Key_.has_value(); }

    // With the header row; an empty archive leaves one blank row.
    int RowCount() const { return static_cast<int>(Rows_.size()) + 1; }
    // Row 0: "Тираж", "1".."24"; column 0: the draw number.
    std::string CellText(int row, int col) const;
    bool HasNumber(int row, int col) const;
    // The background of a cell; none for the default one.
    std::optional<TColour> CellColour(int row, int col, const TCardColouring& colouring) const;
    // The numbers of the selected cells (columns 1..24), first met first.
    std::vector<int> SelectionNumbers(std::span<const TGridCell> cells) const;

private:
    struct TRow {
        int32_t Number = 0;
        uint32_t Numbers = 0; // bit n-1 for number n
        bool Blank = true;
    };
    std::vector<TRow> Rows_ = {TRow{}};
    std::optional<TViewBuildKey> Key_;
};

} // namespace kumby
