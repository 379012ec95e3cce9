#include "stakes/Ratings.h"

#include "io/AtomicFile.h"
#include "model/Cp1251.h"
#include "model/Error.h"
#include "model/Hash64.h"
#include "model/Money.h"
#include "model/VexoUtils.h"
#include "stakes/RatingsSort.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace kumby {

TRatingFileRecord RatingToRecord(const TRatingEntry& entry) {
    TRatingFileRecord r;
    r.Source.AssignBytes(Utf8ToCp1251(entry.Name));
    r.Count = entry.Count;
    r.HitSum = entry.HitSum;
    std::copy(entry.HitCounts.begin(), entry.HitCounts.end(), r.HitCounts);
    r.Profit = entry.Profit;
    return r;
}

TRatingEntry RatingFromRecord(const TRatingFileRecord& record) {
    TRatingEntry e;
    e.Name = Cp1251ToUtf8(record.Source.Bytes());
    e.Count = record.Count;
    e.HitSum = record.HitSum;
    std::copy(std::begin(record.HitCounts), std::end(record.HitCounts), e.HitCounts.begin());
    e.Profit = record.Profit;
    return e;
}

bool IsSoundRating(const TRatingEntry& e) {
    if (e.Count < 1 || e.HitSum < 0)
        return false;
    int64_t stakes = 0;
    int64_t hits = 0;
    for (int k = 0; k <= MaxHits; ++k) {
        if (e.HitCounts[static_cast<std::size_t>(k)] < 0)
            return false;
        stakes += e.HitCounts[static_cast<std::size_t>(k)];
        hits += int64_t{k} * e.HitCounts[static_cast<std::size_t>(k)];
    }
    return stakes == e.Count && hits == e.HitSum;
}

namespace {

void Merge(TRatingEntry& into, const TRatingEntry& from) {
    into.Count += from.Count;
    into.HitSum += from.HitSum;
    for (std::size_t k = 0; k < into.HitCounts.size(); ++k)
        into.HitCounts[k] += from.HitCounts[k];
    into.Profit += from.Profit;
}

// Two sound entries merge into a sound one unless a counter would overflow.
bool CanMerge(const TRatingEntry& a, const TRatingEntry& b) {
    constexpr int64_t Max = INT32_MAX;
    if (int64_t{a.Count} + b.Count > Max || int64_t{a.HitSum} + b.HitSum > Max)
        return false;
    TMoney sum = 0;
    return !__builtin_add_overflow(a.Profit, b.Profit, &sum);
}

} // namespace

TRatingsLoad RatingsFromBytes(std::string_view bytes) {
    TRatingsLoad load;
    load.Records = static_cast<int64_t>(bytes.size() / RatingRecordSize);
    load.TailBytes = static_cast<int64_t>(bytes.size() % RatingRecordSize);
    std::unordered_map<std::string, std::size_t> index;
    for (int64_t i = 0; i < load.Records; ++i) {
        TRatingFileRecord record;
        std::memcpy(&record, bytes.data() + i * static_cast<int64_t>(RatingRecordSize), RatingRecordSize);
        TRatingEntry entry = RatingFromRecord(record);
        if (!IsSoundRating(entry)) {
            ++load.Bad;
            continue;
        }
        auto [it, added] = index.try_emplace(Utf8ToUpper(entry.Name), load.Items.size());
        if (added) {
            load.Items.push_back(std::move(entry));
        } else if (CanMerge(load.Items[it->second], entry)) {
            Merge(load.Items[it->second], entry);
            ++load.Merged;
        } else {
            ++load.Bad;
        }
    }
    return load;
}

std::string RatingsToBytes(const TRatingsArray& items) {
    std::string bytes(items.size() * RatingRecordSize, '\0');
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TRatingFileRecord r = RatingToRecord(items[i]);
        std::memcpy(bytes.data() + i * RatingRecordSize, &r, RatingRecordSize);
    }
    return bytes;
}

TRatingsFileId RatingsFileIdOf(std::string_view bytes) {
    return {bytes.size(), Hash64(bytes)};
}

TRatingsLoad LoadRatingsFile(const std::filesystem::path& path) {
    const std::string bytes = ReadRegularFile(path, MaxRatingsFileBytes);
    TRatingsLoad load = RatingsFromBytes(bytes);
    load.File = RatingsFileIdOf(bytes);
    return load;
}

TRatingsFileId SaveRatingsFile(const std::filesystem::path& path, const TRatingsArray& items) {
    const std::string bytes = RatingsToBytes(items);
    SaveFileAtomic(path, bytes);
    return RatingsFileIdOf(bytes);
}

std::filesystem::path KeepDamagedRatingsFile(const std::filesystem::path& path) {
    const std::string bytes = ReadRegularFile(path, MaxRatingsFileBytes);
    for (int n = 1; n < 1000; ++n) {
        std::filesystem::path copy = path;
        copy += n == 1 ? std::string(".damaged") : ".damaged" + std::to_string(n);
        // O_EXCL: an earlier copy is never overwritten.
        const int fd = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            throw Error(Format("Не удалось создать файл \"%s\": %s", copy.string().c_str(),
                               SystemErrorText(errno).c_str()));
        }
        std::size_t done = 0;
        int err = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                err = errno;
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        if (err == 0 && ::fsync(fd) != 0)
            err = errno;
        ::close(fd);
        if (err != 0) {
            std::error_code ec;
            std::filesystem::remove(copy, ec);
            throw Error(Format("Ошибка записи в файл \"%s\": %s", copy.string().c_str(),
                               SystemErrorText(err).c_str()));
        }
        return copy;
    }
    throw Error(Format("Не удалось подобрать имя для копии файла \"%s\".", path.string().c_str()));
}

std::string DamagedRatingsText(const std::filesystem::path& path, const TRatingsLoad& load,
                               const std::filesystem::path& copy) {
    std::string problems;
    if (load.TailBytes > 0)
        problems += Format("\r- размер файла не кратен размеру записи (%zu байт): последние %lld байт "
                           "не образуют записи;",
                           RatingRecordSize, static_cast<long long>(load.TailBytes));
    if (load.Bad > 0)
        problems += Format("\r- записей с невозможными значениями счетчиков: %lld;",
                           static_cast<long long>(load.Bad));
    if (load.Merged > 0)
        problems += Format("\r- повторяющихся комментариев (объединены с первой записью): %lld;",
                           static_cast<long long>(load.Merged));
    std::string text = Format("Файл рейтинга \"%s\" поврежден:%s\r\rСохранено записей рейтинга: %zu из %lld.",
                              path.string().c_str(), problems.c_str(), load.Items.size(),
                              static_cast<long long>(load.Records));
    if (!copy.empty())
        text += Format(" Исходный файл сохранен без изменений как \"%s\".", copy.string().c_str());
    return text;
}

// ---- The array ------------------------------------------------------------

void TRatings::Add(std::string_view name, int hits, TMoney profit) {
    if (hits < 0 || hits > MaxHits)
        return;
    Changed_ = true;
    auto [it, added] = Index_.try_emplace(Utf8ToUpper(name), Items_.size());
    if (!added) {
        TRatingEntry& e = Items_[it->second];
        ++e.Count;
        e.HitSum += hits;
        ++e.HitCounts[static_cast<std::size_t>(hits)];
        e.Profit += profit;
        return;
    }
    TRatingEntry e;
    e.Name = std::string(name);
    e.Count = 1;
    e.HitSum = hits;
    e.HitCounts[static_cast<std::size_t>(hits)] = 1;
    e.Profit = profit;
    Items_.push_back(std::move(e));
}

void TRatings::StakeChecked(const TStakeRecord& stake) {
    Add(stake.CommentUtf8(), stake.MatchedCount(), stake.Profit);
}

void TRatings::Clear() {
    Items_.clear();
    Index_.clear();
}

void TRatings::Assign(TRatingsArray items) {
    Items_ = std::move(items);
    Reindex();
}

void TRatings::Reindex() {
    Index_.clear();
    Index_.reserve(Items_.size());
    for (std::size_t i = 0; i < Items_.size(); ++i)
        Index_.try_emplace(Utf8ToUpper(Items_[i].Name), i);
}

void TRatings::Sort(int column, bool descending) {
    const std::vector<std::size_t> order = SortRatings(Items_, column, descending);
    if (order.empty())
        return;
    // The index follows the records to their new places; no key is made again.
    std::vector<std::size_t> placeOf(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        placeOf[order[i]] = i;
    for (auto& [key, index] : Index_)
        index = placeOf[index];
}

} // namespace kumby
