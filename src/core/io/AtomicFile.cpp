#include "io/AtomicFile.h"

#include "model/Error.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace kumby {

namespace {

// Small enough that a test can make the write fail half-way through a file.
constexpr std::size_t ChunkSize = 64 * 1024;

std::mutex HookMutex;
TWriteFaultHook WriteFaultHook;

TWriteFaultHook CurrentHook() {
    std::lock_guard<std::mutex> lock(HookMutex);
    return WriteFaultHook;
}

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
        candidate += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter.fetch_add(1));
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
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ThrowReadError(path, errno);
    }
    std::string result;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        result.reserve(static_cast<std::size_t>(st.st_size));
    }
    char buffer[ChunkSize];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            int err = errno;
            CloseKeepingErrno(fd);
            ThrowReadError(path, err);
        }
        if (n == 0) {
            break;
        }
        result.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return result;
}

} // namespace kumby
