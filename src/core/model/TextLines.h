#pragma once

// Lines of a text read from a file or the clipboard.

#include <cstddef>
#include <string_view>

namespace kumby {

// Calls f(line) for every line of the text: lines end at CR LF, LF or a lone CR, and
// a final line break adds no empty line.
template <typename F> void ForEachLine(std::string_view text, F&& f) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        f(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        f(text.substr(start));
}

} // namespace kumby
