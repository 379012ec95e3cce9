#include "VF_Diff.h"

#include "model/GameConstants.h"
#include "model/VexoUtils.h"

#include <algorithm>

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

// Numbers differ, so a difference lies in 1..MaxNumber - 1.
constexpr int32_t MaxDiff = MaxNumber - 1;

} // namespace

TDiffs AdjacentDiffs(const uint8_t* numbers) {
    TDiffs d;
    for (int p = 0; p < NumbersInDraw - 1; ++p) {
        const int a = numbers[p];
        const int b = numbers[p + 1];
        d[p] = static_cast<uint8_t>(a > b ? a - b : b - a);
    }
    return d;
}

TDiffMultiplicities DiffMultiplicities(const TDiffs& diffs) {
    TDiffMultiplicities m;
    for (const uint8_t d : diffs) {
        int i = 0;
        while (i < m.Size && m.Diff[i] != d)
            ++i;
        if (i == m.Size) {
            m.Diff[i] = d;
            ++m.Size;
        }
        ++m.Count[i];
    }
    return m;
}

// Class table rows: class, code, caption, help code, group, flags, chart, numeric, param, available, range,
// factory.
const TStatClassInfo TstDiffTotal::ClassInfo = {
    "TstDiffTotal", "DIFA",  "Все разности между соседними позициями",
    nullptr,        2,       StatFlagS | StatFlagN,
    false,          true,    false,
    true,           nullptr, Make<TstDiffTotal>};
const TStatClassInfo TstDiffMax::ClassInfo = {
    "TstDiffMax", "DIFM",  "Максимальная разность между соседними позициями",
    nullptr,      2,       StatFlagS | StatFlagN,
    true,         true,    false,
    true,         nullptr, Make<TstDiffMax>};
const TStatClassInfo TstMinMaxDiffs::ClassInfo = {"TstMinMaxDiffs",
                                                  "DIFD",
                                                  "Разность между минимальным и максимальным числом",
                                                  nullptr,
                                                  2,
                                                  StatFlagN,
                                                  true,
                                                  true,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstMinMaxDiffs>};
const TStatClassInfo TstDiffSame::ClassInfo = {
    "TstDiffSame", "DIFO",  "Одинаковые разности между соседними позициями",
    nullptr,       2,       StatFlagS | StatFlagN,
    false,         false,   false,
    true,          nullptr, Make<TstDiffSame>};
const TStatClassInfo TstDiffSameCnt::ClassInfo = {"TstDiffSameCnt",
                                                  "DIFK",
                                                  "Количество одинаковых разностей между соседними позициями",
                                                  nullptr,
                                                  2,
                                                  StatFlagS | StatFlagN,
                                                  true,
                                                  true,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstDiffSameCnt>};

// ---- DIFA ----------------------------------------------------------------------

void TstDiffTotal::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TCustomNumbersStat::SeedValues(lastIdx, stat);
    for (int32_t d = 1; d <= MaxDiff; ++d) {
        Entry.Key1 = static_cast<uint16_t>(d);
        Merge(stat, false);
    }
}

// Only the draw's first difference measures a gap: the others of the same draw
// would measure from wherever the value was last met inside the draw.
void TstDiffTotal::MergeDiffs(const uint8_t* numbers, TStatDrawArray& stat, bool trackFirst) {
    const TDiffs d = AdjacentDiffs(numbers);
    for (int p = 0; p < NumbersInDraw - 1; ++p) {
        Entry.Key1 = d[p];
        Merge(stat, trackFirst && p == 0);
    }
}

void TstDiffTotal::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                           TLastValueArray& lastValues) {
    TCustomNumbersStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    MergeDiffs(CurDraw.Numbers, stat, true);
}

void TstDiffTotal::AddCombination(const TCombination& comb, TStatDrawArray& stat) {
    TCustomNumbersStat::AddCombination(comb, stat);
    MergeDiffs(comb.data(), stat, false);
}

bool TstDiffTotal::Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) {
    for (int p = 0; p < NumbersInDraw - 1; ++p) {
        const int a = comb[p];
        const int b = comb[p + 1];
        if (HasKeyWord(selected, 1, static_cast<uint16_t>(a > b ? a - b : b - a)))
            return true;
    }
    return false;
}

// ---- DIFM ----------------------------------------------------------------------

void TstDiffMax::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 1, MaxDiff);
}

int32_t TstDiffMax::ValueOf(const uint8_t* numbers) const {
    const TDiffs d = AdjacentDiffs(numbers);
    return *std::max_element(d.begin(), d.end());
}

// ---- DIFD ----------------------------------------------------------------------

void TstMinMaxDiffs::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 1, MaxDiff);
}

int32_t TstMinMaxDiffs::ValueOf(const uint8_t* numbers) const {
    const auto [low, high] = std::minmax_element(numbers, numbers + NumbersInDraw);
    return *high - *low;
}

// ---- DIFO ----------------------------------------------------------------------

std::string TstDiffSame::ValueText(const TStatEntry& e) const {
    return Format("%d x %d", e.Key1, e.Key2);
}

// The differences are distinct, so every merge of a draw may measure its gap.
void TstDiffSame::MergeMultiplicities(const uint8_t* numbers, TStatDrawArray& stat, bool trackPeriods) {
    const TDiffMultiplicities m = DiffMultiplicities(AdjacentDiffs(numbers));
    for (int i = 0; i < m.Size; ++i) {
        Entry.Key1 = m.Diff[i];
        Entry.Key2 = m.Count[i];
        Merge(stat, trackPeriods);
    }
}

void TstDiffSame::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                          TLastValueArray& lastValues) {
    TCustomStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    MergeMultiplicities(CurDraw.Numbers, stat, true);
}

void TstDiffSame::AddCombination(const TCombination& comb, TStatDrawArray& stat) {
    TCustomStat::AddCombination(comb, stat);
    MergeMultiplicities(comb.data(), stat, false);
}

bool TstDiffSame::Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) {
    const TDiffMultiplicities m = DiffMultiplicities(AdjacentDiffs(comb.data()));
    for (int i = 0; i < m.Size; ++i)
        if (HasKeys(selected, m.Diff[i], m.Count[i], 0, 0))
            return true;
    return false;
}

// ---- DIFK ----------------------------------------------------------------------

void TstDiffSameCnt::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 1, NumbersInDraw - 1);
}

int32_t TstDiffSameCnt::ValueOf(const uint8_t* numbers) const {
    const TDiffMultiplicities m = DiffMultiplicities(AdjacentDiffs(numbers));
    return *std::max_element(m.Count, m.Count + m.Size);
}

} // namespace kumby
