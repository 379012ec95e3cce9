#include "StatFilter.h"

#include "combs/KeepPass.h"
#include "stats/VexoFilters.h"

#include <memory>
#include <vector>

namespace kumby {

void FilterCombinations(const TStatMethodFactory& create, const TCombsArray& from, TCombsArray& to,
                        const TStatDrawArray& selected, int lastIdx, bool sorted, bool exclude) {
    const std::size_t parts = KeepPassParts(from.size());
    std::vector<std::unique_ptr<TCustomStat>> methods;
    for (std::size_t p = 0; p < parts; ++p)
        methods.push_back(create());
    KeepInOrder(from, to, parts, [&](std::size_t part, std::span<const TCombination> in, TCombination* out) {
        TCustomStat& method = *methods[part];
        method.LoadDraws(-1, lastIdx, sorted);
        const TSelectionScope lookups(selected);
        return method.KeepMatching(in, out, selected, lastIdx, sorted, exclude);
    });
}

} // namespace kumby
