// kumby-cli script run / script test: the stakes they make equal the filters of the
// command-line program applied by hand, and their log equals the session's.

#include "CliRun.h"

#include "model/Cp1251.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace kumby {
namespace {

using testing::OutputLines;
using testing::TTempDir;

constexpr int ArchiveSize = 30;
const char* const OneFilter = "FULL:0#FIRST|TMF1#NUMS:10#CMV:2#SF:1| | | | | | |одна строка\r\n";

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    std::istringstream s(line);
    for (std::string c; std::getline(s, c, '\t');)
        cells.push_back(c);
    return cells;
}

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The log lines without their time stamps.
std::vector<std::string> LogLines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    for (const std::string& l : OutputLines(Cp1251ToUtf8(ReadText(file))))
        lines.push_back(l.substr(l.find("]: ") + 3));
    return lines;
}

class ScriptRunCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::WriteArchive(Dir.Path(), testing::RandomArchive(ArchiveSize, 3, 501));
        std::ofstream(Dir / "one.lsc", std::ios::binary) << Utf8ToCp1251(OneFilter);
    }
    testing::TRun Run(std::vector<std::string> args) {
        return testing::RunCliIn(Dir.Path(), std::move(args));
    }
    std::string P(const char* name) { return (Dir / name).string(); }
    TTempDir Dir;
};

TEST_F(ScriptRunCliTest, ForecastPrintsTheStakeForTheDrawAfterTheNewestVisible) {
    const auto r = Run({"--offset", "4", "script", "run", P("one.lsc"), "--log", P("log.txt")});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const auto lines = OutputLines(r.Out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Cells(lines[0])[0], "№ тиража");
    const auto cells = Cells(lines[1]);
    EXPECT_EQ(cells[0], std::to_string(501 + ArchiveSize - 4));
    EXPECT_EQ(cells[1], "Сценарий");
    EXPECT_EQ(cells.back(), "01.001: одна строка @ FULL#FIRST + TMF#NUMS:10#CMV:2#SF:1");
    EXPECT_EQ(
        LogLines(Dir / "log.txt").front(),
        "### ЗАПУСК СЦЕНАРИЯ ##########################################################################\r");
}

TEST_F(ScriptRunCliTest, BackTestStakesEqualTheFilterCommandAtEachOffset) {
    const auto r = Run({"script", "test", P("one.lsc"), "--tests", "3"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const auto lines = OutputLines(r.Out);
    ASSERT_EQ(lines.size(), 5u); // header, three draws, total
    EXPECT_EQ(lines[0], "Тираж\tСтавок\tПроверено\tСовпало 0\tСовпало 1\tСовпало 2\tСовпало 3\tСовпало 4\t"
                        "Совпало 5\tСовпало 6\tСовпало 7\tСовпало 8\tСовпало 9\tСовпало 10\tСовпало 11\t"
                        "Совпало 12\tПрибыль");
    EXPECT_EQ(Cells(lines[4])[0], "Всего");
    EXPECT_EQ(Cells(lines[4])[1], "3");
    EXPECT_EQ(Cells(lines[4])[2], "3");

    std::vector<std::string> stakes;
    for (const std::string& l : OutputLines(Run({"stakes"}).Out))
        if (Cells(l).size() > 1 && !Cells(l)[1].empty()) // separators have no kind
            stakes.push_back(l);
    ASSERT_EQ(stakes.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        const int offset = 3 - i;
        const auto stake = Cells(stakes[1 + i]);
        EXPECT_EQ(stake[0], std::to_string(501 + ArchiveSize - offset));
        EXPECT_EQ(Cells(lines[1 + i])[0], stake[0]);

        // By hand: the values of NUMS over 10 draws counted at least twice, kept.
        const std::string offsetText = std::to_string(offset);
        const auto table = OutputLines(Run({"--offset", offsetText, "stats", "NUMS", "--depth", "10"}).Out);
        std::vector<std::string> args = {"--offset", offsetText, "filter", "NUMS", "--depth", "10", "--keep"};
        for (std::size_t row = 1; row < table.size(); ++row)
            if (std::stoi(Cells(table[row])[1]) >= 2)
                args.push_back(Cells(table[row])[0]);
        args.insert(args.end(), {"--out", P("byhand.lcv")});
        const auto f = Run(args);
        ASSERT_EQ(f.Code, 0) << f.Err;
        const std::string list = ReadText(Dir / "byhand.lcv");
        EXPECT_EQ(stake[2], list.substr(0, list.find('\r'))) << "offset " << offset;
    }
}

TEST_F(ScriptRunCliTest, TheLogEqualsTheOneOfTheProgramWithWindows) {
    const std::string line = "FULL:0#RAND|TMF1#NUMS:5,10#CMV:2#SF:1| | | | | |";
    std::ofstream(Dir / "rand.lsc", std::ios::binary) << line << "\r\n";
    ASSERT_EQ(
        Run({"script", "test", P("rand.lsc"), "--tests", "2", "--seed", "9", "--log", P("cli.txt")}).Code, 0);

    testing::TTestSession desktop({}, false);
    desktop.StartWith(testing::RandomArchive(ArchiveSize, 3, 501));
    desktop.S->SetScriptSeed(9);
    desktop.S->SetScriptLogFile(desktop / "gui.txt");
    ASSERT_TRUE(desktop.S->ScriptBackTest({line}, 2));
    EXPECT_EQ(LogLines(Dir / "cli.txt"), LogLines(desktop / "gui.txt"));
}

TEST_F(ScriptRunCliTest, RefusesWhatCannotRun) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"script", "run"},
          {"script", "run", P("missing.lsc")},
          {"script", "test", P("one.lsc")},
          {"script", "test", P("one.lsc"), "--tests", "30"},
          {"script", "test", P("one.lsc"), "--tests", "0"},
          {"script", "run", P("one.lsc"), "--seed", "x"},
          {"script", "run", P("one.lsc"), "--log", P("Kumby_12x24.lsk")}}) {
        const auto r = Run(args);
        EXPECT_EQ(r.Code, 1) << args.back();
        EXPECT_FALSE(r.Err.empty()) << args.back();
    }
    EXPECT_EQ(OutputLines(Run({"stakes"}).Out).size(), 1u); // nothing was staked
}

} // namespace
} // namespace kumby
