#pragma once

#include <string>
#include <string_view>

namespace kumby {

// Files and INI texts are single-byte code page 1251; memory holds UTF-8.
// Characters that CP1251 cannot hold become '?'; invalid UTF-8 bytes likewise.
std::string Utf8ToCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view cp1251);

// Case-insensitive comparison that folds Russian letters as well as Latin ones.
bool SameTextIgnoreCase(std::string_view a, std::string_view b);
std::string Utf8ToUpper(std::string_view utf8);
// Characters of a UTF-8 text, and its first `count` characters.
std::size_t Utf8Length(std::string_view utf8);
std::string Utf8Prefix(std::string_view utf8, std::size_t count);

} // namespace kumby
