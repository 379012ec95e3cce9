#pragma once

// Periods family: how many draws (in draw numbers) pass between two appearances of
// an element: a number, a channel or a segment. A selected row (element, period)
// asks whether the element appeared that many places back from the next draw.

#include "stats/NumberElements.h"

namespace kumby {

// The last appearance of each element is kept in the window's LastValues, keyed by
// the element, with the draw number.
class TCustomPeriodsStat : public TCustomElementStat {
public:
    using TCustomElementStat::TCustomElementStat;

    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;

protected:
    // Keeping: a number matches when its element is selected with a period T and
    // appeared in the draw T places before the next one. Removing: when it did not.
    void TableHits(const TStatDrawArray& selected, int lastIdx, bool exclude, TNumberTable& hits) override;
};

template <TElementKind Elements> class TPeriodsClass final : public TCustomPeriodsStat {
public:
    TPeriodsClass(const TStatList& list, int32_t param) : TCustomPeriodsStat(list, param, Elements) {}
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

using TstNumPeriods = TPeriodsClass<TElementKind::Numbers>;
using TstChnPeriods = TPeriodsClass<TElementKind::Channels>;
using TstSgmPeriods = TPeriodsClass<TElementKind::Segments>;

// Their rows of the class table, in VF_Per.cpp.
template <> const TStatClassInfo TPeriodsClass<TElementKind::Numbers>::ClassInfo;
template <> const TStatClassInfo TPeriodsClass<TElementKind::Channels>::ClassInfo;
template <> const TStatClassInfo TPeriodsClass<TElementKind::Segments>::ClassInfo;

} // namespace kumby
