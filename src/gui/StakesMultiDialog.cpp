#include "StakesMultiDialog.h"

#include "GuiText.h"
#include "StandardTexts.h"
#include "app/IUserInterface.h"
#include "stakes/StakeRecord.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace kumby::gui {

TStakesMultiDialog::TStakesMultiDialog(int drawNumber, IUserInterface& ui, QWidget* parent)
    : TStakesMultiDialog(drawNumber, ManualStakeComment, ui, parent) {}

TStakesMultiDialog::TStakesMultiDialog(int drawNumber, const std::string& comment, IUserInterface& ui,
                                       QWidget* parent)
    : QDialog(parent), Ui_(ui) {
    setWindowTitle(QStringLiteral("Добавление мультиставки"));

    DrawNumber_ = new QSpinBox;
    DrawNumber_->setRange(1, INT_MAX);
    DrawNumber_->setValue(std::max(1, drawNumber));
    DrawNumber_->setToolTip(QStringLiteral("Номер первого тиража"));

    DrawsCount_ = new QSpinBox;
    DrawsCount_->setRange(1, MaxStakeCopies);
    DrawsCount_->setValue(1);
    DrawsCount_->setToolTip(
        QStringLiteral("Количество тиражей, на которые нужно сделать ставку (начиная с указанного)"));

    Comment_ = new QLineEdit(Q(comment));
    Comment_->setMaxLength(StakeCommentMaxLength);
    Comment_->setMinimumWidth(300);
    Comment_->setToolTip(QStringLiteral("Комментарий к ставке"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TStakesMultiDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TStakesMultiDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Номер тиража:"), DrawNumber_);
    form->addRow(QStringLiteral("Кол-во тиражей:"), DrawsCount_);
    form->addRow(QStringLiteral("Комментарий к ставке:"), Comment_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    Comment_->setFocus();
}

int TStakesMultiDialog::DrawNumber() const {
    return DrawNumber_->value();
}

int TStakesMultiDialog::Copies() const {
    return DrawsCount_->value();
}

std::string TStakesMultiDialog::Comment() const {
    return S(Comment_->text());
}

void TStakesMultiDialog::accept() {
    if (Comment_->text().isEmpty()) {
        Ui_.ShowError(NoStakeCommentText);
        Comment_->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace kumby::gui
