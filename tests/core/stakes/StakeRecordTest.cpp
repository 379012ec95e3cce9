#include "stakes/StakeRecord.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kumby {
namespace {

const TCombination Twelve = {12, 3, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11};

TEST(StakeRecordTest, BytesOfANewStakeLieWhereTheFileHasThem) {
    const TStakeRecord r = NewStake(StakeKindScript, 0x01020304, 77, Twelve, 500000, "Ставка");
    uint8_t b[StakeRecordSize];
    std::memcpy(b, &r, sizeof b);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1], 3);
    EXPECT_EQ(b[4], 0x04) << "little-endian draw number";
    EXPECT_EQ(b[7], 0x01);
    EXPECT_EQ(b[8], 0) << "not checked";
    EXPECT_EQ(b[12], 77);
    EXPECT_EQ(b[16], 12) << "NumbersCount";
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(b[20 + i], i + 1) << "numbers ascending";
    for (int i = 32; i < 44; ++i)
        EXPECT_EQ(b[i], 0) << "no draw result yet";
    EXPECT_EQ(b[44], 0xFF) << "MatchedCount -1";
    EXPECT_EQ(b[47], 0xFF);
    int64_t profit;
    std::memcpy(&profit, b + 64, 8);
    EXPECT_EQ(profit, -500000);
    EXPECT_EQ(b[72], 6) << "length byte of the CP1251 comment";
    EXPECT_EQ(static_cast<uint8_t>(b[73]), 0xD1) << "С in CP1251";
    for (int i : {2, 3, 9, 10, 11, 60, 61, 62, 63})
        EXPECT_EQ(b[i], 0) << "reserved byte " << i;
}

TEST(StakeRecordTest, SeparatorRecord) {
    const TStakeRecord s = SeparatorRecord();
    EXPECT_EQ(s.Version, 2);
    EXPECT_TRUE(s.IsSeparator());
    EXPECT_EQ(s.DrawNumber, -1);
    EXPECT_EQ(s.NumbersCount(), 0);
    EXPECT_EQ(s.MatchedCount(), -1);
    EXPECT_EQ(s.Profit, 0);
    EXPECT_EQ(s.Comment.Length, 0);
}

TEST(StakeRecordTest, CommentIsCutTo255Characters) {
    TStakeRecord r;
    r.SetCommentUtf8(std::string(300, 'x'));
    EXPECT_EQ(r.Comment.Length, 255);
    r.SetCommentUtf8("Привет");
    EXPECT_EQ(r.CommentUtf8(), "Привет");
}

TEST(StakeRecordTest, ManualStakeChecks) {
    struct TCase {
        const char* Numbers;
        const char* Comment;
        const char* Message;
    };
    const TCase cases[] = {
        {"1;2;3;4;5;6;7;8;9;10;11;12", "к", ""},
        {" 12 ,, 11;10;9;8;7;6;5;4;3;2;;1 ", "к", ""},
        {"1;2;3;4;5;6;7;8;9;10;11", "к", BadStakeNumbersText},       // eleven numbers
        {"1;2;3;4;5;6;7;8;9;10;11;25", "к", BadStakeNumbersText},    // out of range
        {"1;2;3;4;5;6;7;8;9;10;11;11", "к", BadStakeNumbersText},    // repeated
        {"1;2;3;4;5;6;7;8;9;10;11;12;13", "к", BadStakeNumbersText}, // thirteen
        {"1;2;3;4;5;6;7;8;9;10;11;x", "к", BadStakeNumbersText},
        {"1 2 3 4 5 6 7 8 9 10 11 12", "к", BadStakeNumbersText}, // spaces do not separate
        {"0;2;3;4;5;6;7;8;9;10;11;12", "к", BadStakeNumbersText},
        {"1;2;3;4;5;6;7;8;9;10;11;12", "", NoStakeCommentText},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(CheckManualStake(c.Numbers, c.Comment), c.Message) << c.Numbers << " / " << c.Comment;
    const auto parsed = ParseStakeNumbers(" 12 ,, 11;10;9;8;7;6;5;4;3;2;;1 ");
    ASSERT_TRUE(parsed);
    EXPECT_EQ((*parsed)[0], 1);
    EXPECT_EQ((*parsed)[11], 12);
}

TEST(StakeRecordTest, SumOfTheEnteredNumbers) {
    EXPECT_EQ(EnteredNumbersSum("1;2;3;4;5;6;7;8;9;10;11;12"), 78);
    EXPECT_EQ(EnteredNumbersSum(" 24 ,, 23;"), 47);
    EXPECT_EQ(EnteredNumbersSum("5;x;7;"), 12) << "half-typed words add nothing";
    EXPECT_EQ(EnteredNumbersSum(""), 0);
}

} // namespace
} // namespace kumby
