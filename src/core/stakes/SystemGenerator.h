#pragma once

// Systems made by the program itself: the full system over n numbers, or a reduced one
// with a guarantee "if m of the drawn numbers are among the n, at least one combination
// matches t of them", found by a greedy covering search; and the exact check of a
// system's guarantee over every possible draw.

#include "stakes/StakesFile.h"
#include "stakes/Systems.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kumby {

// A combination of positions as a bit mask: bit p-1 for position p.
using TPositionMask = uint32_t;

struct TSystemRequest {
    int N = 16;
    bool Full = false;
    int M = NumbersInDraw; // drawn numbers among the n
    int T = 10;            // matches guaranteed
};

// What is wrong with the request, or empty.
std::string SystemRequestProblem(const TSystemRequest& request);

// The combinations of the system in the order they were chosen; nullopt when stopped.
std::optional<std::vector<TPositionMask>> GenerateSystem(const TSystemRequest& request,
                                                         IStakesProgress* progress);

// Generated files carry block length 0, which no catalogue system has, so they never
// take the name of a downloaded one: "12-16-0_0000.dat" for the full system over 16
// numbers, "12-16-0_1210.dat" for m 12, t 10.
std::string GeneratedSystemFileName(const TSystemRequest& request);

// The file text: one line per combination, the positions ascending, joined by " ".
std::string SystemFileText(const std::vector<TPositionMask>& system, int n);
std::vector<TPositionMask> SystemMasks(const std::vector<TSystemLine>& lines);

struct TSystemCheck {
    uint64_t Draws = 0;                // C(n, m)
    int Worst = 0;                     // the fewest best matches over all those draws
    std::vector<uint64_t> DrawsByBest; // [k]: draws whose best combination matches k of them
};

// Every draw of m positions out of n against every combination: the best match of
// each draw. nullopt when stopped or the request is out of range.
std::optional<TSystemCheck> CheckSystem(const std::vector<TPositionMask>& system, int n, int m,
                                        IStakesProgress* progress);

} // namespace kumby
