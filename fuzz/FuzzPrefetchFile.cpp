// Full-set distribution files.
#include "combs/PrefetchFile.h"
#include "model/VexoUtils.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!kumby::PrefetchDamage(bytes).empty())
        return 0;
    // A sound image is what the writer makes of its records, the reserved bytes aside.
    kumby::TStatDrawArray entries;
    for (std::size_t at = 0; at + 12 < size; at += 12) {
        kumby::TPrefetchRecord r;
        std::memcpy(&r, data + at, sizeof r);
        entries.push_back(kumby::StatEntryFromPrefetch(r));
    }
    const std::string again = kumby::PrefetchFileBytes(entries);
    if (again.size() != size || again.compare(0, size - 4, bytes.substr(0, size - 4)) != 0)
        std::abort();
    return 0;
}
