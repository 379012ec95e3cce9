// The stakes file on a million stakes: check all, append from the working list and
// delete by condition.
#include "draws/DemoArchive.h"
#include "model/VexoUtils.h"
#include "stakes/CheckJournal.h"
#include "stakes/StakesCheck.h"
#include "stakes/StakesFile.h"
#include "stakes/StakesFilter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <random>
#include <unistd.h>

namespace {

using namespace kumby;

constexpr int Draws = 5000;
constexpr int BigFile = 1000000;
constexpr TMoney Cost = 500000;

// A folder of a few hundred megabytes, removed at exit.
struct TBenchFolder {
    TBenchFolder() { std::filesystem::create_directories(Path); }
    ~TBenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
    const std::filesystem::path Path =
        std::filesystem::temp_directory_path() / ("kumby-bench-stakes-" + std::to_string(::getpid()));
};

const std::filesystem::path& BenchFolder() {
    static const TBenchFolder folder;
    return folder.Path;
}

const TDrawsArray& Archive() {
    static const TDrawsArray draws = MakeDemoArchive(Draws, 1, 1);
    return draws;
}

TCombination RandomStake(std::mt19937& rng) {
    std::array<uint8_t, MaxNumber> all;
    std::iota(all.begin(), all.end(), uint8_t{1});
    std::shuffle(all.begin(), all.end(), rng);
    TCombination c;
    std::copy_n(all.begin(), NumbersInDraw, c.begin());
    return c;
}

TMoney Price(int, int matched) {
    return -Cost + (matched == 6 ? 2000000 : matched == 12 ? 1000000000 : 0);
}

// A file of unchecked stakes for the draws of the archive, made once.
const std::filesystem::path& UncheckedFile() {
    static const std::filesystem::path path = [] {
        const auto p = BenchFolder() / "unchecked.lsk";
        TStakesFile file;
        file.Open(p);
        std::mt19937 rng(5);
        std::vector<TStakeRecord> batch;
        for (int i = 0; i < BigFile; ++i)
            batch.push_back(NewStake(StakeKindManual, Archive()[static_cast<std::size_t>(i % Draws)].Number,
                                     1000, RandomStake(rng), Cost, "Ставка \"вручную\""));
        file.AppendMany(batch, 1, nullptr);
        return p;
    }();
    return path;
}

const std::filesystem::path& CheckedFile() {
    static const std::filesystem::path path = [] {
        const auto p = BenchFolder() / "checked.lsk";
        std::filesystem::copy_file(UncheckedFile(), p, std::filesystem::copy_options::overwrite_existing);
        TStakesFile file;
        file.Open(p);
        CheckAllStakes(file, Archive(), Price, {}, nullptr, nullptr);
        return p;
    }();
    return path;
}

std::filesystem::path WorkFile() {
    return BenchFolder() / StakesFileName;
}

// As the session checks: the journal first, then the marks. With `sync` the marks
// are also pushed to the disk before the ratings would be saved.
void CheckAsTheSession(benchmark::State& state, bool sync) {
    UncheckedFile();
    int64_t checked = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(UncheckedFile(), WorkFile(),
                                   std::filesystem::copy_options::overwrite_existing);
        TStakesFile file;
        file.Open(WorkFile());
        file.Sync(); // the copy's own writes are no part of the check
        state.ResumeTiming();
        TCheckJournalFile journal(BenchFolder() / CheckJournalFileName, RatingsFileIdOf({}));
        checked = CheckAllStakes(file, Archive(), Price, {}, &journal, nullptr).Checked;
        if (sync)
            file.Sync();
        RemoveCheckJournal(journal.Path());
        benchmark::DoNotOptimize(checked);
    }
    state.counters["checked"] = static_cast<double>(checked);
}

void BM_CheckAllStakes(benchmark::State& state) {
    CheckAsTheSession(state, false);
}
BENCHMARK(BM_CheckAllStakes)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CheckAllStakesAndSync(benchmark::State& state) {
    CheckAsTheSession(state, true);
}
BENCHMARK(BM_CheckAllStakesAndSync)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CheckAllStakesNothingLeft(benchmark::State& state) {
    std::filesystem::copy_file(CheckedFile(), WorkFile(), std::filesystem::copy_options::overwrite_existing);
    TStakesFile file;
    file.Open(WorkFile());
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckAllStakes(file, Archive(), Price, {}, nullptr, nullptr).Checked);
}
BENCHMARK(BM_CheckAllStakesNothingLeft)->Unit(benchmark::kMillisecond)->Iterations(3);

// As the session makes stakes for every combination of the working list.
void BM_AppendFromWorkingList(benchmark::State& state) {
    std::mt19937 rng(9);
    TCombsArray list(100000);
    for (TCombination& c : list)
        c = RandomStake(rng);
    for (auto _ : state) {
        state.PauseTiming();
        TStakesFile file;
        file.Open(WorkFile());
        file.Clear();
        state.ResumeTiming();
        const TStakeRecord model = NewStake(StakeKindManual, Draws + 1, static_cast<int32_t>(list.size()),
                                            TCombination{}, Cost, "Ставка \"вручную\"");
        std::vector<TStakeRecord> batch;
        batch.reserve(16384);
        for (std::size_t i = 0; i < list.size();) {
            batch.clear();
            for (; i < list.size() && batch.size() < 16384; ++i) {
                batch.push_back(model);
                SetStakeNumbers(batch.back(), list[i]);
            }
            file.AppendMany(batch, 1, nullptr);
        }
        benchmark::DoNotOptimize(file.Count());
    }
}
BENCHMARK(BM_AppendFromWorkingList)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DeleteByCondition(benchmark::State& state) {
    CheckedFile();
    const TStakeFilter filter = *ParseStakeFilter("<3");
    int64_t removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(CheckedFile(), WorkFile(),
                                   std::filesystem::copy_options::overwrite_existing);
        TStakesFile file;
        file.Open(WorkFile());
        state.ResumeTiming();
        removed = file.Rewrite([&](int64_t, const TStakeRecord& r) { return filter.Keeps(r); }, nullptr);
        benchmark::DoNotOptimize(removed);
    }
    state.counters["removed"] = static_cast<double>(removed);
}
BENCHMARK(BM_DeleteByCondition)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
