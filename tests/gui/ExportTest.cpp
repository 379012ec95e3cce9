// Taking results out of the program: every chart saved as a PNG picture, the grids
// and the repeats list written to workbooks, a failed write reported with nothing
// created; and the switchable tabs coming back at their own places.

#include "GuiTestSupport.h"
#include "XlsxReader.h"

#include "AnalysisTabs.h"
#include "CardTab.h"
#include "FileDialogs.h"
#include "GraphsTab.h"
#include "RepeatsDialog.h"
#include "StatsTab.h"
#include "SumDistributionWindow.h"
#include "WeekTab.h"

#include <QAction>
#include <QImage>
#include <QTabWidget>
#include <QTableView>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

TDrawsArray Archive() {
    TDrawsArray draws;
    for (int k = 0; k < 6; ++k)
        draws.push_back(SpreadDraw(201 + k, 1 + k));
    return draws;
}

// The save dialogs answer with this name.
void AnswerSaveWith(const std::filesystem::path& path) {
    SetFileDialogAnswerer(
        [name = QString::fromStdString(path.string())](bool, const QString&) { return name; });
}

QStringList TabTexts(const QTabWidget& pages) {
    QStringList texts;
    for (int i = 0; i < pages.count(); ++i)
        texts << pages.tabText(i);
    return texts;
}

} // namespace

class TExportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetUpApplication(); }
    void cleanup() { SetFileDialogAnswerer({}); }

    void EveryChartSavesAReadablePicture() {
        TGuiFixture f;
        f.WriteArchive(Archive());
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        w.RightPages()->setCurrentWidget(w.GraphsTab());
        w.GraphsTab()->DrawsGraphCalc->trigger();
        const std::optional<TSumDistribution> d = f.Core->SumDistribution();
        QVERIFY(d.has_value());
        TSumDistributionWindow sums(*d, f.Core->Ui(), &w);
        TRepeatsDialog repeats(*f.Core, &w);

        const std::pair<const char*, QAction*> charts[] = {
            {"graphs", w.GraphsTab()->SaveChart},
            {"stats", w.StatsTab()->SaveChart},
            {"week", w.AnalysisTabs()->WeekTab()->SaveChart},
            {"sums", sums.SaveChart},
            {"repeats", repeats.SaveChart},
        };
        for (const auto& [name, action] : charts) {
            const std::filesystem::path file = f.Path() / (std::string(name) + ".png");
            AnswerSaveWith(file);
            action->trigger();
            QImage image;
            QVERIFY2(image.load(QString::fromStdString(file.string()), "PNG"), name);
            QVERIFY2(image.width() > 0 && image.height() > 0, name);
        }
        QVERIFY(f.TextsOf(TMessageKind::Error).empty());

        // A folder that does not exist: the error names the file, nothing is made.
        const std::filesystem::path missing = f.Path() / "missing" / "chart.png";
        AnswerSaveWith(missing);
        w.GraphsTab()->SaveChart->trigger();
        const std::vector<QString> errors = f.TextsOf(TMessageKind::Error);
        QCOMPARE(errors.size(), std::size_t{1});
        QVERIFY(errors[0].contains(QString::fromStdString(missing.string())));
        QVERIFY(!std::filesystem::exists(missing.parent_path()));
    }

    void GridsAndRepeatsListGoToWorkbooks() {
        TGuiFixture f;
        f.WriteArchive(Archive());
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;

        // The card: the draw numbers head the rows, newest first.
        w.RightPages()->setCurrentWidget(w.AnalysisTabs()->CardTab());
        const std::filesystem::path card = f.Path() / "card.xlsx";
        AnswerSaveWith(card);
        QVERIFY(w.AnalysisTabs()->CardTab()->CardExport->isEnabled());
        w.AnalysisTabs()->CardTab()->CardExport->trigger();
        std::map<QString, QString> cells =
            SheetCells(TZipReader(ReadBytes(card)), "xl/worksheets/sheet1.xml");
        QCOMPARE(cells["A1"], QStringLiteral("Карта"));
        QCOMPARE(cells["A2"], QStringLiteral("Тираж"));
        QCOMPARE(cells["B2"], QStringLiteral("1"));
        QCOMPARE(cells["Y2"], QStringLiteral("24"));
        QCOMPARE(cells["A3"], QStringLiteral("206"));
        QCOMPARE(cells["A8"], QStringLiteral("201"));
        QVERIFY(!cells.contains("A9"));

        TRepeatsDialog repeats(*f.Core, &w);
        const std::filesystem::path list = f.Path() / "repeats.xlsx";
        AnswerSaveWith(list);
        repeats.ExportList->trigger();
        cells = SheetCells(TZipReader(ReadBytes(list)), "xl/worksheets/sheet1.xml");
        QCOMPARE(cells["A2"], QStringLiteral("Тираж"));
        QCOMPARE(cells["D2"], QStringLiteral("Список тиражей"));
        const QAbstractItemModel& model = *repeats.List()->model();
        QVERIFY(model.rowCount() > 0);
        for (int c = 0; c < 4; ++c)
            QCOMPARE(cells[QString(QChar('A' + c)) + "3"], model.index(0, c).data().toString());
        QVERIFY(f.TextsOf(TMessageKind::Error).empty());

        const std::filesystem::path missing = f.Path() / "missing" / "repeats.xlsx";
        AnswerSaveWith(missing);
        repeats.ExportList->trigger();
        QCOMPARE(f.TextsOf(TMessageKind::Error).size(), std::size_t{1});
        QVERIFY(!std::filesystem::exists(missing.parent_path()));
    }

    void SwitchedTabsComeBackAtTheirPlaces() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        TAnalysisTabs& views = *w.AnalysisTabs();
        const QStringList designed = TabTexts(*w.RightPages());
        QCOMPARE(designed.mid(0, 5), (QStringList{"Статистика", "Графики", "Карта", "Схема", "Неделя"}));

        QAction* const switches[] = {views.TabCard, views.TabLayout, views.TabWeek, w.GraphsTab()->TabGraphs};
        for (QAction* tab : switches) {
            tab->trigger();
            QVERIFY(!tab->isChecked());
            QCOMPARE(TabTexts(*w.RightPages()).size(), designed.size() - 1);
            tab->trigger();
            QCOMPARE(TabTexts(*w.RightPages()), designed);
        }
        // All hidden, then shown again in another order.
        for (QAction* tab : switches)
            tab->trigger();
        for (QAction* tab : {views.TabWeek, w.GraphsTab()->TabGraphs, views.TabCard, views.TabLayout})
            tab->trigger();
        QCOMPARE(TabTexts(*w.RightPages()), designed);
    }
};

QTEST_MAIN(TExportTest)
#include "ExportTest.moc"
