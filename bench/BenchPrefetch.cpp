// The full set and the full-set distribution files.
#include "app/Session.h"
#include "combs/FullSet.h"
#include "stats/CombinationValues.h"
#include "stats/StatList.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#include <filesystem>
#include <unistd.h>

namespace {

using namespace kumby;

class TQuietUi : public IUserInterface {
public:
    void ShowError(const std::string& text) override { Errors.push_back(text); }
    void ShowInfo(const std::string&) override {}
    void ShowWarning(const std::string&) override {}
    void ShowAttention(const std::string&) override {}
    bool Confirm(const std::string&, TConfirmKind) override { return false; }
    void SetStatus(const std::string&) override {}
    std::vector<std::string> Errors;
};

const TCombsArray& FullSet() {
    static const TCombsArray combs = [] {
        TCombsArray c;
        FillFullSet(c);
        return c;
    }();
    return combs;
}

void BM_FullSetIntoWorkingList(benchmark::State& state) {
    TCombsArray list;
    list.reserve(FullSetSize);
    for (auto _ : state) {
        FillFullSet(list);
        benchmark::DoNotOptimize(list.data());
    }
    state.SetItemsProcessed(state.iterations() * FullSetSize);
}
BENCHMARK(BM_FullSetIntoWorkingList)->Unit(benchmark::kMillisecond);

// One AddCombination pass over the full set; the argument is the number of slices.
// Real time is the figure: the slices run on threads of their own.
void AddCombinationPass(benchmark::State& state, const char* code) {
    TDrawsArray draws;
    TConfigData config;
    TShreddingSettings shredding;
    TStatList registry(draws, config, shredding);
    registry.Rebuild();
    const auto method = static_cast<std::size_t>(registry.FindByCode(code));
    const auto parts = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        TStatDrawArray values = CollectCombinationValues(
            FullSet(), [&] { return registry.CreateInstance(method); }, parts);
        benchmark::DoNotOptimize(values.data());
    }
}
BENCHMARK_CAPTURE(AddCombinationPass, NUMS, "NUMS")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, EVNV, "EVNV")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, POS3, "POS3")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, DIFA, "DIFA")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, DIFO, "DIFO")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
// A formula run per combination: the default first shredding formula.
BENCHMARK_CAPTURE(AddCombinationPass, SHR1, "SHR1")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, SUMS, "SUMS")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
// The folding triangle of the characteristic number.
BENCHMARK_CAPTURE(AddCombinationPass, HCV1, "HCV1")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
// Runs of consecutive numbers: up to twelve values per combination.
BENCHMARK_CAPTURE(AddCombinationPass, SEQL, "SEQL")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(AddCombinationPass, CHAN, "CHAN")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, CHNV, "CHNV")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, CHNC, "CHNC")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, CHN3, "CHN3")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Matrix: columns per number, per-column counts, the column mask, touching numbers.
BENCHMARK_CAPTURE(AddCombinationPass, COLS, "COLS")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, COLV, "COLV")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, COLN, "COLN")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, COLM, "COLM")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, COLA, "COLA")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, ROWC, "ROWC")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, COL2, "COL2")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Segments of the default table: one segment.
BENCHMARK_CAPTURE(AddCombinationPass, SGMS, "SGMS")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, SGMV, "SGMV")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, SGMC, "SGMC")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The session's own path: full set into the working list and back, the pass on
// every core, the atomic write.
class TBenchSession {
public:
    TBenchSession() {
        Dir = std::filesystem::temp_directory_path() / ("kumby-bench-prefetch-" + std::to_string(::getpid()));
        std::filesystem::create_directories(Dir);
        TSessionOptions o;
        o.DataDir = Dir;
        o.Headless = true;
        Core = std::make_unique<Session>(Ui, o);
        Core->Create();
        Core->Start();
    }
    ~TBenchSession() {
        Core.reset();
        std::filesystem::remove_all(Dir);
    }

    std::filesystem::path Dir;
    TQuietUi Ui;
    std::unique_ptr<Session> Core;
};

void BM_PrefetchFileNUMS(benchmark::State& state) {
    TBenchSession s;
    const auto nums = static_cast<std::size_t>(s.Core->Registry().FindByCode("NUMS"));
    for (auto _ : state)
        benchmark::DoNotOptimize(s.Core->CreatePrefetchFile(nums));
    if (!s.Ui.Errors.empty())
        state.SkipWithError(s.Ui.Errors.front().c_str());
}
BENCHMARK(BM_PrefetchFileNUMS)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_PrefetchFileSHR1(benchmark::State& state) {
    TBenchSession s;
    const auto shr1 = static_cast<std::size_t>(s.Core->Registry().FindByCode("SHR1"));
    for (auto _ : state)
        benchmark::DoNotOptimize(s.Core->CreatePrefetchFile(shr1));
    if (!s.Ui.Errors.empty())
        state.SkipWithError(s.Ui.Errors.front().c_str());
}
BENCHMARK(BM_PrefetchFileSHR1)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// The first call makes every missing file: done before the timing, so that a
// family's figure is its own files.
void MakeMissingFiles(TBenchSession& s) {
    s.Core->CreatePrefetchFiles(true, {});
}

void BM_NumbersFamilyFiles(benchmark::State& state) {
    TBenchSession s;
    MakeMissingFiles(s);
    int written = 0;
    for (auto _ : state)
        written = s.Core->CreatePrefetchFiles(true, {0});
    state.counters["files"] = written;
    if (!s.Ui.Errors.empty())
        state.SkipWithError(s.Ui.Errors.front().c_str());
}
BENCHMARK(BM_NumbersFamilyFiles)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ChannelsFamilyFiles(benchmark::State& state) {
    TBenchSession s;
    MakeMissingFiles(s);
    int written = 0;
    for (auto _ : state)
        written = s.Core->CreatePrefetchFiles(true, {3});
    state.counters["files"] = written;
    if (!s.Ui.Errors.empty())
        state.SkipWithError(s.Ui.Errors.front().c_str());
}
BENCHMARK(BM_ChannelsFamilyFiles)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_MatrixFamilyFiles(benchmark::State& state) {
    TBenchSession s;
    MakeMissingFiles(s);
    int written = 0;
    for (auto _ : state)
        written = s.Core->CreatePrefetchFiles(true, {4});
    state.counters["files"] = written;
    if (!s.Ui.Errors.empty())
        state.SkipWithError(s.Ui.Errors.front().c_str());
}
BENCHMARK(BM_MatrixFamilyFiles)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_SegmentsFamilyFiles(benchmark::State& state) {
    TBenchSession s;
    MakeMissingFiles(s);
    int written = 0;
    for (auto _ : state)
        written = s.Core->CreatePrefetchFiles(true, {5});
    state.counters["files"] = written;
    if (!s.Ui.Errors.empty())
        state.SkipWithError(s.Ui.Errors.front().c_str());
}
BENCHMARK(BM_SegmentsFamilyFiles)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// Every full-set file with the default settings, made again each time: what the
// command-line `prefetch` of all groups does.
void BM_AllPrefetchFiles(benchmark::State& state) {
    TBenchSession s;
    std::vector<int> groups;
    const TStatList& registry = s.Core->Registry();
    for (std::size_t i = 0; i < registry.Count(); ++i) {
        const int group = registry.Items(i).StatClass->Group;
        if (std::find(groups.begin(), groups.end(), group) == groups.end())
            groups.push_back(group);
    }
    int written = 0;
    for (auto _ : state)
        written = s.Core->CreatePrefetchFiles(true, groups);
    state.counters["files"] = written;
    if (!s.Ui.Errors.empty())
        state.SkipWithError(s.Ui.Errors.front().c_str());
}
BENCHMARK(BM_AllPrefetchFiles)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// The single-value members of the differences and sequences families.
BENCHMARK_CAPTURE(AddCombinationPass, DIFM, "DIFM")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, DIFD, "DIFD")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, DIFK, "DIFK")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, SEQS, "SEQS")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddCombinationPass, LENS, "LENS")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
