#include "io/DataLock.h"

#include "io/AtomicFile.h"
#include "model/Error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kumby {

TDataLock::~TDataLock() {
    Release();
}

void TDataLock::Acquire(const std::filesystem::path& path) {
    if (!TryAcquire(path)) {
        throw Error("Файл \"" + path.string() + "\" занят другим процессом.");
    }
}

bool TDataLock::TryAcquire(const std::filesystem::path& path) {
    Release();
    // A few rounds cover a holder that renames a rewritten file into place between our
    // open and our lock; each round is one open, one lock and two stats.
    for (int attempt = 0; attempt < 100; ++attempt) {
        switch (TryAcquireOnce(path)) {
        case TAttempt::Locked:
            return true;
        case TAttempt::Busy:
            return false;
        case TAttempt::Replaced:
            break;
        }
    }
    return false;
}

TDataLock::TAttempt TDataLock::TryAcquireOnce(const std::filesystem::path& path) {
    // Close-on-exec: a program started from here must not keep the lock after we exit.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        int err = errno;
        throw Error("Не удалось открыть файл \"" + path.string() + "\": " + SystemErrorText(err));
    }
    // flock locks belong to the open file, so a second open in this same process is
    // refused just like another process.
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK) {
            return TAttempt::Busy;
        }
        throw Error("Не удалось заблокировать файл \"" + path.string() + "\": " + SystemErrorText(err));
    }
    struct stat locked {};
    struct stat current {};
    if (::fstat(fd, &locked) != 0 || ::stat(path.c_str(), &current) != 0 || locked.st_dev != current.st_dev ||
        locked.st_ino != current.st_ino) {
        ::close(fd);
        return TAttempt::Replaced;
    }
    Fd_ = fd;
    Path_ = path;
    return TAttempt::Locked;
}

void TDataLock::Replace(int lockedFd) {
    if (Fd_ >= 0 && Fd_ != lockedFd)
        ::close(Fd_);
    Fd_ = lockedFd;
}

void TDataLock::Release() {
    if (Fd_ >= 0) {
        ::close(Fd_);
        Fd_ = -1;
    }
    Path_.clear();
}

} // namespace kumby
