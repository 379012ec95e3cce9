#include "download/PageText.h"

#include "model/Cp1251.h"
#include "model/Error.h"
#include "model/GameConstants.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <functional>

namespace kumby {

namespace {

constexpr std::string_view ListStart = "<div class=\"data drawings_data\">";
constexpr std::string_view ListEnd = "<div class=\"content_decor\">";
constexpr std::string_view DrawMarker = "<div class=\"elem\">";
constexpr std::string_view NumberStart = "<a href=\"/12x24/archive/";
constexpr std::string_view NumberEnd = "\">";
constexpr std::string_view DateStart = "<div class=\"draw_date\" title=\"";
constexpr std::string_view DateEnd = "\">";
constexpr std::string_view BlockStart = "<div class=\"container cleared\"";
constexpr std::string_view BlockEnd = "<div class=\"controls\">";
constexpr std::string_view SingleStart = "<div class=\"winning_numbers cleared\">";
constexpr std::string_view SingleEnd = "</div>";
constexpr std::string_view SingleNumberStart = "<p class=\"number\">";
constexpr std::string_view SingleNumberEnd = "</p>";
constexpr std::size_t DateLength = 16;
// An error quotes the page only this far: a page may be megabytes long.
constexpr std::size_t QuotedTextLength = 300;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Unquote(std::string_view s) {
    if (s.size() < 2 || s.front() != '"' || s.back() != '"')
        return std::string(s);
    std::string out;
    s = s.substr(1, s.size() - 2);
    for (std::size_t i = 0; i < s.size(); ++i) {
        out.push_back(s[i]);
        if (s[i] == '"' && i + 1 < s.size() && s[i + 1] == '"')
            ++i;
    }
    return out;
}

[[noreturn]] void RaiseNoPair(std::string_view text, std::string_view start, std::string_view end) {
    std::string quoted = Cp1251ToUtf8(text.substr(0, QuotedTextLength));
    if (text.size() > QuotedTextLength)
        quoted += "...";
    throw Error(Format("Не удалось найти пару идентификаторов \"%s\" - \"%s\" в тексте\r\r[%s]!",
                       std::string(start).c_str(), std::string(end).c_str(), quoted.c_str()));
}

// Where Between's result lies: [begin, endPos) and the end marker after it. `found` is
// false when the start marker is absent.
struct TSpan {
    bool Found = false;
    std::size_t Begin = 0;
    std::size_t End = 0;
};

TSpan FindBetween(std::string_view text, std::string_view start, std::string_view end) {
    const std::size_t s = FindNoCase(text, start);
    if (s == std::string_view::npos)
        return {};
    const std::size_t begin = s + start.size();
    const std::size_t e = FindNoCase(text, end, begin);
    if (e == std::string_view::npos)
        RaiseNoPair(text, start, end);
    return {true, begin, e};
}

std::string RemoveNoCase(std::string_view text, std::string_view what) {
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = FindNoCase(text, what, pos);
        if (hit == std::string_view::npos)
            break;
        out.append(text.substr(pos, hit - pos));
        pos = hit + what.size();
    }
    out.append(text.substr(pos));
    return out;
}

int32_t PageInteger(std::string_view text) {
    return ParseIntOr(TrimView(text), 0);
}

// The numbers inside a draw block: none when it has no numbers block.
std::optional<TPageNumbers> ReadBlockNumbers(std::string_view block) {
    const std::string outer = Between(block, BlockStart, BlockEnd);
    if (outer.empty())
        return std::nullopt;
    const std::string inner = Between(outer, ">", "</div>");
    if (inner.empty())
        return std::nullopt;
    std::string_view rest = inner;
    TPageNumbers numbers{};
    for (int32_t& n : numbers) {
        const std::string item = TakeBetween(rest, "<b", "</b>");
        n = PageInteger(RemoveNoCase(RemoveNoCase(item, "&nbsp;"), ">"));
    }
    return numbers;
}

} // namespace

std::size_t FindNoCase(std::string_view text, std::string_view what, std::size_t from) {
    if (from > text.size())
        return std::string_view::npos;
    if (what.empty())
        return from;
    const auto equal = [](char a, char b) { return Lower(a) == Lower(b); };
    const auto hash = [](char c) { return std::hash<char>{}(Lower(c)); };
    const std::boyer_moore_horspool_searcher searcher(what.begin(), what.end(), hash, equal);
    const auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), searcher);
    return it == text.end() ? std::string_view::npos : static_cast<std::size_t>(it - text.begin());
}

std::string Between(std::string_view text, std::string_view start, std::string_view end) {
    const TSpan span = FindBetween(text, start, end);
    if (!span.Found)
        return {};
    return Unquote(TrimView(text.substr(span.Begin, span.End - span.Begin)));
}

std::string TakeBetween(std::string_view& text, std::string_view start, std::string_view end) {
    const TSpan span = FindBetween(text, start, end);
    if (!span.Found) {
        text = {};
        return {};
    }
    std::string result = Unquote(TrimView(text.substr(span.Begin, span.End - span.Begin)));
    text.remove_prefix(span.End + end.size());
    return result;
}

std::optional<std::string_view> TakeBlock(std::string_view& text, std::string_view marker) {
    const std::size_t s = FindNoCase(text, marker);
    if (s == std::string_view::npos || marker.empty())
        return std::nullopt;
    const std::size_t begin = s + marker.size();
    std::size_t next = FindNoCase(text, marker, begin);
    if (next == std::string_view::npos)
        next = text.size();
    const std::string_view block = TrimView(text.substr(begin, next - begin));
    text.remove_prefix(next);
    return block;
}

TRangePage ReadRangePage(std::string_view page, int64_t first) {
    TRangePage result;
    const std::string list = Between(page, ListStart, ListEnd);
    result.ListFound = !list.empty();
    std::string_view rest = list;
    while (const std::optional<std::string_view> block = TakeBlock(rest, DrawMarker)) {
        TPageDraw draw;
        try {
            draw.Number = PageInteger(Between(*block, NumberStart, NumberEnd));
        } catch (const Error&) {
            result.Skipped.push_back("тираж без номера: в блоке тиража не закрыта ссылка на тираж");
            continue;
        }
        // An older draw is the site's own addition to the page, not part of the batch.
        if (draw.Number < first)
            continue;
        try {
            draw.DateText = Between(*block, DateStart, DateEnd).substr(0, DateLength);
            if (draw.DateText.empty()) {
                result.Skipped.push_back(Format("тираж %d: нет даты тиража", draw.Number));
                continue;
            }
            draw.Numbers = ReadBlockNumbers(*block);
        } catch (const Error&) {
            result.Skipped.push_back(Format("тираж %d: блок тиража разметки не завершён", draw.Number));
            continue;
        }
        result.Draws.push_back(std::move(draw));
    }
    return result;
}

std::optional<TPageNumbers> ReadSingleDrawPage(std::string_view page) {
    const std::string block = Between(page, SingleStart, SingleEnd);
    if (block.empty())
        return std::nullopt;
    std::string_view rest = block;
    TPageNumbers numbers{};
    for (int32_t& n : numbers)
        n = PageInteger(TakeBetween(rest, SingleNumberStart, SingleNumberEnd));
    return numbers;
}

std::string DrawNumbersProblem(const TPageNumbers& numbers) {
    std::array<bool, MaxNumber + 1> seen{};
    for (int32_t n : numbers) {
        if (n < 1 || n > MaxNumber || seen[static_cast<std::size_t>(n)])
            return Format("числа %s не являются %d различными числами от 1 до %d",
                          PageNumbersText(numbers).c_str(), NumbersInDraw, MaxNumber);
        seen[static_cast<std::size_t>(n)] = true;
    }
    return {};
}

std::string PageNumbersText(const TPageNumbers& numbers) {
    std::string out;
    for (int32_t n : numbers) {
        if (!out.empty())
            out += ';';
        out += std::to_string(n);
    }
    return out;
}

} // namespace kumby
