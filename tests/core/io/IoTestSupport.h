#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace kumby::test {

// A fresh folder per test, removed afterwards.
class TTempFolder {
public:
    TTempFolder() {
        static std::atomic<int> counter{0};
        Path_ = std::filesystem::temp_directory_path() /
                ("kumby_io_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(Path_);
    }
    ~TTempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(Path_, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return Path_; }
    std::filesystem::path operator/(const std::string& name) const { return Path_ / name; }

private:
    std::filesystem::path Path_;
};

} // namespace kumby::test
