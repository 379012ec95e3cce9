#include "StandardTexts.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QPushButton>
#include <QTranslator>
#include <QTreeView>

namespace kumby::gui {

namespace {

// Qt's catalogue leaves the kind of a folder and of an unknown file in English.
class TRussianIconProvider : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override {
        if (info.isDir())
            return QStringLiteral("Папка");
        const QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        if (!mime.isDefault() && !mime.comment().isEmpty())
            return mime.comment();
        return info.suffix().isEmpty() ? QStringLiteral("Файл")
                                       : QStringLiteral("Файл %1").arg(info.suffix().toUpper());
    }
};

// The file list takes its dates from the system locale; ours is Russian.
class TRussianDatesModel : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    static constexpr int DateColumn = 3;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole && index.column() == DateColumn)
            if (const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel()))
                return QLocale().toString(files->lastModified(mapToSource(index)), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

bool LoadQtRussianTranslations() {
    static QTranslator* translator = nullptr;
    if (translator)
        return true;
    auto* loaded = new QTranslator(QCoreApplication::instance());
    if (!loaded->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}

void SetRussianButtonTexts(QDialogButtonBox& buttons) {
    static const struct {
        QDialogButtonBox::StandardButton Button;
        const char* Text;
    } texts[] = {
        {QDialogButtonBox::Ok, "OK"},           {QDialogButtonBox::Cancel, "Отмена"},
        {QDialogButtonBox::Close, "Закрыть"},   {QDialogButtonBox::Yes, "Да"},
        {QDialogButtonBox::No, "Нет"},          {QDialogButtonBox::Save, "Сохранить"},
        {QDialogButtonBox::Open, "Открыть"},    {QDialogButtonBox::Apply, "Применить"},
        {QDialogButtonBox::Help, "Справка"},    {QDialogButtonBox::Abort, "Прервать"},
        {QDialogButtonBox::Retry, "Повторить"}, {QDialogButtonBox::Ignore, "Пропустить"},
    };
    for (const auto& t : texts)
        if (QPushButton* button = buttons.button(t.Button))
            button->setText(QString::fromUtf8(t.Text));
}

void SetUpFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    static TRussianIconProvider icons;
    dialog.setIconProvider(&icons);
    dialog.setProxyModel(new TRussianDatesModel(&dialog));
    // Room for every column of the detailed list, the date last and whole.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 460)));
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        const QFontMetrics metrics = list->fontMetrics();
        header->setStretchLastSection(true);
        header->resizeSection(TRussianDatesModel::DateColumn - 1,
                              metrics.horizontalAdvance(QStringLiteral("Документ CSV")) + 24);
        header->resizeSection(TRussianDatesModel::DateColumn,
                              metrics.horizontalAdvance(QStringLiteral("00.00.0000 00:00")) + 24);
    }
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Папка:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Имя файла:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Тип файлов:"));
    dialog.setLabelText(QFileDialog::Accept, dialog.acceptMode() == QFileDialog::AcceptSave
                                                 ? QStringLiteral("Сохранить")
                                                 : QStringLiteral("Открыть"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Отмена"));
    dialog.setWindowTitle(dialog.acceptMode() == QFileDialog::AcceptSave ? QStringLiteral("Сохранить как")
                                                                         : QStringLiteral("Открыть"));
}

QString AskText(QWidget* parent, const QString& caption, const QString& label, const QString& text,
                bool& ok) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setTextValue(text);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Отмена"));
    ok = dialog.exec() == QDialog::Accepted;
    return ok ? dialog.textValue() : QString();
}

} // namespace kumby::gui
