#pragma once

// A ratings source turned back into the script line that made its stakes.

#include "stats/StatList.h"

#include <optional>
#include <string>
#include <string_view>

namespace kumby {

inline constexpr const char* RatingNotScriptText = "Строку\r\r%s\r\rневозможно добавить в сценарий!";

// The line for the source "comment @ options + filter + …", or none when the source
// gives no options or no filter.
std::optional<std::string> RatingSourceToScriptLine(std::string_view source, const TStatList& registry);

} // namespace kumby
