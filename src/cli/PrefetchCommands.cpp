// Commands of the full-set distribution files.

#include "CliContext.h"

namespace kumby::cli {

int CmdPrefetch(TCliContext&) { throw TCliError{"Команда ещё не реализована."}; }

} // namespace kumby::cli
