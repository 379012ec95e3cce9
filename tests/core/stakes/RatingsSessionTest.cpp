// The ratings in a whole session: fed by the stake check, loaded at start-up, saved
// after every change, rebuilt after the stakes were cleared, damaged files.

#include "StakesTestSupport.h"

#include "io/AtomicFile.h"
#include "stakes/Ratings.h"
#include "stakes/RatingsView.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace kumby {
namespace {

using namespace testing;

constexpr const char* RebuildQuestion = "Пересчитать рейтинг только по текущим ставкам?\r\rНакопленные ранее "
                                        "данные по удаленным ставкам будут потеряны.";

class RatingsSessionTest : public ::testing::Test {
protected:
    // Cost 50.00; 6 matches pay 200.00, 4 matches pay 10.00.
    void Start(const TDrawsArray& draws) {
        WriteBytes(T / "Kumby_12x24.ini",
                   "[STAKES]\r\nCost=50\r\nProfits=2\r\nProfit_0_Overlap=6\r\n"
                   "Profit_0_Profit=200\r\nProfit_1_Overlap=4\r\nProfit_1_Profit=10\r\n");
        T.StartWith(draws);
    }
    // Stakes written straight into the file, checked by the next check.
    void Stake(int32_t draw, const TCombination& numbers, const char* comment) {
        T.S->Stakes().Append(StakeFor(draw, numbers, 500000, comment), 1);
    }
    const TRatingEntry* Find(const std::string& name) {
        for (const auto& e : T.S->Ratings().Items())
            if (e.Name == name)
                return &e;
        return nullptr;
    }
    std::string FileBytes() { return ReadBytes(T / RatingsFileName); }
    std::size_t Events(TSessionEvent e) {
        return static_cast<std::size_t>(std::count(T.Ui.Events.begin(), T.Ui.Events.end(), e));
    }

    TTestSession T;
};

// Draw 1 is 1..12, draw 2 is 13..24.
TDrawsArray TwoDraws() {
    return {PlainDraw(1), DrawOf(2, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24})};
}

TEST_F(RatingsSessionTest, RatingsAfterACheckEqualAHandCount) {
    Start(TwoDraws());
    // Source "Альфа" (in two spellings): 6 and 4 matches on draw 1, 0 on draw 2.
    Stake(1, {1, 2, 3, 4, 5, 6, 13, 14, 15, 16, 17, 18}, "Альфа");
    Stake(1, {1, 2, 3, 4, 13, 14, 15, 16, 17, 18, 19, 20}, "АЛЬФА");
    Stake(2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "альфа");
    // Source "Бета": 12 matches on draw 2, 5 matches on draw 1, and one for a draw to come.
    Stake(2, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}, "Бета");
    Stake(1, {1, 2, 3, 4, 5, 13, 14, 15, 16, 17, 18, 19}, "Бета");
    Stake(3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "Бета");
    T.Ui.Events.clear();

    EXPECT_EQ(T.S->StakesCheck(), 5);

    // By hand: Альфа 3 stakes, 6 + 4 + 0 = 10 matches, profit 150 - 40 - 50 = 60.00;
    // Бета 2 stakes, 12 + 5 = 17 matches, profit -50 - 50 = -100.00.
    ASSERT_EQ(T.S->Ratings().Count(), 2u);
    const TRatingEntry* alpha = Find("Альфа");
    const TRatingEntry* beta = Find("Бета");
    ASSERT_TRUE(alpha && beta) << "the first spelling names the source";
    EXPECT_EQ(alpha->Count, 3);
    EXPECT_EQ(alpha->HitSum, 10);
    EXPECT_EQ(alpha->HitCounts[6], 1);
    EXPECT_EQ(alpha->HitCounts[4], 1);
    EXPECT_EQ(alpha->HitCounts[0], 1);
    EXPECT_EQ(alpha->Profit, 600000);
    EXPECT_EQ(beta->Count, 2);
    EXPECT_EQ(beta->HitSum, 17);
    EXPECT_EQ(beta->HitCounts[12], 1);
    EXPECT_EQ(beta->HitCounts[5], 1);
    EXPECT_EQ(beta->Profit, -1000000);

    // Sorted by the average, descending: Бета 8.5 before Альфа 3.333; and saved.
    EXPECT_EQ(T.S->Ratings().Items()[0].Name, "Бета");
    EXPECT_EQ(FileBytes(), RatingsToBytes(T.S->Ratings().Items()));
    EXPECT_EQ(T.S->RatingsCountPanel(), "Рейтинг: 2");
    EXPECT_EQ(Events(TSessionEvent::RatingsChanged), 1u);

    // Nothing more to check: the ratings are not saved again.
    T.Ui.Events.clear();
    EXPECT_EQ(T.S->StakesCheck(), 0);
    EXPECT_EQ(Events(TSessionEvent::RatingsChanged), 0u);

    // The next start reads them back in the order of the list.
    const std::string saved = FileBytes();
    T.S->Close(false);
    T.Open();
    ASSERT_EQ(T.Start(), TStartResult::Ready);
    EXPECT_EQ(T.S->RatingsCountPanel(), "Рейтинг: 2");
    EXPECT_EQ(RatingsToBytes(T.S->Ratings().Items()), saved);
    EXPECT_TRUE(T.Ui.Errors().empty());
}

TEST_F(RatingsSessionTest, EverySaveReplacesTheFileInsteadOfWritingIntoIt) {
    Start(TwoDraws());
    Stake(1, FirstTwelve(), "a");
    T.S->StakesCheck();
    const std::string first = FileBytes();
    // A second name of the old file keeps the old bytes: the file was replaced.
    std::filesystem::create_hard_link(T / RatingsFileName, T / "old.lrt");
    Stake(2, FirstTwelve(), "b");
    T.S->StakesCheck();
    EXPECT_EQ(ReadBytes(T / "old.lrt"), first);
    EXPECT_EQ(FileBytes().size(), 2 * RatingRecordSize);

    // A save that fails leaves the file as it was.
    const std::string before = FileBytes();
    SetWriteFaultHookForTesting([](std::size_t) { return false; });
    EXPECT_FALSE(T.S->RatingsSort(1, false));
    SetWriteFaultHookForTesting(nullptr);
    EXPECT_EQ(FileBytes(), before);
    ASSERT_FALSE(T.Ui.Errors().empty());
    EXPECT_EQ(T.Ui.Errors().back().rfind("Ошибка записи в файл рейтинга!\r\r", 0), 0u);
}

TEST_F(RatingsSessionTest, RebuildAfterClearingTheStakes) {
    Start(TwoDraws());
    Stake(1, FirstTwelve(), "a");
    Stake(1, FirstTwelve(), "b");
    T.S->StakesCheck();
    ASSERT_EQ(T.S->Ratings().Count(), 2u);

    // Clearing, then refusing the rebuild: the ratings stay.
    T.Ui.Answers = {true, false};
    ASSERT_TRUE(T.S->StakesClear());
    EXPECT_EQ(T.S->Stakes().Count(), 0);
    ASSERT_FALSE(T.Ui.Messages.empty());
    EXPECT_EQ(T.Ui.Messages.back().Kind, "confirm");
    EXPECT_EQ(T.Ui.Messages.back().Text, RebuildQuestion);
    EXPECT_EQ(T.S->Ratings().Count(), 2u);
    EXPECT_EQ(FileBytes().size(), 2 * RatingRecordSize);

    // Rebuilding from the remaining stakes: one stake left after a delete.
    Stake(2, FirstTwelve(), "c");
    Stake(2, FirstTwelve(), "d");
    T.S->StakesCheck();
    ASSERT_EQ(T.S->Ratings().Count(), 4u);
    T.Ui.Answers = {true};
    ASSERT_TRUE(T.S->StakesDeleteRange(0, 0));
    EXPECT_EQ(T.S->Ratings().Count(), 4u) << "deleting stakes alone never changes the ratings";
    T.Ui.Answers = {true};
    ASSERT_TRUE(T.S->RatingsRefresh());
    ASSERT_EQ(T.S->Ratings().Count(), 1u);
    EXPECT_EQ(T.S->Ratings().Items()[0].Name, "d");

    // Clearing with the rebuild: an empty list and an empty file.
    T.Ui.Answers = {true, true};
    ASSERT_TRUE(T.S->StakesClear());
    EXPECT_TRUE(T.S->Ratings().Empty());
    EXPECT_EQ(FileBytes(), "");
    EXPECT_EQ(T.S->RatingsCountPanel(), "Рейтинг: 0");

    // With no ratings there is nothing to lose: no question.
    T.Ui.Messages.clear();
    EXPECT_TRUE(T.S->RatingsRefresh());
    EXPECT_TRUE(T.Ui.Messages.empty());
}

TEST_F(RatingsSessionTest, ADamagedFileIsKeptAsideAndItsSoundRecordsUsed) {
    TRatingEntry good;
    good.Name = "Хороший";
    good.Count = 2;
    good.HitSum = 8;
    good.HitCounts[4] = 2;
    good.Profit = 12345;
    TRatingEntry bad = good;
    bad.Name = "Плохой";
    bad.Count = 7; // counters add up to 2
    const std::string damaged = RatingsToBytes({good, bad}) + "garbage";
    WriteBytes(T / RatingsFileName, damaged);

    Start(TwoDraws());
    ASSERT_EQ(T.S->Ratings().Count(), 1u);
    EXPECT_EQ(T.S->Ratings().Items()[0].Name, "Хороший");
    const auto warning = std::find_if(T.Ui.Messages.begin(), T.Ui.Messages.end(),
                                      [](const auto& m) { return m.Kind == "warning"; });
    ASSERT_NE(warning, T.Ui.Messages.end());
    const std::string copy = (T / "Kumby_12x24.lrt.damaged").string();
    EXPECT_NE(warning->Text.find((T / RatingsFileName).string()), std::string::npos) << warning->Text;
    EXPECT_NE(warning->Text.find("Сохранено записей рейтинга: 1 из 2."), std::string::npos) << warning->Text;
    EXPECT_NE(warning->Text.find(copy), std::string::npos) << warning->Text;
    EXPECT_EQ(ReadBytes(copy), damaged) << "the original bytes survive";
    EXPECT_EQ(FileBytes(), RatingsToBytes({good})) << "the file keeps the sound records";

    // The next start finds nothing to complain about.
    T.S->Close(false);
    T.Ui.Messages.clear();
    T.Open();
    ASSERT_EQ(T.Start(), TStartResult::Ready);
    EXPECT_TRUE(T.Ui.Messages.empty());
    EXPECT_EQ(T.S->Ratings().Count(), 1u);
}

TEST_F(RatingsSessionTest, AnUnreadableFileIsNeverOverwrittenUntilARebuild) {
    // Something that is no regular file stands where the ratings file should be.
    std::filesystem::create_directory(T / RatingsFileName);
    WriteBytes(T / RatingsFileName / "inside", "x");
    Start(TwoDraws());
    ASSERT_FALSE(T.Ui.Errors().empty());
    EXPECT_EQ(T.Ui.Errors()[0].rfind("Ошибка чтения файла рейтинга!\r\r", 0), 0u);
    EXPECT_NE(T.Ui.Errors()[0].find((T / RatingsFileName).string()), std::string::npos);
    EXPECT_TRUE(T.S->RatingsSaveBlocked());

    T.Ui.Messages.clear();
    Stake(1, FirstTwelve(), "a");
    EXPECT_EQ(T.S->StakesCheck(), 1);
    EXPECT_EQ(T.S->Ratings().Count(), 1u) << "kept in memory";
    ASSERT_EQ(T.Ui.Errors().size(), 1u);
    EXPECT_EQ(T.Ui.Errors()[0].rfind("Ошибка записи в файл рейтинга!\r\r", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(T / RatingsFileName));
    EXPECT_EQ(ReadBytes(T / RatingsFileName / "inside"), "x");

    // A rebuild asks even with ratings only in memory, and lets the old file go.
    T.Ui.Messages.clear();
    T.Ui.Answers = {false};
    EXPECT_FALSE(T.S->RatingsRefresh());
    ASSERT_EQ(T.Ui.Messages.size(), 1u);
    EXPECT_EQ(T.Ui.Messages[0].Text, RebuildQuestion);
    EXPECT_TRUE(T.S->RatingsSaveBlocked());
}

TEST_F(RatingsSessionTest, ViewSettingIsStoredAtOnce) {
    Start(TwoDraws());
    EXPECT_EQ(T.S->RatingsEffMode(), 1);
    T.S->SetRatingsEffMode(2);
    EXPECT_EQ(T.S->RatingsEffMode(), 2);
    EXPECT_NE(ReadBytes(T / "Kumby_12x24.frm").find("RatingsEffMode=2"), std::string::npos);
    T.S->View().RatingsEffMode = 9;
    EXPECT_EQ(T.S->RatingsEffMode(), 1) << "a stored value outside 0..2 gives the default view";
}

TEST_F(RatingsSessionTest, AnOrderSetBeforeTheLoadIsTheLoadsOrderAndWritesNothing) {
    TRatingEntry low{"низкий", 1, 0, {1}, 0};
    TRatingEntry high{"высокий", 1, 6, {0, 0, 0, 0, 0, 0, 1}, 0};
    SaveRatingsFile(T / RatingsFileName, {low, high});
    const std::string before = FileBytes();
    WriteArchive(T.Path(), TwoDraws());
    T.Open();
    // A restored list order arrives between creation and start-up.
    EXPECT_TRUE(T.S->RatingsSort(2, false));
    EXPECT_EQ(FileBytes(), before);
    ASSERT_EQ(T.Start(), TStartResult::Ready);
    ASSERT_EQ(T.S->Ratings().Count(), 2u);
    EXPECT_EQ(T.S->Ratings().Items()[0].Name, "низкий");
    EXPECT_EQ(T.S->RatingsSortColumn(), 2);
    EXPECT_FALSE(T.S->RatingsSortDescending());
    T.S->RatingsSort(2, true);
    EXPECT_EQ(LoadRatingsFile(T / RatingsFileName).Items[0].Name, "высокий");
}

TEST_F(RatingsSessionTest, DrawChartsOfTheSelectedSources) {
    Start(TwoDraws());
    Stake(1, FirstTwelve(), "a");
    Stake(1, FirstTwelve(), "b");
    ASSERT_TRUE(T.S->RatingsDrawChart({0}, TRatingsDrawValue::Matches) == std::nullopt);
    EXPECT_EQ(T.Ui.Errors().back(), TooFewDrawsText) << "no checked draws yet";
    Stake(2, {1, 2, 3, 13, 14, 15, 16, 17, 18, 19, 20, 21}, "A");
    T.S->StakesCheck();
    T.S->RatingsSort(0, false);
    const auto series = T.S->RatingsDrawChart({0}, TRatingsDrawValue::Matches);
    ASSERT_TRUE(series.has_value());
    ASSERT_EQ(series->size(), 1u);
    EXPECT_EQ((*series)[0].Name, "a");
    EXPECT_EQ((*series)[0].Points, (std::vector<std::pair<double, double>>{{1, 12}, {2, 9}}));
    const auto profits = T.S->RatingsDrawChart({0}, TRatingsDrawValue::Profit);
    ASSERT_TRUE(profits.has_value());
    EXPECT_EQ((*profits)[0].Points[0].second, -50.0);
}

} // namespace
} // namespace kumby
