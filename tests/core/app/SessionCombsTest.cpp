#include "app/Session.h"

#include "draws/DrawArchive.h"
#include "model/VexoUtils.h"
#include "stats/VexoFilters.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::ReadBytes;
using testing::TTestSession;
using testing::WriteBytes;

bool Contains(const TCombination& c, uint8_t n) {
    return std::find(c.begin(), c.end(), n) != c.end();
}

class SessionCombsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Six draws, each numbers k..k+11 for k = 1..6, numbered 101..106.
        TDrawsArray draws;
        for (int k = 1; k <= 6; ++k) {
            TCombination c{};
            for (int i = 0; i < 12; ++i)
                c[i] = static_cast<uint8_t>(k + 11 - i); // drawn order: descending
            draws.push_back(DrawOf(100 + k, c, ""));
        }
        ASSERT_NO_FATAL_FAILURE(T.StartWith(draws));
        S = T.S.get();
    }

    // Computes NUMS over all draws and filters by the given numbers.
    void FilterNums(const std::vector<int>& numbers, bool exclude) {
        testing::FilterByNumbers(*S, numbers, exclude);
    }

    TTestSession T;
    Session* S = nullptr;
};

TEST_F(SessionCombsTest, StartsWithTheFullSetAndNothingToUndo) {
    EXPECT_EQ(S->WorkingList().size(), FullSetSize);
    EXPECT_EQ(S->CombsCountPanel(), "Комбинаций: 2704156");
    EXPECT_FALSE(S->CanUndo());
    EXPECT_TRUE(S->FilterRows().empty());
}

TEST_F(SessionCombsTest, RemoveThenUndoOnce) {
    FilterNums({1}, true);
    EXPECT_EQ(S->WorkingList().size(), FullSetSize - 1352078u);
    ASSERT_EQ(S->FilterRows().size(), 1u);
    EXPECT_TRUE(S->FilterRows()[0].Exclude);
    EXPECT_EQ(S->FilterRows()[0].Caption, "{ num } Числа тиража [ N ]");
    EXPECT_EQ(S->FilterRows()[0].Values, "1");
    EXPECT_EQ(S->FilterRows()[0].Count, S->WorkingList().size());
    for (const TCombination& c : S->WorkingList())
        ASSERT_FALSE(Contains(c, 1));

    ASSERT_TRUE(S->CanUndo());
    S->CombsUndo();
    EXPECT_EQ(S->WorkingList().size(), FullSetSize);
    EXPECT_TRUE(S->FilterRows().empty());
    EXPECT_FALSE(S->CanUndo()) << "one level only";
}

TEST_F(SessionCombsTest, KeepStepsNarrowAndSelectionsWiden) {
    FilterNums({1}, false);
    FilterNums({2}, false);
    const std::size_t both = S->WorkingList().size();
    for (const TCombination& c : S->WorkingList())
        ASSERT_TRUE(Contains(c, 1) && Contains(c, 2));
    EXPECT_EQ(both, 646646u); // C(22,10)
    EXPECT_EQ(S->FilterRows().size(), 2u);

    S->GenerateList(true, S->GenerateDefaults());
    FilterNums({1, 2}, false);
    EXPECT_EQ(S->WorkingList().size(), FullSetSize - 646646u); // C(22,12) have neither
    EXPECT_EQ(S->FilterRows().back().Values, "1; 2");
}

TEST_F(SessionCombsTest, AllRowsKeepAllOrRemoveAll) {
    std::vector<int> all;
    for (int n = 1; n <= 24; ++n)
        all.push_back(n);
    FilterNums(all, false);
    EXPECT_EQ(S->WorkingList().size(), FullSetSize);
    FilterNums(all, true);
    EXPECT_TRUE(S->WorkingList().empty());
    FilterNums({1}, true);
    EXPECT_EQ(S->FilterRows().size(), 2u) << "a filter on an empty list adds no row";
}

TEST_F(SessionCombsTest, ExcludeLastDrawsAtAnOffset) {
    S->SetDrawsOffset(2);
    S->CombsExclude(3);
    // Offsets 2, 3, 4 are draws 104, 103, 102: numbers 3..14, 2..13, 4..15.
    EXPECT_EQ(S->WorkingList().size(), FullSetSize - 3);
    const auto& list = S->WorkingList();
    auto has = [&](int k) {
        TCombination c{};
        for (int i = 0; i < 12; ++i)
            c[i] = static_cast<uint8_t>(k + i);
        return std::binary_search(list.begin(), list.end(), c);
    };
    EXPECT_FALSE(has(2));
    EXPECT_FALSE(has(3));
    EXPECT_FALSE(has(4));
    EXPECT_TRUE(has(1));
    EXPECT_TRUE(has(5));
    EXPECT_EQ(S->FilterRows().back().Caption, "Последние тиражи");
    EXPECT_EQ(S->FilterRows().back().Values, "3");
    S->CombsExclude(0);
    EXPECT_EQ(S->WorkingList().size(), FullSetSize - 3) << "zero draws remove nothing";
}

TEST_F(SessionCombsTest, PasteCopyOpenAndSave) {
    EXPECT_TRUE(S->CombsPaste("01 02 03 04 05 06 07 08 09 10 11 12\r\n13-14-15-16-17-18-19-20-21-22-23-24"));
    ASSERT_EQ(S->WorkingList().size(), 2u);
    EXPECT_EQ(S->CombsCopyText({1}), "13 14 15 16 17 18 19 20 21 22 23 24\r\n");
    EXPECT_FALSE(S->CanUndo());

    EXPECT_FALSE(S->CombsPaste("1 2 3 4 5 6 7 8 9 10 11 12\r\n\r\n1 2 3 4 5 6 7 8 9 10 11 13\r\n"));
    EXPECT_EQ(T.Ui.Errors().back(), "Некорректная комбинация: \"\"!");
    EXPECT_EQ(S->WorkingList().size(), 2u) << "a failed paste restores the list";

    ASSERT_TRUE(S->CombsSave(T / "two.lcv"));
    EXPECT_EQ(ReadBytes(T / "two.lcv"),
              "1;2;3;4;5;6;7;8;9;10;11;12\r\n13;14;15;16;17;18;19;20;21;22;23;24\r\n");
    S->GenerateList(true, S->GenerateDefaults());
    ASSERT_TRUE(S->CombsOpen(T / "two.lcv"));
    EXPECT_EQ(S->WorkingList().size(), 2u);
    EXPECT_FALSE(S->CanUndo());

    EXPECT_FALSE(S->CombsOpen(T / "missing.lcv"));
    EXPECT_EQ(T.Ui.Errors().back().rfind("Ошибка чтения файла \"", 0), 0u);
    EXPECT_EQ(S->WorkingList().size(), 2u) << "a failed open restores the list";
}

TEST_F(SessionCombsTest, DeleteSelectedDistinctNumbersAndFind) {
    S->CombsPaste(
        "1 2 3 4 5 6 7 8 9 10 11 12\n6 7 8 9 10 11 12 13 14 15 16 17\n1 2 3 4 5 6 7 8 9 10 11 13\n");
    S->CombsDeleteSelected({2, 0});
    ASSERT_EQ(S->WorkingList().size(), 1u);
    EXPECT_EQ(S->FilterRows().back().Caption, "Выделенные комбинации");
    EXPECT_EQ(S->FilterRows().back().Values, "2");

    S->CombsDistinctNumbers();
    EXPECT_EQ(T.Ui.Messages.back().Text, "В текущем списке комбинаций содержится 12 уникальных номеров");
    S->CombsFindInArchive(0);
    EXPECT_EQ(T.Ui.Messages.back().Text,
              "Выделенная комбинация найдена в следующих тиражах:\r\rТираж № 106 от , значения: "
              "17;16;15;14;13;12;11;10;9;8;7;6");
    S->CombsPaste("13 14 15 16 17 18 19 20 21 22 23 24");
    S->CombsFindInArchive(0);
    EXPECT_EQ(T.Ui.Messages.back().Text, "Выделенная комбинация не найдена архиве тиражей!");
}

TEST_F(SessionCombsTest, BufferByKey) {
    S->CombsPaste("1 2 3 4 5 6 7 8 9 10 11 12");
    S->SaveToBuffer(5, 7);
    S->CombsPaste("13 14 15 16 17 18 19 20 21 22 23 24\n1 2 3 4 5 6 7 8 9 10 11 12");
    EXPECT_FALSE(S->RestoreFromBuffer(5, 8));
    ASSERT_TRUE(S->RestoreFromBuffer(5, 7));
    EXPECT_EQ(S->WorkingList().size(), 1u);
    S->InvalidateBuffer();
    EXPECT_FALSE(S->RestoreFromBuffer(5, 7));
}

TEST_F(SessionCombsTest, GenerateWithNewDefaultsWritesThem) {
    TGenerateDefaults g;
    g.Mode = 2;
    g.Parameters = "1;2;3;4;5;6;7;8;9;10;11;12;13";
    ASSERT_TRUE(S->CombsGenerate(g, true));
    EXPECT_EQ(S->WorkingList().size(), 13u);
    EXPECT_FALSE(S->CanUndo()) << "a new list cannot be undone";
    const std::string ini = ReadBytes(T / MainSettingsFileName);
    EXPECT_NE(ini.find("CombsGenerateMode=2"), std::string::npos) << ini;
}

// A method with flag D that matches exactly its reference draw, so the kept list
// shows which draw the filter pass handed it.
class TReferenceProbe : public TCustomValuesStat {
public:
    using TCustomValuesStat::TCustomValuesStat;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    bool Matches(const TCombination& comb, const TStatDrawArray&, int, bool, bool) override {
        TCombination ref = RefDraw.Combination();
        SortCombination(ref);
        return comb == ref;
    }
    static const TStatClassInfo ClassInfo;
};
const TStatClassInfo TReferenceProbe::ClassInfo = {
    "TReferenceProbe", "REFP", "Опорный тираж", nullptr, 0, StatFlagD, false, true, false, true,
    nullptr,           nullptr};

TEST_F(SessionCombsTest, DMethodsTakeTheNewestDrawAtTheOffsetAsReference) {
    TStatDrawArray selected(1);
    auto keepReference = [&](int offset) {
        S->GenerateList(true, S->GenerateDefaults());
        S->SetDrawsOffset(offset);
        S->MakeUndoCopy(true);
        S->ApplyValuesFilter([&] { return std::make_unique<TReferenceProbe>(S->Registry(), 0); }, selected,
                             false, "REFP", "x");
        return S->WorkingList().size() == 1 ? CombToText(S->WorkingList()[0]) : "none";
    };
    // Draw 100+k has the numbers k..k+11; offset 3 of six draws is the fourth newest, 103.
    EXPECT_EQ(keepReference(3), "3;4;5;6;7;8;9;10;11;12;13;14");
    EXPECT_EQ(keepReference(0), "6;7;8;9;10;11;12;13;14;15;16;17");
    // Past the oldest draw the window still ends at the oldest one, never before it.
    EXPECT_EQ(keepReference(40), "1;2;3;4;5;6;7;8;9;10;11;12");
}

// The sums of draws 101..106 are 78, 90, 102, 114, 126 and 138 (12k + 66).
TEST_F(SessionCombsTest, SumMovesFilterFromTheNewestDrawAtTheOffset) {
    auto sumOf = [](const TCombination& c) { return std::accumulate(c.begin(), c.end(), 0); };
    // Computes the method over the window ending at the offset and keeps the rows with those texts.
    auto keep = [&](const char* code, int offset, const std::vector<std::string>& texts) {
        S->GenerateList(true, S->GenerateDefaults());
        S->SetDrawsOffset(offset);
        S->View().DrawsStatLen = 100;
        S->SortStatTable(-1, false);
        S->ComputeTable(static_cast<std::size_t>(S->Registry().FindByCode(code)), true);
        const TStatTable& t = S->LastStatTable();
        std::vector<std::size_t> rows;
        for (std::size_t r = 0; r < t.RowCount(); ++r)
            for (const std::string& text : texts)
                if (t.DisplayText(r, StatColValue) == text)
                    rows.push_back(r);
        EXPECT_EQ(rows.size(), texts.size()) << code;
        S->StatFilter(rows, false);
    };
    std::map<int, std::size_t> combsBySum;
    S->GenerateList(true, S->GenerateDefaults());
    for (const TCombination& c : S->WorkingList())
        ++combsBySum[sumOf(c)];

    // Offset 3: the window ends at draw 103 (sum 102); only draw 103 follows a sum
    // within 14 of it (90), a change of +12. The kept sum is 102 + 12, not 138 + 12.
    keep("SUMV", 3, {"+12"});
    EXPECT_EQ(S->WorkingList().size(), combsBySum[114]);
    for (const TCombination& c : S->WorkingList())
        ASSERT_EQ(sumOf(c), 114);

    // Offset 2: reference draw 104 (sum 114); no draw followed a 114, yet the rows are
    // there to select, and "-" keeps the sums below 114.
    keep("SUMT", 2, {"-"});
    std::size_t below = 0;
    for (const auto& [sum, count] : combsBySum)
        if (sum < 114)
            below += count;
    EXPECT_EQ(S->WorkingList().size(), below);
    for (const TCombination& c : S->WorkingList())
        ASSERT_LT(sumOf(c), 114);
}

} // namespace
} // namespace kumby
