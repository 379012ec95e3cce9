// Commands on the stakes file.

#include "CliContext.h"

#include "model/VexoUtils.h"
#include "stakes/StakesGrid.h"

#include <algorithm>
#include <limits>
#include <ostream>

namespace kumby::cli {

namespace {

constexpr int MaxDraw = std::numeric_limits<int32_t>::max();

int DefaultDrawNumber(const TCliContext& ctx) {
    return static_cast<int>(std::clamp<int64_t>(ctx.Core.OffsetInfo().NextDrawNumber, 1, MaxDraw));
}

} // namespace

int CmdStakesList(TCliContext& ctx) {
    const auto last = ctx.TakeOption("--last");
    int32_t draws = 0;
    if (last && (!TryParseInt(*last, draws) || draws < 1))
        throw TCliError{
            Format("Некорректное значение ключа --last: \"%s\" (допустимо 1..%d).", last->c_str(), MaxDraw)};
    ctx.ExpectNoMoreArgs();

    std::vector<std::string> header;
    for (const TStakesGridColumn& column : StakesGridLayout())
        header.push_back(column.Caption);
    PrintRow(ctx.Out, header);

    const TStakesFile& file = ctx.Core.Stakes();
    const int64_t first = last ? file.PositionAtLastDraws(draws).Index : 0;
    std::vector<std::string> row(header.size());
    file.ForEach(first, [&](int64_t, const TStakeRecord& r) {
        const auto cells = StakeGridCells(r);
        std::copy(cells.begin(), cells.end(), row.begin());
        PrintRow(ctx.Out, row);
        return true;
    });
    return 0;
}

int CmdStakesAdd(TCliContext& ctx) {
    const auto numbers = ctx.TakeOption("--numbers");
    const auto in = ctx.TakeOption("--in");
    const bool all = ctx.TakeFlag("--all");
    const bool random = ctx.TakeFlag("--random");
    const auto comment = ctx.TakeOption("--comment");
    const int draw = ctx.TakeIntOption("--draw", DefaultDrawNumber(ctx), 1, MaxDraw);
    const int copies = ctx.TakeIntOption("--copies", 1, 1, MaxStakeCopies);
    ctx.ExpectNoMoreArgs();

    if (numbers && (in || all || random))
        throw TCliError{"Ключ --numbers нельзя сочетать с --in, --all и --random."};
    if (numbers) {
        if (!ctx.Core.StakeAddManual({draw, copies, *numbers, comment.value_or("")}))
            return 1;
        ctx.Out << 1 << '\n';
        return 0;
    }
    if (!in)
        throw TCliError{"Укажите ставку ключом --numbers или файл комбинаций ключом --in."};
    if (all == random)
        throw TCliError{"Укажите один из ключей --all или --random."};
    if (!ctx.Core.CombsOpen(*in))
        return 1;
    const std::string text = comment.value_or(ManualStakeComment);
    if (random) {
        const auto index = ctx.Core.RandomCombinationIndex();
        if (!index)
            throw TCliError{Format("В файле \"%s\" нет комбинаций.", in->c_str())};
        if (!ctx.Core.StakeAddManual({draw, copies, CombToText(ctx.Core.WorkingList()[*index]), text}))
            return 1;
        ctx.Out << 1 << '\n';
        return 0;
    }
    const int64_t added = ctx.Core.StakesAddCombinations(nullptr, draw, copies, text);
    if (added < 0)
        return 1;
    ctx.Out << added << '\n';
    return 0;
}

int CmdStakesCheck(TCliContext& ctx) {
    ctx.ExpectNoMoreArgs();
    const int64_t checked = ctx.Core.StakesCheck();
    if (checked < 0)
        return 1;
    ctx.Out << checked << '\n';
    return 0;
}

int CmdStakesDelete(TCliContext& ctx) {
    const auto matches = ctx.TakeOption("--matches");
    ctx.ExpectNoMoreArgs();
    if (!matches)
        throw TCliError{"Укажите условие ключом --matches, например --matches \"<3\"."};
    const auto filter = ParseStakeFilter(*matches);
    if (!filter)
        throw TCliError{
            Format("Некорректное условие: \"%s\". Допустимо =N, >N, >=N, <N, <=N при N от 0 до %d.",
                   matches->c_str(), MaxHits)};
    const int64_t removed = ctx.Core.StakesDeleteByCondition(*filter);
    if (removed < 0)
        return 1;
    ctx.Out << removed << '\n';
    return 0;
}

int CmdStakesClear(TCliContext& ctx) {
    ctx.ExpectNoMoreArgs();
    const int64_t count = ctx.Core.Stakes().Count();
    if (count == 0) {
        ctx.Out << 0 << '\n';
        return 0;
    }
    if (!ctx.Core.StakesClear())
        return 1;
    ctx.Ui.ClearDeclined(); // refusing to rebuild the ratings keeps them; the stakes are gone
    ctx.Out << count << '\n';
    return 0;
}

} // namespace kumby::cli
