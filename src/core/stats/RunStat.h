#pragma once

// Runs of consecutive items as tuple values: from the items that 12 numbers give
// (their adjacent differences, their channels, the lengths of their sequences ...),
// every run of RunLength consecutive items is one value, the items in Key1..KeyN
// and 0 in the words a run does not fill. Shown as the items joined by ":".
//
// Self supplies `int ItemsOf(const uint8_t* numbers, uint8_t* items)`, which writes
// at most 12 items in order and returns how many; and may set
// `static constexpr bool TrackFirstRunOnly`, for items of which one draw gives the
// same run several times: then only a draw's first run measures a gap; and
// `static constexpr bool FromCombination`, for items that 12 numbers alone give:
// then a combination gives its runs as a draw does.

#include "stats/VexoFilters.h"

#include <span>

namespace kumby {

template <class Self, class Kind, int RunLength> class TRunStat : public Kind {
    static_assert(RunLength >= 1 && RunLength <= 4, "a run fills at most the four key words");

public:
    using Kind::Kind;
    static constexpr bool TrackFirstRunOnly = false;
    static constexpr bool FromCombination = false;

    std::string ValueText(const TStatEntry& e) const override {
        const uint16_t keys[4] = {e.Key1, e.Key2, e.Key3, e.Key4};
        std::string text = std::to_string(keys[0]);
        for (int i = 1; i < RunLength; ++i)
            text += ":" + std::to_string(keys[i]);
        return text;
    }

    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override {
        Kind::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
        uint8_t items[NumbersInDraw];
        const int count = self().ItemsOf(this->CurDraw.Numbers, items);
        for (int p = 0; p + RunLength <= count; ++p) {
            SetRun(items + p);
            this->Merge(stat, !Self::TrackFirstRunOnly || p == 0);
        }
    }

    void AddCombination(const TCombination& comb, TStatDrawArray& stat) override {
        Kind::AddCombination(comb, stat);
        if constexpr (Self::FromCombination) {
            uint8_t items[NumbersInDraw];
            const int count = self().ItemsOf(comb.data(), items);
            if constexpr (RunLength == 1) {
                this->MergeEachNumber(stat, std::span<const uint8_t>(items, static_cast<std::size_t>(count)),
                                      false);
            } else {
                for (int p = 0; p + RunLength <= count; ++p) {
                    SetRun(items + p);
                    this->Merge(stat, false);
                }
            }
        }
    }

    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) override {
        uint8_t items[NumbersInDraw];
        const int count = self().ItemsOf(comb.data(), items);
        for (int p = 0; p + RunLength <= count; ++p) {
            uint16_t keys[4] = {};
            for (int i = 0; i < RunLength; ++i)
                keys[i] = items[p + i];
            if (TCustomStat::HasKeys(selected, keys[0], keys[1], keys[2], keys[3]))
                return true;
        }
        return false;
    }

private:
    void SetRun(const uint8_t* run) {
        uint16_t keys[4] = {};
        for (int i = 0; i < RunLength; ++i)
            keys[i] = run[i];
        this->Entry.Key1 = keys[0];
        this->Entry.Key2 = keys[1];
        this->Entry.Key3 = keys[2];
        this->Entry.Key4 = keys[3];
    }
    Self& self() { return static_cast<Self&>(*this); }
};

} // namespace kumby
