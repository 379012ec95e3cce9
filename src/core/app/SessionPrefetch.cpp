// Full-set distribution files of the session's methods.

#include "app/Session.h"

#include "combs/CombList.h"
#include "combs/FullSet.h"
#include "io/AtomicFile.h"
#include "model/Error.h"
#include "model/VexoUtils.h"
#include "stats/CombinationValues.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace kumby {

namespace {

constexpr const char* CreateFailedText =
    "Ошибка создания файла данных для полного набора вариантов!\r\rИмя файла: %s\r\r%s";
constexpr const char* OpenFailedText =
    "Ошибка открытия файла данных для полного набора вариантов!\r\rИмя файла: %s\r\r%s";
constexpr const char* CreateAllText = "Создание файлов для полного набора комбинаций...";

// Removes what a failed creation may have left at the file's place, but never a folder.
void RemovePrefetchFile(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    if (!ec && !std::filesystem::is_directory(status))
        std::filesystem::remove(path, ec);
}

std::string CreatingText(const std::filesystem::path& path) {
    return Format("Создание файла предварительной выборки %s...", path.filename().c_str());
}

// One AddCombination pass of the method over the full set, sorted by key, written
// in one piece.
void WriteDistribution(const TStatList& registry, std::size_t method, const TCombsArray& fullSet,
                       const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    TStatDrawArray values = CollectCombinationValues(
        fullSet, [&] { return registry.CreateInstance(method); }, FullSetPassParts());
    SortStatEntries(values);
    SaveFileAtomic(path, PrefetchFileBytes(values));
}

void ReportCreateFailure(IUserInterface& ui, const std::filesystem::path& path, const std::exception& e) {
    // A stale file would never be rebuilt: the next attempt has to start over.
    RemovePrefetchFile(path);
    ui.ShowError(Format(CreateFailedText, path.c_str(), e.what()));
}

} // namespace

std::filesystem::path Session::PrefetchFileName(std::size_t method) const {
    if (method >= Registry_.Count())
        throw Error(Format("Нет метода расчета статистики с номером %zu.", method));
    return PrefetchFilePath(DataDir(), Registry_.Items(method).MethodCode());
}

bool Session::CreatePrefetchFile(std::size_t method) {
    const std::filesystem::path path = PrefetchFileName(method);
    TBusyScope busy(*this, CreatingText(path));
    try {
        // The full set takes the working list's place for the pass (the plain mode 0
        // generation: no status, history or refresh) while the list waits in the undo
        // store; it comes back whatever happens, which leaves nothing to undo. The two
        // stores trade places rather than copy: the result is the same.
        std::swap(WorkingList_, UndoCopy_);
        auto restore = [this] {
            std::swap(WorkingList_, UndoCopy_);
            UndoCopy_.clear();
            Ui_.Notify(TSessionEvent::CombsChanged);
        };
        try {
            GenerateCombinations(WorkingList_, 0, {});
            WriteDistribution(Registry_, method, WorkingList_, path);
        } catch (...) {
            restore();
            throw;
        }
        restore();
        return true;
    } catch (const std::exception& e) {
        ReportCreateFailure(Ui_, path, e);
        return false;
    }
}

std::optional<TPrefetchData> Session::OpenPrefetchFile(std::size_t method) {
    if (!View_.PrefetchsEnabled || method >= Registry_.Count() ||
        !Registry_.Items(method).StatClass->HasPrefetch())
        return std::nullopt;
    const std::filesystem::path path = PrefetchFileName(method);
    // An empty or damaged file counts as missing: its norms would be wrong.
    if (PrefetchFileNeedsBuilding(path) && !CreatePrefetchFile(method))
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

    // Each file built one by one would save the working list into the undo copy, put
    // the full set in its place and restore it, leaving the list as it was and the
    // undo copy empty. The run gets there with a single full set, kept in the undo
    // copy that ends up empty anyway; the working list is never touched.
    bool built = false;
    bool fullSetReady = false;
    int written = 0;
    for (std::size_t i : methods) {
        Ui_.PumpEvents();
        if (Ui_.StopRequested())
            break;
        const int group = Registry_.Items(i).StatClass->Group;
        const bool selected = group <= 15 && std::find(groups.begin(), groups.end(), group) != groups.end();
        const std::filesystem::path path = PrefetchFileName(i);
        if (selected || PrefetchFileNeedsBuilding(path)) {
            built = true;
            {
                TBusyScope fileBusy(*this, CreatingText(path));
                try {
                    if (!fullSetReady) {
                        GenerateCombinations(UndoCopy_, 0, {});
                        fullSetReady = true;
                    }
                    WriteDistribution(Registry_, i, UndoCopy_, path);
                    ++written;
                } catch (const std::exception& e) {
                    ReportCreateFailure(Ui_, path, e);
                }
            }
            Ui_.SetStatus(CreateAllText);
        }
        Ui_.SetProgress(++done, total);
    }
    if (built) {
        UndoCopy_.clear();
        Ui_.Notify(TSessionEvent::CombsChanged);
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
