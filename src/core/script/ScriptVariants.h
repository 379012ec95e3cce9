#pragma once

// The concrete variants of a script line: every combination of the values its
// filters list, in generation order (filter 1 changes slowest; within a filter the
// number of draws is the outer and the criterion value the inner loop). They are
// produced one at a time, so a line with millions of variants needs no memory
// for them.

#include "script/ScriptModel.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kumby {

inline constexpr const char* BadFilterText = "Некорректное описание фильтра: %s!";

// Whether the criterion makes one variant per listed value.
bool LevelModeSplitsValues(TLevelMode mode);

class TFilterVariants {
public:
    // Raises Error "Некорректное описание фильтра: %s!" for the first item whose
    // number list (or criterion list) is empty.
    TFilterVariants(std::span<const TFilterItem> items, const TStatList& registry);

    // The number of variants (saturates at INT64_MAX).
    int64_t Count() const { return Count_; }
    // The next variant, false when all were given.
    bool Next(TFilterRec& rec);

private:
    struct TSlot {
        TFilterPart Base;
        std::vector<int32_t> Draws;
        std::vector<std::string> LevelLists; // one entry per variant of the criterion
        std::vector<std::string> LevelTexts;
        std::size_t Settings() const { return Draws.size() * LevelLists.size(); }
    };
    std::vector<TSlot> Slots_;
    std::vector<std::size_t> Position_; // odometer, one digit per slot
    int64_t Count_ = 0;
    bool Done_ = false;
};

} // namespace kumby
