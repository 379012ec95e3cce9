// The tab "Системы": the system game in both modes on a hand-written system (OK and
// Cancel), a missing system, the enabling rules, the setting that hides the tab, and
// the systems the program makes and checks.

#include "GuiTestSupport.h"

#include "ActionList.h"
#include "FileDialogs.h"
#include "GuiText.h"
#include "StakesModel.h"
#include "StakesMultiDialog.h"
#include "StakesTab.h"
#include "SystemDialogs.h"
#include "SystemsTab.h"
#include "io/IniFile.h"
#include "stakes/StakesFile.h"

#include <QAction>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

constexpr const char* SystemName = "12-13-1_0001.dat";
// Over 13 positions: the first, second and fourth lines leave out 13, 1 and 2, whose
// combinations the working list below holds; the third leaves out 12, which it does
// not. The fourth comes unordered.
constexpr const char* SystemText = "1 2 3 4 5 6 7 8 9 10 11 12\r\n"
                                   "2 3 4 5 6 7 8 9 10 11 12 13\r\n"
                                   "1-2-3-4-5-6-7-8-9-10-11-13\r\n"
                                   "13 12 11 10 9 8 7 6 5 4 3 1\r\n";

TDrawsArray TwelveDraws() {
    TDrawsArray draws;
    for (int i = 1; i <= 12; ++i)
        draws.push_back(SpreadDraw(i, i));
    return draws;
}

// Stake kinds of the records of the stakes file, in file order.
std::vector<int> StakeKinds(const std::filesystem::path& dir) {
    const std::string bytes = ReadBytes(dir / StakesFileName);
    std::vector<int> kinds;
    for (std::size_t at = 0; at + StakeRecordSize <= bytes.size(); at += StakeRecordSize)
        kinds.push_back(static_cast<uint8_t>(bytes[at + 1]));
    return kinds;
}

void SetWorkingList(TGuiFixture& f, const TCombsArray& list) {
    f.Core->WorkingList() = list;
    f.Core->Ui().Notify(TSessionEvent::CombsChanged);
    f.Window->Actions().Update();
}

const TCombsArray ThirteenNumbers = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                                     {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
                                     {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}};

QStringList TableColumn(const QTableWidget& table, int column) {
    QStringList cells;
    for (int r = 0; r < table.rowCount(); ++r)
        cells << table.item(r, column)->text();
    return cells;
}

// What a dialog showed, taken before it is answered: a failed comparison then never
// leaves it open.
struct TMultiSeen {
    bool Shown = false;
    QString Title;
    QString Comment;
    int DrawNumber = 0;
    int Copies = 0;
};

void AnswerMultiDialog(TMultiSeen& seen, bool ok) {
    OnModal<TStakesMultiDialog>([&seen, ok](TStakesMultiDialog* d) {
        seen = {true, d->windowTitle(), d->CommentEdit()->text(), d->DrawNumberEdit()->value(),
                d->DrawsCountEdit()->value()};
        ok ? d->accept() : d->reject();
    });
}

struct TReportSeen {
    bool Shown = false;
    QString File;
    QString Combinations;
    QString Guarantee;
    QStringList Draws; // by best match 0..12
};

void AnswerReport(TReportSeen& seen) {
    OnModal<TSystemReportDialog>([&seen](TSystemReportDialog* d) {
        seen = {true, d->FileLabel()->text(), d->CombinationsLabel()->text(), d->GuaranteeLabel()->text(),
                TableColumn(*d->DrawsTable(), 1)};
        d->accept();
    });
}

} // namespace

class TSystemsTabTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }
    void cleanup() { SetFileDialogAnswerer({}); }

    void systemGameInBothModes() {
        TGuiFixture f;
        f.WriteArchive(TwelveDraws());
        std::filesystem::create_directory(f.Path() / SystemsFolderName);
        WriteBytes(f.Path() / SystemsFolderName / SystemName, SystemText);
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        TSystemsTab& tab = *w.SystemsTab();
        QCOMPARE(w.RightPages()->tabText(w.RightPages()->indexOf(&tab)), QStringLiteral("Системы"));
        QVERIFY(w.SystemsMenu()->menuAction()->isVisible());
        QVERIFY(w.SystemsMenu()->actions().contains(tab.SystemStakeAll));
        QVERIFY(w.SystemsMenu()->actions().contains(tab.SystemGenerate));
        // Latin C, then Cyrillic.
        QCOMPARE(tab.SystemStakeAll->text(),
                 QStringLiteral("C") + QStringLiteral("истемная игра по списку системы"));
        QCOMPARE(tab.SystemStakeFilter->text().at(0), QChar(u'C'));
        QCOMPARE(tab.SystemStakeFilter->statusTip(),
                 QStringLiteral(
                     "Системная игра только по комбинациям, которые есть и в системе и в списке комбинаций"));

        SetWorkingList(f, ThirteenNumbers);
        w.RightPages()->setCurrentWidget(&tab);
        QCOMPARE(tab.NumbersLabel()->text(),
                 QStringLiteral("Числа списка комбинаций (n = 13): 1;2;3;4;5;6;7;8;9;10;11;12;13"));
        QCOMPARE(tab.ChosenLabel()->text(), QStringLiteral("Будет использована система: 12-13-1_0001.dat"));
        QCOMPARE(tab.List()->rowCount(), 1);
        QCOMPARE(tab.List()->item(0, TSystemsTab::ColumnN)->text(), QStringLiteral("13"));
        QCOMPARE(tab.List()->item(0, TSystemsTab::ColumnCombinations)->text(), QStringLiteral("4"));
        QVERIFY(tab.List()->item(0, 0)->font().bold());
        QVERIFY(tab.SystemStakeAll->isEnabled());
        QVERIFY(tab.SystemStakeFilter->isEnabled());

        // Cancel makes nothing.
        TMultiSeen seen;
        AnswerMultiDialog(seen, false);
        tab.SystemStakeAll->trigger();
        QVERIFY(seen.Shown);
        QCOMPARE(seen.Title, QStringLiteral("Добавление мультиставки"));
        QCOMPARE(seen.Comment, QStringLiteral("Системная игра для 13 чисел [вся система]: 12-13-1_0001"));
        QCOMPARE(seen.DrawNumber, 13);
        QCOMPARE(seen.Copies, 1);
        QVERIFY(StakeKinds(f.Path()).empty());

        // Every line of the system, then after a separator only those in the list; the
        // grid ends on the last stake also when it does not follow each new one.
        f.Core->SetStakesScrollEnabled(false);
        AnswerMultiDialog(seen, true);
        tab.SystemStakeAll->trigger();
        QCOMPARE(StakeKinds(f.Path()), (std::vector<int>{4, 4, 4, 4}));
        AnswerMultiDialog(seen, true);
        tab.SystemStakeFilter->trigger();
        QCOMPARE(seen.Comment, QStringLiteral("Системная игра для 13 чисел [комбинации]: 12-13-1_0001"));
        QCOMPARE(StakeKinds(f.Path()), (std::vector<int>{4, 4, 4, 4, 0, 4, 4, 4}));
        const TStakesTab& stakes = *w.StakesTab();
        QCOMPARE(stakes.Grid()->currentIndex().row(), stakes.Model()->rowCount() - 1);
        QVERIFY(f.TextsOf(TMessageKind::Error).empty());

        // No system for 14 numbers: the error box, no dialog, no stake.
        SetWorkingList(f,
                       {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}});
        QCOMPARE(tab.ChosenLabel()->text(),
                 QStringLiteral("Система для 14 чисел не найдена или не загружена на компьютер!"));
        QVERIFY(!tab.List()->item(0, 0)->font().bold());
        seen = {};
        AnswerMultiDialog(seen, false);
        tab.SystemStakeFilter->trigger();
        QVERIFY(!seen.Shown);
        QCOMPARE(f.TextsOf(TMessageKind::Error),
                 (std::vector<QString>{ShownText(SystemNotFoundBoxText(14))}));
        QCOMPARE(StakeKinds(f.Path()).size(), std::size_t(8));

        // An empty list: no system game; the systems of the folder can still be made.
        SetWorkingList(f, {});
        QVERIFY(!tab.SystemStakeAll->isEnabled());
        QVERIFY(!tab.SystemStakeFilter->isEnabled());
        QVERIFY(tab.SystemGenerate->isEnabled());
        QCOMPARE(tab.NumbersLabel()->text(), QStringLiteral("Список комбинаций пуст."));
    }

    void generateAndCheckSystems() {
        TGuiFixture f;
        f.WriteArchive(TwelveDraws());
        std::filesystem::create_directory(f.Path() / SystemsFolderName);
        const std::filesystem::path handWritten = f.Path() / SystemsFolderName / SystemName;
        WriteBytes(handWritten, SystemText);
        QVERIFY(f.Start());
        TSystemsTab& tab = *f.Window->SystemsTab();
        SetWorkingList(f,
                       {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}});

        // A request the core refuses keeps the dialog open with the core's message.
        struct {
            QString Title;
            int N = 0;
            bool Reduced = false;
            bool OpenAfterRefusal = false;
            bool MEnabledWhenFull = true;
            QString FullFile;
            QString ReducedFile;
        } asked;
        OnModal<TSystemGenerateDialog>([&](TSystemGenerateDialog* d) {
            asked.Title = d->windowTitle();
            asked.N = d->NEdit()->value();
            asked.Reduced = d->ReducedButton()->isChecked();
            d->MEdit()->setValue(11);
            d->TEdit()->setValue(12);
            d->accept();
            asked.OpenAfterRefusal = d->isVisible();
            d->FullButton()->setChecked(true);
            asked.MEnabledWhenFull = d->MEdit()->isEnabled();
            asked.FullFile = d->FileLabel()->text();
            d->ReducedButton()->setChecked(true);
            d->MEdit()->setValue(12);
            d->TEdit()->setValue(11);
            asked.ReducedFile = d->FileLabel()->text();
            d->accept();
            if (d->isVisible())
                d->reject();
        });
        TReportSeen report;
        AnswerReport(report);
        tab.SystemGenerate->trigger();
        QCOMPARE(asked.Title, QStringLiteral("Создание системы"));
        QCOMPARE(asked.N, 14);
        QVERIFY(asked.Reduced);
        QVERIFY(asked.OpenAfterRefusal);
        QVERIFY(!asked.MEnabledWhenFull);
        QCOMPARE(asked.FullFile, QStringLiteral("12-14-0_0000.dat"));
        QCOMPARE(asked.ReducedFile, QStringLiteral("12-14-0_1211.dat"));
        QCOMPARE(f.TextsOf(TMessageKind::Error),
                 (std::vector<QString>{"Гарантированное количество совпадений t = 12 вне пределов 1..11."}));
        const std::filesystem::path generated = f.Path() / SystemsFolderName / "12-14-0_1211.dat";
        QVERIFY(std::filesystem::exists(generated));
        QVERIFY(report.Shown);
        QCOMPARE(report.File, QString::fromStdString(generated.string()));
        QCOMPARE(report.Combinations, QString::number(SystemFileInfo(generated).Combinations));
        QVERIFY2(report.Guarantee.startsWith(QStringLiteral("11: при 12 выпавших числах")),
                 qPrintable(report.Guarantee));
        // Every draw of 12 of the 14 numbers is matched in 11 or 12 of them.
        QCOMPARE(report.Draws.size(), 13);
        QCOMPARE(report.Draws[11].toInt() + report.Draws[12].toInt(), 91);
        // The new system is listed and is the one the list's 14 numbers would play.
        QCOMPARE(TableColumn(*tab.List(), TSystemsTab::ColumnFile),
                 (QStringList{"12-13-1_0001.dat", "12-14-0_1211.dat"}));
        QCOMPARE(tab.List()->item(1, TSystemsTab::ColumnKind)->text(),
                 QStringLiteral("сокращенная (m = 12, t = 11)"));
        QCOMPARE(tab.ChosenLabel()->text(), QStringLiteral("Будет использована система: 12-14-0_1211.dat"));

        // The check of the hand-written system for 12 drawn numbers among its 13.
        SetFileDialogAnswerer([&](bool save, const QString& filter) {
            if (save || !filter.contains(QStringLiteral("*.dat")))
                return QString();
            return QString::fromStdString(handWritten.string());
        });
        int presetM = 0;
        OnModal<QInputDialog>([&](QInputDialog* d) {
            presetM = d->intValue();
            d->setIntValue(12);
            d->accept();
        });
        report = {};
        AnswerReport(report);
        tab.SystemCheck->trigger();
        QCOMPARE(presetM, 12);
        QVERIFY(report.Shown);
        QCOMPARE(report.Combinations, QStringLiteral("4"));
        QVERIFY2(report.Guarantee.startsWith(QStringLiteral("11: ")), qPrintable(report.Guarantee));
        QCOMPARE(report.Draws.mid(11), (QStringList{"9", "4"}));
        QCOMPARE(f.TextsOf(TMessageKind::Error).size(), std::size_t(1));
    }

    void stopEndsGenerationWithoutAFile() {
        TGuiFixture f;
        f.WriteArchive(TwelveDraws());
        QVERIFY(f.Start());
        TSystemsTab& tab = *f.Window->SystemsTab();
        auto request = [](TSystemGenerateDialog* d) {
            d->NEdit()->setValue(14);
            d->ReducedButton()->setChecked(true);
            d->MEdit()->setValue(12);
            d->TEdit()->setValue(11);
            d->accept();
        };
        // Stop in the progress window as soon as it shows.
        int steps = 0;
        f.Ui.ProgressObserver = [&](long long, long long total) {
            if (total > 0 && f.Ui.Progress() && ++steps == 1)
                f.Ui.Progress()->cancel();
        };
        TReportSeen report;
        OnModal<TSystemGenerateDialog>(request);
        AnswerReport(report);
        tab.SystemGenerate->trigger();
        QVERIFY(steps >= 1);
        QVERIFY(!report.Shown);
        QVERIFY(!f.Ui.Progress());
        QVERIFY(!f.Core->Busy());
        QVERIFY(!std::filesystem::exists(f.Path() / SystemsFolderName / "12-14-0_1211.dat"));
        QVERIFY(f.Messages.empty());

        // The next run is not stopped by the last one's Stop.
        f.Ui.ProgressObserver = nullptr;
        OnModal<TSystemGenerateDialog>(request);
        AnswerReport(report);
        tab.SystemGenerate->trigger();
        QVERIFY(report.Shown);
        QVERIFY(std::filesystem::exists(f.Path() / SystemsFolderName / "12-14-0_1211.dat"));
    }

    void hiddenBySetting() {
        TGuiFixture f;
        f.WriteArchive(TwelveDraws());
        TIniFile ini;
        ini.WriteBool(MainWindowSection, "SystemsEnabled", false);
        ini.Save(f.Path() / ViewStateFileName);
        QVERIFY(f.Start());
        TFormMain& w = *f.Window;
        TSystemsTab& tab = *w.SystemsTab();
        SetWorkingList(f, ThirteenNumbers);
        QCOMPARE(w.RightPages()->indexOf(&tab), -1);
        QVERIFY(!w.SystemsMenu()->menuAction()->isVisible());
        for (QAction* action :
             {tab.SystemStakeAll, tab.SystemStakeFilter, tab.SystemGenerate, tab.SystemCheck})
            QVERIFY(!action->isEnabled());
    }
};

QTEST_MAIN(TSystemsTabTest)
#include "SystemsTabTest.moc"
