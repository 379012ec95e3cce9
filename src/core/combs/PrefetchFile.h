#pragma once

// Full-set distribution files: one per method, value records sorted by key and a
// trailer with the smallest and largest count.

#include "model/Records.h"

#include <filesystem>
#include <string>
#include <string_view>
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
// What is wrong with a file image, or "" for a sound one: whole 12-byte records,
// keys strictly ascending, no negative count, and a trailer holding the smallest
// and largest count of the records. Anything else is a file cut short, grown or
// overwritten, whose norms would be wrong.
std::string PrefetchDamage(std::string_view bytes);
// Reads a file; raises Error naming the file when it cannot be read, is empty or
// is damaged.
TPrefetchData ReadPrefetchFile(const std::filesystem::path& path);
// Whether a file has to be built before it can be used: missing, not a regular
// file, empty or damaged. A file that cannot be read for another reason (rights)
// is left to ReadPrefetchFile to report.
bool PrefetchFileNeedsBuilding(const std::filesystem::path& path);

} // namespace kumby
