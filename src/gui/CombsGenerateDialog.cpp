#include "CombsGenerateDialog.h"

#include "FileDialogs.h"
#include "StandardTexts.h"
#include "combs/CombList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kumby::gui {

namespace {

constexpr int MaxParameterLength = 255;

} // namespace

TCombsGenerateDialog::TCombsGenerateDialog(const TGenerateDefaults& defaults, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Создание нового списка комбинаций"));

    Mode_ = new QComboBox;
    for (const char* caption : GenerateModeCaptions())
        Mode_->addItem(QString::fromUtf8(caption));
    Mode_->setCurrentIndex(defaults.Mode >= 0 && defaults.Mode < GenerateModeCount ? defaults.Mode : 0);
    auto* modeLabel = new QLabel(QStringLiteral("Режим генерации списка комбинаций:"));
    modeLabel->setBuddy(Mode_);

    Parameter_ = new QLineEdit(QString::fromStdString(defaults.Parameters));
    Parameter_->setMaxLength(MaxParameterLength);
    Parameter_->setMinimumWidth(380);
    auto* parameterLabel = new QLabel(QStringLiteral("Мои числа или имя файла для загрузки:"));
    parameterLabel->setBuddy(Parameter_);
    Browse_ = new QPushButton(QStringLiteral("..."));
    Browse_->setFixedWidth(Browse_->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);

    Default_ =
        new QCheckBox(QStringLiteral("Сохранить эти параметры для генерации комбинаций \"по умолчанию\""));
    Default_->setChecked(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* parameterRow = new QHBoxLayout;
    parameterRow->addWidget(Parameter_, 1);
    parameterRow->addWidget(Browse_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modeLabel);
    layout->addWidget(Mode_);
    layout->addSpacing(6);
    layout->addWidget(parameterLabel);
    layout->addLayout(parameterRow);
    layout->addSpacing(6);
    layout->addWidget(Default_);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(Mode_, &QComboBox::currentIndexChanged, this, [this] { UpdateControls(); });
    connect(Browse_, &QPushButton::clicked, this, &TCombsGenerateDialog::BrowseExecute);
    UpdateControls();
}

void TCombsGenerateDialog::UpdateControls() {
    const int mode = Mode_->currentIndex();
    Parameter_->setEnabled(mode != 0);
    Browse_->setEnabled(mode == GenerateFromFileMode);
}

void TCombsGenerateDialog::BrowseExecute() {
    const QString name = AskOpenFileName(this, QString::fromUtf8(CombsFileFilter));
    if (!name.isEmpty())
        Parameter_->setText(name);
}

TGenerateDefaults TCombsGenerateDialog::Result() const {
    TGenerateDefaults result;
    result.Mode = std::max(0, Mode_->currentIndex());
    result.Parameters = Parameter_->text().toStdString();
    return result;
}

bool TCombsGenerateDialog::MakeDefault() const {
    return Default_->isChecked();
}

} // namespace kumby::gui
