// The desktop around the commands: status-bar panels that never overlap, hints that
// hide nothing, lists wide enough for what they show, the toolbar of the page on
// show, the settings dialog's keys and ranges, the progress of long jobs and a close
// request in the middle of one.

#include "GuiTestSupport.h"

#include "ActionList.h"
#include "CombsModel.h"
#include "CombsTab.h"
#include "DrawDetailsWindow.h"
#include "DrawsModel.h"
#include "DrawsTab.h"
#include "FilterRowsModel.h"
#include "GuiText.h"
#include "SettingsDialog.h"
#include "io/IniFile.h"
#include "model/Money.h"
#include "model/VexoUtils.h"

#include <QAction>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

constexpr int FullSet = 2704156;

// The room a text takes in a widget of this font, without its margins.
int TextWidth(const QWidget& widget, const QString& text) {
    return widget.fontMetrics().horizontalAdvance(text);
}

// Every fixed panel shows its whole text, and no panel reaches into the next one.
void CheckStatusPanels(const TFormMain& w) {
    int right = -1;
    for (int p = 0; p < TFormMain::PanelCount; ++p) {
        const QLabel& panel = *w.StatusPanel(static_cast<TFormMain::TStatusPanel>(p));
        if (!panel.isVisible())
            continue;
        QVERIFY2(panel.x() >= right, qPrintable(QStringLiteral("panel %1 overlaps").arg(p)));
        right = panel.x() + panel.width();
        QVERIFY2(right <= w.statusBar()->width(), qPrintable(QStringLiteral("panel %1 runs out").arg(p)));
        if (p != TFormMain::PanelOperation)
            QVERIFY2(panel.contentsRect().width() >= TextWidth(panel, panel.text()),
                     qPrintable(QStringLiteral("panel %1 clips \"%2\"").arg(p).arg(panel.text())));
    }
}

void SelectAll(TCombsTab& tab) {
    tab.CombsSelectAll->trigger();
    QCOMPARE(tab.List()->selectionModel()->selection().size(), 1);
}

} // namespace

class TDesktopPolishTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }

    void statusPanelsNeverOverlap_data() {
        QTest::addColumn<bool>("smallest");
        QTest::newRow("designed size") << false;
        QTest::newRow("smallest size") << true;
    }
    void statusPanelsNeverOverlap() {
        QFETCH(bool, smallest);
        TGuiFixture f;
        TDrawsArray draws;
        for (int n = 99990; n < 100010; ++n)
            draws.push_back(SpreadDraw(n, n % 24 + 1, "31.12.2099 23:59"));
        f.WriteArchive(draws);
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        // Every panel with text: the next draw's numbers show at an offset.
        w.DrawsTab()->OffsetEdit()->setValue(3);
        QVERIFY(!w.StatusText(TFormMain::PanelNextNumbers).isEmpty());
        if (smallest)
            w.resize(1, 1);
        QTest::qWait(50);
        QVERIFY(w.width() >= w.minimumWidth());
        CheckStatusPanels(w);

        // The longest operation text shortens in its panel and pushes nothing aside.
        f.Ui.SetStatus(std::string(300, 'x'));
        QTest::qWait(20);
        CheckStatusPanels(w);
        QCOMPARE(w.StatusText(TFormMain::PanelOperation), QString(300, QLatin1Char('x')));
        f.Ui.SetStatus("");
    }

    void hintsShowInTheLastPanelAndHideNothing() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        f.Ui.SetStatus("Анализ тиражей и расчет статистики...");
        QAction* import = w.DrawsTab()->DrawsImport;
        QWidget* button = w.ToolBar()->widgetForAction(import);
        QVERIFY(button);
        QStatusTipEvent tip(import->statusTip());
        QApplication::sendEvent(button, &tip);
        QCOMPARE(w.HintText(), import->statusTip());
        for (int p = 0; p < TFormMain::PanelCount; ++p)
            if (p != TFormMain::PanelNextNumbers) // empty at offset 0
                QVERIFY2(w.StatusPanel(static_cast<TFormMain::TStatusPanel>(p))->isVisible(),
                         qPrintable(QString::number(p)));
        const QLabel& last = *w.StatusPanel(TFormMain::PanelOperation);
        QVERIFY(last.text() == import->statusTip() || last.toolTip() == import->statusTip());
        QCOMPARE(w.StatusText(TFormMain::PanelOperation),
                 QStringLiteral("Анализ тиражей и расчет статистики..."));
        QCOMPARE(w.statusBar()->currentMessage(), QString());

        // The hint ends: the operation's text is back.
        QStatusTipEvent clear{QString()};
        QApplication::sendEvent(button, &clear);
        QCOMPARE(last.text(), QStringLiteral("Анализ тиражей и расчет статистики..."));
        f.Ui.SetStatus("");
    }

    void listsShowWholeRowsAtTheDesignedSize() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(123456, 5, "28.12.2024 22:30")});
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        QTest::qWait(20);

        // A whole draw: number, twelve numbers, sum and date, with no scrolling.
        const QTableView& draws = *w.DrawsTab()->List();
        const TDrawsModel& model = *w.DrawsTab()->Model();
        for (int c = 0; c < TDrawsModel::ColumnCount; ++c) {
            const QString text = model.index(0, c).data().toString();
            QVERIFY2(draws.columnWidth(c) >= TextWidth(draws, text) + 4, qPrintable(text));
            QVERIFY2(draws.columnWidth(c) >=
                         TextWidth(*draws.horizontalHeader(),
                                   model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()),
                     qPrintable(QString::number(c)));
        }
        const int dateEnd = draws.columnViewportPosition(TDrawsModel::ColDate) +
                            TextWidth(draws, model.index(0, TDrawsModel::ColDate).data().toString());
        QVERIFY2(dateEnd < draws.viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(dateEnd).arg(draws.viewport()->width())));
        // The number columns are compact: two digits, not a whole word.
        QVERIFY(draws.columnWidth(TDrawsModel::ColFirstNumber) <
                TextWidth(draws, QStringLiteral("0000")) + 12);

        // The history under the combinations shows its count column.
        w.LeftPages()->setCurrentWidget(w.CombsTab());
        QTest::qWait(20);
        const QTableView& history = *w.CombsTab()->Filters();
        const int countEnd = history.columnViewportPosition(TFilterRowsModel::ColCount) +
                             TextWidth(history, QString::number(FullSet));
        QVERIFY2(countEnd < history.viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(countEnd).arg(history.viewport()->width())));

        // The details window shows the whole date.
        TDrawDetailsWindow details(DrawDetailsContent(f.Core->Registry(), 0, false), f.Core->Config(), &w);
        details.show();
        QTest::qWait(20);
        QTableWidget* properties = details.findChild<QTableWidget*>();
        QVERIFY(properties);
        QCOMPARE(properties->item(1, 1)->text(), QStringLiteral("28.12.2024 22:30"));
        QVERIFY(properties->columnWidth(1) >= TextWidth(*properties, QStringLiteral("28.12.2024 22:30")) + 6);
        QVERIFY(properties->columnViewportPosition(1) + properties->columnWidth(1) <=
                properties->viewport()->width());
    }

    void toolbarFollowsThePage() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        auto commands = [&w] {
            QList<QAction*> actions = w.ToolBar()->actions();
            actions.removeIf([](const QAction* a) { return a->isSeparator(); });
            return actions;
        };
        const QList<QAction*> drawsPage = commands();
        QVERIFY(drawsPage.contains(w.DrawsTab()->DrawsAdd));
        QVERIFY(drawsPage.contains(w.Settings));
        QVERIFY(!drawsPage.contains(w.CombsTab()->CombsGenerate));

        w.LeftPages()->setCurrentWidget(w.CombsTab());
        const QList<QAction*> combsPage = commands();
        QVERIFY(combsPage.contains(w.CombsTab()->CombsGenerate));
        QVERIFY(combsPage.contains(w.Settings));
        for (QAction* draw : {w.DrawsTab()->DrawsAdd, w.DrawsTab()->DrawsDelete, w.DrawsTab()->DrawsImport})
            QVERIFY(!combsPage.contains(draw));
        // The commands stay in their menu whatever the toolbar shows.
        QVERIFY(w.DrawsTab()->DrawsAdd->isVisible());

        w.LeftPages()->setCurrentWidget(w.DrawsTab());
        QCOMPARE(commands(), drawsPage);
    }

    void settingsTakePointAndCommaAsDecimalSeparator() {
        TMessageBoxUi ui;
        TSettingsDialog dialog{TConfigData{}, ui};
        dialog.show();
        QLineEdit* cost = dialog.CostEdit()->findChild<QLineEdit*>();
        cost->selectAll();
        QTest::keyClicks(cost, QStringLiteral("12.5"));
        QCOMPARE(dialog.CostEdit()->value(), 12.5);
        cost->selectAll();
        QTest::keyClicks(cost, QStringLiteral("7,25"));
        QCOMPARE(dialog.CostEdit()->value(), 7.25);

        // A prize cell takes both as typed.
        QTableWidget& prizes = *dialog.PrizeGrid();
        const struct {
            int Row;
            const char* Typed;
            double Prize;
        } cases[] = {{3, "10.5", 10.5}, {4, "20,75", 20.75}};
        for (const auto& c : cases) {
            prizes.setCurrentCell(c.Row, 1);
            prizes.edit(prizes.currentIndex());
            auto* editor = qobject_cast<QLineEdit*>(prizes.indexWidget(prizes.currentIndex()));
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, QString::fromUtf8(c.Typed));
            QCOMPARE(editor->text(), QString::fromUtf8(c.Typed));
            QTest::keyClick(editor, Qt::Key_Return);
            QTest::qWait(10);
        }
        dialog.accept();
        QCOMPARE(dialog.Result().Profits.at(3).Profit, MoneyFromFloat(10.5));
        QCOMPARE(dialog.Result().Profits.at(4).Profit, MoneyFromFloat(20.75));
        QCOMPARE(dialog.Result().Cost, MoneyFromFloat(7.25));
    }

    void enterInAGridEditsTheCellAndKeepsTheDialogOpen() {
        TMessageBoxUi ui;
        for (const bool segments : {false, true}) {
            TSettingsDialog dialog{TConfigData{}, ui};
            dialog.show();
            QTableWidget& grid = segments ? *dialog.SegmentsGrid() : *dialog.PrizeGrid();
            grid.setCurrentCell(2, 1);
            grid.setFocus();
            // Enter on the cell opens its editor.
            QTest::keyClick(&grid, Qt::Key_Return);
            QTest::qWait(10);
            QVERIFY(dialog.isVisible());
            auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(grid.currentIndex()));
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, QStringLiteral("7"));
            // Enter in the editor ends the edit, not the dialog.
            QTest::keyClick(editor, Qt::Key_Return);
            QTest::qWait(10);
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.result(), 0);
            QCOMPARE(grid.item(2, 1)->text(), QStringLiteral("7"));
            QVERIFY(!grid.indexWidget(grid.currentIndex()));
        }
    }

    void outOfRangeSettingsComeIntoRangeOnce() {
        TGuiFixture f;
        WriteBytes(f.Path() / MainSettingsFileName, "[GLOBAL]\r\nMatrixCols=30\r\nChannelSize=1\r\n");
        QVERIFY(f.Start());
        const TConfigData read = f.Core->Config();
        QVERIFY(read.MatrixCols >= 1 && read.MatrixCols <= MaxNumber);
        QVERIFY(read.ChannelSize >= MinChannelSize && read.ChannelSize <= MaxNumber);
        // OK without a change changes nothing, so no full-set file is built again.
        TSettingsDialog dialog(read, f.Ui);
        dialog.accept();
        QCOMPARE(f.Core->ApplyConfig(dialog.Result()), std::vector<int>{});
    }

    void progressWindowKeepsItsHeadingAboveTheStep() {
        TMessageBoxUi ui;
        const QString heading = QStringLiteral("Создание файлов для полного набора комбинаций...");
        ui.SetStatus(S(heading));
        ui.SetProgress(0, 10);
        QVERIFY(ui.Progress());
        QCOMPARE(ui.Progress()->labelText(), heading + "\n");
        ui.SetStatus("Создание файла предварительной выборки Kumby_12x24_NUMS.dfc...");
        const QString withFile = heading + "\nСоздание файла предварительной выборки Kumby_12x24_NUMS.dfc...";
        QCOMPARE(ui.Progress()->labelText(), withFile);
        // Between two files the heading comes back as the status: the last file stays.
        ui.SetStatus(S(heading));
        ui.SetProgress(1, 10);
        QCOMPARE(ui.Progress()->labelText(), withFile);
        // A new heading (the download's proxy and try) keeps the step below it.
        ui.SetWaitHeading("Загрузка архива тиражей...\r\rПопытка 2, proxy p.test : 3128");
        QCOMPARE(ui.Progress()->labelText(),
                 "Загрузка архива тиражей...\n\nПопытка 2, proxy p.test : 3128\nСоздание файла "
                 "предварительной выборки Kumby_12x24_NUMS.dfc...");
        ui.SetProgress(0, 0);
        QVERIFY(!ui.Progress());
        ui.SetWaitHeading("no window, nothing shown");
        QVERIFY(!ui.Progress());
    }

    void copyOfTheWholeListShowsProgressAndStops() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TCombsTab& tab = *f.Window->CombsTab();
        SelectAll(tab);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));

        // Stop at the first step: the clipboard keeps what it had.
        long long seenTotal = 0;
        f.Ui.ProgressObserver = [&](long long done, long long total) {
            if (total > 0) {
                seenTotal = total;
                QCOMPARE(f.Ui.Progress()->labelText().section('\n', 0, 0),
                         QStringLiteral("Подождите пожалуйста..."));
                if (done < total / 2)
                    f.Ui.Progress()->cancel();
            }
        };
        tab.CombsCopy->trigger();
        QCOMPARE(seenTotal, (long long)FullSet);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QVERIFY(!f.Core->Busy());
        QVERIFY(!f.Ui.Progress());
        QCOMPARE(f.Window->StatusText(TFormMain::PanelOperation), QString());

        // Run to the end: the bytes of the whole list.
        f.Ui.ProgressObserver = nullptr;
        tab.CombsCopy->trigger();
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        const QByteArray text = data->data(QStringLiteral("text/plain"));
        QCOMPARE(text.size(), qsizetype(FullSet) * 37);
        QVERIFY(text.startsWith(
            "01 02 03 04 05 06 07 08 09 10 11 12\r\n01 02 03 04 05 06 07 08 09 10 11 13\r\n"));
        QVERIFY(text.endsWith("\r\n13 14 15 16 17 18 19 20 21 22 23 24\r\n"));
    }

    void clipboardLinesOfUnusualNumbers() {
        // A list loaded from a file may hold numbers of three digits or none at all.
        TCombsArray list(2);
        for (int i = 0; i < NumbersInDraw; ++i) {
            list[0][i] = static_cast<uint8_t>(i + 1);
            list[1][i] = 0;
        }
        list[0][11] = 200;
        QCOMPARE(
            CombsClipboardBytes(list, {{0, 1}}),
            QByteArray("01 02 03 04 05 06 07 08 09 10 11 200\r\n00 00 00 00 00 00 00 00 00 00 00 00\r\n"));
        QCOMPARE(QString::fromStdString(CombToClipboardText(list[0])) + "\r\n",
                 QString::fromLatin1(CombsClipboardBytes(list, {{0, 0}})));
    }

    void closeDuringALongJobWaitsAndThenCloses() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        TCombsTab& tab = *w.CombsTab();
        SelectAll(tab);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        bool closedAtOnce = true;
        QString notice;
        f.Ui.ProgressObserver = [&](long long done, long long total) {
            if (total > 0 && done < total / 2 && !w.CloseWhenIdle()) {
                closedAtOnce = w.close();
                notice = w.StatusPanel(TFormMain::PanelOperation)->text() +
                         w.StatusPanel(TFormMain::PanelOperation)->toolTip();
            }
        };
        tab.CombsCopy->trigger();
        f.Ui.ProgressObserver = nullptr;
        // The click was not lost: the user was told, the job stopped, the window closes.
        QVERIFY(!closedAtOnce);
        QVERIFY2(notice.contains(QStringLiteral("после завершения")), qPrintable(notice));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QVERIFY(QTest::qWaitFor([&] { return !w.isVisible(); }, 3000));
    }
};

QTEST_MAIN(TDesktopPolishTest)
#include "DesktopPolishTest.moc"
