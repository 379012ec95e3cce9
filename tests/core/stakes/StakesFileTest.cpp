#include "StakesTestSupport.h"

#include "model/Error.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using namespace testing;
using TDraws = std::vector<int32_t>;

class StakesFileTest : public ::testing::Test {
protected:
    void SetUp() override { File.Open(Path()); }
    std::filesystem::path Path() const { return Dir / StakesFileName; }

    TTempDir Dir;
    TStakesFile File;
};

TEST_F(StakesFileTest, CopiesStandInGroupsOfTheirOwn) {
    File.Append(StakeFor(10), 3);
    EXPECT_EQ(DrawColumn(File), (TDraws{10, -1, 11, -1, 12})) << "no separator at the start of a file";

    File.Clear();
    File.Append(StakeFor(5), 1);
    File.Append(StakeFor(10), 3);
    EXPECT_EQ(DrawColumn(File), (TDraws{5, -1, 10, -1, 11, -1, 12}));

    File.Append(SeparatorRecord(), 1);
    File.Append(StakeFor(20), 2);
    EXPECT_EQ(DrawColumn(File), (TDraws{5, -1, 10, -1, 11, -1, 12, -1, 20, -1, 21}))
        << "a file ending with a separator gets none more";

    File.Append(StakeFor(30), 1);
    File.Append(StakeFor(31), 1);
    EXPECT_EQ(File.Count(), 13) << "single stakes go without separators";
    EXPECT_EQ(File.Read(-1).DrawNumber, 31);
    EXPECT_EQ(File.Read(2).CommentUtf8(), "тест");
}

TEST_F(StakesFileTest, RefusalsLeaveTheFileAsItWas) {
    File.Append(StakeFor(5), 1);
    TStakeRecord checked = StakeFor(6);
    checked.Checked = 1;
    EXPECT_THROW(File.Append(checked, 1), Error);
    try {
        File.Append(checked, 1);
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), CheckedStakeAppendText);
    }
    EXPECT_THROW(File.Append(StakeFor(2147483000), 1000), Error) << "copies past the largest draw number";
    EXPECT_EQ(File.Count(), 1);
    EXPECT_EQ(std::filesystem::file_size(Path()), StakeRecordSize);

    // Of a run, the stakes before the refused one stay.
    const std::vector<TStakeRecord> run = {StakeFor(7), StakeFor(8), checked, StakeFor(9)};
    EXPECT_THROW(File.AppendMany(run, 1, nullptr), Error);
    EXPECT_EQ(DrawColumn(File), (TDraws{5, 7, 8}));
}

TEST_F(StakesFileTest, ReadsServeTheCurrentRecord) {
    File.Append(StakeFor(1), 1);
    EXPECT_EQ(File.Read(-1).DrawNumber, 1);
    File.Append(StakeFor(2), 1);
    EXPECT_EQ(File.Read(-1).DrawNumber, 2) << "the cache does not outlive a write";
    TStakeRecord r = File.Read(0);
    r.Profit = 123;
    File.WriteAt(0, r);
    EXPECT_EQ(File.Read(0).Profit, 123);
    try {
        File.Read(2);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Запись со индексом 2 в файле данных не найдена!");
    }
    File.Close();
    try {
        File.Read(0);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), StakesNotOpenText);
    }
}

TEST_F(StakesFileTest, FindComparesDrawAndNumbers) {
    File.Append(StakeFor(3), 1);
    File.Append(StakeFor(4, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}), 1);
    TNumberList reversed{12, {24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13}};
    EXPECT_TRUE(File.Find(4, reversed));
    EXPECT_FALSE(File.Find(3, reversed));
    EXPECT_FALSE(File.Find(5, reversed));
}

TEST_F(StakesFileTest, ValidationAtStartUp) {
    const std::string whole = RecordBytes(StakeFor(1)) + RecordBytes(StakeFor(2));
    std::string oldVersion = whole;
    oldVersion[0] = 1;
    struct TCase {
        const char* Name;
        std::string Bytes;
        bool Obsolete;
        int64_t Cut;
        int64_t Kept;
    };
    const TCase cases[] = {
        {"empty", "", false, 0, 0},
        {"whole records", whole, false, 0, 2},
        {"partial last record", whole + whole.substr(0, 100), false, 100, 2},
        {"only a partial record", whole.substr(0, 7), false, 7, 0},
        {"first record of another version", oldVersion, true, 0, 0},
        {"another version and a partial record", oldVersion.substr(0, 400), true, 0, 0},
    };
    for (const TCase& c : cases) {
        File.Close();
        WriteBytes(Path(), c.Bytes);
        File.Open(Path());
        const TStakesValidation v = File.Validate();
        EXPECT_EQ(v.Obsolete, c.Obsolete) << c.Name;
        EXPECT_EQ(v.CutBytes, c.Cut) << c.Name;
        EXPECT_EQ(v.Kept, c.Kept) << c.Name;
        EXPECT_EQ(File.Count(), c.Kept) << c.Name;
        EXPECT_EQ(ReadBytes(Path()), c.Obsolete ? "" : c.Bytes.substr(0, c.Kept * StakeRecordSize)) << c.Name;
    }
}

TEST_F(StakesFileTest, PositionAtTheLastDraws) {
    // 0: d1, 1: d1, 2: d2, 3: separator, 4: d3, 5: d3, 6: d4 unchecked
    for (int32_t d : {1, 1, 2})
        File.Append(StakeFor(d), 1);
    File.Append(SeparatorRecord(), 1);
    for (int32_t d : {3, 3, 4})
        File.Append(StakeFor(d), 1);
    ASSERT_EQ(File.Count(), 7);
    for (int64_t i : {0, 1, 2, 4, 5}) {
        TStakeRecord r = File.Read(i);
        r.Checked = 1;
        r.Matched.Count = 3;
        File.WriteAt(i, r);
    }

    struct TCase {
        int K;
        int Draws;
        int64_t Index;
    };
    for (const TCase& c : {TCase{0, 0, 6}, TCase{1, 1, 3}, TCase{2, 2, 2}, TCase{3, 3, 0}, TCase{9, 3, 0}}) {
        const auto p = File.PositionAtLastDraws(c.K);
        EXPECT_EQ(p.Draws, c.Draws) << c.K;
        EXPECT_EQ(p.Index, c.Index) << c.K;
    }
}

class TStopAt : public IStakesProgress {
public:
    bool StopRequested() override { return true; }
};

TEST_F(StakesFileTest, RewriteKeepsTheFolderLockedBeforeDuringAndAfter) {
    for (int d = 1; d <= 10; ++d)
        File.Append(StakeFor(d), 1);
    TStakesFile second;
    EXPECT_FALSE(second.TryOpen(Path())) << "before";

    bool refusedDuring = true;
    const int64_t removed = File.Rewrite(
        [&](int64_t i, const TStakeRecord&) {
            if (i == 5)
                refusedDuring = !second.TryOpen(Path());
            return i % 2 == 0;
        },
        nullptr);
    EXPECT_TRUE(refusedDuring) << "during";
    EXPECT_EQ(removed, 5);
    EXPECT_FALSE(second.TryOpen(Path())) << "after";
    EXPECT_FALSE(std::filesystem::exists(Dir / StakesTempFileName));
    EXPECT_EQ(DrawColumn(File), (TDraws{1, 3, 5, 7, 9}));

    // The session goes on with the new file under the name.
    File.Append(StakeFor(11), 1);
    File.Close();
    ASSERT_TRUE(second.TryOpen(Path()));
    EXPECT_EQ(DrawColumn(second), (TDraws{1, 3, 5, 7, 9, 11}));
}

TEST_F(StakesFileTest, StoppedOrFailedRewriteLeavesTheFile) {
    for (int d = 1; d <= 5; ++d)
        File.Append(StakeFor(d), 1);
    const std::string before = ReadBytes(Path());
    TStopAt stop;
    EXPECT_EQ(File.Rewrite([](int64_t, const TStakeRecord&) { return false; }, &stop), -1);
    EXPECT_EQ(ReadBytes(Path()), before);
    EXPECT_EQ(File.Count(), 5);
    EXPECT_FALSE(std::filesystem::exists(Dir / StakesTempFileName));

    WriteBytes(Dir / StakesTempFileName, "left over");
    EXPECT_EQ(File.Rewrite([](int64_t i, const TStakeRecord&) { return i != 0; }, nullptr), 1)
        << "a temporary left by an interrupted rewrite is replaced";
    EXPECT_EQ(File.Count(), 4);
}

} // namespace
} // namespace kumby
