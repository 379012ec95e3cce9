#include "VF_Ser.h"

#include <algorithm>

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

constexpr TStatClassInfo SerialRow(const char* className, const char* code, const char* caption,
                                   TStatFactory create) {
    return {className, code, caption, nullptr, 8, StatFlagD, false, false, false, true, nullptr, create};
}

// The RunState holds 24 runs of three integers.
constexpr int RunSlots = static_cast<int>(sizeof(TRunState::Values) / sizeof(int32_t)) / 3;

} // namespace

template <>
const TStatClassInfo TstNumGroups::ClassInfo = SerialRow("TstNumGroups", "GRPV",
                                                         "Повторы чисел в нескольких тиражах подряд",
                                                         Make<TstNumGroups>);
template <>
const TStatClassInfo TstNumPauses::ClassInfo = SerialRow("TstNumPauses", "GRPP",
                                                         "Интервалы между повторениями чисел",
                                                         Make<TstNumPauses>);
template <>
const TStatClassInfo TstChnGroups::ClassInfo = SerialRow("TstChnGroups", "GRCV",
                                                         "Повторы каналов в нескольких тиражах подряд",
                                                         Make<TstChnGroups>);
template <>
const TStatClassInfo TstChnPauses::ClassInfo = SerialRow("TstChnPauses", "GRCP",
                                                         "Интервалы между повторениями каналов",
                                                         Make<TstChnPauses>);
template <>
const TStatClassInfo TstSgmGroups::ClassInfo = SerialRow("TstSgmGroups", "GRSV",
                                                         "Повторы сегментов в нескольких тиражах подряд",
                                                         Make<TstSgmGroups>);
template <>
const TStatClassInfo TstSgmPauses::ClassInfo = SerialRow("TstSgmPauses", "GRSP",
                                                         "Интервалы между повторениями сегментов",
                                                         Make<TstSgmPauses>);

TCustomSerialStat::TCustomSerialStat(const TStatList& list, int32_t param, TElementKind elements,
                                     TRunKind runKind)
    : TCustomElementStat(list, param, elements), RunKind_(runKind) {}

// Steps every run over the loaded draw drawIdx and calls tell(element, run) for each
// run to be told: one of an element of the newest draw, broken here or reaching the
// newest draw.
template <class Tell>
void TCustomSerialStat::StepRuns(int drawIdx, int lastIdx, TRunState& runState, Tell&& tell) {
    const uint32_t present = ListedElementsOf(CurDraw.Numbers);
    const uint32_t inNewest = ListedElementsOf(RefDraw.Numbers);
    const uint32_t continuing = RunKind_ == TRunKind::Groups ? present : ~present;
    const bool newest = drawIdx == lastIdx;
    const int32_t depth = lastIdx - drawIdx + 1;
    // Ranges come from the settings: at most 24 elements (channels of width 1).
    const int32_t count = std::min(Highest() - Lowest() + 1, RunSlots);
    for (int32_t i = 0; i < count; ++i) {
        int32_t* run = &runState.Values[3 * i];
        const bool told = (inNewest >> i & 1) != 0;
        if ((continuing >> i & 1) != 0) {
            ++run[0];
            run[1] = CurDraw.Number;
            run[2] = depth;
            if (newest && told)
                tell(Lowest() + i, run);
        } else {
            if (run[0] > 0 && told)
                tell(Lowest() + i, run);
            run[0] = run[1] = run[2] = 0;
        }
    }
}

void TCustomSerialStat::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat,
                                TRunState& runState, TLastValueArray& lastValues) {
    TCustomStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    StepRuns(drawIdx, lastIdx, runState,
             [&](int32_t element, const int32_t* run) { MergeRun(stat, element, run); });
}

// As the search of every method, a draw at a time with one RunState, but the values
// of a draw are compared as they are told instead of merged into a list of their own.
int32_t TCustomSerialStat::FindNextOccurrence(const TStatEntry& e, int startIdx, int lastIdx, bool sorted) {
    const int newest = static_cast<int>(Draws.size()) - 1;
    if (startIdx > newest)
        return -1;
    TRunState runState;
    for (int idx = std::max(startIdx, 0); idx <= newest; ++idx) {
        LoadDraws(idx, lastIdx, sorted);
        bool found = false;
        int32_t draw = 0;
        StepRuns(idx, lastIdx, runState, [&](int32_t element, const int32_t* run) {
            if (!found && e.Key1 == element && e.Key2 == RunKey(run) && e.Key3 == 0 && e.Key4 == 0) {
                found = true;
                draw = run[1];
            }
        });
        if (found)
            return draw;
    }
    return -1;
}

void TCustomSerialStat::MergeRun(TStatDrawArray& stat, int32_t element, const int32_t* run) {
    Entry.Key1 = static_cast<uint16_t>(element);
    Entry.Key2 = RunKey(run);
    Entry.Draw = run[1];
    Entry.PrevDraw = run[1];
    Entry.Depth = run[2];
    Merge(stat, true);
}

void TCustomSerialStat::TableHits(const TStatDrawArray& selected, int /*lastIdx*/, bool /*exclude*/,
                                  TNumberTable& hits) {
    std::array<bool, 256> element{};
    for (const TStatEntry& e : selected)
        if (e.Key1 < element.size())
            element[e.Key1] = true;
    for (int n = 0; n < 256; ++n)
        hits[n] = element[ElementOf(static_cast<uint8_t>(n))] ? 1 : 0;
}

} // namespace kumby
