// The characteristic number family: the folding triangle in its three modes, the chart
// methods, and the dynamic method that proposes numbers for the draw after the window.

#include "StatTestSupport.h"
#include "stats/families/VF_HCV.h"

namespace kumby::testing {
namespace {

// The last two values u, v of each triangle are noted; d = |v - u|.
TEST(VarnekNumber, ModesOverHandFoldedTriangles) {
    struct TCase {
        TCombination Numbers;
        int Mode0, Mode1, Mode2;
        bool Pair;
    };
    const TCase cases[] = {
        // Differences 1, then 0 on: u = v = 0.
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 0, 0, 0, false},
        // 1 x10 and 13, then 0 x9 and 12 down to u = 0, v = 12.
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 24}, 12, 12, 12, false},
        // The same numbers in another order: 23 and 1 x10 fold to 22, 0.
        {{24, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 22, 22, 22, false},
        // 1 x9, 2, 12; 0 x8, 1, 10; .. ; 0, 1, 3; u = 1, v = 2: d = 1.
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 24}, 1, 3, 3, true},
        {{1, 3, 5, 6, 9, 10, 11, 12, 14, 19, 21, 24}, 1, 1, 1, true}, // u = 1, v = 0
        {{1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 23, 24}, 0, 14, 14, false}, // u = v = 7
        {{1, 3, 4, 5, 6, 9, 11, 12, 13, 14, 20, 24}, 2, 2, 2, false}, // u = 2, v = 0
        {{12, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 24}, 1, 13, 13, true},   // u = 7, v = 6
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(CombToText(c.Numbers));
        EXPECT_EQ(VarnekNumber(c.Numbers.data(), 0).Value, c.Mode0);
        EXPECT_FALSE(VarnekNumber(c.Numbers.data(), 0).Pair);
        EXPECT_EQ(VarnekNumber(c.Numbers.data(), 1).Value, c.Mode1);
        EXPECT_FALSE(VarnekNumber(c.Numbers.data(), 1).Pair);
        EXPECT_EQ(VarnekNumber(c.Numbers.data(), 2).Value, c.Mode2);
        EXPECT_EQ(VarnekNumber(c.Numbers.data(), 2).Pair, c.Pair);
    }
    // Bytes of damaged draws fold the same way: 255 and 0 alternate to 255s, then 0s.
    const uint8_t damaged[12] = {0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255};
    EXPECT_EQ(VarnekNumber(damaged, 0).Value, 0);
    const uint8_t high[12] = {200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}; // 200 0 .. 0 folds to 200, 0
    EXPECT_EQ(VarnekNumber(high, 0).Value, 200);
    EXPECT_EQ(VarnekNumber(high, 2).Value, 200);
}

class CharacteristicNumberTest : public ::testing::Test {
protected:
    TStatFixture F;
};

// HCV1 and HCV2 give the number of a draw read as it is delivered, as a combination
// gives it, and the chart shows it.
TEST_F(CharacteristicNumberTest, ChartMethodsOfOneDraw) {
    F.Draws.push_back(DrawOf(1, {12, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 24}));
    struct TCase {
        const char* Code;
        bool Sorted;
        uint16_t Value;
    };
    const TCase cases[] = {{"HCV1", false, 1}, {"HCV2", false, 13}, {"HCV1", true, 1}, {"HCV2", true, 3}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + (c.Sorted ? " sorted" : ""));
        auto stat = F.Create(c.Code);
        const TStatDrawArray values = EvaluateWindow(*stat, 0, 0, c.Sorted);
        ASSERT_EQ(values.size(), 1u) << "nothing listed beforehand";
        EXPECT_EQ(values[0].Key1, c.Value);
        EXPECT_EQ(values[0].Count, 1);
        EXPECT_EQ(stat->ValueText(values[0]), std::to_string(c.Value));
        EXPECT_EQ(stat->ChartValueOfDraw(0, 0, c.Sorted), c.Value);
        if (c.Sorted) {
            const TCombination comb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 24};
            EXPECT_EQ(CombinationValues(*stat, comb).at(0).Key1, c.Value);
            EXPECT_TRUE(stat->Matches(comb, {KeyEntry(c.Value)}, -1, false, false));
            EXPECT_FALSE(stat->Matches(comb, {KeyEntry(c.Value + 1), KeyEntry(0)}, -1, false, false));
        }
    }
}

// Draws: 0 folds to 0, 4 (f = 4); 1 to the pair (1, 3) sorted and (1, 13) as drawn;
// 2 = 3 6 9 13 .. 21 is the draw after draw 1 and folds to the pair (1, 3) itself.
class DynamicNumberTest : public CharacteristicNumberTest {
protected:
    void SetUp() override {
        F.Draws.push_back(DrawOf(7, {5, 6, 7, 8, 9, 10, 11, 12, 13, 18, 23, 24}));
        F.Draws.push_back(DrawOf(8, {12, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 24}));
        F.Draws.push_back(DrawOf(9, {3, 6, 9, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
    }
    struct TValue {
        std::string Text;
        int32_t Count;
        bool operator==(const TValue&) const = default;
    };
    std::vector<TValue> Window(int firstIdx, int lastIdx, bool sorted) {
        auto hcv3 = F.Create("HCV3");
        std::vector<TValue> out;
        for (const TStatEntry& e : EvaluateWindow(*hcv3, firstIdx, lastIdx, sorted)) {
            out.push_back({hcv3->ValueText(e), e.Count});
            // A proposal that did not come is listed as a value that never occurred.
            EXPECT_EQ(e.Depth, e.Count == 0 ? 0 : 1);
            EXPECT_EQ(e.Draw, e.Count == 0 ? 0 : F.Draws[lastIdx].Number);
            EXPECT_EQ(e.PeriodMin | e.PeriodMax, 0);
        }
        return out;
    }
};

TEST_F(DynamicNumberTest, NewestDrawProposesItsNumberAndMultiples) {
    // Sorted draw 1: f = 3 from the pair; draw 2 has 3 21 18 15 9 6.
    EXPECT_EQ(Window(0, 1, true),
              (std::vector<TValue>{
                  {"3 (1)", 1}, {"24", 0}, {"21", 1}, {"18", 1}, {"15", 1}, {"12", 0}, {"9", 1}, {"6", 1}}));
    // As drawn, f = 13: no multiple of it lies in 26..24.
    EXPECT_EQ(Window(1, 1, false), (std::vector<TValue>{{"13 (1)", 1}}));
    // f = 4: 64 down to 28 lie above 24; draw 1 has 4, 24, 12 and 8.
    EXPECT_EQ(Window(0, 0, false),
              (std::vector<TValue>{{"4", 1}, {"24", 1}, {"20", 0}, {"16", 0}, {"12", 1}, {"8", 1}}));
    // At the newest draw nothing follows: every count is 0.
    const std::vector<TValue> forecast = Window(0, 2, false);
    ASSERT_EQ(forecast.size(), 8u);
    EXPECT_EQ(forecast[0].Text, "3 (1)");
    for (const TValue& v : forecast)
        EXPECT_EQ(v.Count, 0) << v.Text;
}

TEST_F(DynamicNumberTest, CombinationMatchesAnyOfItsNumbersByTheFirstKey) {
    auto hcv3 = F.Create("HCV3");
    hcv3->LoadDraws(-1, 1, true);
    TStatEntry pair = KeyEntry(3);
    pair.Key2 = 1;
    pair.Key4 = 2;
    const TCombination withThree = {3, 4, 5, 6, 7, 8, 10, 11, 13, 14, 15, 16};
    const TCombination without = {1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 16, 17};
    for (const bool exclude : {false, true}) {
        EXPECT_TRUE(hcv3->Matches(withThree, {pair}, 1, true, exclude));
        EXPECT_FALSE(hcv3->Matches(without, {pair, KeyEntry(24)}, 1, true, exclude));
        EXPECT_TRUE(hcv3->Matches(without, {pair, KeyEntry(17)}, 1, true, exclude));
    }
    EXPECT_EQ(hcv3->NumericValue("7"), 0);
    EXPECT_TRUE(CombinationValues(*hcv3, withThree).empty());
}

} // namespace
} // namespace kumby::testing
