#include "CliRun.h"

#include "stakes/RegularStakes.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::OutputLines;
using testing::TTempDir;

class RegularCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        TDrawsArray draws;
        for (int i = 1; i <= 5; ++i)
            draws.push_back(testing::SpreadDraw(i, i));
        testing::WriteArchive(Dir.Path(), draws);
    }
    testing::TRun Run(std::vector<std::string> args) {
        return testing::RunCliIn(Dir.Path(), std::move(args));
    }
    TTempDir Dir;
};

TEST_F(RegularCliTest, AddStakeTestAndList) {
    auto r = Run({"regulars", "add", "--comment", "Ряд", "--numbers", "13;14;15;16;17;18;19;20;21;22;23;24"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    r = Run({"regulars", "add", "--comment", "Тираж", "--last-draw", "--step", "-1"});
    ASSERT_EQ(r.Code, 0) << r.Err;

    r = Run({"regulars", "stake", "1"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "1;14;15;16;17;18;19;20;21;22;23;24\n");

    r = Run({"regulars", "test", "1", "2", "--count", "3"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "6\n");

    r = Run({"regulars"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const auto lines = OutputLines(r.Out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Комментарий\tСтартовая комбинация\tШаг\tТекущая комбинация\tСтавок");
    EXPECT_EQ(lines[1], "Ряд\t13;14;15;16;17;18;19;20;21;22;23;24\t1\t1;2;3;4;17;18;19;20;21;22;23;24\t4");
    EXPECT_EQ(lines[2].rfind("Тираж\t0;0;0;0;0;0;0;0;0;0;0;0\t-1\t", 0), 0u) << lines[2];
    EXPECT_TRUE(lines[2].ends_with("\t3")) << lines[2];
    EXPECT_EQ(Run({"regular", "list"}).Out, r.Out) << "the singular names the same command";

    // Seven stakes of kind "Регуляр": one for draw 6, six from the test.
    r = Run({"stakes"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const auto stakes = OutputLines(r.Out);
    ASSERT_EQ(stakes.size(), 8u);
    for (std::size_t i = 1; i < stakes.size(); ++i)
        EXPECT_NE(stakes[i].find("\tРегуляр\t"), std::string::npos) << stakes[i];
}

TEST_F(RegularCliTest, RefusalsAndHiddenTab) {
    struct TCase {
        std::vector<std::string> Args;
        std::string Err;
    } cases[] = {
        {{"regulars", "add", "--comment", "Ряд", "--numbers", "1;2;3"}, "Введена некорректная комбинация!"},
        {{"regulars", "add", "--comment", "", "--last-draw"}, "Необходимо ввести комментарий!"},
        {{"regulars", "stake", "1"}, "Некорректный номер регулярной ставки: \"1\""},
        {{"regulars", "test", "--count", "3"}, "Не указаны номера регулярных ставок."},
    };
    for (const TCase& c : cases) {
        const auto r = Run(c.Args);
        EXPECT_EQ(r.Code, 1) << c.Args.back();
        EXPECT_NE(r.Err.find(c.Err), std::string::npos) << r.Err;
    }
    EXPECT_FALSE(std::filesystem::exists(Dir / RegularsFileName));

    testing::WriteBytes(Dir / "Kumby_12x24.frm", "[TFormMain]\r\nTabTables=0\r\n");
    const auto r = Run({"regulars", "add", "--comment", "Ряд", "--last-draw"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("скрыта"), std::string::npos) << r.Err;
    EXPECT_FALSE(std::filesystem::exists(Dir / RegularsFileName));
}

} // namespace
} // namespace kumby
