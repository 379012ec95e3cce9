#include "StakesFilterDialog.h"

#include "StandardTexts.h"
#include "model/GameConstants.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kumby::gui {

TStakesFilterDialog::TStakesFilterDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Удаление по условию"));

    Condition_ = new QComboBox;
    for (const char* caption : StakeConditionCaptions())
        Condition_->addItem(QString::fromUtf8(caption));
    Condition_->setCurrentIndex(0);
    auto* label = new QLabel(QStringLiteral("Выберите условие:"));
    label->setBuddy(Condition_);

    Value_ = new QSpinBox;
    Value_->setRange(0, NumbersInDraw);
    Value_->setToolTip(QStringLiteral("Количество совпадений"));
    Value_->setStatusTip(Value_->toolTip());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    Ok_ = buttons->button(QDialogButtonBox::Ok);
    Ok_->setToolTip(QStringLiteral("Удалить ставки"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(Condition_, 1);
    row->addWidget(Value_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addStretch();
    layout->addWidget(buttons);
}

TStakeFilter TStakesFilterDialog::Result() const {
    // The dialog's answer travels packed, as the command expects it.
    const int index = std::max(0, Condition_->currentIndex());
    return TStakeFilter::FromPacked(Value_->value() * 256 + index).value_or(TStakeFilter{});
}

} // namespace kumby::gui
