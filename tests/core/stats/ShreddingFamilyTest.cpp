// The shredding family: SHR1..SHR3 in the registry, and which numbers their
// formulas see in a window, in a full-set pass, in a filter and in a chart.

#include "StatTestSupport.h"
#include "stats/families/VF_Shrd.h"

namespace kumby::testing {
namespace {

const TCombination Low = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

uint32_t LowHalfOf(const TStatEntry& e) {
    return static_cast<uint32_t>(e.Key1) | static_cast<uint32_t>(e.Key2) << 16;
}

class ShreddingFamilyTest : public ::testing::Test {
protected:
    // Draws 1..3: n1 of each is 2, 3 and 5 once sorted; stored unsorted.
    void ThreeDraws() {
        F.Draws.push_back(DrawOf(1, {24, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22}));
        F.Draws.push_back(DrawOf(2, {23, 3, 6, 9, 12, 15, 18, 21, 4, 5, 7, 8}));
        F.Draws.push_back(DrawOf(3, {19, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    }
    std::unique_ptr<TCustomStat> Shr(int k, const std::string& formula, uint8_t digits = 2) {
        F.Shredding.Formulas[static_cast<std::size_t>(k - 1)] = formula;
        F.Shredding.Digits[static_cast<std::size_t>(k - 1)] = digits;
        return F.Create("SHR" + std::to_string(k));
    }
    // Key1 of every occurred value of a window, oldest draw first.
    static std::vector<uint32_t> Values(const TStatDrawArray& stat) {
        std::vector<uint32_t> out;
        for (const TStatEntry& e : stat)
            for (int32_t c = 0; c < e.Count; ++c)
                out.push_back(LowHalfOf(e));
        return out;
    }

    TStatFixture F;
};

TEST_F(ShreddingFamilyTest, RegisteredLastWithTheirFormulasInTheName) {
    const std::size_t n = F.List.Count();
    ASSERT_GE(n, 3u);
    for (int k = 1; k <= 3; ++k) {
        const std::size_t i = n - 3 + static_cast<std::size_t>(k - 1);
        const TStatMethod& m = F.List.Items(i);
        EXPECT_EQ(m.MethodCode(), "SHR" + std::to_string(k));
        EXPECT_EQ(m.FormulaText, F.Shredding.Formulas[static_cast<std::size_t>(k - 1)]);
        EXPECT_EQ(m.StatClass->HelpCodeFor(k), "SHRx");
    }
    EXPECT_EQ(F.List.DisplayName(n - 3, true),
              "{ shr } Метод шинковки 1: (n1+n2+n3+n4+n5+n6)/(n7+n8+n9+n10+n11+n12) [ SNG ]");
    EXPECT_EQ(TStatList::GroupText(12), "{ shr } Методы шинковки");
}

TEST_F(ShreddingFamilyTest, DefaultFormulasOnTheLowestSet) {
    F.Draws.push_back(DrawOf(1, Low));
    const int digits[] = {2, 3};
    const uint32_t expected[2][3] = {{36, 71, 85}, {368, 714, 857}};
    for (int d = 0; d < 2; ++d) {
        for (int k = 1; k <= 3; ++k) {
            const TShreddingSettings defaults;
            auto stat =
                Shr(k, defaults.Formulas[static_cast<std::size_t>(k - 1)], static_cast<uint8_t>(digits[d]));
            EXPECT_EQ(Values(EvaluateWindow(*stat, 0, 0, false)), std::vector<uint32_t>{expected[d][k - 1]});
            EXPECT_EQ(Values(CombinationValues(*stat, Low)), std::vector<uint32_t>{expected[d][k - 1]});
        }
    }
}

// p and t are the two draws before, zeros before the archive starts, sorted with
// the window's option.
TEST_F(ShreddingFamilyTest, DrawsSeeTheTwoDrawsBefore) {
    ThreeDraws();
    auto stat = Shr(1, "n1/(10*p1+100*t1+999)", 4);
    // Sorted n1: 2, 3, 5; the oldest sees p = t = 0, the second t = 0.
    //   2/999 = .00200.., 3/1019 = .00294.., 5/1229 = .00406..
    EXPECT_EQ(Values(EvaluateWindow(*stat, 0, 2, true)), (std::vector<uint32_t>{20, 29, 40}));
    // Unsorted n1: 24, 23, 19.  24/999 = .02402.., 23/1239 = .01856.., 19/3629 = .00523..
    EXPECT_EQ(Values(EvaluateWindow(*stat, 0, 2, false)), (std::vector<uint32_t>{240, 185, 52}));

    TDrawRecord d;
    stat->GetDraw(2, true, d);
    EXPECT_EQ(stat->ChartValue(d.Numbers, 2, 2, true), 40);
    EXPECT_EQ(stat->ChartValueOfDraw(1, 2, false), 185);
}

TEST_F(ShreddingFamilyTest, CombinationsAloneSeeZerosAndFiltersSeeTheNewestDraws) {
    ThreeDraws();
    auto stat = Shr(2, "n1/(p1+t1+7)");
    // Alone: 1/7 = .1428..
    EXPECT_EQ(Values(CombinationValues(*stat, Low)), std::vector<uint32_t>{14});
    EXPECT_EQ(Values(CombinationValues(*Shr(3, "n1/p1"), Low)), std::vector<uint32_t>{0});

    // After draw 3 (sorted n1 5) and draw 2 (sorted n1 3): 1/15 = .0666..
    stat->LoadDraws(-1, 2, true);
    TStatDrawArray selected = {KeyEntry(6)};
    EXPECT_TRUE(stat->Matches(Low, selected, 2, true, false));
    selected = {KeyEntry(14)};
    EXPECT_FALSE(stat->Matches(Low, selected, 2, true, false));
    // The window shifted back one draw: p is draw 2, t draw 1 (n1 2): 1/12 = .0833..
    stat->LoadDraws(-1, 1, true);
    selected = {KeyEntry(8)};
    EXPECT_TRUE(stat->Matches(Low, selected, 1, true, false));
    // Unsorted draws 3 and 2 give p1 19, t1 23: 1/49 = .0204..
    selected = {KeyEntry(2)};
    EXPECT_TRUE(stat->Matches(Low, selected, 2, false, false));
}

TEST_F(ShreddingFamilyTest, FiveDigitsGoPastOneKeyWord) {
    auto stat = Shr(1, "n12/n11*(n1+1)", 5); // 12/11*2 = 2.18181..
    const TStatDrawArray values = CombinationValues(*stat, Low);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(LowHalfOf(values[0]), 18181u);
    auto wide = Shr(1, "n12/n11/2", 5); // .54545..
    const TStatDrawArray high = CombinationValues(*wide, Low);
    EXPECT_EQ(LowHalfOf(high[0]), 54545u);
    EXPECT_EQ(high[0].Key2, 0u);
    EXPECT_EQ(wide->ValueText(high[0]), "54545");
    const TStatEntry big = KeyEntry(99999);
    EXPECT_EQ(wide->ValueText(big), "99999");
    EXPECT_EQ(wide->ParseValue(wide->ValueText(big)), 99999);

    auto whole = Shr(1, "n12/7", 5); // 1.71428..
    EXPECT_EQ(CombinationValues(*whole, Low)[0].Key2, 1u);
    wide->LoadDraws(-1, -1, false);
    whole->LoadDraws(-1, -1, false);
    const TStatDrawArray selected = {KeyEntry(71428)};
    EXPECT_TRUE(whole->Matches(Low, selected, -1, false, false));
    EXPECT_FALSE(wide->Matches(Low, selected, -1, false, false));
}

TEST_F(ShreddingFamilyTest, FormulasWithoutAValueGiveZero) {
    F.Draws.push_back(DrawOf(1, Low));
    for (const char* formula : {"(n1+n2", "n1+", "n1/(n2-n2)", "n 1/7", "", "n1+n2"}) {
        auto stat = Shr(1, formula);
        EXPECT_EQ(Values(EvaluateWindow(*stat, 0, 0, false)), std::vector<uint32_t>{0}) << formula;
    }
    EXPECT_EQ(Values(CombinationValues(*Shr(1, "N1/8"), Low)), std::vector<uint32_t>{12}); // either case
}

} // namespace
} // namespace kumby::testing
