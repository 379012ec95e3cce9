#pragma once

// The value list of one AddCombination pass over many combinations (the full set or
// the working list), on several threads when that gives the same list.

#include "stats/VexoFilters.h"

#include <functional>
#include <memory>
#include <span>

namespace kumby {

// A fresh instance of one method for one job.
using TStatInstanceFactory = std::function<std::unique_ptr<TCustomStat>()>;

// The value list that one AddCombination pass over `combs` builds, in first-met
// order. With parts > 1 the combinations are cut into that many consecutive slices,
// each evaluated by an instance of its own on a thread of its own, and the slice
// lists are merged in slice order: the result is the same list, entry for entry.
// Errors of any slice are raised once every slice has finished.
TStatDrawArray CollectCombinationValues(std::span<const TCombination> combs,
                                        const TStatInstanceFactory& create, unsigned parts);

} // namespace kumby
