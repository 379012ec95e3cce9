// The combination values family: the numbers two to four at a time over every
// choice of positions, over adjacent positions and from one fixed position.

#include "StatTestSupport.h"
#include "stats/StatTable.h"
#include "stats/families/VF_Cmbv.h"
#include "support/ShownRows.h"

namespace kumby::testing {
namespace {

using TCounts = std::map<uint64_t, int64_t>;

class CombValuesFamilyTest : public TFamilyTest {};

const TCombination Falling = {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
const TCombination Low = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const TCombination Mixed = {3, 17, 5, 8, 20, 21, 22, 23, 24, 1, 2, 4};

// The runs of K adjacent numbers of 12 numbers, each once, in position order.
std::vector<uint64_t> RunKeys(const TCombination& numbers, int k) {
    std::vector<uint64_t> keys;
    for (int p = 0; p + k <= NumbersInDraw; ++p) {
        uint64_t key = 0;
        for (int i = 0; i < k; ++i)
            key |= uint64_t{numbers[p + i]} << (16 * i);
        keys.push_back(key);
    }
    return keys;
}

TEST_F(CombValuesFamilyTest, ValuesOfOneDraw) {
    struct TCase {
        const char* Code;
        TCombination Numbers;
        bool Sorted;
        std::vector<uint64_t> Values; // in list order, each once
    };
    const TCase cases[] = {
        {"KNS2", Falling, true, RunKeys(Low, 2)},       {"KNS2", Falling, false, RunKeys(Falling, 2)},
        {"KNS3", Mixed, false, RunKeys(Mixed, 3)},      {"KNS4", Mixed, false, RunKeys(Mixed, 4)},
        {"KNP21", Mixed, false, {Key(3, 17)}},          {"KNP23", Falling, true, {Key(3, 4)}},
        {"KNP23", Falling, false, {Key(10, 9)}},        {"KNP211", Falling, true, {Key(11, 12)}},
        {"KNP211", Falling, false, {Key(2, 1)}},        {"KNP31", Mixed, false, {Key(3, 17, 5)}},
        {"KNP310", Mixed, false, {Key(1, 2, 4)}},       {"KNP41", Mixed, false, {Key(3, 17, 5, 8)}},
        {"KNP49", Falling, true, {Key(9, 10, 11, 12)}}, {"KNP49", Mixed, false, {Key(24, 1, 2, 4)}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " " + CombToText(c.Numbers) + (c.Sorted ? " sorted" : " drawn"));
        const TStatDrawArray stat = OneDraw(c.Code, c.Numbers, c.Sorted);
        EXPECT_EQ(KeysInOrder(stat), c.Values);
        for (const TStatEntry& e : stat) {
            EXPECT_EQ(e.Count, 1);
            EXPECT_EQ(e.Depth, 1);
        }
        // No full-set values: the family has no prefetch files.
        TCombination ascending = c.Numbers;
        std::sort(ascending.begin(), ascending.end());
        EXPECT_TRUE(CombinationValues(*F.Create(c.Code), ascending).empty());
    }
}

// Every choice of positions, the first position outermost: of distinct numbers all
// tuples differ, so each comes once.
TEST_F(CombValuesFamilyTest, EveryChoiceOfPositionsOnce) {
    for (const auto& [code, count] :
         std::vector<std::pair<const char*, std::size_t>>{{"KNM2", 66}, {"KNM3", 220}, {"KNM4", 495}}) {
        SCOPED_TRACE(code);
        const TStatDrawArray stat = OneDraw(code, Mixed);
        EXPECT_EQ(stat.size(), count);
        EXPECT_EQ(CountsByKey(stat, true).size(), count);
        for (const TStatEntry& e : stat)
            EXPECT_EQ(e.Count, 1);
    }
    const std::vector<uint64_t> knm3 = KeysInOrder(OneDraw("KNM3", Mixed));
    EXPECT_EQ(knm3[0], Key(3, 17, 5));
    EXPECT_EQ(knm3[1], Key(3, 17, 8));
    EXPECT_EQ(knm3[10], Key(3, 5, 8)); // after the ten choices 1, 2, x
    EXPECT_EQ(knm3.back(), Key(1, 2, 4));
    const std::vector<uint64_t> knm4 = KeysInOrder(OneDraw("KNM4", Falling, true));
    EXPECT_EQ(knm4.front(), Key(1, 2, 3, 4));
    EXPECT_EQ(knm4.back(), Key(9, 10, 11, 12));
    // Drawn order gives other values than the sorted view.
    EXPECT_EQ(KeysInOrder(OneDraw("KNM2", Falling)).front(), Key(12, 11));
}

TEST_F(CombValuesFamilyTest, TextsAndRegistration) {
    EXPECT_EQ(F.Create("KNM2")->ValueText(Keys(3, 17)), "3:17");
    EXPECT_EQ(F.Create("KNS3")->ValueText(Keys(3, 5, 17)), "3:5:17");
    EXPECT_EQ(F.Create("KNP41")->ValueText(Keys(3, 5, 8, 17)), "3:5:8:17");
    EXPECT_EQ(F.Create("KNM2")->NumericValue("3:17"), 0);
    EXPECT_EQ(F.Create("KNM2")->ParseValue("3:17"), 0);

    for (const char* absent : {"KNP212", "KNP311", "KNP410", "KNP20", "KNO2", "KNO3", "KNO4"})
        EXPECT_EQ(F.List.FindByCode(absent), -1) << absent;
    std::vector<std::string> codes;
    for (std::size_t i = 0; i < F.List.Count(); ++i)
        if (std::string_view(F.List.Items(i).StatClass->ClassName).starts_with("TstCombVal"))
            codes.push_back(F.List.Items(i).MethodCode());
    ASSERT_EQ(codes.size(), 36u);
    EXPECT_EQ(std::vector<std::string>(codes.begin(), codes.begin() + 7),
              (std::vector<std::string>{"KNM2", "KNM3", "KNM4", "KNS2", "KNS3", "KNS4", "KNP21"}));
    EXPECT_EQ(codes[16], "KNP211");
    EXPECT_EQ(codes[26], "KNP310");
    EXPECT_EQ(codes[35], "KNP49");
    // Right after the repeat methods.
    EXPECT_EQ(F.List.FindByCode("KNM2"), F.List.FindByCode("PRC-2") + 1);

    const auto knp23 = static_cast<std::size_t>(F.List.FindByCode("KNP23"));
    EXPECT_EQ(F.List.DisplayName(knp23, true),
              "{ num } Сочетания из 2-х чисел тиража начиная с 3 позиции [ S ]");
    EXPECT_EQ(F.List.Items(knp23).StatClass->HelpCodeFor(3), "KNP2");
    EXPECT_EQ(F.List.DisplayName(static_cast<std::size_t>(F.List.FindByCode("KNM3")), true),
              "{ num } Сочетания из 3 чисел по всем числам тиража [ S ]");
    EXPECT_EQ(F.List.DisplayName(static_cast<std::size_t>(F.List.FindByCode("KNS4")), true),
              "{ num } Сочетания из 4 соседних чисел тиража [ S ]");
    EXPECT_EQ(TstCombValSort3::ClassInfo.CaptionFor(0), "Сочетания из 3 чисел тиража по возрастанию");
    EXPECT_FALSE(TstCombValSort3::ClassInfo.Available);

    // A position method made by hand with a start past the draw gives nothing.
    F.Draws.push_back(DrawOf(1, Mixed));
    TstCombValPos4 past(F.List, 10);
    EXPECT_TRUE(EvaluateWindow(past, 0, 0, false).empty());
    EXPECT_FALSE(past.Matches(Low, {Keys(10, 11, 12, 0)}, 0, false, false));
}

TEST_F(CombValuesFamilyTest, MatchesTheSelectedValues) {
    struct TCase {
        const char* Code;
        std::vector<TStatEntry> Selected;
        TCombination Comb;
        bool Match;
    };
    const TCase cases[] = {
        {"KNM2", {Keys(3, 12)}, Low, true},
        {"KNM2", {Keys(12, 3)}, Low, false}, // position order
        {"KNM2", {Keys(12, 3)}, Falling, true},
        {"KNM2", {Keys(3, 13)}, Low, false},
        {"KNM2", {Keys(3, 12, 1)}, Low, false},         // a word past the tuple
        {"KNM2", {Keys(40, 1), Keys(2, 7)}, Low, true}, // a number the tables cannot hold
        {"KNM2", {Keys(40, 1)}, Low, false},
        {"KNM3", {Keys(1, 6, 12)}, Low, true},
        {"KNM3", {Keys(1, 12, 6)}, Low, false},
        {"KNM4", {Keys(2, 4, 8, 11)}, Low, true},
        {"KNM4", {Keys(2, 4, 8, 13)}, Low, false},
        {"KNS2", {Keys(3, 4)}, Low, true},
        {"KNS2", {Keys(3, 5)}, Low, false},
        {"KNS4", {Keys(9, 10, 11, 12)}, Low, true}, // the last run
        {"KNS4", {Keys(10, 11, 12, 0)}, Low, false},
        {"KNS3", {Keys(22, 23, 24)}, Mixed, true},
        {"KNP21", {Keys(1, 2)}, Low, true},
        {"KNP22", {Keys(1, 2)}, Low, false},
        {"KNP211", {Keys(11, 12)}, Low, true},
        {"KNP211", {Keys(10, 11)}, Low, false},
        {"KNP33", {Keys(5, 8, 20)}, Mixed, true},
        {"KNP33", {Keys(5, 8, 21)}, Mixed, false},
        {"KNP49", {Keys(24, 1, 2, 4)}, Mixed, true},
        {"KNP48", {Keys(24, 1, 2, 4)}, Mixed, false},
        {"KNP41", {Keys(7, 7, 7, 7), Keys(1, 2, 3, 4)}, Low, true},
        {"KNM2", {}, Low, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " " + CombToText(c.Comb));
        auto method = F.Create(c.Code);
        const TStatDrawArray selected(c.Selected.begin(), c.Selected.end());
        EXPECT_EQ(method->Matches(c.Comb, selected, F.LastIdx(), false, false), c.Match);
        const TSelectionScope scope(selected);
        EXPECT_EQ(method->Matches(c.Comb, selected, F.LastIdx(), false, true), c.Match) << "with the lookups";
    }
}

// Draws 1, 2, 5 and 6 (3 and 4 are missing), in drawn order:
//   1 and 5: 3 17 5 8 20 21 22 23 24 1 2 4
//   2:       17 3 5 8 9 10 11 12 13 14 15 16
//   6:       3 17 9 10 11 12 13 14 15 16 18 19
class CombValuesTableTest : public CombValuesFamilyTest {
protected:
    void SetUp() override {
        F.Draws = {DrawOf(1, Mixed), DrawOf(2, {17, 3, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
                   DrawOf(5, Mixed), DrawOf(6, {3, 17, 9, 10, 11, 12, 13, 14, 15, 16, 18, 19})};
    }
    TStatTable Table(const char* code, int offset, int len) {
        return ComputeStatTable(F.Create(code), F.Draws, StatWindow(F.Draws.size(), offset, len), false,
                                nullptr, F.Config, true);
    }
    struct TRow {
        const char* Value;
        const char* Count;
        const char* Draw;
        const char* Depth;
        const char* PeriodMin;
        const char* PeriodMax;
        const char* Fact;
    };
    static void ExpectRow(const TStatTable& t, const TRow& r) {
        SCOPED_TRACE(r.Value);
        for (const TShownRow& row : ShownRows(t)) {
            if (row.Texts[StatColValue] != r.Value)
                continue;
            EXPECT_EQ(row.Texts[StatColCount], r.Count);
            EXPECT_EQ(row.Texts[StatColDraw], r.Draw);
            EXPECT_EQ(row.Texts[StatColDepth], r.Depth);
            EXPECT_EQ(row.Texts[StatColPeriodMin], r.PeriodMin);
            EXPECT_EQ(row.Texts[StatColPeriodMax], r.PeriodMax);
            EXPECT_EQ(row.Texts[StatColFact], r.Fact);
            EXPECT_EQ(row.Texts[StatColNorm], "-");
            return;
        }
        ADD_FAILURE() << "no row";
    }
};

TEST_F(CombValuesTableTest, WholeArchive) {
    const TStatTable knp21 = Table("KNP21", 0, 10);
    ASSERT_EQ(knp21.RowCount(), 2u);
    EXPECT_EQ(knp21.Text(knp21.Rows[0], StatColValue), "3:17"); // first met
    ExpectRow(knp21, {"3:17", "3", "6", "1", "1", "4", "-"});
    ExpectRow(knp21, {"17:3", "1", "2", "3", "-", "-", "-"});

    // 3 5 8 in draws 1, 2 and 5; 3 17 5 in 1 and 5; 17 3 5 in 2 only.
    const TStatTable knm3 = Table("KNM3", 0, 10);
    ExpectRow(knm3, {"3:5:8", "3", "5", "2", "1", "3", "-"});
    ExpectRow(knm3, {"3:17:5", "2", "5", "2", "4", "4", "-"});
    ExpectRow(knm3, {"17:3:5", "1", "2", "3", "-", "-", "-"});
    ExpectRow(knm3, {"3:17:9", "1", "6", "1", "-", "-", "-"});
    int64_t total = 0;
    for (const TStatRow& row : knm3.Rows)
        total += row.Entry.Count;
    EXPECT_EQ(total, 4 * 220);
}

// One draw back: draws 1, 2 and 5 in the window; "Факт" looks at draw 6.
TEST_F(CombValuesTableTest, OneDrawBack) {
    const TStatTable knp21 = Table("KNP21", 1, 10);
    ASSERT_EQ(knp21.RowCount(), 2u);
    ExpectRow(knp21, {"3:17", "2", "5", "1", "4", "4", "6"});
    ExpectRow(knp21, {"17:3", "1", "2", "2", "-", "-", "-"});
    const TStatTable kns2 = Table("KNS2", 1, 2); // draws 2 and 5
    ExpectRow(kns2, {"3:17", "1", "5", "1", "-", "-", "6"});
    ExpectRow(kns2, {"5:8", "2", "5", "1", "3", "3", "-"});
    ExpectRow(kns2, {"17:3", "1", "2", "2", "-", "-", "-"});
    EXPECT_EQ(kns2.Window.N, 2);
}

} // namespace
} // namespace kumby::testing
