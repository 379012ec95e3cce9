#include "stakes/StakesLog.h"

#include "io/AtomicFile.h"
#include "model/Cp1251.h"
#include "model/VexoUtils.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kumby {

namespace {

constexpr const char* LogPrefix = "Kumby_12x24-";
constexpr const char* LogSuffix = ".log";

} // namespace

std::filesystem::path StakesLogPath(const std::filesystem::path& folder, int matched) {
    return folder / (std::string(LogPrefix) + std::to_string(matched) + LogSuffix);
}

std::string StakesLogLine(const TStakeRecord& stake, std::time_t when) {
    std::tm t{};
    ::localtime_r(&when, &t);
    const std::string numbers = NumberListToText(stake.Numbers, ";");
    const std::string result = NumbersToText(stake.DrawResult, NumbersInDraw, ";");
    return Format(
        "%04d.%02d.%02d %02d:%02d:%02d: Тираж № %d. Ставка: \"%s\" [%s] {%d}. Результаты тиража: [%s]. "
        "Совпадений: %d. Профит: %s.",
        t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, stake.DrawNumber,
        stake.CommentUtf8().c_str(), numbers.c_str(), stake.CombsCount, result.c_str(), stake.MatchedCount(),
        MoneyText(stake.Profit).c_str());
}

TStakesLog::TStakesLog(std::filesystem::path folder, int64_t limit)
    : Folder_(std::move(folder)), Limit_(limit) {
    Fds_.fill(-1);
}

TStakesLog::~TStakesLog() {
    for (int fd : Fds_)
        if (fd >= 0)
            ::close(fd);
}

void TStakesLog::StakeChecked(const TStakeRecord& stake) {
    const int matched = stake.MatchedCount();
    if (!Failure_.empty() || matched < 0 || matched > MaxHits)
        return;
    Write(matched, Utf8ToCp1251(StakesLogLine(stake, std::time(nullptr))) + "\r\n");
}

void TStakesLog::Write(int matched, const std::string& line) {
    const std::filesystem::path path = StakesLogPath(Folder_, matched);
    int& fd = Fds_[static_cast<std::size_t>(matched)];
    if (fd >= 0 && Sizes_[static_cast<std::size_t>(matched)] > Limit_) {
        ::close(fd);
        fd = -1;
    }
    if (fd < 0) {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && st.st_size > Limit_ && ::unlink(path.c_str()) != 0) {
            Failure_ = Format("Ошибка удаления файла \"%s\"!\r\r%s", path.string().c_str(),
                              SystemErrorText(errno).c_str());
            return;
        }
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            Failure_ = Format("Ошибка записи в файл \"%s\"!\r\r%s", path.string().c_str(),
                              SystemErrorText(errno).c_str());
            return;
        }
        Sizes_[static_cast<std::size_t>(matched)] = st.st_size;
    }
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            Failure_ = Format("Ошибка записи в файл \"%s\"!\r\r%s", path.string().c_str(),
                              SystemErrorText(n < 0 ? errno : ENOSPC).c_str());
            return;
        }
        done += static_cast<std::size_t>(n);
    }
    Sizes_[static_cast<std::size_t>(matched)] += static_cast<int64_t>(line.size());
}

std::vector<std::filesystem::path> FindStakesLogs(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> logs;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::size_t prefix = std::char_traits<char>::length(LogPrefix);
        const std::size_t suffix = std::char_traits<char>::length(LogSuffix);
        if (name.size() <= prefix + suffix || name.compare(0, prefix, LogPrefix) != 0 ||
            name.compare(name.size() - suffix, suffix, LogSuffix) != 0)
            continue;
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            logs.push_back(it->path());
    }
    return logs;
}

} // namespace kumby
