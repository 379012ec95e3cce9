// Systems the program makes: the guarantee they report against a check written
// here from scratch over every possible draw.

#include "model/VexoUtils.h"
#include "stakes/SystemGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <set>
#include <vector>

namespace kumby {
namespace {

// Every draw of m positions out of n, as sets, and the best match of each against the
// combinations read back from the file text.
std::vector<uint64_t> ExhaustiveBestCounts(const std::vector<TSystemLine>& system, int n, int m) {
    std::vector<uint64_t> counts(static_cast<std::size_t>(std::min(m, NumbersInDraw)) + 1, 0);
    std::vector<bool> pick(static_cast<std::size_t>(n), false);
    std::fill(pick.begin(), pick.begin() + m, true);
    do {
        std::set<int> draw;
        for (int p = 0; p < n; ++p)
            if (pick[static_cast<std::size_t>(p)])
                draw.insert(p + 1);
        int best = 0;
        for (const TSystemLine& line : system) {
            int hits = 0;
            for (uint8_t p : line)
                hits += draw.count(p) ? 1 : 0;
            best = std::max(best, hits);
        }
        ++counts[static_cast<std::size_t>(best)];
    } while (std::prev_permutation(pick.begin(), pick.end()));
    return counts;
}

int Worst(const std::vector<uint64_t>& counts) {
    for (std::size_t k = 0; k < counts.size(); ++k)
        if (counts[k])
            return static_cast<int>(k);
    return 0;
}

struct TGuaranteeCase {
    int N, M, T;
};

class SystemGuaranteeTest : public ::testing::TestWithParam<TGuaranteeCase> {};

TEST_P(SystemGuaranteeTest, ReportedGuaranteeEqualsAnExhaustiveCheckAndHoldsTheRequest) {
    const TGuaranteeCase c = GetParam();
    const TSystemRequest request{c.N, false, c.M, c.T};
    ASSERT_EQ(SystemRequestProblem(request), "");
    const auto system = GenerateSystem(request, nullptr);
    ASSERT_TRUE(system);
    // What the file holds is what is checked.
    const std::vector<TSystemLine> lines = ParseSystemText(SystemFileText(*system, c.N), c.N, "generated");
    ASSERT_EQ(lines.size(), system->size());

    const std::vector<uint64_t> expected = ExhaustiveBestCounts(lines, c.N, c.M);
    const auto check = CheckSystem(SystemMasks(lines), c.N, c.M, nullptr);
    ASSERT_TRUE(check);
    EXPECT_EQ(check->DrawsByBest, expected);
    EXPECT_EQ(check->Worst, Worst(expected));
    EXPECT_EQ(check->Draws, Binomial(c.N, c.M));
    EXPECT_GE(check->Worst, c.T);
    // Reduced: fewer combinations than the full system.
    if (c.T < c.M) {
        EXPECT_LT(system->size(), Binomial(c.N, NumbersInDraw));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SystemGuaranteeTest,
                         ::testing::Values(TGuaranteeCase{16, 12, 10}, TGuaranteeCase{14, 12, 11},
                                           TGuaranteeCase{15, 11, 9}, TGuaranteeCase{13, 6, 5},
                                           TGuaranteeCase{17, 12, 11}, TGuaranteeCase{14, 2, 2}),
                         [](const auto& info) {
                             return "N" + std::to_string(info.param.N) + "M" + std::to_string(info.param.M) +
                                    "T" + std::to_string(info.param.T);
                         });

TEST(SystemGeneratorTest, FullSystemHoldsEveryCombinationOnceAndGuaranteesAllDrawn) {
    const auto system = GenerateSystem({14, true, 0, 0}, nullptr);
    ASSERT_TRUE(system);
    EXPECT_EQ(system->size(), Binomial(14, 12));
    EXPECT_EQ(std::set<TPositionMask>(system->begin(), system->end()).size(), system->size());
    for (TPositionMask mask : *system)
        EXPECT_EQ(std::popcount(mask), 12);
    const auto check = CheckSystem(*system, 14, 12, nullptr);
    ASSERT_TRUE(check);
    EXPECT_EQ(check->Worst, 12);
    EXPECT_EQ(check->DrawsByBest.back(), Binomial(14, 12));
}

TEST(SystemGeneratorTest, RequestsOutOfRangeAreRefused) {
    EXPECT_NE(SystemRequestProblem({12, true, 0, 0}), "");
    EXPECT_NE(SystemRequestProblem({25, true, 0, 0}), "");
    EXPECT_NE(SystemRequestProblem({20, false, 7, 5}), ""); // at least 8 of the drawn are among 20
    EXPECT_NE(SystemRequestProblem({16, false, 12, 13}), "");
    EXPECT_NE(SystemRequestProblem({16, false, 13, 10}), "");
    EXPECT_EQ(SystemRequestProblem({20, false, 8, 5}), "");
    EXPECT_FALSE(GenerateSystem({16, false, 12, 0}, nullptr));
    EXPECT_FALSE(CheckSystem({}, 16, 17, nullptr));
}

TEST(SystemGeneratorTest, StopEndsTheSearchAndTheCheck) {
    struct TStopAtOnce : IStakesProgress {
        bool StopRequested() override { return true; }
    } stop;
    EXPECT_FALSE(GenerateSystem({16, false, 12, 10}, &stop));
    const auto full = GenerateSystem({16, true, 0, 0}, nullptr);
    EXPECT_FALSE(CheckSystem(*full, 16, 8, &stop)); // polled every few thousand draws
}

TEST(SystemGeneratorTest, GeneratedNamesFitThePatternAndNeverTakeACatalogueBlockLength) {
    EXPECT_EQ(GeneratedSystemFileName({16, false, 12, 10}), "12-16-0_1210.dat");
    EXPECT_EQ(GeneratedSystemFileName({24, true, 0, 0}), "12-24-0_0000.dat");
    EXPECT_EQ(GeneratedSystemFileName({13, false, 1, 1}), "12-13-0_0101.dat");
    EXPECT_TRUE(IsSystemFileName(GeneratedSystemFileName({16, false, 12, 10}), 16));
}

} // namespace
} // namespace kumby
