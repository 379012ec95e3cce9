#pragma once

// The full set: every combination of 12 distinct numbers out of 1..24, ascending
// inside each combination and in lexicographic order overall.

#include "model/Records.h"

#include <functional>
#include <memory>
#include <span>
#include <type_traits>

namespace kumby {

class TCustomStat;

inline constexpr TCombination FirstFullSetCombination = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
inline constexpr TCombination LastFullSetCombination = {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};

// Moves an ascending combination to the one after it in the full set; false (and
// the combination unchanged) after the last one.
inline bool NextFullSetCombination(TCombination& comb) {
    // The depth-first walk, resumed: the deepest position that can still take a
    // larger value moves up by one and every position after it starts again right
    // above its predecessor. Position p (0-based) can reach at most 13 + p, since the
    // positions after it need the numbers above.
    int p = NumbersInDraw - 1;
    while (p >= 0 && comb[p] == MaxNumber - NumbersInDraw + 1 + p)
        --p;
    if (p < 0)
        return false;
    uint8_t n = comb[p];
    for (int q = p; q < NumbersInDraw; ++q)
        comb[q] = ++n;
    return true;
}

// Offers every combination of the full set in order to `visit`, which gets a
// const TCombination&. A visitor that returns bool ends the walk by returning false.
template <class F> void ForEachFullSetCombination(F&& visit) {
    TCombination comb = FirstFullSetCombination;
    do {
        if constexpr (std::is_same_v<std::invoke_result_t<F&, const TCombination&>, bool>) {
            if (!visit(static_cast<const TCombination&>(comb)))
                return;
        } else {
            visit(static_cast<const TCombination&>(comb));
        }
    } while (NextFullSetCombination(comb));
}

// Replaces the content of the list with the full set. Nothing is allocated when the
// list already has room for FullSetSize entries.
void FillFullSet(TCombsArray& list);

// A fresh instance of one method for one job.
using TStatInstanceFactory = std::function<std::unique_ptr<TCustomStat>()>;

// The value list that one AddCombination pass over `combs` builds, in first-met
// order. With parts > 1 the combinations are cut into that many consecutive slices,
// each evaluated by an instance of its own on a thread of its own, and the slice
// lists are merged in slice order: the result is the same list, entry for entry.
// Errors of any slice are raised once every slice has finished.
TStatDrawArray CollectCombinationValues(std::span<const TCombination> combs,
                                        const TStatInstanceFactory& create, unsigned parts);

// Slices worth running at once on this machine (1 when the count is unknown).
unsigned FullSetPassParts();

} // namespace kumby
