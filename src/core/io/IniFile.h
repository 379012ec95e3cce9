#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

// An INI file held in memory: sections in brackets, key=value lines, CP1251 on disk,
// UTF-8 here. Sections and keys are matched without regard to case; lines the
// program does not know are kept as they are when the file is written back.
class TIniFile {
public:
    TIniFile() = default;

    // A missing file gives an empty document; an unreadable one raises Error.
    static TIniFile Load(const std::filesystem::path& path);
    // Parses UTF-8 text with LF or CR LF line ends.
    static TIniFile FromText(std::string_view text);
    // Rewrites the whole file atomically (CR LF line ends).
    void Save(const std::filesystem::path& path) const;

    bool HasKey(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // Non-numbers give the default.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // Any integer; non-zero is true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    // Accepts "." and "," as the decimal separator.
    long double ReadFloat(std::string_view section, std::string_view key, long double def) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void WriteFloat(std::string_view section, std::string_view key, long double value);

    // Removes every section of that name with all its lines.
    void EraseSection(std::string_view section);

    std::string Text() const; // UTF-8, CR LF line ends

private:
    // A line is kept once: its key and value are pieces of the text as read, so a
    // huge line does not take twice its size.
    struct TLine {
        std::string Raw;                      // the line as read (UTF-8)
        std::size_t KeyAt = 0, KeyLength = 0; // KeyLength 0: not a key line
        std::size_t ValueAt = 0, ValueLength = 0;

        bool IsKey() const { return KeyLength != 0; }
        std::string_view Key() const { return std::string_view(Raw).substr(KeyAt, KeyLength); }
        std::string_view Value() const { return std::string_view(Raw).substr(ValueAt, ValueLength); }
    };
    // Parses the text line by line; CP1251 lines are converted one at a time.
    static TIniFile Parse(std::string_view text, bool cp1251);
    struct TSection {
        std::string Name;
        std::vector<TLine> Lines;
    };
    const TLine* Find(std::string_view section, std::string_view key) const;
    std::string Lines(bool cp1251) const;

    std::vector<std::string> Preamble_; // lines before the first section
    std::vector<TSection> Sections_;
};

// Shortest decimal text of a float that reads back to the same double, with ".".
std::string FloatToText(long double value);

} // namespace kumby
