#include "CliRun.h"

#include "model/Cp1251.h"
#include "stakes/Ratings.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::OutputLines;
using testing::TTempDir;

std::string Header() {
    std::string h = "Комментарий\tСтавок\tСовпало\tСреднее\tПрофит\tСр. профит";
    for (int k = 0; k <= 12; ++k)
        h += "\t" + std::to_string(k);
    for (int k = 0; k <= 12; ++k)
        h += "\tE" + std::to_string(k);
    return h;
}

class RatingsCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::WriteArchive(Dir.Path(), {testing::PlainDraw(1), testing::DrawOf(2, {1, 2, 3, 13, 14, 15, 16,
                                                                                      17, 18, 19, 20, 21})});
        testing::WriteBytes(Dir / "Kumby_12x24.ini",
                            "[STAKES]\r\nCost=50\r\nProfits=1\r\nProfit_0_Overlap=12\r\n"
                            "Profit_0_Profit=1000\r\n");
        // "Один": 12 matches on draw 1 and 3 on draw 2; "Два": 3 matches on draw 2.
        AddStake("1", "Один");
        AddStake("2", "Один");
        AddStake("2", "Два");
    }
    void AddStake(const char* draw, const char* comment) {
        const auto r = Run({"stakes", "add", "--numbers", "1;2;3;4;5;6;7;8;9;10;11;12", "--draw", draw,
                            "--comment", comment});
        ASSERT_EQ(r.Code, 0) << r.Err;
    }
    testing::TRun Run(std::vector<std::string> args) {
        return testing::RunCliIn(Dir.Path(), std::move(args));
    }

    TTempDir Dir;
};

TEST_F(RatingsCliTest, ListInEachViewAndOrder) {
    auto r = Run({"ratings"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    auto lines = OutputLines(r.Out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], Header());
    // By the average, descending: "Один" 7.5 before "Два" 3.
    EXPECT_EQ(
        lines[1].rfind("Один\t2\t15\t7.500\t900.00\t450.00\t0\t0\t0\t1\t0\t0\t0\t0\t0\t0\t0\t0\t1\t", 0), 0u)
        << lines[1];
    EXPECT_EQ(lines[2].rfind("Два\t1\t3\t3.000\t-50.00\t-50.00\t", 0), 0u) << lines[2];
    EXPECT_NE(lines[2].find("%"), std::string::npos) << "view 1 by default";

    r = Run({"ratings", "--mode", "0", "--sort", "1"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    lines = OutputLines(r.Out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].rfind("Два\t", 0), 0u) << "fewer stakes first";
    EXPECT_EQ(lines[1].substr(lines[1].size() - 2), "\t0") << "expected count of 12 matches for one stake";
    EXPECT_EQ(lines[1].find("%"), std::string::npos);

    r = Run({"ratings", "--sort", "0:desc"});
    EXPECT_EQ(OutputLines(r.Out)[1].rfind("Один\t", 0), 0u);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"ratings", "--mode", "3"},
                                                {"ratings", "--sort", "32"},
                                                {"ratings", "extra"}}) {
        r = Run(bad);
        EXPECT_EQ(r.Code, 1);
        EXPECT_EQ(r.Out, "");
        EXPECT_FALSE(r.Err.empty());
    }
}

TEST_F(RatingsCliTest, ExportWritesTheFiguresInCp1251) {
    const auto out = Dir / "ratings.csv";
    auto r = Run({"ratings", "export", out.string()});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "2\n");
    const std::string text = Cp1251ToUtf8(testing::ReadBytes(out));
    const auto lines = OutputLines(text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "\"Один\";2;15;7.500;900.00;450.00;0;0;0;1;0;0;0;0;0;0;0;0;1\r");
    EXPECT_EQ(lines[2], "\"Два\";1;3;3.000;-50.00;-50.00;0;0;0;1;0;0;0;0;0;0;0;0;0\r");

    r = Run({"ratings", "export", (Dir / RatingsFileName).string()});
    EXPECT_EQ(r.Code, 1) << "the program's own files are refused";
    EXPECT_NE(r.Err.find("является файлом данных программы"), std::string::npos);
    EXPECT_EQ(Run({"ratings", "export"}).Code, 1);
}

TEST_F(RatingsCliTest, RefreshAndClearAsk) {
    auto r = Run({"ratings", "refresh"});
    EXPECT_EQ(r.Code, 1) << "refused without --yes";
    EXPECT_NE(r.Err.find("Пересчитать рейтинг только по текущим ставкам?"), std::string::npos);

    r = Run({"--yes", "stakes", "delete", "--matches", ">5"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    r = Run({"--yes", "ratings", "refresh"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "2\n");
    EXPECT_EQ(OutputLines(Run({"ratings"}).Out)[1].rfind("Один\t1\t3\t", 0), 0u) << "the 12 matches are gone";

    r = Run({"--yes", "stakes", "clear"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(OutputLines(Run({"ratings"}).Out).size(), 1u) << "rebuilt from the empty file";
    EXPECT_EQ(testing::ReadBytes(Dir / RatingsFileName), "");
}

} // namespace
} // namespace kumby
