#include "RegularDialog.h"

#include "GuiText.h"
#include "StandardTexts.h"
#include "app/IUserInterface.h"
#include "stakes/StakeRecord.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace kumby::gui {

TRegularDialog::TRegularDialog(const TRegularInput& input, bool oneSelected, const TRegularsArray& existing,
                               IUserInterface& ui, QWidget* parent)
    : QDialog(parent), OneSelected_(oneSelected), Existing_(existing), Ui_(ui) {
    setWindowTitle(QStringLiteral("Добавление регулярной ставки"));

    Comment_ = new QLineEdit(Q(input.Comment));
    Comment_->setObjectName(QStringLiteral("edComment"));
    Comment_->setMaxLength(StakeCommentMaxLength);
    Comment_->setMinimumWidth(300);
    UseMyComb_ = new QRadioButton(QStringLiteral("Использовать постоянную стартовую комбинацию:"));
    UseMyComb_->setObjectName(QStringLiteral("rbUseMyComb"));
    CombStart_ = new QLineEdit(Q(input.CombText));
    CombStart_->setObjectName(QStringLiteral("edCombStart"));
    CombStart_->setToolTip(QStringLiteral("Введите числа, разделенные точкой с запятой или запятой"));
    UseLastDraw_ = new QRadioButton(QStringLiteral("Использовать данные предыдущего тиража"));
    UseLastDraw_->setObjectName(QStringLiteral("rbUseLastDraw"));
    (input.UseLastDraw ? UseLastDraw_ : UseMyComb_)->setChecked(true);
    Step_ = new QSpinBox;
    Step_->setObjectName(QStringLiteral("edStep"));
    Step_->setRange(-MaxRegularStep, MaxRegularStep);
    Step_->setValue(std::clamp(input.Step, -MaxRegularStep, MaxRegularStep));
    Step_->setToolTip(QStringLiteral("Шаг изменения элементов комбинации"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TRegularDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TRegularDialog::reject);
    connect(UseMyComb_, &QRadioButton::toggled, this, [this] { SyncEnabled(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Комментарий к ставке:")));
    layout->addWidget(Comment_);
    layout->addWidget(UseMyComb_);
    layout->addWidget(CombStart_);
    layout->addWidget(UseLastDraw_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Шаг:"), Step_);
    layout->addLayout(form);
    layout->addWidget(buttons);
    SyncEnabled();
    Comment_->setFocus();
}

void TRegularDialog::SyncEnabled() {
    CombStart_->setEnabled(OneSelected_ && UseMyComb_->isChecked());
}

TRegularInput TRegularDialog::Result() const {
    return {S(Comment_->text()), UseLastDraw_->isChecked(), S(CombStart_->text()), Step_->value()};
}

void TRegularDialog::accept() {
    const std::string problem = CheckRegularInput(Result(), OneSelected_, Existing_);
    if (!problem.empty()) {
        Ui_.ShowError(problem);
        (problem == BadStakeNumbersText ? CombStart_ : Comment_)->setFocus();
        return;
    }
    QDialog::accept();
}

TTestCountDialog::TTestCountDialog(int maxCount, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Количество тестов"));
    Count_ = new QSpinBox;
    Count_->setRange(std::min(1, maxCount), std::max(0, maxCount));
    Count_->setValue(std::min(10, maxCount));
    Count_->setToolTip(
        QStringLiteral("Укажите количество последних тиражей, на которых будет производится тестирование"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TTestCountDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TTestCountDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Укажите количество тестов:")));
    layout->addWidget(Count_);
    layout->addWidget(buttons);
}

int TTestCountDialog::Count() const {
    return Count_->value();
}

} // namespace kumby::gui
