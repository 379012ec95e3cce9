// The ratings list: cells in the three views, sorting and the CSV export.

#include "stakes/RatingsView.h"
#include "model/Cp1251.h"
#include "model/VexoUtils.h"
#include "stakes/RatingsCharts.h"
#include "stakes/RatingsSort.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kumby {
namespace {

using namespace testing;

TRatingEntry Entry(const std::string& name, std::initializer_list<std::pair<int, int>> hits,
                   TMoney profit = 0) {
    TRatingEntry e;
    e.Name = name;
    for (auto [k, n] : hits) {
        e.HitCounts[static_cast<std::size_t>(k)] = n;
        e.Count += n;
        e.HitSum += k * n;
    }
    e.Profit = profit;
    return e;
}

std::vector<std::string> Names(const TRatingsArray& items) {
    std::vector<std::string> names;
    for (const auto& e : items)
        names.push_back(e.Name);
    return names;
}

TEST(RatingsViewTest, ProbabilityTable) {
    const TProbabilityTable& t = HitProbabilities();
    uint64_t total = 0;
    long double shares = 0;
    for (int k = 0; k <= MaxHits; ++k) {
        total += t.Hits[static_cast<std::size_t>(k)];
        shares += t.P[static_cast<std::size_t>(k)];
    }
    EXPECT_EQ(total, 2704156u);
    EXPECT_NEAR(static_cast<double>(shares), 1.0, 1e-15);
    EXPECT_EQ(t.Hits[6], 853776u);
    EXPECT_EQ(t.Hits[0], 1u);
    EXPECT_EQ(t.Hits[12], 1u);
}

TEST(RatingsViewTest, CellsInTheThreeViews) {
    // Ten stakes: two matched 6 numbers, eight matched 5; profit 100.00 in all.
    const TRatingEntry e = Entry("Источник", {{6, 2}, {5, 8}}, 1000000);
    const long double p6 = 853776.0L / 2704156.0L;
    const long double p0 = 1.0L / 2704156.0L;

    const TRatingCells absolute = RatingCells(e, 1);
    EXPECT_EQ(absolute[0], "Источник");
    EXPECT_EQ(absolute[1], "10");
    EXPECT_EQ(absolute[2], "52");
    EXPECT_EQ(absolute[3], "5.200");
    EXPECT_EQ(absolute[4], "100.00");
    EXPECT_EQ(absolute[5], "10.00");
    EXPECT_EQ(absolute[6 + 5], "8");
    EXPECT_EQ(absolute[6 + 6], "2");
    EXPECT_EQ(absolute[6 + 0], "0");
    EXPECT_EQ(absolute[19 + 6], Format("%.3f%%", static_cast<double>(20 - p6 * 100)));
    EXPECT_EQ(absolute[19 + 0], "-0.000%");

    const TRatingCells relative = RatingCells(e, 2);
    EXPECT_EQ(relative[19 + 6], Format("%.3f%%", static_cast<double>(2 * 100 / (10 * p6))));
    EXPECT_EQ(relative[19 + 6], "63.346%");
    EXPECT_EQ(relative[19 + 0], "0.000%");

    const TRatingCells expected = RatingCells(e, 0);
    EXPECT_EQ(expected[19 + 6], "3") << "10 x P(6) = 3.157";
    EXPECT_EQ(expected[19 + 0], "0");
    EXPECT_EQ(RoundHalfEven(10 * p0), 0);

    EXPECT_EQ(RatingCells(e, 7), absolute) << "a stored view outside 0..2 shows the default view";
}

TEST(RatingsViewTest, AverageProfitRoundsToTheFixedPointUnit) {
    // 1.00005 per stake over 2 stakes rounds half to even at the fourth decimal.
    TRatingEntry e = Entry("a", {{0, 3}}, -10);
    EXPECT_EQ(RatingCells(e, 1)[5], "0.00");
    e.Profit = 30001; // 3.0001 / 3 = 1.000033
    EXPECT_EQ(RatingCells(e, 1)[5], "1.00");
}

TEST(RatingsViewTest, EmptyAndBadRows) {
    TRatingEntry zero;
    zero.Name = "ноль";
    const TRatingCells cells = RatingCells(zero, 1);
    EXPECT_EQ(cells[0], "ноль");
    EXPECT_EQ(cells[1], "0");
    EXPECT_EQ(cells[3], "") << "no average without stakes";
    EXPECT_EQ(cells[5], "");
    EXPECT_EQ(cells[19], "");

    TRatingEntry bad = Entry("x", {{3, 2}});
    bad.HitCounts[4] = 5;
    EXPECT_EQ(RatingCells(bad, 1)[0], BadRatingText);
}

TEST(RatingsViewTest, Captions) {
    const TRatingCells& c = RatingsCaptions();
    EXPECT_EQ(c[0], "Комментарий");
    EXPECT_EQ(c[5], "Ср. профит");
    EXPECT_EQ(c[6], "0");
    EXPECT_EQ(c[18], "12");
    EXPECT_EQ(c[19], "E0");
    EXPECT_EQ(c[31], "E12");
    EXPECT_EQ(RatingsCountText(7), "Рейтинг: 7");
}

// Averages 2.004, 2.001, 2.01 and 2.00 over 1000 or 100 stakes.
TRatingEntry WithAverage(const std::string& name, int count, int hitSum) {
    TRatingEntry e;
    e.Name = name;
    e.Count = count;
    e.HitSum = hitSum;
    return e;
}

TEST(RatingsViewTest, SortingByAverageComparesToTheHundredth) {
    TRatingsArray items = {WithAverage("2.004", 1000, 2004), WithAverage("2.00", 100, 200),
                           WithAverage("2.01", 100, 201), WithAverage("2.001", 1000, 2001)};
    SortRatings(items, 3, true);
    EXPECT_EQ(Names(items)[0], "2.01");
    // 2.004, 2.00 and 2.001 compare equal: they keep their order.
    EXPECT_EQ(Names(items), (std::vector<std::string>{"2.01", "2.004", "2.00", "2.001"}));
    SortRatings(items, 3, false);
    EXPECT_EQ(Names(items).back(), "2.01");
}

TEST(RatingsViewTest, SortingByEachKindOfColumn) {
    const TRatingsArray base = {Entry("Жук", {{1, 3}}, 500), Entry("ёж", {{2, 1}}, -70000),
                                Entry("abc", {{0, 2}, {12, 1}}, 1000000), Entry("Ель", {{5, 4}}, 0),
                                Entry("Abc", {{3, 1}}, 49)};
    struct TCase {
        int Column;
        bool Descending;
        std::vector<std::string> Order;
    };
    const TCase cases[] = {
        {0, false, {"abc", "Abc", "Ель", "ёж", "Жук"}},
        {0, true, {"Жук", "ёж", "Ель", "Abc", "abc"}},
        {1, true, {"Ель", "Жук", "abc", "ёж", "Abc"}},
        {2, false, {"ёж", "Жук", "Abc", "abc", "Ель"}},
        // 0.0049 and 0 differ by less than half a hundredth: equal, kept in order.
        {4, false, {"ёж", "Ель", "Abc", "Жук", "abc"}},
        {5, true, {"abc", "Жук", "Ель", "Abc", "ёж"}},
        {6, true, {"abc", "Жук", "ёж", "Ель", "Abc"}},
        {6 + 12, true, {"abc", "Жук", "ёж", "Ель", "Abc"}},
        {19, true, {"Жук", "ёж", "abc", "Ель", "Abc"}}, // effectiveness does not sort
        {-1, true, {"Жук", "ёж", "abc", "Ель", "Abc"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Column);
        TRatingsArray items = base;
        SortRatings(items, c.Column, c.Descending);
        EXPECT_EQ(Names(items), c.Order);
    }
}

TEST(RatingsViewTest, TheIndexFollowsTheSort) {
    TRatings ratings;
    ratings.Add("Б", 2, 10);
    ratings.Add("а", 5, 20);
    ratings.Sort(0, false);
    ASSERT_EQ(Names(ratings.Items()), (std::vector<std::string>{"а", "Б"}));
    ratings.Add("б", 4, 1);
    ratings.Add("А", -1, 1000); // unchecked: ignored
    EXPECT_EQ(ratings.Items()[1].Count, 2);
    EXPECT_EQ(ratings.Items()[1].HitSum, 6);
    EXPECT_EQ(ratings.Items()[0].Count, 1);
}

// Splits one exported line at ";" outside quotes and unquotes the texts.
std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == ';' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

TEST(RatingsViewTest, CsvExportRoundTripsTheFigures) {
    const TRatingsArray items = {Entry("Сценарий \"A\"; вариант 2", {{0, 1}, {4, 6}, {6, 2}}, -1234567),
                                 Entry("Вручную", {{12, 1}}, 99999999)};
    TTempDir dir;
    ExportRatingsCsv(dir / "r.csv", items);
    const std::string bytes = ReadBytes(dir / "r.csv");
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << "CR LF line ends";
    const std::string text = Cp1251ToUtf8(bytes);
    EXPECT_EQ(
        text.substr(0, text.find("\r\n")),
        "\"Комментарий\";\"Ставок\";\"Совпало\";\"Среднее\";\"Профит\";\"Ср. "
        "профит\";\"0\";\"1\";\"2\";\"3\";"
        "\"4\";\"5\";\"6\";\"7\";\"8\";\"9\";\"10\";\"11\";\"12\";\"E0\";\"E1\";\"E2\";\"E3\";\"E4\";\"E5\";"
        "\"E6\";\"E7\";\"E8\";\"E9\";\"E10\";\"E11\";\"E12\"");

    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.back(), '\r');
        line.pop_back();
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1],
              "\"Сценарий \"\"A\"\"; вариант 2\";9;36;4.000;-123.46;-13.72;1;0;0;0;6;0;2;0;0;0;0;0;0");
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::vector<std::string> f = CsvFields(lines[i + 1]);
        ASSERT_EQ(f.size(), 19u);
        const TRatingEntry& e = items[i];
        EXPECT_EQ(f[0], e.Name);
        EXPECT_EQ(std::stoi(f[1]), e.Count);
        EXPECT_EQ(std::stoi(f[2]), e.HitSum);
        EXPECT_NEAR(std::stod(f[3]), static_cast<double>(e.HitSum) / e.Count, 0.0005);
        EXPECT_EQ(MoneyFromFloat(std::stold(f[4])), RoundHalfEven(e.Profit / 100.0L) * 100);
        EXPECT_NEAR(std::stod(f[5]), static_cast<double>(e.Profit) / e.Count / 10000, 0.005);
        for (int k = 0; k <= MaxHits; ++k)
            EXPECT_EQ(std::stoi(f[static_cast<std::size_t>(6 + k)]),
                      e.HitCounts[static_cast<std::size_t>(k)]);
    }
}

TEST(RatingsViewTest, MatchCountChartAgainstTheExpectedDistribution) {
    const TRatingsArray items = {Entry("a", {{6, 2}, {5, 8}}), Entry("b", {{4, 1}, {7, 29}})};
    const auto series = RatingsOverlapSeries(items, {1, 0, 5});
    ASSERT_EQ(series.size(), 3u);
    EXPECT_EQ(series[0].Name, NormalSeriesName);
    ASSERT_EQ(series[0].Points.size(), 13u);
    EXPECT_DOUBLE_EQ(series[0].Points[6].second, 853776.0 * 30 / 2704156) << "for the largest count, 30";
    EXPECT_EQ(series[1].Name, "b");
    EXPECT_EQ(series[1].Points[7], (std::pair<double, double>{7, 29}));
    EXPECT_EQ(series[2].Name, "a");
}

} // namespace
} // namespace kumby
