#pragma once

// Characteristic number family: 12 numbers folded into a triangle of absolute
// differences down to one small number; as a statistic with a chart, and as a
// dynamic method that proposes the newest draw's number and its multiples for the
// next draw.

#include "stats/SingleValueStat.h"

namespace kumby {

// The folding of 12 numbers in their order. Mode 0 gives the last difference d;
// mode 1 gives u + v of the last two values instead when d is 0 or 1; mode 2 does
// so when d is 0 and gives the pair (1, u + v) when d is 1.
struct TVarnekNumber {
    int32_t Value = 0;
    bool Pair = false; // mode 2 with d = 1: the value stands for (1, u + v)
};
TVarnekNumber VarnekNumber(const uint8_t* numbers, int mode);

// The chart methods, one per mode.
class TCustomVarnekGraphStat : public TSingleValueStat<TCustomVarnekGraphStat, TCustomGraphStat> {
public:
    TCustomVarnekGraphStat(const TStatList& list, int32_t param, int mode)
        : TSingleValueStat(list, param), Mode_(mode) {}
    int32_t ValueOf(const uint8_t* numbers) const { return VarnekNumber(numbers, Mode_).Value; }

private:
    const int Mode_;
};

class TstVarnek1 : public TCustomVarnekGraphStat {
public:
    TstVarnek1(const TStatList& list, int32_t param) : TCustomVarnekGraphStat(list, param, 0) {}
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstVarnek2 : public TCustomVarnekGraphStat {
public:
    TstVarnek2(const TStatList& list, int32_t param) : TCustomVarnekGraphStat(list, param, 1) {}
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

// Only the newest draw of a window adds values: its number f (mode 2) and the
// multiples of f from 2f up to 24, each with Count 1 when the draw after the window
// has it. A pair value carries Key2 = 1 and the marker Key4 = 2.
class TstVarnek3 : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    std::string ValueText(const TStatEntry& e) const override;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;
};

} // namespace kumby
