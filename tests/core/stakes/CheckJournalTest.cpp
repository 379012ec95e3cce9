// A check that dies between marking stakes and saving the ratings: the next start
// gives the ratings exactly what an uninterrupted check would have, never counts a
// stake twice, and says so when the journal it left cannot be used.

#include "StakesTestSupport.h"

#include "io/AtomicFile.h"
#include "model/VexoUtils.h"
#include "stakes/CheckJournal.h"
#include "support/KillMidWay.h"
#include "support/RatingsFigures.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace kumby {
namespace {

using namespace testing;

// Cost 50.00; 6 matches pay 200.00, 4 matches pay 10.00.
constexpr const char* PrizesIni = "[STAKES]\r\nCost=50\r\nProfits=2\r\nProfit_0_Overlap=6\r\n"
                                  "Profit_0_Profit=200\r\nProfit_1_Overlap=4\r\nProfit_1_Profit=10\r\n";
constexpr const char* Sources[] = {"Альфа", "Бета", "Гамма", "Дельта"};

void CopyFolder(const std::filesystem::path& from, const std::filesystem::path& to) {
    for (const auto& entry : std::filesystem::directory_iterator(from))
        if (entry.is_regular_file())
            std::filesystem::copy_file(entry.path(), to / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
}

// Every figure of every source, one line each, in name order.
// Copies the data folder as a crash would leave it after the k-th marked stake.
class TSnapshotAt : public IStakeCheckSink {
public:
    TSnapshotAt(int k, std::filesystem::path from, std::filesystem::path to)
        : Left_(k), From_(std::move(from)), To_(std::move(to)) {}
    void StakeChecked(const TStakeRecord&) override {
        if (--Left_ == 0)
            CopyFolder(From_, To_);
    }

private:
    int Left_;
    std::filesystem::path From_;
    std::filesystem::path To_;
};

class CheckJournalTest : public ::testing::Test {
protected:
    // A folder with ratings from an earlier check and stakes the next check marks:
    // some of them before stakes checked long ago, some for a draw still to come,
    // separators between groups, and a source the ratings do not know yet.
    void SetUp() override {
        WriteBytes(Prepared / "Kumby_12x24.ini", PrizesIni);
        Prepared.StartWith(RandomArchive(20, 11));
        std::mt19937 rng(17);
        auto stake = [&](int32_t draw, int source) {
            Prepared.S->Stakes().Append(StakeFor(draw, RandomCombination(rng), 500000, Sources[source]), 1);
        };
        for (int i = 0; i < 60; ++i) {
            stake(i % 3 == 0 ? 21 : 1 + i % 20, i % 3);
            if (i % 10 == 9)
                Prepared.S->Stakes().Append(SeparatorRecord(), 1);
        }
        ASSERT_EQ(Prepared.S->StakesCheck(), 40);
        for (int i = 0; i < 60; ++i)
            stake(1 + i % 22, i % 4);
        Prepared.S->Close(false);
        // Draw 21 arrives; draw 22 is still to come.
        WriteArchive(Prepared.Path(), RandomArchive(21, 11));
        ToMark = 20 + 60 - 2;

        CopyFolder(Prepared.Path(), Reference.Path());
        Reference.Open();
        ASSERT_EQ(Reference.Start(), TStartResult::Ready);
        ASSERT_EQ(Reference.S->StakesCheck(), ToMark);
        Expected = RatingsFigures(Reference.S->Ratings().Items());
        ASSERT_GT(Expected.size(), 3u);
    }

    // Starts a session on a copy of the prepared folder.
    void StartOnCopy(TTestSession& t) {
        CopyFolder(Prepared.Path(), t.Path());
        t.Open();
        ASSERT_EQ(t.Start(), TStartResult::Ready);
    }

    static std::vector<std::string> Warnings(const TRecordingUi& ui) {
        std::vector<std::string> out;
        for (const auto& m : ui.Messages)
            if (m.Kind == "warning" || m.Kind == "error")
                out.push_back(m.Text);
        return out;
    }

    TTestSession Prepared;
    TTestSession Reference;
    int64_t ToMark = 0;
    std::vector<std::string> Expected;
};

TEST_F(CheckJournalTest, ACrashAfterAnyNumberOfMarksLosesNoResult) {
    for (int k : {1, 2, 41, 77, 78}) {
        SCOPED_TRACE(Format("crash after %d of 78 marks", k));
        TTestSession work;
        TTestSession crashed;
        StartOnCopy(work);
        TSnapshotAt snapshot(k, work.Path(), crashed.Path());
        work.S->AddStakeCheckSink(&snapshot);
        ASSERT_EQ(work.S->StakesCheck(), ToMark);
        EXPECT_FALSE(std::filesystem::exists(work / CheckJournalFileName)) << "a finished check leaves none";
        ASSERT_TRUE(std::filesystem::exists(crashed / CheckJournalFileName));

        crashed.Open();
        ASSERT_EQ(crashed.Start(), TStartResult::Ready);
        EXPECT_TRUE(Warnings(crashed.Ui).empty());
        EXPECT_FALSE(std::filesystem::exists(crashed / CheckJournalFileName));
        // What the next check finds left completes the same ratings.
        EXPECT_EQ(crashed.S->StakesCheck(), ToMark - k);
        EXPECT_EQ(RatingsFigures(crashed.S->Ratings().Items()), Expected);
        EXPECT_EQ(RatingsFigures(LoadRatingsFile(crashed / RatingsFileName).Items), Expected);
    }
}

TEST_F(CheckJournalTest, ACrashAfterTheRatingsWereSavedCountsNothingTwice) {
    TTestSession work;
    StartOnCopy(work);
    TTempDir early;
    TSnapshotAt snapshot(1, work.Path(), early.Path());
    work.S->AddStakeCheckSink(&snapshot);
    ASSERT_EQ(work.S->StakesCheck(), ToMark);
    const std::string journal = ReadBytes(early / CheckJournalFileName);
    ASSERT_FALSE(journal.empty());
    // The ratings are saved, the journal is not yet removed.
    work.S->Close(false);
    WriteBytes(work / CheckJournalFileName, journal);

    work.Ui.Messages.clear();
    work.Open();
    ASSERT_EQ(work.Start(), TStartResult::Ready);
    EXPECT_TRUE(Warnings(work.Ui).empty());
    EXPECT_FALSE(std::filesystem::exists(work / CheckJournalFileName));
    EXPECT_EQ(RatingsFigures(work.S->Ratings().Items()), Expected);
    EXPECT_EQ(work.S->StakesCheck(), 0);
    EXPECT_EQ(RatingsFigures(LoadRatingsFile(work / RatingsFileName).Items), Expected);
}

TEST_F(CheckJournalTest, AStoppedRecoveryFeedsNothingAndSaysSo) {
    TTestSession work;
    TTestSession crashed;
    StartOnCopy(work);
    const TRatingsArray before = work.S->Ratings().Items();
    TSnapshotAt snapshot(41, work.Path(), crashed.Path());
    work.S->AddStakeCheckSink(&snapshot);
    ASSERT_EQ(work.S->StakesCheck(), ToMark);

    crashed.Open();
    crashed.Ui.StopAfter = 0;
    ASSERT_EQ(crashed.Start(), TStartResult::Ready);
    const std::vector<std::string> warnings = Warnings(crashed.Ui);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("остановлено"), std::string::npos) << warnings[0];
    EXPECT_EQ(RatingsFigures(crashed.S->Ratings().Items()), RatingsFigures(before));
    EXPECT_FALSE(std::filesystem::exists(crashed / CheckJournalFileName));
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

TEST(CheckJournalKillTest, AProgramKilledInTheMiddleOfACheckKeepsTheRatingsExact) {
    constexpr int Stakes = 150000;
    TTestSession prepared;
    WriteBytes(prepared / "Kumby_12x24.ini", PrizesIni);
    prepared.StartWith(RandomArchive(100, 5));
    {
        std::mt19937 rng(8);
        std::vector<TStakeRecord> batch;
        for (int i = 0; i < Stakes; ++i)
            batch.push_back(StakeFor(1 + i % 100, RandomCombination(rng), 500000, Sources[i % 4]));
        // One source checked before, so the ratings file is not empty.
        prepared.S->Stakes().Append(batch[0], 1);
        ASSERT_EQ(prepared.S->StakesCheck(), 1);
        prepared.S->Stakes().AppendMany(batch, 1, nullptr);
    }
    prepared.S->Close(false);

    TTestSession reference;
    CopyFolder(prepared.Path(), reference.Path());
    reference.Open();
    ASSERT_EQ(reference.Start(), TStartResult::Ready);
    ASSERT_EQ(reference.S->StakesCheck(), Stakes);
    const std::vector<std::string> expected = RatingsFigures(reference.S->Ratings().Items());

    const std::filesystem::path folder = prepared.Path();
    const bool killed = KillMidWay([&](const std::function<void()>& started) {
        TRecordingUi ui;
        TSessionOptions options;
        options.DataDir = folder;
        options.Headless = true;
        Session session(ui, options);
        session.Create();
        session.Start();
        TSignalAfter signal(1000, started);
        // However slow the parent is, the kill finds the check under way.
        TSignalAfter hold(100000, [] { ::sleep(60); });
        session.AddStakeCheckSink(&signal);
        session.AddStakeCheckSink(&hold);
        session.StakesCheck();
    });
    ASSERT_TRUE(killed) << "the child finished before it could be killed";

    prepared.Ui.Messages.clear();
    prepared.Open();
    ASSERT_EQ(prepared.Start(), TStartResult::Ready);
    EXPECT_TRUE(prepared.Ui.Errors().empty());
    const int64_t rest = prepared.S->StakesCheck();
    EXPECT_GT(rest, 0);
    EXPECT_LE(rest, Stakes - 1000);
    EXPECT_GE(rest, Stakes - 100000);
    EXPECT_EQ(RatingsFigures(prepared.S->Ratings().Items()), expected);
}

// The journal a check would have written for the prepared folder.
TCheckJournal JournalOf(const std::filesystem::path& folder, int64_t stakesCount) {
    TCheckJournal j;
    j.Ratings = RatingsFileIdOf(ReadBytes(folder / RatingsFileName));
    j.StakesCount = stakesCount;
    j.Runs = {{0, 2}, {5, 3}};
    return j;
}

TEST_F(CheckJournalTest, AnUnusableJournalIsReportedAndTheRatingsKept) {
    TStakesFile stakes;
    stakes.Open(Prepared / StakesFileName);
    const int64_t count = stakes.Count();
    stakes.Close();
    const std::string sound = CheckJournalToBytes(JournalOf(Prepared.Path(), count));
    std::string flipped = sound;
    flipped[sound.size() - 10] ^= 0x04;
    TCheckJournal beyond = JournalOf(Prepared.Path(), count + 50);
    beyond.Runs.push_back({count + 10, 5});
    const struct {
        const char* Name;
        std::string Bytes;
        const char* Problem;
    } cases[] = {
        {"garbage", "not a journal at all, just text", "это не журнал проверки ставок"},
        {"empty", "", "это не журнал проверки ставок"},
        {"cut short", sound.substr(0, sound.size() - 1), "контрольная сумма не совпадает"},
        {"a flipped bit", flipped, "контрольная сумма не совпадает"},
        {"a stakes file cut since", CheckJournalToBytes(beyond), "при проверке было"},
        {"a folder", "", "это не обычный файл"},
    };
    const TRatingsArray before = LoadRatingsFile(Prepared / RatingsFileName).Items;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestSession t;
        CopyFolder(Prepared.Path(), t.Path());
        const auto journal = t / CheckJournalFileName;
        if (std::string(c.Name) == "a folder")
            std::filesystem::create_directory(journal);
        else
            WriteBytes(journal, c.Bytes);
        t.Open();
        ASSERT_EQ(t.Start(), TStartResult::Ready);

        const std::vector<std::string> warnings = Warnings(t.Ui);
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_NE(warnings[0].find(journal.string()), std::string::npos) << warnings[0];
        EXPECT_NE(warnings[0].find((t / RatingsFileName).string()), std::string::npos) << warnings[0];
        EXPECT_NE(warnings[0].find(c.Problem), std::string::npos) << warnings[0];
        EXPECT_NE(warnings[0].find("\"Обновить рейтинг\""), std::string::npos) << warnings[0];
        EXPECT_EQ(RatingsFigures(t.S->Ratings().Items()), RatingsFigures(before));
        EXPECT_EQ(RatingsFigures(LoadRatingsFile(t / RatingsFileName).Items), RatingsFigures(before));
        EXPECT_FALSE(std::filesystem::exists(journal));
        // The check goes on as it would have: the journal's records were never marked.
        EXPECT_EQ(t.S->StakesCheck(), ToMark);
        EXPECT_EQ(RatingsFigures(t.S->Ratings().Items()), Expected);
    }
}

TEST_F(CheckJournalTest, ACheckThatCannotWriteItsJournalMarksNothing) {
    TTestSession work;
    StartOnCopy(work);
    SetWriteFaultHookForTesting([](std::size_t) { return false; });
    EXPECT_EQ(work.S->StakesCheck(), -1);
    SetWriteFaultHookForTesting(nullptr);
    const std::vector<std::string> errors = work.Ui.Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Ошибка проверки ставок!\r\r", 0), 0u) << errors[0];
    EXPECT_NE(errors[0].find((work / CheckJournalFileName).string()), std::string::npos) << errors[0];
    EXPECT_TRUE(ReadBytes(work / StakesFileName) == ReadBytes(Prepared / StakesFileName)) << "nothing marked";
    EXPECT_EQ(work.S->StakesCheck(), ToMark);
    EXPECT_EQ(RatingsFigures(work.S->Ratings().Items()), Expected);
}

// ---- The check and the journal's bytes --------------------------------------

class TRecordingJournal : public IStakeCheckJournal {
public:
    explicit TRecordingJournal(TStakesFile& file) : File_(file) {}
    void CheckBegins(std::span<const TStakeRun> runs, int64_t stakesCount) override {
        Runs.assign(runs.begin(), runs.end());
        StakesCount = stakesCount;
        File_.ForEach(0, [&](int64_t, const TStakeRecord& r) {
            CheckedWhenTold += r.Checked != 0;
            return true;
        });
        if (Refuse)
            throw Error("refused");
    }
    std::vector<TStakeRun> Runs;
    int64_t StakesCount = -1;
    int64_t CheckedWhenTold = 0;
    bool Refuse = false;

private:
    TStakesFile& File_;
};

TMoney FlatPrice(int, int matched) {
    return matched >= 6 ? 100 : -50;
}

TEST(CheckJournalRunsTest, TheJournalHearsEveryRecordToMarkBeforeTheFirstMark) {
    TTempDir dir;
    TStakesFile file;
    file.Open(dir / StakesFileName);
    const TDrawsArray draws = RandomArchive(5, 3);
    // 0,1 marked; 2 a separator; 3 for a draw to come; 4,5 marked; 6 checked before;
    // 7 marked.
    file.Append(StakeFor(1), 1);
    file.Append(StakeFor(2), 1);
    file.Append(SeparatorRecord(), 1);
    file.Append(StakeFor(9), 1);
    file.Append(StakeFor(3), 1);
    file.Append(StakeFor(4), 1);
    file.Append(StakeFor(5), 1);
    TStakeRecord old = file.Read(6);
    CheckStake(old, draws[4], FlatPrice);
    file.WriteAt(6, old);
    file.Append(StakeFor(5), 1);

    TRecordingJournal refusing(file);
    refusing.Refuse = true;
    EXPECT_THROW(CheckAllStakes(file, draws, FlatPrice, {}, &refusing, nullptr), Error);
    EXPECT_EQ(refusing.CheckedWhenTold, 1);
    EXPECT_EQ(refusing.StakesCount, 8);
    EXPECT_EQ(refusing.Runs, (std::vector<TStakeRun>{{0, 2}, {4, 2}, {7, 1}}));
    int64_t checked = 0;
    file.ForEach(0, [&](int64_t, const TStakeRecord& r) {
        checked += r.Checked != 0;
        return true;
    });
    EXPECT_EQ(checked, 1) << "a journal that could not be written stops the check before its first mark";

    TRecordingJournal journal(file);
    EXPECT_EQ(CheckAllStakes(file, draws, FlatPrice, {}, &journal, nullptr).Checked, 5);
    EXPECT_EQ(journal.CheckedWhenTold, 1);
    EXPECT_EQ(journal.Runs, refusing.Runs);

    TRecordingJournal idle(file);
    EXPECT_EQ(CheckAllStakes(file, draws, FlatPrice, {}, &idle, nullptr).Checked, 0);
    EXPECT_EQ(idle.StakesCount, -1) << "nothing to mark, no journal";
}

TEST(CheckJournalBytesTest, RoundTripAndEveryDamageIsNoticed) {
    TCheckJournal j;
    j.Ratings = RatingsFileIdOf("some ratings");
    j.StakesCount = int64_t{1} << 40;
    j.Runs = {{0, 1}, {2, 1000000}, {5000000, 3}, {(int64_t{1} << 40) - 7, 7}};
    const std::string bytes = CheckJournalToBytes(j);
    const TCheckJournalRead read = CheckJournalFromBytes(bytes);
    ASSERT_EQ(read.Problem, "");
    EXPECT_EQ(read.Journal.Ratings, j.Ratings);
    EXPECT_EQ(read.Journal.StakesCount, j.StakesCount);
    EXPECT_EQ(read.Journal.Runs, j.Runs);

    for (std::size_t n = 0; n < bytes.size(); ++n)
        EXPECT_NE(CheckJournalFromBytes(bytes.substr(0, n)).Problem, "") << "cut to " << n;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        for (int bit = 0; bit < 8; ++bit) {
            std::string damaged = bytes;
            damaged[i] = static_cast<char>(damaged[i] ^ (1 << bit));
            EXPECT_NE(CheckJournalFromBytes(damaged).Problem, "") << "byte " << i << " bit " << bit;
        }

    // A sound checksum over runs that overlap or leave the file is still refused.
    for (const std::vector<TStakeRun>& runs :
         {std::vector<TStakeRun>{{0, 5}, {3, 1}}, std::vector<TStakeRun>{{10, 0}},
          std::vector<TStakeRun>{{j.StakesCount - 1, 2}}}) {
        TCheckJournal bad = j;
        bad.Runs = runs;
        EXPECT_NE(CheckJournalFromBytes(CheckJournalToBytes(bad)).Problem, "");
    }
}

} // namespace
} // namespace kumby
