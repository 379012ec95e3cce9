// The draws commands through their dialogs and questions, checked in the archive file.

#include "GuiTestSupport.h"

#include "DrawDetailsWindow.h"
#include "DrawDialog.h"
#include "DrawsModel.h"
#include "DrawsTab.h"
#include "FileDialogs.h"
#include "SpreadsheetExport.h"
#include "model/VexoUtils.h"

#include <QAction>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTimeEdit>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

void PressOk(QDialog* dialog) {
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

void SelectRows(QTableView& list, std::initializer_list<int> rows) {
    list.clearSelection();
    for (int row : rows)
        list.selectionModel()->select(list.model()->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list.selectionModel()->setCurrentIndex(list.model()->index(*rows.begin(), 0),
                                           QItemSelectionModel::NoUpdate);
}

std::vector<int32_t> NumbersOf(const TDrawsArray& draws) {
    std::vector<int32_t> numbers;
    for (const TDrawRecord& d : draws)
        numbers.push_back(d.Number);
    return numbers;
}

} // namespace

class TDrawsCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }
    void cleanup() { SetFileDialogAnswerer({}); }

    void addAppendsTheDialogsDraw() {
        TGuiFixture f;
        QVERIFY(f.Start());
        QString caption, shownNumbers;
        int shownNumber = 0;
        OnModal<TDrawDialog>([&](TDrawDialog* d) {
            caption = d->windowTitle();
            shownNumber = d->NumberEdit()->value();
            shownNumbers = d->NumbersEdit()->text();
            d->NumbersEdit()->setText(QStringLiteral("24, 1;2 ;;3,4,5,6,7,8,9,10,11"));
            d->DateEdit()->setDate(QDate(2021, 2, 1));
            d->TimeEdit()->setTime(QTime(20, 0));
            PressOk(d);
        });
        f.Window->DrawsTab()->DrawsAdd->trigger();

        QCOMPARE(caption, QStringLiteral("Введите данные следующего тиража"));
        QCOMPARE(shownNumber, 1);
        QCOMPARE(shownNumbers, QStringLiteral("0;0;0;0;0;0;0;0;0;0;0;0"));
        const TDrawsArray stored = ReadArchive(f.Path());
        QCOMPARE(stored.size(), std::size_t(1));
        QCOMPARE(stored[0].Number, 1);
        const TCombination expected = {24, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
        QVERIFY(stored[0].Combination() == expected);
        QCOMPARE(stored[0].DateTextUtf8(), std::string("01.02.2021 20:00"));
        QCOMPARE(f.Window->StatusText(TFormMain::PanelDraws), QStringLiteral("Архив тиражей: 1"));
        QCOMPARE(f.Window->StatusText(TFormMain::PanelNextDraw), QStringLiteral("Следующий тираж: 2"));
        QVERIFY(f.Messages.empty());
    }

    void dialogRefusesBadCombinationsAndStaysOpen() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(10, 1)});
        QVERIFY(f.Start());
        const QStringList bad = {
            QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;11"),    QStringLiteral("1;2;3;4;5;6;7;8;9;10;11"),
            QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;25"),    QStringLiteral("0;2;3;4;5;6;7;8;9;10;11;12"),
            QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;12;13"), QStringLiteral("a;2;3;4;5;6;7;8;9;10;11;12"),
        };
        QStringList failures;
        OnModal<TDrawDialog>([&](TDrawDialog* d) {
            for (const QString& text : bad) {
                const std::size_t before = f.Messages.size();
                d->NumbersEdit()->setText(text);
                PressOk(d);
                const bool refused =
                    f.Messages.size() == before + 1 &&
                    f.Messages.back().Text == QStringLiteral("Введена некорректная комбинация!") &&
                    d->isVisible() && d->focusWidget() == d->NumbersEdit();
                if (!refused)
                    failures << text;
            }
            d->reject();
        });
        f.Window->DrawsTab()->DrawsAdd->trigger();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral(" | "))));
        QCOMPARE(NumbersOf(ReadArchive(f.Path())), std::vector<int32_t>{10});
    }

    void changeReplacesTheFocusedDraw() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(10, 1), SpreadDraw(11, 2, "03.04.2020 21:30"), SpreadDraw(12, 3)});
        QVERIFY(f.Start());
        TDrawsTab& tab = *f.Window->DrawsTab();
        SelectRows(*tab.List(), {1});
        QVERIFY(tab.DrawsChange->isEnabled());

        int shownNumber = 0;
        QString shownNumbers;
        QDateTime shownDate;
        OnModal<TDrawDialog>([&](TDrawDialog* d) {
            shownNumber = d->NumberEdit()->value();
            shownNumbers = d->NumbersEdit()->text();
            shownDate = QDateTime(d->DateEdit()->date(), d->TimeEdit()->time());
            d->NumberEdit()->setValue(111);
            d->NumbersEdit()->setText(QStringLiteral("13;14;15;16;17;18;19;20;21;22;23;24"));
            PressOk(d);
        });
        tab.DrawsChange->trigger();

        QCOMPARE(shownNumber, 11);
        QCOMPARE(shownNumbers,
                 QString::fromStdString(NumbersToText(SpreadDraw(11, 2).Numbers, NumbersInDraw, ";")));
        QCOMPARE(shownDate, QDateTime(QDate(2020, 4, 3), QTime(21, 30)));
        const TDrawsArray stored = ReadArchive(f.Path());
        QCOMPARE(NumbersOf(stored), (std::vector<int32_t>{10, 111, 12}));
        QCOMPARE(stored[1].Numbers[0], uint8_t(13));
        QCOMPARE(stored[1].DateTextUtf8(), std::string("03.04.2020 21:30"));
    }

    void cancelledDialogChangesNothing() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(10, 1)});
        QVERIFY(f.Start());
        const std::string before = ReadBytes(f.Path() / DrawsFileName);
        SelectRows(*f.Window->DrawsTab()->List(), {0});
        OnModal<TDrawDialog>([](TDrawDialog* d) {
            d->NumbersEdit()->setText(QStringLiteral("13;14;15;16;17;18;19;20;21;22;23;24"));
            d->reject();
        });
        f.Window->DrawsTab()->DrawsChange->trigger();
        QCOMPARE(ReadBytes(f.Path() / DrawsFileName), before);
    }

    void deleteAsksFirstAndRemovesTheSelectedDraws() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(10, 1), SpreadDraw(11, 2), SpreadDraw(12, 3)});
        QVERIFY(f.Start());
        TDrawsTab& tab = *f.Window->DrawsTab();

        SelectRows(*tab.List(), {0, 2});
        f.Answers = {false};
        tab.DrawsDelete->trigger();
        QCOMPARE(f.Messages.size(), std::size_t(1));
        QCOMPARE(f.Messages[0].Kind, TMessageKind::Deletion);
        QCOMPARE(f.Messages[0].Caption, QStringLiteral("Предупреждение"));
        QCOMPARE(f.Messages[0].Text,
                 QStringLiteral("Удалить все выделенные записи (всего будет удалено 2 записи(ей))?"));
        QCOMPARE(NumbersOf(ReadArchive(f.Path())), (std::vector<int32_t>{10, 11, 12}));

        f.Answers = {true};
        tab.DrawsDelete->trigger();
        QCOMPARE(NumbersOf(ReadArchive(f.Path())), std::vector<int32_t>{11});
        QVERIFY(!tab.List()->selectionModel()->hasSelection());
        QCOMPARE(f.Window->StatusText(TFormMain::PanelDraws), QStringLiteral("Архив тиражей: 1"));

        SelectRows(*tab.List(), {0});
        f.Answers = {true};
        tab.DrawsDelete->trigger();
        QCOMPARE(f.Messages.back().Text, QStringLiteral("Удалить выделенную запись?"));
        QVERIFY(ReadArchive(f.Path()).empty());
        QVERIFY(!tab.DrawsExport->isEnabled());
    }

    void exportAndImportThroughTheFileDialogs() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(5000, 1)});
        QVERIFY(f.Start());
        TDrawsTab& tab = *f.Window->DrawsTab();
        const QString csv = QString::fromStdString((f.Path() / "out").string());
        QString askedFilter;
        SetFileDialogAnswerer([&](bool save, const QString& filter) {
            askedFilter = filter;
            return save ? csv : QString();
        });
        tab.DrawsExport->trigger();
        QCOMPARE(askedFilter, QStringLiteral("Файлы тиражей (*.csv)"));
        const std::string line = ReadBytes(f.Path() / "out.csv");
        QCOMPARE(line, std::string("5000;\"01.02.2021 20:00\";1;3;5;7;9;11;13;15;17;19;21;23\r\n"));

        WriteBytes(f.Path() / "in.csv", "5000;\"01.02.2021 20:00\";1;3;5;7;9;11;13;15;17;19;21;23\r\n"
                                        "5001;\"02.02.2021 20:00\";2;4;6;8;10;12;14;16;18;20;22;24\r\n");
        SetFileDialogAnswerer(
            [&](bool, const QString&) { return QString::fromStdString((f.Path() / "in.csv").string()); });
        tab.DrawsImport->trigger();
        QCOMPARE(NumbersOf(ReadArchive(f.Path())), (std::vector<int32_t>{5000, 5001}));
        QCOMPARE(tab.Model()->rowCount(), 2);
        QCOMPARE(f.TextsOf(TMessageKind::Info),
                 std::vector<QString>{QStringLiteral("Добавлено тиражей: 1.\nУже были в архиве: 1.")});

        // A cancelled dialog does nothing.
        f.Messages.clear();
        SetFileDialogAnswerer([](bool, const QString&) { return QString(); });
        tab.DrawsImport->trigger();
        QCOMPARE(tab.Model()->rowCount(), 2);
        QVERIFY(f.Messages.empty());
    }

    void spreadsheetExportWritesAWorkbook() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(1, 1), SpreadDraw(2, 2)});
        QVERIFY(f.Start());
        const std::filesystem::path book = f.Path() / "draws.xlsx";
        SetFileDialogAnswerer([&](bool save, const QString& filter) {
            return save && filter.contains(QStringLiteral("*.xlsx"))
                       ? QString::fromStdString((f.Path() / "draws").string())
                       : QString();
        });
        f.Window->DrawsTab()->DrawsExcel->trigger();
        QVERIFY(f.Messages.empty());
        QVERIFY(std::filesystem::exists(book));
        QCOMPARE(ReadBytes(book).substr(0, 2), std::string("PK"));

        // A folder that does not exist: the failure is shown, nothing is claimed.
        QString error;
        QVERIFY(!WriteSpreadsheet(QString::fromStdString((f.Path() / "missing" / "x.xlsx").string()), "T",
                                  *f.Window->DrawsTab()->Model(), {0, 1}, {50, 30}, error));
        QVERIFY(!error.isEmpty());
    }

    void detailsShowTheFocusedDraw() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(5000, 1), SpreadDraw(5001, 2)});
        QVERIFY(f.Start());
        TDrawsTab& tab = *f.Window->DrawsTab();
        QString caption, number, date;
        OnModal<TDrawDetailsWindow>([&](TDrawDetailsWindow* d) {
            caption = d->windowTitle();
            number = d->Properties()->item(0, 1)->text();
            date = d->Properties()->item(1, 1)->text();
            d->reject();
        });
        // A double click on the row opens the window as the command does.
        QTableView& list = *tab.List();
        const QRect row = list.visualRect(list.model()->index(1, TDrawsModel::ColSum));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(caption, QStringLiteral("Подробная информация"));
        QCOMPARE(number, QStringLiteral("5000"));
        QCOMPARE(date, QStringLiteral("01.02.2021 20:00"));
    }
};

QTEST_MAIN(TDrawsCommandsTest)
#include "DrawsCommandsTest.moc"
