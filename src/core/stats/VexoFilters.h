#pragma once

// The statistic method interface and its five base kinds. Every family derives its
// classes from these and is reached only through them.

#include "model/Records.h"
#include "model/VexoUtils.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kumby {

class TStatList;
class TCustomStat;

enum TStatFlag : uint8_t {
    StatFlagS = 1,  // values depend on the order of the numbers in a draw
    StatFlagN = 2,  // values come from a combination alone: a full-set file exists
    StatFlagD = 4,  // values relate to a reference draw
    StatFlagP = 8,  // periods family
    StatFlagG = 16, // display only: the method has a chart
};

// Scratch record a family may carry from one draw of a window to the next.
struct TRunState {
    int32_t Values[72] = {};
};
static_assert(sizeof(TRunState) == 288);

using TStatFactory = std::unique_ptr<TCustomStat> (*)(const TStatList& list, int32_t param);
using TParamRangeFn = void (*)(const TStatList& list, int32_t& min, int32_t& max);
using TCaptionFn = std::string (*)(int32_t param);

// What is known of a statistic class without an instance.
struct TStatClassInfo {
    const char* ClassName; // "TstValues"
    const char* Code;      // "NUMS", or a pattern "POS%d"
    const char* Caption;   // Russian caption; "%d"/"%0:d" stand for the parameter
    const char* HelpCode;  // nullptr: the code
    uint8_t Group;         // 0..12
    uint8_t Flags;         // TStatFlag bits S N D P
    bool HasChart;         // a TCustomGraphStat descendant
    bool NumericValues;    // row texts are plain numbers
    bool HasParam;
    bool Available;           // false: never registered
    TParamRangeFn ParamRange; // nullptr: 0..0
    TStatFactory Create;
    // For captions that take more than the parameter; nullptr: Caption formatted with it.
    TCaptionFn CaptionOf = nullptr;

    uint8_t DisplayFlags() const { return static_cast<uint8_t>(Flags | (HasChart ? StatFlagG : 0)); }
    bool HasPrefetch() const { return (Flags & StatFlagN) != 0; }
    bool Visible() const { return true; }
    std::string CodeFor(int32_t param) const;
    std::string CaptionFor(int32_t param) const;
    std::string HelpCodeFor(int32_t param) const;
    // "ms-its:" + help file + "::/Filters_1049_<help code>.htm", or "" without a help file.
    std::string HelpTopic(int32_t param, const std::string& helpFile) const;
    void GetParamRange(const TStatList& list, int32_t& min, int32_t& max) const;
};

// Merges entries into a value list like AddStatEntry, finding values through an
// index instead of a scan. The list keeps first-met order; the index follows the
// list it was last used with and is rebuilt when another list comes along, or when
// the list's size, storage or last value changed behind its back. A caller that
// rewrites a list in place keeping all three must call Reset.
class TStatMerger {
public:
    // Full-set passes merge tens of millions of entries, nearly all of them a value
    // already listed under a small key: that case stays inline and touches one table
    // slot and one list entry. Families write a key word just before they merge, so
    // the key is read word by word (a 64-bit load over a fresh 16-bit store stalls).
    void Add(TStatDrawArray& list, const TStatEntry& e, bool trackPeriods) {
        if (const int32_t slot = DirectSlot(e.Key1, e.Key2, e.Key3, e.Key4); slot >= 0 && Follows(list)) {
            const uint32_t at = Direct_[static_cast<std::size_t>(slot)];
            if (at != 0) {
                TStatEntry& x = list[at - 1];
                if (x.Key1 == e.Key1 && x.Key2 == e.Key2 && x.Key3 == 0 && x.Key4 == 0) {
                    MergeStatEntry(x, e, trackPeriods);
                    return;
                }
            }
        } else if (const int32_t tuple = TupleSlot(e.Key1, e.Key2, e.Key3, e.Key4);
                   tuple >= 0 && !Tuple_.empty() && Follows(list)) {
            const uint32_t at = Tuple_[static_cast<std::size_t>(tuple)];
            if (at != 0) {
                TStatEntry& x = list[at - 1];
                if (x.Key1 == e.Key1 && x.Key2 == e.Key2 && x.Key3 == e.Key3 && x.Key4 == e.Key4) {
                    MergeStatEntry(x, e, trackPeriods);
                    return;
                }
            }
        }
        AddSlow(list, e, trackPeriods);
    }
    // Merges e once per number, each in Key1 (e's other keys as they are), exactly as
    // that many Add calls would; the list is checked once, as no merge here can
    // change what the check looks at.
    void AddEachNumber(TStatDrawArray& list, TStatEntry& e, std::span<const uint8_t> numbers,
                       bool trackPeriods) {
        if (!Follows(list))
            Rebuild(list);
        const bool small = e.Key2 == 0 && e.Key3 == 0 && e.Key4 == 0;
        for (const uint8_t n : numbers) {
            e.Key1 = n;
            if (small) {
                if (const uint32_t at = Direct_[n]; at != 0) {
                    TStatEntry& x = list[at - 1];
                    if (x.Key1 == n && x.Key2 == 0 && x.Key3 == 0 && x.Key4 == 0) {
                        MergeStatEntry(x, e, trackPeriods);
                        continue;
                    }
                }
            }
            AddSlow(list, e, trackPeriods);
        }
    }
    // Asks for the memory a merge of the key will read: its slot in the tuple table,
    // then (once the slot is at hand) its value in the list. Merges of many tuple
    // keys at random places ask a few keys ahead so that the waits overlap.
    void PrefetchSlot(uint64_t key) const {
        if (const int32_t slot = TupleSlot(key); slot >= 0 && !Tuple_.empty())
            __builtin_prefetch(&Tuple_[static_cast<std::size_t>(slot)]);
    }
    void PrefetchValue(const TStatDrawArray& list, uint64_t key) const {
        if (const int32_t slot = TupleSlot(key); slot >= 0 && !Tuple_.empty())
            if (const uint32_t at = Tuple_[static_cast<std::size_t>(slot)]; at != 0 && at <= list.size())
                __builtin_prefetch(list.data() + (at - 1));
    }
    void Reset() {
        List_ = nullptr;
        Index_.clear();
        Direct_.clear();
        ClearTuples();
    }

private:
    // Small keys are looked up in a plain table, the others through the hash index:
    // Key1 below 4096 alone (a number, a sum, as most families use), and a pair of
    // Key1 and Key2 below 64 (an element or a difference with how often it occurs).
    static constexpr int32_t SingleKeys = 4096;
    static constexpr int32_t PairLimit = 64;
    static constexpr int32_t DirectSlots = SingleKeys + PairLimit * PairLimit;
    static int32_t DirectSlot(uint16_t k1, uint16_t k2, uint16_t k3, uint16_t k4) {
        if ((k3 | k4) != 0)
            return -1;
        if (k2 == 0)
            return k1 < SingleKeys ? k1 : -1;
        return k1 < PairLimit && k2 < PairLimit ? SingleKeys + k1 + PairLimit * k2 : -1;
    }
    static int32_t DirectSlot(uint64_t key) {
        return DirectSlot(static_cast<uint16_t>(key), static_cast<uint16_t>(key >> 16),
                          static_cast<uint16_t>(key >> 32), static_cast<uint16_t>(key >> 48));
    }
    // Tuples of three or four small items, which the table above does not take, have a
    // table of their own: a window of the numbers of 1000 draws in drawn order lists a
    // couple of hundred thousand of them, too many for a hash index to keep up with.
    // Items run 0..24 (numbers, their channels, columns, rows and segments,
    // differences), so 25^4 slots hold them all. Made when the first such key comes.
    static constexpr int32_t TupleItems = MaxNumber + 1;
    static constexpr int32_t TupleSlots = TupleItems * TupleItems * TupleItems * TupleItems;
    static int32_t TupleSlot(uint16_t k1, uint16_t k2, uint16_t k3, uint16_t k4) {
        if (k1 >= TupleItems || k2 >= TupleItems || k3 >= TupleItems || k4 >= TupleItems)
            return -1;
        return ((k4 * TupleItems + k3) * TupleItems + k2) * TupleItems + k1;
    }
    static int32_t TupleSlot(uint64_t key) {
        return TupleSlot(static_cast<uint16_t>(key), static_cast<uint16_t>(key >> 16),
                         static_cast<uint16_t>(key >> 32), static_cast<uint16_t>(key >> 48));
    }
    // Slot for the key in the tuple table (made on demand), nullptr for a key it does not take.
    uint32_t* TupleEntry(uint64_t key);
    // Empties the tuple table by the slots it used: a window's list is rebuilt often
    // and the table is large.
    void ClearTuples();

    void AddSlow(TStatDrawArray& list, const TStatEntry& e, bool trackPeriods);
    void Rebuild(const TStatDrawArray& list);
    // Runs before every merge, so it reads the list through its storage directly.
    bool Follows(const TStatDrawArray& list) const {
        const std::size_t size = list.size();
        const TStatEntry* data = list.data();
        return List_ == &list && Size_ == size && Data_ == data &&
               (size == 0 || StatKey(data[size - 1]) == LastKey_);
    }
    void Remember(const TStatDrawArray& list);
    // Position of the key in the list, -1 when it is not indexed.
    int64_t Find(uint64_t key);
    void Insert(uint64_t key, std::size_t position);

    const TStatDrawArray* List_ = nullptr;
    const TStatEntry* Data_ = nullptr;
    std::size_t Size_ = 0;
    uint64_t LastKey_ = 0;
    std::vector<uint32_t> Direct_; // position + 1 per small key; 0 = not listed
    std::unordered_map<uint64_t, uint32_t> Index_;
    std::vector<uint32_t> Tuple_;     // position + 1 per tuple key; empty until one comes
    std::vector<uint32_t> TupleUsed_; // the slots of Tuple_ that are set
};

// Whether a selection differs from the one seen last: another array, or the same
// one changed in size, storage, first or last value. Matches implementations that
// table the selected values once per pass ask it per combination.
class TSelectionWatch {
public:
    bool Changed(const TStatDrawArray& selected) {
        const std::size_t size = selected.size();
        const TStatEntry* data = selected.data();
        const uint64_t first = size == 0 ? 0 : StatKey(data[0]);
        const uint64_t last = size == 0 ? 0 : StatKey(data[size - 1]);
        if (Source_ == &selected && Data_ == data && Size_ == size && FirstKey_ == first && LastKey_ == last)
            return false;
        Source_ = &selected;
        Data_ = data;
        Size_ = size;
        FirstKey_ = first;
        LastKey_ = last;
        return true;
    }

private:
    const TStatDrawArray* Source_ = nullptr;
    const TStatEntry* Data_ = nullptr;
    std::size_t Size_ = 0;
    uint64_t FirstKey_ = 0;
    uint64_t LastKey_ = 0;
};

// While alive, the Has* lookups on this thread against `selected` answer from bit
// tables for the small keys most families use (below 4096) instead of scanning the
// selected values; other keys and other arrays are scanned as before. A filter pass
// opens one per thread around its Matches calls.
class TSelectionScope {
public:
    explicit TSelectionScope(const TStatDrawArray& selected);
    ~TSelectionScope();
    TSelectionScope(const TSelectionScope&) = delete;
    TSelectionScope& operator=(const TSelectionScope&) = delete;
};

namespace detail {

inline constexpr uint32_t SmallKey = 4096;

struct TSelectionIndex {
    const TStatDrawArray* Source = nullptr;
    std::size_t Size = 0;
    std::bitset<SmallKey> Exact;            // Key1 of entries whose other keys are 0
    std::bitset<SmallKey> Word1;            // Key1 of every entry
    std::bitset<SmallKey> Half1;            // Key1 of entries whose Key2 is 0
    std::array<uint8_t, 256> ExactNumber{}; // Exact for the keys a number byte can be, a byte each

    bool For(const TStatDrawArray& s) const { return Source == &s && Size == s.size(); }
};

inline thread_local TSelectionIndex Selection;

} // namespace detail

class TCustomStat {
public:
    TCustomStat(const TStatList& list, int32_t param);
    virtual ~TCustomStat() = default;
    TCustomStat(const TCustomStat&) = delete;
    TCustomStat& operator=(const TCustomStat&) = delete;

    virtual const TStatClassInfo& Info() const = 0;
    int32_t Param() const { return Param_; }
    std::string InstanceCaption() const { return Info().CaptionFor(Param_); }

    virtual std::string ValueText(const TStatEntry& e) const = 0;
    // A key that orders values as the table compares their captions, for shapes whose
    // captions come by the hundred thousand and order without being written; false
    // when the shape has none.
    virtual bool CaptionOrderKey(const TStatEntry& /*e*/, uint64_t& /*key*/) const { return false; }
    // The text as an integer; 0 when it is not one.
    virtual int32_t ParseValue(std::string_view text) const;
    int32_t NumericValue(std::string_view text) const;

    virtual void SeedValues(int lastIdx, TStatDrawArray& stat);
    virtual void LoadDraws(int drawIdx, int refIdx, bool sorted);
    virtual void AddCombination(const TCombination& comb, TStatDrawArray& stat);
    // AddCombination of each of `combs` in turn. Shapes whose values only add up in
    // a combination pass override it to merge each value once per call.
    virtual void AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat);
    virtual void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                         TLastValueArray& lastValues);
    // The values draw drawIdx yields on its own: what AddDraw leaves in an empty list,
    // with no last values and the RunState given. Searches for a value's next draw
    // read the draws so; shapes with many values a draw list them without merging.
    virtual void DrawValues(int drawIdx, int lastIdx, bool sorted, TRunState& runState,
                            TStatDrawArray& values);
    // Number of the first draw from startIdx on that has e's value; -1 when none.
    virtual int32_t FindNextOccurrence(const TStatEntry& e, int startIdx, int lastIdx, bool sorted);
    virtual bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                         bool exclude) = 0;
    // Writes the combinations of `in` whose Matches differs from `exclude` at `out`
    // (room for all of `in`; `out` may be `in`'s own storage) and returns how many.
    // Shapes with a cheap Matches override it with a loop that makes no virtual call
    // per combination.
    virtual std::size_t KeepMatching(std::span<const TCombination> in, TCombination* out,
                                     const TStatDrawArray& selected, int lastIdx, bool sorted, bool exclude);

    // Chart kinds answer with the plotted number of 12 numbers.
    virtual bool HasChartValue() const { return false; }
    virtual int32_t ChartValue(const uint8_t* numbers, int drawIdx, int lastIdx, bool sorted);
    int32_t ChartValueOfDraw(int drawIdx, int lastIdx, bool sorted);

    // Copy of archive draw idx, numbers sorted when asked; zeros outside the archive.
    void GetDraw(int idx, bool sorted, TDrawRecord& out) const;

    // Lookups in the selected values; inline because Matches runs them per combination.
    static bool HasKeys(const TStatDrawArray& selected, uint16_t k1, uint16_t k2, uint16_t k3, uint16_t k4) {
        if ((k2 | k3 | k4) == 0 && k1 < detail::SmallKey && detail::Selection.For(selected))
            return detail::Selection.Exact[k1];
        return ScanKeys(selected, k1, k2, k3, k4);
    }
    // Whether any of the numbers is a selected value of its own (Key1 only). Every
    // number is looked at, without an early exit: where a hit falls is random, and a
    // mispredicted exit costs more than the few table reads it would save.
    static bool HasAnyNumber(const TStatDrawArray& selected, const TCombination& numbers) {
        if (detail::Selection.For(selected)) {
            const auto& exact = detail::Selection.ExactNumber;
            unsigned any = 0;
            for (uint8_t n : numbers)
                any |= exact[n];
            return any != 0;
        }
        for (uint8_t n : numbers)
            if (ScanKeys(selected, n, 0, 0, 0))
                return true;
        return false;
    }
    static bool HasHalves(const TStatDrawArray& selected, uint16_t a, uint16_t b) {
        return HasKeys(selected, a, 0, b, 0);
    }
    static bool HasKeyByte(const TStatDrawArray& selected, int n, uint8_t b);
    static bool HasKeyWord(const TStatDrawArray& selected, int n, uint16_t w) {
        if (n == 1 && w < detail::SmallKey && detail::Selection.For(selected))
            return detail::Selection.Word1[w];
        return ScanKeyWord(selected, n, w);
    }
    static bool HasKeyHalf(const TStatDrawArray& selected, int n, uint32_t d) {
        if (n == 1 && d < detail::SmallKey && detail::Selection.For(selected))
            return detail::Selection.Half1[d];
        return ScanKeyHalf(selected, n, d);
    }

private:
    static bool ScanKeys(const TStatDrawArray& selected, uint16_t k1, uint16_t k2, uint16_t k3, uint16_t k4);
    static bool ScanKeyWord(const TStatDrawArray& selected, int n, uint16_t w);
    static bool ScanKeyHalf(const TStatDrawArray& selected, int n, uint32_t d);

protected:
    // Merges Entry into stat (with gap tracking for draws, without for combinations).
    void Merge(TStatDrawArray& stat, bool trackPeriods) { Merger_.Add(stat, Entry, trackPeriods); }
    void PrefetchMergeSlot(uint64_t key) const { Merger_.PrefetchSlot(key); }
    void PrefetchMergeValue(const TStatDrawArray& stat, uint64_t key) const {
        Merger_.PrefetchValue(stat, key);
    }
    // Merges Entry once per number, each number in Key1.
    void MergeEachNumber(TStatDrawArray& stat, std::span<const uint8_t> numbers, bool trackPeriods) {
        Merger_.AddEachNumber(stat, Entry, numbers, trackPeriods);
    }
    // Lists the values first..last of Key1 beforehand, with Count 0.
    void SeedKeyRange(TStatDrawArray& stat, uint16_t first, uint16_t last) {
        for (uint32_t k = first; k <= last; ++k) {
            Entry.Key1 = static_cast<uint16_t>(k);
            Merge(stat, false);
        }
    }
    const TConfigData& Config() const;

    const TStatList& List;
    int32_t Param_;
    const TDrawsArray& Draws;
    TDrawRecord CurDraw;
    TDrawRecord RefDraw;
    TStatEntry Entry;

private:
    TStatMerger Merger_;
};

// The filter's inner loop for a shape whose Matches is cheap: S's own Matches is
// called without the virtual dispatch, so it is inlined; every combination is
// written, the output advancing only past the kept ones, so no branch depends on
// the outcome. S is the most derived class that states Matches.
template <class S>
std::size_t KeepMatchingStatic(S& self, std::span<const TCombination> in, TCombination* out,
                               const TStatDrawArray& selected, int lastIdx, bool sorted, bool exclude) {
    TCombination* const first = out;
    for (const TCombination& c : in) {
        const bool keep = self.S::Matches(c, selected, lastIdx, sorted, exclude) != exclude;
        *out = c;
        out += keep ? 1 : 0;
    }
    return static_cast<std::size_t>(out - first);
}

// ---- Base kinds -------------------------------------------------------------

class TCustomGraphStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    std::string ValueText(const TStatEntry& e) const override;
    bool HasChartValue() const override { return true; }
    int32_t ChartValue(const uint8_t* numbers, int drawIdx, int lastIdx, bool sorted) override = 0;
};

class TCustomValuesStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    std::string ValueText(const TStatEntry& e) const override;
};

class TCustomNumbersStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    std::string ValueText(const TStatEntry& e) const override;
};

// Key1 and 12 - Key1 joined by ":" (5:7).
class TCustomRatioStat : public TCustomGraphStat {
public:
    using TCustomGraphStat::TCustomGraphStat;
    std::string ValueText(const TStatEntry& e) const override;
    int32_t ParseValue(std::string_view text) const override;
};

// Twelve symbols for a 12-bit mask, leftmost = bit 11, then " (%.3d)".
class TCustomMaskStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    std::string ValueText(const TStatEntry& e) const override;
    int32_t ParseValue(std::string_view text) const override;
    // Lists all 4096 masks with Count 0.
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    virtual const char* ZeroSymbol() const = 0; // one character, UTF-8
    virtual const char* OneSymbol() const = 0;
};

// Formats a Delphi-style pattern with one integer: "%d", "%0:d", "%.3d" take the
// value, "%%" gives "%"; a pattern without a placeholder is returned unchanged.
std::string FormatWithInt(std::string_view pattern, int32_t value);
// Likewise with one text for "%s" and "%0:s".
std::string FormatWithText(std::string_view pattern, std::string_view value);

} // namespace kumby
