// The system game of a whole session over a 16-number working list.

#include "StakesTestSupport.h"

#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kumby {
namespace {

using namespace testing;

// Numbers in order of first appearance: 3 8 1 20 2 4 5 6 7 9 10 11 24 14 13 12.
const TCombsArray SixteenList = {
    {3, 8, 1, 20, 2, 4, 5, 6, 7, 9, 10, 11},    // positions 1..12
    {24, 14, 13, 12, 11, 10, 9, 7, 6, 5, 4, 2}, // positions 5..16
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},    // in no line of the system
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13},
};
const char* const SystemText = "1 2 3 4 5 6 7 8 9 10 11 12\r\n"
                               "5-6-7-8-9-10-11-12-13-14-15-16\r\n"
                               "1;2;3;4;13;14;15;16;5;6;7;8\r\n";
const TCombination Line1 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 20};
const TCombination Line2 = {2, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 24};
const TCombination Line3 = {1, 2, 3, 4, 5, 6, 8, 12, 13, 14, 20, 24};

TCombination NumbersOf(const TStakeRecord& r) {
    TCombination c{};
    std::copy(r.Numbers.Numbers, r.Numbers.Numbers + NumbersInDraw, c.begin());
    return c;
}

class SystemsSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(T / "Kumby_12x24.ini", "[STAKES]\r\nCost=50\r\n");
        T.StartWith({PlainDraw(1), PlainDraw(2)});
        std::filesystem::create_directory(T.S->SystemsDir());
        T.S->WorkingList() = SixteenList;
    }
    void WriteSystem(const std::string& text, const std::string& name = "12-16-1_0007.dat") {
        WriteBytes(T.S->SystemsDir() / name, text);
    }
    // A real stake at the end, as before most games.
    void AddManualStake() { ASSERT_TRUE(T.S->StakeAddManual({3, 1, "1;2;3;4;5;6;7;8;9;10;11;12", "к"})); }

    TTestSession T;
};

TEST_F(SystemsSessionTest, AllModeStakesEveryLineAfterASeparator) {
    WriteSystem(SystemText);
    AddManualStake();
    const auto game = T.S->SystemPrepare(TSystemMode::All);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->DrawNumber, 3);
    EXPECT_EQ(game->Comment, "Системная игра для 16 чисел [вся система]: 12-16-1_0007");
    ASSERT_EQ(T.S->SystemStake(*game, game->DrawNumber, 1, game->Comment), 3);

    TStakesFile& file = T.S->Stakes();
    EXPECT_EQ(DrawColumn(file), (std::vector<int32_t>{3, -1, 3, 3, 3}));
    const TCombination expected[] = {Line1, Line2, Line3};
    for (int i = 0; i < 3; ++i) {
        const TStakeRecord& r = file.Read(2 + i);
        EXPECT_EQ(r.Kind, StakeKindSystem);
        EXPECT_EQ(NumbersOf(r), expected[i]);
        EXPECT_EQ(r.CombsCount, 3); // the system's lines
        EXPECT_EQ(r.MatchedCount(), -1);
        EXPECT_EQ(r.Profit, -500000);
        EXPECT_EQ(r.CommentUtf8(), game->Comment);
    }
    EXPECT_TRUE(T.Ui.Errors().empty());
}

TEST_F(SystemsSessionTest, FilterModeStakesOnlyLinesInTheListWithTheirCopies) {
    WriteSystem(SystemText);
    AddManualStake();
    const auto game = T.S->SystemPrepare(TSystemMode::Filter);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->Comment, "Системная игра для 16 чисел [комбинации]: 12-16-1_0007");
    ASSERT_EQ(T.S->SystemStake(*game, 5, 2, "мой"), 2);

    TStakesFile& file = T.S->Stakes();
    EXPECT_EQ(DrawColumn(file), (std::vector<int32_t>{3, -1, 5, -1, 6, -1, 5, -1, 6}));
    EXPECT_EQ(NumbersOf(file.Read(2)), Line1);
    EXPECT_EQ(NumbersOf(file.Read(4)), Line1);
    EXPECT_EQ(NumbersOf(file.Read(6)), Line2);
    EXPECT_EQ(NumbersOf(file.Read(8)), Line2);
    EXPECT_EQ(file.Read(8).CombsCount, 4); // the working list's count
    EXPECT_EQ(file.Read(8).CommentUtf8(), "мой");
}

TEST_F(SystemsSessionTest, AnEmptyStakesFileGetsNoSeparatorAndStakesAreChecked) {
    WriteSystem(SystemText);
    const auto game = T.S->SystemPrepare(TSystemMode::All);
    ASSERT_TRUE(game);
    ASSERT_EQ(T.S->SystemStake(*game, 2, 1, game->Comment), 3);
    EXPECT_EQ(DrawColumn(T.S->Stakes()), (std::vector<int32_t>{2, 2, 2}));
    EXPECT_GE(T.S->Stakes().Read(0).MatchedCount(), 0); // draw 2 is in the archive
}

TEST_F(SystemsSessionTest, MissingAndDamagedSystemsShowTheirBoxesAndStakeNothing) {
    EXPECT_FALSE(T.S->SystemPrepare(TSystemMode::All));
    EXPECT_EQ(T.Ui.Errors(),
              std::vector<std::string>{"Система для 16 чисел не найдена или не загружена на компьютер!\r\r"
                                       "Перед системной игрой необходимо предварительно загрузить системы на "
                                       "Ваш компьютер через меню \"Системы\" - \"Загрузить\"."});
    T.Ui.Messages.clear();
    WriteSystem("1 2 3 4 5 6 7 8 9 10 11 12\r\n1 2 3 4 5 6 7 8 9 10 11 17\r\n");
    EXPECT_FALSE(T.S->SystemPrepare(TSystemMode::All));
    ASSERT_EQ(T.Ui.Errors().size(), 1u);
    EXPECT_EQ(T.Ui.Errors()[0].rfind("Ошибка загрузки комбинаций системы!\r\rФайл \"", 0), 0u)
        << T.Ui.Errors()[0];
    EXPECT_EQ(T.S->Stakes().Count(), 0);
}

TEST_F(SystemsSessionTest, AnEmptyListHasNoSystemToLookFor) {
    WriteSystem(SystemText);
    T.S->WorkingList().clear();
    EXPECT_FALSE(T.S->CanPlaySystem());
    EXPECT_FALSE(T.S->SystemPrepare(TSystemMode::All));
    EXPECT_EQ(T.Ui.Errors(), std::vector<std::string>{"Список комбинаций пуст."});
}

TEST_F(SystemsSessionTest, AListOfAllNumbersLooksForASystemOverTwentyFour) {
    WriteSystem(SystemText);
    T.S->WorkingList().push_back({13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24});
    EXPECT_FALSE(T.S->SystemPrepare(TSystemMode::All));
    ASSERT_EQ(T.Ui.Errors().size(), 1u);
    EXPECT_EQ(T.Ui.Errors()[0].rfind("Система для 24 чисел", 0), 0u);
}

TEST_F(SystemsSessionTest, NumbersThatAreNoStakeAreRefusedWhole) {
    WriteSystem(SystemText);
    // A list read from a file may hold anything.
    for (TCombination& c : T.S->WorkingList())
        std::replace(c.begin(), c.end(), uint8_t{3}, uint8_t{25});
    const auto game = T.S->SystemPrepare(TSystemMode::All);
    ASSERT_TRUE(game);
    EXPECT_EQ(T.S->SystemStake(*game, 3, 1, game->Comment), -1);
    EXPECT_EQ(T.S->Stakes().Count(), 0);
    EXPECT_EQ(T.Ui.Errors().size(), 1u);
}

TEST_F(SystemsSessionTest, ScriptFormLogsAndHandsOverTheSortedCombinations) {
    WriteSystem(SystemText);
    std::vector<std::string> log;
    std::vector<TCombination> handed;
    auto run = [&](TSystemMode mode) {
        log.clear();
        handed.clear();
        return RunScriptSystemGame(
            T.S->SystemsDir(), T.S->WorkingList(), mode,
            [&](const std::string& line) { log.push_back(line); },
            [&](const TCombination& c) {
                handed.push_back(c);
                return true;
            });
    };
    EXPECT_EQ(run(TSystemMode::All), 3);
    EXPECT_EQ(log, std::vector<std::string>{
                       "{#} Системная игра для 16 чисел [все система]: загружен файл \"12-16-1_0007\""});
    EXPECT_EQ(handed, (std::vector<TCombination>{Line1, Line2, Line3}));

    EXPECT_EQ(run(TSystemMode::Filter), 2);
    EXPECT_EQ(log,
              std::vector<std::string>{
                  "{#} Системная игра для 16 чисел [система * комбинации]: загружен файл \"12-16-1_0007\""});
    EXPECT_EQ(handed, (std::vector<TCombination>{Line1, Line2}));

    std::filesystem::remove(T.S->SystemsDir() / "12-16-1_0007.dat");
    EXPECT_EQ(run(TSystemMode::All), -1);
    EXPECT_EQ(log,
              std::vector<std::string>{"{#} Системная игра для 16 чисел [ОШИБКА]: \"Система для 16 чисел не "
                                       "найдена или не загружена на компьютер!\""});
    EXPECT_TRUE(handed.empty());
}

TEST_F(SystemsSessionTest, AGeneratedSystemIsFoundAndPlayed) {
    const auto file = T.S->SystemGenerate({16, false, 12, 10});
    ASSERT_TRUE(file);
    EXPECT_EQ(file->filename(), "12-16-0_1210.dat");
    const auto check = T.S->SystemCheck(*file, 12);
    ASSERT_TRUE(check);
    EXPECT_GE(check->Worst, 10);
    const auto game = T.S->SystemPrepare(TSystemMode::All);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->System.File, *file);
    const int64_t lines = static_cast<int64_t>(game->System.Combinations.size());
    EXPECT_EQ(T.S->SystemStake(*game, 3, 1, game->Comment), lines);
    // The list's first combination is positions 1..12, the first line of any greedy search.
    const auto filter = T.S->SystemPrepare(TSystemMode::Filter);
    ASSERT_TRUE(filter);
    EXPECT_GE(T.S->SystemStake(*filter, 3, 1, filter->Comment), 1);
}

} // namespace
} // namespace kumby
