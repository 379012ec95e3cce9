#pragma once

#include <string>
#include <vector>

namespace kumby {

struct TCommandLine {
    bool Restart = false;
    bool NoLanguage = false;
    bool LoadOnly = false;
    bool FullRecreate = false;
    bool FullRefresh = false;
    std::string DataDir;             // empty: the program's folder
    std::vector<std::string> Others; // arguments that are none of the above
};

// A switch matches its bare word or the word after "-", "--", "/" or "\", in any
// case; "--data-dir DIR" and "--data-dir=DIR" name the data folder.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);
bool IsSwitch(const std::string& arg, const char* word);

} // namespace kumby
