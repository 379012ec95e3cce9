#include "views/RepeatsAnalysis.h"

#include "model/GameConstants.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <bit>

namespace kumby {

namespace {

// The numbers 1..24 of a draw as bits; anything else in a damaged record is no number.
uint32_t NumberMask(const TDrawRecord& draw) {
    uint32_t mask = 0;
    for (const uint8_t n : draw.Numbers)
        if (n >= 1 && n <= MaxNumber)
            mask |= 1u << n;
    return mask;
}

} // namespace

const std::array<const char*, 4>& RepeatsColumnCaptions() {
    static const std::array<const char*, 4> captions = {"Тираж", "Совпадений", "Кол-во повторов",
                                                        "Список тиражей"};
    return captions;
}

std::optional<std::vector<TRepeatRow>> ComputeRepeats(const TDrawsArray& draws, int length, int depth,
                                                      const TRepeatsProgress& progress) {
    std::vector<TRepeatRow> rows;
    const auto count = static_cast<int64_t>(draws.size());
    const int64_t last = count - 1;
    const int64_t first = std::max<int64_t>(0, last - std::max(1, length) + 1);
    const int64_t deep = std::max(1, depth);
    const int64_t oldest = std::max<int64_t>(0, first - deep);
    std::vector<uint32_t> masks;
    for (int64_t i = oldest; i <= last; ++i)
        masks.push_back(NumberMask(draws[static_cast<std::size_t>(i)]));
    long long done = 0;
    for (int64_t d = last; d >= first; --d) {
        // Row of each number of shared numbers for this draw, -1 while none.
        std::array<int64_t, NumbersInDraw + 1> rowOf;
        rowOf.fill(-1);
        const TDrawRecord& draw = draws[static_cast<std::size_t>(d)];
        for (int64_t e = d - 1; e >= std::max<int64_t>(0, d - deep); --e) {
            const TDrawRecord& earlier = draws[static_cast<std::size_t>(e)];
            const int m = std::popcount(masks[static_cast<std::size_t>(d - oldest)] &
                                        masks[static_cast<std::size_t>(e - oldest)]);
            if (m <= 0)
                continue;
            if (rowOf[static_cast<std::size_t>(m)] < 0) {
                rowOf[static_cast<std::size_t>(m)] = static_cast<int64_t>(rows.size());
                rows.push_back({draw.Number, m, 1, std::to_string(earlier.Number)});
            } else {
                TRepeatRow& row = rows[static_cast<std::size_t>(rowOf[static_cast<std::size_t>(m)])];
                ++row.Count;
                row.List += ' ';
                row.List += std::to_string(earlier.Number);
            }
        }
        if (progress && !progress(++done, last - first + 1))
            return std::nullopt;
    }
    return rows;
}

std::vector<TChartSeries> RepeatsChart(const std::vector<TRepeatRow>& rows) {
    int largest = 0;
    for (const TRepeatRow& row : rows)
        largest = std::max(largest, row.Matches);
    std::vector<TChartSeries> lines(static_cast<std::size_t>(largest));
    for (int m = 1; m <= largest; ++m) {
        TChartSeries& line = lines[static_cast<std::size_t>(m - 1)];
        line.Title = Format("Совпадений: %d", m);
        line.MarkersVisible = false;
    }
    // Rows run newest draw first; the lines go left to right.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        lines[static_cast<std::size_t>(row->Matches - 1)].Points.push_back(
            {static_cast<double>(row->Draw), static_cast<double>(row->Count), std::to_string(row->Draw)});
    return lines;
}

} // namespace kumby
