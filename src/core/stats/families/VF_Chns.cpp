#include "VF_Chns.h"

#include "model/VexoUtils.h"
#include "stats/StatList.h"

#include <algorithm>
#include <bit>

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

} // namespace

// Channels 1..ceil(24 / width); none for a width of 0 or less.
void ChannelRange(const TStatList& list, int32_t& min, int32_t& max) {
    const int32_t width = list.Config().ChannelSize;
    min = width <= 0 ? 0 : 1;
    max = width <= 0 ? -1 : GroupOf(MaxNumber, width);
}

// Class table rows: class, code, caption, help code, group, flags, chart, numeric, param, available, range,
// factory.
const TStatClassInfo TstChannels::ClassInfo = {
    "TstChannels", "CHAN", "Каналы", nullptr, 3,       StatFlagN,
    false,         true,   false,    true,    nullptr, Make<TstChannels>};
const TStatClassInfo TstChanValues::ClassInfo = {"TstChanValues",
                                                 "CHNV",
                                                 "Количество чисел в канале",
                                                 nullptr,
                                                 3,
                                                 StatFlagN,
                                                 false,
                                                 false,
                                                 false,
                                                 true,
                                                 nullptr,
                                                 Make<TstChanValues>};
const TStatClassInfo TstChanCount::ClassInfo = {"TstChanCount", "CHNC",  "Количество каналов в тираже",
                                                nullptr,        3,       StatFlagN,
                                                true,           true,    false,
                                                true,           nullptr, Make<TstChanCount>};
const TStatClassInfo TstChnValCnt::ClassInfo = {"TstChnValCnt",
                                                "CHN%d",
                                                "Количество чисел в %0:d канале",
                                                "CHNx",
                                                3,
                                                StatFlagN,
                                                true,
                                                true,
                                                true,
                                                true,
                                                ChannelRange,
                                                Make<TstChnValCnt>};
const TStatClassInfo TstCombChnMix2::ClassInfo = {"TstCombChnMix2",
                                                  "KCM2",
                                                  "Сочетания из 2 каналов по всем числам тиража",
                                                  nullptr,
                                                  3,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombChnMix2>};
const TStatClassInfo TstCombChnMix3::ClassInfo = {"TstCombChnMix3",
                                                  "KCM3",
                                                  "Сочетания из 3 каналов по всем числам тиража",
                                                  nullptr,
                                                  3,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombChnMix3>};
const TStatClassInfo TstCombChnMix4::ClassInfo = {"TstCombChnMix4",
                                                  "KCM4",
                                                  "Сочетания из 4 каналов по всем числам тиража",
                                                  nullptr,
                                                  3,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombChnMix4>};
const TStatClassInfo TstCombChnSeq2::ClassInfo = {"TstCombChnSeq2",
                                                  "KCS2",
                                                  "Сочетания из 2 каналов по соседним числам",
                                                  nullptr,
                                                  3,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombChnSeq2>};
const TStatClassInfo TstCombChnSeq3::ClassInfo = {"TstCombChnSeq3",
                                                  "KCS3",
                                                  "Сочетания из 3 каналов по соседним числам",
                                                  nullptr,
                                                  3,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombChnSeq3>};
const TStatClassInfo TstCombChnSeq4::ClassInfo = {"TstCombChnSeq4",
                                                  "KCS4",
                                                  "Сочетания из 4 каналов по соседним числам",
                                                  nullptr,
                                                  3,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombChnSeq4>};

// ---- CHAN -------------------------------------------------------------------------

void TstChannels::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TPerElementStat::SeedValues(lastIdx, stat);
    for (int c = 1; c <= Count_; ++c) {
        Entry.Key1 = static_cast<uint16_t>(c);
        Merge(stat, false);
    }
}

std::string TstChannels::ValueText(const TStatEntry& e) const {
    return ChannelLabel(e.Key1);
}

int32_t TstChannels::ParseValue(std::string_view text) const {
    const std::vector<std::string_view> words = SplitWords(text, " ");
    return words.empty() ? 0 : ParseIntOr(words.front(), 0);
}

// ---- CHNV -------------------------------------------------------------------------

void TstChanValues::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TPerElementStat::SeedValues(lastIdx, stat);
    const int most = std::min<int>(Width_, NumbersInDraw);
    for (int c = 1; c <= Count_; ++c)
        for (int k = 0; k <= most; ++k) {
            Entry.Key1 = static_cast<uint16_t>(c);
            Entry.Key2 = static_cast<uint16_t>(k);
            Merge(stat, false);
        }
}

std::string TstChanValues::ValueText(const TStatEntry& e) const {
    return ChannelLabel(e.Key1) + " x " + std::to_string(e.Key2);
}

// ---- CHNC -------------------------------------------------------------------------

void TstChanCount::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 1, std::min<int>(Width_, NumbersInDraw));
}

int32_t TstChanCount::ValueOf(const uint8_t* numbers) const {
    uint64_t filled = 0; // a channel is below 256; channels of sound numbers below 64
    unsigned wide = 0;
    for (int i = 0; i < NumbersInDraw; ++i) {
        const uint8_t c = ChannelOf(numbers[i]);
        filled |= uint64_t{1} << (c & 63);
        wide |= c >> 6;
    }
    if (wide == 0)
        return std::popcount(filled);
    // Numbers outside 1..24 with a narrow channel: count the long way.
    std::array<bool, 256> seen{};
    int count = 0;
    for (int i = 0; i < NumbersInDraw; ++i) {
        const uint8_t c = ChannelOf(numbers[i]);
        count += seen[c] ? 0 : 1;
        seen[c] = true;
    }
    return count;
}

// ---- CHN%d ------------------------------------------------------------------------

void TstChnValCnt::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 1, Width_);
}

int32_t TstChnValCnt::ValueOf(const uint8_t* numbers) const {
    int count = 0;
    for (int i = 0; i < NumbersInDraw; ++i)
        count += ChannelOf(numbers[i]) == Param() ? 1 : 0;
    return count;
}

} // namespace kumby
