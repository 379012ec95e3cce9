#include "script/ScriptLog.h"

#include "model/Cp1251.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace kumby {

namespace {

std::tm LocalTime(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

} // namespace

TScriptLog::TScriptLog(std::filesystem::path folder, TClock clock)
    : Folder_(std::move(folder)), Clock_(std::move(clock)) {
    if (!Clock_)
        Clock_ = [] { return std::time(nullptr); };
}

void TScriptLog::Open() {
    if (!FixedFile_.empty()) {
        File_ = FixedFile_;
        return;
    }
    const std::tm tm = LocalTime(Clock_());
    const std::string stamp = Format("%04d-%02d-%02d-%02d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                                     tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    File_ = Folder_ / Format(ScriptLogPattern, stamp.c_str());
    // Two runs within one second must not share a log.
    for (int n = 2; std::filesystem::exists(File_); ++n)
        File_ = Folder_ / Format(ScriptLogPattern, (stamp + "_" + std::to_string(n)).c_str());
}

std::string TScriptLog::Write(const std::string& text) {
    if (File_.empty())
        Open();
    const std::tm tm = LocalTime(Clock_());
    const std::string line =
        Utf8ToCp1251(Format("[%04d-%02d-%02d %02d:%02d:%02d]: ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                            tm.tm_hour, tm.tm_min, tm.tm_sec) +
                     text + "\r\n");
    const int fd = ::open(File_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return Format(ScriptLogWriteErrorText, (File_.string() + ": " + std::strerror(errno)).c_str());
    std::string failure;
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failure = Format(ScriptLogWriteErrorText, (File_.string() + ": " + std::strerror(errno)).c_str());
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return failure;
}

std::filesystem::path TScriptLog::Close() {
    std::filesystem::path file;
    std::error_code ec;
    if (!File_.empty() && std::filesystem::exists(File_, ec))
        file = File_;
    File_.clear();
    return file;
}

std::vector<std::filesystem::path> FindScriptLogs(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() >= 14 && name.starts_with("ScriptLog_") && name.ends_with(".txt") &&
            it->is_regular_file(ec))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace kumby
