// Full-set distribution files of the session's methods.

#include "app/Session.h"

#include "combs/CombList.h"
#include "combs/FullSet.h"
#include "io/AtomicFile.h"
#include "model/Error.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <system_error>

namespace kumby {

namespace {

constexpr const char* CreateFailedText =
    "Ошибка создания файла данных для полного набора вариантов!\r\rИмя файла: %s\r\r%s";
constexpr const char* OpenFailedText =
    "Ошибка открытия файла данных для полного набора вариантов!\r\rИмя файла: %s\r\r%s";
constexpr const char* CreateAllText = "Создание файлов для полного набора комбинаций...";

// A file of size 0 counts as missing.
bool HasPrefetchContent(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return !ec && size > 0;
}

// Removes what a failed creation may have left at the file's place, but never a folder.
void RemovePrefetchFile(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    if (!ec && !std::filesystem::is_directory(status))
        std::filesystem::remove(path, ec);
}

} // namespace

std::filesystem::path Session::PrefetchFileName(std::size_t method) const {
    if (method >= Registry_.Count())
        throw Error(Format("Нет метода расчета статистики с номером %zu.", method));
    return PrefetchFilePath(DataDir(), Registry_.Items(method).MethodCode());
}

bool Session::CreatePrefetchFile(std::size_t method) {
    const std::filesystem::path path = PrefetchFileName(method);
    TBusyScope busy(*this, Format("Создание файла предварительной выборки %s...", path.filename().c_str()));
    try {
        std::filesystem::create_directories(path.parent_path());
        // The full set takes the working list's place for the pass (the plain mode 0
        // generation: no status, history or refresh); the list comes back from the undo
        // copy whatever happens, which leaves nothing to undo.
        MakeUndoCopy(false);
        TStatDrawArray values;
        try {
            GenerateCombinations(WorkingList_, 0, {});
            values = CollectCombinationValues(
                WorkingList_, [&] { return Registry_.CreateInstance(method); }, FullSetPassParts());
        } catch (...) {
            RestoreUndoCopy(false);
            throw;
        }
        RestoreUndoCopy(false);
        SortStatEntries(values);
        SaveFileAtomic(path, PrefetchFileBytes(values));
        return true;
    } catch (const std::exception& e) {
        // A stale file would never be rebuilt: the next attempt has to start over.
        RemovePrefetchFile(path);
        Ui_.ShowError(Format(CreateFailedText, path.c_str(), e.what()));
        return false;
    }
}

std::optional<TPrefetchData> Session::OpenPrefetchFile(std::size_t method) {
    if (!View_.PrefetchsEnabled || method >= Registry_.Count() ||
        !Registry_.Items(method).StatClass->HasPrefetch())
        return std::nullopt;
    const std::filesystem::path path = PrefetchFileName(method);
    if (!HasPrefetchContent(path) && !CreatePrefetchFile(method))
        return std::nullopt;
    try {
        return ReadPrefetchFile(path);
    } catch (const std::exception& e) {
        Ui_.ShowError(Format(OpenFailedText, path.c_str(), e.what()));
        return std::nullopt;
    }
}

int Session::CreatePrefetchFiles(bool force, const std::vector<int>& groups) {
    if (!force && !View_.PrefetchsEnabled)
        return 0;
    TBusyScope busy(*this, CreateAllText);

    std::vector<std::size_t> methods;
    for (std::size_t i = 0; i < Registry_.Count(); ++i)
        if (Registry_.Items(i).StatClass->HasPrefetch())
            methods.push_back(i);
    const auto total = static_cast<long long>(methods.size());
    long long done = 0;
    Ui_.SetProgress(done, total);

    int written = 0;
    for (std::size_t i : methods) {
        Ui_.PumpEvents();
        if (Ui_.StopRequested())
            break;
        const int group = Registry_.Items(i).StatClass->Group;
        const bool selected = group <= 15 && std::find(groups.begin(), groups.end(), group) != groups.end();
        if (selected || !HasPrefetchContent(PrefetchFileName(i))) {
            if (CreatePrefetchFile(i))
                ++written;
            Ui_.SetStatus(CreateAllText);
        }
        Ui_.SetProgress(++done, total);
    }
    // Total 0 closes the progress window.
    Ui_.SetProgress(0, 0);
    return written;
}

void Session::SetPrefetchsEnabled(bool on) {
    View_.PrefetchsEnabled = on;
    WriteViewSwitch("PrefetchsEnabled");
    CreatePrefetchFiles(false, {});
}

} // namespace kumby
