// The text of a script line: reading it into records and writing it back. Text
// that does not follow the grammar never fails: each part falls back to its default.

#include "ScriptModel.h"

#include "model/Cp1251.h"
#include "model/VexoUtils.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace kumby {

namespace {

constexpr std::string_view LineSeparators = "|";
constexpr std::string_view OptionSeparators = "#";
constexpr std::string_view FilterSeparators = "#";
constexpr std::string_view PartSeparators = ":";

// The maximal runs of characters without a separator, untrimmed.
std::vector<std::string_view> SplitFields(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && separators.find(text[pos]) != std::string_view::npos)
            ++pos;
        const std::size_t start = pos;
        while (pos < text.size() && separators.find(text[pos]) == std::string_view::npos)
            ++pos;
        if (pos > start)
            fields.push_back(text.substr(start, pos - start));
    }
    return fields;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameTextIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// The first value of the table whose keyword starts the text (any case), or -1.
int KeywordPrefixIndex(std::string_view text, int count, const char* (*keyword)(int)) {
    for (int v = 0; v < count; ++v)
        if (StartsWithIgnoreCase(text, keyword(v)))
            return v;
    return -1;
}

const char* Flag(bool on, const char* yes, const char* no) {
    return on ? yes : no;
}

std::string WeightsText(const TWeights& w) {
    return ScriptFloatText(w.CoefCount) + ":" + ScriptFloatText(w.CoefDeviation) + ":" +
           ScriptFloatText(w.CoefLevel) + ":" + Flag(w.UsePercents, "1", "0") + ":" +
           Flag(w.UseAbsValues, "1", "0");
}

TWeights ReadWeights(std::string_view text) {
    TWeights w;
    w.CoefCount = ReadScriptFloat(ExtractField(text, 1, PartSeparators));
    w.CoefDeviation = ReadScriptFloat(ExtractField(text, 2, PartSeparators));
    w.CoefLevel = ReadScriptFloat(ExtractField(text, 3, PartSeparators));
    w.UsePercents = ExtractField(text, 4, PartSeparators) == "1";
    w.UseAbsValues = ExtractField(text, 5, PartSeparators) == "1";
    return w;
}

std::string MethodCodeOf(int method, const TStatList& registry) {
    if (method < 0 || static_cast<std::size_t>(method) >= registry.Count())
        return {};
    return registry.Items(static_cast<std::size_t>(method)).MethodCode();
}

// A caption with one "%d" in it, filled without handing a caption to printf.
std::string FillNumber(const char* caption, int32_t value) {
    std::string text = caption;
    if (const std::size_t at = text.find("%d"); at != std::string::npos)
        text.replace(at, 2, std::to_string(value));
    return text;
}

} // namespace

// ---- Lines ------------------------------------------------------------------------

bool IsSeparatorLine(std::string_view line) {
    return TrimView(line).empty();
}

std::string ExtractField(std::string_view text, int n, std::string_view separators) {
    if (n < 1)
        return {};
    std::size_t pos = 0;
    int field = 0;
    while (pos < text.size()) {
        while (pos < text.size() && separators.find(text[pos]) != std::string_view::npos)
            ++pos;
        const std::size_t start = pos;
        while (pos < text.size() && separators.find(text[pos]) == std::string_view::npos)
            ++pos;
        if (pos > start && ++field == n)
            return Trim(text.substr(start, pos - start));
    }
    return {};
}

std::string LineComment(std::string_view line) {
    return ExtractField(line, 2 + ScriptFilterSlots, LineSeparators);
}

std::string LineOptionsText(std::string_view line) {
    return ExtractField(line, 1, LineSeparators);
}

std::string LineFilterText(std::string_view line, int filter) {
    if (filter < 1 || filter > ScriptFilterSlots)
        return {};
    return ExtractField(line, 1 + filter, LineSeparators);
}

std::string BuildLine(std::string_view options, const std::array<std::string, ScriptFilterSlots>& filters,
                      std::string_view comment) {
    std::string line(options);
    line += '|';
    for (const std::string& f : filters) {
        if (TrimView(f).empty())
            line += ' ';
        else
            line += f;
        line += '|';
    }
    if (!TrimView(comment).empty())
        line += comment;
    return line;
}

// ---- Options ----------------------------------------------------------------------

TScriptOptions ReadOptions(std::string_view text) {
    TScriptOptions options;
    const std::string start = ExtractField(text, 1, OptionSeparators);
    const int startType = KeywordPrefixIndex(start, StartCombsTypeCount, StartCombsKeyword);
    options.StartCombsType = static_cast<uint8_t>(startType < 0 ? StartFull : startType);
    // The editor takes 0 and up only; a negative count would exclude nothing anyway.
    const int32_t exclude = ParseIntOr(ExtractField(start, 2, PartSeparators), 0);
    options.DrawsExclude = exclude < 0 ? 0 : exclude;

    const std::string result = ExtractField(text, 2, OptionSeparators);
    for (int v = 0; v < ResultCombsModeCount; ++v)
        if (SameTextIgnoreCase(result, ResultModeKeyword(v))) {
            options.ResultCombsMode = static_cast<uint8_t>(v);
            break;
        }

    const std::vector<std::string_view> words = SplitFields(text, OptionSeparators);
    for (std::size_t n = 2; n < words.size(); ++n) {
        const std::string_view word = TrimView(words[n]);
        if (SameTextIgnoreCase(word, "CLR"))
            options.ClearStakes = true;
        else if (SameTextIgnoreCase(word, "NEX"))
            options.NewOnly = true;
    }
    return options;
}

std::string OptionsLineText(const TScriptOptions& options) {
    std::string text = std::string(StartCombsKeyword(options.StartCombsType)) + ":" +
                       std::to_string(options.DrawsExclude) + "#" +
                       ResultModeKeyword(options.ResultCombsMode);
    if (options.ClearStakes)
        text += "#CLR";
    if (options.NewOnly)
        text += "#NEX";
    return text;
}

std::string OptionsLogText(const TScriptOptions& options) {
    std::string text = StartCombsKeyword(options.StartCombsType);
    if (options.StartCombsType == StartExcl)
        text += ":" + std::to_string(options.DrawsExclude);
    text += "#";
    text += ResultModeKeyword(options.ResultCombsMode);
    if (options.NewOnly)
        text += "#NEX";
    return text;
}

std::string OptionsDisplayText(const TScriptOptions& options) {
    std::string text = FillNumber(StartCombsShortCaption(options.StartCombsType), options.DrawsExclude);
    text += "; ";
    text += ResultModeShortCaption(options.ResultCombsMode);
    if (options.ClearStakes)
        text += "; Удалить ставки";
    text += options.NewOnly ? "; Только новые ставки" : "; Все создаваемые ставки";
    return text;
}

// ---- Filters ----------------------------------------------------------------------

TFilterItem ReadFilterItem(std::string_view text, const TStatList& registry) {
    TFilterItem item;
    if (TrimView(text).empty()) {
        item.SortOrder = 0;
        item.Weights = TWeights{0, 0, 0, false, false};
        return item;
    }
    item.Used = true;

    const std::string order = ExtractField(text, 1, FilterSeparators);
    item.BottomUp = order.find('B') != std::string::npos;
    item.MultiSelect = order.find('M') != std::string::npos;
    item.KeepSelected = order.find('F') != std::string::npos;
    item.SortOrder = order.size() < 4 ? 1 : ParseIntOr(std::string_view(order).substr(3), 1);

    item.MethodText = ExtractField(text, 2, FilterSeparators);
    const std::string_view methodText = item.MethodText;
    const std::size_t colon = methodText.find(':');
    item.Method = registry.FindByCode(TrimView(methodText.substr(0, colon)));
    if (item.Method >= 0 && colon != std::string_view::npos)
        item.DrawsLen = Trim(methodText.substr(colon + 1));

    const std::string level = ExtractField(text, 3, FilterSeparators);
    if (const int mode = KeywordPrefixIndex(level, LevelModeCount, LevelModeKeyword); mode >= 0) {
        item.LevelMode = static_cast<TLevelMode>(mode);
        item.LevelValue = ExtractField(level, 2, PartSeparators);
    }

    const std::string stop = ExtractField(text, 4, FilterSeparators);
    if (!stop.empty()) {
        const int mode = KeywordPrefixIndex(stop, StopModeCount, StopModeKeyword);
        item.StopMode = static_cast<uint8_t>(mode < 0 ? StopSF : mode);
        item.StopValue = ParseIntOr(ExtractField(stop, 2, PartSeparators), 1);
    }

    const std::string weights = ExtractField(text, 5, FilterSeparators);
    if (!weights.empty()) {
        item.CDLOverride = true;
        item.Weights = ReadWeights(weights);
    }
    return item;
}

std::string FilterItemText(const TFilterItem& item, const TStatList& registry) {
    if (!item.Used)
        return {};
    std::string text = Flag(item.BottomUp, "B", "T");
    text += Flag(item.MultiSelect, "M", "S");
    text += Flag(item.KeepSelected, "F", "D");
    text += std::to_string(item.SortOrder);
    text += '#';
    if (const std::string code = MethodCodeOf(item.Method, registry); !code.empty())
        text += code + ":" + item.DrawsLen;
    else if (!TrimView(item.MethodText).empty())
        text += item.MethodText;
    else
        text += ' '; // an empty field must keep its place, as an empty slot of a line does
    text += '#';
    text += LevelModeKeyword(item.LevelMode);
    text += ':';
    text += item.LevelValue;
    text += '#';
    text += StopModeKeyword(item.StopMode);
    text += ':';
    text += std::to_string(item.StopValue);
    if (item.CDLOverride)
        text += "#" + WeightsText(item.Weights);
    return text;
}

std::string FilterPartText(const TFilterPart& part, const TStatList& registry) {
    if (!part.Used)
        return {};
    std::string text = Flag(part.BottomUp, "B", "T");
    text += Flag(part.MultiSelect, "M", "S");
    text += Flag(part.KeepSelected, "F", "D");
    text += "#" + MethodCodeOf(part.Method, registry) + ":" + std::to_string(part.DrawsLen);
    text += "#" + std::string(LevelModeKeyword(part.LevelMode)) + ":" + part.LevelText;
    text += "#" + std::string(StopModeKeyword(part.StopMode)) + ":" + std::to_string(part.StopValue);
    if (part.CDLOverride)
        text += "#" + WeightsText(part.Weights);
    return text;
}

std::string FilterRecText(const TFilterRec& rec, const TStatList& registry) {
    std::string text;
    for (const TFilterPart& part : rec) {
        const std::string partText = FilterPartText(part, registry);
        if (partText.empty())
            continue;
        if (!text.empty())
            text += " + ";
        text += partText;
    }
    return text;
}

std::string StakeCommentText(int line, int variant, std::string_view comment, std::string_view filters) {
    std::string text = Format("%.2d.%.3d:", line, variant);
    text += ' ';
    if (!comment.empty()) {
        text += comment;
        text += ' ';
    }
    text += "@ ";
    text += filters;
    return text;
}

std::string ScriptFloatText(long double value) {
    if (!std::isfinite(value) || value == 0)
        return "0";
    // The fewest significant digits (up to 15) that read back as the value.
    constexpr int MaxDigits = 15;
    char buffer[64];
    std::size_t length = 0;
    for (int digits = 1; digits <= MaxDigits; ++digits) {
        const auto r =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, digits - 1);
        length = static_cast<std::size_t>(r.ptr - buffer);
        long double back = 0;
        std::from_chars(buffer, buffer + length, back, std::chars_format::scientific);
        if (back == value)
            break;
    }
    // buffer: [-]d[.ddd]e±xx
    const std::string_view sci(buffer, length);
    const std::size_t e = sci.find('e');
    const bool negative = sci[0] == '-';
    std::string mantissa;
    for (char c : sci.substr(negative ? 1 : 0, e - (negative ? 1 : 0)))
        if (c != '.')
            mantissa += c;
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();
    int exponent = 0;
    const std::string_view expText = sci.substr(e + 1);
    std::from_chars(expText.data() + (expText[0] == '+' ? 1 : 0), expText.data() + expText.size(), exponent);

    std::string text = negative ? "-" : "";
    const int digits = static_cast<int>(mantissa.size());
    if (exponent < -4 || exponent >= MaxDigits) {
        text += mantissa[0];
        if (digits > 1)
            text += "." + mantissa.substr(1);
        text += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    } else if (exponent + 1 >= digits) {
        text += mantissa + std::string(static_cast<std::size_t>(exponent + 1 - digits), '0');
    } else {
        text += mantissa.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
                mantissa.substr(static_cast<std::size_t>(exponent + 1));
    }
    return text;
}

long double ReadScriptFloat(std::string_view text) {
    std::string kept;
    for (char c : text) {
        if (c == '-' || (c >= '0' && c <= '9'))
            kept += c;
        else if (c == '.' || c == ',')
            kept += '.';
    }
    // A sign, then digits with at most one decimal mark; anything else does not convert.
    const std::size_t body = !kept.empty() && kept[0] == '-' ? 1 : 0;
    bool digit = false;
    int marks = 0;
    for (std::size_t i = body; i < kept.size(); ++i) {
        if (kept[i] == '.')
            ++marks;
        else if (kept[i] == '-')
            return 0;
        else
            digit = true;
    }
    if (!digit || marks > 1)
        return 0;
    long double value = 0;
    const auto r =
        std::from_chars(kept.data() + body, kept.data() + kept.size(), value, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != kept.data() + kept.size())
        return 0;
    return body ? -value : value;
}

// ---- The list -----------------------------------------------------------------------

std::array<std::string, 2 + ScriptFilterSlots> ScriptListCaptions() {
    std::array<std::string, 2 + ScriptFilterSlots> captions;
    captions[0] = "Комментарии";
    captions[1] = "Опции";
    for (int i = 1; i <= ScriptFilterSlots; ++i)
        captions[static_cast<std::size_t>(1 + i)] = "Фильтр " + std::to_string(i);
    return captions;
}

std::array<std::string, 2 + ScriptFilterSlots> ScriptRowCells(std::string_view line,
                                                              const TStatList& registry) {
    std::array<std::string, 2 + ScriptFilterSlots> cells;
    if (IsSeparatorLine(line))
        return cells;
    cells[0] = LineComment(line);
    cells[1] = OptionsDisplayText(ReadOptions(LineOptionsText(line)));
    for (int i = 1; i <= ScriptFilterSlots; ++i)
        cells[static_cast<std::size_t>(1 + i)] =
            FilterItemText(ReadFilterItem(LineFilterText(line, i), registry), registry);
    return cells;
}

} // namespace kumby
