#pragma once

#include <chrono>
#include <filesystem>
#include <functional>

namespace kumby {

// Polls `isRunning` every `interval`, at most `maxChecks` times, while it says true.
// Returns true when it stopped running.
bool WaitWhileRunning(const std::function<bool()>& isRunning, int maxChecks = 601,
                      std::chrono::milliseconds interval = std::chrono::milliseconds(100));

// The program file of this process.
std::filesystem::path CurrentProgramFile();

} // namespace kumby
