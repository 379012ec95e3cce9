#pragma once

// The groupings a number belongs to under the settings as tables over every byte a
// number can be (its channel, its segment digit), and the base of the values of an
// element with a length that the series and periods families share.

#include "model/GameConstants.h"
#include "stats/VexoFilters.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace kumby {

// An answer for every byte a number can be, damaged numbers included.
using TNumberTable = std::array<uint8_t, 256>;

// The channel of every number for the width, the width taken between 0 and 255;
// a width of 0 puts every number into channel 0, so nothing divides by it.
TNumberTable ChannelTable(int32_t width);
// The segment digit of every number 1..24; 0 for bytes outside 1..24.
TNumberTable SegmentTable(const std::array<uint8_t, MaxNumber>& segments);

// Whether any of the 12 numbers has a hit in the table (no early exit: where a hit
// falls is random, and a mispredicted exit costs more than the reads it saves).
inline bool AnyNumberHit(const TCombination& comb, const TNumberTable& hits) {
    unsigned any = 0;
    for (const uint8_t n : comb)
        any |= hits[n];
    return any != 0;
}

// A filter pass over a table of hits per number: every combination is written, the
// output advancing only past the kept ones. Returns how many were kept.
std::size_t KeepByNumberHits(std::span<const TCombination> in, TCombination* out, const TNumberTable& hits,
                             bool exclude);

// The groupings whose elements the series and periods families follow.
enum class TElementKind : uint8_t { Numbers, Channels, Segments };

// Values of an element with a length (a run, a period): Key1 = the element, Key2 =
// the length, shown "7 x 3", a channel "02 x 3". The element table and range come
// from the settings when the method is created. A combination matches when one of
// its numbers has a hit in a table that the derived class makes once per selection,
// window end and direction.
class TCustomElementStat : public TCustomStat {
public:
    TCustomElementStat(const TStatList& list, int32_t param, TElementKind kind);

    std::string ValueText(const TStatEntry& e) const override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;
    std::size_t KeepMatching(std::span<const TCombination> in, TCombination* out,
                             const TStatDrawArray& selected, int lastIdx, bool sorted, bool exclude) override;

    uint8_t ElementOf(uint8_t number) const { return Element_[number]; }
    // The elements the settings list: Lowest()..Highest(), none when Lowest() > Highest().
    int32_t Lowest() const { return Lowest_; }
    int32_t Highest() const { return Highest_; }

protected:
    // Which number bytes make a combination match the selection.
    virtual void TableHits(const TStatDrawArray& selected, int lastIdx, bool exclude, TNumberTable& hits) = 0;
    // The elements that the numbers of a draw have, as a set.
    std::array<bool, 256> ElementsOf(const uint8_t* numbers) const;
    // The same for the listed elements: bit e - Lowest() for the first 32 of them.
    uint32_t ListedElementsOf(const uint8_t* numbers) const {
        uint32_t mask = 0;
        for (int i = 0; i < NumbersInDraw; ++i) {
            const uint32_t bit = static_cast<uint32_t>(Element_[numbers[i]] - Lowest_);
            mask |= bit < 32 ? uint32_t{1} << bit : 0;
        }
        return mask;
    }

private:
    void RefreshHits(const TStatDrawArray& selected, int lastIdx, bool exclude);

    TNumberTable Element_{};
    int32_t Lowest_ = 1;
    int32_t Highest_ = 0;
    bool Padded_ = false;
    TSelectionWatch Watch_;
    int HitsIdx_ = 0;
    bool HitsExclude_ = false;
    TNumberTable Hits_{};
};

} // namespace kumby
