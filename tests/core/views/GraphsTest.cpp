// The graphs tab's series, the sum distribution and the repeats analysis.

#include "support/TestSession.h"
#include "views/GraphSeries.h"
#include "views/RepeatsAnalysis.h"
#include "views/SumDistribution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>

namespace kumby {
namespace {

using testing::CombinationWithSum;
using testing::DrawOf;
using testing::TTestSession;

// Draws numbered 101, 102, ... whose sums are the given ones.
TDrawsArray DrawsWithSums(const std::vector<int>& sums) {
    TDrawsArray draws;
    for (int sum : sums)
        draws.push_back(DrawOf(101 + static_cast<int>(draws.size()), CombinationWithSum(sum)));
    return draws;
}

// ---- Graphs tab ---------------------------------------------------------------

struct TGraphCase {
    const char* Name;
    std::vector<int> Sums; // the archive, oldest first
    int Offset;
    int Len;
    std::vector<int32_t> Draws; // the points' draw numbers
    double Average;
    int32_t MostFrequent;
};

void PrintTo(const TGraphCase& c, std::ostream* out) {
    *out << c.Name;
}

class GraphSeriesTest : public ::testing::TestWithParam<TGraphCase> {};

TEST_P(GraphSeriesTest, ValuesAverageAndMostFrequentOverTheWindow) {
    const TGraphCase& c = GetParam();
    TTestSession t;
    t.StartWith(DrawsWithSums(c.Sums));
    Session& s = *t.S;
    s.SetDrawsOffset(c.Offset);
    s.View().DrawsGraphLen = c.Len;
    const int sums = s.Registry().FindByCode("SUMS");
    ASSERT_GE(sums, 0);
    ASSERT_TRUE(s.ComputeGraph(static_cast<std::size_t>(sums), true));

    const TGraphSeries& g = s.LastGraph();
    std::vector<int32_t> draws;
    for (const TGraphPoint& p : g.Points) {
        draws.push_back(p.Draw);
        const TDrawRecord& d = s.Draws()[static_cast<std::size_t>(p.Draw - 101)];
        EXPECT_EQ(p.Value, std::accumulate(std::begin(d.Numbers), std::end(d.Numbers), 0));
    }
    EXPECT_EQ(draws, c.Draws);
    EXPECT_DOUBLE_EQ(g.Average, c.Average);
    EXPECT_EQ(g.MostFrequent, c.MostFrequent);

    // The two flat lines sit at those values over every draw of the window.
    const std::vector<TChartSeries> lines = GraphChartSeries(g, false);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].Title, GraphAverageTitle);
    EXPECT_EQ(lines[2].Title, GraphMostFrequentTitle);
    for (const TChartSeries& line : lines)
        ASSERT_EQ(line.Points.size(), c.Draws.size());
    for (std::size_t i = 0; i < c.Draws.size(); ++i) {
        EXPECT_EQ(lines[1].Points[i].Y, c.Average);
        EXPECT_EQ(lines[2].Points[i].Y, c.MostFrequent);
        EXPECT_EQ(lines[0].Points[i].Label, std::to_string(c.Draws[i]));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, GraphSeriesTest,
    ::testing::Values(
        TGraphCase{"OneDraw", {100, 140, 150}, 0, 1, {103}, 150, 150},
        TGraphCase{"OneDrawBehindTheOffset", {100, 140, 150}, 2, 1, {101}, 100, 100},
        // 100 and 120 come twice each: the one met first, oldest draw first, wins.
        TGraphCase{"TieGoesToTheOldest", {100, 120, 120, 100}, 0, 4, {101, 102, 103, 104}, 110, 100},
        TGraphCase{"TieReversed", {120, 100, 100, 120}, 0, 4, {101, 102, 103, 104}, 110, 120},
        TGraphCase{"CountBeatsOrder", {90, 130, 130, 95}, 0, 10, {101, 102, 103, 104}, 111.25, 130},
        TGraphCase{"WindowClampedAtTheFirstDraw", {80, 90, 100}, 1, 50, {101, 102}, 85, 80}),
    [](const ::testing::TestParamInfo<TGraphCase>& info) { return std::string(info.param.Name); });

TEST(GraphSessionTest, SkipsOnlyWhileNothingItReadsChanged) {
    TTestSession t;
    t.StartWith(DrawsWithSums({100, 110, 120}));
    Session& s = *t.S;
    const auto sums = static_cast<std::size_t>(s.Registry().FindByCode("SUMS"));
    EXPECT_TRUE(s.ComputeGraph(sums, false));
    EXPECT_FALSE(s.ComputeGraph(sums, false));
    EXPECT_TRUE(s.ComputeGraph(sums, true));

    // A draw changed in place keeps the count, the offset and the length.
    ASSERT_TRUE(s.DrawsChange(2, DrawOf(103, CombinationWithSum(200))));
    EXPECT_TRUE(s.ComputeGraph(sums, false));
    EXPECT_EQ(s.LastGraph().Points.back().Value, 200);

    // No method clears the graph.
    EXPECT_TRUE(s.ComputeGraph(Session::NoStatMethod, false));
    EXPECT_TRUE(s.LastGraph().Points.empty());

    // A hidden tab does no work and forgets its graph.
    s.SetTabGraphs(false);
    EXPECT_FALSE(s.ComputeGraph(sums, true));
    EXPECT_TRUE(s.LastGraph().Points.empty());
    EXPECT_TRUE(t.Ui.Errors().empty());
}

// ---- Sum distribution -----------------------------------------------------------

// Combinations of 12 numbers out of 1..24 by sum, counted by choosing numbers one at a
// time: count[k][s] = ways to pick k numbers with sum s.
std::array<int64_t, MaxSum + 1> CombinationsBySum() {
    std::array<std::array<int64_t, MaxSum + 1>, NumbersInDraw + 1> count{};
    count[0][0] = 1;
    for (int n = 1; n <= MaxNumber; ++n)
        for (int k = NumbersInDraw; k >= 1; --k)
            for (int s = MaxSum; s >= n; --s)
                count[k][s] += count[k - 1][s - n];
    return count[NumbersInDraw];
}

TEST(SumDistributionTest, FullSetMatchesAnIndependentCountWithItsLevels) {
    const TDrawsArray draws = DrawsWithSums({150, 100, 150, 222});
    const auto d = ComputeSumDistribution(draws);
    ASSERT_TRUE(d.has_value());
    const auto expected = CombinationsBySum();

    ASSERT_EQ(d->Combinations.size(), static_cast<std::size_t>(MaxSum - MinSum + 1));
    int64_t total = 0;
    for (std::size_t i = 0; i < d->Combinations.size(); ++i) {
        const TStatSimpleEntry& e = d->Combinations[i];
        EXPECT_EQ(e.Key, MinSum + static_cast<int>(i));
        EXPECT_EQ(e.Value, expected[static_cast<std::size_t>(e.Key)]) << "sum " << e.Key;
        total += e.Value;
    }
    EXPECT_EQ(total, FullSetSize);
    EXPECT_EQ(d->Combinations.front().Value, 1);
    EXPECT_EQ(d->Combinations.back().Value, 1);
    EXPECT_EQ(d->CombMin, 1);
    EXPECT_EQ(d->CombMax, *std::max_element(expected.begin(), expected.end()));

    // Each level spans the sums whose count reaches it (the counts rise to the middle
    // sum and fall after it).
    const int64_t span = d->CombMax - d->CombMin + 1;
    const int64_t levels[3] = {1 + span / 3, 1 + span / 2, 1 + span * 2 / 3};
    for (std::size_t k = 0; k < 3; ++k) {
        int low = 0, high = 0;
        for (int s = MinSum; s <= MaxSum; ++s)
            if (expected[static_cast<std::size_t>(s)] >= levels[k]) {
                low = low ? low : s;
                high = s;
            }
        EXPECT_EQ(d->Levels[k].Level, levels[k]);
        EXPECT_EQ(d->Levels[k].Low, low) << "level " << k + 1;
        EXPECT_EQ(d->Levels[k].High, high) << "level " << k + 1;
        EXPECT_EQ(low + high, MinSum + MaxSum); // the distribution is symmetric
    }

    // The draws by sum, sorted; the largest draw count scales the chart.
    const TStatSimpleArray drawSums = {{100, 1}, {150, 2}, {222, 1}};
    ASSERT_EQ(d->Draws.size(), drawSums.size());
    for (std::size_t i = 0; i < drawSums.size(); ++i) {
        EXPECT_EQ(d->Draws[i].Key, drawSums[i].Key);
        EXPECT_EQ(d->Draws[i].Value, drawSums[i].Value);
    }
    EXPECT_EQ(d->DrawMax, 2);
    const std::vector<TChartSeries> chart = SumDistributionChart(*d);
    ASSERT_EQ(chart.size(), 5u);
    EXPECT_EQ(chart[0].Title, ActualSumsTitle);
    EXPECT_EQ(chart[1].Title, TheoreticalSumsTitle);
    EXPECT_DOUBLE_EQ(chart[1].Points[150 - MinSum].Y, 2.0 * expected[150] / d->CombMax);
    EXPECT_EQ(chart[3].Title, Format("Диапазон 2 (от 1/2 и выше по оси Y) - суммы %d-%d", d->Levels[1].Low,
                                     d->Levels[1].High));
}

TEST(SumDistributionTest, StopEndsTheCountWithoutAResult) {
    long long calls = 0;
    const auto d = ComputeSumDistribution({}, [&](long long done, long long total) {
        EXPECT_EQ(total, FullSetSize);
        EXPECT_LE(done, total);
        return ++calls < 3;
    });
    EXPECT_FALSE(d.has_value());
    EXPECT_EQ(calls, 3);
}

// ---- Repeats ------------------------------------------------------------------

struct TRepeatsCase {
    const char* Name;
    TDrawsArray Draws;
    int Length;
    int Depth;
    std::vector<TRepeatRow> Rows;
};

TDrawsArray RepeatsArchive() {
    return {
        DrawOf(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
        DrawOf(2, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}),
        DrawOf(3, {1, 2, 3, 13, 14, 15, 16, 17, 18, 19, 20, 21}), // 3 with #1, 9 with #2
        DrawOf(4, {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}),       // #1 in another order
        DrawOf(5, {1, 2, 3, 4, 5, 6, 13, 14, 15, 16, 17, 18}),    // 6 with #1, #2 and #4; 9 with #3
    };
}

void PrintTo(const TRepeatsCase& c, std::ostream* out) {
    *out << c.Name;
}

class RepeatsTest : public ::testing::TestWithParam<TRepeatsCase> {};

TEST_P(RepeatsTest, RowsPerDrawAndMatchCountInTheOrderMet) {
    const TRepeatsCase& c = GetParam();
    const auto rows = ComputeRepeats(c.Draws, c.Length, c.Depth);
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), c.Rows.size());
    for (std::size_t i = 0; i < rows->size(); ++i) {
        const TRepeatRow& a = (*rows)[i];
        const TRepeatRow& e = c.Rows[i];
        EXPECT_EQ(std::tie(a.Draw, a.Matches, a.Count, a.List), std::tie(e.Draw, e.Matches, e.Count, e.List))
            << "row " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Archives, RepeatsTest,
    ::testing::Values(TRepeatsCase{"TwoIdenticalDraws",
                                   {DrawOf(7, {5, 1, 9, 2, 24, 3, 4, 6, 7, 8, 10, 11}),
                                    DrawOf(8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 24})},
                                   100,
                                   100,
                                   {{8, 12, 1, "7"}}},
                      // The newest draw looks 100 back but finds four draws; the oldest finds none.
                      TRepeatsCase{"DepthClampedAtTheFirstDraw",
                                   RepeatsArchive(),
                                   100,
                                   100,
                                   {{5, 6, 3, "4 2 1"},
                                    {5, 9, 1, "3"},
                                    {4, 3, 1, "3"},
                                    {4, 12, 1, "1"},
                                    {3, 9, 1, "2"},
                                    {3, 3, 1, "1"}}},
                      TRepeatsCase{
                          "DepthAndLengthCut", RepeatsArchive(), 2, 1, {{5, 6, 1, "4"}, {4, 3, 1, "3"}}},
                      TRepeatsCase{"BelowOneCountsAsOne", RepeatsArchive(), 0, -5, {{5, 6, 1, "4"}}},
                      TRepeatsCase{"EmptyArchive", {}, 100, 100, {}},
                      // Blank records share no number, however many zeros they hold.
                      TRepeatsCase{"BlankDraws", {DrawOf(1, {}), DrawOf(2, {})}, 100, 100, {}}),
    [](const ::testing::TestParamInfo<TRepeatsCase>& info) { return std::string(info.param.Name); });

TEST(RepeatsChartTest, OneLinePerMatchCountUpToTheLargestOldestDrawFirst) {
    const auto rows = ComputeRepeats(RepeatsArchive(), 100, 100);
    ASSERT_TRUE(rows.has_value());
    const std::vector<TChartSeries> lines = RepeatsChart(*rows);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0].Title, "Совпадений: 1");
    EXPECT_EQ(lines[11].Title, "Совпадений: 12");
    EXPECT_TRUE(lines[0].Points.empty());
    ASSERT_EQ(lines[8].Points.size(), 2u); // 9 shared: draws 3 and 5
    EXPECT_EQ(lines[8].Points[0].X, 3);
    EXPECT_EQ(lines[8].Points[1].X, 5);
    ASSERT_EQ(lines[5].Points.size(), 1u);
    EXPECT_EQ(lines[5].Points[0].Y, 3); // draw 5 shares 6 with three draws
}

TEST(RepeatsSessionTest, StopEndsTheAnalysisWithoutRows) {
    TTestSession t;
    t.StartWith(RepeatsArchive());
    t.Ui.StopAfter = 2;
    EXPECT_FALSE(t.S->Repeats(100, 100).has_value());
    t.Ui.StopAfter = -1;
    const auto rows = t.S->Repeats(100, 100);
    ASSERT_TRUE(rows.has_value());
    EXPECT_EQ(rows->size(), 6u);
    EXPECT_EQ(t.Ui.Progress.back(), (std::pair<long long, long long>{0, 0}));
}

} // namespace
} // namespace kumby
