#pragma once

// What the ratings list shows: its captions, the cells of a record in each view of
// effectiveness, the probability table behind them, and the CSV export.

#include "model/Records.h"
#include "stakes/Ratings.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace kumby {

// For k matches: the combinations of the full set that share exactly k numbers with
// a draw, and their share of the full set.
struct TProbabilityTable {
    std::array<uint64_t, MaxHits + 1> Hits{};
    std::array<long double, MaxHits + 1> P{};
};
// Computed once.
const TProbabilityTable& HitProbabilities();

// "Ожидаемые значения совпадений", "Абсолютные ...", "Относительные ...".
inline constexpr int RatingsEffModeExpected = 0;
inline constexpr int RatingsEffModeAbsolute = 1;
inline constexpr int RatingsEffModeRelative = 2;
// A stored view setting outside 0..2 falls back to the default view.
int NormalRatingsEffMode(int mode);

using TRatingCells = std::array<std::string, RatingsColumnCount>;

// "Комментарий", "Ставок", ..., "0".."12", "E0".."E12".
const TRatingCells& RatingsCaptions();
// The row of one record; a record no stakes could give shows "# bad data #".
TRatingCells RatingCells(const TRatingEntry& entry, int effMode);
inline constexpr const char* BadRatingText = "# bad data #";

// "Рейтинг: %d"
std::string RatingsCountText(std::size_t count);

// The export file as UTF-8 text: the 32 captions, then the first 19 columns of every
// record, ";"-separated, texts in double quotes, CR LF line ends.
std::string RatingsCsv(const TRatingsArray& items);
// Writes it in CP1251 through a temporary file; raises Error naming the file.
void ExportRatingsCsv(const std::filesystem::path& path, const TRatingsArray& items);

} // namespace kumby
