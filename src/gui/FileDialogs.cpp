#include "FileDialogs.h"

#include "StandardTexts.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace kumby::gui {

namespace {

TFileDialogAnswerer& Answerer() {
    static TFileDialogAnswerer answerer;
    return answerer;
}

} // namespace

void SetFileDialogAnswerer(TFileDialogAnswerer answerer) {
    Answerer() = std::move(answerer);
}

QString AskOpenFileName(QWidget* parent, const QString& filter, const QString& folder) {
    if (Answerer())
        return Answerer()(false, filter);
    QFileDialog dialog(parent, QString(), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    SetUpFileDialog(dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString AskSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix) {
    QString name;
    if (Answerer()) {
        name = Answerer()(true, filter);
    } else {
        QFileDialog dialog(parent, QString(), QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        SetUpFileDialog(dialog);
        if (dialog.exec() == QDialog::Accepted)
            name = dialog.selectedFiles().value(0);
    }
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += QLatin1Char('.') + defaultSuffix;
    return name;
}

std::filesystem::path LocalPath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

} // namespace kumby::gui
