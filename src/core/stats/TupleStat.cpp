#include "TupleStat.h"

#include "model/VexoUtils.h"

#include <algorithm>

namespace kumby {

void TDrawTuples::Clear() {
    Size_ = 0;
    std::fill(std::begin(Slot_), std::end(Slot_), uint16_t{0});
}

void TDrawTuples::Add(uint64_t key) {
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

bool TTupleSelection::Follow(const TStatDrawArray& selected, int k) {
    if (!Watch_.Changed(selected) && K_ == k)
        return Usable_;
    K_ = k;
    Usable_ = true;
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
    }
    return true;
}

} // namespace kumby
