#include "DrawCsv.h"

#include "DrawArchive.h"
#include "io/AtomicFile.h"
#include "model/Cp1251.h"
#include "model/TextLines.h"
#include "model/VexoUtils.h"

#include <array>
#include <optional>
#include <unordered_set>

namespace kumby {

namespace {

bool IsBlank(char c) {
    return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

// Reads a quoted field starting at the opening quote; leaves `i` after the closing one.
// The field is measured first, so a huge one is copied once and never regrown.
std::string ReadQuoted(std::string_view s, std::size_t& i) {
    const std::size_t start = ++i;
    std::size_t length = 0;
    std::size_t end = start;
    while (end < s.size()) {
        if (s[end] == '"') {
            if (end + 1 < s.size() && s[end + 1] == '"') {
                ++length;
                end += 2;
                continue;
            }
            break;
        }
        ++length;
        ++end;
    }
    std::string value;
    value.reserve(length);
    for (std::size_t j = start; j < end; ++j) {
        value += s[j];
        if (s[j] == '"')
            ++j; // the second quote of a doubled one
    }
    i = end < s.size() ? end + 1 : end; // no closing quote: the rest of the line
    return value;
}

// A number of the draw: an integer 1..24, or 0 when the field is none.
uint8_t NumberField(std::string_view field) {
    const int32_t v = ParseIntOr(TrimView(field), 0);
    return v >= 1 && v <= MaxNumber ? static_cast<uint8_t>(v) : 0;
}

bool ValidNumbers(const uint8_t (&numbers)[NumbersInDraw]) {
    std::array<bool, MaxNumber + 1> seen{};
    for (uint8_t n : numbers) {
        if (n == 0 || seen[n])
            return false;
        seen[n] = true;
    }
    return true;
}

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

} // namespace

std::vector<std::string> SplitDrawFields(std::string_view s, std::size_t maxFields) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    while (i < s.size() && s[i] != '\0' && fields.size() < maxFields) {
        if (s[i] == '"') {
            fields.push_back(ReadQuoted(s, i));
        } else {
            const std::size_t start = i;
            while (i < s.size() && static_cast<unsigned char>(s[i]) > ' ' && s[i] != ';')
                ++i;
            fields.emplace_back(s.substr(start, i - start));
        }
        while (i < s.size() && IsBlank(s[i]))
            ++i;
        if (i < s.size() && s[i] == ';') {
            if (i + 1 == s.size() && fields.size() < maxFields)
                fields.emplace_back(); // a separator at the very end opens an empty field
            do
                ++i;
            while (i < s.size() && IsBlank(s[i]));
        }
    }
    return fields;
}

std::string DrawsToCsv(const TDrawsArray& draws) {
    std::string out;
    out.reserve(draws.size() * 56);
    for (const TDrawRecord& d : draws) {
        out += std::to_string(d.Number);
        out += ";\"";
        for (char c : d.DateText.Bytes()) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
        for (uint8_t n : d.Numbers) {
            out += ';';
            out += std::to_string(n);
        }
        out += "\r\n";
    }
    return out;
}

void ExportDrawsCsv(const std::filesystem::path& path, const TDrawsArray& draws) {
    SaveFileAtomic(path, DrawsToCsv(draws));
}

int ImportDrawsCsvText(std::string_view text, TDrawsArray& draws, TDrawsImportReport* report) {
    if (text.substr(0, Utf8Bom.size()) == Utf8Bom)
        text.remove_prefix(Utf8Bom.size());
    // A set of the numbers present answers "FindDrawIndex(n) == -1" without a scan per line.
    std::unordered_set<int32_t> present;
    present.reserve(draws.size() * 2);
    for (const TDrawRecord& d : draws)
        present.insert(d.Number);
    TDrawsImportReport result;
    int lineNumber = 0;
    auto skip = [&] {
        ++result.Skipped;
        if (result.SkippedLines.size() < TDrawsImportReport::MaxListedLines)
            result.SkippedLines.push_back(lineNumber);
    };
    // One field more than a draw has is enough to tell a line to skip, however long it is.
    constexpr std::size_t MaxFields = 15;
    ForEachLine(text, [&](std::string_view line) {
        ++lineNumber;
        if (TrimView(line).empty())
            return;
        const std::vector<std::string> f = SplitDrawFields(line, MaxFields);
        TDrawRecord rec;
        std::size_t firstNumber = 0;
        if (f.size() == 13) {
            // The number after the newest draw, which may be one this import added.
            const std::optional<int32_t> next = NewDrawNumber(draws);
            if (!next)
                return skip();
            rec.Number = *next;
            rec.DateText.AssignBytes(f[0]);
            firstNumber = 1;
        } else if (f.size() == 14) {
            if (!TryParseInt(TrimView(f[0]), rec.Number) || rec.Number <= 0)
                return skip();
            rec.DateText.AssignBytes(f[1]);
            firstNumber = 2;
        } else {
            return skip();
        }
        for (int i = 0; i < NumbersInDraw; ++i)
            rec.Numbers[i] = NumberField(f[firstNumber + i]);
        if (!ValidNumbers(rec.Numbers))
            return skip();
        if (!present.insert(rec.Number).second) {
            ++result.AlreadyInArchive;
            return;
        }
        draws.push_back(rec);
        ++result.Added;
    });
    if (report)
        *report = result;
    return result.Added;
}

int ImportDrawsCsv(const std::filesystem::path& path, TDrawsArray& draws, TDrawsImportReport* report) {
    return ImportDrawsCsvText(ReadWholeFile(path), draws, report);
}

std::string DrawsImportSkippedText(const TDrawsImportReport& report) {
    if (report.Skipped == 0)
        return {};
    std::string lines;
    for (int n : report.SkippedLines) {
        if (!lines.empty())
            lines += ", ";
        lines += std::to_string(n);
    }
    if (static_cast<std::size_t>(report.Skipped) > report.SkippedLines.size())
        lines += ", ...";
    return Format("Пропущено строк, не содержащих данных тиража: %d (строки %s).", report.Skipped,
                  lines.c_str());
}

std::string DrawsImportReportText(const TDrawsImportReport& report) {
    std::string text = Format("Добавлено тиражей: %d.", report.Added);
    if (report.AlreadyInArchive > 0)
        text += Format("\rУже были в архиве: %d.", report.AlreadyInArchive);
    if (report.Skipped > 0)
        text += "\r" + DrawsImportSkippedText(report);
    return text;
}

} // namespace kumby
