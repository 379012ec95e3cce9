#include "StatTable.h"

#include "draws/DrawArchive.h"
#include "model/Cp1251.h"
#include "model/Error.h"
#include "stats/VexoFilters.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace kumby {

namespace {

// A std::string rather than a literal: assigning the literal into the cells trips a
// false -Wrestrict of GCC 12 at -O3.
const std::string Dash = "-";

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

// First index of every key, as the table's lookups "the first entry with equal keys" need.
std::unordered_map<uint64_t, std::size_t> FirstIndexByKey(const TStatDrawArray& stat) {
    std::unordered_map<uint64_t, std::size_t> index;
    index.reserve(stat.size() * 2);
    for (std::size_t i = 0; i < stat.size(); ++i)
        index.emplace(StatKey(stat[i]), i);
    return index;
}

uint64_t PrefetchKey(const TPrefetchRecord& r) {
    return uint64_t{r.Key1} | uint64_t{r.Key2} << 16 | uint64_t{r.Key3} << 32 | uint64_t{r.Key4} << 48;
}

bool RunStateIsZero(const TRunState& s) {
    return std::all_of(std::begin(s.Values), std::end(s.Values), [](int32_t v) { return v == 0; });
}

struct TSearch {
    std::size_t Row;
    int StartIdx;
    uint64_t Key;
    TStatEntry Entry;
};

// The "Факт" column of all rows at once. Each search of FindNextOccurrence starts
// with a zero RunState and a fresh value list per draw; as long as the method leaves
// the RunState untouched, what a draw yields does not depend on where the search
// began, so one forward pass over the draws answers every search at its first hit.
// A method that carries state in the RunState is asked row by row instead.
void FindNextOccurrences(TCustomStat& method, const TDrawsArray& draws, int lastIdx, bool sorted,
                         std::vector<TSearch>& searches, std::vector<int32_t>& found) {
    const int newest = static_cast<int>(draws.size()) - 1;
    std::stable_sort(searches.begin(), searches.end(),
                     [](const TSearch& a, const TSearch& b) { return a.StartIdx < b.StartIdx; });

    std::unordered_map<uint64_t, std::vector<std::size_t>> pending; // key -> rows waiting for it
    std::size_t next = 0;
    std::size_t waiting = 0;
    TStatDrawArray stat;
    TLastValueArray lastValues;
    bool shared = true;
    for (int idx = searches.empty() ? newest + 1 : std::max(searches.front().StartIdx, 0); idx <= newest;
         ++idx) {
        for (; next < searches.size() && searches[next].StartIdx <= idx; ++next) {
            pending[searches[next].Key].push_back(searches[next].Row);
            ++waiting;
        }
        if (waiting == 0) {
            if (next == searches.size())
                break;
            idx = searches[next].StartIdx - 1;
            continue;
        }
        stat.clear();
        lastValues.clear();
        TRunState runState;
        method.AddDraw(idx, lastIdx, sorted, stat, runState, lastValues);
        if (!RunStateIsZero(runState)) {
            shared = false;
            break;
        }
        for (const TStatEntry& x : stat) {
            const auto it = pending.find(StatKey(x));
            if (it == pending.end())
                continue;
            for (std::size_t row : it->second)
                found[row] = x.Draw;
            waiting -= it->second.size();
            pending.erase(it);
        }
    }
    if (shared)
        return;
    for (const TSearch& s : searches)
        found[s.Row] = method.FindNextOccurrence(s.Entry, s.StartIdx, lastIdx, sorted);
}

void FillRow(TStatRow& row, const TStatTable& t, const TConfigData& config, const std::string& caption) {
    const TStatEntry& e = row.Entry;
    auto& c = row.Texts;
    c[StatColValue] = caption;
    c[StatColCount] = std::to_string(e.Count);
    c[StatColCountPct] =
        t.Total == 0
            ? Dash
            : FixedText(static_cast<long double>(e.Count) * 100 / static_cast<long double>(t.Total), 5);
    if (t.HasNorm) {
        const int64_t deviation = int64_t{e.Count} - e.Norm;
        c[StatColNorm] = std::to_string(e.Norm);
        c[StatColDeviation] = std::to_string(deviation);
        const long double pct =
            e.Norm != 0 ? static_cast<long double>(deviation) * 100 / e.Norm : (e.Count != 0 ? 100.0L : 0.0L);
        c[StatColDeviationPct] = FixedText(pct, 5);
    } else {
        c[StatColNorm] = c[StatColDeviation] = c[StatColDeviationPct] = Dash;
    }

    for (int i = StatColDepth; i < StatColumnCount; ++i)
        c[i] = Dash;
    if (e.Depth == 0)
        return;
    c[StatColDepth] = std::to_string(e.Depth);
    c[StatColDepthPct] =
        t.MaxDepth != 0 ? FixedText(static_cast<long double>(e.Depth) * 100 / t.MaxDepth, 2) : Dash;
    c[StatColWeight] = FixedText(
        CdlWeight(config, t.HasNorm, e.Count, e.Norm, e.Depth, static_cast<long double>(t.Total), t.MaxDepth),
        2);
    c[StatColDraw] = std::to_string(e.Draw);
    if (e.Count >= 2) {
        const long double period = static_cast<long double>(t.Window.N) / e.Count;
        // Occurrences all in one draw (a digit of two numbers) measure no period:
        // 0 would read as one.
        if (e.PeriodMax != 0) {
            c[StatColPeriodMin] = std::to_string(e.PeriodMin);
            c[StatColPeriodMax] = std::to_string(e.PeriodMax);
        }
        c[StatColPeriod] = FixedText(period, 4);
        // N / Count + Draw as one fraction, so that a half rounds by the whole sum.
        c[StatColForecastPrd] =
            std::to_string(DivideRounded(int64_t{t.Window.N} + int64_t{e.Draw} * e.Count, e.Count));
    }
    if (e.Count >= 1) {
        // Exact integer products and quotients: they cannot wrap for any archive.
        const int64_t stf = (int64_t{e.Count} + 1) * e.Draw;
        const int64_t krn = (int64_t{e.Count} + 2) * (int64_t{e.Draw} + 1);
        c[StatColForecastStf] = std::to_string(DivideRounded(stf, e.Count));
        c[StatColForecastKrn] = std::to_string(DivideRounded(krn, int64_t{e.Count} + 1));
    }
}

void SetFact(TStatRow& row, int32_t fact) {
    if (fact == -1)
        return;
    auto& c = row.Texts;
    c[StatColFact] = std::to_string(fact);
    c[StatColDeviationPrd] = DeviationText(c[StatColForecastPrd], fact);
    c[StatColDeviationStf] = DeviationText(c[StatColForecastStf], fact);
    c[StatColDeviationKrn] = DeviationText(c[StatColForecastKrn], fact);
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

void BuildChart(TStatTable& t, TCustomStat& method, const TStatDrawArray& stat,
                const std::unordered_map<uint64_t, std::size_t>& byKey, const TPrefetchData* prefetch,
                bool showTotalLine) {
    if (stat.size() <= 1)
        return;
    t.Chart.push_back(MakeSeries(ActualSeriesTitle, ActualLineColour, 2, ActualMarkerColour, true));
    if (t.HasNorm) {
        if (showTotalLine)
            t.Chart.push_back(
                MakeSeries(FullSetSeriesTitle, FullSetLineColour, 1, FullSetMarkerColour, false));
        double k = 0;
        for (const TPrefetchRecord& r : prefetch->Records) {
            ++k;
            if (showTotalLine)
                t.Chart[1].Points.push_back({k, static_cast<double>(t.Scale.Value(r.Count)),
                                             method.ValueText(StatEntryFromPrefetch(r))});
            const auto it = byKey.find(PrefetchKey(r));
            if (it != byKey.end()) {
                const TStatEntry& e = stat[it->second];
                t.Chart[0].Points.push_back({k, static_cast<double>(e.Count), method.ValueText(e)});
            }
        }
        return;
    }
    TStatDrawArray byValue = stat;
    SortStatEntries(byValue);
    double x = 0;
    for (const TStatEntry& e : byValue)
        t.Chart[0].Points.push_back({x++, static_cast<double>(e.Count), method.ValueText(e)});
}

// ---- Sorting ----------------------------------------------------------------

// A whole number text in the table's sense: optional sign, digits with an optional
// fraction and exponent, surrounding blanks allowed; "," stands for ".".
bool TextToNumber(std::string_view text, double& out) {
    std::string s(TrimView(text));
    std::replace(s.begin(), s.end(), ',', '.');
    std::size_t start = 0;
    if (!s.empty() && (s[0] == '+' || s[0] == '-'))
        start = 1;
    if (start >= s.size() || !(std::isdigit(static_cast<unsigned char>(s[start])) || s[start] == '.'))
        return false;
    const char* first = s.data() + start;
    const char* last = s.data() + s.size();
    const auto [end, ec] = std::from_chars(first, last, out, std::chars_format::general);
    if (ec != std::errc() || end != last)
        return false;
    if (s[0] == '-')
        out = -out;
    return true;
}

struct TSortKey {
    bool IsNumber = false;
    double Number = 0;
    std::string Upper;
};

TSortKey MakeSortKey(std::string_view text) {
    TSortKey k;
    k.IsNumber = TextToNumber(text, k.Number);
    k.Upper = Utf8ToUpper(text);
    return k;
}

int CompareKeys(const TSortKey& a, const TSortKey& b) {
    if (a.IsNumber && b.IsNumber)
        return a.Number < b.Number ? -1 : (a.Number > b.Number ? 1 : 0);
    const int c = a.Upper.compare(b.Upper); // UTF-8 bytes compare in code point order
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
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

TStatTable ComputeStatTable(TCustomStat& method, const TDrawsArray& draws, const TStatWindow& window,
                            bool sorted, const TPrefetchData* prefetch, const TConfigData& config,
                            bool showTotalLine) {
    TStatTable t;
    t.Window = window;

    TStatDrawArray stat;
    if (window.LastIdx >= window.FirstIdx) {
        method.SeedValues(window.LastIdx, stat);
        TRunState runState;
        TLastValueArray lastValues;
        for (int idx = window.FirstIdx; idx <= window.LastIdx; ++idx)
            method.AddDraw(idx, window.LastIdx, sorted, stat, runState, lastValues);
    }
    SummarizeStatEntries(stat, t.MinCount, t.MaxCount, t.MaxDepth, t.Total);
    const auto byKey = FirstIndexByKey(stat);

    if (prefetch && prefetch->MaxCount > 0) {
        t.Scale = NormScale(t.MinCount, t.MaxCount, prefetch->MinCount, prefetch->MaxCount);
        t.HasNorm = true;
        for (const TPrefetchRecord& r : prefetch->Records) {
            const auto it = byKey.find(PrefetchKey(r));
            if (it != byKey.end())
                stat[it->second].Norm = ClampToInt32(t.Scale.Norm(r.Count));
        }
    }

    t.Rows.resize(stat.size());
    std::vector<TSearch> searches;
    for (std::size_t i = 0; i < stat.size(); ++i) {
        TStatRow& row = t.Rows[i];
        row.Entry = stat[i];
        FillRow(row, t, config, method.ValueText(stat[i]));
        if (stat[i].Depth == 0 || stat[i].Count < 1)
            continue;
        const int at = FindDrawIndex(draws, stat[i].Draw);
        if (at >= 0)
            searches.push_back({i, at + 1, StatKey(stat[i]), stat[i]});
    }
    std::vector<int32_t> found(stat.size(), -1);
    FindNextOccurrences(method, draws, window.LastIdx, sorted, searches, found);
    for (std::size_t i = 0; i < stat.size(); ++i)
        SetFact(t.Rows[i], found[i]);

    BuildChart(t, method, stat, byKey, prefetch, showTotalLine);

    t.Order.resize(t.Rows.size());
    for (std::size_t i = 0; i < t.Order.size(); ++i)
        t.Order[i] = i;
    return t;
}

TStatValues RowValues(const TStatRow& row) {
    const auto& c = row.Texts;
    TStatValues v;
    v.Value = c[StatColValue];
    v.Count = c[StatColCount];
    v.CountPct = c[StatColCountPct];
    v.Deviation = c[StatColDeviation];
    v.DeviationPct = c[StatColDeviationPct];
    v.Depth = c[StatColDepth];
    v.DepthPct = c[StatColDepthPct];
    v.Weight = c[StatColWeight];
    v.PeriodMin = c[StatColPeriodMin];
    v.Period = c[StatColPeriod];
    v.PeriodMax = c[StatColPeriodMax];
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

    std::vector<TSortKey> keys, captions;
    keys.reserve(table.Rows.size());
    captions.reserve(table.Rows.size());
    for (const TStatRow& row : table.Rows) {
        keys.push_back(MakeSortKey(row.Texts[column]));
        captions.push_back(MakeSortKey(row.Texts[StatColValue]));
    }
    MergeSort(table.Order, [&](std::size_t a, std::size_t b) {
        int c = CompareKeys(keys[a], keys[b]);
        if (c == 0)
            c = CompareKeys(captions[a], captions[b]);
        return descending ? c > 0 : c < 0;
    });
}

} // namespace kumby
