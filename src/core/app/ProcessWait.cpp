#include "ProcessWait.h"

#include <cstdlib>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace kumby {

std::filesystem::path CurrentProgramFile() {
    std::error_code ec;
    auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : p;
}

bool OtherProcessRuns(const std::filesystem::path& programFile) {
    if (programFile.empty())
        return false;
    const std::string self = std::to_string(::getpid());
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos || name == self)
            continue;
        std::error_code linkError;
        const auto exe = std::filesystem::read_symlink(entry.path() / "exe", linkError);
        if (!linkError && exe == programFile)
            return true;
    }
    return false;
}

bool WaitWhileRunning(const std::function<bool()>& isRunning, int maxChecks,
                      std::chrono::milliseconds interval) {
    for (int i = 0; i < maxChecks; ++i) {
        if (!isRunning())
            return true;
        std::this_thread::sleep_for(interval);
    }
    return false;
}

} // namespace kumby
