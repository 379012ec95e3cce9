#include "StakeDialog.h"

#include "GuiText.h"
#include "StandardTexts.h"
#include "model/VexoUtils.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace kumby::gui {

namespace {

void SetHint(QWidget* w, const char* hint) {
    w->setToolTip(QString::fromUtf8(hint));
    w->setStatusTip(QString::fromUtf8(hint));
}

} // namespace

TStakeDialog::TStakeDialog(const TStakeRecord& stake, IUserInterface& ui, QWidget* parent)
    : QDialog(parent), Ui_(ui) {
    setWindowTitle(QStringLiteral("Добавление ставки"));

    DrawNumber_ = new QSpinBox;
    DrawNumber_->setRange(1, INT_MAX);
    DrawNumber_->setValue(std::max(1, stake.DrawNumber));
    SetHint(DrawNumber_, "Номер первого тиража");

    DrawsCount_ = new QSpinBox;
    DrawsCount_->setRange(1, MaxStakeCopies);
    DrawsCount_->setValue(1);
    SetHint(DrawsCount_, "Количество тиражей, на которые нужно сделать ставку (начиная с указанного)");

    const bool hasNumbers = stake.NumbersCount() > 0;
    StakeData_ = new QLineEdit(hasNumbers ? Q(NumberListToText(stake.Numbers, ";")) : QString());
    StakeData_->setMinimumWidth(360);
    SetHint(StakeData_, "Введите числа, разделенные точкой с запятой или запятой");

    StakeSum_ = new QLineEdit;
    StakeSum_->setReadOnly(true);
    SetHint(StakeSum_, "Сумма введенных чисел");

    Comment_ = new QLineEdit(Q(stake.CommentUtf8()));
    Comment_->setMaxLength(StakeCommentMaxLength);
    SetHint(Comment_, "Комментарий к ставке");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TStakeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TStakeDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Номер тиража:"), DrawNumber_);
    form->addRow(QStringLiteral("Кол-во тиражей:"), DrawsCount_);
    form->addRow(QStringLiteral("Ставка:"), StakeData_);
    form->addRow(QStringLiteral("Сумма:"), StakeSum_);
    form->addRow(QStringLiteral("Комментарий к ставке:"), Comment_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    auto showSum = [this] { StakeSum_->setText(QString::number(EnteredNumbersSum(S(StakeData_->text())))); };
    connect(StakeData_, &QLineEdit::textChanged, this, showSum);
    showSum();
    StakeData_->setFocus();
}

Session::TStakeInput TStakeDialog::Result() const {
    Session::TStakeInput input;
    input.DrawNumber = DrawNumber_->value();
    input.Copies = DrawsCount_->value();
    input.NumbersText = S(StakeData_->text());
    input.Comment = S(Comment_->text());
    return input;
}

void TStakeDialog::accept() {
    const std::string problem = CheckManualStake(S(StakeData_->text()), S(Comment_->text()));
    if (!problem.empty()) {
        Ui_.ShowError(problem);
        QLineEdit* field = problem == BadStakeNumbersText ? StakeData_ : Comment_;
        field->setFocus();
        field->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace kumby::gui
