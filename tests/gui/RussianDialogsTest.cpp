// The standard dialogs read in Russian: Qt's catalogue is found, and the message
// boxes, the file dialogs, the input dialog and the buttons of our own dialogs show
// no English text.

#include "GuiTestSupport.h"

#include "CombsGenerateDialog.h"
#include "DrawDetailsWindow.h"
#include "DrawDialog.h"
#include "FileDialogs.h"
#include "FilterHelpWindow.h"
#include "SettingsDialog.h"
#include "ShreddingDialog.h"
#include "StandardTexts.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeView>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

// A text a Russian reader can take: some Cyrillic, or only what is not a word
// ("OK" is the one Latin word that Russian buttons keep).
bool ReadsRussian(QString text) {
    text.remove(QLatin1Char('&'));
    if (text == QLatin1String("OK"))
        return true;
    static const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    static const QRegularExpression latinWord(QStringLiteral("[A-Za-z]{2,}"));
    return cyrillic.match(text).hasMatch() || !latinWord.match(text).hasMatch();
}

// Every visible button, label and list header text of a window that reads otherwise.
QStringList EnglishTexts(const QWidget& window) {
    QStringList english;
    auto check = [&](const QString& text) {
        if (!ReadsRussian(text))
            english.push_back(text);
    };
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        if (button->isVisible())
            check(button->text());
    for (const QLabel* label : window.findChildren<QLabel*>())
        if (label->isVisible())
            check(label->text());
    for (const QHeaderView* header : window.findChildren<QHeaderView*>())
        if (header->isVisible() && header->model())
            for (int c = 0; c < header->count(); ++c)
                check(header->model()->headerData(c, header->orientation(), Qt::DisplayRole).toString());
    return english;
}

QStringList ButtonTexts(const QWidget& window) {
    QStringList texts;
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        if (button->isVisible())
            texts.push_back(button->text().remove(QLatin1Char('&')));
    texts.sort();
    return texts;
}

} // namespace

class TRussianDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        SetUpApplication();
        // A machine without Qt's Russian catalogue (qt6-translations-l10n) fails here.
        QVERIFY(LoadQtRussianTranslations());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    }

    void messageBoxesReadRussian() {
        TMessageBoxUi ui;
        QStringList question, error;
        OnModal<QMessageBox>([&](QMessageBox* box) {
            question = ButtonTexts(*box);
            box->button(QMessageBox::No)->click();
        });
        QVERIFY(!ui.Confirm("Удалить выделенную запись?", TConfirmKind::Deletion));
        QCOMPARE(question, (QStringList{"Да", "Нет"}));

        OnModal<QMessageBox>([&](QMessageBox* box) {
            error = ButtonTexts(*box);
            QCOMPARE(box->windowTitle(), QStringLiteral("Ошибка"));
            box->accept();
        });
        ui.ShowError("Ошибка чтения файла тиражей!");
        QCOMPARE(error, (QStringList{"OK"}));

        // Whether to try a failed download again is asked under an error's caption.
        QString retryCaption;
        OnModal<QMessageBox>([&](QMessageBox* box) {
            retryCaption = box->windowTitle();
            box->button(QMessageBox::Yes)->click();
        });
        QVERIFY(ui.Confirm("Повторить?", TConfirmKind::ErrorQuestion));
        QCOMPARE(retryCaption, QStringLiteral("Ошибка"));

        // A box of Qt's own standard buttons takes their names from the catalogue.
        QMessageBox plain(QMessageBox::Question, QStringLiteral("Подтверждение"), QStringLiteral("?"),
                          QMessageBox::Save | QMessageBox::Cancel | QMessageBox::Close);
        plain.show();
        QVERIFY(EnglishTexts(plain).isEmpty());
        QCOMPARE(ButtonTexts(plain), (QStringList{"Закрыть", "Отмена", "Сохранить"}));
    }

    void fileDialogsReadRussian() {
        TTempDir dir;
        WriteBytes(dir / "draws.csv", "1;\"01.02.2021\";1;2;3;4;5;6;7;8;9;10;11;12\r\n");
        std::filesystem::create_directory(dir / "folder");
        for (const bool save : {false, true}) {
            QStringList english, buttons, kinds;
            OnModal<QFileDialog>([&](QFileDialog* dialog) {
                QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
                dialog->setDirectory(QString::fromStdString(dir.Path().string()));
                QTest::qWait(300); // the folder is read in the background
                english = EnglishTexts(*dialog);
                buttons = ButtonTexts(*dialog);
                // The kind of a folder and the dates come from outside the catalogue.
                const QTreeView* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
                for (int r = 0; list && r < list->model()->rowCount(list->rootIndex()); ++r)
                    kinds.push_back(list->model()->index(r, 2, list->rootIndex()).data().toString() + " " +
                                    list->model()->index(r, 3, list->rootIndex()).data().toString());
                dialog->reject();
            });
            const QString name = save ? AskSaveFileName(nullptr, QString::fromUtf8(DrawsFileFilter), "csv")
                                      : AskOpenFileName(nullptr, QString::fromUtf8(DrawsFileFilter));
            QVERIFY(name.isEmpty());
            QVERIFY2(english.isEmpty(), qPrintable(english.join(" | ")));
            QStringList expected{save ? "Сохранить" : "Открыть", "Отмена"};
            expected.sort();
            QCOMPARE(buttons, expected);
            QCOMPARE(kinds.size(), 2);
            for (const QString& kind : kinds) {
                QVERIFY2(ReadsRussian(kind), qPrintable(kind));
                QVERIFY2(kind.contains(QRegularExpression("\\d\\d\\.\\d\\d\\.\\d{4}")), qPrintable(kind));
            }
        }
    }

    void inputDialogReadsRussian() {
        QStringList buttons;
        OnModal<QInputDialog>([&](QInputDialog* dialog) {
            buttons = ButtonTexts(*dialog);
            dialog->setTextValue(QStringLiteral("Мой фильтр"));
            dialog->accept();
        });
        bool ok = false;
        QCOMPARE(AskText(nullptr, QStringLiteral("Переименование"),
                         QStringLiteral("Введите наименование фильтра:"), QStringLiteral("NUMS"), ok),
                 QStringLiteral("Мой фильтр"));
        QVERIFY(ok);
        QCOMPARE(buttons, (QStringList{"OK", "Отмена"}));
    }

    void ourDialogsReadRussian() {
        TMessageBoxUi ui;
        TConfigData config;
        TGenerateDefaults defaults;
        TDetailsContent details;
        details.Properties.emplace_back("Номер тиража:", "1");
        TDrawRecord draw;
        std::vector<std::unique_ptr<QDialog>> dialogs;
        dialogs.push_back(std::make_unique<TSettingsDialog>(config, ui));
        dialogs.push_back(std::make_unique<TCombsGenerateDialog>(defaults));
        dialogs.push_back(std::make_unique<TShreddingDialog>(TShreddingSettings{}));
        dialogs.push_back(std::make_unique<TDrawDialog>(QString::fromUtf8(NextDrawCaption), draw, true, ui));
        dialogs.push_back(std::make_unique<TDrawDetailsWindow>(details, config));
        for (const auto& dialog : dialogs) {
            dialog->show();
            const QStringList english = EnglishTexts(*dialog);
            QVERIFY2(english.isEmpty(), qPrintable(english.join(" | ")));
            dialog->hide();
        }
    }
};

QTEST_MAIN(TRussianDialogsTest)
#include "RussianDialogsTest.moc"
