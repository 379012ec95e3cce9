#pragma once

// The text form of a script line and the records it is read into. A script is
// kept as text only: every display and every run reads the lines afresh.

#include "stats/StatList.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

enum TStartCombsType : uint8_t { StartFull = 0, StartExcl = 1, StartCurr = 2 };
inline constexpr int StartCombsTypeCount = 3;

enum TResultCombsMode : uint8_t {
    ResultRand = 0,
    ResultFirst = 1,
    ResultLast = 2,
    ResultAll = 3,
    ResultSysA = 4,
    ResultSysC = 5,
    ResultStop = 6,
    ResultSkip = 7,
    ResultNone = 8,
};
inline constexpr int ResultCombsModeCount = 9;

// Row selection criterion, 0 "LNO" … 31 "LVA" in keyword table order.
using TLevelMode = uint8_t;
inline constexpr int LevelModeCount = 32;
inline constexpr TLevelMode LevelNone = 0;
inline constexpr TLevelMode LevelValues = 31;

enum TStopMode : uint8_t { StopSF = 0, StopSC = 1, StopSZ = 2, StopST = 3, StopSV = 4, StopSP = 5 };
inline constexpr int StopModeCount = 6;

inline constexpr int ScriptFilterSlots = 7;
inline constexpr const char* ScriptErrorCaption = "# ERROR #";

struct TScriptOptions {
    int32_t DrawsExclude = 0;
    uint8_t StartCombsType = StartFull;
    uint8_t ResultCombsMode = ResultRand;
    bool ClearStakes = false;
    bool NewOnly = false;
};

struct TFilterItem {
    bool Used = false;
    std::string MethodText; // field 2 as read, so that an unknown code survives a rewrite
    int Method = -1;        // registry index; -1 when no registered method has the code
    std::string DrawsLen;
    int32_t SortOrder = 1;
    bool BottomUp = false;
    bool MultiSelect = false;
    bool KeepSelected = false;
    TLevelMode LevelMode = LevelNone;
    std::string LevelValue;
    bool CDLOverride = false;
    TWeights Weights;
    uint8_t StopMode = StopSF;
    int32_t StopValue = 0;
};

struct TFilterPart {
    bool Used = false;
    int Method = -1;
    int32_t DrawsLen = 0;
    int32_t SortOrder = 1;
    bool BottomUp = false;
    bool MultiSelect = false;
    bool KeepSelected = false;
    TLevelMode LevelMode = LevelNone;
    std::string LevelList;
    std::string LevelText;
    bool CDLOverride = false;
    TWeights Weights;
    uint8_t StopMode = StopSF;
    int32_t StopValue = 0;
};

using TFilterRec = std::array<TFilterPart, ScriptFilterSlots>;
// The variants of one line in generation order (a vector stands for the linked list).
using TFilterVars = std::vector<TFilterRec>;

using TScriptLines = std::vector<std::string>;

// ---- Keywords and captions ------------------------------------------------------
const char* StartCombsKeyword(int value); // "FULL", …; ScriptErrorCaption out of range
const char* StartCombsEditorCaption(int value); // "Исходный список (рекомендуется для тестов)", …
const char* StartCombsShortCaption(int value); // "Исходный список", "Исключить %d тиражей", …
const char* ResultModeKeyword(int value);
const char* ResultModeEditorCaption(int value);
const char* ResultModeShortCaption(int value);
const char* LevelModeKeyword(int value);
const char* LevelModeCaption(int value);
const char* StopModeKeyword(int value);
const char* StopModeCaption(int value);

// ---- Lines ------------------------------------------------------------------------
// A line whose text, trimmed, is empty.
bool IsSeparatorLine(std::string_view line);
// Field n (1-based) by the word rule: runs of separators count as one, leading
// ones are skipped; the field is trimmed. Empty when there is no such field.
std::string ExtractField(std::string_view text, int n, std::string_view separators);
std::string LineComment(std::string_view line);                // field 9
std::string LineOptionsText(std::string_view line);            // field 1
std::string LineFilterText(std::string_view line, int filter); // filter 1..7
// Options "|" seven filters "|" and the comment when it is not blank; a blank
// filter is written as a single space.
std::string BuildLine(std::string_view options, const std::array<std::string, ScriptFilterSlots>& filters,
                      std::string_view comment);

// ---- Options ----------------------------------------------------------------------
TScriptOptions ReadOptions(std::string_view text);
std::string OptionsLineText(const TScriptOptions& options); // FULL:0#RAND#CLR#NEX
std::string OptionsLogText(const TScriptOptions& options);  // FULL#RAND, EXCL:3#ALL#NEX
std::string OptionsDisplayText(const TScriptOptions& options); // "Исходный список; Случайно; …"

// ---- Filters ----------------------------------------------------------------------
TFilterItem ReadFilterItem(std::string_view text, const TStatList& registry);
std::string FilterItemText(const TFilterItem& item, const TStatList& registry);
std::string FilterPartText(const TFilterPart& part, const TStatList& registry);
// The non-empty part texts joined by " + ".
std::string FilterRecText(const TFilterRec& rec, const TStatList& registry);
// "%.2d.%.3d: comment @ filters", or without the comment and its space when empty.
std::string StakeCommentText(int line, int variant, std::string_view comment, std::string_view filters);
// Shortest general decimal form with "." whatever the locale.
std::string ScriptFloatText(long double value);
// Keeps "-", digits and "." / ","; 0 when the rest does not convert.
long double ReadScriptFloat(std::string_view text);

// The captions of the list's columns: "Комментарии", "Опции", "Фильтр 1" … "Фильтр 7".
std::array<std::string, 2 + ScriptFilterSlots> ScriptListCaptions();
// The list's cell texts of one line: comment, options display text, seven filters
// read and written back; all empty for a separator.
std::array<std::string, 2 + ScriptFilterSlots> ScriptRowCells(std::string_view line,
                                                              const TStatList& registry);

} // namespace kumby
