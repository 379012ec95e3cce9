// The favourites manager and the reset of the favourites: marks, names and display
// options reach the method list and the filter-names file; Cancel changes nothing.

#include "GuiTestSupport.h"

#include "FileDialogs.h"
#include "FiltersManagerDialog.h"
#include "StatsTab.h"
#include "io/IniFile.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QTreeWidget>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

QStringList ListTexts(const QComboBox& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.itemText(i);
    return texts;
}

std::string FltValue(const TGuiFixture& f, const char* section, const char* key) {
    return TIniFile::Load(f.Path() / FilterNamesFileName).ReadString(section, key, "<none>");
}

// Clicks a tree node the way the user does.
void ClickItem(QTreeWidget& tree, QTreeWidgetItem* item) {
    tree.scrollToItem(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
}

} // namespace

class TFiltersManagerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }
    void cleanup() { SetFileDialogAnswerer({}); }

    void marksChooseTheListAndNoMarksShowAll() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(1, 1), SpreadDraw(2, 2)});
        QVERIFY(f.Start());
        TStatsTab& tab = *f.Window->StatsTab();
        const TStatList& registry = f.Core->Registry();
        const int all = static_cast<int>(registry.Count());
        QCOMPARE(tab.MethodList()->count(), all);

        QString title, total;
        int groups = 0;
        bool numsMarked = false, digsMarked = false;
        OnModal<TFiltersManagerDialog>([&](TFiltersManagerDialog* d) {
            title = d->windowTitle();
            total = d->TotalLabel()->text();
            groups = d->Tree()->topLevelItemCount();
            d->MarkAll(false);
            // A click marks, a double click marks too (its first click did).
            ClickItem(*d->Tree(), d->MethodItem(registry.FindByCode("DIGS")));
            QTreeWidgetItem* nums = d->MethodItem(registry.FindByCode("NUMS"));
            d->Tree()->scrollToItem(nums);
            QTest::mouseDClick(d->Tree()->viewport(), Qt::LeftButton, {},
                               d->Tree()->visualItemRect(nums).center());
            numsMarked = TFiltersManagerDialog::IsMarked(nums);
            digsMarked = TFiltersManagerDialog::IsMarked(d->MethodItem(registry.FindByCode("DIGS")));
            d->OrderedBox()->setChecked(true);
            d->ShowGroupNameBox()->setChecked(false);
            d->ShowMethodFlagsBox()->setChecked(false);
            d->accept();
        });
        tab.FiltersManager->trigger();
        QCOMPARE(title, QStringLiteral("Менеджер избранных методов расчета статистики"));
        QCOMPARE(total, QStringLiteral("всего %1 методов").arg(all));
        // The numbers, sums, differences, channels, matrix, segments, sequences, repeats,
        // series, periods, chains, characteristic number and shredding families have landed.
        QCOMPARE(groups, 13);
        QVERIFY(numsMarked);
        QVERIFY(digsMarked);

        // Sorted by name (against registry order), without group tags and flags.
        QCOMPARE(ListTexts(*tab.MethodList()), (QStringList{"Цифры тиража", "Числа тиража"}));
        QCOMPARE(tab.MethodList()->currentIndex(), 0);
        QCOMPARE(FltValue(f, "FILTERS", "Favorites"), std::string("NUMS,DIGS"));
        QCOMPARE(FltValue(f, "FILTERS", "Ordered"), std::string("1"));
        QCOMPARE(FltValue(f, "FILTERS", "ShowGroupName"), std::string("0"));
        QVERIFY(f.Core->LastStatMethod() < registry.Count());

        // Nothing marked means everything shown.
        bool evenMarked = true, ordered = false;
        OnModal<TFiltersManagerDialog>([&](TFiltersManagerDialog* d) {
            digsMarked = TFiltersManagerDialog::IsMarked(d->MethodItem(registry.FindByCode("DIGS")));
            evenMarked = TFiltersManagerDialog::IsMarked(d->MethodItem(registry.FindByCode("EVEN")));
            ordered = d->OrderedBox()->isChecked();
            d->MarkAll(false);
            d->accept();
        });
        tab.FiltersManager->trigger();
        QVERIFY(digsMarked);
        QVERIFY(!evenMarked);
        QVERIFY(ordered);
        QVERIFY(registry.AllMarked);
        QCOMPARE(tab.MethodList()->count(), all);
        QCOMPARE(FltValue(f, "FILTERS", "Favorites"), std::string());
        QVERIFY(f.Messages.empty());
    }

    void groupButtonsAndReset() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TStatsTab& tab = *f.Window->StatsTab();
        const TStatList& registry = f.Core->Registry();
        OnModal<TFiltersManagerDialog>([&](TFiltersManagerDialog* d) {
            d->MarkAll(false);
            // The group of the selected method.
            d->Tree()->setCurrentItem(d->MethodItem(registry.FindByCode("PRIM")));
            d->MarkGroup(true);
            d->MethodItem(registry.FindByCode("DIGS"))->setData(0, Qt::CheckStateRole, Qt::Unchecked);
            d->accept();
        });
        tab.FiltersManager->trigger();
        int numbersGroup = 0;
        for (std::size_t i = 0; i < registry.Count(); ++i)
            numbersGroup += registry.Items(i).StatClass->Group == 0;
        QCOMPARE(numbersGroup, 56); // the numbers family and the 36 combination value methods
        QCOMPARE(tab.MethodList()->count(), numbersGroup - 1);
        QVERIFY(!registry.IsShown(registry.FindByCode("DIGS")));
        QVERIFY(!registry.IsShown(registry.FindByCode("SUMS")));

        // "Все доступные статистики": No keeps the favourites, Yes drops them.
        f.Answers = {false};
        tab.FiltersReset->trigger();
        QCOMPARE(f.Messages.back().Text,
                 QStringLiteral("Вы действительно хотите сбросить список избранных фильтров?"));
        QCOMPARE(tab.MethodList()->count(), numbersGroup - 1);
        f.Answers = {true};
        tab.FiltersReset->trigger();
        QCOMPARE(tab.MethodList()->count(), static_cast<int>(registry.Count()));
        QCOMPARE(FltValue(f, "FILTERS", "Favorites"), std::string());
    }

    void renameStoresCustomNames() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TStatsTab& tab = *f.Window->StatsTab();
        const TStatList& registry = f.Core->Registry();
        const int pos3 = registry.FindByCode("POS3");
        const int digs = registry.FindByCode("DIGS");
        const QString digsCaption = QString::fromStdString(registry.Items(digs).MethodCaption());

        QString promptTitle, promptLabel, promptText;
        OnModal<TFiltersManagerDialog>([&](TFiltersManagerDialog* d) {
            d->Tree()->setCurrentItem(d->MethodItem(pos3));
            OnModal<QInputDialog>([&](QInputDialog* input) {
                promptTitle = input->windowTitle();
                promptLabel = input->labelText();
                promptText = input->textValue();
                input->setTextValue(QStringLiteral("  Третья позиция "));
                input->accept();
            });
            d->RenameSelected();
            // A name that differs from the default only in case is the default.
            d->MethodItem(digs)->setText(0, digsCaption.toUpper());
            d->accept();
        });
        tab.FiltersManager->trigger();
        QCOMPARE(promptTitle, QStringLiteral("Переименование"));
        QCOMPARE(promptLabel, QStringLiteral("Введите наименование фильтра:"));
        QCOMPARE(promptText, QString::fromStdString(registry.Items(pos3).MethodCaption()));

        QCOMPARE(FltValue(f, "STRINGS_RUS", "POS3"), std::string("Третья позиция"));
        QCOMPARE(FltValue(f, "STRINGS_RUS", "DIGS"), std::string("<none>"));
        QCOMPARE(registry.Items(pos3).CustomName, std::string("Третья позиция"));
        QVERIFY(registry.Items(digs).CustomName.empty());
        const QString listed = QString::fromStdString(registry.DisplayName(pos3, true));
        QVERIFY(listed.startsWith(QStringLiteral("{ num } Третья позиция [ ")));
        QVERIFY(ListTexts(*tab.MethodList()).contains(listed));

        // "Вернуть" gives the default name back.
        QString shownName;
        OnModal<TFiltersManagerDialog>([&](TFiltersManagerDialog* d) {
            shownName = d->MethodItem(pos3)->text(0);
            d->Tree()->setCurrentItem(d->MethodItem(pos3));
            d->RestoreSelected();
            d->accept();
        });
        tab.FiltersManager->trigger();
        QCOMPARE(shownName, QStringLiteral("Третья позиция"));
        QCOMPARE(FltValue(f, "STRINGS_RUS", "POS3"), std::string("<none>"));
        QVERIFY(registry.Items(pos3).CustomName.empty());
    }

    void cancelChangesNothing() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TStatsTab& tab = *f.Window->StatsTab();
        const TStatList& registry = f.Core->Registry();
        const QStringList before = ListTexts(*tab.MethodList());
        const bool fileBefore = std::filesystem::exists(f.Path() / FilterNamesFileName);
        const std::string bytesBefore =
            fileBefore ? ReadBytes(f.Path() / FilterNamesFileName) : std::string();

        OnModal<TFiltersManagerDialog>([&](TFiltersManagerDialog* d) {
            d->MarkAll(false);
            d->MethodItem(0)->setText(0, QStringLiteral("Другое имя"));
            d->OrderedBox()->setChecked(true);
            d->ShowGroupNameBox()->setChecked(false);
            d->reject();
        });
        tab.FiltersManager->trigger();
        QCOMPARE(ListTexts(*tab.MethodList()), before);
        QVERIFY(registry.AllMarked);
        QVERIFY(registry.Items(0).CustomName.empty());
        QVERIFY(!registry.Ordered);
        QVERIFY(registry.ShowGroupName);
        QCOMPARE(std::filesystem::exists(f.Path() / FilterNamesFileName), fileBefore);
        if (fileBefore)
            QCOMPARE(ReadBytes(f.Path() / FilterNamesFileName), bytesBefore);
    }

    void importAndExportOfNames() {
        TGuiFixture f;
        QVERIFY(f.Start());
        TStatsTab& tab = *f.Window->StatsTab();
        const TStatList& registry = f.Core->Registry();
        const int pos1 = registry.FindByCode("POS1");
        const std::filesystem::path exported = f.Path() / "names.flt";
        const std::filesystem::path imported = f.Path() / "in.flt";
        WriteBytes(imported, "[STRINGS_RUS]\r\nPOS1=\xcf\xe5\xf0\xe2\xe0\xff\r\n"); // "Первая" in CP1251

        QString askedFilter;
        QString typedName, importedName;
        OnModal<TFiltersManagerDialog>([&](TFiltersManagerDialog* d) {
            d->MarkAll(false);
            d->MethodItem(0)->setText(0, QStringLiteral("Все числа"));
            SetFileDialogAnswerer([&](bool save, const QString& filter) {
                askedFilter = filter;
                return save ? QString::fromStdString((f.Path() / "names").string()) : QString();
            });
            d->ExportNames();
            // The tree keeps the typed name, the registry its own.
            typedName = d->MethodItem(0)->text(0);
            SetFileDialogAnswerer([&](bool save, const QString&) {
                return save ? QString() : QString::fromStdString(imported.string());
            });
            d->ImportNames();
            importedName = d->MethodItem(pos1)->text(0);
            d->reject();
        });
        tab.FiltersManager->trigger();

        QCOMPARE(askedFilter, QStringLiteral("Наименования фильтров (*.flt)"));
        const TIniFile names = TIniFile::Load(exported);
        QCOMPARE(names.ReadString("STRINGS_RUS", "NUMS", ""), std::string("Все числа"));
        QCOMPARE(names.ReadString("STRINGS_RUS", "POS2", ""),
                 registry.Items(registry.FindByCode("POS2")).MethodCaption());
        QCOMPARE(names.ReadString("FILTERS", "Favorites", "<none>"), std::string("<none>"));
        QCOMPARE(typedName, QStringLiteral("Все числа"));
        QVERIFY(registry.Items(0).CustomName.empty());
        // Import acted on the registry at once, Cancel or not.
        QCOMPARE(importedName, QStringLiteral("Первая"));
        QCOMPARE(registry.Items(pos1).CustomName, std::string("Первая"));
        QVERIFY(f.Messages.empty());
    }
};

QTEST_MAIN(TFiltersManagerTest)
#include "FiltersManagerTest.moc"
