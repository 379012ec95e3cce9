#include "PrefetchFile.h"

namespace kumby {

std::filesystem::path PrefetchFilePath(const std::filesystem::path& dataDir, const std::string& methodCode) {
    return dataDir / PrefetchFolderName / ("Kumby_12x24_" + methodCode + ".dfc");
}

} // namespace kumby
