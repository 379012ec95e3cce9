// Running a script file: the forecast and the back-test.

#include "CliContext.h"

#include "model/Money.h"
#include "model/VexoUtils.h"
#include "script/Script.h"
#include "stakes/StakesGrid.h"

#include <array>
#include <limits>
#include <map>
#include <ostream>

namespace kumby::cli {

namespace {

TScriptLines TakeScriptFile(TCliContext& ctx) {
    if (ctx.Args.empty())
        throw TCliError{"Не указан файл сценария."};
    const std::filesystem::path file = ctx.Args.front();
    ctx.Args.erase(ctx.Args.begin());
    try {
        return ReadScriptFile(file);
    } catch (const std::exception& e) {
        throw TCliError{e.what()};
    }
}

// --log FILE and --seed S, shared by both runs; false after a refused log file.
bool TakeRunOptions(TCliContext& ctx) {
    if (const auto log = ctx.TakeOption("--log")) {
        const std::filesystem::path file = *log;
        if (!ctx.Core.CheckOutputFile(file))
            return false;
        ctx.Core.SetScriptLogFile(file);
    }
    if (const auto seed = ctx.TakeOption("--seed")) {
        int64_t value = 0;
        if (!TryParseInt64(*seed, value) || value < 0)
            throw TCliError{Format("Некорректное значение ключа --seed: \"%s\" (допустимо целое число от 0).",
                                   seed->c_str())};
        ctx.Core.SetScriptSeed(static_cast<uint64_t>(value));
    }
    return true;
}

void CheckRunnable(TCliContext& ctx, const TScriptLines& lines) {
    if (lines.empty())
        throw TCliError{"Сценарий пуст."};
    if (ctx.Core.Draws().empty())
        throw TCliError{"Архив тиражей пуст."};
}

// A run that ended on an error has shown it; the command then fails.
int RunResult(const TCliContext& ctx) {
    return ctx.Ui.ErrorShown() ? 1 : 0;
}

} // namespace

int CmdScriptRun(TCliContext& ctx) {
    const TScriptLines lines = TakeScriptFile(ctx);
    if (!TakeRunOptions(ctx))
        return 1;
    ctx.ExpectNoMoreArgs();
    CheckRunnable(ctx, lines);

    const int64_t before = ctx.Core.Stakes().Count();
    ctx.Ui.ClearErrorShown();
    ctx.Core.ScriptForecast(lines);

    std::vector<std::string> header;
    for (const TStakesGridColumn& column : StakesGridLayout())
        header.push_back(column.Caption);
    PrintRow(ctx.Out, header);
    std::vector<std::string> row(header.size());
    ctx.Core.Stakes().ForEach(before, [&](int64_t, const TStakeRecord& r) {
        if (r.IsSeparator())
            return true;
        const auto cells = StakeGridCells(r);
        std::copy(cells.begin(), cells.end(), row.begin());
        PrintRow(ctx.Out, row);
        return true;
    });
    return RunResult(ctx);
}

int CmdScriptTest(TCliContext& ctx) {
    const TScriptLines lines = TakeScriptFile(ctx);
    const auto testsText = ctx.TakeOption("--tests");
    if (!TakeRunOptions(ctx))
        return 1;
    ctx.ExpectNoMoreArgs();
    CheckRunnable(ctx, lines);
    const int maxTests = ctx.Core.MaxScriptTests();
    int32_t tests = 0;
    if (!testsText)
        throw TCliError{"Укажите количество тестов: --tests N."};
    if (!TryParseInt(*testsText, tests) || tests < 1 || tests > maxTests)
        throw TCliError{Format("Некорректное значение ключа --tests: \"%s\" (допустимо 1..%d).",
                               testsText->c_str(), maxTests)};

    const int64_t before = ctx.Core.Stakes().Count();
    ctx.Ui.ClearErrorShown();
    if (!ctx.Core.ScriptBackTest(lines, tests))
        return 1;

    // Every test stakes its own draw, oldest first.
    struct TTotals {
        int64_t Stakes = 0;
        int64_t Checked = 0;
        std::array<int64_t, NumbersInDraw + 1> ByMatches{};
        TMoney Profit = 0;
    };
    std::map<int32_t, TTotals> byDraw;
    TTotals total;
    ctx.Core.Stakes().ForEach(before, [&](int64_t, const TStakeRecord& r) {
        if (r.IsSeparator())
            return true;
        for (TTotals* t : {&byDraw[r.DrawNumber], &total}) {
            ++t->Stakes;
            t->Profit += r.Profit;
            if (r.MatchedCount() >= 0) {
                ++t->Checked;
                if (r.MatchedCount() <= NumbersInDraw)
                    ++t->ByMatches[static_cast<std::size_t>(r.MatchedCount())];
            }
        }
        return true;
    });

    std::vector<std::string> header = {"Тираж", "Ставок", "Проверено"};
    for (int m = 0; m <= NumbersInDraw; ++m)
        header.push_back(Format("Совпало %d", m));
    header.push_back("Прибыль");
    PrintRow(ctx.Out, header);
    const auto print = [&](const std::string& first, const TTotals& t) {
        std::vector<std::string> cells = {first, std::to_string(t.Stakes), std::to_string(t.Checked)};
        for (int64_t n : t.ByMatches)
            cells.push_back(std::to_string(n));
        cells.push_back(MoneyText(t.Profit));
        PrintRow(ctx.Out, cells);
    };
    for (const auto& [draw, t] : byDraw)
        print(std::to_string(draw), t);
    print("Всего", total);
    return RunResult(ctx);
}

} // namespace kumby::cli
