// The script tab's commands: the list of lines, its files and the mirror file that
// keeps the script from one run of the program to the next.

#include "Session.h"

#include "model/VexoUtils.h"
#include "script/RatingsToScript.h"

#include <algorithm>

namespace kumby {

namespace {

std::string DeletionQuestion(std::size_t count) {
    return count == 1 ? std::string("Удалить выделенную запись?")
                      : Format("Удалить все выделенные записи (всего будет удалено %zu записи(ей))?", count);
}

std::string FileStatus(const char* text, const std::filesystem::path& file) {
    return Format(text, file.string().c_str());
}

} // namespace

std::string Session::ScriptCountPanel() const {
    return Format("Строк: %zu", Script_.Count());
}

bool Session::CanScriptEdit(int row) const {
    return !Busy() && row >= 0 && static_cast<std::size_t>(row) < Script_.Count() &&
           !Script_.IsSeparator(static_cast<std::size_t>(row));
}

bool Session::CanScriptUp(int row) const {
    return !Busy() && row > 0 && static_cast<std::size_t>(row) < Script_.Count();
}

bool Session::CanScriptDown(int row) const {
    return !Busy() && row >= 0 && static_cast<std::size_t>(row) + 1 < Script_.Count();
}

void Session::LoadScript() {
    try {
        std::error_code ec;
        const bool present = std::filesystem::exists(Script_.MirrorPath(), ec) || ec;
        TBusyScope busy(*this,
                        present ? FileStatus(ScriptLoadStatusText, Script_.MirrorPath()) : std::string());
        Script_.LoadMirror();
    } catch (const std::exception& e) {
        Ui_.ShowError(std::string(e.what()) +
                      "\r\rФайл оставлен без изменений и не будет перезаписан, пока не будет загружен "
                      "сценарий из другого файла.");
    }
    Ui_.Notify(TSessionEvent::ScriptChanged);
}

bool Session::ScriptChange(const std::function<void()>& change, const std::string& status) {
    bool ok = true;
    try {
        TBusyScope busy(*this, status);
        change();
    } catch (const std::exception& e) {
        Ui_.ShowError(e.what());
        ok = false;
    }
    Ui_.Notify(TSessionEvent::ScriptChanged);
    return ok;
}

bool Session::ScriptOpen(const std::filesystem::path& file) {
    return ScriptChange([&] { Script_.Load(file); }, FileStatus(ScriptLoadStatusText, file));
}

bool Session::ScriptLoad(const std::filesystem::path& file) {
    return ScriptChange([&] { Script_.Append(file); }, FileStatus(ScriptLoadStatusText, file));
}

bool Session::ScriptSave(const std::filesystem::path& file) {
    if (!CheckOutputFile(file))
        return false;
    TBusyScope busy(*this, FileStatus(ScriptSaveStatusText, file));
    try {
        Script_.SaveAs(file);
        return true;
    } catch (const std::exception& e) {
        Ui_.ShowError(e.what());
        return false;
    }
}

std::optional<std::size_t> Session::ScriptAdd(const std::string& line) {
    const std::size_t before = Script_.Count();
    ScriptChange([&] { Script_.Add(line); });
    if (Script_.Count() == before)
        return std::nullopt;
    return before;
}

bool Session::ScriptEdit(std::size_t row, const std::string& line) {
    return ScriptChange([&] { Script_.Replace(row, line); });
}

std::optional<std::size_t> Session::ScriptAddSeparator() {
    const std::size_t before = Script_.Count();
    ScriptChange([&] { Script_.AddSeparator(); });
    if (Script_.Count() == before)
        return std::nullopt;
    return before;
}

bool Session::ScriptDelete(const std::vector<std::size_t>& rows) {
    if (rows.empty() || !Ui_.Confirm(DeletionQuestion(rows.size()), TConfirmKind::Deletion))
        return false;
    return ScriptChange([&] { Script_.Delete(rows); }, "Удаление строк...");
}

bool Session::ScriptClear() {
    if (Script_.Empty() || !Ui_.Confirm(DeletionQuestion(Script_.Count()), TConfirmKind::Deletion))
        return false;
    return ScriptChange([&] { Script_.Clear(); }, "Удаление строк...");
}

std::optional<std::size_t> Session::ScriptMoveUp(std::size_t row) {
    if (row >= Script_.Count()) {
        ScriptChange([&] { Script_.Line(row); }); // reports the row outside the script
        return std::nullopt;
    }
    // A failed mirror write leaves the lines moved: the selection follows all the same.
    ScriptChange([&] { Script_.MoveUp(row); });
    return row > 0 ? row - 1 : row;
}

std::optional<std::size_t> Session::ScriptMoveDown(std::size_t row) {
    if (row >= Script_.Count()) {
        ScriptChange([&] { Script_.Line(row); });
        return std::nullopt;
    }
    ScriptChange([&] { Script_.MoveDown(row); });
    return row + 1 < Script_.Count() ? row + 1 : row;
}

int Session::RatingsToScript(std::vector<std::size_t> rows) {
    if (!CanRatingsToScript(rows.size()))
        return 0;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    TScriptLines lines;
    {
        TBusyScope busy(*this, "Генерация новых строк в сценарии...");
        for (const std::size_t row : rows) {
            if (row >= Ratings_.Count())
                continue;
            const std::string& source = Ratings_.Items()[row].Name;
            if (auto line = RatingSourceToScriptLine(source, Registry_))
                lines.push_back(std::move(*line));
            else
                Ui_.ShowError(Format(RatingNotScriptText, source.c_str()));
        }
    }
    if (lines.empty())
        return 0;
    // A failed mirror write keeps the lines in the list: they count as added.
    ScriptChange([&] { Script_.AddLines(lines); });
    return static_cast<int>(lines.size());
}

} // namespace kumby
