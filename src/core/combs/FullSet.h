#pragma once

// The full set: every combination of 12 distinct numbers out of 1..24, ascending
// inside each combination and in lexicographic order overall.

#include "model/Records.h"

#include <type_traits>

namespace kumby {

inline constexpr TCombination FirstFullSetCombination = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
inline constexpr TCombination LastFullSetCombination = {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};

// Moves an ascending combination to the one after it in the full set; false (and
// the combination unchanged) after the last one.
inline bool NextFullSetCombination(TCombination& comb) {
    // The depth-first walk resumed from a combination: the deepest position that can
    // still take a larger value moves up by one and every position after it starts
    // again right above its predecessor. Position p (0-based) can reach at most 13 + p,
    // since the positions after it need the numbers above.
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

namespace detail {

// Hands one combination to the visitor; false when a bool-returning visitor says stop.
template <class F> inline bool OfferCombination(F& visit, const TCombination& comb) {
    if constexpr (std::is_same_v<std::invoke_result_t<F&, const TCombination&>, bool>) {
        return visit(comb);
    } else {
        visit(comb);
        return true;
    }
}

// Position P (0-based) takes every value above the previous position's, up to the
// largest that still leaves room for the positions after it; the last position
// completes a combination. Unrolled at compile time, one loop per position.
template <int P, class F> bool WalkFullSet(TCombination& comb, int from, F& visit) {
    for (int v = from; v <= MaxNumber - NumbersInDraw + 1 + P; ++v) {
        comb[P] = static_cast<uint8_t>(v);
        if constexpr (P == NumbersInDraw - 1) {
            if (!OfferCombination(visit, comb))
                return false;
        } else {
            if (!WalkFullSet<P + 1>(comb, v + 1, visit))
                return false;
        }
    }
    return true;
}

} // namespace detail

// Offers every combination of the full set in order to `visit`, which gets a
// const TCombination&: the depth-first walk over positions 1..12. A visitor that
// returns bool ends the walk by returning false.
template <class F> void ForEachFullSetCombination(F&& visit) {
    TCombination comb{};
    detail::WalkFullSet<0>(comb, 1, visit);
}

// Replaces the content of the list with the full set. Nothing is allocated when the
// list already has room for FullSetSize entries.
void FillFullSet(TCombsArray& list);

// Slices worth running at once on this machine (1 when the count is unknown).
unsigned FullSetPassParts();

} // namespace kumby
