#include "io/DataLock.h"

#include "io/AtomicFile.h"
#include "model/Error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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
            return false;
        }
        throw Error("Не удалось заблокировать файл \"" + path.string() + "\": " + SystemErrorText(err));
    }
    Fd_ = fd;
    Path_ = path;
    return true;
}

void TDataLock::Release() {
    if (Fd_ >= 0) {
        ::close(Fd_);
        Fd_ = -1;
    }
    Path_.clear();
}

} // namespace kumby
