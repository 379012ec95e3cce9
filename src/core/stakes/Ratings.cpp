#include "stakes/Ratings.h"

#include "io/AtomicFile.h"
#include "model/Cp1251.h"
#include "model/Error.h"
#include "model/Money.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <numeric>
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

TRatingsLoad LoadRatingsFile(const std::filesystem::path& path) {
    return RatingsFromBytes(ReadRegularFile(path, MaxRatingsFileBytes));
}

void SaveRatingsFile(const std::filesystem::path& path, const TRatingsArray& items) {
    SaveFileAtomic(path, RatingsToBytes(items));
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

// ---- Sorting ----------------------------------------------------------------

namespace {

// Alphabetical order as a Russian locale sorts: letters by their upper case (Latin
// before Cyrillic, Ё right after Е), the lower case one first where only case
// differs, other characters before the letters by their code.
std::u16string CollationKey(const std::string& utf8) {
    const std::string bytes = Utf8ToCp1251(utf8);
    std::u16string primary;
    std::u16string secondary;
    primary.reserve(bytes.size() * 2 + 1);
    for (const char ch : bytes) {
        const auto c = static_cast<uint8_t>(ch);
        char16_t weight = c;
        char16_t lower = 0;
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            const int upper = c >= 'a' ? c - 32 : c;
            weight = static_cast<char16_t>(0x100 + (upper - 'A'));
            lower = c >= 'a' ? 0 : 1;
        } else if (c >= 0xC0) {
            const int upper = c >= 0xE0 ? c - 32 : c;
            weight = static_cast<char16_t>(0x200 + 2 * (upper - 0xC0) + (upper > 0xC5 ? 2 : 0));
            lower = c >= 0xE0 ? 0 : 1;
        } else if (c == 0xA8 || c == 0xB8) { // Ё ё
            weight = static_cast<char16_t>(0x200 + 2 * (0xC5 - 0xC0) + 2);
            lower = c == 0xB8 ? 0 : 1;
        }
        primary.push_back(weight);
        secondary.push_back(lower);
    }
    primary.push_back(0);
    return primary + secondary;
}

int64_t Hundredths(long double value) {
    return RoundHalfEven(value * 100);
}

// The value a numeric column sorts by: counters as they are, averages and money to
// the hundredth, so that what differs by less than half a hundredth compares equal.
int64_t NumericKey(const TRatingEntry& e, int column) {
    const long double count = e.Count > 0 ? e.Count : 1;
    switch (column) {
    case 1:
        return e.Count;
    case 2:
        return e.HitSum;
    case 3:
        return Hundredths(e.HitSum / count);
    case 4:
        return RoundHalfEven(static_cast<long double>(e.Profit) / 100);
    case 5:
        return RoundHalfEven(static_cast<long double>(e.Profit) / count / 100);
    default:
        return e.HitCounts[static_cast<std::size_t>(column - 6)];
    }
}

} // namespace

std::vector<std::size_t> SortRatings(TRatingsArray& items, int column, bool descending) {
    if (column < 0 || column > 18 || items.size() < 2)
        return {};
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (column == 0) {
        std::vector<std::u16string> keys(items.size());
        for (std::size_t i = 0; i < items.size(); ++i)
            keys[i] = CollationKey(items[i].Name);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return descending ? keys[b] < keys[a] : keys[a] < keys[b];
        });
    } else {
        std::vector<int64_t> keys(items.size());
        for (std::size_t i = 0; i < items.size(); ++i)
            keys[i] = NumericKey(items[i], column);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return descending ? keys[b] < keys[a] : keys[a] < keys[b];
        });
    }
    TRatingsArray sorted;
    sorted.reserve(items.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(items[i]));
    items = std::move(sorted);
    return order;
}

} // namespace kumby
