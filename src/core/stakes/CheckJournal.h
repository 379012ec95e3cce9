#pragma once

// The journal of a stake check. A check marks stakes in the stakes file one by one
// but saves the ratings once at its end, so a crash in between would leave checked
// stakes whose results never reach the ratings file, and a checked stake is never
// looked at again. Before the first mark the check writes which records it is going
// to mark and which ratings file still lacks them; the next start-up feeds the
// ratings every one of them that is marked, unless the ratings were saved since.

#include "stakes/Ratings.h"
#include "stakes/StakesCheck.h"
#include "stakes/StakesFile.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

inline constexpr const char* CheckJournalFileName = "Kumby_12x24.lrt.chk";

struct TCheckJournal {
    TRatingsFileId Ratings;  // the ratings file that lacks the results of the records
    int64_t StakesCount = 0; // records in the stakes file when the check began
    std::vector<TStakeRun> Runs;
};

std::string CheckJournalToBytes(const TCheckJournal& journal);

struct TCheckJournalRead {
    TCheckJournal Journal;
    std::string Problem; // empty when the bytes are a sound journal
};
TCheckJournalRead CheckJournalFromBytes(std::string_view bytes);

// Writes the journal, through a temporary file, when the check begins.
class TCheckJournalFile : public IStakeCheckJournal {
public:
    TCheckJournalFile(std::filesystem::path path, TRatingsFileId ratings)
        : Path_(std::move(path)), Ratings_(ratings) {}
    void CheckBegins(std::span<const TStakeRun> runs, int64_t stakesCount) override;
    bool Written() const { return Written_; }
    const std::filesystem::path& Path() const { return Path_; }

private:
    std::filesystem::path Path_;
    TRatingsFileId Ratings_;
    bool Written_ = false;
};

// Removes a journal; raises Error naming the file when it stays.
void RemoveCheckJournal(const std::filesystem::path& path);

enum class TJournalOutcome {
    None,     // no journal
    Replayed, // the ratings got the results the journal's check had marked
    Outdated, // the ratings were saved after that check: nothing to do
    Unusable, // damaged, unreadable, or naming records the stakes file no longer has
};

struct TJournalRecovery {
    TJournalOutcome Outcome = TJournalOutcome::None;
    int64_t Fed = 0;
    std::string Problem; // Unusable: what is wrong
};

// Handles the journal a check left at `path`. `ratingsFile` is what the ratings
// file held when `ratings` were read from it, null when that is not known (the file
// was unreadable or damaged). When the journal names that file, every record it lists
// that is checked now goes into `ratings`, all of them or (on a read error or a
// stop) none.
// The journal stays where it is: it goes once the ratings are saved.
TJournalRecovery RecoverCheckJournal(const std::filesystem::path& path, const TRatingsFileId* ratingsFile,
                                     const TStakesFile& stakes, TRatings& ratings, IStakesProgress* progress);

// The warning after an unusable journal.
std::string UnusableCheckJournalText(const std::filesystem::path& journal,
                                     const std::filesystem::path& ratings, const std::string& problem);

} // namespace kumby
