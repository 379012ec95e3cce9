#pragma once

// The ratings: per source of stakes (the stake's comment) how many checked stakes it
// made, how many numbers they matched, how often each number of matches occurred and
// what they earned; and the ratings file of 328-byte records.

#include "model/Records.h"
#include "stakes/StakesCheck.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kumby {

inline constexpr const char* RatingsFileName = "Kumby_12x24.lrt";
inline constexpr std::size_t RatingRecordSize = 328;
// Far beyond any real file (3 million sources); a larger one is refused, not read.
inline constexpr std::size_t MaxRatingsFileBytes = std::size_t{1} << 30;

// One record of the ratings file, the same bytes on disk and in memory.
struct TRatingFileRecord {
    TShortString<255> Source; // CP1251
    int32_t Count = 0;
    int32_t HitSum = 0;
    int32_t HitCounts[MaxHits + 1] = {};
    uint8_t Reserved[4] = {};
    TMoney Profit = 0;
};
static_assert(sizeof(TRatingFileRecord) == RatingRecordSize);
static_assert(offsetof(TRatingFileRecord, Source) == 0);
static_assert(offsetof(TRatingFileRecord, Count) == 256);
static_assert(offsetof(TRatingFileRecord, HitSum) == 260);
static_assert(offsetof(TRatingFileRecord, HitCounts) == 264);
static_assert(offsetof(TRatingFileRecord, Reserved) == 316);
static_assert(offsetof(TRatingFileRecord, Profit) == 320);

TRatingFileRecord RatingToRecord(const TRatingEntry& entry);
TRatingEntry RatingFromRecord(const TRatingFileRecord& record);
// Whether an entry could have been made by adding checked stakes: at least one
// stake, no negative counter, the counters adding up to Count and the matches to
// HitSum.
bool IsSoundRating(const TRatingEntry& entry);

// Which bytes a ratings file holds: tells whether it was saved again since.
struct TRatingsFileId {
    uint64_t Size = 0;
    uint64_t Hash = 0;
    bool operator==(const TRatingsFileId&) const = default;
};
TRatingsFileId RatingsFileIdOf(std::string_view bytes);

// What reading a ratings file found.
struct TRatingsLoad {
    TRatingsArray Items;
    int64_t Records = 0;   // whole records in the file
    int64_t Bad = 0;       // records dropped: counters no stakes could give
    int64_t Merged = 0;    // records folded into an earlier one with the same source
    int64_t TailBytes = 0; // bytes of a partial record at the end, dropped
    TRatingsFileId File;   // of the bytes read
    bool Damaged() const { return Bad > 0 || Merged > 0 || TailBytes > 0; }
};

// Never raises: what is unsound is dropped and counted.
TRatingsLoad RatingsFromBytes(std::string_view bytes);
std::string RatingsToBytes(const TRatingsArray& items);

// Raises Error naming the file when it cannot be read (or is no regular file, or
// too large).
TRatingsLoad LoadRatingsFile(const std::filesystem::path& path);
// Replaces the whole file through a temporary file and returns what it holds now;
// raises Error naming the file.
TRatingsFileId SaveRatingsFile(const std::filesystem::path& path, const TRatingsArray& items);
// Copies a damaged file next to it under a name not yet taken
// ("Kumby_12x24.lrt.damaged", "...damaged2", ...) before it is rewritten; returns
// that name. Raises Error naming the file when the copy cannot be made.
std::filesystem::path KeepDamagedRatingsFile(const std::filesystem::path& path);
// The warning after a damaged file was read.
std::string DamagedRatingsText(const std::filesystem::path& path, const TRatingsLoad& load,
                               const std::filesystem::path& copy);

inline constexpr int RatingsColumnCount = 32;
inline constexpr int RatingsDefaultSortColumn = 3;
inline constexpr bool RatingsDefaultSortDescending = true;

// The array with a case-blind index of its sources, fed by the stake check.
class TRatings : public IStakeCheckSink {
public:
    const TRatingsArray& Items() const { return Items_; }
    std::size_t Count() const { return Items_.size(); }
    bool Empty() const { return Items_.empty(); }

    // One checked stake of a source; nothing for a negative (unchecked) or impossible
    // number of matches.
    void Add(std::string_view name, int hits, TMoney profit);
    void StakeChecked(const TStakeRecord& stake) override;
    void Clear();
    void Assign(TRatingsArray items);

    // Sorts by a list column (0..31); a column below 0 leaves the order alone, the
    // effectiveness columns (19 and above) do not sort. Records that compare equal
    // keep their order.
    void Sort(int column, bool descending);

    // Whether anything was added since the last call.
    bool TakeChanged() {
        const bool changed = Changed_;
        Changed_ = false;
        return changed;
    }

private:
    void Reindex();

    TRatingsArray Items_;
    std::unordered_map<std::string, std::size_t> Index_; // upper-cased source -> item
    bool Changed_ = false;
};

} // namespace kumby
