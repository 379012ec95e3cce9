// The results site's pages: any bytes read without a crash; only a list without its
// end raises, and every draw given has a date of at most 16 characters.
#include "download/PageText.h"
#include "model/Error.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    try {
        const kumby::TRangePage r = kumby::ReadRangePage(page, 1);
        for (const auto& d : r.Draws)
            if (d.Number < 1 || d.DateText.empty() || d.DateText.size() > 16)
                std::abort();
    } catch (const kumby::Error&) {
    }
    try {
        if (const auto numbers = kumby::ReadSingleDrawPage(page))
            (void)kumby::DrawNumbersProblem(*numbers);
    } catch (const kumby::Error&) {
    }
    return 0;
}
