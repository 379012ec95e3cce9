// Commands on the draw archive.

#include "CliContext.h"

#include "draws/DemoArchive.h"
#include "draws/DrawArchive.h"
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
    const int added = ctx.Core.DrawsImport(file);
    if (added < 0)
        return 1;
    ctx.Out << added << '\n';
    return 0;
}

int CmdDrawsExport(TCliContext& ctx) {
    const std::string file = TakeFileArg(ctx);
    return ctx.Core.DrawsExport(file) ? 0 : 1;
}

int CmdDrawsAdd(TCliContext& ctx) {
    TDrawRecord rec = ctx.Core.NewDrawRecord();
    rec.Number = ctx.TakeIntOption("--number", rec.Number, 1, 2147483647);
    const auto numbers = ctx.TakeOption("--numbers");
    const auto date = ctx.TakeOption("--date");
    ctx.ExpectNoMoreArgs();
    if (!numbers)
        throw TCliError{"Не указаны числа тиража (--numbers \"1;2;...\")."};

    TCombination comb{};
    if (!ParseDrawNumbers(*numbers, comb))
        throw TCliError{BadDrawNumbersText};
    rec.SetNumbers(comb);
    const TDateTime when = date ? TextToDrawDate(*date) : NowDateTime();
    if (date && when <= 0)
        throw TCliError{"Не указана дата тиража."};
    rec.SetDateTextUtf8(DrawDateToText(when));
    return ctx.Core.DrawsAdd(rec) ? 0 : 1;
}

int CmdDrawsDelete(TCliContext& ctx) {
    if (ctx.Args.empty())
        throw TCliError{"Не указаны номера тиражей."};
    std::vector<int32_t> numbers;
    for (const std::string& a : ctx.Args) {
        int32_t n = 0;
        if (!TryParseInt(a, n))
            throw TCliError{Format("Некорректный номер тиража: \"%s\".", a.c_str())};
        if (FindDrawIndex(ctx.Core.Draws(), n) < 0)
            throw TCliError{Format("Тираж № %d не найден в архиве.", n)};
        numbers.push_back(n);
    }
    return ctx.Core.DrawsDelete(numbers) ? 0 : 1;
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
