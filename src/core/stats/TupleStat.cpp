#include "TupleStat.h"

#include "model/VexoUtils.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string>

namespace kumby {

namespace {

// Ranks of the texts of items 0..255 among each other: followed by ":", as every item
// but the last stands in a caption, and alone, as the last does.
struct TItemTextRanks {
    std::array<uint8_t, 256> Inner{};
    std::array<uint8_t, 256> Last{};

    TItemTextRanks() {
        RankBy(Inner, ":");
        RankBy(Last, "");
    }
    static void RankBy(std::array<uint8_t, 256>& ranks, const std::string& after) {
        std::array<std::string, 256> texts;
        std::array<uint8_t, 256> items{};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i] = std::to_string(i) + after;
            items[i] = static_cast<uint8_t>(i);
        }
        std::sort(items.begin(), items.end(), [&](uint8_t a, uint8_t b) { return texts[a] < texts[b]; });
        for (std::size_t r = 0; r < items.size(); ++r)
            ranks[items[r]] = static_cast<uint8_t>(r);
    }
};

} // namespace

// Two captions first differ at some item. Before the last, the item's text runs up to a
// ":", which no digit matches, so the texts compare as the item texts with their ":";
// at the last item they compare as the item texts alone.
bool TupleCaptionOrder(const uint16_t* keys, int k, uint64_t& key) {
    static const TItemTextRanks ranks;
    uint64_t order = 0;
    for (int i = 0; i < k; ++i) {
        if (keys[i] >= ranks.Inner.size())
            return false;
        order = order << 8 | (i + 1 < k ? ranks.Inner[keys[i]] : ranks.Last[keys[i]]);
    }
    key = order;
    return true;
}

void TDrawTuples::Clear() {
    Size_ = 0;
    if (Hashed_)
        std::fill(std::begin(Slot_), std::end(Slot_), uint16_t{0});
    Hashed_ = false;
}

void TDrawTuples::Add(uint64_t key) {
    Hashed_ = true;
    // Fibonacci hashing; linear probing finds a free slot, as at most half are taken.
    auto slot = static_cast<unsigned>((key * 0x9E3779B97F4A7C15ull) >> 54);
    while (Slot_[slot] != 0) {
        const int t = Slot_[slot] - 1;
        if (Keys_[t] == key) {
            ++Counts_[t];
            return;
        }
        slot = (slot + 1) & (Slots - 1);
    }
    Keys_[Size_] = key;
    Counts_[Size_] = 1;
    Slot_[slot] = static_cast<uint16_t>(++Size_);
}

bool TTupleSelection::Follow(const TStatDrawArray& selected, int k, bool rising) {
    if (!Watch_.Changed(selected) && K_ == k && Rising_ == rising)
        return Usable_;
    K_ = k;
    Rising_ = rising;
    Usable_ = true;
    std::vector<TCounts> risingTuples;
    std::vector<TCounts> risingSets; // the same tuples as bits
    bool repeats = false;
    for (int length = 1; length <= k; ++length) {
        const std::size_t bits = std::size_t{1} << (ItemBits * length);
        Bits_[length - 1].assign((bits + 63) / 64, 0);
    }
    for (const TStatEntry& e : selected) {
        const uint16_t keys[4] = {e.Key1, e.Key2, e.Key3, e.Key4};
        bool beyond = false; // a word past the tuple is set: no combination has it
        for (int i = k; i < 4; ++i)
            beyond = beyond || keys[i] != 0;
        if (beyond)
            continue;
        uint32_t code = 0;
        for (int i = 0; i < k; ++i) {
            if (keys[i] >= ItemLimit) {
                Usable_ = false;
                return false;
            }
            code = code << ItemBits | keys[i];
            Bits_[i][code >> 6] |= uint64_t{1} << (code & 63);
        }
        if (!rising)
            continue;
        TCounts counts{};
        TCounts set{};
        bool falls = false;
        for (int i = 0; i < k; ++i) {
            falls = falls || (i > 0 && keys[i] < keys[i - 1]);
            counts[keys[i] >> 4] += uint64_t{1} << (4 * (keys[i] & 15));
            set[0] |= uint64_t{1} << keys[i];
        }
        if (falls)
            continue;
        repeats = repeats || std::popcount(set[0]) < k;
        risingTuples.push_back(counts);
        risingSets.push_back(set);
    }
    if (repeats)
        TableRising(risingTuples, false);
    else
        TableRising(risingSets, true);
    return true;
}

void TTupleSelection::TableRising(std::span<const TCounts> tuples, bool byPresence) {
    ByPresence_ = byPresence;
    Words_ = static_cast<int>((tuples.size() + 63) / 64);
    Used_ = 0;
    TCounts any{};
    for (const TCounts& t : tuples)
        for (std::size_t w = 0; w < any.size(); ++w)
            any[w] |= t[w];
    for (uint8_t word = 0; word < 2; ++word)
        for (uint8_t shift = 0; shift < 64; shift += 8)
            if ((any[word] >> shift & 0xFF) != 0) {
                UsedWord_[static_cast<std::size_t>(Used_)] = word;
                UsedShift_[static_cast<std::size_t>(Used_)] = shift;
                ++Used_;
            }
    const auto words = static_cast<std::size_t>(Words_);
    Rows_.assign(static_cast<std::size_t>(Used_) * 256 * words, 0);
    for (std::size_t u = 0; u < static_cast<std::size_t>(Used_); ++u) {
        for (unsigned value = 0; value < 256; ++value) {
            uint64_t* row = &Rows_[(u * 256 + value) * words];
            for (std::size_t t = 0; t < tuples.size(); ++t) {
                const auto need = static_cast<unsigned>(tuples[t][UsedWord_[u]] >> UsedShift_[u] & 0xFF);
                const bool reached = byPresence
                                         ? (value & need) == need
                                         : (value & 0x0F) >= (need & 0x0F) && (value >> 4) >= (need >> 4);
                if (reached)
                    row[t >> 6] |= uint64_t{1} << (t & 63);
            }
        }
    }
}

} // namespace kumby
