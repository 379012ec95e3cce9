// The side analyses: the full set counted by sum, the repeats of a long archive,
// the graph of a method over a long window.
#include "draws/DemoArchive.h"
#include "stats/StatList.h"
#include "stats/VexoFilters.h"
#include "views/GraphSeries.h"
#include "views/RepeatsAnalysis.h"
#include "views/SumDistribution.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kumby;

const TDrawsArray& Archive() {
    static const TDrawsArray draws = MakeDemoArchive(5000, 7, 46000);
    return draws;
}

void BM_SumDistribution(benchmark::State& state) {
    for (auto _ : state) {
        auto d = ComputeSumDistribution(Archive(), [](long long, long long) { return true; });
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(BM_SumDistribution)->Unit(benchmark::kMillisecond);

// Length x depth draws compared.
void BM_Repeats(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::size_t rows = 0;
    for (auto _ : state) {
        auto r = ComputeRepeats(Archive(), n, n);
        rows = r ? r->size() : 0;
        benchmark::DoNotOptimize(r);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_Repeats)->Arg(100)->Arg(2500)->Unit(benchmark::kMillisecond);

void BM_GraphSeries(benchmark::State& state) {
    TDrawsArray draws = Archive();
    TConfigData config;
    TShreddingSettings shredding;
    TStatList list(draws, config, shredding);
    list.Rebuild();
    const auto method = list.CreateInstance(static_cast<std::size_t>(list.FindByCode("SUMS")));
    const TStatWindow window = StatWindow(draws.size(), 0, 5000);
    for (auto _ : state) {
        TGraphSeries g = ComputeGraphSeries(*method, draws, window, false);
        benchmark::DoNotOptimize(g);
    }
}
BENCHMARK(BM_GraphSeries)->Unit(benchmark::kMicrosecond);

} // namespace
