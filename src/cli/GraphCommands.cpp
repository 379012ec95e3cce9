// Commands of the graphs tab and the two side analyses.

#include "CliContext.h"

#include "model/VexoUtils.h"

#include <ostream>

namespace kumby::cli {

int CmdChart(TCliContext& ctx) {
    TViewState& view = ctx.Core.View();
    // The options only change this run; nothing is written to the view file.
    view.DrawsGraphLen = ctx.TakeIntOption("--depth", view.DrawsGraphLen, 1, 2147483647);
    if (ctx.Args.empty())
        throw TCliError{"Не указан код метода расчета статистики."};
    const std::string code = ctx.Args.front();
    ctx.Args.erase(ctx.Args.begin());
    ctx.ExpectNoMoreArgs();
    const int method = ctx.Core.Registry().FindByCode(code);
    if (method < 0)
        throw TCliError{Format("Неизвестный метод расчета статистики: \"%s\".", code.c_str())};
    if (!ctx.Core.Registry().Items(static_cast<std::size_t>(method)).StatClass->HasChart)
        throw TCliError{Format("Метод расчета статистики \"%s\" не строит графиков.", code.c_str())};

    view.TabGraphs = true; // the tab's switch plays no part here
    ctx.Core.ComputeGraph(static_cast<std::size_t>(method), true);
    const TGraphSeries& graph = ctx.Core.LastGraph();
    PrintRow(ctx.Out, {"Тираж", "Значение"});
    for (const TGraphPoint& p : graph.Points)
        PrintRow(ctx.Out, {std::to_string(p.Draw), std::to_string(p.Value)});
    if (!graph.Points.empty()) {
        PrintRow(ctx.Out, {GraphAverageTitle, Format("%.2f", graph.Average)});
        PrintRow(ctx.Out, {GraphMostFrequentTitle, std::to_string(graph.MostFrequent)});
    }
    return 0;
}

int CmdSumDist(TCliContext& ctx) {
    ctx.ExpectNoMoreArgs();
    const auto d = ctx.Core.SumDistribution();
    if (!d)
        return 1;
    PrintRow(ctx.Out, {"Сумма", "Комбинаций", "Тиражей"});
    std::size_t drawAt = 0;
    for (const TStatSimpleEntry& e : d->Combinations) {
        // Both lists are sorted by sum; draws with sums outside the full set's (a
        // damaged record) have no line.
        while (drawAt < d->Draws.size() && d->Draws[drawAt].Key < e.Key)
            ++drawAt;
        const int32_t draws =
            drawAt < d->Draws.size() && d->Draws[drawAt].Key == e.Key ? d->Draws[drawAt].Value : 0;
        PrintRow(ctx.Out, {std::to_string(e.Key), std::to_string(e.Value), std::to_string(draws)});
    }
    const std::vector<TChartSeries> chart = SumDistributionChart(*d);
    for (std::size_t k = 0; k < d->Levels.size(); ++k)
        PrintRow(ctx.Out, {chart[2 + k].Title, std::to_string(d->Levels[k].Level)});
    return 0;
}

int CmdRepeats(TCliContext& ctx) {
    const int length = ctx.TakeIntOption("--len", RepeatsDefaultLength, 1, 2147483647);
    const int depth = ctx.TakeIntOption("--depth", RepeatsDefaultDepth, 1, 2147483647);
    ctx.ExpectNoMoreArgs();
    const auto rows = ctx.Core.Repeats(length, depth);
    if (!rows)
        return 1;
    const auto& captions = RepeatsColumnCaptions();
    PrintRow(ctx.Out, std::vector<std::string>(captions.begin(), captions.end()));
    for (const TRepeatRow& row : *rows)
        PrintRow(ctx.Out, {std::to_string(row.Draw), std::to_string(row.Matches), std::to_string(row.Count),
                           row.List});
    return 0;
}

} // namespace kumby::cli
