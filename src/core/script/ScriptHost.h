#pragma once

// What the script runner needs of the program: the same operations the user has
// on the archive, the working list, the statistics table and the stakes. The
// session implements it; the runner never reaches past it.

#include "model/Records.h"
#include "stakes/StakeRecord.h"
#include "stakes/Systems.h"
#include "stats/StatList.h"
#include "stats/StatTable.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kumby {

class IScriptHost {
public:
    virtual ~IScriptHost() = default;

    // ---- The person at the screen
    virtual void ShowError(const std::string& text) = 0;
    virtual void ShowAttention(const std::string& text) = 0;
    virtual void SetStatus(const std::string& text) = 0;
    // Lets the window process its events; true when the user asked to stop.
    virtual bool PollStop() = 0;
    // The run's panels (cycle, line, stakes, text) or the running line changed.
    virtual void RunStateChanged() = 0;
    // A finished log, for the user to read.
    virtual void ShowLog(const std::filesystem::path& file) = 0;

    // ---- Draw archive
    virtual int DrawCount() const = 0;
    virtual int DrawsOffset() const = 0;
    virtual void SetDrawsOffset(int offset) = 0;
    // The draw a stake made now is for.
    virtual int64_t NextDrawNumber() const = 0;

    // ---- Working list
    virtual const TCombsArray& WorkingList() const = 0;
    // The list in the default generation mode; false after a reported failure.
    virtual bool GenerateDefaultList() = 0;
    virtual void ExcludeLastDraws(int n) = 0;
    virtual void SaveToBuffer(int offset, int n) = 0;
    virtual bool RestoreFromBuffer(int offset, int n) = 0;
    virtual void InvalidateBuffer() = 0;
    virtual void MakeUndoCopy() = 0;
    virtual void RestoreUndoCopy() = 0;
    virtual void ClearUndo() = 0;
    virtual void DeleteLastFilterRow() = 0;

    // ---- Statistics
    virtual const TStatList& Registry() const = 0;
    virtual TStatList& Registry() = 0;
    // Whether the method selector offers the registry entry.
    virtual bool MethodOffered(int method) const = 0;
    // The table of the method over `draws` draws at the offset, reused while nothing
    // it depends on changed; sorted by the column and direction given.
    virtual const TStatTable& ComputeTable(int method, int draws, int sortColumn, bool descending) = 0;
    virtual int StatSortColumn() const = 0;
    virtual bool StatSortDescending() const = 0;
    virtual void SetStatSort(int column, bool descending) = 0;
    // Keeps or removes the combinations of the undo copy that have the values of
    // the display rows given (the undo copy is made by the caller).
    virtual void ApplyStatFilter(int method, const std::vector<std::size_t>& rows, bool exclude) = 0;

    // ---- Stakes
    virtual bool StakesEndWithStake() = 0;
    virtual void AppendSeparator() = 0;
    // All stakes of one draw, as numbers, for the "new only" test.
    virtual void ForEachStakeOfDraw(int32_t drawNumber,
                                    const std::function<void(const TCombination&)>& visit) = 0;
    virtual void AppendStake(const TStakeRecord& stake) = 0;
    virtual TMoney StakeCost() const = 0;
    virtual void ClearStakes() = 0;
    virtual void CheckStakes() = 0;
    // The stakes grid shows what was added (moving to its last row when asked).
    virtual void StakesChanged(bool toLastRow) = 0;
    virtual std::filesystem::path SystemsDir() const = 0;
};

} // namespace kumby
