// The series family: runs of draws with (groups) and without (pauses) an element of
// the newest draw, for numbers, channels and segments, counted inside the window.

#include "StatTestSupport.h"
#include "stats/families/VF_Ser.h"

namespace kumby::testing {
namespace {

// Seven and the numbers up to twelve in one draw, the upper half in the other.
const TCombination WithSeven = {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
const TCombination Upper = {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};

class SeriesFamilyTest : public TFamilyTest {
protected:
    // Draws numbered 1, 2, ... with seven in those marked true.
    void AddDraws(std::initializer_list<bool> seven) {
        for (const bool has : seven)
            F.Draws.push_back(DrawOf(static_cast<int32_t>(F.Draws.size()) + 1, has ? WithSeven : Upper));
    }
};

TEST_F(SeriesFamilyTest, RunsOfANumberOfTheNewestDraw) {
    AddDraws({true, true, false, true, true});
    const TStatDrawArray groups = Window("GRPV", 0);
    EXPECT_EQ(LengthsOf(groups, 7), (std::map<int, int>{{2, 2}}));
    const TStatEntry* two = FindKey(groups, 7, 2);
    ASSERT_NE(two, nullptr);
    // The run closing at the newest draw is the most recent; gaps between the runs'
    // last draws, 2 and 5.
    EXPECT_EQ(two->Draw, 5);
    EXPECT_EQ(two->Depth, 1);
    EXPECT_EQ(two->PeriodMin, 3);
    EXPECT_EQ(two->PeriodMax, 3);

    const TStatDrawArray pauses = Window("GRPP", 0);
    EXPECT_EQ(LengthsOf(pauses, 7), (std::map<int, int>{{1, 1}}));
    const TStatEntry* one = FindKey(pauses, 7, 1);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->Draw, 3); // the pause's own draw
    EXPECT_EQ(one->Depth, 3);
    // Numbers of the upper half are not in the newest draw: nothing of theirs.
    EXPECT_TRUE(LengthsOf(groups, 13).empty());
    EXPECT_TRUE(LengthsOf(pauses, 13).empty());
    EXPECT_EQ(Texts("GRPV", {*two}), std::vector<std::string>{"7 x 2"});
}

TEST_F(SeriesFamilyTest, WhatTheNewestDrawDecides) {
    struct TCase {
        std::initializer_list<bool> Seven;
        int FirstIdx;
        std::map<int, int> Groups, Pauses; // of seven
    };
    const TCase cases[] = {
        // Absent from the newest draw: nothing, whatever came before.
        {{true, true, true, false}, 0, {}, {}},
        {{false, true, false, false}, 0, {}, {}},
        // Present in every draw: one run of the window's length, no pause.
        {{true, true, true, true, true}, 0, {{5, 1}}, {}},
        // Runs start with the window: the two draws before it are not counted.
        {{true, true, true, true, true}, 2, {{3, 1}}, {}},
        {{false, false, false, false, true}, 2, {{1, 1}}, {{2, 1}}},
        // A pause is told when the number comes back.
        {{true, false, false, true, false, true}, 0, {{1, 3}}, {{2, 1}, {1, 1}}},
    };
    for (const TCase& c : cases) {
        F.Draws.clear();
        AddDraws(c.Seven);
        SCOPED_TRACE(::testing::PrintToString(std::vector<bool>(c.Seven)) + " from " +
                     std::to_string(c.FirstIdx));
        EXPECT_EQ(LengthsOf(Window("GRPV", c.FirstIdx), 7), c.Groups);
        EXPECT_EQ(LengthsOf(Window("GRPP", c.FirstIdx), 7), c.Pauses);
    }
}

// With channels of four, 6 lies in channel 2; segment tables give their digits.
TEST_F(SeriesFamilyTest, ChannelAndSegmentRunsAndTheirRows) {
    F.Draws.push_back(DrawOf(1, {5, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23})); // channel 2 by 5
    F.Draws.push_back(DrawOf(2, {8, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23})); // by 8
    F.Draws.push_back(DrawOf(3, {6, 7, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}));  // by 6 and 7
    const TStatDrawArray channels = Window("GRCV", 0);
    EXPECT_EQ(LengthsOf(channels, 2), (std::map<int, int>{{3, 1}}));
    EXPECT_TRUE(LengthsOf(channels, 1).empty());
    EXPECT_EQ(Texts("GRCV", {*FindKey(channels, 2, 3)}), std::vector<std::string>{"02 x 3"});

    auto grcv = F.Create("GRCV");
    grcv->LoadDraws(-1, F.LastIdx(), false);
    const TStatDrawArray row{Keys(2, 3)};
    // By channel, not by number: 2 is in channel 1.
    EXPECT_TRUE(
        grcv->Matches({6, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}, row, F.LastIdx(), false, false));
    EXPECT_FALSE(
        grcv->Matches({2, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}, row, F.LastIdx(), false, false));
    // The run length plays no part, nor the direction.
    EXPECT_TRUE(grcv->Matches({8, 1, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}, {Keys(2, 9)}, F.LastIdx(),
                              false, true));

    // Width 5: 6 and 8 in channel 2, 5 in channel 1; width 0 lists no channel.
    F.Config.ChannelSize = 5;
    EXPECT_EQ(LengthsOf(Window("GRCV", 0), 2), (std::map<int, int>{{2, 1}}));
    EXPECT_EQ(LengthsOf(Window("GRCP", 0), 2), (std::map<int, int>{{1, 1}}));
    F.Config.ChannelSize = 0;
    EXPECT_TRUE(Window("GRCV", 0).empty());
    EXPECT_TRUE(Window("GRCP", 0).empty());
    auto none = F.Create("GRCV");
    none->LoadDraws(-1, F.LastIdx(), false);
    EXPECT_FALSE(none->Matches(Upper, {Keys(2, 3)}, F.LastIdx(), false, false));

    // Segments: the numbers up to 8 in digit 3, the rest in 1.
    F.Config.MatrixSegments = MatrixSegmentsFromText("333333331111111111111111");
    const TStatDrawArray segments = Window("GRSV", 0);
    EXPECT_EQ(LengthsOf(segments, 3), (std::map<int, int>{{3, 1}}));
    EXPECT_EQ(LengthsOf(segments, 1), (std::map<int, int>{{3, 1}}));
    EXPECT_EQ(Texts("GRSV", {*FindKey(segments, 3, 3)}), std::vector<std::string>{"3 x 3"});
    EXPECT_TRUE(Window("GRSP", 0).empty());
}

TEST_F(SeriesFamilyTest, RowTextsAreNoPlainNumbers) {
    auto grpv = F.Create("GRPV");
    EXPECT_EQ(grpv->ValueText(Keys(7, 3)), "7 x 3");
    EXPECT_EQ(grpv->ParseValue("7 x 3"), 0);
    EXPECT_EQ(grpv->NumericValue("7"), 0);
    EXPECT_EQ(F.Create("GRCP")->ValueText(Keys(2, 11)), "02 x 11");
}

// The "Факт" search of a series method goes its own way to the answer the search of
// every method gives: the last draw of the first run told again from the start on.
TEST_F(SeriesFamilyTest, SearchAgreesWithTheSearchOfEveryMethod) {
    std::mt19937 rng(5);
    for (int32_t number = 1; number <= 40; ++number)
        F.Draws.push_back(DrawOf(number + (number > 20 ? 3 : 0), RandomDrawNumbers(rng)));
    int found = 0; // searches that found a draw
    for (const char* code : {"GRPV", "GRPP", "GRCV", "GRCP", "GRSP"}) {
        SCOPED_TRACE(code);
        auto stat = F.Create(code);
        const int lastIdx = 25;
        const TStatDrawArray values = EvaluateWindow(*stat, 10, lastIdx, false);
        ASSERT_FALSE(std::string_view(code) != "GRSP" && values.empty());
        for (const TStatEntry& e : values)
            for (int start : {lastIdx - e.Depth + 1, lastIdx + 1, lastIdx + 5}) {
                const int32_t own = stat->FindNextOccurrence(e, start, lastIdx, true);
                EXPECT_EQ(own, stat->TCustomStat::FindNextOccurrence(e, start, lastIdx, true));
                found += own >= 0 ? 1 : 0;
            }
    }
    EXPECT_GT(found, 10);
}

// Draws in drawn order with numbers 104..106 missing: the lower half twice, the
// upper half, the lower half twice, the upper half.
TEST_F(SeriesFamilyTest, TableAtOffsetZeroAndOne) {
    const std::pair<int32_t, bool> draws[] = {{101, true}, {102, true}, {103, false},
                                              {107, true}, {108, true}, {109, false}};
    for (const auto& [number, lower] : draws)
        F.Draws.push_back(DrawOf(number, lower ? WithSeven : Upper));

    // Offset 0: the upper half is newest; its runs are of one draw, 103 and 109.
    std::vector<TExpectedRow> rows;
    for (int n = 13; n <= 24; ++n)
        rows.push_back({std::to_string(n) + " x 1", 2, 109, 1, 6, 6});
    ExpectRows(TableOf("GRPV", 0, 6), rows);

    // Offset 1: the lower half is newest, with runs of two ending at 102 and 108,
    // elements in ascending order; the pauses of one draw, 103, end at 107.
    rows.clear();
    for (int n = 1; n <= 12; ++n)
        rows.push_back({std::to_string(n) + " x 2", 2, 108, 1, 6, 6});
    ExpectRows(TableOf("GRPV", 1, 6), rows);
    rows.clear();
    for (int n = 1; n <= 12; ++n)
        rows.push_back({std::to_string(n) + " x 1", 1, 103, 3, 0, 0});
    ExpectRows(TableOf("GRPP", 1, 6), rows);
}

} // namespace
} // namespace kumby::testing
