// Commands on the draw archive.

#include "CliContext.h"

#include "draws/DemoArchive.h"
#include "draws/DrawArchive.h"
#include "draws/DrawCsv.h"
#include "model/Error.h"
#include "model/VexoUtils.h"

#include <cmath>
#include <ostream>

namespace kumby::cli {

namespace {

std::string TakeFileArg(TCliContext& ctx) {
    if (ctx.Args.empty())
        throw TCliError{"Не указано имя файла."};
    std::string file = ctx.Args.front();
    ctx.Args.erase(ctx.Args.begin());
    ctx.ExpectNoMoreArgs();
    return file;
}

} // namespace

int CmdDrawsList(TCliContext& ctx) {
    ctx.ExpectNoMoreArgs();
    std::vector<std::string> header = {"Тираж"};
    for (int i = 1; i <= NumbersInDraw; ++i)
        header.push_back(std::to_string(i));
    header.push_back("S");
    header.push_back("Дата тиража");
    PrintRow(ctx.Out, header);

    const TDrawsArray& draws = ctx.Core.Draws();
    std::vector<std::string> row(header.size());
    for (auto it = draws.rbegin(); it != draws.rend(); ++it) {
        const TCombination shown = DrawDisplayNumbers(*it, ctx.Sorted);
        row[0] = std::to_string(it->Number);
        for (int i = 0; i < NumbersInDraw; ++i)
            row[1 + i] = std::to_string(shown[i]);
        row[13] = std::to_string(DrawSum(*it));
        row[14] = it->DateTextUtf8();
        PrintRow(ctx.Out, row);
    }
    return 0;
}

int CmdStatus(TCliContext& ctx) {
    ctx.ExpectNoMoreArgs();
    ctx.Out << ctx.Core.DrawsCountPanel() << '\n'
            << ctx.Core.NextDrawPanel() << '\n'
            << ctx.Core.NextDrawNumbersPanel() << '\n';
    return 0;
}

int CmdDrawsImport(TCliContext& ctx) {
    const std::string file = TakeFileArg(ctx);
    TDrawsImportReport report;
    const int added = ctx.Core.DrawsImport(file, &report);
    if (added < 0)
        return 1;
    if (report.Skipped > 0)
        ctx.Ui.ShowWarning(DrawsImportSkippedText(report));
    ctx.Out << added << '\n';
    return 0;
}

int CmdDrawsExport(TCliContext& ctx) {
    const std::string file = TakeFileArg(ctx);
    return ctx.Core.DrawsExport(file) ? 0 : 1;
}

int CmdDrawsAdd(TCliContext& ctx) {
    TDrawRecord rec = ctx.Core.NewDrawRecord();
    const auto numberText = ctx.TakeOption("--number");
    if (numberText) {
        int32_t n = 0;
        if (!TryParseInt(*numberText, n) || n < 1)
            throw TCliError{Format("Некорректное значение ключа --number: \"%s\" (допустимо 1..%d).",
                                   numberText->c_str(), MaxDrawNumber)};
        rec.Number = n;
    }
    const auto numbers = ctx.TakeOption("--numbers");
    const auto date = ctx.TakeOption("--date");
    const bool force = ctx.TakeFlag("--force");
    ctx.ExpectNoMoreArgs();
    if (!numbers)
        throw TCliError{"Не указаны числа тиража (--numbers \"1;2;...\")."};
    if (rec.Number == 0)
        throw TCliError{std::string(NoNewDrawNumberText) + " Укажите номер ключом --number."};

    TCombination comb{};
    if (!ParseDrawNumbers(*numbers, comb))
        throw TCliError{BadDrawNumbersText};
    rec.SetNumbers(comb);
    const TDateTime when = date ? TextToDrawDate(*date) : NowDateTime();
    if (date && TrimView(*date).empty())
        throw TCliError{"Не указана дата тиража."};
    if (!(when > 0)) // day 0 at 00:00 and before: a record keeps no such date
        throw TCliError{Format("Дата тиража \"%s\" раньше самой ранней даты, которую может хранить "
                               "программа (%s).",
                               date ? date->c_str() : "", EarliestDrawDateText)};
    rec.SetDateTextUtf8(DrawDateToText(when));
    if (!force && FindDrawIndex(ctx.Core.Draws(), rec.Number) >= 0)
        throw TCliError{DrawNumberTakenText(rec.Number) + " Добавить еще один тираж с этим номером можно "
                                                          "ключом --force."};
    return ctx.Core.DrawsAdd(rec, force) ? 0 : 1;
}

// "draws delete NUMBER..." or "draws delete --index I...".
int CmdDrawsDelete(TCliContext& ctx) {
    const bool byIndex = ctx.TakeFlag("--index");
    if (ctx.Args.empty())
        throw TCliError{byIndex ? "Не указаны индексы тиражей." : "Не указаны номера тиражей."};
    std::vector<int32_t> values;
    for (const std::string& a : ctx.Args) {
        int32_t n = 0;
        if (!TryParseInt(a, n))
            throw TCliError{
                Format(byIndex ? "Некорректный индекс тиража: \"%s\"." : "Некорректный номер тиража: \"%s\".",
                       a.c_str())};
        values.push_back(n);
    }
    if (byIndex)
        return ctx.Core.DrawsDeleteAt(std::vector<int>(values.begin(), values.end())) ? 0 : 1;
    return ctx.Core.DrawsDelete(values) ? 0 : 1;
}

int CmdDemo(TCliContext& ctx) {
    const int count = ctx.TakeIntOption("--draws", 2000, 1, 1000000);
    const auto seedText = ctx.TakeOption("--seed");
    ctx.ExpectNoMoreArgs();
    uint64_t seed = 12;
    if (seedText) {
        int32_t s = 0;
        if (!TryParseInt(*seedText, s))
            throw TCliError{Format("Некорректное значение ключа --seed: \"%s\".", seedText->c_str())};
        seed = static_cast<uint64_t>(static_cast<uint32_t>(s));
    }

    const std::filesystem::path file = ctx.Core.DataPath(DrawsFileName);
    if (!ctx.Core.Draws().empty() || std::filesystem::exists(file))
        throw TCliError{Format("Архив тиражей уже существует: \"%s\". Демонстрационный архив не создан.",
                               file.string().c_str())};
    SaveDrawArchive(file, MakeDemoArchive(count, seed, std::floor(NowDateTime())));
    ctx.Out << count << '\n';
    return 0;
}

} // namespace kumby::cli

namespace kumby::cli {

int CmdDownload(TCliContext& ctx) {
    TDownloadOptions options;
    if (const auto url = ctx.TakeOption("--url"))
        options.SiteUrl = *url;
    options.MaxRetries = ctx.TakeIntOption("--retries", CliDownloadRetries, 0, 1000);
    ctx.ExpectNoMoreArgs();
    options.Log = [&ctx](const std::string& line) { ctx.Ui.ShowInfo(line); };
    const TDownloadReport report = ctx.Core.DownloadDraws(options);
    ctx.Out << report.Added << '\n';
    return report.Failed ? 1 : 0;
}

} // namespace kumby::cli
