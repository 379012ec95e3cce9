// The commands of the draws tab: load and save of the archive, add, change,
// delete, import and export, and the display switches of the list.

#include "Session.h"

#include "app/DataFiles.h"
#include "draws/DrawCsv.h"
#include "model/Error.h"
#include "model/VexoUtils.h"

#include <algorithm>

namespace kumby {

namespace {

std::string DrawLineText(const TDrawsArray& draws, int index) {
    const TDrawRecord& d = draws[static_cast<std::size_t>(index)];
    std::string date = d.DateTextUtf8();
    return Format("индекс %d: %s%s%s", index, date.c_str(), date.empty() ? "" : " ",
                  NumbersToText(d.Numbers, NumbersInDraw, ";").c_str());
}

} // namespace

std::string DrawsNotLoadedText(const std::filesystem::path& file) {
    return Format("Файл тиражей \"%s\" прочитан не полностью, поэтому изменения архива не сохраняются: "
                  "иначе тиражи, которые не удалось прочитать, были бы потеряны.\r\rУстраните причину "
                  "ошибки чтения и запустите программу снова.",
                  file.string().c_str());
}

void Session::RefreshDrawsView() {
    if (Draws_.empty() || Offset_ < 0)
        Offset_ = 0;
    else if (static_cast<std::size_t>(Offset_) >= Draws_.size())
        Offset_ = static_cast<int>(Draws_.size()) - 1;
    OffsetInfo_ = ComputeOffsetInfo(Draws_, Offset_);
    Ui_.Notify(TSessionEvent::DrawsChanged);
}

void Session::RefreshAnalysisViews() {
    Ui_.Notify(TSessionEvent::AnalysisViewsChanged);
}

void Session::LoadDraws() {
    const std::filesystem::path path = DataPath(DrawsFileName);
    DrawsLoadFailed_ = false;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) {
        Draws_.clear();
        RefreshDrawsView();
        return;
    }
    try {
        TBusyScope busy(*this, "Загрузка файла тиражей...");
        LoadDrawArchive(path, Draws_);
    } catch (const std::exception& e) {
        // The draws read so far stay for looking at; the file is kept as it is.
        DrawsLoadFailed_ = true;
        ShowOperationError("Ошибка чтения файла тиражей!\r\r%s", e);
    }
    RefreshDrawsView();
}

bool Session::CheckDrawsWritable() {
    if (!DrawsLoadFailed_)
        return true;
    Ui_.ShowError(DrawsNotLoadedText(DataPath(DrawsFileName)));
    return false;
}

bool Session::SaveDraws() {
    if (!CheckDrawsWritable())
        return false;
    bool ok = true;
    try {
        TBusyScope busy(*this, "Сохранение файла тиражей...");
        SaveDrawArchive(DataPath(DrawsFileName), Draws_);
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка записи в файл тиражей!\r\r%s", e);
        ok = false;
    }
    RefreshDrawsView();
    return ok;
}

bool Session::CommitDraws(TDrawsArray&& before) {
    // What the user sees stays what the file holds: a change that could not be saved is undone.
    const bool ok = SaveDraws();
    if (!ok) {
        Draws_ = std::move(before);
        RefreshDrawsView();
    }
    RefreshAnalysisViews();
    return ok;
}

void Session::SetDrawsOffset(int k) {
    if (k == Offset_)
        return;
    Offset_ = k;
    RefreshDrawsView();
    RefreshAnalysisViews();
}

TDrawRecord Session::NewDrawRecord() const {
    TDrawRecord rec;
    rec.Number = NewDrawNumber(Draws_).value_or(0);
    return rec;
}

bool Session::DrawsAdd(const TDrawRecord& draw, bool allowExistingNumber) {
    if (!CheckDrawsWritable())
        return false;
    if (draw.Number < 1) {
        Ui_.ShowError(Format("Некорректный номер тиража: %d. Допустимы номера от 1 до %d.", draw.Number,
                             MaxDrawNumber));
        return false;
    }
    if (!allowExistingNumber && FindDrawIndex(Draws_, draw.Number) >= 0) {
        Ui_.ShowError(DrawNumberTakenText(draw.Number));
        return false;
    }
    TDrawsArray before = Draws_;
    Draws_.push_back(draw);
    return CommitDraws(std::move(before));
}

bool Session::DrawsChange(int index, const TDrawRecord& draw) {
    if (index < 0 || static_cast<std::size_t>(index) >= Draws_.size()) {
        Ui_.ShowError(Format("Запись со индексом %d в файле данных не найдена!", index));
        return false;
    }
    if (!CheckDrawsWritable())
        return false;
    TDrawsArray before = Draws_;
    Draws_[static_cast<std::size_t>(index)] = draw;
    return CommitDraws(std::move(before));
}

bool Session::DrawsDeleteAt(std::vector<int> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    if (indexes.empty())
        return false;
    for (int index : indexes)
        if (index < 0 || static_cast<std::size_t>(index) >= Draws_.size()) {
            Ui_.ShowError(Format("Запись со индексом %d в файле данных не найдена!", index));
            return false;
        }
    if (!CheckDrawsWritable())
        return false;
    const std::string question =
        indexes.size() == 1 ? std::string("Удалить выделенную запись?")
                            : Format("Удалить все выделенные записи (всего будет удалено %d записи(ей))?",
                                     static_cast<int>(indexes.size()));
    if (!Ui_.Confirm(question, TConfirmKind::Deletion))
        return false;
    TDrawsArray before = Draws_;
    {
        TBusyScope busy(*this, "Удаление выделенных тиражей....");
        // From the highest index down, so that the lower ones stay where they are.
        for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
            DeleteDraw(Draws_, *it);
        RefreshDrawsView();
    }
    return CommitDraws(std::move(before));
}

bool Session::DrawsDelete(const std::vector<int32_t>& numbers) {
    std::vector<int> indexes;
    for (int32_t number : numbers) {
        const std::vector<int> found = DrawIndexesOfNumber(Draws_, number);
        if (found.empty()) {
            Ui_.ShowError(Format("Тираж № %d не найден в архиве.", number));
            return false;
        }
        if (found.size() > 1) {
            // Which of them is meant only the user knows.
            std::string text = Format("Номер %d есть у нескольких тиражей архива (%d):", number,
                                      static_cast<int>(found.size()));
            for (int index : found)
                text += "\r" + DrawLineText(Draws_, index);
            text += "\rУкажите удаляемые тиражи по их индексам в архиве.";
            Ui_.ShowError(text);
            return false;
        }
        indexes.push_back(found.front());
    }
    return DrawsDeleteAt(std::move(indexes));
}

int Session::DrawsImport(const std::filesystem::path& file, TDrawsImportReport* report) {
    if (!CheckDrawsWritable())
        return -1;
    TDrawsImportReport result;
    TDrawsArray before = Draws_;
    {
        TBusyScope busy(*this, Format("Импорт тиражей из файла \"%s\"...", file.string().c_str()));
        try {
            TDrawsArray draws = Draws_;
            ImportDrawsCsv(file, draws, &result);
            Draws_ = std::move(draws);
        } catch (const std::exception& e) {
            Ui_.ShowError(e.what());
            return -1;
        }
    }
    if (report)
        *report = result;
    if (result.Added == 0) {
        RefreshDrawsView();
        return 0;
    }
    return CommitDraws(std::move(before)) ? result.Added : -1;
}

bool Session::IsOwnDataFile(const std::filesystem::path& file) const {
    return IsProgramDataFile(DataDir(), file);
}

bool Session::CheckOutputFile(const std::filesystem::path& file) {
    if (!IsOwnDataFile(file))
        return true;
    Ui_.ShowError(ProgramDataFileText(file));
    return false;
}

bool Session::DrawsExport(const std::filesystem::path& file) {
    if (!CheckOutputFile(file))
        return false;
    TBusyScope busy(*this, Format("Экспорт тиражей в файл \"%s\"...", file.string().c_str()));
    try {
        ExportDrawsCsv(file, Draws_);
        return true;
    } catch (const std::exception& e) {
        Ui_.ShowError(e.what());
        return false;
    }
}

void Session::SetSortedDraws(bool on) {
    View_.SortedDraws = on;
    WriteViewSwitch("SortedDraws");
    Ui_.Notify(TSessionEvent::DrawsDisplayChanged);
    RefreshAnalysisViews();
}

void Session::SetColorDraws(bool on) {
    View_.ColorDraws = on;
    WriteViewSwitch("ColorDraws");
    Ui_.Notify(TSessionEvent::DrawsDisplayChanged);
}

void Session::SetDownloadDrawsOnStart(int mode) {
    View_.DownloadDrawsOnStart = mode >= 0 && mode <= 2 ? mode : 0;
    WriteViewSwitch("DownloadDrawsOnStart");
}

} // namespace kumby
