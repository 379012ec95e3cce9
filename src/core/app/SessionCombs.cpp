// The working combination list, its undo copy and buffer, and the filter steps.

#include "app/Session.h"

#include "combs/CombList.h"
#include "model/Error.h"
#include "model/VexoUtils.h"

namespace kumby {

namespace {

std::string WithDetail(const std::string& pattern, const std::string& detail) {
    std::string text = pattern;
    const std::size_t at = text.rfind("%s");
    if (at != std::string::npos)
        text.replace(at, 2, detail);
    return text;
}

std::string FileMessage(const char* pattern, const std::filesystem::path& file, const std::exception& e) {
    // The pattern names the file first, then the error.
    std::string text = pattern;
    text.replace(text.find("%s"), 2, file.string());
    return WithDetail(text, e.what());
}

} // namespace

// ---- History --------------------------------------------------------------------

void Session::AddFilterRow(bool exclude, const std::string& caption, const std::string& values) {
    FilterRows_.push_back({exclude, caption, values, WorkingList_.size()});
    Ui_.Notify(TSessionEvent::CombsChanged);
}

void Session::DeleteLastFilterRow() {
    if (!FilterRows_.empty())
        FilterRows_.pop_back();
    Ui_.Notify(TSessionEvent::CombsChanged);
}

void Session::ClearFilterRows() {
    FilterRows_.clear();
    Ui_.Notify(TSessionEvent::CombsChanged);
}

std::string Session::CombsCountPanel() const {
    return Format("Комбинаций: %d", static_cast<int>(WorkingList_.size()));
}

// ---- Stores ---------------------------------------------------------------------

bool Session::GenerateList(bool interactive, const TGenerateDefaults& settings) {
    bool ok = true;
    {
        std::optional<TBusyScope> busy;
        if (interactive)
            busy.emplace(*this, "Генерация возможных комбинаций...");
        try {
            WorkingList_.clear();
            if (settings.Mode == GenerateFromFileMode) {
                try {
                    LoadListFile(settings.Parameters, WorkingList_);
                } catch (const std::exception& e) {
                    // The list falls back to an empty one, whatever was read.
                    WorkingList_.clear();
                    Ui_.ShowError(FileMessage("Ошибка чтения файла \"%s\"!\r\r%s", settings.Parameters, e));
                    ok = false;
                }
            } else {
                GenerateCombinations(WorkingList_, settings.Mode, ParseOwnNumbers(settings.Parameters));
            }
        } catch (const std::exception& e) {
            Ui_.ShowError(WithDetail("Ошибка генерации файла комбинаций!\r\r%s", e.what()));
            ok = false;
        }
        if (interactive) {
            FilterRows_.clear();
            UndoCopy_.clear();
            Buffer_.clear(); // the key stays
        }
    }
    Ui_.Notify(TSessionEvent::CombsChanged);
    return ok;
}

void Session::MakeUndoCopy(bool interactive) {
    std::optional<TBusyScope> busy;
    if (interactive)
        busy.emplace(*this, "Создание файла отката...");
    UndoCopy_.assign(WorkingList_.begin(), WorkingList_.end());
}

void Session::RestoreUndoCopy(bool interactive) {
    {
        std::optional<TBusyScope> busy;
        if (interactive)
            busy.emplace(*this, "Отмена изменений...");
        WorkingList_.assign(UndoCopy_.begin(), UndoCopy_.end());
        UndoCopy_.clear();
    }
    Ui_.Notify(TSessionEvent::CombsChanged);
}

void Session::SaveToBuffer(int a, int b) {
    if (BufferKey_ == std::make_pair(a, b))
        return;
    try {
        TBusyScope busy(*this, "Создание буфера комбинаций...");
        BufferKey_ = {a, b};
        Buffer_.assign(WorkingList_.begin(), WorkingList_.end());
    } catch (const std::exception& e) {
        InvalidateBuffer();
        Ui_.ShowError(WithDetail("Ошибка создания буфера комбинаций!\r\r%s", e.what()));
    }
}

bool Session::RestoreFromBuffer(int a, int b) {
    if (BufferKey_ != std::make_pair(a, b) || Buffer_.empty())
        return false;
    try {
        {
            TBusyScope busy(*this, "Загрузка буфера комбинаций...");
            WorkingList_.assign(Buffer_.begin(), Buffer_.end());
        }
        Ui_.Notify(TSessionEvent::CombsChanged);
        return true;
    } catch (const std::exception& e) {
        Ui_.ShowError(WithDetail("Ошибка загрузки буфера комбинаций!\r\r%s", e.what()));
        return false;
    }
}

void Session::InvalidateBuffer() {
    BufferKey_ = {-1, -1};
    Buffer_.clear();
}

void Session::ExcludeLastDraws(int n) {
    bool stopped = false;
    {
        TBusyScope busy(*this, Format("Удаление из списка комбинаций %d последних тиражей...", n));
        int first = 0, last = -1;
        if (n > 0) {
            last = static_cast<int>(Draws_.size()) - 1 - Offset_;
            first = std::max(0, last - n + 1);
        }
        const std::size_t total = UndoCopy_.size();
        stopped =
            !RemoveDrawnCombinations(UndoCopy_, WorkingList_, Draws_, first, last, [&](std::size_t done) {
                Ui_.SetStatus(
                    Format("Удаление из списка комбинаций %d последних тиражей ( завершено %.0f %% )...", n,
                           static_cast<double>(done) * 100 / static_cast<double>(total)));
                Ui_.PumpEvents();
                return !Ui_.StopRequested();
            });
        if (stopped) // a stopped pass leaves the list as it was
            WorkingList_.assign(UndoCopy_.begin(), UndoCopy_.end());
        else
            AddFilterRow(true, "Последние тиражи", std::to_string(n));
    }
    Ui_.Notify(TSessionEvent::CombsChanged);
}

// ---- Commands -------------------------------------------------------------------

bool Session::CombsGenerate(const TGenerateDefaults& settings, bool makeDefault) {
    if (makeDefault) {
        GenerateDefaults_ = settings;
        try {
            const std::filesystem::path path = DataPath(MainSettingsFileName);
            TIniFile ini = TIniFile::Load(path);
            WriteGenerateGroup(ini, GenerateDefaults_);
            ini.Save(path);
        } catch (const std::exception& e) {
            Ui_.ShowError(WithDetail("Ошибка записи в файл конфигурации!\r\r%s", e.what()));
        }
    }
    MakeUndoCopy(true);
    return GenerateList(true, settings);
}

void Session::CombsExclude(int n) {
    MakeUndoCopy(true);
    ExcludeLastDraws(n);
}

void Session::CombsDeleteSelected(const std::vector<std::size_t>& rows) {
    MakeUndoCopy(true);
    {
        TBusyScope busy(*this, "Удаление выделенных комбинаций...");
        std::vector<bool> selected(UndoCopy_.size(), false);
        std::size_t count = 0;
        for (std::size_t r : rows)
            if (r < selected.size() && !selected[r]) {
                selected[r] = true;
                ++count;
            }
        WorkingList_.clear();
        for (std::size_t i = 0; i < UndoCopy_.size(); ++i)
            if (!selected[i])
                WorkingList_.push_back(UndoCopy_[i]);
        AddFilterRow(true, "Выделенные комбинации", std::to_string(count));
    }
    Ui_.Notify(TSessionEvent::CombsChanged);
}

void Session::CombsUndo() {
    RestoreUndoCopy(true);
    DeleteLastFilterRow();
}

bool Session::CombsOpen(const std::filesystem::path& file) {
    MakeUndoCopy(true);
    bool ok = true;
    {
        TBusyScope busy(*this, Format("Загрузка файла \"%s\"...", file.string().c_str()));
        WorkingList_.clear();
        try {
            LoadListFile(file, WorkingList_);
        } catch (const std::exception& e) {
            Ui_.ShowError(FileMessage("Ошибка чтения файла \"%s\"!\r\r%s", file, e));
            ok = false;
        }
        if (!ok)
            RestoreUndoCopy(true);
        ClearUndo();
        FilterRows_.clear();
    }
    Ui_.Notify(TSessionEvent::CombsChanged);
    return ok;
}

bool Session::CombsSave(const std::filesystem::path& file) {
    if (!CheckOutputFile(file))
        return false;
    TBusyScope busy(*this, Format("Сохранение файла \"%s\"...", file.string().c_str()));
    try {
        SaveListFile(file, WorkingList_);
        return true;
    } catch (const std::exception& e) {
        Ui_.ShowError(FileMessage("Ошибка записи в файл \"%s\"!\r\r%s", file, e));
        return false;
    }
}

std::string Session::CombsCopyText(const std::vector<std::size_t>& rows) {
    TBusyScope busy(*this, "Подождите пожалуйста...");
    return CombsToClipboardText(WorkingList_, rows);
}

bool Session::CombsPaste(std::string_view text) {
    bool ok = true;
    {
        TBusyScope busy(*this, "Подождите пожалуйста...");
        const std::vector<std::string_view> lines = SplitPastedLines(text);
        if (!lines.empty()) {
            MakeUndoCopy(false);
            WorkingList_.resize(lines.size());
            try {
                for (std::size_t i = 0; i < lines.size(); ++i)
                    WorkingList_[i] = ParseCombination(lines[i]);
                FilterRows_.clear();
            } catch (const std::exception& e) {
                Ui_.ShowError(e.what());
                RestoreUndoCopy(true);
                ok = false;
            }
        }
        ClearUndo();
    }
    Ui_.Notify(TSessionEvent::CombsChanged);
    return ok;
}

void Session::CombsDistinctNumbers() {
    int count = 0;
    {
        TBusyScope busy(*this, "Подождите пожалуйста...");
        count = CountDistinctNumbers(WorkingList_.data(), WorkingList_.size());
    }
    Ui_.ShowInfo(Format("В текущем списке комбинаций содержится %d уникальных номеров", count));
}

void Session::CombsFindInArchive(std::size_t row) {
    if (row >= WorkingList_.size())
        return;
    std::vector<std::string> lines;
    {
        TBusyScope busy(*this, "Поиск по архиву тиражей...");
        lines = FindInArchive(Draws_, WorkingList_[row]);
    }
    if (lines.empty()) {
        Ui_.ShowInfo("Выделенная комбинация не найдена архиве тиражей!");
        return;
    }
    std::string text = "Выделенная комбинация найдена в следующих тиражах:\r";
    for (const std::string& line : lines)
        text += "\r" + line;
    Ui_.ShowInfo(text);
}

// ---- Filtering ------------------------------------------------------------------

void Session::ApplyValuesFilter(const TStatMethodFactory& create, const TStatDrawArray& selected,
                                bool exclude, const std::string& caption, const std::string& valuesText) {
    if (UndoCopy_.empty()) {
        WorkingList_.clear();
        return;
    }
    // The pass overwrites the list in place: emptying it first would only cost a fill.
    const int lastIdx = std::max(0, static_cast<int>(Draws_.size()) - 1 - Offset_);
    FilterCombinations(create, UndoCopy_, WorkingList_, selected, lastIdx, View_.SortedDraws, exclude);
    AddFilterRow(exclude, caption, valuesText);
}

void Session::StatFilter(const std::vector<std::size_t>& selectedRows, bool exclude) {
    MakeUndoCopy(true);
    try {
        TBusyScope busy(*this, "Фильтрация комбинаций...");
        ApplyTableFilter(selectedRows, exclude);
    } catch (const std::exception& e) {
        Ui_.Notify(TSessionEvent::CombsChanged);
        Ui_.ShowError(e.what());
        return;
    }
    Ui_.Notify(TSessionEvent::CombsChanged);
}

void Session::ApplyTableFilter(const std::vector<std::size_t>& selectedRows, bool exclude) {
    const TStatTable& table = StatTable_;
    TStatDrawArray selected;
    std::string values;
    std::vector<std::size_t> rows = selectedRows;
    std::sort(rows.begin(), rows.end());
    for (std::size_t r : rows) {
        if (r >= table.RowCount())
            continue;
        const TStatRow& row = table.DisplayRow(r);
        selected.push_back(row.Entry);
        if (!values.empty())
            values += "; ";
        values += table.Text(row, StatColValue);
    }
    if (selected.empty())
        return;
    if (StatMethod_ >= Registry_.Count())
        throw Error("Не выбран метод расчета статистики (cb: cbDrawsStatType)!");
    const std::size_t method = StatMethod_;
    ApplyValuesFilter([&] { return Registry_.CreateInstance(method); }, selected, exclude,
                      Registry_.DisplayName(method, true), values);
}

} // namespace kumby
