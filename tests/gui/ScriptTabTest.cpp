// The tab "Сценарий": lines added, edited, moved and deleted through the line editor,
// the filter editor's presets, enabling and checks, a forecast and a back-test with
// Stop from the tab, closing during a run, and ratings turned into script lines.

#include "GuiTestSupport.h"

#include "ActionList.h"
#include "CombsTab.h"
#include "DrawsTab.h"
#include "FilterDialog.h"
#include "GuiText.h"
#include "RatingsTab.h"
#include "RegularDialog.h"
#include "ScriptLineDialog.h"
#include "ScriptListModel.h"
#include "ScriptTab.h"
#include "StatsTab.h"
#include "model/VexoUtils.h"
#include "script/FilterEditor.h"
#include "script/RatingsToScript.h"
#include "stakes/Ratings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

const std::string FilterLine = "FULL:0#FIRST|TMF1#NUMS:10#CMV:2#SF:1| | | | | | |";

QStringList RowTexts(const QAbstractItemModel& model, int row) {
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells << model.data(model.index(row, c), Qt::DisplayRole).toString();
    return cells;
}

int RealStakes(Session& s) {
    int count = 0;
    s.Stakes().ForEach(0, [&](int64_t, const TStakeRecord& r) {
        count += r.IsSeparator() ? 0 : 1;
        return true;
    });
    return count;
}

// Calls `act` from the event loop the run pumps, once `when` holds.
void DuringRun(QObject* owner, std::function<bool()> when, std::function<void()> act) {
    auto* timer = new QTimer(owner);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, when, act] {
        if (!when())
            return;
        timer->stop();
        timer->deleteLater();
        act();
    });
    timer->start();
}

} // namespace

class TScriptTabTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }

    void linesThroughTheEditors() {
        TGuiFixture f;
        f.WriteArchive(kumby::testing::RandomArchive(40, 7, 101));
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        Session& s = *f.Core;
        TScriptTab& tab = *w.ScriptTab();
        const TScriptListModel& model = *tab.Model();
        QCOMPARE(w.RightPages()->tabText(w.RightPages()->indexOf(&tab)), QStringLiteral("Сценарий"));
        bool menu = false;
        for (QAction* a : w.menuBar()->actions())
            menu = menu || a->text() == QStringLiteral("Сценарий");
        QVERIFY(menu);
        QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Комментарии"));
        QCOMPARE(tab.PanelShown(TScriptTab::PanelLines), QStringLiteral("Строк: 0"));
        QVERIFY(tab.ScriptAdd->isEnabled());
        QVERIFY(!tab.ScriptSave->isEnabled());
        QVERIFY(!tab.ScriptEdit->isEnabled());
        QVERIFY(!tab.ScriptRun->isEnabled());
        QVERIFY(!tab.ScriptStop->isEnabled());
        QCOMPARE(tab.ScriptRun->statusTip(),
                 QStringLiteral("Выполнить сценарий для текущего тиража и смещения"));

        // A new line: clean controls, the main window's number of draws to exclude.
        s.View().DrawsExclude = 3;
        bool shown = false;
        OnModal<TScriptLineDialog>([&](TScriptLineDialog* d) {
            shown = true;
            QCOMPARE(d->windowTitle(), QStringLiteral("Создание новой строки"));
            QCOMPARE(d->DrawsExcludeEdit()->value(), 3);
            QCOMPARE(d->StartList()->currentText(),
                     QStringLiteral("Исходный список (рекомендуется для тестов)"));
            QCOMPARE(d->ResultList()->count(), 9);
            QVERIFY(d->CommentEdit()->text().isEmpty());
            QVERIFY(!d->NewOnlyBox()->isChecked());
            d->CommentEdit()->setText(QStringLiteral("первая"));
            d->StartList()->setCurrentIndex(1);
            d->ResultList()->setCurrentIndex(1);
            d->NewOnlyBox()->setChecked(true);
            d->FilterEdit(0)->setText(QStringLiteral("tmf1#nums:10#cmv:2#sf:1"));
            d->accept();
        });
        tab.ScriptAdd->trigger();
        QVERIFY(shown);
        QCOMPARE(s.Script().Lines(),
                 (TScriptLines{"EXCL:3#FIRST#NEX|tmf1#nums:10#cmv:2#sf:1| | | | | | |первая"}));
        // The list shows the line as the runner reads it (the flag letters are upper case only).
        QCOMPARE(RowTexts(model, 0),
                 (QStringList{"первая", "Исключить 3 тиражей; Первая; Только новые ставки",
                              "TSD1#NUMS:10#CMV:2#SF:1", "", "", "", "", "", ""}));
        QCOMPARE(tab.PanelShown(TScriptTab::PanelLines), QStringLiteral("Строк: 1"));
        QVERIFY(tab.List()->selectionModel()->isRowSelected(0, {}));
        QVERIFY(tab.ScriptEdit->isEnabled());
        QVERIFY(tab.ScriptRun->isEnabled());

        // Editing fills the controls; filter 2 comes from the filter editor with its presets.
        const int statRow = w.StatsTab()->MethodList()->currentIndex();
        QVERIFY(statRow >= 0);
        w.StatsTab()->LengthEdit()->setValue(25);
        shown = false;
        OnModal<TScriptLineDialog>([&](TScriptLineDialog* d) {
            shown = true;
            QCOMPARE(d->windowTitle(), QStringLiteral("Редактирование строки"));
            QCOMPARE(d->CommentEdit()->text(), QStringLiteral("первая"));
            QCOMPARE(d->StartList()->currentIndex(), 1);
            QCOMPARE(d->DrawsExcludeEdit()->value(), 3);
            QCOMPARE(d->ResultList()->currentIndex(), 1);
            QVERIFY(d->NewOnlyBox()->isChecked());
            QCOMPARE(d->FilterEdit(0)->text(), QStringLiteral("tmf1#nums:10#cmv:2#sf:1"));
            bool filterShown = false;
            OnModal<TFilterDialog>([&](TFilterDialog* fd) {
                filterShown = true;
                QCOMPARE(fd->windowTitle(), QStringLiteral("Фильтр"));
                QCOMPARE(fd->MethodList()->currentIndex(), statRow);
                QCOMPARE(fd->DrawsLenEdit()->text(), QStringLiteral("25"));
                QCOMPARE(fd->SortOrderList()->currentText(), QStringLiteral("Количество"));
                QCOMPARE(fd->StopValueEdit()->value(), 1);
                fd->MethodList()->setCurrentIndex(0);
                fd->DirectionList()->setCurrentIndex(1);
                fd->LevelModeList()->setCurrentIndex(3);
                fd->LevelValueEdit()->setText(QStringLiteral("2"));
                fd->accept();
            });
            QTest::mouseDClick(d->FilterEdit(1), Qt::LeftButton);
            QVERIFY(filterShown);
            QVERIFY(d->FilterEdit(1)->text().startsWith(QStringLiteral("BSD1#")));
            QVERIFY(d->FilterEdit(1)->text().endsWith(QStringLiteral(":25#LLV:2#SF:1")));
            d->ClearStakesBox()->setChecked(true);
            d->accept();
        });
        tab.List()->selectRow(0);
        tab.ScriptEdit->trigger();
        QVERIFY(shown);
        const QStringList edited = RowTexts(model, 0);
        QCOMPARE(edited[1],
                 QStringLiteral("Исключить 3 тиражей; Первая; Удалить ставки; Только новые ставки"));
        QVERIFY(edited[3].endsWith(QStringLiteral(":25#LLV:2#SF:1")));
        QVERIFY(
            QString::fromStdString(s.Script().Line(0)).startsWith(QStringLiteral("EXCL:3#FIRST#CLR#NEX|")));

        // Cancel changes nothing.
        const std::string before = s.Script().Line(0);
        OnModal<TScriptLineDialog>([](TScriptLineDialog* d) {
            d->CommentEdit()->setText(QStringLiteral("не то"));
            d->reject();
        });
        tab.ScriptEdit->trigger();
        QCOMPARE(s.Script().Line(0), before);

        // A separator, a clone, moving and deleting.
        tab.ScriptEmpty->trigger();
        QCOMPARE(s.Script().Count(), 2u);
        QCOMPARE(RowTexts(model, 1), QStringList(9, QString()));
        QVERIFY(!tab.ScriptEdit->isEnabled()); // the separator is selected
        QVERIFY(!tab.ScriptClone->isEnabled());
        QVERIFY(!tab.ScriptDown->isEnabled());
        QVERIFY(tab.ScriptUp->isEnabled());
        tab.ScriptUp->trigger();
        QCOMPARE(s.Script().Line(0), std::string());
        QVERIFY(tab.List()->selectionModel()->isRowSelected(0, {}));
        QVERIFY(!tab.ScriptUp->isEnabled());
        tab.ScriptDown->trigger();
        QCOMPARE(s.Script().Line(1), std::string());
        tab.List()->selectRow(0);
        OnModal<TScriptLineDialog>([](TScriptLineDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Создание новой строки"));
            QCOMPARE(d->CommentEdit()->text(), QStringLiteral("первая"));
            d->CommentEdit()->setText(QStringLiteral("копия"));
            d->accept();
        });
        tab.ScriptClone->trigger();
        QCOMPARE(s.Script().Count(), 3u);
        QCOMPARE(RowTexts(model, 2)[0], QStringLiteral("копия"));
        QVERIFY(tab.List()->selectionModel()->isRowSelected(2, {}));

        // A double click edits.
        w.RightPages()->setCurrentWidget(&tab);
        shown = false;
        OnModal<TScriptLineDialog>([&](TScriptLineDialog* d) {
            shown = true;
            QCOMPARE(d->CommentEdit()->text(), QStringLiteral("копия"));
            d->reject();
        });
        QVERIFY(QTest::qWaitForWindowExposed(tab.List()));
        const QRect cell = tab.List()->visualRect(model.index(2, 0));
        QTest::mouseClick(tab.List()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(tab.List()->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(shown);

        tab.List()->selectRow(1);
        f.Answers = {true};
        tab.ScriptDel->trigger();
        QCOMPARE(f.TextsOf(TMessageKind::Deletion), (std::vector<QString>{"Удалить выделенную запись?"}));
        QCOMPARE(s.Script().Count(), 2u);
        QCOMPARE(tab.PanelShown(TScriptTab::PanelLines), QStringLiteral("Строк: 2"));
        QCOMPARE(RowTexts(model, 1)[0], QStringLiteral("копия"));
    }

    void keysOfTheList() {
        TGuiFixture f;
        f.WriteArchive(kumby::testing::RandomArchive(20, 3, 1));
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        Session& s = *f.Core;
        TScriptTab& tab = *w.ScriptTab();
        QVERIFY(s.ScriptAdd("FULL:0#RAND| | | | | | | |a").has_value());
        QVERIFY(s.ScriptAdd("FULL:0#RAND| | | | | | | |b").has_value());
        w.RightPages()->setCurrentWidget(&tab);
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        tab.List()->setFocus();
        tab.List()->selectRow(0);

        // The title of the line editor a key opens.
        const auto titleAfter = [&](Qt::Key key) {
            QString title;
            OnModal<TScriptLineDialog>([&](TScriptLineDialog* d) {
                title = d->windowTitle();
                d->reject();
            });
            QTest::keyClick(tab.List(), key);
            // Offscreen, a closed dialog leaves no window active: the keys need one.
            w.activateWindow();
            if (QTest::qWaitForWindowActive(&w))
                tab.List()->setFocus();
            return title;
        };
        QCOMPARE(titleAfter(Qt::Key_Return), QStringLiteral("Редактирование строки"));
        QCOMPARE(titleAfter(Qt::Key_Insert), QStringLiteral("Создание новой строки"));
        QVERIFY(tab.List()->hasFocus());

        QTest::keyClick(tab.List(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(s.Script().Lines(),
                 (TScriptLines{"FULL:0#RAND| | | | | | | |b", "FULL:0#RAND| | | | | | | |a"}));
        QVERIFY(tab.List()->selectionModel()->isRowSelected(1, {}));
        QTest::keyClick(tab.List(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(s.Script().Line(0), std::string("FULL:0#RAND| | | | | | | |a"));
        f.Answers = {true};
        QTest::keyClick(tab.List(), Qt::Key_Delete);
        QCOMPARE(s.Script().Lines(), (TScriptLines{"FULL:0#RAND| | | | | | | |b"}));
    }

    void filterEditorChecksAndEnabling() {
        TGuiFixture f;
        f.WriteArchive(kumby::testing::RandomArchive(20, 3, 1));
        QVERIFY(f.Start());
        Session& s = *f.Core;
        const TStatList& registry = s.Registry();
        TFilterEditorPresets presets;
        const std::size_t nums = static_cast<std::size_t>(registry.FindByCode("NUMS"));
        const std::size_t sums = static_cast<std::size_t>(registry.FindByCode("SUMS"));
        std::size_t text = registry.Count();
        for (std::size_t i = 0; i < registry.Count() && text == registry.Count(); ++i)
            if (!registry.Items(i).StatClass->NumericValues)
                text = i;
        QVERIFY(text < registry.Count());
        presets.Methods = {{"Числа", nums}, {"Суммы", sums}, {"Текст", text}};
        presets.MethodRow = 1;
        presets.DrawsLen = QStringLiteral("30");
        presets.Weights = {0, -1, 1, false, true};

        // An unused filter: the presets and the settings' coefficients.
        {
            TFilterDialog d(TFilterItem{}, presets, registry, f.Ui);
            QCOMPARE(d.MethodList()->currentIndex(), 1);
            QCOMPARE(d.DrawsLenEdit()->text(), QStringLiteral("30"));
            QCOMPARE(d.SortOrderList()->currentIndex(), 1);
            QCOMPARE(d.LevelModeList()->currentIndex(), 0);
            QCOMPARE(d.StopModeList()->currentIndex(), 0);
            QCOMPARE(d.StopValueEdit()->value(), 1);
            QCOMPARE(d.CoefDeviationEdit()->text(), QStringLiteral("-1,000"));
            QVERIFY(d.AbsBox()->isChecked());
            // The override only for the weight criteria, the coefficients only with it on.
            QVERIFY(!d.OverrideBox()->isEnabled());
            QVERIFY(!d.CoefCountEdit()->isEnabled());
            d.LevelModeList()->setCurrentIndex(19);
            QVERIFY(d.OverrideBox()->isEnabled());
            QVERIFY(!d.CoefCountEdit()->isEnabled());
            d.OverrideBox()->setChecked(true);
            QVERIFY(d.CoefCountEdit()->isEnabled());
            QVERIFY(d.PercentsBox()->isEnabled());
            d.LevelModeList()->setCurrentIndex(22);
            QVERIFY(!d.OverrideBox()->isEnabled());
            QVERIFY(!d.CoefLevelEdit()->isEnabled());
            QVERIFY(!d.AbsBox()->isEnabled());
            d.LevelModeList()->setCurrentIndex(21);
            QVERIFY(d.CoefLevelEdit()->isEnabled());

            // Only number-list characters go into the number fields.
            d.DrawsLenEdit()->clear();
            QTest::keyClicks(d.DrawsLenEdit(), QStringLiteral("1a-1 0;x2."));
            QCOMPARE(d.DrawsLenEdit()->text(), QStringLiteral("1-10;2"));
            d.LevelValueEdit()->clear();
            QTest::keyClicks(d.LevelValueEdit(), QStringLiteral("5, 6"));
            QCOMPARE(d.LevelValueEdit()->text(), QStringLiteral("5,6"));
        }

        // A used filter fills every control; the checks keep the dialog open on the field.
        TFilterItem item = ReadFilterItem("BMF2#SUMS:5-30;5#WMV:3#ST:4#1.5:-1:1:0:1", registry);
        TFilterDialog d(item, presets, registry, f.Ui);
        d.show();
        QCOMPARE(d.MethodList()->currentIndex(), 1);
        QCOMPARE(d.DrawsLenEdit()->text(), QStringLiteral("5-30;5"));
        QCOMPARE(d.SortOrderList()->currentIndex(), 2);
        QCOMPARE(d.DirectionList()->currentText(), QStringLiteral("Снизу-вверх"));
        QCOMPARE(d.FilterModeList()->currentText(), QStringLiteral("Оставить выделенные"));
        QVERIFY(d.MultiSelectBox()->isChecked());
        QCOMPARE(d.LevelModeList()->currentIndex(), 19);
        QCOMPARE(d.LevelValueEdit()->text(), QStringLiteral("3"));
        QVERIFY(d.OverrideBox()->isChecked());
        QVERIFY(d.CoefCountEdit()->isEnabled());
        QCOMPARE(d.CoefCountEdit()->text(), QStringLiteral("1,500"));
        QVERIFY(!d.PercentsBox()->isChecked());
        QVERIFY(d.AbsBox()->isChecked());
        QCOMPARE(d.StopModeList()->currentIndex(), 3);
        QCOMPARE(d.StopValueEdit()->value(), 4);
        QCOMPARE(QString::fromStdString(FilterItemText(d.Result(), registry)),
                 QStringLiteral("BMF2#SUMS:5-30;5#WMV:3#ST:4#1.5:-1:1:0:1"));

        struct TStep {
            std::function<void()> Change;
            const char* Message;
            QWidget* Focus;
        };
        const TStep steps[] = {
            {[&] { d.DrawsLenEdit()->setText(QStringLiteral("0")); }, FilterRangeErrorText, d.DrawsLenEdit()},
            {[&] {
                 d.DrawsLenEdit()->setText(QStringLiteral("10"));
                 d.MethodList()->setCurrentIndex(2);
                 d.LevelModeList()->setCurrentIndex(31);
             },
             FilterValuesModeErrorText, d.LevelModeList()},
            {[&] {
                 d.LevelModeList()->setCurrentIndex(5);
                 d.LevelValueEdit()->clear();
             },
             FilterRangeErrorText, d.LevelValueEdit()},
            {[&] {
                 d.LevelValueEdit()->setText(QStringLiteral("1,2"));
                 d.StopModeList()->setCurrentIndex(1);
             },
             FilterMultiStopErrorText, d.StopModeList()},
        };
        for (const TStep& step : steps) {
            f.Messages.clear();
            step.Change();
            d.accept();
            QVERIFY(d.isVisible());
            QCOMPARE(f.TextsOf(TMessageKind::Error), (std::vector<QString>{ShownText(step.Message)}));
            QCOMPARE(d.focusWidget(), step.Focus);
        }
        f.Messages.clear();
        d.MultiSelectBox()->setChecked(false);
        d.accept();
        QVERIFY(f.Messages.empty());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        const TFilterItem result = d.Result();
        QCOMPARE(result.Method, static_cast<int>(text));
        QCOMPARE(result.StopMode, uint8_t{StopSC});
        QVERIFY(result.CDLOverride); // kept from the box, whatever the criterion
    }

    void forecastBackTestAndStop() {
        TGuiFixture f;
        f.WriteArchive(kumby::testing::RandomArchive(40, 7, 101));
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        Session& s = *f.Core;
        TScriptTab& tab = *w.ScriptTab();
        std::vector<std::filesystem::path> opened;
        f.Ui.TextFileOpener = [&](const std::filesystem::path& file) { opened.push_back(file); };
        QVERIFY(s.ScriptAdd(FilterLine).has_value());
        QVERIFY(tab.ScriptRun->isEnabled());
        QVERIFY(!tab.StakesCheckLine->isChecked() == !s.View().StakesCheckOnLine);

        // What the window shows while the forecast runs.
        QStringList cycles;
        bool othersDisabled = true;
        bool stopEnabled = false;
        bool tabsDisabled = true;
        bool rowShown = false;
        auto forward = f.Ui.OnNotify;
        f.Ui.OnNotify = [&](TSessionEvent e) {
            forward(e);
            if (e != TSessionEvent::ScriptRunChanged || !s.ScriptRunning())
                return;
            cycles << tab.PanelShown(TScriptTab::PanelCycle);
            othersDisabled = othersDisabled && !tab.ScriptRun->isEnabled() && !tab.ScriptAdd->isEnabled() &&
                             !w.DrawsTab()->DrawsAdd->isEnabled();
            stopEnabled = stopEnabled || tab.ScriptStop->isEnabled();
            tabsDisabled = tabsDisabled && !w.DrawsTab()->isEnabled() && !w.CombsTab()->isEnabled() &&
                           !w.StatsTab()->isEnabled() && !tab.List()->isEnabled();
            rowShown = rowShown || tab.List()->selectionModel()->isRowSelected(0, {});
        };
        tab.ScriptRun->trigger();
        QVERIFY(cycles.contains(QStringLiteral("Цикл: 1")));
        QVERIFY(othersDisabled);
        QVERIFY(stopEnabled);
        QVERIFY(tabsDisabled);
        QVERIFY(rowShown);
        QCOMPARE(RealStakes(s), 1);
        QCOMPARE(tab.PanelShown(TScriptTab::PanelStakes), QStringLiteral("Ставок: 1"));
        QCOMPARE(tab.PanelShown(TScriptTab::PanelCycle), QStringLiteral("Цикл: 0"));
        QCOMPARE(tab.PanelShown(TScriptTab::PanelRunText), QStringLiteral("Сценарий завершен!"));
        QVERIFY(w.DrawsTab()->isEnabled());
        QVERIFY(tab.List()->isEnabled());
        QVERIFY(tab.ScriptRun->isEnabled());
        QVERIFY(!tab.ScriptStop->isEnabled());
        f.Ui.OnNotify = forward;

        // A back-test of 5 stopped from the event loop as its third test runs.
        int stoppedAt = -1;
        f.Answers = {true};
        DuringRun(
            &w, [&] { return s.ScriptRunState().Cycle == 3; },
            [&] {
                QVERIFY(tab.ScriptStop->isEnabled());
                stoppedAt = s.DrawsOffset();
                tab.ScriptStop->trigger();
            });
        OnModal<TTestCountDialog>([&](TTestCountDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Количество тестов"));
            QCOMPARE(d->CountEdit()->maximum(), s.MaxScriptTests());
            QCOMPARE(d->CountEdit()->value(), 10);
            d->CountEdit()->setValue(5);
            d->accept();
        });
        tab.ScriptTest->trigger();
        QCOMPARE(f.TextsOf(TMessageKind::Question),
                 (std::vector<QString>{"Остановить выполнение сценария?"}));
        QVERIFY(stoppedAt == 3 || stoppedAt == 4);
        QCOMPARE(s.DrawsOffset(), stoppedAt); // left where it stopped
        QVERIFY(!s.ScriptRunning());
        QVERIFY(!s.Busy());
        QVERIFY(RealStakes(s) < 1 + 5);
        QVERIFY(w.CombsTab()->isEnabled());
        QVERIFY(tab.List()->isEnabled());
        QVERIFY(tab.ScriptRun->isEnabled());
        QVERIFY(tab.ScriptAdd->isEnabled());
        QVERIFY(!tab.ScriptStop->isEnabled());
        QVERIFY(opened.empty()); // no log without the switch

        // The program goes on: another forecast, now with its log shown at the end.
        tab.LogToggle->trigger();
        QVERIFY(s.View().ScriptLogEnabled);
        const int stakes = RealStakes(s);
        tab.ScriptRun->trigger();
        QCOMPARE(RealStakes(s), stakes + 1);
        QCOMPARE(opened.size(), std::size_t{1});
        QVERIFY(std::filesystem::exists(opened[0]));
    }

    void closingDuringARunStopsIt() {
        TGuiFixture f;
        f.WriteArchive(kumby::testing::RandomArchive(40, 7, 101));
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        Session& s = *f.Core;
        QVERIFY(s.ScriptAdd(FilterLine).has_value());
        s.SetScriptLogEnabled(true);
        std::vector<std::filesystem::path> opened;
        f.Ui.TextFileOpener = [&](const std::filesystem::path& file) { opened.push_back(file); };
        DuringRun(
            &w, [&] { return s.ScriptRunState().Cycle == 2; }, [&] { w.close(); });
        OnModal<TTestCountDialog>([](TTestCountDialog* d) {
            d->CountEdit()->setValue(8);
            d->accept();
        });
        w.ScriptTab()->ScriptTest->trigger();
        QVERIFY(!s.ScriptRunning());
        QVERIFY(RealStakes(s) < 8);
        QVERIFY(QTest::qWaitFor([&] { return !w.isVisible(); }, 5000));
        QVERIFY(f.TextsOf(TMessageKind::Question).empty()); // closing does not ask
        QVERIFY(opened.empty());                            // nor open the log behind it
    }

    void ratingsToScriptSwitchesTabs() {
        TGuiFixture f;
        f.WriteArchive(kumby::testing::RandomArchive(20, 3, 1));
        TRatingsArray items(2);
        items[0].Name = "03.002: тест @ FULL#RAND + TSD#NUMS:10#CMV:5#SF:1";
        items[1].Name = "Ставка \"вручную\"";
        for (TRatingEntry& item : items) {
            item.Count = 1;
            item.HitCounts[0] = 1;
        }
        SaveRatingsFile(f.Path() / RatingsFileName, items);
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        Session& s = *f.Core;
        TRatingsTab& ratings = *w.RatingsTab();
        w.RightPages()->setCurrentWidget(&ratings);
        QCOMPARE(ratings.RatingsToScript->text(), QStringLiteral("Добавить в сценарий"));
        QCOMPARE(ratings.RatingsToScript->statusTip(),
                 QStringLiteral("Добавить выделенные строки в сценарий"));
        QVERIFY(!ratings.RatingsToScript->isEnabled());

        // The manual stake's row alone: refused, and the tab stays.
        const int manual = s.Ratings().Items()[0].Name == items[1].Name ? 0 : 1;
        ratings.List()->selectRow(manual);
        QVERIFY(ratings.RatingsToScript->isEnabled());
        ratings.RatingsToScript->trigger();
        QCOMPARE(f.TextsOf(TMessageKind::Error),
                 (std::vector<QString>{ShownText(Format(RatingNotScriptText, items[1].Name.c_str()))}));
        QCOMPARE(s.Script().Count(), 0u);
        QCOMPARE(w.RightPages()->currentWidget(), &ratings);

        ratings.List()->selectAll();
        ratings.RatingsToScript->trigger();
        QCOMPARE(s.Script().Lines(),
                 (TScriptLines{"FULL#RAND|TSD#NUMS:10#CMV:5#SF:1| | | | | | |03.002: тест"}));
        QCOMPARE(w.RightPages()->currentWidget(), static_cast<QWidget*>(w.ScriptTab()));
        QVERIFY(w.ScriptTab()->List()->selectionModel()->isRowSelected(0, {}));
        QCOMPARE(w.ScriptTab()->PanelShown(TScriptTab::PanelLines), QStringLiteral("Строк: 1"));
    }
};

QTEST_MAIN(TScriptTabTest)
#include "ScriptTabTest.moc"
