// Ratings files.
#include "stakes/Ratings.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kumby::TRatingsLoad load = kumby::RatingsFromBytes(bytes);
    // Whatever is kept is sound, and what is written of it reads back unchanged.
    for (const kumby::TRatingEntry& e : load.Items)
        if (!kumby::IsSoundRating(e))
            std::abort();
    const std::string written = kumby::RatingsToBytes(load.Items);
    const kumby::TRatingsLoad again = kumby::RatingsFromBytes(written);
    if (again.Items.size() > load.Items.size() || kumby::RatingsToBytes(again.Items) != written)
        std::abort();
    return 0;
}
