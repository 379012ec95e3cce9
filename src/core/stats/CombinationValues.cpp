#include "stats/CombinationValues.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

namespace kumby {

namespace {

void AddSlice(TCustomStat& method, std::span<const TCombination> combs, TStatDrawArray& stat) {
    method.AddCombinations(combs, stat);
}

} // namespace

TStatDrawArray CollectCombinationValues(std::span<const TCombination> combs,
                                        const TStatInstanceFactory& create, unsigned parts) {
    parts = std::clamp<unsigned>(parts, 1, static_cast<unsigned>(std::max<std::size_t>(combs.size(), 1)));
    if (parts == 1) {
        TStatDrawArray stat;
        AddSlice(*create(), combs, stat);
        return stat;
    }

    // Instances are made here, so a constructor's error needs no thread to travel.
    std::vector<std::unique_ptr<TCustomStat>> methods;
    for (unsigned k = 0; k < parts; ++k)
        methods.push_back(create());
    std::vector<TStatDrawArray> stats(parts);
    std::vector<std::exception_ptr> errors(parts);
    auto run = [&](unsigned k) {
        try {
            const std::size_t begin = combs.size() * k / parts;
            const std::size_t end = combs.size() * (k + 1) / parts;
            AddSlice(*methods[k], combs.subspan(begin, end - begin), stats[k]);
        } catch (...) {
            errors[k] = std::current_exception();
        }
    };

    {
        std::vector<std::jthread> threads;
        for (unsigned k = 1; k < parts; ++k)
            threads.emplace_back(run, k);
        run(0);
    } // joined here

    for (const std::exception_ptr& e : errors)
        if (e)
            std::rethrow_exception(e);

    // A value first met in a later slice comes after every value of the earlier
    // slices, exactly where a single pass would have put it.
    TStatDrawArray result = std::move(stats[0]);
    TStatMerger merger;
    for (unsigned k = 1; k < parts; ++k)
        for (const TStatEntry& e : stats[k])
            merger.Add(result, e, false);
    return result;
}

} // namespace kumby
