#include "draws/DrawCsv.h"

#include "draws/DrawArchive.h"
#include "model/Cp1251.h"
#include "model/Error.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::ReadBytes;
using testing::TTempDir;
using testing::WriteBytes;

using TFields = std::vector<std::string>;

TEST(DrawCsvFields, Splitting) {
    struct TCase {
        const char* Line;
        TFields Fields;
    };
    const TCase cases[] = {
        {"1;2;3", {"1", "2", "3"}},
        {"5000;\"01.02.2021 20:00\";1", {"5000", "01.02.2021 20:00", "1"}},
        {"\"a;b\";c", {"a;b", "c"}},
        {"\"say \"\"hi\"\"\";x", {"say \"hi\"", "x"}},
        {"01.02.2021 20:00;1", {"01.02.2021", "20:00", "1"}}, // unquoted spaces split
        {"  1 ;\t2", {"1", "2"}},
        {"1;;2", {"1", "", "2"}},
        {"1;2;", {"1", "2", ""}},
        {"\"open;end", {"open;end"}},
        {"\"a\"b;c", {"a", "b", "c"}},
        {"", {}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(SplitDrawFields(c.Line), c.Fields) << c.Line;
}

TEST(DrawCsvExport, LineOfOneDraw) {
    const TDrawsArray draws = {DrawOf(5000, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "01.02.2021 20:00")};
    EXPECT_EQ(DrawsToCsv(draws), "5000;\"01.02.2021 20:00\";1;2;3;4;5;6;7;8;9;10;11;12\r\n");
}

TEST(DrawCsvExport, QuotesAreDoubledAndTextIsCp1251) {
    const TDrawsArray draws = {DrawOf(7, {24, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1}, "вт \"ночь\"")};
    EXPECT_EQ(DrawsToCsv(draws), Utf8ToCp1251("7;\"вт \"\"ночь\"\"\";24;2;3;4;5;6;7;8;9;10;11;1\r\n"));
}

TEST(DrawCsvImport, ExportThenImportReproducesTheArchiveByteForByte) {
    TTempDir dir;
    TDrawsArray draws;
    for (int i = 1; i <= 50; ++i)
        draws.push_back(DrawOf(1000 + i, {i % 12 + 13, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                               i % 7 ? "01.02.2021 20:00" : (i % 2 ? "" : "дата \"x\"; y")));
    SaveDrawArchive(dir / "a.ldr", draws);
    ExportDrawsCsv(dir / "a.csv", draws);

    TDrawsArray back;
    EXPECT_EQ(ImportDrawsCsv(dir / "a.csv", back), 50);
    SaveDrawArchive(dir / "b.ldr", back);
    EXPECT_EQ(ReadBytes(dir / "b.ldr"), ReadBytes(dir / "a.ldr"));
}

TEST(DrawCsvImport, FieldCountsDecideTheForm) {
    TDrawsArray draws;
    for (int i = 1; i <= 100; ++i)
        draws.push_back(DrawOf(i, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, ""));

    const std::string text =
        "\"02.02.2021 20:00\";1;2;3;4;5;6;7;8;9;10;11;12\r\n"     // 13 fields: numbered 101
        "\"03.02.2021 20:00\";12;11;10;9;8;7;6;5;4;3;2;1\n"       // 102
        "   \r\n"                                                 // blank: ignored
        "500;\"04.02.2021 20:00\";1;2;3;4;5;6;7;8;9;10;11;12\r"   // 14 fields: number first
        "501;04.02.2021 20:00;1;2;3;4;5;6;7;8;9;10;11;12\r\n"     // 15 fields: skipped
        "04.02.2021 20:00;1;2;3;4;5;6;7;8;9;10;11;12\r\n"         // 14 fields, number 0: skipped
        "500;\"05.02.2021 20:00\";1;2;3;4;5;6;7;8;9;10;11;12\r\n" // number taken: skipped
        "600;\"a very long date text here\";1;2;3;4;5;6;7;8;9;10;11;13\r\n";
    EXPECT_EQ(ImportDrawsCsvText(text, draws), 4);
    ASSERT_EQ(draws.size(), 104u);
    EXPECT_EQ(draws[100].Number, 101);
    EXPECT_EQ(draws[100].DateTextUtf8(), "02.02.2021 20:00");
    EXPECT_EQ(draws[101].Number, 102);
    EXPECT_EQ(draws[101].Numbers[0], 12);
    EXPECT_EQ(draws[102].Number, 500);
    EXPECT_EQ(draws[102].DateTextUtf8(), "04.02.2021 20:00");
    EXPECT_EQ(draws[103].Number, 600);
    EXPECT_EQ(draws[103].DateTextUtf8(), "a very long date") << "cut to 16 characters";
}

TEST(DrawCsvImport, ExistingDrawNumberAddsNothing) {
    TDrawsArray draws = {DrawOf(5000, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "01.02.2021 20:00")};
    EXPECT_EQ(ImportDrawsCsvText(DrawsToCsv(draws), draws), 0);
    EXPECT_EQ(draws.size(), 1u);
}

TEST(DrawCsvImport, UnreadableFileLeavesTheArchiveAlone) {
    TTempDir dir;
    TDrawsArray draws = {DrawOf(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "")};
    try {
        ImportDrawsCsv(dir / "missing.csv", draws);
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("missing.csv"), std::string::npos) << e.what();
    }
    EXPECT_EQ(draws.size(), 1u);
}

} // namespace
} // namespace kumby
