// Keywords of the script text and the captions the editors and the list show.

#include "ScriptModel.h"

#include <iterator>

namespace kumby {

namespace {

struct TEnumText {
    const char* Keyword;
    const char* Caption;
    const char* ShortCaption;
};

constexpr TEnumText StartTexts[] = {
    {"FULL", "Исходный список (рекомендуется для тестов)", "Исходный список"},
    {"EXCL", "Удалить N последних тиражей (для прогнозов)", "Исключить %d тиражей"},
    {"CURR", "Текущий список (для последовательного выполнения)", "Текущий список"},
};
static_assert(std::size(StartTexts) == StartCombsTypeCount);

constexpr TEnumText ResultTexts[] = {
    {"RAND", "Выбрать одну случайную комбинацию", "Случайно"},
    {"FIRST", "Выбрать первую комбинацию в списке", "Первая"},
    {"LAST", "Выбрать последнюю комбинацию в списке", "Последняя"},
    {"ALL", "Выбрать все комбинации (не рекомендуется)", "Все"},
    {"SYSA", "Системная игра [вся система]", "Система [все]"},
    {"SYSC", "Системная игра [система * комбинации]", "Система [комб]"},
    {"STOP", "Остановить выполнение сценария", "Остановить"},
    {"SKIP", "Пропустить (игнорировать) эту ставку", "Пропустить"},
    {"NONE", "Не делать ставок (для последовательного выполнения)", "Не делать ставок"},
};
static_assert(std::size(ResultTexts) == ResultCombsModeCount);

constexpr TEnumText LevelTexts[] = {
    {"LNO", "Весь список (без условий)", nullptr},
    {"LMV", "\"Глубина\": не менее заданного значения", nullptr},
    {"LMP", "\"Глубина\": не менее заданного процента", nullptr},
    {"LLV", "\"Глубина\": не более заданного значения", nullptr},
    {"LLP", "\"Глубина\": не более заданного процента", nullptr},
    {"LDV", "\"Глубина\": из заданного списка значений", nullptr},
    {"LDP", "\"Глубина\": из заданного списка процентов", nullptr},
    {"DMV", "\"Отклонение\": не менее заданного значения", nullptr},
    {"DMP", "\"Отклонение\": не менее заданного процента", nullptr},
    {"DLV", "\"Отклонение\": не более заданного значения", nullptr},
    {"DLP", "\"Отклонение\": не более заданного процента", nullptr},
    {"DDV", "\"Отклонение\": из заданного списка значений", nullptr},
    {"DDP", "\"Отклонение\": из заданного списка процентов", nullptr},
    {"CMV", "\"Количество\": не менее заданного значения", nullptr},
    {"CMP", "\"Количество\": не менее заданного процента", nullptr},
    {"CLV", "\"Количество\": не более заданного значения", nullptr},
    {"CLP", "\"Количество\": не более заданного процента", nullptr},
    {"CDV", "\"Количество\": из заданного списка значений", nullptr},
    {"CDP", "\"Количество\": из заданного списка процентов", nullptr},
    {"WMV", "\"Вес\": не менее заданного значения", nullptr},
    {"WLV", "\"Вес\": не более заданного значения", nullptr},
    {"WDV", "\"Вес\": из заданного списка значений", nullptr},
    {"PIM", "\"Период min\": не менее заданного значения", nullptr},
    {"PIL", "\"Период min\": не более заданного значения", nullptr},
    {"PIR", "\"Период min\": из заданного списка значений", nullptr},
    {"PAM", "\"Период\": не менее заданного значения", nullptr},
    {"PAL", "\"Период\": не более заданного значения", nullptr},
    {"PAR", "\"Период\": из заданного списка значений", nullptr},
    {"PXM", "\"Период max\": не менее заданного значения", nullptr},
    {"PXL", "\"Период max\": не более заданного значения", nullptr},
    {"PXR", "\"Период max\": из заданного списка значений", nullptr},
    {"LVA", "\"Значения\": из заданного списка значений", nullptr},
};
static_assert(std::size(LevelTexts) == LevelModeCount);

constexpr TEnumText StopTexts[] = {
    {"SF", "Обработать все записи", nullptr},
    {"SC", "Количеству оставшихся комбинаций", nullptr},
    {"SZ", "Пока список не будет пуст и откатить на шаг", nullptr},
    {"ST", "Количеству шагов", nullptr},
    {"SV", "Значению в списке статистики", nullptr},
    {"SP", "Процентному соотношению в списке статистики", nullptr},
};
static_assert(std::size(StopTexts) == StopModeCount);

template <std::size_t N> const TEnumText* Lookup(const TEnumText (&table)[N], int value) {
    return value >= 0 && static_cast<std::size_t>(value) < N ? &table[value] : nullptr;
}

template <std::size_t N> const char* KeywordOf(const TEnumText (&table)[N], int value) {
    const TEnumText* t = Lookup(table, value);
    return t ? t->Keyword : ScriptErrorCaption;
}

template <std::size_t N> const char* CaptionOf(const TEnumText (&table)[N], int value) {
    const TEnumText* t = Lookup(table, value);
    return t ? t->Caption : ScriptErrorCaption;
}

template <std::size_t N> const char* ShortCaptionOf(const TEnumText (&table)[N], int value) {
    const TEnumText* t = Lookup(table, value);
    return t ? t->ShortCaption : ScriptErrorCaption;
}

} // namespace

const char* StartCombsKeyword(int value) {
    return KeywordOf(StartTexts, value);
}
const char* StartCombsEditorCaption(int value) {
    return CaptionOf(StartTexts, value);
}
const char* StartCombsShortCaption(int value) {
    return ShortCaptionOf(StartTexts, value);
}
const char* ResultModeKeyword(int value) {
    return KeywordOf(ResultTexts, value);
}
const char* ResultModeEditorCaption(int value) {
    return CaptionOf(ResultTexts, value);
}
const char* ResultModeShortCaption(int value) {
    return ShortCaptionOf(ResultTexts, value);
}
const char* LevelModeKeyword(int value) {
    return KeywordOf(LevelTexts, value);
}
const char* LevelModeCaption(int value) {
    return CaptionOf(LevelTexts, value);
}
const char* StopModeKeyword(int value) {
    return KeywordOf(StopTexts, value);
}
const char* StopModeCaption(int value) {
    return CaptionOf(StopTexts, value);
}

} // namespace kumby
