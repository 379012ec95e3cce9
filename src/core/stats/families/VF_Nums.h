#pragma once

// Numbers family: the drawn numbers, their digits, even/small/prime counts and
// patterns, and the number at a position.

#include "stats/SingleValueStat.h"

namespace kumby {

class TstValues : public TCustomValuesStat {
public:
    using TCustomValuesStat::TCustomValuesStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    void AddCombination(const TCombination& comb, TStatDrawArray& stat) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;
};

class TstDigits : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    void AddCombination(const TCombination& comb, TStatDrawArray& stat) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;

private:
    void AddNumbers(const uint8_t* numbers, TStatDrawArray& stat, bool trackPeriods);
};

// Counts of numbers of one kind among the 12, shown as kind:other.
class TCustomKindCountStat : public TSingleValueStat<TCustomKindCountStat, TCustomRatioStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    int32_t ValueOf(const uint8_t* numbers);

protected:
    virtual bool IsKind(uint8_t n) const = 0;

private:
    // IsKind of every byte, filled on first use: the passes over the full set ask per number.
    std::array<uint8_t, 256> Kind_{};
    bool KindReady_ = false;
};

// 12-bit pattern by position, position 1 the highest bit.
class TCustomKindMaskStat : public TSingleValueStat<TCustomKindMaskStat, TCustomMaskStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static constexpr TValueMatch MatchBy = TValueMatch::KeyHalf;
    int32_t ValueOf(const uint8_t* numbers);

protected:
    virtual bool IsOne(uint8_t n) const = 0;

private:
    // IsOne of every byte, filled on first use.
    std::array<uint8_t, 256> One_{};
    bool OneReady_ = false;
};

class TstEvenCount : public TCustomKindCountStat {
public:
    using TCustomKindCountStat::TCustomKindCountStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }

protected:
    bool IsKind(uint8_t n) const override;
};

class TstEvenValues : public TCustomKindMaskStat {
public:
    using TCustomKindMaskStat::TCustomKindMaskStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    const char* ZeroSymbol() const override { return "Ч"; }
    const char* OneSymbol() const override { return "н"; }

protected:
    bool IsOne(uint8_t n) const override;
};

class TstSmallCount : public TCustomKindCountStat {
public:
    using TCustomKindCountStat::TCustomKindCountStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }

protected:
    bool IsKind(uint8_t n) const override;
};

class TstSmallValues : public TCustomKindMaskStat {
public:
    using TCustomKindMaskStat::TCustomKindMaskStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    const char* ZeroSymbol() const override { return "1"; }
    const char* OneSymbol() const override { return "2"; }
    // Only the patterns that occurred are listed.
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;

protected:
    bool IsOne(uint8_t n) const override;
};

class TstPrimeCount : public TCustomKindCountStat {
public:
    using TCustomKindCountStat::TCustomKindCountStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }

protected:
    bool IsKind(uint8_t n) const override;
};

class TstPrimeValues : public TCustomKindMaskStat {
public:
    using TCustomKindMaskStat::TCustomKindMaskStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    const char* ZeroSymbol() const override { return "С"; }
    const char* OneSymbol() const override { return "П"; }

protected:
    bool IsOne(uint8_t n) const override;
};

class TstPosVal : public TSingleValueStat<TstPosVal, TCustomGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    // The number at position Param.
    int32_t ValueOf(const uint8_t* numbers) const;
};

// The extra numbers of games that have them; this game has none, so its range is empty.
class TstPosExt : public TCustomGraphStat {
public:
    using TCustomGraphStat::TCustomGraphStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    bool Matches(const TCombination&, const TStatDrawArray&, int, bool, bool) override { return false; }
    int32_t ChartValue(const uint8_t* numbers, int drawIdx, int lastIdx, bool sorted) override;

private:
    uint8_t ExtraNumber() const;
};

} // namespace kumby
