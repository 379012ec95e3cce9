// Commands of the full-set distribution files.

#include "CliContext.h"

#include "model/VexoUtils.h"

#include <algorithm>
#include <ostream>

namespace kumby::cli {

namespace {

constexpr int MaxGroup = 15;

// "0,3,12": every word a group number 0..15.
std::vector<int> ParseGroups(const std::string& text) {
    std::vector<int> groups;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string word = Trim(std::string_view(text).substr(start, comma - start));
        int32_t g = 0;
        if (!TryParseInt(word, g) || g < 0 || g > MaxGroup)
            throw TCliError{Format("Некорректный номер группы методов: \"%s\" (допустимо 0..%d).",
                                   word.c_str(), MaxGroup)};
        groups.push_back(g);
        if (comma == std::string::npos)
            return groups;
        start = comma + 1;
    }
}

} // namespace

// prefetch [--force] [--groups 0,3,...] [CODE...]: creates the missing files, and
// makes again all of them (--force) or those of the named groups and methods; the
// comparison switch of the view settings does not matter here.
int CmdPrefetch(TCliContext& ctx) {
    const bool force = ctx.TakeFlag("--force");
    std::vector<int> groups;
    if (const auto text = ctx.TakeOption("--groups"))
        groups = ParseGroups(*text);
    if (force)
        for (int g = 0; g <= MaxGroup; ++g)
            groups.push_back(g);

    const TStatList& registry = ctx.Core.Registry();
    std::vector<std::size_t> methods;
    for (const std::string& code : ctx.Args) {
        if (code.rfind("--", 0) == 0)
            throw TCliError{Format("Неизвестный ключ: \"%s\".", code.c_str())};
        const int i = registry.FindByCode(code);
        if (i < 0)
            throw TCliError{Format("Неизвестный метод расчета статистики: \"%s\".", code.c_str())};
        if (!registry.Items(static_cast<std::size_t>(i)).StatClass->HasPrefetch())
            throw TCliError{Format("У метода \"%s\" нет файла распределения по полному набору комбинаций.",
                                   code.c_str())};
        if (std::find(methods.begin(), methods.end(), static_cast<std::size_t>(i)) == methods.end())
            methods.push_back(static_cast<std::size_t>(i));
    }
    ctx.Args.clear();

    int written = 0;
    // Named methods first; those of the named groups are made again below anyway.
    for (std::size_t i : methods) {
        const int group = registry.Items(i).StatClass->Group;
        if (std::find(groups.begin(), groups.end(), group) != groups.end())
            continue;
        if (ctx.Core.CreatePrefetchFile(i))
            ++written;
    }
    written += ctx.Core.CreatePrefetchFiles(true, groups);
    ctx.Out << written << '\n';
    return 0;
}

} // namespace kumby::cli
