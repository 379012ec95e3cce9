#pragma once

// The weekday view: how often each number came out on each day of the week over a
// window of draws, and the chart of one number or one day.

#include "views/ViewGrid.h"

#include <array>

namespace kumby {

inline constexpr int DaysInWeek = 7;

// 1 (Monday) .. 7 (Sunday) of the draw's date; 0 for a date that cannot be read,
// an empty one included.
int DrawWeekday(const TDrawRecord& draw);
// "Пн" .. "Вс".
const char* WeekdayShortName(int day);

// "WeekChartMode": 1 charts the current number over the days, 0 the current day over the numbers.
inline constexpr int WeekChartByDays = 1;
inline constexpr int WeekChartByNumbers = 0;

struct TWeekChartData {
    std::vector<std::string> Labels;
    std::vector<int> Values;
};

class TWeekView {
public:
    static constexpr int RowCount = DaysInWeek + 1;
    static constexpr int ColCount = MaxNumber + 1;

    // Unforced, nothing happens while the archive, offset and length are those of
    // the last build; returns whether it was built.
    bool Refresh(const TDrawsArray& draws, int offset, int len, bool force);
    bool IsCurrent(const TDrawsArray& draws, int offset, int len) const {
        return Key_ == ViewBuildKey(draws, offset, len, false);
    }
    void Clear();

    int Count(int day, int number) const;
    int Largest() const { return Largest_; }
    // Row 0: "", "1".."24"; column 0: the short day names; a zero count is empty.
    std::string CellText(int row, int col) const;
    // RGB(255, g, g), the most frequent cell pure red; none for an empty cell.
    std::optional<TColour> CellColour(int row, int col) const;
    // Mode WeekChartByDays: the current cell's number over the days; otherwise its
    // day over the numbers. Nothing for a header cell.
    TWeekChartData Chart(int mode, TGridCell current) const;
    // Every selected column counts, empty or not.
    std::vector<int> SelectionNumbers(std::span<const TGridCell> cells) const;

private:
    std::array<std::array<int, MaxNumber + 1>, DaysInWeek + 1> Counts_{};
    int Largest_ = 0;
    std::optional<TViewBuildKey> Key_;
};

} // namespace kumby
