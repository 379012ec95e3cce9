// The integer-list notation, combinations, dates and the draw dialog's check.
#include "draws/DrawArchive.h"
#include "model/Error.h"
#include "model/VexoUtils.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kumby::ParseIntList(text);
    try {
        kumby::ParseCombination(text);
    } catch (const kumby::Error&) {
    }
    try {
        kumby::TextToDrawDate(text);
    } catch (const kumby::Error&) {
    }
    kumby::TCombination comb{};
    if (kumby::ParseDrawNumbers(text, comb))
        for (uint8_t n : comb)
            if (n < 1 || n > 24)
                std::abort();
    kumby::MatrixSegmentsFromText(text);
    kumby::DeviationText(text, 5);
    return 0;
}
