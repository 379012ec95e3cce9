// The ratings of the stake sources: loading at start-up, saving after every change,
// sorting, rebuilding from the stakes file, export and the data of their charts.

#include "Session.h"

#include "SessionStakesSupport.h"

#include "model/VexoUtils.h"
#include "stakes/CheckJournal.h"
#include "stakes/RatingsView.h"

#include <algorithm>

namespace kumby {

namespace {

constexpr const char* RatingsWriteErrorText = "Ошибка записи в файл рейтинга!\r\r%s";

std::string RatingsNotWrittenText(const std::filesystem::path& file) {
    return Format("Файл рейтинга \"%s\" не удалось прочитать полностью при запуске программы, поэтому он не "
                  "перезаписывается, чтобы сохранить его данные. Изменения рейтинга действуют до закрытия "
                  "программы; команда \"Обновить рейтинг\" пересчитает рейтинг по текущим ставкам.",
                  file.string().c_str());
}

} // namespace

std::string Session::RatingsCountPanel() const {
    return RatingsCountText(Ratings_.Count());
}

int Session::RatingsEffMode() const {
    return NormalRatingsEffMode(View_.RatingsEffMode);
}

void Session::SetRatingsEffMode(int mode) {
    View_.RatingsEffMode = NormalRatingsEffMode(mode);
    WriteViewSwitch("RatingsEffMode");
    Ui_.Notify(TSessionEvent::RatingsChanged);
}

void Session::LoadRatings() {
    RatingsLoaded_ = true;
    RatingsFileId_.reset();
    const std::filesystem::path path = DataPath(RatingsFileName);
    std::error_code ec;
    bool loaded = false;
    if (!std::filesystem::exists(path, ec) && !ec) {
        RatingsFileId_ = RatingsFileIdOf({});
    } else {
        TBusyScope busy(*this, "Загрузка файла рейтинга...");
        try {
            TRatingsLoad load = LoadRatingsFile(path);
            if (load.Damaged()) {
                // The file is rewritten below: the damaged bytes are kept aside first.
                std::filesystem::path copy;
                std::string copyProblem;
                try {
                    copy = KeepDamagedRatingsFile(path);
                } catch (const std::exception& e) {
                    RatingsSaveBlocked_ = true;
                    copyProblem = e.what();
                }
                std::string text = DamagedRatingsText(path, load, copy);
                if (RatingsSaveBlocked_)
                    text += Format("\r\rКопию файла сохранить не удалось (%s); файл рейтинга не будет "
                                   "перезаписан.",
                                   copyProblem.c_str());
                Ui_.ShowWarning(text);
            } else {
                // Only a file the program wrote whole can be the one a check journal names.
                RatingsFileId_ = load.File;
            }
            Ratings_.Assign(std::move(load.Items));
            Ratings_.TakeChanged();
            loaded = true;
        } catch (const std::exception& e) {
            RatingsSaveBlocked_ = true;
            ShowOperationError("Ошибка чтения файла рейтинга!\r\r%s", e);
        }
    }
    const bool replayed = ResumeInterruptedCheck();
    if ((loaded || replayed) && !RatingsSaveBlocked_)
        SortAndSaveRatings();
    else
        Ui_.Notify(TSessionEvent::RatingsChanged);
    if (replayed)
        DropCheckJournal();
}

bool Session::ResumeInterruptedCheck() {
    const std::filesystem::path journal = DataPath(CheckJournalFileName);
    std::error_code ec;
    if (!std::filesystem::exists(journal, ec) && !ec)
        return false; // the usual start: no status, no progress
    TJournalRecovery recovery;
    {
        TBusyScope busy(*this, "Восстановление рейтинга после прерванной проверки ставок...");
        TUiStakesProgress progress(Ui_);
        const bool known = RatingsFileId_ && !RatingsSaveBlocked_;
        recovery =
            RecoverCheckJournal(journal, known ? &*RatingsFileId_ : nullptr, Stakes_, Ratings_, &progress);
        Ui_.SetProgress(0, 0);
    }
    switch (recovery.Outcome) {
    case TJournalOutcome::None:
        return false;
    case TJournalOutcome::Replayed:
        return true;
    case TJournalOutcome::Unusable:
        Ui_.ShowWarning(UnusableCheckJournalText(journal, DataPath(RatingsFileName), recovery.Problem));
        break;
    case TJournalOutcome::Outdated:
        break;
    }
    DropCheckJournal();
    return false;
}

void Session::DropCheckJournal() {
    try {
        RemoveCheckJournal(DataPath(CheckJournalFileName));
    } catch (const std::exception& e) {
        Ui_.ShowError(e.what());
    }
}

bool Session::SortAndSaveRatings() {
    {
        TBusyScope busy(*this, "Сортировка рейтинга...");
        Ratings_.Sort(RatingsSortColumn_, RatingsSortDescending_);
    }
    bool ok = true;
    const std::filesystem::path path = DataPath(RatingsFileName);
    if (RatingsSaveBlocked_) {
        Ui_.ShowError(Format("Ошибка записи в файл рейтинга!\r\r%s", RatingsNotWrittenText(path).c_str()));
        ok = false;
    } else {
        try {
            TBusyScope busy(*this, "Сохранение файла рейтинга...");
            RatingsFileId_ = SaveRatingsFile(path, Ratings_.Items());
        } catch (const std::exception& e) {
            ShowOperationError(RatingsWriteErrorText, e);
            ok = false;
        }
    }
    Ui_.Notify(TSessionEvent::RatingsChanged);
    return ok;
}

bool Session::RatingsSort(int column, bool descending) {
    RatingsSortColumn_ = column;
    RatingsSortDescending_ = descending;
    if (!RatingsLoaded_)
        return true;
    return SortAndSaveRatings();
}

bool Session::RatingsRefresh() {
    if (!CheckStakesOpen())
        return false;
    if ((!Ratings_.Empty() || RatingsSaveBlocked_) &&
        !Ui_.Confirm(
            "Пересчитать рейтинг только по текущим ставкам?\r\rНакопленные ранее данные по удаленным "
            "ставкам будут потеряны."))
        return false;
    // Built aside: a failure or a stop leaves the ratings as they were.
    TRatings rebuilt;
    bool ok = true;
    {
        TBusyScope busy(*this, "Обновление рейтинга...");
        const int64_t count = Stakes_.Count();
        const int64_t step = std::max<int64_t>(1, count / 100);
        try {
            Stakes_.ForEach(0, [&](int64_t i, const TStakeRecord& r) {
                if (r.DrawNumber >= 0 && r.Checked)
                    rebuilt.Add(r.CommentUtf8(), r.MatchedCount(), r.Profit);
                if ((i + 1) % step == 0) {
                    Ui_.SetProgress(i + 1, count);
                    Ui_.PumpEvents();
                    if (Ui_.StopRequested()) {
                        ok = false;
                        return false;
                    }
                }
                return true;
            });
        } catch (const std::exception& e) {
            ShowOperationError("Ошибка обновления рейтинга!\r\r%s", e);
            ok = false;
        }
        Ui_.SetProgress(0, 0);
    }
    if (!ok)
        return false;
    Ratings_.Assign(TRatingsArray(rebuilt.Items()));
    Ratings_.TakeChanged();
    RatingsSaveBlocked_ = false; // the user chose to let the old file go
    return SortAndSaveRatings();
}

bool Session::RatingsExport(const std::filesystem::path& file) {
    if (!CheckOutputFile(file))
        return false;
    TBusyScope busy(*this, "Экспорт в CSV-файл...");
    try {
        ExportRatingsCsv(file, Ratings_.Items());
        return true;
    } catch (const std::exception& e) {
        Ui_.ShowError(e.what());
        return false;
    }
}

std::vector<TRatingsSeries> Session::RatingsOverlapChart(const std::vector<std::size_t>& rows) const {
    return RatingsOverlapSeries(Ratings_.Items(), rows);
}

std::optional<std::vector<TRatingsSeries>> Session::RatingsDrawChart(const std::vector<std::size_t>& rows,
                                                                     TRatingsDrawValue value) {
    if (!CheckStakesOpen())
        return std::nullopt;
    std::vector<std::string> sources;
    for (std::size_t row : rows)
        if (row < Ratings_.Count())
            sources.push_back(Ratings_.Items()[row].Name);
    try {
        TBusyScope busy(*this, "Создание графиков...");
        std::vector<TRatingsSeries> series = RatingsDrawSeries(Stakes_, sources, value);
        if (series.empty()) {
            Ui_.ShowError(TooFewDrawsText);
            return std::nullopt;
        }
        return series;
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка поиска записи по номеру тиража в файле ставок!\r\r%s", e);
        return std::nullopt;
    }
}

} // namespace kumby
