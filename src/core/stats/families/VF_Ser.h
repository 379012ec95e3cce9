#pragma once

// Series family: for every element (number, channel, segment) of the newest draw of
// the window, how long its runs of consecutive draws with it (groups) or without it
// (pauses) were. A combination matches a row by the element alone.

#include "stats/NumberElements.h"

#include <algorithm>

namespace kumby {

enum class TRunKind : uint8_t { Pauses = 0, Groups = 1 };

// The run of each element is carried from draw to draw in the RunState: entry
// e - Lowest() holds the run length, the number and the depth of the run's last draw.
class TCustomSerialStat : public TCustomElementStat {
public:
    TCustomSerialStat(const TStatList& list, int32_t param, TElementKind elements, TRunKind runKind);

    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    int32_t FindNextOccurrence(const TStatEntry& e, int startIdx, int lastIdx, bool sorted) override;

protected:
    void TableHits(const TStatDrawArray& selected, int lastIdx, bool exclude, TNumberTable& hits) override;

private:
    template <class Tell> void StepRuns(int drawIdx, int lastIdx, TRunState& runState, Tell&& tell);
    // A run length as the key holds it.
    static uint16_t RunKey(const int32_t* run) {
        return static_cast<uint16_t>(std::min<int32_t>(run[0], 65535));
    }
    // Merges (element, run length) with the number and depth of the run's last draw.
    void MergeRun(TStatDrawArray& stat, int32_t element, const int32_t* run);

    TRunKind RunKind_;
};

template <TElementKind Elements, TRunKind Kind> class TSerialClass final : public TCustomSerialStat {
public:
    TSerialClass(const TStatList& list, int32_t param) : TCustomSerialStat(list, param, Elements, Kind) {}
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

using TstNumGroups = TSerialClass<TElementKind::Numbers, TRunKind::Groups>;
using TstNumPauses = TSerialClass<TElementKind::Numbers, TRunKind::Pauses>;
using TstChnGroups = TSerialClass<TElementKind::Channels, TRunKind::Groups>;
using TstChnPauses = TSerialClass<TElementKind::Channels, TRunKind::Pauses>;
using TstSgmGroups = TSerialClass<TElementKind::Segments, TRunKind::Groups>;
using TstSgmPauses = TSerialClass<TElementKind::Segments, TRunKind::Pauses>;

// Their rows of the class table, in VF_Ser.cpp.
template <> const TStatClassInfo TSerialClass<TElementKind::Numbers, TRunKind::Groups>::ClassInfo;
template <> const TStatClassInfo TSerialClass<TElementKind::Numbers, TRunKind::Pauses>::ClassInfo;
template <> const TStatClassInfo TSerialClass<TElementKind::Channels, TRunKind::Groups>::ClassInfo;
template <> const TStatClassInfo TSerialClass<TElementKind::Channels, TRunKind::Pauses>::ClassInfo;
template <> const TStatClassInfo TSerialClass<TElementKind::Segments, TRunKind::Groups>::ClassInfo;
template <> const TStatClassInfo TSerialClass<TElementKind::Segments, TRunKind::Pauses>::ClassInfo;

} // namespace kumby
