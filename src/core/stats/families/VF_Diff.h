#pragma once

// Differences family: the gaps between the numbers at adjacent positions of a draw,
// the largest of them, the spread of the draw, how often one gap repeats, and runs
// of two, three or four consecutive differences.

#include "stats/SingleValueStat.h"
#include "stats/TupleStat.h"

#include <algorithm>

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

// Runs of N consecutive adjacent differences. A draw can give one run several
// times, so only its first run measures a gap.
template <int N>
class TCustomDiffRunStat : public TTupleStat<TCustomDiffRunStat<N>, TCustomStat, N, TTupleForm::Runs> {
public:
    using TTupleStat<TCustomDiffRunStat<N>, TCustomStat, N, TTupleForm::Runs>::TTupleStat;
    static constexpr bool TrackFirstRunOnly = true;
    int ItemsOf(const uint8_t* numbers, uint8_t* items) const {
        const TDiffs d = AdjacentDiffs(numbers);
        std::copy(d.begin(), d.end(), items);
        return static_cast<int>(d.size());
    }
};

class TstCombDiffSeq2 : public TCustomDiffRunStat<2> {
public:
    using TCustomDiffRunStat::TCustomDiffRunStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombDiffSeq3 : public TCustomDiffRunStat<3> {
public:
    using TCustomDiffRunStat::TCustomDiffRunStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombDiffSeq4 : public TCustomDiffRunStat<4> {
public:
    using TCustomDiffRunStat::TCustomDiffRunStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

} // namespace kumby
