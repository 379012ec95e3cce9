#include "VF_HCV.h"

#include "model/GameConstants.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

constexpr uint16_t PairMarker = 2;

// The last two values u, v of the triangle: ten rounds of absolute differences of
// neighbours take 12 values down to 2.
void FoldToTwo(const uint8_t* numbers, int& u, int& v) {
#if defined(__SSE2__)
    // All sixteen byte lanes at once; lane i of a round reads lanes i and i + 1, so
    // the four lanes beyond the numbers never reach lanes 0 and 1.
    // Loaded as 8 and 4 bytes straight from the numbers: a copy into a buffer would
    // make the vector load wait for the two stores.
    uint64_t low8 = 0;
    uint32_t high4 = 0;
    std::memcpy(&low8, numbers, sizeof low8);
    std::memcpy(&high4, numbers + sizeof low8, sizeof high4);
    __m128i a = _mm_unpacklo_epi64(_mm_cvtsi64_si128(static_cast<long long>(low8)),
                                   _mm_cvtsi32_si128(static_cast<int>(high4)));
    for (int round = 0; round < NumbersInDraw - 2; ++round) {
        const __m128i b = _mm_srli_si128(a, 1);
        a = _mm_or_si128(_mm_subs_epu8(a, b), _mm_subs_epu8(b, a));
    }
    const int low = _mm_cvtsi128_si32(a);
    u = low & 0xFF;
    v = low >> 8 & 0xFF;
#else
    uint8_t row[NumbersInDraw];
    std::memcpy(row, numbers, NumbersInDraw);
    for (int size = NumbersInDraw; size > 2; --size)
        for (int i = 0; i + 1 < size; ++i)
            row[i] = static_cast<uint8_t>(row[i] > row[i + 1] ? row[i] - row[i + 1] : row[i + 1] - row[i]);
    u = row[0];
    v = row[1];
#endif
}

} // namespace

TVarnekNumber VarnekNumber(const uint8_t* numbers, int mode) {
    int u = 0, v = 0;
    FoldToTwo(numbers, u, v);
    const int d = u > v ? u - v : v - u;
    TVarnekNumber r;
    r.Value = d;
    if ((mode == 1 && d <= 1) || (mode == 2 && d == 0)) {
        r.Value = u + v;
    } else if (mode == 2 && d == 1) {
        r.Value = u + v;
        r.Pair = true;
    }
    return r;
}

// Class table rows: class, code, caption, help code, group, flags, chart, numeric, param, available, range,
// factory.
const TStatClassInfo TstVarnek1::ClassInfo = {"TstVarnek1", "HCV1",  "Число Варнека 1 (только разность)",
                                              nullptr,      11,      StatFlagS | StatFlagN,
                                              true,         true,    false,
                                              true,         nullptr, Make<TstVarnek1>};
const TStatClassInfo TstVarnek2::ClassInfo = {
    "TstVarnek2", "HCV2",  "Число Варнека 2 (разность + сложение, если {0,1})",
    nullptr,      11,      StatFlagS | StatFlagN,
    true,         true,    false,
    true,         nullptr, Make<TstVarnek2>};
const TStatClassInfo TstVarnek3::ClassInfo = {
    "TstVarnek3", "HCV3",  "Числа Варнека 3 (динамический, только фильтр)",
    nullptr,      11,      StatFlagS | StatFlagD,
    false,        false,   false,
    true,         nullptr, Make<TstVarnek3>};

// ---- HCV3 ----------------------------------------------------------------------

std::string TstVarnek3::ValueText(const TStatEntry& e) const {
    std::string text = std::to_string(e.Key1);
    if (e.Key4 == PairMarker)
        text += " (" + std::to_string(e.Key2) + ")";
    return text;
}

void TstVarnek3::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                         TLastValueArray& lastValues) {
    TCustomStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    if (CurDraw.Number != RefDraw.Number)
        return;
    const TVarnekNumber f = VarnekNumber(RefDraw.Numbers, 2);

    // The draw after the window, when the archive has one, tells which proposals came.
    bool next[256] = {};
    const int nextIdx = lastIdx + 1;
    if (nextIdx >= 0 && static_cast<std::size_t>(nextIdx) < Draws.size())
        for (const uint8_t n : Draws[nextIdx].Numbers)
            next[n] = true;
    const TStatEntry occurred = Entry;
    // A proposal that did not come is listed without a draw, as a value that never occurred.
    auto mergeValue = [&](int32_t value, uint16_t key2, uint16_t key4) {
        const bool came = value >= 0 && value < 256 && next[value];
        Entry = occurred;
        if (!came) {
            Entry.Count = 0;
            Entry.Draw = Entry.PrevDraw = Entry.Depth = 0;
        }
        Entry.Key1 = static_cast<uint16_t>(value);
        Entry.Key2 = key2;
        Entry.Key4 = key4;
        Merge(stat, false);
    };
    if (f.Pair)
        mergeValue(f.Value, 1, PairMarker);
    else
        mergeValue(f.Value, 0, 0);

    // Multiples of f from the larger of f*f and f*f*f that stays at or above 24, down
    // to 2f; only those within 1..24 are proposed.
    const int64_t step = f.Value;
    const int64_t square = step * step;
    for (int64_t g = square >= MaxNumber ? square : square * step; g > step; g -= step)
        if (g >= 1 && g <= MaxNumber)
            mergeValue(static_cast<int32_t>(g), 0, 0);
}

bool TstVarnek3::Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) {
    for (const uint8_t n : comb)
        if (HasKeyWord(selected, 1, n))
            return true;
    return false;
}

} // namespace kumby
