// The shredding family's full-set files against a count made here: every 12-of-24
// set as a bit mask, the three default ratios worked out in extended precision.

#include "app/Session.h"
#include "support/PrefetchImage.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TTestSession;

using TCounts = std::array<std::array<int64_t, 100>, 3>;

// The first two digits after the point of top / bottom.
int TwoDigits(int top, int bottom) {
    const long double f = static_cast<long double>(top) / static_cast<long double>(bottom);
    return static_cast<int>(std::trunc((f - std::trunc(f)) * 100));
}

TCounts CountIndependently() {
    TCounts counts{};
    uint32_t mask = (1u << 12) - 1;
    while (mask < (1u << 24)) {
        int n[12];
        for (int bit = 0, k = 0; bit < 24; ++bit)
            if (mask >> bit & 1)
                n[k++] = bit + 1;
        const int low = n[0] + n[1] + n[2] + n[3] + n[4] + n[5];
        const int high = n[6] + n[7] + n[8] + n[9] + n[10] + n[11];
        const int odd = n[0] + n[2] + n[4] + n[6] + n[8] + n[10];
        const int even = n[1] + n[3] + n[5] + n[7] + n[9] + n[11];
        ++counts[0][TwoDigits(low, high)];
        ++counts[1][TwoDigits(high, low)];
        ++counts[2][TwoDigits(odd, even)];
        const uint32_t lowest = mask & -mask;
        const uint32_t ripple = mask + lowest;
        mask = ripple | (((mask ^ ripple) >> 2) / lowest);
    }
    return counts;
}

// The values that occur, keys ascending.
std::string ExpectedFile(const std::array<int64_t, 100>& counts) {
    std::vector<testing::TPrefetchRecord> records;
    for (uint16_t key = 0; key < 100; ++key)
        if (counts[key] != 0)
            records.push_back({{key, 0, 0, 0}, static_cast<int32_t>(counts[key])});
    return testing::PrefetchImage(records);
}

TEST(ShreddingPrefetch, DefaultFormulaFilesEqualACountFromScratch) {
    TTestSession t;
    ASSERT_EQ(t.Start(), TStartResult::Ready);
    Session& session = *t.S;

    const TCounts counts = CountIndependently();
    int64_t total = 0;
    for (int64_t c : counts[0])
        total += c;
    EXPECT_EQ(total, 2704156);
    for (int k = 0; k < 3; ++k) {
        const int i = session.Registry().FindByCode("SHR" + std::to_string(k + 1));
        ASSERT_GE(i, 0);
        ASSERT_TRUE(session.CreatePrefetchFile(static_cast<std::size_t>(i)));
        EXPECT_EQ(ReadBytes(session.PrefetchFileName(static_cast<std::size_t>(i))), ExpectedFile(counts[k]))
            << "SHR" << k + 1;
    }
    EXPECT_TRUE(t.Ui.Errors().empty());
}

} // namespace
} // namespace kumby
