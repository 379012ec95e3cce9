// The views as the session holds them: a hidden view does no work, the switches
// are written at once, and a selection filters the working list like the numbers
// method does.

#include "app/Session.h"

#include "io/IniFile.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::TTestSession;

bool Contains(const TCombination& c, int n) {
    return std::find(c.begin(), c.end(), n) != c.end();
}

class SessionViewsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(T.StartWith({DrawOf(10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
                                             DrawOf(11, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}),
                                             DrawOf(12, {1, 13, 2, 14, 3, 15, 4, 16, 5, 17, 6, 18})}));
        S = T.S.get();
    }

    TTestSession T;
    Session* S = nullptr;
};

TEST_F(SessionViewsTest, KeepFromACardSelectionEqualsTheNumbersFilter) {
    ASSERT_TRUE(S->RefreshCard(false));
    EXPECT_FALSE(S->RefreshCard(false)) << "nothing changed";
    // Row 1 is draw 12: 13 and 5 are in it, 7 is not; 13 twice.
    const TGridCell cells[] = {{1, 13}, {1, 7}, {1, 5}, {2, 13}};
    ASSERT_TRUE(S->ViewFilter(TAnalysisView::Card, cells, false));
    const TCombsArray fromCard = S->WorkingList();
    ASSERT_EQ(S->FilterRows().size(), 1u);
    EXPECT_EQ(S->FilterRows()[0].Caption, "Карта");
    EXPECT_EQ(S->FilterRows()[0].Values, "13; 5");
    EXPECT_FALSE(S->FilterRows()[0].Exclude);
    EXPECT_EQ(S->FilterRows()[0].Count, fromCard.size());

    S->CombsUndo();
    EXPECT_EQ(S->WorkingList().size(), FullSetSize);
    testing::FilterByNumbers(*S, {5, 13}, false);
    EXPECT_EQ(S->WorkingList(), fromCard);
}

TEST_F(SessionViewsTest, RemoveFromWeekdayColumnsAndFromLayoutCells) {
    S->RefreshWeek(true);
    std::vector<TGridCell> cells;
    for (int row = 0; row < TWeekView::RowCount; ++row)
        for (int col = 3; col <= 5; ++col)
            cells.push_back({row, col});
    ASSERT_TRUE(S->ViewFilter(TAnalysisView::Week, cells, true));
    EXPECT_EQ(S->WorkingList().size(), 293930u); // C(21,12)
    for (const TCombination& c : S->WorkingList())
        ASSERT_FALSE(Contains(c, 3) || Contains(c, 4) || Contains(c, 5));
    EXPECT_EQ(S->FilterRows().back().Caption, "Неделя");
    EXPECT_EQ(S->FilterRows().back().Values, "3; 4; 5");
    EXPECT_TRUE(S->FilterRows().back().Exclude);

    // At offset 1 the layout marks draw 12's numbers; brackets do not hide them.
    S->SetDrawsOffset(1);
    S->RefreshLayout(false);
    ASSERT_EQ(S->Layout().CellText(1, 1).substr(0, 4), "[13]");
    const TGridCell cell[] = {{1, 1}};
    ASSERT_TRUE(S->ViewFilter(TAnalysisView::Layout, cell, false));
    EXPECT_EQ(S->FilterRows().back().Caption, "Схема");
    EXPECT_EQ(S->FilterRows().back().Values, "13; 14; 15; 16; 17; 18; 19; 20; 21; 22; 23; 24");
}

TEST_F(SessionViewsTest, ASelectionWithoutValuesLeavesTheListAlone) {
    S->RefreshCard(true);
    const TGridCell emptyCells[] = {{1, 7}, {1, 0}};
    EXPECT_FALSE(S->ViewFilter(TAnalysisView::Card, emptyCells, true));
    EXPECT_EQ(S->WorkingList().size(), FullSetSize);
    EXPECT_FALSE(S->CanUndo());
    EXPECT_TRUE(S->FilterRows().empty());
    ASSERT_EQ(T.Ui.Errors().size(), 1u);
    EXPECT_EQ(T.Ui.Errors()[0], "В выделенном диапазоне нет значений для фильтра!");
}

TEST_F(SessionViewsTest, AHiddenViewDoesNoWorkAndItsSwitchIsWrittenAtOnce) {
    S->RefreshLayout(true);
    ASSERT_GT(S->Layout().RowCount(), 1);
    S->SetViewTabShown(TAnalysisView::Layout, false);
    EXPECT_EQ(S->Layout().RowCount(), 1) << "a hidden view keeps nothing";
    EXPECT_EQ(TIniFile::Load(T / ViewStateFileName).ReadString(MainWindowSection, "TabLayout", ""), "0");
    T.Ui.Statuses.clear();
    EXPECT_FALSE(S->RefreshLayout(true));
    EXPECT_FALSE(S->RefreshLayoutCompare(true));
    EXPECT_TRUE(T.Ui.Statuses.empty());
    EXPECT_FALSE(S->CanViewFilter(TAnalysisView::Layout));
    EXPECT_TRUE(S->CanViewFilter(TAnalysisView::Card));

    S->SetViewTabShown(TAnalysisView::Layout, true);
    EXPECT_TRUE(S->RefreshLayout(false));
    EXPECT_EQ(T.Ui.Statuses, (std::vector<std::string>{"Построение схемы выпадения номеров...", ""}));
}

TEST_F(SessionViewsTest, ViewsFollowTheOffsetTheLengthAndTheArchive) {
    S->RefreshLayout(false);
    S->RefreshWeek(false);
    EXPECT_FALSE(S->RefreshLayout(false));
    EXPECT_FALSE(S->RefreshWeek(false));
    S->View().LayoutLen = 1;
    EXPECT_TRUE(S->RefreshLayout(false));
    EXPECT_EQ(S->Layout().ColCount(), 2);
    S->SetDrawsOffset(2);
    EXPECT_TRUE(S->RefreshLayout(false));
    EXPECT_TRUE(S->RefreshWeek(false));
    EXPECT_EQ(S->Layout().CellText(0, 1), "10");

    ASSERT_TRUE(S->DrawsChange(0, DrawOf(10, {24, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})));
    EXPECT_TRUE(S->RefreshLayout(false)) << "a changed draw keeps the count";
    EXPECT_EQ(S->Layout().CellText(1, 1).substr(0, 5), "[24],") << "draw 11, the next one, has 24";
}

} // namespace
} // namespace kumby
