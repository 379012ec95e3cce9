#pragma once

// Pages as the results site serves them, built from the markers the reader looks
// for, with room for the faults a test needs.

#include "model/VexoUtils.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kumby::testing {

struct TSiteDraw {
    int32_t Number = 0;
    std::string Date = "01.02.2021 20:00";
    std::vector<int> Numbers{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    // Written as "<b>&nbsp;5</b>" instead of "<b>5</b>".
    bool Nbsp = false;
    // No numbers block: the single draw page has them.
    bool NoNumbersBlock = false;
};

// The draw numbered n with numbers that differ from draw to draw.
inline TSiteDraw SiteDraw(int32_t n) {
    TSiteDraw d;
    d.Number = n;
    d.Date = Format("%02d.01.2021 20:00", n % 28 + 1);
    d.Numbers.clear();
    for (int i = 0; i < 12; ++i)
        d.Numbers.push_back((n + i * 2) % 24 + 1);
    return d;
}

inline std::string DrawBlockHtml(const TSiteDraw& d) {
    std::string s = "<div class=\"elem\">\n  <div class=\"draw_date\" title=\"" + d.Date + "\">x</div>\n";
    s += "  <a href=\"/12x24/archive/" + std::to_string(d.Number) + "\">Тираж " + std::to_string(d.Number) +
         "</a>\n";
    if (!d.NoNumbersBlock) {
        s += "  <div class=\"container cleared\" id=\"n\"><span>";
        for (int n : d.Numbers)
            s += d.Nbsp ? "<b>&nbsp;" + std::to_string(n) + "</b>" : "<b>" + std::to_string(n) + "</b>";
        s += "</span></div>\n  <div class=\"controls\"><a>ещё</a></div>\n";
    }
    s += "</div>\n";
    return s;
}

// The draws listed newest first, as the site does.
inline std::string RangePageHtml(const std::vector<TSiteDraw>& newestFirst) {
    std::string s = "<html><body><h1>Архив</h1><div class=\"data drawings_data\">\n";
    for (const TSiteDraw& d : newestFirst)
        s += DrawBlockHtml(d);
    s += "<div class=\"content_decor\"></div></body></html>";
    return s;
}

// Draws first..last, newest first.
inline std::vector<TSiteDraw> SiteDraws(int32_t first, int32_t last) {
    std::vector<TSiteDraw> out;
    for (int32_t n = last; n >= first; --n)
        out.push_back(SiteDraw(n));
    return out;
}

inline std::string SingleDrawPageHtml(const std::vector<int>& numbers) {
    std::string s = "<html><div class=\"winning_numbers cleared\">";
    for (int n : numbers)
        s += "<p class=\"number\">" + std::to_string(n) + "</p>";
    s += "</div></html>";
    return s;
}

} // namespace kumby::testing
