#include "ViewState.h"

#include <variant>

namespace kumby {

namespace {

enum class TKeyKind { Switch, Size };

struct TViewKey {
    const char* Name;
    std::variant<int TViewState::*, bool TViewState::*> Field;
    TKeyKind Kind;
};

// Every key of the main window with its field; the defaults are the struct's.
const TViewKey ViewKeys[] = {
    {"LeftPanelWidth", &TViewState::LeftPanelWidth, TKeyKind::Size},
    {"DrawsExclude", &TViewState::DrawsExclude, TKeyKind::Size},
    {"DrawsStatLen", &TViewState::DrawsStatLen, TKeyKind::Size},
    {"DrawsStatHeight", &TViewState::DrawsStatHeight, TKeyKind::Size},
    {"DrawsGraphLen", &TViewState::DrawsGraphLen, TKeyKind::Size},
    {"FiltersHeight", &TViewState::FiltersHeight, TKeyKind::Size},
    {"LayoutLen", &TViewState::LayoutLen, TKeyKind::Size},
    {"WeekLen", &TViewState::WeekLen, TKeyKind::Size},
    {"WeekHeight", &TViewState::WeekHeight, TKeyKind::Size},
    {"WeekChartMode", &TViewState::WeekChartMode, TKeyKind::Switch},
    {"WeekChartType", &TViewState::WeekChartType, TKeyKind::Switch},
    {"AutoUpdates", &TViewState::AutoUpdates, TKeyKind::Switch},
    {"DownloadDrawsOnStart", &TViewState::DownloadDrawsOnStart, TKeyKind::Switch},
    {"ScriptLogEnabled", &TViewState::ScriptLogEnabled, TKeyKind::Switch},
    {"StakesLogEnabled", &TViewState::StakesLogEnabled, TKeyKind::Switch},
    {"StakesScrollEnabled", &TViewState::StakesScrollEnabled, TKeyKind::Switch},
    {"StakesCheckOnLine", &TViewState::StakesCheckOnLine, TKeyKind::Switch},
    {"ColorDraws", &TViewState::ColorDraws, TKeyKind::Switch},
    {"ColorCombs", &TViewState::ColorCombs, TKeyKind::Switch},
    {"ColorCard", &TViewState::ColorCard, TKeyKind::Switch},
    {"ColorCardSequences", &TViewState::ColorCardSequences, TKeyKind::Switch},
    {"LayoutGradient", &TViewState::LayoutGradient, TKeyKind::Switch},
    {"SortedDraws", &TViewState::SortedDraws, TKeyKind::Switch},
    {"PrefetchsEnabled", &TViewState::PrefetchsEnabled, TKeyKind::Switch},
    {"PrefetchsInit", &TViewState::PrefetchsInit, TKeyKind::Switch},
    {"ShowTotalLine", &TViewState::ShowTotalLine, TKeyKind::Switch},
    {"RatingsEffMode", &TViewState::RatingsEffMode, TKeyKind::Switch},
    {"LayoutCompareHeight", &TViewState::LayoutCompareHeight, TKeyKind::Size},
    {"ScriptLibraryOn", &TViewState::ScriptLibraryOn, TKeyKind::Switch},
    {"ScriptLibraryHeight", &TViewState::ScriptLibraryHeight, TKeyKind::Size},
    {"ScriptLibraryFilter", &TViewState::ScriptLibraryFilter, TKeyKind::Switch},
    {"TabGraphs", &TViewState::TabGraphs, TKeyKind::Switch},
    {"TabCard", &TViewState::TabCard, TKeyKind::Switch},
    {"TabLayout", &TViewState::TabLayout, TKeyKind::Switch},
    {"TabWeek", &TViewState::TabWeek, TKeyKind::Switch},
    {"TabTables", &TViewState::TabTables, TKeyKind::Switch},
    {"SystemsEnabled", &TViewState::SystemsEnabled, TKeyKind::Switch},
    {"Language", &TViewState::Language, TKeyKind::Switch},
    {"FirstRun", &TViewState::FirstRun, TKeyKind::Switch},
};

const TViewKey* FindKey(const std::string& name) {
    for (const TViewKey& k : ViewKeys)
        if (name == k.Name)
            return &k;
    return nullptr;
}

std::string KeyText(const TViewState& view, const TViewKey& key) {
    if (auto p = std::get_if<int TViewState::*>(&key.Field))
        return std::to_string(view.*(*p));
    return view.*std::get<bool TViewState::*>(key.Field) ? "1" : "0";
}

} // namespace

void ReadViewState(const TIniFile& ini, TViewState& view) {
    for (const TViewKey& k : ViewKeys) {
        if (auto p = std::get_if<int TViewState::*>(&k.Field))
            view.*(*p) = ini.ReadInteger(MainWindowSection, k.Name, view.*(*p));
        else {
            auto b = std::get<bool TViewState::*>(k.Field);
            view.*b = ini.ReadBool(MainWindowSection, k.Name, view.*b);
        }
    }
    for (int i = 0; i < 5; ++i)
        view.LayoutCompareLen[i] = ini.ReadInteger(
            MainWindowSection, "LayoutCompareLen" + std::to_string(i + 1), view.LayoutCompareLen[i]);
}

TKeyValues ViewSizeValues(const TViewState& view) {
    TKeyValues values;
    for (const TViewKey& k : ViewKeys) {
        if (k.Kind != TKeyKind::Size)
            continue;
        const auto field = std::get<int TViewState::*>(k.Field);
        if (view.*field != DesignedSize)
            values.emplace_back(k.Name, std::to_string(view.*field));
    }
    for (int i = 0; i < 5; ++i)
        values.emplace_back("LayoutCompareLen" + std::to_string(i + 1),
                            std::to_string(view.LayoutCompareLen[i]));
    return values;
}

std::string ViewKeyText(const TViewState& view, const std::string& key) {
    const TViewKey* k = FindKey(key);
    return k ? KeyText(view, *k) : std::string();
}

bool IsViewKey(const std::string& key) {
    return FindKey(key) != nullptr;
}

void TViewStore::Write(const std::string& section, const TKeyValues& values) const {
    TIniFile ini = Read();
    for (const auto& [key, value] : values)
        ini.WriteString(section, key, value);
    ini.Save(Path_);
}

} // namespace kumby
