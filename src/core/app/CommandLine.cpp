#include "CommandLine.h"

#include <strings.h>

namespace kumby {

bool IsSwitch(const std::string& arg, const char* word) {
    for (const char* prefix : {"", "-", "--", "/", "\\"}) {
        const std::size_t n = std::char_traits<char>::length(prefix);
        if (arg.compare(0, n, prefix) == 0 && strcasecmp(arg.c_str() + n, word) == 0)
            return true;
    }
    return false;
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine cl;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--data-dir" && i + 1 < args.size())
            cl.DataDir = args[++i];
        else if (a.rfind("--data-dir=", 0) == 0)
            cl.DataDir = a.substr(11);
        else if (IsSwitch(a, "restart"))
            cl.Restart = true;
        else if (IsSwitch(a, "no-language"))
            cl.NoLanguage = true;
        else if (IsSwitch(a, "loadonly"))
            cl.LoadOnly = true;
        else if (IsSwitch(a, "fullrecreate"))
            cl.FullRecreate = true;
        else if (IsSwitch(a, "fullrefresh"))
            cl.FullRefresh = true;
        else
            cl.Others.push_back(a);
    }
    return cl;
}

} // namespace kumby
