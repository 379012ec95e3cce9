#pragma once

// Repeats family: how numbers come back from one draw to a later one. Value methods
// list numbers 1..24 of the newest draw of the window (the candidates for the next
// draw); count methods count repeats 0..12. Every method looks at draws before the
// one it adds and treats a combination as the draw after the window's newest.

#include "stats/VexoFilters.h"

#include <array>

namespace kumby {

// Numbers of a draw as they stand: damaged draws hold 0 and 25..255 as well.
using TNumberWeights = std::array<uint8_t, 256>;

// Value methods: a draw adds some of its numbers; a combination matches when one of
// its numbers is selected.
class TCustomRepValuesStat : public TCustomValuesStat {
public:
    using TCustomValuesStat::TCustomValuesStat;
    // The newest draw's numbers in stored order, shifted like the values are.
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;

protected:
    virtual int SeedShift() const { return 0; }
    // The values of draw drawIdx (loaded in CurDraw, the newest draw in RefDraw) in the
    // order they are added; returns how many.
    virtual int Repeats(int drawIdx, int lastIdx, bool sorted, uint8_t* values) = 0;
};

// Count methods: a draw adds one count; a combination's count is a sum of weights
// of its numbers taken from the draws before it.
class TCustomRepCountStat : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    // 1..12; 0 is not listed beforehand.
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;

protected:
    // The count of draw drawIdx, loaded in CurDraw.
    virtual int DrawCount(int drawIdx) = 0;
    // How much each number adds to the count of a combination following draw lastIdx.
    virtual void CombinationWeights(int lastIdx, TNumberWeights& weights) = 0;

private:
    int WeightsIdx_ = -2; // window end Weights_ belong to; -2: none yet
    TNumberWeights Weights_{};
};

// Two draws d apart, the earlier one's numbers shifted cyclically by s.
class TCustomRepValues2Stat : public TCustomRepValuesStat {
public:
    using TCustomRepValuesStat::TCustomRepValuesStat;
    virtual int Shift() const = 0;
    virtual int Distance() const = 0;

protected:
    int SeedShift() const override { return Shift(); }
    int Repeats(int drawIdx, int lastIdx, bool sorted, uint8_t* values) override;
};

class TCustomRepCount2Stat : public TCustomRepCountStat {
public:
    using TCustomRepCountStat::TCustomRepCountStat;
    virtual int Shift() const = 0;
    virtual int Distance() const = 0;

protected:
    int DrawCount(int drawIdx) override;
    void CombinationWeights(int lastIdx, TNumberWeights& weights) override;
};

template <int S, int D> class TRepValues2Class final : public TCustomRepValues2Stat {
public:
    using TCustomRepValues2Stat::TCustomRepValues2Stat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    int Shift() const override { return S; }
    int Distance() const override { return D; }
};

template <int S, int D> class TRepCount2Class final : public TCustomRepCount2Stat {
public:
    using TCustomRepCount2Stat::TCustomRepCount2Stat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    int Shift() const override { return S; }
    int Distance() const override { return D; }
};

using TstRepValues2 = TRepValues2Class<0, 1>;
using TstRepValues2over1 = TRepValues2Class<0, 2>;
using TstRepValues2over2 = TRepValues2Class<0, 3>;
using TstRepValues2over3 = TRepValues2Class<0, 4>;
using TstRepValues2P1 = TRepValues2Class<1, 1>;
using TstRepValues2N1 = TRepValues2Class<-1, 1>;
using TstRepValues2P2 = TRepValues2Class<2, 1>;
using TstRepValues2N2 = TRepValues2Class<-2, 1>;
using TstRepCount2 = TRepCount2Class<0, 1>;
using TstRepCount2over1 = TRepCount2Class<0, 2>;
using TstRepCount2over2 = TRepCount2Class<0, 3>;
using TstRepCount2over3 = TRepCount2Class<0, 4>;
using TstRepCount2P1 = TRepCount2Class<1, 1>;
using TstRepCount2N1 = TRepCount2Class<-1, 1>;
using TstRepCount2P2 = TRepCount2Class<2, 1>;
using TstRepCount2N2 = TRepCount2Class<-2, 1>;

// Their rows of the class table, in VF_Reps.cpp.
template <> const TStatClassInfo TRepValues2Class<0, 1>::ClassInfo;
template <> const TStatClassInfo TRepValues2Class<0, 2>::ClassInfo;
template <> const TStatClassInfo TRepValues2Class<0, 3>::ClassInfo;
template <> const TStatClassInfo TRepValues2Class<0, 4>::ClassInfo;
template <> const TStatClassInfo TRepValues2Class<1, 1>::ClassInfo;
template <> const TStatClassInfo TRepValues2Class<-1, 1>::ClassInfo;
template <> const TStatClassInfo TRepValues2Class<2, 1>::ClassInfo;
template <> const TStatClassInfo TRepValues2Class<-2, 1>::ClassInfo;
template <> const TStatClassInfo TRepCount2Class<0, 1>::ClassInfo;
template <> const TStatClassInfo TRepCount2Class<0, 2>::ClassInfo;
template <> const TStatClassInfo TRepCount2Class<0, 3>::ClassInfo;
template <> const TStatClassInfo TRepCount2Class<0, 4>::ClassInfo;
template <> const TStatClassInfo TRepCount2Class<1, 1>::ClassInfo;
template <> const TStatClassInfo TRepCount2Class<-1, 1>::ClassInfo;
template <> const TStatClassInfo TRepCount2Class<2, 1>::ClassInfo;
template <> const TStatClassInfo TRepCount2Class<-2, 1>::ClassInfo;

// Numbers of a draw also in the newest draw and in the two draws before it.
class TstRepValues3 : public TCustomRepValuesStat {
public:
    using TCustomRepValuesStat::TCustomRepValuesStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }

protected:
    int Repeats(int drawIdx, int lastIdx, bool sorted, uint8_t* values) override;
};

// Numbers of a draw also in the newest draw and in the draw before, but not in the
// one before that.
class TstRepValues2B3 : public TCustomRepValuesStat {
public:
    using TCustomRepValuesStat::TCustomRepValuesStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }

protected:
    int Repeats(int drawIdx, int lastIdx, bool sorted, uint8_t* values) override;
};

class TstRepCount3 : public TCustomRepCountStat {
public:
    using TCustomRepCountStat::TCustomRepCountStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }

protected:
    int DrawCount(int drawIdx) override;
    void CombinationWeights(int lastIdx, TNumberWeights& weights) override;
};

class TstRepCount2B3 : public TCustomRepCountStat {
public:
    using TCustomRepCountStat::TCustomRepCountStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }

protected:
    int DrawCount(int drawIdx) override;
    void CombinationWeights(int lastIdx, TNumberWeights& weights) override;
};

} // namespace kumby
