#include "CliRun.h"

#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::CombinationWithSum;
using testing::DrawOf;
using testing::OutputLines;
using testing::RunCliIn;
using testing::TRun;
using testing::TTempDir;
using testing::WriteArchive;

class GraphsCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        TDrawsArray draws;
        for (int sum : {100, 120, 120, 150})
            draws.push_back(DrawOf(11 + static_cast<int>(draws.size()), CombinationWithSum(sum)));
        WriteArchive(Dir.Path(), draws);
    }
    TRun Run(std::vector<std::string> args) { return RunCliIn(Dir.Path(), std::move(args)); }

    TTempDir Dir;
};

TEST_F(GraphsCliTest, GraphListsTheWindowThenAverageAndMostFrequent) {
    const TRun r = Run({"--offset", "1", "chart", "sums", "--depth", "3"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(OutputLines(r.Out), (std::vector<std::string>{"Тираж\tЗначение", "11\t100", "12\t120",
                                                            "13\t120", "Среднее значение\t113.33",
                                                            "Наиболее часто встречающееся значение\t120"}));
}

TEST_F(GraphsCliTest, GraphRefusesUnknownAndUnchartedMethods) {
    for (const char* code : {"NOPE", "NUMS"}) {
        const TRun r = Run({"chart", code});
        EXPECT_EQ(r.Code, 1) << code;
        EXPECT_TRUE(r.Out.empty());
        EXPECT_NE(r.Err.find(code), std::string::npos) << r.Err;
    }
}

TEST_F(GraphsCliTest, SumDistListsEverySumThenTheLevels) {
    const TRun r = Run({"sumdist"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const auto lines = OutputLines(r.Out);
    ASSERT_EQ(lines.size(), 1u + 145u + 3u);
    EXPECT_EQ(lines[0], "Сумма\tКомбинаций\tТиражей");
    EXPECT_EQ(lines[1], "78\t1\t0");
    EXPECT_EQ(lines[1 + 120 - 78].substr(lines[1 + 120 - 78].rfind('\t')), "\t2");
    EXPECT_EQ(lines[145], "222\t1\t0");
    EXPECT_EQ(lines[146].rfind("Диапазон 1 (от 1/3 и выше по оси Y) - суммы ", 0), 0u) << lines[146];
}

TEST_F(GraphsCliTest, RepeatsListsTheFourColumns) {
    const TRun r = Run({"repeats", "--len", "1", "--depth", "2"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const auto lines = OutputLines(r.Out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Тираж\tСовпадений\tКол-во повторов\tСписок тиражей");
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].rfind("14\t", 0), 0u) << lines[i];
    EXPECT_EQ(Run({"repeats", "--depth", "0"}).Code, 1);
}

} // namespace
} // namespace kumby
