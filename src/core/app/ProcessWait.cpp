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
