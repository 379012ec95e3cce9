#include "StatTable.h"

#include "draws/DrawArchive.h"
#include "stats/VexoFilters.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

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

} // namespace kumby
