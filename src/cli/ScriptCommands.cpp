// Commands on scripts, as the script tab shows them.

#include "CliContext.h"

#include "script/Script.h"

#include <exception>
#include <ostream>

namespace kumby::cli {

int CmdScriptShow(TCliContext& ctx) {
    std::optional<std::string> file;
    if (!ctx.Args.empty()) {
        file = ctx.Args.front();
        ctx.Args.erase(ctx.Args.begin());
    }
    ctx.ExpectNoMoreArgs();
    TScriptLines lines;
    if (file) {
        try {
            lines = ReadScriptFile(*file);
        } catch (const std::exception& e) {
            ctx.Ui.ShowError(e.what());
            return 1;
        }
    } else {
        lines = ctx.Core.Script().Lines();
    }
    const auto captions = ScriptListCaptions();
    PrintRow(ctx.Out, {captions.begin(), captions.end()});
    for (const std::string& line : lines) {
        const auto cells = ScriptRowCells(line, ctx.Core.Registry());
        PrintRow(ctx.Out, {cells.begin(), cells.end()});
    }
    return 0;
}

} // namespace kumby::cli
