// The statistics table of NUMS and EVEN on a sizeable archive against values worked
// out here directly from the draws, with the full-set comparison on.

#include "app/Session.h"
#include "draws/DemoArchive.h"
#include "model/VexoUtils.h"
#include "support/ShownRows.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace kumby {
namespace {

using testing::TTestSession;

std::string Int(long double v) {
    return std::to_string(static_cast<long long>(std::nearbyint(v)));
}

// What a row must show for a value occurring in the draws `hits` (archive indexes,
// oldest first) of the window lastIdx-n+1..lastIdx.
struct TExpected {
    int Count = 0;
    int Depth = 0;
    int32_t Draw = 0;
    int PeriodMin = 0, PeriodMax = 0;
    int32_t Fact = -1;
};

class IndependentTable : public ::testing::Test {
protected:
    void SetUp() override {
        Draws = MakeDemoArchive(600, 11, 46000);
        // A gap in the numbering: periods count draw numbers, not positions.
        for (std::size_t i = 300; i < Draws.size(); ++i)
            Draws[i].Number += 5;
        ASSERT_NO_FATAL_FAILURE(T.StartWith(Draws));
        S = T.S.get();
        S->View().DrawsStatLen = Len;
        S->View().PrefetchsEnabled = true;
        S->SetDrawsOffset(Offset);
        S->SortStatTable(-1, false);
    }

    template <typename ValueOf> std::map<int, TExpected> Expect(ValueOf valuesOf) {
        const int last = static_cast<int>(Draws.size()) - 1 - Offset;
        const int first = last - Len + 1;
        std::map<int, TExpected> out;
        for (int i = first; i <= last; ++i)
            for (int v : valuesOf(Draws[i])) {
                TExpected& e = out[v];
                if (e.Count > 0) {
                    const int gap = Draws[i].Number - e.Draw;
                    e.PeriodMin = e.PeriodMin == 0 ? gap : std::min(e.PeriodMin, gap);
                    e.PeriodMax = std::max(e.PeriodMax, gap);
                }
                ++e.Count;
                e.Draw = Draws[i].Number;
                e.Depth = last - i + 1;
            }
        for (auto& [v, e] : out)
            for (int i = last - e.Depth + 2; i < static_cast<int>(Draws.size()) && e.Fact < 0; ++i) {
                const auto values = valuesOf(Draws[i]);
                if (std::find(values.begin(), values.end(), v) != values.end())
                    e.Fact = Draws[i].Number;
            }
        return out;
    }

    void CheckRow(const TShownRow& row, const TExpected& e, int64_t total) {
        const auto& t = row.Texts;
        const int n = Len;
        SCOPED_TRACE("value " + t[StatColValue]);
        EXPECT_EQ(t[StatColCount], std::to_string(e.Count));
        EXPECT_EQ(t[StatColCountPct], Format("%.5f", e.Count * 100.0 / static_cast<double>(total)));
        EXPECT_EQ(t[StatColDepth], std::to_string(e.Depth));
        EXPECT_EQ(t[StatColDraw], std::to_string(e.Draw));
        if (e.Count >= 2) {
            EXPECT_EQ(t[StatColPeriodMin], std::to_string(e.PeriodMin));
            EXPECT_EQ(t[StatColPeriodMax], std::to_string(e.PeriodMax));
            EXPECT_EQ(t[StatColPeriod], Format("%.4f", static_cast<double>(n) / e.Count));
            EXPECT_EQ(t[StatColForecastPrd], Int(static_cast<long double>(n) / e.Count + e.Draw));
        }
        EXPECT_EQ(t[StatColForecastStf], Int(static_cast<long double>(e.Count + 1) * e.Draw / e.Count));
        EXPECT_EQ(t[StatColForecastKrn],
                  Int(static_cast<long double>(e.Count + 2) * (e.Draw + 1) / (e.Count + 1)));
        EXPECT_EQ(t[StatColFact], e.Fact < 0 ? "-" : std::to_string(e.Fact));
        if (e.Fact >= 0) {
            EXPECT_EQ(t[StatColDeviationStf], DeviationText(t[StatColForecastStf], e.Fact));
        }
    }

    static constexpr int Offset = 40;
    static constexpr int Len = 250;
    TTestSession T;
    TDrawsArray Draws;
    Session* S = nullptr;
};

TEST_F(IndependentTable, NumbersWithUniformNorms) {
    S->ComputeTable(static_cast<std::size_t>(S->Registry().FindByCode("NUMS")), true);
    const TStatTable& t = S->LastStatTable();
    ASSERT_EQ(t.RowCount(), 24u);
    const auto expected =
        Expect([](const TDrawRecord& d) { return std::vector<int>(d.Numbers, d.Numbers + 12); });
    int minCount = 1 << 30, maxCount = 0;
    for (const auto& [v, e] : expected) {
        minCount = std::min(minCount, e.Count);
        maxCount = std::max(maxCount, e.Count);
    }
    for (std::size_t r = 0; r < t.RowCount(); ++r) {
        const TShownRow row = ShownRow(t, r);
        EXPECT_EQ(row.Texts[StatColValue], std::to_string(r + 1)) << "seeded 1..24 first";
        CheckRow(row, expected.at(static_cast<int>(r + 1)), 12 * Len);
        // Every number is in as many combinations: the middle of the observed range.
        EXPECT_EQ(row.Texts[StatColNorm], Int((maxCount + minCount) / 2.0L));
    }
}

TEST_F(IndependentTable, EvenCountsWithTheMaxRule) {
    S->ComputeTable(static_cast<std::size_t>(S->Registry().FindByCode("EVEN")), true);
    const TStatTable& t = S->LastStatTable();
    const auto expected = Expect([](const TDrawRecord& d) {
        return std::vector<int>{
            static_cast<int>(std::count_if(d.Numbers, d.Numbers + 12, [](uint8_t n) { return n % 2 == 0; }))};
    });
    int maxCount = 0;
    for (const auto& [v, e] : expected)
        maxCount = std::max(maxCount, e.Count);
    const long double fullMax = static_cast<long double>(Binomial(12, 6)) * Binomial(12, 6);
    for (std::size_t r = 0; r < t.RowCount(); ++r) {
        const TShownRow row = ShownRow(t, r);
        const int k = static_cast<int>(row.Entry.Key1);
        EXPECT_EQ(row.Texts[StatColValue], std::to_string(k) + ":" + std::to_string(12 - k));
        const long double full = static_cast<long double>(Binomial(12, k)) * Binomial(12, 12 - k);
        const long double norm = std::nearbyint(full * maxCount / fullMax);
        EXPECT_EQ(row.Texts[StatColNorm], Int(norm)) << k;
        if (expected.count(k)) {
            CheckRow(row, expected.at(k), Len);
            EXPECT_EQ(row.Texts[StatColDeviation], Int(expected.at(k).Count - norm));
        } else {
            EXPECT_EQ(row.Texts[StatColCount], "0");
            EXPECT_EQ(row.Texts[StatColDepth], "-");
        }
    }
}

} // namespace
} // namespace kumby
