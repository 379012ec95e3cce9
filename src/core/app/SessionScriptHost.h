#pragma once

// The session as the script runner sees it.

#include "script/ScriptHost.h"

namespace kumby {

class Session;

class TSessionScriptHost final : public IScriptHost {
public:
    explicit TSessionScriptHost(Session& session) : S_(session) {}

    void ShowError(const std::string& text) override;
    void ShowAttention(const std::string& text) override;
    void SetStatus(const std::string& text) override;
    bool PollStop() override;
    void RunStateChanged() override;
    void ShowLog(const std::filesystem::path& file) override;

    int DrawCount() const override;
    int DrawsOffset() const override;
    void SetDrawsOffset(int offset) override;
    int64_t NextDrawNumber() const override;

    const TCombsArray& WorkingList() const override;
    bool GenerateDefaultList() override;
    void ExcludeLastDraws(int n) override;
    void SaveToBuffer(int offset, int n) override;
    bool RestoreFromBuffer(int offset, int n) override;
    void InvalidateBuffer() override;
    void MakeUndoCopy() override;
    void RestoreUndoCopy() override;
    void ClearUndo() override;
    void DeleteLastFilterRow() override;

    const TStatList& Registry() const override;
    TStatList& Registry() override;
    bool MethodOffered(int method) const override;
    const TStatTable& ComputeTable(int method, int draws, int sortColumn, bool descending) override;
    int StatSortColumn() const override;
    bool StatSortDescending() const override;
    void SetStatSort(int column, bool descending) override;
    void ApplyStatFilter(int method, const std::vector<std::size_t>& rows, bool exclude) override;

    bool StakesEndWithStake() override;
    void AppendSeparator() override;
    void ForEachStakeOfDraw(int32_t drawNumber,
                            const std::function<void(const TCombination&)>& visit) override;
    void AppendStake(const TStakeRecord& stake) override;
    TMoney StakeCost() const override;
    void ClearStakes() override;
    void CheckStakes() override;
    void StakesChanged(bool toLastRow) override;
    std::filesystem::path SystemsDir() const override;

    // A pending undo copy is taken now (the runner's MakeUndoCopy is deferred: a
    // filter step that follows at once swaps the list into the undo copy instead of
    // copying millions of combinations).
    void Settle();

private:
    Session& S_;
    bool UndoPending_ = false;
};

} // namespace kumby
