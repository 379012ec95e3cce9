#include "stakes/StakesFilter.h"

#include "model/VexoUtils.h"

namespace kumby {

const std::array<const char*, StakeConditionCount>& StakeConditionCaptions() {
    static const std::array<const char*, StakeConditionCount> captions = {
        "Равно [ = ]", "Более [ > ]", "Не менее [ >= ]", "Менее [ < ]", "Не более [ <= ]"};
    return captions;
}

bool TStakeFilter::Deletes(int32_t matched) const {
    switch (Condition) {
    case TStakeCondition::Equal:
        return matched == Value;
    case TStakeCondition::Greater:
        return matched > Value;
    case TStakeCondition::NotLess:
        return matched >= Value;
    case TStakeCondition::Less:
        return matched < Value;
    case TStakeCondition::NotGreater:
        return matched <= Value;
    }
    return false;
}

std::optional<TStakeFilter> TStakeFilter::FromPacked(int packed) {
    const int index = packed % 256;
    const int value = packed / 256;
    if (packed < 0 || index >= StakeConditionCount || value > MaxHits)
        return std::nullopt;
    return TStakeFilter{static_cast<TStakeCondition>(index), value};
}

std::optional<TStakeFilter> ParseStakeFilter(std::string_view text) {
    text = TrimView(text);
    static constexpr std::pair<std::string_view, TStakeCondition> Operators[] = {
        {">=", TStakeCondition::NotLess}, {"<=", TStakeCondition::NotGreater}, {"=", TStakeCondition::Equal},
        {">", TStakeCondition::Greater},  {"<", TStakeCondition::Less},
    };
    for (const auto& [op, condition] : Operators) {
        if (text.substr(0, op.size()) != op)
            continue;
        int32_t value = 0;
        if (!TryParseInt(TrimView(text.substr(op.size())), value) || value < 0 || value > MaxHits)
            return std::nullopt;
        return TStakeFilter{condition, value};
    }
    return std::nullopt;
}

} // namespace kumby
