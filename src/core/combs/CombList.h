#pragma once

// The working combination list's operations that do not depend on the session:
// generation, the list file, the clipboard text, removing drawn combinations and
// looking a combination up in the archive.

#include "model/Records.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

inline constexpr int GenerateModeCount = 5;
inline constexpr int GenerateFromFileMode = 4;

// Captions of the generation modes 0..4.
const std::array<const char*, GenerateModeCount>& GenerateModeCaptions();

// The user's own numbers: words split at "," and ";" (runs count once), each read as
// an integer (0 when not a number); values 0..255 are in the set, others ignored.
using TOwnNumbers = std::array<bool, 256>;
TOwnNumbers ParseOwnNumbers(std::string_view text);

// Replaces the list with the combinations of the full set that pass the mode's rule
// (modes 0..3; any other value but 4 counts as 0). Allocates nothing when the list
// already has room for the full set.
void GenerateCombinations(TCombsArray& list, int mode, const TOwnNumbers& own);

// The list file: CP1251 text, one combination per line. Reading accepts "," or ";"
// (runs count once), skips lines without exactly 12 words, reads words as integers
// (0 when not a number) and keeps them as written.
std::string CombsToListText(const TCombsArray& list);
// Appends the combinations of a text; returns how many were added.
std::size_t ParseListText(std::string_view text, TCombsArray& list);
// The largest list file read (about 95 MB): the full set written with every line at
// its longest, 12 two-digit numbers, 11 separators and CR LF. A file is read whole
// into memory, and a larger one is no list of this game.
inline constexpr std::size_t MaxListLineBytes = 37;
inline constexpr std::size_t MaxListFileBytes = FullSetSize * MaxListLineBytes;
// Raises Error naming the file, also for one that is no regular file or is larger
// than MaxListFileBytes; nothing is appended then.
void LoadListFile(const std::filesystem::path& path, TCombsArray& list);
void SaveListFile(const std::filesystem::path& path, const TCombsArray& list);

// Clipboard text of combinations: two-digit numbers, single spaces, CR LF after each.
std::string CombsToClipboardText(const TCombsArray& list, const std::vector<std::size_t>& rows);
// Lines of a pasted text (CR LF, CR or LF; a final line break adds no empty line).
std::vector<std::string_view> SplitPastedLines(std::string_view text);

// Rebuilds `to` from `from` keeping every combination that no draw of
// draws[first..last] has all 12 numbers of (CountMatches = 12). An empty range keeps
// everything. `progress(done)` is called now and then; returning false stops the pass
// (what was kept so far stays). Returns false when stopped.
bool RemoveDrawnCombinations(const TCombsArray& from, TCombsArray& to, const TDrawsArray& draws, int first,
                             int last, const std::function<bool(std::size_t done)>& progress = {});

// Up to 26 DrawToText lines of the draws that have every number of the combination,
// newest first; the offset plays no part.
std::vector<std::string> FindInArchive(const TDrawsArray& draws, const TCombination& comb);

} // namespace kumby
