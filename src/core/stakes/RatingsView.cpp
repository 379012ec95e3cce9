#include "stakes/RatingsView.h"

#include "io/AtomicFile.h"
#include "model/Cp1251.h"
#include "model/Money.h"
#include "model/VexoUtils.h"

namespace kumby {

const TProbabilityTable& HitProbabilities() {
    static const TProbabilityTable table = [] {
        TProbabilityTable t;
        const auto full = static_cast<long double>(Binomial(MaxNumber, NumbersInDraw));
        for (std::size_t k = 0; k <= MaxHits; ++k) {
            t.Hits[k] = HitCount(MaxNumber, NumbersInDraw, static_cast<int>(k));
            t.P[k] = static_cast<long double>(t.Hits[k]) / full;
        }
        return t;
    }();
    return table;
}

int NormalRatingsEffMode(int mode) {
    return mode >= RatingsEffModeExpected && mode <= RatingsEffModeRelative ? mode : RatingsEffModeAbsolute;
}

const TRatingCells& RatingsCaptions() {
    static const TRatingCells captions = [] {
        TRatingCells c;
        c[0] = "Комментарий";
        c[1] = "Ставок";
        c[2] = "Совпало";
        c[3] = "Среднее";
        c[4] = "Профит";
        c[5] = "Ср. профит";
        for (int k = 0; k <= MaxHits; ++k) {
            c[static_cast<std::size_t>(6 + k)] = std::to_string(k);
            c[static_cast<std::size_t>(19 + k)] = "E" + std::to_string(k);
        }
        return c;
    }();
    return captions;
}

namespace {

std::string AverageText(const TRatingEntry& e) {
    return Format("%.3f", static_cast<double>(static_cast<long double>(e.HitSum) / e.Count));
}

std::string AverageProfitText(const TRatingEntry& e) {
    return MoneyText(RoundHalfEven(static_cast<long double>(e.Profit) / e.Count));
}

std::string EffectivenessText(const TRatingEntry& e, std::size_t k, int mode) {
    const long double s = e.Count;
    const long double p = HitProbabilities().P[k];
    const long double observed = e.HitCounts[k];
    switch (NormalRatingsEffMode(mode)) {
    case RatingsEffModeExpected:
        return std::to_string(RoundHalfEven(s * p));
    case RatingsEffModeAbsolute:
        return Format("%.3f%%", static_cast<double>(observed * 100 / s - p * 100));
    default:
        return Format("%.3f%%", static_cast<double>(observed * 100 / (s * p)));
    }
}

} // namespace

TRatingCells RatingCells(const TRatingEntry& e, int effMode) {
    TRatingCells cells;
    // Records are checked when they are read; one built otherwise is not trusted.
    if (e.Count != 0 && !IsSoundRating(e)) {
        cells[0] = BadRatingText;
        return cells;
    }
    cells[0] = e.Name;
    cells[1] = std::to_string(e.Count);
    cells[2] = std::to_string(e.HitSum);
    cells[4] = MoneyText(e.Profit);
    for (std::size_t k = 0; k <= MaxHits; ++k)
        cells[6 + k] = std::to_string(e.HitCounts[k]);
    if (e.Count == 0)
        return cells;
    cells[3] = AverageText(e);
    cells[5] = AverageProfitText(e);
    for (std::size_t k = 0; k <= MaxHits; ++k)
        cells[19 + k] = EffectivenessText(e, k, effMode);
    return cells;
}

std::string RatingsCountText(std::size_t count) {
    return "Рейтинг: " + std::to_string(count);
}

namespace {

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

} // namespace

std::string RatingsCsv(const TRatingsArray& items) {
    std::string text;
    const TRatingCells& captions = RatingsCaptions();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        if (i)
            text += ';';
        text += Quoted(captions[i]);
    }
    text += "\r\n";
    for (const TRatingEntry& e : items) {
        text += Quoted(e.Name);
        text += ';' + std::to_string(e.Count) + ';' + std::to_string(e.HitSum);
        text += ';' + (e.Count > 0 ? AverageText(e) : std::string());
        text += ';' + MoneyText(e.Profit);
        text += ';' + (e.Count > 0 ? AverageProfitText(e) : std::string());
        for (int32_t n : e.HitCounts)
            text += ';' + std::to_string(n);
        text += "\r\n";
    }
    return text;
}

void ExportRatingsCsv(const std::filesystem::path& path, const TRatingsArray& items) {
    SaveFileAtomic(path, Utf8ToCp1251(RatingsCsv(items)));
}

} // namespace kumby
