// First use of the command-line program and its draw commands: clear messages,
// exit codes that tell whether the work was done, no damage to the data folder.

#include "CliRun.h"

#include "draws/DrawArchive.h"
#include "io/AtomicFile.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::OutputLines;
using testing::PlainDraw;
using testing::ReadArchive;
using testing::ReadBytes;
using testing::RunCliIn;
using testing::SpreadDraw;
using testing::TRun;
using testing::TTempDir;
using testing::WriteArchive;
using testing::WriteBytes;

class ArchiveCliTest : public ::testing::Test {
protected:
    TRun Run(std::vector<std::string> args) { return RunCliIn(Dir.Path(), std::move(args)); }
    static TRun RunBare(std::vector<std::string> args) { return RunCliIn({}, std::move(args)); }
    static std::size_t Count(const std::string& text, const std::string& part) {
        std::size_t n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }

    TTempDir Dir;
};

TEST_F(ArchiveCliTest, MissingDataFolderIsNamedOnceAndDemoCreatesIt) {
    const std::string missing = (Dir / "no" / "such").string();
    TRun r = RunBare({"--data-dir", missing, "status"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(Count(r.Err, "\n"), 1u) << r.Err;
    EXPECT_NE(r.Err.find("\"" + missing + "\""), std::string::npos) << r.Err;
    EXPECT_FALSE(std::filesystem::exists(missing));

    r = RunBare({"--data-dir=" + missing, "demo", "--draws", "5"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "5\n");
    r = RunBare({"--data-dir=" + missing, "status"});
    EXPECT_EQ(r.Out, "Архив тиражей: 5\nСледующий тираж: 6\n\n");

    WriteBytes(Dir / "file", "x");
    r = RunBare({"--data-dir", (Dir / "file").string(), "demo"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("не является папкой"), std::string::npos) << r.Err;
}

TEST_F(ArchiveCliTest, HelpAndWrongCommandsPrintTheUsage) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"help"}, {"draws", "--help"}}) {
        const TRun r = RunBare(args);
        EXPECT_EQ(r.Code, 0) << args[0];
        EXPECT_EQ(r.Out.rfind("Использование: kumby-cli", 0), 0u) << args[0];
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"bogus"}, {"draws", "remove", "5"}, {"combs", "x"}}) {
        const TRun r = Run(args);
        EXPECT_EQ(r.Code, 1) << args[0];
        EXPECT_EQ(r.Out, "");
        EXPECT_NE(r.Err.find("Неизвестная команда"), std::string::npos) << r.Err;
        EXPECT_NE(r.Err.find("Использование: kumby-cli"), std::string::npos) << r.Err;
    }
}

TEST_F(ArchiveCliTest, StartUpWarningDoesNotFailTheCommand) {
    WriteArchive(Dir.Path(), {PlainDraw(1)});
    std::filesystem::create_directory(Dir / "Kumby_12x24.ini"); // settings that cannot be read
    const TRun r = Run({"status"});
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_NE(r.Err.find("Ошибка чтения файла конфигурации!"), std::string::npos) << r.Err;
    EXPECT_EQ(r.Out, "Архив тиражей: 1\nСледующий тираж: 2\n\n");
}

TEST_F(ArchiveCliTest, ImportOnAFullDiskPrintsNoCount) {
    WriteArchive(Dir.Path(), {PlainDraw(1)});
    WriteBytes(Dir / "in.csv", "2;\"\";1;2;3;4;5;6;7;8;9;10;11;12\r\n");
    SetWriteFaultHookForTesting([](std::size_t) { return false; });
    const TRun r = Run({"draws", "import", (Dir / "in.csv").string()});
    SetWriteFaultHookForTesting(nullptr);
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "") << "nothing reads as a success";
    EXPECT_NE(r.Err.find("Ошибка записи в файл тиражей!"), std::string::npos) << r.Err;
    EXPECT_EQ(ReadArchive(Dir.Path()).size(), 1u);
}

TEST_F(ArchiveCliTest, ImportCountsOnStdoutAndSkippedLinesOnStderr) {
    WriteBytes(Dir / "in.csv", "\xEF\xBB\xBF"
                               "5;\"\";1;2;3;4;5;6;7;8;9;10;11;12\r\n"
                               "6;\"\";1;1;1;1;1;1;1;1;1;1;1;1\r\n"
                               "seven;\"\";1;2;3;4;5;6;7;8;9;10;11;12\r\n");
    const TRun r = Run({"draws", "import", (Dir / "in.csv").string()});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "1\n");
    EXPECT_NE(r.Err.find("Пропущено строк, не содержащих данных тиража: 2 (строки 2, 3)."), std::string::npos)
        << r.Err;
}

TEST_F(ArchiveCliTest, ExportNeverReplacesTheArchive) {
    WriteArchive(Dir.Path(), {PlainDraw(1), PlainDraw(2)});
    const std::string archive = ReadBytes(Dir / DrawsFileName);
    std::filesystem::create_directory(Dir / "sub");
    for (const std::string& target :
         {(Dir / DrawsFileName).string(), (Dir / "sub" / ".." / DrawsFileName).string()}) {
        const TRun r = Run({"draws", "export", target});
        EXPECT_EQ(r.Code, 1) << target;
        EXPECT_NE(r.Err.find("является файлом данных программы"), std::string::npos) << r.Err;
    }
    const TRun r = Run({"combs", "generate", "--out", (Dir / DrawsFileName).string()});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(ReadBytes(Dir / DrawsFileName), archive);
}

TEST_F(ArchiveCliTest, AddRefusesAnExistingNumberUnlessForced) {
    WriteArchive(Dir.Path(), {PlainDraw(10)});
    const std::vector<std::string> add = {
        "draws",           "add", "--number", "10", "--numbers", "1;2;3;4;5;6;7;8;9;10;11;12", "--date",
        "01.02.2021 20:00"};
    TRun r = Run(add);
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("Тираж № 10 уже есть в архиве."), std::string::npos) << r.Err;
    EXPECT_EQ(ReadArchive(Dir.Path()).size(), 1u);

    std::vector<std::string> forced = add;
    forced.push_back("--force");
    r = Run(forced);
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(ReadArchive(Dir.Path()).size(), 2u);
}

TEST_F(ArchiveCliTest, AddAfterTheLargestNumberAndBeforeTheEarliestDate) {
    WriteArchive(Dir.Path(), {PlainDraw(MaxDrawNumber)});
    TRun r = Run({"draws", "add", "--numbers", "1;2;3;4;5;6;7;8;9;10;11;12"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("2147483647"), std::string::npos) << r.Err;
    EXPECT_EQ(ReadArchive(Dir.Path()).size(), 1u) << "never a wrapped, negative number";

    for (const char* date : {"01.01.1800 20:00", "30.12.1899 00:00"}) {
        r = Run({"draws", "add", "--number", "5", "--numbers", "1;2;3;4;5;6;7;8;9;10;11;12", "--date", date});
        EXPECT_EQ(r.Code, 1) << date;
        EXPECT_NE(r.Err.find("раньше самой ранней даты"), std::string::npos) << r.Err;
        EXPECT_EQ(r.Err.find("Не указана дата тиража."), std::string::npos) << r.Err;
    }
    r = Run({"draws", "add", "--number", "5", "--numbers", "1;2;3;4;5;6;7;8;9;10;11;12", "--date",
             "30.12.1899 00:01"});
    EXPECT_EQ(r.Code, 0) << r.Err;
}

TEST_F(ArchiveCliTest, DeleteOfASharedNumberNeedsTheIndex) {
    WriteArchive(Dir.Path(), {SpreadDraw(10, 1), SpreadDraw(11, 2), SpreadDraw(11, 3), SpreadDraw(12, 4)});
    TRun r = Run({"--yes", "draws", "delete", "11"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("индекс 1:"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("индекс 2:"), std::string::npos) << r.Err;
    EXPECT_EQ(ReadArchive(Dir.Path()).size(), 4u);

    r = Run({"--yes", "draws", "delete", "--index", "2"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const TDrawsArray left = ReadArchive(Dir.Path());
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[1].Numbers[0], 2) << "the draw 11 at index 1 stays";

    EXPECT_EQ(Run({"--yes", "draws", "delete", "--index", "3"}).Code, 1);
    r = Run({"--yes", "draws", "delete", "11", "12"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(ReadArchive(Dir.Path()).size(), 1u);
}

TEST_F(ArchiveCliTest, ControlCharactersInTextsAreShownAsSpaces) {
    TDrawRecord draw = PlainDraw(1);
    draw.DateText.AssignBytes("01.02\t21\r\n20:00");
    WriteArchive(Dir.Path(), {draw});
    const TRun r = Run({"draws"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const auto lines = OutputLines(r.Out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "1\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t78\t01.02 21  20:00");
}

} // namespace
} // namespace kumby
