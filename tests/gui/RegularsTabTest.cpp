// The tab "Регуляры": adding a regular from the selected combination, a stake by it
// (cancel and OK), the back-test, the enabling rules and the view switch that hides
// and shows the tab.

#include "GuiTestSupport.h"

#include "ActionList.h"
#include "CombsTab.h"
#include "RegularDialog.h"
#include "RegularsModel.h"
#include "RegularsTab.h"
#include "StakeDialog.h"
#include "io/IniFile.h"
#include "stakes/RegularStakes.h"

#include <QAction>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

TDrawsArray TwelveDraws() {
    TDrawsArray draws;
    for (int i = 1; i <= 12; ++i)
        draws.push_back(SpreadDraw(i, i));
    return draws;
}

QStringList RowTexts(const QAbstractItemModel& model, int row) {
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells << model.data(model.index(row, c), Qt::DisplayRole).toString();
    return cells;
}

} // namespace

class TRegularsTabTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }

    void addStakeTestAndHide() {
        TGuiFixture f;
        f.WriteArchive(TwelveDraws());
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        Session& s = *f.Core;
        TRegularsTab& tab = *w.RegularsTab();
        QCOMPARE(w.RightPages()->tabText(w.RightPages()->indexOf(&tab)), QStringLiteral("Регуляры"));
        QVERIFY(w.TabTables->isChecked());
        QCOMPARE(w.TabTables->text(), QStringLiteral("Вкладка \"Регуляры\""));
        QCOMPARE(tab.TablesStakeTest->statusTip(), QStringLiteral("Тестирование регулярных ставок"));
        QVERIFY(tab.TablesAdd->isEnabled());
        QVERIFY(!tab.TablesDel->isEnabled());
        QVERIFY(!tab.TablesStakeAdd->isEnabled());
        QVERIFY(!tab.TablesStakeTest->isEnabled());

        // One combination selected: its numbers are the start and may be typed over.
        w.CombsTab()->List()->selectRow(0);
        bool shown = false;
        OnModal<TRegularDialog>([&](TRegularDialog* d) {
            shown = true;
            QCOMPARE(d->windowTitle(), QStringLiteral("Добавление регулярной ставки"));
            QCOMPARE(d->CommentEdit()->text(), QStringLiteral("Регулярная ставка"));
            QCOMPARE(d->CombStartEdit()->text(), QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;12"));
            QVERIFY(d->CombStartEdit()->isEnabled());
            QVERIFY(d->UseMyCombButton()->isChecked());
            QCOMPARE(d->StepEdit()->value(), 1);
            d->CombStartEdit()->setText(QStringLiteral("1;2;3"));
            d->accept();
            QVERIFY(d->isVisible());
            d->UseLastDrawButton()->setChecked(true);
            QVERIFY(!d->CombStartEdit()->isEnabled());
            d->UseMyCombButton()->setChecked(true);
            d->CombStartEdit()->setText(QStringLiteral("24,23;22;21;20;19;18;17;16;15;14;13"));
            d->StepEdit()->setValue(2);
            d->accept();
        });
        tab.TablesAdd->trigger();
        QVERIFY(shown);
        QCOMPARE(f.TextsOf(TMessageKind::Error), (std::vector<QString>{"Введена некорректная комбинация!"}));
        const TRegularsModel& model = *tab.Model();
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(RowTexts(model, 0), (QStringList{"Регулярная ставка", "13;14;15;16;17;18;19;20;21;22;23;24",
                                                  "2", "13;14;15;16;17;18;19;20;21;22;23;24", "0"}));

        // A stake by the regular: Cancel leaves it as it was, OK moves it on.
        tab.List()->selectRow(0);
        QVERIFY(tab.TablesStakeAdd->isEnabled());
        OnModal<TStakeDialog>([](TStakeDialog* d) {
            QCOMPARE(d->StakeDataEdit()->text(), QStringLiteral("1;2;15;16;17;18;19;20;21;22;23;24"));
            QCOMPARE(d->CommentEdit()->text(), QStringLiteral("Регулярная ставка"));
            QCOMPARE(d->DrawNumberEdit()->value(), 13);
            d->reject();
        });
        tab.TablesStakeAdd->trigger();
        QCOMPARE(s.Regulars()[0].StakeCount, 0);
        QCOMPARE(s.Stakes().Count(), 0);
        OnModal<TStakeDialog>([](TStakeDialog* d) { d->accept(); });
        tab.TablesStakeAdd->trigger();
        QCOMPARE(s.Stakes().Count(), 1);
        QCOMPARE(RowTexts(model, 0).last(), QStringLiteral("1"));
        QCOMPARE(RowTexts(model, 0)[3], QStringLiteral("1;2;15;16;17;18;19;20;21;22;23;24"));

        // The back-test over 3 draws.
        tab.List()->selectRow(0);
        OnModal<TTestCountDialog>([](TTestCountDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Количество тестов"));
            QCOMPARE(d->CountEdit()->value(), 10);
            QCOMPARE(d->CountEdit()->maximum(), 11);
            d->CountEdit()->setValue(3);
            d->accept();
        });
        tab.TablesStakeTest->trigger();
        QCOMPARE(s.Stakes().Count(), 4);
        QCOMPARE(s.Regulars()[0].StakeCount, 4);
        QCOMPARE(s.DrawsOffset(), 0);

        // Hidden: off the page, out of memory, every command off; the file stays.
        w.TabTables->trigger();
        QCOMPARE(w.RightPages()->indexOf(&tab), -1);
        QVERIFY(s.Regulars().empty());
        QVERIFY(!tab.TablesAdd->isEnabled());
        QCOMPARE(TIniFile::Load(f.Path() / ViewStateFileName).ReadString(MainWindowSection, "TabTables", ""),
                 std::string("0"));
        QCOMPARE(LoadRegularsFile(f.Path() / RegularsFileName).Items.size(), std::size_t(1));

        // Shown again: loaded and made the page on show.
        w.TabTables->trigger();
        QVERIFY(w.TabTables->isChecked());
        QCOMPARE(w.RightPages()->currentWidget(), &tab);
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(RowTexts(model, 0).last(), QStringLiteral("4"));
        QVERIFY(tab.TablesAdd->isEnabled());
    }
};

QTEST_MAIN(TRegularsTabTest)
#include "RegularsTabTest.moc"
