// Sorting of the statistics table: cells compare as numbers where both are numbers,
// else as texts ignoring case; ties go by the captions, then by computation order.

#include "StatTable.h"

#include "model/Cp1251.h"
#include "model/Error.h"
#include "stats/VexoFilters.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

namespace kumby {

namespace {

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
