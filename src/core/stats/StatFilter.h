#pragma once

// The keep/remove pass of a filter step over the combination list.

#include "model/Records.h"

#include <functional>
#include <memory>

namespace kumby {

class TCustomStat;

// A fresh instance of the filter's method, one per thread of the pass.
using TStatMethodFactory = std::function<std::unique_ptr<TCustomStat>()>;

// Rebuilds `to` from `from`, in order, keeping each combination whose Matches answer
// differs from `exclude`. Every instance first gets LoadDraws(-1, lastIdx, sorted).
// Long lists are cut into consecutive slices tested on all cores, each with its own
// instance; the kept list is the same as a single pass gives.
void FilterCombinations(const TStatMethodFactory& create, const TCombsArray& from, TCombsArray& to,
                        const TStatDrawArray& selected, int lastIdx, bool sorted, bool exclude);

} // namespace kumby
