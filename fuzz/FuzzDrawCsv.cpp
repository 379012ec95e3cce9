// Draw import: any bytes must give whole records and never crash.
#include "draws/DrawCsv.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kumby::TDrawsArray draws(3);
    draws[0].Number = 1;
    draws[1].Number = 2;
    draws[2].Number = 3;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int added = kumby::ImportDrawsCsvText(text, draws);
    if (added < 0 || draws.size() != 3u + static_cast<size_t>(added))
        std::abort();
    for (const auto& d : draws)
        if (d.DateText.Length > 16 || d.Number <= 0)
            std::abort();
    return 0;
}
