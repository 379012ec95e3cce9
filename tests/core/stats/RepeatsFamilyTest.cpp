// The repeats family over a small archive worked by hand: values and counts of one
// draw against the newest draw of the window, shifts across 24 and 1, distances 1..4
// reaching before the oldest draw, and combinations taken as the draw after the window.

#include "StatTestSupport.h"
#include "stats/families/VF_Reps.h"

namespace kumby::testing {
namespace {

// Draws by index, numbered 1, 2, 3, 5:
//   0  A = 1 2 3 4 5 6 13 14 15 16 17 18
//   1  B = 24 22 20 18 16 14 12 10 8 6 4 2 (the evens, falling in drawn order)
//   2  C = 1 2 3 4 5 6 7 8 9 10 11 12
//   3  E = 23 24 1 2 7 8 13 14 19 20 21 22
class RepeatsFamilyTest : public ::testing::Test {
protected:
    void SetUp() override {
        F.Draws.push_back(DrawOf(1, {1, 2, 3, 4, 5, 6, 13, 14, 15, 16, 17, 18}));
        F.Draws.push_back(DrawOf(2, {24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2}));
        F.Draws.push_back(DrawOf(3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        F.Draws.push_back(DrawOf(5, {23, 24, 1, 2, 7, 8, 13, 14, 19, 20, 21, 22}));
    }

    // What one draw adds, in order, for a window ending at lastIdx.
    std::vector<uint16_t> DrawValues(std::string_view code, int drawIdx, int lastIdx, bool sorted) {
        auto stat = F.Create(code);
        TStatDrawArray values;
        TRunState runState;
        TLastValueArray lastValues;
        stat->AddDraw(drawIdx, lastIdx, sorted, values, runState, lastValues);
        std::vector<uint16_t> keys;
        for (const TStatEntry& e : values) {
            EXPECT_EQ(e.Key2 | e.Key3 | e.Key4, 0);
            EXPECT_EQ(e.Draw, F.Draws[drawIdx].Number);
            for (int32_t i = 0; i < e.Count; ++i)
                keys.push_back(e.Key1);
        }
        return keys;
    }

    TStatFixture F;
};

using TKeys = std::vector<uint16_t>;

TEST_F(RepeatsFamilyTest, WhatOneDrawAdds) {
    struct TCase {
        const char* Code;
        int DrawIdx, LastIdx;
        bool Sorted;
        TKeys Values;
    };
    const TCase cases[] = {
        // A's numbers that B and C have, in A's order; the count takes all of A and B.
        {"RPV2", 1, 2, false, {2, 4, 6}},
        {"RPC2", 1, 2, false, {6}}, // 2 4 6 14 16 18
        // B's numbers in drawn order, or ascending when the draws are read sorted.
        {"RPV2", 2, 2, false, {12, 10, 8, 6, 4, 2}},
        {"RPV2", 2, 2, true, {2, 4, 6, 8, 10, 12}},
        // E + 1 = 24 1 2 3 8 9 14 15 20 21 22 23; C + 1 = 2..13; E has 2 and 8.
        {"PRV+1", 3, 3, false, {2, 8}},
        // 24 before a 1 that came, with 24 in the newest draw: B + 1 starts 1 23 21 ..
        {"PRV+1", 2, 3, false, {1, 9, 3}},
        // E - 2 = 21 22 23 24 5 6 11 12 17 18 19 20; B - 2 = 22 20 .. 4 2 24.
        {"PRV-2", 2, 3, false, {12, 6}},
        {"PRV-1", 1, 3, false, {24, 12}}, // A - 1 = 24 1 2 3 4 5 12 .. 17
        {"PRV+2", 1, 3, false, {4, 16}},  // A + 2 = 3..8 15..20; E + 2 = 1 2 3 4 9 10 15 16 21..24
        {"PRC+1", 3, 3, false, {4}},      // C + 1 meets E at 2 7 8 13
        {"PRC-1", 1, 3, false, {6}},      // A - 1 meets B at 24 2 4 12 14 16
        {"PRC+2", 2, 3, false, {6}},      // B + 2 = 2 24 .. 6 4 (26 -> 2) meets C at 2 4 .. 12
        {"PRC-2", 3, 3, false, {6}},      // C - 2 = 23 24 1 .. 10 meets E at 23 24 1 2 7 8
        // Distances: A two draws before C, nothing before the oldest draw.
        {"RPO1", 2, 3, false, {6}},
        {"RPO1", 1, 3, false, {0}},
        {"PRV2O1", 2, 3, false, {1, 2}}, // A's numbers in C and in E
        {"PRC2O2", 3, 3, false, {4}},    // A meets E at 1 2 13 14
        {"PRV2O2", 3, 3, false, {1, 2, 13, 14}},
        {"PRC2O3", 3, 3, false, {0}},
        {"PRV2O3", 3, 3, false, {}},
        {"RPC2", 0, 3, false, {0}},
        {"PRC+1", 0, 3, false, {0}},
        {"PRV+1", 0, 3, false, {}},
        // Three draws: C's numbers in B and A (and in E for the values).
        {"RPV3", 2, 3, false, {2}},
        {"RPC3", 2, 3, false, {3}},    // 2 4 6
        {"RPC3", 1, 3, false, {0}},    // nothing two draws before B
        {"RPV3", 3, 3, false, {2, 8}}, // E meets C and B at 2 and 8
        // In the draw before, not in the one before that.
        {"PRL2", 2, 3, false, {8}},
        {"PRB2", 2, 3, false, {3}}, // 8 10 12
        {"PRB2", 1, 3, false, {6}}, // A meets B at 2 4 6 14 16 18; nothing before A
        {"PRL2", 3, 3, false, {1, 7}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " draw " + std::to_string(c.DrawIdx) + " of window to " +
                     std::to_string(c.LastIdx) + (c.Sorted ? " sorted" : ""));
        EXPECT_EQ(DrawValues(c.Code, c.DrawIdx, c.LastIdx, c.Sorted), c.Values);
    }
}

TEST_F(RepeatsFamilyTest, ValuesListedBeforehand) {
    struct TCase {
        const char* Code;
        int LastIdx;
        TKeys Seeded;
    };
    const TCase cases[] = {
        {"RPV2", 3, {23, 24, 1, 2, 7, 8, 13, 14, 19, 20, 21, 22}},
        {"RPV3", 1, {24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2}}, // stored order, also when sorted
        {"PRV-2", 2, {23, 24, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"PRV+1", 3, {24, 1, 2, 3, 8, 9, 14, 15, 20, 21, 22, 23}},
        {"PRL2", -1, {}},
        {"RPC2", 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"PRB2", -1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Code);
        auto stat = F.Create(c.Code);
        TStatDrawArray seeded;
        stat->SeedValues(c.LastIdx, seeded);
        TKeys keys;
        for (const TStatEntry& e : seeded) {
            EXPECT_EQ(e.Count, 0);
            keys.push_back(e.Key1);
        }
        EXPECT_EQ(keys, c.Seeded);
    }
}

// Window of all four draws ending at E: counts, last draws and gaps in draw numbers.
TEST_F(RepeatsFamilyTest, WindowCountsAndGaps) {
    auto rpv2 = F.Create("RPV2");
    const TStatDrawArray values = EvaluateWindow(*rpv2, 0, 3, false);
    ASSERT_EQ(values.size(), 12u) << "only E's numbers";
    // Draw 2 adds 2 14, draw 3 adds 8 2, draw 5 adds 1 2 7 8.
    const TStatEntry two = ValueOf(values, 2);
    EXPECT_EQ(two.Count, 3);
    EXPECT_EQ(two.Depth, 1);
    EXPECT_EQ(two.PeriodMin, 1);
    EXPECT_EQ(two.PeriodMax, 2);
    EXPECT_EQ(ValueOf(values, 14).Depth, 3);
    EXPECT_EQ(ValueOf(values, 8).Count, 2);
    EXPECT_EQ(ValueOf(values, 8).PeriodMin, 2);
    EXPECT_EQ(ValueOf(values, 24).Count, 0);
    EXPECT_EQ(rpv2->ValueText(two), "2");

    auto rpc2 = F.Create("RPC2");
    const TStatDrawArray counts = EvaluateWindow(*rpc2, 0, 3, false);
    ASSERT_EQ(counts.size(), 13u) << "1..12 and the 0 of the oldest draw";
    EXPECT_EQ(ValueOf(counts, 0).Depth, 4);
    EXPECT_EQ(ValueOf(counts, 6).Count, 2);
    EXPECT_EQ(ValueOf(counts, 6).Draw, 3);
    EXPECT_EQ(ValueOf(counts, 6).PeriodMax, 1);
    EXPECT_EQ(ValueOf(counts, 4).Depth, 1);

    // The search of later draws keeps the window's newest draw: with B newest, C
    // brings 2 again (from B), 14 never comes again.
    const TStatDrawArray toB = EvaluateWindow(*rpv2, 0, 1, false);
    EXPECT_EQ(rpv2->FindNextOccurrence(ValueOf(toB, 2), 2, 1, false), 3);
    EXPECT_EQ(rpv2->FindNextOccurrence(ValueOf(toB, 14), 2, 1, false), -1);
}

// A combination is the draw after the window's newest: counts of its numbers in the
// draws before it, a value method matching at any selected number.
TEST_F(RepeatsFamilyTest, CombinationsCountAgainstTheWindowEnd) {
    const TCombination low = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const TCombination high = {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    struct TCase {
        const char* Code;
        int LastIdx;
        uint16_t Low, High; // the count of each combination
    };
    const TCase cases[] = {
        {"RPC2", 3, 4, 8},   // against E
        {"RPC2", 2, 12, 0},  // against C
        {"RPO1", 3, 12, 0},  // against C, the draw two before the combination
        {"PRC2O3", 3, 6, 6}, // against A
        {"PRC2O3", 2, 0, 0}, // nothing four draws back
        {"PRC+1", 3, 5, 7},  // E + 1 = 24 1 2 3 8 9 14 15 20 21 22 23
        {"PRC-2", 3, 4, 8},  // E - 2 = 21 22 23 24 5 6 11 12 17 18 19 20
        {"RPC3", 2, 6, 0},   // in C and in B: 2 4 .. 12
        {"RPC3", 3, 4, 0},   // in E and in C: 1 2 7 8
        {"PRB2", 3, 0, 8},   // in E, not in C
        {"PRB2", 0, 6, 6},   // in A; nothing before it
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " after " + std::to_string(c.LastIdx));
        auto stat = F.Create(c.Code);
        stat->LoadDraws(-1, c.LastIdx, false);
        for (const bool exclude : {false, true}) {
            EXPECT_TRUE(stat->Matches(low, {KeyEntry(c.Low)}, c.LastIdx, false, exclude));
            EXPECT_TRUE(stat->Matches(high, {KeyEntry(c.High)}, c.LastIdx, false, exclude));
            EXPECT_FALSE(stat->Matches(low, {KeyEntry(c.Low + 1), KeyEntry(13)}, c.LastIdx, false, exclude));
        }
    }
    auto prvp1 = F.Create("PRV+1");
    prvp1->LoadDraws(-1, 3, false);
    EXPECT_TRUE(prvp1->Matches(high, {KeyEntry(1), KeyEntry(24)}, 3, false, false));
    EXPECT_FALSE(prvp1->Matches(high, {KeyEntry(1), KeyEntry(2)}, 3, false, false));
}

TEST_F(RepeatsFamilyTest, CodesAndCaptions) {
    struct TCase {
        const char* Code;
        const char* Caption;
    };
    const TCase cases[] = {
        {"PRV2O1", "Повторяющиеся числа в 2-х тиражах через 1 тираж(а)"},
        {"PRV-1", "Данные предыдущего тиража - 1"},
        {"RPO1", "Количество повторов в 2-х тиражах через 1 тираж(а)"},
        {"PRC2O3", "Количество повторов в 2-х тиражах через 3 тираж(а)"},
        {"PRC+2", "Количество совпадений \"значений + 2\""},
        {"PRB2", "Количество повторов не более чем в 2-х тиражах"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(F.Create(c.Code)->InstanceCaption(), c.Caption);
    EXPECT_EQ(F.List.FindByCode("PRC2O1"), -1);
    auto prcm2 = F.Create("PRC-2");
    const auto& two = dynamic_cast<const TCustomRepCount2Stat&>(*prcm2);
    EXPECT_EQ(two.Shift(), -2);
    EXPECT_EQ(two.Distance(), 1);
    EXPECT_EQ(dynamic_cast<const TCustomRepValues2Stat&>(*F.Create("PRV2O3")).Distance(), 4);
}

} // namespace
} // namespace kumby::testing
