#pragma once

#include <filesystem>
#include <string>

namespace kumby {

// Holds a file open with an exclusive lock for as long as the program runs, so that
// a second copy cannot work on the same data folder.
class TDataLock {
public:
    TDataLock() = default;
    ~TDataLock();
    TDataLock(const TDataLock&) = delete;
    TDataLock& operator=(const TDataLock&) = delete;

    // Opens (creating when missing) the file for reading and writing and takes an
    // exclusive lock without waiting. Raises Error naming the file and the problem.
    void Acquire(const std::filesystem::path& path);
    // The same without the wait being an error: false while another holder has the
    // lock; other problems raise Error. The lock counts only while the file it was
    // taken on is still the one under the path: a holder may replace the file (a
    // rewrite renamed into place), and a lock on the old one guards nothing.
    bool TryAcquire(const std::filesystem::path& path);
    // Takes over an open descriptor that already holds the lock on the file now under
    // Path() (the rewritten file just renamed into place) and closes the old one.
    void Replace(int lockedFd);
    void Release();
    bool Held() const { return Fd_ >= 0; }
    int Fd() const { return Fd_; }
    const std::filesystem::path& Path() const { return Path_; }

private:
    enum class TAttempt { Locked, Busy, Replaced };
    TAttempt TryAcquireOnce(const std::filesystem::path& path);

    int Fd_ = -1;
    std::filesystem::path Path_;
};

} // namespace kumby
