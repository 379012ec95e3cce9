// The segments family: segments of the numbers, the count in each, the number of
// touched segments, and the segments of two to four numbers together, for segment
// tables of one segment, of a single number apart and of several scattered digits.

#include "StatTestSupport.h"
#include "stats/families/VF_Segm.h"

namespace kumby::testing {
namespace {

using TCounts = std::map<uint64_t, int64_t>;

// Numbers 1-4 in segment 5, 5-8 in 3, 9-12 in 7, 13-16 in 3, 17-20 in 5, 21-24 in 7:
// listed as 5, 3, 7; digits 4 and 6 carried by no number.
constexpr const char* Scattered = "555533337777333355557777";
constexpr const char* Quarters = "111111222222333333444444";
constexpr const char* LastApart = "111111111111111111111119";
constexpr const char* AllOne = "";

class SegmentsFamilyTest : public TFamilyTest {
protected:
    void SetTable(std::string_view text) {
        F.Config.MatrixSegments = MatrixSegmentsFromText(text);
        F.List.Rebuild();
    }
};

// Scattered segments 7 5 5 5 3 3 7 3 3 5 5 7 as drawn; sorted 5 5 5 3 3 7 3 3 5 5 7 7.
const TCombination Spread = {21, 1, 2, 3, 5, 6, 9, 13, 14, 17, 18, 22};
const TCombination Low = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const TCombination High = {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
const TCombination NoSeven = {1, 2, 3, 4, 5, 6, 7, 8, 13, 14, 15, 16};

TEST_F(SegmentsFamilyTest, ValuesOfOneDraw) {
    struct TCase {
        const char* Table;
        const char* Code;
        TCombination Numbers;
        bool Sorted;
        TCounts Values; // key -> count, values that occurred
    };
    const TCase cases[] = {
        {AllOne, "SGMS", Spread, false, {{Key(1), 12}}},
        {AllOne, "SGMV", Spread, false, {{Key(1, 12), 1}}},
        {AllOne, "SGMC", Spread, false, {{Key(1), 1}}},
        {AllOne, "SGM1", Spread, false, {{Key(12), 1}}},
        {AllOne, "KGM2", Spread, false, {{Key(1, 1), 66}}},
        {AllOne, "KGS4", Spread, false, {{Key(1, 1, 1, 1), 9}}},
        {Quarters, "SGMV", Low, false, {{Key(1, 6), 1}, {Key(2, 6), 1}, {Key(3, 0), 1}, {Key(4, 0), 1}}},
        {Quarters, "SGMC", Low, false, {{Key(2), 1}}},
        {Quarters, "SGMS", Low, false, {{Key(1), 6}, {Key(2), 6}}},
        {LastApart, "SGMV", Low, false, {{Key(1, 12), 1}, {Key(9, 0), 1}}},
        {LastApart, "SGMV", High, false, {{Key(1, 11), 1}, {Key(9, 1), 1}}},
        {LastApart, "SGMC", High, false, {{Key(2), 1}}},
        {LastApart, "SGM9", High, false, {{Key(1), 1}}},
        {LastApart, "SGM5", High, false, {{Key(0), 1}}},
        {Scattered, "SGMS", Spread, false, {{Key(5), 5}, {Key(3), 4}, {Key(7), 3}}},
        {Scattered, "SGMV", Spread, false, {{Key(5, 5), 1}, {Key(3, 4), 1}, {Key(7, 3), 1}}},
        {Scattered, "SGMV", NoSeven, false, {{Key(5, 4), 1}, {Key(3, 8), 1}, {Key(7, 0), 1}}},
        {Scattered, "SGMC", Spread, false, {{Key(3), 1}}},
        {Scattered, "SGMC", NoSeven, false, {{Key(2), 1}}},
        {Scattered, "SGM7", Spread, false, {{Key(3), 1}}},
        {Scattered, "SGM4", Spread, false, {{Key(0), 1}}},
        {Scattered,
         "KGS2",
         Spread,
         false,
         {{Key(7, 5), 1},
          {Key(5, 5), 3},
          {Key(5, 3), 1},
          {Key(3, 3), 2},
          {Key(3, 7), 1},
          {Key(7, 3), 1},
          {Key(3, 5), 1},
          {Key(5, 7), 1}}},
        {Scattered,
         "KGS2",
         Spread,
         true,
         {{Key(5, 5), 3},
          {Key(5, 3), 1},
          {Key(3, 3), 2},
          {Key(3, 7), 1},
          {Key(7, 3), 1},
          {Key(3, 5), 1},
          {Key(5, 7), 1},
          {Key(7, 7), 1}}},
        // Segments 5 5 5 5 3 3 3 3 7 7 7 7: a triple within one quarter 4 times, two
        // from one and one from a later one 6 x 4 times, one from each 64 times.
        {Scattered,
         "KGM3",
         Low,
         false,
         {{Key(5, 5, 5), 4},
          {Key(5, 5, 3), 24},
          {Key(5, 5, 7), 24},
          {Key(5, 3, 3), 24},
          {Key(5, 3, 7), 64},
          {Key(5, 7, 7), 24},
          {Key(3, 3, 3), 4},
          {Key(3, 3, 7), 24},
          {Key(3, 7, 7), 24},
          {Key(7, 7, 7), 4}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " table \"" + c.Table + "\" " + CombToText(c.Numbers) +
                     (c.Sorted ? " sorted" : " drawn"));
        SetTable(c.Table);
        const TStatDrawArray stat = OneDraw(c.Code, c.Numbers, c.Sorted);
        EXPECT_EQ(CountsByKey(stat, true), c.Values);
        for (const TStatEntry& e : stat)
            if (e.Count != 0) {
                EXPECT_EQ(e.Depth, 1);
                EXPECT_EQ(e.PeriodMin | e.PeriodMax, 0) << "a value met twice in one draw is no period";
            }
        auto method = F.Create(c.Code);
        TCombination ascending = c.Numbers;
        std::sort(ascending.begin(), ascending.end());
        if (!method->Info().HasPrefetch()) {
            EXPECT_TRUE(CombinationValues(*method, ascending).empty());
            continue;
        }
        EXPECT_EQ(CountsByKey(CombinationValues(*method, ascending), false), c.Values);
    }
}

// Segments are listed, and SGMV gives its values, in the order of the numbers that
// first carry them.
TEST_F(SegmentsFamilyTest, OrderOfFirstAppearance) {
    SetTable(Scattered);
    EXPECT_EQ(KeysInOrder(OneDraw("SGMS", High)), (std::vector<uint64_t>{Key(5), Key(3), Key(7)}));
    EXPECT_EQ(KeysInOrder(OneDraw("SGMV", High)), (std::vector<uint64_t>{Key(5, 4), Key(3, 4), Key(7, 4)}));
    EXPECT_EQ(KeysInOrder(OneDraw("KGM2", Spread)).front(), Key(7, 5));
    for (const auto& [code, count] : std::vector<std::pair<const char*, int64_t>>{
             {"KGM2", 66}, {"KGM3", 220}, {"KGM4", 495}, {"KGS2", 11}, {"KGS3", 10}, {"KGS4", 9}}) {
        int64_t total = 0;
        for (const TStatEntry& e : OneDraw(code, Spread))
            total += e.Count;
        EXPECT_EQ(total, count) << code;
    }
}

TEST_F(SegmentsFamilyTest, ListedValuesAndTexts) {
    struct TCase {
        const char* Table;
        const char* Code;
        std::vector<std::string> Listed; // texts of the values listed before any draw
    };
    const TCase cases[] = {
        {AllOne, "SGMS", {"1"}},
        {Quarters, "SGMS", {"1", "2", "3", "4"}},
        {Scattered, "SGMS", {"5", "3", "7"}},
        {LastApart, "SGMS", {"1", "9"}},
        {"9", "SGMS", {"9", "1"}},
        {Scattered, "SGMV", {}},
        {Scattered, "SGMC", {}},
        {Scattered, "SGM5", {}},
        {Scattered, "KGM2", {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " table \"" + c.Table + "\"");
        SetTable(c.Table);
        TStatDrawArray listed;
        F.Create(c.Code)->SeedValues(-1, listed);
        EXPECT_EQ(Texts(c.Code, listed), c.Listed);
        for (const TStatEntry& e : listed)
            EXPECT_EQ(e.Count | e.Depth | e.Draw, 0);
    }
    SetTable(Scattered);
    EXPECT_EQ(F.Create("SGMV")->ValueText(Keys(7, 3)), "7 x 3");
    EXPECT_EQ(F.Create("SGMV")->NumericValue("7 x 3"), 0);
    EXPECT_EQ(F.Create("SGMS")->NumericValue("7"), 7);
    EXPECT_EQ(F.Create("SGMC")->ValueText(Keys(3)), "3");
    EXPECT_EQ(F.Create("KGM3")->ValueText(Keys(5, 3, 7)), "5:3:7");
    EXPECT_EQ(F.Create("KGS4")->ValueText(Keys(7, 7, 5, 3)), "7:7:5:3");
    EXPECT_EQ(F.Create("KGS2")->NumericValue("7:5"), 0);
}

TEST_F(SegmentsFamilyTest, RegisteredMethodsFollowTheTable) {
    auto codes = [&] {
        std::vector<std::string> found;
        for (std::size_t i = 0; i < F.List.Count(); ++i)
            if (F.List.Items(i).StatClass->Group == 5)
                found.push_back(F.List.Items(i).MethodCode());
        return found;
    };
    const std::vector<std::string> fixed = {"SGMS", "SGMV", "SGMC", "KGM2", "KGM3",
                                            "KGM4", "KGS2", "KGS3", "KGS4"};
    struct TCase {
        const char* Table;
        int Lowest, Highest;
    };
    // A short text or other characters than digits put those numbers into segment 1.
    for (const TCase c : {TCase{AllOne, 1, 1}, TCase{Quarters, 1, 4}, TCase{Scattered, 3, 7},
                          TCase{LastApart, 1, 9}, TCase{"999999999999999999999999", 9, 9}, TCase{"3x", 1, 3},
                          TCase{"222222222222222222222222", 2, 2}, TCase{"23", 1, 3}}) {
        SCOPED_TRACE(c.Table);
        SetTable(c.Table);
        std::vector<std::string> expected = fixed;
        for (int s = c.Lowest; s <= c.Highest; ++s)
            expected.push_back("SGM" + std::to_string(s));
        EXPECT_EQ(codes(), expected);
    }
    SetTable(Scattered);
    const auto sgm4 = static_cast<std::size_t>(F.List.FindByCode("SGM4"));
    EXPECT_EQ(F.List.Items(sgm4).MethodCaption(), "Количество чисел в 4 сегменте матрицы");
    EXPECT_EQ(F.List.Items(sgm4).StatClass->HelpCodeFor(4), "SGMx");
    EXPECT_EQ(F.List.DisplayName(sgm4, true), "{ sgm } Количество чисел в 4 сегменте матрицы [ NG ]");
    EXPECT_EQ(F.List.DisplayName(static_cast<std::size_t>(F.List.FindByCode("KGS3")), true),
              "{ sgm } Сочетания из 3 сегментов по соседним числам [ S ]");
    EXPECT_EQ(F.List.DisplayName(static_cast<std::size_t>(F.List.FindByCode("SGMV")), true),
              "{ sgm } Количество чисел в сегменте матрицы [ N ]");
}

TEST_F(SegmentsFamilyTest, MatchesTheSelectedValues) {
    SetTable(Scattered);
    struct TCase {
        const char* Code;
        std::vector<TStatEntry> Selected;
        TCombination Comb;
        bool Match;
    };
    const TCase cases[] = {
        {"SGMS", {Keys(7)}, Low, true},
        {"SGMS", {Keys(7)}, NoSeven, false},
        {"SGMS", {Keys(4)}, Low, false}, // a digit no number carries
        {"SGMV", {Keys(7, 0)}, NoSeven, true},
        {"SGMV", {Keys(7, 0)}, Low, false},
        {"SGMV", {Keys(3, 8)}, NoSeven, true},
        {"SGMV", {Keys(3, 8, 1)}, NoSeven, false},
        {"SGMC", {Keys(3)}, Low, true},
        {"SGMC", {Keys(1), Keys(2)}, Low, false},
        {"SGM4", {Keys(0)}, Spread, true},
        {"SGM5", {Keys(4)}, Low, true},
        {"SGM5", {Keys(5)}, Low, false},
        {"KGM2", {Keys(7, 5)}, Low, false}, // 7 never before 5 in 1..12
        {"KGM2", {Keys(7, 5)}, Spread, true},
        {"KGM4", {Keys(5, 3, 7, 7)}, Low, true},
        {"KGS3", {Keys(5, 3, 3)}, Low, true},
        {"KGS3", {Keys(5, 3, 7)}, Low, false},
        {"KGS2", {}, Low, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Code);
        auto method = F.Create(c.Code);
        method->LoadDraws(-1, F.LastIdx(), false);
        const TStatDrawArray selected(c.Selected.begin(), c.Selected.end());
        EXPECT_EQ(method->Matches(c.Comb, selected, F.LastIdx(), false, false), c.Match);
        const TSelectionScope scope(selected);
        EXPECT_EQ(method->Matches(c.Comb, selected, F.LastIdx(), false, true), c.Match) << "with the lookups";
    }
}

// Draws 1, 2 and 5 (3 and 4 are missing) with the scattered table, in drawn order.
TEST_F(SegmentsFamilyTest, TableOverAFewDrawsWorkedOutByHand) {
    SetTable(Scattered);
    F.Draws = {DrawOf(1, Spread), DrawOf(2, Low), DrawOf(5, Spread)};
    struct TRow {
        const char* Code;
        uint64_t Key;
        int32_t Count, Draw, Depth;
        uint16_t PeriodMin, PeriodMax;
    };
    const TRow rows[] = {
        {"SGMS", Key(5), 14, 5, 1, 1, 3},   {"SGMS", Key(3), 12, 5, 1, 1, 3},
        {"SGMV", Key(5, 4), 1, 2, 2, 0, 0}, {"SGMV", Key(7, 3), 2, 5, 1, 4, 4},
        {"SGMC", Key(3), 3, 5, 1, 1, 3},    {"SGM4", Key(0), 3, 5, 1, 1, 3},
        {"SGM7", Key(4), 1, 2, 2, 0, 0},    {"KGS2", Key(5, 5), 9, 5, 1, 1, 3},
        {"KGS2", Key(7, 7), 3, 2, 2, 0, 0}, {"KGS2", Key(7, 5), 2, 5, 1, 4, 4},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(std::string(r.Code) + " " + std::to_string(r.Key));
        const TStatDrawArray stat = EvaluateWindow(*F.Create(r.Code), 0, 2, false);
        const TStatEntry k = KeyEntry(r.Key);
        const TStatEntry* e = FindKey(stat, k.Key1, k.Key2, k.Key3, k.Key4);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->Count, r.Count);
        EXPECT_EQ(e->Draw, r.Draw);
        EXPECT_EQ(e->Depth, r.Depth);
        EXPECT_EQ(e->PeriodMin, r.PeriodMin);
        EXPECT_EQ(e->PeriodMax, r.PeriodMax);
    }
    EXPECT_EQ(F.Create("KGS2")->FindNextOccurrence(Keys(7, 7), 0, 2, false), 2);
    EXPECT_EQ(F.Create("KGS2")->FindNextOccurrence(Keys(7, 7), 2, 2, false), -1);
}

} // namespace
} // namespace kumby::testing
