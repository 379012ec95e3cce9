#include "PrefetchFile.h"

#include "io/AtomicFile.h"
#include "model/Error.h"
#include "model/VexoUtils.h"

#include <cstring>

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

TPrefetchData ReadPrefetchFile(const std::filesystem::path& path) {
    const std::string bytes = ReadWholeFile(path);
    if (bytes.empty())
        throw Error("Файл \"" + path.string() + "\" пуст.");
    if (bytes.size() < TrailerSize)
        throw Error("Файл \"" + path.string() + "\" поврежден: его размер " + std::to_string(bytes.size()) +
                    " байт меньше размера заключительной записи.");

    // The trailer is always the last 12 bytes; a file cut short or grown by a partial
    // record keeps the whole records that lie before it.
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

} // namespace kumby
