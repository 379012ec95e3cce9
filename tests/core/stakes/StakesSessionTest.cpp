// The stake commands of a whole session: making, checking, deleting, start-up.

#include "StakesTestSupport.h"

#include "model/Cp1251.h"
#include "stakes/StakesLog.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using namespace testing;

const char* const Twelve = "1;2;3;4;5;6;7;8;9;10;11;12";

class TCountingSink : public IStakeCheckSink {
public:
    void StakeChecked(const TStakeRecord& stake) override { Seen.push_back(stake.DrawNumber); }
    std::vector<int32_t> Seen;
};

class StakesSessionTest : public ::testing::Test {
protected:
    // Cost 50.00; 6 matches pay 200.00, 4 matches pay 10.00.
    void StartWith(const TDrawsArray& draws) {
        WriteBytes(T / "Kumby_12x24.ini",
                   "[STAKES]\r\nCost=50\r\nProfits=2\r\nProfit_0_Overlap=6\r\n"
                   "Profit_0_Profit=200\r\nProfit_1_Overlap=4\r\nProfit_1_Profit=10\r\n");
        T.StartWith(draws);
    }
    bool Add(int64_t draw, const char* numbers = Twelve, int copies = 1, const char* comment = "к") {
        return T.S->StakeAddManual({draw, copies, numbers, comment});
    }
    const TStakeRecord& Rec(int64_t i) { return T.S->Stakes().Read(i); }

    TTestSession T;
};

TEST_F(StakesSessionTest, UncheckedUntilTheDrawExistsThenCheckedOnce) {
    StartWith({PlainDraw(1), PlainDraw(2)});
    TCountingSink sink;
    T.S->AddStakeCheckSink(&sink);

    ASSERT_TRUE(Add(3));
    EXPECT_EQ(T.S->StakesCountPanel(), "Ставок: 1");
    EXPECT_FALSE(Rec(0).Checked);
    EXPECT_EQ(Rec(0).MatchedCount(), -1);
    EXPECT_EQ(Rec(0).Profit, -500000) << "minus the cost";
    EXPECT_TRUE(sink.Seen.empty());

    // Six matches pay 200.00 on a cost of 50.00.
    ASSERT_TRUE(T.S->DrawsAdd(DrawOf(3, {13, 6, 14, 5, 15, 4, 16, 3, 17, 2, 18, 1})));
    EXPECT_EQ(T.S->StakesCheck(), 1);
    EXPECT_TRUE(Rec(0).Checked);
    EXPECT_EQ(Rec(0).MatchedCount(), 6);
    EXPECT_EQ(NumberListToText(Rec(0).Matched, " "), "1 2 3 4 5 6");
    EXPECT_EQ(NumbersToText(Rec(0).DrawResult, 12, ";"), "13;6;14;5;15;4;16;3;17;2;18;1") << "drawn order";
    EXPECT_EQ(MoneyText(Rec(0).Profit), "150.00");

    EXPECT_EQ(T.S->StakesCheck(), 0) << "a checked stake is final";
    EXPECT_EQ(sink.Seen, std::vector<int32_t>{3});

    // Five matches have no prize: minus the cost.
    ASSERT_TRUE(Add(3, "1;2;3;4;5;7;8;9;10;11;12;20"));
    EXPECT_EQ(Rec(1).MatchedCount(), 5);
    EXPECT_EQ(MoneyText(Rec(1).Profit), "-50.00");
    EXPECT_EQ(sink.Seen, (std::vector<int32_t>{3, 3})) << "the manual stake is checked at once";
    T.S->RemoveStakeCheckSink(&sink);
}

TEST_F(StakesSessionTest, RefusedManualStakesLeaveNoRecord) {
    StartWith({PlainDraw(1)});
    EXPECT_FALSE(Add(2, "1;2;3;4;5;6;7;8;9;10;11"));
    EXPECT_FALSE(Add(2, "1;2;3;4;5;6;7;8;9;10;11;25"));
    EXPECT_FALSE(Add(2, "1;2;3;4;5;6;7;8;9;10;11;11"));
    EXPECT_FALSE(Add(2, Twelve, 1, ""));
    EXPECT_FALSE(Add(0));
    EXPECT_FALSE(Add(2, Twelve, 65536));
    const auto errors = T.Ui.Errors();
    ASSERT_EQ(errors.size(), 6u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(errors[i], BadStakeNumbersText);
    EXPECT_EQ(errors[3], NoStakeCommentText);
    EXPECT_EQ(T.S->Stakes().Count(), 0);
}

TEST_F(StakesSessionTest, DeleteLessThanThreeTakesUncheckedStakesAndKeepsSeparators) {
    StartWith({PlainDraw(1), DrawOf(2, {1, 2, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22})});
    ASSERT_TRUE(Add(1, Twelve, 2));                          // 12 matches, separator, 2 matches
    ASSERT_TRUE(Add(2, "1;2;3;13;14;15;16;17;18;19;20;24")); // 10 matches
    ASSERT_TRUE(Add(5));                                     // unchecked
    ASSERT_TRUE(Add(2, "3;4;5;6;7;8;9;10;11;12;23;24", 2));  // separator, 0 matches, separator, unchecked
    std::vector<int32_t> before;
    for (int64_t i = 0; i < T.S->Stakes().Count(); ++i)
        before.push_back(Rec(i).MatchedCount());
    ASSERT_EQ(before, (std::vector<int32_t>{12, -1, 2, 10, -1, -1, 0, -1, -1}));

    EXPECT_EQ(T.S->StakesDeleteByCondition(*ParseStakeFilter("< 3")), 4);
    EXPECT_EQ(DrawColumn(T.S->Stakes()), (std::vector<int32_t>{1, -1, 2, -1, -1}));
    EXPECT_EQ(T.S->StakesCountPanel(), "Ставок: 5");

    // The session goes on with the rewritten file, and it is still the folder's lock.
    ASSERT_TRUE(Add(7));
    EXPECT_EQ(T.S->Stakes().Count(), 6);
    TTestSession second(T, {});
    EXPECT_EQ(second.Start(), TStartResult::Exit);
    EXPECT_EQ(second.Ui.Errors().back(), NoDataLockText);
}

TEST_F(StakesSessionTest, DeleteSelectedAsksFirst) {
    StartWith({PlainDraw(1)});
    for (int d = 2; d <= 5; ++d)
        ASSERT_TRUE(Add(d));
    T.Ui.Answers = {false, true};
    EXPECT_FALSE(T.S->StakesDeleteRange(1, 2));
    EXPECT_EQ(T.S->Stakes().Count(), 4);
    EXPECT_TRUE(T.S->StakesDeleteRange(1, 2));
    EXPECT_EQ(DrawColumn(T.S->Stakes()), (std::vector<int32_t>{2, 5}));
    EXPECT_EQ(T.Ui.Messages.back().Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");

    T.Ui.Answers = {true};
    EXPECT_TRUE(T.S->StakesClear());
    EXPECT_EQ(T.S->Stakes().Count(), 0);
    EXPECT_EQ(std::filesystem::file_size(T / StakesFileName), 0u);
}

TEST_F(StakesSessionTest, StartUpCutsAPartialRecordAndKeepsTheRest) {
    std::string bytes;
    for (int d = 1; d <= 3; ++d)
        bytes += RecordBytes(StakeFor(d));
    WriteBytes(T / StakesFileName, bytes + RecordBytes(StakeFor(4)).substr(0, 50));
    T.StartWith({PlainDraw(1)});
    ASSERT_EQ(T.S->Stakes().Count(), 3);
    EXPECT_EQ(ReadBytes(T / StakesFileName), bytes);
    bool warned = false;
    for (const auto& m : T.Ui.Messages)
        warned |= m.Kind == "warning" &&
                  m.Text.find("неполной записью (50 байт из 328)") != std::string::npos &&
                  m.Text.find("остальные ставки (3) сохранены") != std::string::npos;
    EXPECT_TRUE(warned);
}

TEST_F(StakesSessionTest, StartUpEmptiesAFileOfAnotherVersion) {
    std::string bytes = RecordBytes(StakeFor(1)) + RecordBytes(StakeFor(2));
    bytes[0] = 1;
    WriteBytes(T / StakesFileName, bytes);
    T.StartWith({PlainDraw(1)});
    EXPECT_EQ(T.S->Stakes().Count(), 0);
    EXPECT_EQ(std::filesystem::file_size(T / StakesFileName), 0u);
    ASSERT_FALSE(T.Ui.Messages.empty());
    EXPECT_EQ(T.Ui.Messages.front().Kind, "warning");
    EXPECT_EQ(T.Ui.Messages.front().Text, ObsoleteStakesText);
}

TEST_F(StakesSessionTest, LogsPerNumberOfMatches) {
    StartWith({DrawOf(1, {1, 2, 3, 4, 13, 14, 15, 16, 17, 18, 19, 20})});
    T.S->SetStakesLogEnabled(true);
    ASSERT_TRUE(Add(1, Twelve, 1, "Журнал"));
    const std::string log = Cp1251ToUtf8(ReadBytes(StakesLogPath(T.Path(), 4)));
    EXPECT_NE(log.find(": Тираж № 1. Ставка: \"Журнал\" [1;2;3;4;5;6;7;8;9;10;11;12] {2704156}. Результаты "
                       "тиража: [1;2;3;4;13;14;15;16;17;18;19;20]. Совпадений: 4. Профит: -40.00.\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find(": Тираж"), 19u) << "the time comes first: " << log;
    EXPECT_EQ(log.find("\r\n"), log.size() - 2) << "one line";
    EXPECT_FALSE(std::filesystem::exists(StakesLogPath(T.Path(), 5)));

    EXPECT_TRUE(T.S->StakesLogsDelete());
    EXPECT_FALSE(std::filesystem::exists(StakesLogPath(T.Path(), 4)));
    EXPECT_FALSE(T.S->StakesLogsDelete());
    EXPECT_EQ(T.Ui.Messages.back().Text, "Файлы журналов не найдены!");
}

TEST(StakesLogTest, ALogPastItsLimitStartsAfresh) {
    TTempDir dir;
    WriteBytes(StakesLogPath(dir.Path(), 0), std::string(300, 'x'));
    TStakeRecord stake = StakeFor(1);
    stake.Checked = 1;
    stake.Matched.Count = 0;
    {
        TStakesLog log(dir.Path(), 200); // one line is about 160 bytes
        log.StakeChecked(stake);
        EXPECT_EQ(ReadBytes(StakesLogPath(dir.Path(), 0)).find('x'), std::string::npos);
        const std::size_t one = std::filesystem::file_size(StakesLogPath(dir.Path(), 0));
        log.StakeChecked(stake);
        EXPECT_EQ(std::filesystem::file_size(StakesLogPath(dir.Path(), 0)), 2 * one)
            << "still below the limit";
        log.StakeChecked(stake);
        EXPECT_EQ(std::filesystem::file_size(StakesLogPath(dir.Path(), 0)), one) << "past it: started afresh";
        EXPECT_TRUE(log.Failure().empty());
    }
}

TEST(StakesFilterTest, ConditionsAndTheirTexts) {
    struct TCase {
        const char* Text;
        std::vector<int> Deleted; // of -1..12
    };
    const TCase cases[] = {
        {"=3", {3}}, {"> 10", {11, 12}}, {">=11", {11, 12}}, {"<1", {-1, 0}}, {"<= 0", {-1, 0}},
    };
    for (const TCase& c : cases) {
        const auto filter = ParseStakeFilter(c.Text);
        ASSERT_TRUE(filter) << c.Text;
        std::vector<int> deleted;
        for (int m = -1; m <= 12; ++m)
            if (filter->Deletes(m))
                deleted.push_back(m);
        EXPECT_EQ(deleted, c.Deleted) << c.Text;
        EXPECT_EQ(TStakeFilter::FromPacked(filter->Packed())->Packed(), filter->Packed());
        EXPECT_TRUE(filter->Keeps(SeparatorRecord())) << "separators always stay";
    }
    for (const char* bad : {"", "3", "<13", "<-1", "=>3", "<3x", "!=3"})
        EXPECT_FALSE(ParseStakeFilter(bad)) << bad;
    EXPECT_EQ(TStakeFilter::FromPacked(3 * 256 + 3)->Condition, TStakeCondition::Less);
}

} // namespace
} // namespace kumby
