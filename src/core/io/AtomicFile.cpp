#include "io/AtomicFile.h"

#include "model/Error.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kumby {

namespace {

// Small enough that a test can make the write fail half-way through a file.
constexpr std::size_t ChunkSize = 64 * 1024;

std::mutex HookMutex;
TWriteFaultHook WriteFaultHook;
TReadFaultHook ReadFaultHook;

TWriteFaultHook CurrentHook() {
    std::lock_guard<std::mutex> lock(HookMutex);
    return WriteFaultHook;
}

TReadFaultHook CurrentReadHook() {
    std::lock_guard<std::mutex> lock(HookMutex);
    return ReadFaultHook;
}

constexpr std::string_view TemporaryMark = ".tmp";

// strerror_r comes in two flavours; these overloads pick the right one.
[[maybe_unused]] const char* ErrorTextResult(int rc, const char* buffer) {
    return rc == 0 ? buffer : nullptr;
}
[[maybe_unused]] const char* ErrorTextResult(const char* text, const char*) {
    return text;
}

[[noreturn]] void ThrowWriteError(const std::filesystem::path& path, int err) {
    throw Error("Не удалось записать файл \"" + path.string() + "\": " + SystemErrorText(err));
}

[[noreturn]] void ThrowReadError(const std::filesystem::path& path, int err) {
    throw Error("Не удалось прочитать файл \"" + path.string() + "\": " + SystemErrorText(err));
}

int CloseKeepingErrno(int fd) {
    int saved = errno;
    int rc = ::close(fd);
    errno = saved;
    return rc;
}

[[noreturn]] void ThrowTooLarge(const std::filesystem::path& path, std::size_t maxBytes) {
    throw Error("Не удалось прочитать файл \"" + path.string() + "\": размер файла больше предельного (" +
                std::to_string(maxBytes) + " байт).");
}

// Writes everything or returns the errno of the failure.
int WriteAll(int fd, std::string_view bytes, const TWriteFaultHook& hook) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        if (hook && !hook(written)) {
            return ENOSPC;
        }
        std::size_t chunk = std::min(ChunkSize, bytes.size() - written);
        std::size_t done = 0;
        while (done < chunk) {
            ssize_t n = ::write(fd, bytes.data() + written + done, chunk - done);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return errno;
            }
            if (n == 0) {
                return ENOSPC;
            }
            done += static_cast<std::size_t>(n);
        }
        written += done;
    }
    return 0;
}

// Opens a new temporary file next to the target; the name is unique to this
// process and call so that two writers never share one.
int CreateTemporary(const std::filesystem::path& target, std::filesystem::path& tmpPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = target;
        candidate += std::string(TemporaryMark) + std::to_string(::getpid()) + "_" +
                     std::to_string(counter.fetch_add(1));
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            tmpPath = candidate;
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

void SyncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    // The new file is complete and in place by now; a folder that cannot be synced
    // (some file systems refuse) does not make the save a failure.
    ::fsync(fd);
    ::close(fd);
}

} // namespace

std::string SystemErrorText(int err) {
    char buffer[256] = {};
    const char* text = ErrorTextResult(::strerror_r(err, buffer, sizeof buffer), buffer);
    if (text == nullptr || *text == '\0') {
        return "error " + std::to_string(err);
    }
    return text;
}

void SetWriteFaultHookForTesting(TWriteFaultHook hook) {
    std::lock_guard<std::mutex> lock(HookMutex);
    WriteFaultHook = std::move(hook);
}

void SetReadFaultHookForTesting(TReadFaultHook hook) {
    std::lock_guard<std::mutex> lock(HookMutex);
    ReadFaultHook = std::move(hook);
}

int ReadChunks(int fd, char* dest, std::size_t size, std::size_t& done) {
    const TReadFaultHook hook = CurrentReadHook();
    done = 0;
    while (done < size) {
        if (hook && !hook(done))
            return EIO;
        const ssize_t n = ::read(fd, dest + done, std::min(ChunkSize, size - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return 0;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

bool IsSaveTemporaryName(std::string_view name) {
    // "<target>.tmp<pid>_<counter>"
    const std::size_t mark = name.rfind(TemporaryMark);
    if (mark == std::string_view::npos || mark == 0)
        return false;
    const std::string_view tail = name.substr(mark + TemporaryMark.size());
    const std::size_t underscore = tail.find('_');
    auto digits = [](std::string_view s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    return underscore != std::string_view::npos && digits(tail.substr(0, underscore)) &&
           digits(tail.substr(underscore + 1));
}

int RemoveStaleTemporaries(const std::filesystem::path& folder) {
    int removed = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        // A link is never followed: only our own leftovers are plain files.
        if (!it->is_regular_file(typeError) || it->is_symlink(typeError) ||
            !IsSaveTemporaryName(it->path().filename().string()))
            continue;
        std::error_code removeError;
        if (std::filesystem::remove(it->path(), removeError))
            ++removed;
    }
    return removed;
}

void SaveFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
    // Replacing a symbolic link would cut it off from its file: write where it points.
    std::filesystem::path target = path;
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
        if (!ec) {
            target = resolved;
        }
    }

    struct stat old {};
    bool hadOld = ::stat(target.c_str(), &old) == 0;
    if (hadOld && S_ISDIR(old.st_mode)) {
        ThrowWriteError(path, EISDIR);
    }

    std::filesystem::path tmpPath;
    int fd = CreateTemporary(target, tmpPath);
    if (fd < 0) {
        ThrowWriteError(path, errno);
    }

    auto fail = [&](int err) {
        if (fd >= 0) {
            ::close(fd);
        }
        ::unlink(tmpPath.c_str());
        ThrowWriteError(path, err);
    };

    if (hadOld && ::fchmod(fd, old.st_mode & 07777) != 0) {
        fail(errno);
    }
    if (int err = WriteAll(fd, bytes, CurrentHook()); err != 0) {
        fail(err);
    }
    if (::fsync(fd) != 0) {
        fail(errno);
    }
    int rc = ::close(fd);
    fd = -1;
    if (rc != 0 && errno != EINTR) {
        fail(errno);
    }
    if (::rename(tmpPath.c_str(), target.c_str()) != 0) {
        fail(errno);
    }

    std::filesystem::path folder = target.parent_path();
    SyncFolder(folder.empty() ? std::filesystem::path(".") : folder);
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    // An import or a settings file named by a person may be a FIFO or a device: those
    // would block or never end, so only regular files are read.
    return ReadRegularFile(path, std::numeric_limits<std::size_t>::max());
}

std::string ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes) {
    // Non-blocking, so that opening a FIFO without a writer does not wait for one.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        ThrowReadError(path, errno);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        ThrowReadError(path, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw Error("Не удалось прочитать файл \"" + path.string() + "\": это не обычный файл.");
    }
    if (static_cast<uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        ThrowTooLarge(path, maxBytes);
    }
    std::string result(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t got = 0;
    int err = ReadChunks(fd, result.data(), result.size(), got);
    result.resize(got);
    // The file may grow while it is read: never more than the limit.
    while (err == 0) {
        char probe[4096];
        std::size_t more = 0;
        err = ReadChunks(fd, probe, sizeof probe, more);
        if (more == 0)
            break;
        if (more > maxBytes - result.size()) {
            ::close(fd);
            ThrowTooLarge(path, maxBytes);
        }
        result.append(probe, more);
    }
    if (err != 0) {
        CloseKeepingErrno(fd);
        ThrowReadError(path, err);
    }
    ::close(fd);
    return result;
}

} // namespace kumby
