// The combinations tab: the full list, keep/remove steps from the statistics tab with
// their history rows and undo, the exclusion of the last draws, deletion, selection of
// every row, the clipboard, the generation dialog, the files, the enabling rules and
// the view state.

#include "GuiTestSupport.h"

#include "ActionList.h"
#include "CombsGenerateDialog.h"
#include "CombsModel.h"
#include "CombsTab.h"
#include "DrawDetailsWindow.h"
#include "DrawsTab.h"
#include "FileDialogs.h"
#include "FilterRowsModel.h"
#include "GuiText.h"
#include "StatsModel.h"
#include "StatsTab.h"
#include "app/MainSettings.h"
#include "io/IniFile.h"
#include "model/VexoUtils.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

constexpr int FullSet = 2704156;
// Combinations with 5 or 17: all but those drawn from the other 22 numbers, C(22,12).
constexpr int WithFiveOrSeventeen = FullSet - 646646;

// Three draws with three different sets of numbers, newest last.
TDrawsArray ThreeDraws() {
    return {DrawOf(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
            DrawOf(2, {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}),
            DrawOf(3, {1, 2, 3, 4, 5, 6, 13, 14, 15, 16, 17, 18})};
}

std::string FrmValue(const std::filesystem::path& dir, const char* key) {
    return TIniFile::Load(dir / ViewStateFileName).ReadString(MainWindowSection, key, "<none>");
}

QString Cell(const QAbstractItemModel& model, int row, int column) {
    return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

// The numbers of a combinations list row.
TCombination RowNumbers(const TCombsModel& model, int row) {
    TCombination comb{};
    for (int i = 0; i < NumbersInDraw; ++i)
        comb[i] = static_cast<uint8_t>(
            model.data(model.index(row, TCombsModel::ColFirstNumber + i), Qt::DisplayRole).toInt());
    return comb;
}

TCombination Comb(std::initializer_list<int> numbers) {
    TCombination comb{};
    int i = 0;
    for (int n : numbers)
        comb[i++] = static_cast<uint8_t>(n);
    return comb;
}

bool SameIcon(const QVariant& decoration, const QIcon& icon) {
    return decoration.value<QIcon>().pixmap(16).toImage() == icon.pixmap(16).toImage();
}

// Selects the statistics rows showing these values (column "Значение").
void SelectStatValues(TStatsTab& tab, const QStringList& values) {
    QItemSelectionModel& selection = *tab.List()->selectionModel();
    selection.clearSelection();
    const TStatsModel& model = *tab.Model();
    for (int r = 0; r < model.rowCount(); ++r)
        if (values.contains(Cell(model, r, StatColValue)))
            selection.select(model.index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void SetClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QCoreApplication::processEvents();
}

} // namespace

class TCombsTabTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }
    void cleanup() {
        SetFileDialogAnswerer({});
        QGuiApplication::clipboard()->clear();
    }

    void keepThroughStatisticsThenUndo() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        TCombsTab& tab = *w.CombsTab();
        TStatsTab& stats = *w.StatsTab();
        QCOMPARE(w.LeftPages()->count(), 2);
        QCOMPARE(w.LeftPages()->tabText(1), QStringLiteral("Комбинации"));
        QCOMPARE(w.LeftPages()->widget(1), &tab);

        // The start-up list is the full set, lexicographic.
        const TCombsModel& model = *tab.Model();
        QCOMPARE(model.rowCount(), FullSet);
        QCOMPARE(model.columnCount(), 14);
        QStringList captions;
        for (int c = 0; c < model.columnCount(); ++c)
            captions << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        QCOMPARE(captions,
                 (QStringList{"№ п.п.", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "S"}));
        QCOMPARE(Cell(model, 0, TCombsModel::ColIndex), QStringLiteral("1"));
        QCOMPARE(RowNumbers(model, 0), Comb({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        QCOMPARE(Cell(model, 0, TCombsModel::ColSum), QStringLiteral("78"));
        QCOMPARE(Cell(model, FullSet - 1, TCombsModel::ColIndex), QString::number(FullSet));
        QCOMPARE(RowNumbers(model, FullSet - 1), Comb({13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
        QCOMPARE(Cell(model, FullSet - 1, TCombsModel::ColSum), QStringLiteral("222"));
        QCOMPARE(w.StatusText(TFormMain::PanelCombs), QStringLiteral("Комбинаций: 2704156"));
        QCOMPARE(tab.FiltersModel()->rowCount(), 0);
        QVERIFY(!tab.CombsUndo->isEnabled());

        // F7 on the statistics tab with NUMS 5 and 17 selected.
        QVERIFY(!stats.StatFilterInclude->isEnabled());
        SelectStatValues(stats, {"5", "17"});
        QVERIFY(stats.StatFilterInclude->isEnabled());
        QVERIFY(stats.StatFilterExclude->isEnabled());
        QCOMPARE(stats.StatFilterInclude->shortcut(), QKeySequence(Qt::Key_F7));
        QCOMPARE(stats.StatFilterExclude->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F7));
        QVERIFY(stats.StatFilterExclude != tab.CombsDelete);
        stats.StatFilterInclude->trigger();

        QCOMPARE(model.rowCount(), WithFiveOrSeventeen);
        QCOMPARE(w.StatusText(TFormMain::PanelCombs), QStringLiteral("Комбинаций: 2057510"));
        for (int row : {0, 1000, WithFiveOrSeventeen - 1}) {
            const TCombination comb = RowNumbers(model, row);
            QVERIFY(std::count(comb.begin(), comb.end(), 5) + std::count(comb.begin(), comb.end(), 17) > 0);
        }
        const TFilterRowsModel& history = *tab.FiltersModel();
        QCOMPARE(history.rowCount(), 1);
        QCOMPARE(history.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Примененные фильтры"));
        QCOMPARE(history.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Значения"));
        QCOMPARE(history.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Комбинаций"));
        // The caption is the text of the statistics method list.
        QCOMPARE(Cell(history, 0, TFilterRowsModel::ColCaption), stats.MethodList()->currentText());
        QCOMPARE(Cell(history, 0, TFilterRowsModel::ColValues), QStringLiteral("5; 17"));
        QCOMPARE(Cell(history, 0, TFilterRowsModel::ColCount), QStringLiteral("2057510"));
        QVERIFY(
            SameIcon(history.data(history.index(0, 0), Qt::DecorationRole), TFilterRowsModel::KeepIcon()));
        QCOMPARE(history.data(history.index(0, 2), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QVERIFY(tab.CombsUndo->isEnabled());

        // A remove step gets the other mark; undo takes back only that step.
        SelectStatValues(stats, {"1"});
        stats.StatFilterExclude->trigger();
        QCOMPARE(history.rowCount(), 2);
        QVERIFY(
            SameIcon(history.data(history.index(1, 0), Qt::DecorationRole), TFilterRowsModel::RemoveIcon()));
        QVERIFY(TFilterRowsModel::KeepIcon().pixmap(16).toImage() !=
                TFilterRowsModel::RemoveIcon().pixmap(16).toImage());
        tab.CombsUndo->trigger();
        QCOMPARE(model.rowCount(), WithFiveOrSeventeen);
        QCOMPARE(history.rowCount(), 1);
        QVERIFY(!tab.CombsUndo->isEnabled());

        // Keep step again, then two undos in a row: the second one is not possible.
        SelectStatValues(stats, {"5", "17"});
        stats.StatFilterInclude->trigger();
        QCOMPARE(history.rowCount(), 2);
        tab.CombsUndo->trigger();
        tab.CombsUndo->trigger(); // disabled: ignored
        QCOMPARE(model.rowCount(), WithFiveOrSeventeen);
        QCOMPARE(history.rowCount(), 1);
        QVERIFY(f.Messages.empty());
    }

    void undoOfTheOnlyStepGivesTheFullSet() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        QVERIFY(f.Start());
        TCombsTab& tab = *f.Window->CombsTab();
        SelectStatValues(*f.Window->StatsTab(), {"5", "17"});
        f.Window->StatsTab()->StatFilterInclude->trigger();
        QCOMPARE(tab.Model()->rowCount(), WithFiveOrSeventeen);
        tab.CombsUndo->trigger();
        QCOMPARE(tab.Model()->rowCount(), FullSet);
        QCOMPARE(tab.FiltersModel()->rowCount(), 0);
        QVERIFY(!tab.CombsUndo->isEnabled());
        QCOMPARE(f.Window->StatusText(TFormMain::PanelCombs), QStringLiteral("Комбинаций: 2704156"));
    }

    void excludeWithSpinEditAndEnter() {
        TGuiFixture f;
        f.WriteArchive(ThreeDraws());
        QVERIFY(f.Start());
        TCombsTab& tab = *f.Window->CombsTab();
        f.Window->LeftPages()->setCurrentIndex(1);
        QSpinBox& spin = *tab.ExcludeEdit();
        QCOMPARE(spin.minimum(), 0);
        QCOMPARE(spin.maximum(), 2147483647);
        QCOMPARE(spin.toolTip(),
                 QStringLiteral("Исключить указанное количество последних тиражей из списка комбинаций"));
        QCOMPARE(tab.ExcludeButton()->text(), QStringLiteral("[-] Тиражи"));

        // Zero: the command is off and Enter does nothing.
        QCOMPARE(spin.value(), 0);
        QVERIFY(!tab.CombsExclude->isEnabled());
        QVERIFY(!tab.ExcludeButton()->isEnabled());
        QTest::keyClick(&spin, Qt::Key_Return);
        QCOMPARE(tab.FiltersModel()->rowCount(), 0);

        // Typed text counts once Enter confirms it.
        spin.setFocus();
        spin.selectAll();
        QTest::keyClicks(&spin, "2");
        QTest::keyClick(&spin, Qt::Key_Return);
        QCOMPARE(f.Core->View().DrawsExclude, 2);
        // The two newest draws are gone.
        QCOMPARE(tab.Model()->rowCount(), FullSet - 2);
        QCOMPARE(RowNumbers(*tab.Model(), 0), Comb({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        const TFilterRowsModel& history = *tab.FiltersModel();
        QCOMPARE(history.rowCount(), 1);
        QCOMPARE(Cell(history, 0, 0), QStringLiteral("Последние тиражи"));
        QCOMPARE(Cell(history, 0, 1), QStringLiteral("2"));
        QCOMPARE(Cell(history, 0, 2), QString::number(FullSet - 2));
        QVERIFY(
            SameIcon(history.data(history.index(0, 0), Qt::DecorationRole), TFilterRowsModel::RemoveIcon()));

        // Half-typed text runs nothing.
        spin.selectAll();
        QTest::keyClick(&spin, Qt::Key_Delete);
        QTest::keyClick(&spin, Qt::Key_Return);
        QCOMPARE(history.rowCount(), 1);

        // The button, at an offset: the draws at offsets 1 and 2.
        f.Window->DrawsTab()->OffsetEdit()->setValue(1);
        spin.setValue(2);
        tab.ExcludeButton()->click();
        QCOMPARE(history.rowCount(), 2);
        QCOMPARE(tab.Model()->rowCount(), FullSet - 3);
        QCOMPARE(RowNumbers(*tab.Model(), 0), Comb({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13}));
        QCOMPARE(RowNumbers(*tab.Model(), tab.Model()->rowCount() - 1),
                 Comb({12, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
        QVERIFY(f.Messages.empty());
    }

    void deleteSelectedRows() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TCombsTab& tab = *f.Window->CombsTab();
        QTableView& list = *tab.List();
        const TCombsModel& model = *tab.Model();
        const TCombination fourth = RowNumbers(model, 3);
        QVERIFY(!tab.CombsDelete->isEnabled());
        QCOMPARE(tab.CombsDelete->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));

        QItemSelectionModel& selection = *list.selectionModel();
        selection.select(QItemSelection(model.index(0, 0), model.index(2, 13)), QItemSelectionModel::Select);
        selection.select(model.index(10, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        // Overlapping ranges count each row once.
        selection.select(QItemSelection(model.index(1, 0), model.index(1, 13)), QItemSelectionModel::Select);
        QVERIFY(tab.CombsDelete->isEnabled());
        tab.CombsDelete->trigger();

        QCOMPARE(model.rowCount(), FullSet - 4);
        QCOMPARE(RowNumbers(model, 0), fourth);
        QVERIFY(!selection.hasSelection());
        QVERIFY(!tab.CombsDelete->isEnabled());
        const TFilterRowsModel& history = *tab.FiltersModel();
        QCOMPARE(Cell(history, 0, 0), QStringLiteral("Выделенные комбинации"));
        QCOMPARE(Cell(history, 0, 1), QStringLiteral("4"));
        QCOMPARE(Cell(history, 0, 2), QString::number(FullSet - 4));
        QVERIFY(
            SameIcon(history.data(history.index(0, 0), Qt::DecorationRole), TFilterRowsModel::RemoveIcon()));

        tab.CombsUndo->trigger();
        QCOMPARE(model.rowCount(), FullSet);
        QCOMPARE(history.rowCount(), 0);
    }

    void selectAllCopyAndDeleteTheFullSet() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TCombsTab& tab = *f.Window->CombsTab();
        QItemSelectionModel& selection = *tab.List()->selectionModel();
        QCOMPARE(tab.CombsSelectAll->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
        tab.CombsSelectAll->trigger();
        // One range, not 2,704,156 of them.
        QCOMPARE(selection.selection().size(), 1);
        QVERIFY(selection.isRowSelected(0));
        QVERIFY(selection.isRowSelected(FullSet - 1));
        const std::vector<std::size_t> rows = SelectedRows(selection.selection());
        QCOMPARE(rows.size(), std::size_t(FullSet));
        QCOMPARE(rows.back(), std::size_t(FullSet - 1));
        QCOMPARE(f.Window->StatusText(TFormMain::PanelOperation), QString());

        tab.CombsCopy->trigger();
        const QString text = QGuiApplication::clipboard()->text();
        // Two digits twelve times, eleven spaces and CR LF.
        QCOMPARE(text.size(), qsizetype(FullSet) * 37);
        QVERIFY(text.startsWith(QStringLiteral("01 02 03 04 05 06 07 08 09 10 11 12\r\n01 02 03")));
        QVERIFY(text.endsWith(QStringLiteral("\r\n13 14 15 16 17 18 19 20 21 22 23 24\r\n")));
        QVERIFY(tab.CombsPaste->isEnabled());

        tab.CombsDelete->trigger();
        QCOMPARE(tab.Model()->rowCount(), 0);
        QVERIFY(!selection.hasSelection());
        QCOMPARE(Cell(*tab.FiltersModel(), 0, 1), QString::number(FullSet));
        QVERIFY(!tab.CombsSelectAll->isEnabled());
        QVERIFY(!tab.CombsCopy->isEnabled());
        QVERIFY(f.Messages.empty());
    }

    void copyOfSomeRowsInListOrder() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TCombsTab& tab = *f.Window->CombsTab();
        const TCombsModel& model = *tab.Model();
        QItemSelectionModel& selection = *tab.List()->selectionModel();
        // Selected bottom row first: the text still follows the list.
        selection.select(model.index(FullSet - 1, 0),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection.select(model.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        tab.CombsCopy->trigger();
        QCOMPARE(
            QGuiApplication::clipboard()->text(),
            QStringLiteral("01 02 03 04 05 06 07 08 09 10 11 12\r\n13 14 15 16 17 18 19 20 21 22 23 24\r\n"));

        // The keys reach the commands, not the list's own copy of one cell.
        f.Window->LeftPages()->setCurrentWidget(&tab);
        f.Window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.Window.get()));
        tab.List()->setFocus();
        tab.List()->setCurrentIndex(model.index(1, 3));
        QTest::keyClick(tab.List(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("01 02 03 04 05 06 07 08 09 10 11 13\r\n"));
        QTest::keyClick(tab.List(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(tab.List()->selectionModel()->selection().size(), 1);
        QVERIFY(tab.List()->selectionModel()->isRowSelected(FullSet - 1));
    }

    void pasteFromTheClipboard() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TCombsTab& tab = *f.Window->CombsTab();
        QGuiApplication::clipboard()->clear();
        QCoreApplication::processEvents();
        QVERIFY(!tab.CombsPaste->isEnabled());
        QCOMPARE(tab.CombsPaste->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));

        f.Core->CombsExclude(0); // a history row that a good paste clears
        QCOMPARE(tab.FiltersModel()->rowCount(), 1);
        // The last line needs no line break; any of the separators will do.
        SetClipboard(QStringLiteral("24 1 2 3 4 5 6 7 8 9 10 11\r\n13-14-15-16-17-18-19-20-21-22-23-24"));
        QVERIFY(tab.CombsPaste->isEnabled());
        tab.CombsPaste->trigger();
        QCOMPARE(tab.Model()->rowCount(), 2);
        QCOMPARE(RowNumbers(*tab.Model(), 0), Comb({24, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
        QCOMPARE(RowNumbers(*tab.Model(), 1), Comb({13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
        QCOMPARE(tab.FiltersModel()->rowCount(), 0);
        QVERIFY(!tab.CombsUndo->isEnabled());
        QCOMPARE(f.Window->StatusText(TFormMain::PanelCombs), QStringLiteral("Комбинаций: 2"));
        QVERIFY(f.Messages.empty());

        // An empty line between two combinations: the message, and the list as it was.
        SetClipboard(QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12\n\n1 2 3 4 5 6 7 8 9 10 11 13\n"));
        tab.CombsPaste->trigger();
        QCOMPARE(f.TextsOf(TMessageKind::Error),
                 std::vector<QString>{QStringLiteral("Некорректная комбинация: \"\"!")});
        QCOMPARE(tab.Model()->rowCount(), 2);
        QCOMPARE(RowNumbers(*tab.Model(), 0), Comb({24, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
        QVERIFY(!tab.CombsUndo->isEnabled());

        QGuiApplication::clipboard()->clear();
        QCoreApplication::processEvents();
        QVERIFY(!tab.CombsPaste->isEnabled());
    }

    void generationDialog() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TCombsTab& tab = *f.Window->CombsTab();
        QCOMPARE(tab.CombsGenerate->shortcut(), QKeySequence(Qt::Key_F2));
        f.Core->CombsExclude(0);
        QVERIFY(tab.CombsUndo->isEnabled());

        QString browseFilter;
        SetFileDialogAnswerer([&](bool save, const QString& filter) {
            browseFilter = filter;
            return save ? QString() : QStringLiteral("/data/my list.lcv");
        });
        struct TState {
            bool Parameter, Browse;
        };
        std::vector<TState> states;
        QStringList captions;
        bool startedUnchecked = false;
        OnModal<TCombsGenerateDialog>([&](TCombsGenerateDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Создание нового списка комбинаций"));
            for (int i = 0; i < d->ModeList()->count(); ++i)
                captions << d->ModeList()->itemText(i);
            startedUnchecked = !d->DefaultBox()->isChecked();
            for (int mode = 0; mode < 5; ++mode) {
                d->ModeList()->setCurrentIndex(mode);
                states.push_back({d->ParameterEdit()->isEnabled(), d->BrowseButton()->isEnabled()});
            }
            d->BrowseButton()->click();
            QCOMPARE(d->ParameterEdit()->text(), QStringLiteral("/data/my list.lcv"));
            d->ModeList()->setCurrentIndex(2);
            d->ParameterEdit()->setText(QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;12;13"));
            d->DefaultBox()->setChecked(true);
            d->accept();
        });
        tab.CombsGenerate->trigger();

        QCOMPARE(captions, (QStringList{"Полный список (все возможные для данного лото варианты)",
                                        "Мои числа - должно присутствовать любое из указанных",
                                        "Мои числа - комбинации только из списка указанных",
                                        "Мои числа - исключить комбинации с любым из указанных",
                                        "Загрузить список из заранее подготовленного CSV-файла"}));
        QVERIFY(startedUnchecked);
        const std::vector<std::pair<bool, bool>> expected = {
            {false, false}, {true, false}, {true, false}, {true, false}, {true, true}};
        QCOMPARE(states.size(), expected.size());
        for (std::size_t i = 0; i < states.size(); ++i) {
            QCOMPARE(states[i].Parameter, expected[i].first);
            QCOMPARE(states[i].Browse, expected[i].second);
        }
        QCOMPARE(browseFilter, QStringLiteral("Файлы комбинаций (*.lcv)"));

        // Thirteen own numbers, all twelve from the list: 13 combinations, nothing to undo.
        QCOMPARE(tab.Model()->rowCount(), 13);
        QCOMPARE(tab.FiltersModel()->rowCount(), 0);
        QVERIFY(!tab.CombsUndo->isEnabled());
        QCOMPARE(f.Core->GenerateDefaults().Mode, 2);
        const TIniFile ini = TIniFile::Load(f.Path() / MainSettingsFileName);
        TGenerateDefaults stored;
        ReadGenerateGroup(ini, stored);
        QCOMPARE(stored.Mode, 2);
        QCOMPARE(stored.Parameters, std::string("1;2;3;4;5;6;7;8;9;10;11;12;13"));

        // Next time: the new defaults, the box unchecked again; cancel changes nothing.
        int mode = -1;
        QString parameter;
        bool checked = true;
        OnModal<TCombsGenerateDialog>([&](TCombsGenerateDialog* d) {
            mode = d->ModeList()->currentIndex();
            parameter = d->ParameterEdit()->text();
            checked = d->DefaultBox()->isChecked();
            d->reject();
        });
        tab.CombsGenerate->trigger();
        QCOMPARE(mode, 2);
        QCOMPARE(parameter, QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;12;13"));
        QVERIFY(!checked);
        QCOMPARE(tab.Model()->rowCount(), 13);

        // Without the box the defaults stay.
        OnModal<TCombsGenerateDialog>([&](TCombsGenerateDialog* d) {
            d->ModeList()->setCurrentIndex(3);
            d->ParameterEdit()->setText(QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12"));
            d->accept();
        });
        tab.CombsGenerate->trigger();
        QCOMPARE(tab.Model()->rowCount(), 1);
        QCOMPARE(RowNumbers(*tab.Model(), 0), Comb({13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
        QCOMPARE(f.Core->GenerateDefaults().Mode, 2);
        QVERIFY(f.Messages.empty());
    }

    void enablingRules() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TCombsTab& tab = *f.Window->CombsTab();
        TStatsTab& stats = *f.Window->StatsTab();
        auto enabled = [](std::initializer_list<QAction*> actions) {
            QStringList on;
            for (QAction* a : actions)
                if (a->isEnabled())
                    on << a->text();
            return on;
        };
        const auto all = {tab.CombsGenerate, tab.CombsOpen,           tab.CombsSave,
                          tab.CombsUndo,     tab.CombsExclude,        tab.CombsDelete,
                          tab.CombsCopy,     tab.CombsPaste,          tab.CombsSelectAll,
                          tab.CombsDistinct, tab.CombsFind,           tab.CombsDetails,
                          tab.CombsExcel,    stats.StatFilterInclude, stats.StatFilterExclude};

        // Full list, empty archive, nothing focused or selected, spin edit above zero.
        tab.ExcludeEdit()->setValue(5);
        QCOMPARE(enabled(all),
                 (QStringList{"Генерировать", "Открыть", "Сохранить", "Копировать в буфер", "Выделить все",
                              "Количество уникальных номеров", "Экспорт в Microsoft Excel"}));
        // A focused row: find and details; a selected one: delete.
        tab.List()->setCurrentIndex(tab.Model()->index(5, 0));
        QVERIFY(tab.CombsFind->isEnabled());
        QVERIFY(tab.CombsDetails->isEnabled());
        QVERIFY(tab.CombsDelete->isEnabled());
        tab.List()->selectionModel()->clearSelection();
        QVERIFY(!tab.CombsDelete->isEnabled());
        QVERIFY(tab.CombsFind->isEnabled());

        // With draws the exclusion needs a count above zero.
        QVERIFY(f.Core->DrawsAdd(DrawOf(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})));
        QVERIFY(tab.CombsExclude->isEnabled());
        tab.ExcludeEdit()->setValue(0);
        QVERIFY(!tab.CombsExclude->isEnabled());
        tab.ExcludeEdit()->setValue(1);
        QVERIFY(tab.CombsExclude->isEnabled());

        // An empty list: only what makes a new list, and the distinct count.
        QVERIFY(f.Core->CombsGenerate({1, ""}, false));
        QCOMPARE(tab.Model()->rowCount(), 0);
        SelectStatValues(stats, {"5"});
        QVERIFY(stats.List()->selectionModel()->hasSelection());
        QCOMPARE(enabled(all), (QStringList{"Генерировать", "Открыть", "Количество уникальных номеров"}));

        // Busy: nothing, and the spin edit waits too.
        {
            TBusyScope busy(*f.Core, "Долгая операция...");
            QCOMPARE(enabled(all), QStringList());
            QVERIFY(!tab.ExcludeEdit()->isEnabled());
        }
        QVERIFY(tab.ExcludeEdit()->isEnabled());

        // Every command is in the menu "Комбинации".
        QMenu* menu = nullptr;
        for (QAction* a : f.Window->menuBar()->actions())
            if (a->text() == QStringLiteral("Комбинации"))
                menu = a->menu();
        QVERIFY(menu);
        for (QAction* a :
             {tab.CombsGenerate, tab.CombsOpen, tab.CombsSave, tab.CombsUndo, tab.CombsExclude,
              tab.CombsDelete, tab.CombsCopy, tab.CombsPaste, tab.CombsSelectAll, tab.CombsDistinct,
              tab.CombsFind, tab.CombsDetails, tab.CombsExcel, tab.CombsColor})
            QVERIFY2(menu->actions().contains(a), qPrintable(a->text()));
        QCOMPARE(tab.CombsOpen->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(tab.CombsSave->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(tab.CombsUndo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(tab.CombsExclude->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
        QCOMPARE(tab.CombsCopy->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
        QCOMPARE(tab.CombsFind->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
        QVERIFY(tab.CombsDistinct->shortcut().isEmpty());
        QVERIFY(tab.CombsDetails->shortcut().isEmpty());
        QVERIFY(tab.CombsExcel->shortcut().isEmpty());
    }

    void filesFindDistinctAndDetails() {
        TGuiFixture f;
        f.WriteArchive({DrawOf(7, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
                        DrawOf(8, {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1})});
        QVERIFY(f.Start());
        TCombsTab& tab = *f.Window->CombsTab();
        QVERIFY(f.Core->CombsGenerate({2, "1;2;3;4;5;6;7;8;9;10;11;12;13"}, false));

        // Save with the default extension, then open a file with a short and a blank line.
        const std::filesystem::path saved = f.Path() / "list.lcv";
        QString saveFilter;
        SetFileDialogAnswerer([&](bool save, const QString& filter) {
            saveFilter = filter;
            return save ? QString::fromStdString((f.Path() / "list").string()) : QString();
        });
        tab.CombsSave->trigger();
        QCOMPARE(saveFilter, QStringLiteral("Файлы комбинаций (*.lcv)"));
        const std::string bytes = ReadBytes(saved);
        const std::string first = "1;2;3;4;5;6;7;8;9;10;11;12\r\n";
        QCOMPARE(bytes.substr(0, first.size()), first);
        QCOMPARE(int(std::count(bytes.begin(), bytes.end(), '\n')), 13);

        WriteBytes(f.Path() / "other.lcv",
                   "1;2;3;4;5;6;7;8;9;10;11\r\n\r\n24,23,22,21,20,19,18,17,16,15,14,99\r\n");
        SetFileDialogAnswerer([&](bool save, const QString&) {
            return save ? QString() : QString::fromStdString((f.Path() / "other.lcv").string());
        });
        f.Core->CombsExclude(0);
        tab.CombsOpen->trigger();
        QCOMPARE(tab.Model()->rowCount(), 1);
        QCOMPARE(RowNumbers(*tab.Model(), 0), Comb({24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 99}));
        QCOMPARE(tab.FiltersModel()->rowCount(), 0);
        QVERIFY(!tab.CombsUndo->isEnabled());

        // A file that cannot be read keeps the list.
        SetFileDialogAnswerer([&](bool save, const QString&) {
            return save ? QString() : QString::fromStdString((f.Path() / "missing.lcv").string());
        });
        tab.CombsOpen->trigger();
        QCOMPARE(f.TextsOf(TMessageKind::Error).size(), std::size_t(1));
        QCOMPARE(tab.Model()->rowCount(), 1);
        f.Messages.clear();

        QVERIFY(f.Core->CombsGenerate({2, "1;2;3;4;5;6;7;8;9;10;11;12;13"}, false));
        tab.List()->setCurrentIndex(tab.Model()->index(0, 0));
        tab.CombsFind->trigger();
        tab.List()->setCurrentIndex(tab.Model()->index(1, 0));
        tab.CombsFind->trigger();
        tab.CombsDistinct->trigger();
        const std::vector<QString> infos = f.TextsOf(TMessageKind::Info);
        QCOMPARE(infos.size(), std::size_t(3));
        QCOMPARE(infos[0], QStringLiteral("Выделенная комбинация найдена в следующих тиражах:\n\n") +
                               Q(DrawToText(f.Core->Draws()[1])) + QStringLiteral("\n") +
                               Q(DrawToText(f.Core->Draws()[0])));
        QCOMPARE(infos[1], QStringLiteral("Выделенная комбинация не найдена архиве тиражей!"));
        QCOMPARE(infos[2], QStringLiteral("В текущем списке комбинаций содержится 13 уникальных номеров"));

        // Details: no draw number or date, the numbers on the card.
        QStringList properties;
        QStringList cardTexts;
        OnModal<TDrawDetailsWindow>([&](TDrawDetailsWindow* d) {
            for (int r = 0; r < d->Properties()->rowCount(); ++r)
                properties << d->Properties()->item(r, 0)->text();
            for (int y = 0; y < d->Card()->rowCount(); ++y)
                for (int x = 0; x < d->Card()->columnCount(); ++x)
                    if (!d->Card()->item(y, x)->text().isEmpty())
                        cardTexts << d->Card()->item(y, x)->text();
            d->reject();
        });
        tab.CombsDetails->trigger();
        QVERIFY(!properties.isEmpty());
        QVERIFY(!properties.contains(QStringLiteral("Номер тиража:")));
        QVERIFY(!properties.contains(QStringLiteral("Дата тиража:")));
        cardTexts.sort();
        QStringList numbers;
        for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13})
            numbers << QString::number(n);
        numbers.sort();
        QCOMPARE(cardTexts, numbers);

        // The spreadsheet, titled with the tab's caption.
        SetFileDialogAnswerer([&](bool save, const QString&) {
            return save ? QString::fromStdString((f.Path() / "combs.xlsx").string()) : QString();
        });
        tab.CombsExcel->trigger();
        QVERIFY(f.TextsOf(TMessageKind::Error).empty());
        QCOMPARE(ReadBytes(f.Path() / "combs.xlsx").substr(0, 2), std::string("PK"));
    }

    void viewStateRestoredAndWritten() {
        auto dir = std::make_shared<TTempDir>();
        WriteBytes(dir->Path() / ViewStateFileName,
                   "[TFormMain]\r\nFiltersHeight=120\r\nDrawsExclude=7\r\n"
                   "ColorCombs=0\r\nlvCombs.Column0=91\r\nlvFilters.Column1=131\r\n");
        {
            // A page never shown keeps the stored height.
            TGuiFixture f(dir);
            QVERIFY(f.Start());
            TCombsTab& tab = *f.Window->CombsTab();
            QCOMPARE(tab.ExcludeEdit()->value(), 7);
            QVERIFY(!tab.CombsColor->isChecked());
            QCOMPARE(tab.List()->columnWidth(0), 91);
            QCOMPARE(tab.Filters()->columnWidth(1), 131);
            // Designed widths, wider only where the font needs it.
            QVERIFY(tab.Filters()->columnWidth(0) >= 150);
            QVERIFY(tab.Filters()->columnWidth(2) >= 60);
            const QModelIndex cell = tab.Model()->index(0, TCombsModel::ColFirstNumber);
            QCOMPARE(tab.Model()->data(cell, Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
            f.Window->close();
        }
        QCOMPARE(FrmValue(dir->Path(), "FiltersHeight"), std::string("120"));
        QCOMPARE(FrmValue(dir->Path(), "DrawsExclude"), std::string("7"));

        TGuiFixture f(dir);
        QVERIFY(f.Start());
        TCombsTab& tab = *f.Window->CombsTab();
        f.Window->LeftPages()->setCurrentIndex(1);
        QTRY_COMPARE(tab.Splitter()->sizes().value(1), 120);

        // The colour switch is written at once.
        tab.CombsColor->trigger();
        QVERIFY(f.Core->View().ColorCombs);
        QCOMPARE(FrmValue(f.Path(), "ColorCombs"), std::string("1"));
        for (int i = 0; i < NumbersInDraw; ++i) {
            const QModelIndex cell = tab.Model()->index(0, TCombsModel::ColFirstNumber + i);
            QCOMPARE(tab.Model()->data(cell, Qt::BackgroundRole).value<QColor>().rgb() & 0xFFFFFF,
                     NumberColour(i + 1, f.Core->Config().ChannelSize));
        }
        QCOMPARE(
            tab.Model()->data(tab.Model()->index(0, TCombsModel::ColSum), Qt::BackgroundRole).value<QColor>(),
            QColor(Qt::white));

        tab.ExcludeEdit()->setValue(9);
        const QList<int> sizes = tab.Splitter()->sizes();
        tab.Splitter()->setSizes({sizes[0] + sizes[1] - 90, 90});
        tab.Filters()->setColumnWidth(2, 77);
        f.Window->close();
        QCOMPARE(FrmValue(f.Path(), "DrawsExclude"), std::string("9"));
        QCOMPARE(FrmValue(f.Path(), "FiltersHeight"), std::string("90"));
        QCOMPARE(FrmValue(f.Path(), "lvFilters.Column2"), std::string("77"));
        QCOMPARE(FrmValue(f.Path(), "lvCombs.Column0"), std::string("91"));
    }
};

QTEST_MAIN(TCombsTabTest)
#include "CombsTabTest.moc"
