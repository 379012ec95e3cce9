// Commands of the statistics engine.

#include "CliContext.h"

#include "app/MainSettings.h"
#include "model/VexoUtils.h"
#include "stats/StatTable.h"

#include <ostream>

namespace kumby::cli {

void ParseSortOption(const std::string& text, int& column, bool& descending) {
    std::string number = text;
    descending = false;
    const std::size_t colon = text.find(':');
    if (colon != std::string::npos) {
        const std::string direction = text.substr(colon + 1);
        if (direction == "desc")
            descending = true;
        else if (direction != "asc")
            throw TCliError{Format("Некорректное значение ключа --sort: \"%s\".", text.c_str())};
        number = text.substr(0, colon);
    }
    int32_t n = 0;
    if (!TryParseInt(number, n))
        throw TCliError{Format("Некорректное значение ключа --sort: \"%s\".", text.c_str())};
    column = n;
}

int CmdMethods(TCliContext& ctx) {
    const bool all = ctx.TakeFlag("--all");
    ctx.ExpectNoMoreArgs();
    const TStatList& registry = ctx.Core.Registry();
    PrintRow(ctx.Out, {"№", "Код", "Группа", "Флаги", "Название"});
    for (std::size_t i = 0; i < registry.Count(); ++i) {
        if (!all && !registry.IsShown(i))
            continue;
        const TStatMethod& m = registry.Items(i);
        PrintRow(ctx.Out, {std::to_string(i), m.MethodCode(), TStatList::GroupText(m.StatClass->Group),
                           StatFlagLetters(m.StatClass->DisplayFlags()), registry.DisplayName(i, true)});
    }
    return 0;
}

// "shredding [--formulaK TEXT] [--digitsK D]": changes what is given as the formula
// dialog's OK does, then shows the three formulas.
int CmdShredding(TCliContext& ctx) {
    TShreddingSettings s = ctx.Core.Shredding();
    bool changed = false;
    for (int k = 1; k <= 3; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        if (const auto formula = ctx.TakeOption(Format("--formula%d", k))) {
            s.Formulas[i] = *formula;
            changed = true;
        }
        const int digits = ctx.TakeIntOption(Format("--digits%d", k), -1, MinShredDigits, MaxShredDigits);
        if (digits >= 0) {
            s.Digits[i] = static_cast<uint8_t>(digits);
            changed = true;
        }
    }
    ctx.ExpectNoMoreArgs();
    if (changed)
        ctx.Core.ApplyShredding(s);
    PrintRow(ctx.Out, {"№", "Формула", "Знаков"});
    for (int k = 1; k <= 3; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        PrintRow(ctx.Out, {std::to_string(k), ctx.Core.Shredding().Formulas[i],
                           std::to_string(ctx.Core.Shredding().Digits[i])});
    }
    return 0;
}

std::size_t ComputeCliTable(TCliContext& ctx, int sortColumn, bool descending) {
    TViewState& view = ctx.Core.View();
    // The options only change this run; nothing is written to the view file.
    const int depth = ctx.TakeIntOption("--depth", view.DrawsStatLen, 1, 2147483647);
    const bool prefetchOn = ctx.TakeFlag("--prefetch");
    const bool prefetchOff = ctx.TakeFlag("--no-prefetch");
    if (prefetchOn && prefetchOff)
        throw TCliError{"Ключи --prefetch и --no-prefetch исключают друг друга."};
    if (ctx.Args.empty())
        throw TCliError{"Не указан код метода расчета статистики."};
    const std::string code = ctx.Args.front();
    ctx.Args.erase(ctx.Args.begin());

    const int method = ctx.Core.Registry().FindByCode(code);
    if (method < 0)
        throw TCliError{Format("Неизвестный метод расчета статистики: \"%s\".", code.c_str())};
    view.DrawsStatLen = depth;
    if (prefetchOn || prefetchOff)
        view.PrefetchsEnabled = prefetchOn;

    ctx.Core.SortStatTable(sortColumn, descending);
    ctx.Core.ComputeTable(static_cast<std::size_t>(method), true);
    return static_cast<std::size_t>(method);
}

int CmdStats(TCliContext& ctx) {
    int sortColumn = StatColCount;
    bool descending = false;
    if (const auto sort = ctx.TakeOption("--sort"))
        ParseSortOption(*sort, sortColumn, descending);
    ComputeCliTable(ctx, sortColumn, descending);
    ctx.ExpectNoMoreArgs();

    const TStatTable& table = ctx.Core.LastStatTable();
    const auto& captions = StatColumnCaptions();
    PrintRow(ctx.Out, std::vector<std::string>(captions.begin(), captions.end()));
    for (std::size_t i = 0; i < table.RowCount(); ++i) {
        const auto texts = table.Texts(table.DisplayRow(i));
        PrintRow(ctx.Out, std::vector<std::string>(texts.begin(), texts.end()));
    }
    return 0;
}

} // namespace kumby::cli
