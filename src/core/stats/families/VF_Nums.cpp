#include "VF_Nums.h"

#include <cstring>

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

void PositionRange(const TStatList&, int32_t& min, int32_t& max) {
    min = 1;
    max = NumbersInDraw;
}

void NoExtraNumbers(const TStatList&, int32_t& min, int32_t& max) {
    min = 1;
    max = 0;
}

constexpr bool IsPrime(uint8_t n) {
    return n == 1 || n == 2 || n == 3 || n == 5 || n == 7 || n == 11 || n == 13 || n == 17 || n == 19 ||
           n == 23;
}

} // namespace

// Class table rows: class, code, caption, help code, group, flags, chart, numeric, param, available, range,
// factory.
const TStatClassInfo TstValues::ClassInfo = {"TstValues", "NUMS",    "Числа тиража", nullptr,
                                             0,           StatFlagN, false,          true,
                                             false,       true,      nullptr,        Make<TstValues>};
const TStatClassInfo TstDigits::ClassInfo = {"TstDigits", "DIGS",    "Цифры тиража", nullptr,
                                             0,           StatFlagN, false,          true,
                                             false,       true,      nullptr,        Make<TstDigits>};
const TStatClassInfo TstEvenCount::ClassInfo = {
    "TstEvenCount", "EVEN",  "Количество четных чисел в тираже (Ч:Н)",
    nullptr,        0,       StatFlagN,
    true,           true,    false,
    true,           nullptr, Make<TstEvenCount>};
const TStatClassInfo TstEvenValues::ClassInfo = {"TstEvenValues",
                                                 "EVNV",
                                                 "Четные и нечетные числа в тираже (Чн..нЧ)",
                                                 nullptr,
                                                 0,
                                                 StatFlagS | StatFlagN,
                                                 false,
                                                 true,
                                                 false,
                                                 true,
                                                 nullptr,
                                                 Make<TstEvenValues>};
const TStatClassInfo TstSmallCount::ClassInfo = {"TstSmallCount",
                                                 "SMAL",
                                                 "Количество чисел из первой половины диапазона (1П:2П)",
                                                 nullptr,
                                                 0,
                                                 StatFlagN,
                                                 true,
                                                 true,
                                                 false,
                                                 true,
                                                 nullptr,
                                                 Make<TstSmallCount>};
const TStatClassInfo TstSmallValues::ClassInfo = {"TstSmallValues",
                                                  "SMLV",
                                                  "Числа из первой половины диапазона (12..12)",
                                                  nullptr,
                                                  0,
                                                  StatFlagS | StatFlagN,
                                                  false,
                                                  true,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstSmallValues>};
const TStatClassInfo TstPrimeCount::ClassInfo = {"TstPrimeCount",
                                                 "PRIM",
                                                 "Количество простых чисел (П:С)",
                                                 nullptr,
                                                 0,
                                                 StatFlagN,
                                                 true,
                                                 true,
                                                 false,
                                                 true,
                                                 nullptr,
                                                 Make<TstPrimeCount>};
const TStatClassInfo TstPrimeValues::ClassInfo = {"TstPrimeValues",
                                                  "PRMV",
                                                  "Простые и составные числа (ПС..СП)",
                                                  nullptr,
                                                  0,
                                                  StatFlagS | StatFlagN,
                                                  false,
                                                  true,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstPrimeValues>};
const TStatClassInfo TstPosVal::ClassInfo = {"TstPosVal",
                                             "POS%d",
                                             "Число в %0:d позиции тиража",
                                             "POSx",
                                             0,
                                             StatFlagS | StatFlagN,
                                             true,
                                             true,
                                             true,
                                             true,
                                             PositionRange,
                                             Make<TstPosVal>};
const TStatClassInfo TstPosExt::ClassInfo = {"TstPosExt",
                                             "POE%d",
                                             "Extra (Bonus, Star...) - число (!без фильтра!)",
                                             "POSx",
                                             0,
                                             0,
                                             true,
                                             true,
                                             true,
                                             true,
                                             NoExtraNumbers,
                                             Make<TstPosExt>};

// ---- NUMS ----------------------------------------------------------------------

void TstValues::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TCustomValuesStat::SeedValues(lastIdx, stat);
    SeedKeyRange(stat, 1, MaxNumber);
}

void TstValues::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                        TLastValueArray& lastValues) {
    TCustomValuesStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    MergeEachNumber(stat, CurDraw.Numbers, true);
}

void TstValues::AddCombination(const TCombination& comb, TStatDrawArray& stat) {
    TCustomValuesStat::AddCombination(comb, stat);
    MergeEachNumber(stat, comb, false);
}

bool TstValues::Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) {
    return HasAnyNumber(selected, comb);
}

// ---- DIGS ----------------------------------------------------------------------

void TstDigits::AddNumbers(const uint8_t* numbers, TStatDrawArray& stat, bool trackPeriods) {
    for (int i = 0; i < NumbersInDraw; ++i) {
        const uint8_t n = numbers[i];
        if (n >= 100) {
            Entry.Key1 = n / 100;
            Merge(stat, trackPeriods);
        }
        if (n >= 10) {
            Entry.Key1 = n / 10 % 10;
            Merge(stat, trackPeriods);
        }
        Entry.Key1 = n % 10;
        Merge(stat, trackPeriods);
    }
}

void TstDigits::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                        TLastValueArray& lastValues) {
    TCustomNumbersStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    AddNumbers(CurDraw.Numbers, stat, true);
}

void TstDigits::AddCombination(const TCombination& comb, TStatDrawArray& stat) {
    TCustomNumbersStat::AddCombination(comb, stat);
    AddNumbers(comb.data(), stat, false);
}

bool TstDigits::Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) {
    for (uint8_t n : comb) {
        if (n >= 100 && HasKeys(selected, n / 100, 0, 0, 0))
            return true;
        if (n >= 10 && HasKeys(selected, n / 10 % 10, 0, 0, 0))
            return true;
        if (HasKeys(selected, n % 10, 0, 0, 0))
            return true;
    }
    return false;
}

// ---- EVEN, SMAL, PRIM ----------------------------------------------------------

int32_t TCustomKindCountStat::ValueOf(const uint8_t* numbers) {
    if (!KindReady_) {
        for (int n = 0; n < 256; ++n)
            Kind_[n] = IsKind(static_cast<uint8_t>(n)) ? 1 : 0;
        KindReady_ = true;
    }
    int32_t count = 0;
    for (int i = 0; i < NumbersInDraw; ++i)
        count += Kind_[numbers[i]];
    return count;
}

void TCustomKindCountStat::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 1, NumbersInDraw);
}

bool TstEvenCount::IsKind(uint8_t n) const {
    return n % 2 == 0;
}
bool TstSmallCount::IsKind(uint8_t n) const {
    return n <= 12;
}
bool TstPrimeCount::IsKind(uint8_t n) const {
    return IsPrime(n);
}

// ---- EVNV, SMLV, PRMV ----------------------------------------------------------

int32_t TCustomKindMaskStat::ValueOf(const uint8_t* numbers) {
    if (!OneReady_) {
        for (int n = 0; n < 256; ++n)
            One_[n] = IsOne(static_cast<uint8_t>(n)) ? 1 : 0;
        OneReady_ = true;
    }
    int32_t mask = 0;
    for (int i = 0; i < NumbersInDraw; ++i)
        mask = mask * 2 + One_[numbers[i]];
    return mask;
}

bool TstEvenValues::IsOne(uint8_t n) const {
    return n % 2 == 1;
}
bool TstSmallValues::IsOne(uint8_t n) const {
    return n > 12;
}
bool TstPrimeValues::IsOne(uint8_t n) const {
    return IsPrime(n);
}

void TstSmallValues::SeedValues(int /*lastIdx*/, TStatDrawArray& /*stat*/) {}

// ---- POS%d ---------------------------------------------------------------------

void TstPosVal::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 1, MaxNumber);
}

// A position outside 1..12 (only a caller bypassing the registry can ask for one)
// holds no number.
int32_t TstPosVal::ValueOf(const uint8_t* numbers) const {
    return Param_ >= 1 && Param_ <= NumbersInDraw ? numbers[Param_ - 1] : 0;
}

// ---- POE%d ---------------------------------------------------------------------

uint8_t TstPosExt::ExtraNumber() const {
    // Games with extra numbers keep them right after the 12 numbers of the record.
    const std::size_t offset = offsetof(TDrawRecord, Numbers) + NumbersInDraw + (Param_ - 1);
    if (Param_ < 1 || offset >= sizeof(TDrawRecord))
        return 0;
    uint8_t bytes[sizeof(TDrawRecord)];
    std::memcpy(bytes, &CurDraw, sizeof bytes);
    return bytes[offset];
}

void TstPosExt::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                        TLastValueArray& lastValues) {
    TCustomGraphStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    Entry.Key1 = ExtraNumber();
    Merge(stat, true);
}

int32_t TstPosExt::ChartValue(const uint8_t*, int drawIdx, int lastIdx, bool sorted) {
    LoadDraws(drawIdx, lastIdx, sorted);
    return ExtraNumber();
}

} // namespace kumby
