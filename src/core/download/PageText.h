#pragma once

// Reading the results site's pages: a plain text search for fixed markers. Page
// texts are CP1251 (as HttpGetText gives them); the markers are ASCII and are
// matched ignoring case.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

// Position of `what` in `text` at or after `from`, ignoring ASCII case; npos when absent.
std::size_t FindNoCase(std::string_view text, std::string_view what, std::size_t from = 0);

// The text after `start` up to the first `end` after it, trimmed and unquoted
// (enclosing double quotes go, doubled ones inside become single); empty when
// `start` is absent. Raises Error when `end` does not follow.
std::string Between(std::string_view text, std::string_view start, std::string_view end);
// As Between, then cuts `text` up to and including the end marker, so that repeated
// calls walk through a sequence. An absent start empties `text`.
std::string TakeBetween(std::string_view& text, std::string_view start, std::string_view end);
// The text after the first `marker` up to its next occurrence (or the end), trimmed;
// `text` is cut just before that next occurrence. None when `marker` is absent.
std::optional<std::string_view> TakeBlock(std::string_view& text, std::string_view marker);

// The numbers of a draw as the page shows them, in that order.
using TPageNumbers = std::array<int32_t, 12>;

// One draw of a range page.
struct TPageDraw {
    int32_t Number = 0;
    std::string DateText; // CP1251, at most 16 characters
    // None when the block has no numbers: the single draw page has them.
    std::optional<TPageNumbers> Numbers;
};

struct TRangePage {
    bool ListFound = false;
    // Draws numbered `first` or above, in page order (newest first).
    std::vector<TPageDraw> Draws;
    // Blocks numbered `first` or above that were left out, each with its reason (UTF-8).
    std::vector<std::string> Skipped;
    // Draws plus skipped blocks: how many the page listed for the batch.
    std::size_t Listed() const { return Draws.size() + Skipped.size(); }
};

// The draws of a range page; blocks below `first` (older draws) are left out silently.
// Raises Error only when the list of draws has no end marker.
TRangePage ReadRangePage(std::string_view page, int64_t first);
// The numbers of the single draw page; none when it shows none.
std::optional<TPageNumbers> ReadSingleDrawPage(std::string_view page);

// Empty when the numbers are 12 distinct numbers 1..24; otherwise why not (UTF-8).
std::string DrawNumbersProblem(const TPageNumbers& numbers);
// "1;2;..." in page order.
std::string PageNumbersText(const TPageNumbers& numbers);

} // namespace kumby
