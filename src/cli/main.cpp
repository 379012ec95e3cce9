#include "CliApp.h"

#include "app/ProcessWait.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const std::string programDir = kumby::CurrentProgramFile().parent_path().string();
    return kumby::cli::RunCli(args, programDir, std::cout, std::cerr, std::cin, ::isatty(0) != 0);
}
