// The periods family: draw-number distances between appearances of a number, a
// channel or a segment, and the filter that steps back that many archive places.

#include "StatTestSupport.h"
#include "stats/families/VF_Per.h"

namespace kumby::testing {
namespace {

const TCombination WithFive = {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
const TCombination Upper = {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};

class PeriodsFamilyTest : public TFamilyTest {
protected:
    void AddDraw(int32_t number, const TCombination& numbers) { F.Draws.push_back(DrawOf(number, numbers)); }
};

TEST_F(PeriodsFamilyTest, PeriodsAreDrawNumberDistances) {
    AddDraw(100, WithFive);
    AddDraw(103, WithFive);
    AddDraw(104, WithFive);
    const TStatDrawArray stat = Window("PRDV");
    EXPECT_EQ(LengthsOf(stat, 5), (std::map<int, int>{{3, 1}, {1, 1}}));
    const TStatEntry* three = FindKey(stat, 5, 3);
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(three->Draw, 103);
    EXPECT_EQ(three->Depth, 2);
    EXPECT_EQ(Texts("PRDV", {*three}), std::vector<std::string>{"5 x 3"});
    // The first appearance inside the window only records: from 103 on, one period.
    EXPECT_EQ(LengthsOf(Window("PRDV", 1), 5), (std::map<int, int>{{1, 1}}));
    // A window of one draw measures nothing.
    EXPECT_TRUE(Window("PRDV", 2).empty());
}

TEST_F(PeriodsFamilyTest, ElementsTwiceInADrawGiveNoPeriodOfZero) {
    AddDraw(1, WithFive); // channels of four: 1, 2 and 3, four numbers each
    AddDraw(2, WithFive);
    EXPECT_EQ(CountsByKey(Window("PRDC"), true),
              (std::map<uint64_t, int64_t>{{Key(1, 1), 1}, {Key(2, 1), 1}, {Key(3, 1), 1}}));
    EXPECT_EQ(Texts("PRDC", {Keys(3, 1)}), std::vector<std::string>{"03 x 1"});
    // One segment for every number: a period per draw.
    EXPECT_EQ(CountsByKey(Window("PRDG"), true), (std::map<uint64_t, int64_t>{{Key(1, 1), 1}}));
    // A width of 0 puts every number into no channel; nothing divides by it.
    F.Config.ChannelSize = 0;
    EXPECT_EQ(CountsByKey(Window("PRDC"), true), (std::map<uint64_t, int64_t>{{Key(0, 1), 1}}));
}

// Draws 10, 11, 15 (numbers 12..14 missing): the filter steps back archive places.
TEST_F(PeriodsFamilyTest, TheFilterDependsOnTheDirection) {
    AddDraw(10, WithFive);
    AddDraw(11, Upper);
    AddDraw(15, WithFive);
    const int q = F.LastIdx();
    const TCombination withFive = {5, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};
    const TCombination withoutFive = {1, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};
    struct TCase {
        uint16_t Period;
        const TCombination* Comb;
        bool Kept;    // keeping direction
        bool Removed; // removing direction
    };
    const TCase cases[] = {
        // Two back from the next draw is draw 11, without 5.
        {2, &withFive, false, true},
        // One back is the newest draw, and three back draw 10: both with 5.
        {1, &withFive, true, false},
        {3, &withFive, true, false},
        // Four back is before the archive: no numbers.
        {4, &withFive, false, true},
        // A period of 0 reads no draw.
        {0, &withFive, false, true},
        // A combination without 5 has nothing to test.
        {2, &withoutFive, false, false},
        {1, &withoutFive, false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("5 x " + std::to_string(c.Period) + " on " + CombToText(*c.Comb));
        auto prdv = F.Create("PRDV");
        prdv->LoadDraws(-1, q, false);
        const TStatDrawArray selected{Keys(5, c.Period)};
        EXPECT_EQ(prdv->Matches(*c.Comb, selected, q, false, false), c.Kept);
        EXPECT_EQ(prdv->Matches(*c.Comb, selected, q, false, true) == true, c.Removed);
        // The filter pass answers as the single tests do, also in one instance.
        TCombination out[1];
        EXPECT_EQ(prdv->KeepMatching({c.Comb, 1}, out, selected, q, false, false), c.Kept ? 1u : 0u);
        EXPECT_EQ(prdv->KeepMatching({c.Comb, 1}, out, selected, q, false, true), c.Removed ? 0u : 1u);
    }
    // Periods of several elements: a keeping pass wants one that appeared, a removing
    // pass drops a combination with any selected element that did not.
    auto prdv = F.Create("PRDV");
    const TStatDrawArray two{Keys(5, 2), Keys(13, 2)};
    const TCombination both = {5, 13, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11};
    EXPECT_TRUE(prdv->Matches(both, two, q, false, false));
    EXPECT_TRUE(prdv->Matches(both, two, q, false, true));
    // One place back along the window shown at an offset: its newest draw is 11.
    EXPECT_TRUE(prdv->Matches(withoutFive, {Keys(13, 1)}, q - 1, false, false));
    EXPECT_FALSE(prdv->Matches(withFive, {Keys(5, 1)}, q - 1, false, false));
}

// Draws in drawn order, numbers 104..106 missing: the lower half at 101, 102, 107,
// 108, the upper half at 103 and 109.
TEST_F(PeriodsFamilyTest, TableAtOffsetZeroAndOne) {
    for (const int32_t number : {101, 102, 103, 107, 108, 109})
        AddDraw(number, number == 103 || number == 109 ? Upper : WithFive);

    // Rows as first met: the lower half drawn from 12 down.
    std::vector<TExpectedRow> atZero, atOne;
    for (int n = 12; n >= 1; --n)
        atZero.push_back({std::to_string(n) + " x 1", 2, 108, 2, 6, 6});
    for (int n = 12; n >= 1; --n)
        atZero.push_back({std::to_string(n) + " x 5", 1, 107, 3, 0, 0});
    atOne = atZero;
    for (TExpectedRow& r : atOne)
        --r.Depth;
    for (int n = 13; n <= 24; ++n)
        atZero.push_back({std::to_string(n) + " x 6", 1, 109, 1, 0, 0});
    ExpectRows(TableOf("PRDV", 0, 6), atZero);
    ExpectRows(TableOf("PRDV", 1, 6), atOne);
}

} // namespace
} // namespace kumby::testing
