// Script runs through a whole session: the stakes a forecast and a back-test make,
// their log, and what a stop leaves behind.

#include "model/Cp1251.h"
#include "model/VexoUtils.h"
#include "script/ScriptCriteria.h"
#include "script/ScriptVariants.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace kumby {
namespace {

using testing::TTestSession;

constexpr int ArchiveSize = 40;

std::vector<TStakeRecord> AllStakes(Session& s) {
    std::vector<TStakeRecord> out;
    s.Stakes().ForEach(0, [&](int64_t, const TStakeRecord& r) {
        out.push_back(r);
        return true;
    });
    return out;
}

std::vector<TStakeRecord> RealStakes(Session& s) {
    std::vector<TStakeRecord> out;
    for (const TStakeRecord& r : AllStakes(s))
        if (!r.IsSeparator())
            out.push_back(r);
    return out;
}

TCombination StakeNumbers(const TStakeRecord& r) {
    TCombination c{};
    std::copy(r.Numbers.Numbers, r.Numbers.Numbers + NumbersInDraw, c.begin());
    return c;
}

// The log without its time stamps.
std::vector<std::string> LogLines(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> lines;
    std::string line;
    std::istringstream s(Cp1251ToUtf8(text.str()));
    while (std::getline(s, line)) {
        EXPECT_TRUE(line.ends_with("\r"));
        const std::size_t at = line.find("]: ");
        lines.push_back(at == std::string::npos ? line : line.substr(at + 3));
    }
    return lines;
}

class ScriptRunSession : public ::testing::Test {
protected:
    void SetUp() override { T.StartWith(testing::RandomArchive(ArchiveSize, 7, 101)); }
    Session& S() { return *T.S; }
    int Method(const char* code) { return S().Registry().FindByCode(code); }

    // The final list of a line "FULL, NUMS over 10 draws keeping counts >= 2, then SUMS
    // over 20 draws removing depths <= 3", computed by hand at the current offset.
    TCombsArray ByHand() {
        EXPECT_TRUE(S().GenerateList(true, S().GenerateDefaults()));
        struct TStep {
            const char* Code;
            int Draws;
            int Mode;
            int Value;
            bool Keep;
        };
        for (const TStep& step : {TStep{"NUMS", 10, 13, 2, true}, TStep{"SUMS", 20, 3, 3, false}}) {
            if (S().WorkingList().size() <= 1)
                break;
            S().SortStatTable(1, true);
            S().View().DrawsStatLen = step.Draws;
            S().ComputeTable(static_cast<std::size_t>(Method(step.Code)), true);
            TFilterPart part;
            part.LevelMode = static_cast<TLevelMode>(step.Mode);
            part.LevelList = std::to_string(step.Value);
            std::vector<std::size_t> rows;
            const TStatTable& table = S().LastStatTable();
            for (std::size_t r = 0; r < table.RowCount(); ++r)
                if (RowMeetsCriterion(part, RowValues(table, table.DisplayRow(r))))
                    rows.push_back(r);
            S().MakeUndoCopy(false);
            S().ApplyTableFilter(rows, !step.Keep);
            if (S().WorkingList().empty())
                S().RestoreUndoCopy(false);
        }
        return S().WorkingList();
    }

    TTestSession T;
};

const std::string TwoFilterLine =
    "FULL:0#FIRST|TMF1#NUMS:10#CMV:2#SF:1|TMD1#SUMS:20#LLV:3#SF:1| | | | | |два";

TEST_F(ScriptRunSession, ForecastStakesForTheDrawAfterTheNewestVisibleOne) {
    S().SetDrawsOffset(5);
    const TCombsArray expected = ByHand();
    ASSERT_GT(expected.size(), 1u);

    S().ScriptForecast({TwoFilterLine});
    EXPECT_TRUE(T.Ui.Errors().empty());
    const std::vector<TStakeRecord> stakes = RealStakes(S());
    ASSERT_EQ(stakes.size(), 1u);
    EXPECT_EQ(stakes[0].DrawNumber, 101 + ArchiveSize - 5);
    EXPECT_EQ(stakes[0].Kind, StakeKindScript);
    EXPECT_EQ(StakeNumbers(stakes[0]), expected.front());
    EXPECT_EQ(stakes[0].CombsCount, static_cast<int32_t>(expected.size()));
    EXPECT_EQ(stakes[0].CommentUtf8(),
              "01.001: два @ FULL#FIRST + TMF#NUMS:10#CMV:2#SF:1 + TMD#SUMS:20#LLV:3#SF:1");
    EXPECT_EQ(S().DrawsOffset(), 5);
    EXPECT_EQ(S().WorkingList(), expected); // the list as the last variant left it
    EXPECT_FALSE(S().ScriptRunning());
}

TEST_F(ScriptRunSession, BackTestStakesEqualTheFiltersAppliedByHandAtEachOffset) {
    S().SetDrawsOffset(2);
    ASSERT_TRUE(S().ScriptBackTest({TwoFilterLine}, 4));
    EXPECT_TRUE(T.Ui.Errors().empty());
    EXPECT_EQ(S().DrawsOffset(), 2); // back where it started

    const std::vector<TStakeRecord> stakes = RealStakes(S());
    ASSERT_EQ(stakes.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const int offset = 4 - i; // oldest first
        S().SetDrawsOffset(offset);
        const TCombsArray expected = ByHand();
        EXPECT_EQ(stakes[i].DrawNumber, 101 + ArchiveSize - offset) << i;
        EXPECT_EQ(StakeNumbers(stakes[i]), expected.front()) << i;
        // The draw is known: the stake was checked at once and reached the ratings.
        EXPECT_GE(stakes[i].MatchedCount(), 0) << i;
    }
    // A separator before every pass but the first, which starts an empty file.
    const std::vector<TStakeRecord> all = AllStakes(S());
    ASSERT_EQ(all.size(), 7u);
    EXPECT_TRUE(all[1].IsSeparator());
    ASSERT_EQ(S().Ratings().Count(), 1u);
}

TEST_F(ScriptRunSession, ABackTestWithASeedRepeatsItsStakesAndItsLog) {
    const std::string line = "FULL:0#RAND|TMF1#NUMS:5,10#CMV:2#SF:1| | | | | |";
    std::vector<std::vector<std::string>> logs;
    std::vector<std::vector<TCombination>> runs;
    for (int run = 0; run < 2; ++run) {
        S().Stakes().Clear();
        S().SetScriptSeed(42);
        const std::filesystem::path log = T / ("run" + std::to_string(run) + ".txt");
        S().SetScriptLogFile(log);
        ASSERT_TRUE(S().ScriptBackTest({line, "", line}, 3));
        logs.push_back(LogLines(log));
        std::vector<TCombination> numbers;
        for (const TStakeRecord& r : RealStakes(S()))
            numbers.push_back(StakeNumbers(r));
        runs.push_back(numbers);
    }
    EXPECT_EQ(runs[0].size(), 12u); // 3 tests x 2 lines x 2 variants
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_EQ(logs[0], logs[1]);
    ASSERT_FALSE(logs[0].empty());
    EXPECT_EQ(logs[0].front(),
              "### ЗАПУСК СЦЕНАРИЯ "
              "##########################################################################\r");
    EXPECT_EQ(logs[0].back(), "### ЗАВЕРШЕНИЕ СЦЕНАРИЯ "
                              "######################################################################\r");
    const auto has = [&](const std::string& text) {
        return std::find(logs[0].begin(), logs[0].end(), text + "\r") != logs[0].end();
    };
    EXPECT_TRUE(has("=== Выполнение сценария для смещения 000003 "
                    "=================================================="));
    EXPECT_TRUE(has("Создано 2 вариантов фильтров."));
    EXPECT_TRUE(has("Применение набора фильтров 002: \"TMF#NUMS:10#CMV:2#SF:1\""));
    EXPECT_TRUE(has("{*} Добавление ставки, режим: \"Выбрать одну случайную комбинацию\""));
}

TEST_F(ScriptRunSession, ResultModesStopSkipNoneAndNewOnly) {
    // NONE filters without staking; the CURR line after it continues from its list.
    S().ScriptForecast({"FULL:0#NONE|TMF1#NUMS:10#CMV:3#SF:1| | | | | | |", "CURR:0#SKIP", "CURR:0#FIRST"});
    std::vector<TStakeRecord> stakes = RealStakes(S());
    ASSERT_EQ(stakes.size(), 1u);
    EXPECT_EQ(stakes[0].CommentUtf8(), "03.000: @ CURR#FIRST");
    const std::size_t left = S().WorkingList().size();
    EXPECT_GT(left, 1u);

    // STOP with more than one combination: the attention box, and no later line runs.
    T.Ui.Messages.clear();
    S().ScriptForecast({"CURR:0#STOP", "CURR:0#FIRST"});
    ASSERT_EQ(T.Ui.Messages.size(), 1u);
    EXPECT_EQ(T.Ui.Messages[0].Kind, "attention");
    EXPECT_EQ(
        T.Ui.Messages[0].Text,
        Format("Выполнение сценария прервано, т.к. после применения всех фильтров в списке комбинаций их "
               "осталось более одной: %d!\r\rФильтры: 01.000: @ CURR#STOP",
               static_cast<int>(left)));
    EXPECT_EQ(RealStakes(S()).size(), 1u);

    // NEX: the same stake for the same draw is made once, also within one run.
    S().ScriptForecast({"CURR:0#FIRST#NEX", "CURR:0#FIRST#NEX", "CURR:0#LAST"});
    stakes = RealStakes(S());
    ASSERT_EQ(stakes.size(), 2u); // the FIRST stake existed already; LAST is new
}

TEST_F(ScriptRunSession, StopDuringABackTestLeavesTheOffsetWhereItStopped) {
    T.Ui.Answers = {true};
    T.Ui.OnEvent = [&](TSessionEvent e) {
        if (e == TSessionEvent::ScriptRunChanged && S().ScriptRunState().Cycle == 3)
            S().ScriptStop();
    };
    ASSERT_TRUE(S().ScriptBackTest({"FULL:0#FIRST|TMF1#NUMS:10#CMV:2#SF:1| | | | | | |"}, 5));
    T.Ui.OnEvent = nullptr;
    EXPECT_FALSE(S().ScriptRunning());
    // Stopped as test 3 began, before its offset was set.
    EXPECT_EQ(S().DrawsOffset(), 4);
    EXPECT_EQ(RealStakes(S()).size(), 2u);
    // Every stake made is checked, and the program goes on working.
    for (const TStakeRecord& r : RealStakes(S()))
        EXPECT_GE(r.MatchedCount(), 0);
    S().ScriptForecast({"FULL:0#FIRST"});
    EXPECT_EQ(RealStakes(S()).size(), 3u);
}

TEST_F(ScriptRunSession, ALineWithoutFiltersStakesFromItsStartList) {
    S().SetScriptLogFile(T / "log.txt");
    S().ScriptForecast({"FULL:0#LAST| | | | | | | |комментарий"});
    const std::vector<TStakeRecord> stakes = RealStakes(S());
    ASSERT_EQ(stakes.size(), 1u);
    EXPECT_EQ(StakeNumbers(stakes[0]), (TCombination{13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
    const std::vector<std::string> log = LogLines(T / "log.txt");
    EXPECT_NE(std::find(log.begin(), log.end(), "{ERROR} Фильтры не применялись!\r"), log.end());
}

TEST_F(ScriptRunSession, SystemModesStakeTheSystemLaidOntoTheListsNumbers) {
    // Removing one number at a time until at most 13 combinations are left leaves the
    // 13 combinations of 13 numbers: the system over 13 numbers is played.
    std::filesystem::create_directories(T / SystemsFolderName);
    testing::WriteBytes(T / SystemsFolderName / "12-13-1_0001.dat",
                        "1 2 3 4 5 6 7 8 9 10 11 12\r\n2,3,4,5,6,7,8,9,10,11,12,13\r\n");
    S().SetScriptLogFile(T / "log.txt");
    S().ScriptForecast({"FULL:0#SYSA|TSD1#NUMS:10#LNO:#SC:13| | | | | | |система", "CURR:0#SYSC"});
    EXPECT_TRUE(T.Ui.Errors().empty());
    ASSERT_EQ(S().WorkingList().size(), 13u);
    const std::vector<TStakeRecord> stakes = RealStakes(S());
    ASSERT_EQ(stakes.size(), 4u);
    std::set<TCombination> inList(S().WorkingList().begin(), S().WorkingList().end());
    for (const TStakeRecord& r : stakes) {
        EXPECT_TRUE(inList.contains(StakeNumbers(r)));
        EXPECT_EQ(r.Kind, StakeKindScript);
    }
    EXPECT_TRUE(stakes[0].CommentUtf8().starts_with("01.001: система @ FULL#SYSA + TSD#NUMS:10#LNO:#SC:13"));
    const std::vector<std::string> log = LogLines(T / "log.txt");
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "{#} Системная игра для 13 чисел [все система]: загружен файл \"12-13-1_0001\"\r"),
              log.end());
}

TEST_F(ScriptRunSession, ClearStakesKeepsOnlyTheLastStakesWhileTheRatingsGetEveryCheck) {
    ASSERT_TRUE(
        S().ScriptBackTest({"FULL:0#FIRST| | | | | | | |первая", "FULL:0#LAST#CLR| | | | | | | |вторая"}, 1));
    const std::vector<TStakeRecord> stakes = RealStakes(S());
    ASSERT_EQ(stakes.size(), 1u);
    EXPECT_EQ(stakes[0].CommentUtf8(), "02.000: вторая @ FULL#LAST");
    EXPECT_EQ(S().Ratings().Count(), 2u);
}

} // namespace
} // namespace kumby
