#include "stakes/SystemGenerator.h"

#include "model/VexoUtils.h"

#include <algorithm>
#include <array>
#include <bit>

namespace kumby {

namespace {

constexpr int MaxN = MaxNumber;

struct TBinomials {
    std::array<std::array<uint64_t, MaxN + 1>, MaxN + 1> C{};
    TBinomials() {
        for (int i = 0; i <= MaxN; ++i) {
            C[i][0] = 1;
            for (int j = 1; j <= i; ++j)
                C[i][j] = C[i - 1][j - 1] + (j <= i - 1 ? C[i - 1][j] : 0);
        }
    }
};
const TBinomials& Binomials() {
    static const TBinomials table;
    return table;
}

// Index of a k-subset among all k-subsets in colex order (the order NextSubset walks).
std::size_t Rank(TPositionMask mask) {
    const auto& c = Binomials().C;
    std::size_t rank = 0;
    int i = 0;
    while (mask) {
        const int position = std::countr_zero(mask);
        mask &= mask - 1;
        ++i;
        if (position >= i)
            rank += c[position][i];
    }
    return rank;
}

// The next mask with the same number of bits (Gosper).
TPositionMask NextSubset(TPositionMask x) {
    const TPositionMask lowest = x & (~x + 1);
    const TPositionMask ripple = x + lowest;
    return (((ripple ^ x) >> 2) / lowest) | ripple;
}

TPositionMask LowBits(int k) {
    return k >= 32 ? ~TPositionMask{0} : (TPositionMask{1} << k) - 1;
}

// Calls visit for every subset of `size` bits of `set`.
template <typename Visit> void ForEachSubsetOf(TPositionMask set, int size, Visit&& visit) {
    int bits[32];
    int count = 0;
    for (TPositionMask s = set; s; s &= s - 1)
        bits[count++] = std::countr_zero(s);
    if (size < 0 || size > count)
        return;
    if (size == 0) {
        visit(TPositionMask{0});
        return;
    }
    const TPositionMask end = TPositionMask{1} << count;
    for (TPositionMask pick = LowBits(size); pick < end; pick = NextSubset(pick)) {
        TPositionMask mask = 0;
        for (TPositionMask p = pick; p; p &= p - 1)
            mask |= TPositionMask{1} << bits[std::countr_zero(p)];
        visit(mask);
        if (size == count)
            break;
    }
}

// Every mask of `size` bits among the n that shares at least t bits with x.
template <typename Visit> void ForEachNeighbour(TPositionMask x, int n, int size, int t, Visit&& visit) {
    const TPositionMask outside = LowBits(n) & ~x;
    const int inCount = std::popcount(x);
    for (int j = std::max(t, 0); j <= std::min(inCount, size); ++j)
        ForEachSubsetOf(x, j, [&](TPositionMask inner) {
            ForEachSubsetOf(outside, size - j, [&](TPositionMask outer) { visit(inner | outer); });
        });
}

std::vector<TPositionMask> AllSubsets(int n, int k) {
    std::vector<TPositionMask> all;
    all.reserve(Binomials().C[n][k]);
    const TPositionMask end = TPositionMask{1} << n;
    for (TPositionMask x = LowBits(k); x < end; x = NextSubset(x))
        all.push_back(x);
    return all;
}

} // namespace

std::string SystemRequestProblem(const TSystemRequest& r) {
    if (r.N < MinSystemNumbers || r.N > MaxNumber)
        return Format("Количество чисел системы %d вне пределов %d..%d.", r.N, MinSystemNumbers, MaxNumber);
    if (r.Full)
        return {};
    const int lowM = std::max(1, r.N - (MaxNumber - NumbersInDraw));
    if (r.M < lowM || r.M > NumbersInDraw)
        return Format("Количество выпавших чисел среди %d (m = %d) вне пределов %d..%d.", r.N, r.M, lowM,
                      NumbersInDraw);
    if (r.T < 1 || r.T > r.M)
        return Format("Гарантированное количество совпадений t = %d вне пределов 1..%d.", r.T, r.M);
    return {};
}

std::optional<std::vector<TPositionMask>> GenerateSystem(const TSystemRequest& request,
                                                         IStakesProgress* progress) {
    if (!SystemRequestProblem(request).empty())
        return std::nullopt;
    const int n = request.N;
    if (request.Full)
        return AllSubsets(n, NumbersInDraw);

    const int m = request.M;
    const int t = request.T;
    const auto& c = Binomials().C;
    const uint64_t draws = c[n][m];
    std::vector<uint8_t> covered(draws, 0);
    uint64_t uncovered = draws;
    // Every combination starts covering the same number of draws.
    uint64_t start = 0;
    for (int j = t; j <= std::min(m, NumbersInDraw); ++j)
        if (NumbersInDraw - j <= n - m)
            start += c[NumbersInDraw][j] * c[n - NumbersInDraw][m - j];
    std::vector<int64_t> gain(c[n][NumbersInDraw], static_cast<int64_t>(start));

    // Ranks looked up by mask where the table stays small; computed otherwise.
    std::vector<uint32_t> rankTable;
    if (n <= 22) {
        rankTable.assign(std::size_t{1} << n, 0);
        for (int k : {m, NumbersInDraw}) {
            uint32_t rank = 0;
            for (TPositionMask x = LowBits(k); x < (TPositionMask{1} << n); x = NextSubset(x))
                rankTable[x] = rank++;
        }
    }
    auto rankOf = [&](TPositionMask mask) {
        return rankTable.empty() ? Rank(mask) : static_cast<std::size_t>(rankTable[mask]);
    };

    std::vector<TPositionMask> system;
    while (uncovered > 0) {
        if (progress) {
            progress->Progress(static_cast<int64_t>(draws - uncovered), static_cast<int64_t>(draws));
            if (progress->StopRequested())
                return std::nullopt;
        }
        // The first combination with the most draws still uncovered; ties by rank keep it repeatable.
        const std::size_t best =
            static_cast<std::size_t>(std::max_element(gain.begin(), gain.end()) - gain.begin());
        TPositionMask chosen = 0;
        {
            // Unrank by walking colex order from the top bit down.
            std::size_t rank = best;
            for (int i = NumbersInDraw, position = n - 1; i >= 1; --i) {
                while (c[position][i] > rank)
                    --position;
                chosen |= TPositionMask{1} << position;
                rank -= c[position][i];
                --position;
            }
        }
        system.push_back(chosen);
        ForEachNeighbour(chosen, n, m, t, [&](TPositionMask draw) {
            uint8_t& flag = covered[rankOf(draw)];
            if (flag)
                return;
            flag = 1;
            --uncovered;
            ForEachNeighbour(draw, n, NumbersInDraw, t, [&](TPositionMask comb) { --gain[rankOf(comb)]; });
        });
    }
    if (progress)
        progress->Progress(static_cast<int64_t>(draws), static_cast<int64_t>(draws));
    return system;
}

std::string GeneratedSystemFileName(const TSystemRequest& request) {
    return SystemFilePrefix(request.N) + Format("0_%.4d.dat", request.Full ? 0 : request.M * 100 + request.T);
}

std::string SystemFileText(const std::vector<TPositionMask>& system, int n) {
    std::string text;
    text.reserve(system.size() * 36);
    for (TPositionMask mask : system) {
        bool first = true;
        for (int p = 0; p < n; ++p)
            if (mask & (TPositionMask{1} << p)) {
                if (!first)
                    text += ' ';
                text += std::to_string(p + 1);
                first = false;
            }
        text += "\r\n";
    }
    return text;
}

std::vector<TPositionMask> SystemMasks(const std::vector<TSystemLine>& lines) {
    std::vector<TPositionMask> masks;
    masks.reserve(lines.size());
    for (const TSystemLine& line : lines) {
        TPositionMask mask = 0;
        for (uint8_t p : line)
            mask |= TPositionMask{1} << (p - 1);
        masks.push_back(mask);
    }
    return masks;
}

std::optional<TSystemCheck> CheckSystem(const std::vector<TPositionMask>& system, int n, int m,
                                        IStakesProgress* progress) {
    if (n < 1 || n > MaxN || m < 1 || m > n)
        return std::nullopt;
    const int top = std::min(m, NumbersInDraw);
    TSystemCheck result;
    result.Draws = Binomials().C[n][m];
    result.DrawsByBest.assign(static_cast<std::size_t>(top) + 1, 0);
    result.Worst = top;
    const TPositionMask end = n == 32 ? 0 : TPositionMask{1} << n;
    uint64_t done = 0;
    for (TPositionMask draw = LowBits(m); draw < end; draw = NextSubset(draw)) {
        int best = 0;
        for (TPositionMask comb : system) {
            best = std::max(best, std::popcount(draw & comb));
            if (best == top)
                break;
        }
        best = std::min(best, top);
        ++result.DrawsByBest[static_cast<std::size_t>(best)];
        result.Worst = std::min(result.Worst, best);
        if (++done % 4096 == 0 && progress) {
            progress->Progress(static_cast<int64_t>(done), static_cast<int64_t>(result.Draws));
            if (progress->StopRequested())
                return std::nullopt;
        }
        if (m == n)
            break;
    }
    if (system.empty())
        result.Worst = 0;
    return result;
}

} // namespace kumby
