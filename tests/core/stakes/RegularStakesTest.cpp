#include "stakes/RegularStakes.h"

#include "model/Cp1251.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kumby {
namespace {

using testing::TTempDir;

TRegularRecord Regular(const char* comment, const TCombination& comb, int step, bool useLastDraw = false) {
    TRegularRecord r;
    r.SetCommentUtf8(comment);
    r.UseLastDraw = useLastDraw ? 1 : 0;
    r.StartComb = r.CurrentComb = comb;
    r.Step = step;
    return r;
}

constexpr TCombination Low = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
constexpr TCombination High = {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};

TEST(RegularStakesTest, KnownEntryHasTheFileBytes) {
    TRegularRecord r = Regular("Ряд", High, -3);
    r.CurrentComb = Low;
    r.StakeCount = 258;
    const std::string bytes = RegularsToBytes({r});
    ASSERT_EQ(bytes.size(), 292u);
    const std::string cp = Utf8ToCp1251("Ряд");
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 3);
    EXPECT_EQ(bytes.substr(1, 3), cp);
    EXPECT_EQ(bytes.substr(4, 252), std::string(252, '\0'));
    EXPECT_EQ(bytes[256], 0);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(static_cast<uint8_t>(bytes[257 + i]), 13 + i);
        EXPECT_EQ(static_cast<uint8_t>(bytes[269 + i]), 1 + i);
    }
    EXPECT_EQ(bytes.substr(281, 3), std::string(3, '\0'));
    EXPECT_EQ(bytes.substr(284, 4), std::string("\xFD\xFF\xFF\xFF", 4)); // -3
    EXPECT_EQ(bytes.substr(288, 4), std::string("\x02\x01\x00\x00", 4)); // 258

    const TRegularsLoad load = RegularsFromBytes(bytes);
    EXPECT_FALSE(load.Damaged());
    ASSERT_EQ(load.Items.size(), 1u);
    EXPECT_EQ(RegularsToBytes(load.Items), bytes);
}

TEST(RegularStakesTest, RingShift) {
    struct TCase {
        int Step;
        TCombination Base;
        TCombination Expected;
    } cases[] = {
        {1,
         {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24},
         {1, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}},
        {-1, Low, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 24}},
        {0, Low, Low},
        {24, Low, Low},
        {-24, High, High},
        {12, Low, High},
        {5, {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24}, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ShiftCombination(c.Base, c.Step), c.Expected) << "step " << c.Step;
}

TEST(RegularStakesTest, AdvanceFromOwnCombinationOrLastDraw) {
    const TCombination draw = {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24};
    TRegularRecord own = Regular("own", Low, 2);
    ASSERT_TRUE(AdvanceRegular(own, draw));
    ASSERT_TRUE(AdvanceRegular(own, draw));
    EXPECT_EQ(own.CurrentComb, (TCombination{5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(own.StartComb, Low);
    EXPECT_EQ(own.StakeCount, 2);

    // The last draw's numbers, whatever the start holds.
    TRegularRecord last = Regular("last", High, 1, true);
    ASSERT_TRUE(AdvanceRegular(last, draw));
    EXPECT_EQ(last.CurrentComb, (TCombination{1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23}));

    // No draw at the offset (all zeros) or a regular without numbers: no stake.
    TRegularRecord none = Regular("none", TCombination{}, 1, true);
    EXPECT_FALSE(AdvanceRegular(none, TCombination{}));
    TRegularRecord empty = Regular("empty", TCombination{}, 1);
    EXPECT_FALSE(AdvanceRegular(empty, draw));
    EXPECT_EQ(empty.StakeCount, 0);
}

TEST(RegularStakesTest, AddInputChecksInDialogOrder) {
    const TRegularsArray existing = {Regular("Ряд", Low, 1)};
    struct TCase {
        TRegularInput Input;
        bool OneSelected;
        std::string Expected;
    } cases[] = {
        {{"Новый", false, "1;2;3;4;5;6;7;8;9;10;11;12", 1}, true, ""},
        {{"Новый", false, "1;2;3;4;5;6;7;8;9;10;11;11", 1}, true, "Введена некорректная комбинация!"},
        {{"", false, "1;2;3", 1}, true, "Введена некорректная комбинация!"},
        {{"", false, "{...Выделенные комбинации...}", 1}, false, "Необходимо ввести комментарий!"},
        {{"Новый", true, "garbage", 1}, true, ""},
        {{"рЯД", false, "", 1},
         false,
         "Запись с таким комментарией уже присутствует в списке!\rВыберите другой комментарий."},
        {{"Новый", true, "", 25}, false, "Некорректный шаг: 25. Допустимо от -24 до 24."},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(CheckRegularInput(c.Input, c.OneSelected, existing), c.Expected) << c.Input.Comment;
}

TEST(RegularStakesTest, DamagedFileKeepsWhatIsSound) {
    TRegularRecord badStep = Regular("Шаг", Low, 30);
    TRegularRecord badComb = Regular("Числа", Low, 1);
    badComb.CurrentComb[3] = 99;
    const std::string bytes = RegularsToBytes({Regular("Первый", Low, 1), badStep, badComb,
                                               Regular("ПЕРВЫЙ", High, 2), Regular("Второй", High, -1)}) +
                              "xyz";
    const TRegularsLoad load = RegularsFromBytes(bytes);
    EXPECT_EQ(load.Records, 5);
    EXPECT_EQ(load.Bad, 2);
    EXPECT_EQ(load.Duplicates, 1);
    EXPECT_EQ(load.TailBytes, 3);
    ASSERT_EQ(load.Items.size(), 2u);
    EXPECT_EQ(load.Items[0].CommentUtf8(), "Первый");
    EXPECT_EQ(load.Items[1].CommentUtf8(), "Второй");

    const std::string text = DamagedRegularsText("/d/Kumby_12x24.ltb", load, "/d/Kumby_12x24.ltb.damaged");
    EXPECT_NE(text.find("/d/Kumby_12x24.ltb"), std::string::npos);
    EXPECT_NE(text.find("2 из 5"), std::string::npos) << text;
    EXPECT_NE(text.find("Kumby_12x24.ltb.damaged"), std::string::npos);
}

TEST(RegularStakesTest, FileRoundTripAndUnreadableFileNamed) {
    TTempDir dir;
    const auto path = dir / RegularsFileName;
    SaveRegularsFile(path, {Regular("Один", Low, 1), Regular("Два", High, -5, true)});
    const TRegularsLoad load = LoadRegularsFile(path);
    ASSERT_EQ(load.Items.size(), 2u);
    EXPECT_EQ(load.Items[1].UseLastDraw, 1);
    EXPECT_EQ(load.Items[1].Step, -5);

    std::filesystem::create_directory(dir / "folder.ltb");
    try {
        LoadRegularsFile(dir / "folder.ltb");
        FAIL();
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("folder.ltb"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace kumby
