#pragma once

// Full-set distribution files: one per method, value records sorted by key and a
// trailer with the smallest and largest count.

#include "model/Records.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kumby {

inline constexpr const char* PrefetchFolderName = "Prefetchs";

struct TPrefetchData {
    std::vector<TPrefetchRecord> Records;
    int32_t MinCount = 2147483647;
    int32_t MaxCount = 0;
};

// <data folder>/Prefetchs/<program base name>_<method code>.dfc
std::filesystem::path PrefetchFilePath(const std::filesystem::path& dataDir, const std::string& methodCode);

// The file image of a distribution: records from the entries (already sorted), then
// the trailer {MinCount, MaxCount, 0}.
std::string PrefetchFileBytes(const TStatDrawArray& sortedEntries);
// Reads a file; raises Error naming the file. A size that is not whole records
// keeps the whole records before the trailer.
TPrefetchData ReadPrefetchFile(const std::filesystem::path& path);

} // namespace kumby
