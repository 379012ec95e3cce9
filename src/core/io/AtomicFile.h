#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kumby {

// Replaces the whole file: writes a temporary file in the same folder, flushes it
// to disk and renames it over the target, so a crash or a full disk leaves either
// the old file or the new one, never a part. Raises Error naming the file and the
// problem; the old file is untouched then.
void SaveFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// Reads a whole file; raises Error naming the file and the problem.
std::string ReadWholeFile(const std::filesystem::path& path);

// Test seam: when set, it is called before each chunk is written with the number of
// bytes already written; returning false makes the write fail as a full disk would.
using TWriteFaultHook = std::function<bool(std::size_t written)>;
void SetWriteFaultHookForTesting(TWriteFaultHook hook);

// Text of errno for messages.
std::string SystemErrorText(int err);

} // namespace kumby
