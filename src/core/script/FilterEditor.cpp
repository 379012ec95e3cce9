#include "script/FilterEditor.h"

#include "model/VexoUtils.h"
#include "stats/StatList.h"

namespace kumby {

namespace {

constexpr int WeightFirst = 19; // "WMV"
constexpr int WeightLast = 21;  // "WDV"

bool MethodHasNumericValues(const TStatList& registry, int method) {
    return method >= 0 && static_cast<std::size_t>(method) < registry.Count() &&
           registry.Items(static_cast<std::size_t>(method)).StatClass->NumericValues;
}

} // namespace

std::optional<TFilterEditorProblem> FilterEditorProblem(const TFilterItem& item, const TStatList& registry) {
    const TIntArray lengths = ParseIntList(item.DrawsLen);
    if (lengths.empty() || (lengths.size() == 1 && lengths[0] == 0))
        return TFilterEditorProblem{TFilterEditorField::DrawsLen, FilterRangeErrorText};
    if (item.LevelMode != LevelNone) {
        if (item.LevelMode == LevelValues && !MethodHasNumericValues(registry, item.Method))
            return TFilterEditorProblem{TFilterEditorField::LevelMode, FilterValuesModeErrorText};
        if (ParseIntList(item.LevelValue).empty())
            return TFilterEditorProblem{TFilterEditorField::LevelValue, FilterRangeErrorText};
    }
    if (item.MultiSelect && item.StopMode == StopSC)
        return TFilterEditorProblem{TFilterEditorField::StopMode, FilterMultiStopErrorText};
    return std::nullopt;
}

bool FilterOverrideAvailable(int levelMode) {
    return levelMode >= WeightFirst && levelMode <= WeightLast;
}

bool NumberListCharAllowed(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= U'0' && c <= U'9') || c == U',' || c == U'-' || c == U';';
}

} // namespace kumby
