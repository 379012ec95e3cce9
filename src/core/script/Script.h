#pragma once

// The current script: its lines in memory and the mirror file that holds them
// between runs of the program, and the script files the user opens and saves.

#include "script/ScriptModel.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

inline constexpr const char* ScriptMirrorFileName = "Kumby_12x24.lss";
inline constexpr const char* ScriptFileExtension = "lsc";
inline constexpr const char* ScriptFileFilter = "Файлы сценариев (*.lsc)|*.lsc";
// A script of thousands of lines is a few hundred KiB: anything larger is no script.
inline constexpr std::size_t MaxScriptFileBytes = 4u << 20;

inline constexpr const char* ScriptReadErrorText = "Ошибка чтения файла \"%s\"!\r\r%s";
inline constexpr const char* ScriptWriteErrorText = "Ошибка записи в файл \"%s\"!\r\r%s";
inline constexpr const char* ScriptLoadStatusText = "Загрузка файла \"%s\"...";
inline constexpr const char* ScriptSaveStatusText = "Сохранение файла \"%s\"...";

// The file bytes of a script: every line in CP1251 followed by CR LF.
std::string ScriptFileBytes(const TScriptLines& lines);
// The lines of file bytes: CR LF, LF or a lone CR end a line.
TScriptLines ParseScriptBytes(std::string_view bytes);
// Raise Error with the whole message: ScriptReadErrorText / ScriptWriteErrorText
// filled with the file and the problem (the system's text, a file too large).
TScriptLines ReadScriptFile(const std::filesystem::path& file);
void WriteScriptFile(const std::filesystem::path& file, const TScriptLines& lines);

// "Запись со индексом %d в файле данных не найдена!"
std::string ScriptIndexErrorText(std::size_t index);

class TScript {
public:
    // Without a mirror path nothing is written (a script only looked at).
    explicit TScript(std::filesystem::path mirror = {}) : Mirror_(std::move(mirror)) {}

    const std::filesystem::path& MirrorPath() const { return Mirror_; }
    const TScriptLines& Lines() const { return Lines_; }
    std::size_t Count() const { return Lines_.size(); }
    bool Empty() const { return Lines_.empty(); }
    // Raises Error with ScriptIndexErrorText outside the script.
    const std::string& Line(std::size_t index) const;
    bool IsSeparator(std::size_t index) const {
        return index < Lines_.size() && IsSeparatorLine(Lines_[index]);
    }

    // Start-up: reads the mirror when there is one. When it exists but cannot be read,
    // the script stays empty, the file is kept as it is and no change writes over it
    // until a script file is loaded; the read error is raised.
    void LoadMirror();
    bool MirrorBlocked() const { return MirrorBlocked_; }

    // Every change below is made in memory first and then written to the mirror; when
    // that write fails (or the mirror is blocked) the change stays in memory and the
    // write error is raised. Every Error raised here carries the whole message text.

    // Replaces the script with the lines of a file. The file is read before anything
    // changes: a read error leaves the script as it was.
    void Load(const std::filesystem::path& file);
    // Appends the lines of a file: a plain load into an empty script; otherwise a
    // separator first unless the last line already is one.
    void Append(const std::filesystem::path& file);
    // Writes the script to a file of the user's choice.
    void SaveAs(const std::filesystem::path& file) const;

    // Index of the new line.
    std::size_t Add(std::string_view line);
    // Appends every line with one write of the mirror; the index of the first.
    std::size_t AddLines(const TScriptLines& lines);
    std::size_t Insert(std::size_t index, std::string_view line); // index up to Count()
    void Replace(std::size_t index, std::string_view line);
    std::size_t Clone(std::size_t index); // appends a copy of the line
    std::size_t AddSeparator();
    // Removes the lines at these indexes (any order, repeats allowed), last first;
    // nothing changes when one is outside the script.
    void Delete(std::vector<std::size_t> indexes);
    void Clear();
    // The line's new index; the first line stays where it is going up, the last going down.
    std::size_t MoveUp(std::size_t index);
    std::size_t MoveDown(std::size_t index);

    // Writes the mirror now (after a failed write, to try again).
    void SaveMirror();

private:
    void CheckIndex(std::size_t index) const;
    void Assign(TScriptLines lines);

    std::filesystem::path Mirror_;
    TScriptLines Lines_;
    bool MirrorBlocked_ = false;
};

} // namespace kumby
