#include "VF_Shrd.h"

#include "model/VexoUtils.h"
#include "stats/StatList.h"

namespace kumby {

namespace {

constexpr int FormulaCount = 3;
constexpr uint8_t NoNumbers[NumbersInDraw] = {};

std::unique_ptr<TCustomStat> MakeShredding(const TStatList& list, int32_t param) {
    return std::make_unique<TstShreddingStat>(list, param);
}

void FormulaRange(const TStatList&, int32_t& min, int32_t& max) {
    min = 1;
    max = FormulaCount;
}

} // namespace

// Class table row: class, code, caption, help code, group, flags, chart, numeric, param, available, range,
// factory.
const TStatClassInfo TstShreddingStat::ClassInfo = {"TstShreddingStat",
                                                    "SHR%d",
                                                    "Метод шинковки %0:d: %%s",
                                                    "SHRx",
                                                    ShreddingGroup,
                                                    StatFlagS | StatFlagN,
                                                    true,
                                                    true,
                                                    true,
                                                    true,
                                                    FormulaRange,
                                                    MakeShredding};

TstShreddingStat::TstShreddingStat(const TStatList& list, int32_t param) : TSingleValueStat(list, param) {
    // A parameter outside 1..3 (only a caller bypassing the registry has one) has an
    // empty formula, whose value is always 0.
    if (param >= 1 && param <= FormulaCount) {
        const TShreddingSettings& s = list.Shredding();
        FormulaText_ = s.Formulas[static_cast<std::size_t>(param - 1)];
        Digits_ = s.Digits[static_cast<std::size_t>(param - 1)];
    }
    Formula_ = TShredFormula(FormulaText_);
}

std::string TstShreddingStat::ValueText(const TStatEntry& e) const {
    return std::to_string(static_cast<uint32_t>(e.Key1) | static_cast<uint32_t>(e.Key2) << 16);
}

int32_t TstShreddingStat::ValueOf(const uint8_t* numbers) const {
    return static_cast<int32_t>(Formula_.Shred({numbers, NoNumbers, NoNumbers}, Digits_));
}

int32_t TstShreddingStat::ValueAfter(const uint8_t* numbers, int idx, bool sorted, TDrawRecord& p,
                                     TDrawRecord& t) const {
    GetDraw(idx - 1, sorted, p);
    GetDraw(idx - 2, sorted, t);
    return static_cast<int32_t>(Formula_.Shred({numbers, p.Numbers, t.Numbers}, Digits_));
}

bool TstShreddingStat::DrawValue(int drawIdx, int, bool sorted, int32_t& value) {
    TDrawRecord p;
    TDrawRecord t;
    value = ValueAfter(CurDraw.Numbers, drawIdx, sorted, p, t);
    return true;
}

// The combination would follow the window's newest draw: that draw is p, the one
// before it t.
int32_t TstShreddingStat::CombinationValue(const TCombination& comb, int lastIdx, bool sorted) {
    if (RefIdx_ != lastIdx || RefSorted_ != sorted) {
        GetDraw(lastIdx, sorted, RefP_);
        GetDraw(lastIdx - 1, sorted, RefT_);
        RefIdx_ = lastIdx;
        RefSorted_ = sorted;
    }
    return static_cast<int32_t>(Formula_.Shred({comb.data(), RefP_.Numbers, RefT_.Numbers}, Digits_));
}

int32_t TstShreddingStat::ChartValue(const uint8_t* numbers, int drawIdx, int, bool sorted) {
    TDrawRecord p;
    TDrawRecord t;
    return ValueAfter(numbers, drawIdx, sorted, p, t);
}

} // namespace kumby
