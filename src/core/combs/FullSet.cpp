#include "combs/FullSet.h"

#include <algorithm>
#include <thread>

namespace kumby {

void FillFullSet(TCombsArray& list) {
    list.clear();
    list.reserve(FullSetSize);
    ForEachFullSetCombination([&](const TCombination& comb) { list.push_back(comb); });
}

unsigned FullSetPassParts() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

} // namespace kumby
