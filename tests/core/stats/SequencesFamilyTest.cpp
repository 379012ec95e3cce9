// The sequences family: runs of consecutive numbers inside one draw, in drawn and in
// ascending order, with the charts that also take falling steps.

#include "StatTestSupport.h"
#include "stats/families/VF_Seqn.h"

namespace kumby::testing {
namespace {

class SequencesFamilyTest : public ::testing::Test {
protected:
    int AddDraw(const TCombination& numbers) {
        F.Draws.push_back(DrawOf(static_cast<int32_t>(F.Draws.size()) + 1, numbers));
        return F.LastIdx();
    }

    TStatFixture F;
};

using TCounts = std::map<uint64_t, int64_t>; // value -> how many times a draw adds it

// One draw through each method: what the window adds, what the chart shows, and (for
// draws read sorted, as a combination is) what the draw gives as a combination.
TEST_F(SequencesFamilyTest, ValuesAndChartsOfOneDraw) {
    struct TCase {
        TCombination Numbers;
        bool Sorted;
        TCounts Seql;
        int Seqs, SeqsChart, Lens, LensChart;
    };
    const TCase cases[] = {
        // Runs 1-2-3, 5, 7-8, 10, 12, 14-15-16-17.
        {{1, 2, 3, 5, 7, 8, 10, 12, 14, 15, 16, 17}, false, {{3, 1}, {1, 3}, {2, 1}, {4, 1}}, 3, 3, 4, 4},
        {{1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23}, false, {{1, 12}}, 0, 0, 1, 0},
        {{13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}, false, {{12, 1}}, 1, 1, 12, 12},
        // Falling steps are no steps of a value, but the charts take them.
        {{3, 2, 1, 10, 12, 14, 16, 18, 20, 22, 24, 23}, false, {{1, 12}}, 0, 2, 1, 3},
        {{3, 2, 1, 10, 12, 14, 16, 18, 20, 22, 24, 23}, true, {{3, 2}, {1, 6}}, 2, 2, 3, 3},
        // A run that turns back: 5 6 5 is one run for the charts only.
        {{5, 6, 5, 20, 19, 18, 1, 2, 3, 4, 9, 11}, false, {{2, 1}, {1, 6}, {4, 1}}, 2, 3, 4, 4},
        // From 24 to 1 is no step: runs do not wrap around.
        {{22, 23, 24, 1, 2, 3, 7, 9, 11, 13, 15, 17}, false, {{3, 2}, {1, 6}}, 2, 2, 3, 3},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(CombToText(c.Numbers) + (c.Sorted ? " sorted" : " drawn"));
        const int idx = AddDraw(c.Numbers);
        auto seql = F.Create("SEQL");
        EXPECT_EQ(CountsByKey(EvaluateWindow(*seql, idx, idx, c.Sorted), true), c.Seql);
        struct TSingle {
            const char* Code;
            int Value, Chart;
        };
        for (const TSingle s : {TSingle{"SEQS", c.Seqs, c.SeqsChart}, TSingle{"LENS", c.Lens, c.LensChart}}) {
            SCOPED_TRACE(s.Code);
            auto stat = F.Create(s.Code);
            EXPECT_EQ(CountsByKey(EvaluateWindow(*stat, idx, idx, c.Sorted), true),
                      (TCounts{{static_cast<uint64_t>(s.Value), 1}}));
            EXPECT_EQ(stat->ChartValueOfDraw(idx, idx, c.Sorted), s.Chart);
        }
        if (c.Sorted || std::is_sorted(c.Numbers.begin(), c.Numbers.end())) {
            TCombination comb = c.Numbers;
            std::sort(comb.begin(), comb.end());
            EXPECT_EQ(CountsByKey(CombinationValues(*seql, comb), false), c.Seql);
            EXPECT_EQ(CombinationValues(*F.Create("SEQS"), comb).at(0).Key1, c.Seqs);
            EXPECT_EQ(CombinationValues(*F.Create("LENS"), comb).at(0).Key1, c.Lens);
        }
    }
}

TEST_F(SequencesFamilyTest, ValuesListedBeforehand) {
    struct TCase {
        const char* Code;
        uint16_t First, Last;
    };
    for (const TCase c : {TCase{"SEQL", 1, 12}, TCase{"SEQS", 0, 6}, TCase{"LENS", 1, 12}}) {
        SCOPED_TRACE(c.Code);
        auto stat = F.Create(c.Code);
        TStatDrawArray seeded;
        stat->SeedValues(-1, seeded);
        ASSERT_EQ(seeded.size(), static_cast<std::size_t>(c.Last - c.First + 1));
        for (std::size_t i = 0; i < seeded.size(); ++i) {
            EXPECT_EQ(seeded[i].Key1, c.First + i);
            EXPECT_EQ(seeded[i].Key2 | seeded[i].Key3 | seeded[i].Key4, 0);
            EXPECT_EQ(seeded[i].Count, 0);
        }
        EXPECT_EQ(stat->ValueText(seeded.back()), std::to_string(c.Last));
        EXPECT_EQ(stat->ParseValue(std::to_string(c.Last)), c.Last);
    }
}

// A combination matches at any of its runs (SEQL) or by its one value (SEQS, LENS).
TEST_F(SequencesFamilyTest, CombinationsMatchTheirRuns) {
    const TCombination runs = {1, 2, 3, 5, 7, 8, 10, 12, 14, 15, 16, 17}; // 3, 1, 2, 1, 1, 4
    const TCombination apart = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23};
    struct TCase {
        const char* Code;
        std::vector<uint16_t> Selected;
        bool Runs, Apart;
    };
    const TCase cases[] = {
        {"SEQL", {4}, true, false},     {"SEQL", {1}, true, true},   {"SEQL", {5, 6, 12}, false, false},
        {"SEQL", {12, 2}, true, false}, {"SEQS", {3}, true, false},  {"SEQS", {0}, false, true},
        {"LENS", {4}, true, false},     {"LENS", {3}, false, false}, {"LENS", {1}, false, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Code);
        auto stat = F.Create(c.Code);
        stat->LoadDraws(-1, -1, false);
        TStatDrawArray selected;
        for (const uint16_t k : c.Selected)
            selected.push_back(KeyEntry(k));
        for (const bool exclude : {false, true}) {
            EXPECT_EQ(stat->Matches(runs, selected, -1, false, exclude), c.Runs);
            EXPECT_EQ(stat->Matches(apart, selected, -1, false, exclude), c.Apart);
        }
    }
}

// Three hand-made draws numbered 10, 11, 13: counts, last draws and gaps, with a run
// length met twice in one draw counted twice and measured once.
TEST_F(SequencesFamilyTest, WindowOfThreeDraws) {
    F.Draws.push_back(DrawOf(10, {1, 2, 4, 5, 7, 9, 11, 13, 15, 17, 19, 21}));  // SEQL 2, 2, 1 x8
    F.Draws.push_back(DrawOf(11, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));     // 12
    F.Draws.push_back(DrawOf(13, {24, 23, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19})); // drawn order: 1 x12
    auto seql = F.Create("SEQL");
    const TStatDrawArray stat = EvaluateWindow(*seql, 0, 2, false);
    ASSERT_EQ(stat.size(), 12u);
    const TStatEntry one = ValueOf(stat, 1);
    EXPECT_EQ(one.Count, 20);
    EXPECT_EQ(one.Draw, 13);
    EXPECT_EQ(one.Depth, 1);
    EXPECT_EQ(one.PeriodMin, 3);
    EXPECT_EQ(one.PeriodMax, 3);
    const TStatEntry two = ValueOf(stat, 2);
    EXPECT_EQ(two.Count, 2);
    EXPECT_EQ(two.Depth, 3);
    EXPECT_EQ(two.PeriodMin | two.PeriodMax, 0) << "a gap of 0 draws is no period";
    EXPECT_EQ(ValueOf(stat, 12).Depth, 2);
    EXPECT_EQ(seql->FindNextOccurrence(two, 1, 2, false), -1);
    EXPECT_EQ(seql->FindNextOccurrence(one, 1, 2, false), 13);

    auto lens = F.Create("LENS");
    const TStatDrawArray longest = EvaluateWindow(*lens, 0, 2, true); // sorted: 23-24 is a run
    EXPECT_EQ(ValueOf(longest, 2).Count, 2);
    EXPECT_EQ(ValueOf(longest, 2).PeriodMin, 3);
    EXPECT_EQ(ValueOf(longest, 12).Count, 1);
}

} // namespace
} // namespace kumby::testing
