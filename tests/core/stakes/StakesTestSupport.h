#pragma once

// Stakes built in code for the stakes tests.

#include "stakes/StakeRecord.h"
#include "stakes/StakesFile.h"
#include "support/TempDir.h"

#include <string>
#include <vector>

namespace kumby::testing {

inline TCombination FirstTwelve() {
    return {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
}

inline TStakeRecord StakeFor(int32_t draw, const TCombination& numbers = FirstTwelve(), TMoney cost = 0,
                             const char* comment = "тест") {
    return NewStake(StakeKindManual, draw, 100, numbers, cost, comment);
}

// The draw numbers of every record, separators as -1.
inline std::vector<int32_t> DrawColumn(const TStakesFile& file) {
    std::vector<int32_t> draws;
    file.ForEach(0, [&](int64_t, const TStakeRecord& r) {
        draws.push_back(r.DrawNumber);
        return true;
    });
    return draws;
}

inline std::string RecordBytes(const TStakeRecord& r) {
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

} // namespace kumby::testing
