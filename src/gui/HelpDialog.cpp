#include "HelpDialog.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kumby::gui {

THelpDialog::THelpDialog(const QString& helpFile, QWidget* parent) : QDialog(parent), HelpFile_(helpFile) {
    setWindowTitle(QStringLiteral("Справочная информация"));

    auto* text = new QLabel(QStringLiteral(
        "Программа ведёт архив тиражей лотереи «12 из 24» и помогает выбирать ставки по статистике.\n\n"
        "Архив тиражей находится на вкладке «Архив тиражей»: тиражи можно добавлять вручную, "
        "изменять, удалять, загружать из CSV-файла и сохранять в него. Смещение назад позволяет "
        "проверить любой анализ так, будто последние тиражи ещё не состоялись.\n\n"
        "Стоимость ставки, размеры выигрышей, матрица и каналы настраиваются командой «Параметры»."));
    text->setWordWrap(true);
    text->setMinimumWidth(420);

    auto* help = new QPushButton(QStringLiteral("Открыть справочную систему"));
    help->setEnabled(!HelpFile_.isEmpty());
    connect(help, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(HelpFile_)); });

    DontShow_ = new QCheckBox(QStringLiteral("Больше не показывать данный диалог"));
    auto* close = new QPushButton(QStringLiteral("Закрыть"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addSpacing(8);
    layout->addWidget(DontShow_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool THelpDialog::DontShowAgain() const {
    return DontShow_->isChecked();
}

} // namespace kumby::gui
