// The full-set files of the sequences and characteristic number families against a
// count made here from scratch: every 12-of-24 set as a bit mask, its runs read off
// the bits and its triangle folded in plain integers.

#include "app/Session.h"
#include "support/PrefetchImage.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TTestSession;

const char* const Codes[] = {"SEQL", "SEQS", "LENS", "HCV1", "HCV2"};
enum TCodeIndex { Seql, Seqs, Lens, Hcv1, Hcv2, CodeCount };
static_assert(std::size(Codes) == CodeCount);

constexpr int KeyRange = 64; // runs up to 12, characteristic numbers up to 46
using TCounts = std::array<std::array<int64_t, KeyRange>, CodeCount>;

TCounts CountIndependently() {
    TCounts counts{};
    uint32_t mask = (1u << 12) - 1;
    while (mask < (1u << 24)) {
        // A run is a stretch of set bits: it starts at a set bit whose lower bit is clear.
        int runs = 0, longest = 0;
        for (int bit = 0; bit < 24;) {
            if ((mask >> bit & 1) == 0) {
                ++bit;
                continue;
            }
            int length = 0;
            while (bit < 24 && (mask >> bit & 1)) {
                ++length;
                ++bit;
            }
            ++counts[Seql][length];
            runs += length >= 2;
            longest = std::max(longest, length);
        }
        ++counts[Seqs][runs];
        ++counts[Lens][longest];
        // The triangle: absolute differences of neighbours, ten rounds down to u, v.
        int row[12];
        for (int bit = 0, k = 0; bit < 24; ++bit)
            if (mask >> bit & 1)
                row[k++] = bit + 1;
        for (int size = 12; size > 2; --size)
            for (int i = 0; i + 1 < size; ++i)
                row[i] = std::abs(row[i + 1] - row[i]);
        const int d = std::abs(row[1] - row[0]);
        ++counts[Hcv1][d];
        ++counts[Hcv2][d <= 1 ? row[0] + row[1] : d];
        const uint32_t low = mask & -mask;
        const uint32_t ripple = mask + low;
        mask = ripple | (((mask ^ ripple) >> 2) / low);
    }
    return counts;
}

std::string ExpectedFile(const std::array<int64_t, KeyRange>& counts) {
    std::vector<testing::TPrefetchRecord> records;
    for (uint16_t key = 0; key < KeyRange; ++key)
        if (counts[key] != 0)
            records.push_back({{key, 0, 0, 0}, static_cast<int32_t>(counts[key])});
    return testing::PrefetchImage(records);
}

TEST(SequencesAndNumberPrefetch, FilesEqualACountFromScratch) {
    TTestSession t;
    ASSERT_EQ(t.Start(), TStartResult::Ready);
    Session& session = *t.S;

    const TCounts counts = CountIndependently();
    int64_t combinations = 0, runs = 0;
    for (int k = 0; k < KeyRange; ++k) {
        combinations += counts[Lens][k];
        runs += counts[Seql][k] * k;
    }
    EXPECT_EQ(combinations, 2704156);
    EXPECT_EQ(runs, 12 * combinations) << "the run lengths of a set add up to 12";
    EXPECT_EQ(counts[Lens][12], 13);
    EXPECT_EQ(counts[Lens][1], 13) << "C(13, 12) sets hold no two neighbours";

    for (int c = 0; c < CodeCount; ++c) {
        const int i = session.Registry().FindByCode(Codes[c]);
        ASSERT_GE(i, 0) << Codes[c];
        ASSERT_TRUE(session.CreatePrefetchFile(static_cast<std::size_t>(i)));
        EXPECT_EQ(ReadBytes(session.PrefetchFileName(static_cast<std::size_t>(i))), ExpectedFile(counts[c]))
            << Codes[c];
    }
    EXPECT_TRUE(t.Ui.Errors().empty());
}

} // namespace
} // namespace kumby
