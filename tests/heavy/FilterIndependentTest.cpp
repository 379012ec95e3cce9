// Lists written by "filter" against lists built here from a plain enumeration and
// a direct test of each combination.

#include "core/cli/CliRun.h"

#include "draws/DemoArchive.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <numeric>
#include <utility>
#include <vector>

namespace kumby {
namespace {

using testing::CombinationWithSum;
using testing::DrawOf;
using testing::ReadBytes;
using testing::TTempDir;
using testing::WriteArchive;

using TPredicate = std::function<bool(const int* numbers)>;

// Lexicographic walk, written out as nested choices.
void Walk(int* numbers, int position, int from, const TPredicate& keep, std::string& out) {
    if (position == 12) {
        if (keep(numbers)) {
            for (int i = 0; i < 12; ++i)
                out += std::to_string(numbers[i]) + (i < 11 ? ";" : "\r\n");
        }
        return;
    }
    for (int n = from; n <= 24 - (11 - position); ++n) {
        numbers[position] = n;
        Walk(numbers, position + 1, n + 1, keep, out);
    }
}

std::string Expected(const TPredicate& keep) {
    std::string out;
    int numbers[12];
    Walk(numbers, 0, 1, keep, out);
    return out;
}

bool Has(const int* c, int n) {
    return std::find(c, c + 12, n) != c + 12;
}

bool Prime(int n) {
    for (int p : {1, 2, 3, 5, 7, 11, 13, 17, 19, 23})
        if (n == p)
            return true;
    return false;
}

int Sum(const int* c) {
    return std::accumulate(c, c + 12, 0);
}

int EvenSum(const int* c) {
    int s = 0;
    for (int i = 0; i < 12; ++i)
        s += c[i] % 2 == 0 ? c[i] : 0;
    return s;
}

int PrimeSum(const int* c) {
    int s = 0;
    for (int i = 0; i < 12; ++i)
        s += Prime(c[i]) ? c[i] : 0;
    return s;
}

// Pairs of numbers of the set adding up to another number of it (distinct numbers:
// a pair a < b with a + b = t has a below t / 2 and t - a in the set).
int Triples(const int* c) {
    bool in[25] = {};
    for (int i = 0; i < 12; ++i)
        in[c[i]] = true;
    int count = 0;
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j)
            count += 2 * c[j] < c[i] && in[c[i] - c[j]];
    return count;
}

struct TCase {
    std::vector<std::string> Args; // before "filter", then the filter's own
    TPredicate Keep;
};

void RunCases(const TTempDir& dir, const std::vector<TCase>& cases) {
    for (const TCase& c : cases) {
        std::vector<std::string> args = c.Args;
        args.insert(args.end(), {"--out", (dir / "out.lcv").string()});
        const testing::TRun r = testing::RunCliIn(dir.Path(), args);
        std::string what;
        for (const std::string& a : c.Args)
            what += a + " ";
        ASSERT_EQ(r.Code, 0) << what << r.Err;
        const std::string expected = Expected(c.Keep);
        EXPECT_EQ(r.Out, std::to_string(std::count(expected.begin(), expected.end(), '\n')) + "\n") << what;
        EXPECT_TRUE(ReadBytes(dir / "out.lcv") == expected) << what;
    }
}

TEST(FilterIndependent, NumbersFamily) {
    TTempDir dir;
    WriteArchive(dir.Path(), MakeDemoArchive(500, 5, 46000));
    RunCases(
        dir,
        {
            {{"filter", "NUMS", "--keep", "5", "17"}, [](const int* c) { return Has(c, 5) || Has(c, 17); }},
            {{"filter", "NUMS", "--remove", "24"}, [](const int* c) { return !Has(c, 24); }},
            {{"filter", "EVEN", "--keep", "5:7", "7:5"},
             [](const int* c) {
                 const auto even = std::count_if(c, c + 12, [](int n) { return n % 2 == 0; });
                 return even == 5 || even == 7;
             }},
            {{"filter", "POS3", "--remove", "3", "4", "5"}, [](const int* c) { return c[2] > 5; }},
            {{"filter", "EVNV", "--keep", "ЧнЧнЧнЧнЧнЧн (1365)"},
             [](const int* c) {
                 for (int i = 0; i < 12; ++i)
                     if ((c[i] % 2 == 1) != (i % 2 == 1))
                         return false;
                 return true;
             }},
            {{"filter", "DIGS", "--remove", "0"}, [](const int* c) { return !Has(c, 10) && !Has(c, 20); }},
        });
}

// Draw sums 150, 157, 140, 150 (newest): after a 150 the sum rose by 7; within 14 of
// 150 it also fell by 17 (after 157) and rose by 10 (after 140). One draw back the
// newest draw is the 140.
TEST(FilterIndependent, SumsFamily) {
    TTempDir dir;
    TDrawsArray draws;
    int32_t number = 1;
    for (int sum : {150, 157, 140, 150}) {
        TCombination c = CombinationWithSum(sum);
        std::reverse(c.begin(), c.end()); // drawn order plays no part in a sum
        draws.push_back(DrawOf(number++, c));
    }
    WriteArchive(dir.Path(), draws);
    int oldest[12];
    std::copy(draws[0].Numbers, draws[0].Numbers + 12, oldest);
    const int evenSum = EvenSum(oldest), primeSum = PrimeSum(oldest), triples = Triples(oldest);

    RunCases(
        dir,
        {
            {{"filter", "SUMS", "--keep", "150", "151"},
             [](const int* c) { return Sum(c) == 150 || Sum(c) == 151; }},
            {{"filter", "SUM1", "--keep", "Остальные"},
             [](const int* c) { return Sum(c) < 124 || Sum(c) > 176; }},
            {{"filter", "SUM2", "--remove", "129-171"},
             [](const int* c) { return Sum(c) < 129 || Sum(c) > 171; }},
            {{"filter", "SUM3", "--keep", "134-166", "Остальные"},
             [](const int* c) { return Sum(c) >= 134 && Sum(c) <= 166; }},
            {{"filter", "SUMC", "--keep", "+07 : 150 + 7 = 157"}, [](const int* c) { return Sum(c) == 157; }},
            {{"filter", "SUMV", "--keep", "+07", "- 17"},
             [](const int* c) { return Sum(c) - 150 == 7 || Sum(c) - 150 == -17; }},
            {{"filter", "SUMV", "--remove", "+10"}, [](const int* c) { return Sum(c) != 160; }},
            {{"filter", "SUMT", "--keep", "-"}, [](const int* c) { return Sum(c) < 150; }},
            {{"filter", "SUMT", "--remove", "="}, [](const int* c) { return Sum(c) != 150; }},
            // The reference follows the offset: the 140.
            {{"--offset", "1", "filter", "SUMT", "--keep", "+"}, [](const int* c) { return Sum(c) > 140; }},
            {{"filter", "SUME", "--keep", std::to_string(evenSum)},
             [=](const int* c) { return EvenSum(c) == evenSum; }},
            {{"filter", "SUMP", "--remove", std::to_string(primeSum)},
             [=](const int* c) { return PrimeSum(c) != primeSum; }},
            {{"filter", "S2T3", "--keep", std::to_string(triples)},
             [=](const int* c) { return Triples(c) == triples; }},
        });
}

// Ascending, so each adjacent difference is the next number minus this one.
int DiffTimes(const int* c, int d) {
    int times = 0;
    for (int i = 0; i + 1 < 12; ++i)
        times += c[i + 1] - c[i] == d;
    return times;
}

int LargestDiff(const int* c) {
    int largest = 0;
    for (int i = 0; i + 1 < 12; ++i)
        largest = std::max(largest, c[i + 1] - c[i]);
    return largest;
}

int MostTimes(const int* c) {
    int most = 0;
    for (int d = 1; d < 24; ++d)
        most = std::max(most, DiffTimes(c, d));
    return most;
}

TEST(FilterIndependent, DifferencesFamily) {
    TTempDir dir;
    const TDrawsArray draws = {
        DrawOf(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
        DrawOf(2, {16, 1, 4, 7, 8, 9, 10, 11, 12, 13, 14, 15}), // drawn order: 15, 3, 3, 1 ... 1
        DrawOf(4, {24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2}),
    };
    WriteArchive(dir.Path(), draws);

    RunCases(dir,
             {
                 {{"filter", "DIFA", "--keep", "1"}, [](const int* c) { return DiffTimes(c, 1) > 0; }},
                 {{"filter", "DIFA", "--remove", "2", "3"},
                  [](const int* c) { return DiffTimes(c, 2) == 0 && DiffTimes(c, 3) == 0; }},
                 {{"filter", "DIFM", "--keep", "2"}, [](const int* c) { return LargestDiff(c) == 2; }},
                 {{"filter", "DIFD", "--remove", "23", "22"}, [](const int* c) { return c[11] - c[0] < 22; }},
                 {{"filter", "DIFO", "--keep", "3 x 2"}, [](const int* c) { return DiffTimes(c, 3) == 2; }},
                 {{"filter", "DIFO", "--remove", "1 x 11", "2 x 11"},
                  [](const int* c) { return MostTimes(c) < 11; }},
                 {{"filter", "DIFK", "--keep", "9"}, [](const int* c) { return MostTimes(c) == 9; }},
                 {{"filter", "KDS2", "--keep", "3:3"},
                  [](const int* c) {
                      for (int i = 0; i + 2 < 12; ++i)
                          if (c[i + 1] - c[i] == 3 && c[i + 2] - c[i + 1] == 3)
                              return true;
                      return false;
                  }},
                 {{"--offset", "1", "filter", "DIFD", "--keep", "20"},
                  [](const int* c) { return c[11] - c[0] == 20; }},
             });
}

// Lengths of the runs of consecutive numbers of an ascending set.
std::vector<int> RunLengths(const int* c) {
    std::vector<int> lengths{1};
    for (int i = 1; i < 12; ++i) {
        if (c[i] == c[i - 1] + 1)
            ++lengths.back();
        else
            lengths.push_back(1);
    }
    return lengths;
}

TEST(FilterIndependent, SequencesFamily) {
    TTempDir dir;
    WriteArchive(dir.Path(), MakeDemoArchive(50, 5, 46000));
    const auto has = [](int length) {
        return [length](const int* c) {
            const std::vector<int> l = RunLengths(c);
            return std::find(l.begin(), l.end(), length) != l.end();
        };
    };
    const auto longRuns = [](const int* c) {
        const std::vector<int> l = RunLengths(c);
        return std::count_if(l.begin(), l.end(), [](int n) { return n >= 2; });
    };
    const auto longest = [](const int* c) {
        const std::vector<int> l = RunLengths(c);
        return *std::max_element(l.begin(), l.end());
    };
    RunCases(dir, {
                      {{"filter", "SEQL", "--keep", "5"}, has(5)},
                      {{"filter", "SEQL", "--remove", "1"}, [=](const int* c) { return !has(1)(c); }},
                      {{"filter", "SEQS", "--keep", "0", "6"},
                       [=](const int* c) { return longRuns(c) == 0 || longRuns(c) == 6; }},
                      {{"filter", "LENS", "--remove", "2", "3"},
                       [=](const int* c) { return longest(c) != 2 && longest(c) != 3; }},
                  });
}

// Numbers of the set that are in the draw shifted cyclically by s.
int Common(const int* c, const TDrawRecord& draw, int s = 0) {
    int count = 0;
    for (const uint8_t n : draw.Numbers)
        count += Has(c, (n + s + 23) % 24 + 1);
    return count;
}

// Newest draw E, then C, B, A before it; a combination follows E (or C at offset 1).
TEST(FilterIndependent, RepeatsFamily) {
    TTempDir dir;
    const TDrawsArray draws = {
        DrawOf(1, {1, 2, 3, 4, 5, 6, 13, 14, 15, 16, 17, 18}),
        DrawOf(2, {24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2}),
        DrawOf(3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
        DrawOf(5, {23, 24, 1, 2, 7, 8, 13, 14, 19, 20, 21, 22}),
    };
    WriteArchive(dir.Path(), draws);
    const TDrawRecord &a = draws[0], &b = draws[1], &c = draws[2], &e = draws[3];
    // Numbers of the set in both draws, or in the first and not the second.
    const auto in = [](const TDrawRecord& d, int n) {
        return std::find(d.Numbers, d.Numbers + 12, n) != d.Numbers + 12;
    };
    const auto both = [=](const TDrawRecord& x, const TDrawRecord& y) {
        return [=](const int* comb) {
            return std::count_if(comb, comb + 12, [&](int n) { return in(x, n) && in(y, n); });
        };
    };
    const auto onlyFirst = [=](const TDrawRecord& x, const TDrawRecord& y) {
        return [=](const int* comb) {
            return std::count_if(comb, comb + 12, [&](int n) { return in(x, n) && !in(y, n); });
        };
    };
    RunCases(
        dir,
        {
            {{"filter", "RPC2", "--keep", "4", "5"},
             [=](const int* x) { return Common(x, e) == 4 || Common(x, e) == 5; }},
            {{"filter", "PRC+1", "--remove", "6"}, [=](const int* x) { return Common(x, e, 1) != 6; }},
            {{"filter", "PRC-2", "--keep", "7"}, [=](const int* x) { return Common(x, e, -2) == 7; }},
            {{"filter", "RPO1", "--keep", "6"}, [=](const int* x) { return Common(x, c) == 6; }},
            {{"filter", "PRC2O2", "--remove", "6"}, [=](const int* x) { return Common(x, b) != 6; }},
            {{"filter", "PRC2O3", "--keep", "5"}, [=](const int* x) { return Common(x, a) == 5; }},
            {{"filter", "RPC3", "--keep", "2"}, [=](const int* x) { return both(e, c)(x) == 2; }},
            {{"filter", "PRB2", "--remove", "3", "4"},
             [=](const int* x) { return onlyFirst(e, c)(x) != 3 && onlyFirst(e, c)(x) != 4; }},
            {{"filter", "RPV2", "--keep", "1", "8"}, [](const int* x) { return Has(x, 1) || Has(x, 8); }},
            {{"filter", "PRV-1", "--remove", "24"}, [](const int* x) { return !Has(x, 24); }},
            // One draw back the window ends at C, which the combination follows.
            {{"--offset", "1", "filter", "RPC2", "--keep", "6"},
             [=](const int* x) { return Common(x, c) == 6; }},
            {{"--offset", "1", "filter", "PRC+2", "--keep", "3"},
             [=](const int* x) { return Common(x, c, 2) == 3; }},
            {{"--offset", "1", "filter", "RPC3", "--remove", "6"},
             [=](const int* x) { return both(c, b)(x) != 6; }},
        });
}

// The last two values of the triangle of absolute differences of neighbours.
std::pair<int, int> Folded(const int* numbers) {
    int row[12];
    std::copy(numbers, numbers + 12, row);
    for (int size = 12; size > 2; --size)
        for (int i = 0; i + 1 < size; ++i)
            row[i] = std::abs(row[i + 1] - row[i]);
    return {row[0], row[1]};
}

int Varnek(const int* numbers, bool sumNearEqual) {
    const auto [u, v] = Folded(numbers);
    const int d = std::abs(v - u);
    return sumNearEqual && d <= 1 ? u + v : d;
}

// The lower half with 5 and 7 at 1, 3 and 6 (4 and 5 missing), the upper half at 2.
// Runs of 7: one draw, then two reaching the newest. Periods of 5: 2 (1 to 3) and 3
// (3 to 6); the filter steps back places: two back from the next draw is draw 3,
// three back is draw 2, without 5.
TEST(FilterIndependent, SeriesAndPeriodsFamilies) {
    TTempDir dir;
    const TCombination lower = {5, 7, 1, 2, 3, 4, 6, 8, 9, 10, 11, 12};
    const TCombination upper = {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    WriteArchive(dir.Path(), {DrawOf(1, lower), DrawOf(2, upper), DrawOf(3, lower), DrawOf(6, lower)});
    RunCases(dir, {
                      {{"filter", "GRPV", "--keep", "7 x 2"}, [](const int* c) { return Has(c, 7); }},
                      {{"filter", "GRPV", "--remove", "7 x 1"}, [](const int* c) { return !Has(c, 7); }},
                      {{"filter", "PRDV", "--keep", "5 x 2"}, [](const int* c) { return Has(c, 5); }},
                      {{"filter", "PRDV", "--keep", "5 x 3"}, [](const int*) { return false; }},
                      {{"filter", "PRDV", "--remove", "5 x 3"}, [](const int* c) { return !Has(c, 5); }},
                      // Ending at draw 3, two back from the next draw is draw 2.
                      {{"--offset", "1", "filter", "PRDV", "--remove", "5 x 2"},
                       [](const int* c) { return !Has(c, 5); }},
                  });
}

// The newest draw folds to (2, 1): 3 and its multiples 24 .. 6 are proposed. The one
// before it folds to (7, 6) as drawn (13 alone) and to (1, 2) sorted (3 and 24 .. 6).
TEST(FilterIndependent, CharacteristicNumberFamily) {
    TTempDir dir;
    const TDrawsArray draws = {
        DrawOf(7, {5, 6, 7, 8, 9, 10, 11, 12, 13, 18, 23, 24}),
        DrawOf(8, {12, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 24}),
        DrawOf(9, {3, 6, 9, 13, 14, 15, 16, 17, 18, 19, 20, 21}),
    };
    WriteArchive(dir.Path(), draws);
    int oldest[12], middle[12];
    std::copy(draws[0].Numbers, draws[0].Numbers + 12, oldest);
    std::copy(draws[1].Numbers, draws[1].Numbers + 12, middle);
    const int hcv1 = Varnek(oldest, false), hcv2 = Varnek(middle, true);
    RunCases(dir, {
                      {{"filter", "HCV1", "--keep", std::to_string(hcv1)},
                       [=](const int* c) { return Varnek(c, false) == hcv1; }},
                      {{"filter", "HCV2", "--remove", std::to_string(hcv2)},
                       [=](const int* c) { return Varnek(c, true) != hcv2; }},
                      {{"filter", "HCV3", "--keep", "3 (1)", "24"},
                       [](const int* c) { return Has(c, 3) || Has(c, 24); }},
                      {{"--offset", "1", "filter", "HCV3", "--keep", "13 (1)"},
                       [](const int* c) { return Has(c, 13); }},
                      {{"--sorted", "--offset", "1", "filter", "HCV3", "--remove", "6", "9"},
                       [](const int* c) { return !Has(c, 6) && !Has(c, 9); }},
                  });
}

int ChannelOf(int n) {
    return (n - 1) / 4 + 1;
}

int InChannel(const int* c, int channel) {
    return static_cast<int>(std::count_if(c, c + 12, [&](int n) { return ChannelOf(n) == channel; }));
}

// Whether the channels of some `length` adjacent numbers are `channels`.
bool HasChannelRun(const int* c, std::initializer_list<int> channels) {
    const int length = static_cast<int>(channels.size());
    for (int i = 0; i + length <= 12; ++i)
        if (std::equal(channels.begin(), channels.end(), c + i,
                       [](int channel, int n) { return ChannelOf(n) == channel; }))
            return true;
    return false;
}

// Channels of width 4. The three draws give the rows used here in drawn order.
TEST(FilterIndependent, ChannelsFamily) {
    TTempDir dir;
    const TDrawsArray draws = {
        DrawOf(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
        DrawOf(2, {24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13}),
        DrawOf(3, {21, 1, 5, 9, 13, 17, 2, 6, 10, 14, 18, 22}), // channels 6 1 2 3 4 5 1 2 3 4 5 6
    };
    WriteArchive(dir.Path(), draws);
    const auto filled = [](const int* c) {
        int channels = 0;
        for (int k = 1; k <= 6; ++k)
            channels += InChannel(c, k) > 0;
        return channels;
    };
    RunCases(
        dir,
        {
            {{"filter", "CHAN", "--keep", "06 [21-24]"}, [](const int* c) { return InChannel(c, 6) > 0; }},
            {{"filter", "CHAN", "--remove", "01 [1-4]", "02 [5-8]"}, [](const int* c) { return c[0] > 8; }},
            {{"filter", "CHNV", "--keep", "03 [9-12] x 0"},
             [](const int* c) { return InChannel(c, 3) == 0; }},
            {{"filter", "CHNV", "--remove", "01 [1-4] x 4"},
             [](const int* c) { return InChannel(c, 1) < 4; }},
            {{"filter", "CHNC", "--keep", "3"}, [=](const int* c) { return filled(c) == 3; }},
            {{"filter", "CHN2", "--keep", "2"}, [](const int* c) { return InChannel(c, 2) == 2; }},
            // Ascending combinations: a channel 1 number before a channel 6 one is having both.
            {{"filter", "KCM2", "--keep", "1:6"},
             [](const int* c) { return InChannel(c, 1) > 0 && InChannel(c, 6) > 0; }},
            {{"filter", "KCM3", "--remove", "1:2:3"},
             [](const int* c) {
                 return InChannel(c, 1) == 0 || InChannel(c, 2) == 0 || InChannel(c, 3) == 0;
             }},
            {{"filter", "KCS2", "--keep", "2:3"},
             [](const int* c) {
                 return HasChannelRun(c, {2, 3});
             }},
            {{"filter", "KCS3", "--keep", "1:2:3"},
             [](const int* c) {
                 return HasChannelRun(c, {1, 2, 3});
             }},
        });
}

// Matrix of four columns: number n in column (n - 1) % 4 + 1 and row (n - 1) / 4 + 1.
int InLine(const int* c, bool column, int line) {
    return static_cast<int>(
        std::count_if(c, c + 12, [&](int n) { return (column ? (n - 1) % 4 : (n - 1) / 4) + 1 == line; }));
}

// Pairs of touching numbers in a column (n, n + 4) or a row (n, n + 1 in one row).
int TouchingPairs(const int* c, bool column, int line) {
    int pairs = 0;
    for (int i = 0; i < 12; ++i) {
        const int n = c[i];
        const int next = column ? n + 4 : n + 1;
        const bool inLine = column ? (n - 1) % 4 + 1 == line : (n - 1) / 4 + 1 == line;
        if (inLine && (column || n % 4 != 0) && Has(c, next))
            ++pairs;
    }
    return pairs;
}

// The draws give the rows used here: columns 1 and 2 full; a spread with touching
// numbers in columns 4, 1 and 3; the numbers 1..12.
TEST(FilterIndependent, MatrixFamily) {
    TTempDir dir;
    WriteArchive(dir.Path(), {
                                 DrawOf(1, {22, 1, 2, 5, 6, 9, 10, 13, 14, 17, 18, 21}),
                                 DrawOf(2, {24, 1, 5, 13, 17, 7, 11, 15, 2, 10, 20, 22}),
                                 DrawOf(3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
                             });
    const auto filled = [](bool column) {
        return [column](const int* c) {
            int lines = 0;
            for (int k = 1; k <= (column ? 4 : 6); ++k)
                lines += InLine(c, column, k) > 0;
            return lines;
        };
    };
    const auto touching = [](bool column) {
        return [column](const int* c) {
            int lines = 0;
            for (int k = 1; k <= (column ? 4 : 6); ++k)
                lines += TouchingPairs(c, column, k) > 0;
            return lines;
        };
    };
    RunCases(
        dir,
        {
            {{"filter", "COLS", "--keep", "4"}, [](const int* c) { return InLine(c, true, 4) > 0; }},
            {{"filter", "COLV", "--keep", "3 x 0"}, [](const int* c) { return InLine(c, true, 3) == 0; }},
            {{"filter", "COLV", "--remove", "1 x 6"}, [](const int* c) { return InLine(c, true, 1) < 6; }},
            {{"filter", "ROWV", "--keep", "2 x 4"}, [](const int* c) { return InLine(c, false, 2) == 4; }},
            {{"filter", "COLN", "--keep", "3"}, [=](const int* c) { return filled(true)(c) == 3; }},
            {{"filter", "ROWN", "--remove", "6"}, [=](const int* c) { return filled(false)(c) != 6; }},
            {{"filter", "COLM", "--keep", "1100 (012)"},
             [](const int* c) { return InLine(c, true, 1) == 6 && InLine(c, true, 2) == 6; }},
            {{"filter", "ROWM", "--keep", "111111 (063)"},
             [=](const int* c) { return filled(false)(c) == 6; }},
            {{"filter", "COLA", "--keep", "1 x 3"},
             [](const int* c) { return TouchingPairs(c, true, 1) == 2; }},
            {{"filter", "ROWA", "--remove", "1 x 2"},
             [](const int* c) { return TouchingPairs(c, false, 1) != 1; }},
            {{"filter", "COLC", "--keep", "3"}, [=](const int* c) { return touching(true)(c) == 3; }},
            {{"filter", "ROWC", "--keep", "6"}, [=](const int* c) { return touching(false)(c) == 6; }},
            {{"filter", "COL2", "--keep", "3"}, [](const int* c) { return InLine(c, true, 2) == 3; }},
            {{"filter", "ROW6", "--keep", "0"}, [](const int* c) { return InLine(c, false, 6) == 0; }},
            // Ascending combinations: a column 4 number followed by a column 1 one is
            // a multiple of 4 followed by its successor.
            {{"filter", "KFS2", "--keep", "4:1"},
             [](const int* c) {
                 for (int i = 0; i + 1 < 12; ++i)
                     if (c[i] % 4 == 0 && (c[i + 1] - 1) % 4 == 0)
                         return true;
                 return false;
             }},
            // Rows never fall in an ascending combination: rows 1, 2 and 4 all present.
            {{"filter", "KRM3", "--keep", "1:2:4"},
             [](const int* c) {
                 return InLine(c, false, 1) > 0 && InLine(c, false, 2) > 0 && InLine(c, false, 4) > 0;
             }},
        });
}

// Segment 5 for 1-4 and 17-20, 3 for 5-8 and 13-16, 7 for 9-12 and 21-24.
int SegmentOf(int n) {
    return "555533337777333355557777"[n - 1] - '0';
}

int InSegment(const int* c, int s) {
    return static_cast<int>(std::count_if(c, c + 12, [&](int n) { return SegmentOf(n) == s; }));
}

// A segment table from the settings file; the draws give the rows used here.
TEST(FilterIndependent, SegmentsFamily) {
    TTempDir dir;
    WriteArchive(dir.Path(), {
                                 DrawOf(1, {21, 1, 2, 3, 5, 6, 9, 13, 14, 17, 18, 22}),
                                 DrawOf(2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
                             });
    {
        std::ofstream ini(dir.Path() / "Kumby_12x24.ini", std::ios::binary);
        ini << "[GLOBAL]\r\nMatrixSegments=555533337777333355557777\r\n";
    }
    const auto touched = [](const int* c) {
        return (InSegment(c, 3) > 0) + (InSegment(c, 5) > 0) + (InSegment(c, 7) > 0);
    };
    RunCases(dir,
             {
                 {{"filter", "SGMS", "--remove", "7"}, [](const int* c) { return InSegment(c, 7) == 0; }},
                 {{"filter", "SGMV", "--keep", "3 x 4"}, [](const int* c) { return InSegment(c, 3) == 4; }},
                 {{"filter", "SGMC", "--keep", "3"}, [=](const int* c) { return touched(c) == 3; }},
                 {{"filter", "SGM5", "--keep", "5", "4"},
                  [](const int* c) { return InSegment(c, 5) == 5 || InSegment(c, 5) == 4; }},
                 {{"filter", "SGM4", "--remove", "0"}, [](const int*) { return false; }},
                 {{"filter", "KGS2", "--keep", "7:5"},
                  [](const int* c) {
                      for (int i = 0; i + 1 < 12; ++i)
                          if (SegmentOf(c[i]) == 7 && SegmentOf(c[i + 1]) == 5)
                              return true;
                      return false;
                  }},
             });
}

// The newest draw repeats the oldest one, 1..12. The middle draw 1 2 13..22 thus
// followed numbers all in the newest draw: every number of it is a target, 4 numbers
// in channel 1 went to 2, and 5..12 had no follower in their channel. One draw back
// the window ends at the middle draw, which shares 1 and 2 with the oldest.
TEST(FilterIndependent, ChainsFamily) {
    TTempDir dir;
    WriteArchive(dir.Path(), {
                                 DrawOf(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
                                 DrawOf(2, {1, 2, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}),
                                 DrawOf(3, {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}),
                             });
    RunCases(
        dir,
        {
            {{"filter", "SDV2", "--keep", "1 -> 14"}, [](const int* c) { return Has(c, 14); }},
            {{"filter", "SDV2", "--remove", "2 -> 15", "7 -> 16"},
             [](const int* c) { return !Has(c, 15) && !Has(c, 16); }},
            {{"filter", "SC2C1", "--keep", "4 -> 2", "4 -> 0"},
             [](const int* c) { return InChannel(c, 1) == 2 || InChannel(c, 1) == 0; }},
            {{"filter", "SC2C1", "--remove", "4 -> 4"}, [](const int* c) { return InChannel(c, 1) != 4; }},
            // A row without a follower stands for the whole channel of its number.
            {{"filter", "SDZ2", "--keep", "09 -> 00"}, [](const int* c) { return InChannel(c, 3) > 0; }},
            {{"filter", "SDA2", "--remove", "03 -> 02"}, [](const int* c) { return !Has(c, 2); }},
            {{"--offset", "1", "filter", "SDV2", "--keep", "1 -> 13"},
             [](const int* c) { return Has(c, 13); }},
        });
}

// Whether the numbers from position `from` (1-based) on are `numbers`.
bool NumbersAt(const int* c, int from, std::initializer_list<int> numbers) {
    return std::equal(numbers.begin(), numbers.end(), c + from - 1);
}

// The combinations of the set are ascending, so a tuple of numbers in rising order
// is in one when it holds all of them, and a falling one never is.
TEST(FilterIndependent, CombinationValuesFamily) {
    TTempDir dir;
    WriteArchive(dir.Path(), {
                                 DrawOf(1, {3, 4, 5, 6, 7, 17, 1, 2, 8, 9, 10, 11}),
                                 DrawOf(2, {3, 5, 12, 13, 14, 15, 16, 18, 19, 20, 23, 24}),
                                 DrawOf(3, {24, 23, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}),
                             });
    RunCases(dir, {
                      {{"filter", "KNM3", "--keep", "3:5:17"},
                       [](const int* c) { return Has(c, 3) && Has(c, 5) && Has(c, 17); }},
                      {{"filter", "KNM2", "--remove", "3:5", "24:23"},
                       [](const int* c) { return !(Has(c, 3) && Has(c, 5)); }},
                      {{"filter", "KNM4", "--keep", "3:4:5:17"},
                       [](const int* c) { return Has(c, 3) && Has(c, 4) && Has(c, 5) && Has(c, 17); }},
                      {{"filter", "KNS2", "--keep", "3:5"},
                       [](const int* c) { return Has(c, 3) && Has(c, 5) && !Has(c, 4); }},
                      {{"filter", "KNP33", "--keep", "5:6:7"},
                       [](const int* c) {
                           return NumbersAt(c, 3, {5, 6, 7});
                       }},
                      {{"filter", "KNP31", "--remove", "24:23:1"}, [](const int*) { return true; }},
                      {{"filter", "KNP211", "--remove", "23:24"},
                       [](const int* c) {
                           return !NumbersAt(c, 11, {23, 24});
                       }},
                  });
}

// The first two digits after the point of top / bottom, 0 without a value.
int Shredded(long double top, long double bottom) {
    if (bottom == 0)
        return 0;
    const long double f = std::fabs(top / bottom);
    return static_cast<int>(std::trunc((f - std::trunc(f)) * 100));
}

// SHR1 with its default formula, SHR2 with one over the newest draw's numbers (p)
// and the one before it (t) from the settings file. The table of the two draws
// holds 36 and 78 for SHR1 (36 and 37 sorted), 0 and 54 for SHR2 (0 and 80 sorted).
TEST(FilterIndependent, ShreddingFamily) {
    TTempDir dir;
    const TCombination newest = {3, 9, 1, 24, 5, 6, 7, 8, 10, 11, 12, 13};
    const TCombination before = {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24};
    WriteArchive(dir.Path(), {DrawOf(1, before), DrawOf(2, newest)});
    {
        std::ofstream ini(dir.Path() / "Kumby_12x24.ini", std::ios::binary);
        ini << "[SHREDDING]\r\nFormula2=n1*n12/(p1+t12+n2)\r\nFormula2Digits=2\r\n";
    }
    const auto shr1 = [](const int* c) {
        return Shredded(c[0] + c[1] + c[2] + c[3] + c[4] + c[5], c[6] + c[7] + c[8] + c[9] + c[10] + c[11]);
    };
    // Unsorted: p1 = 3; sorted: p1 = 1. t12 = 24 either way.
    const auto shr2 = [](int p1) {
        return [p1](const int* c) { return Shredded(c[0] * c[11], p1 + 24 + c[1]); };
    };
    RunCases(dir, {
                      {{"filter", "SHR1", "--keep", "36"}, [=](const int* c) { return shr1(c) == 36; }},
                      {{"filter", "SHR1", "--remove", "78"}, [=](const int* c) { return shr1(c) != 78; }},
                      {{"filter", "SHR2", "--keep", "54", "0"},
                       [=](const int* c) { return shr2(3)(c) == 54 || shr2(3)(c) == 0; }},
                      {{"--sorted", "filter", "SHR2", "--keep", "80"},
                       [=](const int* c) { return shr2(1)(c) == 80; }},
                  });
}

} // namespace
} // namespace kumby
