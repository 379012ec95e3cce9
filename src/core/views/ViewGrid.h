#pragma once

// What the card, layout and weekday views share: grid cells, the key of the data a
// view was last built from, and the reading of numbers out of selected cells.

#include "model/Records.h"
#include "model/VexoUtils.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

// A cell of a view's grid; row 0 and column 0 hold the headers.
struct TGridCell {
    int Row = 0;
    int Col = 0;
    bool operator==(const TGridCell&) const = default;
};

enum class TAnalysisView { Card, Layout, Week };

// The tab caption, which is also the caption of the view's filter step: "Карта", "Схема", "Неделя".
const char* AnalysisViewCaption(TAnalysisView view);

inline constexpr TColour YellowColour = 0xFFFF00;
inline constexpr TColour LimeColour = 0x00FF00;
inline constexpr TColour AquaColour = 0x00FFFF;

// What a view was built from. A draw changed in place keeps the count, so the
// archive's bytes are part of it.
struct TViewBuildKey {
    std::size_t DrawCount = 0;
    uint64_t ArchiveHash = 0;
    int Offset = 0;
    int Len = 0;
    bool Sorted = false;
    bool operator==(const TViewBuildKey&) const = default;
};
TViewBuildKey ViewBuildKey(const TDrawsArray& draws, int offset, int len, bool sorted);

// The numbers of a draw in the order a view reads them: stored, or ascending when
// the draws are shown sorted.
TCombination ViewDrawNumbers(const TDrawRecord& draw, bool sorted);

// Adds n (1..24) to `numbers` unless it is there.
void AddViewNumber(std::vector<int>& numbers, int n);
// The numbers written in a cell text: runs of digits, anything else separating them
// ("5, [7], 12" gives 5, 7, 12); only 1..24 count.
void AddCellNumbers(std::vector<int>& numbers, std::string_view text);
// "5; 7; 12": the values text of a filter step.
std::string ViewNumbersText(const std::vector<int>& numbers);

} // namespace kumby
