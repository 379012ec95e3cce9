#pragma once

// The stakes logs: one text file per number of matches, a line per checked stake.

#include "stakes/StakesCheck.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

namespace kumby {

// A log past this size is started afresh before the next line.
inline constexpr int64_t StakesLogLimit = 268435456;

// "Kumby_12x24-%d.log" in the folder.
std::filesystem::path StakesLogPath(const std::filesystem::path& folder, int matched);
// "yyyy.mm.dd hh:nn:ss: Тираж № ... Профит: %.2f." (UTF-8, no line end).
std::string StakesLogLine(const TStakeRecord& stake, std::time_t when);

// Appends each stake it is handed to the log of its number of matches. Files stay
// open for one check. A failure is kept (the first one, as the message to show) and
// ends the logging of that check; the check itself goes on.
class TStakesLog : public IStakeCheckSink {
public:
    explicit TStakesLog(std::filesystem::path folder, int64_t limit = StakesLogLimit);
    ~TStakesLog() override;
    TStakesLog(const TStakesLog&) = delete;
    TStakesLog& operator=(const TStakesLog&) = delete;

    void StakeChecked(const TStakeRecord& stake) override;
    const std::string& Failure() const { return Failure_; }

private:
    void Write(int matched, const std::string& line);

    std::filesystem::path Folder_;
    int64_t Limit_;
    std::array<int, MaxHits + 1> Fds_;
    std::array<int64_t, MaxHits + 1> Sizes_{};
    std::string Failure_;
};

// The logs of every number of matches in the folder.
std::vector<std::filesystem::path> FindStakesLogs(const std::filesystem::path& folder);

} // namespace kumby
