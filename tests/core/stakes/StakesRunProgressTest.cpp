// A long run of stakes shows one progress over the whole run, not one per batch.

#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

TEST(StakesRunProgress, RisesOnceOverTheWholeRun) {
    testing::TTestSession t;
    t.StartWith(testing::RandomArchive(5, 1));
    std::mt19937 rng(3);
    TCombsArray& list = t.S->WorkingList();
    list.clear();
    for (int i = 0; i < 40000; ++i)
        list.push_back(testing::RandomCombination(rng));
    t.Ui.Progress.clear();
    ASSERT_EQ(t.S->StakesAddCombinations(nullptr, 6, 1, "много"), 40000);

    long long last = -1;
    int seen = 0;
    for (const auto& [done, total] : t.Ui.Progress) {
        if (total != 40000)
            continue; // the check that follows has its own
        EXPECT_GE(done, last);
        last = done;
        ++seen;
    }
    EXPECT_GT(seen, 3);
    EXPECT_EQ(last, 40000);
}

} // namespace
} // namespace kumby
