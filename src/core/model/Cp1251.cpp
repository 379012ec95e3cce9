#include "Cp1251.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <iconv.h>

namespace kumby {

namespace {

// One conversion descriptor per direction and thread, opened on first use.
class TConverter {
public:
    TConverter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~TConverter() {
        if (Valid())
            iconv_close(handle_);
    }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;

    bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return handle_; }

private:
    iconv_t handle_;
};

// Length of the well-formed UTF-8 sequence at the start of `s`, or 0 when the
// bytes there are not one (bad lead byte, missing continuation, overlong form,
// surrogate or a value past U+10FFFF).
std::size_t Utf8SequenceLength(std::string_view s, char32_t* codePoint = nullptr) {
    if (s.empty())
        return 0;
    const auto b0 = static_cast<uint8_t>(s[0]);
    std::size_t length;
    char32_t value;
    if (b0 < 0x80) {
        length = 1;
        value = b0;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        value = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        value = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        value = b0 & 0x07;
    } else {
        return 0;
    }
    if (s.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<uint8_t>(s[i]);
        if ((b & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (b & 0x3F);
    }
    if ((length == 3 && value < 0x800) || (length == 4 && value < 0x10000) || value > 0x10FFFF ||
        (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    if (codePoint)
        *codePoint = value;
    return length;
}

// Converts `input`, putting one '?' in place of each unconvertible piece: a whole
// character when the input is well-formed UTF-8, a single byte otherwise.
std::string Convert(const TConverter& converter, std::string_view input, bool inputIsUtf8) {
    std::string out;
    if (input.empty())
        return out;
    if (!converter.Valid()) {
        out.assign(input.size(), '?');
        return out;
    }
    iconv(converter.Handle(), nullptr, nullptr, nullptr, nullptr);
    out.reserve(input.size() * (inputIsUtf8 ? 1 : 2));
    char buffer[1024];
    std::size_t pos = 0;
    while (pos < input.size()) {
        char* in = const_cast<char*>(input.data() + pos);
        std::size_t inLeft = input.size() - pos;
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter.Handle(), &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        pos = static_cast<std::size_t>(in - input.data());
        if (result != static_cast<std::size_t>(-1))
            continue;
        if (error == E2BIG)
            continue;
        // EILSEQ or EINVAL: skip the piece that cannot be converted.
        std::size_t skip = 1;
        if (inputIsUtf8) {
            const std::size_t length = Utf8SequenceLength(input.substr(pos));
            if (length > 0)
                skip = length;
        }
        out.push_back('?');
        pos += skip;
        iconv(converter.Handle(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

// Upper case of the letters of code page 1251 (Latin and Cyrillic); every other
// code point is its own upper case.
char32_t UpperCodePoint(char32_t c) {
    if (c >= U'a' && c <= U'z')
        return c - (U'a' - U'A');
    if (c >= 0x0430 && c <= 0x044F) // а..я
        return c - 0x20;
    if (c >= 0x0450 && c <= 0x045F) // ѐ, ё, ђ .. џ
        return c - 0x50;
    if (c == 0x0491) // ґ
        return 0x0490;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Reads the next character of UTF-8 text. A byte that does not start a
// well-formed sequence is returned as a value above the Unicode range, so it
// only ever equals the same stray byte.
char32_t NextFolded(std::string_view s, std::size_t& pos) {
    char32_t c = 0;
    const std::size_t length = Utf8SequenceLength(s.substr(pos), &c);
    if (length == 0) {
        c = 0x110000 + static_cast<uint8_t>(s[pos]);
        ++pos;
        return c;
    }
    pos += length;
    return UpperCodePoint(c);
}

} // namespace

std::string Utf8ToCp1251(std::string_view utf8) {
    thread_local const TConverter converter("CP1251", "UTF-8");
    return Convert(converter, utf8, true);
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
    thread_local const TConverter converter("UTF-8", "CP1251");
    return Convert(converter, cp1251, false);
}

bool SameTextIgnoreCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (NextFolded(a, i) != NextFolded(b, j))
            return false;
    }
    return i == a.size() && j == b.size();
}

// Characters are kept as they are apart from the letters; stray bytes pass through.
std::string Utf8ToUpper(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t c = 0;
        const std::size_t length = Utf8SequenceLength(utf8.substr(pos), &c);
        if (length == 0) {
            out.push_back(utf8[pos]);
            ++pos;
            continue;
        }
        AppendUtf8(out, UpperCodePoint(c));
        pos += length;
    }
    return out;
}

std::size_t Utf8Length(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(
        utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Utf8Prefix(std::string_view utf8, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t chars = 0; end < utf8.size(); ++end) {
        if ((static_cast<unsigned char>(utf8[end]) & 0xC0) != 0x80 && chars++ == count)
            break;
    }
    return std::string(utf8.substr(0, end));
}

} // namespace kumby
