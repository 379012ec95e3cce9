#include "app/SessionScriptHost.h"

#include "app/Session.h"

#include <algorithm>

namespace kumby {

// ---- The person at the screen -----------------------------------------------------

void TSessionScriptHost::ShowError(const std::string& text) {
    S_.Ui().ShowError(text);
}

void TSessionScriptHost::ShowAttention(const std::string& text) {
    S_.Ui().ShowAttention(text);
}

void TSessionScriptHost::SetStatus(const std::string& text) {
    S_.Ui().SetStatus(text);
}

bool TSessionScriptHost::PollStop() {
    S_.Ui().PumpEvents();
    return S_.Ui().StopRequested();
}

void TSessionScriptHost::RunStateChanged() {
    S_.Ui().Notify(TSessionEvent::ScriptRunChanged);
}

void TSessionScriptHost::ShowLog(const std::filesystem::path& file) {
    S_.Ui().ShowTextFile(file);
}

// ---- Draw archive -------------------------------------------------------------------

int TSessionScriptHost::DrawCount() const {
    return static_cast<int>(S_.Draws().size());
}

int TSessionScriptHost::DrawsOffset() const {
    return S_.DrawsOffset();
}

void TSessionScriptHost::SetDrawsOffset(int offset) {
    Settle();
    S_.SetDrawsOffset(offset);
}

int64_t TSessionScriptHost::NextDrawNumber() const {
    return S_.OffsetInfo().NextDrawNumber;
}

// ---- Working list -------------------------------------------------------------------

const TCombsArray& TSessionScriptHost::WorkingList() const {
    return S_.WorkingList();
}

bool TSessionScriptHost::GenerateDefaultList() {
    UndoPending_ = false; // the generation empties the undo copy anyway
    return S_.GenerateList(true, S_.GenerateDefaults());
}

void TSessionScriptHost::ExcludeLastDraws(int n) {
    Settle();
    S_.ExcludeLastDraws(n);
}

void TSessionScriptHost::SaveToBuffer(int offset, int n) {
    Settle();
    S_.SaveToBuffer(offset, n);
}

bool TSessionScriptHost::RestoreFromBuffer(int offset, int n) {
    Settle();
    return S_.RestoreFromBuffer(offset, n);
}

void TSessionScriptHost::InvalidateBuffer() {
    S_.InvalidateBuffer();
}

void TSessionScriptHost::MakeUndoCopy() {
    UndoPending_ = true;
}

void TSessionScriptHost::Settle() {
    if (UndoPending_) {
        UndoPending_ = false;
        S_.MakeUndoCopy(false);
    }
}

void TSessionScriptHost::RestoreUndoCopy() {
    Settle();
    S_.RestoreUndoCopy(false);
}

void TSessionScriptHost::ClearUndo() {
    UndoPending_ = false;
    S_.ClearUndo();
}

void TSessionScriptHost::DeleteLastFilterRow() {
    Settle();
    S_.DeleteLastFilterRow();
}

// ---- Statistics ---------------------------------------------------------------------

const TStatList& TSessionScriptHost::Registry() const {
    return S_.Registry();
}

TStatList& TSessionScriptHost::Registry() {
    return S_.Registry();
}

bool TSessionScriptHost::MethodOffered(int method) const {
    return method >= 0 && static_cast<std::size_t>(method) < S_.Registry().Count() &&
           S_.Registry().IsShown(static_cast<std::size_t>(method));
}

const TStatTable& TSessionScriptHost::ComputeTable(int method, int draws, int sortColumn, bool descending) {
    S_.SortStatTable(sortColumn, descending);
    S_.View().DrawsStatLen = draws;
    S_.ComputeTable(static_cast<std::size_t>(method), false);
    return S_.LastStatTable();
}

int TSessionScriptHost::StatSortColumn() const {
    return S_.StatSortColumn();
}

bool TSessionScriptHost::StatSortDescending() const {
    return S_.StatSortDescending();
}

void TSessionScriptHost::SetStatSort(int column, bool descending) {
    S_.SortStatTable(column, descending);
}

void TSessionScriptHost::ApplyStatFilter(int /*method*/, const std::vector<std::size_t>& rows, bool exclude) {
    const std::size_t count = S_.LastStatTable().RowCount();
    const bool passRuns =
        !rows.empty() && std::all_of(rows.begin(), rows.end(), [&](std::size_t r) { return r < count; });
    if (UndoPending_ && passRuns) {
        // The pass reads the undo copy and writes the whole list: the list need only
        // be moved there, not copied.
        UndoPending_ = false;
        S_.SwapListIntoUndo();
    }
    Settle();
    S_.ApplyTableFilter(rows, exclude);
}

// ---- Stakes -------------------------------------------------------------------------

bool TSessionScriptHost::StakesEndWithStake() {
    return !S_.Stakes().Empty() && S_.Stakes().Read(-1).DrawNumber > 0;
}

void TSessionScriptHost::AppendSeparator() {
    S_.Stakes().Append(SeparatorRecord(), 1);
}

void TSessionScriptHost::ForEachStakeOfDraw(int32_t drawNumber,
                                            const std::function<void(const TCombination&)>& visit) {
    S_.Stakes().ForEach(0, [&](int64_t, const TStakeRecord& r) {
        if (r.DrawNumber == drawNumber && !r.IsSeparator() && r.Numbers.Count == NumbersInDraw) {
            TCombination c{};
            std::copy(r.Numbers.Numbers, r.Numbers.Numbers + NumbersInDraw, c.begin());
            visit(c);
        }
        return true;
    });
}

void TSessionScriptHost::AppendStake(const TStakeRecord& stake) {
    S_.Stakes().Append(stake, 1);
}

TMoney TSessionScriptHost::StakeCost() const {
    return S_.StakeCost();
}

void TSessionScriptHost::ClearStakes() {
    S_.Stakes().Clear();
}

void TSessionScriptHost::CheckStakes() {
    S_.StakesCheck();
}

void TSessionScriptHost::StakesChanged(bool /*toLastRow*/) {
    S_.Ui().Notify(TSessionEvent::StakesChanged);
}

std::filesystem::path TSessionScriptHost::SystemsDir() const {
    return S_.SystemsDir();
}

} // namespace kumby
