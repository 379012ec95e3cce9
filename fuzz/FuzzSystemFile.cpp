// System files: every line read is 12 different positions of 1..n, and what is read
// writes and reads back the same.
#include "model/Error.h"
#include "stakes/SystemGenerator.h"
#include "stakes/Systems.h"

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const int n = kumby::MinSystemNumbers + data[0] % (kumby::MaxNumber - kumby::MinSystemNumbers + 1);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        const auto lines = kumby::ParseSystemText(text, n, "fuzz");
        const auto masks = kumby::SystemMasks(lines);
        for (const auto mask : masks)
            if (std::popcount(mask) != kumby::NumbersInDraw || mask >> n != 0)
                std::abort();
        if (kumby::SystemMasks(kumby::ParseSystemText(kumby::SystemFileText(masks, n), n, "again")) != masks)
            std::abort();
    } catch (const kumby::Error&) {
    }
    return 0;
}
