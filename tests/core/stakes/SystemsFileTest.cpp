// Finding and reading system files, and laying a system onto the list's numbers.

#include "model/Error.h"
#include "stakes/Systems.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::TTempDir;
using testing::WriteBytes;

const TSystemLine FirstTwelvePositions = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

TEST(SystemsFileTest, EveryListedSeparatorAndRunsOfThemSplitPositions) {
    const auto lines = ParseSystemText("1 2*3+4,5-6.7/8:9;10=11\\12\r\n"
                                       "\r\n"
                                       "  1__2||3~~4 ,5;;6 7 8 9 10 11 00016",
                                       16, "f");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], FirstTwelvePositions);
    EXPECT_EQ(lines[1], (TSystemLine{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16}));
}

TEST(SystemsFileTest, LinesThatAreNoCombinationOfPositionsAreRefusedWithFileAndLine) {
    struct TCase {
        const char* Line;
        const char* Problem;
    };
    const TCase cases[] = {
        {"1 2 3 4 5 6 7 8 9 10 11", "11 позиций вместо 12"},
        {"1 2 3 4 5 6 7 8 9 10 11 17", "позиция 17 вне пределов 1..16"},
        {"0 2 3 4 5 6 7 8 9 10 11 12", "позиция 0 вне пределов 1..16"},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13", "больше 12 позиций"},
        {"1 2 3 4 5 6 7 8 9 10 11 11", "позиция 11 повторяется"},
        {"1 2 3 4 5 6 7 8 9 10 11 x", "\"x\" - не целое число"},
        {"1 2 3 4 5 6 7 8 9 10 11 4294967297", "позиция 4294967297 вне пределов 1..16"},
        {"1 2 3 4 5 6 7 8 9 10 11 00017", "позиция 00017 вне пределов 1..16"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Line);
        const std::string text = std::string("1 2 3 4 5 6 7 8 9 10 11 12\n") + c.Line + "\n";
        try {
            ParseSystemText(text, 16, "12-16-1_0001.dat");
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("Файл \"12-16-1_0001.dat\", строка 2: ") + c.Problem + ".");
        }
    }
}

TEST(SystemsFileTest, GarbageNeverCrashesAndIsRefused) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 131 + 7) % 256);
    EXPECT_THROW(ParseSystemText(garbage, 24, "g"), Error);
    EXPECT_TRUE(ParseSystemText("", 16, "e").empty());
}

TEST(SystemsFileTest, TheFirstFileByNameForTheCountOfNumbersIsFound) {
    TTempDir dir;
    for (const char* name : {"12-16-3_0002.dat", "12-16-1_0005.dat", "12-15-1_0001.dat", "12-16-1.dat",
                             "12-16-0_0001.txt", "12-160-1_0001.dat", "x12-16-1_0001.dat"})
        WriteBytes(dir / name, "");
    std::filesystem::create_directory(dir / "12-16-0_0000.dat"); // a folder is no system
    EXPECT_EQ(FindSystemFile(dir.Path(), 16).filename(), "12-16-1_0005.dat");
    EXPECT_EQ(FindSystemFile(dir.Path(), 15).filename(), "12-15-1_0001.dat");
    EXPECT_TRUE(FindSystemFile(dir.Path(), 24).empty());
    EXPECT_TRUE(FindSystemFile(dir / "missing", 16).empty());
}

TEST(SystemsFileTest, PositionsAreLaidOntoTheNumberListInItsOrder) {
    TTempDir dir;
    WriteBytes(dir / "12-16-1_0001.dat", "1 2 3 4 5 6 7 8 9 10 11 12\r\n16 15 14 13 12 11 10 9 8 7 6 5\r\n");
    const TByteArray numbers = {3, 8, 1, 20, 2, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 24};
    const TSystemLoad load = LoadSystem(dir.Path(), numbers);
    ASSERT_TRUE(load.Ok) << load.Message;
    EXPECT_EQ(load.N, 16);
    EXPECT_EQ(load.File, dir / "12-16-1_0001.dat");
    ASSERT_EQ(load.Combinations.size(), 2u);
    EXPECT_EQ(load.Combinations[0], (TCombination{3, 8, 1, 20, 2, 4, 5, 6, 7, 9, 10, 11}));
    EXPECT_EQ(load.Combinations[1], (TCombination{24, 14, 13, 12, 11, 10, 9, 7, 6, 5, 4, 2}));
    EXPECT_EQ(SystemStakeComment(TSystemMode::All, 16, load.File),
              "Системная игра для 16 чисел [вся система]: 12-16-1_0001");
    EXPECT_EQ(SystemStakeComment(TSystemMode::Filter, 16, load.File),
              "Системная игра для 16 чисел [комбинации]: 12-16-1_0001");
}

TEST(SystemsFileTest, MissingEmptyAndDamagedSystemsFailWithTheirMessages) {
    TTempDir dir;
    const TByteArray sixteen = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    TSystemLoad load = LoadSystem(dir.Path(), sixteen);
    EXPECT_FALSE(load.Ok);
    EXPECT_FALSE(load.ReadError);
    EXPECT_EQ(load.Message, "Система для 16 чисел не найдена или не загружена на компьютер!");

    WriteBytes(dir / "12-16-1_0001.dat", "\r\n\r\n");
    load = LoadSystem(dir.Path(), sixteen);
    EXPECT_FALSE(load.Ok);
    EXPECT_TRUE(load.ReadError);

    WriteBytes(dir / "12-16-1_0001.dat", "1 2 3 4 5 6 7 8 9 10 11 12\n1 2 3 4 5 6 7 8 9 10 11 17\n");
    load = LoadSystem(dir.Path(), sixteen);
    EXPECT_FALSE(load.Ok);
    EXPECT_TRUE(load.ReadError);
    EXPECT_TRUE(load.Combinations.empty()); // nothing of a damaged file is staked
    EXPECT_NE(load.Message.find("строка 2"), std::string::npos) << load.Message;
}

TEST(SystemsFileTest, TheFolderIsListedByNameWithWhatTheNamesAndLineCountsTell) {
    TTempDir dir;
    WriteBytes(dir / "12-16-0_1210.dat", "1 2 3 4 5 6 7 8 9 10 11 12\r\n\r\n4 5 6 7 8 9 10 11 12 13 14 15");
    WriteBytes(dir / "12-13-0_0000.dat", "1 2 3 4 5 6 7 8 9 10 11 12\n");
    WriteBytes(dir / "12-16-3_0002.dat",
               "-- \n1;2;3;4;5;6;7;8;9;10;11;12\n2;3;4;5;6;7;8;9;10;11;12;13\n x\n");
    WriteBytes(dir / "12-24-0_12.dat", ""); // a number that is not four digits: no generated name
    for (const char* name : {"12-16-1.dat", "12-12-1_0001.dat", "12-25-1_0001.dat", "notes.txt"})
        WriteBytes(dir / name, "1 2 3 4 5 6 7 8 9 10 11 12\n");
    std::filesystem::create_directory(dir / "12-15-0_0000.dat");

    const std::vector<TSystemFileInfo> list = ListSystemFiles(dir.Path());
    ASSERT_EQ(list.size(), 4u);
    struct TExpected {
        const char* Name;
        int N;
        int64_t Combinations;
        bool Generated, Full;
        int M, T;
    };
    const TExpected expected[] = {{"12-13-0_0000.dat", 13, 1, true, true, 0, 0},
                                  {"12-16-0_1210.dat", 16, 2, true, false, 12, 10},
                                  {"12-16-3_0002.dat", 16, 3, false, false, 0, 0},
                                  {"12-24-0_12.dat", 24, 0, false, false, 0, 0}};
    for (std::size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE(expected[i].Name);
        EXPECT_EQ(list[i].File, dir / expected[i].Name);
        EXPECT_EQ(list[i].N, expected[i].N);
        EXPECT_EQ(list[i].Combinations, expected[i].Combinations);
        EXPECT_EQ(list[i].Generated, expected[i].Generated);
        EXPECT_EQ(list[i].Full, expected[i].Full);
        EXPECT_EQ(list[i].M, expected[i].M);
        EXPECT_EQ(list[i].T, expected[i].T);
    }
    // The game plays the first of them for its n.
    EXPECT_EQ(FindSystemFile(dir.Path(), 16), list[1].File);

    EXPECT_EQ(SystemFileInfo(dir / "notes.txt").N, 0);
    EXPECT_EQ(SystemFileInfo(dir / "notes.txt").Combinations, 1);
    EXPECT_EQ(SystemFileInfo(dir / "12-17-1_0001.dat").Combinations, -1); // missing
    EXPECT_TRUE(ListSystemFiles(dir / "missing").empty());
}

TEST(SystemsFileTest, ListLookupComparesTheAscendingNumbers) {
    const TCombsArray list = {{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1},
                              {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13}};
    const TCombinationLookup lookup(list);
    EXPECT_TRUE(lookup.Contains({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_TRUE(lookup.Contains({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13}));
    EXPECT_FALSE(lookup.Contains({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14}));
}

} // namespace
} // namespace kumby
