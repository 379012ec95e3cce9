// Commands on the working combination list and its filters.

#include "CliContext.h"

#include "combs/CombList.h"
#include "model/VexoUtils.h"
#include "stats/StatTable.h"

#include <ostream>

namespace kumby::cli {

namespace {

std::string TakeRequiredOption(TCliContext& ctx, const std::string& name) {
    auto value = ctx.TakeOption(name);
    if (!value)
        throw TCliError{Format("Не указан ключ %s.", name.c_str())};
    return *value;
}

// Replaces the start-up list by the one of --in, when given.
bool LoadInput(TCliContext& ctx, const std::optional<std::string>& in) {
    return !in || ctx.Core.CombsOpen(*in);
}

int SaveOutput(TCliContext& ctx, const std::string& out) {
    if (!ctx.Core.CombsSave(out))
        return 1;
    ctx.Out << ctx.Core.WorkingList().size() << '\n';
    return 0;
}

} // namespace

int CmdCombsGenerate(TCliContext& ctx) {
    TGenerateDefaults settings = ctx.Core.GenerateDefaults();
    settings.Mode = ctx.TakeIntOption("--mode", settings.Mode, 0, GenerateModeCount - 1);
    if (const auto param = ctx.TakeOption("--param"))
        settings.Parameters = *param;
    const std::string out = TakeRequiredOption(ctx, "--out");
    ctx.ExpectNoMoreArgs();
    if (!ctx.Core.GenerateList(true, settings))
        return 1;
    return SaveOutput(ctx, out);
}

int CmdCombsExclude(TCliContext& ctx) {
    const auto in = ctx.TakeOption("--in");
    const std::string out = TakeRequiredOption(ctx, "--out");
    if (ctx.Args.empty())
        throw TCliError{"Не указано количество тиражей."};
    int32_t n = 0;
    if (!TryParseInt(ctx.Args.front(), n) || n < 0)
        throw TCliError{Format("Некорректное количество тиражей: \"%s\".", ctx.Args.front().c_str())};
    ctx.Args.erase(ctx.Args.begin());
    ctx.ExpectNoMoreArgs();
    if (!LoadInput(ctx, in))
        return 1;
    ctx.Core.CombsExclude(n);
    return SaveOutput(ctx, out);
}

int CmdFilter(TCliContext& ctx) {
    const auto in = ctx.TakeOption("--in");
    const std::string out = TakeRequiredOption(ctx, "--out");
    const bool keep = ctx.TakeFlag("--keep");
    const bool remove = ctx.TakeFlag("--remove");
    if (keep == remove)
        throw TCliError{"Укажите один из ключей --keep или --remove."};
    ComputeCliTable(ctx, StatColCount, false);
    if (ctx.Args.empty())
        throw TCliError{"Не указаны значения для фильтра."};

    const TStatTable& table = ctx.Core.LastStatTable();
    std::vector<std::size_t> rows;
    for (const std::string& value : ctx.Args) {
        bool found = false;
        for (std::size_t r = 0; r < table.RowCount(); ++r)
            if (table.DisplayText(r, StatColValue) == value) {
                rows.push_back(r);
                found = true;
            }
        if (!found)
            throw TCliError{Format("Значения \"%s\" нет в таблице статистики.", value.c_str())};
    }
    if (!LoadInput(ctx, in))
        return 1;
    ctx.Core.StatFilter(rows, remove);
    return SaveOutput(ctx, out);
}

} // namespace kumby::cli
