// Commands of the statistics engine.

#include "CliContext.h"

namespace kumby::cli {

int CmdMethods(TCliContext&) { throw TCliError{"Команда ещё не реализована."}; }
int CmdStats(TCliContext&) { throw TCliError{"Команда ещё не реализована."}; }

} // namespace kumby::cli
