#pragma once

// Shredding family: a person's formula over a draw's numbers (and those of the two
// draws before it), of whose value only the first digits after the point are kept.

#include "stats/ShredFormula.h"
#include "stats/SingleValueStat.h"

namespace kumby {

// SHR1..SHR3: the formula and the digits of the parameter's settings, read when
// the method is made. The value lives in the low 32-bit key half, as five digits
// go past one key word.
class TstShreddingStat : public TSingleValueStat<TstShreddingStat, TCustomGraphStat> {
public:
    TstShreddingStat(const TStatList& list, int32_t param);
    static const TStatClassInfo ClassInfo;
    static constexpr TValueMatch MatchBy = TValueMatch::KeyHalf;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    std::string ValueText(const TStatEntry& e) const override;
    int32_t ChartValue(const uint8_t* numbers, int drawIdx, int lastIdx, bool sorted) override;

    // A single set of numbers: the previous draws read as zeros.
    int32_t ValueOf(const uint8_t* numbers) const;
    bool DrawValue(int drawIdx, int lastIdx, bool sorted, int32_t& value);
    int32_t CombinationValue(const TCombination& comb, int lastIdx, bool sorted);

    const std::string& FormulaText() const { return FormulaText_; }
    int Digits() const { return Digits_; }

private:
    // The numbers with the two draws before draw idx.
    int32_t ValueAfter(const uint8_t* numbers, int idx, bool sorted, TDrawRecord& p, TDrawRecord& t) const;

    std::string FormulaText_;
    int32_t Digits_ = 0;
    TShredFormula Formula_;
    // The newest draw of the filtering pass and the one before it, read once per pass.
    int RefIdx_ = -2; // -2: not read yet
    bool RefSorted_ = false;
    TDrawRecord RefP_{};
    TDrawRecord RefT_{};
};

} // namespace kumby
