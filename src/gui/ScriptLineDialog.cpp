#include "ScriptLineDialog.h"

#include "GuiText.h"
#include "StandardTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <climits>

namespace kumby::gui {

namespace {

void SetHint(QWidget& w, const QString& hint) {
    w.setToolTip(hint);
    w.setStatusTip(hint);
}

} // namespace

TScriptLineDialog::TScriptLineDialog(const QString& title, const std::string& line, int drawsExclude,
                                     const TFilterEditorPresets& presets, const TStatList& registry,
                                     IUserInterface& ui, QWidget* parent)
    : QDialog(parent), Presets_(presets), Registry_(registry), Ui_(ui) {
    setWindowTitle(title.isEmpty() ? QStringLiteral("Элемент сценария") : title);

    Comment_ = new QLineEdit;
    SetHint(*Comment_, QStringLiteral("Комментарии (можно оставить пустым)"));
    Start_ = new QComboBox;
    for (int i = 0; i < StartCombsTypeCount; ++i)
        Start_->addItem(QString::fromUtf8(StartCombsEditorCaption(i)));
    DrawsExclude_ = new QSpinBox;
    DrawsExclude_->setRange(0, INT_MAX);
    SetHint(*DrawsExclude_,
            QStringLiteral("Исключить указанное количество тиражей из списка комбинаций перед "
                           "применением фильтров"));
    Result_ = new QComboBox;
    for (int i = 0; i < ResultCombsModeCount; ++i)
        Result_->addItem(QString::fromUtf8(ResultModeEditorCaption(i)));
    ClearStakes_ =
        new QCheckBox(QStringLiteral("Удалить все ставки перед выполнением (накопление только рейтинга)"));
    NewOnly_ = new QCheckBox(
        QStringLiteral("Только новые ставки (пропускать те ставки, которые уже есть в списке)"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Комментарии:"), Comment_);
    form->addRow(QStringLiteral("Начальный список комбинаций:"), Start_);
    form->addRow(QStringLiteral("Кол-во тиражей:"), DrawsExclude_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(
        new QLabel(QStringLiteral("В случае неоднозначного результата после применения фильтров:")));
    layout->addWidget(Result_);
    layout->addWidget(ClearStakes_);
    layout->addWidget(NewOnly_);
    auto* filters = new QFormLayout;
    for (int n = 0; n < ScriptFilterSlots; ++n) {
        auto* edit = new QLineEdit;
        edit->setMinimumWidth(360);
        edit->installEventFilter(this);
        auto* button = new QToolButton;
        button->setText(QStringLiteral("..."));
        SetHint(*button, QStringLiteral("Редактировать фильтр"));
        connect(button, &QToolButton::clicked, this, [this, n] { EditFilter(n); });
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(button);
        filters->addRow(QStringLiteral("Фильтр %1:").arg(n + 1), row);
        Filters_[static_cast<std::size_t>(n)] = edit;
        Buttons_[static_cast<std::size_t>(n)] = button;
    }
    layout->addLayout(filters);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TScriptLineDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TScriptLineDialog::reject);
    layout->addWidget(buttons);

    if (line.empty()) {
        DrawsExclude_->setValue(std::max(0, drawsExclude));
        return;
    }
    const TScriptOptions options = ReadOptions(LineOptionsText(line));
    Comment_->setText(Q(LineComment(line)));
    Start_->setCurrentIndex(options.StartCombsType < StartCombsTypeCount ? options.StartCombsType : 0);
    DrawsExclude_->setValue(std::max(0, options.DrawsExclude));
    Result_->setCurrentIndex(options.ResultCombsMode < ResultCombsModeCount ? options.ResultCombsMode : 0);
    ClearStakes_->setChecked(options.ClearStakes);
    NewOnly_->setChecked(options.NewOnly);
    for (int n = 0; n < ScriptFilterSlots; ++n)
        Filters_[static_cast<std::size_t>(n)]->setText(Q(LineFilterText(line, n + 1)));
}

std::string TScriptLineDialog::Line() const {
    TScriptOptions options;
    options.StartCombsType = static_cast<uint8_t>(std::max(0, Start_->currentIndex()));
    options.DrawsExclude = DrawsExclude_->value();
    options.ResultCombsMode = static_cast<uint8_t>(std::max(0, Result_->currentIndex()));
    options.ClearStakes = ClearStakes_->isChecked();
    options.NewOnly = NewOnly_->isChecked();
    std::array<std::string, ScriptFilterSlots> filters;
    for (std::size_t n = 0; n < filters.size(); ++n)
        filters[n] = S(Filters_[n]->text());
    return BuildLine(OptionsLineText(options), filters, S(Comment_->text()));
}

void TScriptLineDialog::EditFilter(int n) {
    QLineEdit& field = *Filters_[static_cast<std::size_t>(n)];
    const TFilterItem item = ReadFilterItem(S(field.text()), Registry_);
    TFilterDialog dialog(item, Presets_, Registry_, Ui_, this);
    if (dialog.exec() == QDialog::Accepted)
        field.setText(Q(FilterItemText(dialog.Result(), Registry_)));
}

bool TScriptLineDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick)
        for (int n = 0; n < ScriptFilterSlots; ++n)
            if (watched == Filters_[static_cast<std::size_t>(n)]) {
                EditFilter(n);
                return true;
            }
    return QDialog::eventFilter(watched, event);
}

} // namespace kumby::gui
