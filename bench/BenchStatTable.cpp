// The statistics table over 1000 draws, shifted back 500 draws so that the "Факт"
// column searches the newer draws.
#include "app/MainSettings.h"
#include "draws/DemoArchive.h"
#include "stats/StatList.h"
#include "stats/StatTable.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kumby;

struct TBenchRegistry {
    TDrawsArray Draws = MakeDemoArchive(3000, 1, 46000);
    TConfigData Config;
    TShreddingSettings Shredding;
    TStatList Registry{Draws, Config, Shredding};
    TBenchRegistry() { Registry.Rebuild(); }
};

TBenchRegistry& Bench() {
    static TBenchRegistry bench;
    return bench;
}

// The table as the statistics tab shows it: computed, then sorted by the count (ties
// by the value caption), unless `sort` is off.
void TableOf(benchmark::State& state, const char* code, bool sort = true) {
    TBenchRegistry& b = Bench();
    const auto method = static_cast<std::size_t>(b.Registry.FindByCode(code));
    const TStatWindow window = StatWindow(b.Draws.size(), 500, 1000);
    std::size_t rows = 0;
    for (auto _ : state) {
        TStatTable table = ComputeStatTable(b.Registry.CreateInstance(method), b.Draws, window, false,
                                            nullptr, b.Config, true);
        if (sort)
            SortStatTable(table, StatColCount, false);
        rows = table.RowCount();
        benchmark::DoNotOptimize(table.Rows.Entries.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_StatTableNums(benchmark::State& state) {
    TableOf(state, "NUMS");
}
BENCHMARK(BM_StatTableNums)->Unit(benchmark::kMillisecond);

void BM_StatTableEvnv(benchmark::State& state) {
    TableOf(state, "EVNV");
}
BENCHMARK(BM_StatTableEvnv)->Unit(benchmark::kMillisecond);

void BM_StatTableDifa(benchmark::State& state) {
    TableOf(state, "DIFA");
}
BENCHMARK(BM_StatTableDifa)->Unit(benchmark::kMillisecond);

void BM_StatTableKds4(benchmark::State& state) {
    TableOf(state, "KDS4");
}
BENCHMARK(BM_StatTableKds4)->Unit(benchmark::kMillisecond);

// The repeat methods that look furthest back: four draws.
void BM_StatTablePrv2o3(benchmark::State& state) {
    TableOf(state, "PRV2O3");
}
BENCHMARK(BM_StatTablePrv2o3)->Unit(benchmark::kMillisecond);

void BM_StatTablePrc2o3(benchmark::State& state) {
    TableOf(state, "PRC2O3");
}
BENCHMARK(BM_StatTablePrc2o3)->Unit(benchmark::kMillisecond);

void BM_StatTableChnv(benchmark::State& state) {
    TableOf(state, "CHNV");
}
BENCHMARK(BM_StatTableChnv)->Unit(benchmark::kMillisecond);

// 495 channel tuples a draw.
void BM_StatTableKcm4(benchmark::State& state) {
    TableOf(state, "KCM4");
}
BENCHMARK(BM_StatTableKcm4)->Unit(benchmark::kMillisecond);

void BM_StatTableKcm2(benchmark::State& state) {
    TableOf(state, "KCM2");
}
BENCHMARK(BM_StatTableKcm2)->Unit(benchmark::kMillisecond);

void BM_StatTableKcs4(benchmark::State& state) {
    TableOf(state, "KCS4");
}
BENCHMARK(BM_StatTableKcs4)->Unit(benchmark::kMillisecond);

// Matrix: per-column counts, touching numbers, and 495 row tuples a draw.
void BM_StatTableColv(benchmark::State& state) {
    TableOf(state, "COLV");
}
BENCHMARK(BM_StatTableColv)->Unit(benchmark::kMillisecond);

void BM_StatTableCola(benchmark::State& state) {
    TableOf(state, "COLA");
}
BENCHMARK(BM_StatTableCola)->Unit(benchmark::kMillisecond);

void BM_StatTableKrm4(benchmark::State& state) {
    TableOf(state, "KRM4");
}
BENCHMARK(BM_StatTableKrm4)->Unit(benchmark::kMillisecond);

// Segments: per-segment counts and 495 segment tuples a draw (the default table).
void BM_StatTableSgmv(benchmark::State& state) {
    TableOf(state, "SGMV");
}
BENCHMARK(BM_StatTableSgmv)->Unit(benchmark::kMillisecond);

void BM_StatTableKgm4(benchmark::State& state) {
    TableOf(state, "KGM4");
}
BENCHMARK(BM_StatTableKgm4)->Unit(benchmark::kMillisecond);

// Chains: up to 144 number transitions a draw, and three-draw ones by position.
void BM_StatTableSdv2(benchmark::State& state) {
    TableOf(state, "SDV2");
}
BENCHMARK(BM_StatTableSdv2)->Unit(benchmark::kMillisecond);

void BM_StatTableSdp3(benchmark::State& state) {
    TableOf(state, "SDP3");
}
BENCHMARK(BM_StatTableSdp3)->Unit(benchmark::kMillisecond);

// Runs carried from draw to draw; the "Факт" searches go row by row.
void BM_StatTableGrpv(benchmark::State& state) {
    TableOf(state, "GRPV");
}
BENCHMARK(BM_StatTableGrpv)->Unit(benchmark::kMillisecond);

void BM_StatTablePrdv(benchmark::State& state) {
    TableOf(state, "PRDV");
}
BENCHMARK(BM_StatTablePrdv)->Unit(benchmark::kMillisecond);

} // namespace

// Combination values in drawn order: 495 ordered quadruples of numbers a draw, a
// couple of hundred thousand distinct ones in the window.
void BM_StatTableKnm4(benchmark::State& state) {
    TableOf(state, "KNM4");
}
BENCHMARK(BM_StatTableKnm4)->Unit(benchmark::kMillisecond);

void BM_StatTableKnm4Unsorted(benchmark::State& state) {
    TableOf(state, "KNM4", false);
}
BENCHMARK(BM_StatTableKnm4Unsorted)->Unit(benchmark::kMillisecond);

void BM_StatTableKnm2(benchmark::State& state) {
    TableOf(state, "KNM2");
}
BENCHMARK(BM_StatTableKnm2)->Unit(benchmark::kMillisecond);

// The value list alone, without the row texts, forecasts and sorting of the table.
void BM_WindowValuesKnm4(benchmark::State& state) {
    TBenchRegistry& b = Bench();
    const auto method = static_cast<std::size_t>(b.Registry.FindByCode("KNM4"));
    const TStatWindow window = StatWindow(b.Draws.size(), 500, 1000);
    std::size_t values = 0;
    for (auto _ : state) {
        auto instance = b.Registry.CreateInstance(method);
        TStatDrawArray stat;
        TRunState runState;
        TLastValueArray lastValues;
        for (int idx = window.FirstIdx; idx <= window.LastIdx; ++idx)
            instance->AddDraw(idx, window.LastIdx, false, stat, runState, lastValues);
        values = stat.size();
        benchmark::DoNotOptimize(stat.data());
    }
    state.counters["values"] = static_cast<double>(values);
}
BENCHMARK(BM_WindowValuesKnm4)->Unit(benchmark::kMillisecond);
