#include "model/Records.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace kumby {
namespace {

std::vector<uint8_t> MemoryImage(const TDrawRecord& draw) {
    std::vector<uint8_t> bytes(sizeof draw);
    std::memcpy(bytes.data(), &draw, sizeof draw);
    return bytes;
}

TEST(RecordsTest, DrawRecordHasTheFileLayout) {
    std::vector<uint8_t> expected;
    // Draw number 66,051 + 256 * 256 * 256 * 4 = 0x04010203, little-endian.
    for (uint8_t b : {0x03, 0x02, 0x01, 0x04})
        expected.push_back(b);
    for (uint8_t n : {24, 1, 13, 7, 2, 19, 5, 11, 22, 16, 9, 3})
        expected.push_back(n);
    expected.push_back(16);
    for (char c : std::string("25.12.2023 20:00"))
        expected.push_back(static_cast<uint8_t>(c));
    for (int i = 0; i < 3; ++i)
        expected.push_back(0);
    ASSERT_EQ(expected.size(), 36u);

    TDrawRecord draw;
    draw.Number = 0x04010203;
    draw.SetNumbers({24, 1, 13, 7, 2, 19, 5, 11, 22, 16, 9, 3});
    draw.SetDateTextUtf8("25.12.2023 20:00");
    EXPECT_EQ(MemoryImage(draw), expected);
}

TEST(RecordsTest, ShorterDateTextLeavesZerosBehind) {
    TDrawRecord draw;
    draw.SetDateTextUtf8("25.12.2023 20:00");
    draw.SetDateTextUtf8("Дата");
    const std::vector<uint8_t> bytes = MemoryImage(draw);
    EXPECT_EQ(bytes[16], 4);
    EXPECT_EQ(bytes[17], 0xC4); // Д
    EXPECT_EQ(bytes[20], 0xE0); // а
    for (std::size_t i = 21; i < 36; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(draw.DateTextUtf8(), "Дата");
}

TEST(RecordsTest, DateTextIsCutToSixteenCharactersNotBytes) {
    TDrawRecord draw;
    draw.SetDateTextUtf8("Дата неизвестна, позже");
    EXPECT_EQ(draw.DateText.Length, 16);
    EXPECT_EQ(draw.DateTextUtf8(), "Дата неизвестна,");
    draw.SetDateTextUtf8("");
    EXPECT_EQ(draw.DateText.Length, 0);
    EXPECT_EQ(draw.DateTextUtf8(), "");
}

TEST(RecordsTest, DamagedLengthByteNeverReadsPastTheField) {
    TDrawRecord draw;
    draw.SetDateTextUtf8("01.01.2020 10:00");
    draw.DateText.Length = 200;
    EXPECT_EQ(draw.DateTextUtf8(), "01.01.2020 10:00");
}

TEST(RecordsTest, CombinationKeepsDrawnOrder) {
    const TCombination comb = {5, 3, 1, 24, 2, 4, 6, 8, 10, 12, 14, 16};
    TDrawRecord draw;
    draw.SetNumbers(comb);
    EXPECT_EQ(draw.Combination(), comb);
    EXPECT_EQ(draw.Numbers[0], 5);
    EXPECT_EQ(draw.Numbers[11], 16);
}

} // namespace
} // namespace kumby
