// The archive file and the CSV import never lose, invent or blow up draws.

#include "draws/DrawArchive.h"
#include "draws/DrawCsv.h"
#include "io/AtomicFile.h"
#include "model/Error.h"

#include "support/CountingAllocator.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::PlainDraw;
using testing::RandomArchive;
using testing::ReadBytes;
using testing::TAllocationCounter;
using testing::TTempDir;
using testing::WriteBytes;

TEST(DrawArchiveSafety, ReadFailingHalfWayKeepsWhatWasReadAndRaises) {
    TTempDir dir;
    const TDrawsArray draws = RandomArchive(5000, 3); // several read chunks
    SaveDrawArchive(dir / DrawsFileName, draws);
    SetReadFaultHookForTesting([](std::size_t done) { return done < 64 * 1024; });
    TDrawsArray loaded;
    std::string error;
    try {
        LoadDrawArchive(dir / DrawsFileName, loaded);
    } catch (const Error& e) {
        error = e.what();
    }
    SetReadFaultHookForTesting(nullptr);
    EXPECT_NE(error.find(DrawsFileName), std::string::npos) << error;
    ASSERT_GT(loaded.size(), 0u);
    ASSERT_LT(loaded.size(), draws.size());
    EXPECT_EQ(std::memcmp(loaded.data(), draws.data(), loaded.size() * DrawRecordSize), 0);
}

TEST(DrawArchiveSafety, RecordsAreWrittenWithAZeroedDateTail) {
    // An older writer left bytes past the date's length and in the padding.
    TDrawRecord dirty = DrawOf(7, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "01.02.2021 20:00");
    dirty.DateText.Length = 5;
    dirty.Padding[1] = 0x55;
    const std::string bytes = DrawArchiveBytes({dirty});
    ASSERT_EQ(bytes.size(), DrawRecordSize);
    EXPECT_EQ(bytes.substr(16, 6), std::string("\x05"
                                               "01.02",
                                               6));
    EXPECT_EQ(bytes.substr(22), std::string(14, '\0'));

    // A length byte beyond the field is cut to the field.
    dirty.DateText.Length = 200;
    EXPECT_EQ(static_cast<uint8_t>(DrawArchiveBytes({dirty})[16]), 16);
}

TEST(DrawArchiveSafety, NoDrawNumberAfterTheLargest) {
    const TDrawsArray draws = {PlainDraw(MaxDrawNumber - 1), PlainDraw(MaxDrawNumber)};
    EXPECT_EQ(NextDrawNumber(draws, 0), int64_t{MaxDrawNumber} + 1);
    EXPECT_EQ(NextDrawNumber(draws, 1), MaxDrawNumber);
    EXPECT_FALSE(NewDrawNumber(draws).has_value());
    EXPECT_EQ(NewDrawNumber({PlainDraw(MaxDrawNumber - 1)}), MaxDrawNumber);
    EXPECT_EQ(NextDrawText(NextDrawNumber(draws, 0)), "Следующий тираж: 2147483648");
}

TEST(DrawCsvImportSafety, LinesThatAreNoDrawsAreSkippedAndCounted) {
    TDrawsArray draws = {DrawOf(10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})};
    const std::string text =
        "\xEF\xBB\xBF"
        "20;\"01.02.2021 20:00\";1;2;3;4;5;6;7;8;9;10;11;12\r\n"       // 1: a mark before it
        "21;\"\";1;2;3;4;5;6;7;8;9;10;11;11\r\n"                       // 2: duplicate number
        "22;\"\";0;2;3;4;5;6;7;8;9;10;11;12\r\n"                       // 3: 0
        "23;\"\";1;2;3;4;5;6;7;8;9;10;11;25\r\n"                       // 4: 25
        "24;\"\";1;2;3;4;5;6;7;8;9;10;11;x\r\n"                        // 5: not a number
        "x25;\"\";1;2;3;4;5;6;7;8;9;10;11;12\r\n"                      // 6: draw number not a number
        "-3;\"\";1;2;3;4;5;6;7;8;9;10;11;12\r\n"                       // 7: draw number below 1
        "\r\n"                                                         // 8: blank, not counted
        "10;\"\";1;2;3;4;5;6;7;8;9;10;11;12\r\n"                       // 9: already in the archive
        "\"02.02.2021 20:00\";24;23;22;21;20;19;18;17;16;15;14;13\r\n" // 10: after the newest: 21
        "1;2;3\r\n"                                                    // 11: three fields
        "30;\"\";1;2;3;4;5;6;7;8;9;10;11;300\r\n";                     // 12: beyond a byte
    TDrawsImportReport report;
    EXPECT_EQ(ImportDrawsCsvText(text, draws, &report), 2);
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[1].Number, 20);
    EXPECT_EQ(draws[1].DateTextUtf8(), "01.02.2021 20:00");
    EXPECT_EQ(draws[2].Number, 21) << "the newest number plus 1, not the draw count plus 1";
    EXPECT_EQ(report.Added, 2);
    EXPECT_EQ(report.AlreadyInArchive, 1);
    EXPECT_EQ(report.Skipped, 8);
    EXPECT_EQ(report.SkippedLines, (std::vector<int>{2, 3, 4, 5, 6, 7, 11, 12}));
    EXPECT_EQ(DrawsImportReportText(report),
              "Добавлено тиражей: 2.\rУже были в архиве: 1.\rПропущено строк, не содержащих данных тиража: 8 "
              "(строки 2, 3, 4, 5, 6, 7, 11, 12).");
}

TEST(DrawCsvImportSafety, ManySkippedLinesListOnlyTheFirst) {
    std::string text;
    for (int i = 0; i < 25; ++i)
        text += "bad line\r\n";
    TDrawsArray draws;
    TDrawsImportReport report;
    EXPECT_EQ(ImportDrawsCsvText(text, draws, &report), 0);
    EXPECT_EQ(report.Skipped, 25);
    EXPECT_EQ(
        DrawsImportSkippedText(report),
        "Пропущено строк, не содержащих данных тиража: 25 (строки 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, ...).");
}

TEST(DrawCsvImportSafety, LineWithoutANumberAfterTheLargestIsSkipped) {
    TDrawsArray draws = {DrawOf(MaxDrawNumber, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})};
    TDrawsImportReport report;
    EXPECT_EQ(ImportDrawsCsvText("\"\";1;2;3;4;5;6;7;8;9;10;11;12\r\n", draws, &report), 0);
    EXPECT_EQ(report.Skipped, 1);
    EXPECT_EQ(draws.size(), 1u);
}

TEST(DrawCsvImportSafety, HugeSingleLineStaysWithinTheFileSize) {
    // 16 MB in one line: as many one-character fields, or one field of the whole size.
    constexpr std::size_t Size = 16u << 20;
    TTempDir dir;
    std::string manyFields;
    manyFields.reserve(Size);
    while (manyFields.size() < Size)
        manyFields += "1;";
    WriteBytes(dir / "fields.csv", manyFields);
    WriteBytes(dir / "field.csv", "5;\"" + std::string(Size, 'x') + "\";1;2;3;4;5;6;7;8;9;10;11;99\r\n");
    manyFields = std::string();

    for (const char* name : {"fields.csv", "field.csv"}) {
        TDrawsArray draws;
        TDrawsImportReport report;
        const std::size_t before = TAllocationCounter::Start(4 * Size);
        int added = -1;
        EXPECT_NO_THROW(added = ImportDrawsCsv(dir / name, draws, &report)) << name;
        TAllocationCounter::Stop();
        EXPECT_EQ(added, 0) << name;
        EXPECT_EQ(report.Skipped, 1) << name;
        EXPECT_LE(TAllocationCounter::Peak.load() - before, 2 * Size + (1u << 20)) << name;
    }
}

} // namespace
} // namespace kumby
