#include "script/ScriptCriteria.h"

#include "model/Error.h"
#include "model/VexoUtils.h"

#include <cmath>
#include <cstdlib>
#include <optional>

namespace kumby {

namespace {

constexpr int32_t NoUpperBound = 65535;

std::optional<long double> ToFloat(std::string_view text) {
    std::string s(TrimView(text));
    if (s.empty())
        return std::nullopt;
    for (char& c : s)
        if (c == ',')
            c = '.';
    char* end = nullptr;
    const long double value = std::strtold(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(value))
        return std::nullopt;
    // strtold also takes hexadecimal and "inf"/"nan"; a table never shows them.
    for (char c : s)
        if (!(c == '-' || c == '+' || c == '.' || (c >= '0' && c <= '9')))
            return std::nullopt;
    return value;
}

int32_t ListInt(std::string_view text) {
    int32_t value = 0;
    if (!TryParseInt(TrimView(text), value))
        throw Error(Format("\"%s\" не является целым числом!", std::string(TrimView(text)).c_str()));
    return value;
}

long double ListFloat(std::string_view text) {
    const std::optional<long double> value = ToFloat(text);
    if (!value)
        throw Error(Format("\"%s\" не является числом!", std::string(TrimView(text)).c_str()));
    return *value;
}

bool ListHasInt(std::string_view list, std::string_view cell) {
    const int32_t value = ListInt(cell);
    for (std::string_view word : SplitWords(list, ",;"))
        if (ListInt(word) == value)
            return true;
    return false;
}

bool ListHasFloat(std::string_view list, std::string_view cell) {
    const long double value = ListFloat(cell);
    for (std::string_view word : SplitWords(list, ",;"))
        if (ListFloat(word) == value)
            return true;
    return false;
}

bool ListHasKey(std::string_view list, int32_t key) {
    for (std::string_view word : SplitWords(list, ",;"))
        if (ListInt(word) == key)
            return true;
    return false;
}

} // namespace

int32_t CellInt(std::string_view text, int32_t fallback) {
    int32_t value = 0;
    return TryParseInt(TrimView(text), value) ? value : fallback;
}

long double CellFloat(std::string_view text, long double fallback) {
    return ToFloat(text).value_or(fallback);
}

bool RowMeetsCriterion(const TFilterPart& part, const TStatValues& row) {
    const std::string_view list = part.LevelList;
    const int32_t v = CellInt(list, 0);
    const auto atLeast = [v](std::string_view cell) { return CellInt(cell, 0) >= v; };
    const auto atMost = [v](std::string_view cell) { return CellInt(cell, NoUpperBound) <= v; };
    const auto pctAtLeast = [v](std::string_view cell) { return CellFloat(cell, 0) >= v; };
    const auto pctAtMost = [v](std::string_view cell) { return CellFloat(cell, NoUpperBound) <= v; };
    switch (part.LevelMode) {
    case 0:
        return true;
    case 1:
        return atLeast(row.Depth);
    case 2:
        return pctAtLeast(row.DepthPct);
    case 3:
        return atMost(row.Depth);
    case 4:
        return pctAtMost(row.DepthPct);
    case 5:
        return ListHasInt(list, row.Depth);
    case 6:
        return ListHasFloat(list, row.DepthPct);
    case 7:
        return atLeast(row.Deviation);
    case 8:
        return pctAtLeast(row.DeviationPct);
    case 9:
        return atMost(row.Deviation);
    case 10:
        return pctAtMost(row.DeviationPct);
    case 11:
        return ListHasInt(list, row.Deviation);
    case 12:
        return ListHasFloat(list, row.DeviationPct);
    case 13:
        return atLeast(row.Count);
    case 14:
        return pctAtLeast(row.CountPct);
    case 15:
        return atMost(row.Count);
    case 16:
        return pctAtMost(row.CountPct);
    case 17:
        return ListHasInt(list, row.Count);
    case 18:
        return ListHasFloat(list, row.CountPct);
    case 19:
        return CellFloat(row.Weight, 0) >= v;
    case 20:
        return CellFloat(row.Weight, 0) <= v;
    case 21:
        return ListHasFloat(list, row.Weight);
    case 22:
        return atLeast(row.PeriodMin);
    case 23:
        return atMost(row.PeriodMin);
    case 24:
        return ListHasInt(list, row.PeriodMin);
    case 25:
        return CellFloat(row.Period, 0) >= v;
    case 26:
        return CellFloat(row.Period, 0) <= v;
    case 27:
        return ListHasFloat(list, row.Period);
    case 28:
        return atLeast(row.PeriodMax);
    case 29:
        return atMost(row.PeriodMax);
    case 30:
        return ListHasInt(list, row.PeriodMax);
    case 31:
        return ListHasKey(list, row.Key);
    default:
        return false;
    }
}

bool WalkStopsAt(const TFilterPart& part, const TStatValues& row, int step) {
    switch (part.StopMode) {
    case StopSV: {
        const int32_t count = CellInt(row.Count, 0);
        return part.BottomUp ? count >= part.StopValue : count <= part.StopValue;
    }
    case StopSP: {
        const long double pct = CellFloat(row.CountPct, 0);
        return part.BottomUp ? pct >= part.StopValue : pct <= part.StopValue;
    }
    case StopST:
        return step >= part.StopValue;
    default:
        return false;
    }
}

} // namespace kumby
