#pragma once

#include "CliUserInterface.h"
#include "app/Session.h"

#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kumby::cli {

// Raised by a command for a usage or input error; the text goes to stderr.
struct TCliError {
    std::string Text;
};

struct TCliContext {
    Session& Core;
    TCliUserInterface& Ui;
    std::ostream& Out;
    std::vector<std::string> Args; // after the command words
    bool Sorted = false;

    // Takes "--name VALUE" out of Args.
    std::optional<std::string> TakeOption(const std::string& name);
    // Takes "--name" out of Args.
    bool TakeFlag(const std::string& name);
    int TakeIntOption(const std::string& name, int def, int lo, int hi);
    // Raises TCliError when arguments are left over.
    void ExpectNoMoreArgs() const;
};

// Takes "CODE [--depth N] [--prefetch|--no-prefetch]" out of the arguments and
// computes that method's statistics table as the statistics tab does; returns the
// method's registry index.
std::size_t ComputeCliTable(TCliContext& ctx, int sortColumn, bool descending);

// "COL" or "COL:desc" (or "COL:asc") of --sort.
void ParseSortOption(const std::string& text, int& column, bool& descending);

// Writes one tab-separated line.
void PrintRow(std::ostream& out, const std::vector<std::string>& cells);

// Command handlers, one per command; each returns the exit code.
int CmdDrawsList(TCliContext& ctx);
int CmdDrawsImport(TCliContext& ctx);
int CmdDrawsExport(TCliContext& ctx);
int CmdDrawsAdd(TCliContext& ctx);
int CmdDrawsDelete(TCliContext& ctx);
int CmdStatus(TCliContext& ctx);
int CmdDemo(TCliContext& ctx);
int CmdMethods(TCliContext& ctx);
int CmdStats(TCliContext& ctx);
int CmdShredding(TCliContext& ctx);
int CmdPrefetch(TCliContext& ctx);
int CmdCombsGenerate(TCliContext& ctx);
int CmdCombsExclude(TCliContext& ctx);
int CmdFilter(TCliContext& ctx);
int CmdStakesList(TCliContext& ctx);
int CmdStakesAdd(TCliContext& ctx);
int CmdStakesCheck(TCliContext& ctx);
int CmdStakesDelete(TCliContext& ctx);
int CmdStakesClear(TCliContext& ctx);
int CmdRatingsList(TCliContext& ctx);
int CmdRatingsExport(TCliContext& ctx);
int CmdRatingsRefresh(TCliContext& ctx);
int CmdRegularsList(TCliContext& ctx);
int CmdRegularsAdd(TCliContext& ctx);
int CmdRegularsDelete(TCliContext& ctx);
int CmdRegularsStake(TCliContext& ctx);
int CmdRegularsTest(TCliContext& ctx);
int CmdSystemStake(TCliContext& ctx);
int CmdSystemGenerate(TCliContext& ctx);
int CmdSystemCheck(TCliContext& ctx);
int CmdScriptRun(TCliContext& ctx);
int CmdScriptTest(TCliContext& ctx);
int CmdScriptShow(TCliContext& ctx);
int CmdDownload(TCliContext& ctx);
int CmdCard(TCliContext& ctx);
int CmdLayout(TCliContext& ctx);
int CmdWeekday(TCliContext& ctx);
int CmdChart(TCliContext& ctx);
int CmdSumDist(TCliContext& ctx);
int CmdRepeats(TCliContext& ctx);

// Retries of a failed batch of "download" unless --retries says otherwise: with --yes
// a dead site would otherwise be asked for forever.
inline constexpr int CliDownloadRetries = 3;

} // namespace kumby::cli
