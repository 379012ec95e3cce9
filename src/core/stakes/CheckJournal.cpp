#include "stakes/CheckJournal.h"

#include "io/AtomicFile.h"
#include "model/Error.h"
#include "model/Hash64.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kumby {

namespace {

// "KUMBYCHK", version, ratings size and hash, stakes count, run count; then per run
// the gap after the previous run and the length, as base-128 numbers; then a hash
// of everything before it.
constexpr std::string_view Magic = "KUMBYCHK";
constexpr uint32_t Version = 1;
constexpr std::size_t HeaderSize = 8 + 4 + 8 + 8 + 8 + 8;
constexpr std::size_t TrailerSize = 8;
// Positions of records, far beyond any file (2^62 bytes at the least).
constexpr uint64_t MaxPosition = uint64_t{1} << 53;
// At most 20 bytes per run and a run for every other record of a file under 2^62
// bytes: in practice a few bytes per run. The bound only keeps a wrong file from
// being read without end.
constexpr std::size_t MaxJournalBytes = std::size_t{1} << 30;

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutU64(std::string& out, uint64_t v) {
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutVarint(std::string& out, uint64_t v) {
    while (v >= 0x80) {
        out.push_back(static_cast<char>((v & 0x7F) | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<char>(v));
}

uint64_t GetU64(std::string_view bytes, std::size_t at) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

uint32_t GetU32(std::string_view bytes, std::size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

// False at the end of the bytes or on a number of more than 64 bits.
bool GetVarint(std::string_view bytes, std::size_t& at, uint64_t& v) {
    v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (at >= bytes.size())
            return false;
        const auto byte = static_cast<unsigned char>(bytes[at++]);
        v |= static_cast<uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return shift < 63 || byte <= 1;
    }
    return false;
}

} // namespace

std::string CheckJournalToBytes(const TCheckJournal& journal) {
    std::string out(Magic);
    PutU32(out, Version);
    PutU64(out, journal.Ratings.Size);
    PutU64(out, journal.Ratings.Hash);
    PutU64(out, static_cast<uint64_t>(journal.StakesCount));
    PutU64(out, journal.Runs.size());
    int64_t end = 0;
    for (const TStakeRun& run : journal.Runs) {
        PutVarint(out, static_cast<uint64_t>(run.First - end));
        PutVarint(out, static_cast<uint64_t>(run.Count));
        end = run.First + run.Count;
    }
    PutU64(out, Hash64(out));
    return out;
}

TCheckJournalRead CheckJournalFromBytes(std::string_view bytes) {
    TCheckJournalRead read;
    auto fail = [&](std::string problem) {
        read.Journal = {};
        read.Problem = std::move(problem);
        return read;
    };
    if (bytes.size() < HeaderSize + TrailerSize || bytes.substr(0, Magic.size()) != Magic)
        return fail("это не журнал проверки ставок");
    const std::size_t bodySize = bytes.size() - TrailerSize;
    if (GetU64(bytes, bodySize) != Hash64(bytes.substr(0, bodySize)))
        return fail("контрольная сумма не совпадает");
    if (const uint32_t version = GetU32(bytes, 8); version != Version)
        return fail(Format("неизвестная версия журнала (%u)", version));
    TCheckJournal& j = read.Journal;
    j.Ratings.Size = GetU64(bytes, 12);
    j.Ratings.Hash = GetU64(bytes, 20);
    const uint64_t stakesCount = GetU64(bytes, 28);
    const uint64_t runCount = GetU64(bytes, 36);
    if (stakesCount > MaxPosition || runCount > stakesCount)
        return fail("неверный заголовок журнала");
    j.StakesCount = static_cast<int64_t>(stakesCount);
    const std::string_view body = bytes.substr(0, bodySize);
    std::size_t at = HeaderSize;
    uint64_t end = 0;
    j.Runs.reserve(static_cast<std::size_t>(std::min<uint64_t>(runCount, body.size())));
    for (uint64_t k = 0; k < runCount; ++k) {
        uint64_t gap = 0;
        uint64_t count = 0;
        if (!GetVarint(body, at, gap) || !GetVarint(body, at, count))
            return fail("список записей ставок оборван");
        // Runs are increasing, apart and inside the stakes file.
        if (count == 0 || (k > 0 && gap == 0) || gap > stakesCount - end || count > stakesCount - end - gap)
            return fail("список записей ставок поврежден");
        j.Runs.push_back({static_cast<int64_t>(end + gap), static_cast<int64_t>(count)});
        end += gap + count;
    }
    if (at != body.size())
        return fail("лишние байты после списка записей ставок");
    return read;
}

void TCheckJournalFile::CheckBegins(std::span<const TStakeRun> runs, int64_t stakesCount) {
    TCheckJournal journal;
    journal.Ratings = Ratings_;
    journal.StakesCount = stakesCount;
    journal.Runs.assign(runs.begin(), runs.end());
    SaveFileAtomic(Path_, CheckJournalToBytes(journal));
    Written_ = true;
}

void RemoveCheckJournal(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::remove(path, ec) && ec)
        throw Error(
            Format("Не удалось удалить файл \"%s\": %s", path.string().c_str(), ec.message().c_str()));
}

TJournalRecovery RecoverCheckJournal(const std::filesystem::path& path, const TRatingsFileId* ratingsFile,
                                     const TStakesFile& stakes, TRatings& ratings,
                                     IStakesProgress* progress) {
    TJournalRecovery result;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec)
        return result;
    auto unusable = [&](std::string problem) {
        result.Outcome = TJournalOutcome::Unusable;
        result.Fed = 0;
        result.Problem = std::move(problem);
        return result;
    };
    TCheckJournalRead read;
    try {
        read = CheckJournalFromBytes(ReadRegularFile(path, MaxJournalBytes));
    } catch (const std::exception& e) {
        return unusable(e.what());
    }
    if (!read.Problem.empty())
        return unusable(read.Problem);
    const TCheckJournal& journal = read.Journal;
    if (!ratingsFile)
        return unusable("файл рейтинга поврежден или не прочитан");
    if (*ratingsFile != journal.Ratings) {
        result.Outcome = TJournalOutcome::Outdated;
        return result;
    }
    // Between the interrupted check and now nothing else writes the stakes file: a
    // different length means it was changed outside, and the positions say nothing.
    if (stakes.Count() != journal.StakesCount)
        return unusable(Format("в файле ставок %lld записей, а при проверке было %lld",
                               static_cast<long long>(stakes.Count()),
                               static_cast<long long>(journal.StakesCount)));

    int64_t total = 0;
    for (const TStakeRun& run : journal.Runs)
        total += run.Count;
    // Fed into a copy: a read error or a stop half-way leaves the ratings as they were.
    TRatings fed = ratings;
    int64_t done = 0;
    constexpr std::size_t Chunk = 4096;
    std::vector<TStakeRecord> chunk;
    try {
        for (const TStakeRun& run : journal.Runs) {
            for (int64_t i = run.First; i < run.First + run.Count;) {
                const std::size_t n =
                    static_cast<std::size_t>(std::min<int64_t>(Chunk, run.First + run.Count - i));
                chunk.resize(n);
                stakes.ReadMany(i, n, chunk.data());
                for (const TStakeRecord& r : chunk) {
                    // One left unchecked: the check ended before it.
                    if (r.Checked) {
                        fed.StakeChecked(r);
                        ++result.Fed;
                    }
                }
                i += static_cast<int64_t>(n);
                done += static_cast<int64_t>(n);
                if (progress) {
                    progress->Progress(done, total);
                    // Half the results would be worse than none: the warning offers the rebuild.
                    if (progress->StopRequested())
                        return unusable("восстановление рейтинга остановлено");
                }
            }
        }
    } catch (const std::exception& e) {
        return unusable(e.what());
    }
    ratings = std::move(fed);
    result.Outcome = TJournalOutcome::Replayed;
    return result;
}

std::string UnusableCheckJournalText(const std::filesystem::path& journal,
                                     const std::filesystem::path& ratings, const std::string& problem) {
    return Format(
        "Журнал прерванной проверки ставок \"%s\" не удалось использовать: %s.\r\rРезультаты ставок, "
        "отмеченных этой проверкой как проверенные, могли не попасть в файл рейтинга \"%s\". Команда "
        "\"Обновить рейтинг\" пересчитает рейтинг по текущим ставкам. Журнал удален.",
        journal.string().c_str(), problem.c_str(), ratings.string().c_str());
}

} // namespace kumby
