#pragma once

// The layout: the numbers of a window of draws grouped by how often they came out
// (rows) and the draw they last came out in (columns), and five lists grouping
// them by frequency over other window lengths.

#include "views/ViewGrid.h"

#include <array>

namespace kumby {

inline constexpr int LayoutCompareCount = 5;
inline constexpr TColour LayoutPinkColour = 0xFFEAEA;
inline constexpr TColour LayoutGreenColour = 0xEAFFEA;

// The window of `len` draws ending at the offset, walked from the newest draw: each
// number met once with its count and the draw number of its latest appearance.
TShemaArray CountShema(const TDrawsArray& draws, int offset, int len, bool sorted);

// The background without the gradient: blocks of 5x5 cells, pink where exactly
// one of the indexes ends in 1..5 (indexes above 95 never do), else green.
TColour LayoutCheckerColour(int row, int col);

struct TLayoutCompareList {
    std::string Caption; // "first - last" draw numbers of the window
    struct TRow {
        int Count = 0;
        std::string Numbers; // "3, 17, 5"
    };
    std::vector<TRow> Rows; // counts descending
};
inline constexpr const char* LayoutCountCaption = "Кол-во";

// The layout's data for one archive at one offset.
struct TLayoutInput {
    const TDrawsArray& Draws;
    int Offset = 0;
    bool Sorted = false;
    // Numbers of the draw after the window (none at offset 0), index = number.
    const std::array<bool, MaxNumber + 1>& NextDraw;
};

class TLayoutView {
public:
    // Unforced, nothing happens while the archive, offset, order and length are those
    // of the last build; returns whether it was built.
    bool Refresh(const TLayoutInput& input, int len, bool force);
    bool IsCurrent(const TLayoutInput& input, int len) const {
        return Key_ == ViewBuildKey(input.Draws, input.Offset, len, input.Sorted);
    }
    bool RefreshCompare(const TLayoutInput& input, const std::array<int, LayoutCompareCount>& lens,
                        bool force);
    bool IsCompareCurrent(const TLayoutInput& input, const std::array<int, LayoutCompareCount>& lens) const {
        return CompareKey_ == std::make_pair(ViewBuildKey(input.Draws, input.Offset, 0, input.Sorted), lens);
    }
    void Clear();

    // With the header row and column.
    int RowCount() const { return static_cast<int>(Counts_.size()) + 1; }
    int ColCount() const { return static_cast<int>(LastDraws_.size()) + 1; }
    // Row 0: the last-appearance draw numbers; column 0: the counts; cells: the
    // numbers met, "[7]" for one of the next draw.
    std::string CellText(int row, int col) const;
    std::optional<TColour> CellColour(int row, int col, bool gradient) const;
    std::vector<int> SelectionNumbers(std::span<const TGridCell> cells) const;
    const std::array<TLayoutCompareList, LayoutCompareCount>& CompareLists() const { return Compare_; }

private:
    void ClearGrid();

    std::vector<int32_t> Counts_;    // row headers, descending
    std::vector<int32_t> LastDraws_; // column headers, descending
    std::vector<std::string> Cells_; // (row - 1) * columns + (col - 1)
    std::optional<TViewBuildKey> Key_;
    std::array<TLayoutCompareList, LayoutCompareCount> Compare_;
    std::optional<std::pair<TViewBuildKey, std::array<int, LayoutCompareCount>>> CompareKey_;
};

} // namespace kumby
