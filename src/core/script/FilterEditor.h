#pragma once

// What the filter editor checks before it takes a filter, and which of its fields
// the user may change.

#include "script/ScriptModel.h"

#include <optional>
#include <string>

namespace kumby {

// The editor's control a refusal points the user at.
enum class TFilterEditorField { DrawsLen, LevelMode, LevelValue, StopMode };

struct TFilterEditorProblem {
    TFilterEditorField Field;
    std::string Message;
};

inline constexpr const char* FilterRangeErrorText = "Введен некорректный диапазон значений!";
inline constexpr const char* FilterValuesModeErrorText =
    "Для данного вида статистики не доступен режим выделения по списку значений!";
inline constexpr const char* FilterMultiStopErrorText =
    "В режиме мультивыделения остановка сценария по количеству комбинаций или чисел не может быть "
    "выполнена!\rВыберите другой способ останова.";

// The first reason to refuse the item, in the order the editor checks them; none
// when it may be taken.
std::optional<TFilterEditorProblem> FilterEditorProblem(const TFilterItem& item, const TStatList& registry);

// Only the weight criteria ("Вес") may bring their own coefficients.
bool FilterOverrideAvailable(int levelMode);

// The characters a number-list field accepts as typed: control characters, digits,
// ",", "-" and ";".
bool NumberListCharAllowed(char32_t c);

} // namespace kumby
