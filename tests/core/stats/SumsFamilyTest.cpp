// The sums family: sums of a draw, its bands, sums of one kind, triples, and how the
// sum moved after draws resembling the newest one.

#include "StatTestSupport.h"
#include "stats/families/VF_Sums.h"

namespace kumby::testing {
namespace {

int SumOf(const TCombination& c) {
    return std::accumulate(c.begin(), c.end(), 0);
}

TStatEntry HalvesEntry(int32_t low, int32_t high = 0) {
    TStatEntry e;
    SetLowHalf(e, low);
    SetHighHalf(e, high);
    return e;
}

class SumsFamilyTest : public ::testing::Test {
protected:
    int AddDraw(int32_t number, const TCombination& numbers) {
        F.Draws.push_back(DrawOf(number, numbers));
        return F.LastIdx();
    }
    TStatDrawArray OneDraw(std::string_view code, const TCombination& numbers) {
        const int idx = AddDraw(static_cast<int32_t>(F.Draws.size()) + 1, numbers);
        auto stat = F.Create(code);
        return EvaluateWindow(*stat, idx, idx, false);
    }
    static std::vector<TStatEntry> Occurred(const TStatDrawArray& stat) {
        std::vector<TStatEntry> out;
        for (const TStatEntry& e : stat)
            if (e.Count > 0)
                out.push_back(e);
        return out;
    }

    TStatFixture F;
};

const TCombination Low = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

TEST(SumsHelpers, CombinationWithSumGivesValidCombinations) {
    for (int s = MinSum; s <= MaxSum; ++s) {
        const TCombination c = CombinationWithSum(s);
        EXPECT_EQ(SumOf(c), s);
        EXPECT_TRUE(std::is_sorted(c.begin(), c.end()));
        EXPECT_EQ(std::adjacent_find(c.begin(), c.end()), c.end()) << s;
        EXPECT_LE(c.back(), MaxNumber) << s;
    }
}

// ---- SUMS ------------------------------------------------------------------------

TEST_F(SumsFamilyTest, SumsListsEverySumFromMinToMax) {
    const TStatDrawArray stat = OneDraw("SUMS", {24, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}); // 90
    ASSERT_EQ(stat.size(), 145u);
    for (int s = MinSum; s <= MaxSum; ++s) {
        const TStatEntry& e = stat[static_cast<std::size_t>(s - MinSum)];
        EXPECT_EQ(e.Key1, s);
        EXPECT_EQ(e.Key2 | e.Key3 | e.Key4, 0);
        EXPECT_EQ(e.Count, s == 90 ? 1 : 0) << s;
    }
    auto sums = F.Create("SUMS");
    EXPECT_EQ(sums->ValueText(ValueOf(stat, 90)), "90");
    EXPECT_EQ(sums->ParseValue("90"), 90);

    // A second draw of the same sum is merged into the seeded row, not appended.
    AddDraw(7, {11, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 24});
    const TStatDrawArray two = EvaluateWindow(*sums, 0, 1, false);
    ASSERT_EQ(two.size(), 145u);
    EXPECT_EQ(ValueOf(two, 90).Count, 2);
    EXPECT_EQ(ValueOf(two, 90).PeriodMin, 6);
}

// The draw 1..12 in all four plain members; the same values for the draw, its
// combination and its chart, and the combination matches exactly its own value.
TEST_F(SumsFamilyTest, LowestDrawInEveryPlainMember) {
    struct Case {
        const char* code;
        TCombination numbers;
        uint16_t value;
    };
    const Case cases[] = {
        {"SUMS", Low, 78},
        {"SUME", Low, 42}, // 2+4+...+12
        {"SUMP", Low, 29}, // 1+2+3+5+7+11
        // One triple for 3 and 4, two for 5 and 6, three for 7 and 8, four for 9 and
        // 10, five for 11 and 12.
        {"S2T3", Low, 30},
        {"SUMS", {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}, 222},
        {"SUME", {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23}, 0},
        {"SUME", {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24}, 156},
        {"SUMP", {4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20, 21}, 0},
        {"SUMP", {1, 2, 3, 5, 7, 11, 13, 17, 19, 23, 4, 6}, 101},
        // No two of 13..24 add up to another, and two odd numbers never make an odd one.
        {"S2T3", {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}, 0},
        {"S2T3", {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23}, 0},
        // Even 2k has (k-1)/2 pairs (rounded down): 0+0+1+1+2+2+3+3+4+4+5+5.
        {"S2T3", {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24}, 30},
        // 3=1+2, 4=1+3, 7=3+4, 10=3+7, 13=3+10, 15=2+13, 16=1+15=3+13, 19=3+16=4+15,
        // 22=3+19=7+15, 24=2+22: 13 in all; drawn order does not matter.
        {"S2T3", {7, 24, 3, 1, 4, 2, 10, 13, 16, 19, 22, 15}, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + CombToText(c.numbers));
        const TStatDrawArray stat = OneDraw(c.code, c.numbers);
        const std::vector<TStatEntry> occurred = Occurred(stat);
        ASSERT_EQ(occurred.size(), 1u);
        EXPECT_EQ(occurred[0].Key1, c.value);
        EXPECT_EQ(occurred[0].Key2 | occurred[0].Key3 | occurred[0].Key4, 0);

        auto method = F.Create(c.code);
        EXPECT_EQ(method->ValueText(occurred[0]), std::to_string(c.value));
        EXPECT_EQ(method->ChartValueOfDraw(F.LastIdx(), F.LastIdx(), false), c.value);

        TCombination comb = c.numbers;
        std::sort(comb.begin(), comb.end());
        const TStatDrawArray values = CombinationValues(*method, comb);
        ASSERT_EQ(values.size(), 1u);
        EXPECT_EQ(values[0].Key1, c.value);

        TStatEntry selected;
        selected.Key1 = c.value;
        EXPECT_TRUE(method->Matches(comb, {selected}, -1, false, false));
        selected.Key1 = static_cast<uint16_t>(c.value + 1);
        EXPECT_FALSE(method->Matches(comb, {selected}, -1, false, false));
    }
}

TEST(SumTriples, RepeatedOrOddBytesAreCountedPositionByPosition) {
    // 0 + 5 = 5 for each of the two positions holding 5, and 5 + 5 = 10.
    const uint8_t odd[12] = {0, 5, 5, 10, 100, 111, 122, 133, 144, 155, 166, 177};
    EXPECT_EQ(SumTripleCount(odd), 2 + 1);
    const uint8_t zeros[12] = {};
    EXPECT_EQ(SumTripleCount(zeros), 12 * 55); // every pair of the other eleven
}

// ---- SUM%d -----------------------------------------------------------------------

TEST_F(SumsFamilyTest, BandsHaveTheirNamesRowsAndInclusiveBounds) {
    struct Band {
        const char* code;
        const char* caption;
        int low, high;
        const char* text;
    };
    const Band bands[] = {
        {"SUM1", "Сумма тиража: диапазон 1 (1/3)", 124, 176, "124-176"},
        {"SUM2", "Сумма тиража: диапазон 2 (1/2)", 129, 171, "129-171"},
        {"SUM3", "Сумма тиража: диапазон 3 (2/3)", 134, 166, "134-166"},
    };
    for (const Band& b : bands) {
        SCOPED_TRACE(b.code);
        auto stat = F.Create(b.code);
        EXPECT_EQ(stat->InstanceCaption(), b.caption);
        EXPECT_EQ(F.List.Items(static_cast<std::size_t>(F.List.FindByCode(b.code))).MethodCaption(),
                  b.caption);

        TStatDrawArray seeded;
        stat->SeedValues(0, seeded);
        ASSERT_EQ(seeded.size(), 2u);
        EXPECT_EQ(seeded[0].Key1, 0);
        EXPECT_EQ(seeded[1].Key1, 1);
        EXPECT_EQ(stat->ValueText(seeded[0]), "Остальные");
        EXPECT_EQ(stat->ValueText(seeded[1]), b.text);
        EXPECT_EQ(stat->NumericValue(b.text), 0);

        for (const int sum : {b.low - 1, b.low, b.high, b.high + 1}) {
            const uint16_t inside = sum >= b.low && sum <= b.high ? 1 : 0;
            const TCombination comb = CombinationWithSum(sum);
            const TStatDrawArray values = CombinationValues(*stat, comb);
            ASSERT_EQ(values.size(), 1u);
            EXPECT_EQ(values[0].Key1, inside) << sum;
            EXPECT_EQ(stat->ChartValue(comb.data(), 0, 0, false), inside) << sum;
        }
    }
    EXPECT_EQ(F.List.FindByCode("SUM4"), -1);
    EXPECT_EQ(TstSumRanges::ClassInfo.HelpCodeFor(2), "SUMx");
}

TEST_F(SumsFamilyTest, BandRowWinsWhenBothRowsAreSelected) {
    auto sum1 = F.Create("SUM1");
    sum1->LoadDraws(-1, -1, false);
    TStatEntry band, rest;
    band.Key1 = 1;
    const TCombination inside = CombinationWithSum(124), outside = CombinationWithSum(123);
    struct Case {
        TStatDrawArray selected;
        bool inside, outside;
    };
    const Case cases[] = {
        {{band, rest}, true, false}, {{rest, band}, true, false}, {{band}, true, false},
        {{rest}, false, true},       {{}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected.size());
        for (const bool exclude : {false, true}) {
            EXPECT_EQ(sum1->Matches(inside, c.selected, -1, false, exclude), c.inside);
            EXPECT_EQ(sum1->Matches(outside, c.selected, -1, false, exclude), c.outside);
        }
    }
}

// ---- SUMC, SUMV, SUMT over a small archive -------------------------------------

// Draw sums, oldest first, numbered 1..8:
//   idx 0: 100   idx 1: 120   idx 2: 100   idx 3: 95
//   idx 4: 110   idx 5: 100   idx 6: 120   idx 7: 100 (newest)
class SumMovesTest : public SumsFamilyTest {
protected:
    void SetUp() override {
        const int sums[] = {100, 120, 100, 95, 110, 100, 120, 100};
        int32_t number = 1;
        for (const int s : sums) {
            TCombination c = CombinationWithSum(s);
            std::reverse(c.begin(), c.end()); // drawn order plays no part in a sum
            AddDraw(number++, c);
        }
    }
};

TEST_F(SumMovesTest, ExactChangeListsDrawsAfterTheNewestSum) {
    auto sumc = F.Create("SUMC");
    // Reference 100: predecessors with sum 100 are idx 0, 2 and 5, so idx 1 (120),
    // idx 3 (95) and idx 6 (120) count; 100 -> 120 twice, draws 2 and 7, gap 5.
    const TStatDrawArray stat = EvaluateWindow(*sumc, 0, 7, false);
    ASSERT_EQ(stat.size(), 2u);
    EXPECT_EQ(LowHalf(stat[0]), 100);
    EXPECT_EQ(HighHalf(stat[0]), 120);
    EXPECT_EQ(stat[0].Count, 2);
    EXPECT_EQ(stat[0].Draw, 7);
    EXPECT_EQ(stat[0].Depth, 2);
    EXPECT_EQ(stat[0].PeriodMin, 5);
    EXPECT_EQ(stat[0].PeriodMax, 5);
    EXPECT_EQ(sumc->ValueText(stat[0]), "+20 : 100 + 20 = 120");
    EXPECT_EQ(LowHalf(stat[1]), 100);
    EXPECT_EQ(HighHalf(stat[1]), 95);
    EXPECT_EQ(stat[1].Depth, 5);
    EXPECT_EQ(sumc->ValueText(stat[1]), "- 05 : 100 - 5 = 95");

    // Searching later draws keeps the window's reference: 100 -> 120 again at draw 7.
    EXPECT_EQ(sumc->FindNextOccurrence(stat[0], 2, 7, false), 7);

    // Window ending at idx 6 (reference 120): only idx 2 follows a 120.
    const TStatDrawArray shifted = EvaluateWindow(*sumc, 0, 6, false);
    ASSERT_EQ(shifted.size(), 1u);
    EXPECT_EQ(sumc->ValueText(shifted[0]), "- 20 : 120 - 20 = 100");
    EXPECT_EQ(shifted[0].Depth, 5);

    // Window ending at idx 4 (reference 110): no predecessor has 110, nothing listed.
    EXPECT_TRUE(EvaluateWindow(*sumc, 0, 4, false).empty());

    // The chart is the plain change from the previous draw, the oldest from zero.
    EXPECT_EQ(sumc->ChartValueOfDraw(3, 7, false), -5);
    EXPECT_EQ(sumc->ChartValueOfDraw(1, 7, true), 20);
    EXPECT_EQ(sumc->ChartValueOfDraw(0, 7, false), 100);

    // Matching compares the sum reached with the combination's sum.
    sumc->LoadDraws(-1, 7, false);
    EXPECT_TRUE(sumc->Matches(CombinationWithSum(120), {stat[1], stat[0]}, 7, false, false));
    EXPECT_TRUE(sumc->Matches(CombinationWithSum(95), {stat[1]}, 7, false, false));
    EXPECT_FALSE(sumc->Matches(CombinationWithSum(100), {stat[0], stat[1]}, 7, false, false));
}

TEST_F(SumMovesTest, ChangeWithinToleranceIsSignedAndMatchedFromTheNewestDraw) {
    auto sumv = F.Create("SUMV");
    // Reference 100, predecessors within 86..114: idx 0 (100), 2 (100), 3 (95), 4 (110),
    // 5 (100); changes +20 (idx 1), -5 (idx 3), +15 (idx 4), -10 (idx 5), +20 (idx 6).
    const TStatDrawArray stat = EvaluateWindow(*sumv, 0, 7, false);
    std::vector<std::string> texts;
    std::vector<int> counts;
    for (const TStatEntry& e : stat) {
        texts.push_back(sumv->ValueText(e));
        counts.push_back(e.Count);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"+20", "- 05", "+15", "- 10"}));
    EXPECT_EQ(counts, (std::vector<int>{2, 1, 1, 1}));
    EXPECT_EQ(LowHalf(stat[1]), -5);
    EXPECT_EQ(stat[1].Key2, 0xFFFF) << "a signed 32-bit half";
    EXPECT_FALSE(sumv->HasChartValue());

    // The reference is the draw at lastIdx, whatever was loaded before.
    sumv->LoadDraws(-1, 0, false);
    const TStatDrawArray plus20{stat[0]};
    EXPECT_TRUE(sumv->Matches(CombinationWithSum(120), plus20, 7, false, false));
    EXPECT_FALSE(sumv->Matches(CombinationWithSum(100), plus20, 7, false, false));
    EXPECT_TRUE(sumv->Matches(CombinationWithSum(95), {stat[1]}, 7, true, false));
    // Window ending at idx 6: the reference is 120.
    EXPECT_TRUE(sumv->Matches(CombinationWithSum(140), plus20, 6, false, false));
    EXPECT_FALSE(sumv->Matches(CombinationWithSum(120), plus20, 6, false, false));
    EXPECT_TRUE(sumv->Matches(CombinationWithSum(120), plus20, 7, false, false)) << "back to the newest";
}

TEST_F(SumMovesTest, TrendRowsAreAlwaysListed) {
    auto sumt = F.Create("SUMT");
    // Reference 100: idx 1 up, idx 3 down, idx 6 up.
    const TStatDrawArray stat = EvaluateWindow(*sumt, 0, 7, false);
    ASSERT_EQ(stat.size(), 3u);
    const char* texts[] = {"=", "+", "-"};
    const int values[] = {0, 1, -1};
    const int counts[] = {0, 2, 1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sumt->ValueText(stat[i]), texts[i]);
        EXPECT_EQ(LowHalf(stat[i]), values[i]);
        EXPECT_EQ(HighHalf(stat[i]), 0);
        EXPECT_EQ(stat[i].Count, counts[i]);
    }
    EXPECT_EQ(stat[1].Depth, 2);
    EXPECT_EQ(stat[2].Depth, 5);

    // No predecessor with the reference sum: the three rows stay, all empty.
    const TStatDrawArray none = EvaluateWindow(*sumt, 0, 4, false);
    ASSERT_EQ(none.size(), 3u);
    for (const TStatEntry& e : none) {
        EXPECT_EQ(e.Count, 0);
        EXPECT_EQ(e.Depth, 0);
    }

    EXPECT_EQ(sumt->ChartValueOfDraw(3, 7, false), -1);
    EXPECT_EQ(sumt->ChartValueOfDraw(4, 7, false), 1);
    EXPECT_EQ(sumt->ChartValueOfDraw(0, 7, false), 1);

    sumt->LoadDraws(-1, 7, false);
    const TStatDrawArray down{stat[2]}, same{stat[0]};
    EXPECT_TRUE(sumt->Matches(CombinationWithSum(99), down, 7, false, false));
    EXPECT_FALSE(sumt->Matches(CombinationWithSum(100), down, 7, false, false));
    EXPECT_TRUE(sumt->Matches(CombinationWithSum(100), same, 7, false, false));
    EXPECT_FALSE(sumt->Matches(CombinationWithSum(101), same, 7, false, false));
    EXPECT_TRUE(sumt->Matches(CombinationWithSum(101), down, 4, false, false)) << "below 110";
}

TEST_F(SumMovesTest, OldestDrawNeverCountsEvenAgainstAnEmptyReference) {
    // A window ending before the archive has an all-zero reference, as the oldest
    // draw's missing predecessor has: still nothing to list.
    for (const char* code : {"SUMC", "SUMV", "SUMT"}) {
        auto stat = F.Create(code);
        TStatDrawArray values;
        TRunState runState;
        TLastValueArray lastValues;
        stat->AddDraw(0, -1, false, values, runState, lastValues);
        EXPECT_TRUE(Occurred(values).empty()) << code;
    }
}

TEST(SumMoveTexts, SignedChangesAndMoves) {
    TStatFixture f;
    auto sumv = f.Create("SUMV");
    EXPECT_EQ(sumv->ValueText(HalvesEntry(-3)), "- 03");
    EXPECT_EQ(sumv->ValueText(HalvesEntry(3)), "+03");
    EXPECT_EQ(sumv->ValueText(HalvesEntry(0)), "+00");
    EXPECT_EQ(sumv->ValueText(HalvesEntry(-144)), "- 144");
    EXPECT_EQ(sumv->NumericValue("+03"), 0);
    auto sumc = f.Create("SUMC");
    EXPECT_EQ(sumc->ValueText(HalvesEntry(150, 155)), "+05 : 150 + 5 = 155");
    EXPECT_EQ(sumc->ValueText(HalvesEntry(150, 138)), "- 12 : 150 - 12 = 138");
    EXPECT_EQ(sumc->ValueText(HalvesEntry(150, 150)), "+00 : 150 + 0 = 150");
}

} // namespace
} // namespace kumby::testing
