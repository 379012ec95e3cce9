#include "script/RatingsToScript.h"

#include "model/VexoUtils.h"
#include "script/ScriptModel.h"

#include <algorithm>

namespace kumby {

std::optional<std::string> RatingSourceToScriptLine(std::string_view source, const TStatList& registry) {
    std::string comment;
    std::string filters;
    if (const std::size_t at = source.find('@'); at != std::string_view::npos) {
        comment = Trim(source.substr(0, at));
        filters = Trim(source.substr(at + 1));
    } else {
        filters = std::string(source);
    }
    std::string line;
    for (std::size_t pos = 0;;) {
        const std::size_t next = filters.find(" + ", pos);
        line += filters.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
        if (next == std::string::npos)
            break;
        line += '|';
        pos = next + 3;
    }
    while (std::count(line.begin(), line.end(), '|') + 1 <= ScriptFilterSlots)
        line += "| ";
    line += "|" + comment;

    if (OptionsDisplayText(ReadOptions(LineOptionsText(line))).empty())
        return std::nullopt;
    for (int f = 1; f <= ScriptFilterSlots; ++f)
        if (const std::string field = LineFilterText(line, f);
            !field.empty() && ReadFilterItem(field, registry).Used)
            return line;
    return std::nullopt;
}

} // namespace kumby
