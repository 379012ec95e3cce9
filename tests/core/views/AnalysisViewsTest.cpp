// The grids of the card, layout and weekday views, their colours and the numbers
// read out of selected cells.

#include "views/CardView.h"
#include "views/LayoutView.h"
#include "views/WeekView.h"

#include "support/TestArchive.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::DrawOf;

std::vector<std::string> Row(const TLayoutView& v, int row) {
    std::vector<std::string> cells;
    for (int c = 0; c < v.ColCount(); ++c)
        cells.push_back(v.CellText(row, c));
    return cells;
}

// Draws 10..12: 1..12; 13..24; and the halves of both interleaved.
TDrawsArray ThreeDraws() {
    return {DrawOf(10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
            DrawOf(11, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}),
            DrawOf(12, {1, 13, 2, 14, 3, 15, 4, 16, 5, 17, 6, 18})};
}

const std::array<bool, MaxNumber + 1> NoNextDraw{};

// ---- Layout -------------------------------------------------------------------

TEST(LayoutViewTest, RowsAreCountsAndColumnsLastAppearancesBothDescending) {
    const TDrawsArray draws = ThreeDraws();
    TLayoutView v;
    ASSERT_TRUE(v.Refresh({draws, 0, false, NoNextDraw}, 100, false));
    ASSERT_EQ(v.RowCount(), 3);
    ASSERT_EQ(v.ColCount(), 4);
    using R = std::vector<std::string>;
    EXPECT_EQ(Row(v, 0), (R{"", "12", "11", "10"}));
    EXPECT_EQ(Row(v, 1), (R{"2", "1, 13, 2, 14, 3, 15, 4, 16, 5, 17, 6, 18", "", ""}));
    EXPECT_EQ(Row(v, 2), (R{"1", "", "19, 20, 21, 22, 23, 24", "7, 8, 9, 10, 11, 12"}));
}

TEST(LayoutViewTest, WindowEdges) {
    const TDrawsArray draws = ThreeDraws();
    const TDrawsArray one = {draws[2]};
    struct TCase {
        const char* Name;
        const TDrawsArray& Draws;
        int Offset;
        int Len;
        bool Sorted;
        int Rows, Cols;
        std::string FirstCell;
    };
    const TCase cases[] = {
        {"one draw: one cell of 12 in drawn order", one, 0, 100, false, 2, 2,
         "1, 13, 2, 14, 3, 15, 4, 16, 5, 17, 6, 18"},
        {"one draw sorted", one, 0, 100, true, 2, 2, "1, 2, 3, 4, 5, 6, 13, 14, 15, 16, 17, 18"},
        {"length 1 is the newest draw", draws, 0, 1, false, 2, 2, "1, 13, 2, 14, 3, 15, 4, 16, 5, 17, 6, 18"},
        {"length past the archive takes all", draws, 0, 1000000, false, 3, 4,
         "1, 13, 2, 14, 3, 15, 4, 16, 5, 17, 6, 18"},
        {"offset ends the window earlier", draws, 2, 100, false, 2, 2,
         "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12"},
        {"empty archive", TDrawsArray{}, 0, 100, false, 1, 1, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLayoutView v;
        v.Refresh({c.Draws, c.Offset, c.Sorted, NoNextDraw}, c.Len, true);
        EXPECT_EQ(v.RowCount(), c.Rows);
        EXPECT_EQ(v.ColCount(), c.Cols);
        EXPECT_EQ(v.CellText(1, 1), c.FirstCell);
    }
}

TEST(LayoutViewTest, NumbersOfTheNextDrawInBracketsAndLime) {
    const TDrawsArray draws = ThreeDraws();
    std::array<bool, MaxNumber + 1> next{};
    for (uint8_t n : draws[2].Numbers)
        next[n] = true;
    TLayoutView v;
    v.Refresh({draws, 1, false, next}, 100, true);
    ASSERT_EQ(v.RowCount(), 2);
    EXPECT_EQ(v.CellText(1, 1), "[13], [14], [15], [16], [17], [18], 19, 20, 21, 22, 23, 24");
    EXPECT_EQ(v.CellText(1, 2), "[1], [2], [3], [4], [5], [6], 7, 8, 9, 10, 11, 12");
    EXPECT_EQ(v.CellColour(1, 1, true), LimeColour);
    EXPECT_EQ(v.CellColour(1, 1, false), LimeColour);
    const TGridCell cells[] = {{1, 1}, {0, 1}, {1, 0}};
    EXPECT_EQ(v.SelectionNumbers(cells), (std::vector<int>{13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}))
        << "headers hold no values";
}

TEST(LayoutViewTest, GradientAndCheckerboard) {
    const TDrawsArray draws = ThreeDraws();
    TLayoutView v;
    v.Refresh({draws, 0, false, NoNextDraw}, 100, true); // 3 rows, 4 columns
    // RGB(255 - r*155/3, 255 - c*155/4, r*155/3 + 100), halves to even.
    EXPECT_EQ(v.CellColour(1, 1, true), TColour{203u << 16 | 216u << 8 | 152u});
    EXPECT_EQ(v.CellColour(2, 3, true), TColour{152u << 16 | 139u << 8 | 203u});
    EXPECT_EQ(v.CellColour(0, 1, true), std::nullopt);

    // Blocks of five: pink where exactly one index ends in 1..5 (at most 95).
    struct TCase {
        int Row, Col;
        TColour Colour;
    };
    const TCase cases[] = {{1, 1, LayoutGreenColour},  {1, 6, LayoutPinkColour},  {6, 6, LayoutGreenColour},
                           {5, 11, LayoutGreenColour}, {10, 1, LayoutPinkColour}, {96, 1, LayoutPinkColour},
                           {95, 1, LayoutGreenColour}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::pair(c.Row, c.Col)));
        EXPECT_EQ(LayoutCheckerColour(c.Row, c.Col), c.Colour);
    }
    EXPECT_EQ(v.CellColour(2, 3, false), LayoutGreenColour);
}

TEST(LayoutViewTest, ComparisonListsByCountWithTheirWindows) {
    const TDrawsArray draws = ThreeDraws();
    TLayoutView v;
    v.RefreshCompare({draws, 0, false, NoNextDraw}, {2, 1, 3, 100, 1}, true);
    const TLayoutCompareList& two = v.CompareLists()[0];
    EXPECT_EQ(two.Caption, "11 - 12");
    ASSERT_EQ(two.Rows.size(), 2u);
    EXPECT_EQ(two.Rows[0].Count, 2);
    EXPECT_EQ(two.Rows[0].Numbers, "13, 14, 15, 16, 17, 18");
    EXPECT_EQ(two.Rows[1].Count, 1);
    EXPECT_EQ(two.Rows[1].Numbers, "1, 2, 3, 4, 5, 6, 19, 20, 21, 22, 23, 24");
    EXPECT_EQ(v.CompareLists()[1].Caption, "12 - 12");
    EXPECT_EQ(v.CompareLists()[3].Caption, "10 - 12") << "a length past the archive takes it all";

    TLayoutView empty;
    empty.RefreshCompare({TDrawsArray{}, 0, false, NoNextDraw}, {50, 100, 200, 300, 400}, true);
    EXPECT_TRUE(empty.CompareLists()[0].Rows.empty());
}

// ---- Card ---------------------------------------------------------------------

TEST(CardViewTest, NewestFirstWithNumbersInTheirColumns) {
    TDrawsArray draws = ThreeDraws();
    draws[0].Numbers[11] = 0; // out of range: skipped
    draws[0].Numbers[10] = 25;
    TCardView card;
    ASSERT_TRUE(card.Refresh(draws, false));
    ASSERT_EQ(card.RowCount(), 4);
    EXPECT_EQ(card.CellText(0, 0), "Тираж");
    EXPECT_EQ(card.CellText(0, 24), "24");
    EXPECT_EQ(card.CellText(1, 0), "12");
    EXPECT_EQ(card.CellText(1, 13), "13");
    EXPECT_EQ(card.CellText(1, 7), "");
    EXPECT_EQ(card.CellText(3, 0), "10");
    EXPECT_EQ(card.CellText(3, 10), "10");
    EXPECT_EQ(card.CellText(3, 11), "");

    TCardView empty;
    empty.Refresh({}, true);
    EXPECT_EQ(empty.RowCount(), 2) << "an empty archive leaves one blank row";
    EXPECT_EQ(empty.CellText(1, 0), "");
}

TEST(CardViewTest, RebuildsWhenADrawChangesInPlace) {
    TDrawsArray draws = ThreeDraws();
    TCardView card;
    card.Refresh(draws, false);
    EXPECT_FALSE(card.Refresh(draws, false));
    std::swap(draws[2].Numbers[0], draws[2].Numbers[1]);
    EXPECT_TRUE(card.Refresh(draws, false)) << "same count, other contents";
    draws[2].Numbers[0] = 24;
    ASSERT_TRUE(card.Refresh(draws, false));
    EXPECT_EQ(card.CellText(1, 24), "24");
}

TEST(CardViewTest, SequenceAndChannelColours) {
    // Rows 1..3 are draws 3, 2, 1; 7 comes out in all three without a neighbour.
    const TDrawsArray draws = {DrawOf(1, {1, 3, 5, 7, 10, 12, 14, 16, 18, 20, 22, 24}),
                               DrawOf(2, {1, 3, 5, 7, 10, 12, 14, 16, 18, 20, 22, 24}),
                               DrawOf(3, {1, 3, 5, 7, 10, 12, 14, 16, 18, 20, 22, 23})};
    TCardView card;
    card.Refresh(draws, true);
    struct TCase {
        const char* Name;
        int Row, Col;
        TCardColouring Colouring;
        std::optional<TColour> Colour;
    };
    const TCardColouring both{true, true, 4};
    const TCardColouring channels{true, false, 4};
    const TCardColouring sequences{false, true, 4};
    const TCardColouring none{false, false, 4};
    const TCase cases[] = {
        {"repeating without neighbours", 2, 7, both, LimeColour},
        {"the draw number is no neighbour of 1", 1, 1, both, LimeColour},
        {"the header is no draw above the first row", 1, 3, sequences, LimeColour},
        {"a neighbour but not repeating", 1, 23, both, AquaColour},
        {"repeating with a neighbour", 1, 22, both, YellowColour},
        {"24 looks only left", 2, 24, both, LimeColour},
        {"empty cells take the channel", 1, 2, both, TColour{0xAAFFAA}},
        {"channel of 6 at width 4", 1, 6, channels, TColour{0xFFFFAA}},
        {"sequences off: channel", 2, 7, channels, TColour{0xFFFFAA}},
        {"channels off, empty cell", 1, 2, sequences, std::nullopt},
        {"both off", 2, 7, none, std::nullopt},
        {"header", 0, 7, both, std::nullopt},
        {"draw number", 1, 0, both, std::nullopt},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(card.CellColour(c.Row, c.Col, c.Colouring), c.Colour);
    }
}

TEST(CardViewTest, SelectionGivesTheNumbersWrittenOnce) {
    TCardView card;
    card.Refresh(ThreeDraws(), true);
    const TGridCell cells[] = {{1, 13}, {2, 13}, {1, 7}, {3, 7}, {1, 0}, {0, 5}, {2, 24}};
    EXPECT_EQ(card.SelectionNumbers(cells), (std::vector<int>{13, 7, 24}));
    const TGridCell emptyCells[] = {{1, 7}, {2, 1}};
    EXPECT_TRUE(card.SelectionNumbers(emptyCells).empty());
}

// ---- Weekday ------------------------------------------------------------------

TEST(WeekViewTest, WeekdayOfDates) {
    struct TCase {
        const char* Date;
        int Day;
    };
    const TCase cases[] = {
        {"01.01.2021 20:00", 5}, // Friday
        {"03.01.2021 11:00", 7}, // Sunday
        {"29.02.2024 00:00", 4}, // leap day, Thursday
        {"31.12.1999 23:59", 5}, // Friday before the new century
        {"01.01.2000 00:00", 6}, // Saturday
        {"01.01.1900 10:00", 1}, // Monday
        {"30.12.1899 12:00", 6}, // day 0 itself, Saturday
        {"29.12.1899 12:00", 5}, // before day 0
        {"31.12.2099 20:00", 4}, // Thursday
        {"", 0},                 // unknown
        {"31.02.2021 20:00", 0}, // no such day
        {"дата", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Date);
        EXPECT_EQ(DrawWeekday(DrawOf(1, {1}, c.Date)), c.Day);
    }
}

TEST(WeekViewTest, CountsOverTheWindowColoursAndCharts) {
    const TDrawsArray draws = {DrawOf(1, {24, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "04.01.2021 20:00"), // Mon
                               DrawOf(2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "08.01.2021 20:00"),  // Fri
                               DrawOf(3, {1, 13, 2, 14, 3, 15, 4, 16, 5, 17, 6, 18}, "15.01.2021 20:00"),
                               DrawOf(4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 19}, "")};
    TWeekView w;
    // Offset 1, length 2: draws 2 and 3, both on a Friday.
    ASSERT_TRUE(w.Refresh(draws, 1, 2, false));
    EXPECT_FALSE(w.Refresh(draws, 1, 2, false));
    EXPECT_EQ(w.Largest(), 2);
    EXPECT_EQ(w.CellText(5, 1), "2");
    EXPECT_EQ(w.CellText(5, 13), "1");
    EXPECT_EQ(w.CellText(1, 24), "") << "draw 1 is outside the window";
    EXPECT_EQ(w.CellText(0, 24), "24");
    EXPECT_EQ(w.CellText(7, 0), "Вс");
    EXPECT_EQ(w.CellColour(5, 1), TColour{0xFF0000});
    EXPECT_EQ(w.CellColour(5, 13), TColour{0xFF8080}) << "255 - 127.5 rounds to the even 128";
    EXPECT_EQ(w.CellColour(5, 24), std::nullopt);

    const TWeekChartData byDays = w.Chart(WeekChartByDays, {5, 13});
    EXPECT_EQ(byDays.Labels.front(), "Пн");
    EXPECT_EQ(byDays.Values, (std::vector<int>{0, 0, 0, 0, 1, 0, 0}));
    const TWeekChartData byNumbers = w.Chart(WeekChartByNumbers, {5, 13});
    ASSERT_EQ(byNumbers.Values.size(), 24u);
    EXPECT_EQ(byNumbers.Labels[23], "24");
    EXPECT_EQ(byNumbers.Values[0], 2);
    EXPECT_EQ(byNumbers.Values[18], 0);
    EXPECT_TRUE(w.Chart(WeekChartByNumbers, {0, 3}).Values.empty());

    // The whole archive: the undated draw counts for no day.
    w.Refresh(draws, 0, 1000, false);
    EXPECT_EQ(w.CellText(1, 24), "1");
    int total = 0;
    for (int day = 1; day <= 7; ++day)
        for (int n = 1; n <= 24; ++n)
            total += w.Count(day, n);
    EXPECT_EQ(total, 36);
}

TEST(WeekViewTest, EverySelectedColumnCountsEmptyOrNot) {
    TWeekView w;
    w.Refresh({}, 0, 1000, true);
    const TGridCell cells[] = {{1, 5}, {2, 3}, {7, 4}, {3, 5}, {0, 0}};
    EXPECT_EQ(w.SelectionNumbers(cells), (std::vector<int>{5, 3, 4}));
}

} // namespace
} // namespace kumby
