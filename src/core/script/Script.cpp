#include "script/Script.h"

#include "io/AtomicFile.h"
#include "model/Cp1251.h"
#include "model/Error.h"
#include "model/TextLines.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <exception>
#include <functional>

namespace kumby {

namespace {

std::string FileMessage(const char* text, const std::filesystem::path& file, const std::string& detail) {
    return Format(text, file.string().c_str(), detail.c_str());
}

std::string MirrorBlockedText(const std::filesystem::path& file) {
    return Format("Файл сценария \"%s\" не удалось прочитать при запуске программы, поэтому он не "
                  "перезаписывается, чтобы сохранить его данные. Изменения сценария действуют до закрытия "
                  "программы; команда \"Открыть\" загрузит сценарий из файла.",
                  file.string().c_str());
}

// A line as the file will hold it: a line break inside would split it in two on
// the next load, and what CP1251 cannot hold would come back as "?".
std::string StoredLine(std::string_view line) {
    std::string text(line);
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return Cp1251ToUtf8(Utf8ToCp1251(text));
}

} // namespace

std::string ScriptFileBytes(const TScriptLines& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += Utf8ToCp1251(line);
        bytes += "\r\n";
    }
    return bytes;
}

TScriptLines ParseScriptBytes(std::string_view bytes) {
    TScriptLines lines;
    ForEachLine(bytes, [&](std::string_view line) { lines.push_back(Cp1251ToUtf8(line)); });
    return lines;
}

TScriptLines ReadScriptFile(const std::filesystem::path& file) {
    try {
        return ParseScriptBytes(ReadRegularFile(file, MaxScriptFileBytes));
    } catch (const std::exception& e) {
        throw Error(FileMessage(ScriptReadErrorText, file, e.what()));
    }
}

void WriteScriptFile(const std::filesystem::path& file, const TScriptLines& lines) {
    try {
        SaveFileAtomic(file, ScriptFileBytes(lines));
    } catch (const std::exception& e) {
        throw Error(FileMessage(ScriptWriteErrorText, file, e.what()));
    }
}

std::string ScriptIndexErrorText(std::size_t index) {
    return Format("Запись со индексом %zu в файле данных не найдена!", index);
}

const std::string& TScript::Line(std::size_t index) const {
    CheckIndex(index);
    return Lines_[index];
}

void TScript::CheckIndex(std::size_t index) const {
    if (index >= Lines_.size())
        throw Error(ScriptIndexErrorText(index));
}

void TScript::LoadMirror() {
    Lines_.clear();
    MirrorBlocked_ = false;
    if (Mirror_.empty())
        return;
    std::error_code ec;
    if (!std::filesystem::exists(Mirror_, ec) && !ec)
        return;
    try {
        Lines_ = ReadScriptFile(Mirror_);
    } catch (const std::exception&) {
        MirrorBlocked_ = true;
        throw;
    }
}

void TScript::SaveMirror() {
    if (Mirror_.empty())
        return;
    if (MirrorBlocked_)
        throw Error(FileMessage(ScriptWriteErrorText, Mirror_, MirrorBlockedText(Mirror_)));
    WriteScriptFile(Mirror_, Lines_);
}

void TScript::Assign(TScriptLines lines) {
    for (std::string& line : lines)
        line = StoredLine(line);
    Lines_ = std::move(lines);
    // The user chose to replace the script: the unread mirror may now be written.
    MirrorBlocked_ = false;
    SaveMirror();
}

void TScript::Load(const std::filesystem::path& file) {
    Assign(ReadScriptFile(file));
}

void TScript::Append(const std::filesystem::path& file) {
    TScriptLines lines = ReadScriptFile(file);
    if (Lines_.empty()) {
        Assign(std::move(lines));
        return;
    }
    if (!IsSeparatorLine(Lines_.back()))
        Lines_.emplace_back();
    for (std::string& line : lines)
        Lines_.push_back(StoredLine(line));
    SaveMirror();
}

void TScript::SaveAs(const std::filesystem::path& file) const {
    WriteScriptFile(file, Lines_);
}

std::size_t TScript::Add(std::string_view line) {
    Lines_.push_back(StoredLine(line));
    SaveMirror();
    return Lines_.size() - 1;
}

std::size_t TScript::AddLines(const TScriptLines& lines) {
    const std::size_t first = Lines_.size();
    for (const std::string& line : lines)
        Lines_.push_back(StoredLine(line));
    SaveMirror();
    return first;
}

std::size_t TScript::Insert(std::size_t index, std::string_view line) {
    if (index > Lines_.size())
        throw Error(ScriptIndexErrorText(index));
    Lines_.insert(Lines_.begin() + static_cast<std::ptrdiff_t>(index), StoredLine(line));
    SaveMirror();
    return index;
}

void TScript::Replace(std::size_t index, std::string_view line) {
    CheckIndex(index);
    Lines_[index] = StoredLine(line);
    SaveMirror();
}

std::size_t TScript::Clone(std::size_t index) {
    CheckIndex(index);
    Lines_.push_back(Lines_[index]);
    SaveMirror();
    return Lines_.size() - 1;
}

std::size_t TScript::AddSeparator() {
    Lines_.emplace_back();
    SaveMirror();
    return Lines_.size() - 1;
}

void TScript::Delete(std::vector<std::size_t> indexes) {
    std::sort(indexes.begin(), indexes.end(), std::greater<>());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    if (indexes.empty())
        return;
    CheckIndex(indexes.front());
    for (std::size_t index : indexes)
        Lines_.erase(Lines_.begin() + static_cast<std::ptrdiff_t>(index));
    SaveMirror();
}

void TScript::Clear() {
    Lines_.clear();
    SaveMirror();
}

std::size_t TScript::MoveUp(std::size_t index) {
    CheckIndex(index);
    if (index == 0)
        return index;
    std::swap(Lines_[index], Lines_[index - 1]);
    SaveMirror();
    return index - 1;
}

std::size_t TScript::MoveDown(std::size_t index) {
    CheckIndex(index);
    if (index + 1 == Lines_.size())
        return index;
    std::swap(Lines_[index], Lines_[index + 1]);
    SaveMirror();
    return index + 1;
}

} // namespace kumby
