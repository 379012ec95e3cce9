// Norms, forecasts and periods of the statistics table computed exactly: halves of
// the norm round to even, forecasts past 32 bits still compare with the fact, and a
// value met twice in one draw measures no period.

#include "stats/StatTable.h"
#include "support/ShownRows.h"

#include "StatTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::TStatFixture;

constexpr int32_t HalfOfFullSet = 1352078; // every number's count over the full set

TCombination Consecutive(int from) {
    TCombination c{};
    for (int i = 0; i < NumbersInDraw; ++i)
        c[i] = static_cast<uint8_t>(from + i);
    return c;
}

TShownRow RowOf(const TStatTable& t, const std::string& value) {
    for (const TStatRow& r : t.Rows)
        if (t.Text(r, StatColValue) == value)
            return Shown(t, r);
    ADD_FAILURE() << "no row " << value;
    return {};
}

TStatTable NumsTable(TStatFixture& f, const TPrefetchData& prefetch) {
    auto nums = f.Create("NUMS");
    return ComputeStatTable(std::move(nums), f.Draws, StatWindow(f.Draws.size(), 0, 1000), false, &prefetch,
                            f.Config, true);
}

TPrefetchData FlatNumbers() {
    TPrefetchData flat;
    for (uint16_t k = 1; k <= 24; ++k)
        flat.Records.push_back({k, 0, 0, 0, HalfOfFullSet});
    flat.MinCount = flat.MaxCount = HalfOfFullSet;
    return flat;
}

// The numbers of the full set are equally frequent, so every norm is the middle of
// the observed range. Alternating draws of 1..12 and 13..24 make that range n + 1
// and n: the middle n + 0.5, which 1352078 x ((2n + 1) / 2 / 1352078) in extended
// precision misses on either side.
TEST(ExactNormTest, UniformHalvesRoundToTheEvenNeighbour) {
    struct TCase {
        int Draws;
        int32_t Norm;
    };
    for (const TCase c : {TCase{7, 4}, TCase{21, 10}, TCase{83, 42}, TCase{101, 50}}) {
        SCOPED_TRACE(c.Draws);
        TStatFixture f;
        for (int d = 0; d < c.Draws; ++d)
            f.Draws.push_back(DrawOf(100 + d, Consecutive(d % 2 == 0 ? 1 : 13)));
        const TStatTable t = NumsTable(f, FlatNumbers());
        ASSERT_TRUE(t.HasNorm);
        ASSERT_EQ(t.MaxCount + t.MinCount, c.Draws);
        for (const TShownRow& r : ShownRows(t)) {
            EXPECT_EQ(r.Entry.Norm, c.Norm) << r.Texts[StatColValue];
            EXPECT_EQ(r.Texts[StatColNorm], std::to_string(c.Norm));
            EXPECT_EQ(r.Texts[StatColDeviation], std::to_string(r.Entry.Count - c.Norm));
        }
        const std::vector<TChartSeries> chart = StatChart(t);
        ASSERT_EQ(chart.size(), 2u);
        for (const TChartPoint& p : chart[1].Points)
            EXPECT_EQ(p.Y, c.Draws / 2.0) << "the full-set line sits exactly on the middle";
    }
}

// Skewed full set: the norm is count x largest observed / largest full count. With
// 7 of 14 and 59 observed it is 29.5 exactly, to be rounded to 30.
TEST(ExactNormTest, SkewedHalvesRoundToTheEvenNeighbour) {
    TStatFixture f;
    for (int d = 0; d < 59; ++d) { // 1 in every draw, the rest turns round 2..24
        TCombination c{};
        c[0] = 1;
        for (int i = 1; i < NumbersInDraw; ++i)
            c[i] = static_cast<uint8_t>(2 + (d * 11 + i - 1) % 23);
        f.Draws.push_back(DrawOf(500 + d, c));
    }
    TPrefetchData skewed;
    skewed.Records = {{1, 0, 0, 0, 14}, {2, 0, 0, 0, 7}, {3, 0, 0, 0, 13}};
    skewed.MinCount = 7;
    skewed.MaxCount = 14;

    const TStatTable t = NumsTable(f, skewed);
    ASSERT_EQ(t.MaxCount, 59);
    EXPECT_EQ(RowOf(t, "1").Texts[StatColNorm], "59");
    EXPECT_EQ(RowOf(t, "2").Texts[StatColNorm], "30") << "29.5";
    EXPECT_EQ(RowOf(t, "3").Texts[StatColNorm], "55") << "54.79";
    EXPECT_EQ(RowOf(t, "4").Texts[StatColNorm], "0") << "no record";
}

TEST(ExactNormTest, ScaleRoundsEveryHalfToEven) {
    struct TCase {
        int32_t Min, Max, FullMin, FullMax, Count;
        int64_t Norm;
    };
    const TCase cases[] = {
        {3, 4, 10, 10, 10, 4},                                                    // 3.5
        {4, 5, 10, 10, 10, 4},                                                    // 4.5
        {0, 1, 6, 6, 6, 0},                                                       // 0.5
        {1, 3, 1, 5, 5, 3},                                                       // 3 x 5 / 5
        {0, 59, 7, 14, 7, 30},                                                    // 29.5
        {0, 59, 7, 14, 13, 55},                                                   // 54.79
        {2147483647, 2147483647, 2147483647, 2147483647, 2147483647, 2147483647}, // no overflow
        {0, 2147483647, 1, 2147483647, 2147483646, 2147483646},
    };
    for (const TCase& c : cases) {
        const TNormScale scale = NormScale(c.Min, c.Max, c.FullMin, c.FullMax);
        EXPECT_EQ(scale.Norm(c.Count), c.Norm) << c.Min << " " << c.Max << " " << c.Count;
    }
}

// Draw numbers near the top of 32 bits make the forecasts larger than 32 bits; their
// deviations from the fact are still numbers.
TEST(ExactForecastTest, ForecastsPast32BitsCompareWithTheFact) {
    TStatFixture f;
    f.Draws.push_back(DrawOf(2147483000, Consecutive(1)));
    f.Draws.push_back(DrawOf(2147483001, Consecutive(13)));
    f.Draws.push_back(DrawOf(2147483002, Consecutive(13)));
    auto nums = f.Create("NUMS");
    const TStatTable t = ComputeStatTable(std::move(nums), f.Draws, StatWindow(f.Draws.size(), 1, 1), false,
                                          nullptr, f.Config, true);
    const TShownRow& row = RowOf(t, "13");
    EXPECT_EQ(row.Texts[StatColFact], "2147483002");
    EXPECT_EQ(row.Texts[StatColForecastStf], "4294966002");
    EXPECT_EQ(row.Texts[StatColDeviationStf], "+2147483000");
    EXPECT_EQ(row.Texts[StatColForecastKrn], "3221224503");
    EXPECT_EQ(row.Texts[StatColDeviationKrn], "+1073741501");

    struct TCase {
        const char* Text;
        int Base;
        const char* Expected;
    };
    const TCase cases[] = {
        {"4294967296", 0, "+4294967296"},
        {"4294967296", 2147483647, "+2147483649"},
        {"2147483648", -2147483647 - 1, "+4294967296"},
        {"9223372036854775807", 0, "+9223372036854775807"},
        {"9223372036854775807", -1, "-"}, // the difference leaves 64 bits
        {"9223372036854775808", 0, "-"},
        {"-4294967296", 0, "-"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(DeviationText(c.Text, c.Base), c.Expected) << c.Text;
}

// Merging in the order of draws 100, 100, 97, 97, 97, 90 (as a value met twice or
// thrice in a draw arrives): gaps of 3 and 7, no gap of 0.
TEST(ZeroGapTest, SameDrawMergedTwiceMeasuresNoPeriod) {
    const int32_t draws[] = {100, 100, 97, 97, 97, 90};
    auto entry = [](int32_t draw) {
        TStatEntry e;
        e.Key1 = 1;
        e.Draw = e.PrevDraw = draw;
        e.Depth = 101 - draw;
        e.Count = 1;
        return e;
    };
    TStatDrawArray scanned, indexed;
    TStatMerger merger;
    for (int32_t d : draws) {
        AddStatEntry(scanned, entry(d), true);
        merger.Add(indexed, entry(d), true);
    }
    for (const TStatDrawArray* list : {&scanned, &indexed}) {
        ASSERT_EQ(list->size(), 1u);
        const TStatEntry& x = list->front();
        EXPECT_EQ(x.Count, 6);
        EXPECT_EQ(x.PrevDraw, 90);
        EXPECT_EQ(x.PeriodMin, 3);
        EXPECT_EQ(x.PeriodMax, 7);
    }

    // Only ever in one draw: nothing measured.
    TStatDrawArray once;
    AddStatEntry(once, entry(50), true);
    AddStatEntry(once, entry(50), true);
    EXPECT_EQ(once[0].Count, 2);
    EXPECT_EQ(once[0].PeriodMin, 0);
    EXPECT_EQ(once[0].PeriodMax, 0);
}

// The digit 1 comes from 1 and 10..19, often several times a draw: its periods are
// gaps between different draws, counted here without the method.
TEST(ZeroGapTest, DigitPeriodsAreGapsBetweenDifferentDraws) {
    TStatFixture f;
    std::mt19937 rng(2024);
    for (int d = 0; d < 300; ++d) // numbered with gaps of 1 and 4
        f.Draws.push_back(DrawOf(1000 + d * 2 - d % 3, testing::RandomDrawNumbers(rng)));

    std::map<int, std::set<int32_t>> drawsWithDigit;
    for (const TDrawRecord& d : f.Draws)
        for (uint8_t n : d.Numbers)
            for (char ch : std::to_string(n))
                drawsWithDigit[ch - '0'].insert(d.Number);

    auto digs = f.Create("DIGS");
    const TStatTable t = ComputeStatTable(std::move(digs), f.Draws, StatWindow(f.Draws.size(), 0, 300), false,
                                          nullptr, f.Config, true);
    ASSERT_EQ(t.RowCount(), 10u);
    for (const TShownRow& row : ShownRows(t)) {
        const auto& numbers = drawsWithDigit.at(row.Entry.Key1);
        int32_t lo = 0, hi = 0;
        for (auto it = std::next(numbers.begin()); it != numbers.end(); ++it) {
            const int32_t gap = *it - *std::prev(it);
            lo = lo == 0 ? gap : std::min(lo, gap);
            hi = std::max(hi, gap);
        }
        SCOPED_TRACE("digit " + row.Texts[StatColValue]);
        EXPECT_NE(row.Texts[StatColPeriodMin], "0");
        EXPECT_EQ(row.Texts[StatColPeriodMin], std::to_string(lo));
        EXPECT_EQ(row.Texts[StatColPeriodMax], std::to_string(hi));
    }
}

// A value that only one draw of the window has, twice: no period was measured, and
// the table says so rather than show a period of 0.
TEST(ZeroGapTest, NoMeasuredPeriodShowsADash) {
    TStatFixture f;
    f.Draws.push_back(DrawOf(7, {1, 10, 20, 2, 3, 4, 5, 6, 7, 8, 9, 24}));
    auto digs = f.Create("DIGS");
    const TStatTable t = ComputeStatTable(std::move(digs), f.Draws, StatWindow(f.Draws.size(), 0, 1), false,
                                          nullptr, f.Config, true);
    const TShownRow& one = RowOf(t, "1");
    ASSERT_EQ(one.Texts[StatColCount], "2");
    EXPECT_EQ(one.Texts[StatColPeriodMin], "-");
    EXPECT_EQ(one.Texts[StatColPeriodMax], "-");
    EXPECT_EQ(one.Texts[StatColPeriod], "0.5000") << "the other columns of a count of 2 stay";
}

} // namespace
} // namespace kumby
