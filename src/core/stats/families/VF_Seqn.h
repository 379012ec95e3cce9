#pragma once

// Sequences family: runs of consecutive numbers inside one draw, read position by
// position: the length of every run, how many runs of two or more there are, and
// the longest run.

#include "stats/SingleValueStat.h"
#include "stats/TupleStat.h"

namespace kumby {

// Lengths of the runs of 12 numbers in their order, a run going on while the next
// number is one more than this one (or, with eitherWay, one more or one less). The
// lengths add up to 12; returns how many runs there are.
int SequenceLengths(const uint8_t* numbers, uint8_t* lengths, bool eitherWay = false);

// Bit i - 1 set when numbers[i] is numbers[i - 1] + 1 (i = 1..11): the steps, which
// give every run.
unsigned StepMask(const uint8_t* numbers);

// Every run adds its length, runs of one number as well.
class TstSequenceLen : public TTupleStat<TstSequenceLen, TCustomNumbersStat, 1, TTupleForm::Runs> {
public:
    using TTupleStat::TTupleStat;
    static const TStatClassInfo ClassInfo;
    static constexpr bool FromCombination = true;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    int ItemsOf(const uint8_t* numbers, uint8_t* items) const { return SequenceLengths(numbers, items); }
    void AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;

private:
    TSelectionWatch Watch_;
    uint32_t SelectedLengths_ = 0; // bit per selected length
};

// Runs of two or more numbers. The chart takes steps either way.
class TstSequenceCnt : public TSingleValueStat<TstSequenceCnt, TCustomGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    int32_t ChartValue(const uint8_t* numbers, int drawIdx, int lastIdx, bool sorted) override;
    int32_t ValueOf(const uint8_t* numbers) const;
};

// The longest run. The chart takes steps either way and shows 0 when there is no
// step at all.
class TstSequenceLenMax : public TSingleValueStat<TstSequenceLenMax, TCustomGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    int32_t ChartValue(const uint8_t* numbers, int drawIdx, int lastIdx, bool sorted) override;
    int32_t ValueOf(const uint8_t* numbers) const;
};

} // namespace kumby
