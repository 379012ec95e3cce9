// Regular stakes files.
#include "stakes/RegularStakes.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kumby::TRegularsLoad load = kumby::RegularsFromBytes(bytes);
    // Whatever is kept is sound, steps forward without harm, and what is written of
    // it reads back unchanged and undamaged.
    for (kumby::TRegularRecord r : load.Items) {
        if (!kumby::IsSoundRegular(r))
            std::abort();
        if (kumby::AdvanceRegular(r, r.StartComb) && !kumby::IsSoundRegular(r))
            std::abort();
    }
    const std::string written = kumby::RegularsToBytes(load.Items);
    const kumby::TRegularsLoad again = kumby::RegularsFromBytes(written);
    if (again.Damaged() || kumby::RegularsToBytes(again.Items) != written)
        std::abort();
    return 0;
}
