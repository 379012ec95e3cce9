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
        TCombination* const first = out;
        for (const TCombination& c : in)
            if (method.Matches(c, selected, lastIdx, sorted, exclude) != exclude)
                *out++ = c;
        return static_cast<std::size_t>(out - first);
    });
}

} // namespace kumby
