#include "KeepPass.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <thread>
#include <vector>

namespace kumby {

namespace {

constexpr std::size_t ParallelThreshold = 100000;
constexpr std::size_t MaxParts = 8;

} // namespace

std::size_t KeepPassParts(std::size_t size) {
    if (size < ParallelThreshold)
        return 1;
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, MaxParts);
}

void KeepInOrder(const TCombsArray& from, TCombsArray& to, std::size_t parts, const TKeepSlice& slice) {
    // Within the reserved room this only sets the size; the slices write over it.
    to.resize(from.size());
    parts = std::clamp<std::size_t>(parts, 1, MaxParts);
    const std::size_t sliceSize = (from.size() + parts - 1) / std::max<std::size_t>(parts, 1);
    auto begin = [&](std::size_t p) { return std::min(from.size(), p * sliceSize); };
    auto end = [&](std::size_t p) { return std::min(from.size(), begin(p) + sliceSize); };

    std::vector<std::size_t> kept(parts, 0);
    std::vector<std::exception_ptr> errors(parts);
    auto run = [&](std::size_t p) {
        try {
            const std::span<const TCombination> in(from.data() + begin(p), end(p) - begin(p));
            kept[p] = slice(p, in, to.data() + begin(p));
        } catch (...) {
            errors[p] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> threads;
        for (std::size_t p = 1; p < parts; ++p)
            threads.emplace_back(run, p);
        run(0);
    } // joined here

    // Close up: every run moves down, never over a run still to be moved.
    std::size_t count = kept[0];
    for (std::size_t p = 1; p < parts; ++p) {
        if (kept[p] > 0 && count != begin(p))
            std::memmove(to.data() + count, to.data() + begin(p), kept[p] * sizeof(TCombination));
        count += kept[p];
    }
    to.resize(count);
    for (const std::exception_ptr& e : errors)
        if (e)
            std::rethrow_exception(e);
}

} // namespace kumby
