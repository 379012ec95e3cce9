// The channels family's full-set files against a count made here from scratch:
// every 12-of-24 set as a bit mask, its channels worked out by division. The files
// of width 4 come from the builder of missing files; those of width 5 from the
// settings change, which builds the channel files again.

#include "app/Session.h"
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
using TCounts = std::map<std::string, std::map<TKey, int32_t>>; // code -> key -> count

TCounts CountIndependently(int width) {
    const int channels = (24 + width - 1) / width;
    TCounts counts;
    uint32_t mask = (1u << 12) - 1;
    while (mask < (1u << 24)) {
        int inChannel[25] = {};
        for (int bit = 0; bit < 24; ++bit)
            if (mask >> bit & 1) {
                const int channel = bit / width + 1; // number bit + 1
                ++inChannel[channel];
                ++counts["CHAN"][{static_cast<uint16_t>(channel), 0, 0, 0}];
            }
        int filled = 0;
        for (int c = 1; c <= channels; ++c) {
            filled += inChannel[c] > 0;
            ++counts["CHNV"][{static_cast<uint16_t>(c), static_cast<uint16_t>(inChannel[c]), 0, 0}];
            ++counts["CHN" + std::to_string(c)][{static_cast<uint16_t>(inChannel[c]), 0, 0, 0}];
        }
        ++counts["CHNC"][{static_cast<uint16_t>(filled), 0, 0, 0}];
        const uint32_t low = mask & -mask;
        const uint32_t ripple = mask + low;
        mask = ripple | (((mask ^ ripple) >> 2) / low);
    }
    return counts;
}

std::string ExpectedFile(const std::map<TKey, int32_t>& counts) {
    std::vector<testing::TPrefetchRecord> records(counts.begin(), counts.end()); // keys ascending
    return testing::PrefetchImage(records);
}

void ExpectChannelFiles(Session& session, int width) {
    SCOPED_TRACE("width " + std::to_string(width));
    const TCounts counts = CountIndependently(width);
    int files = 0;
    for (std::size_t i = 0; i < session.Registry().Count(); ++i) {
        const TStatMethod& method = session.Registry().Items(i);
        if (method.StatClass->Group != 3 || !method.StatClass->HasPrefetch())
            continue;
        const std::string code = method.MethodCode();
        ASSERT_TRUE(counts.count(code)) << code;
        EXPECT_TRUE(ReadBytes(session.PrefetchFileName(i)) == ExpectedFile(counts.at(code))) << code;
        ++files;
    }
    EXPECT_EQ(files, 3 + (24 + width - 1) / width);
}

TEST(ChannelsPrefetch, FilesOfWidthFourAndFiveEqualACountFromScratch) {
    TTestSession t;
    ASSERT_EQ(t.Start(), TStartResult::Ready);
    Session& session = *t.S;
    EXPECT_GE(session.CreatePrefetchFiles(true, {3}), 9)
        << "every missing file, the channel files among them";
    const TCounts four = CountIndependently(4);
    EXPECT_EQ(four.at("CHAN").size(), 6u);
    EXPECT_EQ((four.at("CHAN").at({1, 0, 0, 0})), 4 * 1352078) << "each number stands in C(23, 11) sets";
    EXPECT_EQ((four.at("CHNC").begin()->first[0]), 3) << "12 numbers fill at least 3 channels of 4";
    ExpectChannelFiles(session, 4);

    session.View().PrefetchsEnabled = true;
    TConfigData config = session.Config();
    config.ChannelSize = 5;
    EXPECT_EQ(session.ApplyConfig(config), std::vector<int>{3});
    ExpectChannelFiles(session, 5);
    EXPECT_TRUE(t.Ui.Errors().empty());
}

} // namespace
} // namespace kumby
