#pragma once

// The shape of every pass that rebuilds the working list from its undo copy: keep
// some combinations, in order, nothing sorted or merged.

#include "model/Records.h"

#include <cstddef>
#include <functional>
#include <span>

namespace kumby {

// Writes the kept combinations of `in` at `out` and returns how many; `part` is the
// slice's number, 0 being the calling thread's.
using TKeepSlice =
    std::function<std::size_t(std::size_t part, std::span<const TCombination> in, TCombination* out)>;

// How many slices a pass over `size` combinations should use: one for short lists,
// where a thread costs more than it saves, else one per core.
std::size_t KeepPassParts(std::size_t size);

// Rebuilds `to` from `from` (two different lists). The list is cut into `parts`
// consecutive slices; slice 0 runs on the calling thread, the others on threads of
// their own. Each writes into `to` at its own start, and the kept runs are closed up
// afterwards, so the result equals a single pass, and nothing is allocated when `to`
// has room for `from`. The first exception of a slice is rethrown.
void KeepInOrder(const TCombsArray& from, TCombsArray& to, std::size_t parts, const TKeepSlice& slice);

} // namespace kumby
