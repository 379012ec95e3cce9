#include "VF_Chain.h"

#include "model/GameConstants.h"
#include "model/VexoUtils.h"

#include <bitset>
#include <type_traits>

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

void EveryPosition(const TStatList&, int32_t& min, int32_t& max) {
    min = 1;
    max = NumbersInDraw;
}

// Rows of the class table: the caption already carries the number of draws.
constexpr TStatClassInfo ChainRow(const char* className, const char* code, const char* caption,
                                  const char* helpCode, uint8_t flags, TParamRangeFn range,
                                  TStatFactory create) {
    return {className, code,  caption,          helpCode, 10,    flags,
            false,     false, range != nullptr, true,     range, create};
}

constexpr uint8_t SD = StatFlagS | StatFlagD;
constexpr uint8_t D = StatFlagD;

using TElementSet = std::bitset<256>;

} // namespace

template <>
const TStatClassInfo
    TstChain2DrawsAll::ClassInfo = ChainRow("TstChain2DrawsAll", "SDV2",
                                            "Переходы чисел между 2 тиражами без учета позиции", nullptr, D,
                                            nullptr, Make<TstChain2DrawsAll>);
template <>
const TStatClassInfo
    TstChain2DrawsPos::ClassInfo = ChainRow("TstChain2DrawsPos", "SDP2",
                                            "Переходы чисел между 2 тиражами с учетом позиции", nullptr, SD,
                                            nullptr, Make<TstChain2DrawsPos>);
template <>
const TStatClassInfo TstChain2Pos::ClassInfo = ChainRow("TstChain2Pos", "SDN%d",
                                                        "Переходы чисел между 2 тиражами в %d позиции",
                                                        "SDNx", SD, EveryPosition, Make<TstChain2Pos>);
template <>
const TStatClassInfo
    TstChain3DrawsPos::ClassInfo = ChainRow("TstChain3DrawsPos", "SDP3",
                                            "Переходы чисел между 3 тиражами с учетом позиции", nullptr, SD,
                                            nullptr, Make<TstChain3DrawsPos>);
template <>
const TStatClassInfo TstChain3Pos::ClassInfo = ChainRow("TstChain3Pos", "SDM%d",
                                                        "Переходы чисел между 3 тиражами в %d позиции",
                                                        "SDMx", SD, EveryPosition, Make<TstChain3Pos>);
template <>
const TStatClassInfo
    TstChain2ChannelsAll::ClassInfo = ChainRow("TstChain2ChannelsAll", "SCV2",
                                               "Переходы каналов между 2 тиражами без учета позиции", nullptr,
                                               D, nullptr, Make<TstChain2ChannelsAll>);
template <>
const TStatClassInfo
    TstChain2ChannelsPos::ClassInfo = ChainRow("TstChain2ChannelsPos", "SCP2",
                                               "Переходы каналов между 2 тиражами с учетом позиции", nullptr,
                                               SD, nullptr, Make<TstChain2ChannelsPos>);
template <>
const TStatClassInfo TstChain2Channel::ClassInfo = ChainRow("TstChain2Channel", "SCN%d",
                                                            "Переходы каналов между 2 тиражами в %d позиции",
                                                            "SCNx", SD, EveryPosition,
                                                            Make<TstChain2Channel>);
template <>
const TStatClassInfo
    TstChain3ChannelsPos::ClassInfo = ChainRow("TstChain3ChannelsPos", "SCP3",
                                               "Переходы каналов между 3 тиражами с учетом позиции", nullptr,
                                               SD, nullptr, Make<TstChain3ChannelsPos>);
template <>
const TStatClassInfo TstChain3Channel::ClassInfo = ChainRow("TstChain3Channel", "SCM%d",
                                                            "Переходы каналов между 3 тиражами в %d позиции",
                                                            "SCMx", SD, EveryPosition,
                                                            Make<TstChain3Channel>);
template <>
const TStatClassInfo
    TstChain2CnlCnt::ClassInfo = ChainRow("TstChain2CnlCnt", "SC2C%d",
                                          "Переходы кол-ва чисел в %d канале между 2 тиражами", "SC2Cx", D,
                                          ChannelRange, Make<TstChain2CnlCnt>);
template <>
const TStatClassInfo
    TstChain3CnlCnt::ClassInfo = ChainRow("TstChain3CnlCnt", "SC3C%d",
                                          "Переходы кол-ва чисел в %d канале между 3 тиражами", "SC3Cx", D,
                                          ChannelRange, Make<TstChain3CnlCnt>);
template <>
const TStatClassInfo
    TstChainChannels2InsideAll::ClassInfo = ChainRow("TstChainChannels2InsideAll", "SDA2",
                                                     "Переходы чисел в пределах каналов (все)", nullptr, D,
                                                     nullptr, Make<TstChainChannels2InsideAll>);
template <>
const TStatClassInfo
    TstChainChannels2InsideSuc::ClassInfo = ChainRow("TstChainChannels2InsideSuc", "SDG2",
                                                     "Переходы чисел в пределах каналов (N-M, удачные)",
                                                     nullptr, D, nullptr, Make<TstChainChannels2InsideSuc>);
template <>
const TStatClassInfo
    TstChainChannels2InsideBad::ClassInfo = ChainRow("TstChainChannels2InsideBad", "SDZ2",
                                                     "Переходы чисел в пределах каналов (N-0, не удачные)",
                                                     nullptr, D, nullptr, Make<TstChainChannels2InsideBad>);
template <>
const TStatClassInfo
    TstChainChannels2InsideCnt::ClassInfo = ChainRow("TstChainChannels2InsideCnt", "SDC2",
                                                     "Переходы чисел в пределах каналов (количество)",
                                                     nullptr, D, nullptr, Make<TstChainChannels2InsideCnt>);
template <>
const TStatClassInfo
    TstChain2SegmentsAll::ClassInfo = ChainRow("TstChain2SegmentsAll", "SSV2",
                                               "Переходы сегментов между 2 тиражами без учета позиции",
                                               nullptr, D, nullptr, Make<TstChain2SegmentsAll>);
template <>
const TStatClassInfo
    TstChain2SegmentsPos::ClassInfo = ChainRow("TstChain2SegmentsPos", "SSP2",
                                               "Переходы сегментов между 2 тиражами с учетом позиции",
                                               nullptr, SD, nullptr, Make<TstChain2SegmentsPos>);
template <>
const TStatClassInfo
    TstChain2Segment::ClassInfo = ChainRow("TstChain2Segment", "SSN%d",
                                           "Переходы сегментов между 2 тиражами в %d позиции", "SSNx", SD,
                                           EveryPosition, Make<TstChain2Segment>);
template <>
const TStatClassInfo
    TstChain3SegmentsPos::ClassInfo = ChainRow("TstChain3SegmentsPos", "SSP3",
                                               "Переходы сегментов между 3 тиражами с учетом позиции",
                                               nullptr, SD, nullptr, Make<TstChain3SegmentsPos>);
template <>
const TStatClassInfo
    TstChain3Segment::ClassInfo = ChainRow("TstChain3Segment", "SSM%d",
                                           "Переходы сегментов между 3 тиражами в %d позиции", "SSMx", SD,
                                           EveryPosition, Make<TstChain3Segment>);
template <>
const TStatClassInfo
    TstChain2SgmCnt::ClassInfo = ChainRow("TstChain2SgmCnt", "SS2C%d",
                                          "Переходы кол-ва чисел в %d сегменте между 2 тиражами", "SS2Cx", D,
                                          SegmentRange, Make<TstChain2SgmCnt>);
template <>
const TStatClassInfo
    TstChain3SgmCnt::ClassInfo = ChainRow("TstChain3SgmCnt", "SS3C%d",
                                          "Переходы кол-ва чисел в %d сегменте между 3 тиражами", "SS3Cx", D,
                                          SegmentRange, Make<TstChain3SgmCnt>);

// ---- Common part ---------------------------------------------------------------------

TCustomChainStat::TCustomChainStat(const TStatList& list, int32_t param) : TCustomStat(list, param) {
    for (int n = 0; n < 256; ++n)
        Element_[n] = static_cast<uint8_t>(n);
}

std::string TCustomChainStat::ValueText(const TStatEntry& e) const {
    const char* pattern = PaddedKeys() ? "%.2d" : "%d";
    const auto key = [&](uint16_t k) { return Format(pattern, static_cast<int>(k)); };
    if (Span() == 2)
        return key(e.Key1) + " -> " + key(e.Key2);
    return key(e.Key1) + "-" + key(e.Key2) + " -> " + key(e.Key3);
}

bool TCustomChainStat::DrawExists(int idx) const {
    return idx >= 0 && static_cast<std::size_t>(idx) < Draws.size() && Draws[idx].Number > 0;
}

bool TCustomChainStat::PositionRange(int& first, int& last) const {
    first = 0;
    last = NumbersInDraw - 1;
    if (Form() != TChainForm::OnePosition)
        return true;
    // A position outside 1..12 (only a hand-made parameter has one) looks at nothing.
    if (Param() < 1 || Param() > NumbersInDraw)
        return false;
    first = last = Param() - 1;
    return true;
}

void TCustomChainStat::AddTransition(TStatDrawArray& stat, uint16_t from, uint16_t to) {
    Entry.Key1 = from;
    Entry.Key2 = to;
    Merge(stat, true);
}

void TCustomChainStat::AddTransition(TStatDrawArray& stat, uint16_t first, uint16_t second, uint16_t to) {
    Entry.Key1 = first;
    Entry.Key2 = second;
    Entry.Key3 = to;
    Merge(stat, true);
}

void TCustomChainStat::BuildMatchTable(const TStatDrawArray& selected, int /*lastIdx*/) {
    TElementSet targets;
    for (const TStatEntry& e : selected)
        if (const uint16_t t = TargetOf(e); t < targets.size())
            targets.set(t);
    for (int n = 0; n < 256; ++n)
        Hit_[n] = targets.test(Element_[n]) ? 1 : 0;
}

// The archive does not change while an instance lives, so the table is made once
// per selection and window end.
void TCustomChainStat::Prepare(const TStatDrawArray& selected, int lastIdx) {
    if (!Watch_.Changed(selected) && lastIdx == TableIdx_)
        return;
    ByCount_ = false;
    Hit_.fill(0);
    Weight_.fill(0);
    CountHit_.fill(0);
    BuildMatchTable(selected, lastIdx);
    TableIdx_ = lastIdx;
}

bool TCustomChainStat::Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool,
                               bool) {
    Prepare(selected, lastIdx);
    return MatchesPrepared(comb);
}

std::size_t TCustomChainStat::KeepMatching(std::span<const TCombination> in, TCombination* out,
                                           const TStatDrawArray& selected, int lastIdx, bool, bool exclude) {
    Prepare(selected, lastIdx);
    TCombination* const first = out;
    for (const TCombination& c : in) {
        const bool keep = MatchesPrepared(c) != exclude;
        *out = c;
        out += keep ? 1 : 0;
    }
    return static_cast<std::size_t>(out - first);
}

TCustomChainChannelsStat::TCustomChainChannelsStat(const TStatList& list, int32_t param)
    : TChannelsKind(list, param) {
    for (int n = 0; n < 256; ++n)
        Element_[n] = ChannelOf(static_cast<uint8_t>(n));
}

TCustomChainSegmentsStat::TCustomChainSegmentsStat(const TStatList& list, int32_t param)
    : TSegmentsKind(list, param) {
    for (int n = 0; n < 256; ++n)
        Element_[n] = SegmentOf(static_cast<uint8_t>(n));
}

// ---- Transitions by element --------------------------------------------------------

template <class Elements>
void TChainTransitions2<Elements>::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat,
                                           TRunState& runState, TLastValueArray& lastValues) {
    Elements::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    if (!this->DrawExists(drawIdx - 1))
        return;
    TDrawRecord before;
    this->GetDraw(drawIdx - 1, sorted, before);
    const TDrawRecord& newest = this->RefDraw;
    const TDrawRecord& current = this->CurDraw;
    if (this->Form() == TChainForm::AnyPosition) {
        TElementSet inNewest;
        for (const uint8_t z : newest.Numbers)
            inNewest.set(this->ElementOf(z));
        for (const uint8_t x : before.Numbers) {
            if (!inNewest.test(this->ElementOf(x)))
                continue;
            for (const uint8_t y : current.Numbers)
                this->AddTransition(stat, this->ElementOf(x), this->ElementOf(y));
        }
        return;
    }
    int first = 0, last = 0;
    if (!this->PositionRange(first, last))
        return;
    for (int i = first; i <= last; ++i)
        if (this->ElementOf(before.Numbers[i]) == this->ElementOf(newest.Numbers[i]))
            this->AddTransition(stat, this->ElementOf(before.Numbers[i]),
                                this->ElementOf(current.Numbers[i]));
}

template <class Elements>
void TChainTransitions3<Elements>::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat,
                                           TRunState& runState, TLastValueArray& lastValues) {
    Elements::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    int first = 0, last = 0;
    if (!this->DrawExists(drawIdx - 1) || !this->DrawExists(drawIdx - 2) || !this->PositionRange(first, last))
        return;
    TDrawRecord before, twoBefore, newestButOne;
    this->GetDraw(drawIdx - 1, sorted, before);
    this->GetDraw(drawIdx - 2, sorted, twoBefore);
    this->GetDraw(lastIdx - 1, sorted, newestButOne);
    const auto e = [this](uint8_t n) { return this->ElementOf(n); };
    for (int i = first; i <= last; ++i)
        if (e(before.Numbers[i]) == e(this->RefDraw.Numbers[i]) &&
            e(twoBefore.Numbers[i]) == e(newestButOne.Numbers[i]))
            this->AddTransition(stat, e(twoBefore.Numbers[i]), e(before.Numbers[i]),
                                e(this->CurDraw.Numbers[i]));
}

template class TChainTransitions2<TCustomChainStat>;
template class TChainTransitions2<TCustomChainChannelsStat>;
template class TChainTransitions2<TCustomChainSegmentsStat>;
template class TChainTransitions3<TCustomChainStat>;
template class TChainTransitions3<TCustomChainChannelsStat>;
template class TChainTransitions3<TCustomChainSegmentsStat>;

// ---- Counts in one channel or segment ------------------------------------------------

template <class Elements, int N> int TChainCounts<Elements, N>::CountIn(int idx) const {
    TDrawRecord d;
    this->GetDraw(idx, false, d);
    int count = 0;
    for (const uint8_t n : d.Numbers)
        count += this->ElementOf(n) == this->Param() ? 1 : 0;
    return count;
}

template <class Elements, int N>
void TChainCounts<Elements, N>::SeedValues(int lastIdx, TStatDrawArray& stat) {
    Elements::SeedValues(lastIdx, stat);
    int most = 0;
    if constexpr (std::is_base_of_v<TCustomChainChannelsStat, Elements>)
        most = this->Width();
    const auto newest = static_cast<uint16_t>(CountIn(lastIdx));
    const auto newestButOne = static_cast<uint16_t>(CountIn(lastIdx - 1));
    for (int k = 0; k <= most; ++k) {
        if constexpr (N == 2) {
            this->Entry.Key1 = newest;
            this->Entry.Key2 = static_cast<uint16_t>(k);
        } else {
            this->Entry.Key1 = newestButOne;
            this->Entry.Key2 = newest;
            this->Entry.Key3 = static_cast<uint16_t>(k);
        }
        this->Merge(stat, false);
    }
}

template <class Elements, int N>
void TChainCounts<Elements, N>::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat,
                                        TRunState& runState, TLastValueArray& lastValues) {
    Elements::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    if (!this->DrawExists(drawIdx - 1) || (N == 3 && !this->DrawExists(drawIdx - 2)))
        return;
    const auto before = static_cast<uint16_t>(CountIn(drawIdx - 1));
    const auto current = static_cast<uint16_t>(CountIn(drawIdx));
    if (before != CountIn(lastIdx))
        return;
    if constexpr (N == 2) {
        this->AddTransition(stat, before, current);
    } else {
        const auto twoBefore = static_cast<uint16_t>(CountIn(drawIdx - 2));
        if (twoBefore == CountIn(lastIdx - 1))
            this->AddTransition(stat, twoBefore, before, current);
    }
}

template <class Elements, int N>
void TChainCounts<Elements, N>::BuildMatchTable(const TStatDrawArray& selected, int /*lastIdx*/) {
    this->ByCount_ = true;
    for (int n = 0; n < 256; ++n)
        this->Weight_[n] = this->ElementOf(static_cast<uint8_t>(n)) == this->Param() ? 1 : 0;
    for (const TStatEntry& e : selected)
        if (const uint16_t t = this->TargetOf(e); t <= NumbersInDraw)
            this->CountHit_[t] = 1;
}

template class TChainCounts<TCustomChainChannelsStat, 2>;
template class TChainCounts<TCustomChainChannelsStat, 3>;
template class TChainCounts<TCustomChainSegmentsStat, 2>;
template class TChainCounts<TCustomChainSegmentsStat, 3>;

// ---- Numbers followed inside their channel --------------------------------------------

void TCustomChainChannels2Inside::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat,
                                          TRunState& runState, TLastValueArray& lastValues) {
    TCustomChainStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    if (!DrawExists(drawIdx - 1))
        return;
    TDrawRecord before;
    GetDraw(drawIdx - 1, false, before);
    TElementSet inNewest;
    for (const uint8_t z : RefDraw.Numbers)
        inNewest.set(z);
    const int mode = Mode();
    for (const uint8_t x : before.Numbers) {
        if (!inNewest.test(x))
            continue;
        uint16_t followers = 0;
        for (const uint8_t y : CurDraw.Numbers) {
            if (ChannelOf(y) != ChannelOf(x))
                continue;
            ++followers;
            if (mode == 0 || mode == 1)
                AddTransition(stat, x, y);
        }
        if (mode == 3)
            AddTransition(stat, x, followers);
        else if (followers == 0 && (mode == 0 || mode == 2))
            AddTransition(stat, x, 0);
    }
}

// A selected number of the newest draw stands for its whole channel when the row
// counts followers or has none (k2 = 0); otherwise for the follower itself.
void TCustomChainChannels2Inside::BuildMatchTable(const TStatDrawArray& selected, int lastIdx) {
    TDrawRecord newest;
    GetDraw(lastIdx, false, newest);
    TElementSet inNewest;
    for (const uint8_t z : newest.Numbers)
        inNewest.set(z);
    const bool byChannel = Mode() == 3;
    for (const TStatEntry& e : selected) {
        if (e.Key1 >= inNewest.size() || !inNewest.test(e.Key1))
            continue;
        if (byChannel || (e.Key1 != 0 && e.Key2 == 0)) {
            const uint8_t channel = ChannelOf(static_cast<uint8_t>(e.Key1));
            for (int n = 0; n < 256; ++n)
                Hit_[n] |= ChannelOf(static_cast<uint8_t>(n)) == channel ? 1 : 0;
        } else if (e.Key2 < Hit_.size()) {
            Hit_[e.Key2] = 1;
        }
    }
}

} // namespace kumby
