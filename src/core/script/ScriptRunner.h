#pragma once

// Runs a script as a forecast at the current offset, or as a back-test over the
// last draws, through the same operations the user has (IScriptHost).

#include "script/ScriptHost.h"
#include "script/ScriptLog.h"
#include "script/ScriptModel.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <unordered_set>

namespace kumby {

struct TScriptRunOptions {
    bool LogEnabled = false;
    bool CheckOnLine = true;      // check the stakes after every variant, else once per pass
    bool ScrollStakes = true;     // the stakes grid follows new stakes
    std::optional<uint64_t> Seed; // RAND repeats exactly with a seed
};

// What the status panels of the script tab show.
struct TScriptRunState {
    bool Running = false;
    bool StopRequested = false;
    int Cycle = 0;
    int Line = 0;         // 1-based line being run, 0 when none
    int SelectedRow = -1; // the script row shown as running
    int64_t StakesMade = 0;
    std::string Text; // the free panel
};

inline constexpr const char* ScriptStopQuestion = "Остановить выполнение сценария?";

class TScriptRunner {
public:
    TScriptRunner(IScriptHost& host, TScriptLog& log) : Host_(host), Log_(log) {}

    void Forecast(const TScriptLines& lines, const TScriptRunOptions& options);
    void BackTest(const TScriptLines& lines, int tests, const TScriptRunOptions& options);
    // The Stop action after its question: logs the interruption and ends the run
    // at its next poll.
    void RequestStop();
    const TScriptRunState& State() const { return State_; }

private:
    void Begin(const TScriptRunOptions& options, int cycle);
    void End(bool restoreOffset, int savedOffset);
    void OffsetBanner(int offset);
    void RunAllLines(const TScriptLines& lines);
    void RunLine(int index, const std::string& text);
    void RunVariant(int line, int variant, int64_t total, const TScriptOptions& options,
                    const TFilterRec& rec, const std::string& comment);
    void BuildStartList(const TScriptOptions& options);
    void ApplyPart(const TFilterPart& part);
    void WalkMulti(const TFilterPart& part, const TStatTable& table, const TCustomStat& instance);
    void WalkSingle(const TFilterPart& part, const TStatTable& table, const TCustomStat& instance);
    void Filter(const TFilterPart& part, const std::vector<std::size_t>& rows);
    void MakeStake(uint8_t mode, int line, const std::string& filters, const std::string& comment,
                   bool newOnly, int variant);
    bool AddStake(const TCombination& comb, int line, int variant, const std::string& filters,
                  const std::string& comment, bool newOnly, bool throttled);
    void ShowStakesMade(bool throttled);

    // Polls the user's Stop; true once the run is to end.
    bool Stopped();
    void SetStatus(const std::string& text);
    void Log(const std::string& text);
    void LogRow(const char* prefix, const TStatValues& row);
    void Changed() { Host_.RunStateChanged(); }

    IScriptHost& Host_;
    TScriptLog& Log_;
    TScriptRunOptions Options_;
    TScriptRunState State_;
    std::mt19937_64 Random_;
    int SavedSortColumn_ = 1;
    bool SavedSortDescending_ = false;
    // Numbers of the stakes for one draw, for the "new only" test.
    int64_t KnownDraw_ = -1;
    std::unordered_set<std::string> KnownStakes_;
    std::chrono::steady_clock::time_point LastShown_{};
};

} // namespace kumby
