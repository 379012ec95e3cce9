#include "DrawArchive.h"

#include "io/AtomicFile.h"
#include "model/Error.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace kumby {

namespace {

class TFd {
public:
    explicit TFd(int fd) : Fd_(fd) {}
    ~TFd() {
        if (Fd_ >= 0)
            ::close(Fd_);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return Fd_; }

private:
    int Fd_;
};

[[noreturn]] void ThrowReadError(const std::filesystem::path& path, int err) {
    throw Error(
        Format("Не удалось прочитать файл \"%s\": %s", path.string().c_str(), SystemErrorText(err).c_str()));
}

} // namespace

void LoadDrawArchive(const std::filesystem::path& path, TDrawsArray& draws) {
    draws.clear();
    TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT)
            return;
        ThrowReadError(path, errno);
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        ThrowReadError(path, errno);
    const std::size_t count = static_cast<std::size_t>(st.st_size) / DrawRecordSize;
    draws.resize(count);

    // Read straight into the records; whatever arrived before an error stays.
    std::size_t done = 0;
    const int err = ReadChunks(fd.Get(), reinterpret_cast<char*>(draws.data()), count * DrawRecordSize, done);
    draws.resize(done / DrawRecordSize); // a file that shrank meanwhile keeps its whole records
    if (err != 0)
        ThrowReadError(path, err);
}

TDrawRecord CleanDrawRecord(const TDrawRecord& draw) {
    TDrawRecord clean;
    clean.Number = draw.Number;
    std::copy(std::begin(draw.Numbers), std::end(draw.Numbers), clean.Numbers);
    clean.DateText.AssignBytes(draw.DateText.Bytes());
    return clean;
}

std::string DrawArchiveBytes(const TDrawsArray& draws) {
    // Bytes past the date's length (left by an older writer) are not carried over.
    std::string bytes(draws.size() * DrawRecordSize, '\0');
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const TDrawRecord clean = CleanDrawRecord(draws[i]);
        std::memcpy(bytes.data() + i * DrawRecordSize, &clean, DrawRecordSize);
    }
    return bytes;
}

void SaveDrawArchive(const std::filesystem::path& path, const TDrawsArray& draws) {
    SaveFileAtomic(path, DrawArchiveBytes(draws));
}

void DeleteDraw(TDrawsArray& draws, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= draws.size())
        throw Error(Format("Запись со индексом %d в файле данных не найдена!", index));
    draws.erase(draws.begin() + index);
}

void ClearDraws(TDrawsArray& draws) {
    draws.clear();
}

int FindDrawIndex(const TDrawsArray& draws, int32_t number) {
    if (draws.empty())
        return -1;
    const int last = static_cast<int>(draws.size()) - 1;
    if (draws.front().Number == number)
        return 0;
    if (draws.back().Number == number)
        return last;

    // Draw numbers normally grow by one per draw, so the position is a good guess.
    const int64_t first = draws.front().Number;
    const int64_t span = static_cast<int64_t>(draws.back().Number) - first + 1;
    int64_t guess = last;
    if (span != 0) {
        const long double g = static_cast<long double>(draws.size()) * (number - first) / span;
        if (g >= 0 && g <= last)
            guess = static_cast<int64_t>(g);
    }
    int g = static_cast<int>(guess);
    if (draws[g].Number == number)
        return g;
    const int step = draws[g].Number < number ? 1 : -1;
    for (int i = g + step; i >= 0 && i <= last; i += step)
        if (draws[i].Number == number)
            return i;

    // Numbers out of order (entered by hand) are still found.
    for (int i = last; i >= 0; --i)
        if (draws[i].Number == number)
            return i;
    return -1;
}

int64_t NextDrawNumber(const TDrawsArray& draws, int k) {
    if (draws.empty())
        return 1;
    if (k < 0 || static_cast<std::size_t>(k) >= draws.size())
        return -1;
    return int64_t{draws[draws.size() - 1 - k].Number} + 1;
}

std::optional<int32_t> NewDrawNumber(const TDrawsArray& draws) {
    const int64_t next = NextDrawNumber(draws, 0);
    if (next < 1 || next > MaxDrawNumber)
        return std::nullopt;
    return static_cast<int32_t>(next);
}

std::vector<int> DrawIndexesOfNumber(const TDrawsArray& draws, int32_t number) {
    std::vector<int> indexes;
    for (std::size_t i = 0; i < draws.size(); ++i)
        if (draws[i].Number == number)
            indexes.push_back(static_cast<int>(i));
    return indexes;
}

void DrawNumbersAtOffset(const TDrawsArray& draws, int k, TCombination& out) {
    out.fill(0);
    if (k < 0 || static_cast<std::size_t>(k) >= draws.size())
        return;
    out = draws[draws.size() - 1 - k].Combination();
}

TDrawsOffsetInfo ComputeOffsetInfo(const TDrawsArray& draws, int k) {
    TDrawsOffsetInfo info;
    info.NextDrawNumber = NextDrawNumber(draws, k);
    const int count = static_cast<int>(draws.size());
    if (k > 0 && k < count) {
        const TDrawRecord& next = draws[count - k];
        info.NextDrawNumbersText = NumbersToText(next.Numbers, NumbersInDraw, ";");
        for (uint8_t n : next.Numbers)
            if (n <= MaxNumber)
                info.NextDrawSet[n] = true;
    }
    return info;
}

std::string DrawNumberTakenText(int32_t number) {
    return Format("Тираж № %d уже есть в архиве.", number);
}

std::string DrawNumberTakenQuestion(int32_t number) {
    return Format("Тираж № %d уже есть в архиве. Добавить еще один тираж с этим номером?", number);
}

std::string DrawsCountText(std::size_t count) {
    return Format("Архив тиражей: %d", static_cast<int>(count));
}

std::string NextDrawText(int64_t nextNumber) {
    return "Следующий тираж: " + std::to_string(nextNumber);
}

TCombination DrawDisplayNumbers(const TDrawRecord& draw, bool sorted) {
    TCombination comb = draw.Combination();
    if (sorted)
        SortCombination(comb);
    return comb;
}

int DrawSum(const TDrawRecord& draw) {
    int sum = 0;
    for (uint8_t n : draw.Numbers)
        sum += n;
    return sum;
}

bool ParseDrawNumbers(std::string_view text, TCombination& out) {
    TCombination result{};
    int words = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ',' || text[i] == ';') {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && text[i] != ',' && text[i] != ';')
            ++i;
        if (words == NumbersInDraw)
            return false;
        const int32_t value = ParseIntOr(TrimView(text.substr(start, i - start)), 0);
        if (value < 1 || value > MaxNumber)
            return false;
        result[words++] = static_cast<uint8_t>(value);
    }
    if (words != NumbersInDraw)
        return false;
    std::array<bool, MaxNumber + 1> seen{};
    for (uint8_t n : result) {
        if (seen[n])
            return false;
        seen[n] = true;
    }
    out = result;
    return true;
}

} // namespace kumby
