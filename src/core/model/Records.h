#pragma once

#include "GameConstants.h"
#include "Money.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

static_assert(std::endian::native == std::endian::little,
              "records are read and written as little-endian bytes in place");

// Length-prefixed single-byte string as stored in files: a length byte and N
// CP1251 characters; bytes past the length are zero.
template <std::size_t N> struct TShortString {
    uint8_t Length = 0;
    char Chars[N] = {};

    // Raw CP1251 bytes.
    std::string Bytes() const { return std::string(Chars, Length <= N ? Length : N); }
    // Stores raw bytes, cut to N.
    void AssignBytes(std::string_view bytes) {
        const std::size_t n = bytes.size() < N ? bytes.size() : N;
        Length = static_cast<uint8_t>(n);
        for (std::size_t i = 0; i < N; ++i)
            Chars[i] = i < n ? bytes[i] : '\0';
    }
};

using TCombination = std::array<uint8_t, NumbersInDraw>;
static_assert(sizeof(TCombination) == 12);

// Working list, undo copy and buffer of combinations.
using TCombsArray = std::vector<TCombination>;

using TByteArray = std::vector<uint8_t>;
using TIntArray = std::vector<int32_t>;

// One draw. The same 36 bytes in memory and in the draws file.
struct TDrawRecord {
    int32_t Number = 0;
    uint8_t Numbers[NumbersInDraw] = {};
    TShortString<16> DateText;
    uint8_t Padding[3] = {};

    // The date text in UTF-8 and back (cut to 16 CP1251 characters).
    std::string DateTextUtf8() const;
    void SetDateTextUtf8(std::string_view text);
    TCombination Combination() const;
    void SetNumbers(const TCombination& comb);
};
static_assert(sizeof(TDrawRecord) == 36);
static_assert(offsetof(TDrawRecord, Number) == 0);
static_assert(offsetof(TDrawRecord, Numbers) == 4);
static_assert(offsetof(TDrawRecord, DateText) == 16);
static_assert(offsetof(TDrawRecord, Padding) == 33);

using TDrawsArray = std::vector<TDrawRecord>;

struct TNumberList {
    int32_t Count = 0;
    uint8_t Numbers[NumbersInDraw] = {};
};
static_assert(sizeof(TNumberList) == 16);

struct TStatEntry {
    int32_t Draw = 0;
    int32_t Depth = 0;
    int32_t PrevDraw = 0;
    uint16_t PeriodMin = 0;
    uint16_t PeriodMax = 0;
    int32_t Count = 0;
    int32_t Norm = 0;
    uint16_t Key1 = 0;
    uint16_t Key2 = 0;
    uint16_t Key3 = 0;
    uint16_t Key4 = 0;

    bool SameKey(const TStatEntry& o) const {
        return Key1 == o.Key1 && Key2 == o.Key2 && Key3 == o.Key3 && Key4 == o.Key4;
    }
};
using TStatDrawArray = std::vector<TStatEntry>;

// One value of a full-set distribution file: the value's keys and its count.
struct TPrefetchRecord {
    uint16_t Key1 = 0;
    uint16_t Key2 = 0;
    uint16_t Key3 = 0;
    uint16_t Key4 = 0;
    int32_t Count = 0;
};
static_assert(sizeof(TPrefetchRecord) == 12);
static_assert(offsetof(TPrefetchRecord, Key1) == 0);
static_assert(offsetof(TPrefetchRecord, Key4) == 6);
static_assert(offsetof(TPrefetchRecord, Count) == 8);

struct TLastValueEntry {
    int32_t Index = 0;
    uint16_t Key1 = 0;
    uint16_t Key2 = 0;
    uint16_t Key3 = 0;
    uint16_t Key4 = 0;
};
using TLastValueArray = std::vector<TLastValueEntry>;

struct TStatSimpleEntry {
    int32_t Key = 0;
    int32_t Value = 0;
};
using TStatSimpleArray = std::vector<TStatSimpleEntry>;

struct TRatingEntry {
    std::string Name; // UTF-8; at most 255 CP1251 characters in files
    int32_t Count = 0;
    int32_t HitSum = 0;
    std::array<int32_t, MaxHits + 1> HitCounts = {};
    TMoney Profit = 0;
};
using TRatingsArray = std::vector<TRatingEntry>;

struct TProfitDrawEntry {
    int32_t DrawNumber = 0;
    TMoney Profit = 0;
};
using TProfitDrawArray = std::vector<TProfitDrawEntry>;

struct TShemaEntry {
    uint8_t Number = 0;
    int32_t Count = 0;
    int32_t LastDraw = 0;
};
static_assert(sizeof(TShemaEntry) == 12);
using TShemaArray = std::vector<TShemaEntry>;

struct TProfitEntry {
    uint8_t Overlap = 0;
    TMoney Profit = 0;
};

struct TConfigData {
    int32_t MatrixCols = 4;
    int32_t ChannelSize = 4;
    TMoney Cost = 0;
    int32_t MaxStake = 12;
    std::vector<TProfitEntry> Profits;
    long double CoefCount = 0;
    long double CoefDeviation = -1;
    long double CoefLevel = 1;
    bool UsePercents = false;
    bool UseAbsValues = false;
    std::array<uint8_t, MaxNumber> MatrixSegments = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                                     1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
};

// The three user formulas of the shredding methods and the digits kept of each.
struct TShreddingSettings {
    std::array<std::string, 3> Formulas = {
        "(n1+n2+n3+n4+n5+n6)/(n7+n8+n9+n10+n11+n12)",
        "(n7+n8+n9+n10+n11+n12)/(n1+n2+n3+n4+n5+n6)",
        "(n1+n3+n5+n7+n9+n11)/(n2+n4+n6+n8+n10+n12)",
    };
    std::array<uint8_t, 3> Digits = {2, 2, 2};
};

// Date-time as days since 30.12.1899 with the time of day as the fraction.
using TDateTime = double;

} // namespace kumby
