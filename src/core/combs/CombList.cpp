#include "CombList.h"

#include "combs/FullSet.h"
#include "combs/KeepPass.h"
#include "io/AtomicFile.h"
#include "model/TextLines.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <atomic>
#include <span>

namespace kumby {

namespace {

bool IsListSeparator(char c) {
    return c == ',' || c == ';';
}

// Calls f(word) for every maximal run of characters that are not separators.
template <typename Sep, typename F> void ForEachWord(std::string_view text, Sep isSeparator, F&& f) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (isSeparator(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && !isSeparator(text[i]))
            ++i;
        f(text.substr(start, i - start));
    }
}

uint8_t ByteOrZero(int32_t v) {
    return v >= 0 && v <= 255 ? static_cast<uint8_t>(v) : 0;
}

// A word of a list file as a number: plain digits (nearly every word) are read at
// once, anything else goes through the general integer reading.
uint8_t ListNumber(std::string_view word) {
    if (!word.empty() && word.size() <= 3 &&
        std::all_of(word.begin(), word.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
        int value = 0;
        for (const char ch : word)
            value = value * 10 + (ch - '0');
        return ByteOrZero(value);
    }
    return ByteOrZero(ParseIntOr(TrimView(word), 0));
}

// A combination of 12 distinct numbers of 1..24 as a set of bits.
bool RegularMask(const uint8_t* numbers, uint32_t& mask) {
    mask = 0;
    for (int i = 0; i < NumbersInDraw; ++i) {
        const uint8_t n = numbers[i];
        if (n < 1 || n > MaxNumber || (mask >> (n - 1) & 1))
            return false;
        mask |= 1u << (n - 1);
    }
    return true;
}

constexpr uint32_t FilterBits = 1u << 20;

uint32_t FilterSlot(uint32_t mask) {
    return (mask * 0x9E3779B1u) >> 12;
}

int CountPairs(const uint8_t* a, const uint8_t* b) {
    int count = 0;
    for (int i = 0; i < NumbersInDraw; ++i)
        for (int j = 0; j < NumbersInDraw; ++j)
            count += a[i] == b[j] ? 1 : 0;
    return count;
}

} // namespace

const std::array<const char*, GenerateModeCount>& GenerateModeCaptions() {
    static const std::array<const char*, GenerateModeCount> captions = {
        "Полный список (все возможные для данного лото варианты)",
        "Мои числа - должно присутствовать любое из указанных",
        "Мои числа - комбинации только из списка указанных",
        "Мои числа - исключить комбинации с любым из указанных",
        "Загрузить список из заранее подготовленного CSV-файла",
    };
    return captions;
}

TOwnNumbers ParseOwnNumbers(std::string_view text) {
    TOwnNumbers own{};
    ForEachWord(text, IsListSeparator, [&](std::string_view word) {
        const int32_t v = ParseIntOr(TrimView(word), 0);
        if (v >= 0 && v <= 255)
            own[v] = true;
    });
    return own;
}

void GenerateCombinations(TCombsArray& list, int mode, const TOwnNumbers& own) {
    list.clear();
    auto isOwn = [&own](uint8_t n) { return own[n]; };
    switch (mode) {
    case 1:
        // Counted without an early exit: where the first own number falls is random,
        // and a mispredicted exit costs more than the table reads it saves.
        ForEachFullSetCombination([&](const TCombination& c) {
            unsigned count = 0;
            for (const uint8_t n : c)
                count += own[n] ? 1u : 0u;
            const bool pass = count > 0;
            if (pass)
                list.push_back(c);
        });
        break;
    case 2:
        ForEachFullSetCombination([&](const TCombination& c) {
            if (std::all_of(c.begin(), c.end(), isOwn))
                list.push_back(c);
        });
        break;
    case 3:
        ForEachFullSetCombination([&](const TCombination& c) {
            if (std::none_of(c.begin(), c.end(), isOwn))
                list.push_back(c);
        });
        break;
    default:
        FillFullSet(list);
        break;
    }
}

std::string CombsToListText(const TCombsArray& list) {
    std::string text;
    text.reserve(list.size() * 32);
    for (const TCombination& c : list) {
        text += CombToText(c);
        text += "\r\n";
    }
    return text;
}

std::size_t ParseListText(std::string_view text, TCombsArray& list) {
    std::size_t added = 0;
    ForEachLine(text, [&](std::string_view line) {
        TCombination c{};
        int words = 0;
        ForEachWord(line, IsListSeparator, [&](std::string_view word) {
            if (words < NumbersInDraw)
                c[words] = ListNumber(word);
            ++words;
        });
        if (words == NumbersInDraw) {
            list.push_back(c);
            ++added;
        }
    });
    return added;
}

void LoadListFile(const std::filesystem::path& path, TCombsArray& list) {
    ParseListText(ReadRegularFile(path, MaxListFileBytes), list);
}

void SaveListFile(const std::filesystem::path& path, const TCombsArray& list) {
    SaveFileAtomic(path, CombsToListText(list)); // digits and ";" only: CP1251 as it stands
}

std::string CombsToClipboardText(const TCombsArray& list, const std::vector<std::size_t>& rows) {
    std::string text;
    text.reserve(rows.size() * 38);
    for (std::size_t r : rows)
        if (r < list.size()) {
            text += CombToClipboardText(list[r]);
            text += "\r\n";
        }
    return text;
}

std::vector<std::string_view> SplitPastedLines(std::string_view text) {
    std::vector<std::string_view> lines;
    ForEachLine(text, [&](std::string_view line) { lines.push_back(line); });
    return lines;
}

bool RemoveDrawnCombinations(const TCombsArray& from, TCombsArray& to, const TDrawsArray& draws, int first,
                             int last, const std::function<bool(std::size_t)>& progress) {
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(draws.size()) - 1);

    // Two regular sets of 12 share 12 numbers exactly when they are equal, so such
    // draws go into a sorted list of masks behind a small bit filter that fits the
    // cache; the few irregular draws (damaged or imported ones) are compared pair by
    // pair as the rule says.
    std::vector<uint32_t> drawn;
    std::vector<uint64_t> filter(FilterBits / 64, 0);
    std::vector<const TDrawRecord*> irregular;
    for (int i = first; i <= last; ++i) {
        uint32_t mask = 0;
        if (RegularMask(draws[i].Numbers, mask)) {
            drawn.push_back(mask);
            const uint32_t h = FilterSlot(mask);
            filter[h >> 6] |= uint64_t{1} << (h & 63);
        } else {
            irregular.push_back(&draws[i]);
        }
    }
    std::sort(drawn.begin(), drawn.end());
    auto isDrawn = [&](uint32_t mask) {
        const uint32_t h = FilterSlot(mask);
        return (filter[h >> 6] >> (h & 63) & 1) && std::binary_search(drawn.begin(), drawn.end(), mask);
    };
    auto isRemoved = [&](const TCombination& c) {
        if (first > last)
            return false;
        uint32_t mask = 0;
        if (RegularMask(c.data(), mask)) {
            if (isDrawn(mask))
                return true;
            for (const TDrawRecord* d : irregular)
                if (CountPairs(d->Numbers, c.data()) == 12)
                    return true;
            return false;
        }
        for (int d = first; d <= last; ++d)
            if (CountPairs(draws[d].Numbers, c.data()) == 12)
                return true;
        return false;
    };

    // Every slice counts what it has done into `done`; the calling thread's slice
    // reports the total about 100 times and passes a stop on to the others.
    const std::size_t step = std::max<std::size_t>(1, from.size() / 100);
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stop{false};
    const std::size_t parts = KeepPassParts(from.size());
    KeepInOrder(from, to, parts, [&](std::size_t part, std::span<const TCombination> in, TCombination* out) {
        TCombination* const start = out;
        std::size_t untilReport = part == 0 ? step : step / parts + 1;
        std::size_t sinceReport = 0;
        for (const TCombination& c : in) {
            if (!isRemoved(c))
                *out++ = c;
            ++sinceReport;
            if (--untilReport != 0)
                continue;
            const std::size_t total = done.fetch_add(sinceReport) + sinceReport;
            sinceReport = 0;
            if (part == 0) {
                untilReport = step;
                if (progress && !progress(std::min(total, from.size())))
                    stop = true;
            } else {
                untilReport = step / parts + 1;
            }
            if (stop)
                break;
        }
        return static_cast<std::size_t>(out - start);
    });
    return !stop;
}

std::vector<std::string> FindInArchive(const TDrawsArray& draws, const TCombination& comb) {
    std::vector<std::string> lines;
    for (auto it = draws.rbegin(); it != draws.rend() && lines.size() <= 25; ++it)
        if (CountMatches(*it, comb) == 12)
            lines.push_back(DrawToText(*it));
    return lines;
}

} // namespace kumby
