// Commands of the system game and of the systems the program makes.

#include "CliContext.h"

#include "model/VexoUtils.h"

#include <limits>
#include <ostream>

namespace kumby::cli {

int CmdSystemStake(TCliContext& ctx) {
    const bool all = ctx.TakeFlag("--all");
    const bool filter = ctx.TakeFlag("--filter");
    const auto in = ctx.TakeOption("--in");
    const auto draw = ctx.TakeOption("--draw");
    const int copies = ctx.TakeIntOption("--copies", 1, 1, MaxStakeCopies);
    const auto comment = ctx.TakeOption("--comment");
    ctx.ExpectNoMoreArgs();
    if (all == filter)
        throw TCliError{
            "Укажите один из ключей --all (вся система) или --filter (только комбинации списка)."};
    if (in && !ctx.Core.CombsOpen(*in))
        return 1;
    if (ctx.Core.WorkingList().empty())
        throw TCliError{"Список комбинаций пуст."};
    const auto game = ctx.Core.SystemPrepare(all ? TSystemMode::All : TSystemMode::Filter);
    if (!game)
        return 1;
    int64_t drawNumber = game->DrawNumber;
    if (draw) {
        int32_t value = 0;
        if (!TryParseInt(*draw, value) || value < 1)
            throw TCliError{Format("Некорректное значение ключа --draw: \"%s\" (допустимо 1..%d).",
                                   draw->c_str(), std::numeric_limits<int32_t>::max())};
        drawNumber = value;
    }
    const int64_t added = ctx.Core.SystemStake(*game, drawNumber, copies, comment.value_or(game->Comment));
    if (added < 0)
        return 1;
    ctx.Out << added << '\n';
    return 0;
}

int CmdSystemGenerate(TCliContext& ctx) {
    TSystemRequest request;
    request.N = ctx.TakeIntOption("--n", 0, MinSystemNumbers, MaxNumber);
    request.Full = ctx.TakeFlag("--full");
    // 0: not given.
    request.M = ctx.TakeIntOption("--m", 0, 1, NumbersInDraw);
    request.T = ctx.TakeIntOption("--t", 0, 1, NumbersInDraw);
    ctx.ExpectNoMoreArgs();
    if (request.N == 0)
        throw TCliError{"Укажите количество чисел системы ключом --n (13..24)."};
    const bool reduced = request.M != 0 && request.T != 0;
    if (request.Full ? request.M != 0 || request.T != 0 : !reduced)
        throw TCliError{"Укажите ключ --full (полная система) или оба ключа --m и --t (сокращенная)."};
    const auto file = ctx.Core.SystemGenerate(request);
    if (!file)
        return 1;
    // The full system holds every combination, so all drawn numbers are matched; its
    // check over millions of draws would tell nothing more.
    int guarantee = NumbersInDraw;
    if (!request.Full) {
        const auto check = ctx.Core.SystemCheck(*file, request.M);
        if (!check)
            return 1;
        guarantee = check->Worst;
    }
    PrintRow(ctx.Out, {"Файл", "Комбинаций", "Гарантия"});
    // The count of lines is that of the file just written.
    const std::vector<TSystemLine> lines = ReadSystemFile(*file, request.N);
    PrintRow(ctx.Out, {file->string(), std::to_string(lines.size()), std::to_string(guarantee)});
    return 0;
}

int CmdSystemCheck(TCliContext& ctx) {
    const int m = ctx.TakeIntOption("--m", 0, 1, NumbersInDraw);
    if (ctx.Args.size() != 1 || ctx.Args[0].rfind("--", 0) == 0)
        throw TCliError{"Укажите один файл системы и ключ --m M."};
    const std::string file = ctx.Args[0];
    ctx.Args.clear();
    if (m == 0)
        throw TCliError{"Укажите ключом --m, сколько выпавших чисел окажется среди чисел системы."};
    const auto check = ctx.Core.SystemCheck(file, m);
    if (!check)
        return 1;
    PrintRow(ctx.Out, {"Вариантов", "Гарантия"});
    PrintRow(ctx.Out, {std::to_string(check->Draws), std::to_string(check->Worst)});
    PrintRow(ctx.Out, {"Совпадений", "Вариантов"});
    for (std::size_t k = 0; k < check->DrawsByBest.size(); ++k)
        PrintRow(ctx.Out, {std::to_string(k), std::to_string(check->DrawsByBest[k])});
    return 0;
}

} // namespace kumby::cli
