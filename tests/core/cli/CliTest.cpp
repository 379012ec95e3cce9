#include "CliApp.h"
#include "CliRun.h"

#include "draws/DrawArchive.h"
#include "io/DataLock.h"
#include "model/VexoUtils.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <sys/wait.h>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::OutputLines;
using testing::ReadArchive;
using testing::ReadBytes;
using testing::RunCliIn;
using testing::TRun;
using testing::TTempDir;
using testing::WriteArchive;
using testing::WriteBytes;

class CliTest : public ::testing::Test {
protected:
    TRun Run(std::vector<std::string> args, bool withDir = true) {
        return RunCliIn(withDir ? Dir.Path() : std::filesystem::path(), std::move(args));
    }
    static std::vector<std::string> Lines(const std::string& text) { return OutputLines(text); }

    TTempDir Dir;
};

TEST_F(CliTest, DemoThenListNewestFirst) {
    TRun r = Run({"demo", "--draws", "30", "--seed", "7"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "30\n");

    r = Run({"draws"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[0], "Тираж\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\tS\tДата тиража");
    EXPECT_EQ(lines[1].rfind("30\t", 0), 0u);
    EXPECT_EQ(lines[30].rfind("1\t", 0), 0u);

    // Each demo draw is 12 distinct numbers of 1..24 whose sum the S column shows.
    for (const TDrawRecord& d : ReadArchive(Dir.Path())) {
        TCombination c{};
        EXPECT_TRUE(ParseDrawNumbers(CombToText(d.Combination()), c));
        EXPECT_EQ(d.DateTextUtf8().substr(10), " 20:00");
    }

    EXPECT_EQ(Run({"demo"}).Code, 1) << "an existing archive is never replaced";
    EXPECT_EQ(ReadBytes(Dir / DrawsFileName).size(), 30u * 36);
}

TEST_F(CliTest, DemoIsRepeatableForASeed) {
    TTempDir other;
    ASSERT_EQ(Run({"demo", "--draws", "10", "--seed", "5"}).Code, 0);
    std::ostringstream out, err;
    std::istringstream in;
    ASSERT_EQ(cli::RunCli({"--data-dir", other.Path().string(), "demo", "--draws", "10", "--seed", "5"}, "",
                          out, err, in, false),
              0);
    EXPECT_EQ(ReadBytes(Dir / DrawsFileName), ReadBytes(other / DrawsFileName));
}

TEST_F(CliTest, StatusAndSortedListAtAnOffset) {
    TDrawsArray draws;
    for (int32_t n : {10, 11, 12})
        draws.push_back(DrawOf(n, {24, 2, 22, 4, 20, 6, 18, 8, 16, 10, 14, n}, ""));
    WriteArchive(Dir.Path(), draws);

    TRun r = Run({"--offset", "1", "status"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "Архив тиражей: 3\nСледующий тираж: 12\n24;2;22;4;20;6;18;8;16;10;14;12\n");
    EXPECT_EQ(Run({"status"}).Out, "Архив тиражей: 3\nСледующий тираж: 13\n\n");

    r = Run({"--sorted", "draws"});
    EXPECT_EQ(Lines(r.Out)[1], "12\t2\t4\t6\t8\t10\t12\t14\t16\t18\t20\t22\t24\t156\t");
    r = Run({"--unsorted", "draws"});
    EXPECT_EQ(Lines(r.Out)[1], "12\t24\t2\t22\t4\t20\t6\t18\t8\t16\t10\t14\t12\t156\t");

    r = Run({"--offset", "3", "status"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("0..2"), std::string::npos) << r.Err;
}

TEST_F(CliTest, SortedViewSettingAppliesWithoutASwitch) {
    ASSERT_EQ(Run({"demo", "--draws", "3"}).Code, 0);
    WriteBytes(Dir / "Kumby_12x24.frm", "[TFormMain]\r\nSortedDraws=1\r\nPrefetchsInit=1\r\n");
    const auto lines = Lines(Run({"draws"}).Out);
    std::istringstream row(lines[1]);
    std::vector<int> cells;
    for (std::string c; std::getline(row, c, '\t');)
        cells.push_back(std::atoi(c.c_str()));
    EXPECT_TRUE(std::is_sorted(cells.begin() + 1, cells.begin() + 13)) << lines[1];
}

TEST_F(CliTest, ExportThenImportIntoAnEmptyFolderIsByteIdentical) {
    ASSERT_EQ(Run({"demo", "--draws", "200"}).Code, 0);
    const std::string csv = (Dir / "draws.csv").string();
    ASSERT_EQ(Run({"draws", "export", csv}).Code, 0);

    TTempDir empty;
    std::ostringstream out, err;
    std::istringstream in;
    ASSERT_EQ(
        cli::RunCli({"--data-dir", empty.Path().string(), "draws", "import", csv}, "", out, err, in, false),
        0)
        << err.str();
    EXPECT_EQ(out.str(), "200\n");
    EXPECT_EQ(ReadBytes(empty / DrawsFileName), ReadBytes(Dir / DrawsFileName));
}

TEST_F(CliTest, AddChecksTheNumbersAndDate) {
    TRun r = Run({"draws", "add", "--numbers", "1;2;3;4;5;6;7;8;9;10;11;11"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, "Введена некорректная комбинация!\n");
    EXPECT_FALSE(std::filesystem::exists(Dir / DrawsFileName));

    r = Run({"draws", "add", "--number", "5000", "--numbers", "1,2;3;4;5;6;7;8;9;10;11;12", "--date",
             "01.02.2021 20:00"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    r = Run({"draws", "add", "--numbers", "12;2;3;4;5;6;7;8;9;10;11;1", "--date", "31.02.2021 20:00"});
    EXPECT_EQ(r.Code, 1) << "no 31 February";
    r = Run({"draws", "add", "--numbers", "12;2;3;4;5;6;7;8;9;10;11;1", "--date", "02.02.2021 20:00"});
    ASSERT_EQ(r.Code, 0) << r.Err;

    const auto lines = Lines(Run({"draws"}).Out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "5001\t12\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t1\t78\t02.02.2021 20:00");
    EXPECT_EQ(lines[2], "5000\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t78\t01.02.2021 20:00");
}

TEST_F(CliTest, DeleteNeedsConfirmationWithoutATerminal) {
    ASSERT_EQ(Run({"demo", "--draws", "5"}).Code, 0);
    TRun r = Run({"draws", "delete", "5", "3"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("Удалить все выделенные записи (всего будет удалено 2 записи(ей))?"),
              std::string::npos);
    EXPECT_EQ(ReadBytes(Dir / DrawsFileName).size(), 5u * 36);

    r = Run({"--yes", "draws", "delete", "5", "3"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const TDrawsArray draws = ReadArchive(Dir.Path());
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[2].Number, 4);

    r = Run({"--yes", "draws", "delete", "77"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("77"), std::string::npos);
}

TEST_F(CliTest, UsageErrors) {
    EXPECT_EQ(Run({}).Code, 1);
    EXPECT_EQ(Run({"--help"}, false).Code, 0);
    TRun r = Run({"bogus"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("bogus"), std::string::npos);
    EXPECT_EQ(Run({"draws", "import"}).Code, 1);
    EXPECT_EQ(Run({"draws", "extra"}).Code, 1);
    EXPECT_EQ(Run({"--offset", "x", "status"}).Code, 1);
    EXPECT_EQ(Run({"demo", "--draws", "0"}).Code, 1);
    r = Run({"draws", "import", (Dir / "none.csv").string()});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("none.csv"), std::string::npos);
}

TEST_F(CliTest, ProgramRefusesAFolderInUse) {
    // The real program: exit code 1 and both messages on stderr while a session holds the folder.
    ASSERT_EQ(Run({"demo", "--draws", "2"}).Code, 0);
    TDataLock lock;
    lock.Acquire(Dir / "Kumby_12x24.lsk");
    const std::string cmd =
        std::string(KUMBY_CLI_PATH) + " --data-dir '" + Dir.Path().string() + "' status 2>&1";
    FILE* p = ::popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string output;
    char buf[512];
    while (size_t n = std::fread(buf, 1, sizeof buf, p))
        output.append(buf, n);
    const int status = ::pclose(p);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(output.find("Ошибка чтения файла ставок!"), std::string::npos) << output;
    EXPECT_NE(output.find("Невозможно получить монопольный доступ к файлам данных!"), std::string::npos);
}

} // namespace
} // namespace kumby
