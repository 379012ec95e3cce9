#pragma once

// Every figure of every ratings source as text, in source order, for comparing
// two sets of ratings whole.

#include "model/VexoUtils.h"
#include "stakes/Ratings.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kumby::testing {

inline std::vector<std::string> RatingsFigures(const TRatingsArray& items) {
    std::vector<std::string> lines;
    for (const TRatingEntry& e : items) {
        std::string line = Format("%s: %d stakes, %d hits, profit %lld, by hits", e.Name.c_str(), e.Count,
                                  e.HitSum, static_cast<long long>(e.Profit));
        for (int32_t n : e.HitCounts)
            line += " " + std::to_string(n);
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace kumby::testing
