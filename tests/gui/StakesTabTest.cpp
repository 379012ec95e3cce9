// The stakes tab: the grid over a stakes file, the manual stake dialog with its
// refusals, stakes from the selected combinations, deleting (selected rows and by
// condition), the enabling rules, the switches and column widths in the view state,
// the profit chart and the spreadsheet export.

#include "GuiTestSupport.h"
#include "XlsxReader.h"

#include "ActionList.h"
#include "CombsTab.h"
#include "FileDialogs.h"
#include "StakeDialog.h"
#include "StakesFilterDialog.h"
#include "StakesModel.h"
#include "StakesMultiDialog.h"
#include "StakesProfitWindow.h"
#include "StakesTab.h"
#include "StatsChart.h"
#include "io/IniFile.h"
#include "stakes/StakesFile.h"
#include "stakes/StakesGrid.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

constexpr TCombination FirstTwelve = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

// Three draws, newest last; draw 3 shares 1..6 with the first twelve numbers.
TDrawsArray ThreeDraws() {
    return {DrawOf(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
            DrawOf(2, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}),
            DrawOf(3, {13, 1, 14, 2, 15, 3, 16, 4, 17, 5, 18, 6})};
}

TStakeRecord Checked(int32_t draw, int matched, TMoney profit, uint8_t kind = StakeKindManual) {
    TStakeRecord r = NewStake(static_cast<TStakeKind>(kind), draw, 55, FirstTwelve, 0, "проверена");
    r.Checked = 1;
    const uint8_t result[12] = {13, 1, 14, 2, 15, 3, 16, 4, 17, 5, 18, 6};
    std::copy(result, result + 12, r.DrawResult);
    r.Matched.Count = matched;
    for (int i = 0; i < matched; ++i)
        r.Matched.Numbers[i] = static_cast<uint8_t>(i + 1);
    r.Profit = profit;
    return r;
}

// Writes the records as they are (checked ones too) into the stakes file of `dir`.
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

std::vector<int32_t> FileDraws(Session& s) {
    std::vector<int32_t> draws;
    s.Stakes().ForEach(0, [&](int64_t, const TStakeRecord& r) {
        draws.push_back(r.DrawNumber);
        return true;
    });
    return draws;
}

QString Cell(const QAbstractItemModel& model, int row, int column, int role = Qt::DisplayRole) {
    return model.data(model.index(row, column), role).toString();
}

QStringList RowTexts(const QAbstractItemModel& model, int row) {
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells << Cell(model, row, c);
    return cells;
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

} // namespace

class TStakesTabTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }
    void cleanup() { SetFileDialogAnswerer({}); }

    void gridShowsTheFileAsItIs() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        WriteStakes(f.Path(),
                    {Checked(3, 6, 1500000), SeparatorRecord(), Checked(3, 2, -500000, StakeKindScript),
                     NewStake(StakeKindRegular, 9, 7, FirstTwelve, 500000, "ждёт")});
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        TStakesTab& tab = *w.StakesTab();
        QCOMPARE(w.RightPages()->tabText(w.RightPages()->indexOf(&tab)), QStringLiteral("Ставки"));
        const TStakesModel& model = *tab.Model();
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(w.StatusText(TFormMain::PanelStakes), QStringLiteral("Ставок: 4"));
        QStringList captions;
        for (int c = 0; c < model.columnCount(); ++c)
            captions << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        QCOMPARE(captions,
                 (QStringList{"№ тиража", "Вид ставки", "Моя ставка", "Выборка", "Результаты тиража",
                              "Совпадений", "Совпадения", "Профит", "Комментарий"}));
        QCOMPARE(RowTexts(model, 0),
                 (QStringList{"3", "Вручную", "1;2;3;4;5;6;7;8;9;10;11;12", "55",
                              "13;1;14;2;15;3;16;4;17;5;18;6", "6", "1 2 3 4 5 6", "150.00", "проверена"}));
        QCOMPARE(RowTexts(model, 1), QStringList(9, QString()));
        QCOMPARE(RowTexts(model, 2),
                 (QStringList{"3", "Сценарий", "1;2;3;4;5;6;7;8;9;10;11;12", "55",
                              "13;1;14;2;15;3;16;4;17;5;18;6", "2", "1 2", "-50.00", "проверена"}));
        QCOMPARE(RowTexts(model, 3), (QStringList{"9", "Регуляр", "1;2;3;4;5;6;7;8;9;10;11;12", "7", "", "",
                                                  "", "-50.00", "ждёт"}));

        // Kind colours behind the rows, the separator in the window's colour.
        auto background = [&](int row) { return model.data(model.index(row, 4), Qt::BackgroundRole); };
        QCOMPARE(background(0).value<QColor>(), QColor(0xEA, 0xFF, 0xEA));
        QVERIFY(!background(1).isValid());
        QCOMPARE(background(2).value<QColor>(), QColor(0xEA, 0xFF, 0xFF));
        QCOMPARE(background(3).value<QColor>(), QColor(0xFF, 0xEA, 0xEA));
        // The result columns of checked stakes: green for a gain, red for a loss.
        auto foreground = [&](int row, int column) {
            return model.data(model.index(row, column), Qt::ForegroundRole).value<QColor>();
        };
        for (int c = 5; c <= 7; ++c) {
            QCOMPARE(foreground(0, c), QColor(0x00, 0x80, 0x00));
            QCOMPARE(foreground(2, c), QColor(0xFF, 0x00, 0x00));
        }
        QCOMPARE(foreground(0, 4), QColor(Qt::black));
        QCOMPARE(foreground(3, 7), QColor(Qt::black)); // an unchecked stake is not coloured
        QCOMPARE(model.data(model.index(0, 0), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(model.data(model.index(0, 7), Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(model.data(model.index(0, 8), Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignLeft | Qt::AlignVCenter));
        // The number columns mark what matched.
        const auto stake = model.NumberCells(model.index(2, StakesGridStakeColumn));
        QCOMPARE(int(stake.size()), 12);
        QVERIFY(stake[0].Matched && stake[1].Matched && !stake[2].Matched);
        // Painted: matched numbers in blue on the kind's colour, none in an unchecked stake.
        w.RightPages()->setCurrentWidget(&tab);
        tab.Grid()->resize(1200, 300);
        const QImage image = tab.Grid()->viewport()->grab().toImage();
        auto bluePixels = [&](int row, int column) {
            const QRect cell = tab.Grid()->visualRect(model.index(row, column));
            int blue = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x) {
                    const QColor c = image.pixelColor(x * image.width() / tab.Grid()->viewport()->width(),
                                                      y * image.height() / tab.Grid()->viewport()->height());
                    blue += c.blue() > 180 && c.red() < 90 && c.green() < 90;
                }
            return blue;
        };
        QVERIFY(bluePixels(0, StakesGridStakeColumn) > 0);
        QVERIFY(bluePixels(0, StakesGridResultColumn) > 0);
        QCOMPARE(bluePixels(3, StakesGridStakeColumn), 0);
        QCOMPARE(bluePixels(0, 3), 0);
        if (qEnvironmentVariableIsSet("KUMBY_STAKES_GRID_PNG"))
            image.save(qEnvironmentVariable("KUMBY_STAKES_GRID_PNG"));
        QVERIFY(f.Messages.empty());
    }

    void aFileCutBehindTheGridsBackIsReportedOnce() {
        TGuiFixture f;
        WriteStakes(f.Path(), {Checked(3, 6, 0), Checked(3, 5, 0)});
        QVERIFY(f.Start());
        TStakesTab& tab = *f.Window->StakesTab();
        std::filesystem::resize_file(f.Path() / StakesFileName, 0);
        tab.Model()->Refresh();
        QCOMPARE(Cell(*tab.Model(), 0, 0), QString());
        QCOMPARE(Cell(*tab.Model(), 1, 0), QString());
        tab.Grid()->viewport()->grab();
        QTest::qWait(20);
        const std::vector<QString> errors = f.TextsOf(TMessageKind::Error);
        QCOMPARE(int(errors.size()), 1);
        QVERIFY(errors[0].startsWith(QStringLiteral("Ошибка чтения записи из файла ставок!\n\n")));
    }

    void manualStakeThroughTheDialog() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        TStakesTab& tab = *w.StakesTab();
        TCombsTab& combs = *w.CombsTab();
        QVERIFY(tab.StakeAdd->isEnabled());
        QVERIFY(!tab.StakeDel->isEnabled());
        QVERIFY(!tab.StakeFilter->isEnabled());
        QVERIFY(!tab.StakeClear->isEnabled());
        QVERIFY(!tab.StakesCheckManual->isEnabled());
        QVERIFY(!tab.StakesGraphDraws->isEnabled());
        QVERIFY(!tab.StakeAddSelected->isEnabled());
        QVERIFY(tab.StakeAddAll->isEnabled());
        QVERIFY(tab.StakeAddRandom->isEnabled());
        QCOMPARE(tab.StakeAdd->statusTip(),
                 QStringLiteral("Добавить текущую комбинацию в список ставок с возможностью ручного ввода"));

        // A double click on the first combination opens the dialog on its numbers.
        const QModelIndex first = combs.List()->model()->index(0, 1);
        combs.List()->setCurrentIndex(first);
        combs.List()->selectRow(0);
        bool shown = false;
        OnModal<TStakeDialog>([&](TStakeDialog* d) {
            shown = true;
            QCOMPARE(d->windowTitle(), QStringLiteral("Добавление ставки"));
            QCOMPARE(d->DrawNumberEdit()->value(), 4);
            QCOMPARE(d->DrawsCountEdit()->value(), 1);
            QCOMPARE(d->StakeDataEdit()->text(), QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;12"));
            QCOMPARE(d->StakeSumEdit()->text(), QStringLiteral("78"));
            QCOMPARE(d->CommentEdit()->text(), QStringLiteral("Ставка \"вручную\""));
            QCOMPARE(d->CommentEdit()->maxLength(), 64);

            // Refusals keep the dialog open with the message.
            for (const char* bad :
                 {"1;2;3;4;5;6;7;8;9;10;11", "1;2;3;4;5;6;7;8;9;10;11;25", "1;2;3;4;5;6;7;8;9;10;11;11"}) {
                d->StakeDataEdit()->setText(QString::fromUtf8(bad));
                d->accept();
                QVERIFY(d->isVisible());
            }
            QCOMPARE(d->StakeSumEdit()->text(), QStringLiteral("77"));
            d->StakeDataEdit()->setText(QStringLiteral("24;23;22;21;20;19;18;17;16;15;14;13"));
            d->CommentEdit()->clear();
            d->accept();
            QVERIFY(d->isVisible());
            d->CommentEdit()->setText(QStringLiteral("моя"));
            d->DrawNumberEdit()->setValue(3);
            d->DrawsCountEdit()->setValue(2);
            d->accept();
        });
        emit combs.List()->doubleClicked(first);
        QVERIFY(shown);
        QCOMPARE(
            f.TextsOf(TMessageKind::Error),
            (std::vector<QString>{"Введена некорректная комбинация!", "Введена некорректная комбинация!",
                                  "Введена некорректная комбинация!", "Необходимо ввести комментарий!"}));

        // Draw 3 is known and checked at once; draw 4 waits, in a group of its own.
        Session& s = *f.Core;
        QCOMPARE(FileDraws(s), (std::vector<int32_t>{3, -1, 4}));
        const TStakesModel& model = *tab.Model();
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(RowTexts(model, 0),
                 (QStringList{"3", "Вручную", "13;14;15;16;17;18;19;20;21;22;23;24", "2704156",
                              "13;1;14;2;15;3;16;4;17;5;18;6", "6", "13 14 15 16 17 18", "0.00", "моя"}));
        QCOMPARE(Cell(model, 2, 5), QString());
        QCOMPARE(w.StatusText(TFormMain::PanelStakes), QStringLiteral("Ставок: 3"));
        // The grid follows the new stakes.
        QCOMPARE(tab.Grid()->currentIndex().row(), 2);
        for (QAction* a : {tab.StakeFilter, tab.StakeClear, tab.StakesCheckManual, tab.StakesGraphDraws})
            QVERIFY(a->isEnabled());
        // The row moved to is selected: it can go; without a selection nothing can.
        QVERIFY(tab.StakeDel->isEnabled());
        tab.Grid()->clearSelection();
        QVERIFY(!tab.StakeDel->isEnabled());
        tab.Grid()->selectRow(0);
        QVERIFY(tab.StakeDel->isEnabled());

        // Cancel adds nothing.
        OnModal<TStakeDialog>([](TStakeDialog* d) { d->reject(); });
        tab.StakeAdd->trigger();
        QCOMPARE(s.Stakes().Count(), 3);

        // Busy: every stake command is off.
        s.BeginBusy();
        w.Actions().Update();
        QVERIFY(!tab.StakeAdd->isEnabled());
        QVERIFY(!tab.StakeDel->isEnabled());
        QVERIFY(!tab.StakesXlsExport->isEnabled());
        s.EndBusy();
        w.Actions().Update();
        QVERIFY(tab.StakeAdd->isEnabled());
    }

    void stakesForTheSelectedCombinations() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        TStakesTab& tab = *w.StakesTab();
        TCombsTab& combs = *w.CombsTab();
        SelectRows(*combs.List(), 0, 2);
        QVERIFY(tab.StakeAddSelected->isEnabled());
        OnModal<TStakesMultiDialog>([](TStakesMultiDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Добавление мультиставки"));
            QCOMPARE(d->DrawNumberEdit()->value(), 4);
            QCOMPARE(d->DrawsCountEdit()->maximum(), 65535);
            QCOMPARE(d->CommentEdit()->text(), QStringLiteral("Ставка \"вручную\""));
            d->CommentEdit()->clear();
            d->accept();
            QVERIFY(d->isVisible());
            d->CommentEdit()->setText(QStringLiteral("три"));
            d->DrawNumberEdit()->setValue(3);
            d->accept();
        });
        tab.StakeAddSelected->trigger();
        QCOMPARE(f.TextsOf(TMessageKind::Error), (std::vector<QString>{"Необходимо ввести комментарий!"}));
        const TStakesModel& model = *tab.Model();
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(Cell(model, 0, 2), QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;12"));
        QCOMPARE(Cell(model, 2, 2), QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;14"));
        QCOMPARE(Cell(model, 1, 5), QStringLiteral("7")); // 1..6 and 13 of draw 3
        QCOMPARE(Cell(model, 1, 8), QStringLiteral("три"));
        QVERIFY(!combs.List()->selectionModel()->hasSelection());
        QVERIFY(!tab.StakeAddSelected->isEnabled());
    }

    void deleteSelectedAndByCondition() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        WriteStakes(f.Path(), {Checked(3, 2, 0), SeparatorRecord(), Checked(3, 5, 0),
                               NewStake(StakeKindManual, 9, 7, FirstTwelve, 0, "ждёт"), Checked(3, 3, 0),
                               Checked(3, 4, 0)});
        QVERIFY(f.Start());
        TStakesTab& tab = *f.Window->StakesTab();
        Session& s = *f.Core;

        // "< 3" takes the stake with 2 matches and the unchecked one; separators stay.
        OnModal<TStakesFilterDialog>([](TStakesFilterDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Удаление по условию"));
            QStringList conditions;
            for (int i = 0; i < d->ConditionList()->count(); ++i)
                conditions << d->ConditionList()->itemText(i);
            QCOMPARE(conditions, (QStringList{"Равно [ = ]", "Более [ > ]", "Не менее [ >= ]", "Менее [ < ]",
                                              "Не более [ <= ]"}));
            QCOMPARE(d->ValueEdit()->maximum(), 12);
            QCOMPARE(d->OkButton()->toolTip(), QStringLiteral("Удалить ставки"));
            d->ConditionList()->setCurrentIndex(3);
            d->ValueEdit()->setValue(3);
            d->accept();
        });
        tab.StakeFilter->trigger();
        QCOMPARE(FileDraws(s), (std::vector<int32_t>{-1, 3, 3, 3}));
        QCOMPARE(tab.Model()->rowCount(), 4);
        QCOMPARE(Cell(*tab.Model(), 1, 5), QStringLiteral("5"));

        // Two selected rows go after the question; No keeps them.
        SelectRows(*tab.Grid(), 1, 2);
        f.Answers = {false, true};
        tab.StakeDel->trigger();
        QCOMPARE(s.Stakes().Count(), 4);
        tab.StakeDel->trigger();
        QCOMPARE(f.TextsOf(TMessageKind::Deletion).back(),
                 QStringLiteral("Удалить все выделенные записи (всего будет удалено 2 записи(ей))?"));
        QCOMPARE(FileDraws(s), (std::vector<int32_t>{-1, 3}));
        QCOMPARE(Cell(*tab.Model(), 1, 5), QStringLiteral("4"));
        QCOMPARE(f.Window->StatusText(TFormMain::PanelStakes), QStringLiteral("Ставок: 2"));

        // Clear asks too, then the commands that need stakes go off.
        f.Answers = {true};
        tab.StakeClear->trigger();
        QCOMPARE(s.Stakes().Count(), 0);
        QCOMPARE(tab.Model()->rowCount(), 0);
        QVERIFY(!tab.StakeClear->isEnabled());
        QVERIFY(!tab.StakeFilter->isEnabled());
        QVERIFY(f.TextsOf(TMessageKind::Error).empty());
    }

    void switchesAndWidthsPersist() {
        auto dir = std::make_shared<TTempDir>();
        {
            TGuiFixture f(dir);
            QVERIFY(f.Start());
            TStakesTab& tab = *f.Window->StakesTab();
            QVERIFY(!tab.LogStakes->isChecked());
            QVERIFY(tab.StakesScroll->isChecked());
            tab.LogStakes->trigger();
            QCOMPARE(FrmValue(dir->Path(), "StakesLogEnabled"), std::string("1")); // written at once
            tab.StakesScroll->trigger();
            QCOMPARE(FrmValue(dir->Path(), "StakesScrollEnabled"), std::string("0"));
            tab.Grid()->horizontalHeader()->resizeSection(2, 177);
            f.Window->close();
            QCOMPARE(FrmValue(dir->Path(), "sgStakes.Column2"), std::string("177"));
        }
        TGuiFixture f(dir);
        QVERIFY(f.Start());
        TStakesTab& tab = *f.Window->StakesTab();
        QVERIFY(tab.LogStakes->isChecked());
        QVERIFY(!tab.StakesScroll->isChecked());
        QCOMPARE(tab.Grid()->columnWidth(2), 177);
        QVERIFY(f.Core->View().StakesLogEnabled);
    }

    void aLargeFileIsReadInBlocks() {
        TGuiFixture f;
        {
            // 300,000 records written in one go.
            std::vector<TStakeRecord> records(300000, NewStake(StakeKindManual, 9, 1, FirstTwelve, 0, "к"));
            for (std::size_t i = 0; i < records.size(); ++i)
                records[i].DrawNumber = static_cast<int32_t>(10 + i);
            TStakesFile file;
            file.Open(f.Path() / StakesFileName);
            file.AppendMany(records, 1, nullptr);
            file.Close();
        }
        QVERIFY(f.Start());
        TStakesTab& tab = *f.Window->StakesTab();
        TStakesModel& model = *tab.Model();
        QCOMPARE(model.rowCount(), 300000);
        tab.Grid()->scrollToBottom();
        tab.Grid()->viewport()->grab();
        QCOMPARE(Cell(model, 299999, 0), QStringLiteral("300009"));
        tab.Grid()->scrollToTop();
        tab.Grid()->viewport()->grab();
        QCOMPARE(Cell(model, 0, 0), QStringLiteral("10"));
        QCOMPARE(Cell(model, 150000, 0), QStringLiteral("150010"));
        // A few blocks for three places of the file, not a read per row or per cell.
        QVERIFY2(model.BlockReads() <= 8, qPrintable(QString::number(model.BlockReads())));
    }

    void checkShowsProgressAndStops() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        {
            std::vector<TStakeRecord> records(20000, NewStake(StakeKindManual, 3, 1, FirstTwelve, 0, "к"));
            TStakesFile file;
            file.Open(f.Path() / StakesFileName);
            file.AppendMany(records, 1, nullptr);
            file.Close();
        }
        QVERIFY(f.Start());
        TStakesTab& tab = *f.Window->StakesTab();
        QCOMPARE(Cell(*tab.Model(), 0, 5), QString()); // start-up reads, it does not check
        bool windowShown = false;
        f.Ui.ProgressObserver = [&](long long, long long total) {
            if (total > 0 && f.Ui.Progress()) {
                windowShown = true;
                f.Ui.Progress()->cancel(); // the window's Stop
            }
        };
        tab.StakesCheckManual->trigger();
        f.Ui.ProgressObserver = nullptr;
        QVERIFY(windowShown);
        QVERIFY(!f.Ui.Progress());
        QVERIFY(!f.Core->Busy());
        // Stopped part-way: the first stakes are checked, the last one is not.
        QCOMPARE(Cell(*tab.Model(), 0, 5), QStringLiteral("6"));
        QCOMPARE(Cell(*tab.Model(), 19999, 5), QString());
        // Run again to the end.
        tab.StakesCheckManual->trigger();
        QCOMPARE(Cell(*tab.Model(), 19999, 5), QStringLiteral("6"));
        QVERIFY(f.TextsOf(TMessageKind::Error).empty());
    }

    void profitChartAndExport() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        WriteStakes(f.Path(),
                    {Checked(3, 6, 1500000), SeparatorRecord(), Checked(3, 2, -500000, StakeKindScript),
                     NewStake(StakeKindRegular, 9, 7, FirstTwelve, 500000, "ждёт")});
        QVERIFY(f.Start());
        TStakesTab& tab = *f.Window->StakesTab();
        int series = -1;
        OnModal<TStakesProfitWindow>([&](TStakesProfitWindow* chart) {
            QCOMPARE(chart->windowTitle(), QStringLiteral("График суммарного профита ставок по тиражам"));
            series = chart->Chart()->SeriesCount();
            chart->reject();
        });
        tab.StakesGraphDraws->trigger();
        QCOMPARE(series, 3);

        const QString book = QString::fromStdString((f.Path() / "stakes.xlsx").string());
        SetFileDialogAnswerer([&](bool save, const QString&) { return save ? book : QString(); });
        tab.StakesXlsExport->trigger();
        const auto cells =
            SheetCells(TZipReader(ReadBytes(f.Path() / "stakes.xlsx")), "xl/worksheets/sheet1.xml");
        QCOMPARE(cells.at("A1"), QStringLiteral("Ставки"));
        QCOMPARE(cells.at("A2"), QStringLiteral("№ тиража"));
        QCOMPARE(cells.at("I2"), QStringLiteral("Комментарий"));
        QCOMPARE(cells.at("A3"), QStringLiteral("3"));
        QCOMPARE(cells.at("C3"), QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;12"));
        QCOMPARE(cells.at("H3"), QStringLiteral("150.00"));
        QCOMPARE(cells.count("A4"), std::size_t(0)); // the separator row is empty
        QCOMPARE(cells.at("I6"), QStringLiteral("ждёт"));
        QVERIFY(f.TextsOf(TMessageKind::Error).empty());
    }
};

QTEST_MAIN(TStakesTabTest)
#include "StakesTabTest.moc"
