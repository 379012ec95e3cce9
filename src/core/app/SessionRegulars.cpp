// The regular stakes of the tab "Регуляры": loading and saving while the tab is
// shown, adding and deleting, a stake for the next draw and the back-test.

#include "Session.h"

#include "draws/DrawArchive.h"
#include "model/Cp1251.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

namespace kumby {

namespace {

constexpr const char* RegularsWriteErrorText = "Ошибка записи в файл регулярных ставок!\r\r%s";

std::string RegularsNotWrittenText(const std::filesystem::path& file) {
    return Format("Файл регулярных ставок \"%s\" не удалось прочитать полностью, поэтому он не "
                  "перезаписывается, чтобы сохранить его данные.",
                  file.string().c_str());
}

std::string NoBaseText(const TRegularRecord& r) {
    return Format("Регулярная ставка \"%s\": нет комбинации, от которой можно сделать шаг (%s).",
                  r.CommentUtf8().c_str(),
                  r.UseLastDraw ? "нет тиража при текущем смещении" : "текущая комбинация не задана");
}

std::string DeletionQuestion(std::size_t count) {
    return count == 1 ? std::string("Удалить выделенную запись?")
                      : Format("Удалить все выделенные записи (всего будет удалено %zu записи(ей))?", count);
}

} // namespace

bool Session::CheckRegularsShown() {
    if (View_.TabTables)
        return true;
    Ui_.ShowError("Вкладка \"Регуляры\" скрыта: регулярные ставки не загружены.");
    return false;
}

void Session::SetTabTables(bool on) {
    View_.TabTables = on;
    WriteViewSwitch("TabTables");
    if (on) {
        LoadRegulars();
    } else {
        Regulars_.clear();
        RegularsSaveBlocked_ = false;
        Ui_.Notify(TSessionEvent::RegularsChanged);
    }
}

void Session::LoadRegulars() {
    Regulars_.clear();
    RegularsSaveBlocked_ = false;
    const std::filesystem::path path = DataPath(RegularsFileName);
    std::error_code ec;
    if (!View_.TabTables || (!std::filesystem::exists(path, ec) && !ec)) {
        Ui_.Notify(TSessionEvent::RegularsChanged);
        return;
    }
    bool rewrite = false;
    {
        TBusyScope busy(*this, "Загрузка файла регулярных ставок...");
        try {
            TRegularsLoad load = LoadRegularsFile(path);
            if (load.Damaged()) {
                // What is sound is kept and written back; the original bytes go aside first.
                std::filesystem::path copy;
                std::string copyProblem;
                try {
                    copy = KeepDamagedRegularsFile(path);
                    rewrite = true;
                } catch (const std::exception& e) {
                    RegularsSaveBlocked_ = true;
                    copyProblem = e.what();
                }
                std::string text = DamagedRegularsText(path, load, copy);
                if (RegularsSaveBlocked_)
                    text += Format("\r\rКопию файла сохранить не удалось (%s); файл регулярных ставок не "
                                   "будет перезаписан.",
                                   copyProblem.c_str());
                Ui_.ShowWarning(text);
            }
            Regulars_ = std::move(load.Items);
        } catch (const std::exception& e) {
            RegularsSaveBlocked_ = true;
            ShowOperationError("Ошибка чтения файла регулярных ставок!\r\r%s", e);
        }
    }
    if (rewrite)
        SaveRegulars();
    else
        Ui_.Notify(TSessionEvent::RegularsChanged);
}

bool Session::SaveRegulars() {
    if (!View_.TabTables)
        return true;
    bool ok = true;
    const std::filesystem::path path = DataPath(RegularsFileName);
    if (RegularsSaveBlocked_) {
        Ui_.ShowError(Format(RegularsWriteErrorText, RegularsNotWrittenText(path).c_str()));
        ok = false;
    } else {
        try {
            TBusyScope busy(*this, "Сохранение файла регулярных ставок...");
            SaveRegularsFile(path, Regulars_);
        } catch (const std::exception& e) {
            ShowOperationError(RegularsWriteErrorText, e);
            ok = false;
        }
    }
    Ui_.Notify(TSessionEvent::RegularsChanged);
    return ok;
}

TRegularInput Session::NewRegularInput(const std::vector<std::size_t>& selectedRows) const {
    TRegularInput input;
    input.Comment = DefaultRegularComment;
    if (selectedRows.size() == 1 && selectedRows[0] < WorkingList_.size())
        input.CombText = CombToText(WorkingList_[selectedRows[0]]);
    else
        input.CombText = SelectedCombsText;
    return input;
}

int Session::RegularsAdd(const TRegularInput& input, const std::vector<std::size_t>& selectedRows) {
    if (!CheckRegularsShown())
        return 0;
    const bool oneSelected = selectedRows.size() == 1;
    if (const std::string problem = CheckRegularInput(input, oneSelected, Regulars_); !problem.empty()) {
        Ui_.ShowError(problem);
        return 0;
    }
    TRegularsArray added;
    TRegularRecord model;
    model.SetCommentUtf8(input.Comment);
    model.UseLastDraw = input.UseLastDraw ? 1 : 0;
    model.Step = input.Step;
    if (input.UseLastDraw || oneSelected) {
        if (!input.UseLastDraw)
            model.StartComb = *ParseStakeNumbers(input.CombText);
        else if (oneSelected && selectedRows[0] < WorkingList_.size())
            model.StartComb = WorkingList_[selectedRows[0]];
        model.CurrentComb = model.StartComb;
        added.push_back(model);
    } else {
        // A set, not a search per name: a selection may hold millions of combinations.
        std::unordered_set<std::string> taken;
        for (const TRegularRecord& r : Regulars_)
            taken.insert(Utf8ToUpper(r.CommentUtf8()));
        for (std::size_t row : selectedRows) {
            if (row >= WorkingList_.size() || !IsValidStakeCombination(WorkingList_[row])) {
                Ui_.ShowError(Format("Комбинация № %zu списка не может быть регулярной ставкой: нужны 12 "
                                     "разных чисел от 1 до 24.",
                                     row + 1));
                return 0;
            }
            TRegularRecord r = model;
            r.SetCommentUtf8(input.Comment + Format(" (%zu)", row + 1));
            // A generated name may meet one already taken.
            if (!taken.insert(Utf8ToUpper(r.CommentUtf8())).second) {
                Ui_.ShowError(Format("Запись с комментарием \"%s\" уже присутствует в списке!",
                                     r.CommentUtf8().c_str()));
                return 0;
            }
            r.StartComb = WorkingList_[row];
            SortCombination(r.StartComb);
            r.CurrentComb = r.StartComb;
            added.push_back(r);
        }
    }
    if (added.empty())
        return 0;
    {
        TBusyScope busy(*this, "Создание регулярных ставок...");
        Regulars_.insert(Regulars_.end(), added.begin(), added.end());
    }
    SaveRegulars();
    return static_cast<int>(added.size());
}

bool Session::RegularsDelete(std::vector<std::size_t> rows) {
    if (!CheckRegularsShown() || rows.empty())
        return false;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.back() >= Regulars_.size()) {
        Ui_.ShowError(StakeIndexNotFoundText(static_cast<int64_t>(rows.back())));
        return false;
    }
    if (!Ui_.Confirm(DeletionQuestion(rows.size()), TConfirmKind::Deletion))
        return false;
    {
        TBusyScope busy(*this, "Удаление регулярных ставок...");
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            Regulars_.erase(Regulars_.begin() + static_cast<std::ptrdiff_t>(*it));
    }
    return SaveRegulars();
}

std::optional<Session::TRegularStake> Session::RegularStakePrepare(std::size_t row) {
    if (!CheckRegularsShown() || !CheckStakesOpen())
        return std::nullopt;
    if (row >= Regulars_.size()) {
        Ui_.ShowError(StakeIndexNotFoundText(static_cast<int64_t>(row)));
        return std::nullopt;
    }
    TRegularStake result{Regulars_[row], {}};
    TCombination last{};
    DrawNumbersAtOffset(Draws_, Offset_, last);
    if (!AdvanceRegular(result.Advanced, last)) {
        Ui_.ShowError(NoBaseText(result.Advanced));
        return std::nullopt;
    }
    const auto draw = static_cast<int32_t>(
        std::clamp<int64_t>(OffsetInfo_.NextDrawNumber, 1, std::numeric_limits<int32_t>::max()));
    result.Stake = NewStake(StakeKindRegular, draw, static_cast<int32_t>(WorkingList_.size()),
                            result.Advanced.CurrentComb, StakeCost(), result.Advanced.CommentUtf8());
    return result;
}

bool Session::RegularStakeCommit(std::size_t row, const TRegularRecord& advanced, const TStakeInput& input) {
    if (!CheckRegularsShown() || !CheckStakesOpen())
        return false;
    if (row >= Regulars_.size()) {
        Ui_.ShowError(StakeIndexNotFoundText(static_cast<int64_t>(row)));
        return false;
    }
    // The dialog's refusals come before anything changes.
    if (const std::string problem = CheckManualStake(input.NumbersText, input.Comment); !problem.empty()) {
        Ui_.ShowError(problem);
        return false;
    }
    Regulars_[row] = advanced;
    SaveRegulars();
    TStakeInput stake = input;
    stake.Kind = StakeKindRegular;
    return StakeAddManual(stake);
}

int64_t Session::RegularsTest(const std::vector<std::size_t>& rows, int n) {
    if (!CheckRegularsShown() || !CheckStakesOpen() || n <= 0 || rows.empty())
        return -1;
    if (n > static_cast<int>(Draws_.size()) - 1) {
        Ui_.ShowError(Format("Некорректное количество тестов: %d. Допустимо от 1 до %d.", n,
                             std::max(0, static_cast<int>(Draws_.size()) - 1)));
        return -1;
    }
    for (std::size_t row : rows)
        if (row >= Regulars_.size()) {
            Ui_.ShowError(StakeIndexNotFoundText(static_cast<int64_t>(row)));
            return -1;
        }
    const int savedOffset = Offset_;
    int64_t appended = 0;
    bool lastOk = true;
    {
        TBusyScope busy(*this, "Создание ставок по регулярным табличным ставкам...");
        const TMoney cost = StakeCost();
        const int64_t total = int64_t{n} * static_cast<int64_t>(rows.size());
        for (int offset = n; offset >= 1 && lastOk; --offset) {
            SetDrawsOffset(offset);
            TCombination last{};
            DrawNumbersAtOffset(Draws_, offset, last);
            const auto draw = static_cast<int32_t>(
                std::clamp<int64_t>(OffsetInfo_.NextDrawNumber, 1, std::numeric_limits<int32_t>::max()));
            for (std::size_t row : rows) {
                TRegularRecord& regular = Regulars_[row];
                if (!AdvanceRegular(regular, last)) {
                    Ui_.ShowError(NoBaseText(regular));
                    lastOk = false;
                    break;
                }
                try {
                    Stakes_.Append(NewStake(StakeKindRegular, draw, static_cast<int32_t>(WorkingList_.size()),
                                            regular.CurrentComb, cost, regular.CommentUtf8()),
                                   1);
                    ++appended;
                } catch (const std::exception& e) {
                    ShowOperationError("Ошибка добавления записи в файл ставок!\r\r%s", e);
                    lastOk = false;
                    break;
                }
            }
            if (!lastOk)
                break;
            Ui_.SetProgress(int64_t{n - offset + 1} * static_cast<int64_t>(rows.size()), total);
            Ui_.PumpEvents();
            if (View_.StakesScrollEnabled)
                Ui_.Notify(TSessionEvent::StakesChanged);
            if (Ui_.StopRequested())
                break;
        }
        Ui_.SetProgress(0, 0);
        SetDrawsOffset(savedOffset);
    }
    SaveRegulars();
    Ui_.Notify(TSessionEvent::StakesChanged);
    if (lastOk)
        StakesCheck();
    return lastOk || appended > 0 ? appended : -1;
}

} // namespace kumby
