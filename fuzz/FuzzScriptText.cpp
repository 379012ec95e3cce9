// Script files and the text of their lines.
#include "model/Records.h"
#include "script/Script.h"
#include "script/ScriptModel.h"
#include "stats/StatList.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

const kumby::TStatList& Registry() {
    static kumby::TDrawsArray draws;
    static kumby::TConfigData config;
    static kumby::TShreddingSettings shredding;
    static kumby::TStatList list = [] {
        kumby::TStatList l(draws, config, shredding);
        l.Rebuild();
        return l;
    }();
    return list;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kumby::TScriptLines lines = kumby::ParseScriptBytes(bytes);
    // What is read is written back as it was read.
    if (kumby::ParseScriptBytes(kumby::ScriptFileBytes(lines)) != lines)
        std::abort();
    for (const std::string& line : lines) {
        kumby::ScriptRowCells(line, Registry());
        kumby::OptionsLogText(kumby::ReadOptions(kumby::LineOptionsText(line)));
        for (int i = 1; i <= kumby::ScriptFilterSlots; ++i) {
            const kumby::TFilterItem item = kumby::ReadFilterItem(kumby::LineFilterText(line, i), Registry());
            // The normalised form reads back as itself (coefficients aside: a written
            // exponent does not read back).
            const std::string text = kumby::FilterItemText(item, Registry());
            if (!item.CDLOverride &&
                kumby::FilterItemText(kumby::ReadFilterItem(text, Registry()), Registry()) != text)
                std::abort();
        }
    }
    return 0;
}
