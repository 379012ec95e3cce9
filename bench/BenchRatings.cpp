// Ratings with 100,000 sources, as a long back-test leaves them: adding checked
// stakes, sorting by a column and saving the file.
#include "model/VexoUtils.h"
#include "stakes/Ratings.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using namespace kumby;

constexpr int Sources = 100000;

std::string SourceName(int i) {
    return Format("%02d.%03d: тест @ FULL#RAND + TSD#NUMS:%d#CMV:5#SF:1", i % 97, i % 1000, i);
}

// Ten checked stakes for every source, in the order a back-test checks them.
const TRatings& Filled() {
    static const TRatings ratings = [] {
        TRatings r;
        std::mt19937 rng(11);
        std::vector<std::string> names;
        names.reserve(Sources);
        for (int i = 0; i < Sources; ++i)
            names.push_back(SourceName(i));
        for (int round = 0; round < 10; ++round)
            for (const std::string& name : names)
                r.Add(name, static_cast<int>(rng() % 13), -500000 + static_cast<TMoney>(rng() % 1000000));
        return r;
    }();
    return ratings;
}

struct TBenchFile {
    ~TBenchFile() {
        std::error_code ec;
        std::filesystem::remove(Path, ec);
    }
    const std::filesystem::path Path =
        std::filesystem::temp_directory_path() / ("kumby-bench-" + std::to_string(::getpid()) + ".lrt");
};

void BM_AddCheckedStakes(benchmark::State& state) {
    std::vector<std::string> names;
    for (int i = 0; i < Sources; ++i)
        names.push_back(SourceName(i));
    for (auto _ : state) {
        TRatings r;
        for (int round = 0; round < 10; ++round)
            for (const std::string& name : names)
                r.Add(name, round, 1);
        benchmark::DoNotOptimize(r.Count());
    }
    state.SetItemsProcessed(state.iterations() * Sources * 10);
}
BENCHMARK(BM_AddCheckedStakes)->Unit(benchmark::kMillisecond)->Iterations(3);

// What every stake check ends with: sort by the list's column and save.
void BM_SortAndSave(benchmark::State& state) {
    const int column = static_cast<int>(state.range(0));
    TBenchFile file;
    for (auto _ : state) {
        state.PauseTiming();
        TRatings r = Filled();
        state.ResumeTiming();
        r.Sort(column, true);
        SaveRatingsFile(file.Path, r.Items());
    }
    state.counters["sources"] = Filled().Count();
}
BENCHMARK(BM_SortAndSave)->Arg(3)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Load(benchmark::State& state) {
    TBenchFile file;
    SaveRatingsFile(file.Path, Filled().Items());
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadRatingsFile(file.Path).Items.size());
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
