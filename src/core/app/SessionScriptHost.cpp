#include "app/SessionScriptHost.h"

#include "app/Session.h"

namespace kumby {

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

int TSessionScriptHost::DrawCount() const {
    return static_cast<int>(S_.Draws().size());
}
int TSessionScriptHost::DrawsOffset() const {
    return S_.DrawsOffset();
}
void TSessionScriptHost::SetDrawsOffset(int offset) {
    S_.SetDrawsOffset(offset);
}
int64_t TSessionScriptHost::NextDrawNumber() const {
    return S_.OffsetInfo().NextDrawNumber;
}

const TCombsArray& TSessionScriptHost::WorkingList() const {
    return S_.WorkingList();
}
bool TSessionScriptHost::GenerateDefaultList() {
    return S_.GenerateList(true, S_.GenerateDefaults());
}
void TSessionScriptHost::ExcludeLastDraws(int n) {
    S_.ExcludeLastDraws(n);
}
void TSessionScriptHost::SaveToBuffer(int offset, int n) {
    S_.SaveToBuffer(offset, n);
}
bool TSessionScriptHost::RestoreFromBuffer(int offset, int n) {
    return S_.RestoreFromBuffer(offset, n);
}
void TSessionScriptHost::InvalidateBuffer() {
    S_.InvalidateBuffer();
}
void TSessionScriptHost::MakeUndoCopy() {
    S_.MakeUndoCopy(false);
}
void TSessionScriptHost::RestoreUndoCopy() {
    S_.RestoreUndoCopy(false);
}
void TSessionScriptHost::ClearUndo() {
    S_.ClearUndo();
}
void TSessionScriptHost::DeleteLastFilterRow() {
    S_.DeleteLastFilterRow();
}

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
    S_.ApplyTableFilter(rows, exclude);
}

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
