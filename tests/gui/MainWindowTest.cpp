// The main window on a data folder: start-up, status panels, offset, display
// switches, busy state, a second copy and the view state file.

#include "GuiTestSupport.h"

#include "ActionList.h"
#include "DrawsModel.h"
#include "DrawsTab.h"
#include "GuiText.h"
#include "ViewStateGlue.h"
#include "io/IniFile.h"
#include "model/VexoUtils.h"

#include <QAction>
#include <QHeaderView>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

QColor CellBackground(const TDrawsModel& model, int row, int column) {
    return model.data(model.index(row, column), Qt::BackgroundRole).value<QColor>();
}

std::string FrmValue(const std::filesystem::path& dir, const char* key) {
    return TIniFile::Load(dir / ViewStateFileName).ReadString(MainWindowSection, key, "<none>");
}

} // namespace

class TMainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }

    void startsOnEmptyFolder() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        QVERIFY(f.Messages.empty());
        QCOMPARE(w.StatusText(TFormMain::PanelDraws), QStringLiteral("Архив тиражей: 0"));
        QCOMPARE(w.StatusText(TFormMain::PanelNextDraw), QStringLiteral("Следующий тираж: 1"));
        QCOMPARE(w.StatusText(TFormMain::PanelNextNumbers), QString());
        // Start-up fills the working list with the full set.
        QCOMPARE(w.StatusText(TFormMain::PanelCombs), QStringLiteral("Комбинаций: 2704156"));
        QCOMPARE(w.StatusText(TFormMain::PanelOperation), QString());
        QCOMPARE(w.windowTitle(), QStringLiteral("Kumby 12x24 версия ") + QStringLiteral(KUMBY_VERSION));
        QVERIFY(f.Core->DataLockHeld());

        // Only built subsystems show their tabs.
        QCOMPARE(w.LeftPages()->count(), 2);
        QCOMPARE(w.LeftPages()->tabText(0), QStringLiteral("Архив тиражей"));
        QCOMPARE(w.LeftPages()->tabText(1), QStringLiteral("Комбинации"));
        QStringList rightTabs;
        for (int i = 0; i < w.RightPages()->count(); ++i)
            rightTabs << w.RightPages()->tabText(i);
        QCOMPARE(rightTabs, (QStringList{"Статистика", "Графики", "Карта", "Схема", "Неделя", "Ставки",
                                         "Рейтинг", "Системы", "Сценарий", "Регуляры"}));
        QVERIFY(w.RightPages()->isVisible());

        TDrawsTab& tab = *w.DrawsTab();
        QCOMPARE(tab.Model()->rowCount(), 0);
        QCOMPARE(tab.OffsetEdit()->maximum(), 0);
        QVERIFY(tab.DrawsAdd->isEnabled());
        QVERIFY(tab.DrawsImport->isEnabled());
        QVERIFY(!tab.DrawsExport->isEnabled());
        QVERIFY(!tab.DrawsExcel->isEnabled());
        QVERIFY(!tab.DrawsChange->isEnabled());
        QVERIFY(!tab.DrawsDelete->isEnabled());
        QVERIFY(!tab.DrawsDetails->isEnabled());
    }

    void everyActionHasCaptionAndHint() {
        TGuiFixture f;
        QVERIFY(f.Start());
        for (const QAction* action : f.Window->Actions().Actions()) {
            QVERIFY(!action->text().isEmpty());
            QVERIFY2(!action->statusTip().isEmpty(), qPrintable(action->text()));
            QCOMPARE(action->toolTip(), action->statusTip());
        }
    }

    void offsetMarksRowAndFillsPanels() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(10, 1), SpreadDraw(11, 2), SpreadDraw(12, 3)});
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        TDrawsTab& tab = *w.DrawsTab();
        const TDrawsModel& model = *tab.Model();

        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.data(model.index(0, TDrawsModel::ColNumber), Qt::DisplayRole).toInt(), 12);
        QCOMPARE(model.data(model.index(2, TDrawsModel::ColNumber), Qt::DisplayRole).toInt(), 10);
        QCOMPARE(tab.OffsetEdit()->maximum(), 2);
        QCOMPARE(w.StatusText(TFormMain::PanelDraws), QStringLiteral("Архив тиражей: 3"));
        QCOMPARE(w.StatusText(TFormMain::PanelNextDraw), QStringLiteral("Следующий тираж: 13"));
        QCOMPARE(w.StatusText(TFormMain::PanelNextNumbers), QString());
        QCOMPARE(CellBackground(model, 0, TDrawsModel::ColDate), QColor(0xFF, 0xAA, 0xAA));

        tab.OffsetEdit()->setValue(1);
        QCOMPARE(f.Core->DrawsOffset(), 1);
        QCOMPARE(w.StatusText(TFormMain::PanelNextDraw), QStringLiteral("Следующий тираж: 12"));
        QCOMPARE(w.StatusText(TFormMain::PanelNextNumbers),
                 QString::fromStdString(NumbersToText(SpreadDraw(12, 3).Numbers, NumbersInDraw, ";")));
        for (int column :
             {int(TDrawsModel::ColNumber), int(TDrawsModel::ColSum), int(TDrawsModel::ColDate)}) {
            QCOMPARE(CellBackground(model, 0, column), QColor(Qt::white));
            QCOMPARE(CellBackground(model, 1, column), QColor(0xFF, 0xAA, 0xAA));
            QCOMPARE(CellBackground(model, 2, column), QColor(Qt::white));
        }

        tab.OffsetEdit()->setValue(0);
        QCOMPARE(w.StatusText(TFormMain::PanelNextNumbers), QString());
        QCOMPARE(w.StatusText(TFormMain::PanelNextDraw), QStringLiteral("Следующий тираж: 13"));
    }

    void channelColoursAndSortedDisplay() {
        TGuiFixture f;
        TDrawRecord draw = SpreadDraw(7, 1);
        const uint8_t shuffled[NumbersInDraw] = {24, 3, 17, 1, 9, 12, 5, 20, 7, 14, 2, 22};
        std::copy(std::begin(shuffled), std::end(shuffled), draw.Numbers);
        f.WriteArchive({draw});
        QVERIFY(f.Start());
        TDrawsTab& tab = *f.Window->DrawsTab();
        const TDrawsModel& model = *tab.Model();
        const int channel = f.Core->Config().ChannelSize;

        QVERIFY(tab.DrawsColor->isChecked());
        for (int i = 0; i < NumbersInDraw; ++i) {
            const QModelIndex cell = model.index(0, TDrawsModel::ColFirstNumber + i);
            QCOMPARE(model.data(cell, Qt::DisplayRole).toInt(), int(shuffled[i]));
            QCOMPARE(model.data(cell, Qt::BackgroundRole).value<QColor>().rgb() & 0xFFFFFF,
                     NumberColour(shuffled[i], channel));
        }
        QCOMPARE(model.data(model.index(0, TDrawsModel::ColSum), Qt::DisplayRole).toInt(), DrawSum(draw));

        tab.DrawsSorted->trigger();
        QVERIFY(f.Core->View().SortedDraws);
        QCOMPARE(FrmValue(f.Path(), "SortedDraws"), std::string("1"));
        TCombination sorted = draw.Combination();
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < NumbersInDraw; ++i) {
            const QModelIndex cell = model.index(0, TDrawsModel::ColFirstNumber + i);
            QCOMPARE(model.data(cell, Qt::DisplayRole).toInt(), int(sorted[i]));
            QCOMPARE(model.data(cell, Qt::BackgroundRole).value<QColor>().rgb() & 0xFFFFFF,
                     NumberColour(sorted[i], channel));
        }

        tab.DrawsColor->trigger();
        QVERIFY(!f.Core->View().ColorDraws);
        QCOMPARE(FrmValue(f.Path(), "ColorDraws"), std::string("0"));
        // Without channel colours only the offset row (row 0 here) is marked.
        QCOMPARE(CellBackground(model, 0, TDrawsModel::ColFirstNumber), QColor(0xFF, 0xAA, 0xAA));

        tab.DownloadMode[2]->trigger();
        QCOMPARE(FrmValue(f.Path(), "DownloadDrawsOnStart"), std::string("2"));
    }

    void busyDisablesEveryActionAndShowsTheOperation() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(1, 1)});
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        {
            TBusyScope busy(*f.Core, "Долгая операция...");
            for (const QAction* action : w.Actions().Actions())
                QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
            QVERIFY(!w.DrawsTab()->OffsetEdit()->isEnabled());
            QVERIFY(QApplication::overrideCursor());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            QCOMPARE(w.StatusText(TFormMain::PanelOperation), QStringLiteral("Долгая операция..."));
        }
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(w.StatusText(TFormMain::PanelOperation), QString());
        QVERIFY(w.DrawsTab()->DrawsAdd->isEnabled());
        QVERIFY(w.DrawsTab()->DrawsExport->isEnabled());
        QVERIFY(w.DrawsTab()->OffsetEdit()->isEnabled());
    }

    void secondCopyShowsTwoMessagesAndExits() {
        TGuiFixture first;
        QVERIFY(first.Start());

        TGuiFixture second(first.Dir);
        QVERIFY(second.Start());
        const auto errors = second.TextsOf(TMessageKind::Error);
        QCOMPARE(errors.size(), std::size_t(2));
        QVERIFY(errors[0].startsWith(QStringLiteral("Ошибка чтения файла ставок!\n\n")));
        QCOMPARE(errors[1], ShownText(NoDataLockText));
        QVERIFY(second.Window->ExitRequested());
        QVERIFY(!second.Window->isVisible());
        // The copy that lost leaves the view state alone.
        QCOMPARE(FrmValue(first.Path(), "NormPos"), std::string("<none>"));
        QVERIFY(first.Core->DataLockHeld());
    }

    void helpDialogAtStartWhileFirstRun() {
        TGuiFixture f;
        WriteBytes(f.Path() / ViewStateFileName, "[TFormMain]\r\nFirstRun=1\r\n");
        f.HelpDontShowAgain = true;
        QVERIFY(f.Start());
        QCOMPARE(f.HelpDialogs, 1);
        QCOMPARE(FrmValue(f.Path(), "FirstRun"), std::string("0"));

        TGuiFixture again(f.Dir);
        f.Window->close();
        QVERIFY(again.Start());
        QCOMPARE(again.HelpDialogs, 0);
    }

    void viewStateWrittenOnCloseAndRestored() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(1, 1)});
        QVERIFY(f.Start());
        f.Window->DrawsTab()->List()->setColumnWidth(TDrawsModel::ColNumber, 151);
        // Wider than the status bar needs: the window is never narrower.
        f.Window->setGeometry(40, 50, 1300, 600);
        const std::string leftWidth = std::to_string(f.Window->LeftPages()->width());
        QVERIFY(f.Window->close());
        QVERIFY(!f.Core->DataLockHeld());
        QCOMPARE(FrmValue(f.Path(), "lvDraws.Column0"), std::string("151"));
        QCOMPARE(FrmValue(f.Path(), "NormPos"), std::string("40,50,1340,650"));
        QCOMPARE(FrmValue(f.Path(), "ShowCmd"), std::string("1"));
        QVERIFY(FrmValue(f.Path(), "PixelsPerInch") != "<none>");
        QCOMPARE(FrmValue(f.Path(), "LeftPanelWidth"), leftWidth);

        TGuiFixture again(f.Dir);
        QVERIFY(again.Start());
        QCOMPARE(again.Window->DrawsTab()->List()->columnWidth(TDrawsModel::ColNumber), 151);
        QCOMPARE(again.Window->geometry(), QRect(40, 50, 1300, 600));
    }

    void placementKeysFollowPixelsPerInchAndScreen() {
        TIniFile ini;
        TPlacement placement{QRect(10, 20, 800, 500), true};
        for (const auto& [key, value] : PlacementValues(placement, 96, QSize(1920, 1080)))
            ini.WriteString(MainWindowSection, key, value);
        QCOMPARE(ini.ReadString(MainWindowSection, "NormPos_1920x1080", ""), std::string("10,20,810,520"));

        TPlacement read;
        QVERIFY(ReadPlacement(ini, MainWindowSection, 96, QSize(1920, 1080), read));
        QCOMPARE(read.Normal, placement.Normal);
        QVERIFY(read.Maximized);
        QVERIFY(!ReadPlacement(ini, MainWindowSection, 120, QSize(1920, 1080), read));

        // The key of the current screen size wins over the plain one.
        ini.WriteString(MainWindowSection, "NormPos_1280x1024", "5,5,605,405");
        QVERIFY(ReadPlacement(ini, MainWindowSection, 96, QSize(1280, 1024), read));
        QCOMPARE(read.Normal, QRect(5, 5, 600, 400));
        ini.WriteString(MainWindowSection, "NormPos", "garbage");
        QVERIFY(!ReadPlacement(ini, MainWindowSection, 96, QSize(800, 600), read));
    }

    void columnWidthsAndSortTypeRoundTrip() {
        QStandardItemModel model(3, 4);
        QTableView view;
        view.setModel(&model);
        view.setSortingEnabled(true);
        view.setColumnWidth(2, 77);
        view.sortByColumn(3, Qt::DescendingOrder);
        TKeyValues values;
        AddColumnWidthValues(view, "lvTest", values);
        AddSortTypeValues(view, "lvTest", values);
        TIniFile ini;
        for (const auto& [key, value] : values)
            ini.WriteString("TFormMain", key, value);
        QCOMPARE(ini.ReadString("TFormMain", "lvTest.SortType", ""), std::string("3,1"));

        QTableView other;
        other.setModel(&model);
        other.setSortingEnabled(true);
        RestoreColumnWidths(other, ini, "TFormMain", "lvTest");
        RestoreSortType(other, ini, "TFormMain", "lvTest");
        QCOMPARE(other.columnWidth(2), 77);
        QCOMPARE(other.horizontalHeader()->sortIndicatorSection(), 3);
        QCOMPARE(other.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    }

    void hundredThousandDrawsStayVirtual() {
        TGuiFixture f;
        TDrawsArray draws;
        for (int i = 1; i <= 100000; ++i)
            draws.push_back(SpreadDraw(i, i % MaxNumber + 1));
        f.WriteArchive(draws);
        QVERIFY(f.Start());
        TDrawsTab& tab = *f.Window->DrawsTab();
        QCOMPARE(tab.Model()->rowCount(), 100000);
        tab.List()->scrollToBottom();
        QCOMPARE(tab.Model()->data(tab.Model()->index(99999, 0), Qt::DisplayRole).toInt(), 1);
        tab.OffsetEdit()->setValue(99999);
        QCOMPARE(CellBackground(*tab.Model(), 99999, TDrawsModel::ColDate), QColor(0xFF, 0xAA, 0xAA));
        QCOMPARE(f.Window->StatusText(TFormMain::PanelNextDraw), QStringLiteral("Следующий тираж: 2"));
    }
};

QTEST_MAIN(TMainWindowTest)
#include "MainWindowTest.moc"
