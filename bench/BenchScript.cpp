// Script runs as users run them: one filter step over the full set, a forecast of
// three lines of three filters, and back-tests of that script over 100 draws of a
// 2,000-draw archive (multi-select, and single-select with a stop condition).
#include "app/Session.h"
#include "draws/DrawArchive.h"
#include "model/VexoUtils.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

using namespace kumby;

class TQuietUi : public IUserInterface {
public:
    void ShowError(const std::string& t) override { Errors.push_back(t); }
    void ShowInfo(const std::string&) override {}
    void ShowWarning(const std::string&) override {}
    void ShowAttention(const std::string&) override {}
    bool Confirm(const std::string&, TConfirmKind) override { return true; }
    void SetStatus(const std::string&) override {}
    std::vector<std::string> Errors;
};

// A session on a temporary folder with a random archive of `draws` draws.
class TBenchSession {
public:
    explicit TBenchSession(int draws) {
        Dir = std::filesystem::temp_directory_path() / ("kumby-bench-script-" + std::to_string(::getpid()));
        std::filesystem::create_directories(Dir);
        std::mt19937 rng(5);
        TDrawsArray archive;
        for (int i = 0; i < draws; ++i) {
            TDrawRecord d;
            d.Number = i + 1;
            std::vector<int> all(MaxNumber);
            for (int n = 0; n < MaxNumber; ++n)
                all[n] = n + 1;
            std::shuffle(all.begin(), all.end(), rng);
            std::sort(all.begin(), all.begin() + NumbersInDraw);
            for (int k = 0; k < NumbersInDraw; ++k)
                d.Numbers[k] = static_cast<uint8_t>(all[k]);
            d.SetDateTextUtf8(DrawDateToText(EncodeDateTime(2000, 1, 1, 12, 0) + i));
            archive.push_back(d);
        }
        SaveDrawArchive(Dir / DrawsFileName, archive);
        TSessionOptions options;
        options.DataDir = Dir;
        options.Headless = true;
        S = std::make_unique<Session>(Ui, options);
        S->Create();
        S->Start();
    }
    ~TBenchSession() {
        S.reset();
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }
    std::filesystem::path Dir;
    TQuietUi Ui;
    std::unique_ptr<Session> S;
};

const TScriptLines MultiScript = {
    "FULL:0#RAND|TMF1#NUMS:100#CMV:48#SF:1|TMD1#SUMS:100#LLV:2#SF:1|TMD1#EVEN:100#CLV:5#SF:1| | | | |multi 1",
    "FULL:0#RAND|TMF1#NUMS:50#LLV:3#SF:1|TMD1#SUMC:100#CLV:1#SF:1|TMF1#SMAL:100#CMV:10#SF:1| | | | |multi 2",
    "FULL:0#RAND|TMD1#NUMS:20#CLV:8#SF:1|TMF1#SUMS:200#CMV:2#SF:1|TMD1#PRIM:100#CLV:4#SF:1| | | | |multi 3",
};

const TScriptLines SingleScript = {
    "FULL:0#RAND|TSD1#NUMS:100#LNO:#SC:100000|TSD1#SUMS:100#LNO:#ST:10|TSF1#EVEN:100#LNO:#SZ:1| | | | "
    "|single",
};

void BM_FilterStep(benchmark::State& state, const char* code) {
    TBenchSession b(2000);
    Session& s = *b.S;
    const int found = s.Registry().FindByCode(code);
    if (found < 0) {
        state.SkipWithError("method not registered yet");
        return;
    }
    const auto method = static_cast<std::size_t>(found);
    s.View().DrawsStatLen = 100;
    for (auto _ : state) {
        state.PauseTiming();
        s.GenerateList(true, s.GenerateDefaults());
        s.ResetStatTableKey();
        state.ResumeTiming();
        s.ComputeTable(method, false);
        std::vector<std::size_t> rows;
        for (std::size_t r = 0; r < s.LastStatTable().RowCount() / 2; ++r)
            rows.push_back(r);
        s.MakeUndoCopy(false);
        s.ApplyTableFilter(rows, false);
        benchmark::DoNotOptimize(s.WorkingList().size());
    }
}
BENCHMARK_CAPTURE(BM_FilterStep, NUMS, "NUMS")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FilterStep, SUMS, "SUMS")->Unit(benchmark::kMillisecond);
// Triples of numbers and a chain of numbers: the longest value lists.
BENCHMARK_CAPTURE(BM_FilterStep, KNM3, "KNM3")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FilterStep, SDV2, "SDV2")->Unit(benchmark::kMillisecond);

void BM_Forecast(benchmark::State& state) {
    TBenchSession b(2000);
    b.S->SetScriptSeed(1);
    for (auto _ : state)
        b.S->ScriptForecast(MultiScript);
    state.counters["stakes"] = static_cast<double>(b.S->Stakes().Count());
}
BENCHMARK(BM_Forecast)->Unit(benchmark::kMillisecond);

void BM_BackTest(benchmark::State& state, const TScriptLines* script) {
    TBenchSession b(2000);
    b.S->SetScriptSeed(1);
    for (auto _ : state)
        b.S->ScriptBackTest(*script, 100);
    state.counters["stakes"] = static_cast<double>(b.S->Stakes().Count());
    state.counters["errors"] = static_cast<double>(b.Ui.Errors.size());
}
BENCHMARK_CAPTURE(BM_BackTest, Multi, &MultiScript)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_BackTest, Single, &SingleScript)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
