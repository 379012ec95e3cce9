#pragma once

// Checking the stakes against the draw archive.

#include "model/Records.h"
#include "stakes/StakesFile.h"

#include <functional>
#include <span>

namespace kumby {

// Takes every stake that a check has just turned into a checked one: the ratings and
// the stakes logs plug in here.
class IStakeCheckSink {
public:
    virtual ~IStakeCheckSink() = default;
    virtual void StakeChecked(const TStakeRecord& stake) = 0;
};

// A run of consecutive records of the stakes file.
struct TStakeRun {
    int64_t First = 0;
    int64_t Count = 0;
    bool operator==(const TStakeRun&) const = default;
};

// Learns which records a check is going to mark before it rewrites the first of
// them, so that it can put that on the disk first: whatever the marks feed (the
// ratings, saved once at the end) can then be made whole after a crash in between.
// An exception from it ends the check with nothing marked.
class IStakeCheckJournal {
public:
    virtual ~IStakeCheckJournal() = default;
    virtual void CheckBegins(std::span<const TStakeRun> runs, int64_t stakesCount) = 0;
};

// Value of a stake of `numbersCount` numbers with `matched` matches (-1: unchecked).
using TStakePricer = std::function<TMoney(int numbersCount, int matched)>;

struct TCheckReport {
    int64_t Checked = 0;
    bool Stopped = false;
};

inline constexpr const char* CheckStakesStatus = "Проверка результатов ставок...";

// Checks every unchecked stake whose draw is in the archive, in file order: fills
// the draw's numbers, the matches and the profit and writes the record back in one
// write, so that a stop or a crash leaves each record checked or not, never half.
// A checked stake is never checked again. The journal, when given, hears of every
// record to be marked before the first one is.
TCheckReport CheckAllStakes(TStakesFile& file, const TDrawsArray& draws, const TStakePricer& price,
                            std::span<IStakeCheckSink* const> sinks, IStakeCheckJournal* journal,
                            IStakesProgress* progress);

// Fills the checked state of a stake from its draw.
void CheckStake(TStakeRecord& stake, const TDrawRecord& draw, const TStakePricer& price);

} // namespace kumby
