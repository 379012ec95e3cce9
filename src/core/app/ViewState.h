#pragma once

// The view state file: window placement, sizes, depths and display switches.

#include "io/IniFile.h"

#include <array>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kumby {

inline constexpr const char* ViewStateFileName = "Kumby_12x24.frm";
inline constexpr const char* MainWindowSection = "TFormMain";
inline constexpr int DesignedSize = -1; // the window's own designed size applies

struct TViewState {
    int LeftPanelWidth = 322;
    int DrawsExclude = 0;
    int DrawsStatLen = 1000;
    int DrawsStatHeight = DesignedSize;
    int DrawsGraphLen = 100;
    int FiltersHeight = DesignedSize;
    int LayoutLen = 100;
    std::array<int, 5> LayoutCompareLen = {50, 100, 200, 300, 400};
    int WeekLen = 1000;
    int WeekHeight = DesignedSize;
    int WeekChartMode = 0;
    bool WeekChartType = false;
    bool AutoUpdates = true;
    int DownloadDrawsOnStart = 0;
    bool ScriptLogEnabled = false;
    bool StakesLogEnabled = false;
    bool StakesScrollEnabled = true;
    bool StakesCheckOnLine = true;
    bool ColorDraws = true;
    bool ColorCombs = true;
    bool ColorCard = true;
    bool ColorCardSequences = true;
    bool LayoutGradient = true;
    bool SortedDraws = false;
    bool PrefetchsEnabled = false;
    bool PrefetchsInit = false;
    bool ShowTotalLine = true;
    int RatingsEffMode = 1;
    int LayoutCompareHeight = DesignedSize;
    bool ScriptLibraryOn = true;
    int ScriptLibraryHeight = DesignedSize;
    int ScriptLibraryFilter = 2;
    bool TabGraphs = true;
    bool TabCard = true;
    bool TabLayout = true;
    bool TabWeek = true;
    bool TabTables = true;
    bool SystemsEnabled = true;
    int Language = 1049;
    bool FirstRun = false;
};

using TKeyValues = std::vector<std::pair<std::string, std::string>>;

// The main window's keys.
void ReadViewState(const TIniFile& ini, TViewState& view);
// Sizes and depths, written on exit (designed sizes are left out).
TKeyValues ViewSizeValues(const TViewState& view);
// The text of one key of the main window table, by name ("SortedDraws" -> "1").
std::string ViewKeyText(const TViewState& view, const std::string& key);
bool IsViewKey(const std::string& key);

// Reads and writes the file: every read opens, reads and closes it; every write
// reads it again, changes the keys and replaces the whole file.
class TViewStore {
public:
    explicit TViewStore(std::filesystem::path path) : Path_(std::move(path)) {}
    TIniFile Read() const { return TIniFile::Load(Path_); }
    void Write(const std::string& section, const TKeyValues& values) const;
    const std::filesystem::path& Path() const { return Path_; }

private:
    std::filesystem::path Path_;
};

} // namespace kumby
