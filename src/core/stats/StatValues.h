#pragma once

// One row of the statistics table as scripts read it: the displayed texts.

#include <cstdint>
#include <string>

namespace kumby {

struct TStatValues {
    std::string Value; // the row caption
    int32_t Key = 0;   // the numeric value of the caption; the script runner fills it
    std::string Count;
    std::string CountPct;
    std::string Deviation;
    std::string DeviationPct;
    std::string Depth;
    std::string DepthPct;
    std::string Weight;
    std::string PeriodMin;
    std::string Period;
    std::string PeriodMax;
};

} // namespace kumby
