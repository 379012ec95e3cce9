#pragma once

// The semicolon-separated text form of the draw archive.

#include "model/Records.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

// Splits one line into fields: ";" separates; a field that opens with a double quote
// runs to its closing quote ("" inside is one quote); an unquoted field also ends at
// a space or a control character; blanks between fields are skipped.
std::vector<std::string> SplitDrawFields(std::string_view line);

// The export text in CP1251 with CR LF line ends, oldest draw first.
std::string DrawsToCsv(const TDrawsArray& draws);
void ExportDrawsCsv(const std::filesystem::path& path, const TDrawsArray& draws);

// Appends the draws of a CP1251 text; returns how many were added.
int ImportDrawsCsvText(std::string_view cp1251Text, TDrawsArray& draws);
// Raises Error naming the file when it cannot be read; the archive is unchanged then.
int ImportDrawsCsv(const std::filesystem::path& path, TDrawsArray& draws);

} // namespace kumby
