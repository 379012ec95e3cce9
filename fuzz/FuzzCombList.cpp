// Combination files and pasted text.
#include "combs/CombList.h"
#include "model/Error.h"
#include "model/VexoUtils.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kumby::TCombsArray list;
    const std::size_t added = kumby::ParseListText(text, list);
    if (added != list.size())
        std::abort();
    // What a list file holds reads back as the same list.
    kumby::TCombsArray again;
    kumby::ParseListText(kumby::CombsToListText(list), again);
    if (again != list)
        std::abort();
    for (std::string_view line : kumby::SplitPastedLines(text)) {
        try {
            kumby::ParseCombination(line);
        } catch (const kumby::Error&) {
        }
    }
    return 0;
}
