#include "CliRun.h"

#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::OutputLines;
using testing::TTempDir;

class ScriptCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        TDrawsArray draws;
        for (int i = 1; i <= 3; ++i)
            draws.push_back(testing::SpreadDraw(i, i));
        testing::WriteArchive(Dir.Path(), draws);
    }
    testing::TRun Run(std::vector<std::string> args) {
        return testing::RunCliIn(Dir.Path(), std::move(args));
    }
    TTempDir Dir;
};

TEST_F(ScriptCliTest, ShowListsTheLinesAsTheTabDoes) {
    // CP1251 with LF and CR LF line ends: "Прогноз" as the first comment.
    testing::WriteBytes(Dir / "a.lsc",
                        "excl:3#all#nex#clr|tsd1#nums:10#cmv:5#sf:1| | |BMF2#pos10:5-30;5#wmv:3#st:4#"
                        "1.5:-1:1:0:0| | | |\xCF\xF0\xEE\xE3\xED\xEE\xE7\n"
                        "\r\n"
                        "FULL:0#RAND|TSD1#ABCD:7| | | | | | \r\n");
    const auto r = Run({"script", "show", (Dir / "a.lsc").string()});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const auto lines = OutputLines(r.Out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              "Комментарии\tОпции\tФильтр 1\tФильтр 2\tФильтр 3\tФильтр 4\tФильтр 5\tФильтр 6\tФильтр 7");
    EXPECT_EQ(lines[1], "Прогноз\tИсключить 3 тиражей; Все; Удалить ставки; Только новые ставки\t"
                        "TSD1#NUMS:10#CMV:5#SF:1\t\t\tBMF2#POS10:5-30;5#WMV:3#ST:4#1.5:-1:1:0:0\t\t\t");
    EXPECT_EQ(lines[2], "\t\t\t\t\t\t\t\t") << "a separator";
    EXPECT_EQ(lines[3],
              "\tИсходный список; Случайно; Все создаваемые ставки\tTSD1#ABCD:7#LNO:#SF:0\t\t\t\t\t\t");

    // The file is only looked at: the current script stays empty.
    const auto current = Run({"script", "show"});
    ASSERT_EQ(current.Code, 0) << current.Err;
    EXPECT_EQ(OutputLines(current.Out).size(), 1u);
}

TEST_F(ScriptCliTest, ShowRefusesAFileItCannotRead) {
    const auto missing = Dir / "missing.lsc";
    const auto r = Run({"script", "show", missing.string()});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "");
    EXPECT_NE(r.Err.find("Ошибка чтения файла \"" + missing.string() + "\"!"), std::string::npos) << r.Err;
    EXPECT_EQ(Run({"script", "show", "a", "b"}).Code, 1);
}

} // namespace
} // namespace kumby
