#pragma once

// The draw archive: its file, the lookups by number and offset, and the values
// derived from the offset back in time.

#include "model/Records.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace kumby {

inline constexpr const char* DrawsFileName = "Kumby_12x24.ldr";
inline constexpr std::size_t DrawRecordSize = sizeof(TDrawRecord);

// Missing file: empty archive, no error. A partial last record is ignored. A read
// error raises Error; the records read before it stay in `draws`.
void LoadDrawArchive(const std::filesystem::path& path, TDrawsArray& draws);
// Replaces the file as a whole; on failure the old file stays and Error is raised.
void SaveDrawArchive(const std::filesystem::path& path, const TDrawsArray& draws);
// The file image of the archive, 36 bytes per draw, oldest first.
std::string DrawArchiveBytes(const TDrawsArray& draws);

// Raises "Запись со индексом %d в файле данных не найдена!" for an index outside the archive.
void DeleteDraw(TDrawsArray& draws, int index);
void ClearDraws(TDrawsArray& draws);
// Archive index of the draw with that number, or -1.
int FindDrawIndex(const TDrawsArray& draws, int32_t number);
// Number of the draw at offset k plus 1; 1 for an empty archive; -1 when k is outside.
int32_t NextDrawNumber(const TDrawsArray& draws, int k);
// Numbers (stored order) of the draw at offset k; all zeros outside the archive.
void DrawNumbersAtOffset(const TDrawsArray& draws, int k, TCombination& out);

// What the offset k derives from the archive.
struct TDrawsOffsetInfo {
    int32_t NextDrawNumber = 1;
    std::string NextDrawNumbersText;               // empty unless 0 < k < count
    std::array<bool, MaxNumber + 1> NextDrawSet{}; // index = number; empty when k = 0
};
TDrawsOffsetInfo ComputeOffsetInfo(const TDrawsArray& draws, int k);

// Status-bar texts.
std::string DrawsCountText(std::size_t count); // "Архив тиражей: %d"
std::string NextDrawText(int32_t nextNumber);  // "Следующий тираж: %d"

// Numbers of a draw as a list row shows them: stored order, or ascending.
TCombination DrawDisplayNumbers(const TDrawRecord& draw, bool sorted);
int DrawSum(const TDrawRecord& draw);

// The draw dialog's check of the numbers line: split at "," and ";" (runs count
// once), exactly 12 words, each 1..24, all distinct.
inline constexpr const char* BadDrawNumbersText = "Введена некорректная комбинация!";
bool ParseDrawNumbers(std::string_view text, TCombination& out);

} // namespace kumby
