#include "SystemDialogs.h"

#include "GuiText.h"
#include "StandardTexts.h"
#include "app/IUserInterface.h"
#include "model/VexoUtils.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kumby::gui {

TSystemGenerateDialog::TSystemGenerateDialog(int n, IUserInterface& ui, QWidget* parent)
    : QDialog(parent), Ui_(ui) {
    setWindowTitle(QStringLiteral("Создание системы"));
    const TSystemRequest defaults;

    N_ = new QSpinBox;
    N_->setObjectName(QStringLiteral("edSystemN"));
    N_->setRange(MinSystemNumbers, MaxNumber);
    N_->setValue(std::clamp(n, MinSystemNumbers, MaxNumber));
    N_->setToolTip(QStringLiteral("Количество чисел, на которые составляется система"));
    Full_ = new QRadioButton(QStringLiteral("Полная система (все комбинации из n чисел)"));
    Full_->setObjectName(QStringLiteral("rbSystemFull"));
    Reduced_ = new QRadioButton(QStringLiteral("Сокращенная система с гарантией:"));
    Reduced_->setObjectName(QStringLiteral("rbSystemReduced"));
    (defaults.Full ? Full_ : Reduced_)->setChecked(true);
    // The ranges are the widest a request may have; the core tells what fits n.
    M_ = new QSpinBox;
    M_->setObjectName(QStringLiteral("edSystemM"));
    M_->setRange(1, NumbersInDraw);
    M_->setValue(defaults.M);
    M_->setToolTip(QStringLiteral("Сколько выпавших чисел окажется среди n чисел системы"));
    T_ = new QSpinBox;
    T_->setObjectName(QStringLiteral("edSystemT"));
    T_->setRange(1, NumbersInDraw);
    T_->setValue(defaults.T);
    T_->setToolTip(QStringLiteral("Сколько из них совпадет хотя бы с одной комбинацией системы"));
    auto* explanation =
        new QLabel(QStringLiteral("Если m выпавших чисел окажутся среди n чисел системы, хотя бы одна ее "
                                  "комбинация совпадет с тиражом не менее чем в t числах."));
    explanation->setWordWrap(true);
    File_ = new QLabel;
    File_->setObjectName(QStringLiteral("lbSystemFile"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSystemGenerateDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSystemGenerateDialog::reject);

    auto* reduced = new QFormLayout;
    reduced->setContentsMargins(24, 0, 0, 0);
    reduced->addRow(QStringLiteral("Выпавших чисел среди n (m):"), M_);
    reduced->addRow(QStringLiteral("Гарантированных совпадений (t):"), T_);
    reduced->addRow(explanation);
    auto* top = new QFormLayout;
    top->addRow(QStringLiteral("Количество чисел (n):"), N_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Full_);
    layout->addWidget(Reduced_);
    layout->addLayout(reduced);
    auto* file = new QFormLayout;
    file->addRow(QStringLiteral("Файл системы:"), File_);
    layout->addLayout(file);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    for (QSpinBox* edit : {N_, M_, T_})
        connect(edit, &QSpinBox::valueChanged, this, &TSystemGenerateDialog::Sync);
    connect(Reduced_, &QRadioButton::toggled, this, &TSystemGenerateDialog::Sync);
    Sync();
}

TSystemRequest TSystemGenerateDialog::Request() const {
    TSystemRequest request;
    request.N = N_->value();
    request.Full = Full_->isChecked();
    request.M = M_->value();
    request.T = T_->value();
    return request;
}

void TSystemGenerateDialog::Sync() {
    M_->setEnabled(Reduced_->isChecked());
    T_->setEnabled(Reduced_->isChecked());
    File_->setText(Q(GeneratedSystemFileName(Request())));
}

void TSystemGenerateDialog::accept() {
    if (const std::string problem = SystemRequestProblem(Request()); !problem.empty()) {
        Ui_.ShowError(problem);
        return;
    }
    QDialog::accept();
}

namespace {

QLabel* ValueLabel(const QString& text, const char* name) {
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

} // namespace

TSystemReportDialog::TSystemReportDialog(const QString& caption, const TSystemFileInfo& info, int m,
                                         const TSystemCheck* check, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(caption);
    File_ = ValueLabel(Q(info.File.string()), "lbReportFile");
    Combinations_ = ValueLabel(info.Combinations < 0 ? QStringLiteral("файл не удалось прочитать")
                                                     : QString::number(info.Combinations),
                               "lbReportCombinations");
    QString guarantee;
    if (check)
        guarantee = Q(Format("%d: при %d выпавших числах среди чисел системы хотя бы одна комбинация "
                             "совпадет с тиражом не менее чем в %d числах (проверено вариантов: %llu)",
                             check->Worst, m, check->Worst, static_cast<unsigned long long>(check->Draws)));
    else if (info.Full)
        guarantee = Q(Format("%d: полная система содержит все комбинации из своих чисел", NumbersInDraw));
    else
        guarantee = QStringLiteral("не проверена");
    Guarantee_ = ValueLabel(guarantee, "lbReportGuarantee");

    Draws_ = new QTableWidget(0, 2);
    Draws_->setObjectName(QStringLiteral("sgReportDraws"));
    Draws_->setHorizontalHeaderLabels({QStringLiteral("Лучшее совпадение"), QStringLiteral("Вариантов")});
    Draws_->verticalHeader()->hide();
    Draws_->verticalHeader()->setDefaultSectionSize(Draws_->fontMetrics().height() + 6);
    Draws_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Draws_->setSelectionBehavior(QAbstractItemView::SelectRows);
    Draws_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    if (check) {
        Draws_->setRowCount(static_cast<int>(check->DrawsByBest.size()));
        for (std::size_t k = 0; k < check->DrawsByBest.size(); ++k) {
            const int row = static_cast<int>(k);
            Draws_->setItem(row, 0, new QTableWidgetItem(QString::number(row)));
            Draws_->setItem(row, 1, new QTableWidgetItem(QString::number(check->DrawsByBest[k])));
            for (int c = 0; c < 2; ++c)
                Draws_->item(row, c)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    Draws_->setVisible(check != nullptr);
    // Every row in sight: there are at most 13.
    Draws_->setMinimumHeight(Draws_->horizontalHeader()->sizeHint().height() +
                             Draws_->verticalHeader()->defaultSectionSize() * Draws_->rowCount() +
                             2 * Draws_->frameWidth() + 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSystemReportDialog::accept);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Файл:"), File_);
    form->addRow(QStringLiteral("Комбинаций:"), Combinations_);
    form->addRow(QStringLiteral("Гарантия:"), Guarantee_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    if (check)
        layout->addWidget(new QLabel(QStringLiteral("Варианты тиража по лучшему совпадению с комбинациями "
                                                    "системы:")));
    layout->addWidget(Draws_, 1);
    layout->addWidget(buttons);
    setMinimumWidth(480);
}

} // namespace kumby::gui
