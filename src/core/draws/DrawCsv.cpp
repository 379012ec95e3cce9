#include "DrawCsv.h"

#include "DrawArchive.h"
#include "io/AtomicFile.h"
#include "model/Cp1251.h"
#include "model/TextLines.h"
#include "model/VexoUtils.h"

#include <unordered_set>

namespace kumby {

namespace {

bool IsBlank(char c) {
    return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

// Reads a quoted field starting at the opening quote; leaves `i` after the closing one.
std::string ReadQuoted(std::string_view s, std::size_t& i) {
    std::string value;
    ++i;
    while (i < s.size()) {
        if (s[i] == '"') {
            if (i + 1 < s.size() && s[i + 1] == '"') {
                value += '"';
                i += 2;
                continue;
            }
            ++i;
            return value;
        }
        value += s[i++];
    }
    return value; // no closing quote: the rest of the line
}

uint8_t NumberField(const std::string& field) {
    const int32_t v = ParseIntOr(field, 0);
    // A value that does not fit a byte would wrap silently; keep it out instead.
    return v >= 0 && v <= 255 ? static_cast<uint8_t>(v) : 0;
}

} // namespace

std::vector<std::string> SplitDrawFields(std::string_view s) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    while (i < s.size() && s[i] != '\0') {
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
            if (i + 1 == s.size())
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

int ImportDrawsCsvText(std::string_view text, TDrawsArray& draws) {
    // A set of the numbers present answers "FindDrawIndex(n) == -1" without a scan per line.
    std::unordered_set<int32_t> present;
    present.reserve(draws.size() * 2);
    for (const TDrawRecord& d : draws)
        present.insert(d.Number);
    int added = 0;
    ForEachLine(text, [&](std::string_view line) {
        if (TrimView(line).empty())
            return;
        const std::vector<std::string> f = SplitDrawFields(line);
        TDrawRecord rec;
        std::size_t firstNumber = 0;
        if (f.size() == 13) {
            rec.Number = static_cast<int32_t>(draws.size()) + 1;
            rec.DateText.AssignBytes(f[0]);
            firstNumber = 1;
        } else if (f.size() == 14) {
            rec.Number = ParseIntOr(f[0], 0);
            rec.DateText.AssignBytes(f[1]);
            firstNumber = 2;
        } else {
            return;
        }
        for (int i = 0; i < NumbersInDraw; ++i)
            rec.Numbers[i] = NumberField(f[firstNumber + i]);
        if (rec.Number > 0 && present.insert(rec.Number).second) {
            draws.push_back(rec);
            ++added;
        }
    });
    return added;
}

int ImportDrawsCsv(const std::filesystem::path& path, TDrawsArray& draws) {
    return ImportDrawsCsvText(ReadWholeFile(path), draws);
}

} // namespace kumby
