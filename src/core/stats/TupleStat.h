#pragma once

// Tuples of items as values: from the items that 12 numbers give (their adjacent
// differences, their channels, columns, rows or segments, the numbers themselves),
// every choice of K items is one value, the items in Key1..KeyK in position order
// and 0 in the words a tuple does not fill. Shown as the items joined by ":".
//
// Two forms. Runs: every K consecutive items (positions p .. p + K - 1). Subsets:
// every choice of K positions i < j < .., the first position outermost and the
// last one running fastest (66, 220 or 495 tuples of 12 items).
//
// Self supplies `int ItemsOf(const uint8_t* numbers, uint8_t* items)`, which writes
// at most 12 items in order and returns how many; and may set
// `static constexpr bool TrackFirstRunOnly`: then only a draw's first tuple
// measures a gap; `static constexpr bool FromCombination`, for items that 12
// numbers alone give: then a combination gives its tuples as a draw does; and
// `static constexpr bool ItemsRise`, for one item per number that never falls
// from number 1 to 24: then Matches over every choice of positions compares counts
// of items instead wherever the numbers of a combination never fall. A class over
// the elements of the numbers derives from TElementTupleStat and states only
// `ElementOf`.

#include "stats/VexoFilters.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <span>
#include <vector>

namespace kumby {

enum class TTupleForm : uint8_t {
    Runs,    // consecutive positions only
    Subsets, // every choice of positions
};

// The selected tuples of K items as bit tables of every prefix (items of 5 bits
// each), so that Matches answers with a table read per tuple and leaves a choice
// of positions as soon as no selected tuple begins with it. Rebuilt when another
// selection comes along.
//
// With `rising`, the selected tuples whose items never fall are also kept as
// counts: how many times each item 0..31 stands in the tuple, four bits per item.
// Along items that never fall, such a tuple is some choice of positions exactly
// when every item of it occurs there at least as often as in the tuple (tuples that
// fall never match there), so one comparison of counts answers for every choice at
// once. It is cut into the bytes (two items each) that some selected tuple uses:
// per byte, a table row for each of its 256 values holds one bit per selected tuple
// whose two counts that value reaches. A combination matches when a tuple bit
// survives the rows of all used bytes: a few reads however many tuples are selected.
// When no rising tuple repeats an item, presence is all that counts: the items are
// then one bit each, in four bytes at most.
class TTupleSelection {
public:
    static constexpr int ItemBits = 5;
    static constexpr unsigned ItemLimit = 1u << ItemBits; // items below this are tabled
    using TCounts = std::array<uint64_t, 2>;              // items 0..15, 16..31: four bits each

    // Tables the selected tuples of k items unless they are tabled already. False
    // when a selected tuple holds an item too large for the tables: scan instead.
    bool Follow(const TStatDrawArray& selected, int k, bool rising);
    // Whether a selected tuple begins with the `length` items coded in `code`.
    bool Has(int length, uint32_t code) const {
        return (Bits_[length - 1][code >> 6] >> (code & 63) & 1) != 0;
    }
    // Whether HasRisingIn takes the items as bits (item i at bit i of word 0)
    // rather than as counts.
    bool ByPresence() const { return ByPresence_; }
    // Whether the items counted in `held` hold a selected tuple that never falls.
    bool HasRisingIn(const TCounts& held) const {
        const uint64_t* rows = Rows_.data();
        const auto words = static_cast<std::size_t>(Words_);
        for (std::size_t w = 0; w < words; ++w, ++rows) {
            uint64_t alive = ~uint64_t{0};
            for (int u = 0; u < Used_; ++u)
                alive &=
                    rows[(static_cast<std::size_t>(u) * 256 + (held[UsedWord_[u]] >> UsedShift_[u] & 0xFF)) *
                         words];
            if (alive != 0)
                return true;
        }
        return false;
    }

private:
    void TableRising(std::span<const TCounts> tuples, bool byPresence);

    TSelectionWatch Watch_;
    int K_ = 0;
    bool Rising_ = false;
    bool Usable_ = false;
    std::vector<uint64_t> Bits_[4]; // per prefix length 1..4
    bool ByPresence_ = false;
    int Words_ = 0; // 64-bit words of tuple bits per row; 0: no rising tuple
    int Used_ = 0;  // bytes that some rising tuple uses: bits UsedShift_ .. of word UsedWord_
    std::array<uint8_t, 16> UsedWord_{};
    std::array<uint8_t, 16> UsedShift_{};
    std::vector<uint64_t> Rows_; // [used byte][value][word]
};

// The distinct tuples of one draw in first-met order, each with how many times the
// draw gives it. Merging each once with that count leaves the value list exactly as
// merging every tuple would (a second merge from the same draw measures no gap),
// at a fraction of the lookups: channels of 12 numbers give few distinct tuples.
class TDrawTuples {
public:
    static constexpr int MaxTuples = 495; // C(12, 4)

    void Clear();
    void Add(uint64_t key); // the four key words, Key1 lowest
    // Adds a tuple known to differ from every other one of the draw.
    void AddNew(uint64_t key) {
        Keys_[Size_] = key;
        Counts_[Size_] = 1;
        ++Size_;
    }
    int Size() const { return Size_; }
    uint64_t Key(int t) const { return Keys_[t]; }
    int32_t Count(int t) const { return Counts_[t]; }

private:
    static constexpr int Slots = 1024; // twice the most tuples a draw can give
    int Size_ = 0;
    uint64_t Keys_[MaxTuples];
    int32_t Counts_[MaxTuples];
    uint16_t Slot_[Slots] = {}; // tuple index + 1; 0 = free
    bool Hashed_ = false;       // whether Add took a slot since the last Clear
};

// A key that orders captions of `k` items joined by ":" (k >= 2) as texts compare:
// false when an item is too large for the key.
bool TupleCaptionOrder(const uint16_t* keys, int k, uint64_t& key);

template <class Self, class Kind, int K, TTupleForm Form> class TTupleStat : public Kind {
    static_assert(K >= 1 && K <= 4, "a tuple fills at most the four key words");

public:
    using Kind::Kind;
    static constexpr bool TrackFirstRunOnly = false;
    static constexpr bool FromCombination = false;
    static constexpr bool ItemsRise = false;

    std::string ValueText(const TStatEntry& e) const final {
        // Written in place: tables of tuples ask for hundreds of thousands of these.
        const uint16_t keys[4] = {e.Key1, e.Key2, e.Key3, e.Key4};
        char text[4 * 6];
        char* end = text;
        for (int i = 0; i < K; ++i) {
            if (i > 0)
                *end++ = ':';
            end = std::to_chars(end, text + sizeof text, keys[i]).ptr;
        }
        return std::string(text, end);
    }

    // A single item is a number and compares as one; longer captions compare as texts.
    bool CaptionOrderKey(const TStatEntry& e, uint64_t& key) const final {
        const uint16_t keys[4] = {e.Key1, e.Key2, e.Key3, e.Key4};
        if constexpr (K == 1) {
            key = keys[0];
            return true;
        } else {
            return TupleCaptionOrder(keys, K, key);
        }
    }

    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override {
        Kind::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
        ListDrawTuples();
        MergeDrawTuples(stat);
    }
    // Into an empty list the draw's distinct tuples go as they come, with nothing to merge.
    void DrawValues(int drawIdx, int lastIdx, bool sorted, TRunState& runState,
                    TStatDrawArray& values) override {
        values.clear();
        TLastValueArray lastValues;
        Kind::AddDraw(drawIdx, lastIdx, sorted, values, runState, lastValues);
        ListDrawTuples();
        if (!values.empty()) { // the kind listed values of its own
            MergeDrawTuples(values);
            return;
        }
        for (int t = 0; t < Tuples_.Size(); ++t) {
            SetEntryTuple(t);
            values.push_back(this->Entry);
            values.back().Norm = 0;
        }
    }

    void AddCombination(const TCombination& comb, TStatDrawArray& stat) override {
        Kind::AddCombination(comb, stat);
        if constexpr (Self::FromCombination) {
            uint8_t items[NumbersInDraw];
            const int count = self().ItemsOf(comb.data(), items);
            if constexpr (K == 1) {
                this->MergeEachNumber(stat, std::span<const uint8_t>(items, static_cast<std::size_t>(count)),
                                      false);
            } else {
                ForEachTuple(items, count, [&](uint64_t key) {
                    this->Entry.Key1 = static_cast<uint16_t>(key);
                    this->Entry.Key2 = static_cast<uint16_t>(key >> 16);
                    this->Entry.Key3 = static_cast<uint16_t>(key >> 32);
                    this->Entry.Key4 = static_cast<uint16_t>(key >> 48);
                    this->Merge(stat, false);
                    return false;
                });
            }
        }
    }

    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) override {
        return Selection_.Follow(selected, K, ByCounts()) ? MatchesFollowed(comb, selected)
                                                          : MatchesScanning(comb, selected);
    }
    // The selection is tabled once per slice, not per combination.
    std::size_t KeepMatching(std::span<const TCombination> in, TCombination* out,
                             const TStatDrawArray& selected, int lastIdx, bool sorted,
                             bool exclude) override {
        if (!Selection_.Follow(selected, K, ByCounts()))
            return KeepMatchingStatic(self(), in, out, selected, lastIdx, sorted, exclude);
        TCombination* const first = out;
        for (const TCombination& c : in) {
            const bool keep = MatchesFollowed(c, selected) != exclude;
            *out = c;
            out += keep ? 1 : 0;
        }
        return static_cast<std::size_t>(out - first);
    }

private:
    // Items that differ from each other give tuples that differ from each other: an
    // item of one choice of positions stands nowhere else, so another choice lacks it.
    void ListDrawTuples() {
        uint8_t items[NumbersInDraw];
        const int count = self().ItemsOf(this->CurDraw.Numbers, items);
        Tuples_.Clear();
        if (DistinctItems(items, count)) {
            ForEachTuple(items, count, [&](uint64_t key) {
                Tuples_.AddNew(key);
                return false;
            });
        } else {
            ForEachTuple(items, count, [&](uint64_t key) {
                Tuples_.Add(key);
                return false;
            });
        }
    }
    static bool DistinctItems(const uint8_t* items, int count) {
        uint64_t seen = 0;
        for (int i = 0; i < count; ++i) {
            if (items[i] >= 64)
                return false;
            const uint64_t bit = uint64_t{1} << items[i];
            if ((seen & bit) != 0)
                return false;
            seen |= bit;
        }
        return true;
    }
    void MergeDrawTuples(TStatDrawArray& stat) {
        // Each tuple's table slot, then its listed value, is asked for a few tuples
        // ahead: a window of hundreds of thousands of values waits on memory.
        constexpr int SlotAhead = 16, ValueAhead = 8;
        const int size = Tuples_.Size();
        for (int t = 0; t < std::min(size, SlotAhead); ++t)
            this->PrefetchMergeSlot(Tuples_.Key(t));
        // The draw's first tuple is the first distinct one.
        for (int t = 0; t < size; ++t) {
            if (t + SlotAhead < size)
                this->PrefetchMergeSlot(Tuples_.Key(t + SlotAhead));
            if (t + ValueAhead < size)
                this->PrefetchMergeValue(stat, Tuples_.Key(t + ValueAhead));
            SetEntryTuple(t);
            this->Merge(stat, !Self::TrackFirstRunOnly || t == 0);
        }
    }
    void SetEntryTuple(int t) {
        const uint64_t key = Tuples_.Key(t);
        this->Entry.Key1 = static_cast<uint16_t>(key);
        this->Entry.Key2 = static_cast<uint16_t>(key >> 16);
        this->Entry.Key3 = static_cast<uint16_t>(key >> 32);
        this->Entry.Key4 = static_cast<uint16_t>(key >> 48);
        this->Entry.Count = Tuples_.Count(t);
    }

    // Whether Matches may compare counts of items. A function: Self is not
    // complete where the class is.
    static constexpr bool ByCounts() { return Form == TTupleForm::Subsets && Self::ItemsRise; }

    // Matches once the selection is tabled.
    bool MatchesFollowed(const TCombination& comb, const TStatDrawArray& selected) {
        if constexpr (ByCounts()) {
            if (Counted() && RisingNumbers(comb)) {
                TTupleSelection::TCounts held{};
                if (Selection_.ByPresence()) {
                    uint32_t present = 0;
                    for (const uint8_t n : comb)
                        present |= PresenceOf_[n];
                    held[0] = present;
                } else {
                    for (const uint8_t n : comb) {
                        held[0] += CountOf_[n][0];
                        held[1] += CountOf_[n][1];
                    }
                }
                return Selection_.HasRisingIn(held);
            }
        }
        uint8_t items[NumbersInDraw];
        const int count = self().ItemsOf(comb.data(), items);
        if (!Tabled(items, count))
            return ScanTuples(items, count, selected);
        if constexpr (Form == TTupleForm::Runs) {
            // The code of the run ending at p, rolled on by one item.
            constexpr uint32_t mask = (uint32_t{1} << (TTupleSelection::ItemBits * K)) - 1;
            uint32_t code = 0;
            for (int p = 0; p < count; ++p) {
                code = (code << TTupleSelection::ItemBits | items[p]) & mask;
                if (p + 1 >= K && Selection_.Has(K, code))
                    return true;
            }
            return false;
        } else {
            return FindSubset<0>(items, count, 0, 0);
        }
    }
    bool MatchesScanning(const TCombination& comb, const TStatDrawArray& selected) {
        uint8_t items[NumbersInDraw];
        const int count = self().ItemsOf(comb.data(), items);
        return ScanTuples(items, count, selected);
    }
    static bool ScanTuples(const uint8_t* items, int count, const TStatDrawArray& selected) {
        return ForEachTuple(items, count, [&](uint64_t key) {
            return TCustomStat::HasKeys(selected, static_cast<uint16_t>(key),
                                        static_cast<uint16_t>(key >> 16), static_cast<uint16_t>(key >> 32),
                                        static_cast<uint16_t>(key >> 48));
        });
    }
    // Whether the numbers never fall and lie in 1..24: then their items never fall
    // either. Two overlapping 8-byte reads, each byte below 128 so that the byte
    // differences borrow nothing from their neighbours.
    static bool RisingNumbers(const TCombination& comb) {
        constexpr uint64_t High = 0x8080808080808080ull;
        constexpr uint64_t Pairs = 0x0080808080808080ull; // byte i: number i + 1 against number i
        uint64_t a = 0;
        uint64_t b = 0;
        std::memcpy(&a, comb.data(), 8);
        std::memcpy(&b, comb.data() + 4, 8);
        if (((a | b) & High) != 0)
            return false;
        const uint64_t rise = ((a >> 8 | High) - a) & ((b >> 8 | High) - b) & Pairs;
        return rise == Pairs && comb[0] >= 1 && comb[NumbersInDraw - 1] <= MaxNumber;
    }
    // Tables the count that every number 1..24 adds to its item, once: only when
    // the items are one per number, below 32, and never fall from 1 to 24.
    bool Counted() {
        if (CountState_ < 0) {
            uint8_t numbers[2 * NumbersInDraw];
            uint8_t items[2 * NumbersInDraw];
            for (int n = 1; n <= MaxNumber; ++n)
                numbers[n - 1] = static_cast<uint8_t>(n);
            bool usable = self().ItemsOf(numbers, items) == NumbersInDraw &&
                          self().ItemsOf(numbers + NumbersInDraw, items + NumbersInDraw) == NumbersInDraw;
            for (int n = 1; usable && n <= MaxNumber; ++n) {
                const uint8_t item = items[n - 1];
                usable = item < TTupleSelection::ItemLimit && (n == 1 || item >= items[n - 2]);
                if (usable) {
                    CountOf_[static_cast<std::size_t>(n)][item >> 4] = uint64_t{1} << (4 * (item & 15));
                    PresenceOf_[static_cast<std::size_t>(n)] = uint32_t{1} << item;
                }
            }
            CountState_ = usable ? 1 : 0;
        }
        return CountState_ > 0;
    }

    // Calls f(key) for every tuple of the items in order, the items in the key's
    // words (built in a register: a wide read over fresh narrow stores stalls),
    // until f returns true; returns whether it did.
    template <class F> static bool ForEachTuple(const uint8_t* items, int count, F&& f) {
        if constexpr (Form == TTupleForm::Runs) {
            for (int p = 0; p + K <= count; ++p) {
                uint64_t key = 0;
                for (int i = 0; i < K; ++i)
                    key |= uint64_t{items[p + i]} << (16 * i);
                if (f(key))
                    return true;
            }
            return false;
        } else {
            return Choose<0>(items, count, 0, 0, f);
        }
    }
    template <int Depth, class F>
    static bool Choose(const uint8_t* items, int count, int from, uint64_t key, F& f) {
        for (int i = from; i <= count - (K - Depth); ++i) {
            const uint64_t k = key | uint64_t{items[i]} << (16 * Depth);
            if constexpr (Depth + 1 == K) {
                if (f(k))
                    return true;
            } else if (Choose<Depth + 1>(items, count, i + 1, k, f)) {
                return true;
            }
        }
        return false;
    }
    // The search over the choices of positions, leaving every choice that no
    // selected tuple begins with.
    template <int Depth> bool FindSubset(const uint8_t* items, int count, int from, uint32_t code) const {
        for (int i = from; i <= count - (K - Depth); ++i) {
            const uint32_t c = code << TTupleSelection::ItemBits | items[i];
            if (!Selection_.Has(Depth + 1, c))
                continue;
            if constexpr (Depth + 1 == K)
                return true;
            else if (FindSubset<Depth + 1>(items, count, i + 1, c))
                return true;
        }
        return false;
    }
    static bool Tabled(const uint8_t* items, int count) {
        unsigned any = 0;
        for (int i = 0; i < count; ++i)
            any |= items[i];
        return any < TTupleSelection::ItemLimit;
    }
    Self& self() { return static_cast<Self&>(*this); }

    TTupleSelection Selection_;
    TDrawTuples Tuples_;
    int8_t CountState_ = -1; // counts of numbers not tabled yet; 0: not usable
    std::array<TTupleSelection::TCounts, MaxNumber + 1> CountOf_{};
    std::array<uint32_t, MaxNumber + 1> PresenceOf_{};
};

// Tuples of the elements of the 12 numbers (a number's channel, column, row or
// segment, or the number itself): Self supplies `uint8_t ElementOf(uint8_t number)`.
template <class Self, class Kind, int K, TTupleForm Form>
class TElementTupleStat : public TTupleStat<Self, Kind, K, Form> {
public:
    using TTupleStat<Self, Kind, K, Form>::TTupleStat;
    int ItemsOf(const uint8_t* numbers, uint8_t* items) {
        for (int i = 0; i < NumbersInDraw; ++i)
            items[i] = static_cast<Self&>(*this).ElementOf(numbers[i]);
        return NumbersInDraw;
    }
};

} // namespace kumby
