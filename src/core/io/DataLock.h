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
    // lock; other problems raise Error.
    bool TryAcquire(const std::filesystem::path& path);
    void Release();
    bool Held() const { return Fd_ >= 0; }
    int Fd() const { return Fd_; }
    const std::filesystem::path& Path() const { return Path_; }

private:
    int Fd_ = -1;
    std::filesystem::path Path_;
};

} // namespace kumby
