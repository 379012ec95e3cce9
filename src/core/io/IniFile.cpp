#include "io/IniFile.h"

#include "io/AtomicFile.h"
#include "model/Cp1251.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <system_error>

namespace kumby {

namespace {

std::string_view Trim(std::string_view text) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Names of sections and keys are the program's own Latin words.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

// Quotes around a whole value are not part of it, as with the Windows profile calls.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.front() == value.back()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// A line break inside a name or a value would split the line and plant foreign
// lines in the file.
std::string OneLine(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return result;
}

// The text written for a value that reads back as exactly that value.
std::string StoredValue(std::string_view value) {
    std::string line = OneLine(value);
    if (line != Trim(line) || Unquote(line).size() != line.size()) {
        return "\"" + line + "\"";
    }
    return line;
}

bool IsSectionLine(std::string_view trimmed, std::string_view& name) {
    if (trimmed.empty() || trimmed.front() != '[') {
        return false;
    }
    std::size_t close = trimmed.find(']');
    if (close == std::string_view::npos) {
        return false;
    }
    name = Trim(trimmed.substr(1, close - 1));
    return true;
}

bool IsKeyLine(std::string_view trimmed, std::string_view& key, std::string_view& value) {
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') {
        return false;
    }
    std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos) {
        return false;
    }
    key = Trim(trimmed.substr(0, eq));
    if (key.empty()) {
        return false;
    }
    value = Unquote(Trim(trimmed.substr(eq + 1)));
    return true;
}

bool ParseInteger(std::string_view text, int& result) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '+' || text.front() == '-') {
        return false;
    }
    long long magnitude = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return false;
    }
    long long value = negative ? -magnitude : magnitude;
    if (value < INT_MIN || value > INT_MAX) {
        return false;
    }
    result = static_cast<int>(value);
    return true;
}

bool ParseFloat(std::string_view text, long double& result) {
    std::string number(Trim(text));
    if (!number.empty() && number.front() == '+') {
        number.erase(0, 1);
        // from_chars takes a minus of its own; "+-1" is no number.
        if (!number.empty() && number.front() == '-') {
            return false;
        }
    }
    if (number.find('.') == std::string::npos) {
        if (std::size_t comma = number.find(','); comma != std::string::npos) {
            number[comma] = '.';
        }
    }
    long double value = 0;
    const char* first = number.data();
    const char* last = first + number.size();
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || !std::isfinite(value)) {
        return false;
    }
    result = value;
    return true;
}

// A CP1251 line in UTF-8, in a string of exactly its size: a huge line is never
// held at twice its size on the way (single-byte text converts piece by piece).
std::string LineToUtf8(std::string_view line) {
    if (std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::string(line);
    }
    constexpr std::size_t Piece = 64 * 1024;
    if (line.size() <= Piece) {
        return Cp1251ToUtf8(line);
    }
    std::size_t total = 0;
    for (std::size_t at = 0; at < line.size(); at += Piece) {
        total += Cp1251ToUtf8(line.substr(at, Piece)).size();
    }
    std::string text;
    text.reserve(total);
    for (std::size_t at = 0; at < line.size(); at += Piece) {
        text += Cp1251ToUtf8(line.substr(at, Piece));
    }
    return text;
}

} // namespace

TIniFile TIniFile::Load(const std::filesystem::path& path) {
    TIniFile ini;
    std::error_code ec;
    std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        return ini;
    }
    return Parse(ReadWholeFile(path), true);
}

TIniFile TIniFile::FromText(std::string_view text) {
    return Parse(text, false);
}

TIniFile TIniFile::Parse(std::string_view text, bool cp1251) {
    TIniFile ini;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        std::string_view piece(text.data() + pos, (eol == std::string::npos ? text.size() : eol) - pos);
        pos = eol == std::string::npos ? text.size() : eol + 1;
        if (!piece.empty() && piece.back() == '\r') {
            piece.remove_suffix(1);
        }

        TLine line{cp1251 ? LineToUtf8(piece) : std::string(piece)};
        const std::string_view raw = line.Raw;
        std::string_view trimmed = Trim(raw);
        std::string_view name;
        std::string_view key;
        std::string_view value;
        if (IsSectionLine(trimmed, name)) {
            ini.Sections_.push_back(TSection{std::string(name), {}});
        } else if (ini.Sections_.empty()) {
            ini.Preamble_.push_back(std::move(line.Raw));
        } else {
            if (IsKeyLine(trimmed, key, value)) {
                line.KeyAt = static_cast<std::size_t>(key.data() - raw.data());
                line.KeyLength = key.size();
                line.ValueAt = static_cast<std::size_t>(value.data() - raw.data());
                line.ValueLength = value.size();
            }
            ini.Sections_.back().Lines.push_back(std::move(line));
        }
    }
    return ini;
}

void TIniFile::Save(const std::filesystem::path& path) const {
    SaveFileAtomic(path, Lines(true));
}

std::string TIniFile::Text() const {
    return Lines(false);
}

std::string TIniFile::Lines(bool cp1251) const {
    // Line by line, so that the text is built once and not converted as a whole again.
    std::string text;
    auto add = [&](std::string_view line) {
        text += cp1251 ? Utf8ToCp1251(line) : std::string(line);
        text += "\r\n";
    };
    for (const std::string& line : Preamble_) {
        add(line);
    }
    for (const TSection& section : Sections_) {
        add("[" + section.Name + "]");
        for (const TLine& line : section.Lines) {
            add(line.Raw);
        }
    }
    return text;
}

void TIniFile::EraseSection(std::string_view section) {
    std::erase_if(Sections_, [&](const TSection& s) { return SameName(s.Name, section); });
}

const TIniFile::TLine* TIniFile::Find(std::string_view section, std::string_view key) const {
    for (const TSection& s : Sections_) {
        if (!SameName(s.Name, section)) {
            continue;
        }
        for (const TLine& line : s.Lines) {
            if (line.IsKey() && SameName(line.Key(), key)) {
                return &line;
            }
        }
        // Only the first section of a name counts, as in the Windows profile calls.
        return nullptr;
    }
    return nullptr;
}

bool TIniFile::HasKey(std::string_view section, std::string_view key) const {
    return Find(section, key) != nullptr;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    const TLine* line = Find(section, key);
    return std::string(line ? line->Value() : def);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    const TLine* line = Find(section, key);
    int value = 0;
    return line && ParseInteger(line->Value(), value) ? value : def;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    const TLine* line = Find(section, key);
    int value = 0;
    return line && ParseInteger(line->Value(), value) ? value != 0 : def;
}

long double TIniFile::ReadFloat(std::string_view section, std::string_view key, long double def) const {
    const TLine* line = Find(section, key);
    long double value = 0;
    return line && ParseFloat(line->Value(), value) ? value : def;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string sectionName(Trim(OneLine(section)));
    std::string keyName(Trim(OneLine(key)));
    const std::string stored = StoredValue(value);
    // The value is the stored text without its quotes, if it has any.
    const std::size_t quote = Unquote(stored).size() != stored.size() ? 1 : 0;
    auto makeLine = [&](const std::string_view spelling) {
        TLine line{std::string(spelling) + "=" + stored};
        line.KeyLength = spelling.size();
        line.ValueAt = spelling.size() + 1 + quote;
        line.ValueLength = stored.size() - 2 * quote;
        return line;
    };

    TSection* target = nullptr;
    for (TSection& s : Sections_) {
        if (SameName(s.Name, sectionName)) {
            target = &s;
            break;
        }
    }
    if (!target) {
        Sections_.push_back(TSection{sectionName, {}});
        target = &Sections_.back();
    }
    for (TLine& line : target->Lines) {
        if (line.IsKey() && SameName(line.Key(), keyName)) {
            // Keep the spelling of the key already in the file.
            line = makeLine(std::string(line.Key()));
            return;
        }
    }
    TLine newLine = makeLine(keyName);
    // After the last non-blank line, so that the blank line before the next
    // section stays where it is.
    auto insertAt = target->Lines.end();
    while (insertAt != target->Lines.begin() && Trim((insertAt - 1)->Raw).empty()) {
        --insertAt;
    }
    target->Lines.insert(insertAt, std::move(newLine));
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteFloat(std::string_view section, std::string_view key, long double value) {
    WriteString(section, key, FloatToText(value));
}

std::string FloatToText(long double value) {
    double d = static_cast<double>(value);
    if (d == 0) {
        return "0"; // also for -0
    }
    char buffer[512];
    double magnitude = std::fabs(d);
    // Plain digits for the values people type; the exponent form only for extremes.
    std::chars_format format = std::isfinite(d) && magnitude >= 1e-6 && magnitude < 1e18
                                   ? std::chars_format::fixed
                                   : std::chars_format::general;
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, d, format);
    if (ec != std::errc()) {
        return "0";
    }
    return std::string(buffer, end);
}

} // namespace kumby
