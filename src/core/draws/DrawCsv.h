#pragma once

// The semicolon-separated text form of the draw archive.

#include "model/Records.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

// Splits one line into fields: ";" separates; a field that opens with a double quote
// runs to its closing quote ("" inside is one quote); an unquoted field also ends at
// a space or a control character; blanks between fields are skipped. At most
// `maxFields` fields are kept; the rest of the line is not looked at.
std::vector<std::string> SplitDrawFields(std::string_view line, std::size_t maxFields = SIZE_MAX);

// The export text in CP1251 with CR LF line ends, oldest draw first.
std::string DrawsToCsv(const TDrawsArray& draws);
void ExportDrawsCsv(const std::filesystem::path& path, const TDrawsArray& draws);

// What an import did. A skipped line is one that is not a draw: a wrong number of
// fields, a draw number that is not a number above 0, numbers that are not 12
// distinct integers 1..24, or no number left after the largest for a line without one.
struct TDrawsImportReport {
    static constexpr std::size_t MaxListedLines = 10;
    int Added = 0;
    int AlreadyInArchive = 0; // draws whose number the archive already had
    int Skipped = 0;
    std::vector<int> SkippedLines; // 1-based line numbers of the first skipped lines
};

// Appends the draws of a CP1251 text (a UTF-8 byte-order mark at its start is
// ignored); returns how many were added.
int ImportDrawsCsvText(std::string_view cp1251Text, TDrawsArray& draws, TDrawsImportReport* report = nullptr);
// Raises Error naming the file when it cannot be read; the archive is unchanged then.
int ImportDrawsCsv(const std::filesystem::path& path, TDrawsArray& draws,
                   TDrawsImportReport* report = nullptr);

// "Добавлено тиражей: %d." and, when there were any, the draws already in the
// archive and the skipped lines with the first line numbers.
std::string DrawsImportReportText(const TDrawsImportReport& report);
// The skipped lines alone ("" when none).
std::string DrawsImportSkippedText(const TDrawsImportReport& report);

} // namespace kumby
