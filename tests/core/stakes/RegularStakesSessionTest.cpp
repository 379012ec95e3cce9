#include "StakesTestSupport.h"

#include "app/ViewState.h"
#include "draws/DrawArchive.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TTestSession;
using testing::WriteBytes;

constexpr TCombination Low = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

// Twelve draws 1..12, each with different numbers.
TDrawsArray Archive() {
    TDrawsArray draws;
    for (int i = 1; i <= 12; ++i)
        draws.push_back(testing::SpreadDraw(i, i));
    return draws;
}

TRegularInput Input(const char* comment, bool useLastDraw, const char* comb, int step) {
    return {comment, useLastDraw, comb, step};
}

std::vector<TStakeRecord> AllStakes(const TStakesFile& file) {
    std::vector<TStakeRecord> out;
    file.ForEach(0, [&](int64_t, const TStakeRecord& r) {
        out.push_back(r);
        return true;
    });
    return out;
}

class RegularStakesSessionTest : public ::testing::Test {
protected:
    void SetUp() override { T.StartWith(Archive()); }
    Session& S() { return *T.S; }
    TTestSession T;
};

TEST_F(RegularStakesSessionTest, BackTestOverTenDrawsMakesTenShiftedStakes) {
    ASSERT_EQ(S().RegularsAdd(Input("Свой", false, "1;2;3;4;5;6;7;8;9;10;11;12", 1), {0}), 1);
    ASSERT_EQ(S().RegularsAdd(Input("Тираж", true, "", -1), {}), 1);
    S().SetDrawsOffset(1);

    EXPECT_EQ(S().RegularsTest({0, 1}, 10), 20);
    EXPECT_EQ(S().DrawsOffset(), 1); // restored
    const auto stakes = AllStakes(S().Stakes());
    ASSERT_EQ(stakes.size(), 20u);
    TCombination own = Low;
    for (int t = 0; t < 10; ++t) {
        const int offset = 10 - t;
        const int32_t draw = static_cast<int32_t>(NextDrawNumber(S().Draws(), offset));
        own = ShiftCombination(own, 1);
        const TStakeRecord& a = stakes[static_cast<std::size_t>(2 * t)];
        const TStakeRecord& b = stakes[static_cast<std::size_t>(2 * t + 1)];
        EXPECT_EQ(a.Kind, StakeKindRegular);
        EXPECT_EQ(a.DrawNumber, draw);
        EXPECT_EQ(a.CommentUtf8(), "Свой");
        EXPECT_TRUE(std::equal(own.begin(), own.end(), a.Numbers.Numbers)) << t;
        // The draw last at that offset, moved one down.
        TCombination last{};
        DrawNumbersAtOffset(S().Draws(), offset, last);
        const TCombination shifted = ShiftCombination(last, -1);
        EXPECT_EQ(b.DrawNumber, draw);
        EXPECT_TRUE(std::equal(shifted.begin(), shifted.end(), b.Numbers.Numbers)) << t;
        // Every draw is in the archive: the test's stakes are checked at once.
        EXPECT_TRUE(a.Checked && b.Checked);
    }
    EXPECT_EQ(S().Regulars()[0].StakeCount, 10);
    EXPECT_EQ(S().Regulars()[0].CurrentComb, own);
    EXPECT_EQ(S().Regulars()[1].StakeCount, 10);
    EXPECT_EQ(S().Ratings().Count(), 2u);

    // The advance is in the file.
    const TRegularsLoad load = LoadRegularsFile(T / RegularsFileName);
    ASSERT_EQ(load.Items.size(), 2u);
    EXPECT_EQ(load.Items[0].CurrentComb, own);
    EXPECT_EQ(load.Items[0].StartComb, Low);
}

TEST_F(RegularStakesSessionTest, StopEndsTheTestAndStillSavesAndRestores) {
    ASSERT_EQ(S().RegularsAdd(Input("Свой", false, "1;2;3;4;5;6;7;8;9;10;11;12", 2), {0}), 1);
    T.Ui.StopAfter = 3;
    EXPECT_EQ(S().RegularsTest({0}, 10), 3);
    EXPECT_EQ(S().DrawsOffset(), 0);
    EXPECT_EQ(LoadRegularsFile(T / RegularsFileName).Items[0].StakeCount, 3);
}

TEST_F(RegularStakesSessionTest, StakeByRegularOnlyOnOk) {
    ASSERT_EQ(S().RegularsAdd(Input("Свой", false, "13;14;15;16;17;18;19;20;21;22;23;24", 1), {0}), 1);
    auto prepared = S().RegularStakePrepare(0);
    ASSERT_TRUE(prepared);
    EXPECT_EQ(prepared->Stake.Kind, StakeKindRegular);
    EXPECT_EQ(prepared->Stake.DrawNumber, 13);
    EXPECT_EQ(prepared->Stake.CommentUtf8(), "Свой");
    // Cancel: nothing changes.
    EXPECT_EQ(S().Regulars()[0].StakeCount, 0);
    EXPECT_EQ(S().Stakes().Count(), 0);

    Session::TStakeInput input{13, 2, CombToText(prepared->Advanced.CurrentComb), "Свой"};
    ASSERT_TRUE(S().RegularStakeCommit(0, prepared->Advanced, input));
    EXPECT_EQ(S().Regulars()[0].StakeCount, 1);
    EXPECT_EQ(S().Regulars()[0].CurrentComb, (TCombination{1, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
    const auto stakes = AllStakes(S().Stakes());
    ASSERT_EQ(stakes.size(), 3u); // stake, separator, stake for 14
    EXPECT_EQ(stakes[0].Kind, StakeKindRegular);
    EXPECT_EQ(stakes[2].DrawNumber, 14);
    EXPECT_EQ(LoadRegularsFile(T / RegularsFileName).Items[0].StakeCount, 1);
}

TEST_F(RegularStakesSessionTest, AddForSelectedCombinationsAndDelete) {
    ASSERT_GE(S().WorkingList().size(), 10u);
    EXPECT_EQ(S().RegularsAdd(Input("Регулярная ставка", false, SelectedCombsText, 1), {0, 4, 9}), 3);
    ASSERT_EQ(S().Regulars().size(), 3u);
    EXPECT_EQ(S().Regulars()[1].CommentUtf8(), "Регулярная ставка (5)");
    EXPECT_EQ(S().Regulars()[1].StartComb, S().WorkingList()[4]);
    EXPECT_EQ(S().Regulars()[2].CommentUtf8(), "Регулярная ставка (10)");

    // A comment that is taken, in other letter case.
    EXPECT_EQ(S().RegularsAdd(Input("РЕГУЛЯРНАЯ СТАВКА (5)", true, "", 1), {}), 0);
    EXPECT_EQ(T.Ui.Errors().back(),
              "Запись с таким комментарией уже присутствует в списке!\rВыберите другой комментарий.");

    T.Ui.Answers = {true};
    ASSERT_TRUE(S().RegularsDelete({2, 0}));
    EXPECT_EQ(T.Ui.Messages.back().Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
    ASSERT_EQ(S().Regulars().size(), 1u);
    EXPECT_EQ(LoadRegularsFile(T / RegularsFileName).Items[0].CommentUtf8(), "Регулярная ставка (5)");
}

TEST(RegularStakesTabTest, HiddenTabNeitherReadsNorWrites) {
    TTestSession t;
    const std::string garbage = "not a regulars file";
    WriteBytes(t / RegularsFileName, garbage);
    WriteBytes(t / ViewStateFileName, "[TFormMain]\r\nTabTables=0\r\nFirstRun=0\r\n");
    t.StartWith(Archive());
    EXPECT_TRUE(t.S->Regulars().empty());
    EXPECT_TRUE(t.Ui.Messages.empty());
    EXPECT_FALSE(t.S->CanEditRegulars());
    EXPECT_EQ(t.S->RegularsAdd(Input("Свой", true, "", 1), {}), 0);
    EXPECT_EQ(ReadBytes(t / RegularsFileName), garbage);

    // Shown: read (the damaged file is copied aside, what is sound kept).
    t.S->SetTabTables(true);
    ASSERT_FALSE(t.Ui.Messages.empty());
    EXPECT_EQ(t.Ui.Messages.back().Kind, "warning");
    EXPECT_NE(t.Ui.Messages.back().Text.find(RegularsFileName), std::string::npos);
    EXPECT_EQ(ReadBytes(t / "Kumby_12x24.ltb.damaged"), garbage);
    EXPECT_EQ(ReadBytes(t / RegularsFileName), "");
    ASSERT_EQ(t.S->RegularsAdd(Input("Свой", true, "", 1), {}), 1);

    // Hidden again: dropped from memory, the file stays.
    t.S->SetTabTables(false);
    EXPECT_TRUE(t.S->Regulars().empty());
    EXPECT_EQ(ReadBytes(t / RegularsFileName).size(), RegularRecordSize);
    EXPECT_NE(ReadBytes(t / ViewStateFileName).find("TabTables=0"), std::string::npos);
}

TEST(RegularStakesTabTest, DamagedFileAtStartKeepsSoundRecords) {
    TTestSession t;
    TRegularRecord good;
    good.SetCommentUtf8("Целый");
    good.StartComb = good.CurrentComb = Low;
    TRegularRecord bad = good;
    bad.SetCommentUtf8("Битый");
    bad.Step = 100;
    const std::string bytes = RegularsToBytes({good, bad}) + "tail";
    WriteBytes(t / RegularsFileName, bytes);
    t.StartWith(Archive());
    ASSERT_EQ(t.S->Regulars().size(), 1u);
    EXPECT_EQ(t.S->Regulars()[0].CommentUtf8(), "Целый");
    EXPECT_EQ(ReadBytes(t / "Kumby_12x24.ltb.damaged"), bytes);
    EXPECT_EQ(ReadBytes(t / RegularsFileName), RegularsToBytes({good}));
}

} // namespace
} // namespace kumby
