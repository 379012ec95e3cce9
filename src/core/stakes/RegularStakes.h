#pragma once

// Regular stakes: rules that make one stake per draw by moving a combination a fixed
// step around the ring 1..24, and their file of 292-byte records.

#include "model/Records.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

inline constexpr const char* RegularsFileName = "Kumby_12x24.ltb";
inline constexpr std::size_t RegularRecordSize = 292;
// Room for one regular per combination of the full set; a larger file is refused.
inline constexpr std::size_t MaxRegularsFileBytes = std::size_t{1} << 30;
inline constexpr int MaxRegularStep = 24;
inline constexpr const char* DefaultRegularComment = "Регулярная ставка";
inline constexpr const char* SelectedCombsText = "{...Выделенные комбинации...}";

// One record of the regulars file, the same bytes on disk and in memory.
struct TRegularRecord {
    TShortString<255> Comment; // CP1251
    uint8_t UseLastDraw = 0;   // 1: every step starts from the last draw's numbers
    TCombination StartComb{};
    TCombination CurrentComb{}; // the latest stake's numbers
    uint8_t Reserved[3] = {};
    int32_t Step = 1;
    int32_t StakeCount = 0;

    std::string CommentUtf8() const;
    // Cut to 255 CP1251 characters.
    void SetCommentUtf8(std::string_view text);
};
static_assert(sizeof(TRegularRecord) == RegularRecordSize);
static_assert(offsetof(TRegularRecord, Comment) == 0);
static_assert(offsetof(TRegularRecord, UseLastDraw) == 256);
static_assert(offsetof(TRegularRecord, StartComb) == 257);
static_assert(offsetof(TRegularRecord, CurrentComb) == 269);
static_assert(offsetof(TRegularRecord, Reserved) == 281);
static_assert(offsetof(TRegularRecord, Step) == 284);
static_assert(offsetof(TRegularRecord, StakeCount) == 288);

using TRegularsArray = std::vector<TRegularRecord>;

// Every number moved by `step` around the ring, then sorted ascending.
TCombination ShiftCombination(const TCombination& base, int step);

// One step of a regular: from the last draw's numbers (`lastDraw`) or from its
// current combination. False, with the regular unchanged, when the base is no
// playable combination (no draw at the offset, a regular without numbers).
bool AdvanceRegular(TRegularRecord& regular, const TCombination& lastDraw);

// Whether a record could have been made by the program: a comment, a step in
// -24..24, no negative count, and combinations that are 12 different ascending
// numbers of 1..24 (or, before any stake, all zeros).
bool IsSoundRegular(const TRegularRecord& regular);

// The index of the regular with this comment, ignoring letter case; -1 when none.
int64_t FindRegular(const TRegularsArray& items, std::string_view commentUtf8);

// What reading a regulars file found.
struct TRegularsLoad {
    TRegularsArray Items;
    int64_t Records = 0;    // whole records in the file
    int64_t Bad = 0;        // records dropped: values the program never writes
    int64_t Duplicates = 0; // records dropped: the comment of an earlier one
    int64_t TailBytes = 0;  // bytes of a partial record at the end, dropped
    bool Damaged() const { return Bad > 0 || Duplicates > 0 || TailBytes > 0; }
};

// Never raises: what is unsound is dropped and counted.
TRegularsLoad RegularsFromBytes(std::string_view bytes);
std::string RegularsToBytes(const TRegularsArray& items);

// Raises Error naming the file when it cannot be read (or is no regular file, or
// too large).
TRegularsLoad LoadRegularsFile(const std::filesystem::path& path);
// Replaces the whole file through a temporary file; raises Error naming the file.
void SaveRegularsFile(const std::filesystem::path& path, const TRegularsArray& items);
// Copies a damaged file aside ("Kumby_12x24.ltb.damaged", ...) before it is
// rewritten; returns that name. Raises Error naming the file on failure.
std::filesystem::path KeepDamagedRegularsFile(const std::filesystem::path& path);
// The warning after a damaged file was read.
std::string DamagedRegularsText(const std::filesystem::path& path, const TRegularsLoad& load,
                                const std::filesystem::path& copy);

// What the add dialog gives.
struct TRegularInput {
    std::string Comment;
    bool UseLastDraw = false;
    std::string CombText; // the numbers when exactly one combination is selected
    int Step = 1;
};

// The checks of the add dialog's OK: the message to show, or empty when accepted.
// `oneSelected`: exactly one combination was selected (its numbers are typed then).
std::string CheckRegularInput(const TRegularInput& input, bool oneSelected, const TRegularsArray& existing);

// The list's columns and the cells of one row.
inline constexpr int RegularsColumnCount = 5;
const std::vector<std::string>& RegularsCaptions();
std::vector<std::string> RegularCells(const TRegularRecord& regular);

} // namespace kumby
