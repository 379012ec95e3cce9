#include "StatFilter.h"

#include "stats/VexoFilters.h"

#include <algorithm>
#include <exception>
#include <span>
#include <thread>
#include <vector>

namespace kumby {

namespace {

// Below this many combinations a second thread costs more than it saves.
constexpr std::size_t ParallelThreshold = 100000;

void FilterSlice(TCustomStat& method, std::span<const TCombination> from, TCombsArray& to,
                 const TStatDrawArray& selected, int lastIdx, bool sorted, bool exclude) {
    method.LoadDraws(-1, lastIdx, sorted);
    const TSelectionScope lookups(selected);
    for (const TCombination& c : from)
        if (method.Matches(c, selected, lastIdx, sorted, exclude) != exclude)
            to.push_back(c);
}

} // namespace

void FilterCombinations(const TStatMethodFactory& create, const TCombsArray& from, TCombsArray& to,
                        const TStatDrawArray& selected, int lastIdx, bool sorted, bool exclude) {
    to.clear();
    to.reserve(from.size());
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t parts = from.size() < ParallelThreshold ? 1 : std::min<std::size_t>(cores, 8);
    if (parts == 1) {
        auto method = create();
        FilterSlice(*method, from, to, selected, lastIdx, sorted, exclude);
        return;
    }

    // Slice 0 goes straight into `to`; the others into their own lists, appended in
    // order. Those lists live on between passes, so a pass allocates nothing once
    // the first full-set pass has sized them.
    const std::size_t sliceSize = (from.size() + parts - 1) / parts;
    thread_local std::vector<TCombsArray> keptLists;
    if (keptLists.size() < parts - 1)
        keptLists.resize(parts - 1);
    // A plain reference: the worker threads must see this thread's lists, not their own.
    std::vector<TCombsArray>& kept = keptLists;
    std::vector<std::unique_ptr<TCustomStat>> methods;
    for (std::size_t p = 0; p < parts; ++p)
        methods.push_back(create());
    std::vector<std::exception_ptr> errors(parts);
    std::vector<std::thread> threads;
    auto slice = [&](std::size_t p) {
        const std::size_t begin = std::min(from.size(), p * sliceSize);
        const std::size_t end = std::min(from.size(), begin + sliceSize);
        return std::span<const TCombination>(from.data() + begin, end - begin);
    };
    for (std::size_t p = 1; p < parts; ++p) {
        kept[p - 1].clear();
        kept[p - 1].reserve(slice(p).size());
        threads.emplace_back([&, p] {
            try {
                FilterSlice(*methods[p], slice(p), kept[p - 1], selected, lastIdx, sorted, exclude);
            } catch (...) {
                errors[p] = std::current_exception();
            }
        });
    }
    try {
        FilterSlice(*methods[0], slice(0), to, selected, lastIdx, sorted, exclude);
    } catch (...) {
        errors[0] = std::current_exception();
    }
    for (std::thread& t : threads)
        t.join();
    for (std::size_t p = 0; p < parts; ++p) {
        if (errors[p])
            std::rethrow_exception(errors[p]);
        if (p > 0)
            to.insert(to.end(), kept[p - 1].begin(), kept[p - 1].end());
    }
}

} // namespace kumby
