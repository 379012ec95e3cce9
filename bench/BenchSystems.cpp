// Systems made by the program: the greedy search for a reduced system and the exact
// check of its guarantee over every draw, for 16 and 18 numbers with 12
// of the drawn among them and 10 matched.
#include "stakes/SystemGenerator.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kumby;

TSystemRequest RequestOf(const benchmark::State& state) {
    return {static_cast<int>(state.range(0)), false, static_cast<int>(state.range(1)),
            static_cast<int>(state.range(2))};
}

void BM_GenerateReduced(benchmark::State& state) {
    const TSystemRequest request = RequestOf(state);
    std::size_t lines = 0;
    for (auto _ : state) {
        const auto system = GenerateSystem(request, nullptr);
        lines = system->size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["combinations"] = static_cast<double>(lines);
}
BENCHMARK(BM_GenerateReduced)->Args({16, 12, 10})->Args({18, 12, 10})->Unit(benchmark::kMillisecond);

void BM_CheckReduced(benchmark::State& state) {
    const TSystemRequest request = RequestOf(state);
    const auto system = GenerateSystem(request, nullptr);
    int worst = 0;
    for (auto _ : state) {
        const auto check = CheckSystem(*system, request.N, request.M, nullptr);
        worst = check->Worst;
        benchmark::DoNotOptimize(worst);
    }
    state.counters["combinations"] = static_cast<double>(system->size());
    state.counters["guarantee"] = worst;
}
BENCHMARK(BM_CheckReduced)->Args({16, 12, 10})->Args({18, 12, 10})->Unit(benchmark::kMillisecond);

// The full system over 16 and 18 numbers against every draw of 12 among them.
void BM_CheckFull(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto system = GenerateSystem({n, true, 0, 0}, nullptr);
    for (auto _ : state) {
        const auto check = CheckSystem(*system, n, NumbersInDraw, nullptr);
        benchmark::DoNotOptimize(check->Worst);
    }
    state.counters["combinations"] = static_cast<double>(system->size());
}
BENCHMARK(BM_CheckFull)->Arg(16)->Arg(18)->Unit(benchmark::kMillisecond);

} // namespace
