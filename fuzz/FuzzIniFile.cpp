// Settings files: any text parses, and what is written back parses to the same values.
#include "io/IniFile.h"
#include "model/Cp1251.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string utf8 = kumby::Cp1251ToUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    kumby::TIniFile ini = kumby::TIniFile::FromText(utf8);
    const std::string before = ini.ReadString("GLOBAL", "MatrixSegments", "-");
    ini.ReadInteger("GLOBAL", "MatrixCols", 4);
    ini.ReadFloat("STAKES", "Cost", 0);
    ini.WriteString("PROXY", "ProxyPassword", utf8.substr(0, 40));
    const kumby::TIniFile again = kumby::TIniFile::FromText(ini.Text());
    if (again.ReadString("GLOBAL", "MatrixSegments", "-") != before)
        std::abort();
    return 0;
}
