// The differences family: adjacent differences, the largest of them, the spread,
// and how often one difference repeats, on draws in drawn and in ascending order.

#include "StatTestSupport.h"
#include "stats/families/VF_Diff.h"

namespace kumby::testing {
namespace {

class DifferencesFamilyTest : public ::testing::Test {
protected:
    TStatDrawArray OneDraw(std::string_view code, const TCombination& numbers, bool sorted = false) {
        F.Draws.push_back(DrawOf(static_cast<int32_t>(F.Draws.size()) + 1, numbers));
        auto stat = F.Create(code);
        return EvaluateWindow(*stat, F.LastIdx(), F.LastIdx(), sorted);
    }
    static std::map<uint64_t, int64_t> Occurred(const TStatDrawArray& stat) {
        return CountsByKey(stat, true);
    }
    static uint64_t Key(uint16_t k1, uint16_t k2 = 0) { return uint64_t{k1} | uint64_t{k2} << 16; }
    static uint64_t Key3(uint16_t k1, uint16_t k2, uint16_t k3) { return Key(k1, k2) | uint64_t{k3} << 32; }
    static uint64_t Key4(uint16_t k1, uint16_t k2, uint16_t k3, uint16_t k4) {
        return Key3(k1, k2, k3) | uint64_t{k4} << 48;
    }

    TStatFixture F;
};

const TCombination Ascending = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const TCombination TwelveFirst = {12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

// What each member gives for one draw, read in drawn order or sorted; the same
// draw as a combination (ascending) gives what the sorted draw gives.
TEST_F(DifferencesFamilyTest, ValuesOfOneDraw) {
    struct TCase {
        const char* Code;
        TCombination Numbers;
        bool Sorted;
        std::map<uint64_t, int64_t> Values; // key -> count
    };
    const TCase cases[] = {
        {"DIFA", Ascending, false, {{Key(1), 11}}},
        {"DIFM", Ascending, false, {{Key(1), 1}}},
        {"DIFD", Ascending, false, {{Key(11), 1}}},
        {"DIFO", Ascending, false, {{Key(1, 11), 1}}},
        {"DIFK", Ascending, false, {{Key(11), 1}}},
        {"DIFA", TwelveFirst, false, {{Key(11), 1}, {Key(1), 10}}},
        {"DIFM", TwelveFirst, false, {{Key(11), 1}}},
        {"DIFD", TwelveFirst, false, {{Key(11), 1}}},
        {"DIFO", TwelveFirst, false, {{Key(11, 1), 1}, {Key(1, 10), 1}}},
        {"DIFK", TwelveFirst, false, {{Key(10), 1}}},
        {"DIFA", TwelveFirst, true, {{Key(1), 11}}},
        {"DIFM", TwelveFirst, true, {{Key(1), 1}}},
        {"DIFO", TwelveFirst, true, {{Key(1, 11), 1}}},
        {"DIFK", TwelveFirst, true, {{Key(11), 1}}},
        // Differences are absolute: a falling draw gives the same as a rising one.
        {"DIFA", {24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2}, false, {{Key(2), 11}}},
        {"DIFO",
         {1, 4, 7, 8, 9, 10, 11, 12, 13, 14, 15, 24},
         false,
         {{Key(3, 2), 1}, {Key(1, 8), 1}, {Key(9, 1), 1}}},
        {"DIFK", {1, 4, 7, 10, 13, 15, 17, 19, 21, 22, 23, 24}, false, {{Key(4), 1}}},
        {"DIFK", {1, 24, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, false, {{Key(9), 1}}}, // differences 23, 22
        {"KDS2", Ascending, false, {{Key(1, 1), 10}}},
        {"KDS3", TwelveFirst, false, {{Key3(11, 1, 1), 1}, {Key3(1, 1, 1), 8}}},
        {"KDS4",
         {1, 4, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19},
         false,
         {{Key4(3, 5, 1, 2), 1},
          {Key4(5, 1, 2, 1), 1},
          {Key4(1, 2, 1, 1), 1},
          {Key4(2, 1, 1, 1), 1},
          {Key4(1, 1, 1, 1), 4}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + (c.Sorted ? " sorted" : " drawn"));
        const TStatDrawArray stat = OneDraw(c.Code, c.Numbers, c.Sorted);
        EXPECT_EQ(Occurred(stat), c.Values);
        for (const TStatEntry& e : stat)
            if (e.Count != 0) {
                EXPECT_EQ(e.Depth, 1);
                EXPECT_EQ(e.PeriodMin | e.PeriodMax, 0);
            }
        if (!c.Sorted && F.Create(c.Code)->Info().HasPrefetch()) {
            TCombination ascending = c.Numbers;
            std::sort(ascending.begin(), ascending.end());
            const TStatDrawArray sorted = OneDraw(c.Code, c.Numbers, true);
            auto stat2 = F.Create(c.Code);
            EXPECT_EQ(CountsByKey(CombinationValues(*stat2, ascending), false), Occurred(sorted));
        }
    }
}

TEST_F(DifferencesFamilyTest, ValuesListedBeforehandAndRowTexts) {
    struct TCase {
        const char* Code;
        int Last; // values 1..Last listed; 0: none
    };
    for (const TCase c :
         {TCase{"DIFA", 23}, TCase{"DIFM", 23}, TCase{"DIFD", 23}, TCase{"DIFK", 11}, TCase{"DIFO", 0}}) {
        SCOPED_TRACE(c.Code);
        const TStatDrawArray stat = OneDraw(c.Code, Ascending);
        if (c.Last == 0) {
            EXPECT_EQ(stat.size(), 1u) << "only the draw's own value";
            continue;
        }
        ASSERT_EQ(stat.size(), static_cast<std::size_t>(c.Last));
        for (int v = 1; v <= c.Last; ++v) {
            EXPECT_EQ(stat[static_cast<std::size_t>(v - 1)].Key1, v);
            EXPECT_EQ(stat[static_cast<std::size_t>(v - 1)].Key2, 0);
        }
    }
    // DIFD lists 1..23 though a spread below 11 cannot occur.
    EXPECT_EQ(ValueOf(OneDraw("DIFD", Ascending), 5).Count, 0);

    auto difo = F.Create("DIFO");
    TStatEntry threeTwice;
    threeTwice.Key1 = 3;
    threeTwice.Key2 = 2;
    EXPECT_EQ(difo->ValueText(threeTwice), "3 x 2");
    EXPECT_EQ(difo->NumericValue("3 x 2"), 0);
    TStatEntry run;
    run.Key1 = 3;
    run.Key2 = 5;
    EXPECT_EQ(F.Create("KDS2")->ValueText(run), "3:5");
    run.Key3 = 1;
    EXPECT_EQ(F.Create("KDS3")->ValueText(run), "3:5:1");
    run.Key4 = 2;
    EXPECT_EQ(F.Create("KDS4")->ValueText(run), "3:5:1:2");
    EXPECT_EQ(F.Create("KDS4")->NumericValue("3:5:1:2"), 0);
    auto difm = F.Create("DIFM");
    EXPECT_EQ(difm->ValueText(ValueOf(OneDraw("DIFM", Ascending), 1)), "1");
    EXPECT_EQ(difm->ParseValue("13"), 13);
    EXPECT_EQ(difm->ChartValueOfDraw(0, 0, false), 1);
    EXPECT_EQ(F.Create("DIFD")->ChartValue(TwelveFirst.data(), 0, 0, false), 11);
    EXPECT_EQ(F.Create("DIFK")->ChartValue(TwelveFirst.data(), 0, 0, false), 10);
}

TEST_F(DifferencesFamilyTest, MatchesAsTheCombinationsOwnValues) {
    const TCombination noNeighbours = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23};
    const TCombination oneNeighbour = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 22};
    const TCombination threeTwice = {1, 4, 7, 8, 9, 10, 11, 12, 13, 14, 15, 24};
    const TCombination threeThrice = {1, 4, 7, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    struct TCase {
        const char* Code;
        std::vector<TStatEntry> Selected;
        TCombination Comb;
        bool Match;
    };
    auto keys = [](uint16_t k1, uint16_t k2 = 0, uint16_t k3 = 0, uint16_t k4 = 0) {
        TStatEntry e;
        e.Key1 = k1;
        e.Key2 = k2;
        e.Key3 = k3;
        e.Key4 = k4;
        return e;
    };
    const TCombination threeFive = {1, 4, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19};
    const TCase cases[] = {
        {"DIFA", {keys(1)}, Ascending, true},
        {"DIFA", {keys(1)}, oneNeighbour, true},
        {"DIFA", {keys(1)}, noNeighbours, false},
        {"DIFA", {keys(5), keys(2)}, noNeighbours, true},
        {"DIFM", {keys(2)}, noNeighbours, true},
        {"DIFM", {keys(1)}, oneNeighbour, false},
        {"DIFD", {keys(22)}, noNeighbours, true},
        {"DIFD", {keys(21)}, oneNeighbour, true},
        {"DIFO", {keys(3, 2)}, threeTwice, true},
        {"DIFO", {keys(3, 2)}, threeThrice, false}, // the multiplicity must be exactly 2
        {"DIFO", {keys(3)}, threeTwice, false},
        {"DIFO", {keys(1, 8)}, threeTwice, true},
        {"DIFK", {keys(8)}, threeTwice, true},
        {"DIFK", {keys(2)}, threeTwice, false},
        {"KDS2", {keys(3, 5)}, threeFive, true},
        {"KDS2", {keys(5, 3)}, threeFive, false}, // runs keep their order
        {"KDS3", {keys(3, 5, 1)}, threeFive, true},
        {"KDS3", {keys(3, 5)}, threeFive, false}, // a run fills all of its words
        {"KDS4", {keys(2, 1, 1, 1)}, threeFive, true},
        {"KDS4", {keys(1, 1, 1, 1)}, noNeighbours, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Code);
        auto stat = F.Create(c.Code);
        stat->LoadDraws(-1, F.LastIdx(), false);
        const TStatDrawArray selected(c.Selected.begin(), c.Selected.end());
        EXPECT_EQ(stat->Matches(c.Comb, selected, F.LastIdx(), false, false), c.Match);
        // And the answer agrees with the values AddCombination gives.
        if (!stat->Info().HasPrefetch())
            continue;
        bool own = false;
        for (const TStatEntry& v : CombinationValues(*stat, c.Comb))
            for (const TStatEntry& s : c.Selected)
                own = own || StatKey(v) == StatKey(s);
        EXPECT_EQ(own, c.Match);
    }
}

// A small archive with draws 3 and 4 missing, in drawn order: DIFA worked out by
// hand. Only a value that is a draw's first difference measures a gap, so value 1,
// met in three draws, has no period in drawn order.
TEST_F(DifferencesFamilyTest, TableOfDifaWorkedOutByHand) {
    F.Draws = {
        DrawOf(1, Ascending),                                    // eleven 1s
        DrawOf(2, TwelveFirst),                                  // 11, then ten 1s
        DrawOf(5, {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24}), // eleven 2s
        DrawOf(7, {1, 3, 2, 4, 5, 6, 7, 8, 9, 10, 11, 24}),      // 2 1 2, seven 1s, 13
    };
    struct TRow {
        uint16_t Value;
        int32_t Count, Draw, Depth;
        uint16_t PeriodMin, PeriodMax;
    };
    auto check = [&](bool sorted, std::initializer_list<TRow> rows) {
        SCOPED_TRACE(sorted ? "sorted" : "drawn");
        auto difa = F.Create("DIFA");
        const TStatDrawArray stat = EvaluateWindow(*difa, 0, 3, sorted);
        ASSERT_EQ(stat.size(), 23u);
        int listed = 0;
        for (const TRow& r : rows) {
            SCOPED_TRACE(r.Value);
            const TStatEntry e = ValueOf(stat, r.Value);
            EXPECT_EQ(e.Count, r.Count);
            EXPECT_EQ(e.Draw, r.Draw);
            EXPECT_EQ(e.Depth, r.Depth);
            EXPECT_EQ(e.PeriodMin, r.PeriodMin);
            EXPECT_EQ(e.PeriodMax, r.PeriodMax);
            ++listed;
        }
        int occurred = 0;
        for (const TStatEntry& e : stat)
            occurred += e.Count != 0;
        EXPECT_EQ(occurred, listed);
    };
    check(false, {
                     {1, 11 + 10 + 8, 7, 1, 0, 0},
                     {2, 11 + 2, 7, 1, 2, 2}, // first difference of draws 5 and 7
                     {11, 1, 2, 3, 0, 0},
                     {13, 1, 7, 1, 0, 0},
                 });
    // Sorted, draw 2 is 1..12 and draw 7 starts 1, 2: value 1 is the first
    // difference of draws 1, 2 and 7.
    check(true, {
                    {1, 11 + 11 + 10, 7, 1, 1, 5},
                    {2, 11, 5, 2, 0, 0},
                    {13, 1, 7, 1, 0, 0},
                });
}

// The runs of a draw measure a gap only at its first run, but every run moves the
// value's last draw: 1:1 is draw 2's second run, and draw 4 measures from there.
TEST_F(DifferencesFamilyTest, DifferenceRunsMeasureGapsAtTheFirstRunOnly) {
    F.Draws = {DrawOf(1, Ascending), DrawOf(2, TwelveFirst), DrawOf(4, Ascending)};
    auto kds2 = F.Create("KDS2");
    const TStatDrawArray stat = EvaluateWindow(*kds2, 0, 2, false);
    ASSERT_EQ(stat.size(), 2u);
    const TStatEntry ones = stat[0];
    EXPECT_EQ(StatKey(ones), Key(1, 1));
    EXPECT_EQ(ones.Count, 10 + 9 + 10);
    EXPECT_EQ(ones.Depth, 1);
    EXPECT_EQ(ones.PeriodMin, 2);
    EXPECT_EQ(ones.PeriodMax, 2);
    EXPECT_EQ(StatKey(stat[1]), Key(11, 1));
    EXPECT_EQ(stat[1].Depth, 2);
    EXPECT_EQ(stat[1].PeriodMin, 0);
}

// Numbers above 24 that still ascend by less than 16 give far more multisets of
// differences than the full set does: a pass must list what single combinations
// do, order included, and filters answer as the values say, falling and repeated
// numbers in between taking the long way.
TEST_F(DifferencesFamilyTest, ManyMultisetsOfDifferences) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> step(1, 10);
    std::vector<TCombination> combs;
    for (int i = 0; i < 3000; ++i) {
        TCombination c;
        c[0] = static_cast<uint8_t>(step(rng));
        for (std::size_t p = 1; p < c.size(); ++p)
            c[p] = static_cast<uint8_t>(c[p - 1] + step(rng));
        if (i % 500 == 7)
            std::reverse(c.begin(), c.end());
        if (i % 700 == 9)
            c[5] = c[4];
        combs.push_back(c);
    }
    for (const char* code : {"DIFA", "DIFO", "DIFK"}) {
        SCOPED_TRACE(code);
        auto single = F.Create(code);
        TStatDrawArray one;
        for (const TCombination& c : combs)
            single->AddCombination(c, one);
        TStatDrawArray pass;
        F.Create(code)->AddCombinations(combs, pass);
        ASSERT_EQ(pass.size(), one.size());
        for (std::size_t i = 0; i < pass.size(); ++i) {
            EXPECT_EQ(StatKey(pass[i]), StatKey(one[i])) << "value " << i;
            EXPECT_EQ(pass[i].Count, one[i].Count) << single->ValueText(one[i]);
        }

        // A few values, met by some combinations and not by others.
        TStatDrawArray selected;
        for (std::size_t i = 0; i < one.size(); i += 5)
            selected.push_back(one[i]);
        auto filter = F.Create(code);
        filter->LoadDraws(-1, F.LastIdx(), false);
        int kept = 0;
        for (const TCombination& c : combs) {
            bool own = false;
            for (const TStatEntry& v : CombinationValues(*single, c))
                for (const TStatEntry& e : selected)
                    own = own || StatKey(v) == StatKey(e);
            ASSERT_EQ(filter->Matches(c, selected, F.LastIdx(), false, false), own) << CombToText(c);
            kept += own ? 1 : 0;
        }
        EXPECT_GT(kept, 0);
        EXPECT_LT(kept, static_cast<int>(combs.size()));
    }
}

// Filters by runs of differences against the runs worked out from scratch: sets of
// 1..24, rising numbers with wide steps (beyond 127 as well) and falling ones;
// among the selected runs one with a difference of 19 and one with a word set
// beyond its items.
TEST_F(DifferencesFamilyTest, DifferenceRunFiltersAgreeWithTheRuns) {
    std::mt19937 rng(5);
    std::vector<TCombination> combs;
    for (int i = 0; i < 2000; ++i) {
        TCombination c;
        if (i % 3 == 0) {
            std::uniform_int_distribution<int> step(1, 21);
            c[0] = 1;
            for (std::size_t p = 1; p < c.size(); ++p)
                c[p] = static_cast<uint8_t>(c[p - 1] + step(rng));
            if (i % 2 == 0)
                std::reverse(c.begin(), c.end());
        } else {
            std::vector<uint8_t> all(MaxNumber);
            std::iota(all.begin(), all.end(), 1);
            std::shuffle(all.begin(), all.end(), rng);
            std::sort(all.begin(), all.begin() + NumbersInDraw);
            std::copy(all.begin(), all.begin() + NumbersInDraw, c.begin());
        }
        combs.push_back(c);
    }
    auto diffsOf = [](const TCombination& c) {
        std::array<uint16_t, NumbersInDraw - 1> d{};
        for (std::size_t p = 0; p < d.size(); ++p)
            d[p] = static_cast<uint16_t>(std::abs(c[p + 1] - c[p]));
        return d;
    };
    for (const int n : {2, 3, 4}) {
        SCOPED_TRACE(n);
        TStatDrawArray selected;
        auto select = [&](std::array<uint16_t, 4> k) {
            TStatEntry e;
            e.Key1 = k[0];
            e.Key2 = k[1];
            e.Key3 = k[2];
            e.Key4 = k[3];
            selected.push_back(e);
        };
        for (const std::size_t i : {1u, 2u, 4u, 3u}) { // a run of each kind of numbers
            const auto d = diffsOf(combs[i]);
            std::array<uint16_t, 4> k{};
            std::copy(d.begin() + 3, d.begin() + 3 + n, k.begin());
            select(k);
        }
        select({19, 2, n > 2 ? uint16_t{1} : uint16_t{0}, 0});
        select({1, 1, 1, 1}); // beyond the items for 2 and 3
        auto stat = F.Create("KDS" + std::to_string(n));
        stat->LoadDraws(-1, F.LastIdx(), false);
        int kept = 0;
        for (const TCombination& c : combs) {
            const auto d = diffsOf(c);
            bool expected = false;
            for (int p = 0; p + n <= static_cast<int>(d.size()); ++p)
                for (const TStatEntry& e : selected) {
                    const uint16_t keys[4] = {e.Key1, e.Key2, e.Key3, e.Key4};
                    bool same = true;
                    for (int i = 0; i < 4; ++i)
                        same = same && keys[i] == (i < n ? d[static_cast<std::size_t>(p + i)] : 0);
                    expected = expected || same;
                }
            ASSERT_EQ(stat->Matches(c, selected, F.LastIdx(), false, false), expected) << CombToText(c);
            kept += expected ? 1 : 0;
        }
        EXPECT_GT(kept, 0);
        EXPECT_LT(kept, static_cast<int>(combs.size()));
    }
}

} // namespace
} // namespace kumby::testing
