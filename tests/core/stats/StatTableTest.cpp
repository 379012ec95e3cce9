#include "stats/StatTable.h"
#include "support/ShownRows.h"

#include "app/Session.h"
#include "draws/DemoArchive.h"
#include "draws/DrawArchive.h"
#include "model/Error.h"
#include "stats/StatList.h"
#include "stats/families/VF_Nums.h"
#include "support/TestArchive.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

namespace kumby {
namespace {

using testing::PatternArchive;
using testing::TTestSession;

bool Contains(const TDrawRecord& d, int n) {
    return std::find(std::begin(d.Numbers), std::end(d.Numbers), n) != std::end(d.Numbers);
}

// A registry over an archive, so that methods can be created without a session.
class TableFixture : public ::testing::Test {
protected:
    explicit TableFixture(TDrawsArray draws = PatternArchive()) : Draws(std::move(draws)) {}

    TStatTable Table(const char* code, int offset, int len, const TPrefetchData* prefetch = nullptr,
                     bool sorted = false, bool showTotalLine = true) {
        if (Registry.Count() == 0)
            Registry.Rebuild();
        const int i = Registry.FindByCode(code);
        EXPECT_GE(i, 0) << code;
        auto method = Registry.CreateInstance(static_cast<std::size_t>(i));
        return ComputeStatTable(std::move(method), Draws, StatWindow(Draws.size(), offset, len), sorted,
                                prefetch, Config, showTotalLine);
    }

    TDrawsArray Draws;
    TConfigData Config;
    TShreddingSettings Shredding;
    TStatList Registry{Draws, Config, Shredding};
};

using StatTableTest = TableFixture;

TShownRow RowOf(const TStatTable& t, const std::string& caption) {
    for (const TStatRow& r : t.Rows)
        if (t.Text(r, StatColValue) == caption)
            return Shown(t, r);
    throw Error("no row " + caption);
}

TEST_F(StatTableTest, NumbersOverTheLastTenDraws) {
    const TStatTable t = Table("NUMS", 0, 10);
    EXPECT_EQ(t.Window.LastIdx, 14);
    EXPECT_EQ(t.Window.FirstIdx, 5);
    EXPECT_EQ(t.Window.N, 10);
    EXPECT_EQ(t.Total, 120);
    EXPECT_EQ(t.MinCount, 0);
    EXPECT_EQ(t.MaxCount, 6);
    EXPECT_FALSE(t.HasNorm);
    ASSERT_EQ(t.Rows.size(), 24u);
    for (std::size_t i = 0; i < t.Rows.size(); ++i) {
        EXPECT_EQ(Shown(t, t.Rows[i]).Texts[StatColValue], std::to_string(i + 1)) << "seeded order";
        for (int c : {StatColNorm, StatColDeviation, StatColDeviationPct, StatColFact, StatColDeviationPrd,
                      StatColDeviationStf, StatColDeviationKrn})
            EXPECT_EQ(Shown(t, t.Rows[i]).Texts[c], "-") << "row " << i + 1 << " column " << c;
    }

    // 1 came in 992, 994, ..., 1000.
    const std::array<std::string, StatColumnCount> one = {
        "1", "5",      "4.16667", "-",    "-",    "-",    "1", "16.67", "1.00", "1000",
        "2", "2.0000", "2",       "1002", "1200", "1168", "-", "-",     "-",    "-"};
    EXPECT_EQ(RowOf(t, "1").Texts, one);
    EXPECT_EQ(RowOf(t, "1").Entry.Count, 5) << "the row keeps its entry";

    // 23 came once, in draw 995, six draws back: no periods, 2 x Draw and 3 x 996 / 2.
    const std::array<std::string, StatColumnCount> once = {"23",     "1",    "0.83333", "-", "-", "-", "6",
                                                           "100.00", "6.00", "995",     "-", "-", "-", "-",
                                                           "1990",   "1494", "-",       "-", "-", "-"};
    EXPECT_EQ(RowOf(t, "23").Texts, once);

    // 24 never came: a seeded row with nothing to show past the share.
    const TShownRow& never = RowOf(t, "24");
    EXPECT_EQ(never.Texts[StatColCount], "0");
    EXPECT_EQ(never.Texts[StatColCountPct], "0.00000");
    for (int c = StatColDepth; c < StatColumnCount; ++c)
        EXPECT_EQ(never.Texts[c], "-") << c;
}

TEST_F(StatTableTest, OffsetFillsTheFactColumnFromTheNewerDraws) {
    const TStatTable t = Table("NUMS", 5, 10); // draws 986..995; 996..1000 lie ahead
    ASSERT_EQ(t.Rows.size(), 24u);

    // 1: five times up to 994, next in 996; forecast 10 / 5 + 994 = 996.
    const TShownRow& one = RowOf(t, "1");
    EXPECT_EQ(one.Texts[StatColForecastPrd], "996");
    EXPECT_EQ(one.Texts[StatColFact], "996");
    EXPECT_EQ(one.Texts[StatColDeviationPrd], "0");
    EXPECT_EQ(one.Texts[StatColDeviationStf], "+" + std::to_string(6 * 994 / 5 + 1 - 996));
    // 23 never comes again.
    EXPECT_EQ(RowOf(t, "23").Texts[StatColFact], "-");
    EXPECT_EQ(RowOf(t, "23").Texts[StatColDeviationKrn], "-");

    // Every number against a direct look at the newer draws.
    for (int n = 1; n <= 23; ++n) {
        const TShownRow& row = RowOf(t, std::to_string(n));
        int last = -1;
        for (int i = 0; i <= 9; ++i)
            if (Contains(Draws[i], n))
                last = i;
        ASSERT_GE(last, 0);
        std::string fact = "-";
        for (int i = last + 1; i < 15 && fact == "-"; ++i)
            if (Contains(Draws[i], n))
                fact = std::to_string(Draws[i].Number);
        EXPECT_EQ(row.Texts[StatColFact], fact) << n;
        if (fact != "-" && row.Texts[StatColForecastPrd] != "-") {
            const int d = std::stoi(row.Texts[StatColForecastPrd]) - std::stoi(fact);
            EXPECT_EQ(row.Texts[StatColDeviationPrd], d > 0 ? "+" + std::to_string(d) : std::to_string(d))
                << n;
        }
    }
}

TEST_F(StatTableTest, WindowLongerThanTheArchiveOrBehindIt) {
    TStatTable t = Table("NUMS", 0, 1000);
    EXPECT_EQ(t.Window.FirstIdx, 0);
    EXPECT_EQ(t.Window.N, 15);
    EXPECT_EQ(RowOf(t, "1").Texts[StatColPeriod], "1.8750") << "15 draws / 8";

    t = Table("NUMS", 15, 10); // offset at the archive's length: nothing seeded either
    EXPECT_TRUE(t.Rows.empty());
    EXPECT_TRUE(StatChart(t).empty());
    EXPECT_EQ(t.Total, 0);

    const TStatWindow w = StatWindow(15, 3, 2147483647);
    EXPECT_EQ(w.LastIdx, 11);
    EXPECT_EQ(w.FirstIdx, 0);
    EXPECT_EQ(w.N, 12);
    EXPECT_EQ(StatWindow(0, 0, 10).N, 0);
}

TEST_F(StatTableTest, UniformFullSetNormsAreTheMiddleOfTheObservedRange) {
    TPrefetchData flat;
    for (uint16_t k = 1; k <= 24; ++k)
        flat.Records.push_back({k, 0, 0, 0, 1352078});
    flat.MinCount = flat.MaxCount = 1352078;

    // Over 7 draws the counts run from 0 to 5: every norm is 2.5 rounded to the even 2;
    // over 3 draws from 0 to 3: 1.5 becomes 2 as well.
    for (const auto& [len, max] : {std::pair{7, 5}, std::pair{3, 3}}) {
        const TStatTable t = Table("NUMS", 0, len, &flat);
        EXPECT_TRUE(t.HasNorm);
        EXPECT_EQ(t.MaxCount, max);
        for (const TShownRow& r : ShownRows(t)) {
            EXPECT_EQ(r.Entry.Norm, 2) << len << " " << r.Texts[0];
            EXPECT_EQ(r.Texts[StatColNorm], "2");
            EXPECT_EQ(r.Texts[StatColDeviation], std::to_string(r.Entry.Count - 2));
        }
    }
}

TEST_F(StatTableTest, SkewedFullSetScalesItsLargestCountToTheLargestObserved) {
    TPrefetchData skewed; // key k counts 1000 k; no record for 2
    for (uint16_t k = 1; k <= 24; ++k)
        if (k != 2)
            skewed.Records.push_back({k, 0, 0, 0, 1000 * k});
    skewed.MinCount = 1000;
    skewed.MaxCount = 24000;

    const TStatTable t = Table("NUMS", 0, 7, &skewed); // max count 5: norm of k is 5k / 24
    ASSERT_TRUE(t.HasNorm);
    EXPECT_EQ(RowOf(t, "12").Texts[StatColNorm], "2") << "2.5 goes to the even neighbour";
    EXPECT_EQ(RowOf(t, "18").Texts[StatColNorm], "4");
    EXPECT_EQ(RowOf(t, "1").Texts[StatColNorm], "0");

    // No record for 2, seen 3 times: norm 0, deviation 100 %.
    const TShownRow& two = RowOf(t, "2");
    EXPECT_EQ(two.Texts[StatColCount], "3");
    EXPECT_EQ(two.Texts[StatColNorm], "0");
    EXPECT_EQ(two.Texts[StatColDeviation], "3");
    EXPECT_EQ(two.Texts[StatColDeviationPct], "100.00000");
    // 24 expected 5 times, never seen.
    const TShownRow& never = RowOf(t, "24");
    EXPECT_EQ(never.Texts[StatColNorm], "5");
    EXPECT_EQ(never.Texts[StatColDeviation], "-5");
    EXPECT_EQ(never.Texts[StatColDeviationPct], "-100.00000");
    // The weight now counts the deviation: -1 x (count - norm) + depth.
    const TShownRow& one = RowOf(t, "1");
    EXPECT_EQ(one.Texts[StatColWeight],
              std::to_string(-(one.Entry.Count - one.Entry.Norm) + one.Entry.Depth) + ".00");

    // An empty or countless file gives no comparison.
    TPrefetchData empty;
    EXPECT_FALSE(Table("NUMS", 0, 7, &empty).HasNorm);
    EXPECT_EQ(RowOf(Table("NUMS", 0, 7, &empty), "1").Texts[StatColNorm], "-");
}

TEST_F(StatTableTest, ChartSeries) {
    std::vector<TChartSeries> chart = StatChart(Table("NUMS", 0, 7));
    ASSERT_EQ(chart.size(), 1u);
    EXPECT_EQ(chart[0].Title, "Фактические данные");
    EXPECT_EQ(chart[0].LineColour, 0x008000u);
    ASSERT_EQ(chart[0].Points.size(), 24u);
    EXPECT_EQ(chart[0].Points[0].X, 0);
    EXPECT_EQ(chart[0].Points[23].Label, "24");
    EXPECT_EQ(chart[0].Points[1].Y, 3) << "count of 2";

    TPrefetchData skewed;
    for (uint16_t k = 1; k <= 24; ++k)
        if (k != 2)
            skewed.Records.push_back({k, 0, 0, 0, 1000 * k});
    skewed.MinCount = 1000;
    skewed.MaxCount = 24000;
    TStatTable t = Table("NUMS", 0, 7, &skewed);
    chart = StatChart(t);
    ASSERT_EQ(chart.size(), 2u);
    EXPECT_EQ(chart[1].Title, "Все возможные комбинации");
    EXPECT_FALSE(chart[1].MarkersVisible);
    ASSERT_EQ(chart[1].Points.size(), 23u);
    EXPECT_EQ(chart[1].Points[1].X, 2);
    EXPECT_EQ(chart[1].Points[1].Label, "3");
    EXPECT_DOUBLE_EQ(chart[1].Points[22].Y, 5.0) << "24000 x 5 / 24000";
    ASSERT_EQ(chart[0].Points.size(), 23u) << "2 has no record and no point";
    EXPECT_EQ(chart[0].Points[1].X, 2);
    EXPECT_EQ(chart[0].Points[1].Y, RowOf(t, "3").Entry.Count);

    chart = StatChart(Table("NUMS", 0, 7, &skewed, false, false));
    ASSERT_EQ(chart.size(), 1u) << "no total line";
    EXPECT_EQ(chart[0].Points.size(), 23u);
}

// A method whose values depend on the RunState: its position in the run, modulo 3.
class TRunPositionStat : public TCustomValuesStat {
public:
    using TCustomValuesStat::TCustomValuesStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override {
        TCustomValuesStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
        Entry.Key1 = static_cast<uint16_t>(runState.Values[0]++ % 3);
        Merge(stat, true);
    }
    bool Matches(const TCombination&, const TStatDrawArray&, int, bool, bool) override { return false; }
};
const TStatClassInfo TRunPositionStat::ClassInfo = {
    "TRunPositionStat", "RUNP", "run", nullptr, 0, 0, false, true, false, true, nullptr, nullptr};

TEST_F(StatTableTest, FactColumnAgreesWithTheMethodsOwnSearch) {
    Draws = MakeDemoArchive(400, 3, 45000);
    Registry.Rebuild();
    // Masks of 4096 values rarely come back within the archive; the others always do.
    for (const auto& [code, comesBack] :
         {std::pair{"NUMS", true}, std::pair{"DIGS", true}, std::pair{"EVEN", true}, std::pair{"EVNV", false},
          std::pair{"SMLV", false}, std::pair{"POS3", true}})
        for (int offset : {0, 7, 150})
            for (bool sorted : {false, true}) {
                const TStatTable t = Table(code, offset, 60, nullptr, sorted);
                auto method = Registry.CreateInstance(static_cast<std::size_t>(Registry.FindByCode(code)));
                int facts = 0;
                for (const TShownRow& r : ShownRows(t)) {
                    if (r.Entry.Depth == 0)
                        continue;
                    const int32_t fact = method->FindNextOccurrence(
                        r.Entry, FindDrawIndex(Draws, r.Entry.Draw) + 1, t.Window.LastIdx, sorted);
                    EXPECT_EQ(r.Texts[StatColFact], fact < 0 ? "-" : std::to_string(fact))
                        << code << " offset " << offset << " value " << r.Texts[0];
                    facts += fact >= 0;
                }
                if (offset == 150 && comesBack) {
                    EXPECT_GT(facts, 0) << code;
                }
            }

    // State carried in the RunState: each search starts it afresh at its own draw.
    const TStatTable t = ComputeStatTable(std::make_shared<TRunPositionStat>(Registry, 0), Draws,
                                          StatWindow(Draws.size(), 5, 10), false, nullptr, Config, true);
    ASSERT_EQ(t.Rows.size(), 3u);
    for (const TShownRow& r : ShownRows(t)) {
        const int at = FindDrawIndex(Draws, r.Entry.Draw);
        // The search from draw at + 1 meets 0, 1, 2 in its first three draws.
        EXPECT_EQ(r.Texts[StatColFact], std::to_string(Draws[at + 1 + r.Entry.Key1].Number)) << r.Texts[0];
    }
}

// Tuple tables of hundreds of thousands of rows find their facts through a plain table
// of tuple keys: checked against the draws after the window read by hand.
TEST_F(StatTableTest, FactColumnOfALargeTupleTable) {
    Draws = MakeDemoArchive(400, 3, 45000);
    Registry.Rebuild();
    const int offset = 150;
    const TStatTable t = Table("KNM4", offset, 80);
    ASSERT_GT(t.RowCount(), std::size_t{1} << 15) << "enough rows for the plain table";
    std::map<std::array<int, 4>, int32_t> firstAfter;
    for (std::size_t idx = static_cast<std::size_t>(t.Window.LastIdx) + 1; idx < Draws.size(); ++idx) {
        const uint8_t* n = Draws[idx].Numbers;
        for (int a = 0; a < 12; ++a)
            for (int b = a + 1; b < 12; ++b)
                for (int c = b + 1; c < 12; ++c)
                    for (int d = c + 1; d < 12; ++d)
                        firstAfter.emplace(std::array<int, 4>{n[a], n[b], n[c], n[d]}, Draws[idx].Number);
    }
    std::size_t found = 0;
    for (const TStatRow& r : t.Rows) {
        const auto at = firstAfter.find({r.Entry.Key1, r.Entry.Key2, r.Entry.Key3, r.Entry.Key4});
        const int32_t fact = at == firstAfter.end() ? -1 : at->second;
        ASSERT_EQ(r.Fact, fact) << t.Text(r, StatColValue);
        found += fact >= 0;
    }
    EXPECT_GT(found, 0u);
    EXPECT_LT(found, t.RowCount());
}

// ---- Sorting --------------------------------------------------------------

// Tuple tables sort by whole-number columns and caption keys without writing texts:
// the order is the one the cell texts give, ties by caption, then by computation order.
TEST_F(StatTableTest, TupleTablesSortAsTheirTexts) {
    Draws = MakeDemoArchive(300, 5, 45000);
    Registry.Rebuild();
    TPrefetchData full; // a full-set distribution for the norm columns
    for (uint16_t a = 1; a <= 24; ++a)
        for (uint16_t b = a + 1; b <= 24; ++b)
            full.Records.push_back({a, b, 0, 0, (a * 7 + b * 3) % 50 + 1});
    full.MinCount = 1;
    full.MaxCount = 50;
    for (const auto& [code, sorted, prefetch] :
         {std::tuple{"KNM2", true, &full}, std::tuple{"KNM3", false, static_cast<TPrefetchData*>(nullptr)},
          std::tuple{"KNP21", false, static_cast<TPrefetchData*>(nullptr)}})
        for (const int column : {StatColValue, StatColCount, StatColNorm, StatColDeviation, StatColDepth,
                                 StatColDraw, StatColFact})
            for (const bool descending : {false, true}) {
                TStatTable t = Table(code, 40, 120, prefetch, sorted);
                ASSERT_GT(t.RowCount(), 100u) << code;
                SortStatTable(t, column, descending);
                std::vector<std::size_t> expected(t.RowCount());
                for (std::size_t i = 0; i < expected.size(); ++i)
                    expected[i] = i;
                std::vector<std::string> cells, captions;
                for (const TStatRow& r : t.Rows) {
                    cells.push_back(t.Text(r, column));
                    captions.push_back(t.Text(r, StatColValue));
                }
                std::stable_sort(expected.begin(), expected.end(), [&](std::size_t a, std::size_t b) {
                    int c = CompareStatTexts(cells[a], cells[b]);
                    if (c == 0)
                        c = CompareStatTexts(captions[a], captions[b]);
                    return descending ? c > 0 : c < 0;
                });
                EXPECT_EQ(t.Order, expected)
                    << code << " column " << column << (descending ? " down" : " up");
            }
}

// Captions by Key1, from a list the test gives.
class TCaptionStat final : public TCustomValuesStat {
public:
    TCaptionStat(const TStatList& list, std::vector<std::string> captions)
        : TCustomValuesStat(list, 0), Captions_(std::move(captions)) {}
    const TStatClassInfo& Info() const override { return TRunPositionStat::ClassInfo; }
    std::string ValueText(const TStatEntry& e) const override { return Captions_.at(e.Key1); }
    bool Matches(const TCombination&, const TStatDrawArray&, int, bool, bool) override { return false; }

private:
    std::vector<std::string> Captions_;
};

// Rows with the given captions whose "+/- ПРД" column reads the given deviation (a
// forecast of draw 100 against a fact of 100 minus it; "-" without a fact), and
// whose "Факт" column reads the fact.
class StatTableSortTest : public TableFixture {
protected:
    TStatTable SortTable(const std::vector<std::pair<std::string, std::string>>& rows) {
        std::vector<std::string> captions;
        TStatTable t;
        for (const auto& [caption, deviation] : rows) {
            TStatRow r;
            r.Entry.Key1 = static_cast<uint16_t>(captions.size());
            r.Entry.Count = 2;
            r.Entry.Depth = 1;
            r.Entry.Draw = 100;
            r.Fact = deviation == "-" ? -1 : 100 - std::stoi(deviation);
            captions.push_back(caption);
            t.Rows.push_back(r);
        }
        t.Method = std::make_shared<TCaptionStat>(Registry, captions);
        t.Order.resize(t.Rows.size());
        return t;
    }
};

std::vector<std::string> Captions(const TStatTable& t) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < t.RowCount(); ++i)
        out.push_back(t.DisplayText(i, StatColValue));
    return out;
}

TEST_F(StatTableSortTest, NumbersTextsAndCaptions) {
    TStatTable t = SortTable({{"a", "-9"}, {"b", "-12"}, {"c", "-2"}, {"d", "-"}, {"e", "-12"}});
    ASSERT_EQ(t.Text(t.Rows[0], StatColDeviationPrd), "-9");
    ASSERT_EQ(t.Text(t.Rows[0], StatColFact), "109");
    SortStatTable(t, StatColFact, false);
    EXPECT_EQ(Captions(t), (std::vector<std::string>{"d", "c", "a", "b", "e"}));
    SortStatTable(t, StatColFact, true);
    EXPECT_EQ(Captions(t), (std::vector<std::string>{"e", "b", "a", "c", "d"}))
        << "112 above 109; ties by caption";
    SortStatTable(t, -1, true);
    EXPECT_EQ(Captions(t), (std::vector<std::string>{"a", "b", "c", "d", "e"})) << "computation order";

    // Captions compare as numbers too, and as text ignoring case, Russian included.
    t = SortTable({{"10", "2"}, {"9", "2"}, {"чНн", "1"}, {"ЧнН", "1"}, {"Чнч", "1"}});
    SortStatTable(t, StatColFact, false);
    EXPECT_EQ(Captions(t), (std::vector<std::string>{"9", "10", "чНн", "ЧнН", "Чнч"}));
    SortStatTable(t, StatColValue, true);
    EXPECT_EQ(Captions(t).front(), "Чнч");
    EXPECT_EQ(Captions(t).back(), "9");

    // Signs and long captions that share their first 16 bytes.
    t = SortTable(
        {{"ABCDEFGHIJKLMNOPz", "-3"}, {"abcdefghijklmnopA", "2"}, {"abcdefghijklmnop", "0"}, {"b", "2"}});
    SortStatTable(t, StatColDeviationPrd, false);
    EXPECT_EQ(Captions(t),
              (std::vector<std::string>{"ABCDEFGHIJKLMNOPz", "abcdefghijklmnop", "abcdefghijklmnopA", "b"}));
    SortStatTable(t, StatColValue, false);
    EXPECT_EQ(Captions(t),
              (std::vector<std::string>{"abcdefghijklmnop", "abcdefghijklmnopA", "ABCDEFGHIJKLMNOPz", "b"}));

    EXPECT_LT(CompareStatTexts("9", "12"), 0);
    EXPECT_LT(CompareStatTexts("9", "12.0"), 0);
    EXPECT_EQ(CompareStatTexts("2,50", "2.5"), 0);
    EXPECT_GT(CompareStatTexts("+3", "-1"), 0);
    EXPECT_LT(CompareStatTexts("-", "0"), 0) << "text order once a side is not a number";
    EXPECT_GT(CompareStatTexts("9", "12:0"), 0) << "ratio texts are not numbers";
    EXPECT_EQ(CompareStatTexts("абв", "АБВ"), 0);
}

TEST_F(StatTableSortTest, FullTiesKeepTheComputationOrder) {
    using TOrder = std::vector<std::size_t>;
    TStatTable t = SortTable({{"x", "1"}, {"x", "2"}, {"x", "1"}, {"x", "2"}}); // facts 99, 98, 99, 98
    SortStatTable(t, StatColFact, false);
    EXPECT_EQ(t.Order, (TOrder{1, 3, 0, 2}));
    SortStatTable(t, StatColFact, true);
    EXPECT_EQ(t.Order, (TOrder{0, 2, 1, 3}));

    t = SortTable({{"x", "-"}, {"x", "1"}, {"x", "-"}}); // "-" and numbers: the other sort
    SortStatTable(t, StatColFact, false);
    EXPECT_EQ(t.Order, (TOrder{0, 2, 1}));
    SortStatTable(t, StatColFact, true);
    EXPECT_EQ(t.Order, (TOrder{1, 0, 2}));
}

TEST_F(StatTableSortTest, InconsistentMixesStaySafeAndStable) {
    // "-" < "0" < "+2" < "-": no total order, yet every row stays exactly once.
    std::vector<std::pair<std::string, std::string>> rows;
    const char* texts[] = {"-", "0", "2", "-3", "10", "-", "5"};
    for (int i = 0; i < 70; ++i)
        rows.push_back({std::to_string(i), texts[i % 7]});
    TStatTable t = SortTable(rows);
    ASSERT_EQ(t.Text(t.Rows[2], StatColDeviationPrd), "+2");
    SortStatTable(t, StatColDeviationPrd, false);
    std::vector<std::size_t> order = t.Order;
    std::sort(order.begin(), order.end());
    for (std::size_t i = 0; i < order.size(); ++i)
        ASSERT_EQ(order[i], i);
}

TEST_F(StatTableSortTest, ColumnOutsideTheTableIsAnError) {
    TStatTable t = SortTable({{"a", "1"}});
    for (int bad : {-2, 20}) {
        try {
            SortStatTable(t, bad, false);
            ADD_FAILURE() << bad;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Некорректное занчение номера столбца сортировки (" + std::to_string(bad) + ")");
        }
    }
    EXPECT_NO_THROW(SortStatTable(t, 19, false));
}

TEST_F(StatTableTest, ScriptFieldsComeFromTheirColumns) {
    const TStatTable t = Table("NUMS", 0, 10);
    const TStatRow& row = t.Rows[0];
    const TStatValues v = RowValues(t, row);
    EXPECT_EQ(v.Value, "1");
    EXPECT_EQ(v.Key, 0);
    const std::pair<const std::string*, int> fields[] = {
        {&v.Count, StatColCount},         {&v.CountPct, StatColCountPct},
        {&v.Deviation, StatColDeviation}, {&v.DeviationPct, StatColDeviationPct},
        {&v.Depth, StatColDepth},         {&v.DepthPct, StatColDepthPct},
        {&v.Weight, StatColWeight},       {&v.PeriodMin, StatColPeriodMin},
        {&v.Period, StatColPeriod},       {&v.PeriodMax, StatColPeriodMax}};
    for (const auto& [field, column] : fields)
        EXPECT_EQ(*field, t.Text(row, column)) << column;
    EXPECT_EQ(v.Count, "5");
    EXPECT_EQ(v.Period, "2.0000");
}

// ---- The session's table ------------------------------------------------------

class SessionTableTest : public ::testing::Test {
protected:
    Session& Open(const TDrawsArray& draws) {
        T.StartWith(draws);
        return *T.S;
    }

    TTestSession T;
};

TEST_F(SessionTableTest, CacheKeyBusyStateAndSort) {
    Session& s = Open(PatternArchive());
    s.View().DrawsStatLen = 10;
    const std::size_t nums = static_cast<std::size_t>(s.Registry().FindByCode("NUMS"));

    T.Ui.Statuses.clear();
    ASSERT_TRUE(s.ComputeTable(nums, false)) << "the first request computes";
    EXPECT_EQ(T.Ui.Statuses, (std::vector<std::string>{"Анализ тиражей и расчет статистики...", ""}));
    EXPECT_FALSE(s.Busy());
    const TStatTable& t = s.LastStatTable();
    ASSERT_EQ(t.RowCount(), 24u);
    EXPECT_EQ(s.LastStatMethod(), nums);
    EXPECT_EQ(t.SortColumn, 1) << "count ascending at first";
    EXPECT_EQ(t.DisplayText(0, 0), "24");
    EXPECT_EQ(t.DisplayText(23, 1), "6");

    EXPECT_FALSE(s.ComputeTable(nums, false)) << "nothing changed";
    EXPECT_TRUE(s.ComputeTable(nums, true));
    s.SetDrawsOffset(5);
    EXPECT_TRUE(s.ComputeTable(nums, false));
    EXPECT_EQ(RowOf(s.LastStatTable(), "1").Texts[StatColFact], "996");
    s.View().DrawsStatLen = 3;
    EXPECT_TRUE(s.ComputeTable(nums, false));
    EXPECT_EQ(s.LastStatTable().Window.N, 3);

    s.SortStatTable(StatColValue, true);
    EXPECT_EQ(s.LastStatTable().DisplayText(0, 0), "24");
    EXPECT_THROW(s.SortStatTable(20, false), Error);
    EXPECT_TRUE(s.ComputeTable(nums + 1, false));
    EXPECT_EQ(s.LastStatTable().SortColumn, StatColValue) << "the sort stays for the next tables";

    EXPECT_TRUE(s.ComputeTable(Session::NoStatMethod, false));
    EXPECT_EQ(s.LastStatTable().RowCount(), 0u) << "no method: rows cleared";
    EXPECT_EQ(s.LastStatMethod(), Session::NoStatMethod);
}

TEST_F(SessionTableTest, EmptyArchiveGivesAnEmptyTable) {
    Session& s = Open({});
    EXPECT_TRUE(s.ComputeTable(0, true));
    EXPECT_EQ(s.LastStatTable().RowCount(), 0u);
    EXPECT_FALSE(s.Busy());
}

} // namespace
} // namespace kumby
