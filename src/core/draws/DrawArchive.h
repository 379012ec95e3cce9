#pragma once

// The draw archive: its file, the lookups by number and offset, and the values
// derived from the offset back in time.

#include "model/Records.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

inline constexpr const char* DrawsFileName = "Kumby_12x24.ldr";
inline constexpr std::size_t DrawRecordSize = sizeof(TDrawRecord);
// The largest draw number a record holds.
inline constexpr int32_t MaxDrawNumber = 2147483647;

// Missing file: empty archive, no error. A partial last record is ignored. A read
// error raises Error; the records read before it stay in `draws`.
void LoadDrawArchive(const std::filesystem::path& path, TDrawsArray& draws);
// Replaces the file as a whole; on failure the old file stays and Error is raised.
void SaveDrawArchive(const std::filesystem::path& path, const TDrawsArray& draws);
// The file image of the archive, 36 bytes per draw, oldest first; every record as
// CleanDrawRecord gives it.
std::string DrawArchiveBytes(const TDrawsArray& draws);
// The record as it is written: the date's length byte, its text and zeros after it.
TDrawRecord CleanDrawRecord(const TDrawRecord& draw);

// Raises "Запись со индексом %d в файле данных не найдена!" for an index outside the archive.
void DeleteDraw(TDrawsArray& draws, int index);
void ClearDraws(TDrawsArray& draws);
// Archive index of the draw with that number, or -1.
int FindDrawIndex(const TDrawsArray& draws, int32_t number);
// Archive indexes of every draw with that number, oldest first.
std::vector<int> DrawIndexesOfNumber(const TDrawsArray& draws, int32_t number);
// Number of the draw at offset k plus 1; 1 for an empty archive; -1 when k is outside.
// Wider than a draw number: after the largest one it does not wrap.
int64_t NextDrawNumber(const TDrawsArray& draws, int k);
// The number a new draw gets (the newest number plus 1); none after MaxDrawNumber.
std::optional<int32_t> NewDrawNumber(const TDrawsArray& draws);
// Numbers (stored order) of the draw at offset k; all zeros outside the archive.
void DrawNumbersAtOffset(const TDrawsArray& draws, int k, TCombination& out);

// What the offset k derives from the archive.
struct TDrawsOffsetInfo {
    int64_t NextDrawNumber = 1;
    std::string NextDrawNumbersText;               // empty unless 0 < k < count
    std::array<bool, MaxNumber + 1> NextDrawSet{}; // index = number; empty when k = 0
};
TDrawsOffsetInfo ComputeOffsetInfo(const TDrawsArray& draws, int k);

// "Тираж № %d уже есть в архиве." and the draw dialog's question before it adds one more.
std::string DrawNumberTakenText(int32_t number);
std::string DrawNumberTakenQuestion(int32_t number);
// A date text is kept only for moments after day 0 (30.12.1899 00:00).
inline constexpr const char* EarliestDrawDateText = "30.12.1899 00:01";
// A new draw when the newest already has the largest number.
inline constexpr const char* NoNewDrawNumberText =
    "У последнего тиража архива наибольший возможный номер (2147483647): следующему тиражу номер не "
    "присвоить.";

// Status-bar texts.
std::string DrawsCountText(std::size_t count); // "Архив тиражей: %d"
std::string NextDrawText(int64_t nextNumber);  // "Следующий тираж: %d"

// Numbers of a draw as a list row shows them: stored order, or ascending.
TCombination DrawDisplayNumbers(const TDrawRecord& draw, bool sorted);
int DrawSum(const TDrawRecord& draw);

// The draw dialog's check of the numbers line: split at "," and ";" (runs count
// once), exactly 12 words, each 1..24, all distinct.
inline constexpr const char* BadDrawNumbersText = "Введена некорректная комбинация!";
bool ParseDrawNumbers(std::string_view text, TCombination& out);

} // namespace kumby
