#include "script/ScriptVariants.h"

#include "model/Error.h"
#include "model/VexoUtils.h"

#include <limits>

namespace kumby {

bool LevelModeSplitsValues(TLevelMode mode) {
    return (mode >= 1 && mode <= 4) || (mode >= 7 && mode <= 10) || (mode >= 13 && mode <= 16) ||
           (mode >= 19 && mode <= 30);
}

namespace {

bool IsListCriterion(TLevelMode mode) {
    switch (mode) {
    case 5:
    case 6:
    case 11:
    case 12:
    case 17:
    case 18:
    case 31:
        return true;
    default:
        return false;
    }
}

} // namespace

TFilterVariants::TFilterVariants(std::span<const TFilterItem> items, const TStatList& registry) {
    Slots_.reserve(items.size());
    for (const TFilterItem& item : items) {
        TSlot slot;
        slot.Draws = ParseIntList(item.DrawsLen);
        TIntArray values;
        if (item.LevelMode != LevelNone)
            values = ParseIntList(item.LevelValue);
        if (slot.Draws.empty() || (item.LevelMode != LevelNone && values.empty()))
            throw Error(Format(BadFilterText, FilterItemText(item, registry).c_str()));

        TFilterPart& p = slot.Base;
        p.Used = item.Used;
        p.Method = item.Method;
        p.SortOrder = item.SortOrder;
        p.BottomUp = item.BottomUp;
        p.MultiSelect = item.MultiSelect;
        p.KeepSelected = item.KeepSelected;
        p.LevelMode = item.LevelMode;
        p.CDLOverride = item.CDLOverride;
        p.Weights = item.Weights;
        p.StopMode = item.StopMode;
        p.StopValue = item.StopValue;

        if (LevelModeSplitsValues(item.LevelMode)) {
            for (int32_t v : values) {
                slot.LevelLists.push_back(std::to_string(v));
                slot.LevelTexts.push_back(std::to_string(v));
            }
        } else {
            slot.LevelTexts.push_back(item.LevelValue);
            slot.LevelLists.push_back(IsListCriterion(item.LevelMode) && !values.empty()
                                          ? IntListToText(values, ",")
                                          : item.LevelValue);
        }
        Slots_.push_back(std::move(slot));
    }

    Position_.assign(Slots_.size(), 0);
    Done_ = Slots_.empty();
    Count_ = Slots_.empty() ? 0 : 1;
    for (const TSlot& slot : Slots_) {
        const auto n = static_cast<int64_t>(slot.Settings());
        Count_ = Count_ > std::numeric_limits<int64_t>::max() / n ? std::numeric_limits<int64_t>::max()
                                                                  : Count_ * n;
    }
}

bool TFilterVariants::Next(TFilterRec& rec) {
    if (Done_)
        return false;
    rec = TFilterRec{};
    for (std::size_t d = 0; d < Slots_.size(); ++d) {
        const TSlot& slot = Slots_[d];
        const std::size_t levels = slot.LevelLists.size();
        TFilterPart& part = rec[d];
        part = slot.Base;
        part.DrawsLen = slot.Draws[Position_[d] / levels];
        part.LevelList = slot.LevelLists[Position_[d] % levels];
        part.LevelText = slot.LevelTexts[Position_[d] % levels];
    }
    // Advance the odometer: the last filter changes fastest.
    std::size_t d = Slots_.size();
    while (d > 0) {
        --d;
        if (++Position_[d] < Slots_[d].Settings())
            return true;
        Position_[d] = 0;
    }
    Done_ = true;
    return true;
}

} // namespace kumby
