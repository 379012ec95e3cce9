// Commands on the regular stakes, as the tab "Регуляры" offers them.

#include "CliContext.h"

#include "model/VexoUtils.h"

#include <limits>
#include <ostream>

namespace kumby::cli {

namespace {

// The 1-based row numbers left in the arguments, as 0-based indexes.
std::vector<std::size_t> TakeRows(TCliContext& ctx, std::size_t count) {
    std::vector<std::size_t> rows;
    for (const std::string& a : ctx.Args) {
        int32_t n = 0;
        if (!TryParseInt(a, n) || n < 1 || static_cast<std::size_t>(n) > count)
            throw TCliError{
                Format("Некорректный номер регулярной ставки: \"%s\" (допустимо 1..%zu).", a.c_str(), count)};
        rows.push_back(static_cast<std::size_t>(n - 1));
    }
    ctx.Args.clear();
    if (rows.empty())
        throw TCliError{"Не указаны номера регулярных ставок."};
    return rows;
}

void CheckShown(const TCliContext& ctx) {
    if (!ctx.Core.RegularsVisible())
        throw TCliError{"Вкладка \"Регуляры\" скрыта (TabTables=0): регулярные ставки недоступны."};
}

} // namespace

int CmdRegularsList(TCliContext& ctx) {
    ctx.ExpectNoMoreArgs();
    CheckShown(ctx);
    PrintRow(ctx.Out, RegularsCaptions());
    for (const TRegularRecord& r : ctx.Core.Regulars())
        PrintRow(ctx.Out, RegularCells(r));
    return 0;
}

int CmdRegularsAdd(TCliContext& ctx) {
    const auto comment = ctx.TakeOption("--comment");
    const auto numbers = ctx.TakeOption("--numbers");
    const bool lastDraw = ctx.TakeFlag("--last-draw");
    const auto in = ctx.TakeOption("--in");
    const auto rowsText = ctx.TakeOption("--rows");
    const int step = ctx.TakeIntOption("--step", 1, -MaxRegularStep, MaxRegularStep);
    ctx.ExpectNoMoreArgs();
    CheckShown(ctx);
    if (numbers && (lastDraw || in))
        throw TCliError{"Ключ --numbers нельзя сочетать с --last-draw и --in."};
    if (in.has_value() != rowsText.has_value())
        throw TCliError{"Ключи --in и --rows указываются вместе."};
    if (!numbers && !lastDraw && !in)
        throw TCliError{"Укажите --numbers, --last-draw или --in FILE.lcv --rows N,N,..."};

    std::vector<std::size_t> rows;
    if (in) {
        if (!ctx.Core.CombsOpen(*in))
            return 1;
        for (int32_t n : ParseIntList(*rowsText)) {
            if (n < 1 || static_cast<std::size_t>(n) > ctx.Core.WorkingList().size())
                throw TCliError{Format("Некорректный номер комбинации в --rows: %d (в списке %zu).", n,
                                       ctx.Core.WorkingList().size())};
            rows.push_back(static_cast<std::size_t>(n - 1));
        }
    }
    TRegularInput input = ctx.Core.NewRegularInput(rows);
    input.Comment = comment.value_or(DefaultRegularComment);
    input.UseLastDraw = lastDraw;
    input.Step = step;
    if (numbers) {
        input.CombText = *numbers;
        rows = {0}; // one combination, typed: its numbers are the text
    }
    const int added = ctx.Core.RegularsAdd(input, rows);
    if (added <= 0)
        return 1;
    ctx.Out << added << '\n';
    return 0;
}

int CmdRegularsDelete(TCliContext& ctx) {
    CheckShown(ctx);
    const std::vector<std::size_t> rows = TakeRows(ctx, ctx.Core.Regulars().size());
    if (!ctx.Core.RegularsDelete(rows))
        return 1;
    ctx.Out << rows.size() << '\n';
    return 0;
}

int CmdRegularsStake(TCliContext& ctx) {
    const auto draw = ctx.TakeOption("--draw");
    const int copies = ctx.TakeIntOption("--copies", 1, 1, MaxStakeCopies);
    CheckShown(ctx);
    const std::vector<std::size_t> rows = TakeRows(ctx, ctx.Core.Regulars().size());
    if (rows.size() != 1)
        throw TCliError{"Ставка делается по одной регулярной ставке."};
    const auto prepared = ctx.Core.RegularStakePrepare(rows[0]);
    if (!prepared)
        return 1;
    Session::TStakeInput input;
    input.DrawNumber = prepared->Stake.DrawNumber;
    if (draw && !TryParseInt64(*draw, input.DrawNumber))
        throw TCliError{Format("Некорректное значение ключа --draw: \"%s\".", draw->c_str())};
    input.Copies = copies;
    input.NumbersText = CombToText(prepared->Advanced.CurrentComb);
    input.Comment = prepared->Stake.CommentUtf8();
    if (!ctx.Core.RegularStakeCommit(rows[0], prepared->Advanced, input))
        return 1;
    ctx.Out << input.NumbersText << '\n';
    return 0;
}

int CmdRegularsTest(TCliContext& ctx) {
    const int count = ctx.TakeIntOption("--count", 10, 1, std::numeric_limits<int>::max());
    CheckShown(ctx);
    const std::vector<std::size_t> rows = TakeRows(ctx, ctx.Core.Regulars().size());
    const int64_t added = ctx.Core.RegularsTest(rows, count);
    if (added < 0)
        return 1;
    ctx.Out << added << '\n';
    return 0;
}

} // namespace kumby::cli
