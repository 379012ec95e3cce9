#include "combs/CombList.h"

#include "model/Error.h"
#include "model/VexoUtils.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

#include <random>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::ReadBytes;
using testing::TTempDir;
using testing::WriteBytes;

TCombsArray Generated(int mode, const std::string& own) {
    TCombsArray list;
    list.reserve(FullSetSize);
    GenerateCombinations(list, mode, ParseOwnNumbers(own));
    return list;
}

TEST(CombListGenerate, ModesAndOwnNumbers) {
    EXPECT_EQ(Generated(0, "").size(), FullSetSize);
    EXPECT_EQ(Generated(2, "1;2;3;4;5;6;7;8;9;10;11;12;13").size(), 13u);
    EXPECT_EQ(Generated(2, "1;2;3;4;5;6;7;8;9;10;11").size(), 0u);
    EXPECT_EQ(Generated(1, "").size(), 0u);
    EXPECT_EQ(Generated(3, "").size(), FullSetSize);
    const TCombsArray one = Generated(3, "1,2;3;;4,5,6,7,8,9,10,11,12");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], (TCombination{13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
    // Combinations with 24: C(23,11).
    EXPECT_EQ(Generated(1, " 24 ; 300 ; x").size(), 1352078u) << "out-of-range and non-numbers add nothing";
    EXPECT_EQ(Generated(9, "").size(), FullSetSize) << "an unknown mode generates everything";
}

TEST(CombListGenerate, NeverReallocatesAReservedList) {
    TCombsArray list;
    list.reserve(FullSetSize);
    const TCombination* before = list.data();
    GenerateCombinations(list, 0, {});
    EXPECT_EQ(list.data(), before);
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
}

TEST(CombListFile, ReadsWhatItCanAndKeepsItAsWritten) {
    const std::string text = "1;2;3;4;5;6;7;8;9;10;11;12\r\n"
                             "1;2;3;4;5;6;7;8;9;10;11\r\n" // 11 words: skipped
                             "\r\n"
                             "12,11;;10;9;8;7;6;5;4;3;2;99\n" // kept as written
                             "1 2 3 4 5 6 7 8 9 10 11 12\r\n" // one word: skipped
                             "x;2;3;4;5;6;7;8;9;10;11;300";   // no line break; 0 for x and 300
    TCombsArray list;
    EXPECT_EQ(ParseListText(text, list), 3u);
    EXPECT_EQ(list[1], (TCombination{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 99}));
    EXPECT_EQ(list[2][0], 0);
    EXPECT_EQ(list[2][11], 0);
}

TEST(CombListFile, SaveThenLoadRoundTrips) {
    TTempDir dir;
    const TCombsArray list = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                              {24, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1}};
    SaveListFile(dir / "a.lcv", list);
    EXPECT_EQ(ReadBytes(dir / "a.lcv"), "1;2;3;4;5;6;7;8;9;10;11;12\r\n24;2;3;4;5;6;7;8;9;10;11;1\r\n");
    TCombsArray back;
    LoadListFile(dir / "a.lcv", back);
    EXPECT_EQ(back, list);
    EXPECT_THROW(LoadListFile(dir / "none.lcv", back), Error);
}

TEST(CombListClipboard, CopyAndPasteLines) {
    const TCombsArray list = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                              {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}};
    EXPECT_EQ(CombsToClipboardText(list, {0}), "01 02 03 04 05 06 07 08 09 10 11 12\r\n");
    EXPECT_EQ(CombsToClipboardText(list, {1, 0}),
              "13 14 15 16 17 18 19 20 21 22 23 24\r\n01 02 03 04 05 06 07 08 09 10 11 12\r\n");

    using TLines = std::vector<std::string_view>;
    EXPECT_EQ(SplitPastedLines("a\r\nb"), (TLines{"a", "b"}));
    EXPECT_EQ(SplitPastedLines("a\r\nb\r\n"), (TLines{"a", "b"})) << "a final break adds no line";
    EXPECT_EQ(SplitPastedLines("a\r\rb\n"), (TLines{"a", "", "b"}));
    EXPECT_EQ(SplitPastedLines(""), TLines{});
}

TEST(CombListExclude, RemovesExactlyTheDrawnCombinationsOfTheRange) {
    TCombsArray full;
    full.reserve(FullSetSize);
    GenerateCombinations(full, 0, {});
    std::mt19937 rng(3);
    TDrawsArray draws;
    for (int i = 0; i < 40; ++i) {
        TCombination c = full[rng() % full.size()];
        std::shuffle(c.begin(), c.end(), rng); // drawn order does not matter
        draws.push_back(DrawOf(i + 1, c));
    }
    TCombsArray kept;
    ASSERT_TRUE(RemoveDrawnCombinations(full, kept, draws, 10, 19));
    EXPECT_EQ(kept.size(), full.size() - 10);
    for (int i = 10; i <= 19; ++i) {
        TCombination c = draws[i].Combination();
        SortCombination(c);
        EXPECT_FALSE(std::binary_search(kept.begin(), kept.end(), c));
    }
    TCombination outside = draws[25].Combination();
    SortCombination(outside);
    EXPECT_TRUE(std::binary_search(kept.begin(), kept.end(), outside));

    ASSERT_TRUE(RemoveDrawnCombinations(full, kept, draws, 5, 4));
    EXPECT_EQ(kept.size(), full.size()) << "an empty range keeps everything";
}

TEST(CombListExclude, IrregularDrawsAndCombinationsFollowThePairCount) {
    // With repeated numbers, 12 matching pairs (equal numbers, position against
    // position, counted by hand below) need not mean the same set.
    const TDrawsArray draws = {DrawOf(1, {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}),
                               DrawOf(2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 25})};
    struct TCase {
        TCombination Comb;
        bool Kept;
    };
    const TCase cases[] = {
        // Draw 1: 1 twice against one 1, 2..11 once: 12 pairs.
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, false},
        // Equal to draw 2.
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 25}, false},
        // Draw 1: 1 twice against one 1, 2 once against two 2s, 3..10: 12 pairs.
        {{1, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}, false},
        // Draw 1: two 1s against two 1s, 2..10: 13 pairs; draw 2: two 1s against one, 2..10: 11.
        {{1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}, true},
        // Draw 1: 1 twice, 2..10: 11 pairs; draw 2: 1..10 and 25: 11 pairs.
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 25}, true},
        {{13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}, true},
    };
    for (const TCase& c : cases) {
        TCombsArray kept;
        RemoveDrawnCombinations({c.Comb}, kept, draws, 0, 1);
        EXPECT_EQ(kept.size() == 1, c.Kept) << CombToText(c.Comb);
    }
}

TEST(CombListExclude, ProgressCanStopThePass) {
    TCombsArray from(1000, TCombination{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    TCombsArray to;
    std::vector<std::size_t> reports;
    EXPECT_FALSE(RemoveDrawnCombinations(from, to, {}, 0, -1, [&](std::size_t done) {
        reports.push_back(done);
        return done < 500;
    }));
    EXPECT_EQ(reports.front(), 10u);
    EXPECT_EQ(to.size(), 500u);
}

TEST(CombListExclude, ProgressOfALongListCountsEverySliceAndStopEndsThemAll) {
    TCombsArray full;
    full.reserve(FullSetSize);
    GenerateCombinations(full, 0, {});
    TCombsArray to;
    std::vector<std::size_t> reports;
    ASSERT_TRUE(RemoveDrawnCombinations(full, to, {}, 0, -1, [&](std::size_t done) {
        reports.push_back(done);
        return true;
    }));
    EXPECT_EQ(to.size(), full.size());
    ASSERT_GE(reports.size(), 50u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_LE(reports.back(), full.size());
    EXPECT_GT(reports.back(), full.size() * 4 / 10) << "the other slices' work counts too";

    EXPECT_FALSE(RemoveDrawnCombinations(full, to, {}, 0, -1, [](std::size_t) { return false; }));
    // The calling thread stops at its first report; another slice at its next check.
    EXPECT_LT(to.size(), full.size() * 3 / 4);
}

TEST(CombListFind, AtMost26LinesNewestFirst) {
    TDrawsArray draws;
    const TCombination c = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (int i = 1; i <= 30; ++i)
        draws.push_back(DrawOf(i, i % 2 ? c : TCombination{24, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    for (int i = 31; i <= 60; ++i)
        draws.push_back(DrawOf(i, {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    const auto lines = FindInArchive(draws, c);
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[0].rfind("Тираж № 60 от", 0), 0u) << lines[0];
    EXPECT_TRUE(FindInArchive(draws, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}).empty());
}

} // namespace
} // namespace kumby
