// The numbers family: which numbers, digits, kinds and positions a draw has.

#include "StatTestSupport.h"
#include "stats/families/VF_Nums.h"

namespace kumby::testing {
namespace {

class NumbersFamilyTest : public ::testing::Test {
protected:
    // One draw in the archive; returns its index.
    int AddDraw(int32_t number, const TCombination& numbers) {
        F.Draws.push_back(DrawOf(number, numbers));
        return F.LastIdx();
    }
    TStatDrawArray OneDraw(std::string_view code, const TCombination& numbers, bool sorted = false) {
        const int idx = AddDraw(static_cast<int32_t>(F.Draws.size()) + 1, numbers);
        auto stat = F.Create(code);
        return EvaluateWindow(*stat, idx, idx, sorted);
    }
    static std::vector<uint16_t> OccurredKeys(const TStatDrawArray& stat) {
        std::vector<uint16_t> keys;
        for (const TStatEntry& e : stat)
            if (e.Count > 0)
                keys.push_back(e.Key1);
        return keys;
    }

    TStatFixture F;
};

const TCombination AllOdd = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23};
const TCombination Low = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const TCombination High = {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};

// ---- NUMS ------------------------------------------------------------------------

TEST_F(NumbersFamilyTest, NumsListsAllTwentyFourNumbersForOneDraw) {
    const TStatDrawArray stat = OneDraw("NUMS", {5, 17, 1, 24, 8, 9, 10, 11, 12, 13, 2, 20});
    ASSERT_EQ(stat.size(), 24u);
    int occurred = 0;
    for (uint16_t n = 1; n <= 24; ++n) {
        const TStatEntry& e = stat[n - 1];
        EXPECT_EQ(e.Key1, n) << "listed in number order";
        if (e.Count == 1) {
            ++occurred;
            EXPECT_EQ(e.Depth, 1);
            EXPECT_EQ(e.Draw, 1);
        } else {
            EXPECT_EQ(e.Count, 0);
            EXPECT_EQ(e.Depth, 0);
            EXPECT_EQ(e.Draw, 0);
        }
    }
    EXPECT_EQ(occurred, 12);
    EXPECT_EQ(ValueOf(stat, 17).Count, 1);
    EXPECT_EQ(ValueOf(stat, 14).Count, 0);
}

TEST_F(NumbersFamilyTest, NumsGapsAreDifferencesOfDrawNumbers) {
    AddDraw(90, {5, 1, 2, 3, 4, 6, 8, 9, 10, 11, 12, 13});
    AddDraw(97, {5, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24});
    AddDraw(100, {7, 5, 1, 2, 3, 4, 6, 8, 9, 10, 11, 12});
    AddDraw(101, {7, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24});
    AddDraw(102, {7, 1, 2, 3, 4, 6, 8, 9, 10, 11, 12, 13});
    auto nums = F.Create("NUMS");
    const TStatDrawArray stat = EvaluateWindow(*nums, 0, 4, false);

    const TStatEntry five = ValueOf(stat, 5);
    EXPECT_EQ(five.Count, 3);
    EXPECT_EQ(five.Draw, 100);
    EXPECT_EQ(five.Depth, 3);
    EXPECT_EQ(five.PrevDraw, 100);
    EXPECT_EQ(five.PeriodMin, 3);
    EXPECT_EQ(five.PeriodMax, 7);

    // In every draw of consecutive numbers.
    const TStatEntry seven = ValueOf(stat, 7);
    EXPECT_EQ(seven.Count, 3);
    EXPECT_EQ(seven.Depth, 1);
    EXPECT_EQ(seven.PeriodMin, 1);
    EXPECT_EQ(seven.PeriodMax, 1);

    // 13 in draws 90 and 102 only; the window stops before 102 here.
    const TStatDrawArray shifted = EvaluateWindow(*nums, 0, 3, false);
    const TStatEntry thirteen = ValueOf(shifted, 13);
    EXPECT_EQ(thirteen.Count, 1);
    EXPECT_EQ(thirteen.Depth, 4);
    EXPECT_EQ(thirteen.PeriodMin, 0);
    EXPECT_EQ(nums->FindNextOccurrence(thirteen, 1, 3, false), 102);
}

TEST_F(NumbersFamilyTest, NumsMatchesAnySelectedNumber) {
    auto nums = F.Create("NUMS");
    nums->LoadDraws(-1, -1, false);
    TStatEntry five, seventeen;
    five.Key1 = 5;
    seventeen.Key1 = 17;
    const TStatDrawArray selected{five, seventeen};
    EXPECT_TRUE(nums->Matches({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, selected, -1, false, false));
    EXPECT_TRUE(nums->Matches(High, selected, -1, false, false));
    EXPECT_TRUE(nums->Matches({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 17}, selected, -1, false, true));
    EXPECT_FALSE(nums->Matches({1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13}, selected, -1, false, false));
    // Only a whole key selects: a number in Key1 with something else beside it is another value.
    TStatEntry other = five;
    other.Key2 = 1;
    EXPECT_FALSE(nums->Matches(Low, {other}, -1, false, false));
    EXPECT_FALSE(nums->Matches(Low, {}, -1, false, false));
}

// ---- DIGS ------------------------------------------------------------------------

TEST_F(NumbersFamilyTest, DigsSplitsNumbersIntoDigits) {
    const TStatDrawArray stat = OneDraw("DIGS", {20, 11, 1, 2, 3, 4, 5, 6, 7, 8, 9, 24});
    // First met order: 2 and 0 of 20, 1 of 11 ...
    EXPECT_EQ(OccurredKeys(stat), (std::vector<uint16_t>{2, 0, 1, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(ValueOf(stat, 0).Count, 1);
    EXPECT_EQ(ValueOf(stat, 1).Count, 3) << "11 gives the digit 1 twice";
    EXPECT_EQ(ValueOf(stat, 2).Count, 3);
    EXPECT_EQ(ValueOf(stat, 4).Count, 2);
    int64_t total = 0;
    for (const TStatEntry& e : stat)
        total += e.Count;
    EXPECT_EQ(total, 12 + 3) << "12 numbers plus one per number above 9";

    // No digit is listed beforehand.
    const TStatDrawArray noZero = OneDraw("DIGS", {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13});
    EXPECT_EQ(FindKey(noZero, 0), nullptr);

    auto digs = F.Create("DIGS");
    TStatEntry zero;
    EXPECT_TRUE(digs->Matches(Low, {zero}, -1, false, false)) << "10 has a 0";
    EXPECT_FALSE(digs->Matches({1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13}, {zero}, -1, false, false));
    TStatEntry four;
    four.Key1 = 4;
    EXPECT_TRUE(digs->Matches({1, 2, 3, 5, 6, 7, 8, 9, 11, 12, 13, 24}, {four}, -1, false, false));
}

// ---- Counts: EVEN, SMAL, PRIM -------------------------------------------------

TEST_F(NumbersFamilyTest, CountOfZeroIsListedOnlyAfterItOccurred) {
    const TStatDrawArray usual = OneDraw("EVEN", {2, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    ASSERT_EQ(usual.size(), 12u);
    for (uint16_t c = 1; c <= 12; ++c)
        EXPECT_EQ(usual[c - 1].Key1, c);
    EXPECT_EQ(ValueOf(usual, 6).Count, 1);

    const TStatDrawArray odd = OneDraw("EVEN", AllOdd);
    ASSERT_EQ(odd.size(), 13u);
    EXPECT_EQ(odd.back().Key1, 0);
    EXPECT_EQ(odd.back().Count, 1);
    EXPECT_EQ(odd.back().Depth, 1);
    auto even = F.Create("EVEN");
    EXPECT_EQ(even->ValueText(odd.back()), "0:12");
    EXPECT_EQ(even->ChartValueOfDraw(F.LastIdx(), F.LastIdx(), false), 0);

    for (const char* code : {"SMAL", "PRIM"}) {
        auto stat = F.Create(code);
        TStatDrawArray seeded;
        stat->SeedValues(0, seeded);
        ASSERT_EQ(seeded.size(), 12u) << code;
        EXPECT_EQ(seeded.front().Key1, 1) << code;
    }
}

TEST_F(NumbersFamilyTest, CountsOfEachKind) {
    struct Case {
        const char* code;
        TCombination numbers;
        uint16_t count;
        const char* text;
    };
    const Case cases[] = {
        {"EVEN", Low, 6, "6:6"},
        {"EVEN", {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24}, 12, "12:0"},
        {"SMAL", Low, 12, "12:0"},
        {"SMAL", High, 0, "0:12"},
        {"SMAL", {12, 13, 1, 2, 3, 4, 5, 14, 15, 16, 17, 18}, 6, "6:6"},
        // 1 counts as prime.
        {"PRIM", {1, 4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20}, 1, "1:11"},
        {"PRIM", {1, 2, 3, 5, 7, 11, 13, 17, 19, 23, 4, 6}, 10, "10:2"},
        {"PRIM", {4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20, 21}, 0, "0:12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.text);
        const TStatDrawArray stat = OneDraw(c.code, c.numbers);
        EXPECT_EQ(OccurredKeys(stat), std::vector<uint16_t>{c.count});
        auto method = F.Create(c.code);
        EXPECT_EQ(method->ValueText(ValueOf(stat, c.count)), c.text);
        EXPECT_EQ(method->ChartValue(c.numbers.data(), 0, 0, false), c.count);

        TCombination comb = c.numbers;
        std::sort(comb.begin(), comb.end());
        TStatEntry selected;
        selected.Key1 = c.count;
        EXPECT_TRUE(method->Matches(comb, {selected}, -1, false, false));
        selected.Key1 = static_cast<uint16_t>(c.count == 0 ? 1 : c.count - 1);
        EXPECT_FALSE(method->Matches(comb, {selected}, -1, false, false));
    }
}

// ---- Masks: EVNV, SMLV, PRMV ---------------------------------------------------

TEST_F(NumbersFamilyTest, MaskFollowsTheStoredOrderUnlessSorted) {
    const TCombination stored = {13, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    auto evnv = F.Create("EVNV");
    const TStatDrawArray drawn = OneDraw("EVNV", stored);
    ASSERT_EQ(OccurredKeys(drawn), std::vector<uint16_t>{2730});
    EXPECT_EQ(evnv->ValueText(ValueOf(drawn, 2730)), "нЧнЧнЧнЧнЧнЧ (2730)");

    const TStatDrawArray sorted = OneDraw("EVNV", stored, true);
    ASSERT_EQ(OccurredKeys(sorted), std::vector<uint16_t>{1365});
    EXPECT_EQ(evnv->ValueText(ValueOf(sorted, 1365)), "ЧнЧнЧнЧнЧнЧн (1365)");

    // The working list is ascending: 1..12 starts with an odd number.
    TStatEntry selected;
    selected.Key1 = 2730;
    EXPECT_TRUE(evnv->Matches(Low, {selected}, -1, false, false));
    EXPECT_FALSE(evnv->Matches({2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, {selected}, -1, false, false));
    selected.Key2 = 1;
    EXPECT_FALSE(evnv->Matches(Low, {selected}, -1, false, false)) << "the whole low half is the mask";
}

TEST_F(NumbersFamilyTest, MasksOfEachKind) {
    struct Case {
        const char* code;
        TCombination numbers;
        uint16_t mask;
        const char* text;
    };
    const Case cases[] = {
        {"SMLV", {13, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 24}, 2049, "211111111112 (2049)"},
        {"SMLV", {12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 0, "111111111111 (000)"},
        {"PRMV", {1, 2, 3, 5, 7, 11, 13, 17, 19, 23, 4, 6}, 4092, "ППППППППППСС (4092)"},
        {"PRMV", {4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20, 1}, 1, "СССССССССССП (001)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TStatDrawArray stat = OneDraw(c.code, c.numbers);
        EXPECT_EQ(OccurredKeys(stat), std::vector<uint16_t>{c.mask});
        EXPECT_EQ(F.Create(c.code)->ValueText(ValueOf(stat, c.mask)), c.text);
    }
}

TEST_F(NumbersFamilyTest, EvenAndPrimeMasksListAllPatternsSmallOnlyTheOccurred) {
    for (const char* code : {"EVNV", "PRMV"}) {
        const TStatDrawArray stat = OneDraw(code, Low);
        ASSERT_EQ(stat.size(), 4096u) << code;
        int occurred = 0;
        for (uint16_t m = 0; m < 4096; ++m) {
            EXPECT_EQ(stat[m].Key1, m);
            EXPECT_EQ(stat[m].Key2, 0);
            occurred += stat[m].Count;
            if (stat[m].Count == 0) {
                EXPECT_EQ(stat[m].Depth, 0);
            }
        }
        EXPECT_EQ(occurred, 1) << code;
    }
    AddDraw(50, High);
    auto smlv = F.Create("SMLV");
    const TStatDrawArray stat = EvaluateWindow(*smlv, 0, F.LastIdx(), false);
    ASSERT_EQ(stat.size(), 2u) << "1..12 twice, then 13..24";
    EXPECT_EQ(stat[0].Key1, 0);
    EXPECT_EQ(stat[0].Count, 2);
    EXPECT_EQ(stat[1].Key1, 4095);
    EXPECT_EQ(stat[1].Count, 1);
}

// ---- POS%d and POE%d -----------------------------------------------------------

TEST_F(NumbersFamilyTest, PositionTakesTheNumberAtItsPlace) {
    AddDraw(1, {20, 2, 7, 4, 5, 6, 1, 8, 9, 10, 11, 12});
    auto pos3 = F.Create("POS3");
    auto pos1 = F.Create("POS1");
    ASSERT_EQ(pos3->Param(), 3);

    const TStatDrawArray drawn = EvaluateWindow(*pos3, 0, 0, false);
    ASSERT_EQ(drawn.size(), 24u);
    EXPECT_EQ(OccurredKeys(drawn), std::vector<uint16_t>{7});
    EXPECT_EQ(OccurredKeys(EvaluateWindow(*pos3, 0, 0, true)), std::vector<uint16_t>{4});
    EXPECT_EQ(OccurredKeys(EvaluateWindow(*pos1, 0, 0, false)), std::vector<uint16_t>{20});

    EXPECT_EQ(pos1->ChartValueOfDraw(0, 0, false), 20);
    EXPECT_EQ(pos1->ChartValueOfDraw(0, 0, true), 1);
    EXPECT_EQ(pos3->ChartValueOfDraw(0, 0, true), 4);

    TStatEntry selected;
    selected.Key1 = 3;
    EXPECT_TRUE(pos3->Matches(Low, {selected}, -1, false, false));
    EXPECT_FALSE(pos1->Matches(Low, {selected}, -1, false, false));
}

TEST_F(NumbersFamilyTest, PositionOutsideTheDrawTakesNoNumber) {
    AddDraw(1, Low);
    for (const int32_t param : {0, 13, -1, 1000}) {
        SCOPED_TRACE(param);
        auto stat = TstPosVal::ClassInfo.Create(F.List, param);
        const TStatDrawArray values = EvaluateWindow(*stat, 0, 0, false);
        int64_t total = 0;
        for (const TStatEntry& e : values)
            if (e.Key1 >= 1 && e.Key1 <= 24)
                total += e.Count;
        EXPECT_EQ(total, 0);
        EXPECT_EQ(stat->ChartValueOfDraw(0, 0, false), 0);
        for (const TStatEntry& e : CombinationValues(*stat, Low))
            EXPECT_EQ(e.Key1, 0) << "a number " << e.Key1 << " taken from outside the position";
        TStatEntry one;
        one.Key1 = 1;
        EXPECT_FALSE(stat->Matches(Low, {one}, -1, false, false));
    }
}

TEST_F(NumbersFamilyTest, ExtraNumberMethodRegistersNothingAndNeverMatches) {
    EXPECT_EQ(F.List.FindByCode("POE1"), -1);
    int32_t min = 0, max = 0;
    TstPosExt::ClassInfo.GetParamRange(F.List, min, max);
    EXPECT_GT(min, max);
    EXPECT_FALSE(TstPosExt::ClassInfo.HasPrefetch());

    // Games with extra numbers keep them right after the twelve numbers; this game's
    // record has the length of the date there (16 for "01.02.2021 20:00"), and no
    // byte at all for a place outside the record.
    AddDraw(1, Low);
    struct TCase {
        int32_t Param;
        uint16_t Byte;
    };
    for (const TCase c : {TCase{1, 16}, TCase{0, 0}, TCase{40, 0}}) {
        SCOPED_TRACE(c.Param);
        auto poe = TstPosExt::ClassInfo.Create(F.List, c.Param);
        EXPECT_TRUE(CombinationValues(*poe, Low).empty());
        EXPECT_FALSE(poe->Matches(Low, {TStatEntry{}}, -1, false, false));
        const TStatDrawArray values = EvaluateWindow(*poe, 0, 0, false);
        ASSERT_EQ(values.size(), 1u);
        EXPECT_EQ(values[0].Key1, c.Byte);
        EXPECT_EQ(values[0].Count, 1);
        EXPECT_EQ(poe->ChartValueOfDraw(0, 0, false), c.Byte);
    }
}

// ---- The full set ----------------------------------------------------------------

uint64_t Choose(int n, int k) {
    return k < 0 || k > n ? 0 : Binomial(n, k);
}

TEST_F(NumbersFamilyTest, FullSetCountsOfNumbersAndOfTheThirdPosition) {
    auto nums = F.Create("NUMS");
    auto pos3 = F.Create("POS3");
    TStatDrawArray numsStat, pos3Stat;
    uint32_t combinations = 0;
    ForEachCombination([&](const TCombination& comb) {
        nums->AddCombination(comb, numsStat);
        pos3->AddCombination(comb, pos3Stat);
        ++combinations;
    });
    ASSERT_EQ(combinations, FullSetSize);

    ASSERT_EQ(numsStat.size(), 24u);
    for (const TStatEntry& e : numsStat) {
        EXPECT_EQ(e.Count, 1352078) << e.Key1;
        EXPECT_EQ(e.Depth, 0);
        EXPECT_EQ(e.Draw, 0);
        EXPECT_EQ(e.PeriodMin, 0);
    }

    // Third in an ascending combination: two smaller numbers and nine larger ones.
    ASSERT_EQ(pos3Stat.size(), 13u);
    for (uint16_t v = 3; v <= 15; ++v) {
        const TStatEntry* e = FindKey(pos3Stat, v);
        ASSERT_NE(e, nullptr) << v;
        EXPECT_EQ(static_cast<uint64_t>(e->Count), Choose(v - 1, 2) * Choose(24 - v, 9)) << v;
    }
}

} // namespace
} // namespace kumby::testing
