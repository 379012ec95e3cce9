#include "stakes/StakesFile.h"

#include "io/AtomicFile.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kumby {

namespace {

// Records per read or write of the bulk operations: about 1.3 MB.
constexpr std::size_t ChunkRecords = 4096;

int ReadFully(int fd, void* data, std::size_t size, int64_t offset, std::size_t& done) {
    done = 0;
    auto* p = static_cast<char*>(data);
    while (done < size) {
        const ssize_t n = ::pread(fd, p + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int WriteFully(int fd, const void* data, std::size_t size, int64_t offset) {
    std::size_t done = 0;
    const auto* p = static_cast<const char*>(data);
    while (done < size) {
        const ssize_t n = ::pwrite(fd, p + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

void SyncFolderOf(const std::filesystem::path& file) {
    std::filesystem::path folder = file.parent_path();
    if (folder.empty())
        folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::string StakeIndexNotFoundText(int64_t index) {
    return Format("Запись со индексом %lld в файле данных не найдена!", static_cast<long long>(index));
}

void TStakesFile::ThrowSystem(const char* what, int err) const {
    throw Error(Format("%s \"%s\": %s", what, Path().string().c_str(), SystemErrorText(err).c_str()));
}

int TStakesFile::Fd() const {
    if (!Lock_.Held())
        throw Error(StakesNotOpenText);
    return Lock_.Fd();
}

bool TStakesFile::TryOpen(const std::filesystem::path& path) {
    Close();
    if (!Lock_.TryAcquire(path))
        return false;
    struct stat st {};
    if (::fstat(Lock_.Fd(), &st) != 0) {
        const int err = errno;
        Lock_.Release();
        throw Error(Format("Не удалось прочитать файл \"%s\": %s", path.string().c_str(),
                           SystemErrorText(err).c_str()));
    }
    Size_ = st.st_size;
    ResetCache();
    return true;
}

void TStakesFile::Open(const std::filesystem::path& path) {
    if (!TryOpen(path))
        throw Error("Файл \"" + path.string() + "\" занят другим процессом.");
}

void TStakesFile::Close() {
    Lock_.Release();
    Size_ = 0;
    ResetCache();
}

void TStakesFile::Sync() {
    if (::fsync(Fd()) != 0)
        ThrowSystem("Не удалось записать файл", errno);
}

TStakesValidation TStakesFile::Validate() {
    const int fd = Fd();
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        ThrowSystem("Не удалось прочитать файл", errno);
    Size_ = st.st_size;
    ResetCache();
    TStakesValidation result;
    if (Size_ == 0)
        return result;

    uint8_t version = 0;
    std::size_t got = 0;
    if (const int err = ReadFully(fd, &version, 1, 0, got); err != 0)
        ThrowSystem("Не удалось прочитать файл", err);
    const int64_t tail = Size_ % static_cast<int64_t>(StakeRecordSize);
    if (version != StakeVersion) {
        result.Obsolete = true;
        if (::ftruncate(fd, 0) != 0)
            ThrowSystem("Не удалось записать файл", errno);
        Size_ = 0;
    } else if (tail != 0) {
        if (::ftruncate(fd, static_cast<off_t>(Size_ - tail)) != 0)
            ThrowSystem("Не удалось записать файл", errno);
        result.CutBytes = tail;
        Size_ -= tail;
    }
    result.Kept = Count();
    return result;
}

const TStakeRecord& TStakesFile::Read(int64_t index) {
    Fd();
    const int64_t at = index == -1 ? Count() - 1 : index;
    if (at < 0 || at >= Count())
        throw Error(StakeIndexNotFoundText(index));
    if (at != CachedIndex_) {
        CachedIndex_ = -1;
        ReadMany(at, 1, &Cached_);
        CachedIndex_ = at;
    }
    return Cached_;
}

void TStakesFile::ReadMany(int64_t first, std::size_t count, TStakeRecord* out) const {
    const int fd = Fd();
    if (first < 0 || first + static_cast<int64_t>(count) > Count())
        throw Error(StakeIndexNotFoundText(first < 0 || first >= Count() ? first : Count()));
    std::size_t got = 0;
    const std::size_t bytes = count * StakeRecordSize;
    if (const int err = ReadFully(fd, out, bytes, first * static_cast<int64_t>(StakeRecordSize), got);
        err != 0)
        ThrowSystem("Не удалось прочитать файл", err);
    if (got != bytes) // the file was cut behind our back
        throw Error(StakeIndexNotFoundText(first + static_cast<int64_t>(got / StakeRecordSize)));
}

void TStakesFile::ForEach(int64_t first,
                          const std::function<bool(int64_t, const TStakeRecord&)>& visit) const {
    std::vector<TStakeRecord> chunk(std::min<int64_t>(std::max<int64_t>(Count() - first, 0), ChunkRecords));
    for (int64_t i = std::max<int64_t>(first, 0); i < Count();) {
        const std::size_t n = static_cast<std::size_t>(std::min<int64_t>(ChunkRecords, Count() - i));
        ReadMany(i, n, chunk.data());
        for (std::size_t j = 0; j < n; ++j, ++i)
            if (!visit(i, chunk[j]))
                return;
    }
}

void TStakesFile::WriteBytesAt(int64_t offset, const void* data, std::size_t size) {
    const int fd = Fd();
    ResetCache();
    if (const int err = WriteFully(fd, data, size, offset); err != 0) {
        // Whatever part of it arrived past the old end goes again.
        if (offset + static_cast<int64_t>(size) > Size_)
            (void)::ftruncate(fd, static_cast<off_t>(std::max(offset, Size_)));
        ThrowSystem("Не удалось записать файл", err);
    }
    Size_ = std::max(Size_, offset + static_cast<int64_t>(size));
}

void TStakesFile::WriteAt(int64_t index, const TStakeRecord& record) {
    Fd();
    if (index < 0 || index >= Count())
        throw Error(StakeIndexNotFoundText(index));
    WriteBytesAt(index * static_cast<int64_t>(StakeRecordSize), &record, StakeRecordSize);
}

void TStakesFile::Append(const TStakeRecord& stake, int copies) {
    AppendMany(std::span<const TStakeRecord>(&stake, 1), copies, nullptr);
}

int64_t TStakesFile::AppendMany(std::span<const TStakeRecord> stakes, int copies, IStakesProgress* progress) {
    Fd();
    std::vector<TStakeRecord> buffer;
    buffer.reserve(ChunkRecords + 2);
    bool lastIsDraw = !Empty() && Read(-1).DrawNumber > 0;
    int64_t flushedStakes = 0;
    int64_t flushedEnd = Size_; // end of the last stake written whole
    int64_t pendingStakes = 0;  // stakes complete in the file or the buffer
    int64_t pendingEnd = Size_;

    auto flush = [&] {
        if (buffer.empty()) {
            // The buffer may have been written out by the last push, before its
            // stake was counted as complete.
            flushedStakes = pendingStakes;
            flushedEnd = pendingEnd;
            return;
        }
        try {
            WriteBytesAt(Size_, buffer.data(), buffer.size() * StakeRecordSize);
        } catch (...) {
            // A stake whose copies were only partly written goes too.
            if (::ftruncate(Lock_.Fd(), static_cast<off_t>(flushedEnd)) == 0)
                Size_ = flushedEnd;
            throw;
        }
        buffer.clear();
        flushedStakes = pendingStakes;
        flushedEnd = pendingEnd;
    };
    auto push = [&](const TStakeRecord& r) {
        buffer.push_back(r);
        if (buffer.size() >= ChunkRecords)
            flush();
    };

    for (std::size_t s = 0; s < stakes.size(); ++s) {
        const TStakeRecord& stake = stakes[s];
        // A refused stake ends the run; the stakes before it stay.
        if (stake.Checked) {
            flush();
            throw Error(CheckedStakeAppendText);
        }
        if (copies >= 2 &&
            static_cast<int64_t>(stake.DrawNumber) + copies - 1 > std::numeric_limits<int32_t>::max()) {
            flush();
            throw Error(Format("Номер тиража %d и количество тиражей %d дают номер больше наибольшего "
                               "допустимого (%d).",
                               stake.DrawNumber, copies, std::numeric_limits<int32_t>::max()));
        }
        if (copies < 2) {
            push(stake);
            lastIsDraw = stake.DrawNumber > 0;
        } else {
            TStakeRecord copy = stake;
            for (int i = 1; i <= copies; ++i) {
                if (lastIsDraw)
                    push(SeparatorRecord());
                copy.DrawNumber = stake.DrawNumber + (i - 1);
                push(copy);
                lastIsDraw = copy.DrawNumber > 0;
            }
        }
        ++pendingStakes;
        pendingEnd = Size_ + static_cast<int64_t>(buffer.size() * StakeRecordSize);
        if (progress && (s % 1024 == 1023 || s + 1 == stakes.size())) {
            progress->Progress(static_cast<int64_t>(s + 1), static_cast<int64_t>(stakes.size()));
            if (progress->StopRequested())
                break;
        }
    }
    flush();
    return flushedStakes;
}

bool TStakesFile::Find(int32_t drawNumber, const TNumberList& numbers) const {
    Fd();
    bool found = false;
    ForEach(0, [&](int64_t, const TStakeRecord& r) {
        found = r.DrawNumber == drawNumber && SameNumbers(r.Numbers, numbers);
        return !found;
    });
    return found;
}

void TStakesFile::Clear() {
    const int fd = Fd();
    ResetCache();
    if (::ftruncate(fd, 0) != 0)
        ThrowSystem("Не удалось записать файл", errno);
    Size_ = 0;
}

int64_t TStakesFile::Rewrite(const std::function<bool(int64_t, const TStakeRecord&)>& keep,
                             IStakesProgress* progress) {
    const int fd = Fd();
    const std::filesystem::path path = Path();
    const std::filesystem::path tmpPath = path.parent_path() / StakesTempFileName;
    auto replaceError = [&](int err) {
        return TStakesReplaceError(
            Format("Ошибка переименования / удаления временного файла ставок %s!\r\r%s",
                   tmpPath.string().c_str(), SystemErrorText(err).c_str()));
    };

    // A temporary left by an interrupted rewrite is ours: we hold the lock.
    if (::unlink(tmpPath.c_str()) != 0 && errno != ENOENT)
        throw replaceError(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        ThrowSystem("Не удалось прочитать файл", errno);
    const int tmp = ::open(tmpPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
    if (tmp < 0)
        ThrowSystem("Не удалось создать временный файл для", errno);
    bool tmpOwned = true;
    auto dropTmp = [&] {
        if (tmpOwned) {
            ::close(tmp);
            ::unlink(tmpPath.c_str());
            tmpOwned = false;
        }
    };

    try {
        // The new file holds the lock from its first byte, so the moment it takes the
        // old one's place the folder stays ours.
        if (::flock(tmp, LOCK_EX | LOCK_NB) != 0)
            ThrowSystem("Не удалось заблокировать временный файл для", errno);
        (void)::fchmod(tmp, st.st_mode & 07777);

        std::vector<TStakeRecord> in(ChunkRecords);
        std::vector<TStakeRecord> out;
        out.reserve(ChunkRecords);
        int64_t written = 0;
        int64_t removed = 0;
        const int64_t count = Count();
        auto flushOut = [&] {
            if (out.empty())
                return;
            if (const int err = WriteFully(tmp, out.data(), out.size() * StakeRecordSize,
                                           written * static_cast<int64_t>(StakeRecordSize));
                err != 0)
                ThrowSystem("Не удалось записать временный файл для", err);
            written += static_cast<int64_t>(out.size());
            out.clear();
        };
        for (int64_t i = 0; i < count;) {
            const std::size_t n = static_cast<std::size_t>(std::min<int64_t>(ChunkRecords, count - i));
            ReadMany(i, n, in.data());
            for (std::size_t j = 0; j < n; ++j, ++i) {
                if (keep(i, in[j]))
                    out.push_back(in[j]);
                else
                    ++removed;
            }
            flushOut();
            if (progress) {
                progress->Progress(i, count);
                if (progress->StopRequested()) {
                    dropTmp();
                    return -1;
                }
            }
        }
        if (::fsync(tmp) != 0)
            ThrowSystem("Не удалось записать временный файл для", errno);
        if (::rename(tmpPath.c_str(), path.c_str()) != 0)
            throw replaceError(errno);
        SyncFolderOf(path);
        // From here the renamed file is the stakes file and its lock the data lock.
        Lock_.Replace(tmp);
        tmpOwned = false;
        Size_ = written * static_cast<int64_t>(StakeRecordSize);
        ResetCache();
        return removed;
    } catch (...) {
        dropTmp();
        throw;
    }
}

TStakesFile::TDrawsPosition TStakesFile::PositionAtLastDraws(int k) const {
    Fd();
    TDrawsPosition result;
    bool havePrevious = false;
    int32_t previous = 0;
    std::vector<TStakeRecord> chunk(static_cast<std::size_t>(std::min<int64_t>(Count(), ChunkRecords)));
    for (int64_t end = Count(); end > 0;) {
        const int64_t first = std::max<int64_t>(0, end - static_cast<int64_t>(ChunkRecords));
        const std::size_t n = static_cast<std::size_t>(end - first);
        ReadMany(first, n, chunk.data());
        for (std::size_t j = n; j-- > 0;) {
            const TStakeRecord& r = chunk[j];
            if (r.DrawNumber <= 0 || !r.Checked || r.MatchedCount() < 0)
                continue;
            if (havePrevious && r.DrawNumber == previous)
                continue;
            if (result.Draws >= k) {
                result.Index = first + static_cast<int64_t>(j) + 1;
                return result;
            }
            ++result.Draws;
            havePrevious = true;
            previous = r.DrawNumber;
        }
        end = first;
    }
    result.Index = 0;
    return result;
}

} // namespace kumby
