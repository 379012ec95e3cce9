#pragma once

// Statistics rows with their texts, as the table shows them, for checks that read
// many columns of a row.

#include "stats/StatTable.h"

#include <array>
#include <string>
#include <vector>

namespace kumby {

struct TShownRow {
    TStatEntry Entry;
    int32_t Fact = -1;
    std::array<std::string, StatColumnCount> Texts;
};

inline TShownRow Shown(const TStatTable& t, const TStatRow& r) {
    return {r.Entry, r.Fact, t.Texts(r)};
}

// Computation order.
inline std::vector<TShownRow> ShownRows(const TStatTable& t) {
    std::vector<TShownRow> rows;
    for (const TStatRow& r : t.Rows)
        rows.push_back(Shown(t, r));
    return rows;
}

// Display order.
inline TShownRow ShownRow(const TStatTable& t, std::size_t i) {
    return Shown(t, t.DisplayRow(i));
}

} // namespace kumby
