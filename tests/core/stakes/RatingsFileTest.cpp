// The ratings file: the bytes of a record, reading back what was written, and files
// that were damaged.

#include "stakes/Ratings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

namespace kumby {
namespace {

using namespace testing;

TRatingEntry Entry(const std::string& name, std::initializer_list<std::pair<int, int>> hits, TMoney profit) {
    TRatingEntry e;
    e.Name = name;
    for (auto [k, n] : hits) {
        e.HitCounts[static_cast<std::size_t>(k)] = n;
        e.Count += n;
        e.HitSum += k * n;
    }
    e.Profit = profit;
    return e;
}

bool SameEntry(const TRatingEntry& a, const TRatingEntry& b) {
    return a.Name == b.Name && a.Count == b.Count && a.HitSum == b.HitSum && a.HitCounts == b.HitCounts &&
           a.Profit == b.Profit;
}

std::string Le32(int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[static_cast<std::size_t>(i)] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

TEST(RatingsFileTest, BytesOfAKnownEntry) {
    // One stake of "Тест" matched 3 numbers, two matched 4; profit 123.4567.
    const TRatingEntry e = Entry("Тест", {{3, 1}, {4, 2}}, 1234567);
    std::string expected;
    expected += '\x04';
    expected += "\xD2\xE5\xF1\xF2"; // "Тест" in CP1251
    expected.append(251, '\0');
    expected += Le32(3) + Le32(11);
    for (int k = 0; k <= MaxHits; ++k)
        expected += Le32(k == 3 ? 1 : k == 4 ? 2 : 0);
    expected.append(4, '\0');
    expected += std::string("\x87\xD6\x12\x00\x00\x00\x00\x00", 8);
    ASSERT_EQ(expected.size(), RatingRecordSize);

    const std::string bytes = RatingsToBytes({e});
    EXPECT_EQ(bytes, expected);

    const TRatingsLoad load = RatingsFromBytes(bytes + RatingsToBytes({Entry("Другой", {{0, 1}}, -500000)}));
    EXPECT_FALSE(load.Damaged());
    ASSERT_EQ(load.Items.size(), 2u);
    EXPECT_TRUE(SameEntry(load.Items[0], e));
    EXPECT_EQ(load.Items[1].Name, "Другой");
    EXPECT_EQ(load.Items[1].Profit, -500000);
}

TEST(RatingsFileTest, ALongSourceIsCutTo255Characters) {
    const TRatingEntry e = Entry(std::string(300, 'x'), {{1, 1}}, 0);
    const TRatingsLoad load = RatingsFromBytes(RatingsToBytes({e}));
    ASSERT_EQ(load.Items.size(), 1u);
    EXPECT_EQ(load.Items[0].Name, std::string(255, 'x'));
}

TEST(RatingsFileTest, DamagedRecordsAreDroppedAndCounted) {
    const TRatingEntry good = Entry("Хороший", {{2, 3}, {7, 1}}, 100);
    auto withRecord = [&](auto change) {
        TRatingFileRecord r = RatingToRecord(Entry("Плохой", {{5, 2}}, 0));
        change(r);
        std::string bytes = RatingsToBytes({good});
        bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
        return bytes;
    };
    struct TCase {
        const char* Name;
        std::string Bytes;
        std::size_t Kept;
        int64_t Bad, Merged, Tail;
    };
    const TCase cases[] = {
        {"partial record at the end", RatingsToBytes({good}) + std::string(100, '\x55'), 1, 0, 0, 100},
        {"count 0", withRecord([](TRatingFileRecord& r) { r.Count = 0; }), 1, 1, 0, 0},
        {"counters do not add up to the count", withRecord([](TRatingFileRecord& r) { r.Count = 3; }), 1, 1,
         0, 0},
        {"matches do not add up", withRecord([](TRatingFileRecord& r) { r.HitSum = 9; }), 1, 1, 0, 0},
        {"negative counter", withRecord([](TRatingFileRecord& r) {
             r.HitCounts[0] = -1;
             r.HitCounts[6] = 1;
         }),
         1, 1, 0, 0},
        {"same source in other letter case",
         RatingsToBytes({good}) + RatingsToBytes({Entry("хОРОШИЙ", {{12, 1}}, 50)}), 1, 0, 1, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRatingsLoad load = RatingsFromBytes(c.Bytes);
        EXPECT_TRUE(load.Damaged());
        EXPECT_EQ(load.Items.size(), c.Kept);
        EXPECT_EQ(load.Bad, c.Bad);
        EXPECT_EQ(load.Merged, c.Merged);
        EXPECT_EQ(load.TailBytes, c.Tail);
        ASSERT_FALSE(load.Items.empty());
        EXPECT_EQ(load.Items[0].Name, "Хороший");
    }
    // The duplicate adds into the first record.
    const TRatingsLoad merged = RatingsFromBytes(cases[5].Bytes);
    EXPECT_EQ(merged.Items[0].Count, 5);
    EXPECT_EQ(merged.Items[0].HitSum, 6 + 7 + 12);
    EXPECT_EQ(merged.Items[0].HitCounts[12], 1);
    EXPECT_EQ(merged.Items[0].Profit, 150);
}

TEST(RatingsFileTest, GarbageNeverGivesAnUnsoundRecord) {
    std::mt19937 rng(3);
    const std::string sound = RatingsToBytes(
        {Entry("Один", {{0, 1}, {5, 3}}, -7), Entry("два", {{12, 2}}, 9), Entry("ДВА", {{6, 1}}, 0)});
    for (int round = 0; round < 400; ++round) {
        std::string bytes;
        if (round % 2 == 0) {
            bytes.assign(static_cast<std::size_t>(rng() % (5 * RatingRecordSize)), '\0');
            for (char& b : bytes)
                b = static_cast<char>(rng() % 4 == 0 ? rng() : 0); // mostly zeros: counters stay small
        } else {
            // Sound records with a few bytes changed, and maybe cut short.
            bytes = sound.substr(0, sound.size() - (rng() % 3 == 0 ? rng() % 400 : 0));
            for (int flips = 1 + static_cast<int>(rng() % 3); flips > 0 && !bytes.empty(); --flips)
                bytes[rng() % bytes.size()] = static_cast<char>(rng());
        }
        const TRatingsLoad load = RatingsFromBytes(bytes);
        for (const TRatingEntry& e : load.Items)
            EXPECT_TRUE(IsSoundRating(e));
        EXPECT_EQ(static_cast<int64_t>(load.Items.size()) + load.Bad + load.Merged, load.Records);
        // What is kept is written and read back unchanged.
        const std::string written = RatingsToBytes(load.Items);
        const TRatingsLoad again = RatingsFromBytes(written);
        EXPECT_FALSE(again.Damaged());
        EXPECT_EQ(RatingsToBytes(again.Items), written);
    }
}

TEST(RatingsFileTest, ADamagedFileIsCopiedAsideUnderAFreeName) {
    TTempDir dir;
    const auto path = dir / RatingsFileName;
    WriteBytes(path, "first");
    const auto copy1 = KeepDamagedRatingsFile(path);
    WriteBytes(path, "second");
    const auto copy2 = KeepDamagedRatingsFile(path);
    EXPECT_EQ(copy1.filename(), "Kumby_12x24.lrt.damaged");
    EXPECT_EQ(copy2.filename(), "Kumby_12x24.lrt.damaged2");
    EXPECT_EQ(ReadBytes(copy1), "first") << "an earlier copy is never overwritten";
    EXPECT_EQ(ReadBytes(copy2), "second");
}

} // namespace
} // namespace kumby
