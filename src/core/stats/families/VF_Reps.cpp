#include "VF_Reps.h"

#include "model/GameConstants.h"
#include "model/VexoUtils.h"

#include <bitset>
#include <span>

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

using TNumberSet = std::bitset<256>;

bool DrawExists(const TDrawsArray& draws, int idx) {
    return idx >= 0 && static_cast<std::size_t>(idx) < draws.size();
}

uint8_t Shifted(uint8_t n, int s) {
    // Bytes shift within 1..24 and a little above 24 (255 + 2 - 24): still a byte.
    return static_cast<uint8_t>(ShiftNumber(n, s));
}

TNumberSet SetOf(const uint8_t* numbers, int shift = 0) {
    TNumberSet set;
    for (int i = 0; i < NumbersInDraw; ++i)
        set.set(Shifted(numbers[i], shift));
    return set;
}

// The numbers of archive draw idx as a set; empty when there is no such draw.
TNumberSet DrawSet(const TDrawsArray& draws, int idx, int shift = 0) {
    return DrawExists(draws, idx) ? SetOf(draws[idx].Numbers, shift) : TNumberSet{};
}

// Numbers of the draw before idx that the draw before that has too (inBoth) or has
// not (no such draw has none); what a draw idx repeats over three draws.
TNumberSet RepeatedBefore(const TDrawsArray& draws, int idx, bool inBoth) {
    const TNumberSet twoBack = DrawSet(draws, idx - 2);
    return DrawSet(draws, idx - 1) & (inBoth ? twoBack : ~twoBack);
}

// The numbers in the set, in their order; returns how many.
int NumbersIn(const uint8_t* numbers, const TNumberSet& set, uint8_t* out) {
    int count = 0;
    for (int i = 0; i < NumbersInDraw; ++i)
        if (set.test(numbers[i]))
            out[count++] = numbers[i];
    return count;
}

int CountIn(const uint8_t* numbers, const TNumberSet& set) {
    int count = 0;
    for (int i = 0; i < NumbersInDraw; ++i)
        count += set.test(numbers[i]);
    return count;
}

void SetWeights(const TNumberSet& set, TNumberWeights& weights) {
    for (std::size_t n = 0; n < set.size(); ++n)
        weights[n] = set.test(n);
}

// Rows of the class table, by kind, shift and distance.
constexpr TStatClassInfo RepRow(const char* className, const char* code, const char* caption,
                                TStatFactory create) {
    return {className, code, caption, nullptr, 7, StatFlagD, false, true, false, true, nullptr, create};
}

} // namespace

template <>
const TStatClassInfo TRepValues2Class<0, 1>::ClassInfo = RepRow("TstRepValues2", "RPV2",
                                                                "Повторяющиеся числа в 2-х тиражах подряд",
                                                                Make<TstRepValues2>);
template <>
const TStatClassInfo
    TRepValues2Class<0, 2>::ClassInfo = RepRow("TstRepValues2over1", "PRV2O1",
                                               "Повторяющиеся числа в 2-х тиражах через 1 тираж(а)",
                                               Make<TstRepValues2over1>);
template <>
const TStatClassInfo
    TRepValues2Class<0, 3>::ClassInfo = RepRow("TstRepValues2over2", "PRV2O2",
                                               "Повторяющиеся числа в 2-х тиражах через 2 тираж(а)",
                                               Make<TstRepValues2over2>);
template <>
const TStatClassInfo
    TRepValues2Class<0, 4>::ClassInfo = RepRow("TstRepValues2over3", "PRV2O3",
                                               "Повторяющиеся числа в 2-х тиражах через 3 тираж(а)",
                                               Make<TstRepValues2over3>);
template <>
const TStatClassInfo TRepValues2Class<1, 1>::ClassInfo = RepRow("TstRepValues2P1", "PRV+1",
                                                                "Данные предыдущего тиража + 1",
                                                                Make<TstRepValues2P1>);
template <>
const TStatClassInfo TRepValues2Class<-1, 1>::ClassInfo = RepRow("TstRepValues2N1", "PRV-1",
                                                                 "Данные предыдущего тиража - 1",
                                                                 Make<TstRepValues2N1>);
template <>
const TStatClassInfo TRepValues2Class<2, 1>::ClassInfo = RepRow("TstRepValues2P2", "PRV+2",
                                                                "Данные предыдущего тиража + 2",
                                                                Make<TstRepValues2P2>);
template <>
const TStatClassInfo TRepValues2Class<-2, 1>::ClassInfo = RepRow("TstRepValues2N2", "PRV-2",
                                                                 "Данные предыдущего тиража - 2",
                                                                 Make<TstRepValues2N2>);
template <>
const TStatClassInfo TRepCount2Class<0, 1>::ClassInfo = RepRow("TstRepCount2", "RPC2",
                                                               "Количество повторов в 2-х тиражах подряд",
                                                               Make<TstRepCount2>);
// The count over one draw between is RPO1, not PRC2O1.
template <>
const TStatClassInfo
    TRepCount2Class<0, 2>::ClassInfo = RepRow("TstRepCount2over1", "RPO1",
                                              "Количество повторов в 2-х тиражах через 1 тираж(а)",
                                              Make<TstRepCount2over1>);
template <>
const TStatClassInfo
    TRepCount2Class<0, 3>::ClassInfo = RepRow("TstRepCount2over2", "PRC2O2",
                                              "Количество повторов в 2-х тиражах через 2 тираж(а)",
                                              Make<TstRepCount2over2>);
template <>
const TStatClassInfo
    TRepCount2Class<0, 4>::ClassInfo = RepRow("TstRepCount2over3", "PRC2O3",
                                              "Количество повторов в 2-х тиражах через 3 тираж(а)",
                                              Make<TstRepCount2over3>);
template <>
const TStatClassInfo TRepCount2Class<1, 1>::ClassInfo = RepRow("TstRepCount2P1", "PRC+1",
                                                               "Количество совпадений \"значений + 1\"",
                                                               Make<TstRepCount2P1>);
template <>
const TStatClassInfo TRepCount2Class<-1, 1>::ClassInfo = RepRow("TstRepCount2N1", "PRC-1",
                                                                "Количество совпадений \"значений - 1\"",
                                                                Make<TstRepCount2N1>);
template <>
const TStatClassInfo TRepCount2Class<2, 1>::ClassInfo = RepRow("TstRepCount2P2", "PRC+2",
                                                               "Количество совпадений \"значений + 2\"",
                                                               Make<TstRepCount2P2>);
template <>
const TStatClassInfo TRepCount2Class<-2, 1>::ClassInfo = RepRow("TstRepCount2N2", "PRC-2",
                                                                "Количество совпадений \"значений - 2\"",
                                                                Make<TstRepCount2N2>);
const TStatClassInfo TstRepValues3::ClassInfo =
    RepRow("TstRepValues3", "RPV3", "Повторяющиеся числа в 3-х тиражах подряд", Make<TstRepValues3>);
const TStatClassInfo TstRepCount3::ClassInfo =
    RepRow("TstRepCount3", "RPC3", "Количество повторов в 3-х тиражах подряд", Make<TstRepCount3>);
const TStatClassInfo TstRepValues2B3::ClassInfo = RepRow(
    "TstRepValues2B3", "PRL2", "Повторяющиеся числа не более чем в 2-х тиражах", Make<TstRepValues2B3>);
const TStatClassInfo TstRepCount2B3::ClassInfo =
    RepRow("TstRepCount2B3", "PRB2", "Количество повторов не более чем в 2-х тиражах", Make<TstRepCount2B3>);

// ---- Value methods ---------------------------------------------------------------

void TCustomRepValuesStat::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TCustomValuesStat::SeedValues(lastIdx, stat);
    if (!DrawExists(Draws, lastIdx))
        return;
    uint8_t values[NumbersInDraw];
    for (int i = 0; i < NumbersInDraw; ++i)
        values[i] = Shifted(Draws[lastIdx].Numbers[i], SeedShift());
    MergeEachNumber(stat, values, false);
}

void TCustomRepValuesStat::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat,
                                   TRunState& runState, TLastValueArray& lastValues) {
    TCustomValuesStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    uint8_t values[NumbersInDraw];
    const int count = Repeats(drawIdx, lastIdx, sorted, values);
    MergeEachNumber(stat, std::span<const uint8_t>(values, static_cast<std::size_t>(count)), true);
}

bool TCustomRepValuesStat::Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool,
                                   bool) {
    return HasAnyNumber(selected, comb);
}

// Numbers y of draw i - d shifted by s that draw i has and the newest draw has
// shifted by s: y came s above a number drawn d draws earlier.
int TCustomRepValues2Stat::Repeats(int drawIdx, int lastIdx, bool sorted, uint8_t* values) {
    const int earlierIdx = drawIdx - Distance();
    if (!DrawExists(Draws, earlierIdx))
        return 0;
    const int s = Shift();
    const TNumberSet newest = DrawSet(Draws, lastIdx, s);
    const TNumberSet current = SetOf(CurDraw.Numbers);
    TDrawRecord earlier;
    GetDraw(earlierIdx, sorted, earlier);
    int count = 0;
    for (const uint8_t n : earlier.Numbers) {
        const uint8_t y = Shifted(n, s);
        if (newest.test(y) && current.test(y))
            values[count++] = y;
    }
    return count;
}

int TstRepValues3::Repeats(int drawIdx, int lastIdx, bool, uint8_t* values) {
    return NumbersIn(CurDraw.Numbers, DrawSet(Draws, lastIdx) & RepeatedBefore(Draws, drawIdx, true), values);
}

int TstRepValues2B3::Repeats(int drawIdx, int lastIdx, bool, uint8_t* values) {
    return NumbersIn(CurDraw.Numbers, DrawSet(Draws, lastIdx) & RepeatedBefore(Draws, drawIdx, false),
                     values);
}

// ---- Count methods ---------------------------------------------------------------

void TCustomRepCountStat::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TCustomNumbersStat::SeedValues(lastIdx, stat);
    SeedKeyRange(stat, 1, NumbersInDraw);
}

void TCustomRepCountStat::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat,
                                  TRunState& runState, TLastValueArray& lastValues) {
    TCustomNumbersStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    Entry.Key1 = static_cast<uint16_t>(DrawCount(drawIdx));
    Merge(stat, true);
}

// The archive does not change while an instance lives, so the weights are worked
// out once per window end.
bool TCustomRepCountStat::Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool,
                                  bool) {
    if (lastIdx != WeightsIdx_) {
        Weights_.fill(0);
        CombinationWeights(lastIdx, Weights_);
        WeightsIdx_ = lastIdx;
    }
    unsigned count = 0;
    for (const uint8_t n : comb)
        count += Weights_[n];
    return HasKeyWord(selected, 1, static_cast<uint16_t>(count));
}

// Members of draw i - d shifted by s that draw i has, one per position.
int TCustomRepCount2Stat::DrawCount(int drawIdx) {
    const int earlierIdx = drawIdx - Distance();
    if (!DrawExists(Draws, earlierIdx))
        return 0;
    const TNumberSet current = SetOf(CurDraw.Numbers);
    int count = 0;
    for (const uint8_t n : Draws[earlierIdx].Numbers)
        count += current.test(Shifted(n, Shift()));
    return count;
}

// The combination stands for draw q + 1, so its earlier draw is q + 1 - d.
void TCustomRepCount2Stat::CombinationWeights(int lastIdx, TNumberWeights& weights) {
    const int earlierIdx = lastIdx + 1 - Distance();
    if (!DrawExists(Draws, earlierIdx))
        return;
    for (const uint8_t n : Draws[earlierIdx].Numbers)
        ++weights[Shifted(n, Shift())];
}

// A combination stands for draw q + 1: the two draws before it are q and q - 1.
int TstRepCount3::DrawCount(int drawIdx) {
    return CountIn(CurDraw.Numbers, RepeatedBefore(Draws, drawIdx, true));
}

void TstRepCount3::CombinationWeights(int lastIdx, TNumberWeights& weights) {
    SetWeights(RepeatedBefore(Draws, lastIdx + 1, true), weights);
}

int TstRepCount2B3::DrawCount(int drawIdx) {
    return CountIn(CurDraw.Numbers, RepeatedBefore(Draws, drawIdx, false));
}

void TstRepCount2B3::CombinationWeights(int lastIdx, TNumberWeights& weights) {
    SetWeights(RepeatedBefore(Draws, lastIdx + 1, false), weights);
}

} // namespace kumby
