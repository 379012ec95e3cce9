// The draws tab deletes exactly the selected rows and asks before it adds a draw
// whose number the archive already has.

#include "GuiTestSupport.h"

#include "DrawDialog.h"
#include "DrawsModel.h"
#include "DrawsTab.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

void PressOk(QDialog* dialog) {
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

std::vector<int> FirstNumbersOf(const TDrawsArray& draws) {
    std::vector<int> numbers;
    for (const TDrawRecord& d : draws)
        numbers.push_back(d.Numbers[0]);
    return numbers;
}

} // namespace

class TDrawsSafetyTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }

    void deleteRemovesTheSelectedRowNotAnotherWithItsNumber() {
        TGuiFixture f;
        // Draw 11 twice; the list shows newest first, so row 1 is the second draw 11.
        f.WriteArchive({SpreadDraw(10, 1), SpreadDraw(11, 2), SpreadDraw(11, 3), SpreadDraw(12, 4)});
        QVERIFY(f.Start());
        TDrawsTab& tab = *f.Window->DrawsTab();
        tab.List()->selectionModel()->select(tab.List()->model()->index(1, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        f.Answers = {true};
        tab.DrawsDelete->trigger();
        QCOMPARE(FirstNumbersOf(ReadArchive(f.Path())), (std::vector<int>{1, 2, 4}));
    }

    void addOfAnExistingNumberAsksFirst() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(10, 1), SpreadDraw(11, 2)});
        QVERIFY(f.Start());
        bool stayedOpen = false;
        OnModal<TDrawDialog>([&](TDrawDialog* d) {
            d->NumberEdit()->setValue(10);
            d->NumbersEdit()->setText(QStringLiteral("1;2;3;4;5;6;7;8;9;10;11;12"));
            f.Answers = {false};
            PressOk(d); // No: back to the number
            stayedOpen = d->isVisible() && d->focusWidget() == d->NumberEdit();
            f.Answers = {true};
            PressOk(d);
        });
        f.Window->DrawsTab()->DrawsAdd->trigger();
        QVERIFY(stayedOpen);
        const std::vector<QString> questions = f.TextsOf(TMessageKind::Question);
        QCOMPARE(questions.size(), std::size_t(2));
        QCOMPARE(questions[0],
                 QStringLiteral("Тираж № 10 уже есть в архиве. Добавить еще один тираж с этим номером?"));
        const TDrawsArray stored = ReadArchive(f.Path());
        QCOMPARE(stored.size(), std::size_t(3));
        QCOMPARE(stored[2].Number, 10);
        QVERIFY(f.TextsOf(TMessageKind::Error).empty());
    }

    void noAddAfterTheLargestNumber() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(2147483647, 1)});
        QVERIFY(f.Start());
        f.Window->DrawsTab()->DrawsAdd->trigger();
        QCOMPARE(f.TextsOf(TMessageKind::Error).size(), std::size_t(1));
        QCOMPARE(ReadArchive(f.Path()).size(), std::size_t(1));
    }
};

QTEST_MAIN(TDrawsSafetyTest)
#include "DrawsSafetyTest.moc"
