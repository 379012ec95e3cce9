#include "draws/DrawArchive.h"

#include "io/AtomicFile.h"
#include "model/Error.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::PlainDraw;
using testing::ReadBytes;
using testing::TTempDir;
using testing::WriteBytes;

TDrawsArray Numbered(std::initializer_list<int32_t> numbers) {
    TDrawsArray draws;
    for (int32_t n : numbers)
        draws.push_back(PlainDraw(n));
    return draws;
}

// The 36 bytes of one draw, built by hand.
std::string RecordBytes(int32_t number, const uint8_t (&nums)[12], const std::string& date) {
    std::string b(36, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((static_cast<uint32_t>(number) >> (8 * i)) & 0xFF);
    std::memcpy(&b[4], nums, 12);
    b[16] = static_cast<char>(date.size());
    std::memcpy(&b[17], date.data(), date.size());
    return b;
}

TEST(DrawArchiveFile, MissingFileIsAnEmptyArchive) {
    TTempDir dir;
    TDrawsArray draws = Numbered({1, 2});
    LoadDrawArchive(dir / DrawsFileName, draws);
    EXPECT_TRUE(draws.empty());
}

TEST(DrawArchiveFile, ReadsRecordsWrittenByteByByte) {
    TTempDir dir;
    const uint8_t a[12] = {5, 14, 7, 18, 21, 17, 12, 10, 1, 3, 4, 22};
    const uint8_t b[12] = {24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13};
    WriteBytes(dir / "x.ldr", RecordBytes(5000, a, "01.02.2021 20:00") + RecordBytes(-7, b, ""));

    TDrawsArray draws;
    LoadDrawArchive(dir / "x.ldr", draws);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].Number, 5000);
    EXPECT_EQ(draws[0].Numbers[0], 5);
    EXPECT_EQ(draws[0].Numbers[11], 22);
    EXPECT_EQ(draws[0].DateTextUtf8(), "01.02.2021 20:00");
    EXPECT_EQ(draws[1].Number, -7);
    EXPECT_EQ(draws[1].DateTextUtf8(), "");

    // Writing it back reproduces the file exactly.
    SaveDrawArchive(dir / "y.ldr", draws);
    EXPECT_EQ(ReadBytes(dir / "y.ldr"), ReadBytes(dir / "x.ldr"));
}

TEST(DrawArchiveFile, PartialLastRecordIsIgnored) {
    TTempDir dir;
    TDrawsArray hundred;
    for (int i = 1; i <= 100; ++i)
        hundred.push_back(PlainDraw(i));
    SaveDrawArchive(dir / "a.ldr", hundred);
    ASSERT_EQ(std::filesystem::file_size(dir / "a.ldr"), 3600u);
    WriteBytes(dir / "b.ldr", ReadBytes(dir / "a.ldr") + "x");

    for (const char* name : {"a.ldr", "b.ldr"}) {
        TDrawsArray draws;
        LoadDrawArchive(dir / name, draws);
        ASSERT_EQ(draws.size(), 100u) << name;
        EXPECT_EQ(draws.back().Number, 100) << name;
    }
}

TEST(DrawArchiveFile, UnreadableFileRaisesAnErrorNamingIt) {
    TTempDir dir;
    std::filesystem::create_directory(dir / "k.ldr"); // opens, but cannot be read
    TDrawsArray draws;
    try {
        LoadDrawArchive(dir / "k.ldr", draws);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("k.ldr"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(draws.empty());
}

TEST(DrawArchiveFile, FailedSaveKeepsTheOldFile) {
    TTempDir dir;
    TDrawsArray big;
    for (int i = 1; i <= 20000; ++i)
        big.push_back(PlainDraw(i));
    SaveDrawArchive(dir / "d.ldr", Numbered({1, 2, 3}));
    const std::string before = ReadBytes(dir / "d.ldr");

    SetWriteFaultHookForTesting([](std::size_t written) { return written < 100000; });
    EXPECT_THROW(SaveDrawArchive(dir / "d.ldr", big), Error);
    SetWriteFaultHookForTesting(nullptr);

    EXPECT_EQ(ReadBytes(dir / "d.ldr"), before);
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename(), "d.ldr") << "left behind: " << entry.path();
}

TEST(DrawArchive, DeleteOutsideTheArchiveNamesTheIndex) {
    TDrawsArray draws = Numbered({1, 2, 3});
    DeleteDraw(draws, 1);
    EXPECT_EQ(draws[1].Number, 3);
    try {
        DeleteDraw(draws, 2);
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Запись со индексом 2 в файле данных не найдена!");
    }
    EXPECT_THROW(DeleteDraw(draws, -1), Error);
    EXPECT_EQ(draws.size(), 2u);
}

TEST(DrawArchive, FindDrawIndex) {
    struct TCase {
        TDrawsArray Draws;
        int32_t Number;
        int Expected;
    };
    const TCase cases[] = {
        {{}, 5, -1},
        {Numbered({10, 11, 12}), 10, 0},
        {Numbered({10, 11, 12}), 12, 2},
        {Numbered({10, 11, 12}), 11, 1},
        {Numbered({10, 11, 12}), 13, -1},
        {Numbered({1, 2, 3, 7, 8, 9, 10}), 7, 3},  // guess too high, walk down
        {Numbered({1, 5, 6, 7, 8, 9, 10}), 5, 1},  // guess too low, walk up
        {Numbered({1, 2, 3, 99, 4, 5, 6}), 99, 3}, // out of order: the final scan finds it
        {Numbered({1, 2, 3, 4, 5, 6, 20}), 4, 3},
        {Numbered({5, 3, 4}), 3, 1}, // numbers falling: no division by zero
        {Numbered({7, 7, 6}), 6, 2},
        {Numbered({2147483647, 1, -2147483647}), 1, 1}, // extremes do not overflow the guess
    };
    for (const TCase& c : cases)
        EXPECT_EQ(FindDrawIndex(c.Draws, c.Number), c.Expected) << "number " << c.Number;
}

TEST(DrawArchive, OffsetDerivedValues) {
    const TDrawsArray draws = {DrawOf(10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
                               DrawOf(11, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}),
                               DrawOf(12, {24, 2, 22, 4, 20, 6, 18, 8, 16, 10, 14, 12})};
    TDrawsOffsetInfo at1 = ComputeOffsetInfo(draws, 1);
    EXPECT_EQ(at1.NextDrawNumber, 12);
    EXPECT_EQ(at1.NextDrawNumbersText, "24;2;22;4;20;6;18;8;16;10;14;12");
    EXPECT_TRUE(at1.NextDrawSet[24]);
    EXPECT_FALSE(at1.NextDrawSet[1]);

    TDrawsOffsetInfo at0 = ComputeOffsetInfo(draws, 0);
    EXPECT_EQ(at0.NextDrawNumber, 13);
    EXPECT_EQ(at0.NextDrawNumbersText, "");
    EXPECT_FALSE(at0.NextDrawSet[24]);

    EXPECT_EQ(ComputeOffsetInfo(draws, 2).NextDrawNumber, 11);
    EXPECT_EQ(ComputeOffsetInfo({}, 0).NextDrawNumber, 1);
    EXPECT_EQ(NextDrawNumber(draws, 3), -1);
    EXPECT_EQ(NextDrawNumber(draws, -1), -1);

    TCombination c{};
    DrawNumbersAtOffset(draws, 2, c);
    EXPECT_EQ(c[0], 1);
    DrawNumbersAtOffset(draws, 3, c);
    EXPECT_EQ(c, TCombination{});

    EXPECT_EQ(DrawsCountText(0), "Архив тиражей: 0");
    EXPECT_EQ(NextDrawText(1), "Следующий тираж: 1");
}

TEST(DrawArchive, DisplayNumbersAndSum) {
    const TDrawRecord d = DrawOf(1, {24, 2, 22, 4, 20, 6, 18, 8, 16, 10, 14, 12});
    EXPECT_EQ(DrawDisplayNumbers(d, false)[0], 24);
    EXPECT_EQ(DrawDisplayNumbers(d, true), (TCombination{2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24}));
    EXPECT_EQ(DrawSum(d), 156);
    EXPECT_EQ(d.Numbers[0], 24) << "sorting the display must not touch the record";
}

TEST(DrawDialogCheck, NumbersLine) {
    struct TCase {
        const char* Text;
        bool Ok;
    };
    const TCase cases[] = {
        {"1;2;3;4;5;6;7;8;9;10;11;12", true},
        {"24,1;;2,,3;4;5;6;7;8;9;10;11 ", true},
        {" 5 ; 6;7;8;9;10;11;12;13;14;15;16", true},
        {"1;2;3;4;5;6;7;8;9;10;11;11", false}, // duplicate
        {"1;2;3;4;5;6;7;8;9;10;11", false},    // eleven
        {"1;2;3;4;5;6;7;8;9;10;11;12;13", false},
        {"1;2;3;4;5;6;7;8;9;10;11;25", false},
        {"0;2;3;4;5;6;7;8;9;10;11;12", false},
        {"x;2;3;4;5;6;7;8;9;10;11;12", false},
        {"1 2 3 4 5 6 7 8 9 10 11 12", false}, // spaces do not separate here
        {"", false},
    };
    for (const TCase& c : cases) {
        TCombination out{};
        EXPECT_EQ(ParseDrawNumbers(c.Text, out), c.Ok) << c.Text;
    }
    TCombination out{};
    ASSERT_TRUE(ParseDrawNumbers("24,1;;2,,3;4;5;6;7;8;9;10;11", out));
    EXPECT_EQ(out, (TCombination{24, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})) << "typed order is kept";
}

} // namespace
} // namespace kumby
