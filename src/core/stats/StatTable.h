#pragma once

// The statistics table: one row per value of a method over a window of draws,
// compared with the full-set distribution, with gaps and three forecasts of the
// next occurrence; its chart series and its sorting.

#include "combs/PrefetchFile.h"
#include "model/Records.h"
#include "model/VexoUtils.h"
#include "stats/StatValues.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

class TCustomStat;

inline constexpr int StatColumnCount = 20;
inline constexpr const char* StatTableStatusText = "Анализ тиражей и расчет статистики...";
inline constexpr const char* BadSortColumnText = "Некорректное занчение номера столбца сортировки (%d)";

enum TStatColumn : int {
    StatColValue = 0,
    StatColCount,
    StatColCountPct,
    StatColNorm,
    StatColDeviation,
    StatColDeviationPct,
    StatColDepth,
    StatColDepthPct,
    StatColWeight,
    StatColDraw,
    StatColPeriodMin,
    StatColPeriod,
    StatColPeriodMax,
    StatColForecastPrd,
    StatColForecastStf,
    StatColForecastKrn,
    StatColFact,
    StatColDeviationPrd,
    StatColDeviationStf,
    StatColDeviationKrn,
};

// Header captions, column 0 to 19.
const std::array<const char*, StatColumnCount>& StatColumnCaptions();

// The analysed draws: LastIdx = newest index - offset, FirstIdx = max(0, LastIdx - len + 1),
// N = LastIdx - FirstIdx + 1 (not positive when the window is empty).
struct TStatWindow {
    int LastIdx = -1;
    int FirstIdx = 0;
    int N = 0;
};
TStatWindow StatWindow(std::size_t drawCount, int offset, int len);

// A row holds numbers only; its cell texts are made when asked for (TStatTable::Text):
// a window of tuples in drawn order has hundreds of thousands of rows, of which a
// screen shows a few dozen.
struct TStatRow {
    TStatEntry Entry;  // Norm included
    int32_t Fact = -1; // number of the draw that brought the value next, -1: none
};

// The rows: the window's value list itself, taken over rather than copied (a tuple
// window lists hundreds of thousands of values), and each row's "Факт" draw beside
// it. Read row by row as TStatRow values.
class TStatRows {
public:
    TStatDrawArray Entries;
    std::vector<int32_t> Facts; // as TStatRow::Fact, one per entry

    class TIterator {
    public:
        TIterator(const TStatRows& rows, std::size_t at) : Rows_(&rows), At_(at) {}
        TStatRow operator*() const { return (*Rows_)[At_]; }
        TIterator& operator++() {
            ++At_;
            return *this;
        }
        bool operator==(const TIterator& o) const { return At_ == o.At_; }

    private:
        const TStatRows* Rows_;
        std::size_t At_;
    };

    std::size_t size() const { return Entries.size(); }
    bool empty() const { return Entries.empty(); }
    TStatRow operator[](std::size_t i) const { return {Entries[i], Facts[i]}; }
    TIterator begin() const { return {*this, 0}; }
    TIterator end() const { return {*this, size()}; }
    void push_back(const TStatRow& row) {
        Entries.push_back(row.Entry);
        Facts.push_back(row.Fact);
    }
};

inline constexpr const char* ActualSeriesTitle = "Фактические данные";
inline constexpr const char* FullSetSeriesTitle = "Все возможные комбинации";

struct TChartPoint {
    double X = 0;
    double Y = 0;
    std::string Label;
};

// A marker fill that stands for the line's own colour.
inline constexpr TColour LineColourFill = 0xFFFFFFFF;

struct TChartSeries {
    std::string Title;
    TColour LineColour = 0;
    int LineWidth = 1;
    TColour MarkerOutline = 0;
    TColour MarkerFill = LineColourFill; // the marks' inside; by default the line's colour
    int MarkerSize = 2;
    bool MarkersVisible = true;
    bool ValueMarksVisible = false; // each point's value written beside it
    std::vector<TChartPoint> Points;
};

// Full-set counts scaled to the window: count x Numerator / Denominator. Kept as two
// integers so that a norm lands exactly on a half where it should and rounds to even
// there; a factor taken first in floating point misses such ties.
struct TNormScale {
    int64_t Numerator = 0;
    int64_t Denominator = 1; // positive

    // Nearest integer, halves to the even neighbour.
    int64_t Norm(int32_t fullCount) const;
    long double Value(int32_t fullCount) const;
};
// The scale of a window's counts (smallest and largest observed) against a file's:
// the middle of the observed range over the full-set count when every value is
// equally frequent in the full set, else the largest observed over the largest.
TNormScale NormScale(int32_t minCount, int32_t maxCount, int32_t fullMin, int32_t fullMax);

struct TStatTable {
    TStatWindow Window;
    int64_t Total = 0;
    int32_t MinCount = 2147483647;
    int32_t MaxCount = 0;
    int32_t MaxDepth = 0;
    bool HasNorm = false;
    TNormScale Scale;
    TConfigData Config;                            // the weight column's coefficients
    std::shared_ptr<const TCustomStat> Method;     // writes the value captions
    std::shared_ptr<const TPrefetchData> Prefetch; // the full set for the chart; none without the comparison
    bool ShowTotalLine = true;
    TStatRows Rows;      // computation order: seeded values first, then as first met
    int SortColumn = -1; // -1: computation order
    bool SortDescending = false;
    std::vector<std::size_t> Order; // display order, indexes into Rows

    std::size_t RowCount() const { return Rows.size(); }
    TStatRow DisplayRow(std::size_t i) const { return Rows[Order[i]]; }
    // The cell text of a row in a column 0..19 ("-" where the column has no value).
    std::string Text(const TStatRow& row, int column) const;
    std::string DisplayText(std::size_t i, int column) const { return Text(DisplayRow(i), column); }
    std::array<std::string, StatColumnCount> Texts(const TStatRow& row) const;
};

// The whole computation for one method instance (created for this job, kept by the
// table for its captions) over the window. `prefetch` is the method's full-set
// distribution, or nullptr without the comparison. Rows come in computation order
// (Order likewise); sort afterwards.
TStatTable ComputeStatTable(std::shared_ptr<TCustomStat> method, const TDrawsArray& draws,
                            const TStatWindow& window, bool sorted, const TPrefetchData* prefetch,
                            const TConfigData& config, bool showTotalLine);

// The table's chart: none, the actual data, or the actual data and the full set.
std::vector<TChartSeries> StatChart(const TStatTable& table);

// Texts of a row for the script runner; Key stays 0.
TStatValues RowValues(const TStatTable& table, const TStatRow& row);

// Two cell texts as the table compares them: numerically when both are numbers
// (with "," read as "."), else as text ignoring case.
int CompareStatTexts(std::string_view a, std::string_view b);
// Sorts the display order by a column (-1: computation order), ties broken by the
// captions; raises Error for a column outside -1..19.
void SortStatTable(TStatTable& table, int column, bool descending);

} // namespace kumby
