#pragma once

// Sums family: the sum of a draw's 12 numbers, its band, the sums of the even and
// of the prime numbers, how the sum moved after draws resembling the newest one,
// and how many numbers are the sum of two others.

#include "stats/SingleValueStat.h"

namespace kumby {

// Keys hold signed 32-bit halves: the low half in Key1/Key2, the high one in Key3/Key4.
int32_t LowHalf(const TStatEntry& e);
int32_t HighHalf(const TStatEntry& e);
void SetLowHalf(TStatEntry& e, int32_t value);
void SetHighHalf(TStatEntry& e, int32_t value);

// Count of S2T3 for any 12 bytes, also repeated or out-of-range ones.
uint16_t SumTripleCount(const uint8_t* numbers);

class TstSumValues : public TSingleValueStat<TstSumValues, TCustomGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    static constexpr TValueMatch MatchBy = TValueMatch::Halves;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    int32_t ValueOf(const uint8_t* numbers) const;
};

// Whether the sum lies in one of three central bands: 1 inside, 0 outside.
class TstSumRanges : public TSingleValueStat<TstSumRanges, TCustomGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    std::string ValueText(const TStatEntry& e) const override;
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;
    // 1 inside the band, 0 outside.
    int32_t ValueOf(const uint8_t* numbers) const;
};

// Draws that followed a draw with the newest draw's sum, by the sum they reached.
class TstSumChange : public TCustomGraphStat {
public:
    using TCustomGraphStat::TCustomGraphStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    std::string ValueText(const TStatEntry& e) const override;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;
    int32_t ChartValue(const uint8_t* numbers, int drawIdx, int lastIdx, bool sorted) override;
};

// Changes of the sum after draws whose sum was near the newest draw's.
class TstSumChangeSome : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    std::string ValueText(const TStatEntry& e) const override;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;

private:
    int32_t ReferenceSum(int lastIdx, bool sorted);
    int RefIdx_ = -2; // window end whose sum RefSum_ holds; -2: none yet
    int32_t RefSum_ = 0;
};

// Direction of the sum after draws with the newest draw's sum: -1, 0 or +1.
class TstSumTrend : public TCustomGraphStat {
public:
    using TCustomGraphStat::TCustomGraphStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    std::string ValueText(const TStatEntry& e) const override;
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;
    int32_t ChartValue(const uint8_t* numbers, int drawIdx, int lastIdx, bool sorted) override;

private:
    int32_t ReferenceSum(int lastIdx, bool sorted);
    int RefIdx_ = -2;
    int32_t RefSum_ = 0;
};

// Sum of the numbers of one kind only.
class TCustomKindSumStat : public TSingleValueStat<TCustomKindSumStat, TCustomGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static constexpr TValueMatch MatchBy = TValueMatch::Halves;
    int32_t ValueOf(const uint8_t* numbers);

protected:
    virtual bool IsKind(uint8_t n) const = 0;

private:
    // Each byte, or 0 when it is not of the kind; filled on first use.
    std::array<uint8_t, 256> Kind_{};
    bool KindReady_ = false;
};

class TstSumEvenValues : public TCustomKindSumStat {
public:
    using TCustomKindSumStat::TCustomKindSumStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }

protected:
    bool IsKind(uint8_t n) const override;
};

class TstSumPrimeValues : public TCustomKindSumStat {
public:
    using TCustomKindSumStat::TCustomKindSumStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }

protected:
    bool IsKind(uint8_t n) const override;
};

// Number of (number, pair of other numbers) with the pair summing to the number.
class TstSum2To3 : public TSingleValueStat<TstSum2To3, TCustomGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    int32_t ValueOf(const uint8_t* numbers) const { return SumTripleCount(numbers); }
};

} // namespace kumby
