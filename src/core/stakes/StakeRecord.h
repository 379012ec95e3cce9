#pragma once

// One stake: the 328 bytes of a record of the stakes file, the same in memory.

#include "model/Records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kumby {

inline constexpr uint8_t StakeVersion = 2;
inline constexpr std::size_t StakeRecordSize = 328;

enum TStakeKind : uint8_t {
    StakeKindSeparator = 0,
    StakeKindManual = 1,
    StakeKindRegular = 2,
    StakeKindScript = 3,
    StakeKindSystem = 4,
};

struct TStakeRecord {
    uint8_t Version = StakeVersion;
    uint8_t Kind = StakeKindSeparator;
    uint8_t Reserved1[2] = {};
    int32_t DrawNumber = -1;
    uint8_t Checked = 0;
    uint8_t Reserved2[3] = {};
    int32_t CombsCount = 0;                 // size of the working list when the stake was made
    TNumberList Numbers;                    // NumbersCount and the numbers, ascending
    uint8_t DrawResult[NumbersInDraw] = {}; // the draw's numbers in drawn order, once checked
    TNumberList Matched; // MatchedCount (-1 until checked) and the matched numbers, ascending
    uint8_t Reserved3[4] = {};
    TMoney Profit = 0;
    TShortString<255> Comment; // CP1251

    TStakeRecord() { Matched.Count = -1; }

    bool IsSeparator() const { return Kind == StakeKindSeparator; }
    int32_t NumbersCount() const { return Numbers.Count; }
    int32_t MatchedCount() const { return Matched.Count; }
    std::string CommentUtf8() const;
    // Cut to 255 CP1251 characters.
    void SetCommentUtf8(std::string_view text);
};
static_assert(sizeof(TStakeRecord) == StakeRecordSize);
static_assert(offsetof(TStakeRecord, Version) == 0);
static_assert(offsetof(TStakeRecord, Kind) == 1);
static_assert(offsetof(TStakeRecord, DrawNumber) == 4);
static_assert(offsetof(TStakeRecord, Checked) == 8);
static_assert(offsetof(TStakeRecord, CombsCount) == 12);
static_assert(offsetof(TStakeRecord, Numbers) == 16);
static_assert(offsetof(TStakeRecord, DrawResult) == 32);
static_assert(offsetof(TStakeRecord, Matched) == 44);
static_assert(offsetof(TStakeRecord, Reserved3) == 60);
static_assert(offsetof(TStakeRecord, Profit) == 64);
static_assert(offsetof(TStakeRecord, Comment) == 72);

// A stake not yet checked: numbers stored ascending, Profit = -cost.
TStakeRecord NewStake(TStakeKind kind, int32_t drawNumber, int32_t combsCount, const TCombination& numbers,
                      TMoney cost, std::string_view commentUtf8);
TStakeRecord SeparatorRecord();
// Puts the numbers in, ascending.
void SetStakeNumbers(TStakeRecord& stake, const TCombination& numbers);

// Whether the combination is a playable stake: 12 different numbers of 1..24.
bool IsValidStakeCombination(const TCombination& numbers);

// The stake dialog's numbers: words between runs of "," and ";", each an integer
// 1..24 after trimming, exactly 12 of them, all different. Ascending on success.
std::optional<TCombination> ParseStakeNumbers(std::string_view text);

inline constexpr const char* ManualStakeComment = "Ставка \"вручную\"";
inline constexpr int StakeCommentMaxLength = 64; // characters the stake dialogs accept
inline constexpr int MaxStakeCopies = 65535;
inline constexpr const char* BadStakeNumbersText = "Введена некорректная комбинация!";
inline constexpr const char* NoStakeCommentText = "Необходимо ввести комментарий!";

// The sum the stake dialog shows while the numbers are typed: the words (between
// runs of "," and ";") that read as integers, whatever else the text holds.
int64_t EnteredNumbersSum(std::string_view text);

// The checks of the stake dialog's OK: the message to show, or empty when it is accepted.
std::string CheckManualStake(std::string_view numbersText, std::string_view commentUtf8);

} // namespace kumby
