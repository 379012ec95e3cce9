// The draw archive's file paths on a large archive.
#include "draws/DemoArchive.h"
#include "draws/DrawArchive.h"
#include "draws/DrawCsv.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {

using namespace kumby;

const TDrawsArray& BigArchive() {
    static const TDrawsArray draws = MakeDemoArchive(100000, 1, 46000);
    return draws;
}

std::filesystem::path BenchFile(const char* name) {
    return std::filesystem::temp_directory_path() /
           (std::string("kumby-bench-") + std::to_string(::getpid()) + name);
}

void BM_SaveDrawArchive(benchmark::State& state) {
    const auto path = BenchFile(".ldr");
    for (auto _ : state)
        SaveDrawArchive(path, BigArchive());
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveDrawArchive)->Unit(benchmark::kMillisecond);

void BM_LoadDrawArchive(benchmark::State& state) {
    const auto path = BenchFile(".ldr");
    SaveDrawArchive(path, BigArchive());
    TDrawsArray draws;
    for (auto _ : state) {
        LoadDrawArchive(path, draws);
        benchmark::DoNotOptimize(draws.data());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadDrawArchive)->Unit(benchmark::kMillisecond);

void BM_ImportDrawsCsv(benchmark::State& state) {
    const std::string text = DrawsToCsv(BigArchive());
    for (auto _ : state) {
        TDrawsArray draws;
        draws.reserve(BigArchive().size());
        benchmark::DoNotOptimize(ImportDrawsCsvText(text, draws));
    }
}
BENCHMARK(BM_ImportDrawsCsv)->Unit(benchmark::kMillisecond);

void BM_FindDrawIndex(benchmark::State& state) {
    const TDrawsArray& draws = BigArchive();
    int32_t n = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindDrawIndex(draws, n));
        n = n % 100000 + 7919;
    }
}
BENCHMARK(BM_FindDrawIndex);

} // namespace
