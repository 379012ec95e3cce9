#pragma once

// Chains family: what came next. For every draw of the window the draw before it is
// compared with the newest draw; where they agree (a number, channel or segment,
// anywhere or at one position, or how many numbers a channel or segment holds) the
// earlier value is recorded with the value that followed it. A combination stands
// for the draw after the newest one and matches the targets of the selected rows.

#include "stats/families/VF_Chns.h"
#include "stats/families/VF_Segm.h"

#include <array>
#include <string>

namespace kumby {

// How a chain method compares the draws.
enum class TChainForm : uint8_t {
    AnyPosition,   // an element of the earlier draw that the newest draw has anywhere
    EveryPosition, // the same element at the same position, at every position
    OnePosition,   // the same, at position Param only
    Count,         // how many numbers of a draw lie in element Param
    InsideAll,     // a number of the newest draw and its followers in its channel ...
    InsideSuc,     // ... only where there are followers
    InsideBad,     // ... only where there are none
    InsideCnt,     // ... how many there are
};

// Values are the earlier elements and the following one in Key1..Key3; a draw
// without the draw(s) before it adds nothing.
class TCustomChainStat : public TCustomStat {
public:
    TCustomChainStat(const TStatList& list, int32_t param);
    // "5 -> 17", "5-9 -> 17"; padded "01 -> 03".
    std::string ValueText(const TStatEntry& e) const override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;
    std::size_t KeepMatching(std::span<const TCombination> in, TCombination* out,
                             const TStatDrawArray& selected, int lastIdx, bool sorted, bool exclude) override;

protected:
    virtual TChainForm Form() const = 0;
    // Draws per transition, the following one included: 2 or 3.
    virtual int Span() const = 0;
    virtual bool PaddedKeys() const { return false; }
    // Fills the match table for a selection and the window's newest draw: by
    // default a number matches when its element is a selected target.
    virtual void BuildMatchTable(const TStatDrawArray& selected, int lastIdx);

    uint8_t ElementOf(uint8_t number) const { return Element_[number]; }
    // In the archive with a draw number above 0.
    bool DrawExists(int idx) const;
    // The position the method looks at, or every one; false for none.
    bool PositionRange(int& first, int& last) const;
    void AddTransition(TStatDrawArray& stat, uint16_t from, uint16_t to);
    void AddTransition(TStatDrawArray& stat, uint16_t first, uint16_t second, uint16_t to);
    // The target of a selected value: Key2 or Key3.
    uint16_t TargetOf(const TStatEntry& e) const { return Span() == 2 ? e.Key2 : e.Key3; }

    std::array<uint8_t, 256> Element_{}; // element of every byte a number can be
    // What Matches reads: numbers that match on their own, or, by count, the weight
    // of each number and the counts that match (a count is at most 12).
    bool ByCount_ = false;
    std::array<uint8_t, 256> Hit_{};
    std::array<uint8_t, 256> Weight_{};
    std::array<uint8_t, 16> CountHit_{};

private:
    void Prepare(const TStatDrawArray& selected, int lastIdx);
    bool MatchesPrepared(const TCombination& comb) const {
        unsigned sum = 0;
        if (ByCount_) {
            for (const uint8_t n : comb)
                sum += Weight_[n];
            return CountHit_[sum] != 0;
        }
        for (const uint8_t n : comb)
            sum |= Hit_[n];
        return sum != 0;
    }

    TSelectionWatch Watch_;
    int TableIdx_ = -2; // window end the table belongs to; -2: none yet
};

// Elements are channels of the configured width.
class TCustomChainChannelsStat : public TChannelsKind<TCustomChainStat> {
public:
    TCustomChainChannelsStat(const TStatList& list, int32_t param);
};

// Elements are the segments of the configured table.
class TCustomChainSegmentsStat : public TSegmentsKind<TCustomChainStat> {
public:
    TCustomChainSegmentsStat(const TStatList& list, int32_t param);
};

// Two draws: an element of the draw before, met in the newest draw (anywhere or at
// the same position), and the element that followed it.
template <class Elements> class TChainTransitions2 : public Elements {
public:
    using Elements::Elements;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;

protected:
    int Span() const override { return 2; }
};

// Three draws at the same position: the two before agree with the newest two.
template <class Elements> class TChainTransitions3 : public Elements {
public:
    using Elements::Elements;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;

protected:
    int Span() const override { return 3; }
};

// How many numbers lie in element Param, over N draws; only counts matter, so the
// draws are read as stored.
template <class Elements, int N> class TChainCounts : public Elements {
public:
    using Elements::Elements;
    // The newest counts followed by every count a channel can hold (0 alone for a
    // segment), so that the next draw's options show even where never seen.
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;

protected:
    int Span() const override { return N; }
    void BuildMatchTable(const TStatDrawArray& selected, int lastIdx) override;

private:
    int CountIn(int idx) const;
};

class TCustomChainValues2Stat : public TChainTransitions2<TCustomChainStat> {
public:
    using TChainTransitions2::TChainTransitions2;
};

class TCustomChainValues3Stat : public TChainTransitions3<TCustomChainStat> {
public:
    using TChainTransitions3::TChainTransitions3;
};

class TCustomChainChannels2Stat : public TChainTransitions2<TCustomChainChannelsStat> {
public:
    using TChainTransitions2::TChainTransitions2;

protected:
    bool PaddedKeys() const override { return true; }
};

class TCustomChainChannels3Stat : public TChainTransitions3<TCustomChainChannelsStat> {
public:
    using TChainTransitions3::TChainTransitions3;

protected:
    bool PaddedKeys() const override { return true; }
};

class TCustomChainSegments2Stat : public TChainTransitions2<TCustomChainSegmentsStat> {
public:
    using TChainTransitions2::TChainTransitions2;
};

class TCustomChainSegments3Stat : public TChainTransitions3<TCustomChainSegmentsStat> {
public:
    using TChainTransitions3::TChainTransitions3;
};

// Numbers of the draw before that the newest draw has too, and the numbers of the
// draw that followed in the same channel: (x, y) per follower, (x, 0) for none, or
// (x, how many), by mode.
class TCustomChainChannels2Inside : public TCustomChainChannels2Stat {
public:
    using TCustomChainChannels2Stat::TCustomChainChannels2Stat;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    // 0 all, 1 with followers, 2 without, 3 their count.
    virtual int Mode() const { return static_cast<int>(Form()) - static_cast<int>(TChainForm::InsideAll); }

protected:
    bool PaddedKeys() const override { return Mode() < 3; }
    void BuildMatchTable(const TStatDrawArray& selected, int lastIdx) override;
};

template <class Base, TChainForm F> class TChainClass final : public Base {
public:
    using Base::Base;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }

protected:
    TChainForm Form() const override { return F; }
};

using TCustomChainCnlCount2 = TChainCounts<TCustomChainChannelsStat, 2>;
using TCustomChainCnlCount3 = TChainCounts<TCustomChainChannelsStat, 3>;
using TCustomChainSgmCount2 = TChainCounts<TCustomChainSegmentsStat, 2>;
using TCustomChainSgmCount3 = TChainCounts<TCustomChainSegmentsStat, 3>;

using TstChain2DrawsAll = TChainClass<TCustomChainValues2Stat, TChainForm::AnyPosition>;
using TstChain2DrawsPos = TChainClass<TCustomChainValues2Stat, TChainForm::EveryPosition>;
using TstChain2Pos = TChainClass<TCustomChainValues2Stat, TChainForm::OnePosition>;
using TstChain3DrawsPos = TChainClass<TCustomChainValues3Stat, TChainForm::EveryPosition>;
using TstChain3Pos = TChainClass<TCustomChainValues3Stat, TChainForm::OnePosition>;
using TstChain2ChannelsAll = TChainClass<TCustomChainChannels2Stat, TChainForm::AnyPosition>;
using TstChain2ChannelsPos = TChainClass<TCustomChainChannels2Stat, TChainForm::EveryPosition>;
using TstChain2Channel = TChainClass<TCustomChainChannels2Stat, TChainForm::OnePosition>;
using TstChain3ChannelsPos = TChainClass<TCustomChainChannels3Stat, TChainForm::EveryPosition>;
using TstChain3Channel = TChainClass<TCustomChainChannels3Stat, TChainForm::OnePosition>;
using TstChain2CnlCnt = TChainClass<TCustomChainCnlCount2, TChainForm::Count>;
using TstChain3CnlCnt = TChainClass<TCustomChainCnlCount3, TChainForm::Count>;
using TstChainChannels2InsideAll = TChainClass<TCustomChainChannels2Inside, TChainForm::InsideAll>;
using TstChainChannels2InsideSuc = TChainClass<TCustomChainChannels2Inside, TChainForm::InsideSuc>;
using TstChainChannels2InsideBad = TChainClass<TCustomChainChannels2Inside, TChainForm::InsideBad>;
using TstChainChannels2InsideCnt = TChainClass<TCustomChainChannels2Inside, TChainForm::InsideCnt>;
using TstChain2SegmentsAll = TChainClass<TCustomChainSegments2Stat, TChainForm::AnyPosition>;
using TstChain2SegmentsPos = TChainClass<TCustomChainSegments2Stat, TChainForm::EveryPosition>;
using TstChain2Segment = TChainClass<TCustomChainSegments2Stat, TChainForm::OnePosition>;
using TstChain3SegmentsPos = TChainClass<TCustomChainSegments3Stat, TChainForm::EveryPosition>;
using TstChain3Segment = TChainClass<TCustomChainSegments3Stat, TChainForm::OnePosition>;
using TstChain2SgmCnt = TChainClass<TCustomChainSgmCount2, TChainForm::Count>;
using TstChain3SgmCnt = TChainClass<TCustomChainSgmCount3, TChainForm::Count>;

// Their rows of the class table, in VF_Chain.cpp.
template <> const TStatClassInfo TstChain2DrawsAll::ClassInfo;
template <> const TStatClassInfo TstChain2DrawsPos::ClassInfo;
template <> const TStatClassInfo TstChain2Pos::ClassInfo;
template <> const TStatClassInfo TstChain3DrawsPos::ClassInfo;
template <> const TStatClassInfo TstChain3Pos::ClassInfo;
template <> const TStatClassInfo TstChain2ChannelsAll::ClassInfo;
template <> const TStatClassInfo TstChain2ChannelsPos::ClassInfo;
template <> const TStatClassInfo TstChain2Channel::ClassInfo;
template <> const TStatClassInfo TstChain3ChannelsPos::ClassInfo;
template <> const TStatClassInfo TstChain3Channel::ClassInfo;
template <> const TStatClassInfo TstChain2CnlCnt::ClassInfo;
template <> const TStatClassInfo TstChain3CnlCnt::ClassInfo;
template <> const TStatClassInfo TstChainChannels2InsideAll::ClassInfo;
template <> const TStatClassInfo TstChainChannels2InsideSuc::ClassInfo;
template <> const TStatClassInfo TstChainChannels2InsideBad::ClassInfo;
template <> const TStatClassInfo TstChainChannels2InsideCnt::ClassInfo;
template <> const TStatClassInfo TstChain2SegmentsAll::ClassInfo;
template <> const TStatClassInfo TstChain2SegmentsPos::ClassInfo;
template <> const TStatClassInfo TstChain2Segment::ClassInfo;
template <> const TStatClassInfo TstChain3SegmentsPos::ClassInfo;
template <> const TStatClassInfo TstChain3Segment::ClassInfo;
template <> const TStatClassInfo TstChain2SgmCnt::ClassInfo;
template <> const TStatClassInfo TstChain3SgmCnt::ClassInfo;

} // namespace kumby
