#include "NumberElements.h"

#include "model/VexoUtils.h"
#include "stats/StatList.h"
#include "stats/families/VF_Chns.h"
#include "stats/families/VF_Segm.h"

#include <algorithm>

namespace kumby {

TNumberTable ChannelTable(int32_t width) {
    const int w = std::clamp<int32_t>(width, 0, 255);
    TNumberTable table{};
    for (int n = 0; n < 256; ++n)
        table[n] = static_cast<uint8_t>(GroupOf(n, w));
    return table;
}

TNumberTable SegmentTable(const std::array<uint8_t, MaxNumber>& segments) {
    TNumberTable table{};
    for (int n = 1; n <= MaxNumber; ++n)
        table[n] = segments[n - 1];
    return table;
}

std::size_t KeepByNumberHits(std::span<const TCombination> in, TCombination* out, const TNumberTable& hits,
                             bool exclude) {
    TCombination* const first = out;
    for (const TCombination& c : in) {
        const bool keep = AnyNumberHit(c, hits) != exclude;
        *out = c;
        out += keep ? 1 : 0;
    }
    return static_cast<std::size_t>(out - first);
}

// ---- Element values --------------------------------------------------------------

TCustomElementStat::TCustomElementStat(const TStatList& list, int32_t param, TElementKind kind)
    : TCustomStat(list, param) {
    switch (kind) {
    case TElementKind::Numbers:
        for (int n = 0; n < 256; ++n)
            Element_[n] = static_cast<uint8_t>(n);
        Lowest_ = 1;
        Highest_ = MaxNumber;
        break;
    case TElementKind::Channels:
        Element_ = ChannelTable(list.Config().ChannelSize);
        ChannelRange(list, Lowest_, Highest_);
        Padded_ = true;
        break;
    case TElementKind::Segments:
        Element_ = SegmentTable(list.Config().MatrixSegments);
        SegmentRange(list, Lowest_, Highest_);
        break;
    }
}

std::string TCustomElementStat::ValueText(const TStatEntry& e) const {
    return Format(Padded_ ? "%.2d x %d" : "%d x %d", e.Key1, e.Key2);
}

std::array<bool, 256> TCustomElementStat::ElementsOf(const uint8_t* numbers) const {
    std::array<bool, 256> present{};
    for (int i = 0; i < NumbersInDraw; ++i)
        present[Element_[numbers[i]]] = true;
    return present;
}

void TCustomElementStat::RefreshHits(const TStatDrawArray& selected, int lastIdx, bool exclude) {
    // Every check runs, so the watch always knows the selection seen last.
    const bool changed = Watch_.Changed(selected);
    if (!changed && lastIdx == HitsIdx_ && exclude == HitsExclude_)
        return;
    HitsIdx_ = lastIdx;
    HitsExclude_ = exclude;
    Hits_.fill(0);
    TableHits(selected, lastIdx, exclude, Hits_);
}

bool TCustomElementStat::Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx,
                                 bool /*sorted*/, bool exclude) {
    RefreshHits(selected, lastIdx, exclude);
    return AnyNumberHit(comb, Hits_);
}

std::size_t TCustomElementStat::KeepMatching(std::span<const TCombination> in, TCombination* out,
                                             const TStatDrawArray& selected, int lastIdx, bool /*sorted*/,
                                             bool exclude) {
    RefreshHits(selected, lastIdx, exclude);
    return KeepByNumberHits(in, out, Hits_, exclude);
}

} // namespace kumby
