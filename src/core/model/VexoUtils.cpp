#include "VexoUtils.h"

#include "Cp1251.h"
#include "Error.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>

namespace kumby {

namespace {

constexpr long double Uint64Bound = 18446744073709551616.0L; // 2^64

uint64_t NearestUnsigned(long double value) {
    if (!std::isfinite(value) || value <= 0)
        return 0;
    const long double rounded = std::nearbyint(value);
    if (rounded >= Uint64Bound)
        return std::numeric_limits<uint64_t>::max();
    return static_cast<uint64_t>(rounded);
}

// 1 * 2 * ... * n in extended precision: exact for every factorial this game needs.
long double Factorial(int n) {
    long double product = 1;
    for (int i = 2; i <= n && std::isfinite(product); ++i)
        product *= i;
    return product;
}

// C(m, j) as the falling product m (m - 1) ... (m - j + 1) over j!.
long double FallingBinomial(int m, int j) {
    if (j < 0 || j > m)
        return 0;
    long double product = 1;
    for (int i = 0; i < j; ++i)
        product *= m - i;
    return product / Factorial(j);
}

int UsedCount(int32_t count) {
    return std::clamp<int32_t>(count, 0, NumbersInDraw);
}

bool SameKey(const TLastValueEntry& entry, const TStatEntry& key) {
    return entry.Key1 == key.Key1 && entry.Key2 == key.Key2 && entry.Key3 == key.Key3 &&
           entry.Key4 == key.Key4;
}

template <typename T, typename Less> void InsertionSort(T* first, T* last, Less less) {
    if (last - first < 2)
        return;
    for (T* i = first + 1; i < last; ++i) {
        T value = *i;
        T* j = i;
        while (j > first && less(value, *(j - 1))) {
            *j = *(j - 1);
            --j;
        }
        *j = value;
    }
}

// ---- Calendar (proleptic Gregorian, day 0 = 30.12.1899) ----

constexpr int64_t DayOfEpoch1970 = 25569; // 01.01.1970 as a day number
constexpr int64_t FirstDay = -693593;     // 01.01.0001
constexpr int64_t LastDay = 2958465;      // 31.12.9999

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468 + DayOfEpoch1970;
}

void CivilFromDays(int64_t dayNumber, int& year, int& month, int& day) {
    const int64_t z = dayNumber - DayOfEpoch1970 + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool ValidDateTime(int year, int month, int day, int hour, int minute, int second) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 &&
           second >= 0 && second <= 59;
}

bool IsSeparator(char c, std::string_view separators) {
    return separators.find(c) != std::string_view::npos;
}

// Larger ranges are refused so that a typing slip cannot exhaust memory.
constexpr int64_t MaxRangeElements = 100000;

TIntArray ParseIntRange(std::string_view text) {
    std::string lo;
    std::string hi;
    std::string step;
    int part = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (part == 0) {
            if (c == '-' && i > 0)
                part = 1;
            else
                lo.push_back(c);
        } else if (part == 1) {
            if (c == ';' || c == ',')
                part = 2;
            else
                hi.push_back(c);
        } else {
            step.push_back(c);
        }
    }
    int32_t first = 0;
    int32_t last = 0;
    int32_t delta = 0;
    if (!TryParseInt(TrimView(lo), first) || !TryParseInt(TrimView(hi), last) ||
        !TryParseInt(TrimView(step), delta) || delta == 0)
        return {};
    const int64_t count = (static_cast<int64_t>(last) - first) / delta + 1;
    if (count < 1 || count > MaxRangeElements)
        return {};
    TIntArray result;
    result.reserve(static_cast<std::size_t>(count));
    for (int64_t i = 0; i < count; ++i)
        result.push_back(static_cast<int32_t>(first + i * delta));
    return result;
}

} // namespace

// Maximal runs of characters that are not separators; runs of separators count once.
std::vector<std::string_view> SplitWords(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsSeparator(text[pos], separators))
            ++pos;
        const std::size_t start = pos;
        while (pos < text.size() && !IsSeparator(text[pos], separators))
            ++pos;
        if (pos > start)
            words.push_back(text.substr(start, pos - start));
    }
    return words;
}

// ---- Arithmetic ---------------------------------------------------------

uint64_t Binomial(int n, int k) {
    if (k >= n)
        return 1;
    if (k < 0)
        return 0;
    return NearestUnsigned(Factorial(n) / (Factorial(n - k) * Factorial(k)));
}

uint64_t HitCount(int n, int k, int hits) {
    if (hits >= n)
        return 1;
    if (hits < 0 || k < 0 || k > n)
        return 0;
    return NearestUnsigned(FallingBinomial(k, hits) * FallingBinomial(n - k, k - hits));
}

int GroupOf(int n, int w) {
    if (w < 1)
        return 0;
    return n > 0 ? (n - 1) / w + 1 : n / w;
}

int GroupCount(int first, int last, int w) {
    if (first == 0)
        return GroupOf(last, w);
    return GroupOf(last - first + 1, w);
}

int MatrixColumn(int n, int cols) {
    return cols < 1 ? 0 : (n - 1) % cols + 1;
}

int MatrixRow(int n, int cols) {
    return cols < 1 ? 0 : (n - 1) / cols + 1;
}

int MatrixNumber(int column0, int row0, int cols) {
    return 1 + column0 + row0 * cols;
}

int ShiftNumber(int n, int s) {
    if (s == 0)
        return n;
    const int m = n + s;
    if (s > 0 && m > MaxNumber)
        return m - MaxNumber;
    if (s < 0 && m <= 0)
        return m + MaxNumber;
    return m;
}

void ShiftDraw(const TDrawRecord& draw, int s, TCombination& out) {
    for (int i = 0; i < NumbersInDraw; ++i)
        out[i] = static_cast<uint8_t>(ShiftNumber(draw.Numbers[i], s));
}

TColour NumberColour(int n, int w) {
    static constexpr TColour palette[19] = {
        0xAAFFAA, 0xFFFFAA, 0xAAFFFF, 0xFFAAAA, 0xAAAAFF, 0xFFD5AA, 0xD5AAFF, 0xD4D4D4, 0xAAD5FF, 0xFFAAD5,
        0xD5FFD5, 0xFFFFD5, 0xD5FFFF, 0xFFD5D5, 0xD5D5FF, 0xFFEAD5, 0xEAD5FF, 0xE9E9E9, 0xD5EAFF,
    };
    if (n < 1 || n > MaxNumber)
        return PureRed;
    int g = GroupOf(n, std::max(w, 1));
    if (g > 19)
        g -= 19;
    return palette[g - 1];
}

// ---- Membership and counting ----------------------------------------------

bool DrawContains(int n, const TDrawRecord& draw) {
    return std::find(std::begin(draw.Numbers), std::end(draw.Numbers), n) != std::end(draw.Numbers);
}

bool CombContains(int n, const TCombination& comb) {
    return std::find(comb.begin(), comb.end(), n) != comb.end();
}

bool ByteListContains(int n, const TByteArray& list) {
    return std::find(list.begin(), list.end(), n) != list.end();
}

bool DrawHasGroup(int g, const TDrawRecord& draw, int w) {
    for (uint8_t number : draw.Numbers)
        if (GroupOf(number, w) == g)
            return true;
    return false;
}

bool DrawHasSegment(int s, const TDrawRecord& draw, const std::array<uint8_t, MaxNumber>& table) {
    for (uint8_t number : draw.Numbers)
        if (number >= 1 && number <= MaxNumber && table[number - 1] == s)
            return true;
    return false;
}

void AddUniqueByte(uint8_t n, TByteArray& list) {
    if (!ByteListContains(n, list))
        list.push_back(n);
}

void AppendByte(uint8_t n, TByteArray& list) {
    list.push_back(n);
}

int CountMatches(const TDrawRecord& draw, const TCombination& comb) {
    int matches = 0;
    for (uint8_t a : draw.Numbers)
        for (uint8_t b : comb)
            matches += a == b;
    return matches;
}

int CountDrawMatches(const TDrawRecord& a, const TDrawRecord& b) {
    return CountMatches(a, b.Combination());
}

int CountDistinctNumbers(const TCombination* combs, std::size_t count) {
    bool seen[256] = {};
    int distinct = 0;
    for (std::size_t i = 0; i < count; ++i)
        for (uint8_t number : combs[i]) {
            if (seen[number])
                continue;
            seen[number] = true;
            if (++distinct == MaxNumber)
                return distinct;
        }
    return distinct;
}

void CollectDistinctNumbers(const TCombination* combs, std::size_t count, TByteArray& out) {
    out.clear();
    bool seen[256] = {};
    for (std::size_t i = 0; i < count; ++i)
        for (uint8_t number : combs[i]) {
            if (seen[number])
                continue;
            seen[number] = true;
            out.push_back(number);
            if (out.size() == MaxNumber)
                return;
        }
}

void IntersectNumbers(const TDrawRecord& draw, const TNumberList& list, TNumberList& out) {
    TNumberList result;
    const int used = UsedCount(list.Count);
    for (uint8_t number : draw.Numbers) {
        if (std::find(list.Numbers, list.Numbers + used, number) != list.Numbers + used)
            result.Numbers[result.Count++] = number;
    }
    SortNumberList(result);
    out = result;
}

bool SameNumbers(const TNumberList& a, const TNumberList& b) {
    if (a.Count != b.Count)
        return false;
    const int used = UsedCount(a.Count);
    for (int i = 0; i < used; ++i)
        if (std::find(b.Numbers, b.Numbers + used, a.Numbers[i]) == b.Numbers + used)
            return false;
    return true;
}

// ---- Sorting ------------------------------------------------------------

void SortDrawNumbers(TDrawRecord& draw) {
    InsertionSort(std::begin(draw.Numbers), std::end(draw.Numbers), std::less<uint8_t>());
}

void SortCombination(TCombination& comb) {
    InsertionSort(comb.data(), comb.data() + comb.size(), std::less<uint8_t>());
}

void SortNumberList(TNumberList& list) {
    InsertionSort(list.Numbers, list.Numbers + UsedCount(list.Count), std::less<uint8_t>());
}

void SortIntsDescending(TIntArray& list) {
    std::stable_sort(list.begin(), list.end(), std::greater<int32_t>());
}

// ---- Statistic value arrays ---------------------------------------------

void AddStatEntry(TStatDrawArray& list, const TStatEntry& e, bool trackPeriods) {
    const auto found =
        std::find_if(list.begin(), list.end(), [&](const TStatEntry& x) { return x.SameKey(e); });
    if (found == list.end()) {
        TStatEntry copy = e;
        copy.Norm = 0;
        list.push_back(copy);
        return;
    }
    MergeStatEntry(*found, e, trackPeriods);
}

void SortStatEntries(TStatDrawArray& list) {
    std::stable_sort(list.begin(), list.end(), [](const TStatEntry& a, const TStatEntry& b) {
        if (a.Key1 != b.Key1)
            return a.Key1 < b.Key1;
        if (a.Key2 != b.Key2)
            return a.Key2 < b.Key2;
        if (a.Key3 != b.Key3)
            return a.Key3 < b.Key3;
        return a.Key4 < b.Key4;
    });
}

void SummarizeStatEntries(const TStatDrawArray& list, int32_t& minCount, int32_t& maxCount, int32_t& maxDepth,
                          int64_t& total) {
    minCount = std::numeric_limits<int32_t>::max();
    maxCount = 0;
    maxDepth = 0;
    total = 0;
    for (const TStatEntry& e : list) {
        total += e.Count;
        minCount = std::min(minCount, e.Count);
        maxCount = std::max(maxCount, e.Count);
        if (maxDepth == 0 || e.Depth > maxDepth)
            maxDepth = e.Depth;
    }
}

int UpdateLastValue(TLastValueArray& list, int index, const TStatEntry& key) {
    for (TLastValueEntry& entry : list) {
        if (SameKey(entry, key)) {
            const int gap = index - entry.Index;
            entry.Index = index;
            return gap;
        }
    }
    list.push_back({index, key.Key1, key.Key2, key.Key3, key.Key4});
    return -1;
}

void AddSimpleValue(TStatSimpleArray& list, int32_t key, int32_t amount) {
    for (TStatSimpleEntry& entry : list) {
        if (entry.Key == key) {
            if (amount > 0)
                entry.Value += amount;
            return;
        }
    }
    list.push_back({key, amount});
}

void SortSimpleValues(TStatSimpleArray& list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const TStatSimpleEntry& a, const TStatSimpleEntry& b) { return a.Key < b.Key; });
}

// ---- Result accumulators ------------------------------------------------

// Hit counts outside 0..12 are not results of a 12-number stake: such a call
// changes nothing, so HitCounts is never indexed out of range.
void AddRating(TRatingsArray& list, std::string_view name, int hits, TMoney profit) {
    if (hits < 0 || hits > MaxHits)
        return;
    for (TRatingEntry& entry : list) {
        if (SameTextIgnoreCase(entry.Name, name)) {
            ++entry.Count;
            entry.HitSum += hits;
            ++entry.HitCounts[hits];
            entry.Profit += profit;
            return;
        }
    }
    TRatingEntry entry;
    entry.Name = std::string(name);
    entry.Count = 1;
    entry.HitSum = hits;
    entry.HitCounts[hits] = 1;
    entry.Profit = profit;
    list.push_back(std::move(entry));
}

void AddDrawProfit(TProfitDrawArray& list, int32_t drawNumber, TMoney profit) {
    for (TProfitDrawEntry& entry : list) {
        if (entry.DrawNumber == drawNumber) {
            entry.Profit += profit;
            return;
        }
    }
    list.push_back({drawNumber, profit});
}

// ---- Weight of a statistic value ----------------------------------------

long double CdlWeight(const TConfigData& config, bool hasNorm, long double count, long double norm,
                      long double depth, long double total, long double maxDepth) {
    const long double deviation = hasNorm ? count - norm : 0;
    long double x = count;
    long double y = deviation;
    long double z = depth;
    if (config.UsePercents) {
        x = total != 0 ? count * 100 / total : 0;
        y = hasNorm && norm != 0 ? deviation * 100 / norm : 0;
        z = maxDepth != 0 ? depth * 100 / maxDepth : 0;
    }
    if (config.UseAbsValues) {
        x = std::fabs(x);
        y = std::fabs(y);
        z = std::fabs(z);
    }
    const long double result = config.CoefCount * x + config.CoefDeviation * y + config.CoefLevel * z;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z) || !std::isfinite(result))
        return CdlWeightFault;
    return result;
}

// ---- Dates --------------------------------------------------------------

std::string DrawDateToText(TDateTime t) {
    if (!(t > 0))
        return {};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    DecodeDateTime(t, year, month, day, hour, minute);
    if (year == 0)
        return {};
    return Format("%02d.%02d.%04d %02d:%02d", day, month, year, hour, minute);
}

TDateTime TextToDrawDate(std::string_view text) {
    const std::string_view s = TrimView(text);
    if (s.empty())
        return 0;
    auto piece = [&](std::size_t start, std::size_t length) {
        return start < s.size() ? ParseIntOr(TrimView(s.substr(start, length)), 0) : 0;
    };
    const int day = piece(0, 2);
    const int month = piece(3, 2);
    const int year = piece(6, 4);
    const int hour = piece(11, 2);
    const int minute = piece(14, 2);
    if (!ValidDateTime(year, month, day, hour, minute, 0))
        throw Error("Некорректная дата и время: \"" + std::string(text) + "\"");
    return EncodeDateTime(year, month, day, hour, minute, 0);
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (!ValidDateTime(year, month, day, hour, minute, second))
        throw Error(Format("Некорректная дата и время: %02d.%02d.%04d %02d:%02d:%02d", day, month, year, hour,
                           minute, second));
    const auto date =
        static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)));
    const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Before day 0 the time of day counts away from zero, as the integer part does.
    return date < 0 ? date - time : date + time;
}

// The time is rounded to the nearest minute, so a value a hair below 20:00 reads
// as 20:00 and not 19:59. Values outside 01.01.0001..31.12.9999 give all zeros.
void DecodeDateTime(TDateTime t, int& year, int& month, int& day, int& hour, int& minute) {
    year = month = day = hour = minute = 0;
    if (!std::isfinite(t) || t < static_cast<double>(FirstDay) - 1 || t > static_cast<double>(LastDay) + 1)
        return;
    int64_t dayNumber = static_cast<int64_t>(std::trunc(t));
    const double fraction = std::fabs(t - static_cast<double>(dayNumber));
    int64_t minutes = std::llround(fraction * 1440.0);
    if (minutes >= 1440) {
        minutes -= 1440;
        ++dayNumber;
    }
    if (dayNumber < FirstDay || dayNumber > LastDay)
        return;
    CivilFromDays(dayNumber, year, month, day);
    hour = static_cast<int>(minutes / 60);
    minute = static_cast<int>(minutes % 60);
}

TDateTime NowDateTime() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    const TDateTime whole = EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                           local.tm_hour, local.tm_min, std::min(local.tm_sec, 59));
    return whole + static_cast<double>(millis < 0 ? 0 : millis) / 86400000.0;
}

// ---- Texts --------------------------------------------------------------

std::string DrawToText(const TDrawRecord& draw) {
    return Format("Тираж № %d от %s, значения: %s", draw.Number, draw.DateTextUtf8().c_str(),
                  NumbersToText(draw.Numbers, NumbersInDraw, ";").c_str());
}

std::string CombToText(const TCombination& comb) {
    return NumbersToText(comb.data(), NumbersInDraw, ";");
}

std::string NumbersToText(const uint8_t* numbers, int count, std::string_view separator) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += separator;
        text += std::to_string(numbers[i]);
    }
    return text;
}

std::string NumberListToText(const TNumberList& list, std::string_view separator) {
    return NumbersToText(list.Numbers, UsedCount(list.Count), separator);
}

std::string CombToClipboardText(const TCombination& comb) {
    std::string text;
    for (int i = 0; i < NumbersInDraw; ++i) {
        if (i > 0)
            text += ' ';
        text += Format("%02d", comb[i]);
    }
    return text;
}

// Line ends and other control characters around the whole text are dropped first,
// so a line read with its CR LF still parses. A word that is not a number, or a
// number outside 0..255 that a byte cannot hold, gives 0 rather than a wrapped value.
TCombination ParseCombination(std::string_view text) {
    const std::vector<std::string_view> words = SplitWords(TrimView(text), "\t ,-.:;|");
    if (words.size() != NumbersInDraw)
        throw Error("Некорректная комбинация: \"" + std::string(text) + "\"!");
    TCombination comb{};
    for (int i = 0; i < NumbersInDraw; ++i) {
        const int32_t value = ParseIntOr(TrimView(words[i]), 0);
        comb[i] = value >= 0 && value <= 255 ? static_cast<uint8_t>(value) : 0;
    }
    return comb;
}

TIntArray ParseIntList(std::string_view text) {
    TIntArray result;
    bool listForm = true;
    for (std::string_view word : SplitWords(text, ",;")) {
        int32_t value = 0;
        if (!TryParseInt(TrimView(word), value)) {
            listForm = false;
            break;
        }
        result.push_back(value);
    }
    if (listForm)
        return result;
    return ParseIntRange(text);
}

std::string IntListToText(const TIntArray& list, std::string_view separator) {
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0)
            text += separator;
        text += std::to_string(list[i]);
    }
    return text;
}

std::string StakeKindName(int kind) {
    switch (kind) {
    case 1:
        return "Вручную";
    case 2:
        return "Регуляр";
    case 3:
        return "Сценарий";
    case 4:
        return "Система";
    default:
        return {};
    }
}

// The forecasts it compares are 64-bit, so the text is read as one.
std::string DeviationText(std::string_view text, int base) {
    int64_t value = 0;
    int64_t d = 0;
    if (!TryParseInt64(TrimView(text), value) || value < 0 || __builtin_sub_overflow(value, base, &d))
        return "-";
    std::string out = std::to_string(d);
    if (d > 0)
        out.insert(out.begin(), '+');
    return out;
}

std::string MatrixSegmentsToText(const std::array<uint8_t, MaxNumber>& segments) {
    std::string text;
    for (uint8_t segment : segments)
        text += std::to_string(segment);
    return text;
}

// Segments are 1..9: a character that is not such a digit, "0" included, gives 1.
std::array<uint8_t, MaxNumber> MatrixSegmentsFromText(std::string_view text) {
    std::array<uint8_t, MaxNumber> segments;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const char c = i < text.size() ? text[i] : '1';
        segments[i] = c >= '1' && c <= '9' ? static_cast<uint8_t>(c - '0') : 1;
    }
    return segments;
}

// Trimming drops spaces and control characters (every byte up to 0x20).
std::string_view TrimView(std::string_view s) {
    std::size_t first = 0;
    std::size_t last = s.size();
    while (first < last && static_cast<uint8_t>(s[first]) <= 0x20)
        ++first;
    while (last > first && static_cast<uint8_t>(s[last - 1]) <= 0x20)
        --last;
    return s.substr(first, last - first);
}

std::string Trim(std::string_view s) {
    return std::string(TrimView(s));
}

bool TryParseInt64(std::string_view s, int64_t& out) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        negative = s[pos] == '-';
        ++pos;
    }
    if (pos == s.size())
        return false;
    // Accumulated negatively: the negative range is the wider one.
    int64_t value = 0;
    for (; pos < s.size(); ++pos) {
        const char c = s[pos];
        if (c < '0' || c > '9')
            return false;
        if (__builtin_mul_overflow(value, 10, &value) || __builtin_sub_overflow(value, c - '0', &value))
            return false;
    }
    if (!negative && value == std::numeric_limits<int64_t>::min())
        return false;
    out = negative ? value : -value;
    return true;
}

bool TryParseInt(std::string_view s, int32_t& out) {
    int64_t value = 0;
    if (!TryParseInt64(s, value) || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max())
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

int32_t ParseIntOr(std::string_view s, int32_t fallback) {
    int32_t value = 0;
    return TryParseInt(s, value) ? value : fallback;
}

std::string Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), fmt, args);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    return text;
}

TPrefetchRecord PrefetchFromStatEntry(const TStatEntry& e) {
    return TPrefetchRecord{e.Key1, e.Key2, e.Key3, e.Key4, e.Count};
}

TStatEntry StatEntryFromPrefetch(const TPrefetchRecord& r) {
    TStatEntry e;
    e.Key1 = r.Key1;
    e.Key2 = r.Key2;
    e.Key3 = r.Key3;
    e.Key4 = r.Key4;
    e.Count = r.Count;
    return e;
}

} // namespace kumby
