#pragma once

// Deleting stakes by their number of matches.

#include "stakes/StakeRecord.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kumby {

// In the order of the dialog's list.
enum class TStakeCondition { Equal = 0, Greater = 1, NotLess = 2, Less = 3, NotGreater = 4 };
inline constexpr int StakeConditionCount = 5;

// "Равно [ = ]", "Более [ > ]", ...
const std::array<const char*, StakeConditionCount>& StakeConditionCaptions();

struct TStakeFilter {
    TStakeCondition Condition = TStakeCondition::Equal;
    int Value = 0; // number of matches 0..12

    // Whether a stake with these matches goes (-1 for an unchecked one).
    bool Deletes(int32_t matched) const;
    // Separators always stay.
    bool Keeps(const TStakeRecord& r) const { return r.IsSeparator() || !Deletes(r.MatchedCount()); }
    // The dialog's answer: value * 256 + condition index.
    int Packed() const { return Value * 256 + static_cast<int>(Condition); }
    static std::optional<TStakeFilter> FromPacked(int packed);
};

// "<3", "= 5", ">=0", "<= 12" ...; nothing for any other text.
std::optional<TStakeFilter> ParseStakeFilter(std::string_view text);

} // namespace kumby
