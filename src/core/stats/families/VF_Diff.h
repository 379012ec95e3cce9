#pragma once

// Differences family: the gaps between the numbers at adjacent positions of a draw,
// the largest of them, the spread of the draw, how often one gap repeats, and runs
// of two, three or four consecutive differences.

#include "stats/SingleValueStat.h"
#include "stats/TupleStat.h"

#include <algorithm>
#include <cstring>

namespace kumby {

// The adjacent differences d1..d11 of 12 numbers in their stored order.
using TDiffs = std::array<uint8_t, NumbersInDraw - 1>;
TDiffs AdjacentDiffs(const uint8_t* numbers);

// numbers[p + 1] - numbers[p] modulo 256 in byte p of Low (p = 0..7) and byte p - 8
// of High (p = 8..10; its other bytes are 0): eleven subtractions in three.
struct TDiffLanes {
    uint64_t Low = 0;
    uint64_t High = 0;
};

inline uint64_t ByteSub(uint64_t x, uint64_t y) {
    constexpr uint64_t High = 0x8080808080808080;
    return ((x | High) - (y & ~High)) ^ ((x ^ ~y) & High);
}

inline TDiffLanes DiffLanes(const uint8_t* numbers) {
    uint64_t first = 0;
    uint64_t next = 0;
    uint32_t last = 0;
    std::memcpy(&first, numbers, sizeof first);
    std::memcpy(&next, numbers + 1, sizeof next);
    std::memcpy(&last, numbers + 8, sizeof last);
    return {ByteSub(next, first), ByteSub(last >> 8, last) & 0xFFFFFF};
}

// Whether the lanes are the differences themselves: no number above 127 (which
// could wrap a fall into a small rise) and no fall (a lane of 128 or more).
inline bool RisingLanes(const uint8_t* numbers, const TDiffLanes& d) {
    uint64_t first = 0;
    uint32_t last = 0;
    std::memcpy(&first, numbers, sizeof first);
    std::memcpy(&last, numbers + 8, sizeof last);
    constexpr uint64_t Tops = 0x8080808080808080;
    return ((first | last | d.Low | d.High) & Tops) == 0;
}

// How many of d1..d11 equal each d below 16, in the 4-bit field d of `counts` (at
// most 11 in one). False, `counts` then meaningless, when the numbers do not
// ascend by less than 16 at every step: then the differences need the long way.
// The fields code the multiset of differences, so they also name it.
inline bool DiffCounts(const uint8_t* numbers, uint64_t& counts) {
    const TDiffLanes d = DiffLanes(numbers);
    constexpr uint64_t HighNibbles = 0xF0F0F0F0F0F0F0F0;
    const bool usable = RisingLanes(numbers, d) && ((d.Low | d.High) & HighNibbles) == 0;
    // Four times a difference below 16 stays inside its byte and is a field's shift.
    const uint64_t low = d.Low << 2;
    const uint64_t high = d.High << 2;
    uint64_t c = 0;
    for (int p = 0; p < 8; ++p)
        c += uint64_t{1} << (low >> (8 * p) & 63);
    for (int p = 0; p < 3; ++p)
        c += uint64_t{1} << (high >> (8 * p) & 63);
    counts = c;
    return usable;
}

// Distinct differences in order of first appearance, each with how many of d1..d11
// equal it.
struct TDiffMultiplicities {
    int Size = 0;
    uint8_t Diff[NumbersInDraw - 1] = {};
    uint8_t Count[NumbersInDraw - 1] = {};
};
TDiffMultiplicities DiffMultiplicities(const TDiffs& diffs);

// A filter's answer per multiset of differences (a DiffCounts code): the answer of
// such a method depends on nothing else, and the combinations have a few hundred
// multisets, so each is worked out once per selection.
class TDiffAnswers {
public:
    template <class F> bool Answer(const TStatDrawArray& selected, uint64_t counts, F&& workOut) {
        if (Watch_.Changed(selected))
            Clear();
        auto h = static_cast<std::size_t>((counts * 0x9E3779B97F4A7C15) >> (64 - SlotBits));
        while (Keys_[h] != counts) {
            if (Keys_[h] == 0) {
                if (Size_ == Slots / 2) { // never for sound combinations
                    Clear();
                    return workOut();
                }
                ++Size_;
                Keys_[h] = counts;
                Answers_[h] = workOut();
                break;
            }
            h = (h + 1) & (Slots - 1);
        }
        return Answers_[h];
    }

private:
    static constexpr int SlotBits = 10;
    static constexpr std::size_t Slots = std::size_t{1} << SlotBits;
    void Clear() {
        Keys_.fill(0);
        Size_ = 0;
    }
    TSelectionWatch Watch_;
    std::size_t Size_ = 0;
    std::array<uint64_t, Slots> Keys_{}; // 0 = free (a code is never 0)
    std::array<bool, Slots> Answers_{};
};

class TstDiffTotal : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    void AddCombination(const TCombination& comb, TStatDrawArray& stat) override;
    void AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;
    std::size_t KeepMatching(std::span<const TCombination> in, TCombination* out,
                             const TStatDrawArray& selected, int lastIdx, bool sorted, bool exclude) override;

private:
    TSelectionWatch Watch_;
    uint64_t SelectedFields_ = 0; // the 4-bit fields of the selected differences below 16
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
    void AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;
    std::size_t KeepMatching(std::span<const TCombination> in, TCombination* out,
                             const TStatDrawArray& selected, int lastIdx, bool sorted, bool exclude) override;

private:
    void MergeMultiplicities(const uint8_t* numbers, TStatDrawArray& stat, bool trackPeriods);
    bool AnySelected(uint64_t counts, const TStatDrawArray& selected) const;

    TDiffAnswers Answers_;
};

class TstDiffSameCnt : public TSingleValueStat<TstDiffSameCnt, TCustomGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    void AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;
    // The largest multiplicity of a difference.
    int32_t ValueOf(const uint8_t* numbers) const;

private:
    TDiffAnswers Answers_;
};

// Runs of N consecutive adjacent differences. A draw can give one run several
// times, so only its first run measures a gap.
template <int N>
class TCustomDiffRunStat : public TTupleStat<TCustomDiffRunStat<N>, TCustomStat, N, TTupleForm::Runs> {
    using Base = TTupleStat<TCustomDiffRunStat<N>, TCustomStat, N, TTupleForm::Runs>;

public:
    using Base::Base;
    static constexpr bool TrackFirstRunOnly = true;

    // Differences of rising numbers below 16 (every combination's) make runs of 4-bit
    // items, whose table of selected runs stays in the first-level cache even for 4.
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override {
        const TDiffLanes lanes = DiffLanes(comb.data());
        if (!RisingLanes(comb.data(), lanes) || ((lanes.Low | lanes.High) & 0xF0F0F0F0F0F0F0F0) != 0)
            return Base::Matches(comb, selected, lastIdx, sorted, exclude);
        if (Watch_.Changed(selected))
            TableSelection(selected);
        constexpr uint32_t Mask = (uint32_t{1} << (4 * N)) - 1;
        uint32_t code = 0;
        uint64_t any = 0; // no early exit: where a hit falls is random
        for (int p = 0; p < NumbersInDraw - 1; ++p) {
            const uint64_t lane = p < 8 ? lanes.Low >> (8 * p) : lanes.High >> (8 * (p - 8));
            code = (code << 4 | static_cast<uint32_t>(lane & 15)) & Mask;
            if (p + 1 >= N)
                any |= Selected_[code >> 6] >> (code & 63);
        }
        return (any & 1) != 0;
    }

    // Rising numbers (every combination) have their differences stored lane by lane.
    int ItemsOf(const uint8_t* numbers, uint8_t* items) const {
        if (const TDiffLanes lanes = DiffLanes(numbers); RisingLanes(numbers, lanes)) {
            const auto high = static_cast<uint32_t>(lanes.High);
            std::memcpy(items, &lanes.Low, sizeof lanes.Low);
            std::memcpy(items + 8, &high, sizeof high);
            return NumbersInDraw - 1;
        }
        const TDiffs d = AdjacentDiffs(numbers);
        std::copy(d.begin(), d.end(), items);
        return static_cast<int>(d.size());
    }

private:
    // A selected run with an item of 16 or more, or a word set beyond its N items,
    // is no run of such differences.
    void TableSelection(const TStatDrawArray& selected) {
        Selected_.fill(0);
        for (const TStatEntry& e : selected) {
            const uint16_t keys[4] = {e.Key1, e.Key2, e.Key3, e.Key4};
            uint32_t code = 0;
            bool fits = true;
            for (int i = 0; i < 4; ++i) {
                if (i < N)
                    code = code << 4 | (keys[i] & 15u);
                fits = fits && (i < N ? keys[i] < 16 : keys[i] == 0);
            }
            if (fits)
                Selected_[code >> 6] |= uint64_t{1} << (code & 63);
        }
    }

    TSelectionWatch Watch_;
    std::array<uint64_t, ((std::size_t{1} << (4 * N)) + 63) / 64> Selected_{}; // bit per selected run
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
