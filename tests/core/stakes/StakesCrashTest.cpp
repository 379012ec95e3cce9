// A program killed in the middle of an append or a check leaves a stakes file that
// loads with every whole record kept, each checked or not, never half of either.

#include "StakesTestSupport.h"

#include "model/VexoUtils.h"
#include "stakes/StakesCheck.h"
#include "support/KillMidWay.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace kumby {
namespace {

using namespace testing;

constexpr TMoney Cost = 500000;

TMoney Price(int, int matched) {
    return -Cost + (matched == 6 ? 2000000 : 0);
}

// Signals once a few chunks of records are in the file.
class TSignalLater : public IStakesProgress {
public:
    explicit TSignalLater(std::function<void()> signal) : Signal_(std::move(signal)) {}
    void Progress(int64_t done, int64_t) override {
        if (Signal_ && done >= 20000) {
            Signal_();
            Signal_ = nullptr;
        }
    }

private:
    std::function<void()> Signal_;
};

TEST(StakesCrashTest, AppendKilledMidWayKeepsEveryWholeRecord) {
    TTempDir dir;
    const auto path = dir / StakesFileName;
    constexpr int Stakes = 400000;
    const bool killed = KillMidWay([&](const std::function<void()>& started) {
        TStakesFile file;
        file.Open(path);
        TSignalLater progress(started);
        std::vector<TStakeRecord> batch;
        for (int d = 1; d <= Stakes; ++d)
            batch.push_back(StakeFor(d));
        file.AppendMany(batch, 1, &progress);
    });
    ASSERT_TRUE(killed) << "the child finished before it could be killed";

    TStakesFile file;
    file.Open(path);
    const TStakesValidation v = file.Validate();
    EXPECT_FALSE(v.Obsolete);
    ASSERT_GT(v.Kept, 0);
    EXPECT_LT(v.Kept, Stakes);
    const std::string comment = StakeFor(1).CommentUtf8();
    int64_t bad = 0;
    file.ForEach(0, [&](int64_t i, const TStakeRecord& r) {
        bad += r.Version != StakeVersion || r.Kind != StakeKindManual || r.DrawNumber != i + 1 ||
               r.NumbersCount() != 12 || r.MatchedCount() != -1 || r.CommentUtf8() != comment;
        return true;
    });
    EXPECT_EQ(bad, 0);
}

class TSignalAfter : public IStakeCheckSink {
public:
    TSignalAfter(int count, std::function<void()> signal) : Left_(count), Signal_(std::move(signal)) {}
    void StakeChecked(const TStakeRecord&) override {
        if (--Left_ == 0)
            Signal_();
    }

private:
    int Left_;
    std::function<void()> Signal_;
};

TEST(StakesCrashTest, CheckKilledMidWayLeavesEachRecordCheckedOrNot) {
    TTempDir dir;
    const auto path = dir / StakesFileName;
    const TDrawsArray draws = RandomArchive(1000, 7);
    constexpr int Stakes = 300000;
    {
        TStakesFile file;
        file.Open(path);
        std::mt19937 rng(3);
        std::vector<TStakeRecord> batch;
        for (int i = 0; i < Stakes; ++i)
            batch.push_back(StakeFor(1 + i % 1000, RandomCombination(rng), Cost));
        file.AppendMany(batch, 1, nullptr);
    }
    const bool killed = KillMidWay([&](const std::function<void()>& started) {
        TStakesFile file;
        file.Open(path);
        TSignalAfter signal(1000, started);
        IStakeCheckSink* sinks[] = {&signal};
        CheckAllStakes(file, draws, Price, sinks, nullptr, nullptr);
    });
    ASSERT_TRUE(killed) << "the child finished before it could be killed";

    TStakesFile file;
    file.Open(path);
    const TStakesValidation v = file.Validate();
    ASSERT_EQ(v.CutBytes, 0);
    ASSERT_EQ(v.Kept, Stakes);
    int64_t checked = 0;
    int64_t torn = 0;
    const uint8_t zeros[NumbersInDraw] = {};
    file.ForEach(0, [&](int64_t, const TStakeRecord& r) {
        if (r.Checked) {
            ++checked;
            TStakeRecord expected = r;
            expected.Checked = 0;
            CheckStake(expected, draws[static_cast<std::size_t>(r.DrawNumber - 1)], Price);
            torn += RecordBytes(expected) != RecordBytes(r);
        } else {
            torn += r.MatchedCount() != -1 || r.Profit != -Cost ||
                    std::memcmp(r.DrawResult, zeros, sizeof zeros) != 0;
        }
        return true;
    });
    EXPECT_EQ(torn, 0);
    EXPECT_GE(checked, 1000);
    EXPECT_LT(checked, Stakes);

    // The rest is checked by the next run, and nothing twice.
    EXPECT_EQ(CheckAllStakes(file, draws, Price, {}, nullptr, nullptr).Checked, Stakes - checked);
}

} // namespace
} // namespace kumby
