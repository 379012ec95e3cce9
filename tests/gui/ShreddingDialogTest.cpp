// The formula dialog: opened by "Формулы шинковки", Cancel keeps everything, OK
// writes the settings and the method lists show the new formula.

#include "GuiTestSupport.h"

#include "ShreddingDialog.h"
#include "StatsTab.h"
#include "io/IniFile.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

bool ListHas(const QComboBox& list, const QString& text) {
    for (int i = 0; i < list.count(); ++i)
        if (list.itemText(i).contains(text))
            return true;
    return false;
}

} // namespace

class TShreddingDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }

    void opensWithTheCurrentFormulasAndCancelKeepsThem() {
        TGuiFixture f;
        QVERIFY(f.Start());
        bool seen = false;
        OnModal<TShreddingDialog>([&](TShreddingDialog* d) {
            seen = true;
            QCOMPARE(d->windowTitle(), QStringLiteral("Методы шинковки"));
            for (int k = 1; k <= 3; ++k) {
                QCOMPARE(d->FormulaEdit(k)->text(),
                         QString::fromStdString(TShreddingSettings{}.Formulas[k - 1]));
                QCOMPARE(d->FormulaEdit(k)->objectName(), QStringLiteral("edFormula%1").arg(k));
                QCOMPARE(d->FormulaEdit(k)->toolTip(), QStringLiteral("Используемая формула"));
                QCOMPARE(d->DigitsEdit(k)->value(), 2);
                QCOMPARE(d->DigitsEdit(k)->minimum(), 1);
                QCOMPARE(d->DigitsEdit(k)->maximum(), 5);
            }
            QVERIFY(d->findChildren<QLabel*>().size() >= 4);
            d->FormulaEdit(1)->setText(QStringLiteral("n1/8"));
            d->reject();
        });
        f.Window->EditShredding->trigger();
        QVERIFY(seen);
        QCOMPARE(f.Window->EditShredding->text(), QStringLiteral("Формулы шинковки"));
        QCOMPARE(f.Core->Shredding().Formulas[0], TShreddingSettings{}.Formulas[0]);
        QVERIFY(!TIniFile::Load(f.Path() / MainSettingsFileName).HasKey("SHREDDING", "Formula1"));
    }

    void okWritesTheSettingsAndRenamesTheMethods() {
        TGuiFixture f;
        QVERIFY(f.Start());
        QComboBox& methods = *f.Window->StatsTab()->MethodList();
        QVERIFY(
            ListHas(methods, QStringLiteral("Метод шинковки 1: (n1+n2+n3+n4+n5+n6)/(n7+n8+n9+n10+n11+n12)")));
        OnModal<TShreddingDialog>([&](TShreddingDialog* d) {
            d->FormulaEdit(1)->setText(QStringLiteral("n1/8"));
            d->DigitsEdit(1)->setValue(3);
            d->FormulaEdit(3)->setText(QStringLiteral("(n1+"));
            d->accept();
        });
        f.Window->EditShredding->trigger();
        QTRY_VERIFY(ListHas(methods, QStringLiteral("Метод шинковки 1: n1/8")));
        QVERIFY(ListHas(methods, QStringLiteral("Метод шинковки 3: (n1+")));
        QCOMPARE(f.Core->Shredding().Digits[0], uint8_t(3));
        const TIniFile ini = TIniFile::Load(f.Path() / MainSettingsFileName);
        QCOMPARE(ini.ReadString("SHREDDING", "Formula1", ""), std::string("n1/8"));
        QCOMPARE(ini.ReadInteger("SHREDDING", "Formula1Digits", 0), 3);
        QCOMPARE(ini.ReadString("SHREDDING", "Formula3", ""), std::string("(n1+"));
        QVERIFY(f.TextsOf(TMessageKind::Error).empty());
    }
};

QTEST_MAIN(TShreddingDialogTest)
#include "ShreddingDialogTest.moc"
