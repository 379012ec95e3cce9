#pragma once

// Segments family: the numbers 1..24 painted with the digits of the settings'
// segment table; which segments a draw touches, how many numbers fall into each,
// how many segments are filled, and the segments of two to four numbers together.

#include "stats/SingleValueStat.h"
#include "stats/StatList.h"
#include "stats/TupleStat.h"

#include <array>
#include <span>
#include <string>

namespace kumby {

// The segment table of the settings, copied when the method is created. Segment
// numbers need not be contiguous; the segments of the table are its distinct
// entries in the order of the numbers that first carry them.
template <class Kind> class TSegmentsKind : public Kind {
public:
    TSegmentsKind(const TStatList& list, int32_t param);

    uint8_t SegmentOf(uint8_t number) const { return Segment_[number]; }
    std::span<const uint8_t> Segments() const { return {Listed_.data(), static_cast<std::size_t>(Count_)}; }

protected:
    std::array<uint8_t, 256> Segment_{}; // of every byte a number can be; 0 outside 1..24
    std::array<uint8_t, MaxNumber> Listed_{};
    int Count_ = 0;
};

// The parameter range of the methods with one segment: the lowest to the highest
// digit of the table.
void SegmentRange(const TStatList& list, int32_t& min, int32_t& max);

// In the header, so that every family can take the segments onto its own kind.
template <class Kind>
TSegmentsKind<Kind>::TSegmentsKind(const TStatList& list, int32_t param) : Kind(list, param) {
    std::array<bool, 256> listed{};
    for (int n = 1; n <= MaxNumber; ++n) {
        const uint8_t s = list.Config().MatrixSegments[n - 1];
        Segment_[n] = s;
        if (!listed[s])
            Listed_[Count_++] = s;
        listed[s] = true;
    }
}

class TCustomSegmentsStat : public TSegmentsKind<TCustomNumbersStat> {
public:
    using TSegmentsKind::TSegmentsKind;
};

class TCustomSegmentsGraphStat : public TSegmentsKind<TCustomGraphStat> {
public:
    using TSegmentsKind::TSegmentsKind;
};

class TstSegments : public TPerElementStat<TstSegments, TCustomSegmentsStat> {
public:
    using TPerElementStat::TPerElementStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    uint16_t ElementOf(uint8_t number) const { return SegmentOf(number); }
};

// Every segment of the table with how many of the numbers it holds, empty ones
// included.
class TstSegmValues : public TPerElementStat<TstSegmValues, TCustomSegmentsStat> {
public:
    using TPerElementStat::TPerElementStat;
    static const TStatClassInfo ClassInfo;
    static constexpr bool CountInKey2 = true;
    static constexpr bool ListEveryElement = true;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    std::string ValueText(const TStatEntry& e) const override;
    uint16_t ElementOf(uint8_t number) const { return SegmentOf(number); }
    std::span<const uint8_t> ListedElements() const { return Segments(); }
};

// How many distinct segments the numbers touch.
class TstSegmCount : public TSingleValueStat<TstSegmCount, TCustomSegmentsGraphStat> {
public:
    TstSegmCount(const TStatList& list, int32_t param);
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    int32_t ValueOf(const uint8_t* numbers) const;

private:
    // Per number byte: its segment as a bit, one per place in Segments(); segment 0
    // of a number outside 1..24 has a place after them when the table has no 0.
    std::array<uint32_t, 256> SegmentBit_{};
};

// How many of the numbers lie in segment Param.
class TstSgmValCnt : public TSingleValueStat<TstSgmValCnt, TCustomSegmentsGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    int32_t ValueOf(const uint8_t* numbers) const;
};

// The segments of K numbers: of every choice of K positions (Mix) or of K adjacent
// positions (Seq).
template <int K, TTupleForm Form>
class TCustomSegmentTupleStat
    : public TElementTupleStat<TCustomSegmentTupleStat<K, Form>, TCustomSegmentsStat, K, Form> {
public:
    using TElementTupleStat<TCustomSegmentTupleStat<K, Form>, TCustomSegmentsStat, K,
                            Form>::TElementTupleStat;
    uint8_t ElementOf(uint8_t number) const { return this->SegmentOf(number); }
};

class TstCombSegmMix2 : public TCustomSegmentTupleStat<2, TTupleForm::Subsets> {
public:
    using TCustomSegmentTupleStat::TCustomSegmentTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombSegmMix3 : public TCustomSegmentTupleStat<3, TTupleForm::Subsets> {
public:
    using TCustomSegmentTupleStat::TCustomSegmentTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombSegmMix4 : public TCustomSegmentTupleStat<4, TTupleForm::Subsets> {
public:
    using TCustomSegmentTupleStat::TCustomSegmentTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombSegmSeq2 : public TCustomSegmentTupleStat<2, TTupleForm::Runs> {
public:
    using TCustomSegmentTupleStat::TCustomSegmentTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombSegmSeq3 : public TCustomSegmentTupleStat<3, TTupleForm::Runs> {
public:
    using TCustomSegmentTupleStat::TCustomSegmentTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombSegmSeq4 : public TCustomSegmentTupleStat<4, TTupleForm::Runs> {
public:
    using TCustomSegmentTupleStat::TCustomSegmentTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

} // namespace kumby
