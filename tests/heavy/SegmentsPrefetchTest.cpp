// The segments family's full-set files against a count made here from scratch: every
// 12-of-24 set as a bit mask, each number looked up in the segment text. The files
// of the default table come from the builder of missing files; the others from the
// settings change, which builds the segment files again.

#include "app/Session.h"
#include "model/VexoUtils.h"
#include "support/PrefetchImage.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TTestSession;

using TKey = std::array<uint16_t, 4>;
using TCounts = std::map<std::string, testing::TKeyCounts>; // code -> key -> count

TKey K(int a, int b = 0) {
    return {static_cast<uint16_t>(a), static_cast<uint16_t>(b), 0, 0};
}

// `digits` holds the segment of every number 1..24.
TCounts CountIndependently(const std::string& digits) {
    std::string used; // segments in the order of the numbers that first carry them
    for (const char d : digits)
        if (used.find(d) == std::string::npos)
            used += d;
    const int lowest = *std::min_element(digits.begin(), digits.end()) - '0';
    const int highest = *std::max_element(digits.begin(), digits.end()) - '0';
    TCounts counts;
    testing::ForEachSetOfTwelve([&](uint32_t mask) {
        int inSegment[10] = {};
        for (int bit = 0; bit < 24; ++bit)
            if ((mask >> bit & 1) != 0) {
                const int s = digits[bit] - '0';
                ++inSegment[s];
                ++counts["SGMS"][K(s)];
            }
        int touched = 0;
        for (const char d : used) {
            touched += inSegment[d - '0'] > 0;
            ++counts["SGMV"][K(d - '0', inSegment[d - '0'])];
        }
        ++counts["SGMC"][K(touched)];
        for (int s = lowest; s <= highest; ++s)
            ++counts["SGM" + std::to_string(s)][K(inSegment[s])];
    });
    return counts;
}

void ExpectSegmentFiles(Session& session, const std::string& digits) {
    SCOPED_TRACE(digits);
    const TCounts counts = CountIndependently(digits);
    int files = 0;
    for (std::size_t i = 0; i < session.Registry().Count(); ++i) {
        const TStatMethod& method = session.Registry().Items(i);
        if (method.StatClass->Group != 5 || !method.StatClass->HasPrefetch())
            continue;
        const std::string code = method.MethodCode();
        ASSERT_TRUE(counts.count(code)) << code;
        EXPECT_TRUE(ReadBytes(session.PrefetchFileName(i)) == testing::PrefetchImage(counts.at(code)))
            << code;
        ++files;
    }
    EXPECT_EQ(files, static_cast<int>(counts.size()));
}

TEST(SegmentsPrefetch, FilesOfSeveralTablesEqualACountFromScratch) {
    TTestSession t;
    ASSERT_EQ(t.Start(), TStartResult::Ready);
    Session& session = *t.S;
    EXPECT_GE(session.CreatePrefetchFiles(true, {5}), 4)
        << "every missing file, the segment files among them";
    ExpectSegmentFiles(session, std::string(24, '1'));

    session.View().PrefetchsEnabled = true;
    // Scattered digits with two unused between them; one number apart from the rest.
    for (const std::string digits : {"555533337777333355557777", "111111111111111111111119"}) {
        TConfigData config = session.Config();
        config.MatrixSegments = MatrixSegmentsFromText(digits);
        EXPECT_EQ(session.ApplyConfig(config), std::vector<int>{5});
        ExpectSegmentFiles(session, digits);
    }
    const TCounts scattered = CountIndependently("555533337777333355557777");
    EXPECT_EQ(scattered.at("SGM4").size(), 1u) << "a digit no number carries: always 0";
    EXPECT_TRUE(t.Ui.Errors().empty());
}

} // namespace
} // namespace kumby
