#pragma once

// Channels family: the numbers 1..24 cut into consecutive channels of the
// configured width; which channels a draw fills, how many numbers fall into each,
// how many channels are filled, and the channels of two to four numbers together.

#include "model/VexoUtils.h"
#include "stats/SingleValueStat.h"
#include "stats/StatList.h"
#include "stats/TupleStat.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

namespace kumby {

// The channel width of the settings and what follows from it, fixed when the
// method is created. A width below 1 (only a hand-made configuration has one)
// puts every number into channel 0 and lists no channel, so nothing divides by it.
template <class Kind> class TChannelsKind : public Kind {
public:
    TChannelsKind(const TStatList& list, int32_t param);

    int Width() const { return Width_; }
    // ceil(24 / width); 0 for a width below 1.
    int ChannelCount() const { return Count_; }
    uint8_t ChannelOf(uint8_t number) const { return Channel_[number]; }
    // "03 [9-12]"; the upper bound is not capped at 24 ("05 [21-25]" for width 5).
    std::string ChannelLabel(int channel) const;

protected:
    uint8_t Width_ = 0;
    int Count_ = 0;
    std::array<uint8_t, 256> Channel_{};      // channel of every byte a number can be
    std::array<uint8_t, MaxNumber> Listed_{}; // channels 1..Count_
};

// The parameter range of the methods with one channel: channels 1..ceil(24 / width),
// none for a width of 0 or less.
void ChannelRange(const TStatList& list, int32_t& min, int32_t& max);

// In the header, so that every family can take the channels onto its own kind.
template <class Kind>
TChannelsKind<Kind>::TChannelsKind(const TStatList& list, int32_t param) : Kind(list, param) {
    const int32_t width = list.Config().ChannelSize;
    Width_ = static_cast<uint8_t>(std::clamp<int32_t>(width, 0, 255));
    Count_ = Width_ == 0 ? 0 : GroupOf(MaxNumber, Width_);
    for (int n = 0; n < 256; ++n)
        Channel_[n] = static_cast<uint8_t>(GroupOf(n, Width_));
    for (int c = 0; c < Count_; ++c)
        Listed_[c] = static_cast<uint8_t>(c + 1);
}

template <class Kind> std::string TChannelsKind<Kind>::ChannelLabel(int channel) const {
    return Format("%.2d [%d-%d]", channel, (channel - 1) * Width_ + 1, channel * Width_);
}

class TCustomChannelsStat : public TChannelsKind<TCustomNumbersStat> {
public:
    using TChannelsKind::TChannelsKind;
};

class TCustomChannelsGraphStat : public TChannelsKind<TCustomGraphStat> {
public:
    using TChannelsKind::TChannelsKind;
};

class TstChannels : public TPerElementStat<TstChannels, TCustomChannelsStat> {
public:
    using TPerElementStat::TPerElementStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    std::string ValueText(const TStatEntry& e) const override;
    // The first word of the text: the label "03 [9-12]" reads as 3.
    int32_t ParseValue(std::string_view text) const override;
    uint16_t ElementOf(uint8_t number) const { return ChannelOf(number); }
};

// Every channel with how many of the numbers it holds, empty channels included.
class TstChanValues : public TPerElementStat<TstChanValues, TCustomChannelsStat> {
public:
    using TPerElementStat::TPerElementStat;
    static const TStatClassInfo ClassInfo;
    static constexpr bool CountInKey2 = true;
    static constexpr bool ListEveryElement = true;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    std::string ValueText(const TStatEntry& e) const override;
    uint16_t ElementOf(uint8_t number) const { return ChannelOf(number); }
    std::span<const uint8_t> ListedElements() const {
        return {Listed_.data(), static_cast<std::size_t>(Count_)};
    }
};

// How many distinct channels the numbers fill.
class TstChanCount : public TSingleValueStat<TstChanCount, TCustomChannelsGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    int32_t ValueOf(const uint8_t* numbers) const;
};

// How many of the numbers lie in channel Param.
class TstChnValCnt : public TSingleValueStat<TstChnValCnt, TCustomChannelsGraphStat> {
public:
    using TSingleValueStat::TSingleValueStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    int32_t ValueOf(const uint8_t* numbers) const;
};

// The channels of K numbers of a draw: of every choice of K positions (Mix) or of
// K adjacent positions (Seq).
template <int K, TTupleForm Form>
class TCustomChannelTupleStat
    : public TElementTupleStat<TCustomChannelTupleStat<K, Form>, TCustomChannelsStat, K, Form> {
public:
    using TElementTupleStat<TCustomChannelTupleStat<K, Form>, TCustomChannelsStat, K,
                            Form>::TElementTupleStat;
    static constexpr bool ItemsRise = true;
    uint8_t ElementOf(uint8_t number) const { return this->ChannelOf(number); }
};

class TstCombChnMix2 : public TCustomChannelTupleStat<2, TTupleForm::Subsets> {
public:
    using TCustomChannelTupleStat::TCustomChannelTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombChnMix3 : public TCustomChannelTupleStat<3, TTupleForm::Subsets> {
public:
    using TCustomChannelTupleStat::TCustomChannelTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombChnMix4 : public TCustomChannelTupleStat<4, TTupleForm::Subsets> {
public:
    using TCustomChannelTupleStat::TCustomChannelTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombChnSeq2 : public TCustomChannelTupleStat<2, TTupleForm::Runs> {
public:
    using TCustomChannelTupleStat::TCustomChannelTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombChnSeq3 : public TCustomChannelTupleStat<3, TTupleForm::Runs> {
public:
    using TCustomChannelTupleStat::TCustomChannelTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombChnSeq4 : public TCustomChannelTupleStat<4, TTupleForm::Runs> {
public:
    using TCustomChannelTupleStat::TCustomChannelTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

} // namespace kumby
