#pragma once

// The order of the ratings list by one of its columns.

#include "model/Records.h"

#include <cstddef>
#include <vector>

namespace kumby {

// Columns: 0 the source (alphabetical, as a Russian locale sorts), 1 and 2 the
// counts, 3 the average and 5 the average profit (to the hundredth), 4 the profit
// (to the hundredth of a money unit), 6..18 the stakes per number of matches; other
// columns leave the order alone. Records that compare equal keep their order.
// Returns the old index of each record in the new order (empty when the order was
// left alone).
std::vector<std::size_t> SortRatings(TRatingsArray& items, int column, bool descending);

} // namespace kumby
