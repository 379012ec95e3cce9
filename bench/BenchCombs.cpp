// The working list: generation, filter passes, removal of drawn combinations, undo.
#include "combs/CombList.h"
#include "combs/FullSet.h"
#include "draws/DemoArchive.h"
#include "stats/StatFilter.h"
#include "stats/StatList.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace kumby;

const TCombsArray& FullSet() {
    static const TCombsArray combs = [] {
        TCombsArray c;
        FillFullSet(c);
        return c;
    }();
    return combs;
}

const TDrawsArray& Archive() {
    static const TDrawsArray draws = MakeDemoArchive(5000, 7, 46000);
    return draws;
}

void BM_Generate(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    const TOwnNumbers own = ParseOwnNumbers(mode == 2 ? "1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16" : "1;2;3");
    TCombsArray list;
    list.reserve(FullSetSize);
    for (auto _ : state) {
        GenerateCombinations(list, mode, own);
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["combinations"] = static_cast<double>(list.size());
}
BENCHMARK(BM_Generate)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Mode 4: the full set read back from a list file.
void BM_GenerateFromFile(benchmark::State& state) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("kumby-bench-" + std::to_string(::getpid()) + ".lcv");
    SaveListFile(file, FullSet());
    TCombsArray list;
    list.reserve(FullSetSize);
    for (auto _ : state) {
        list.clear();
        LoadListFile(file, list);
        benchmark::DoNotOptimize(list.data());
    }
    std::filesystem::remove(file);
    state.counters["combinations"] = static_cast<double>(list.size());
}
BENCHMARK(BM_GenerateFromFile)->Unit(benchmark::kMillisecond);

// One filter pass over the full set with a few selected values, each given by its
// key words.
void FilterPassOf(benchmark::State& state, const char* code, const std::vector<std::array<uint16_t, 4>>& keys,
                  bool exclude) {
    TConfigData config;
    TShreddingSettings shredding;
    TStatList registry(Archive(), config, shredding);
    registry.Rebuild();
    const auto method = static_cast<std::size_t>(registry.FindByCode(code));
    TStatDrawArray selected;
    for (const auto& k : keys) {
        TStatEntry e;
        e.Key1 = k[0];
        e.Key2 = k[1];
        e.Key3 = k[2];
        e.Key4 = k[3];
        selected.push_back(e);
    }
    TCombsArray to;
    to.reserve(FullSetSize);
    const int lastIdx = static_cast<int>(Archive().size()) - 1;
    for (auto _ : state) {
        FilterCombinations([&] { return registry.CreateInstance(method); }, FullSet(), to, selected, lastIdx,
                           false, exclude);
        benchmark::DoNotOptimize(to.data());
    }
    state.counters["kept"] = static_cast<double>(to.size());
}

// Values with Key1 only.
void FilterPass(benchmark::State& state, const char* code, std::vector<uint16_t> keys, bool exclude) {
    std::vector<std::array<uint16_t, 4>> words;
    for (uint16_t k : keys)
        words.push_back({k, 0, 0, 0});
    FilterPassOf(state, code, words, exclude);
}

void BM_FilterNumsKeep(benchmark::State& state) {
    FilterPass(state, "NUMS", {5, 17}, false);
}
BENCHMARK(BM_FilterNumsKeep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterEvnvRemove(benchmark::State& state) {
    FilterPass(state, "EVNV", {1365, 2730, 4095, 0}, true);
}
BENCHMARK(BM_FilterEvnvRemove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Eleven differences per combination, the most of the single-draw difference methods.
void BM_FilterDifaRemove(benchmark::State& state) {
    FilterPass(state, "DIFA", {7, 9}, true);
}
BENCHMARK(BM_FilterDifaRemove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterDifkKeep(benchmark::State& state) {
    FilterPass(state, "DIFK", {4, 5}, false);
}
BENCHMARK(BM_FilterDifkKeep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The default first shredding formula run for every combination.
void BM_FilterShr1Keep(benchmark::State& state) {
    FilterPass(state, "SHR1", {33, 50, 97}, false);
}
BENCHMARK(BM_FilterShr1Keep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// A count against the newest draw: the weights of its numbers, then a sum per combination.
void BM_FilterRpc2Keep(benchmark::State& state) {
    FilterPass(state, "RPC2", {5, 6}, false);
}
BENCHMARK(BM_FilterRpc2Keep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterHcv1Remove(benchmark::State& state) {
    FilterPass(state, "HCV1", {0, 2}, true);
}
BENCHMARK(BM_FilterHcv1Remove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Channels: one per number, the per-channel counts, and channel tuples, whose
// choices of positions end at the first selected one.
void BM_FilterChanKeep(benchmark::State& state) {
    FilterPass(state, "CHAN", {6}, false);
}
BENCHMARK(BM_FilterChanKeep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterChnvRemove(benchmark::State& state) {
    FilterPassOf(state, "CHNV", {{1, 4, 0, 0}, {3, 0, 0, 0}}, true);
}
BENCHMARK(BM_FilterChnvRemove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterKcm2Remove(benchmark::State& state) {
    FilterPassOf(state, "KCM2", {{6, 1, 0, 0}, {5, 5, 0, 0}}, true);
}
BENCHMARK(BM_FilterKcm2Remove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterKcm4Keep(benchmark::State& state) {
    FilterPassOf(state, "KCM4", {{1, 2, 3, 4}, {6, 6, 6, 6}, {4, 3, 2, 1}}, false);
}
BENCHMARK(BM_FilterKcm4Keep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterKcs4Keep(benchmark::State& state) {
    FilterPassOf(state, "KCS4", {{1, 1, 2, 2}, {3, 4, 5, 6}}, false);
}
BENCHMARK(BM_FilterKcs4Keep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Matrix: columns per number, the row mask, touching numbers, row tuples.
void BM_FilterColsKeep(benchmark::State& state) {
    FilterPass(state, "COLS", {4}, false);
}
BENCHMARK(BM_FilterColsKeep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterRowmRemove(benchmark::State& state) {
    FilterPass(state, "ROWM", {63, 62}, true);
}
BENCHMARK(BM_FilterRowmRemove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterColaKeep(benchmark::State& state) {
    FilterPassOf(state, "COLA", {{1, 3, 0, 0}, {4, 2, 0, 0}}, false);
}
BENCHMARK(BM_FilterColaKeep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterColcRemove(benchmark::State& state) {
    FilterPass(state, "COLC", {0, 2}, true);
}
BENCHMARK(BM_FilterColcRemove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterKrm4Keep(benchmark::State& state) {
    FilterPassOf(state, "KRM4", {{1, 2, 3, 4}, {6, 6, 6, 6}, {4, 3, 2, 1}}, false);
}
BENCHMARK(BM_FilterKrm4Keep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Segments of the default table.
void BM_FilterSgmsKeep(benchmark::State& state) {
    FilterPass(state, "SGMS", {1}, false);
}
BENCHMARK(BM_FilterSgmsKeep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterSgmvRemove(benchmark::State& state) {
    FilterPassOf(state, "SGMV", {{1, 12, 0, 0}}, true);
}
BENCHMARK(BM_FilterSgmvRemove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Chains: targets of number transitions, and numbers followed inside their channel
// (the newest draw's own numbers are the sources that count).
void BM_FilterSdv2Keep(benchmark::State& state) {
    FilterPassOf(state, "SDV2", {{5, 17, 0, 0}, {9, 3, 0, 0}}, false);
}
BENCHMARK(BM_FilterSdv2Keep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterSda2Remove(benchmark::State& state) {
    // A row without a follower stands for a channel, the others for one number.
    const uint8_t* newest = Archive().back().Numbers;
    FilterPassOf(state, "SDA2", {{newest[0], 0, 0, 0}, {newest[1], newest[2], 0, 0}}, true);
}
BENCHMARK(BM_FilterSda2Remove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Runs and periods: a table of numbers made once per pass.
void BM_FilterGrpvKeep(benchmark::State& state) {
    FilterPassOf(state, "GRPV", {{7, 2, 0, 0}, {13, 1, 0, 0}}, false);
}
BENCHMARK(BM_FilterGrpvKeep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterPrdvRemove(benchmark::State& state) {
    FilterPassOf(state, "PRDV", {{5, 2, 0, 0}, {17, 3, 0, 0}}, true);
}
BENCHMARK(BM_FilterPrdvRemove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Combination values: 66 and 495 choices of numbers, and one pair at a fixed place.
void BM_FilterKnm2Remove(benchmark::State& state) {
    FilterPassOf(state, "KNM2", {{3, 17, 0, 0}, {1, 24, 0, 0}}, true);
}
BENCHMARK(BM_FilterKnm2Remove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterKnm4Keep(benchmark::State& state) {
    FilterPassOf(state, "KNM4", {{3, 5, 8, 17}, {1, 2, 3, 4}, {20, 21, 22, 23}}, false);
}
BENCHMARK(BM_FilterKnm4Keep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterKnp21Keep(benchmark::State& state) {
    FilterPassOf(state, "KNP21", {{1, 2, 0, 0}, {1, 3, 0, 0}, {2, 3, 0, 0}}, false);
}
BENCHMARK(BM_FilterKnp21Keep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The argument is the number of newest draws of a 5,000-draw archive.
void BM_ExcludeLastDraws(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int last = static_cast<int>(Archive().size()) - 1;
    TCombsArray to;
    to.reserve(FullSetSize);
    for (auto _ : state) {
        RemoveDrawnCombinations(FullSet(), to, Archive(), last - n + 1, last);
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_ExcludeLastDraws)->Arg(10)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// Undo copies the undo store back into the working list.
void BM_Undo(benchmark::State& state) {
    TCombsArray working;
    working.reserve(FullSetSize);
    for (auto _ : state) {
        working.assign(FullSet().begin(), FullSet().end());
        benchmark::DoNotOptimize(working.data());
    }
}
BENCHMARK(BM_Undo)->Unit(benchmark::kMillisecond);

// The other members of the differences family: one value, the (difference, times)
// pairs, and runs of consecutive differences.
void BM_FilterDifmKeep(benchmark::State& state) {
    FilterPass(state, "DIFM", {3, 4}, false);
}
BENCHMARK(BM_FilterDifmKeep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterDifdRemove(benchmark::State& state) {
    FilterPass(state, "DIFD", {22, 23}, true);
}
BENCHMARK(BM_FilterDifdRemove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterDifoKeep(benchmark::State& state) {
    FilterPassOf(state, "DIFO", {{1, 5, 0, 0}, {2, 3, 0, 0}, {3, 2, 0, 0}}, false);
}
BENCHMARK(BM_FilterDifoKeep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterKds2Remove(benchmark::State& state) {
    FilterPassOf(state, "KDS2", {{1, 1, 0, 0}, {2, 3, 0, 0}}, true);
}
BENCHMARK(BM_FilterKds2Remove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterKds4Keep(benchmark::State& state) {
    FilterPassOf(state, "KDS4", {{1, 2, 1, 3}, {2, 2, 2, 2}}, false);
}
BENCHMARK(BM_FilterKds4Keep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Runs of consecutive numbers: every run length, their number, the longest.
void BM_FilterSeqlRemove(benchmark::State& state) {
    FilterPass(state, "SEQL", {4, 5}, true);
}
BENCHMARK(BM_FilterSeqlRemove)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterSeqsKeep(benchmark::State& state) {
    FilterPass(state, "SEQS", {2, 3}, false);
}
BENCHMARK(BM_FilterSeqsKeep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterLensKeep(benchmark::State& state) {
    FilterPass(state, "LENS", {3}, false);
}
BENCHMARK(BM_FilterLensKeep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace

// Heavy selections: many tuple rows of a value table selected at once.
namespace {

using namespace kumby;

// `count` distinct tuples of k items from 1..items that never fall (repeats when
// `repeats`), in a fixed pseudo-random order, as table rows list them.
std::vector<std::array<uint16_t, 4>> RisingTuples(int k, int items, bool repeats, std::size_t count) {
    std::vector<std::array<uint16_t, 4>> all;
    std::array<uint16_t, 4> t{};
    auto fill = [&](auto& self, int depth, int from) -> void {
        if (depth == k) {
            all.push_back(t);
            return;
        }
        for (int v = from; v <= items; ++v) {
            t[static_cast<std::size_t>(depth)] = static_cast<uint16_t>(v);
            self(self, depth + 1, repeats ? v : v + 1);
        }
    };
    fill(fill, 0, 1);
    uint64_t state = 0x2545F4914F6CDD1Dull;
    for (std::size_t i = all.size(); i > 1; --i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        std::swap(all[i - 1], all[static_cast<std::size_t>((state >> 33) % i)]);
    }
    all.resize(std::min(count, all.size()));
    return all;
}

void BM_FilterKnm4Keep200(benchmark::State& state) {
    FilterPassOf(state, "KNM4", RisingTuples(4, 24, false, 200), false);
}
BENCHMARK(BM_FilterKnm4Keep200)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterKnm2Remove100(benchmark::State& state) {
    FilterPassOf(state, "KNM2", RisingTuples(2, 24, false, 100), true);
}
BENCHMARK(BM_FilterKnm2Remove100)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Six channels and six rows of four numbers: 126 tuples of four that never fall.
void BM_FilterKcm4Keep60(benchmark::State& state) {
    FilterPassOf(state, "KCM4", RisingTuples(4, 6, true, 60), false);
}
BENCHMARK(BM_FilterKcm4Keep60)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FilterKrm3Remove40(benchmark::State& state) {
    FilterPassOf(state, "KRM3", RisingTuples(3, 6, true, 40), true);
}
BENCHMARK(BM_FilterKrm3Remove40)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace
