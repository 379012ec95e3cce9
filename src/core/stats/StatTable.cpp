#include "StatTable.h"

#include "draws/DrawArchive.h"
#include "model/Cp1251.h"
#include "model/Error.h"
#include "stats/VexoFilters.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

namespace kumby {

namespace {

// A std::string rather than a literal: assigning the literal into the cells trips a
// false -Wrestrict of GCC 12 at -O3.
const std::string Dash = "-";

// The most values a window's list makes room for up front.
constexpr std::size_t MaxReservedValues = std::size_t{1} << 20;

constexpr TColour ActualLineColour = 0x008000; // dark green
constexpr TColour ActualMarkerColour = 0xFF00FF;
constexpr TColour FullSetLineColour = 0xFF0000;
constexpr TColour FullSetMarkerColour = 0x800080;

// Fixed-point text with a "." whatever the process locale says.
std::string FixedText(long double value, int precision) {
    if (value == 0)
        value = 0; // no "-0.00"
    char buf[128];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
    if (ec != std::errc())
        return Format("%.*Lf", precision, value);
    return std::string(buf, end);
}

int32_t ClampToInt32(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// num / den to the nearest integer, halves to the even neighbour; den > 0.
int64_t DivideRounded(int64_t num, int64_t den) {
    int64_t quotient = num / den;
    int64_t remainder = num % den;
    if (remainder < 0) { // floor division
        remainder += den;
        --quotient;
    }
    // 2 x remainder against den, without doubling past 64 bits.
    const int64_t rest = den - remainder;
    if (remainder > rest || (remainder == rest && (quotient & 1) != 0))
        ++quotient;
    return quotient;
}

// Rows by key: the first row of every key, and for rows sharing a key the next one, as
// the table's lookups "the first entry with equal keys" need. Tuple windows list
// hundreds of thousands of keys: a node-based map would spend more time allocating
// than looking up. Keys of at most four small items, as tuples have, index a plain
// table once there are that many; other keys an open-addressed one.
class TRowIndex {
public:
    explicit TRowIndex(const TStatDrawArray& rows) : Rows_(rows), Next_(rows.size(), None) {
        Direct_ = rows.size() >= DirectFrom && std::all_of(rows.begin(), rows.end(), [](const TStatEntry& e) {
                      return DirectSlot(StatKey(e)) >= 0;
                  });
        std::size_t capacity = DirectSlots;
        if (!Direct_) {
            capacity = 16;
            while (capacity < rows.size() * 2)
                capacity *= 2;
        }
        Mask_ = capacity - 1;
        Slots_.assign(capacity, None);
        for (std::size_t i = rows.size(); i-- > 0;) { // backwards, so the first row ends up first
            uint32_t& slot = SlotOf(StatKey(rows[i]));
            Next_[i] = slot;
            slot = static_cast<uint32_t>(i);
        }
    }
    static constexpr uint32_t None = 0xFFFFFFFF;
    uint32_t First(uint64_t key) const {
        if (Direct_) {
            const int64_t slot = DirectSlot(key);
            return slot < 0 ? None : Slots_[static_cast<std::size_t>(slot)];
        }
        for (std::size_t at = Hash(key) & Mask_;; at = (at + 1) & Mask_) {
            const uint32_t row = Slots_[at];
            if (row == None || StatKey(Rows_[row]) == key)
                return row;
        }
    }
    uint32_t Next(uint32_t row) const { return Next_[row]; }
    // Lookups of many keys at random places wait on memory: asking for a key's slot a
    // little ahead lets them overlap.
    void Prefetch(uint64_t key) const {
        if (Direct_) {
            if (const int64_t slot = DirectSlot(key); slot >= 0)
                __builtin_prefetch(&Slots_[static_cast<std::size_t>(slot)]);
        } else {
            __builtin_prefetch(&Slots_[Hash(key) & Mask_]);
        }
    }

private:
    static constexpr std::size_t DirectFrom = std::size_t{1} << 15;
    static constexpr int64_t DirectItems = MaxNumber + 1;
    static constexpr std::size_t DirectSlots = DirectItems * DirectItems * DirectItems * DirectItems;
    static int64_t DirectSlot(uint64_t key) {
        int64_t slot = 0;
        for (int word = 3; word >= 0; --word) {
            const auto item = static_cast<int64_t>(key >> (16 * word) & 0xFFFF);
            if (item >= DirectItems)
                return -1;
            slot = slot * DirectItems + item;
        }
        return slot;
    }
    static std::size_t Hash(uint64_t key) {
        key ^= key >> 29;
        key *= 0xBF58476D1CE4E5B9ULL;
        return static_cast<std::size_t>(key ^ (key >> 32));
    }
    uint32_t& SlotOf(uint64_t key) {
        if (Direct_)
            return Slots_[static_cast<std::size_t>(DirectSlot(key))];
        for (std::size_t at = Hash(key) & Mask_;; at = (at + 1) & Mask_) {
            uint32_t& slot = Slots_[at];
            if (slot == None || StatKey(Rows_[slot]) == key)
                return slot;
        }
    }
    const TStatDrawArray& Rows_;
    bool Direct_ = false;
    std::vector<uint32_t> Slots_; // a row of each key, the first once built; None: empty
    std::vector<uint32_t> Next_;
    std::size_t Mask_ = 0;
};

uint64_t PrefetchKey(const TPrefetchRecord& r) {
    return uint64_t{r.Key1} | uint64_t{r.Key2} << 16 | uint64_t{r.Key3} << 32 | uint64_t{r.Key4} << 48;
}

bool RunStateIsZero(const TRunState& s) {
    return std::all_of(std::begin(s.Values), std::end(s.Values), [](int32_t v) { return v == 0; });
}

// The "Факт" column of all rows at once: for each row searched (start >= 0), the first
// draw from its start on that yields its value, each draw read as FindNextOccurrence
// reads it. As long as the method leaves the RunState untouched, what a draw yields
// does not depend on where the search began, so one forward pass over the draws
// answers every search at its first hit. A method that carries state in the RunState
// is asked row by row instead.
void FindNextOccurrences(TCustomStat& method, const TDrawsArray& draws, int lastIdx, bool sorted,
                         TStatRows& rows, const std::vector<int>& starts, const TRowIndex& index) {
    const int newest = static_cast<int>(draws.size()) - 1;
    int first = newest + 1;
    std::size_t waiting = 0;
    for (const int s : starts)
        if (s >= 0) {
            first = std::min(first, s);
            ++waiting;
        }
    std::vector<int32_t>& facts = rows.Facts;
    TStatDrawArray values;
    for (int idx = first; idx <= newest && waiting > 0; ++idx) {
        TRunState runState;
        method.DrawValues(idx, lastIdx, sorted, runState, values);
        if (!RunStateIsZero(runState)) {
            for (std::size_t i = 0; i < rows.size(); ++i)
                if (starts[i] >= 0)
                    facts[i] = method.FindNextOccurrence(rows.Entries[i], starts[i], lastIdx, sorted);
            return;
        }
        for (const TStatEntry& x : values)
            index.Prefetch(StatKey(x));
        for (const TStatEntry& x : values)
            for (uint32_t r = index.First(StatKey(x)); r != TRowIndex::None; r = index.Next(r))
                if (facts[r] == -1 && starts[r] >= 0 && starts[r] <= idx) {
                    facts[r] = x.Draw;
                    --waiting;
                }
    }
}

// Forecasts of a row, nullopt where the column shows "-".
std::optional<int64_t> ForecastPrd(const TStatTable& t, const TStatEntry& e) {
    if (e.Depth == 0 || e.Count < 2)
        return std::nullopt;
    // N / Count + Draw as one fraction, so that a half rounds by the whole sum.
    return DivideRounded(int64_t{t.Window.N} + int64_t{e.Draw} * e.Count, e.Count);
}
// Exact integer products and quotients: they cannot wrap for any archive.
std::optional<int64_t> ForecastStf(const TStatEntry& e) {
    if (e.Depth == 0 || e.Count < 1)
        return std::nullopt;
    return DivideRounded((int64_t{e.Count} + 1) * e.Draw, e.Count);
}
std::optional<int64_t> ForecastKrn(const TStatEntry& e) {
    if (e.Depth == 0 || e.Count < 1)
        return std::nullopt;
    return DivideRounded((int64_t{e.Count} + 2) * (int64_t{e.Draw} + 1), int64_t{e.Count} + 1);
}

// The forecast against the draw that came: "+" for a draw later than forecast.
std::string FactDeviationText(const std::optional<int64_t>& forecast, int32_t fact) {
    int64_t d = 0;
    if (fact == -1 || !forecast || *forecast < 0 || __builtin_sub_overflow(*forecast, int64_t{fact}, &d))
        return Dash;
    std::string text = std::to_string(d);
    if (d > 0)
        text.insert(text.begin(), '+');
    return text;
}

std::string NumberOrDash(const std::optional<int64_t>& v) {
    return v ? std::to_string(*v) : Dash;
}

TChartSeries MakeSeries(const char* title, TColour line, int width, TColour marker, bool markersVisible) {
    TChartSeries s;
    s.Title = title;
    s.LineColour = line;
    s.LineWidth = width;
    s.MarkerOutline = marker;
    s.MarkerSize = 2;
    s.MarkersVisible = markersVisible;
    return s;
}

// ---- Sorting ----------------------------------------------------------------

// A whole number text in the table's sense: optional sign, digits with an optional
// fraction and exponent, surrounding blanks allowed; "," stands for ".".
bool TextToNumber(std::string_view text, double& out) {
    text = TrimView(text);
    char buf[64];
    if (text.empty() || text.size() > sizeof buf)
        return false; // longer than any number the table writes
    std::replace_copy(text.begin(), text.end(), buf, ',', '.');
    const std::size_t start = buf[0] == '+' || buf[0] == '-' ? 1 : 0;
    if (start >= text.size() || !(std::isdigit(static_cast<unsigned char>(buf[start])) || buf[start] == '.'))
        return false;
    const char* last = buf + text.size();
    const auto [end, ec] = std::from_chars(buf + start, last, out, std::chars_format::general);
    if (ec != std::errc() || end != last)
        return false;
    if (buf[0] == '-')
        out = -out;
    return true;
}

struct TSortKey {
    bool IsNumber = false;
    double Number = 0;
    std::string Upper;
};

std::string UpperText(std::string_view text) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        std::string upper(text);
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return upper;
    }
    return Utf8ToUpper(text);
}

TSortKey MakeSortKey(std::string_view text) {
    TSortKey k;
    k.IsNumber = TextToNumber(text, k.Number);
    k.Upper = UpperText(text);
    return k;
}

int CompareKeys(const TSortKey& a, const TSortKey& b) {
    if (a.IsNumber && b.IsNumber)
        return a.Number < b.Number ? -1 : (a.Number > b.Number ? 1 : 0);
    const int c = a.Upper.compare(b.Upper); // UTF-8 bytes compare in code point order
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// A sort key as two words that compare as unsigned integers in the key's order among
// keys of its kind: a number's bits made monotonic, or a text's first 16 bytes
// big-endian (no text holds a zero byte). Texts longer than that keep their whole
// key aside for ties on the prefix.
struct TPackedKey {
    uint64_t Hi = 0;
    uint64_t Lo = 0;
    uint32_t Long = 0; // 1 + index of the whole key, 0: the words say it all
};

class TPackedKeys {
public:
    bool SawNumber = false;
    bool SawText = false;

    TPackedKey Pack(std::string_view text) {
        TSortKey k = MakeSortKey(text);
        TPackedKey p;
        if (k.IsNumber) {
            SawNumber = true;
            const uint64_t bits = std::bit_cast<uint64_t>(k.Number + 0.0); // -0 as 0
            p.Hi = bits >> 63 != 0 ? ~bits : bits | uint64_t{1} << 63;
            return p;
        }
        SawText = true;
        unsigned char bytes[16] = {};
        std::memcpy(bytes, k.Upper.data(), std::min<std::size_t>(k.Upper.size(), sizeof bytes));
        for (int i = 0; i < 8; ++i) {
            p.Hi = p.Hi << 8 | bytes[i];
            p.Lo = p.Lo << 8 | bytes[8 + i];
        }
        if (k.Upper.size() > sizeof bytes) {
            Long_.push_back(std::move(k));
            p.Long = static_cast<uint32_t>(Long_.size());
        }
        return p;
    }
    bool OneKind() const { return !(SawNumber && SawText); }
    // Keys of one kind.
    int Compare(const TPackedKey& a, const TPackedKey& b) const {
        if (a.Hi != b.Hi)
            return a.Hi < b.Hi ? -1 : 1;
        if (a.Lo != b.Lo)
            return a.Lo < b.Lo ? -1 : 1;
        if (a.Long == 0 && b.Long == 0)
            return 0;
        if (a.Long == 0 || b.Long == 0) // the other is longer with the same start
            return a.Long == 0 ? -1 : 1;
        return CompareKeys(Long_[a.Long - 1], Long_[b.Long - 1]);
    }

private:
    std::vector<TSortKey> Long_;
};

// The whole number a column shows for a row, as the sort reads it; nullopt where the
// column may show something else.
std::optional<int64_t> IntegerCell(const TStatTable& t, const TStatEntry& e, int column) {
    switch (column) {
    case StatColCount:
        return e.Count;
    case StatColNorm:
        return t.HasNorm ? std::optional<int64_t>(e.Norm) : std::nullopt;
    case StatColDeviation:
        return t.HasNorm ? std::optional<int64_t>(int64_t{e.Count} - e.Norm) : std::nullopt;
    case StatColDepth:
        return e.Depth != 0 ? std::optional<int64_t>(e.Depth) : std::nullopt;
    case StatColDraw:
        return e.Depth != 0 ? std::optional<int64_t>(e.Draw) : std::nullopt;
    default:
        return std::nullopt;
    }
}

// Stable sort of words by their bits from..to - 1, a digit at a time from the lowest,
// leaving out digits that all words share.
void RadixSort(std::vector<uint64_t>& items, int from, int to) {
    constexpr int DigitBits = 11;
    constexpr std::size_t Digits = std::size_t{1} << DigitBits;
    std::vector<uint64_t> buffer(items.size());
    std::vector<uint32_t> counts(Digits);
    for (int shift = from; shift < to; shift += DigitBits) {
        std::fill(counts.begin(), counts.end(), 0u);
        for (const uint64_t x : items)
            ++counts[x >> shift & (Digits - 1)];
        if (std::find(counts.begin(), counts.end(), items.size()) != counts.end())
            continue;
        uint32_t at = 0;
        for (uint32_t& c : counts)
            at += std::exchange(c, at);
        for (const uint64_t x : items)
            buffer[counts[x >> shift & (Digits - 1)]++] = x;
        items.swap(buffer);
    }
}

// Sorts rows by a column of whole numbers and caption keys of the method, packed with
// the row index into one word per row, so that no text is written: tuple tables hold
// hundreds of thousands of rows. False, leaving the order alone, when the column, the
// method or the width of the keys does not allow it.
bool SortByNumbers(TStatTable& table, int column, bool descending) {
    const TStatDrawArray& entries = table.Rows.Entries;
    if (entries.empty() || !table.Method)
        return false;
    const TCustomStat& method = *table.Method;
    const bool byCaption = column == StatColValue;
    uint64_t captionMin = std::numeric_limits<uint64_t>::max(), captionMax = 0;
    int64_t cellMin = std::numeric_limits<int64_t>::max(), cellMax = std::numeric_limits<int64_t>::min();
    for (const TStatEntry& e : entries) {
        uint64_t caption = 0;
        if (!method.CaptionOrderKey(e, caption))
            return false;
        captionMin = std::min(captionMin, caption);
        captionMax = std::max(captionMax, caption);
        if (!byCaption) {
            const std::optional<int64_t> cell = IntegerCell(table, e, column);
            if (!cell)
                return false;
            cellMin = std::min(cellMin, *cell);
            cellMax = std::max(cellMax, *cell);
        }
    }
    const int rowBits = std::bit_width(entries.size() - 1);
    const int captionBits = std::bit_width(captionMax - captionMin);
    const int cellBits =
        byCaption ? 0 : std::bit_width(static_cast<uint64_t>(cellMax) - static_cast<uint64_t>(cellMin));
    if (rowBits + captionBits + cellBits > 64)
        return false;
    std::vector<uint64_t> items(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TStatEntry& e = entries[i];
        uint64_t caption = 0;
        method.CaptionOrderKey(e, caption);
        caption = descending ? captionMax - caption : caption - captionMin;
        uint64_t cell = 0;
        if (!byCaption) {
            const auto value = static_cast<uint64_t>(*IntegerCell(table, e, column));
            cell =
                descending ? static_cast<uint64_t>(cellMax) - value : value - static_cast<uint64_t>(cellMin);
        }
        // A shift by 64 is undefined: the parts that are there are shifted by less.
        uint64_t item = i;
        if (captionBits > 0)
            item |= caption << rowBits;
        if (cellBits > 0)
            item |= cell << (rowBits + captionBits);
        items[i] = item;
    }
    RadixSort(items, rowBits, rowBits + captionBits + cellBits);
    const uint64_t rowMask = rowBits == 0 ? 0 : ~uint64_t{0} >> (64 - rowBits);
    for (std::size_t i = 0; i < items.size(); ++i)
        table.Order[i] = static_cast<std::size_t>(items[i] & rowMask);
    return true;
}

// Sorts rows by packed keys held next to each other, the row index last for the
// order a stable sort gives; false, leaving the order alone, when numbers and texts
// meet in the column or the captions.
bool SortPacked(TStatTable& table, int column, bool descending) {
    struct TItem {
        TPackedKey Key;
        TPackedKey Caption;
        uint32_t Row = 0;
    };
    TPackedKeys keys, captions;
    std::vector<TItem> items(table.Rows.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TStatRow& row = table.Rows[i];
        items[i].Caption = captions.Pack(table.Text(row, StatColValue));
        items[i].Key = column == StatColValue ? items[i].Caption : keys.Pack(table.Text(row, column));
        items[i].Row = static_cast<uint32_t>(i);
    }
    const TPackedKeys& columnKeys = column == StatColValue ? captions : keys;
    if (!columnKeys.OneKind() || !captions.OneKind())
        return false;
    std::sort(items.begin(), items.end(), [&](const TItem& a, const TItem& b) {
        int c = columnKeys.Compare(a.Key, b.Key);
        if (c == 0)
            c = captions.Compare(a.Caption, b.Caption);
        if (descending)
            c = -c;
        return c != 0 ? c < 0 : a.Row < b.Row;
    });
    for (std::size_t i = 0; i < items.size(); ++i)
        table.Order[i] = items[i].Row;
    return true;
}

// Stable merge sort that stays within bounds even when the order is not transitive,
// as it is not when numbers and texts meet ("-" < "0" < "+2" < "-").
template <typename Less> void MergeSort(std::vector<std::size_t>& items, Less less) {
    std::vector<std::size_t> buffer(items.size());
    for (std::size_t width = 1; width < items.size(); width *= 2) {
        for (std::size_t lo = 0; lo < items.size(); lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, items.size());
            const std::size_t hi = std::min(lo + 2 * width, items.size());
            std::size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi)
                buffer[k++] = less(items[j], items[i]) ? items[j++] : items[i++];
            while (i < mid)
                buffer[k++] = items[i++];
            while (j < hi)
                buffer[k++] = items[j++];
        }
        items.swap(buffer);
    }
}

} // namespace

const std::array<const char*, StatColumnCount>& StatColumnCaptions() {
    static const std::array<const char*, StatColumnCount> captions = {
        "Значение",    "Количество", "Кол-во в %",  "Норма",      "Отклонение", "Откл-ие в %", "Глубина",
        "Глубина в %", "Вес",        "Посл. тираж", "Период min", "Период",     "Период max",  "Ожд. ПРД",
        "Ожд. СТФ",    "Ожд. КРН",   "Факт",        "+/- ПРД",    "+/- СТФ",    "+/- КРН"};
    return captions;
}

// |count x Numerator| stays below 2^63: the count is 32-bit and the numerator, at
// most the sum of two 32-bit counts, lies within -2^31..2^32 - 2.
int64_t TNormScale::Norm(int32_t fullCount) const {
    return DivideRounded(int64_t{fullCount} * Numerator, Denominator);
}

long double TNormScale::Value(int32_t fullCount) const {
    return static_cast<long double>(int64_t{fullCount} * Numerator) / static_cast<long double>(Denominator);
}

TNormScale NormScale(int32_t minCount, int32_t maxCount, int32_t fullMin, int32_t fullMax) {
    TNormScale scale;
    if (fullMax <= 0)
        return scale;
    if (fullMax == fullMin) {
        scale.Numerator = int64_t{maxCount} + minCount;
        scale.Denominator = 2 * int64_t{fullMax};
    } else {
        scale.Numerator = maxCount;
        scale.Denominator = fullMax;
    }
    return scale;
}

TStatWindow StatWindow(std::size_t drawCount, int offset, int len) {
    TStatWindow w;
    const int64_t last = static_cast<int64_t>(drawCount) - 1 - offset;
    const int64_t first = std::max<int64_t>(0, last - len + 1);
    w.LastIdx = ClampToInt32(last);
    w.FirstIdx = ClampToInt32(first);
    w.N = ClampToInt32(last - first + 1);
    return w;
}

TStatTable ComputeStatTable(std::shared_ptr<TCustomStat> method, const TDrawsArray& draws,
                            const TStatWindow& window, bool sorted, const TPrefetchData* prefetch,
                            const TConfigData& config, bool showTotalLine) {
    TStatTable t;
    t.Window = window;
    t.Config = config;
    t.ShowTotalLine = showTotalLine;

    // A window read with a zero RunState and an empty value list before every draw
    // yields what a search reads from each of its draws; then a value's next
    // occurrence lies past the window, since its last draw in the window is its last.
    bool stateFree = true;
    TStatDrawArray stat;
    if (window.LastIdx >= window.FirstIdx) {
        method->SeedValues(window.LastIdx, stat);
        const std::size_t seeded = stat.size();
        TRunState runState;
        TLastValueArray lastValues;
        for (int idx = window.FirstIdx; idx <= window.LastIdx; ++idx) {
            method->AddDraw(idx, window.LastIdx, sorted, stat, runState, lastValues);
            stateFree = stateFree && lastValues.empty() && RunStateIsZero(runState);
            if (idx == window.FirstIdx) {
                // Room for as many new values a draw as the first one brought: a list of
                // hundreds of thousands is not copied over and over as it grows. Pages
                // never written to cost nothing.
                const std::size_t perDraw = stat.size() - seeded;
                const auto draws = static_cast<std::size_t>(window.LastIdx - window.FirstIdx);
                stat.reserve(stat.size() + std::min(perDraw * draws, MaxReservedValues));
            }
        }
    }
    SummarizeStatEntries(stat, t.MinCount, t.MaxCount, t.MaxDepth, t.Total);
    t.Rows.Entries = std::move(stat);
    t.Rows.Facts.assign(t.Rows.size(), -1);
    TStatDrawArray& entries = t.Rows.Entries;
    const TRowIndex index(entries);

    if (prefetch && prefetch->MaxCount > 0) {
        t.Scale = NormScale(t.MinCount, t.MaxCount, prefetch->MinCount, prefetch->MaxCount);
        t.HasNorm = true;
        t.Prefetch = std::make_shared<const TPrefetchData>(*prefetch);
        const std::vector<TPrefetchRecord>& records = prefetch->Records;
        constexpr std::size_t Ahead = 8;
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (i + Ahead < records.size())
                index.Prefetch(PrefetchKey(records[i + Ahead]));
            if (const uint32_t row = index.First(PrefetchKey(records[i])); row != TRowIndex::None)
                entries[row].Norm = ClampToInt32(t.Scale.Norm(records[i].Count));
        }
    }

    // Rows by the hundred thousand share the window's thousand draws: each draw is
    // looked up once.
    int32_t lowest = std::numeric_limits<int32_t>::max(), highest = std::numeric_limits<int32_t>::min();
    for (const TStatEntry& e : entries) {
        lowest = std::min(lowest, e.Draw);
        highest = std::max(highest, e.Draw);
    }
    constexpr int NotLookedUp = -2;
    std::vector<int> drawIndex;
    if (!t.Rows.empty() && int64_t{highest} - lowest < (int64_t{1} << 20))
        drawIndex.assign(static_cast<std::size_t>(int64_t{highest} - lowest + 1), NotLookedUp);
    const auto indexOf = [&](int32_t number) {
        if (drawIndex.empty())
            return FindDrawIndex(draws, number);
        int& at = drawIndex[static_cast<std::size_t>(int64_t{number} - lowest)];
        if (at == NotLookedUp)
            at = FindDrawIndex(draws, number);
        return at;
    };

    std::vector<int> starts(entries.size(), -1);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TStatEntry& e = entries[i];
        if (e.Depth == 0 || e.Count < 1)
            continue;
        const int at = indexOf(e.Draw);
        if (at >= 0)
            starts[i] = stateFree ? std::max(at, window.LastIdx) + 1 : at + 1;
    }
    FindNextOccurrences(*method, draws, window.LastIdx, sorted, t.Rows, starts, index);

    t.Method = std::move(method);
    t.Order.resize(t.Rows.size());
    for (std::size_t i = 0; i < t.Order.size(); ++i)
        t.Order[i] = i;
    return t;
}

std::string TStatTable::Text(const TStatRow& row, int column) const {
    const TStatEntry& e = row.Entry;
    switch (column) {
    case StatColValue:
        return Method ? Method->ValueText(e) : std::string();
    case StatColCount:
        return std::to_string(e.Count);
    case StatColCountPct:
        return Total == 0
                   ? Dash
                   : FixedText(static_cast<long double>(e.Count) * 100 / static_cast<long double>(Total), 5);
    case StatColNorm:
        return HasNorm ? std::to_string(e.Norm) : Dash;
    case StatColDeviation:
        return HasNorm ? std::to_string(int64_t{e.Count} - e.Norm) : Dash;
    case StatColDeviationPct: {
        if (!HasNorm)
            return Dash;
        const int64_t deviation = int64_t{e.Count} - e.Norm;
        const long double pct =
            e.Norm != 0 ? static_cast<long double>(deviation) * 100 / e.Norm : (e.Count != 0 ? 100.0L : 0.0L);
        return FixedText(pct, 5);
    }
    default:
        break;
    }
    if (e.Depth == 0 || column < 0 || column >= StatColumnCount)
        return Dash;
    switch (column) {
    case StatColDepth:
        return std::to_string(e.Depth);
    case StatColDepthPct:
        return MaxDepth != 0 ? FixedText(static_cast<long double>(e.Depth) * 100 / MaxDepth, 2) : Dash;
    case StatColWeight:
        return FixedText(
            CdlWeight(Config, HasNorm, e.Count, e.Norm, e.Depth, static_cast<long double>(Total), MaxDepth),
            2);
    case StatColDraw:
        return std::to_string(e.Draw);
    // Occurrences all in one draw (a digit of two numbers) measure no period: 0 would read as one.
    case StatColPeriodMin:
        return e.Count >= 2 && e.PeriodMax != 0 ? std::to_string(e.PeriodMin) : Dash;
    case StatColPeriodMax:
        return e.Count >= 2 && e.PeriodMax != 0 ? std::to_string(e.PeriodMax) : Dash;
    case StatColPeriod:
        return e.Count >= 2 ? FixedText(static_cast<long double>(Window.N) / e.Count, 4) : Dash;
    case StatColForecastPrd:
        return NumberOrDash(ForecastPrd(*this, e));
    case StatColForecastStf:
        return NumberOrDash(ForecastStf(e));
    case StatColForecastKrn:
        return NumberOrDash(ForecastKrn(e));
    case StatColFact:
        return row.Fact == -1 ? Dash : std::to_string(row.Fact);
    case StatColDeviationPrd:
        return FactDeviationText(ForecastPrd(*this, e), row.Fact);
    case StatColDeviationStf:
        return FactDeviationText(ForecastStf(e), row.Fact);
    case StatColDeviationKrn:
        return FactDeviationText(ForecastKrn(e), row.Fact);
    default:
        return Dash;
    }
}

std::array<std::string, StatColumnCount> TStatTable::Texts(const TStatRow& row) const {
    std::array<std::string, StatColumnCount> texts;
    for (int c = 0; c < StatColumnCount; ++c)
        texts[static_cast<std::size_t>(c)] = Text(row, c);
    return texts;
}

std::vector<TChartSeries> StatChart(const TStatTable& t) {
    std::vector<TChartSeries> chart;
    if (t.Rows.size() <= 1 || !t.Method)
        return chart;
    const TCustomStat& method = *t.Method;
    chart.push_back(MakeSeries(ActualSeriesTitle, ActualLineColour, 2, ActualMarkerColour, true));
    if (t.HasNorm && t.Prefetch) {
        const TRowIndex index(t.Rows.Entries);
        if (t.ShowTotalLine)
            chart.push_back(MakeSeries(FullSetSeriesTitle, FullSetLineColour, 1, FullSetMarkerColour, false));
        double k = 0;
        for (const TPrefetchRecord& r : t.Prefetch->Records) {
            ++k;
            if (t.ShowTotalLine)
                chart[1].Points.push_back({k, static_cast<double>(t.Scale.Value(r.Count)),
                                           method.ValueText(StatEntryFromPrefetch(r))});
            if (const uint32_t row = index.First(PrefetchKey(r)); row != TRowIndex::None) {
                const TStatEntry& e = t.Rows.Entries[row];
                chart[0].Points.push_back({k, static_cast<double>(e.Count), method.ValueText(e)});
            }
        }
        return chart;
    }
    TStatDrawArray byValue = t.Rows.Entries;
    SortStatEntries(byValue);
    double x = 0;
    for (const TStatEntry& e : byValue)
        chart[0].Points.push_back({x++, static_cast<double>(e.Count), method.ValueText(e)});
    return chart;
}

TStatValues RowValues(const TStatTable& table, const TStatRow& row) {
    TStatValues v;
    v.Value = table.Text(row, StatColValue);
    v.Count = table.Text(row, StatColCount);
    v.CountPct = table.Text(row, StatColCountPct);
    v.Deviation = table.Text(row, StatColDeviation);
    v.DeviationPct = table.Text(row, StatColDeviationPct);
    v.Depth = table.Text(row, StatColDepth);
    v.DepthPct = table.Text(row, StatColDepthPct);
    v.Weight = table.Text(row, StatColWeight);
    v.PeriodMin = table.Text(row, StatColPeriodMin);
    v.Period = table.Text(row, StatColPeriod);
    v.PeriodMax = table.Text(row, StatColPeriodMax);
    return v;
}

int CompareStatTexts(std::string_view a, std::string_view b) {
    return CompareKeys(MakeSortKey(a), MakeSortKey(b));
}

void SortStatTable(TStatTable& table, int column, bool descending) {
    if (column < -1 || column >= StatColumnCount)
        throw Error(Format(BadSortColumnText, column));
    table.SortColumn = column;
    table.SortDescending = descending;
    table.Order.resize(table.Rows.size());
    for (std::size_t i = 0; i < table.Order.size(); ++i)
        table.Order[i] = i;
    if (column < 0)
        return;

    if (SortByNumbers(table, column, descending) || SortPacked(table, column, descending))
        return;

    // Numbers meeting texts ("-" < "0" < "+2" < "-") have no total order: a merge sort
    // stays in bounds and gives every row once all the same.
    std::vector<TSortKey> keys, captions;
    keys.reserve(table.Rows.size());
    captions.reserve(table.Rows.size());
    for (const TStatRow& row : table.Rows) {
        captions.push_back(MakeSortKey(table.Text(row, StatColValue)));
        keys.push_back(column == StatColValue ? captions.back() : MakeSortKey(table.Text(row, column)));
    }
    MergeSort(table.Order, [&](std::size_t a, std::size_t b) {
        int c = CompareKeys(keys[a], keys[b]);
        if (c == 0)
            c = CompareKeys(captions[a], captions[b]);
        return descending ? c > 0 : c < 0;
    });
}

} // namespace kumby
