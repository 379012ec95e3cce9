#pragma once

// The log of a script run: one file per run in the data folder, each line
// opened, appended and closed on its own so that the log survives a crash.

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

namespace kumby {

inline constexpr const char* ScriptLogPattern = "ScriptLog_%s.txt";
inline constexpr const char* ScriptLogWriteErrorText = "Ошибка записи журнала: %s!";

class TScriptLog {
public:
    using TClock = std::function<std::time_t()>;
    explicit TScriptLog(std::filesystem::path folder, TClock clock = {});

    // Logs go to this file instead of a new one per run (the command-line switch).
    void SetFixedFile(std::filesystem::path file) { FixedFile_ = std::move(file); }
    bool IsOpen() const { return !File_.empty(); }
    const std::filesystem::path& File() const { return File_; }
    void Open();
    // Appends "[time]: text"; opens a log first when none is open. Returns the
    // error text after a failure, empty on success.
    std::string Write(const std::string& text);
    // The file written, empty when none; no log is open afterwards.
    std::filesystem::path Close();

private:
    std::filesystem::path Folder_;
    std::filesystem::path FixedFile_;
    std::filesystem::path File_;
    TClock Clock_;
};

// The log files of earlier runs in the folder.
std::vector<std::filesystem::path> FindScriptLogs(const std::filesystem::path& folder);

} // namespace kumby
