#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace kumby::testing {

// A fresh folder under the system's temporary folder, removed with its content.
class TTempDir {
public:
    TTempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kumby-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        Path_ = pattern;
    }
    ~TTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(Path_, ec);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& Path() const { return Path_; }
    std::filesystem::path operator/(const std::string& name) const { return Path_ / name; }

private:
    std::filesystem::path Path_;
};

inline std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace kumby::testing
