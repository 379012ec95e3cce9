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

// Reads a whole regular file of any size; raises Error naming the file and the
// problem, also for a folder, a FIFO or a device.
std::string ReadWholeFile(const std::filesystem::path& path);
// Reads a whole regular file of at most maxBytes bytes; raises Error naming the
// file when it cannot be read, is no regular file (a folder, a FIFO, a device) or
// is larger. It never waits for a writer and never reads without end.
std::string ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes);

// Reads up to `size` bytes of an open file into `dest` in chunks; `done` counts what
// arrived. Returns 0 at the end of the file or when all is read, else the errno of
// the failure (what arrived before it stays in `dest`).
int ReadChunks(int fd, char* dest, std::size_t size, std::size_t& done);

// Removes the temporary files that an interrupted save left in the folder (the
// names SaveFileAtomic gives them); returns how many were removed. Only safe while
// no other program writes there, that is with the data lock held.
int RemoveStaleTemporaries(const std::filesystem::path& folder);
// Whether a file name is that of a temporary file of SaveFileAtomic.
bool IsSaveTemporaryName(std::string_view name);

// Test seam: when set, it is called before each chunk is written with the number of
// bytes already written; returning false makes the write fail as a full disk would.
using TWriteFaultHook = std::function<bool(std::size_t written)>;
void SetWriteFaultHookForTesting(TWriteFaultHook hook);
// Test seam: called before each chunk of ReadChunks and ReadWholeFile with the number
// of bytes already read; returning false makes the read fail as a broken disk would.
using TReadFaultHook = std::function<bool(std::size_t read)>;
void SetReadFaultHookForTesting(TReadFaultHook hook);

// Text of errno for messages.
std::string SystemErrorText(int err);

} // namespace kumby
