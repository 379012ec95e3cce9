#pragma once

// The game's vocabulary: pure helpers on draws, combinations and statistic values.

#include "Records.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace kumby {

// ---- Arithmetic ---------------------------------------------------------

// C(n, k) for 0 <= k < n <= 255; 1 when k >= n.
uint64_t Binomial(int n, int k);
// Combinations of K out of N sharing exactly k numbers with a fixed one; 1 when k >= N.
uint64_t HitCount(int n, int k, int hits);
// ceil(n / w): the channel of number n for width w.
int GroupOf(int n, int w);
// Groups of width w covering first..last (first 0 counts as 1..last).
int GroupCount(int first, int last, int w);
int MatrixColumn(int n, int cols);
int MatrixRow(int n, int cols);
// Number of the cell in 0-based column and row of a matrix with `cols` columns.
int MatrixNumber(int column0, int row0, int cols);
// One wrap around 1..24; callers keep |s| <= 24.
int ShiftNumber(int n, int s);
void ShiftDraw(const TDrawRecord& draw, int s, TCombination& out);

// RGB as 0xRRGGBB.
using TColour = uint32_t;
inline constexpr TColour PureRed = 0xFF0000;
TColour NumberColour(int n, int w);

// ---- Membership and counting ----------------------------------------------

bool DrawContains(int n, const TDrawRecord& draw);
bool CombContains(int n, const TCombination& comb);
bool ByteListContains(int n, const TByteArray& list);
bool DrawHasGroup(int g, const TDrawRecord& draw, int w);
bool DrawHasSegment(int s, const TDrawRecord& draw, const std::array<uint8_t, MaxNumber>& table);
void AddUniqueByte(uint8_t n, TByteArray& list);
void AppendByte(uint8_t n, TByteArray& list);
int CountMatches(const TDrawRecord& draw, const TCombination& comb);
int CountDrawMatches(const TDrawRecord& a, const TDrawRecord& b);
int CountDistinctNumbers(const TCombination* combs, std::size_t count);
void CollectDistinctNumbers(const TCombination* combs, std::size_t count, TByteArray& out);
void IntersectNumbers(const TDrawRecord& draw, const TNumberList& list, TNumberList& out);
bool SameNumbers(const TNumberList& a, const TNumberList& b);

// ---- Sorting (stable, ascending unless named otherwise) --------------------

void SortDrawNumbers(TDrawRecord& draw);
void SortCombination(TCombination& comb);
void SortNumberList(TNumberList& list);
void SortIntsDescending(TIntArray& list);

// ---- Statistic value arrays ---------------------------------------------

void AddStatEntry(TStatDrawArray& list, const TStatEntry& e, bool trackPeriods);
// The merge step of AddStatEntry for an entry x already found with e's key
// (inline: full-set passes run it tens of millions of times).
inline void MergeStatEntry(TStatEntry& x, const TStatEntry& e, bool trackPeriods) {
    x.Count += e.Count;
    if (x.Depth == 0 || (e.Depth > 0 && x.Depth >= e.Depth)) {
        x.Draw = e.Draw;
        x.Depth = e.Depth;
    }
    // A value met twice in one draw (a digit of two numbers) is no period: a gap of
    // 0 draws is never measured.
    if (trackPeriods && e.Draw > 0 && x.PrevDraw > 0 && x.PrevDraw != e.Draw) {
        // Gaps wider than the field saturate rather than wrap around.
        const int64_t wide = std::abs(static_cast<int64_t>(x.PrevDraw) - e.Draw);
        const auto gap = static_cast<uint16_t>(std::min<int64_t>(wide, std::numeric_limits<uint16_t>::max()));
        if (gap < x.PeriodMin || x.PeriodMin == 0)
            x.PeriodMin = gap;
        if (gap > x.PeriodMax || x.PeriodMax == 0)
            x.PeriodMax = gap;
    }
    x.PrevDraw = e.Draw;
}

// The four keys as one number, for indexes.
inline uint64_t StatKey(const TStatEntry& e) {
    return uint64_t{e.Key1} | uint64_t{e.Key2} << 16 | uint64_t{e.Key3} << 32 | uint64_t{e.Key4} << 48;
}
void SortStatEntries(TStatDrawArray& list);
void SummarizeStatEntries(const TStatDrawArray& list, int32_t& minCount, int32_t& maxCount, int32_t& maxDepth,
                          int64_t& total);
int UpdateLastValue(TLastValueArray& list, int index, const TStatEntry& key);
void AddSimpleValue(TStatSimpleArray& list, int32_t key, int32_t amount);
void SortSimpleValues(TStatSimpleArray& list);
TPrefetchRecord PrefetchFromStatEntry(const TStatEntry& e);
// All fields zero but the keys and the count.
TStatEntry StatEntryFromPrefetch(const TPrefetchRecord& r);

// ---- Result accumulators ------------------------------------------------

void AddRating(TRatingsArray& list, std::string_view name, int hits, TMoney profit);
void AddDrawProfit(TProfitDrawArray& list, int32_t drawNumber, TMoney profit);

// ---- Weight of a statistic value ----------------------------------------

inline constexpr long double CdlWeightFault = -999.99L;
long double CdlWeight(const TConfigData& config, bool hasNorm, long double count, long double norm,
                      long double depth, long double total, long double maxDepth);

// ---- Dates --------------------------------------------------------------

// "dd.mm.yyyy hh:nn", or "" for t <= 0.
std::string DrawDateToText(TDateTime t);
// "" gives 0; pieces that do not make a valid date and time raise Error.
TDateTime TextToDrawDate(std::string_view text);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second = 0);
void DecodeDateTime(TDateTime t, int& year, int& month, int& day, int& hour, int& minute);
TDateTime NowDateTime();

// ---- Texts --------------------------------------------------------------

std::string DrawToText(const TDrawRecord& draw);
std::string CombToText(const TCombination& comb);
std::string NumbersToText(const uint8_t* numbers, int count, std::string_view separator);
std::string NumberListToText(const TNumberList& list, std::string_view separator);
std::string CombToClipboardText(const TCombination& comb);
// Raises Error "Некорректная комбинация: \"%s\"!" unless the text has exactly 12 words.
TCombination ParseCombination(std::string_view text);
// Empty on any error.
TIntArray ParseIntList(std::string_view text);
std::string IntListToText(const TIntArray& list, std::string_view separator);
std::string StakeKindName(int kind);
std::string DeviationText(std::string_view text, int base);
std::string MatrixSegmentsToText(const std::array<uint8_t, MaxNumber>& segments);
std::array<uint8_t, MaxNumber> MatrixSegmentsFromText(std::string_view text);

// Small text helpers shared by the parsers.
// Maximal runs of characters that are not separators; runs of separators count once.
std::vector<std::string_view> SplitWords(std::string_view text, std::string_view separators);
std::string_view TrimView(std::string_view s);
std::string Trim(std::string_view s);
// A whole decimal integer (optional sign), nothing else; false otherwise or on overflow.
bool TryParseInt(std::string_view s, int32_t& out);
// Likewise in 64 bits.
bool TryParseInt64(std::string_view s, int64_t& out);
// TryParseInt, or `fallback` when the text is not a number.
int32_t ParseIntOr(std::string_view s, int32_t fallback);
// printf into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

} // namespace kumby
