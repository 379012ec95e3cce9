#include "stakes/StakesGrid.h"

#include "StakesTestSupport.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::StakeFor;

// A stake of 1..12 checked against a draw that brought 1..6 and 13..18 (6 matches).
TStakeRecord CheckedStake(TMoney profit) {
    TStakeRecord r = StakeFor(7);
    r.Checked = 1;
    const uint8_t draw[12] = {13, 1, 14, 2, 15, 3, 16, 4, 17, 5, 18, 6};
    std::copy(draw, draw + 12, r.DrawResult);
    r.Matched.Count = 6;
    for (int i = 0; i < 6; ++i)
        r.Matched.Numbers[i] = static_cast<uint8_t>(i + 1);
    r.Profit = profit;
    return r;
}

TEST(StakesGridTest, CellsOfStakesAndSeparators) {
    const auto cells = StakeGridCells(CheckedStake(1500000));
    const std::array<std::string, StakesGridColumns> expected = {"7",
                                                                 "Вручную",
                                                                 "1;2;3;4;5;6;7;8;9;10;11;12",
                                                                 "100",
                                                                 "13;1;14;2;15;3;16;4;17;5;18;6",
                                                                 "6",
                                                                 "1 2 3 4 5 6",
                                                                 "150.00",
                                                                 "тест"};
    EXPECT_EQ(cells, expected);
    const auto unchecked = StakeGridCells(StakeFor(8, testing::FirstTwelve(), 500000));
    EXPECT_EQ(unchecked[4], "");
    EXPECT_EQ(unchecked[5], "");
    EXPECT_EQ(unchecked[7], "-50.00");
    for (const std::string& cell : StakeGridCells(SeparatorRecord()))
        EXPECT_EQ(cell, "");
}

TEST(StakesGridTest, NumbersMarkedWhereMatched) {
    const TStakeRecord r = CheckedStake(0);
    const auto stake = StakeNumberCells(r, StakesGridStakeColumn);
    ASSERT_EQ(stake.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(stake[i].Number, i + 1);
        EXPECT_EQ(stake[i].Matched, i < 6) << i;
    }
    const auto result = StakeNumberCells(r, StakesGridResultColumn);
    ASSERT_EQ(result.size(), 12u);
    EXPECT_EQ(result[0].Number, 13);
    EXPECT_FALSE(result[0].Matched);
    EXPECT_EQ(result[1].Number, 1);
    EXPECT_TRUE(result[1].Matched);
    EXPECT_TRUE(StakeNumberCells(r, 3).empty());
    EXPECT_TRUE(StakeNumberCells(StakeFor(7), StakesGridResultColumn).empty()) << "not checked yet";
    EXPECT_EQ(StakeNumberCells(StakeFor(7), StakesGridStakeColumn).size(), 12u);
    EXPECT_TRUE(StakeNumberCells(SeparatorRecord(), StakesGridStakeColumn).empty());
    // A damaged count never reads past the record's numbers.
    TStakeRecord damaged = r;
    damaged.Numbers.Count = 100;
    damaged.Matched.Count = 100;
    EXPECT_EQ(StakeNumberCells(damaged, StakesGridStakeColumn).size(), 12u);
}

TEST(StakesGridTest, ColoursOfKindsAndResults) {
    EXPECT_EQ(StakeKindColour(StakeKindManual), 0xEAFFEAu);
    EXPECT_EQ(StakeKindColour(StakeKindRegular), 0xFFEAEAu);
    EXPECT_EQ(StakeKindColour(StakeKindScript), 0xEAFFFFu);
    EXPECT_EQ(StakeKindColour(StakeKindSystem), 0xFCFDD9u);
    EXPECT_FALSE(StakeKindColour(StakeKindSeparator));
    EXPECT_FALSE(StakeKindColour(9));

    for (int c = 5; c <= 7; ++c) {
        EXPECT_EQ(StakeResultColour(CheckedStake(1), c), StakeProfitColour) << c;
        EXPECT_EQ(StakeResultColour(CheckedStake(0), c), StakeLossColour) << c;
    }
    EXPECT_FALSE(StakeResultColour(CheckedStake(1), 4));
    EXPECT_FALSE(StakeResultColour(CheckedStake(1), 8));
    EXPECT_FALSE(StakeResultColour(StakeFor(7), 7)) << "unchecked";
}

TEST(StakesGridTest, ProfitChartLines) {
    const TProfitDrawArray list = {{5, 1000000}, {3, -500000}, {6, 0}};
    const auto series = ProfitByDrawSeries(list);
    ASSERT_EQ(series.size(), 3u);
    EXPECT_EQ(series[0].Title, "Суммарный профит ставок по тиражу");
    EXPECT_EQ(series[1].Title, "Среднее значение");
    EXPECT_EQ(series[2].Title, "Накопленное значение");
    const double perDraw[] = {100, -50, 0};
    const double running[] = {100, 50, 50};
    const double x[] = {5, 3, 6};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(series[0].Points[i].X, x[i]);
        EXPECT_DOUBLE_EQ(series[0].Points[i].Y, perDraw[i]);
        EXPECT_NEAR(series[1].Points[i].Y, 50.0 / 3, 1e-9);
        EXPECT_DOUBLE_EQ(series[2].Points[i].Y, running[i]);
    }
}

} // namespace
} // namespace kumby
