#include "VF_Segm.h"

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

// The lowest to the highest segment of the table, found from 9 down and from 1 up,
// so that every digit between them has a method, used or not.
void SegmentRange(const TStatList& list, int32_t& min, int32_t& max) {
    min = 9;
    max = 1;
    for (const uint8_t s : list.Config().MatrixSegments) {
        min = std::min<int32_t>(min, s);
        max = std::max<int32_t>(max, s);
    }
}

// ---- SGMS -------------------------------------------------------------------------

void TstSegments::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TPerElementStat::SeedValues(lastIdx, stat);
    for (const uint8_t s : Segments()) {
        Entry.Key1 = s;
        Merge(stat, false);
    }
}

// ---- SGMV -------------------------------------------------------------------------

std::string TstSegmValues::ValueText(const TStatEntry& e) const {
    return Format("%d x %d", e.Key1, e.Key2);
}

// ---- SGMC -------------------------------------------------------------------------

TstSegmCount::TstSegmCount(const TStatList& list, int32_t param) : TSingleValueStat(list, param) {
    for (int n = 0; n < 256; ++n) {
        const auto place =
            std::find(Listed_.begin(), Listed_.begin() + Count_, SegmentOf(static_cast<uint8_t>(n)));
        SegmentBit_[static_cast<std::size_t>(n)] = uint32_t{1} << (place - Listed_.begin());
    }
}

// Every number's segment bit joined: no stores, nothing that depends on the order.
int32_t TstSegmCount::ValueOf(const uint8_t* numbers) const {
    uint32_t filled = 0;
    for (int i = 0; i < NumbersInDraw; ++i)
        filled |= SegmentBit_[numbers[i]];
    return BitCount(filled);
}

// ---- SGM%d ------------------------------------------------------------------------

int32_t TstSgmValCnt::ValueOf(const uint8_t* numbers) const {
    int count = 0;
    for (int i = 0; i < NumbersInDraw; ++i)
        count += SegmentOf(numbers[i]) == Param() ? 1 : 0;
    return count;
}

// Class table rows: class, code, caption, help code, group, flags, chart, numeric, param, available, range,
// factory.
const TStatClassInfo TstSegments::ClassInfo = {
    "TstSegments", "SGMS",  "Сегменты матрицы", nullptr, 5, StatFlagN, false, true, false,
    true,          nullptr, Make<TstSegments>};
const TStatClassInfo TstSegmValues::ClassInfo = {"TstSegmValues",
                                                 "SGMV",
                                                 "Количество чисел в сегменте матрицы",
                                                 nullptr,
                                                 5,
                                                 StatFlagN,
                                                 false,
                                                 false,
                                                 false,
                                                 true,
                                                 nullptr,
                                                 Make<TstSegmValues>};
const TStatClassInfo TstSegmCount::ClassInfo = {
    "TstSegmCount", "SGMC",  "Количество не пустых сегментов в матрице",
    nullptr,        5,       StatFlagN,
    true,           true,    false,
    true,           nullptr, Make<TstSegmCount>};
const TStatClassInfo TstCombSegmMix2::ClassInfo = {"TstCombSegmMix2",
                                                   "KGM2",
                                                   "Сочетания из 2 сегментов по всем числам тиража",
                                                   nullptr,
                                                   5,
                                                   StatFlagS,
                                                   false,
                                                   false,
                                                   false,
                                                   true,
                                                   nullptr,
                                                   Make<TstCombSegmMix2>};
const TStatClassInfo TstCombSegmMix3::ClassInfo = {"TstCombSegmMix3",
                                                   "KGM3",
                                                   "Сочетания из 3 сегментов по всем числам тиража",
                                                   nullptr,
                                                   5,
                                                   StatFlagS,
                                                   false,
                                                   false,
                                                   false,
                                                   true,
                                                   nullptr,
                                                   Make<TstCombSegmMix3>};
const TStatClassInfo TstCombSegmMix4::ClassInfo = {"TstCombSegmMix4",
                                                   "KGM4",
                                                   "Сочетания из 4 сегментов по всем числам тиража",
                                                   nullptr,
                                                   5,
                                                   StatFlagS,
                                                   false,
                                                   false,
                                                   false,
                                                   true,
                                                   nullptr,
                                                   Make<TstCombSegmMix4>};
const TStatClassInfo TstCombSegmSeq2::ClassInfo = {"TstCombSegmSeq2",
                                                   "KGS2",
                                                   "Сочетания из 2 сегментов по соседним числам",
                                                   nullptr,
                                                   5,
                                                   StatFlagS,
                                                   false,
                                                   false,
                                                   false,
                                                   true,
                                                   nullptr,
                                                   Make<TstCombSegmSeq2>};
const TStatClassInfo TstCombSegmSeq3::ClassInfo = {"TstCombSegmSeq3",
                                                   "KGS3",
                                                   "Сочетания из 3 сегментов по соседним числам",
                                                   nullptr,
                                                   5,
                                                   StatFlagS,
                                                   false,
                                                   false,
                                                   false,
                                                   true,
                                                   nullptr,
                                                   Make<TstCombSegmSeq3>};
const TStatClassInfo TstCombSegmSeq4::ClassInfo = {"TstCombSegmSeq4",
                                                   "KGS4",
                                                   "Сочетания из 4 сегментов по соседним числам",
                                                   nullptr,
                                                   5,
                                                   StatFlagS,
                                                   false,
                                                   false,
                                                   false,
                                                   true,
                                                   nullptr,
                                                   Make<TstCombSegmSeq4>};
const TStatClassInfo TstSgmValCnt::ClassInfo = {"TstSgmValCnt",
                                                "SGM%d",
                                                "Количество чисел в %0:d сегменте матрицы",
                                                "SGMx",
                                                5,
                                                StatFlagN,
                                                true,
                                                true,
                                                true,
                                                true,
                                                SegmentRange,
                                                Make<TstSgmValCnt>};

} // namespace kumby
