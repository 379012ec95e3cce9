// The statistics tab on a small archive: the table of a method, its sort, the
// full-set columns with their progress window, the chart, the depth, the view state,
// the description window and the chart values in the draw details.

#include "GuiTestSupport.h"

#include "ActionList.h"
#include "DrawDetailsWindow.h"
#include "DrawsModel.h"
#include "DrawsTab.h"
#include "FileDialogs.h"
#include "FilterHelpWindow.h"
#include "StatsChart.h"
#include "StatsModel.h"
#include "StatsTab.h"
#include "combs/PrefetchFile.h"
#include "io/IniFile.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineSeries>
#include <QProgressDialog>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextBrowser>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numeric>
#include <set>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

// Twelve draws: 1..11 in every draw, 12 in the first nine, 13..15 once each, 16..24
// never. Counts 12, 9, 1 and 0 tell numeric order from text order.
TDrawsArray CountsArchive() {
    TDrawsArray draws;
    for (int k = 1; k <= 12; ++k)
        draws.push_back(DrawOf(100 + k, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, k <= 9 ? 12 : 3 + k}));
    return draws;
}

QString Cell(const TStatsModel& model, int row, int column) {
    return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

// The model row showing a value, or -1.
int RowOf(const TStatsModel& model, const QString& value) {
    for (int r = 0; r < model.rowCount(); ++r)
        if (Cell(model, r, StatColValue) == value)
            return r;
    return -1;
}

QStringList Column(const TStatsModel& model, int column) {
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r)
        texts << Cell(model, r, column);
    return texts;
}

// Full-set files for every method but the named ones, so that switching the
// comparison on builds only those.
void WriteStandInPrefetchFiles(const Session& session, const std::vector<std::string>& except) {
    TStatEntry e;
    e.Key1 = 1;
    e.Count = 5;
    const std::string bytes = PrefetchFileBytes(TStatDrawArray{e});
    const TStatList& registry = session.Registry();
    for (std::size_t i = 0; i < registry.Count(); ++i) {
        const std::string code = registry.Items(i).MethodCode();
        if (!registry.Items(i).StatClass->HasPrefetch() ||
            std::find(except.begin(), except.end(), code) != except.end())
            continue;
        const std::filesystem::path path = PrefetchFilePath(session.DataDir(), code);
        std::filesystem::create_directories(path.parent_path());
        WriteBytes(path, bytes);
    }
}

} // namespace

class TStatsTabTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }
    void cleanup() { SetFileDialogAnswerer({}); }

    void showsNumsAndSortsNumerically() {
        TGuiFixture f;
        f.WriteArchive(CountsArchive());
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        TStatsTab& tab = *w.StatsTab();
        QCOMPARE(w.RightPages()->tabText(0), QStringLiteral("Статистика"));
        QVERIFY(w.RightPages()->isVisible());

        // The list starts on the first method, and start-up computed its table.
        QCOMPARE(tab.MethodList()->currentIndex(), 0);
        QCOMPARE(f.Core->Registry().Items(tab.MethodList()->currentData().toULongLong()).MethodCode(),
                 std::string("NUMS"));
        const TStatsModel& model = *tab.Model();
        QCOMPARE(model.rowCount(), 24);
        QCOMPARE(model.columnCount(), 20);
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Количество"));
        QCOMPARE(Cell(model, RowOf(model, "1"), StatColCount), QStringLiteral("12"));
        QCOMPARE(Cell(model, RowOf(model, "12"), StatColCount), QStringLiteral("9"));
        QCOMPARE(Cell(model, RowOf(model, "24"), StatColCount), QStringLiteral("0"));
        QVERIFY(tab.DrawsStatCalc->isEnabled());
        QVERIFY(tab.DrawsStatExportToExcel->isEnabled());

        // Initial sort: "Количество" ascending, as numbers.
        const QStringList ascending = Column(model, StatColCount);
        QCOMPARE(ascending.first(), QStringLiteral("0"));
        QCOMPARE(ascending.last(), QStringLiteral("12"));
        QCOMPARE(ascending.indexOf(QStringLiteral("9")), 23 - 11);

        // A second click on the column reverses it: 12 above 9 (as text 9 would lead).
        QHeaderView& header = *tab.List()->horizontalHeader();
        const int x = header.sectionViewportPosition(StatColCount) + header.sectionSize(StatColCount) / 2;
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, QPoint(x, header.height() / 2));
        QCOMPARE(header.sortIndicatorOrder(), Qt::DescendingOrder);
        const QStringList descending = Column(model, StatColCount);
        QCOMPARE(descending.first(), QStringLiteral("12"));
        QCOMPARE(descending[11], QStringLiteral("9"));
        QCOMPARE(descending.last(), QStringLiteral("0"));

        // A new column starts ascending; ties fall back to the values.
        const int x0 = header.sectionViewportPosition(StatColValue) + 10;
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, QPoint(x0, header.height() / 2));
        QCOMPARE(header.sortIndicatorSection(), int(StatColValue));
        QCOMPARE(header.sortIndicatorOrder(), Qt::AscendingOrder);
        QCOMPARE(Column(model, StatColValue).mid(0, 3), (QStringList{"1", "2", "3"}));
        QCOMPARE(Cell(model, 23, StatColValue), QStringLiteral("24"));

        // Without the full-set comparison its three columns are out of sight.
        for (int c : {StatColNorm, StatColDeviation, StatColDeviationPct}) {
            QCOMPARE(tab.List()->columnWidth(c), 0);
            QCOMPARE(Cell(model, 0, c), QStringLiteral("-"));
        }
        QVERIFY(!tab.DrawsStatShowTotalLine->isEnabled());
        QVERIFY(f.Messages.empty());
    }

    void recomputesOnOffsetDepthAndMethod() {
        TGuiFixture f;
        f.WriteArchive(CountsArchive());
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        TStatsTab& tab = *w.StatsTab();
        const TStatsModel& model = *tab.Model();

        // The offset hides the newest draw from the table.
        w.DrawsTab()->OffsetEdit()->setValue(1);
        QCOMPARE(Cell(model, RowOf(model, "1"), StatColCount), QStringLiteral("11"));
        QCOMPARE(Cell(model, RowOf(model, "15"), StatColCount), QStringLiteral("0"));
        // The hidden draw is the next occurrence ("Факт") of 1.
        QCOMPARE(Cell(model, RowOf(model, "1"), StatColFact), QStringLiteral("112"));

        // The depth counts once it is confirmed.
        tab.LengthEdit()->setFocus();
        tab.LengthEdit()->setValue(5);
        QCOMPARE(Cell(model, RowOf(model, "1"), StatColCount), QStringLiteral("11"));
        QTest::keyClick(tab.LengthEdit(), Qt::Key_Return);
        QCOMPARE(f.Core->View().DrawsStatLen, 5);
        QCOMPARE(Cell(model, RowOf(model, "1"), StatColCount), QStringLiteral("5"));
        QCOMPARE(Cell(model, RowOf(model, "12"), StatColCount), QStringLiteral("3"));

        // A draw changed in place keeps the archive size and the offset: still recomputed.
        TDrawRecord changed = f.Core->Draws()[10];
        changed.Numbers[0] = 24;
        QVERIFY(f.Core->DrawsChange(10, changed));
        QCOMPARE(Cell(model, RowOf(model, "1"), StatColCount), QStringLiteral("4"));
        QCOMPARE(Cell(model, RowOf(model, "24"), StatColCount), QStringLiteral("1"));

        // Another method of the list.
        const int even = f.Core->Registry().FindByCode("EVEN");
        tab.MethodList()->setCurrentIndex(tab.MethodList()->findData(QVariant::fromValue<qulonglong>(even)));
        QCOMPARE(f.Core->LastStatMethod(), std::size_t(even));
        QVERIFY(model.rowCount() > 0);
        QVERIFY(model.rowCount() != 24);

        // No method selected: an empty table and nothing to recompute or describe.
        tab.MethodList()->setCurrentIndex(-1);
        QVERIFY(!tab.DrawsStatCalc->isEnabled());
        QVERIFY(!tab.FiltersInfo->isEnabled());
        QVERIFY(f.Messages.empty());
    }

    void fullSetColumnsProgressAndChart() {
        TGuiFixture f;
        f.WriteArchive(CountsArchive());
        QVERIFY(f.Start());
        TStatsTab& tab = *f.Window->StatsTab();
        const TStatsModel& model = *tab.Model();
        QCOMPARE(tab.Chart()->SeriesCount(), 1);

        WriteStandInPrefetchFiles(*f.Core, {"NUMS"});
        std::vector<std::pair<long long, long long>> steps;
        bool windowShown = false;
        f.Ui.ProgressObserver = [&](long long done, long long total) {
            steps.emplace_back(done, total);
            windowShown = windowShown || (f.Ui.Progress() && f.Ui.Progress()->isVisible());
        };
        tab.DrawsStatePrefetchsEnabled->trigger();
        f.Ui.ProgressObserver = nullptr;

        QVERIFY(f.Core->View().PrefetchsEnabled);
        QVERIFY(tab.DrawsStatePrefetchsEnabled->isChecked());
        QVERIFY(std::filesystem::file_size(PrefetchFilePath(f.Path(), "NUMS")) > 0);
        QVERIFY(steps.size() >= 3);
        QCOMPARE(steps.back(), (std::pair<long long, long long>(0, 0)));
        QVERIFY(windowShown);
        QVERIFY(!f.Ui.Progress());
        QCOMPARE(TIniFile::Load(f.Path() / ViewStateFileName)
                     .ReadString(MainWindowSection, "PrefetchsEnabled", ""),
                 std::string("1"));

        // Every number is equally frequent over the full set: norm (12 + 0) / 2.
        for (int c : {StatColNorm, StatColDeviation, StatColDeviationPct})
            QCOMPARE(tab.List()->columnWidth(c), 80);
        QCOMPARE(Column(model, StatColNorm), QStringList(24, QStringLiteral("6")));
        QCOMPARE(Cell(model, RowOf(model, "12"), StatColDeviation), QStringLiteral("3"));

        // Both series, with their titles and colours.
        QVERIFY(tab.DrawsStatShowTotalLine->isEnabled());
        QCOMPARE(tab.Chart()->SeriesCount(), 2);
        const auto series = tab.Chart()->chart()->series();
        auto* actual = qobject_cast<QLineSeries*>(series[0]);
        auto* full = qobject_cast<QLineSeries*>(series[1]);
        QVERIFY(actual && full);
        QCOMPARE(actual->name(), QStringLiteral("Фактические данные"));
        QCOMPARE(actual->pen().color(), QColor(0, 128, 0));
        QCOMPARE(actual->count(), 24);
        QCOMPARE(full->name(), QStringLiteral("Все возможные комбинации"));
        QCOMPARE(full->pen().color(), QColor(255, 0, 0));

        // The ideal line can be switched off, and the switch is stored.
        tab.DrawsStatShowTotalLine->trigger();
        QVERIFY(!f.Core->View().ShowTotalLine);
        QCOMPARE(tab.Chart()->SeriesCount(), 1);
        QCOMPARE(
            TIniFile::Load(f.Path() / ViewStateFileName).ReadString(MainWindowSection, "ShowTotalLine", ""),
            std::string("0"));

        tab.DrawsStatePrefetchsEnabled->trigger();
        QVERIFY(!f.Core->View().PrefetchsEnabled);
        for (int c : {StatColNorm, StatColDeviation, StatColDeviationPct})
            QCOMPARE(tab.List()->columnWidth(c), 0);
        QCOMPARE(Cell(model, 0, StatColNorm), QStringLiteral("-"));
        QVERIFY(!tab.DrawsStatShowTotalLine->isEnabled());
        QVERIFY(f.Messages.empty());
    }

    void progressWindowStopsTheBuild() {
        TGuiFixture f;
        QVERIFY(f.Start());
        f.Ui.ProgressObserver = [&](long long, long long total) {
            if (total > 0 && f.Ui.Progress())
                f.Ui.Progress()->cancel();
        };
        f.Window->StatsTab()->DrawsStatePrefetchsEnabled->trigger();
        f.Ui.ProgressObserver = nullptr;
        QVERIFY(f.Core->View().PrefetchsEnabled);
        QVERIFY(!std::filesystem::exists(PrefetchFilePath(f.Path(), "NUMS")));
        QVERIFY(!f.Ui.StopRequested());
        QVERIFY(!f.Ui.Progress());
    }

    void depthSortAndChartHeightSurviveARestart() {
        auto dir = std::make_shared<TTempDir>();
        {
            TGuiFixture f(dir);
            f.WriteArchive(CountsArchive());
            QVERIFY(f.Start());
            TStatsTab& tab = *f.Window->StatsTab();
            tab.LengthEdit()->setValue(7);
            tab.List()->sortByColumn(StatColDepth, Qt::DescendingOrder);
            tab.List()->setColumnWidth(StatColValue, 133);
            const QList<int> sizes = tab.Splitter()->sizes();
            tab.Splitter()->setSizes({sizes[0] + sizes[1] - 150, 150});
            f.Window->close();
        }
        const TIniFile frm = TIniFile::Load(dir->Path() / ViewStateFileName);
        QCOMPARE(frm.ReadString(MainWindowSection, "DrawsStatLen", ""), std::string("7"));
        QCOMPARE(frm.ReadString(MainWindowSection, "lvDrawsStat.SortType", ""), std::string("6,1"));
        QCOMPARE(frm.ReadString(MainWindowSection, "lvDrawsStat.Column0", ""), std::string("133"));
        QCOMPARE(frm.ReadString(MainWindowSection, "lvDrawsStat.Column3", ""), std::string("0"));
        QCOMPARE(frm.ReadString(MainWindowSection, "DrawsStatHeight", ""), std::string("150"));

        TGuiFixture g(dir);
        QVERIFY(g.Start());
        TStatsTab& tab = *g.Window->StatsTab();
        QCOMPARE(tab.LengthEdit()->value(), 7);
        QCOMPARE(tab.List()->horizontalHeader()->sortIndicatorSection(), int(StatColDepth));
        QCOMPARE(tab.List()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(tab.List()->columnWidth(StatColValue), 133);
        QCOMPARE(tab.Splitter()->sizes().value(1), 150);
        QCOMPARE(g.Core->LastStatTable().SortColumn, int(StatColDepth));
        QVERIFY(g.Core->LastStatTable().SortDescending);
    }

    void exportWritesTheTable() {
        TGuiFixture f;
        f.WriteArchive(CountsArchive());
        QVERIFY(f.Start());
        const std::filesystem::path book = f.Path() / "stats.xlsx";
        SetFileDialogAnswerer([&](bool save, const QString&) {
            return save ? QString::fromStdString((f.Path() / "stats").string()) : QString();
        });
        f.Window->StatsTab()->DrawsStatExportToExcel->trigger();
        QVERIFY(f.Messages.empty());
        QCOMPARE(ReadBytes(book).substr(0, 2), std::string("PK"));
    }

    void descriptionShowsCodeGroupAndFlags() {
        TGuiFixture f;
        f.WriteArchive(CountsArchive());
        QVERIFY(f.Start());
        TStatsTab& tab = *f.Window->StatsTab();
        const int even = f.Core->Registry().FindByCode("EVEN");
        tab.MethodList()->setCurrentIndex(tab.MethodList()->findData(QVariant::fromValue<qulonglong>(even)));
        QString title, text;
        OnModal<TFilterHelpWindow>([&](TFilterHelpWindow* d) {
            title = d->windowTitle();
            text = d->Text()->toPlainText();
            d->reject();
        });
        tab.FiltersInfo->trigger();
        QCOMPARE(title, QStringLiteral("Описание методики расчета"));
        for (const char* part :
             {"EVEN", "Количество четных чисел в тираже (Ч:Н)", "{ num } Числа тиража", "N —", "G —"})
            QVERIFY2(text.contains(QString::fromUtf8(part)), part);
        QVERIFY(!text.contains(QStringLiteral("S —")));
        // Its place is kept for the next time.
        QVERIFY(
            TIniFile::Load(f.Path() / ViewStateFileName).HasKey(TFilterHelpWindow::SectionName, "NormPos"));
    }

    void detailsListTheChartValues_data() {
        QTest::addColumn<bool>("sorted");
        QTest::newRow("stored order") << false;
        QTest::newRow("sorted") << true;
    }

    void detailsListTheChartValues() {
        QFETCH(bool, sorted);
        TGuiFixture f;
        const TDrawRecord draw = DrawOf(77, {24, 3, 17, 1, 9, 12, 5, 20, 7, 14, 2, 22});
        f.WriteArchive({SpreadDraw(76, 1), draw});
        QVERIFY(f.Start());
        TDrawsTab& tab = *f.Window->DrawsTab();
        if (sorted)
            tab.DrawsSorted->trigger();
        tab.List()->setCurrentIndex(tab.Model()->index(0, 0));

        std::vector<std::pair<QString, QString>> rows;
        OnModal<TDrawDetailsWindow>([&](TDrawDetailsWindow* d) {
            for (int r = 0; r < d->Properties()->rowCount(); ++r)
                rows.emplace_back(d->Properties()->item(r, 0)->text(), d->Properties()->item(r, 1)->text());
            d->reject();
        });
        tab.DrawsDetails->trigger();

        std::vector<int> shown(draw.Numbers, draw.Numbers + NumbersInDraw);
        if (sorted)
            std::sort(shown.begin(), shown.end());
        auto count = [&](auto pred) {
            return QString::number(std::count_if(shown.begin(), shown.end(), pred));
        };
        const TStatList& registry = f.Core->Registry();
        auto name = [&](const char* code) {
            return QString::fromStdString(registry.Items(registry.FindByCode(code)).FullName());
        };
        std::vector<std::pair<QString, QString>> expected = {
            {"Номер тиража:", "77"},
            {"Дата тиража:", "01.02.2021 20:00"},
            {name("EVEN"), count([](int n) { return n % 2 == 0; })},
            {name("SMAL"), count([](int n) { return n <= 12; })},
            // 1 counts as a prime in this family.
            {name("PRIM"), count([](int n) {
                 return n == 1 || n == 2 || n == 3 || n == 5 || n == 7 || n == 11 || n == 13 || n == 17 ||
                        n == 19 || n == 23;
             })},
        };
        // The sums family; the previous draw 76 holds the odd numbers, sum 144.
        const int sum = std::accumulate(shown.begin(), shown.end(), 0);
        int evenSum = 0, primeSum = 0, triples = 0;
        for (int n : shown) {
            evenSum += n % 2 == 0 ? n : 0;
            primeSum += n == 1 || n == 2 || n == 3 || n == 5 || n == 7 || n == 11 || n == 13 || n == 17 ||
                                n == 19 || n == 23
                            ? n
                            : 0;
            for (int a : shown)
                for (int b : shown)
                    triples += a < b && a + b == n;
        }
        expected.emplace_back(name("SUMS"), QString::number(sum));
        expected.emplace_back(name("SUM1"), QString::number(sum >= 124 && sum <= 176));
        expected.emplace_back(name("SUM2"), QString::number(sum >= 129 && sum <= 171));
        expected.emplace_back(name("SUM3"), QString::number(sum >= 134 && sum <= 166));
        expected.emplace_back(name("SUMC"), QString::number(sum - 144));
        expected.emplace_back(name("SUMT"), QString::number(sum > 144 ? 1 : sum < 144 ? -1 : 0));
        expected.emplace_back(name("SUME"), QString::number(evenSum));
        expected.emplace_back(name("SUMP"), QString::number(primeSum));
        expected.emplace_back(name("S2T3"), QString::number(triples));
        // The differences family, between the numbers as shown.
        int largestDiff = 0, mostTimes = 0;
        std::map<int, int> times;
        for (std::size_t p = 0; p + 1 < shown.size(); ++p) {
            const int d = std::abs(shown[p + 1] - shown[p]);
            largestDiff = std::max(largestDiff, d);
            mostTimes = std::max(mostTimes, ++times[d]);
        }
        const auto [low, high] = std::minmax_element(shown.begin(), shown.end());
        expected.emplace_back(name("DIFM"), QString::number(largestDiff));
        expected.emplace_back(name("DIFD"), QString::number(*high - *low));
        expected.emplace_back(name("DIFK"), QString::number(mostTimes));
        // Channels of four numbers, a matrix of four columns, one segment.
        auto distinct = [&](auto key) {
            std::set<int> seen;
            for (int n : shown)
                seen.insert(key(n));
            return QString::number(static_cast<int>(seen.size()));
        };
        auto touching = [&](int step) {
            std::set<int> lines;
            for (int n : shown)
                if (std::find(shown.begin(), shown.end(), n + step) != shown.end() &&
                    (step == 4 || n % 4 != 0))
                    lines.insert(step == 4 ? (n - 1) % 4 : (n - 1) / 4);
            return QString::number(static_cast<int>(lines.size()));
        };
        auto within = [&](auto key, int line) {
            return QString::number(static_cast<int>(
                std::count_if(shown.begin(), shown.end(), [&](int n) { return key(n) == line; })));
        };
        const auto group = [](int n) { return (n - 1) / 4 + 1; };
        const auto column = [](int n) { return (n - 1) % 4 + 1; };
        expected.emplace_back(name("CHNC"), distinct(group));
        expected.emplace_back(name("COLN"), distinct(column));
        expected.emplace_back(name("ROWN"), distinct(group));
        expected.emplace_back(name("COLC"), touching(4));
        expected.emplace_back(name("ROWC"), touching(1));
        expected.emplace_back(name("SGMC"), QString::number(1));
        // The sequences family's charts: runs of neighbours one apart either way.
        int runs = 0, longestRun = 0;
        for (std::size_t p = 0; p < shown.size();) {
            std::size_t q = p + 1;
            while (q < shown.size() && std::abs(shown[q] - shown[q - 1]) == 1)
                ++q;
            if (q - p >= 2) {
                ++runs;
                longestRun = std::max(longestRun, static_cast<int>(q - p));
            }
            p = q;
        }
        expected.emplace_back(name("SEQS"), QString::number(runs));
        expected.emplace_back(name("LENS"), QString::number(longestRun));
        for (int p = 1; p <= NumbersInDraw; ++p)
            expected.emplace_back(name(("POS" + std::to_string(p)).c_str()), QString::number(shown[p - 1]));
        for (int k = 1; k <= 6; ++k)
            expected.emplace_back(name(("CHN" + std::to_string(k)).c_str()), within(group, k));
        for (int k = 1; k <= 4; ++k)
            expected.emplace_back(name(("COL" + std::to_string(k)).c_str()), within(column, k));
        for (int k = 1; k <= 6; ++k)
            expected.emplace_back(name(("ROW" + std::to_string(k)).c_str()), within(group, k));
        expected.emplace_back(name("SGM1"), QString::number(NumbersInDraw));
        // The characteristic number: the triangle of differences folded down to u, v.
        std::vector<int> row = shown;
        while (row.size() > 2) {
            for (std::size_t i = 0; i + 1 < row.size(); ++i)
                row[i] = std::abs(row[i + 1] - row[i]);
            row.pop_back();
        }
        const int d = std::abs(row[1] - row[0]);
        expected.emplace_back(name("HCV1"), QString::number(d));
        expected.emplace_back(name("HCV2"), QString::number(d <= 1 ? row[0] + row[1] : d));
        // The shredding family's default formulas, two digits after the point.
        auto shred = [&](std::initializer_list<int> top, std::initializer_list<int> bottom) {
            long double a = 0, b = 0;
            for (int i : top)
                a += shown[i - 1];
            for (int i : bottom)
                b += shown[i - 1];
            const long double f = a / b;
            return QString::number(static_cast<int>((f - std::trunc(f)) * 100));
        };
        expected.emplace_back(name("SHR1"), shred({1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}));
        expected.emplace_back(name("SHR2"), shred({7, 8, 9, 10, 11, 12}, {1, 2, 3, 4, 5, 6}));
        expected.emplace_back(name("SHR3"), shred({1, 3, 5, 7, 9, 11}, {2, 4, 6, 8, 10, 12}));
        QCOMPARE(rows, expected);
    }
};

QTEST_MAIN(TStatsTabTest)
#include "StatsTabTest.moc"
