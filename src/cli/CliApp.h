#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kumby::cli {

// Runs one command line of kumby-cli (without the program name) and returns the
// exit code. `programDir` is the default data folder.
int RunCli(const std::vector<std::string>& args, const std::string& programDir, std::ostream& out,
           std::ostream& err, std::istream& in, bool interactive);

} // namespace kumby::cli
