#include "VF_Sums.h"

#include "model/GameConstants.h"
#include "model/VexoUtils.h"

#include <cstdlib>
#include <iterator>

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

struct TSumBand {
    int Low;
    int High;
    int CaptionArgs[3];
};

constexpr TSumBand SumBands[] = {
    {124, 176, {1, 1, 3}},
    {129, 171, {2, 1, 2}},
    {134, 166, {3, 2, 3}},
};
constexpr int SumBandCount = static_cast<int>(std::size(SumBands));

// A band number outside the table (only a caller bypassing the registry can ask for
// one) holds no sum.
constexpr TSumBand NoBand = {1, 0, {0, 0, 0}};

const TSumBand& BandOf(int32_t param) {
    return param >= 1 && param <= SumBandCount ? SumBands[param - 1] : NoBand;
}

void BandRange(const TStatList&, int32_t& min, int32_t& max) {
    min = 1;
    max = SumBandCount;
}

std::string BandCaption(int32_t param) {
    const TSumBand& band = BandOf(param);
    if (&band == &NoBand)
        return Format("Сумма тиража: диапазон %d", param);
    return Format("Сумма тиража: диапазон %d (%d/%d)", band.CaptionArgs[0], band.CaptionArgs[1],
                  band.CaptionArgs[2]);
}

constexpr bool IsPrime(uint8_t n) {
    return n == 1 || n == 2 || n == 3 || n == 5 || n == 7 || n == 11 || n == 13 || n == 17 || n == 19 ||
           n == 23;
}

inline int32_t DrawSum(const uint8_t* numbers) {
    int32_t sum = 0;
    for (int i = 0; i < NumbersInDraw; ++i)
        sum += numbers[i];
    return sum;
}

inline int32_t Sign(int32_t v) {
    return (v > 0) - (v < 0);
}

} // namespace

int32_t LowHalf(const TStatEntry& e) {
    return static_cast<int32_t>(static_cast<uint32_t>(e.Key1) | static_cast<uint32_t>(e.Key2) << 16);
}

int32_t HighHalf(const TStatEntry& e) {
    return static_cast<int32_t>(static_cast<uint32_t>(e.Key3) | static_cast<uint32_t>(e.Key4) << 16);
}

void SetLowHalf(TStatEntry& e, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    e.Key1 = static_cast<uint16_t>(v);
    e.Key2 = static_cast<uint16_t>(v >> 16);
}

void SetHighHalf(TStatEntry& e, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    e.Key3 = static_cast<uint16_t>(v);
    e.Key4 = static_cast<uint16_t>(v >> 16);
}

uint16_t SumTripleCount(const uint8_t* numbers) {
    // Twelve distinct numbers below 64, as every combination and every sound draw has:
    // a pair a < b summing to t is an a below t/2 with t - a present.
    uint64_t present = 0;
    bool plain = true;
    for (int i = 0; i < NumbersInDraw; ++i) {
        const uint8_t n = numbers[i];
        if (n == 0 || n >= 64 || (present >> n & 1) != 0) {
            plain = false;
            break;
        }
        present |= uint64_t{1} << n;
    }
    unsigned count = 0;
    if (plain) {
        for (int i = 0; i < NumbersInDraw; ++i) {
            const unsigned t = numbers[i];
            for (int j = 0; j < NumbersInDraw; ++j) {
                const unsigned a = numbers[j];
                if (2 * a < t)
                    count += static_cast<unsigned>(present >> (t - a) & 1);
            }
        }
        return static_cast<uint16_t>(count);
    }
    // Anything else position by position, as the value is defined.
    for (int i = 0; i < NumbersInDraw; ++i)
        for (int j = 0; j < NumbersInDraw; ++j)
            for (int k = j + 1; k < NumbersInDraw; ++k)
                if (j != i && k != i && numbers[j] + numbers[k] == numbers[i])
                    ++count;
    return static_cast<uint16_t>(count);
}

// Class table rows: class, code, caption, help code, group, flags, chart, numeric, param, available, range,
// factory, caption function.
const TStatClassInfo TstSumValues::ClassInfo = {"TstSumValues", "SUMS",  "Сумма тиража: все значения",
                                                nullptr,        1,       StatFlagN,
                                                true,           true,    false,
                                                true,           nullptr, Make<TstSumValues>};
const TStatClassInfo TstSumRanges::ClassInfo = {
    "TstSumRanges", "SUM%d",   "Сумма тиража: диапазон %d (%d/%d)",
    "SUMx",         1,         StatFlagN,
    true,           false,     true,
    true,           BandRange, Make<TstSumRanges>,
    BandCaption};
const TStatClassInfo TstSumChange::ClassInfo = {"TstSumChange", "SUMC",  "Сумма тиража: изменения (точно)",
                                                nullptr,        1,       StatFlagD,
                                                true,           false,   false,
                                                true,           nullptr, Make<TstSumChange>};
const TStatClassInfo TstSumChangeSome::ClassInfo = {"TstSumChangeSome",
                                                    "SUMV",
                                                    "Сумма тиража: изменения (диапазон)",
                                                    nullptr,
                                                    1,
                                                    StatFlagD,
                                                    false,
                                                    false,
                                                    false,
                                                    true,
                                                    nullptr,
                                                    Make<TstSumChangeSome>};
const TStatClassInfo TstSumTrend::ClassInfo = {"TstSumTrend", "SUMT",  "Сумма тиража: направление изменения",
                                               nullptr,       1,       StatFlagD,
                                               true,          false,   false,
                                               true,          nullptr, Make<TstSumTrend>};
const TStatClassInfo TstSumEvenValues::ClassInfo = {"TstSumEvenValues",
                                                    "SUME",
                                                    "Сумма тиража: только четные",
                                                    nullptr,
                                                    1,
                                                    StatFlagN,
                                                    true,
                                                    true,
                                                    false,
                                                    true,
                                                    nullptr,
                                                    Make<TstSumEvenValues>};
const TStatClassInfo TstSumPrimeValues::ClassInfo = {"TstSumPrimeValues",
                                                     "SUMP",
                                                     "Сумма тиража: только простые",
                                                     nullptr,
                                                     1,
                                                     StatFlagN,
                                                     true,
                                                     true,
                                                     false,
                                                     true,
                                                     nullptr,
                                                     Make<TstSumPrimeValues>};
const TStatClassInfo TstSum2To3::ClassInfo = {
    "TstSum2To3", "S2T3",  "Сумма двух чисел тиража равна третьему числу",
    nullptr,      1,       StatFlagN,
    true,         true,    false,
    true,         nullptr, Make<TstSum2To3>};

// ---- SUMS ----------------------------------------------------------------------

void TstSumValues::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, MinSum, MaxSum);
}

int32_t TstSumValues::ValueOf(const uint8_t* numbers) const {
    return DrawSum(numbers);
}

// ---- SUM%d ---------------------------------------------------------------------

int32_t TstSumRanges::ValueOf(const uint8_t* numbers) const {
    const TSumBand& band = BandOf(Param_);
    const int32_t sum = DrawSum(numbers);
    return sum >= band.Low && sum <= band.High ? 1 : 0;
}

std::string TstSumRanges::ValueText(const TStatEntry& e) const {
    if (e.Key1 != 1)
        return "Остальные";
    const TSumBand& band = BandOf(Param_);
    return Format("%d-%d", band.Low, band.High);
}

void TstSumRanges::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 0, 1);
}

// The band row wins: with both rows selected only the sums inside the band match.
// A selection with neither row matches nothing.
bool TstSumRanges::Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) {
    if (HasKeyWord(selected, 1, 1))
        return ValueOf(comb.data()) == 1;
    if (HasKeyWord(selected, 1, 0))
        return ValueOf(comb.data()) == 0;
    return false;
}

// ---- SUMC ----------------------------------------------------------------------

std::string TstSumChange::ValueText(const TStatEntry& e) const {
    const int32_t previous = LowHalf(e);
    const int32_t sum = HighHalf(e);
    if (sum >= previous)
        return Format("+%.2d : %d + %d = %d", sum - previous, previous, sum - previous, sum);
    return Format("- %.2d : %d - %d = %d", previous - sum, previous, previous - sum, sum);
}

// Only draws whose previous draw had the reference sum count. The oldest draw has
// no previous draw and never counts.
void TstSumChange::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                           TLastValueArray& lastValues) {
    TCustomGraphStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    if (drawIdx < 1)
        return;
    TDrawRecord previous;
    GetDraw(drawIdx - 1, false, previous);
    const int32_t p = DrawSum(previous.Numbers);
    if (p != DrawSum(RefDraw.Numbers))
        return;
    SetLowHalf(Entry, p);
    SetHighHalf(Entry, DrawSum(CurDraw.Numbers));
    Merge(stat, true);
}

bool TstSumChange::Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) {
    return HasKeyHalf(selected, 2, static_cast<uint32_t>(DrawSum(comb.data())));
}

int32_t TstSumChange::ChartValue(const uint8_t* numbers, int drawIdx, int, bool) {
    TDrawRecord previous;
    GetDraw(drawIdx - 1, false, previous);
    return DrawSum(numbers) - DrawSum(previous.Numbers);
}

// ---- SUMV ----------------------------------------------------------------------

std::string TstSumChangeSome::ValueText(const TStatEntry& e) const {
    const int32_t change = LowHalf(e);
    if (change >= 0)
        return Format("+%.2d", change);
    return Format("- %.2lld", -static_cast<long long>(change));
}

void TstSumChangeSome::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat,
                               TRunState& runState, TLastValueArray& lastValues) {
    TCustomStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    if (drawIdx < 1)
        return;
    TDrawRecord previous;
    GetDraw(drawIdx - 1, false, previous);
    const int32_t p = DrawSum(previous.Numbers);
    if (std::abs(p - DrawSum(RefDraw.Numbers)) > SumTolerance)
        return;
    SetLowHalf(Entry, DrawSum(CurDraw.Numbers) - p);
    Merge(stat, true);
}

// The newest draw of the window is the reference, whatever the caller loaded. The
// archive does not change while an instance lives, so it is read once per window end.
int32_t TstSumChangeSome::ReferenceSum(int lastIdx, bool sorted) {
    if (lastIdx != RefIdx_) {
        LoadDraws(lastIdx, lastIdx, sorted);
        RefSum_ = DrawSum(RefDraw.Numbers);
        RefIdx_ = lastIdx;
    }
    return RefSum_;
}

bool TstSumChangeSome::Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx,
                               bool sorted, bool) {
    const int32_t change = DrawSum(comb.data()) - ReferenceSum(lastIdx, sorted);
    return HasKeyHalf(selected, 1, static_cast<uint32_t>(change));
}

// ---- SUMT ----------------------------------------------------------------------

std::string TstSumTrend::ValueText(const TStatEntry& e) const {
    const int32_t direction = LowHalf(e);
    return direction == 0 ? "=" : direction > 0 ? "+" : "-";
}

void TstSumTrend::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TCustomGraphStat::SeedValues(lastIdx, stat);
    for (int32_t v : {0, 1, -1}) {
        SetLowHalf(Entry, v);
        Merge(stat, false);
    }
}

void TstSumTrend::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                          TLastValueArray& lastValues) {
    TCustomGraphStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    if (drawIdx < 1)
        return;
    TDrawRecord previous;
    GetDraw(drawIdx - 1, false, previous);
    const int32_t p = DrawSum(previous.Numbers);
    if (p != DrawSum(RefDraw.Numbers))
        return;
    SetLowHalf(Entry, Sign(DrawSum(CurDraw.Numbers) - p));
    Merge(stat, true);
}

int32_t TstSumTrend::ReferenceSum(int lastIdx, bool sorted) {
    if (lastIdx != RefIdx_) {
        LoadDraws(lastIdx, lastIdx, sorted);
        RefSum_ = DrawSum(RefDraw.Numbers);
        RefIdx_ = lastIdx;
    }
    return RefSum_;
}

bool TstSumTrend::Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                          bool) {
    const int32_t direction = Sign(DrawSum(comb.data()) - ReferenceSum(lastIdx, sorted));
    return HasKeyHalf(selected, 1, static_cast<uint32_t>(direction));
}

int32_t TstSumTrend::ChartValue(const uint8_t* numbers, int drawIdx, int, bool) {
    TDrawRecord previous;
    GetDraw(drawIdx - 1, false, previous);
    return Sign(DrawSum(numbers) - DrawSum(previous.Numbers));
}

// ---- SUME, SUMP ----------------------------------------------------------------

int32_t TCustomKindSumStat::ValueOf(const uint8_t* numbers) {
    if (!KindReady_) {
        for (int n = 0; n < 256; ++n)
            Kind_[n] = IsKind(static_cast<uint8_t>(n)) ? static_cast<uint8_t>(n) : 0;
        KindReady_ = true;
    }
    int32_t sum = 0;
    for (int i = 0; i < NumbersInDraw; ++i)
        sum += Kind_[numbers[i]];
    return sum;
}

bool TstSumEvenValues::IsKind(uint8_t n) const {
    return n % 2 == 0;
}

bool TstSumPrimeValues::IsKind(uint8_t n) const {
    return IsPrime(n);
}

} // namespace kumby
