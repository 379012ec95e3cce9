#include "combs/FullSet.h"

#include "combs/PrefetchFile.h"
#include "model/Error.h"
#include "model/VexoUtils.h"
#include "stats/CombinationValues.h"
#include "stats/StatList.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kumby {
namespace {

TEST(FullSetTest, EnumeratesEveryAscendingCombinationInLexicographicOrder) {
    TCombsArray list;
    FillFullSet(list);
    ASSERT_EQ(list.size(), FullSetSize);
    EXPECT_EQ(list[0], (TCombination{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(list[1], (TCombination{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13}));
    EXPECT_EQ(list[12], (TCombination{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 24}));
    EXPECT_EQ(list[13], (TCombination{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13}));
    EXPECT_EQ(list.back(), (TCombination{13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
    // The combinations starting with 1 are the first C(23, 11), exactly half.
    EXPECT_EQ(list[FullSetSize / 2 - 1][0], 1);
    EXPECT_EQ(list[FullSetSize / 2], (TCombination{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));

    // Valid, ascending inside and strictly rising overall: with C(24, 12) of them
    // that is the whole full set, each once.
    for (std::size_t i = 0; i < list.size(); ++i) {
        const TCombination& c = list[i];
        ASSERT_GE(c[0], 1) << i;
        ASSERT_LE(c[11], 24) << i;
        ASSERT_TRUE(std::is_sorted(c.begin(), c.end(), std::less_equal<>())) << i;
        if (i > 0) {
            ASSERT_LT(list[i - 1], c) << i;
        }
    }
}

TEST(FullSetTest, SteppingFromACombinationFollowsTheWalk) {
    TCombsArray list;
    FillFullSet(list);
    TCombination comb = FirstFullSetCombination;
    for (std::size_t i = 1; i < list.size(); ++i) {
        ASSERT_TRUE(NextFullSetCombination(comb)) << i;
        ASSERT_EQ(comb, list[i]) << i;
    }
    EXPECT_FALSE(NextFullSetCombination(comb));
    EXPECT_EQ(comb, LastFullSetCombination) << "unchanged after the last";
}

TEST(FullSetTest, FillingReplacesTheListInTheReservedRoom) {
    TCombsArray list;
    list.reserve(FullSetSize);
    list.push_back(LastFullSetCombination);
    const TCombination* room = list.data();
    FillFullSet(list);
    EXPECT_EQ(list.data(), room) << "no reallocation";
    EXPECT_EQ(list.size(), FullSetSize);
    EXPECT_EQ(list.front(), FirstFullSetCombination);

    TCombsArray small; // without room the list gets it once
    FillFullSet(small);
    EXPECT_EQ(small, list);
}

TEST(FullSetTest, WalkStopsWhenTheVisitorSaysSo) {
    std::vector<TCombination> seen;
    ForEachFullSetCombination([&](const TCombination& c) {
        seen.push_back(c);
        return seen.size() < 3;
    });
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2], (TCombination{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14}));
}

// ---- Passes over combinations --------------------------------------------------

class CombinationPassTest : public ::testing::Test {
protected:
    void SetUp() override {
        Registry.Rebuild();
        FillFullSet(FullSet);
    }
    TStatInstanceFactory Factory(std::size_t method) const {
        return [this, method] { return Registry.CreateInstance(method); };
    }

    TDrawsArray Draws;
    TConfigData Config;
    TShreddingSettings Shredding;
    TStatList Registry{Draws, Config, Shredding};
    TCombsArray FullSet;
};

void ExpectSameEntries(const TStatDrawArray& a, const TStatDrawArray& b, const std::string& what) {
    ASSERT_EQ(a.size(), b.size()) << what;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ASSERT_TRUE(a[i].SameKey(b[i])) << what << " entry " << i;
        ASSERT_EQ(a[i].Count, b[i].Count) << what << " entry " << i;
    }
}

// Slicing the pass across threads must not change a single entry, nor its place,
// for any method with a full-set file. The window straddles the middle of the full
// set, where the first number changes, so the second slice meets values the first
// never saw (POS1 2, for one); the session tests check whole files against counts.
TEST_F(CombinationPassTest, SlicedPassesEqualTheSinglePass) {
    const std::span<const TCombination> window(FullSet.data() + FullSetSize / 2 - 150000, 300000);
    int checked = 0;
    for (std::size_t i = 0; i < Registry.Count(); ++i) {
        if (!Registry.Items(i).StatClass->HasPrefetch())
            continue;
        const std::string code = Registry.Items(i).MethodCode();
        const TStatDrawArray single = CollectCombinationValues(window, Factory(i), 1);
        const TStatDrawArray two = CollectCombinationValues(window, Factory(i), 2);
        ExpectSameEntries(single, two, code + " in 2 slices");
        TStatDrawArray sortedSingle = single, sortedTwo = two;
        SortStatEntries(sortedSingle);
        SortStatEntries(sortedTwo);
        EXPECT_EQ(PrefetchFileBytes(sortedSingle), PrefetchFileBytes(sortedTwo)) << code;
        ++checked;
    }
    EXPECT_GE(checked, 20) << "the numbers family at least";

    // Uneven slices, more slices than values and tiny inputs.
    const int pos3 = Registry.FindByCode("POS3");
    ASSERT_GE(pos3, 0);
    const std::span<const TCombination> head(FullSet.data(), 1001);
    const TStatDrawArray single = CollectCombinationValues(head, Factory(pos3), 1);
    for (unsigned parts : {3u, 7u, 5000u})
        ExpectSameEntries(single, CollectCombinationValues(head, Factory(pos3), parts),
                          "POS3 in " + std::to_string(parts) + " slices");
    EXPECT_TRUE(CollectCombinationValues({}, Factory(pos3), 2).empty());
}

TEST_F(CombinationPassTest, AnErrorOfAnySliceIsRaised) {
    struct TFailing : TCustomValuesStat {
        TFailing(const TStatList& l, const TCombination& bad) : TCustomValuesStat(l, 0), Bad(bad) {}
        const TStatClassInfo& Info() const override { return *StatClassTable()[0]; }
        void AddCombination(const TCombination& comb, TStatDrawArray& stat) override {
            if (comb == Bad)
                throw Error("сбой");
            TCustomValuesStat::AddCombination(comb, stat);
        }
        bool Matches(const TCombination&, const TStatDrawArray&, int, bool, bool) override { return false; }
        TCombination Bad;
    };
    const std::span<const TCombination> head(FullSet.data(), 1000);
    for (std::size_t at : {10, 990}) { // in the first slice, in the second
        const auto make = [&]() -> std::unique_ptr<TCustomStat> {
            return std::make_unique<TFailing>(Registry, FullSet[at]);
        };
        EXPECT_THROW(CollectCombinationValues(head, make, 2), Error) << at;
    }
}

} // namespace
} // namespace kumby
