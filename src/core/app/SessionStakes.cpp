// The commands of the stakes tab: making stakes by hand and from the working list,
// checking them against the archive, deleting and clearing.

#include "Session.h"
#include "SessionStakesSupport.h"

#include "model/Cp1251.h"
#include "model/VexoUtils.h"
#include "stakes/CheckJournal.h"
#include "stakes/StakesGrid.h"
#include "stakes/StakesLog.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace kumby {

namespace {

std::string DeletionQuestion(int64_t count) {
    return count == 1 ? std::string("Удалить выделенную запись?")
                      : Format("Удалить все выделенные записи (всего будет удалено %lld записи(ей))?",
                               static_cast<long long>(count));
}

} // namespace

std::string StakeFieldsProblem(int64_t drawNumber, int copies, const std::string& comment) {
    if (drawNumber < 1 || drawNumber > std::numeric_limits<int32_t>::max())
        return Format("Некорректный номер тиража: %lld. Допустимо от 1 до %d.",
                      static_cast<long long>(drawNumber), std::numeric_limits<int32_t>::max());
    if (copies < 1 || copies > MaxStakeCopies)
        return Format("Некорректное количество тиражей: %d. Допустимо от 1 до %d.", copies, MaxStakeCopies);
    if (Utf8Length(comment) > StakeCommentMaxLength)
        return Format("Комментарий к ставке длиннее %d символов.", StakeCommentMaxLength);
    return {};
}

std::string Session::StakesCountPanel() const {
    return StakesCountText(Stakes_.Count());
}

void Session::LoadStakes() {
    try {
        TBusyScope busy(*this, "Загрузка файла ставок...");
        const TStakesValidation v = Stakes_.Validate();
        if (v.Obsolete) {
            Ui_.ShowWarning(ObsoleteStakesText);
        } else if (v.CutBytes > 0) {
            // A crash in the middle of an append: only the unfinished record is lost.
            Ui_.ShowWarning(Format("Файл ставок \"%s\" оканчивается неполной записью (%lld байт из %zu): "
                                   "добавление ставки было прервано сбоем. Неполная запись удалена, "
                                   "остальные ставки (%lld) сохранены.",
                                   Stakes_.Path().string().c_str(), static_cast<long long>(v.CutBytes),
                                   StakeRecordSize, static_cast<long long>(v.Kept)));
        }
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка чтения файла ставок!\r\r%s", e);
    }
    Ui_.Notify(TSessionEvent::StakesChanged);
}

void Session::CloseStakes() {
    if (!Stakes_.IsOpen())
        return;
    // No status here: the window may already be gone when the session closes.
    try {
        Stakes_.Sync();
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка записи в файл ставок!\r\r%s", e);
    }
    Stakes_.Close(); // releases the data lock
}

bool Session::CheckStakesOpen() {
    if (Stakes_.IsOpen())
        return true;
    Ui_.ShowError(StakesNotOpenText);
    return false;
}

TMoney Session::StakeCost() const {
    return -Registry_.StakeResult(NumbersInDraw, -1);
}

TStakeRecord Session::NewManualStake(const TCombination* numbers) const {
    const auto draw = static_cast<int32_t>(
        std::clamp<int64_t>(OffsetInfo_.NextDrawNumber, 1, std::numeric_limits<int32_t>::max()));
    TStakeRecord stake = NewStake(StakeKindManual, draw, static_cast<int32_t>(WorkingList_.size()),
                                  numbers ? *numbers : TCombination{}, StakeCost(), ManualStakeComment);
    return stake;
}

std::optional<std::size_t> Session::RandomCombinationIndex() const {
    if (WorkingList_.empty())
        return std::nullopt;
    // rand() alone reaches only 2^31 values; two draws cover any list size.
    const uint64_t r = (static_cast<uint64_t>(std::rand()) << 31) ^ static_cast<uint64_t>(std::rand());
    return static_cast<std::size_t>(r % WorkingList_.size());
}

bool Session::StakeAddManual(const TStakeInput& input) {
    if (!CheckStakesOpen())
        return false;
    if (const std::string problem = CheckManualStake(input.NumbersText, input.Comment); !problem.empty()) {
        Ui_.ShowError(problem);
        return false;
    }
    if (const std::string problem = StakeFieldsProblem(input.DrawNumber, input.Copies, input.Comment);
        !problem.empty()) {
        Ui_.ShowError(problem);
        return false;
    }
    const TCombination numbers = *ParseStakeNumbers(input.NumbersText);
    const TStakeRecord stake =
        NewStake(input.Kind, static_cast<int32_t>(input.DrawNumber),
                 static_cast<int32_t>(WorkingList_.size()), numbers, StakeCost(), input.Comment);
    bool ok = true;
    try {
        TBusyScope busy(*this, "Создание ставки...");
        Stakes_.Append(stake, input.Copies);
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка добавления записи в файл ставок!\r\r%s", e);
        ok = false;
    }
    Ui_.Notify(TSessionEvent::StakesChanged);
    if (ok)
        StakesCheck();
    return ok;
}

int64_t Session::StakesAddCombinations(const std::vector<std::size_t>* rows, int64_t drawNumber, int copies,
                                       const std::string& comment) {
    if (!CheckStakesOpen())
        return -1;
    if (comment.empty()) {
        Ui_.ShowError(NoStakeCommentText);
        return -1;
    }
    if (const std::string problem = StakeFieldsProblem(drawNumber, copies, comment); !problem.empty()) {
        Ui_.ShowError(problem);
        return -1;
    }
    const std::size_t count = rows ? rows->size() : WorkingList_.size();
    auto combinationAt = [&](std::size_t i) -> const TCombination* {
        const std::size_t row = rows ? (*rows)[i] : i;
        return row < WorkingList_.size() ? &WorkingList_[row] : nullptr;
    };
    // A list read from a file may hold lines that are no stake: nothing is made then.
    for (std::size_t i = 0; i < count; ++i) {
        const TCombination* comb = combinationAt(i);
        if (!comb || !IsValidStakeCombination(*comb)) {
            const std::size_t row = rows ? (*rows)[i] : i;
            Ui_.ShowError(comb ? Format("Комбинация № %zu списка (%s) не может быть ставкой: нужны 12 разных "
                                        "чисел от 1 до 24.",
                                        row + 1, CombToText(*comb).c_str())
                               : Format("Комбинации № %zu в списке нет.", row + 1));
            return -1;
        }
    }

    // The comment is converted once for the whole run.
    const TStakeRecord model =
        NewStake(StakeKindManual, static_cast<int32_t>(drawNumber), static_cast<int32_t>(WorkingList_.size()),
                 TCombination{}, StakeCost(), comment);
    return AppendStakeRun(model, copies, WorkingList_, rows, false);
}

int64_t Session::AppendStakeRun(const TStakeRecord& model, int copies,
                                std::span<const TCombination> combinations,
                                const std::vector<std::size_t>* rows, bool separatorFirst) {
    const std::size_t count = rows ? rows->size() : combinations.size();
    int64_t appended = 0;
    bool ok = true;
    {
        TBusyScope busy(*this, "Создание ставок...");
        TUiStakesProgress uiProgress(Ui_);
        TBatchProgress progress(uiProgress, static_cast<int64_t>(count));
        // In batches: the full system over 24 numbers is millions of stakes.
        constexpr std::size_t BatchSize = 16384;
        std::vector<TStakeRecord> batch;
        batch.reserve(std::min(count, BatchSize));
        try {
            if (separatorFirst && !Stakes_.Empty() && Stakes_.Read(-1).DrawNumber > 0)
                Stakes_.Append(SeparatorRecord(), 1);
            for (std::size_t i = 0; i < count;) {
                progress.StartBatch(static_cast<int64_t>(i));
                batch.clear();
                for (; i < count && batch.size() < BatchSize; ++i) {
                    batch.push_back(model);
                    SetStakeNumbers(batch.back(), combinations[rows ? (*rows)[i] : i]);
                }
                const int64_t done = Stakes_.AppendMany(batch, copies, &progress);
                appended += done;
                if (done < static_cast<int64_t>(batch.size()))
                    break; // stopped
            }
        } catch (const std::exception& e) {
            ShowOperationError("Ошибка добавления записи в файл ставок!\r\r%s", e);
            ok = false;
        }
        Ui_.SetProgress(0, 0);
    }
    Ui_.Notify(TSessionEvent::StakesChanged);
    if (ok)
        StakesCheck();
    return ok || appended > 0 ? appended : -1;
}

int64_t Session::StakesCheck() {
    if (!CheckStakesOpen())
        return -1;
    std::vector<IStakeCheckSink*> sinks = StakeSinks_;
    std::optional<TStakesLog> log;
    if (View_.StakesLogEnabled) {
        log.emplace(DataDir());
        sinks.push_back(&*log);
    }
    // Ratings that are never saved in this session need no journal.
    std::optional<TCheckJournalFile> journal;
    if (RatingsFileId_ && !RatingsSaveBlocked_)
        journal.emplace(DataPath(CheckJournalFileName), *RatingsFileId_);
    TCheckReport report;
    bool ok = true;
    {
        TBusyScope busy(*this, CheckStakesStatus);
        TUiStakesProgress progress(Ui_);
        try {
            report = CheckAllStakes(
                Stakes_, Draws_, [this](int n, int m) { return Registry_.StakeResult(n, m); }, sinks,
                journal ? &*journal : nullptr, &progress);
        } catch (const std::exception& e) {
            ShowOperationError("Ошибка проверки ставок!\r\r%s", e);
            ok = false;
        }
        Ui_.SetProgress(0, 0);
    }
    if (log && !log->Failure().empty())
        Ui_.ShowError(log->Failure());
    if (report.Checked > 0)
        Ui_.Notify(TSessionEvent::StakesChanged);
    // Also after a stop or a failure: the stakes checked before it are final.
    if (Ratings_.TakeChanged()) {
        if (journal && journal->Written()) {
            // The marks reach the disk before the ratings that count them, or a power
            // loss in between could have the next check count them again.
            try {
                Stakes_.Sync();
            } catch (const std::exception& e) {
                ShowOperationError("Ошибка записи в файл ставок!\r\r%s", e);
            }
        }
        SortAndSaveRatings();
    }
    // Once the save is over the journal has done its work, even when the save failed:
    // the ratings in memory hold the results for the next save, and positions in a
    // journal that outlived this check could name other stakes after a deletion.
    if (journal && journal->Written())
        DropCheckJournal();
    return ok ? report.Checked : -1;
}

bool Session::StakesRewrite(const std::function<bool(int64_t, const TStakeRecord&)>& keep, int64_t* removed) {
    int64_t result = -1;
    {
        TBusyScope busy(*this, "Удаление ставок...");
        TUiStakesProgress progress(Ui_);
        try {
            result = Stakes_.Rewrite(keep, &progress);
        } catch (const TStakesReplaceError& e) {
            Ui_.ShowError(e.what());
        } catch (const std::exception& e) {
            ShowOperationError("Ошибка удаления записи из файла ставок!\r\r%s", e);
        }
        Ui_.SetProgress(0, 0);
    }
    Ui_.Notify(TSessionEvent::StakesChanged);
    if (removed)
        *removed = result;
    if (result < 0)
        return false;
    StakesCheck();
    return true;
}

bool Session::StakesDeleteRange(int64_t first, int64_t last) {
    if (!CheckStakesOpen())
        return false;
    if (first > last)
        std::swap(first, last);
    if (first < 0 || last >= Stakes_.Count()) {
        Ui_.ShowError(StakeIndexNotFoundText(first < 0 ? first : last));
        return false;
    }
    if (!Ui_.Confirm(DeletionQuestion(last - first + 1), TConfirmKind::Deletion))
        return false;
    return StakesRewrite([&](int64_t i, const TStakeRecord&) { return i < first || i > last; }, nullptr);
}

int64_t Session::StakesDeleteByCondition(const TStakeFilter& filter) {
    if (!CheckStakesOpen())
        return -1;
    int64_t removed = -1;
    StakesRewrite([&](int64_t, const TStakeRecord& r) { return filter.Keeps(r); }, &removed);
    return removed;
}

bool Session::StakesClear() {
    if (!CheckStakesOpen())
        return false;
    if (!Ui_.Confirm(DeletionQuestion(Stakes_.Count()), TConfirmKind::Deletion))
        return false;
    bool ok = true;
    try {
        TBusyScope busy(*this, "Удаление ставок...");
        Stakes_.Clear();
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка удаления записи из файла ставок!\r\r%s", e);
        ok = false;
    }
    Ui_.Notify(TSessionEvent::StakesChanged);
    if (ok)
        RatingsRefresh(); // asks whether to rebuild them from the now empty file
    return ok;
}

bool Session::StakesLogsDelete() {
    const std::vector<std::filesystem::path> logs = FindStakesLogs(DataDir());
    if (logs.empty()) {
        Ui_.ShowInfo("Файлы журналов не найдены!");
        return false;
    }
    TBusyScope busy(*this, "Поиск файлов журналов...");
    int deleted = 0;
    std::string failures;
    for (const auto& log : logs) {
        std::error_code ec;
        if (std::filesystem::remove(log, ec))
            ++deleted;
        else if (ec)
            failures += Format("\r%s: %s", log.filename().string().c_str(), ec.message().c_str());
    }
    if (!failures.empty()) {
        Ui_.ShowError(
            Format("Удалено файлов журналов: %d. Не удалось удалить:%s", deleted, failures.c_str()));
        return false;
    }
    Ui_.ShowInfo(Format("Удалено файлов журналов: %d.", deleted));
    return true;
}

void Session::SetStakesLogEnabled(bool on) {
    View_.StakesLogEnabled = on;
    WriteViewSwitch("StakesLogEnabled");
}

void Session::SetStakesScrollEnabled(bool on) {
    View_.StakesScrollEnabled = on;
    WriteViewSwitch("StakesScrollEnabled");
}

std::optional<TProfitDrawArray> Session::StakesProfitByDraw() {
    if (!CheckStakesOpen())
        return std::nullopt;
    try {
        TBusyScope busy(*this, "Создание графиков...");
        TProfitDrawArray list = ProfitByDraw(Stakes_);
        if (list.empty()) {
            Ui_.ShowError(
                "Для построения графиков необходимо, чтобы в выделенном диапазоне данных было более "
                "одного тиража!");
            return std::nullopt;
        }
        return list;
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка чтения записи из файла ставок!\r\r%s", e);
        return std::nullopt;
    }
}

void Session::AddStakeCheckSink(IStakeCheckSink* sink) {
    if (sink && std::find(StakeSinks_.begin(), StakeSinks_.end(), sink) == StakeSinks_.end())
        StakeSinks_.push_back(sink);
}

void Session::RemoveStakeCheckSink(IStakeCheckSink* sink) {
    StakeSinks_.erase(std::remove(StakeSinks_.begin(), StakeSinks_.end(), sink), StakeSinks_.end());
}

} // namespace kumby
