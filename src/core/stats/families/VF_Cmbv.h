#pragma once

// Combination values family: the numbers themselves taken two, three or four at a
// time, over every choice of positions, over adjacent positions, or at one fixed
// starting position. The number-valued twins of the channel, column, row and
// segment combinations.

#include "stats/TupleStat.h"

namespace kumby {

class TCustomCombValuesStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
};

// The numbers of K positions of a draw: of every choice of K positions (Mix) or of
// K adjacent positions (Seq).
template <int K, TTupleForm Form>
class TCustomCombValTupleStat
    : public TElementTupleStat<TCustomCombValTupleStat<K, Form>, TCustomCombValuesStat, K, Form> {
public:
    using TElementTupleStat<TCustomCombValTupleStat<K, Form>, TCustomCombValuesStat, K,
                            Form>::TElementTupleStat;
    static constexpr bool ItemsRise = true;
    uint8_t ElementOf(uint8_t number) const { return number; }
};

// The K numbers from position Param on: the one run of the K items that the
// numbers there give. A position outside the draw gives no items, so a method made
// with such a parameter by hand yields nothing instead of reading past the draw.
template <int K>
class TCustomCombValPosStat
    : public TTupleStat<TCustomCombValPosStat<K>, TCustomCombValuesStat, K, TTupleForm::Runs> {
public:
    using TTupleStat<TCustomCombValPosStat<K>, TCustomCombValuesStat, K, TTupleForm::Runs>::TTupleStat;
    static constexpr int FirstPosition = 1;
    static constexpr int LastPosition = NumbersInDraw - K + 1;
    int ItemsOf(const uint8_t* numbers, uint8_t* items) const {
        const int p = this->Param();
        if (p < FirstPosition || p > LastPosition)
            return 0;
        for (int i = 0; i < K; ++i)
            items[i] = numbers[p - 1 + i];
        return K;
    }
};

class TstCombValMix2 : public TCustomCombValTupleStat<2, TTupleForm::Subsets> {
public:
    using TCustomCombValTupleStat::TCustomCombValTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombValMix3 : public TCustomCombValTupleStat<3, TTupleForm::Subsets> {
public:
    using TCustomCombValTupleStat::TCustomCombValTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombValMix4 : public TCustomCombValTupleStat<4, TTupleForm::Subsets> {
public:
    using TCustomCombValTupleStat::TCustomCombValTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombValSeq2 : public TCustomCombValTupleStat<2, TTupleForm::Runs> {
public:
    using TCustomCombValTupleStat::TCustomCombValTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombValSeq3 : public TCustomCombValTupleStat<3, TTupleForm::Runs> {
public:
    using TCustomCombValTupleStat::TCustomCombValTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombValSeq4 : public TCustomCombValTupleStat<4, TTupleForm::Runs> {
public:
    using TCustomCombValTupleStat::TCustomCombValTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombValPos2 : public TCustomCombValPosStat<2> {
public:
    using TCustomCombValPosStat::TCustomCombValPosStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombValPos3 : public TCustomCombValPosStat<3> {
public:
    using TCustomCombValPosStat::TCustomCombValPosStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombValPos4 : public TCustomCombValPosStat<4> {
public:
    using TCustomCombValPosStat::TCustomCombValPosStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

// The ascending combinations of numbers stand in the class table only so that
// the table keeps its full shape; they are never registered.
struct TstCombValSort2 {
    static const TStatClassInfo ClassInfo;
};
struct TstCombValSort3 {
    static const TStatClassInfo ClassInfo;
};
struct TstCombValSort4 {
    static const TStatClassInfo ClassInfo;
};

} // namespace kumby
