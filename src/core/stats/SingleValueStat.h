#pragma once

// Shapes that many families share, stated once: a method with one value per draw or
// combination, and a method with one value per element of a grouping (number,
// channel, column, row, segment). A class derives from the shape over its base
// kind and states only its value function.

#include "stats/VexoFilters.h"

#include <algorithm>
#include <array>
#include <bit>
#include <functional>
#include <span>
#include <type_traits>
#include <vector>

namespace kumby {

// How Matches finds a combination's value among the selected ones.
enum class TValueMatch : uint8_t {
    KeyWord, // Key1 equals the value, other words as they are (HasKeyWord, word 1)
    KeyHalf, // the low 32-bit half equals the value (HasKeyHalf, half 1)
    Halves,  // the low half equals the value and the high half is 0 (HasHalves)
};

// The bits set in v. std::popcount is a library call on the baseline x86-64
// target; this stays inline, for the few bits of a number set.
constexpr int BitCount(uint32_t v) {
    v = v - (v >> 1 & 0x55555555u);
    v = (v & 0x33333333u) + (v >> 2 & 0x33333333u);
    return static_cast<int>(((v + (v >> 4)) & 0x0F0F0F0Fu) * 0x01010101u >> 24);
}

namespace detail {
// Per number byte its bit in a number set; bit 31 for a byte outside 1..24.
inline constexpr std::array<uint32_t, 256> NumberBit = [] {
    std::array<uint32_t, 256> bits{};
    for (int n = 0; n < 256; ++n)
        bits[static_cast<std::size_t>(n)] =
            n >= 1 && n <= MaxNumber ? uint32_t{1} << (n - 1) : uint32_t{1} << 31;
    return bits;
}();
} // namespace detail

// The numbers as a set, number n at bit n - 1, when they are 12 distinct numbers of
// 1..24 as every combination is; false for a record that is not. Bits from a table
// and no shifts by a variable: the sum of the bits equals their union only when no
// two are the same, and bit 31 marks a number out of range (the sum cannot wrap
// without it).
inline bool DistinctNumberSet(const uint8_t* numbers, uint32_t& set) {
    uint32_t bits = 0;
    uint32_t sum = 0;
    for (int i = 0; i < NumbersInDraw; ++i) {
        const uint32_t bit = detail::NumberBit[numbers[i]];
        bits |= bit;
        sum += bit;
    }
    set = bits;
    return bits >> MaxNumber == 0 && sum == bits;
}

// Per byte of a number set (see DistinctNumberSet), what the numbers of that byte
// give together: a set's value is its three bytes' values put together the same
// way, three loads in place of a look-up per number.
template <class T> using TByteTable = std::array<std::array<T, 256>, 3>;

// Fills the table with join(of(number), ...) over the numbers of every byte, from
// `none` for a byte without numbers.
template <class T, class Of, class Join>
void FillByteTable(TByteTable<T>& table, T none, Of&& of, Join&& join) {
    for (int b = 0; b < 3; ++b) {
        table[b][0] = none;
        for (unsigned v = 1; v < 256; ++v)
            table[b][v] =
                join(table[b][v & (v - 1)], of(static_cast<uint8_t>(8 * b + std::countr_zero(v) + 1)));
    }
}

// The value of a set from a table filled as above.
template <class T, class Join> T ByteTableValue(const TByteTable<T>& table, uint32_t set, Join&& join) {
    return join(join(table[0][set & 255], table[1][set >> 8 & 255]), table[2][set >> 16 & 255]);
}

// How often a combination pass meets each of up to Slots values, a value being
// named by its slot: the slots are kept in first-met order, so that each value is
// merged once with its count and the list ends as merging it each time would
// leave it.
template <std::size_t Slots> class TValueTally {
public:
    void Add(uint16_t slot) {
        if (Hits_[slot]++ == 0)
            Order_[Size_++] = slot;
    }
    // Meets the value `times` times over (times above 0).
    void Add(uint16_t slot, uint32_t times) {
        if (Hits_[slot] == 0)
            Order_[Size_++] = slot;
        Hits_[slot] += times;
    }
    // Calls merge(slot, count) per slot met, in first-met order, and starts over.
    template <class F> void Flush(F&& merge) {
        for (std::size_t t = 0; t < Size_; ++t) {
            merge(Order_[t], static_cast<int32_t>(Hits_[Order_[t]]));
            Hits_[Order_[t]] = 0;
        }
        Size_ = 0;
    }

private:
    std::array<uint32_t, Slots> Hits_{};
    std::array<uint16_t, Slots> Order_{};
    std::size_t Size_ = 0;
};

// The values of a pass that gives every place of a list (at most 16) a count below
// 16, met as patterns: a pattern is the counts of all places, four bits to a place.
// One table probe per combination stands in for a count per place. Patterns pass
// on to the values in first-met order, and a pattern met first brings in the
// values met first, so the values keep the order of meeting them one by one: slot
// place * 16 + count, as Flush hands them on.
class TPatternTally {
public:
    explicit TPatternTally(std::size_t places) : Places_(places) {}

    void Add(uint64_t pattern) {
        const uint64_t key = pattern + 1; // 0 marks a free entry
        std::size_t at = static_cast<std::size_t>(key * 0x9E3779B97F4A7C15u >> (64 - TableBits));
        while (Keys_[at] != key && Keys_[at] != 0)
            at = (at + 1) & (TableSize - 1);
        if (Keys_[at] == 0) {
            Keys_[at] = key;
            Met_[Used_++] = static_cast<uint16_t>(at);
        }
        ++Hits_[at];
        if (Used_ == TableSize / 2) // many patterns: the values take them early
            Spill();
    }
    template <class F> void Flush(F&& merge) {
        Spill();
        Values_.Flush(merge);
    }

private:
    static constexpr int TableBits = 12;
    static constexpr std::size_t TableSize = std::size_t{1} << TableBits;

    void Spill() {
        for (std::size_t t = 0; t < Used_; ++t) {
            const uint16_t at = Met_[t];
            const uint64_t pattern = Keys_[at] - 1;
            for (std::size_t i = 0; i < Places_; ++i)
                Values_.Add(static_cast<uint16_t>(i * 16 + (pattern >> (4 * i) & 15)), Hits_[at]);
            Keys_[at] = 0;
            Hits_[at] = 0;
        }
        Used_ = 0;
    }

    std::size_t Places_;
    std::array<uint64_t, TableSize> Keys_{};
    std::array<uint32_t, TableSize> Hits_{};
    std::array<uint16_t, TableSize / 2> Met_{};
    std::size_t Used_ = 0;
    TValueTally<16 * 16> Values_;
};

// A combination pass whose values only add up: `take(c, tally)` counts the values
// of a combination in the tally, or answers false and counts nothing for one the
// tally cannot take (numbers or values out of its range, repeated numbers).
// The tally merges each value once with its count through `merge(slot, count)`, in
// first-met order, so the list ends as merging per combination would leave it; a
// refused combination goes the full way through `method`'s AddCombination, after
// what was counted before it. Base's AddCombination gives Entry the fresh state of
// a combination.
template <class Base, class Tally, class Take, class MergeSlot>
void TallyCombinations(Base& method, std::span<const TCombination> combs, TStatDrawArray& stat, Tally& tally,
                       Take&& take, MergeSlot&& merge) {
    bool entrySet = false;
    for (const TCombination& c : combs) {
        if (!take(c, tally)) {
            tally.Flush(merge);
            method.AddCombination(c, stat);
            entrySet = false;
            continue;
        }
        if (!entrySet) {
            method.Base::AddCombination(c, stat);
            entrySet = true;
        }
    }
    tally.Flush(merge);
}

// How many combinations hold each number below 64, and the elements of the numbers
// in first-met order: a value per number held, without a store per element. Flush
// calls merge(element, count) per element met, its count summed over its numbers.
class TElementTally {
public:
    // The element of every number below 64.
    explicit TElementTally(const std::array<uint16_t, 64>& elementOf) : ElementOf_(elementOf) {}

    // False, counting nothing, for a combination with a number of 64 or more.
    bool Add(const TCombination& c) {
        uint64_t set = 0;
        unsigned high = 0;
        for (const uint8_t n : c) {
            high |= n >> 6;
            set |= uint64_t{1} << (n & 63);
        }
        if (high != 0)
            return false;
        for (const uint8_t n : c)
            ++PerNumber_[n];
        if ((set & ~Seen_) == 0)
            return true;
        for (const uint8_t n : c) {
            if ((Seen_ >> n & 1) != 0)
                continue;
            Seen_ |= uint64_t{1} << n;
            const uint16_t e = ElementOf_[n];
            if (std::find(Order_.begin(), Order_.begin() + Ordered_, e) == Order_.begin() + Ordered_)
                Order_[static_cast<std::size_t>(Ordered_++)] = e;
        }
        return true;
    }
    template <class F> void Flush(F&& merge) {
        for (int t = 0; t < Ordered_; ++t) {
            int32_t count = 0;
            for (int n = 0; n < 64; ++n)
                count += ElementOf_[n] == Order_[t] ? static_cast<int32_t>(PerNumber_[n]) : 0;
            merge(Order_[t], count);
        }
        PerNumber_.fill(0);
        Seen_ = 0;
        Ordered_ = 0;
    }

private:
    const std::array<uint16_t, 64>& ElementOf_;
    std::array<uint32_t, 64> PerNumber_{};
    uint64_t Seen_ = 0; // numbers
    std::array<uint16_t, 64> Order_{};
    int Ordered_ = 0;
};

// One value of 12 numbers, kept in the low 32-bit half of the key (Key1 and Key2),
// merged once per draw or combination, found by Matches and plotted by ChartValue.
//
// Self supplies `int32_t ValueOf(const uint8_t* numbers)` and may set
// `static constexpr TValueMatch MatchBy`. A method conditioned on a reference draw
// also hides `DrawValue` (false: the draw adds nothing) and `CombinationValue`,
// which see the draw context. Self is called statically, so the passes over the
// full set pay for no second virtual call per combination.
template <class Self, class Kind> class TSingleValueStat : public Kind {
public:
    using Kind::Kind;
    static constexpr TValueMatch MatchBy = TValueMatch::KeyWord;

    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override {
        Kind::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
        int32_t value = 0;
        if (!self().DrawValue(drawIdx, lastIdx, sorted, value))
            return;
        SetValue(value);
        this->Merge(stat, true);
    }

    void AddCombination(const TCombination& comb, TStatDrawArray& stat) override {
        Kind::AddCombination(comb, stat);
        SetValue(self().ValueOf(comb.data()));
        this->Merge(stat, false);
    }

    // Values from 0 below TalliedValues are counted and each merged once (see
    // TValueTally); another value goes alone, after what is counted. A Self with an
    // AddCombination of its own is left to it.
    void AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat) override {
        if constexpr (!std::is_same_v<decltype(&Self::AddCombination),
                                      void (TSingleValueStat::*)(const TCombination&, TStatDrawArray&)>) {
            Kind::AddCombinations(combs, stat);
        } else {
            TValueTally<TalliedValues> tally;
            TallyCombinations<Kind>(
                *this, combs, stat, tally,
                [&](const TCombination& c, auto& t) {
                    const int32_t value = self().ValueOf(c.data());
                    if (value < 0 || value >= TalliedValues)
                        return false;
                    t.Add(static_cast<uint16_t>(value));
                    return true;
                },
                [&](uint16_t value, int32_t count) {
                    SetValue(value);
                    this->Entry.Count = count;
                    this->Merge(stat, false);
                });
        }
    }

    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool) override {
        return IsSelected(self().CombinationValue(comb, lastIdx, sorted), selected);
    }

    // Self's Matches, its own or this one, inlined into the filter's loop (Self is the
    // most derived class).
    std::size_t KeepMatching(std::span<const TCombination> in, TCombination* out,
                             const TStatDrawArray& selected, int lastIdx, bool sorted,
                             bool exclude) override {
        return KeepMatchingStatic(self(), in, out, selected, lastIdx, sorted, exclude);
    }

    int32_t ChartValue(const uint8_t* numbers, int drawIdx, int lastIdx, bool sorted) override {
        if constexpr (std::is_base_of_v<TCustomGraphStat, Kind>)
            return self().ValueOf(numbers);
        else
            return Kind::ChartValue(numbers, drawIdx, lastIdx, sorted);
    }

    // The value of the loaded draw; a conditioned method answers false for a draw
    // that does not count.
    bool DrawValue(int /*drawIdx*/, int /*lastIdx*/, bool /*sorted*/, int32_t& value) {
        value = self().ValueOf(this->CurDraw.Numbers);
        return true;
    }
    // The value a combination would have after the window's newest draw.
    int32_t CombinationValue(const TCombination& comb, int /*lastIdx*/, bool /*sorted*/) {
        return self().ValueOf(comb.data());
    }

protected:
    static bool IsSelected(int32_t value, const TStatDrawArray& selected) {
        switch (Self::MatchBy) {
        case TValueMatch::KeyWord:
            return TCustomStat::HasKeyWord(selected, 1, static_cast<uint16_t>(value));
        case TValueMatch::KeyHalf:
            return TCustomStat::HasKeyHalf(selected, 1, static_cast<uint32_t>(value));
        case TValueMatch::Halves:
            return TCustomStat::HasHalves(selected, static_cast<uint16_t>(value), 0);
        }
        return false;
    }
    void SetValue(int32_t value) {
        const auto v = static_cast<uint32_t>(value);
        this->Entry.Key1 = static_cast<uint16_t>(v);
        this->Entry.Key2 = static_cast<uint16_t>(v >> 16);
    }
    // Lists the values first..last beforehand, with Count 0.
    void SeedRange(int lastIdx, TStatDrawArray& stat, int32_t first, int32_t last) {
        Kind::SeedValues(lastIdx, stat);
        for (int32_t v = first; v <= last; ++v) {
            SetValue(v);
            this->Merge(stat, false);
        }
    }

private:
    static constexpr int32_t TalliedValues = 4096;
    Self& self() { return static_cast<Self&>(*this); }
};

// One key per element of a grouping (a number, channel, column, row, segment):
// Self supplies `uint16_t ElementOf(uint8_t number)`, the element below 256 that
// a number belongs to. By default every number adds its element to Key1, in
// position order, so an element that holds three of the numbers counts three
// times. With `static constexpr bool CountInKey2` every element that holds any of
// the numbers adds one value instead, Key2 = how many it holds, in ascending
// element order; with `ListEveryElement` as well, Self supplies
// `std::span<const uint8_t> ListedElements()` and exactly those elements give a
// value, in that order, an empty one with Key2 = 0. Matches finds any such value
// among the selected ones.
template <class Self, class Kind> class TPerElementStat : public Kind {
public:
    using Kind::Kind;
    static constexpr bool CountInKey2 = false;
    static constexpr bool ListEveryElement = false;

    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override {
        Kind::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
        MergeElements(this->CurDraw.Numbers, stat, true);
    }

    void AddCombination(const TCombination& comb, TStatDrawArray& stat) override {
        Kind::AddCombination(comb, stat);
        MergeElements(comb.data(), stat, false);
    }

    // The values of a combination pass only add up, so they are counted here and
    // each merged once, in the order they are first met: the list ends exactly as
    // merging per combination would leave it.
    void AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat) override {
        if constexpr (!std::is_same_v<decltype(&Self::AddCombination),
                                      void (TPerElementStat::*)(const TCombination&, TStatDrawArray&)>)
            Kind::AddCombinations(combs, stat); // Self adds a combination its own way
        else if constexpr (Self::CountInKey2 && Self::ListEveryElement)
            CountListedValues(combs, stat);
        else if constexpr (!Self::CountInKey2)
            CountElements(combs, stat);
        else
            Kind::AddCombinations(combs, stat);
    }

    // The selection is tabled once per pass: which numbers have a selected element,
    // and which counts of each element are selected.
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) override {
        if (Watch_.Changed(selected))
            TableSelection(selected);
        if constexpr (Self::CountInKey2 && Self::ListEveryElement) {
            uint32_t set = 0;
            if (const TByteTable<uint64_t>* table = ListedCountTable();
                table != nullptr && DistinctNumberSet(comb.data(), set)) {
                const std::span<const uint8_t> listed = self().ListedElements();
                const uint64_t packed = ByteTableValue(*table, set, std::plus<>{});
                unsigned any = 0; // no early exit: see HasAnyNumber
                for (std::size_t i = 0; i < listed.size(); ++i)
                    any |= CountHits_[listed[i]] >> (packed >> (4 * i) & 15);
                return (any & 1) != 0;
            }
            if (TPacked packed = 0; PackedCount(comb.data(), packed)) {
                for (const uint8_t e : self().ListedElements()) {
                    const unsigned k = e < 32 ? static_cast<unsigned>(packed >> (4 * e) & 15) : 0;
                    if ((CountHits_[e] >> k & 1) != 0)
                        return true;
                }
                return false;
            }
            TElementCounts counts;
            Count(comb.data(), counts);
            for (const uint8_t e : self().ListedElements())
                if ((CountHits_[e] >> counts[e] & 1) != 0)
                    return true;
        } else if constexpr (Self::CountInKey2) {
            TElementCounts counts;
            const int highest = Count(comb.data(), counts);
            for (int e = 0; e <= highest; ++e)
                if (counts[e] != 0 && (CountHits_[e] >> counts[e] & 1) != 0)
                    return true;
        } else {
            unsigned any = 0; // no early exit: see HasAnyNumber
            for (const uint8_t n : comb)
                any |= NumberHits_[n];
            return any != 0;
        }
        return false;
    }
    std::size_t KeepMatching(std::span<const TCombination> in, TCombination* out,
                             const TStatDrawArray& selected, int lastIdx, bool sorted,
                             bool exclude) override {
        return KeepMatchingStatic(self(), in, out, selected, lastIdx, sorted, exclude);
    }

private:
    using TElementCounts = std::array<uint8_t, 256>;

    void TableSelection(const TStatDrawArray& selected) {
        if constexpr (Self::CountInKey2) {
            // A count is at most 12; other counts and set high words never match.
            CountHits_.fill(0);
            for (const TStatEntry& e : selected)
                if (e.Key1 < 256 && e.Key2 < 16 && e.Key3 == 0 && e.Key4 == 0)
                    CountHits_[e.Key1] = static_cast<uint16_t>(CountHits_[e.Key1] | 1u << e.Key2);
        } else {
            for (int n = 0; n < 256; ++n)
                NumberHits_[n] =
                    TCustomStat::HasKeys(selected, self().ElementOf(static_cast<uint8_t>(n)), 0, 0, 0) ? 1
                                                                                                       : 0;
        }
    }

    __extension__ typedef unsigned __int128 TPacked;

    // Per byte of a number set, how many of its numbers every listed element holds,
    // four bits to a place in the list (a count is at most 12); made on first use,
    // the elements being fixed. Null for more than 16 listed elements.
    const TByteTable<uint64_t>* ListedCountTable() {
        const std::span<const uint8_t> listed = self().ListedElements();
        if (listed.size() > 16)
            return nullptr;
        if (ListedCounts_.empty()) {
            ListedCounts_.resize(1);
            FillByteTable(
                ListedCounts_[0], uint64_t{0},
                [&](uint8_t number) {
                    uint64_t places = 0;
                    for (std::size_t i = 0; i < listed.size(); ++i)
                        places += listed[i] == self().ElementOf(number) ? uint64_t{1} << (4 * i) : 0;
                    return places;
                },
                std::plus<>{});
        }
        return &ListedCounts_[0];
    }

    // Numbers per element in registers, four bits to an element (a count is at most
    // 12): per-byte counters in memory would chain every increment through a store.
    // False when an element is 32 or more; then Count does it.
    bool PackedCount(const uint8_t* numbers, TPacked& packed) {
        unsigned wide = 0;
        for (int i = 0; i < NumbersInDraw; ++i) {
            const unsigned e = self().ElementOf(numbers[i]);
            wide |= e >> 5;
            packed += TPacked{1} << (4 * (e & 31));
        }
        return wide == 0;
    }

    // Counted per number; a combination with a number of 64 or more goes alone,
    // after what is counted.
    void CountElements(std::span<const TCombination> combs, TStatDrawArray& stat) {
        std::array<uint16_t, 64> elementOf{};
        for (int n = 0; n < 64; ++n)
            elementOf[static_cast<std::size_t>(n)] = self().ElementOf(static_cast<uint8_t>(n));
        TElementTally tally(elementOf);
        TallyCombinations<Kind>(
            *this, combs, stat, tally, [](const TCombination& c, TElementTally& t) { return t.Add(c); },
            [&](uint16_t element, int32_t count) {
                this->Entry.Key1 = element;
                this->Entry.Count = count;
                this->Merge(stat, false);
            });
    }

    // Per listed element (at most 32 of them) and count below 16, how many
    // combinations give it; values in first-met order. A combination the count
    // table cannot take goes alone, after what is counted.
    void CountListedValues(std::span<const TCombination> combs, TStatDrawArray& stat) {
        const std::span<const uint8_t> listed = self().ListedElements();
        const auto merge = [&](uint16_t at, int32_t count) {
            this->Entry.Key1 = listed[at / 16];
            this->Entry.Key2 = static_cast<uint16_t>(at % 16);
            this->Entry.Count = count;
            this->Merge(stat, false);
        };
        if (const TByteTable<uint64_t>* table = ListedCountTable()) {
            TPatternTally patterns(listed.size());
            TallyCombinations<Kind>(
                *this, combs, stat, patterns,
                [&](const TCombination& c, TPatternTally& t) {
                    uint32_t set = 0;
                    if (!DistinctNumberSet(c.data(), set))
                        return false;
                    t.Add(ByteTableValue(*table, set, std::plus<>{}));
                    return true;
                },
                merge);
            return;
        }
        TValueTally<32 * 16> tally; // listed index * 16 + count
        if (listed.size() > 32) {
            Kind::AddCombinations(combs, stat);
            return;
        }
        TallyCombinations<Kind>(
            *this, combs, stat, tally,
            [&](const TCombination& c, auto& t) {
                TPacked packed = 0;
                if (!PackedCount(c.data(), packed))
                    return false;
                for (std::size_t i = 0; i < listed.size(); ++i) {
                    const uint8_t e = listed[i];
                    const unsigned k = e < 32 ? static_cast<unsigned>(packed >> (4 * e) & 15) : 0;
                    t.Add(static_cast<uint16_t>(i * 16 + k));
                }
                return true;
            },
            merge);
    }

    // Numbers per element; returns the highest element met.
    int Count(const uint8_t* numbers, TElementCounts& counts) {
        counts.fill(0);
        int highest = 0;
        for (int i = 0; i < NumbersInDraw; ++i) {
            const auto e = static_cast<uint8_t>(self().ElementOf(numbers[i]));
            ++counts[e];
            highest = e > highest ? e : highest;
        }
        return highest;
    }

    void MergeElements(const uint8_t* numbers, TStatDrawArray& stat, bool trackPeriods) {
        if constexpr (Self::CountInKey2 && Self::ListEveryElement) {
            if (TPacked packed = 0; PackedCount(numbers, packed)) {
                for (const uint8_t e : self().ListedElements()) {
                    this->Entry.Key1 = e;
                    this->Entry.Key2 = e < 32 ? static_cast<uint16_t>(packed >> (4 * e) & 15) : 0;
                    this->Merge(stat, trackPeriods);
                }
                return;
            }
            TElementCounts counts;
            Count(numbers, counts);
            for (const uint8_t e : self().ListedElements()) {
                this->Entry.Key1 = e;
                this->Entry.Key2 = counts[e];
                this->Merge(stat, trackPeriods);
            }
        } else if constexpr (Self::CountInKey2) {
            TElementCounts counts;
            const int highest = Count(numbers, counts);
            for (int e = 0; e <= highest; ++e) {
                if (counts[e] == 0)
                    continue;
                this->Entry.Key1 = static_cast<uint16_t>(e);
                this->Entry.Key2 = counts[e];
                this->Merge(stat, trackPeriods);
            }
        } else {
            // Elements below 256 go through the merger's one-list-check path.
            uint8_t elements[NumbersInDraw];
            unsigned wide = 0;
            for (int i = 0; i < NumbersInDraw; ++i) {
                const uint16_t e = self().ElementOf(numbers[i]);
                wide |= e >> 8;
                elements[i] = static_cast<uint8_t>(e);
            }
            if (wide == 0) {
                this->Entry.Key2 = this->Entry.Key3 = this->Entry.Key4 = 0;
                this->MergeEachNumber(stat, elements, trackPeriods);
                return;
            }
            for (int i = 0; i < NumbersInDraw; ++i) {
                this->Entry.Key1 = self().ElementOf(numbers[i]);
                this->Merge(stat, trackPeriods);
            }
        }
    }
    Self& self() { return static_cast<Self&>(*this); }

    TSelectionWatch Watch_;
    std::vector<TByteTable<uint64_t>> ListedCounts_; // see ListedCountTable
    std::array<uint8_t, 256> NumberHits_{};          // per number byte: its element is selected
    std::array<uint16_t, 256> CountHits_{};          // per element: bit k when (element, k) is selected
};

} // namespace kumby
