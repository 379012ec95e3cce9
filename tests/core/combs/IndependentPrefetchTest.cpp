// The full-set files of the numbers and sums families against a count made here from
// scratch: every 12-of-24 set as a bit mask, its values worked out directly.

#include "app/Session.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <map>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TRecordingUi;
using testing::TTempDir;

using TCounts = std::map<std::string, std::map<uint16_t, int64_t>>; // code -> Key1 -> count

bool Prime(int n) {
    for (int p : {1, 2, 3, 5, 7, 11, 13, 17, 19, 23})
        if (n == p)
            return true;
    return false;
}

TCounts CountIndependently() {
    TCounts counts;
    // Gosper's hack walks every 24-bit mask with 12 bits set.
    uint32_t mask = (1u << 12) - 1;
    while (mask < (1u << 24)) {
        int numbers[12];
        for (int bit = 0, k = 0; bit < 24; ++bit)
            if (mask >> bit & 1)
                numbers[k++] = bit + 1; // ascending, as combinations are stored
        int even = 0, small = 0, prime = 0;
        int sum = 0, evenSum = 0, primeSum = 0;
        uint16_t evenMask = 0, smallMask = 0, primeMask = 0;
        for (int p = 0; p < 12; ++p) {
            const int n = numbers[p];
            ++counts["NUMS"][static_cast<uint16_t>(n)];
            if (n >= 10)
                ++counts["DIGS"][static_cast<uint16_t>(n / 10)];
            ++counts["DIGS"][static_cast<uint16_t>(n % 10)];
            even += n % 2 == 0;
            small += n <= 12;
            prime += Prime(n);
            evenMask = static_cast<uint16_t>(evenMask << 1 | (n % 2 == 1));
            smallMask = static_cast<uint16_t>(smallMask << 1 | (n > 12));
            primeMask = static_cast<uint16_t>(primeMask << 1 | Prime(n));
            ++counts["POS" + std::to_string(p + 1)][static_cast<uint16_t>(n)];
            sum += n;
            evenSum += n % 2 == 0 ? n : 0;
            primeSum += Prime(n) ? n : 0;
        }
        // Pairs of set members adding up to a member, straight from the mask.
        int triples = 0;
        for (int t = 1; t <= 24; ++t)
            for (int a = 1; a < t - a; ++a)
                triples += (mask >> (t - 1) & 1) && (mask >> (a - 1) & 1) && (mask >> (t - a - 1) & 1);
        ++counts["SUMS"][static_cast<uint16_t>(sum)];
        ++counts["SUME"][static_cast<uint16_t>(evenSum)];
        ++counts["SUMP"][static_cast<uint16_t>(primeSum)];
        ++counts["S2T3"][static_cast<uint16_t>(triples)];
        const int bands[3][2] = {{124, 176}, {129, 171}, {134, 166}};
        for (int b = 0; b < 3; ++b)
            ++counts["SUM" + std::to_string(b + 1)][sum >= bands[b][0] && sum <= bands[b][1] ? 1 : 0];
        ++counts["EVEN"][static_cast<uint16_t>(even)];
        ++counts["SMAL"][static_cast<uint16_t>(small)];
        ++counts["PRIM"][static_cast<uint16_t>(prime)];
        ++counts["EVNV"][evenMask];
        ++counts["SMLV"][smallMask];
        ++counts["PRMV"][primeMask];
        const uint32_t low = mask & -mask;
        const uint32_t ripple = mask + low;
        mask = ripple | (((mask ^ ripple) >> 2) / low);
    }
    return counts;
}

std::string ExpectedFile(const std::map<uint16_t, int64_t>& values) {
    std::string bytes;
    int32_t min = 2147483647, max = 0;
    auto put = [&](const void* p, std::size_t n) { bytes.append(static_cast<const char*>(p), n); };
    for (const auto& [key, count] : values) { // std::map: ascending keys
        const uint16_t keys[4] = {key, 0, 0, 0};
        const auto c = static_cast<int32_t>(count);
        put(keys, sizeof keys);
        put(&c, sizeof c);
        min = std::min(min, c);
        max = std::max(max, c);
    }
    const int32_t trailer[3] = {min, max, 0};
    put(trailer, sizeof trailer);
    return bytes;
}

TEST(IndependentPrefetch, NumbersAndSumsFamilyFilesEqualACountFromScratch) {
    TTempDir dir;
    TRecordingUi ui;
    TSessionOptions options;
    options.DataDir = dir.Path();
    options.Headless = true;
    Session session(ui, options);
    session.Create();
    ASSERT_EQ(session.Start(), TStartResult::Ready);
    EXPECT_EQ(session.CreatePrefetchFiles(true, {}), 27);
    EXPECT_TRUE(ui.Errors().empty());

    const TCounts counts = CountIndependently();
    EXPECT_EQ(counts.at("NUMS").at(24), 1352078);
    EXPECT_EQ(counts.at("SUMS").size(), 145u);
    EXPECT_EQ(counts.at("SUMS").at(78), 1);
    int files = 0;
    for (std::size_t i = 0; i < session.Registry().Count(); ++i) {
        const TStatMethod& method = session.Registry().Items(i);
        const std::string code = method.MethodCode();
        if (!method.StatClass->HasPrefetch()) {
            EXPECT_TRUE(code == "SUMC" || code == "SUMV" || code == "SUMT") << code;
            continue;
        }
        ++files;
        ASSERT_TRUE(counts.count(code)) << code;
        EXPECT_EQ(ReadBytes(session.PrefetchFileName(i)), ExpectedFile(counts.at(code))) << code;
    }
    EXPECT_EQ(files, 27);
}

} // namespace
} // namespace kumby
