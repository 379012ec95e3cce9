// The full-set files of the numbers, sums and differences families against a count made here from
// scratch: every 12-of-24 set as a bit mask, its values worked out directly.

#include "app/Session.h"
#include "support/PrefetchImage.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TTestSession;

// Every value of these methods is a small number in Key1 (sums up to 222, masks up
// to 4095), so a plain table per method counts them; DIFO's (difference, how often)
// pairs are counted at difference * 16 + how often, which keeps the keys' order.
constexpr int KeyRange = 4096;
const char* const Codes[] = {"NUMS", "DIGS",  "EVEN",  "EVNV",  "SMAL", "SMLV", "PRIM", "PRMV",
                             "POS1", "POS2",  "POS3",  "POS4",  "POS5", "POS6", "POS7", "POS8",
                             "POS9", "POS10", "POS11", "POS12", "SUMS", "SUM1", "SUM2", "SUM3",
                             "SUME", "SUMP",  "S2T3",  "DIFA",  "DIFM", "DIFD", "DIFO", "DIFK"};
enum TCodeIndex {
    Nums,
    Digs,
    Even,
    Evnv,
    Smal,
    Smlv,
    Prim,
    Prmv,
    Pos1,
    Sums = Pos1 + 12,
    Sum1,
    Sum2,
    Sum3,
    Sume,
    Sump,
    S2t3,
    Difa,
    Difm,
    Difd,
    Difo,
    Difk,
    CodeCount
};
static_assert(std::size(Codes) == CodeCount);

using TCounts = std::vector<std::array<int64_t, KeyRange>>; // code index -> Key1 -> count

bool Prime(int n) {
    for (int p : {1, 2, 3, 5, 7, 11, 13, 17, 19, 23})
        if (n == p)
            return true;
    return false;
}

// Families whose files other heavy tests count.
bool CountedElsewhere(const std::string& code) {
    for (const char* prefix : {"SHR", "SEQ", "LENS", "HCV"})
        if (code.starts_with(prefix))
            return true;
    return false;
}

TCounts CountIndependently() {
    TCounts counts(CodeCount);
    for (auto& table : counts)
        table.fill(0);
    const int bands[3][2] = {{124, 176}, {129, 171}, {134, 166}};
    // Gosper's hack walks every 24-bit mask with 12 bits set.
    uint32_t mask = (1u << 12) - 1;
    while (mask < (1u << 24)) {
        int numbers[12];
        for (int bit = 0, k = 0; bit < 24; ++bit)
            if (mask >> bit & 1)
                numbers[k++] = bit + 1; // ascending, as combinations are stored
        int even = 0, small = 0, prime = 0;
        int sum = 0, evenSum = 0, primeSum = 0;
        int evenMask = 0, smallMask = 0, primeMask = 0;
        for (int p = 0; p < 12; ++p) {
            const int n = numbers[p];
            ++counts[Nums][n];
            if (n >= 10)
                ++counts[Digs][n / 10];
            ++counts[Digs][n % 10];
            even += n % 2 == 0;
            small += n <= 12;
            prime += Prime(n);
            evenMask = evenMask << 1 | (n % 2 == 1); // position 1 ends as bit 11
            smallMask = smallMask << 1 | (n > 12);
            primeMask = primeMask << 1 | Prime(n);
            ++counts[Pos1 + p][n];
            sum += n;
            evenSum += n % 2 == 0 ? n : 0;
            primeSum += Prime(n) ? n : 0;
        }
        // Pairs of set members adding up to a member, straight from the mask.
        int triples = 0;
        for (int t = 1; t <= 24; ++t)
            for (int a = 1; a < t - a; ++a)
                triples += (mask >> (t - 1) & 1) && (mask >> (a - 1) & 1) && (mask >> (t - a - 1) & 1);
        // Ascending, so each difference is the next number minus this one.
        int diffTimes[24] = {};
        int largestDiff = 0;
        for (int p = 0; p + 1 < 12; ++p) {
            const int d = numbers[p + 1] - numbers[p];
            ++counts[Difa][d];
            ++diffTimes[d];
            largestDiff = std::max(largestDiff, d);
        }
        int mostTimes = 0;
        for (int d = 1; d < 24; ++d) {
            if (diffTimes[d] != 0)
                ++counts[Difo][d * 16 + diffTimes[d]];
            mostTimes = std::max(mostTimes, diffTimes[d]);
        }
        ++counts[Difm][largestDiff];
        ++counts[Difd][numbers[11] - numbers[0]];
        ++counts[Difk][mostTimes];
        ++counts[Sums][sum];
        ++counts[Sume][evenSum];
        ++counts[Sump][primeSum];
        ++counts[S2t3][triples];
        for (int b = 0; b < 3; ++b)
            ++counts[Sum1 + b][sum >= bands[b][0] && sum <= bands[b][1] ? 1 : 0];
        ++counts[Even][even];
        ++counts[Smal][small];
        ++counts[Prim][prime];
        ++counts[Evnv][evenMask];
        ++counts[Smlv][smallMask];
        ++counts[Prmv][primeMask];
        const uint32_t low = mask & -mask;
        const uint32_t ripple = mask + low;
        mask = ripple | (((mask ^ ripple) >> 2) / low);
    }
    return counts;
}

// The file image: one record per value that occurs, keys ascending, then the
// smallest and largest count and a zero.
std::string ExpectedFile(const std::array<int64_t, KeyRange>& counts, bool pairs) {
    std::vector<testing::TPrefetchRecord> records;
    for (int key = 0; key < KeyRange; ++key)
        if (counts[key] != 0)
            records.push_back({{static_cast<uint16_t>(pairs ? key / 16 : key),
                                static_cast<uint16_t>(pairs ? key % 16 : 0), 0, 0},
                               static_cast<int32_t>(counts[key])});
    return testing::PrefetchImage(records);
}

int Distinct(const std::array<int64_t, KeyRange>& counts) {
    return static_cast<int>(std::count_if(counts.begin(), counts.end(), [](int64_t c) { return c != 0; }));
}

TEST(IndependentPrefetch, NumbersSumsAndDifferencesFamilyFilesEqualACountFromScratch) {
    TTestSession t;
    ASSERT_EQ(t.Start(), TStartResult::Ready);
    Session& session = *t.S;
    int withFile = 0;
    for (std::size_t i = 0; i < session.Registry().Count(); ++i)
        withFile += session.Registry().Items(i).StatClass->HasPrefetch();
    EXPECT_EQ(session.CreatePrefetchFiles(true, {}), withFile);
    EXPECT_TRUE(t.Ui.Errors().empty());

    const TCounts counts = CountIndependently();
    EXPECT_EQ(counts[Nums][24], 1352078);
    EXPECT_EQ(Distinct(counts[Sums]), 145);
    EXPECT_EQ(counts[Sums][78], 1);
    EXPECT_EQ(Distinct(counts[Pos1 + 2]), 13) << "3..15 stand third";
    EXPECT_EQ(Distinct(counts[Digs]), 10);
    EXPECT_EQ(counts[Difd][11], 13) << "13 runs of 12 consecutive numbers";
    EXPECT_EQ(counts[Difk][11], 15) << "the 13 runs and the odd and the even numbers";
    EXPECT_EQ(counts[Difo][2 * 16 + 11], 2);

    std::map<std::string, int> indexOf;
    for (int c = 0; c < CodeCount; ++c)
        indexOf[Codes[c]] = c;
    int files = 0;
    for (std::size_t i = 0; i < session.Registry().Count(); ++i) {
        const TStatMethod& method = session.Registry().Items(i);
        const std::string code = method.MethodCode();
        if (CountedElsewhere(code) || (method.StatClass->Group >= 3 && method.StatClass->Group <= 5))
            continue; // their own tests count them
        if (!method.StatClass->HasPrefetch()) {
            EXPECT_TRUE(code == "SUMC" || code == "SUMV" || code == "SUMT" || code.starts_with("KDS") ||
                        code.starts_with("KN") ||
                        (method.StatClass->Group >= 7 && method.StatClass->Group <= 10))
                << code;
            continue;
        }
        ++files;
        ASSERT_TRUE(indexOf.count(code)) << code;
        EXPECT_EQ(ReadBytes(session.PrefetchFileName(i)),
                  ExpectedFile(counts[indexOf.at(code)], code == "DIFO"))
            << code;
    }
    EXPECT_EQ(files, CodeCount);
}

} // namespace
} // namespace kumby
