#include "PrefetchFile.h"

#include "io/AtomicFile.h"
#include "model/Error.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <tuple>

namespace kumby {

namespace {

constexpr std::size_t RecordSize = sizeof(TPrefetchRecord);
constexpr std::size_t TrailerSize = 12;

void PutInt32(char* at, int32_t v) {
    std::memcpy(at, &v, sizeof v);
}

int32_t GetInt32(const char* at) {
    int32_t v;
    std::memcpy(&v, at, sizeof v);
    return v;
}

// Keys in the file's order: Key1 first, each an unsigned 16-bit number.
bool KeyBefore(const TPrefetchRecord& a, const TPrefetchRecord& b) {
    return std::tie(a.Key1, a.Key2, a.Key3, a.Key4) < std::tie(b.Key1, b.Key2, b.Key3, b.Key4);
}

} // namespace

std::filesystem::path PrefetchFilePath(const std::filesystem::path& dataDir, const std::string& methodCode) {
    return dataDir / PrefetchFolderName / ("Kumby_12x24_" + methodCode + ".dfc");
}

std::string PrefetchFileBytes(const TStatDrawArray& sortedEntries) {
    int32_t minCount = 0, maxCount = 0, maxDepth = 0;
    int64_t total = 0;
    SummarizeStatEntries(sortedEntries, minCount, maxCount, maxDepth, total);

    std::string bytes(sortedEntries.size() * RecordSize + TrailerSize, '\0');
    char* at = bytes.data();
    for (const TStatEntry& e : sortedEntries) {
        const TPrefetchRecord r = PrefetchFromStatEntry(e);
        std::memcpy(at, &r, RecordSize);
        at += RecordSize;
    }
    PutInt32(at, minCount);
    PutInt32(at + 4, maxCount);
    PutInt32(at + 8, 0);
    return bytes;
}

std::string PrefetchDamage(std::string_view bytes) {
    if (bytes.size() < TrailerSize)
        return Format("размер %zu байт меньше заключительной записи.", bytes.size());
    if (bytes.size() % RecordSize != 0)
        return Format("размер %zu байт не кратен размеру записи (%zu байт).", bytes.size(), RecordSize);
    const std::size_t count = (bytes.size() - TrailerSize) / RecordSize;
    int32_t minCount = std::numeric_limits<int32_t>::max();
    int32_t maxCount = 0;
    TPrefetchRecord previous{};
    for (std::size_t i = 0; i < count; ++i) {
        TPrefetchRecord r;
        std::memcpy(&r, bytes.data() + i * RecordSize, RecordSize);
        if (r.Count < 0)
            return Format("отрицательное количество %d в записи %zu.", r.Count, i + 1);
        if (i > 0 && !KeyBefore(previous, r))
            return Format("записи не упорядочены по значению (запись %zu).", i + 1);
        minCount = std::min(minCount, r.Count);
        maxCount = std::max(maxCount, r.Count);
        previous = r;
    }
    const char* trailer = bytes.data() + count * RecordSize;
    const int32_t fileMin = GetInt32(trailer);
    const int32_t fileMax = GetInt32(trailer + 4);
    if (fileMin != minCount || fileMax != maxCount)
        return Format("заключительная запись (%d, %d) не соответствует записям (%d, %d).", fileMin, fileMax,
                      minCount, maxCount);
    return {};
}

TPrefetchData ReadPrefetchFile(const std::filesystem::path& path) {
    const std::string bytes = ReadWholeFile(path);
    if (bytes.empty())
        throw Error("Файл \"" + path.string() + "\" пуст.");
    if (const std::string damage = PrefetchDamage(bytes); !damage.empty())
        throw Error("Файл \"" + path.string() + "\" поврежден: " + damage);

    const char* trailer = bytes.data() + bytes.size() - TrailerSize;
    TPrefetchData data;
    data.MinCount = GetInt32(trailer);
    data.MaxCount = GetInt32(trailer + 4);
    const std::size_t count = (bytes.size() - TrailerSize) / RecordSize;
    data.Records.resize(count);
    if (count > 0)
        std::memcpy(data.Records.data(), bytes.data(), count * RecordSize);
    return data;
}

bool PrefetchFileNeedsBuilding(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    // Never read what is not a regular file: a FIFO would block, a device never end.
    if (!std::filesystem::is_regular_file(status))
        return true;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size == 0)
        return true;
    std::string bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const std::exception&) {
        return false;
    }
    return !PrefetchDamage(bytes).empty();
}

} // namespace kumby
