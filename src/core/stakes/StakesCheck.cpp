#include "stakes/StakesCheck.h"

#include "draws/DrawArchive.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace kumby {

namespace {

bool Qualifies(const TStakeRecord& r) {
    return !r.Checked && r.DrawNumber > 0 && r.Numbers.Count >= NumbersInDraw;
}

} // namespace

void CheckStake(TStakeRecord& stake, const TDrawRecord& draw, const TStakePricer& price) {
    stake.Checked = 1;
    std::copy(std::begin(draw.Numbers), std::end(draw.Numbers), stake.DrawResult);
    IntersectNumbers(draw, stake.Numbers, stake.Matched);
    stake.Profit = price(stake.Numbers.Count, stake.Matched.Count);
}

TCheckReport CheckAllStakes(TStakesFile& file, const TDrawsArray& draws, const TStakePricer& price,
                            std::span<IStakeCheckSink* const> sinks, IStakeCheckJournal* journal,
                            IStakesProgress* progress) {
    TCheckReport report;
    const int64_t count = file.Count();
    // Draw numbers repeat over long runs of stakes: each is looked up once.
    std::unordered_map<int32_t, int> drawIndex;
    auto findDraw = [&](int32_t number) {
        auto [it, added] = drawIndex.try_emplace(number, -1);
        if (added)
            it->second = FindDrawIndex(draws, number);
        return it->second;
    };

    // First every record to mark, then the marking: the journal hears of all of them
    // before the first one changes. The listing only reads (a third of a second for a
    // million stakes), so the progress and Stop belong to the marking.
    constexpr std::size_t Chunk = 4096;
    std::vector<TStakeRecord> chunk(static_cast<std::size_t>(std::min<int64_t>(count, Chunk)));
    std::vector<TStakeRun> runs;
    int64_t firstQualifying = -1;
    for (int64_t i = 0; i < count;) {
        const std::size_t n = static_cast<std::size_t>(std::min<int64_t>(Chunk, count - i));
        file.ReadMany(i, n, chunk.data());
        for (std::size_t j = 0; j < n; ++j, ++i) {
            const TStakeRecord& r = chunk[j];
            if (!Qualifies(r))
                continue;
            if (firstQualifying < 0)
                firstQualifying = i;
            if (findDraw(r.DrawNumber) < 0)
                continue; // the draw has not happened yet
            if (!runs.empty() && runs.back().First + runs.back().Count == i)
                ++runs.back().Count;
            else
                runs.push_back({i, 1});
        }
    }
    if (runs.empty())
        return report;
    if (journal)
        journal->CheckBegins(runs, count);

    const int64_t step = std::max<int64_t>(1, (count - firstQualifying) / 100);
    int64_t nextStep = firstQualifying + step;
    for (const TStakeRun& run : runs) {
        const int64_t end = run.First + run.Count;
        for (int64_t i = run.First; i < end;) {
            const std::size_t n = static_cast<std::size_t>(std::min<int64_t>(Chunk, end - i));
            file.ReadMany(i, n, chunk.data());
            for (std::size_t j = 0; j < n; ++j, ++i) {
                if (i >= nextStep && progress) {
                    const double done = 100.0 * static_cast<double>(i - firstQualifying) /
                                        static_cast<double>(count - firstQualifying);
                    progress->Status(Format("Проверка результатов ставок ( завершено %.0f %% )...", done));
                    progress->Progress(i - firstQualifying, count - firstQualifying);
                    nextStep = i + step;
                    if (progress->StopRequested()) {
                        report.Stopped = true;
                        return report;
                    }
                }
                TStakeRecord& r = chunk[j];
                CheckStake(r, draws[static_cast<std::size_t>(findDraw(r.DrawNumber))], price);
                file.WriteAt(i, r);
                ++report.Checked;
                for (IStakeCheckSink* sink : sinks)
                    sink->StakeChecked(r);
            }
        }
    }
    return report;
}

} // namespace kumby
