// The channels family: channels of the numbers, the count in each channel, the
// number of filled channels, and the channels of two to four numbers together, for
// several channel widths.

#include "StatTestSupport.h"
#include "stats/families/VF_Chns.h"
#include "stats/families/VF_Diff.h"

#include <set>

namespace kumby::testing {
namespace {

uint64_t Key(uint16_t k1, uint16_t k2 = 0, uint16_t k3 = 0, uint16_t k4 = 0) {
    return uint64_t{k1} | uint64_t{k2} << 16 | uint64_t{k3} << 32 | uint64_t{k4} << 48;
}

TStatEntry Keys(uint16_t k1, uint16_t k2 = 0, uint16_t k3 = 0, uint16_t k4 = 0) {
    return KeyEntry(Key(k1, k2, k3, k4));
}

class ChannelsFamilyTest : public ::testing::Test {
protected:
    void SetWidth(int32_t width) {
        F.Config.ChannelSize = width;
        F.List.Rebuild();
    }
    TStatDrawArray OneDraw(std::string_view code, const TCombination& numbers, bool sorted = false) {
        F.Draws.push_back(DrawOf(static_cast<int32_t>(F.Draws.size()) + 1, numbers));
        auto stat = F.Create(code);
        return EvaluateWindow(*stat, F.LastIdx(), F.LastIdx(), sorted);
    }
    std::vector<std::string> Texts(std::string_view code, const TStatDrawArray& stat) const {
        auto method = F.Create(code);
        std::vector<std::string> texts;
        for (const TStatEntry& e : stat)
            texts.push_back(method->ValueText(e));
        return texts;
    }
    static std::vector<uint64_t> KeysInOrder(const TStatDrawArray& stat, bool occurredOnly = true) {
        std::vector<uint64_t> keys;
        for (const TStatEntry& e : stat)
            if (!occurredOnly || e.Count != 0)
                keys.push_back(StatKey(e));
        return keys;
    }

    TStatFixture F;
};

// Channels 1, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6 of width 4, drawn with 21 first.
const TCombination Spread = {21, 1, 2, 3, 5, 6, 9, 13, 14, 17, 18, 22};
const TCombination Low = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const TCombination High = {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
const TCombination Falling = {24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13};

TEST_F(ChannelsFamilyTest, ValuesOfOneDrawWithWidthFour) {
    struct TCase {
        const char* Code;
        TCombination Numbers;
        bool Sorted;
        std::map<uint64_t, int64_t> Values; // key -> count, values that occurred
    };
    const TCase cases[] = {
        {"CHAN",
         Spread,
         false,
         {{Key(1), 3}, {Key(2), 2}, {Key(3), 1}, {Key(4), 2}, {Key(5), 2}, {Key(6), 2}}},
        {"CHNV",
         Spread,
         false,
         {{Key(1, 3), 1}, {Key(2, 2), 1}, {Key(3, 1), 1}, {Key(4, 2), 1}, {Key(5, 2), 1}, {Key(6, 2), 1}}},
        {"CHNV",
         Low,
         false,
         {{Key(1, 4), 1}, {Key(2, 4), 1}, {Key(3, 4), 1}, {Key(4, 0), 1}, {Key(5, 0), 1}, {Key(6, 0), 1}}},
        {"CHNC", Spread, false, {{Key(6), 1}}},
        {"CHNC", Low, false, {{Key(3), 1}}},
        {"CHN1", Spread, false, {{Key(3), 1}}},
        {"CHN6", Spread, true, {{Key(2), 1}}},
        {"CHN6", Low, false, {{Key(0), 1}}},
        {"KCM2",
         Falling,
         false,
         {{Key(6, 6), 6}, {Key(6, 5), 16}, {Key(6, 4), 16}, {Key(5, 5), 6}, {Key(5, 4), 16}, {Key(4, 4), 6}}},
        {"KCM2",
         Falling,
         true,
         {{Key(4, 4), 6}, {Key(4, 5), 16}, {Key(4, 6), 16}, {Key(5, 5), 6}, {Key(5, 6), 16}, {Key(6, 6), 6}}},
        {"KCM3",
         High,
         false,
         {{Key(4, 4, 4), 4},
          {Key(4, 4, 5), 24},
          {Key(4, 4, 6), 24},
          {Key(4, 5, 5), 24},
          {Key(4, 5, 6), 64},
          {Key(4, 6, 6), 24},
          {Key(5, 5, 5), 4},
          {Key(5, 5, 6), 24},
          {Key(5, 6, 6), 24},
          {Key(6, 6, 6), 4}}},
        {"KCS2",
         Falling,
         false,
         {{Key(6, 6), 3}, {Key(6, 5), 1}, {Key(5, 5), 3}, {Key(5, 4), 1}, {Key(4, 4), 3}}},
        {"KCS2",
         Spread,
         false,
         {{Key(6, 1), 1},
          {Key(1, 1), 2},
          {Key(1, 2), 1},
          {Key(2, 2), 1},
          {Key(2, 3), 1},
          {Key(3, 4), 1},
          {Key(4, 4), 1},
          {Key(4, 5), 1},
          {Key(5, 5), 1},
          {Key(5, 6), 1}}},
        {"KCS4",
         Falling,
         false,
         {{Key(6, 6, 6, 6), 1},
          {Key(6, 6, 6, 5), 1},
          {Key(6, 6, 5, 5), 1},
          {Key(6, 5, 5, 5), 1},
          {Key(5, 5, 5, 5), 1},
          {Key(5, 5, 5, 4), 1},
          {Key(5, 5, 4, 4), 1},
          {Key(5, 4, 4, 4), 1},
          {Key(4, 4, 4, 4), 1}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + (c.Sorted ? " sorted" : " drawn"));
        const TStatDrawArray stat = OneDraw(c.Code, c.Numbers, c.Sorted);
        EXPECT_EQ(CountsByKey(stat, true), c.Values);
        for (const TStatEntry& e : stat)
            if (e.Count != 0) {
                EXPECT_EQ(e.Depth, 1);
                EXPECT_EQ(e.PeriodMin | e.PeriodMax, 0) << "a value met twice in one draw is no period";
            }
        // A combination of the same numbers, ascending, has the values of the sorted draw.
        auto method = F.Create(c.Code);
        if (!method->Info().HasPrefetch()) {
            EXPECT_TRUE(CombinationValues(*method, c.Numbers).empty());
            continue;
        }
        TCombination ascending = c.Numbers;
        std::sort(ascending.begin(), ascending.end());
        EXPECT_EQ(CountsByKey(CombinationValues(*method, ascending), false),
                  CountsByKey(OneDraw(c.Code, c.Numbers, true), true));
    }
}

// Values are listed in the order a draw first gives them.
TEST_F(ChannelsFamilyTest, OrderOfFirstAppearance) {
    EXPECT_EQ(KeysInOrder(OneDraw("CHAN", Spread)),
              (std::vector<uint64_t>{Key(1), Key(2), Key(3), Key(4), Key(5), Key(6)}))
        << "seeded ascending";
    EXPECT_EQ(KeysInOrder(OneDraw("KCM2", Falling)),
              (std::vector<uint64_t>{Key(6, 6), Key(6, 5), Key(6, 4), Key(5, 5), Key(5, 4), Key(4, 4)}));
    EXPECT_EQ(KeysInOrder(OneDraw("KCS2", Spread)).front(), Key(6, 1));
    // How many values a draw gives: C(12, k) choices, 13 - k runs.
    for (const auto& [code, count] : std::vector<std::pair<const char*, int64_t>>{
             {"KCM2", 66}, {"KCM3", 220}, {"KCM4", 495}, {"KCS2", 11}, {"KCS3", 10}, {"KCS4", 9}}) {
        int64_t total = 0;
        for (const TStatEntry& e : OneDraw(code, Spread))
            total += e.Count;
        EXPECT_EQ(total, count) << code;
    }
}

TEST_F(ChannelsFamilyTest, LowNumbersGiveTheWorkedOutPairCounts) {
    EXPECT_EQ(CountsByKey(OneDraw("KCM2", Low), true), (std::map<uint64_t, int64_t>{{Key(1, 1), 6},
                                                                                    {Key(1, 2), 16},
                                                                                    {Key(1, 3), 16},
                                                                                    {Key(2, 2), 6},
                                                                                    {Key(2, 3), 16},
                                                                                    {Key(3, 3), 6}}));
}

TEST_F(ChannelsFamilyTest, ListedValuesAndLabelsFollowTheWidth) {
    struct TCase {
        int32_t Width;
        const char* Code;
        std::vector<std::string> Listed; // texts of the values listed before any draw
    };
    const TCase cases[] = {
        {4, "CHAN", {"01 [1-4]", "02 [5-8]", "03 [9-12]", "04 [13-16]", "05 [17-20]", "06 [21-24]"}},
        {5, "CHAN", {"01 [1-5]", "02 [6-10]", "03 [11-15]", "04 [16-20]", "05 [21-25]"}},
        {24, "CHAN", {"01 [1-24]"}},
        {4, "CHNC", {"1", "2", "3", "4"}},
        {13, "CHNC", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}},
        {5, "CHN5", {"1", "2", "3", "4", "5"}},
        {4, "KCM2", {}},
        {4, "KCS4", {}},
        {0, "CHAN", {}},
        {0, "CHNV", {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " width " + std::to_string(c.Width));
        SetWidth(c.Width);
        auto method = F.Create(c.Code);
        TStatDrawArray listed;
        method->SeedValues(-1, listed);
        EXPECT_EQ(Texts(c.Code, listed), c.Listed);
        for (const TStatEntry& e : listed)
            EXPECT_EQ(e.Count | e.Depth | e.Draw, 0);
    }

    SetWidth(4);
    TStatDrawArray chnv;
    F.Create("CHNV")->SeedValues(-1, chnv);
    ASSERT_EQ(chnv.size(), 6u * 5);
    EXPECT_EQ(Texts("CHNV", chnv)[7], "02 [5-8] x 2");
    SetWidth(24);
    chnv.clear();
    F.Create("CHNV")->SeedValues(-1, chnv);
    EXPECT_EQ(chnv.size(), 13u) << "(1, 0) .. (1, 12)";
    EXPECT_EQ(CountsByKey(OneDraw("CHNV", Spread), true), (std::map<uint64_t, int64_t>{{Key(1, 12), 1}}));
    EXPECT_EQ(CountsByKey(OneDraw("CHAN", Spread), true), (std::map<uint64_t, int64_t>{{Key(1), 12}}));
    EXPECT_EQ(F.Create("CHNC")->ChartValue(Spread.data(), 0, 0, false), 1);
    SetWidth(5);
    EXPECT_EQ(F.Create("CHN5")->ChartValue(High.data(), 0, 0, false), 4) << "channel 5 holds 21..24 only";
    EXPECT_EQ(F.Create("CHNC")->ChartValue(Spread.data(), 0, 0, false), 5);
}

TEST_F(ChannelsFamilyTest, RowTextsParseBackWhereNumeric) {
    auto chan = F.Create("CHAN");
    struct TCase {
        const char* Text;
        int32_t Value;
    };
    for (const TCase c : {TCase{"03 [9-12]", 3}, TCase{"06 [21-24]", 6}, TCase{" 12 [x]", 12}, TCase{"5", 5},
                          TCase{"", 0}, TCase{"[1-4]", 0}, TCase{"каналы", 0}}) {
        EXPECT_EQ(chan->ParseValue(c.Text), c.Value) << c.Text;
        EXPECT_EQ(chan->NumericValue(c.Text), c.Value) << c.Text;
    }
    EXPECT_EQ(F.Create("CHNV")->NumericValue("02 [5-8] x 3"), 0);
    EXPECT_EQ(F.Create("KCM3")->ValueText(Keys(1, 1, 4)), "1:1:4");
    EXPECT_EQ(F.Create("KCM4")->ValueText(Keys(2, 2, 5, 6)), "2:2:5:6");
    EXPECT_EQ(F.Create("KCS2")->ValueText(Keys(1, 3)), "1:3");
    EXPECT_EQ(F.Create("KCS2")->NumericValue("1:3"), 0);
    EXPECT_EQ(F.Create("CHNC")->ValueText(Keys(5)), "5");
}

TEST_F(ChannelsFamilyTest, RegisteredMethodsFollowTheWidth) {
    auto codes = [&] {
        std::vector<std::string> found;
        for (std::size_t i = 0; i < F.List.Count(); ++i)
            if (F.List.Items(i).StatClass->Group == 3)
                found.push_back(F.List.Items(i).MethodCode());
        return found;
    };
    const std::vector<std::string> fixed = {"CHAN", "CHNV", "CHNC", "KCM2", "KCM3",
                                            "KCM4", "KCS2", "KCS3", "KCS4"};
    struct TCase {
        int32_t Width;
        int Channels;
    };
    for (const TCase c : {TCase{4, 6}, TCase{5, 5}, TCase{24, 1}, TCase{2, 12}, TCase{0, 0}, TCase{-3, 0}}) {
        SCOPED_TRACE(c.Width);
        SetWidth(c.Width);
        std::vector<std::string> expected = fixed;
        for (int p = 1; p <= c.Channels; ++p)
            expected.push_back("CHN" + std::to_string(p));
        EXPECT_EQ(codes(), expected);
    }
    SetWidth(4);
    const auto chn2 = static_cast<std::size_t>(F.List.FindByCode("CHN2"));
    EXPECT_EQ(F.List.Items(chn2).MethodCaption(), "Количество чисел в 2 канале");
    EXPECT_EQ(F.List.Items(chn2).StatClass->HelpCodeFor(2), "CHNx");
    EXPECT_EQ(F.List.DisplayName(static_cast<std::size_t>(F.List.FindByCode("KCS3")), true),
              "{ grp } Сочетания из 3 каналов по соседним числам [ S ]");
    EXPECT_EQ(F.List.DisplayName(chn2, true), "{ grp } Количество чисел в 2 канале [ NG ]");
}

// A width of 0 (only a hand-made configuration has one) lists nothing and divides by nothing.
TEST_F(ChannelsFamilyTest, WidthZeroIsHarmless) {
    SetWidth(0);
    for (const char* code : {"CHAN", "CHNV", "CHNC", "KCM4", "KCS2"}) {
        SCOPED_TRACE(code);
        auto method = F.Create(code);
        const TStatDrawArray stat = OneDraw(code, Spread);
        TStatDrawArray selected(stat.begin(), stat.end());
        method->LoadDraws(-1, F.LastIdx(), false);
        if (!selected.empty()) {
            EXPECT_TRUE(method->Matches(Low, selected, F.LastIdx(), false, false));
        }
        for (const TStatEntry& e : stat)
            EXPECT_FALSE(method->ValueText(e).empty());
    }
    EXPECT_TRUE(OneDraw("CHNV", Spread).empty());
}

TEST_F(ChannelsFamilyTest, MatchesTheSelectedValues) {
    // Channels 1 2 3 4 5 6 1 2 1 1 2 2: the run 1:1:2:2 starts at position 9 only.
    const TCombination lastRun = {1, 5, 9, 13, 17, 21, 2, 6, 3, 4, 7, 8};
    struct TCase {
        const char* Code;
        std::vector<TStatEntry> Selected;
        TCombination Comb;
        bool Match;
    };
    const TCase cases[] = {
        {"CHAN", {Keys(6)}, Spread, true},
        {"CHAN", {Keys(6)}, Low, false},
        {"CHAN", {Keys(6, 1)}, Spread, false},
        {"CHNV", {Keys(1, 4)}, Low, true},
        {"CHNV", {Keys(1, 3)}, Low, false},
        {"CHNV", {Keys(4, 0)}, Low, true}, // an empty channel is a value too
        {"CHNV", {Keys(4, 0)}, High, false},
        {"CHNC", {Keys(3)}, Low, true},
        {"CHNC", {Keys(6), Keys(2)}, Low, false},
        {"CHN2", {Keys(4)}, Low, true},
        {"CHN2", {Keys(0)}, Low, false},
        {"CHN2", {Keys(0)}, High, true},
        {"KCM2", {Keys(1, 3)}, Low, true},
        {"KCM2", {Keys(3, 1)}, Low, false}, // position order
        {"KCM2", {Keys(3, 1)}, {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, true},
        {"KCM2", {Keys(1, 3, 1)}, Low, false},          // a word past the tuple
        {"KCM2", {Keys(40, 1), Keys(1, 3)}, Low, true}, // an item the tables cannot hold
        {"KCM2", {Keys(40, 1)}, Low, false},
        {"KCM4", {Keys(1, 2, 3, 4)}, lastRun, true},
        {"KCM4", {Keys(6, 5, 4, 3)}, lastRun, false},
        {"KCM4", {Keys(6, 1, 1, 2)}, lastRun, true},
        {"KCM3", {Keys(3, 3, 3)}, lastRun, false},
        {"KCS4", {Keys(1, 1, 2, 2)}, lastRun, true},
        {"KCS4", {Keys(1, 2, 2)}, lastRun, false},
        {"KCS3", {Keys(1, 2, 2)}, lastRun, true},
        {"KCS2", {Keys(1, 3)}, Low, false},
        {"KCS2", {Keys(2, 3)}, Low, true},
        {"KCS2", {}, Low, false},
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

// The tuple classes give a combination no values of its own, so Matches is held
// against the values the same numbers give as a draw: the combination matches
// exactly when one of them is selected. Difference runs share the base.
TEST_F(ChannelsFamilyTest, TupleMatchesAgreeWithTheValuesOfTheSameNumbersAsADraw) {
    std::mt19937 rng(4404);
    for (const int32_t width : {4, 5, 2}) {
        SetWidth(width);
        for (const char* code : {"KCM2", "KCM3", "KCM4", "KCS2", "KCS3", "KCS4", "KDS3"}) {
            SCOPED_TRACE(std::string(code) + " width " + std::to_string(width));
            std::vector<TCombination> combs;
            for (int i = 0; i < 40; ++i) {
                TCombination c = RandomCombination(rng);
                std::shuffle(c.begin(), c.end(), rng);
                combs.push_back(c);
            }
            // A few selected tuples from some of the combinations' own values.
            TStatDrawArray selected;
            std::vector<std::set<uint64_t>> own;
            for (std::size_t i = 0; i < combs.size(); ++i) {
                const TStatDrawArray values = OneDraw(code, combs[i]);
                own.emplace_back();
                for (const TStatEntry& e : values)
                    own.back().insert(StatKey(e));
                if (i % 8 == 0)
                    selected.push_back(values[rng() % values.size()]);
            }
            auto method = F.Create(code);
            method->LoadDraws(-1, F.LastIdx(), false);
            int matched = 0;
            for (std::size_t i = 0; i < combs.size(); ++i) {
                bool expected = false;
                for (const TStatEntry& s : selected)
                    expected = expected || own[i].count(StatKey(s)) != 0;
                EXPECT_EQ(method->Matches(combs[i], selected, F.LastIdx(), false, false), expected) << i;
                matched += expected;
            }
            EXPECT_GE(matched, 5);
        }
    }
}

// Draws 1, 2 and 5 (3 and 4 are missing): the low numbers, the high ones, the low
// ones again, in drawn order. Gaps are measured in draw numbers.
TEST_F(ChannelsFamilyTest, TableOverAFewDrawsWorkedOutByHand) {
    F.Draws = {DrawOf(1, Low), DrawOf(2, Falling), DrawOf(5, Low)};
    struct TRow {
        const char* Code;
        uint64_t Key;
        int32_t Count, Draw, Depth;
        uint16_t PeriodMin, PeriodMax;
    };
    const TRow rows[] = {
        {"CHAN", Key(1), 8, 5, 1, 4, 4},       {"CHAN", Key(4), 4, 2, 2, 0, 0},
        {"CHNV", Key(1, 4), 2, 5, 1, 4, 4},    {"CHNV", Key(1, 0), 1, 2, 2, 0, 0},
        {"CHNV", Key(4, 0), 2, 5, 1, 4, 4},    {"CHNV", Key(1, 1), 0, 0, 0, 0, 0},
        {"CHNC", Key(3), 3, 5, 1, 1, 3},       {"CHNC", Key(1), 0, 0, 0, 0, 0},
        {"CHN6", Key(4), 1, 2, 2, 0, 0},       {"CHN6", Key(0), 2, 5, 1, 4, 4},
        {"KCM2", Key(1, 1), 12, 5, 1, 4, 4},   {"KCM2", Key(1, 3), 32, 5, 1, 4, 4},
        {"KCM2", Key(6, 4), 16, 2, 2, 0, 0},   {"KCS3", Key(2, 2, 2), 4, 5, 1, 4, 4},
        {"KCS3", Key(6, 6, 5), 1, 2, 2, 0, 0},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(std::string(r.Code) + " " + std::to_string(r.Key));
        auto method = F.Create(r.Code);
        const TStatDrawArray stat = EvaluateWindow(*method, 0, 2, false);
        const TStatEntry* e = FindKey(stat, KeyEntry(r.Key).Key1, KeyEntry(r.Key).Key2, KeyEntry(r.Key).Key3,
                                      KeyEntry(r.Key).Key4);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->Count, r.Count);
        EXPECT_EQ(e->Draw, r.Draw);
        EXPECT_EQ(e->Depth, r.Depth);
        EXPECT_EQ(e->PeriodMin, r.PeriodMin);
        EXPECT_EQ(e->PeriodMax, r.PeriodMax);
    }
    // Row counts: CHNV lists 6 x 5 values, KCM2 of these draws gives 6 + 6 tuples.
    EXPECT_EQ(EvaluateWindow(*F.Create("CHNV"), 0, 2, false).size(), 30u);
    EXPECT_EQ(EvaluateWindow(*F.Create("KCM2"), 0, 2, false).size(), 12u);
    EXPECT_EQ(F.Create("KCM2")->FindNextOccurrence(Keys(6, 5), 0, 2, false), 2);
    EXPECT_EQ(F.Create("KCM2")->FindNextOccurrence(Keys(1, 6), 0, 2, false), -1);
}

} // namespace
} // namespace kumby::testing
