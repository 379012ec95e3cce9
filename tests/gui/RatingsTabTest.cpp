// The ratings tab: the list over the ratings file in each view of effectiveness,
// sorting by a header click and the order kept in the file and the view state, the
// rebuild from the stakes after its question, the exports, the charts and the
// enabling rules.

#include "GuiTestSupport.h"
#include "XlsxReader.h"

#include "ActionList.h"
#include "FileDialogs.h"
#include "RatingsChartWindow.h"
#include "RatingsModel.h"
#include "RatingsTab.h"
#include "StakesTab.h"
#include "StatsChart.h"
#include "io/IniFile.h"
#include "stakes/Ratings.h"
#include "stakes/RatingsCharts.h"
#include "stakes/StakesFile.h"
#include "stats/StatTable.h"

#include <QAction>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableView>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

constexpr TCombination FirstTwelve = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

TRatingEntry Rating(const std::string& name, std::array<int32_t, MaxHits + 1> hits, TMoney profit) {
    TRatingEntry e;
    e.Name = name;
    e.HitCounts = hits;
    for (int k = 0; k <= MaxHits; ++k) {
        e.Count += hits[static_cast<std::size_t>(k)];
        e.HitSum += k * hits[static_cast<std::size_t>(k)];
    }
    e.Profit = profit;
    return e;
}

// Averages 4.5, 5 and 1; counts 10, 4 and 2. Stored in none of the list's orders.
TRatingsArray ThreeRatings() {
    return {Rating("Регуляр 1", {1, 0, 1}, 0),
            Rating("03.002: тест @ FULL#RAND", {0, 0, 0, 2, 3, 3, 2}, 1500000),
            Rating("ручная", {0, 0, 0, 0, 0, 4}, -200000)};
}

TStakeRecord Checked(int32_t draw, int matched, TMoney profit, const std::string& comment) {
    TStakeRecord r = NewStake(StakeKindManual, draw, 1, FirstTwelve, 0, comment);
    r.Checked = 1;
    r.Matched.Count = matched;
    for (int i = 0; i < matched; ++i)
        r.Matched.Numbers[i] = static_cast<uint8_t>(i + 1);
    r.Profit = profit;
    return r;
}

void WriteStakes(const std::filesystem::path& dir, const std::vector<TStakeRecord>& records) {
    TStakesFile file;
    file.Open(dir / StakesFileName);
    for (const TStakeRecord& r : records) {
        TStakeRecord unchecked = r;
        unchecked.Checked = 0;
        file.Append(unchecked, 1);
        file.WriteAt(file.Count() - 1, r);
    }
    file.Close();
}

TDrawsArray ThreeDraws() {
    return {DrawOf(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
            DrawOf(2, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}),
            DrawOf(3, {13, 1, 14, 2, 15, 3, 16, 4, 17, 5, 18, 6})};
}

QStringList RowTexts(const QAbstractItemModel& model, int row, int first = 0, int last = -1) {
    QStringList cells;
    if (last < 0)
        last = model.columnCount() - 1;
    for (int c = first; c <= last; ++c)
        cells << model.data(model.index(row, c), Qt::DisplayRole).toString();
    return cells;
}

QStringList Sources(const QAbstractItemModel& model) {
    QStringList names;
    for (int r = 0; r < model.rowCount(); ++r)
        names << model.data(model.index(r, 0), Qt::DisplayRole).toString();
    return names;
}

QStringList FileSources(const std::filesystem::path& dir) {
    QStringList names;
    for (const TRatingEntry& e : LoadRatingsFile(dir / RatingsFileName).Items)
        names << QString::fromStdString(e.Name);
    return names;
}

std::string FrmValue(const std::filesystem::path& dir, const std::string& key) {
    return TIniFile::Load(dir / ViewStateFileName).ReadString(MainWindowSection, key, "<none>");
}

void SelectRows(QTableView& view, int first, int last) {
    const QAbstractItemModel& model = *view.model();
    view.selectionModel()->select(
        QItemSelection(model.index(first, 0), model.index(last, model.columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect);
}

void ClickHeader(QTableView& view, int column) {
    QHeaderView* header = view.horizontalHeader();
    view.scrollTo(view.model()->index(0, column));
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

const QString Test = QStringLiteral("03.002: тест @ FULL#RAND");
const QString Manual = QStringLiteral("ручная");
const QString Regular = QStringLiteral("Регуляр 1");

} // namespace

class TRatingsTabTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }
    void cleanup() { SetFileDialogAnswerer({}); }

    void listShowsTheFileInEachView() {
        TGuiFixture f;
        SaveRatingsFile(f.Path() / RatingsFileName, ThreeRatings());
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        TRatingsTab& tab = *w.RatingsTab();
        QTabWidget& pages = *w.RightPages();
        QCOMPARE(pages.tabText(pages.indexOf(&tab)), QStringLiteral("Рейтинг"));
        QCOMPARE(pages.indexOf(&tab), pages.indexOf(w.StakesTab()) + 1);
        QCOMPARE(w.StatusText(TFormMain::PanelRating), QStringLiteral("Рейтинг: 3"));

        const TRatingsModel& model = *tab.Model();
        QCOMPARE(model.columnCount(), 32);
        QStringList captions;
        for (int c = 0; c < model.columnCount(); ++c)
            captions << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        QCOMPARE(captions.mid(0, 8), (QStringList{"Комментарий", "Ставок", "Совпало", "Среднее", "Профит",
                                                  "Ср. профит", "0", "1"}));
        QCOMPARE(captions.mid(18, 3), (QStringList{"12", "E0", "E1"}));
        QCOMPARE(captions.last(), QStringLiteral("E12"));

        // The default order: the average, highest first.
        QCOMPARE(Sources(model), (QStringList{Manual, Test, Regular}));
        QCOMPARE(tab.List()->horizontalHeader()->sortIndicatorSection(), 3);
        QCOMPARE(tab.List()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(RowTexts(model, 1, 0, 18),
                 (QStringList{Test, "10", "45", "4.500", "150.00", "15.00", "0", "0", "0", "2", "3", "3", "2",
                              "0", "0", "0", "0", "0", "0"}));
        QCOMPARE(RowTexts(model, 0, 0, 5), (QStringList{Manual, "4", "20", "5.000", "-20.00", "-5.00"}));

        // The stored view is 1 by default.
        QVERIFY(tab.RatingsEffMode1->isChecked() && !tab.RatingsEffMode0->isChecked());
        QCOMPARE(RowTexts(model, 1, 19),
                 (QStringList{"-0.000%", "-0.005%", "-0.161%", "18.210%", "20.939%", "6.804%", "-11.573%",
                              "-23.196%", "-9.061%", "-1.790%", "-0.161%", "-0.005%", "-0.000%"}));

        // A view chosen is stored at once and shown.
        tab.RatingsEffMode0->trigger();
        QCOMPARE(FrmValue(f.Path(), "RatingsEffMode"), std::string("0"));
        QVERIFY(tab.RatingsEffMode0->isChecked() && !tab.RatingsEffMode1->isChecked());
        QCOMPARE(RowTexts(model, 1, 19),
                 (QStringList{"0", "0", "0", "0", "1", "2", "3", "2", "1", "0", "0", "0", "0"}));
        QCOMPARE(RowTexts(model, 0, 19),
                 (QStringList{"0", "0", "0", "0", "0", "1", "1", "1", "0", "0", "0", "0", "0"}));

        tab.RatingsEffMode2->trigger();
        QCOMPARE(FrmValue(f.Path(), "RatingsEffMode"), std::string("2"));
        QVERIFY(tab.RatingsEffMode2->isChecked() && !tab.RatingsEffMode0->isChecked());
        QCOMPARE(RowTexts(model, 1, 19),
                 (QStringList{"0.000%", "0.000%", "0.000%", "1117.420%", "331.087%", "129.331%", "63.346%",
                              "0.000%", "0.000%", "0.000%", "0.000%", "0.000%", "0.000%"}));
        QCOMPARE(RowTexts(model, 0, 24, 25), (QStringList{"431.103%", "0.000%"}));
        // The order and the file stay as they were.
        QCOMPARE(Sources(model), (QStringList{Manual, Test, Regular}));
        QVERIFY(f.Messages.empty());
        if (qEnvironmentVariableIsSet("KUMBY_RATINGS_TAB_PNG")) {
            w.RightPages()->setCurrentWidget(&tab);
            w.resize(1400, 600);
            QTest::qWait(50);
            w.grab().save(qEnvironmentVariable("KUMBY_RATINGS_TAB_PNG"));
        }
    }

    void aHeaderClickSortsAndTheOrderIsKept() {
        auto dir = std::make_shared<TTempDir>();
        {
            TGuiFixture f(dir);
            SaveRatingsFile(f.Path() / RatingsFileName, ThreeRatings());
            QVERIFY(f.Start());
            TRatingsTab& tab = *f.Window->RatingsTab();
            f.Window->RightPages()->setCurrentWidget(&tab);
            QVERIFY(QTest::qWaitForWindowExposed(tab.List()));
            // A number column sorts highest first on its first click, the other way on the next.
            ClickHeader(*tab.List(), 1);
            QCOMPARE(Sources(*tab.Model()), (QStringList{Test, Manual, Regular}));
            QCOMPARE(FileSources(f.Path()), (QStringList{Test, Manual, Regular}));
            ClickHeader(*tab.List(), 1);
            QCOMPARE(Sources(*tab.Model()), (QStringList{Regular, Manual, Test}));
            QCOMPARE(FileSources(f.Path()), (QStringList{Regular, Manual, Test}));
            QCOMPARE(f.Core->RatingsSortColumn(), 1);
            QVERIFY(!f.Core->RatingsSortDescending());
            // The source column starts alphabetically.
            ClickHeader(*tab.List(), 0);
            QCOMPARE(Sources(*tab.Model()), (QStringList{Test, Regular, Manual}));
            ClickHeader(*tab.List(), 4);
            QCOMPARE(Sources(*tab.Model()), (QStringList{Test, Regular, Manual}));
            ClickHeader(*tab.List(), 4);
            QCOMPARE(Sources(*tab.Model()), (QStringList{Manual, Regular, Test}));
            tab.List()->setColumnWidth(0, 377);
            f.Window->close();
            QVERIFY(f.Messages.empty());
        }
        QCOMPARE(FrmValue(dir->Path(), "lvRatings.SortType"), std::string("4,0"));
        QCOMPARE(FrmValue(dir->Path(), "lvRatings.Column0"), std::string("377"));
        // The next start sorts the way the list was left.
        TGuiFixture again(dir);
        QVERIFY(again.Start());
        TRatingsTab& tab = *again.Window->RatingsTab();
        QCOMPARE(Sources(*tab.Model()), (QStringList{Manual, Regular, Test}));
        QCOMPARE(tab.List()->horizontalHeader()->sortIndicatorSection(), 4);
        QCOMPARE(tab.List()->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
        QCOMPARE(tab.List()->columnWidth(0), 377);
        QCOMPARE(FileSources(dir->Path()), (QStringList{Manual, Regular, Test}));
        QVERIFY(again.Messages.empty());
    }

    void refreshAsksAndRebuildsFromTheStakes() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        SaveRatingsFile(f.Path() / RatingsFileName, ThreeRatings());
        WriteStakes(f.Path(),
                    {Checked(2, 0, -500000, "новая"), NewStake(StakeKindManual, 9, 1, FirstTwelve, 0, "ждёт"),
                     Checked(3, 6, 1500000, "НОВАЯ")});
        QVERIFY(f.Start());
        TRatingsTab& tab = *f.Window->RatingsTab();
        f.Window->Actions().Update();
        QVERIFY(tab.RatingsRefresh->isEnabled());

        f.Answers = {false};
        tab.RatingsRefresh->trigger();
        {
            const std::vector<QString> questions = f.TextsOf(TMessageKind::Question);
            QCOMPARE(int(questions.size()), 1);
            QCOMPARE(questions[0],
                     QStringLiteral("Пересчитать рейтинг только по текущим ставкам?\n\nНакопленные "
                                    "ранее данные по удаленным ставкам будут потеряны."));
        }
        QCOMPARE(Sources(*tab.Model()), (QStringList{Manual, Test, Regular}));
        QCOMPARE(FileSources(f.Path()), (QStringList{Manual, Test, Regular}));

        f.Answers = {true};
        tab.RatingsRefresh->trigger();
        QCOMPARE(tab.Model()->rowCount(), 1);
        // Comments differing in case are one source; the unchecked stake adds nothing.
        QCOMPARE(RowTexts(*tab.Model(), 0, 0, 12), (QStringList{"новая", "2", "6", "3.000", "100.00", "50.00",
                                                                "1", "0", "0", "0", "0", "0", "1"}));
        QCOMPARE(FileSources(f.Path()), (QStringList{"новая"}));
        QCOMPARE(f.Window->StatusText(TFormMain::PanelRating), QStringLiteral("Рейтинг: 1"));
        QVERIFY(f.TextsOf(TMessageKind::Error).empty());
    }

    void exportsWriteTheList() {
        TGuiFixture f;
        SaveRatingsFile(f.Path() / RatingsFileName, ThreeRatings());
        QVERIFY(f.Start());
        TRatingsTab& tab = *f.Window->RatingsTab();
        const QString csv = QString::fromStdString((f.Path() / "ratings.csv").string());
        QString filter;
        SetFileDialogAnswerer([&](bool save, const QString& asked) {
            filter = asked;
            return save ? csv : QString();
        });
        tab.RatingsExport->trigger();
        QVERIFY(filter.startsWith(QStringLiteral("CSV-файлы (*.csv)")));
        const std::string text = ReadBytes(f.Path() / "ratings.csv");
        const std::size_t firstEnd = text.find("\r\n");
        QVERIFY(firstEnd != std::string::npos);
        // The captions line (in the file's code page) holds all 32 columns.
        QCOMPARE(std::count(text.begin(), text.begin() + firstEnd, ';'), 31);
        QCOMPARE(text.substr(firstEnd + 2, text.find("\r\n", firstEnd + 2) - firstEnd - 2).substr(8),
                 std::string(";4;20;5.000;-20.00;-5.00;0;0;0;0;0;4;0;0;0;0;0;0;0"));
        QCOMPARE(std::count(text.begin(), text.end(), '\n'), 4);

        const QString book = QString::fromStdString((f.Path() / "ratings.xlsx").string());
        SetFileDialogAnswerer([&](bool save, const QString&) { return save ? book : QString(); });
        tab.RatingsXlsExport->trigger();
        const auto cells =
            SheetCells(TZipReader(ReadBytes(f.Path() / "ratings.xlsx")), "xl/worksheets/sheet1.xml");
        QCOMPARE(cells.at("A1"), QStringLiteral("Рейтинг"));
        QCOMPARE(cells.at("A2"), QStringLiteral("Комментарий"));
        QCOMPARE(cells.at("A3"), Manual);
        QCOMPARE(cells.at("D4"), QStringLiteral("4.500"));
        QVERIFY(f.TextsOf(TMessageKind::Error).empty());
    }

    void enablingRulesAndCharts() {
        {
            TGuiFixture f;
            f.WriteArchive(ThreeDraws());
            QVERIFY(f.Start());
            TRatingsTab& tab = *f.Window->RatingsTab();
            f.Window->Actions().Update();
            // No ratings, no stakes.
            QVERIFY(tab.RatingsRefresh->isEnabled());
            for (QAction* a : {tab.RatingsExport, tab.RatingsXlsExport, tab.RatingsGraphOverlap,
                               tab.StakesGraphOverlap, tab.StakesGraphProfits})
                QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
            QCOMPARE(tab.RatingsGraphOverlap->statusTip(),
                     QStringLiteral("График количества совпадений для выделенных строк рейтинга"));
            QCOMPARE(tab.RatingsRefresh->toolTip(), QStringLiteral("Пересчитать рейтинг по текущим данным"));
        }

        // Ratings from stakes of two draws; no question with no ratings to lose.
        TGuiFixture g;
        g.WriteArchive(ThreeDraws());
        WriteStakes(g.Path(),
                    {Checked(2, 1, -500000, "a"), Checked(3, 6, 1500000, "a"), Checked(3, 4, 0, "b")});
        QVERIFY(g.Start());
        TRatingsTab& tab2 = *g.Window->RatingsTab();
        tab2.RatingsRefresh->trigger();
        QVERIFY(g.TextsOf(TMessageKind::Question).empty());
        QCOMPARE(tab2.Model()->rowCount(), 2);
        g.Window->Actions().Update();
        QVERIFY(tab2.RatingsExport->isEnabled() && tab2.RatingsXlsExport->isEnabled());
        QVERIFY(!tab2.RatingsGraphOverlap->isEnabled() && !tab2.StakesGraphOverlap->isEnabled());
        SelectRows(*tab2.List(), 0, 1);
        QVERIFY(tab2.RatingsGraphOverlap->isEnabled() && tab2.StakesGraphOverlap->isEnabled() &&
                tab2.StakesGraphProfits->isEnabled());
        {
            TBusyScope busy(*g.Core, "Долгая операция...");
            for (QAction* a :
                 {tab2.RatingsRefresh, tab2.RatingsExport, tab2.RatingsXlsExport, tab2.RatingsGraphOverlap,
                  tab2.StakesGraphOverlap, tab2.StakesGraphProfits, tab2.RatingsEffMode0})
                QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
        }
        QVERIFY(tab2.RatingsRefresh->isEnabled() && tab2.RatingsEffMode0->isEnabled());

        // The match-count chart: the expected distribution and one line per row.
        QString title;
        int series = -1;
        OnModal<TRatingsChartWindow>([&](TRatingsChartWindow* chart) {
            title = chart->windowTitle();
            series = chart->Chart()->SeriesCount();
            if (qEnvironmentVariableIsSet("KUMBY_RATINGS_CHART_PNG"))
                chart->grab().save(qEnvironmentVariable("KUMBY_RATINGS_CHART_PNG"));
            chart->reject();
        });
        tab2.RatingsGraphOverlap->trigger();
        QCOMPARE(title, QStringLiteral("График количества совпадений для выделенных строк рейтинга"));
        QCOMPARE(series, 3);
        // A double click opens the same chart.
        series = -1;
        OnModal<TRatingsChartWindow>([&](TRatingsChartWindow* chart) {
            series = chart->Chart()->SeriesCount();
            chart->reject();
        });
        const QModelIndex cell = tab2.Model()->index(0, 1);
        g.Window->RightPages()->setCurrentWidget(&tab2);
        QVERIFY(QTest::qWaitForWindowExposed(tab2.List()));
        QTest::mouseClick(tab2.List()->viewport(), Qt::LeftButton, {},
                          tab2.List()->visualRect(cell).center());
        QTest::mouseDClick(tab2.List()->viewport(), Qt::LeftButton, {},
                           tab2.List()->visualRect(cell).center());
        QCOMPARE(series, 2);

        // Per draw: the sources' stakes of draws 2 and 3.
        SelectRows(*tab2.List(), 0, 1);
        OnModal<TRatingsChartWindow>([&](TRatingsChartWindow* chart) {
            title = chart->windowTitle();
            series = chart->Chart()->SeriesCount();
            chart->reject();
        });
        tab2.StakesGraphProfits->trigger();
        QCOMPARE(title, QStringLiteral("График профита для всех ставок по тиражам"));
        QCOMPARE(series, 2);
        QVERIFY(g.TextsOf(TMessageKind::Error).empty());
    }

    void perDrawChartsNeedTwoDraws() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        WriteStakes(f.Path(), {Checked(3, 6, 1500000, "a")});
        QVERIFY(f.Start());
        TRatingsTab& tab = *f.Window->RatingsTab();
        tab.RatingsRefresh->trigger();
        SelectRows(*tab.List(), 0, 0);
        bool opened = false;
        OnModal<TRatingsChartWindow>([&](TRatingsChartWindow* chart) {
            opened = true;
            chart->reject();
        });
        tab.StakesGraphOverlap->trigger();
        QTest::qWait(50);
        QVERIFY(!opened);
        const std::vector<QString> errors = f.TextsOf(TMessageKind::Error);
        QCOMPARE(int(errors.size()), 1);
        QCOMPARE(errors[0], QString::fromUtf8(TooFewDrawsText));
    }

    void chartLinesFollowTheSeries() {
        const std::vector<TChartSeries> lines = RatingsChartLines(
            {{NormalSeriesName, {{0, 0.5}, {1, 2}}}, {"a", {{1200, 3}}}, {"b", {{1201, -4.5}}}});
        QCOMPARE(int(lines.size()), 3);
        QCOMPARE(lines[0].Title, std::string(NormalSeriesName));
        QCOMPARE(lines[0].LineColour, TColour(0x808080));
        QVERIFY(lines[1].LineColour != lines[0].LineColour && lines[2].LineColour != lines[1].LineColour);
        QCOMPARE(lines[1].Points[0].Label, std::string("1200"));
        QCOMPARE(lines[2].Points[0].Y, -4.5);
    }
};

QTEST_MAIN(TRatingsTabTest)
#include "RatingsTabTest.moc"
