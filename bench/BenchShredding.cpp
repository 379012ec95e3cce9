// The shredding formula evaluator, per set of numbers.
#include "model/Records.h"
#include "stats/ShredFormula.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

using namespace kumby;

void Shred(benchmark::State& state, const char* formula) {
    const TShredFormula f(formula);
    std::array<uint8_t, 12> n = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const std::array<uint8_t, 12> zeros = {};
    uint32_t sum = 0;
    for (auto _ : state) {
        n[0] = static_cast<uint8_t>(n[0] % 13 + 1); // a new set each time
        sum += f.Shred({n.data(), zeros.data(), zeros.data()}, 2);
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(Shred, Default1, "(n1+n2+n3+n4+n5+n6)/(n7+n8+n9+n10+n11+n12)");
BENCHMARK_CAPTURE(Shred, Functions, "sqrt(n1*n2)+ln(n3)/sin(n4)^2-frac(n5/n6)");
// Read anew for every set: a substituted number completes a name.
BENCHMARK_CAPTURE(Shred, ReadPerSet, "nn1+n2/n3");

// Reading a formula once per job.
void BM_ShredCompile(benchmark::State& state) {
    for (auto _ : state) {
        const TShredFormula f(TShreddingSettings{}.Formulas[0]);
        benchmark::DoNotOptimize(&f);
    }
}
BENCHMARK(BM_ShredCompile);

} // namespace
