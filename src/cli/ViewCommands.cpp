// Commands of the card, layout and weekday views: their grids as tables.

#include "CliContext.h"

#include <ostream>

namespace kumby::cli {

namespace {

template <class TView> void PrintGrid(std::ostream& out, const TView& view, int rows, int cols) {
    for (int r = 0; r < rows; ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < cols; ++c)
            cells.push_back(view.CellText(r, c));
        PrintRow(out, cells);
    }
}

} // namespace

int CmdCard(TCliContext& ctx) {
    ctx.ExpectNoMoreArgs();
    ctx.Core.View().TabCard = true; // this run only
    ctx.Core.RefreshCard(true);
    const TCardView& card = ctx.Core.Card();
    // An empty archive has only the header.
    PrintGrid(ctx.Out, card, ctx.Core.Draws().empty() ? 1 : card.RowCount(), TCardView::ColCount);
    return 0;
}

int CmdLayout(TCliContext& ctx) {
    TViewState& view = ctx.Core.View();
    view.LayoutLen = ctx.TakeIntOption("--len", view.LayoutLen, 1, 2147483647);
    ctx.ExpectNoMoreArgs();
    view.TabLayout = true;
    ctx.Core.RefreshLayout(true);
    ctx.Core.RefreshLayoutCompare(true);
    const TLayoutView& layout = ctx.Core.Layout();
    PrintGrid(ctx.Out, layout, layout.RowCount(), layout.ColCount());
    // The five comparison lists follow, each after an empty line.
    for (const TLayoutCompareList& list : layout.CompareLists()) {
        ctx.Out << '\n';
        PrintRow(ctx.Out, {LayoutCountCaption, list.Caption});
        for (const TLayoutCompareList::TRow& row : list.Rows)
            PrintRow(ctx.Out, {std::to_string(row.Count), row.Numbers});
    }
    return 0;
}

int CmdWeekday(TCliContext& ctx) {
    TViewState& view = ctx.Core.View();
    view.WeekLen = ctx.TakeIntOption("--len", view.WeekLen, 1, 2147483647);
    ctx.ExpectNoMoreArgs();
    view.TabWeek = true;
    ctx.Core.RefreshWeek(true);
    PrintGrid(ctx.Out, ctx.Core.Week(), TWeekView::RowCount, TWeekView::ColCount);
    return 0;
}

} // namespace kumby::cli
