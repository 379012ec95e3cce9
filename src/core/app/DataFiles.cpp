#include "app/DataFiles.h"

#include "app/MainSettings.h"
#include "app/ViewState.h"
#include "combs/PrefetchFile.h"
#include "draws/DrawArchive.h"
#include "io/AtomicFile.h"
#include "model/VexoUtils.h"
#include "stakes/StakesFile.h"

#include <array>
#include <string>
#include <sys/stat.h>
#include <system_error>

namespace kumby {

namespace {

// Every file the program keeps in the data folder, including those of parts that
// are not written yet (ratings, regular stakes, current script).
const std::array<const char*, 8> OwnFileNames = {
    DrawsFileName,     MainSettingsFileName, ViewStateFileName, "Kumby_12x24.lsk",
    "Kumby_12x24.flt", "Kumby_12x24.lrt",    "Kumby_12x24.ltb", "Kumby_12x24.lss",
};

std::filesystem::path Resolved(const std::filesystem::path& p) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(p, ec);
    if (ec)
        absolute = p;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : canonical;
}

bool SameExistingFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace

bool IsProgramDataFile(const std::filesystem::path& dataDir, const std::filesystem::path& file) {
    const std::filesystem::path target = Resolved(file);
    const std::filesystem::path dir = Resolved(dataDir);
    const std::filesystem::path prefetchDir = Resolved(dataDir / PrefetchFolderName);
    if (target.parent_path() == prefetchDir || SameExistingFile(target.parent_path(), prefetchDir))
        return true;
    for (const char* name : OwnFileNames) {
        if (target == dir / name || SameExistingFile(target, dataDir / name))
            return true;
        // A second name of the data folder (a bind mount, a hard-to-see link).
        if (target.filename() == name && SameExistingFile(target.parent_path(), dir))
            return true;
    }
    return false;
}

std::string ProgramDataFileText(const std::filesystem::path& file) {
    return Format("Файл \"%s\" является файлом данных программы и не может быть перезаписан. Укажите "
                  "другое имя файла.",
                  file.string().c_str());
}

void RemoveStaleSaveTemporaries(const std::filesystem::path& dataDir) {
    RemoveStaleTemporaries(dataDir);
    RemoveStaleTemporaries(dataDir / PrefetchFolderName);
    // The stakes rewrite's temporary has a fixed name; only a crash mid-delete leaves it.
    const std::filesystem::path stakesTemp = dataDir / StakesTempFileName;
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(stakesTemp, ec)))
        std::filesystem::remove(stakesTemp, ec);
}

} // namespace kumby
