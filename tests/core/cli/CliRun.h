#pragma once

// Runs the command-line program in-process on a data folder and keeps what it printed.

#include "CliApp.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace kumby::testing {

struct TRun {
    int Code;
    std::string Out;
    std::string Err;
};

inline TRun RunCliIn(const std::filesystem::path& dataDir, std::vector<std::string> args) {
    if (!dataDir.empty())
        args.insert(args.begin(), {"--data-dir", dataDir.string()});
    std::ostringstream out, err;
    std::istringstream in;
    const int code = cli::RunCli(args, "/nonexistent", out, err, in, false);
    return {code, out.str(), err.str()};
}

inline std::vector<std::string> OutputLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream s(text);
    for (std::string l; std::getline(s, l);)
        lines.push_back(l);
    return lines;
}

} // namespace kumby::testing
