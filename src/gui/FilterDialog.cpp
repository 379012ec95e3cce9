#include "FilterDialog.h"

#include "GuiText.h"
#include "StandardTexts.h"
#include "app/IUserInterface.h"
#include "stats/StatTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>

namespace kumby::gui {

namespace {

constexpr const char* FormatsHint =
    "\n\nДопустимые форматы:\n1 - одно значение\n1, 2, 3 - список значений через "
    "запятую\n1-10;2 - нижняя и верхняя граница диапазона; шаг изменения";

void SetHint(QWidget& w, const QString& hint) {
    w.setToolTip(hint);
    w.setStatusTip(hint);
}

QLineEdit* NumberListEdit(QWidget* parent, const QString& hint) {
    auto* edit = new QLineEdit;
    edit->setValidator(new TNumberListValidator(parent));
    SetHint(*edit, hint);
    return edit;
}

QString CoefText(long double value) {
    return QLocale().toString(static_cast<double>(value), 'f', 3);
}

} // namespace

QValidator::State TNumberListValidator::validate(QString& input, int& /*pos*/) const {
    for (const QChar c : input)
        if (!NumberListCharAllowed(c.unicode()))
            return Invalid;
    return Acceptable;
}

TFilterDialog::TFilterDialog(const TFilterItem& item, const TFilterEditorPresets& presets,
                             const TStatList& registry, IUserInterface& ui, QWidget* parent)
    : QDialog(parent), Presets_(presets), Registry_(registry), Ui_(ui) {
    setWindowTitle(QStringLiteral("Фильтр"));

    Method_ = new QComboBox;
    Method_->setMaxVisibleItems(30);
    Method_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Method_->setMinimumContentsLength(40);
    for (const TMethodListEntry& entry : presets.Methods)
        Method_->addItem(entry.Name);
    DrawsLen_ = NumberListEdit(this, QStringLiteral("Количество тиражей для расчета статистики") +
                                         QString::fromUtf8(FormatsHint));
    SortOrder_ = new QComboBox;
    for (const char* caption : StatColumnCaptions())
        SortOrder_->addItem(QString::fromUtf8(caption));
    Direction_ = new QComboBox;
    Direction_->addItems({QStringLiteral("Сверху-вниз"), QStringLiteral("Снизу-вверх")});
    FilterMode_ = new QComboBox;
    FilterMode_->addItems({QStringLiteral("Удалить выделенные"), QStringLiteral("Оставить выделенные")});
    MultiSelect_ = new QCheckBox(
        QStringLiteral("Использовать режим одновременного выделения нескольких значений в списке"));
    LevelMode_ = new QComboBox;
    LevelMode_->setMaxVisibleItems(32);
    for (int mode = 0; mode < LevelModeCount; ++mode)
        LevelMode_->addItem(QString::fromUtf8(LevelModeCaption(mode)));
    LevelValue_ =
        NumberListEdit(this, QStringLiteral("Учитываемые значения глубины") + QString::fromUtf8(FormatsHint));
    Override_ = new QCheckBox(
        QStringLiteral("Использовать приведенные ниже коэффициенты для расчета значений \"Вес\""));
    CoefCount_ = new QLineEdit;
    CoefDeviation_ = new QLineEdit;
    CoefLevel_ = new QLineEdit;
    Percents_ = new QCheckBox(QStringLiteral("Использовать значения в %"));
    Abs_ = new QCheckBox(QStringLiteral("Использовать абсолютные значения"));
    StopMode_ = new QComboBox;
    for (int mode = 0; mode < StopModeCount; ++mode)
        StopMode_->addItem(QString::fromUtf8(StopModeCaption(mode)));
    StopValue_ = new QSpinBox;
    StopValue_->setRange(1, INT_MAX);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Тип фильтра:"), Method_);
    form->addRow(QStringLiteral("Количество тиражей:"), DrawsLen_);
    form->addRow(QStringLiteral("Сортировать по столбцу:"), SortOrder_);
    form->addRow(QStringLiteral("Направление:"), Direction_);
    form->addRow(QStringLiteral("Режим фильтра:"), FilterMode_);
    form->addRow(MultiSelect_);
    form->addRow(QStringLiteral("Режим выделения значений в списке статистики:"), LevelMode_);
    form->addRow(QStringLiteral("Значения:"), LevelValue_);

    auto* weights = new QGroupBox;
    auto* weightsLayout = new QVBoxLayout(weights);
    weightsLayout->addWidget(Override_);
    auto* coefs = new QFormLayout;
    coefs->addRow(QStringLiteral("Количество:"), CoefCount_);
    coefs->addRow(QStringLiteral("Отклонение:"), CoefDeviation_);
    coefs->addRow(QStringLiteral("Глубина:"), CoefLevel_);
    weightsLayout->addLayout(coefs);
    weightsLayout->addWidget(Percents_);
    weightsLayout->addWidget(Abs_);

    auto* stop = new QFormLayout;
    stop->addRow(QStringLiteral("Остановка по:"), StopMode_);
    stop->addRow(QStringLiteral("Значение:"), StopValue_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFilterDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFilterDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(weights);
    layout->addLayout(stop);
    layout->addWidget(buttons);

    // The presets, then what the filter has.
    Method_->setCurrentIndex(
        presets.MethodRow >= 0 && presets.MethodRow < Method_->count() ? presets.MethodRow : 0);
    DrawsLen_->setText(presets.DrawsLen);
    SortOrder_->setCurrentIndex(1);
    StopValue_->setValue(1);
    ShowWeights(presets.Weights);
    if (item.Used) {
        int row = 0;
        for (std::size_t i = 0; i < presets.Methods.size(); ++i)
            if (static_cast<int>(presets.Methods[i].Method) == item.Method) {
                row = static_cast<int>(i);
                break;
            }
        Method_->setCurrentIndex(Method_->count() > 0 ? row : -1);
        if (!item.DrawsLen.empty())
            DrawsLen_->setText(Q(item.DrawsLen));
        SortOrder_->setCurrentIndex(
            item.SortOrder >= 0 && item.SortOrder < SortOrder_->count() ? item.SortOrder : 1);
        Direction_->setCurrentIndex(item.BottomUp ? 1 : 0);
        FilterMode_->setCurrentIndex(item.KeepSelected ? 1 : 0);
        MultiSelect_->setChecked(item.MultiSelect);
        LevelMode_->setCurrentIndex(item.LevelMode < LevelModeCount ? item.LevelMode : 0);
        if (!item.LevelValue.empty())
            LevelValue_->setText(Q(item.LevelValue));
        Override_->setChecked(item.CDLOverride);
        if (item.CDLOverride)
            ShowWeights(item.Weights);
        StopMode_->setCurrentIndex(item.StopMode < StopModeCount ? item.StopMode : 0);
        StopValue_->setValue(std::max(1, item.StopValue));
    }

    connect(LevelMode_, &QComboBox::currentIndexChanged, this, &TFilterDialog::UpdateEnabling);
    connect(Override_, &QCheckBox::toggled, this, &TFilterDialog::UpdateEnabling);
    UpdateEnabling();
}

void TFilterDialog::ShowWeights(const TWeights& weights) {
    CoefCount_->setText(CoefText(weights.CoefCount));
    CoefDeviation_->setText(CoefText(weights.CoefDeviation));
    CoefLevel_->setText(CoefText(weights.CoefLevel));
    Percents_->setChecked(weights.UsePercents);
    Abs_->setChecked(weights.UseAbsValues);
}

void TFilterDialog::UpdateEnabling() {
    Override_->setEnabled(FilterOverrideAvailable(LevelMode_->currentIndex()));
    const bool own = Override_->isEnabled() && Override_->isChecked();
    for (QWidget* w :
         {static_cast<QWidget*>(CoefCount_), static_cast<QWidget*>(CoefDeviation_),
          static_cast<QWidget*>(CoefLevel_), static_cast<QWidget*>(Percents_), static_cast<QWidget*>(Abs_)})
        w->setEnabled(own);
}

TFilterItem TFilterDialog::Result() const {
    TFilterItem item;
    item.Used = true;
    const int row = Method_->currentIndex();
    if (row >= 0 && static_cast<std::size_t>(row) < Presets_.Methods.size())
        item.Method = static_cast<int>(Presets_.Methods[static_cast<std::size_t>(row)].Method);
    item.DrawsLen = S(DrawsLen_->text());
    item.SortOrder = SortOrder_->currentIndex();
    item.BottomUp = Direction_->currentIndex() == 1;
    item.KeepSelected = FilterMode_->currentIndex() == 1;
    item.MultiSelect = MultiSelect_->isChecked();
    item.LevelMode = static_cast<TLevelMode>(std::max(0, LevelMode_->currentIndex()));
    item.LevelValue = S(LevelValue_->text());
    item.CDLOverride = Override_->isChecked();
    item.Weights.CoefCount = ReadScriptFloat(S(CoefCount_->text()));
    item.Weights.CoefDeviation = ReadScriptFloat(S(CoefDeviation_->text()));
    item.Weights.CoefLevel = ReadScriptFloat(S(CoefLevel_->text()));
    item.Weights.UsePercents = Percents_->isChecked();
    item.Weights.UseAbsValues = Abs_->isChecked();
    item.StopMode = static_cast<uint8_t>(std::max(0, StopMode_->currentIndex()));
    item.StopValue = StopValue_->value();
    return item;
}

void TFilterDialog::accept() {
    if (const auto problem = FilterEditorProblem(Result(), Registry_)) {
        Ui_.ShowError(problem->Message);
        switch (problem->Field) {
        case TFilterEditorField::DrawsLen:
            DrawsLen_->setFocus();
            break;
        case TFilterEditorField::LevelMode:
            LevelMode_->setFocus();
            break;
        case TFilterEditorField::LevelValue:
            LevelValue_->setFocus();
            break;
        case TFilterEditorField::StopMode:
            StopMode_->setFocus();
            break;
        }
        return;
    }
    QDialog::accept();
}

} // namespace kumby::gui
