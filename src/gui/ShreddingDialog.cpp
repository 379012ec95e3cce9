#include "ShreddingDialog.h"

#include "StandardTexts.h"
#include "app/MainSettings.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kumby::gui {

TShreddingDialog::TShreddingDialog(const TShreddingSettings& shredding, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Методы шинковки"));

    auto* grid = new QGridLayout;
    for (int k = 1; k <= 3; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        auto* edit = new QLineEdit(QString::fromStdString(shredding.Formulas[i]));
        edit->setObjectName(QStringLiteral("edFormula%1").arg(k));
        edit->setToolTip(QStringLiteral("Используемая формула"));
        edit->setMinimumWidth(420);
        auto* digits = new QSpinBox;
        digits->setObjectName(QStringLiteral("edDigits%1").arg(k));
        digits->setToolTip(QStringLiteral("Количество используемых знаков после запятой"));
        digits->setRange(MinShredDigits, MaxShredDigits);
        digits->setValue(shredding.Digits[i]);
        auto* label = new QLabel(QStringLiteral("Формула %1:").arg(k));
        label->setBuddy(edit);
        grid->addWidget(label, k - 1, 0);
        grid->addWidget(edit, k - 1, 1);
        grid->addWidget(digits, k - 1, 2);
        Formulas_[i] = edit;
        Digits_[i] = digits;
    }
    grid->setColumnStretch(1, 1);

    auto* info = new QLabel(QStringLiteral("Используемые переменные:\n"
                                           "n1, n2, n3, ..., nX - числа текущего тиража\n"
                                           "p1, p2, p3, ..., pX - числа предыдущего тиража"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(info);
    layout->addStretch();
    layout->addWidget(buttons);
}

TShreddingSettings TShreddingDialog::Result() const {
    TShreddingSettings s;
    for (std::size_t i = 0; i < 3; ++i) {
        s.Formulas[i] = Formulas_[i]->text().toStdString();
        s.Digits[i] = static_cast<uint8_t>(Digits_[i]->value());
    }
    return s;
}

} // namespace kumby::gui
