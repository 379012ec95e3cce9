#pragma once

// A registry over an archive built in code, and the three ways the program drives
// a method: a window of draws, the full set, and combination tests.

#include "app/MainSettings.h"
#include "model/VexoUtils.h"
#include "stats/StatList.h"
#include "stats/StatTable.h"
#include "stats/VexoFilters.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace kumby::testing {

// Calls f for every ascending combination of the full set, in the order of the full set.
template <typename F> void ForEachCombination(F&& f) {
    TCombination c;
    for (int i = 0; i < NumbersInDraw; ++i)
        c[i] = static_cast<uint8_t>(i + 1);
    while (true) {
        f(std::as_const(c));
        int i = NumbersInDraw - 1;
        while (i >= 0 && c[i] == MaxNumber - (NumbersInDraw - 1) + i)
            --i;
        if (i < 0)
            return;
        ++c[i];
        for (int j = i + 1; j < NumbersInDraw; ++j)
            c[j] = static_cast<uint8_t>(c[j - 1] + 1);
    }
}

// Owns everything a registry refers to; the registry is built with the default settings.
struct TStatFixture {
    TDrawsArray Draws;
    TConfigData Config;
    TShreddingSettings Shredding;
    TStatList List{Draws, Config, Shredding};

    TStatFixture() { List.Rebuild(); }

    std::unique_ptr<TCustomStat> Create(std::string_view code) const {
        const int i = List.FindByCode(code);
        if (i < 0) {
            ADD_FAILURE() << "no method " << code;
            return nullptr;
        }
        return List.CreateInstance(static_cast<std::size_t>(i));
    }
    int LastIdx() const { return static_cast<int>(Draws.size()) - 1; }
};

// The window contract: seed, then every draw oldest first with one RunState and one
// LastValues for the whole window.
inline TStatDrawArray EvaluateWindow(TCustomStat& stat, int firstIdx, int lastIdx, bool sorted) {
    TStatDrawArray result;
    TLastValueArray lastValues;
    TRunState runState;
    stat.SeedValues(lastIdx, result);
    for (int idx = firstIdx; idx <= lastIdx; ++idx)
        stat.AddDraw(idx, lastIdx, sorted, result, runState, lastValues);
    return result;
}

// The values of one combination as AddCombination gives them.
inline TStatDrawArray CombinationValues(TCustomStat& stat, const TCombination& comb) {
    TStatDrawArray result;
    stat.AddCombination(comb, result);
    return result;
}

inline const TStatEntry* FindKey(const TStatDrawArray& list, uint16_t k1, uint16_t k2 = 0, uint16_t k3 = 0,
                                 uint16_t k4 = 0) {
    for (const TStatEntry& e : list)
        if (e.Key1 == k1 && e.Key2 == k2 && e.Key3 == k3 && e.Key4 == k4)
            return &e;
    return nullptr;
}

// The listed value with that Key1 (other keys 0); a failure and zeros when it is missing.
inline TStatEntry ValueOf(const TStatDrawArray& list, uint16_t k1) {
    if (const TStatEntry* e = FindKey(list, k1))
        return *e;
    ADD_FAILURE() << "value " << k1 << " is not listed";
    return {};
}

// Count per key, for comparing value lists regardless of order.
inline std::map<uint64_t, int64_t> CountsByKey(const TStatDrawArray& list, bool occurredOnly) {
    std::map<uint64_t, int64_t> counts;
    for (const TStatEntry& e : list)
        if (!occurredOnly || e.Count != 0)
            counts[StatKey(e)] += e.Count;
    return counts;
}

inline TStatEntry KeyEntry(uint64_t key) {
    TStatEntry e;
    e.Key1 = static_cast<uint16_t>(key);
    e.Key2 = static_cast<uint16_t>(key >> 16);
    e.Key3 = static_cast<uint16_t>(key >> 32);
    e.Key4 = static_cast<uint16_t>(key >> 48);
    return e;
}

// A family's fixture: a registry with the default settings, draws added one at a
// time, and the value keys written as their four words.
class TFamilyTest : public ::testing::Test {
protected:
    static uint64_t Key(uint16_t k1, uint16_t k2 = 0, uint16_t k3 = 0, uint16_t k4 = 0) {
        return uint64_t{k1} | uint64_t{k2} << 16 | uint64_t{k3} << 32 | uint64_t{k4} << 48;
    }
    static TStatEntry Keys(uint16_t k1, uint16_t k2 = 0, uint16_t k3 = 0, uint16_t k4 = 0) {
        return KeyEntry(Key(k1, k2, k3, k4));
    }
    // The table of a window of one new draw.
    TStatDrawArray OneDraw(std::string_view code, const TCombination& numbers, bool sorted = false) {
        F.Draws.push_back(DrawOf(static_cast<int32_t>(F.Draws.size()) + 1, numbers));
        auto stat = F.Create(code);
        return EvaluateWindow(*stat, F.LastIdx(), F.LastIdx(), sorted);
    }
    std::vector<std::string> Texts(std::string_view code, const TStatDrawArray& stat) const {
        auto method = F.Create(code);
        std::vector<std::string> texts;
        for (const TStatEntry& e : stat)
            texts.push_back(method->ValueText(e));
        return texts;
    }
    // The values of the window from draw firstIdx to the newest.
    TStatDrawArray Window(std::string_view code, int firstIdx = 0) {
        auto stat = F.Create(code);
        return EvaluateWindow(*stat, firstIdx, F.LastIdx(), false);
    }
    // Values of one element (Key1) by their length (Key2): length -> count.
    static std::map<int, int> LengthsOf(const TStatDrawArray& stat, uint16_t element) {
        std::map<int, int> lengths;
        for (const TStatEntry& e : stat)
            if (e.Key1 == element)
                lengths[e.Key2] += e.Count;
        return lengths;
    }
    // The table of a method over the last `len` draws, `offset` draws back.
    TStatTable TableOf(std::string_view code, int offset, int len) const {
        auto stat = F.Create(code);
        return ComputeStatTable(std::move(stat), F.Draws, StatWindow(F.Draws.size(), offset, len), false,
                                nullptr, F.Config, false);
    }
    struct TExpectedRow {
        std::string Text;
        int32_t Count, Draw, Depth, PeriodMin, PeriodMax;
    };
    // The rows in computation order.
    static void ExpectRows(const TStatTable& t, const std::vector<TExpectedRow>& expected) {
        ASSERT_EQ(t.RowCount(), expected.size());
        for (std::size_t r = 0; r < expected.size(); ++r) {
            const TStatEntry& e = t.Rows[r].Entry;
            const TExpectedRow& x = expected[r];
            EXPECT_EQ(t.Text(t.Rows[r], StatColValue), x.Text);
            EXPECT_EQ(e.Count, x.Count) << x.Text;
            EXPECT_EQ(e.Draw, x.Draw) << x.Text;
            EXPECT_EQ(e.Depth, x.Depth) << x.Text;
            EXPECT_EQ(e.PeriodMin, x.PeriodMin) << x.Text;
            EXPECT_EQ(e.PeriodMax, x.PeriodMax) << x.Text;
        }
    }
    // Keys of the values that occurred, in list order.
    static std::vector<uint64_t> KeysInOrder(const TStatDrawArray& stat) {
        std::vector<uint64_t> keys;
        for (const TStatEntry& e : stat)
            if (e.Count != 0)
                keys.push_back(StatKey(e));
        return keys;
    }

    TStatFixture F;
};

} // namespace kumby::testing
