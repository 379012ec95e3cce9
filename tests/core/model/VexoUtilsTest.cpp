#include "model/VexoUtils.h"

#include "support/TestArchive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace kumby {
namespace {

using testing::DrawOf;

TStatEntry Entry(uint16_t key1, int32_t draw, int32_t depth, int32_t count = 1) {
    TStatEntry e;
    e.Key1 = key1;
    e.Draw = draw;
    e.PrevDraw = draw;
    e.Depth = depth;
    e.Count = count;
    return e;
}

// ---- Arithmetic ---------------------------------------------------------

TEST(VexoArithmeticTest, BinomialGivesTheFullSetSize) {
    EXPECT_EQ(Binomial(24, 12), FullSetSize);
    struct Case {
        int n, k;
        uint64_t expected;
    };
    const Case cases[] = {
        {5, 5, 1},
        {7, 9, 1},
        {24, 0, 1},
        {24, 1, 24},
        {10, 3, 120},
        {52, 6, 20358520},
        {40, 20, 137846528820},
        {24, -1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Binomial(c.n, c.k), c.expected) << c.n << " " << c.k;
}

TEST(VexoArithmeticTest, HitCountsPartitionTheFullSet) {
    const uint64_t expected[13] = {1,      144,    4356,  48400, 245025, 627264, 853776,
                                   627264, 245025, 48400, 4356,  144,    1};
    uint64_t sum = 0;
    for (int k = 0; k <= 12; ++k) {
        EXPECT_EQ(HitCount(24, 12, k), expected[k]) << k;
        sum += HitCount(24, 12, k);
    }
    EXPECT_EQ(sum, FullSetSize);
    EXPECT_EQ(HitCount(24, 12, 24), 1u);
    EXPECT_EQ(HitCount(24, 12, 13), 0u);
    EXPECT_EQ(HitCount(24, 12, -1), 0u);
    EXPECT_EQ(HitCount(10, 3, 1), 3u * 21u);
}

TEST(VexoArithmeticTest, GroupsOfNumbers) {
    struct Case {
        int first, last, w, expected;
    };
    EXPECT_EQ(GroupOf(24, 5), 5);
    EXPECT_EQ(GroupOf(1, 5), 1);
    EXPECT_EQ(GroupOf(5, 5), 1);
    EXPECT_EQ(GroupOf(6, 5), 2);
    EXPECT_EQ(GroupOf(7, 0), 0); // a broken width never divides by zero
    const Case counts[] = {{1, 24, 5, 5}, {0, 24, 7, 4}, {1, 24, 4, 6}, {0, 24, 24, 1}, {13, 24, 5, 3}};
    for (const Case& c : counts)
        EXPECT_EQ(GroupCount(c.first, c.last, c.w), c.expected) << c.first << ".." << c.last << "/" << c.w;
}

TEST(VexoArithmeticTest, MatrixCellsInvertForEveryWidth) {
    for (int cols = 1; cols <= 24; ++cols) {
        for (int n = 1; n <= 24; ++n) {
            const int column = MatrixColumn(n, cols);
            const int row = MatrixRow(n, cols);
            ASSERT_GE(column, 1);
            ASSERT_LE(column, cols);
            ASSERT_EQ(MatrixNumber(column - 1, row - 1, cols), n) << n << " in " << cols;
        }
    }
    EXPECT_EQ(MatrixColumn(5, 4), 1);
    EXPECT_EQ(MatrixRow(5, 4), 2);
    EXPECT_EQ(MatrixRow(24, 5), 5);
}

TEST(VexoArithmeticTest, ShiftWrapsOnceAroundTheNumbers) {
    struct Case {
        int n, s, expected;
    };
    const Case cases[] = {{24, 1, 1},  {1, -1, 24},   {13, 0, 13},  {12, 12, 24},
                          {13, 12, 1}, {12, -12, 24}, {24, 24, 24}, {5, -3, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(ShiftNumber(c.n, c.s), c.expected) << c.n << " " << c.s;

    TCombination out{};
    ShiftDraw(DrawOf(1, {24, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 23}), 2, out);
    EXPECT_EQ(out, (TCombination{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1}));
}

TEST(VexoArithmeticTest, NumberColourFollowsTheChannel) {
    struct Case {
        int n, w;
        TColour expected;
    };
    const Case cases[] = {
        {0, 4, PureRed},  {25, 4, PureRed},  {-3, 4, PureRed},   {1, 4, 0xAAFFAA},  {4, 4, 0xAAFFAA},
        {5, 4, 0xFFFFAA}, {24, 4, 0xFFD5AA}, {19, 1, 0xD5EAFF},  {20, 1, 0xAAFFAA}, {24, 1, 0xAAAAFF},
        {8, 1, 0xD4D4D4}, {18, 1, 0xE9E9E9}, {24, 24, 0xAAFFAA}, {24, 0, 0xAAAAFF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberColour(c.n, c.w), c.expected) << c.n << " " << c.w;
}

// ---- Membership and counting ----------------------------------------------

TEST(VexoCountingTest, MembershipAndMatches) {
    const TDrawRecord draw = DrawOf(7, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23});
    EXPECT_TRUE(DrawContains(23, draw));
    EXPECT_FALSE(DrawContains(2, draw));
    EXPECT_TRUE(CombContains(12, TCombination{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_FALSE(CombContains(13, TCombination{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(CountMatches(draw, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), 6);
    EXPECT_EQ(CountMatches(draw, {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24}), 0);
    EXPECT_EQ(CountDrawMatches(draw, draw), 12);
    EXPECT_TRUE(DrawHasGroup(6, draw, 4)); // 21, 23
    EXPECT_FALSE(DrawHasGroup(7, draw, 4));
    std::array<uint8_t, MaxNumber> segments{};
    segments.fill(1);
    segments[22] = 9; // number 23
    EXPECT_TRUE(DrawHasSegment(9, draw, segments));
    EXPECT_FALSE(DrawHasSegment(8, draw, segments));
    // Numbers outside 1..24 in a damaged draw are not looked up in the table.
    EXPECT_FALSE(DrawHasSegment(0, DrawOf(1, {0, 25, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0}), segments));
}

TEST(VexoCountingTest, ByteLists) {
    TByteArray list;
    AddUniqueByte(5, list);
    AddUniqueByte(3, list);
    AddUniqueByte(5, list);
    AppendByte(5, list);
    EXPECT_EQ(list, (TByteArray{5, 3, 5}));
    EXPECT_TRUE(ByteListContains(3, list));
    EXPECT_FALSE(ByteListContains(4, list));
}

TEST(VexoCountingTest, DistinctNumbersInFirstMetOrderStopAtTwentyFour) {
    const std::vector<TCombination> combs = {
        {5, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12},
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13},
        {14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 1},
        {0, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40},
    };
    EXPECT_EQ(CountDistinctNumbers(combs.data(), 0), 0);
    EXPECT_EQ(CountDistinctNumbers(combs.data(), 2), 13);
    EXPECT_EQ(CountDistinctNumbers(combs.data(), 4), 24);
    TByteArray out = {99};
    CollectDistinctNumbers(combs.data(), 2, out);
    EXPECT_EQ(out, (TByteArray{5, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13}));
    CollectDistinctNumbers(combs.data(), 4, out);
    ASSERT_EQ(out.size(), 24u);
    EXPECT_EQ(out.back(), 24);
}

TEST(VexoCountingTest, IntersectAndCompareNumberLists) {
    const TDrawRecord draw = DrawOf(1, {20, 3, 15, 7, 1, 2, 4, 5, 6, 8, 9, 10});
    TNumberList list;
    list.Count = 4;
    const uint8_t picked[] = {7, 20, 3, 24};
    std::copy(std::begin(picked), std::end(picked), list.Numbers);
    list.Numbers[4] = 15; // past the count: not part of the list
    TNumberList out;
    IntersectNumbers(draw, list, out);
    EXPECT_EQ(out.Count, 3);
    EXPECT_EQ(NumberListToText(out, ","), "3,7,20");

    TNumberList same;
    same.Count = 3;
    same.Numbers[0] = 20;
    same.Numbers[1] = 7;
    same.Numbers[2] = 3;
    EXPECT_TRUE(SameNumbers(out, same));
    same.Numbers[2] = 4;
    EXPECT_FALSE(SameNumbers(out, same));
    same.Count = 2;
    EXPECT_FALSE(SameNumbers(out, same));
}

// ---- Sorting ------------------------------------------------------------

TEST(VexoSortingTest, SortsNumbersAscending) {
    TDrawRecord draw = DrawOf(3, {24, 1, 13, 7, 2, 19, 5, 11, 22, 16, 9, 3});
    SortDrawNumbers(draw);
    EXPECT_EQ(draw.Combination(), (TCombination{1, 2, 3, 5, 7, 9, 11, 13, 16, 19, 22, 24}));
    EXPECT_EQ(draw.Number, 3);

    TCombination comb = {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
    SortCombination(comb);
    EXPECT_EQ(comb, (TCombination{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));

    TNumberList list;
    list.Count = 3;
    const uint8_t numbers[] = {9, 4, 6, 1};
    std::copy(std::begin(numbers), std::end(numbers), list.Numbers);
    SortNumberList(list);
    EXPECT_EQ(list.Numbers[0], 4);
    EXPECT_EQ(list.Numbers[2], 9);
    EXPECT_EQ(list.Numbers[3], 1); // the unused tail stays where it was
    list.Count = 99;               // a damaged count sorts the 12 numbers only
    SortNumberList(list);
    EXPECT_EQ(list.Numbers[11], 9);

    TIntArray ints = {3, -1, 7, 3, 0};
    SortIntsDescending(ints);
    EXPECT_EQ(ints, (TIntArray{7, 3, 3, 0, -1}));
}

// ---- Statistic value arrays ---------------------------------------------

TEST(VexoStatEntriesTest, MergingTracksCountsAndPeriods) {
    TStatDrawArray list;
    TStatEntry first = Entry(7, 100, 1);
    first.Norm = 55;
    first.PeriodMin = 9;
    AddStatEntry(list, first, true);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Norm, 0);
    EXPECT_EQ(list[0].PeriodMin, 9); // every other field is copied as it is
    list[0].PeriodMin = 0;

    AddStatEntry(list, Entry(7, 97, 4), true);
    AddStatEntry(list, Entry(7, 90, 11), true);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Count, 3);
    EXPECT_EQ(list[0].PrevDraw, 90);
    EXPECT_EQ(list[0].PeriodMin, 3);
    EXPECT_EQ(list[0].PeriodMax, 7);
    EXPECT_EQ(list[0].Draw, 100); // the most recent occurrence stays
    EXPECT_EQ(list[0].Depth, 1);
}

TEST(VexoStatEntriesTest, PeriodsAreLeftAloneWithoutTracking) {
    TStatDrawArray list;
    AddStatEntry(list, Entry(1, 100, 1), false);
    AddStatEntry(list, Entry(1, 97, 4), false);
    EXPECT_EQ(list[0].PeriodMin, 0);
    EXPECT_EQ(list[0].PeriodMax, 0);
    EXPECT_EQ(list[0].PrevDraw, 97);
    // Without a previous draw there is no gap to measure.
    TStatDrawArray fresh;
    TStatEntry unseen = Entry(2, 0, 0, 0);
    AddStatEntry(fresh, unseen, true);
    AddStatEntry(fresh, Entry(2, 50, 3), true);
    EXPECT_EQ(fresh[0].PeriodMin, 0);
    EXPECT_EQ(fresh[0].PrevDraw, 50);
    EXPECT_EQ(fresh[0].Draw, 50);
}

TEST(VexoStatEntriesTest, MostRecentOccurrenceWins) {
    struct Case {
        int32_t oldDepth, newDepth;
        bool taken;
    };
    const Case cases[] = {
        {0, 5, true},  // nothing seen yet
        {0, 0, true},  // still nothing: the newer call's draw
        {5, 3, true},  // more recent
        {5, 5, true},  // tie: the newer call
        {3, 5, false}, // older
        {3, 0, false}, // an unseen value never hides a seen one
    };
    for (const Case& c : cases) {
        TStatDrawArray list;
        AddStatEntry(list, Entry(1, 10, c.oldDepth), false);
        AddStatEntry(list, Entry(1, 20, c.newDepth), false);
        EXPECT_EQ(list[0].Draw, c.taken ? 20 : 10) << c.oldDepth << " -> " << c.newDepth;
        EXPECT_EQ(list[0].Depth, c.taken ? c.newDepth : c.oldDepth);
    }
}

TEST(VexoStatEntriesTest, ValuesAreKeptInFirstMetOrderByAllFourKeys) {
    TStatDrawArray list;
    TStatEntry a = Entry(1, 10, 1);
    TStatEntry b = a;
    b.Key4 = 1;
    TStatEntry c = a;
    c.Key2 = 1;
    AddStatEntry(list, a, false);
    AddStatEntry(list, b, false);
    AddStatEntry(list, c, false);
    AddStatEntry(list, b, false);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].Key4, 1);
    EXPECT_EQ(list[1].Count, 2);
    EXPECT_EQ(list[2].Key2, 1);
}

TEST(VexoStatEntriesTest, WideGapsSaturateInsteadOfWrapping) {
    TStatDrawArray list;
    AddStatEntry(list, Entry(1, 70000, 1), true);
    AddStatEntry(list, Entry(1, 2, 9), true);
    EXPECT_EQ(list[0].PeriodMin, 65535);
    EXPECT_EQ(list[0].PeriodMax, 65535);
}

TEST(VexoStatEntriesTest, SortingComparesKeysUnsignedAndKeepsTies) {
    TStatDrawArray list;
    const uint16_t keys[][2] = {{65535, 0}, {1, 5}, {1, 2}, {0, 9}, {1, 2}};
    for (int i = 0; i < 5; ++i) {
        TStatEntry e = Entry(keys[i][0], 0, 0, i);
        e.Key2 = keys[i][1];
        list.push_back(e);
    }
    SortStatEntries(list);
    const int order[] = {3, 2, 4, 1, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list[i].Count, order[i]) << i;
}

TEST(VexoStatEntriesTest, Summary) {
    int32_t minCount = 1, maxCount = 1, maxDepth = 1;
    int64_t total = 1;
    SummarizeStatEntries({}, minCount, maxCount, maxDepth, total);
    EXPECT_EQ(minCount, 2147483647);
    EXPECT_EQ(maxCount, 0);
    EXPECT_EQ(maxDepth, 0);
    EXPECT_EQ(total, 0);

    const TStatDrawArray list = {Entry(1, 0, 0, 2000000000), Entry(2, 0, 7, 2000000000), Entry(3, 0, 3, 4)};
    SummarizeStatEntries(list, minCount, maxCount, maxDepth, total);
    EXPECT_EQ(minCount, 4);
    EXPECT_EQ(maxCount, 2000000000);
    EXPECT_EQ(maxDepth, 7);
    EXPECT_EQ(total, 4000000004LL);
}

TEST(VexoStatEntriesTest, LastValueGivesTheDistance) {
    TLastValueArray list;
    TStatEntry a = Entry(4, 0, 0);
    TStatEntry b = a;
    b.Key3 = 2;
    EXPECT_EQ(UpdateLastValue(list, 10, a), -1);
    EXPECT_EQ(UpdateLastValue(list, 12, b), -1);
    EXPECT_EQ(UpdateLastValue(list, 17, a), 7);
    EXPECT_EQ(UpdateLastValue(list, 20, a), 3);
    EXPECT_EQ(UpdateLastValue(list, 21, b), 9);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Index, 20);
    EXPECT_EQ(list[1].Key3, 2);
}

TEST(VexoStatEntriesTest, SimpleValues) {
    TStatSimpleArray list;
    AddSimpleValue(list, 5, 0); // registers the key
    AddSimpleValue(list, 2, -4);
    AddSimpleValue(list, 5, 3);
    AddSimpleValue(list, 5, -10); // no effect on an existing key
    AddSimpleValue(list, 2, 0);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Key, 5);
    EXPECT_EQ(list[0].Value, 3);
    EXPECT_EQ(list[1].Value, -4);
    SortSimpleValues(list);
    EXPECT_EQ(list[0].Key, 2);
    EXPECT_EQ(list[1].Key, 5);
}

TEST(VexoStatEntriesTest, PrefetchRecordKeepsOnlyKeysAndCount) {
    TStatEntry e;
    e.Draw = 7;
    e.Depth = 2;
    e.Norm = 9;
    e.PeriodMin = 3;
    e.Count = 41;
    e.Key1 = 65535;
    e.Key4 = 4;
    const TPrefetchRecord r = PrefetchFromStatEntry(e);
    EXPECT_EQ(r.Key1, 65535);
    EXPECT_EQ(r.Key4, 4);
    EXPECT_EQ(r.Count, 41);
    const TStatEntry back = StatEntryFromPrefetch(r);
    EXPECT_TRUE(back.SameKey(e));
    EXPECT_EQ(back.Count, 41);
    EXPECT_EQ(back.Draw, 0);
    EXPECT_EQ(back.Depth, 0);
    EXPECT_EQ(back.Norm, 0);
    EXPECT_EQ(back.PeriodMin, 0);
}

// ---- Result accumulators ------------------------------------------------

TEST(VexoAccumulatorTest, RatingsMergeNamesIgnoringCase) {
    TRatingsArray list;
    AddRating(list, "Сценарий Ёлка", 5, 1000);
    AddRating(list, "СЦЕНАРИЙ ёЛКА", 7, -200);
    AddRating(list, "Вручную", 0, 0);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Name, "Сценарий Ёлка");
    EXPECT_EQ(list[0].Count, 2);
    EXPECT_EQ(list[0].HitSum, 12);
    EXPECT_EQ(list[0].HitCounts[5], 1);
    EXPECT_EQ(list[0].HitCounts[7], 1);
    EXPECT_EQ(list[0].Profit, 800);
    EXPECT_EQ(list[1].Count, 1);
    EXPECT_EQ(list[1].HitCounts[0], 1);
}

TEST(VexoAccumulatorTest, RatingsIgnoreImpossibleHitCounts) {
    TRatingsArray list;
    AddRating(list, "a", -1, 100);
    AddRating(list, "a", 13, 100);
    EXPECT_TRUE(list.empty());
    AddRating(list, "a", 12, 100);
    AddRating(list, "A", 99, 100);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Count, 1);
    EXPECT_EQ(list[0].HitCounts[12], 1);
    EXPECT_EQ(list[0].Profit, 100);
}

TEST(VexoAccumulatorTest, DrawProfitsAddUpPerDraw) {
    TProfitDrawArray list;
    AddDrawProfit(list, 10, 500);
    AddDrawProfit(list, 11, -100);
    AddDrawProfit(list, 10, 250);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].DrawNumber, 10);
    EXPECT_EQ(list[0].Profit, 750);
    EXPECT_EQ(list[1].Profit, -100);
}

// ---- Weight -------------------------------------------------------------

TEST(VexoWeightTest, WeightCombinesCountDeviationAndDepth) {
    TConfigData config; // 0 * count - 1 * deviation + 1 * depth
    EXPECT_DOUBLE_EQ(static_cast<double>(CdlWeight(config, true, 10, 8, 3, 100, 10)), 1.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(CdlWeight(config, false, 10, 8, 3, 100, 10)), 3.0);

    config.CoefCount = 1;
    config.CoefDeviation = 1;
    config.CoefLevel = 1;
    config.UsePercents = true;
    // 5 of 50 = 10 %; (5 - 4) / 4 = 25 %; depth 2 of 8 = 25 %
    EXPECT_DOUBLE_EQ(static_cast<double>(CdlWeight(config, true, 5, 4, 2, 50, 8)), 60.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(CdlWeight(config, true, 2, 4, 2, 50, 8)), 4 - 50 + 25.0);
    config.UseAbsValues = true;
    EXPECT_DOUBLE_EQ(static_cast<double>(CdlWeight(config, true, 2, 4, 2, 50, 8)), 4 + 50 + 25.0);
}

TEST(VexoWeightTest, ZeroDivisorsGiveZeroTerms) {
    TConfigData config;
    config.UsePercents = true;
    for (long double coef : {-3.0L, 0.0L, 2.5L}) {
        config.CoefCount = coef;
        config.CoefDeviation = coef;
        config.CoefLevel = coef;
        EXPECT_EQ(CdlWeight(config, true, 7, 0, 4, 0, 0), 0.0L);
    }
}

TEST(VexoWeightTest, ArithmeticFaultGivesTheFaultValue) {
    TConfigData config;
    EXPECT_EQ(CdlWeight(config, true, std::numeric_limits<long double>::infinity(), 1, 1, 1, 1),
              CdlWeightFault);
    EXPECT_EQ(CdlWeight(config, true, std::numeric_limits<long double>::quiet_NaN(), 1, 1, 1, 1),
              CdlWeightFault);
    config.CoefLevel = std::numeric_limits<long double>::max();
    EXPECT_EQ(CdlWeight(config, false, 1, 0, 4, 1, 1), CdlWeightFault);
    config.CoefLevel = 1;
    config.UsePercents = true;
    EXPECT_EQ(CdlWeight(config, true, 1, 1e-4940L, 1, 1, 1e-4940L), CdlWeightFault);
}

} // namespace
} // namespace kumby
