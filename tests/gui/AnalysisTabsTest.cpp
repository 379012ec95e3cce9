// The tabs "Карта", "Схема" and "Неделя": each shows its grid when it comes on
// show, filters the working list from the selected cells, and the view menu hides
// it, colours it and switches the weekday chart.

#include "GuiTestSupport.h"

#include "AnalysisTabs.h"
#include "CardTab.h"
#include "LayoutTab.h"
#include "ViewGridModel.h"
#include "WeekChart.h"
#include "WeekTab.h"
#include "io/IniFile.h"

#include <QAction>
#include <QBrush>
#include <QItemSelection>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

TDrawsArray ThreeDraws() {
    return {DrawOf(10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "04.01.2021 20:00"),
            DrawOf(11, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}, "08.01.2021 20:00"),
            DrawOf(12, {1, 13, 2, 14, 3, 15, 4, 16, 5, 17, 6, 18}, "08.01.2021 20:00")};
}

void SelectCells(QTableView& view, int top, int left, int bottom, int right) {
    const QAbstractItemModel& m = *view.model();
    view.selectionModel()->select(QItemSelection(m.index(top, left), m.index(bottom, right)),
                                  QItemSelectionModel::ClearAndSelect);
}

bool Contains(const TCombination& c, int n) {
    return std::find(c.begin(), c.end(), n) != c.end();
}

std::string Frm(const TGuiFixture& f, const std::string& key) {
    return TIniFile::Load(f.Path() / ViewStateFileName).ReadString(MainWindowSection, key, "<none>");
}

} // namespace

class TAnalysisTabsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }

    void gridsSelectionsAndFilters() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        QVERIFY(f.Start());
        Session& s = *f.Core;
        TAnalysisTabs& tabs = *f.Window->AnalysisTabs();
        QTabWidget& pages = *f.Window->RightPages();
        TCardTab& card = *tabs.CardTab();
        QCOMPARE(pages.tabText(pages.indexOf(&card)), QStringLiteral("Карта"));
        QCOMPARE(pages.indexOf(tabs.LayoutTab()), pages.indexOf(&card) + 1);
        QCOMPARE(pages.indexOf(tabs.WeekTab()), pages.indexOf(&card) + 2);
        QVERIFY2(!s.Card().Built(), "nothing built before the tab is shown");

        // The card: newest draw first, the draw numbers as row headers.
        pages.setCurrentWidget(&card);
        QTRY_COMPARE(card.Model()->rowCount(), 3);
        QCOMPARE(card.Model()->columnCount(), 24);
        QCOMPARE(card.Model()->headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("12"));
        QCOMPARE(card.Model()->data(card.Model()->index(0, 12), Qt::DisplayRole).toString(),
                 QStringLiteral("13"));
        QVERIFY2(!card.CardFilterInclude->isEnabled(), "nothing selected");
        // Keep from the cells of 5..8 in the newest draw: 5 and 6 are there, 7 and 8 not.
        SelectCells(*card.Grid(), 0, 4, 0, 7);
        QVERIFY(card.CardFilterInclude->isEnabled());
        card.CardFilterInclude->trigger();
        QCOMPARE(s.FilterRows().back().Caption, std::string("Карта"));
        QCOMPARE(s.FilterRows().back().Values, std::string("5; 6"));
        for (const TCombination& c : s.WorkingList())
            QVERIFY(Contains(c, 5) || Contains(c, 6));
        QCOMPARE(s.WorkingList().size(), FullSetSize - 646646u); // those without both: C(22,12)
        s.CombsUndo();
        // Empty cells only: the message, and the list stays.
        SelectCells(*card.Grid(), 0, 6, 0, 7);
        card.CardFilterExclude->trigger();
        QCOMPARE(f.TextsOf(TMessageKind::Error),
                 (std::vector<QString>{QStringLiteral("В выделенном диапазоне нет значений для фильтра!")}));
        QCOMPARE(s.WorkingList().size(), FullSetSize);

        // The layout at offset 1: draw 12's numbers bracketed; a cell removes them all.
        TLayoutTab& layout = *tabs.LayoutTab();
        pages.setCurrentWidget(&layout);
        s.SetDrawsOffset(1);
        QCOMPARE(layout.Model()->rowCount(), 1);
        QCOMPARE(layout.Model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("11"));
        QCOMPARE(layout.Model()->data(layout.Model()->index(0, 0), Qt::DisplayRole).toString(),
                 QStringLiteral("[13], [14], [15], [16], [17], [18], 19, 20, 21, 22, 23, 24"));
        QCOMPARE(layout.CompareList(0)->horizontalHeaderItem(1)->text(), QStringLiteral("10 - 11"));
        QCOMPARE(layout.CompareList(0)->rowCount(), 1);
        SelectCells(*layout.Grid(), 0, 1, 0, 1);
        layout.LayoutFilterExclude->trigger();
        QCOMPARE(s.FilterRows().back().Caption, std::string("Схема"));
        QCOMPARE(s.WorkingList().size(), std::size_t{1}); // 13..24 alone has none of 1..12
        s.CombsUndo();

        // A shorter length, then Enter: one draw.
        layout.LengthEdit()->setValue(1);
        QCOMPARE(s.View().LayoutLen, 1);
        layout.Refresh(true);
        QCOMPARE(layout.Model()->columnCount(), 1);

        // The weekday view: columns 3..5 removed, whatever their cells hold.
        TWeekTab& week = *tabs.WeekTab();
        s.SetDrawsOffset(0);
        pages.setCurrentWidget(&week);
        QCOMPARE(week.Model()->rowCount(), 7);
        QCOMPARE(week.Model()->data(week.Model()->index(4, 12), Qt::DisplayRole).toString(),
                 QStringLiteral("2"));
        SelectCells(*week.Grid(), 0, 2, 6, 4);
        week.WeekFilterExclude->trigger();
        QCOMPARE(s.FilterRows().back().Values, std::string("3; 4; 5"));
        QCOMPARE(s.WorkingList().size(), std::size_t{293930}); // C(21,12)

        // The chart follows the current cell: a Friday over the 24 numbers, as bars.
        week.Grid()->setCurrentIndex(week.Model()->index(4, 0));
        QCOMPARE(week.Chart()->SeriesCount(), 1);
        QVERIFY(!week.Chart()->ShowsLine());
        tabs.WeekChartType->trigger();
        QVERIFY(week.Chart()->ShowsLine());
        QCOMPARE(Frm(f, "WeekChartType"), std::string("1"));
        tabs.WeekChartMode->trigger();
        QCOMPARE(s.View().WeekChartMode, 1);
        QCOMPARE(Frm(f, "WeekChartMode"), std::string("1"));
    }

    void viewMenuHidesAndColours() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        QVERIFY(f.Start());
        Session& s = *f.Core;
        TAnalysisTabs& tabs = *f.Window->AnalysisTabs();
        QTabWidget& pages = *f.Window->RightPages();
        TCardTab& card = *tabs.CardTab();
        pages.setCurrentWidget(&card);
        QTRY_VERIFY(s.Card().Built());
        const QModelIndex five = card.Model()->index(0, 4);
        // 5 repeats nowhere and has 4 and 6 beside it: aqua.
        QCOMPARE(card.Model()->data(five, Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(0x00, 0xFF, 0xFF));
        tabs.ColorCardSequences->trigger();
        QCOMPARE(Frm(f, "ColorCardSequences"), std::string("0"));
        // Without sequences: the channel of 5 at width 4.
        QCOMPARE(card.Model()->data(five, Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(0xFF, 0xFF, 0xAA));
        tabs.ColorCard->trigger();
        QVERIFY(!card.Model()->data(five, Qt::BackgroundRole).isValid());

        QVERIFY(tabs.TabCard->isChecked());
        tabs.TabCard->trigger();
        QCOMPARE(pages.indexOf(&card), -1);
        QCOMPARE(Frm(f, "TabCard"), std::string("0"));
        QVERIFY(!s.Card().Built());
        QVERIFY(!card.CardFilterInclude->isEnabled());
        tabs.TabCard->trigger();
        QCOMPARE(pages.currentWidget(), &card);
        QVERIFY(s.Card().Built());
    }
};

QTEST_MAIN(TAnalysisTabsTest)
#include "AnalysisTabsTest.moc"
