// Tuples over every choice of positions whose items never fall along ascending
// numbers (the numbers themselves, channels, matrix rows), matched against few and
// many selected tuples at once.

#include "StatTestSupport.h"

#include "stats/StatTable.h"
#include "stats/TupleStat.h"

#include <algorithm>
#include <set>

namespace kumby::testing {
namespace {

class TupleMatchesTest : public TFamilyTest {
protected:
    void SetWidthAndCols(int32_t width, int32_t cols) {
        F.Config.ChannelSize = width;
        F.Config.MatrixCols = cols;
        F.List.Rebuild();
    }
    // The keys of the values the numbers give as a draw.
    std::set<uint64_t> OwnKeys(const char* code, const TCombination& numbers) {
        std::set<uint64_t> keys;
        for (const TStatEntry& e : OneDraw(code, numbers))
            keys.insert(StatKey(e));
        return keys;
    }
};

const TCombination Low = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
// Channels and rows of four: 1 1 1 2 2 3 3 4 4 5 5 6.
const TCombination Ends = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 24};
const TCombination EndsFalling = {24, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2, 1};

std::vector<TStatEntry> AllPairsOfNumbers() {
    std::vector<TStatEntry> pairs;
    for (uint16_t a = 1; a <= MaxNumber; ++a)
        for (uint16_t b = a + 1; b <= MaxNumber; ++b)
            pairs.push_back(KeyEntry(uint64_t{a} | uint64_t{b} << 16));
    return pairs;
}

// A hundred pairs in falling order (none of them a pair of ascending numbers),
// then `last`.
std::vector<TStatEntry> FallingPairsThen(TStatEntry last) {
    std::vector<TStatEntry> pairs;
    for (uint16_t a = MaxNumber; pairs.size() < 100; --a)
        for (uint16_t b = 1; b < a && pairs.size() < 100; ++b)
            pairs.push_back(KeyEntry(uint64_t{a} | uint64_t{b} << 16));
    pairs.push_back(last);
    return pairs;
}

TEST_F(TupleMatchesTest, EdgesOfTheSelection) {
    struct TCase {
        const char* Code;
        std::vector<TStatEntry> Selected;
        TCombination Comb;
        bool Match;
    };
    const TCase cases[] = {
        {"KNM2", {Keys(1, 24)}, Ends, true},
        {"KNM2", {Keys(24, 1)}, Ends, false},       // drawn order on ascending numbers
        {"KNM2", {Keys(24, 1)}, EndsFalling, true}, // and on numbers in drawn order
        {"KNM2", {Keys(1, 24)}, EndsFalling, false},
        {"KNM2", {Keys(5, 5)}, Low, false}, // a number twice
        {"KNM3", {Keys(0, 1, 24)}, Ends, false},
        {"KNM4", {Keys(1, 2, 20, 24)}, Ends, true},
        {"KNM4", {Keys(1, 2, 22, 24)}, Ends, false},
        {"KNM4", {Keys(1, 2, 20, 24)}, EndsFalling, false},
        {"KNM2", AllPairsOfNumbers(), Low, true},              // every combination matches
        {"KNM2", AllPairsOfNumbers(), EndsFalling, false},     // drawn order gives falling pairs only
        {"KNM2", FallingPairsThen(Keys(23, 24)), Ends, false}, // nothing matches
        {"KNM2", FallingPairsThen(Keys(20, 24)), Ends, true},  // the one past 64 tuples
        {"KCM4", {Keys(1, 1, 1, 1)}, Low, true},
        {"KCM4", {Keys(1, 1, 1, 1)}, Ends, false}, // channel 1 three times only
        {"KCM2", {Keys(3, 3)}, Low, true},         // four times, two needed
        {"KCM3", {Keys(1, 1, 6)}, Ends, true},
        {"KCM3", {Keys(1, 6, 6)}, Ends, false},
        {"KCM2", {Keys(6, 6)}, Ends, false}, // channel 6 once
        {"KCM2", {Keys(6, 6), Keys(1, 5)}, Ends, true},
        {"KCM2", {Keys(6, 1)}, Ends, false},
        {"KCM2", {Keys(6, 1)}, EndsFalling, true},
        {"KRM2", {Keys(1, 6)}, Ends, true},
        {"KRM4", {Keys(1, 1, 2, 6)}, Ends, true},
        {"KRM4", {Keys(1, 1, 1, 2)}, Ends, true},
        {"KRM4", {Keys(1, 2, 2, 2)}, Ends, false},
        {"KRM3", {Keys(1, 1, 1), Keys(7, 0, 0)}, Ends, true},
        {"KRM3", {Keys(1, 1, 1, 1)}, Ends, false}, // a word past the tuple
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " " + CombToText(c.Comb) + " of " +
                     std::to_string(c.Selected.size()));
        auto method = F.Create(c.Code);
        const TStatDrawArray selected(c.Selected.begin(), c.Selected.end());
        EXPECT_EQ(method->Matches(c.Comb, selected, F.LastIdx(), false, false), c.Match);
    }
}

// One instance per method sees selections of growing size in turn, each held
// against the values the same numbers give as a draw: the combination matches
// exactly when one of them is selected.
TEST_F(TupleMatchesTest, FewAndManySelectedTuplesAgreeWithTheValuesOfTheSameNumbers) {
    std::mt19937 rng(9127);
    int matched = 0;
    int missed = 0;
    struct TSetting {
        int32_t Width, Cols;
    };
    for (const TSetting s : {TSetting{4, 4}, TSetting{3, 5}, TSetting{1, 2}, TSetting{7, 24}}) {
        SetWidthAndCols(s.Width, s.Cols);
        for (const char* code : {"KNM2", "KNM3", "KNM4", "KCM2", "KCM3", "KCM4", "KRM2", "KRM3", "KRM4"}) {
            SCOPED_TRACE(std::string(code) + " width " + std::to_string(s.Width) + " cols " +
                         std::to_string(s.Cols));
            const int k = code[3] - '0';
            const int items =
                code[1] == 'N' ? MaxNumber : GroupOf(MaxNumber, code[1] == 'C' ? s.Width : s.Cols);
            std::vector<TCombination> combs;
            std::vector<std::set<uint64_t>> own;
            for (int i = 0; i < 30; ++i) {
                combs.push_back(RandomCombination(rng));
                std::sort(combs.back().begin(), combs.back().end());
                own.push_back(OwnKeys(code, combs.back()));
            }
            auto method = F.Create(code);
            for (const std::size_t size : {1u, 3u, 70u, 200u}) {
                // Values of the combinations themselves and made-up tuples, most
                // of them rising, some with an item no combination has.
                TStatDrawArray selected;
                while (selected.size() < size) {
                    const std::set<uint64_t>& values = own[rng() % own.size()];
                    if (rng() % 3 == 0) {
                        selected.push_back(KeyEntry(*std::next(values.begin(), rng() % values.size())));
                        continue;
                    }
                    std::vector<uint16_t> keys;
                    for (int i = 0; i < k; ++i)
                        keys.push_back(static_cast<uint16_t>(rng() % (items + 2)));
                    if (rng() % 5 != 0)
                        std::sort(keys.begin(), keys.end());
                    keys.resize(4);
                    selected.push_back(Keys(keys[0], keys[1], keys[2], keys[3]));
                }
                for (std::size_t i = 0; i < combs.size(); ++i) {
                    bool expected = false;
                    for (const TStatEntry& e : selected)
                        expected = expected || own[i].count(StatKey(e)) != 0;
                    EXPECT_EQ(method->Matches(combs[i], selected, F.LastIdx(), false, false), expected)
                        << i << " of " << size;
                    (expected ? matched : missed) += 1;
                }
            }
        }
    }
    EXPECT_GE(matched, 1000);
    EXPECT_GE(missed, 1000);
}

// Tables sort tuple captions by a key instead of their texts: the keys order exactly
// as the texts compare ("10:2" before "1:2", "2:1" before "2:10"), and an item too
// large for the key gives none.
TEST(TupleCaptionOrderTest, KeysOrderAsTheCaptionTexts) {
    const uint16_t items[] = {0, 1, 2, 9, 10, 11, 19, 20, 24, 25, 99, 100, 101, 199, 200, 255};
    for (const int k : {2, 3}) {
        std::vector<std::pair<uint64_t, std::string>> captions;
        for (const uint16_t a : items)
            for (const uint16_t b : items)
                for (const uint16_t c : items) {
                    const uint16_t keys[3] = {a, b, c};
                    std::string text = std::to_string(a) + ":" + std::to_string(b);
                    if (k == 3)
                        text += ":" + std::to_string(c);
                    else if (c != 0)
                        continue;
                    uint64_t key = 0;
                    ASSERT_TRUE(TupleCaptionOrder(keys, k, key)) << text;
                    captions.emplace_back(key, text);
                }
        std::sort(captions.begin(), captions.end());
        for (std::size_t i = 1; i < captions.size(); ++i)
            ASSERT_LT(CompareStatTexts(captions[i - 1].second, captions[i].second), 0)
                << captions[i - 1].second << " then " << captions[i].second;
    }
    const uint16_t tooLarge[2] = {7, 256};
    uint64_t key = 0;
    EXPECT_FALSE(TupleCaptionOrder(tooLarge, 2, key));
}

} // namespace
} // namespace kumby::testing
