// The chains family: what followed, in the next draw, a number, channel, segment or
// count that agrees between the draw before and the newest draw of the window.

#include "StatTestSupport.h"
#include "stats/families/VF_Chain.h"

namespace kumby::testing {
namespace {

using TTexts = std::vector<std::pair<std::string, int32_t>>; // text and count, in list order

class ChainsFamilyTest : public TFamilyTest {
protected:
    void SetWidth(int32_t width) {
        F.Config.ChannelSize = width;
        F.List.Rebuild();
    }
    void SetArchive(const std::vector<TCombination>& draws) {
        F.Draws.clear();
        for (std::size_t i = 0; i < draws.size(); ++i)
            F.Draws.push_back(DrawOf(static_cast<int32_t>(i) + 1, draws[i]));
    }
    // What draw idx alone adds to a window ending at the newest draw.
    TStatDrawArray AddedBy(std::string_view code, int idx, bool sorted) {
        auto stat = F.Create(code);
        TStatDrawArray result;
        TRunState runState;
        TLastValueArray lastValues;
        stat->AddDraw(idx, F.LastIdx(), sorted, result, runState, lastValues);
        return result;
    }
    TStatDrawArray Seeded(std::string_view code) {
        auto stat = F.Create(code);
        TStatDrawArray result;
        stat->SeedValues(F.LastIdx(), result);
        return result;
    }
    TTexts TextsOf(std::string_view code, const TStatDrawArray& stat) {
        auto method = F.Create(code);
        TTexts texts;
        for (const TStatEntry& e : stat)
            texts.emplace_back(method->ValueText(e), e.Count);
        return texts;
    }
    bool HasMethod(std::string_view code) const { return F.List.FindByCode(code) >= 0; }
};

TEST_F(ChainsFamilyTest, ClassRowsCaptionsAndParameters) {
    struct TCase {
        const char* Code;
        const char* Caption;
        uint8_t Flags;
        const char* HelpCode;
    };
    const TCase cases[] = {
        {"SDV2", "Переходы чисел между 2 тиражами без учета позиции", StatFlagD, "SDV2"},
        {"SDP2", "Переходы чисел между 2 тиражами с учетом позиции", StatFlagS | StatFlagD, "SDP2"},
        {"SDN5", "Переходы чисел между 2 тиражами в 5 позиции", StatFlagS | StatFlagD, "SDNx"},
        {"SDM12", "Переходы чисел между 3 тиражами в 12 позиции", StatFlagS | StatFlagD, "SDMx"},
        {"SCV2", "Переходы каналов между 2 тиражами без учета позиции", StatFlagD, "SCV2"},
        {"SCP3", "Переходы каналов между 3 тиражами с учетом позиции", StatFlagS | StatFlagD, "SCP3"},
        {"SC2C3", "Переходы кол-ва чисел в 3 канале между 2 тиражами", StatFlagD, "SC2Cx"},
        {"SC3C6", "Переходы кол-ва чисел в 6 канале между 3 тиражами", StatFlagD, "SC3Cx"},
        {"SDZ2", "Переходы чисел в пределах каналов (N-0, не удачные)", StatFlagD, "SDZ2"},
        {"SDC2", "Переходы чисел в пределах каналов (количество)", StatFlagD, "SDC2"},
        {"SSN1", "Переходы сегментов между 2 тиражами в 1 позиции", StatFlagS | StatFlagD, "SSNx"},
        {"SS3C1", "Переходы кол-ва чисел в 1 сегменте между 3 тиражами", StatFlagD, "SS3Cx"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Code);
        const int i = F.List.FindByCode(c.Code);
        ASSERT_GE(i, 0);
        const TStatMethod& m = F.List.Items(static_cast<std::size_t>(i));
        EXPECT_EQ(m.MethodCaption(), c.Caption);
        EXPECT_EQ(m.StatClass->Flags, c.Flags);
        EXPECT_EQ(m.StatClass->HelpCodeFor(m.Param), c.HelpCode);
    }
    // 99 methods in one block after the periods, all of group 10.
    const auto first = static_cast<std::size_t>(F.List.FindByCode("SDV2"));
    EXPECT_EQ(F.List.Items(first - 1).MethodCode(), "PRDG");
    EXPECT_EQ(F.List.Items(first + 99).MethodCode(), "HCV1");
    for (std::size_t i = first; i < first + 99; ++i) {
        const TStatClassInfo& info = *F.List.Items(i).StatClass;
        EXPECT_EQ(info.Group, 10) << info.Code;
        EXPECT_FALSE(info.NumericValues || info.HasChart || info.HasPrefetch()) << info.Code;
    }
    EXPECT_EQ(F.List.GroupText(10), "{ mov } Переходы (изменения) значений между тиражами");

    // Channel counts follow the width; segment counts run from the lowest to the
    // highest digit of the table, unused digits between included.
    EXPECT_TRUE(HasMethod("SC2C6") && !HasMethod("SC2C7") && HasMethod("SC3C6"));
    EXPECT_TRUE(HasMethod("SS2C1") && !HasMethod("SS2C2") && HasMethod("SS3C1"));
    SetWidth(5);
    EXPECT_TRUE(HasMethod("SC2C5") && !HasMethod("SC2C6") && HasMethod("SC3C5"));
    for (const int32_t width : {0, -3}) {
        SetWidth(width);
        EXPECT_FALSE(HasMethod("SC2C1") || HasMethod("SC3C1") || HasMethod("SC2C0"));
        EXPECT_TRUE(HasMethod("SCV2") && HasMethod("SDA2"));
    }
    F.Config.MatrixSegments = MatrixSegmentsFromText("555533337777333355557777");
    F.List.Rebuild();
    for (const char* code : {"SS2C3", "SS2C4", "SS2C6", "SS2C7", "SS3C3", "SS3C7"})
        EXPECT_TRUE(HasMethod(code)) << code;
    EXPECT_FALSE(HasMethod("SS2C2") || HasMethod("SS2C8") || HasMethod("SS3C1"));
}

TEST_F(ChainsFamilyTest, TextsOfTransitions) {
    struct TCase {
        const char* Code;
        TStatEntry Value;
        const char* Text;
    };
    const TCase cases[] = {
        {"SDV2", Keys(5, 17), "5 -> 17"},         {"SDN3", Keys(7, 11), "7 -> 11"},
        {"SDP3", Keys(5, 9, 17), "5-9 -> 17"},    {"SCV2", Keys(1, 3), "01 -> 03"},
        {"SCP3", Keys(1, 2, 3), "01-02 -> 03"},   {"SCN4", Keys(4, 5), "04 -> 05"},
        {"SDA2", Keys(5, 7), "05 -> 07"},         {"SDZ2", Keys(5, 0), "05 -> 00"},
        {"SDG2", Keys(21, 24), "21 -> 24"},       {"SDC2", Keys(5, 0), "5 -> 0"},
        {"SSV2", Keys(1, 2), "1 -> 2"},           {"SSM2", Keys(1, 1, 1), "1-1 -> 1"},
        {"SC2C1", Keys(4, 2), "4 -> 2"},          {"SC3C2", Keys(0, 1, 4), "0-1 -> 4"},
        {"SS3C1", Keys(12, 11, 0), "12-11 -> 0"}, {"SCV2", Keys(100, 255), "100 -> 255"},
    };
    for (const TCase& c : cases) {
        auto method = F.Create(c.Code);
        EXPECT_EQ(method->ValueText(c.Value), c.Text) << c.Code;
        EXPECT_EQ(method->NumericValue(c.Text), 0) << c.Code;
    }
}

// Draws P1, a and Q0 (the newest) unless a case has more; the transitions of draw a.
TEST_F(ChainsFamilyTest, TransitionsOfOneDraw) {
    const TCombination sharesFive = {5, 1, 2, 3, 4, 9, 10, 11, 12, 13, 14, 15};
    const TCombination newestFive = {5, 6, 7, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    const TCombination noneInFiveToEight = {1, 2, 3, 4, 9, 10, 11, 12, 13, 14, 15, 16};
    const TCombination sixAndEight = {6, 8, 1, 2, 3, 4, 9, 10, 11, 12, 13, 14};
    // 7 at position 3 in the draw before and in the newest; 11 followed it.
    const std::vector<TCombination> sevenAtThree = {{1, 2, 7, 4, 5, 6, 8, 9, 10, 12, 13, 14},
                                                    {3, 16, 11, 17, 18, 19, 20, 21, 22, 23, 24, 1},
                                                    {2, 1, 7, 5, 4, 8, 6, 10, 9, 13, 12, 15}};
    // How many numbers lie in 1..4.
    const TCombination oneInFirst = {1, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const TCombination twoInFirst = {1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    const TCombination threeInFirst = {1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    const TCombination newestTwoInFirst = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    struct TCase {
        const char* Code;
        std::vector<TCombination> Draws;
        bool Sorted;
        TTexts Added;
    };
    const TCase cases[] = {
        {"SDP2", sevenAtThree, false, {{"7 -> 11", 1}}},
        {"SDN3", sevenAtThree, false, {{"7 -> 11", 1}}},
        {"SDN4", sevenAtThree, false, {}},
        // Channels 4 and 4 at position 4 (13 and 16), then 18 in channel 5.
        {"SCN4",
         {{1, 2, 3, 13, 5, 6, 7, 8, 9, 10, 11, 12},
          {1, 2, 3, 18, 5, 6, 7, 8, 9, 10, 11, 12},
          {24, 23, 22, 16, 20, 19, 21, 17, 15, 14, 4, 18}},
         false,
         {{"04 -> 05", 1}}},
        // As drawn the first numbers agree (9); sorted they are 1 and 2.
        {"SDN1",
         {{9, 1, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13},
          {4, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12},
          {9, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13}},
         false,
         {{"9 -> 4", 1}}},
        {"SDN1",
         {{9, 1, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13},
          {4, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12},
          {9, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13}},
         true,
         {}},
        // 5 in the draw before and in the newest; no follower in channel 5..8.
        {"SDZ2", {sharesFive, noneInFiveToEight, newestFive}, false, {{"05 -> 00", 1}}},
        {"SDG2", {sharesFive, noneInFiveToEight, newestFive}, false, {}},
        {"SDA2", {sharesFive, noneInFiveToEight, newestFive}, false, {{"05 -> 00", 1}}},
        {"SDC2", {sharesFive, noneInFiveToEight, newestFive}, false, {{"5 -> 0", 1}}},
        {"SDA2", {sharesFive, sixAndEight, newestFive}, false, {{"05 -> 06", 1}, {"05 -> 08", 1}}},
        {"SDG2", {sharesFive, sixAndEight, newestFive}, true, {{"05 -> 06", 1}, {"05 -> 08", 1}}},
        {"SDZ2", {sharesFive, sixAndEight, newestFive}, false, {}},
        {"SDC2", {sharesFive, sixAndEight, newestFive}, false, {{"5 -> 2", 1}}},
        // The draw before is read as stored, also when draws are shown sorted: 8 first.
        {"SDA2",
         {{8, 5, 1, 2, 3, 4, 9, 10, 11, 12, 13, 14},
          {7, 1, 2, 3, 4, 9, 10, 11, 12, 13, 14, 15},
          {5, 8, 6, 16, 17, 18, 19, 20, 21, 22, 23, 24}},
         true,
         {{"08 -> 07", 1}, {"05 -> 07", 1}}},
        // Every number of the draw before is in channel 1, 2 or 3, as in the newest
        // draw: four numbers per channel, each adding the channels of all twelve
        // following numbers (1 once, 4 and 5 four times, 6 three times).
        {"SCV2",
         {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
          {1, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23},
          {1, 5, 9, 2, 6, 10, 3, 7, 11, 4, 8, 12}},
         false,
         {{"01 -> 01", 4},
          {"01 -> 04", 16},
          {"01 -> 05", 16},
          {"01 -> 06", 12},
          {"02 -> 01", 4},
          {"02 -> 04", 16},
          {"02 -> 05", 16},
          {"02 -> 06", 12},
          {"03 -> 01", 4},
          {"03 -> 04", 16},
          {"03 -> 05", 16},
          {"03 -> 06", 12}}},
        // Counts in channel 1 (1..4): 2 before and in the newest, 3 after.
        {"SC2C1", {twoInFirst, threeInFirst, newestTwoInFirst}, false, {{"2 -> 3", 1}}},
        {"SC2C1", {oneInFirst, threeInFirst, newestTwoInFirst}, false, {}},
        // Default segments: every number is in segment 1.
        {"SS2C1", {oneInFirst, threeInFirst, newestTwoInFirst}, false, {{"12 -> 12", 1}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + (c.Sorted ? " sorted" : ""));
        SetArchive(c.Draws);
        const TStatDrawArray added = AddedBy(c.Code, 1, c.Sorted);
        EXPECT_EQ(TextsOf(c.Code, added), c.Added);
    }
}

TEST_F(ChainsFamilyTest, ThreeDrawTransitionsNeedTwoAgreeingPositions) {
    // P2, P1, a, Q1, Q0: position 2 has 3 then 6 before and at the end; position 5
    // agrees only between the draw before and the newest; no other position agrees.
    SetArchive({{1, 3, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                {4, 6, 1, 2, 9, 5, 7, 8, 3, 10, 11, 12},
                {7, 17, 2, 4, 5, 6, 1, 8, 9, 10, 11, 12},
                {2, 3, 1, 5, 8, 4, 6, 7, 10, 9, 12, 11},
                {1, 6, 2, 7, 9, 4, 5, 3, 8, 11, 12, 10}});
    EXPECT_EQ(TextsOf("SDP3", AddedBy("SDP3", 2, false)), (TTexts{{"3-6 -> 17", 1}}));
    EXPECT_EQ(TextsOf("SDM2", AddedBy("SDM2", 2, false)), (TTexts{{"3-6 -> 17", 1}}));
    EXPECT_TRUE(AddedBy("SDM5", 2, false).empty());
    // Channels: position 2 holds channels 1, 2 before and at the end; position 1
    // holds channel 1 in all four, then 7 in channel 2.
    EXPECT_EQ(TextsOf("SCM2", AddedBy("SCM2", 2, false)), (TTexts{{"01-02 -> 05", 1}}));
    EXPECT_EQ(TextsOf("SCM1", AddedBy("SCM1", 2, false)), (TTexts{{"01-01 -> 02", 1}}));
    // Counts in channel 1 (1..4): 4 in each of the four, 3 in draw a.
    EXPECT_EQ(TextsOf("SC3C1", AddedBy("SC3C1", 2, false)), (TTexts{{"4-4 -> 3", 1}}));
    EXPECT_EQ(TextsOf("SS3C1", AddedBy("SS3C1", 2, false)), (TTexts{{"12-12 -> 12", 1}}));
}

TEST_F(ChainsFamilyTest, OldestDrawsAndMissingDrawsAddNothing) {
    const TCombination same = {3, 1, 4, 15, 9, 2, 6, 5, 13, 24, 8, 7};
    SetArchive({same, same, same});
    for (const char* code : {"SDV2", "SDP2", "SCV2", "SSP2", "SC2C1", "SS2C1", "SDA2", "SDC2"}) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(AddedBy(code, 0, false).empty());
        EXPECT_FALSE(AddedBy(code, 1, false).empty());
    }
    for (const char* code : {"SDP3", "SDM1", "SCP3", "SSM12", "SC3C1", "SS3C1"}) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(AddedBy(code, 1, false).empty());
        EXPECT_FALSE(AddedBy(code, 2, false).empty());
    }
    // Each number of the draw before is in the newest one: 144 transitions.
    const TStatDrawArray all = AddedBy("SDV2", 1, false);
    EXPECT_EQ(all.size(), 144u);
    EXPECT_EQ(std::accumulate(all.begin(), all.end(), int64_t{0},
                              [](int64_t s, const TStatEntry& e) { return s + e.Count; }),
              144);
    EXPECT_EQ(TextsOf("SDP2", AddedBy("SDP2", 1, false)).size(), 12u);

    // A draw numbered 0 is no draw to follow.
    F.Draws[0].Number = 0;
    EXPECT_TRUE(AddedBy("SDV2", 1, false).empty());
    EXPECT_TRUE(AddedBy("SDP3", 2, false).empty());
    EXPECT_FALSE(AddedBy("SDP2", 2, false).empty());
}

TEST_F(ChainsFamilyTest, CountMethodsListTheNextCountsBeforehand) {
    // The newest draw has no number in 1..4 and one in 21..24; the one before has two.
    SetArchive({{1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 21}, {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 21}});
    EXPECT_EQ(TextsOf("SC2C1", Seeded("SC2C1")),
              (TTexts{{"0 -> 0", 0}, {"0 -> 1", 0}, {"0 -> 2", 0}, {"0 -> 3", 0}, {"0 -> 4", 0}}));
    EXPECT_EQ(TextsOf("SC3C1", Seeded("SC3C1")).front(), (std::pair<std::string, int32_t>{"2-0 -> 0", 0}));
    EXPECT_EQ(Seeded("SC3C6").size(), 5u);
    EXPECT_EQ(TextsOf("SS2C1", Seeded("SS2C1")), (TTexts{{"12 -> 0", 0}}));
    EXPECT_EQ(TextsOf("SS3C1", Seeded("SS3C1")), (TTexts{{"12-12 -> 0", 0}}));
    SetWidth(6);
    EXPECT_EQ(Seeded("SC2C4").size(), 7u);
    for (const char* code : {"SDV2", "SDP3", "SCV2", "SDA2", "SDC2", "SSV2"})
        EXPECT_TRUE(Seeded(code).empty()) << code;
}

// Draw numbers 10, 11, 13, 14, 15 (12 is missing). Positions 3..12 hold 13..22 turned
// by a step per draw, so they never agree between two draws; positions 1 and 2:
// (1, 2), (3, 4), (1, 5), (3, 2), (1, 4).
class ChainsWindowTest : public ChainsFamilyTest {
protected:
    void SetUp() override {
        const int32_t numbers[] = {10, 11, 13, 14, 15};
        const uint8_t firstTwo[][2] = {{1, 2}, {3, 4}, {1, 5}, {3, 2}, {1, 4}};
        for (int k = 0; k < 5; ++k) {
            TCombination c{};
            c[0] = firstTwo[k][0];
            c[1] = firstTwo[k][1];
            for (int i = 0; i < 10; ++i)
                c[2 + i] = static_cast<uint8_t>(13 + (i + k) % 10);
            F.Draws.push_back(DrawOf(numbers[k], c));
        }
    }
    struct TRowCheck {
        const char* Text;
        int32_t Count, Draw, Depth;
        uint16_t PeriodMin, PeriodMax;
    };
    void ExpectWindow(int lastIdx, const std::vector<TRowCheck>& rows) {
        auto stat = F.Create("SDP2");
        const TStatDrawArray table = EvaluateWindow(*stat, 0, lastIdx, false);
        ASSERT_EQ(table.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const TStatEntry& e = table[i];
            SCOPED_TRACE(rows[i].Text);
            EXPECT_EQ(stat->ValueText(e), rows[i].Text);
            EXPECT_EQ(e.Count, rows[i].Count);
            EXPECT_EQ(e.Draw, rows[i].Draw);
            EXPECT_EQ(e.Depth, rows[i].Depth);
            EXPECT_EQ(e.PeriodMin, rows[i].PeriodMin);
            EXPECT_EQ(e.PeriodMax, rows[i].PeriodMax);
        }
    }
};

// Against the newest draw (1, 4): 1 -> 3 in draws 11 and 14 (a gap of 3 across the
// missing 12), 4 -> 5 in draw 13.
TEST_F(ChainsWindowTest, TableAtTheNewestDraw) {
    ExpectWindow(4, {{"1 -> 3", 2, 14, 2, 3, 3}, {"4 -> 5", 1, 13, 3, 0, 0}});
}

// One draw back the window ends at (3, 2): 2 -> 4 in draw 11, 3 -> 1 in draw 13. The
// draw after the window repeats (3, 2) and all of it, so both come again in draw 15.
TEST_F(ChainsWindowTest, TableOneDrawBack) {
    ExpectWindow(3, {{"2 -> 4", 1, 11, 3, 0, 0}, {"3 -> 1", 1, 13, 2, 0, 0}});
    auto stat = F.Create("SDP2");
    EXPECT_EQ(stat->FindNextOccurrence(Keys(3, 1), 4, 3, false), 15);
    EXPECT_EQ(stat->FindNextOccurrence(Keys(2, 4), 4, 3, false), 15);
    EXPECT_EQ(stat->FindNextOccurrence(Keys(1, 3), 4, 3, false), -1);
}

// The newest draw is 5 6 7 16..24 (channels 2, 5, 6 of width 4).
TEST_F(ChainsFamilyTest, CombinationsMatchTheTargetsOfSelectedRows) {
    SetArchive({{1, 2, 3, 4, 9, 10, 11, 12, 13, 14, 15, 16}, {5, 6, 7, 16, 17, 18, 19, 20, 21, 22, 23, 24}});
    const TCombination low = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const TCombination high = {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    const TCombination withSix = {6, 1, 2, 9, 10, 11, 12, 13, 14, 15, 16, 17};
    const TCombination withSeven = {7, 1, 2, 9, 10, 11, 12, 13, 14, 15, 16, 17};
    const TCombination noneInFiveToEight = {1, 2, 3, 4, 9, 10, 11, 12, 13, 14, 15, 16};
    const TCombination twoInFirst = {1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    struct TCase {
        const char* Code;
        TStatDrawArray Selected;
        TCombination Comb;
        bool Matches;
    };
    const TCase cases[] = {
        // Numbers: the target, not the source.
        {"SDV2", {Keys(5, 17)}, high, true},
        {"SDV2", {Keys(17, 5)}, high, false},
        {"SDN4", {Keys(1, 2), Keys(3, 4)}, low, true},
        {"SDP3", {Keys(1, 2, 13)}, high, true},
        {"SDP3", {Keys(13, 13, 1)}, high, false},
        // Channels and segments of the combination's numbers.
        {"SCV2", {Keys(1, 3)}, withSix, true},
        {"SCV2", {Keys(1, 3)}, twoInFirst, true},
        {"SCV2", {Keys(6, 6)}, low, false},
        {"SCM3", {Keys(1, 1, 6)}, high, true},
        {"SSV2", {Keys(1, 1)}, low, true},
        {"SSP2", {Keys(1, 2)}, low, false},
        // Counts in channel 1 (1..4).
        {"SC2C1", {Keys(0, 2)}, twoInFirst, true},
        {"SC2C1", {Keys(0, 2)}, low, false},
        {"SC2C1", {Keys(0, 0), Keys(0, 4)}, low, true},
        {"SC3C1", {Keys(4, 0, 2)}, twoInFirst, true},
        {"SC3C1", {Keys(4, 2, 0)}, twoInFirst, false},
        {"SS2C1", {Keys(12, 12)}, high, true},
        // Inside channels: a row from a number of the newest draw.
        {"SDA2", {Keys(5, 6)}, withSix, true},
        {"SDA2", {Keys(5, 6)}, withSeven, false},
        {"SDA2", {Keys(1, 6)}, withSix, false},
        {"SDG2", {Keys(16, 13)}, high, true},
        {"SDZ2", {Keys(5, 0)}, withSix, true},
        {"SDZ2", {Keys(5, 0)}, noneInFiveToEight, false},
        {"SDA2", {Keys(5, 0)}, withSeven, true},
        {"SDC2", {Keys(5, 3)}, withSeven, true},
        {"SDC2", {Keys(5, 0)}, noneInFiveToEight, false},
        {"SDC2", {Keys(24, 1)}, high, true},
        {"SDC2", {Keys(12, 1)}, low, false},
        {"SDV2", {}, low, false},
        {"SDA2", {}, low, false},
        {"SC2C1", {}, low, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " " + CombToText(c.Comb));
        auto stat = F.Create(c.Code);
        stat->LoadDraws(-1, F.LastIdx(), false);
        EXPECT_EQ(stat->Matches(c.Comb, c.Selected, F.LastIdx(), false, false), c.Matches);
        // The filter's loop gives the same answer.
        TCombination out[1];
        EXPECT_EQ(stat->KeepMatching({&c.Comb, 1}, out, c.Selected, F.LastIdx(), false, false),
                  c.Matches ? 1u : 0u);
        EXPECT_EQ(stat->KeepMatching({&c.Comb, 1}, out, c.Selected, F.LastIdx(), false, true),
                  c.Matches ? 0u : 1u);
    }
}

// The numbers of the newest draw for the inside methods are those of the window's
// newest draw: one draw back, 5 is no longer one of them.
TEST_F(ChainsFamilyTest, InsideRowsFollowTheWindowEnd) {
    SetArchive({{5, 1, 2, 3, 4, 9, 10, 11, 12, 13, 14, 15}, {6, 7, 8, 16, 17, 18, 19, 20, 21, 22, 23, 24}});
    const TCombination withSix = {6, 1, 2, 9, 10, 11, 12, 13, 14, 15, 16, 17};
    auto stat = F.Create("SDZ2");
    const TStatDrawArray selected{Keys(5, 0)};
    EXPECT_FALSE(stat->Matches(withSix, selected, 1, false, false));
    EXPECT_TRUE(stat->Matches(withSix, selected, 0, false, false));
    EXPECT_FALSE(stat->Matches(withSix, selected, 1, false, false));
}

} // namespace
} // namespace kumby::testing
