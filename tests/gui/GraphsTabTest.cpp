// The graphs tab, the sum distribution window and the repeats dialog on a small
// archive: their series and rows, the tab's switch and the dialog's stored fields.

#include "GuiTestSupport.h"

#include "GraphsTab.h"
#include "RepeatsDialog.h"
#include "StatsChart.h"
#include "SumDistributionWindow.h"
#include "io/IniFile.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineSeries>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

// Draws 201..206 of the odd or the even numbers; the fifth repeats the first, which
// the third has too, so it shares 12 numbers with both.
TDrawsArray Archive() {
    TDrawsArray draws;
    for (int k = 0; k < 6; ++k)
        draws.push_back(SpreadDraw(201 + k, k == 4 ? 1 : 1 + k));
    return draws;
}

std::vector<QLineSeries*> Lines(const TStatsChart& chart) {
    std::vector<QLineSeries*> lines;
    for (QAbstractSeries* s : chart.chart()->series())
        lines.push_back(qobject_cast<QLineSeries*>(s));
    return lines;
}

} // namespace

class TGraphsTabTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetUpApplication(); }

    void TabShowsTheMethodWithAverageAndMostFrequent() {
        TGuiFixture f;
        f.WriteArchive(Archive());
        QVERIFY(f.Start());
        TGraphsTab& tab = *f.Window->GraphsTab();
        QVERIFY(f.Window->RightPages()->indexOf(&tab) >= 0);
        QVERIFY(tab.TabGraphs->isChecked());

        // The list holds only chartable methods.
        QVERIFY(tab.MethodList()->count() > 0);
        const int sums = f.Core->Registry().FindByCode("SUMS");
        QVERIFY(tab.MethodList()->findData(QVariant::fromValue<qulonglong>(0)) < 0); // NUMS
        tab.LengthEdit()->setValue(3);
        tab.MethodList()->setCurrentIndex(
            tab.MethodList()->findData(QVariant::fromValue<qulonglong>(static_cast<qulonglong>(sums))));
        f.Window->RightPages()->setCurrentWidget(&tab);
        tab.DrawsGraphCalc->trigger();

        const std::vector<QLineSeries*> lines = Lines(*tab.Chart());
        QCOMPARE(lines.size(), std::size_t{3});
        QCOMPARE(lines[1]->name(), QStringLiteral("Среднее значение"));
        QCOMPARE(lines[2]->name(), QStringLiteral("Наиболее часто встречающееся значение"));
        QCOMPARE(lines[0]->count(), 3);
        QCOMPARE(lines[0]->at(0).x(), 204.0);
        QCOMPARE(lines[0]->at(2).x(), 206.0);
        const TGraphSeries& g = f.Core->LastGraph();
        QCOMPARE(lines[1]->at(0).y(), g.Average);
        QCOMPARE(lines[2]->at(1).y(), static_cast<double>(g.MostFrequent));

        QVERIFY(!lines[0]->pointLabelsVisible());
        tab.MarksBox()->setChecked(true);
        QVERIFY(lines[0]->pointLabelsVisible());
        QVERIFY(!lines[1]->pointLabelsVisible());

        // The switch hides the tab and is stored at once.
        tab.TabGraphs->trigger();
        QVERIFY(f.Window->RightPages()->indexOf(&tab) < 0);
        QCOMPARE(TIniFile::Load(f.Path() / ViewStateFileName).ReadInteger(MainWindowSection, "TabGraphs", 1),
                 0);
        QVERIFY(!tab.DrawsGraphCalc->isEnabled());
    }

    void SumDistributionWindowShowsBothDistributionsAndTheLevels() {
        TGuiFixture f;
        f.WriteArchive(Archive());
        QVERIFY(f.Start());
        const std::optional<TSumDistribution> d = f.Core->SumDistribution();
        QVERIFY(d.has_value());
        TSumDistributionWindow window(*d, f.Core->Ui(), f.Window.get());
        const std::vector<QLineSeries*> lines = Lines(*window.Chart());
        QCOMPARE(lines.size(), std::size_t{5});
        QCOMPARE(lines[0]->name(), QStringLiteral("Фактическое распределение сумм (по тиражам)"));
        QCOMPARE(lines[1]->name(), QStringLiteral("Теоретическое распределение сумм (по комбинациям)"));
        QCOMPARE(lines[1]->count(), 145);
        QVERIFY(lines[2]->name().startsWith(QStringLiteral("Диапазон 1 (от 1/3 и выше по оси Y) - суммы ")));
        QVERIFY(lines[0]->pointLabelsVisible());
        int draws = 0;
        for (int i = 0; i < lines[0]->count(); ++i)
            draws += static_cast<int>(lines[0]->at(i).y());
        QCOMPARE(draws, 6);
        QVERIFY(!f.Core->Busy());
    }

    void RepeatsDialogListsRowsAndKeepsItsFields() {
        TGuiFixture f;
        f.WriteArchive(Archive());
        QVERIFY(f.Start());
        {
            TRepeatsDialog dialog(*f.Core, f.Window.get());
            QCOMPARE(dialog.LengthEdit()->value(), 100);
            QCOMPARE(dialog.DepthEdit()->value(), 100);
            bool twelve = false;
            for (const TRepeatRow& row : dialog.Rows())
                twelve = twelve || (row.Draw == 205 && row.Matches == 12 && row.List == "203 201");
            QVERIFY(twelve);
            QCOMPARE(dialog.List()->model()->rowCount(), static_cast<int>(dialog.Rows().size()));
            QCOMPARE(dialog.List()->model()->headerData(3, Qt::Horizontal).toString(),
                     QStringLiteral("Список тиражей"));
            QCOMPARE(Lines(*dialog.Chart()).size(), std::size_t{12});
            QCOMPARE(Lines(*dialog.Chart())[11]->name(), QStringLiteral("Совпадений: 12"));

            dialog.LengthEdit()->setValue(1);
            dialog.DepthEdit()->setValue(2);
            dialog.Calculate();
            QCOMPARE(dialog.Rows().size(), std::size_t{1});
            QCOMPARE(dialog.Rows()[0].Draw, 206);
            QCOMPARE(dialog.Rows()[0].List, std::string("204"));
            dialog.reject();
        }
        const TIniFile ini = TIniFile::Load(f.Path() / ViewStateFileName);
        QCOMPARE(ini.ReadInteger(RepeatsSection, "DrawsLength", 0), 1);
        QCOMPARE(ini.ReadInteger(RepeatsSection, "DrawsDeep", 0), 2);
        QVERIFY(ini.ReadInteger(RepeatsSection, "GraphHeight", 0) > 0);
        TRepeatsDialog again(*f.Core, f.Window.get());
        QCOMPARE(again.LengthEdit()->value(), 1);
        QCOMPARE(again.DepthEdit()->value(), 2);
    }
};

QTEST_MAIN(TGraphsTabTest)
#include "GraphsTabTest.moc"
