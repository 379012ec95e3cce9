#include "CliRun.h"

#include "draws/DrawArchive.h"
#include "stakes/StakesFile.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::OutputLines;
using testing::TTempDir;

const std::string Header = "№ тиража\tВид ставки\tМоя ставка\tВыборка\tРезультаты "
                           "тиража\tСовпадений\tСовпадения\tПрофит\tКомментарий";

class StakesCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::WriteArchive(Dir.Path(), {testing::PlainDraw(1), testing::DrawOf(2, {1, 2, 3, 13, 14, 15, 16,
                                                                                      17, 18, 19, 20, 21})});
        testing::WriteBytes(
            Dir / "Kumby_12x24.ini",
            "[STAKES]\r\nCost=50\r\nProfits=1\r\nProfit_0_Overlap=12\r\nProfit_0_Profit=1000\r\n");
    }
    testing::TRun Run(std::vector<std::string> args) {
        return testing::RunCliIn(Dir.Path(), std::move(args));
    }

    TTempDir Dir;
};

TEST_F(StakesCliTest, ManualStakesAreCheckedAndListed) {
    auto r = Run({"stakes", "add", "--numbers", "12;11;10;9;8;7;6;5;4;3;2;1", "--draw", "2", "--copies", "2",
                  "--comment", "Моя"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "1\n");
    r = Run({"stakes"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    auto lines = OutputLines(r.Out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], Header);
    EXPECT_EQ(lines[1],
              "2\tВручную\t1;2;3;4;5;6;7;8;9;10;11;12\t2704156\t1;2;3;13;14;15;16;17;18;19;20;21\t3\t1 2 "
              "3\t-50.00\tМоя");
    EXPECT_EQ(lines[2], "\t\t\t\t\t\t\t\t") << "separator";
    EXPECT_EQ(lines[3], "3\tВручную\t1;2;3;4;5;6;7;8;9;10;11;12\t2704156\t\t\t\t-50.00\tМоя")
        << "not yet drawn";

    r = Run({"stakes", "--last", "1"});
    EXPECT_EQ(OutputLines(r.Out).size(), 4u) << "fewer checked draws than asked: from the start";

    // Draw 3 arrives: checking is a command of its own.
    ASSERT_EQ(Run({"draws", "add", "--number", "3", "--numbers", "1;2;3;4;5;6;7;8;9;10;11;12"}).Code, 0);
    r = Run({"stakes", "check"});
    EXPECT_EQ(r.Out, "1\n");
    EXPECT_EQ(Run({"stakes", "check"}).Out, "0\n");
    EXPECT_NE(Run({"stakes"}).Out.find("\t12\t1 2 3 4 5 6 7 8 9 10 11 12\t950.00\tМоя"), std::string::npos);
    lines = OutputLines(Run({"stakes", "--last", "1"}).Out);
    ASSERT_EQ(lines.size(), 3u) << "from just after the draw before the last one";
    EXPECT_EQ(lines[1], "\t\t\t\t\t\t\t\t");
    EXPECT_EQ(lines[2].substr(0, 2), "3\t");
}

TEST_F(StakesCliTest, RefusedStakesGetTheDialogsMessages) {
    struct TCase {
        std::vector<std::string> Args;
        std::string Err;
    };
    const TCase cases[] = {
        {{"--numbers", "1;2;3;4;5;6;7;8;9;10;11", "--comment", "к"}, "Введена некорректная комбинация!\n"},
        {{"--numbers", "1;2;3;4;5;6;7;8;9;10;11;25", "--comment", "к"}, "Введена некорректная комбинация!\n"},
        {{"--numbers", "1;2;3;4;5;6;7;8;9;10;11;1", "--comment", "к"}, "Введена некорректная комбинация!\n"},
        {{"--numbers", "1;2;3;4;5;6;7;8;9;10;11;12"}, "Необходимо ввести комментарий!\n"},
        {{"--numbers", "1;2;3;4;5;6;7;8;9;10;11;12", "--comment", "к", "--copies", "0"}, ""},
        {{"--comment", "к"}, ""},
        {{"--in", "x.lcv"}, ""},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> args = {"stakes", "add"};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const auto r = Run(args);
        EXPECT_EQ(r.Code, 1) << c.Args[0];
        EXPECT_TRUE(r.Out.empty());
        if (!c.Err.empty()) {
            EXPECT_EQ(r.Err, c.Err);
        }
    }
    EXPECT_EQ(std::filesystem::file_size(Dir / StakesFileName), 0u);
}

TEST_F(StakesCliTest, StakesFromAListFileThenDeleteAndClear) {
    testing::WriteBytes(Dir / "in.lcv",
                        "1;2;3;4;5;6;7;8;9;10;11;12\r\n13;14;15;16;17;18;19;20;21;22;23;24\r\n"
                        "1;2;3;13;14;15;16;17;18;19;20;24\r\n");
    auto r = Run({"stakes", "add", "--in", (Dir / "in.lcv").string(), "--all", "--draw", "2"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "3\n");
    r = Run(
        {"stakes", "add", "--in", (Dir / "in.lcv").string(), "--random", "--draw", "9", "--comment", "R"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    auto lines = OutputLines(Run({"stakes"}).Out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_NE(lines[1].find("\t3\t1 2 3\t"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("\tСтавка \"вручную\""), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("\t9\t13 14 15 16 17 18 19 20 21\t"), std::string::npos) << lines[2];
    EXPECT_NE(lines[4].find("\t3\t"), std::string::npos) << "the list's size";

    r = Run({"stakes", "delete", "--matches", "<=3"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "2\n") << "3 matches and the unchecked one";
    EXPECT_EQ(OutputLines(Run({"stakes"}).Out).size(), 3u);
    EXPECT_EQ(Run({"stakes", "delete", "--matches", "<<3"}).Code, 1);

    r = Run({"stakes", "clear"});
    EXPECT_EQ(r.Code, 1) << "asks first";
    r = Run({"--yes", "stakes", "clear"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "2\n");
    EXPECT_EQ(std::filesystem::file_size(Dir / StakesFileName), 0u);
}

TEST_F(StakesCliTest, AListWithAnImpossibleStakeMakesNone) {
    testing::WriteBytes(Dir / "bad.lcv", "1;2;3;4;5;6;7;8;9;10;11;12\r\n1;1;3;4;5;6;7;8;9;10;11;12\r\n");
    const auto r = Run({"stakes", "add", "--in", (Dir / "bad.lcv").string(), "--all"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("№ 2"), std::string::npos) << r.Err;
    EXPECT_EQ(std::filesystem::file_size(Dir / StakesFileName), 0u);
}

} // namespace
} // namespace kumby
