#include "WeekView.h"

#include "model/Money.h"
#include "stats/StatTable.h"

#include <cmath>

namespace kumby {

int DrawWeekday(const TDrawRecord& draw) {
    const std::string text = Trim(draw.DateTextUtf8());
    // Day 0 of the calendar is no draw's date: an empty text is an unknown day.
    if (text.empty())
        return 0;
    TDateTime t = 0;
    try {
        t = TextToDrawDate(text);
    } catch (const std::exception&) {
        return 0;
    }
    // Day 0 (30.12.1899) was a Saturday.
    const auto day = static_cast<int64_t>(std::trunc(t));
    return static_cast<int>(((day + 5) % 7 + 7) % 7) + 1;
}

const char* WeekdayShortName(int day) {
    static const char* const Names[] = {"", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
    return day >= 1 && day <= DaysInWeek ? Names[day] : "";
}

bool TWeekView::Refresh(const TDrawsArray& draws, int offset, int len, bool force) {
    if (!force && IsCurrent(draws, offset, len))
        return false;
    Clear();
    const TStatWindow w = StatWindow(draws.size(), offset, std::max(len, 1));
    for (int i = w.FirstIdx; w.N > 0 && i <= w.LastIdx; ++i) {
        const TDrawRecord& d = draws[static_cast<std::size_t>(i)];
        const int day = DrawWeekday(d);
        if (day == 0)
            continue;
        for (uint8_t n : d.Numbers)
            if (n >= 1 && n <= MaxNumber)
                Largest_ = std::max(Largest_, ++Counts_[static_cast<std::size_t>(day)][n]);
    }
    Key_ = ViewBuildKey(draws, offset, len, false);
    return true;
}

void TWeekView::Clear() {
    Counts_ = {};
    Largest_ = 0;
    Key_.reset();
}

int TWeekView::Count(int day, int number) const {
    if (day < 1 || day > DaysInWeek || number < 1 || number > MaxNumber)
        return 0;
    return Counts_[static_cast<std::size_t>(day)][static_cast<std::size_t>(number)];
}

std::string TWeekView::CellText(int row, int col) const {
    if (row < 0 || row >= RowCount || col < 0 || col >= ColCount)
        return {};
    if (row == 0)
        return col == 0 ? std::string() : std::to_string(col);
    if (col == 0)
        return WeekdayShortName(row);
    const int count = Count(row, col);
    return count == 0 ? std::string() : std::to_string(count);
}

std::optional<TColour> TWeekView::CellColour(int row, int col) const {
    const int count = Count(row, col);
    if (count == 0 || Largest_ == 0)
        return std::nullopt;
    const auto g = static_cast<TColour>(
        std::clamp<int64_t>(RoundHalfEven(255 - static_cast<long double>(count) * 255 / Largest_), 0, 255));
    return 0xFF0000 | g << 8 | g;
}

TWeekChartData TWeekView::Chart(int mode, TGridCell current) const {
    TWeekChartData chart;
    if (mode == WeekChartByDays) {
        if (current.Col < 1 || current.Col > MaxNumber)
            return chart;
        for (int day = 1; day <= DaysInWeek; ++day) {
            chart.Labels.emplace_back(WeekdayShortName(day));
            chart.Values.push_back(Count(day, current.Col));
        }
    } else {
        if (current.Row < 1 || current.Row > DaysInWeek)
            return chart;
        for (int n = 1; n <= MaxNumber; ++n) {
            chart.Labels.push_back(std::to_string(n));
            chart.Values.push_back(Count(current.Row, n));
        }
    }
    return chart;
}

std::vector<int> TWeekView::SelectionNumbers(std::span<const TGridCell> cells) const {
    std::vector<int> numbers;
    for (const TGridCell& c : cells)
        AddViewNumber(numbers, c.Col);
    return numbers;
}

} // namespace kumby
