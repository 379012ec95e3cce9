// The shared shapes of statistic classes, on small classes of the test's own: the
// draw context hooks of a single value, and one key per element of a grouping.

#include "StatTestSupport.h"
#include "stats/SingleValueStat.h"

#include <bit>
#include <functional>

namespace kumby::testing {
namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

int32_t SumOf(const uint8_t* numbers) {
    return std::accumulate(numbers, numbers + NumbersInDraw, 0);
}

// The sum's change from the reference draw's sum; the reference draw itself adds
// nothing. Negative values need the whole low half.
class TRefSumChange : public TSingleValueStat<TRefSumChange, TCustomGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    static constexpr TValueMatch MatchBy = TValueMatch::KeyHalf;
    const TStatClassInfo& Info() const override { return ClassInfo; }

    int32_t ValueOf(const uint8_t* numbers) const { return SumOf(numbers); }
    bool DrawValue(int drawIdx, int lastIdx, bool, int32_t& value) {
        value = SumOf(CurDraw.Numbers) - SumOf(RefDraw.Numbers);
        return drawIdx != lastIdx;
    }
    int32_t CombinationValue(const TCombination& comb, int, bool) {
        return SumOf(comb.data()) - SumOf(RefDraw.Numbers);
    }
};
const TStatClassInfo TRefSumChange::ClassInfo = {
    "TRefSumChange",    "TREF", "Изменение", nullptr, 1, StatFlagD, true, true, false, true, nullptr,
    Make<TRefSumChange>};

// Channels of four numbers: 1..4 is channel 1, 5..8 channel 2 ...
template <bool WithCount>
class TChannelsOfFour : public TPerElementStat<TChannelsOfFour<WithCount>, TCustomValuesStat> {
public:
    using TPerElementStat<TChannelsOfFour<WithCount>, TCustomValuesStat>::TPerElementStat;
    static const TStatClassInfo ClassInfo;
    static constexpr bool CountInKey2 = WithCount;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    uint16_t ElementOf(uint8_t number) const { return static_cast<uint16_t>((number + 3) / 4); }
};
template <bool WithCount>
const TStatClassInfo TChannelsOfFour<WithCount>::ClassInfo = {"TChannelsOfFour",
                                                              "TCHN",
                                                              "Каналы",
                                                              nullptr,
                                                              3,
                                                              StatFlagN,
                                                              false,
                                                              true,
                                                              false,
                                                              true,
                                                              nullptr,
                                                              Make<TChannelsOfFour<WithCount>>};

int32_t LowHalfOf(const TStatEntry& e) {
    return static_cast<int32_t>(uint32_t{e.Key1} | uint32_t{e.Key2} << 16);
}

TStatEntry Keys(uint16_t k1, uint16_t k2 = 0) {
    TStatEntry e;
    e.Key1 = k1;
    e.Key2 = k2;
    return e;
}

TEST(StatShapes, SingleValueSeesTheReferenceDrawWhereItNeedsIt) {
    TStatFixture f;
    f.Draws = {DrawOf(1, CombinationWithSum(150)), DrawOf(2, CombinationWithSum(140)),
               DrawOf(3, CombinationWithSum(150)), DrawOf(4, CombinationWithSum(145))};
    TRefSumChange stat(f.List, 0);

    // Window ending at draw 3 (sum 150): draws 1 and 2 count, draw 3 is the reference.
    const TStatDrawArray window = EvaluateWindow(stat, 0, 2, false);
    ASSERT_EQ(window.size(), 2u);
    EXPECT_EQ(LowHalfOf(window[0]), 0);
    EXPECT_EQ(LowHalfOf(window[1]), -10);
    EXPECT_EQ(window[1].Depth, 2);

    // Combinations compare with the window's newest draw, here draw 4 (sum 145).
    stat.LoadDraws(-1, 3, false);
    TStatDrawArray selected = {window[1]};
    EXPECT_TRUE(stat.Matches(CombinationWithSum(135), selected, 3, false, false));
    EXPECT_FALSE(stat.Matches(CombinationWithSum(140), selected, 3, false, false));
    // The chart plots the value of the 12 numbers alone.
    EXPECT_EQ(stat.ChartValueOfDraw(1, 3, false), 140);
}

TEST(StatShapes, OneKeyPerElementOfAGrouping) {
    TStatFixture f;
    // In drawn order: channel 5 comes first.
    f.Draws = {DrawOf(1, {17, 1, 2, 3, 5, 6, 9, 13, 14, 18, 21, 22})};
    const TCombination comb = {1, 2, 3, 5, 6, 9, 13, 14, 17, 18, 21, 22};

    TChannelsOfFour<false> perNumber(f.List, 0);
    const TStatDrawArray numbers = EvaluateWindow(perNumber, 0, 0, false);
    std::vector<std::pair<int, int>> got;
    for (const TStatEntry& e : numbers)
        got.emplace_back(e.Key1, e.Count);
    EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{5, 2}, {1, 3}, {2, 2}, {3, 1}, {4, 2}, {6, 2}}))
        << "first met, once per number";
    EXPECT_EQ(CountsByKey(CombinationValues(perNumber, comb), false), CountsByKey(numbers, false));

    TChannelsOfFour<true> withCount(f.List, 0);
    const TStatDrawArray counted = EvaluateWindow(withCount, 0, 0, false);
    got.clear();
    for (const TStatEntry& e : counted)
        got.emplace_back(e.Key1, e.Key2);
    EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{1, 3}, {2, 2}, {3, 1}, {4, 2}, {5, 2}, {6, 2}}))
        << "ascending, once per element with its count";

    const TStatDrawArray channelThree = {Keys(3)};
    const TStatDrawArray channelThreeOnce = {Keys(3, 1)};
    const TStatDrawArray channelThreeTwice = {Keys(3, 2)};
    const TCombination noThree = {1, 2, 3, 4, 5, 6, 7, 8, 13, 14, 15, 16};
    EXPECT_TRUE(perNumber.Matches(comb, channelThree, 0, false, false));
    EXPECT_FALSE(perNumber.Matches(noThree, channelThree, 0, false, false));
    EXPECT_FALSE(perNumber.Matches(comb, channelThreeOnce, 0, false, false)) << "Key2 is 0 here";
    EXPECT_TRUE(withCount.Matches(comb, channelThreeOnce, 0, false, false));
    EXPECT_FALSE(withCount.Matches(comb, channelThreeTwice, 0, false, false));
    EXPECT_FALSE(withCount.Matches(noThree, channelThreeOnce, 0, false, false));
}

// The fast paths of the combination passes read a combination as a set of numbers;
// a record that is not 12 distinct numbers of 1..24 must fall back, or it would
// count as another combination.
TEST(StatShapes, NumberSetsTakeOnlyTwelveDistinctNumbersInRange) {
    const struct {
        TCombination Numbers;
        bool Taken;
    } cases[] = {
        {{1, 2, 3, 5, 6, 9, 13, 14, 17, 18, 21, 24}, true},
        {{24, 1, 18, 3, 13, 6, 9, 5, 17, 2, 21, 14}, true}, // drawn order
        {{1, 1, 3, 5, 6, 9, 13, 14, 17, 18, 21, 24}, false},
        {{0, 2, 3, 5, 6, 9, 13, 14, 17, 18, 21, 24}, false},
        {{1, 2, 3, 5, 6, 9, 13, 14, 17, 18, 21, 25}, false},
        {{65, 2, 3, 5, 6, 9, 13, 14, 17, 18, 21, 24}, false}, // 65 wraps onto 1's bit
        {{255, 2, 3, 5, 6, 9, 13, 14, 17, 18, 21, 24}, false},
    };
    for (const auto& c : cases) {
        uint32_t set = 0;
        EXPECT_EQ(DistinctNumberSet(c.Numbers.data(), set), c.Taken) << int{c.Numbers[0]};
        if (c.Taken) {
            uint32_t expected = 0;
            for (const uint8_t n : c.Numbers)
                expected |= uint32_t{1} << (n - 1);
            EXPECT_EQ(set, expected);
        }
    }

    // A table of the sum of the numbers' squares gives each set's sum from its bytes.
    TByteTable<uint32_t> squares;
    FillByteTable(
        squares, uint32_t{0}, [](uint8_t n) { return uint32_t{n} * n; }, std::plus<>{});
    uint32_t set = 0;
    ASSERT_TRUE(DistinctNumberSet(cases[0].Numbers.data(), set));
    uint32_t sum = 0;
    for (const uint8_t n : cases[0].Numbers)
        sum += uint32_t{n} * n;
    EXPECT_EQ(ByteTableValue(squares, set, std::plus<>{}), sum);
    for (const uint32_t v : {0u, 1u, 0x80000000u, 0xFFFFFFu, 0xFFFFFFFFu, 0x12345678u})
        EXPECT_EQ(BitCount(v), std::popcount(v)) << v;
}

} // namespace
} // namespace kumby::testing
