// card, layout and weekday print the views' grids as tables.

#include "CliApp.h"
#include "CliRun.h"

#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::OutputLines;
using testing::RunCliIn;
using testing::TRun;
using testing::TTempDir;
using testing::WriteArchive;

class ViewsCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteArchive(Dir.Path(),
                     {DrawOf(10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "04.01.2021 20:00"),
                      DrawOf(11, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}, "08.01.2021 20:00"),
                      DrawOf(12, {1, 13, 2, 14, 3, 15, 4, 16, 5, 17, 6, 18}, "10.01.2021 20:00")});
    }
    std::vector<std::string> Lines(std::vector<std::string> args) {
        const TRun r = RunCliIn(Dir.Path(), std::move(args));
        EXPECT_EQ(r.Code, 0) << r.Err;
        return OutputLines(r.Out);
    }

    TTempDir Dir;
};

TEST_F(ViewsCliTest, CardHasARowPerDrawNewestFirst) {
    const auto lines = Lines({"card"});
    ASSERT_EQ(lines.size(), 4u);
    std::string header = "Тираж";
    for (int n = 1; n <= 24; ++n)
        header += "\t" + std::to_string(n);
    EXPECT_EQ(lines[0], header);
    EXPECT_EQ(lines[1], "12\t1\t2\t3\t4\t5\t6\t\t\t\t\t\t\t13\t14\t15\t16\t17\t18\t\t\t\t\t\t");
    EXPECT_EQ(lines[3].substr(0, 3), "10\t");
}

TEST_F(ViewsCliTest, LayoutAtAnOffsetThenTheComparisonLists) {
    const auto lines = Lines({"--offset", "1", "layout", "--len", "1"});
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "\t11");
    EXPECT_EQ(lines[1], "1\t[13], [14], [15], [16], [17], [18], 19, 20, 21, 22, 23, 24");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "Кол-во\t10 - 11");
    EXPECT_EQ(lines[4],
              "1\t13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12");
}

TEST_F(ViewsCliTest, WeekdayRowsAreTheDays) {
    // Monday, Friday and Sunday; the length leaves out the Monday.
    const auto lines = Lines({"weekday", "--len", "2"});
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[1], "Пн" + std::string(24, '\t'));
    auto repeat = [](const std::string& cell, int times) {
        std::string text;
        for (int i = 0; i < times; ++i)
            text += "\t" + cell;
        return text;
    };
    EXPECT_EQ(lines[5], "Пт" + repeat("", 12) + repeat("1", 12));
    EXPECT_EQ(lines[7], "Вс" + repeat("1", 6) + repeat("", 6) + repeat("1", 6) + repeat("", 6));
    EXPECT_NE(RunCliIn(Dir.Path(), {"weekday", "--len", "0"}).Code, 0);
}

} // namespace
} // namespace kumby
