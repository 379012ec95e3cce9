// Commands on the ratings of the stake sources.

#include "CliContext.h"

#include "model/VexoUtils.h"
#include "stakes/RatingsSort.h"
#include "stakes/RatingsView.h"

#include <ostream>

namespace kumby::cli {

int CmdRatingsList(TCliContext& ctx) {
    const int mode = ctx.TakeIntOption("--mode", ctx.Core.RatingsEffMode(), RatingsEffModeExpected,
                                       RatingsEffModeRelative);
    int column = -1;
    bool descending = false;
    if (const auto sort = ctx.TakeOption("--sort")) {
        ParseSortOption(*sort, column, descending);
        if (column < 0 || column >= RatingsColumnCount)
            throw TCliError{Format("Некорректное значение ключа --sort: \"%s\" (столбцы 0..%d).",
                                   sort->c_str(), RatingsColumnCount - 1)};
    }
    ctx.ExpectNoMoreArgs();

    // Only this listing is sorted: the file keeps the order the program gave it.
    TRatingsArray items = ctx.Core.Ratings().Items();
    SortRatings(items, column, descending);
    const TRatingCells& captions = RatingsCaptions();
    PrintRow(ctx.Out, std::vector<std::string>(captions.begin(), captions.end()));
    for (const TRatingEntry& e : items) {
        const TRatingCells cells = RatingCells(e, mode);
        PrintRow(ctx.Out, std::vector<std::string>(cells.begin(), cells.end()));
    }
    return 0;
}

int CmdRatingsExport(TCliContext& ctx) {
    if (ctx.Args.empty())
        throw TCliError{"Не указан файл для экспорта рейтинга."};
    const std::string file = ctx.Args.front();
    ctx.Args.erase(ctx.Args.begin());
    ctx.ExpectNoMoreArgs();
    if (!ctx.Core.RatingsExport(file))
        return 1;
    ctx.Out << ctx.Core.Ratings().Count() << '\n';
    return 0;
}

int CmdRatingsRefresh(TCliContext& ctx) {
    ctx.ExpectNoMoreArgs();
    if (!ctx.Core.RatingsRefresh())
        return 1;
    ctx.Out << ctx.Core.Ratings().Count() << '\n';
    return 0;
}

} // namespace kumby::cli
