#include "VF_Diff.h"

#include "model/GameConstants.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <cstdlib>

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

// Numbers differ, so a difference lies in 1..MaxNumber - 1.
constexpr int32_t MaxDiff = MaxNumber - 1;

// How many combinations of a pass give each multiset of differences (DiffCounts),
// the multisets in first-met order. The full set gives a few hundred of them, so a
// combination costs one probe of a small table instead of a merge per value.
class TDiffCountTally {
public:
    static constexpr int MaxKinds = 512;

    // One more combination with these counts (never 0); true when they are new.
    bool Add(uint64_t counts) {
        std::size_t h = Slot(counts);
        while (Keys_[h] != counts) {
            if (Keys_[h] == 0) {
                Keys_[h] = counts;
                Hits_[h] = 1;
                Used_[Size_++] = static_cast<uint16_t>(h);
                return true;
            }
            h = (h + 1) & (Slots - 1);
        }
        ++Hits_[h];
        return false;
    }
    bool Full() const { return Size_ == MaxKinds; }
    // Calls f(counts, combinations) per multiset in first-met order and starts over.
    template <class F> void Flush(F&& f) {
        for (int t = 0; t < Size_; ++t) {
            const uint16_t h = Used_[static_cast<std::size_t>(t)];
            f(Keys_[h], Hits_[h]);
            Keys_[h] = 0;
        }
        Size_ = 0;
    }

private:
    static constexpr int SlotBits = 10;
    static constexpr std::size_t Slots = std::size_t{1} << SlotBits;
    static std::size_t Slot(uint64_t counts) {
        return static_cast<std::size_t>((counts * 0x9E3779B97F4A7C15) >> (64 - SlotBits));
    }
    std::array<uint64_t, Slots> Keys_{}; // 0 = free
    std::array<uint32_t, Slots> Hits_{};
    std::array<uint16_t, MaxKinds> Used_{};
    int Size_ = 0;
};

// A combination pass by multisets of differences: newKind(numbers, counts) sees the
// combination that brings a multiset first; on a flush, addKind(counts,
// combinations) gets every multiset tallied since the last one and then merge()
// merges what they add up to; alone(combination) takes one that DiffCounts cannot
// code, after a flush.
template <class NewKind, class AddKind, class Merge, class Alone>
void TallyDiffCounts(std::span<const TCombination> combs, NewKind&& newKind, AddKind&& addKind, Merge&& merge,
                     Alone&& alone) {
    TDiffCountTally tally;
    const auto flush = [&] {
        tally.Flush(addKind);
        merge();
    };
    for (const TCombination& c : combs) {
        uint64_t counts = 0;
        if (!DiffCounts(c.data(), counts)) {
            flush();
            alone(c);
            continue;
        }
        if (tally.Add(counts))
            newKind(c.data(), counts);
        if (tally.Full())
            flush();
    }
    flush();
}

// Counts of small values and the order they were first met in, until a flush hands
// them over: the passes merge each value once per flush in that order, leaving the
// list as merging every value one by one would.
template <std::size_t Size> class TFirstMetCounts {
public:
    void Note(unsigned value) {
        if (!Seen_[value]) {
            Seen_[value] = true;
            Order_[Ordered_++] = static_cast<uint16_t>(value);
        }
    }
    void Add(unsigned value, int32_t times) { Times_[value] += times; }
    template <class Take> void Flush(Take&& take) {
        for (std::size_t i = 0; i < Ordered_; ++i)
            take(Order_[i], Times_[Order_[i]]);
        Times_.fill(0);
        Seen_.fill(false);
        Ordered_ = 0;
    }

private:
    std::array<int32_t, Size> Times_{};
    std::array<bool, Size> Seen_{};
    std::array<uint16_t, Size> Order_{};
    std::size_t Ordered_ = 0;
};

// Field d of a DiffCounts code.
inline unsigned CountOf(uint64_t counts, unsigned d) {
    return static_cast<unsigned>(counts >> (4 * d) & 15);
}

// The largest field of a DiffCounts code.
unsigned LargestCount(uint64_t counts) {
    unsigned most = 0;
    for (unsigned d = 0; d < 16; ++d)
        most = std::max(most, CountOf(counts, d));
    return most;
}

} // namespace

TDiffs AdjacentDiffs(const uint8_t* numbers) {
    TDiffs d;
    for (int p = 0; p < NumbersInDraw - 1; ++p)
        d[p] = static_cast<uint8_t>(std::abs(numbers[p + 1] - numbers[p]));
    return d;
}

// Runs once per combination in the full-set passes: differences below 64 (all of
// them for sound numbers) find their slot through a bit set instead of a search.
TDiffMultiplicities DiffMultiplicities(const TDiffs& diffs) {
    TDiffMultiplicities m;
    uint64_t seen = 0;
    uint8_t slot[64]; // read only where seen has the bit
    for (const uint8_t d : diffs) {
        int i = 0;
        if (d < 64) {
            if ((seen >> d & 1) != 0) {
                i = slot[d];
            } else {
                seen |= uint64_t{1} << d;
                i = m.Size++;
                slot[d] = static_cast<uint8_t>(i);
                m.Diff[i] = d;
            }
        } else {
            while (i < m.Size && m.Diff[i] != d)
                ++i;
            if (i == m.Size) {
                m.Diff[i] = d;
                ++m.Size;
            }
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

const TStatClassInfo TstCombDiffSeq2::ClassInfo = {"TstCombDiffSeq2",
                                                   "KDS2",
                                                   "Сочетания из 2 разностей между числами",
                                                   nullptr,
                                                   2,
                                                   StatFlagS,
                                                   false,
                                                   false,
                                                   false,
                                                   true,
                                                   nullptr,
                                                   Make<TstCombDiffSeq2>};
const TStatClassInfo TstCombDiffSeq3::ClassInfo = {"TstCombDiffSeq3",
                                                   "KDS3",
                                                   "Сочетания из 3 разностей между числами",
                                                   nullptr,
                                                   2,
                                                   StatFlagS,
                                                   false,
                                                   false,
                                                   false,
                                                   true,
                                                   nullptr,
                                                   Make<TstCombDiffSeq3>};
const TStatClassInfo TstCombDiffSeq4::ClassInfo = {"TstCombDiffSeq4",
                                                   "KDS4",
                                                   "Сочетания из 4 разностей между числами",
                                                   nullptr,
                                                   2,
                                                   StatFlagS,
                                                   false,
                                                   false,
                                                   false,
                                                   true,
                                                   nullptr,
                                                   Make<TstCombDiffSeq4>};

// ---- DIFA ----------------------------------------------------------------------

void TstDiffTotal::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TCustomNumbersStat::SeedValues(lastIdx, stat);
    SeedKeyRange(stat, 1, MaxDiff);
}

// Only a draw's first difference measures a gap; the others still move the value's
// last draw, so the next draw measures from this one.
void TstDiffTotal::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                           TLastValueArray& lastValues) {
    TCustomNumbersStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    const TDiffs d = AdjacentDiffs(CurDraw.Numbers);
    for (int p = 0; p < NumbersInDraw - 1; ++p) {
        Entry.Key1 = d[p];
        Merge(stat, p == 0);
    }
}

void TstDiffTotal::AddCombination(const TCombination& comb, TStatDrawArray& stat) {
    TCustomNumbersStat::AddCombination(comb, stat);
    const TDiffs d = AdjacentDiffs(comb.data());
    MergeEachNumber(stat, d, false);
}

// Each difference is merged once per flush with how many times it was met, in the
// order first met: the list ends as merging every difference would leave it.
void TstDiffTotal::AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat) {
    TFirstMetCounts<16> diffs;
    TallyDiffCounts(
        combs,
        [&](const uint8_t* numbers, uint64_t) {
            for (const uint8_t d : AdjacentDiffs(numbers))
                diffs.Note(d);
        },
        [&](uint64_t counts, uint32_t combinations) {
            for (unsigned d = 0; d < 16; ++d)
                diffs.Add(d, static_cast<int32_t>(combinations * CountOf(counts, d)));
        },
        [&] {
            Entry = TStatEntry{};
            diffs.Flush([&](unsigned d, int32_t times) {
                Entry.Key1 = static_cast<uint16_t>(d);
                Entry.Count = times;
                Merge(stat, false);
            });
        },
        [&](const TCombination& c) { AddCombination(c, stat); });
}

bool TstDiffTotal::Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) {
    if (Watch_.Changed(selected)) {
        SelectedFields_ = 0;
        for (unsigned d = 0; d < 16; ++d)
            if (HasKeyWord(selected, 1, static_cast<uint16_t>(d)))
                SelectedFields_ |= uint64_t{15} << (4 * d);
    }
    if (uint64_t counts = 0; DiffCounts(comb.data(), counts))
        return (counts & SelectedFields_) != 0;
    for (int p = 0; p < NumbersInDraw - 1; ++p) {
        const int a = comb[p];
        const int b = comb[p + 1];
        if (HasKeyWord(selected, 1, static_cast<uint16_t>(a > b ? a - b : b - a)))
            return true;
    }
    return false;
}

std::size_t TstDiffTotal::KeepMatching(std::span<const TCombination> in, TCombination* out,
                                       const TStatDrawArray& selected, int lastIdx, bool sorted,
                                       bool exclude) {
    return KeepMatchingStatic(*this, in, out, selected, lastIdx, sorted, exclude);
}

// ---- DIFM ----------------------------------------------------------------------

void TstDiffMax::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 1, MaxDiff);
}

int32_t TstDiffMax::ValueOf(const uint8_t* numbers) const {
    uint8_t largest = 0;
    for (const uint8_t x : AdjacentDiffs(numbers))
        largest = std::max(largest, x);
    return largest;
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

// A (difference, times) value per field in use; the fields follow the differences'
// first appearance, so the values are merged in that order.
void TstDiffSame::AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat) {
    TFirstMetCounts<256> pairs; // difference * 16 + times
    TallyDiffCounts(
        combs,
        [&](const uint8_t* numbers, uint64_t) {
            const TDiffMultiplicities m = DiffMultiplicities(AdjacentDiffs(numbers));
            for (int i = 0; i < m.Size; ++i)
                pairs.Note(m.Diff[i] * 16u + m.Count[i]);
        },
        [&](uint64_t counts, uint32_t combinations) {
            for (unsigned d = 0; d < 16; ++d)
                if (const unsigned k = CountOf(counts, d); k != 0)
                    pairs.Add(d * 16 + k, static_cast<int32_t>(combinations));
        },
        [&] {
            Entry = TStatEntry{};
            pairs.Flush([&](unsigned pair, int32_t times) {
                Entry.Key1 = static_cast<uint16_t>(pair / 16);
                Entry.Key2 = static_cast<uint16_t>(pair % 16);
                Entry.Count = times;
                Merge(stat, false);
            });
        },
        [&](const TCombination& c) { AddCombination(c, stat); });
}

bool TstDiffSame::AnySelected(uint64_t counts, const TStatDrawArray& selected) const {
    for (unsigned d = 0; d < 16; ++d)
        if (const unsigned k = CountOf(counts, d);
            k != 0 && HasKeys(selected, static_cast<uint16_t>(d), static_cast<uint16_t>(k), 0, 0))
            return true;
    return false;
}

bool TstDiffSame::Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) {
    if (uint64_t counts = 0; DiffCounts(comb.data(), counts))
        return Answers_.Answer(selected, counts, [&] { return AnySelected(counts, selected); });
    const TDiffMultiplicities m = DiffMultiplicities(AdjacentDiffs(comb.data()));
    for (int i = 0; i < m.Size; ++i)
        if (HasKeys(selected, m.Diff[i], m.Count[i], 0, 0))
            return true;
    return false;
}

std::size_t TstDiffSame::KeepMatching(std::span<const TCombination> in, TCombination* out,
                                      const TStatDrawArray& selected, int lastIdx, bool sorted,
                                      bool exclude) {
    return KeepMatchingStatic(*this, in, out, selected, lastIdx, sorted, exclude);
}

// ---- DIFK ----------------------------------------------------------------------

void TstDiffSameCnt::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 1, NumbersInDraw - 1);
}

namespace {

// Bytewise maximum of two words whose bytes are all below 128.
inline uint64_t ByteMax(uint64_t x, uint64_t y) {
    constexpr uint64_t High = 0x8080808080808080;
    const uint64_t notLess = ((x | High) - y) & High; // per byte: x >= y
    const uint64_t mask = (notLess >> 7) * 0xFF;
    return (x & mask) | (y & ~mask);
}

} // namespace

// One value per multiset of differences, so the multisets are tallied and each value
// merged once per flush, in the order first met.
void TstDiffSameCnt::AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat) {
    TFirstMetCounts<16> largest;
    TallyDiffCounts(
        combs, [&](const uint8_t*, uint64_t counts) { largest.Note(LargestCount(counts)); },
        [&](uint64_t counts, uint32_t combinations) {
            largest.Add(LargestCount(counts), static_cast<int32_t>(combinations));
        },
        [&] {
            Entry = TStatEntry{};
            largest.Flush([&](unsigned most, int32_t times) {
                SetValue(static_cast<int32_t>(most));
                Entry.Count = times;
                Merge(stat, false);
            });
        },
        [&](const TCombination& c) { AddCombination(c, stat); });
}

bool TstDiffSameCnt::Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) {
    if (uint64_t counts = 0; DiffCounts(comb.data(), counts))
        return Answers_.Answer(selected, counts, [&] {
            return IsSelected(static_cast<int32_t>(LargestCount(counts)), selected);
        });
    return IsSelected(ValueOf(comb.data()), selected);
}

// Draws in any order come here: differences below 16 (all of them for 12 numbers
// of 1..24 in ascending order, whose eleven differences add up to at most 23) are
// counted in the 4-bit fields of one register, at most 11 in each, without a branch
// or a memory round trip, and the largest field is found bytewise.
int32_t TstDiffSameCnt::ValueOf(const uint8_t* numbers) const {
    uint64_t counts = 0;
    unsigned wide = 0;
    for (int p = 0; p < NumbersInDraw - 1; ++p) {
        const int a = numbers[p];
        const int b = numbers[p + 1];
        const auto x = static_cast<unsigned>(a > b ? a - b : b - a);
        wide |= x;
        counts += uint64_t{1} << (4 * (x & 15));
    }
    if (wide < 16) {
        constexpr uint64_t Nibbles = 0x0F0F0F0F0F0F0F0F;
        uint64_t m = ByteMax(counts & Nibbles, counts >> 4 & Nibbles);
        m = ByteMax(m, m >> 32);
        m = ByteMax(m, m >> 16);
        m = ByteMax(m, m >> 8);
        return static_cast<int32_t>(m & 0xFF);
    }
    const TDiffs d = AdjacentDiffs(numbers);
    std::array<uint8_t, 256> times{};
    int most = 0;
    for (const uint8_t x : d)
        most = std::max(most, static_cast<int>(++times[x]));
    return most;
}

} // namespace kumby
