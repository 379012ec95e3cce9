#pragma once

// Differences family: the gaps between the numbers at adjacent positions of a draw,
// the largest of them, the spread of the draw, and how often one gap repeats.

#include "stats/SingleValueStat.h"

namespace kumby {

// The adjacent differences d1..d11 of 12 numbers in their stored order.
using TDiffs = std::array<uint8_t, NumbersInDraw - 1>;
TDiffs AdjacentDiffs(const uint8_t* numbers);

// Distinct differences in order of first appearance, each with how many of d1..d11
// equal it.
struct TDiffMultiplicities {
    int Size = 0;
    uint8_t Diff[NumbersInDraw - 1] = {};
    uint8_t Count[NumbersInDraw - 1] = {};
};
TDiffMultiplicities DiffMultiplicities(const TDiffs& diffs);

class TstDiffTotal : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    void AddCombination(const TCombination& comb, TStatDrawArray& stat) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;

private:
    void MergeDiffs(const uint8_t* numbers, TStatDrawArray& stat, bool trackFirst);
};

class TstDiffMax : public TSingleValueStat<TstDiffMax, TCustomGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    int32_t ValueOf(const uint8_t* numbers) const;
};

class TstMinMaxDiffs : public TSingleValueStat<TstMinMaxDiffs, TCustomGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    int32_t ValueOf(const uint8_t* numbers) const;
};

// One value per distinct difference: the difference and how many times it occurs.
class TstDiffSame : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    std::string ValueText(const TStatEntry& e) const override;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    void AddCombination(const TCombination& comb, TStatDrawArray& stat) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;

private:
    void MergeMultiplicities(const uint8_t* numbers, TStatDrawArray& stat, bool trackPeriods);
};

class TstDiffSameCnt : public TSingleValueStat<TstDiffSameCnt, TCustomGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    // The largest multiplicity of a difference.
    int32_t ValueOf(const uint8_t* numbers) const;
};

} // namespace kumby
