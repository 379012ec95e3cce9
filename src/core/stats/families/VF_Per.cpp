#include "VF_Per.h"

#include "model/VexoUtils.h"

#include <algorithm>

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

constexpr TStatClassInfo PeriodsRow(const char* className, const char* code, const char* caption,
                                    TStatFactory create) {
    return {className, code, caption, nullptr, 9, StatFlagP, false, false, false, true, nullptr, create};
}

} // namespace

template <>
const TStatClassInfo TstNumPeriods::ClassInfo = PeriodsRow("TstNumPeriods", "PRDV",
                                                           "Периоды повторения чисел", Make<TstNumPeriods>);
template <>
const TStatClassInfo TstChnPeriods::ClassInfo = PeriodsRow("TstChnPeriods", "PRDC",
                                                           "Периоды повторения каналов", Make<TstChnPeriods>);
template <>
const TStatClassInfo TstSgmPeriods::ClassInfo = PeriodsRow("TstSgmPeriods", "PRDG",
                                                           "Периоды повторения сегментов",
                                                           Make<TstSgmPeriods>);

void TCustomPeriodsStat::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat,
                                 TRunState& runState, TLastValueArray& lastValues) {
    TCustomStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    TStatEntry key;
    for (int f = 0; f < NumbersInDraw; ++f) {
        key.Key1 = ElementOf(CurDraw.Numbers[f]);
        // -1 for an element met first; 0 for the second number of an element in this
        // draw; below 0 also when the archive's numbering runs backwards here.
        const int period = UpdateLastValue(lastValues, CurDraw.Number, key);
        if (period <= 0)
            continue;
        Entry.Key1 = key.Key1;
        Entry.Key2 = static_cast<uint16_t>(std::min(period, 65535));
        Merge(stat, true);
    }
}

void TCustomPeriodsStat::TableHits(const TStatDrawArray& selected, int lastIdx, bool exclude,
                                   TNumberTable& hits) {
    std::array<bool, 256> element{};
    for (const TStatEntry& e : selected) {
        if (e.Key1 >= element.size())
            continue;
        // The draw T places before the candidate for the draw after lastIdx. A period
        // of 0 is none and reads no draw; a draw outside the archive has no numbers.
        const int back = lastIdx - e.Key2 + 1;
        bool appeared = false;
        if (e.Key2 > 0 && back >= 0 && static_cast<std::size_t>(back) < Draws.size())
            appeared = ElementsOf(Draws[back].Numbers)[e.Key1];
        if (appeared != exclude)
            element[e.Key1] = true;
    }
    for (int n = 0; n < 256; ++n)
        hits[n] = element[ElementOf(static_cast<uint8_t>(n))] ? 1 : 0;
}

} // namespace kumby
