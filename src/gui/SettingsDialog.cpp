#include "SettingsDialog.h"

#include "GuiText.h"
#include "StandardTexts.h"
#include "app/IUserInterface.h"
#include "app/MainSettings.h"
#include "model/Money.h"
#include "model/VexoUtils.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kumby::gui {

namespace {

constexpr int SegmentCellWidth = 28;
constexpr int SegmentCellHeight = 24;
constexpr int SegmentsVisibleCols = 12;
constexpr int SegmentsVisibleRows = 8;

// An editor that lets through only the characters of a pattern.
class TKeyFilterDelegate : public QStyledItemDelegate {
public:
    TKeyFilterDelegate(const QString& allowed, QObject* parent)
        : QStyledItemDelegate(parent), Allowed_(QStringLiteral("[%1]*").arg(allowed)) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setValidator(new QRegularExpressionValidator(QRegularExpression(Allowed_), line));
            line->setAlignment(Qt::AlignCenter);
        }
        return editor;
    }

private:
    QString Allowed_;
};

// A decimal edit that takes "." for the locale's separator as well: the keypad and
// habit both give a point.
class TDecimalEdit : public QDoubleSpinBox {
public:
    QValidator::State validate(QString& input, int& pos) const override {
        input.replace(QLatin1Char('.'), locale().decimalPoint());
        return QDoubleSpinBox::validate(input, pos);
    }
    double valueFromText(const QString& text) const override {
        QString t = text;
        t.replace(QLatin1Char('.'), locale().decimalPoint());
        return QDoubleSpinBox::valueFromText(t);
    }
};

QDoubleSpinBox* DecimalEdit(int decimals, double lo, double hi, double value) {
    auto* edit = new TDecimalEdit;
    edit->setDecimals(decimals);
    edit->setRange(lo, hi);
    edit->setValue(value);
    edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    edit->setAlignment(Qt::AlignRight);
    edit->setMinimumWidth(110);
    return edit;
}

int RowsFor(int cols) {
    return (MaxNumber + cols - 1) / cols;
}

// A segment cell's value: an integer 1..9, or 0 when it is none.
int SegmentValue(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 1 && value <= 9 ? value : 0;
}

} // namespace

double ParsePrizeText(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    double value = QLocale().toDouble(t, &ok);
    if (!ok)
        value = QLocale::c().toDouble(t, &ok);
    return ok ? value : 0.0;
}

TSettingsDialog::TSettingsDialog(const TConfigData& config, IUserInterface& ui, QWidget* parent)
    : QDialog(parent), Ui_(ui), Result_(config) {
    setWindowTitle(QStringLiteral("Параметры системы"));
    const QLocale locale;

    // Cost and prizes.
    Cost_ = DecimalEdit(2, 0, 1e9, static_cast<double>(MoneyToFloat(config.Cost)));

    Prizes_ = new QTableWidget(PrizeRows, 2);
    Prizes_->setHorizontalHeaderLabels({QStringLiteral("Совпадений"), QStringLiteral("Сумма выигрыша")});
    Prizes_->verticalHeader()->hide();
    Prizes_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Prizes_->verticalHeader()->setDefaultSectionSize(22);
    Prizes_->horizontalHeader()->setStretchLastSection(true);
    Prizes_->setColumnWidth(0, 90);
    Prizes_->setSelectionMode(QAbstractItemView::SingleSelection);
    Prizes_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Prizes_->setItemDelegateForColumn(
        1, new TKeyFilterDelegate(QStringLiteral("0-9.") + QRegularExpression::escape(locale.decimalPoint()),
                                  Prizes_));
    Prizes_->installEventFilter(this);
    for (int hits = 0; hits < PrizeRows; ++hits) {
        TMoney prize = 0;
        for (const TProfitEntry& e : config.Profits)
            if (e.Overlap == hits) {
                prize = e.Profit;
                break;
            }
        auto* key = new QTableWidgetItem(QString::number(hits));
        key->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        key->setTextAlignment(Qt::AlignCenter);
        auto* value = new QTableWidgetItem(locale.toString(static_cast<double>(MoneyToFloat(prize)), 'f', 2));
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Prizes_->setItem(hits, 0, key);
        Prizes_->setItem(hits, 1, value);
    }
    const int prizesHeight =
        Prizes_->horizontalHeader()->sizeHint().height() + PrizeRows * 22 + 2 * Prizes_->frameWidth();
    Prizes_->setFixedHeight(prizesHeight);
    Prizes_->setMinimumWidth(230);

    // Weight coefficients.
    CoefCount_ = DecimalEdit(3, -1e6, 1e6, static_cast<double>(config.CoefCount));
    CoefDeviation_ = DecimalEdit(3, -1e6, 1e6, static_cast<double>(config.CoefDeviation));
    CoefLevel_ = DecimalEdit(3, -1e6, 1e6, static_cast<double>(config.CoefLevel));
    UsePercents_ = new QCheckBox(QStringLiteral("Использовать значения в %"));
    UsePercents_->setChecked(config.UsePercents);
    UseAbsValues_ = new QCheckBox(QStringLiteral("Использовать абсолютные значения"));
    UseAbsValues_->setChecked(config.UseAbsValues);

    auto* weight = new QGroupBox(QStringLiteral(" Коэффициенты для поля \"Вес\" "));
    auto* weightForm = new QFormLayout;
    weightForm->addRow(QStringLiteral("Количество:"), CoefCount_);
    weightForm->addRow(QStringLiteral("Отклонение:"), CoefDeviation_);
    weightForm->addRow(QStringLiteral("Глубина:"), CoefLevel_);
    auto* weightLayout = new QVBoxLayout(weight);
    weightLayout->addLayout(weightForm);
    weightLayout->addWidget(UsePercents_);
    weightLayout->addWidget(UseAbsValues_);

    // Matrix and channels.
    MatrixCols_ = new QSpinBox;
    MatrixCols_->setRange(1, MaxNumber);
    MatrixCols_->setValue(config.MatrixCols >= 1 && config.MatrixCols <= MaxNumber ? config.MatrixCols : 4);
    MatrixCols_->setMinimumWidth(60);
    MatrixRows_ = new QLineEdit;
    MatrixRows_->setReadOnly(true);
    MatrixRows_->setFocusPolicy(Qt::NoFocus);
    MatrixRows_->setAlignment(Qt::AlignRight);
    MatrixRows_->setFixedWidth(48);

    Segments_ = new QTableWidget;
    Segments_->horizontalHeader()->hide();
    Segments_->verticalHeader()->hide();
    Segments_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Segments_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Segments_->horizontalHeader()->setDefaultSectionSize(SegmentCellWidth);
    Segments_->verticalHeader()->setDefaultSectionSize(SegmentCellHeight);
    Segments_->setSelectionMode(QAbstractItemView::SingleSelection);
    Segments_->setItemDelegate(new TKeyFilterDelegate(QStringLiteral("0-9"), Segments_));
    Segments_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    Segments_->installEventFilter(this);
    connect(Segments_, &QTableWidget::itemChanged, this, &TSettingsDialog::SegmentEdited);

    ChannelSize_ = new QSpinBox;
    ChannelSize_->setRange(MinChannelSize, MaxNumber);
    ChannelSize_->setValue(config.ChannelSize);
    ChannelSize_->setMinimumWidth(60);

    auto* matrixRow = new QHBoxLayout;
    matrixRow->addWidget(MatrixCols_);
    matrixRow->addWidget(new QLabel(QStringLiteral("x")));
    matrixRow->addWidget(MatrixRows_);
    matrixRow->addStretch();

    auto* channelRow = new QHBoxLayout;
    channelRow->addWidget(new QLabel(QStringLiteral("Размер канала:")));
    channelRow->addWidget(ChannelSize_);
    channelRow->addStretch();

    auto* matrixSizeRow = new QHBoxLayout;
    matrixSizeRow->addWidget(new QLabel(QStringLiteral("Размер матрицы:")));
    matrixSizeRow->addLayout(matrixRow, 1);

    // Columns of the dialog.
    auto* costRow = new QHBoxLayout;
    costRow->addWidget(new QLabel(QStringLiteral("Стоимость ставки:")));
    costRow->addWidget(Cost_);
    costRow->addStretch();

    auto* left = new QVBoxLayout;
    left->addLayout(costRow);
    left->addWidget(new QLabel(QStringLiteral("Размеры выигрышей:")));
    left->addWidget(Prizes_);
    left->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(weight);
    right->addLayout(matrixSizeRow);
    right->addWidget(new QLabel(QStringLiteral("Сегменты матрицы:")));
    right->addWidget(Segments_, 0, Qt::AlignLeft | Qt::AlignTop);
    right->addLayout(channelRow);
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addSpacing(12);
    columns->addLayout(right, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSettingsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);

    LayOutSegments(config.MatrixSegments);
    connect(MatrixCols_, &QSpinBox::valueChanged, this, [this] { LayOutSegments(Segments()); });
}

std::array<uint8_t, MaxNumber> TSettingsDialog::Segments() const {
    std::array<uint8_t, MaxNumber> segments;
    for (int n = 1; n <= MaxNumber; ++n) {
        const QTableWidgetItem* item =
            Segments_->item(MatrixRow(n, ShownCols_) - 1, MatrixColumn(n, ShownCols_) - 1);
        const int value = item ? SegmentValue(item->text()) : 0;
        segments[n - 1] = static_cast<uint8_t>(value > 0 ? value : 1);
    }
    return segments;
}

void TSettingsDialog::LayOutSegments(const std::array<uint8_t, MaxNumber>& segments) {
    const int cols = MatrixCols_->value();
    const int rows = RowsFor(cols);
    Filling_ = true;
    Segments_->clear();
    Segments_->setColumnCount(cols);
    Segments_->setRowCount(rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            const int n = MatrixNumber(x, y, cols);
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (n <= MaxNumber) {
                item->setText(QString::number(segments[n - 1]));
                item->setToolTip(QString::number(n));
            } else {
                // Past the last number: nothing to select or type.
                item->setFlags(Qt::NoItemFlags);
                item->setBackground(palette().window());
            }
            Segments_->setItem(y, x, item);
        }
    ShownCols_ = cols;
    Filling_ = false;
    MatrixRows_->setText(QString::number(rows));

    const int frame = 2 * Segments_->frameWidth();
    const bool scrollX = cols > SegmentsVisibleCols;
    const bool scrollY = rows > SegmentsVisibleRows;
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    Segments_->setFixedSize(
        std::min(cols, SegmentsVisibleCols) * SegmentCellWidth + frame + (scrollY ? scrollBar : 0),
        std::min(rows, SegmentsVisibleRows) * SegmentCellHeight + frame + (scrollX ? scrollBar : 0));
}

void TSettingsDialog::SegmentEdited(QTableWidgetItem* item) {
    if (Filling_ || !item)
        return;
    const QString text = item->text();
    if (text.trimmed().isEmpty() || SegmentValue(text) > 0)
        return;
    Ui_.ShowError(Format("Некорректное значение: %s!\r\rУкажите любое число от 1 до 9", S(text).c_str()));
    Filling_ = true;
    item->setText(QStringLiteral("1"));
    Filling_ = false;
}

bool TSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a grid belongs to the grid: it opens the cell's editor, or ends the
    // edit when one is open (its text is committed as it closes). The dialog never
    // sees it, so it cannot close with a half-typed value.
    auto* grid = qobject_cast<QTableWidget*>(watched);
    if (grid && (grid == Prizes_ || grid == Segments_) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const QModelIndex current = grid->currentIndex();
            if (current.isValid() && !grid->indexWidget(current))
                grid->edit(current);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TSettingsDialog::accept() {
    TConfigData c = Result_;
    c.Cost = MoneyFromFloat(Cost_->value());
    c.Profits.clear();
    for (int row = 0; row < PrizeRows; ++row) {
        bool ok = false;
        const int key = Prizes_->item(row, 0)->text().trimmed().toInt(&ok);
        TProfitEntry e;
        e.Overlap = static_cast<uint8_t>(ok && key >= 0 && key <= 255 ? key : 0);
        e.Profit = MoneyFromFloat(ParsePrizeText(Prizes_->item(row, 1)->text()));
        c.Profits.push_back(e);
    }
    c.CoefCount = CoefCount_->value();
    c.CoefDeviation = CoefDeviation_->value();
    c.CoefLevel = CoefLevel_->value();
    c.UsePercents = UsePercents_->isChecked();
    c.UseAbsValues = UseAbsValues_->isChecked();
    c.MatrixCols = MatrixCols_->value();
    c.MatrixSegments = Segments();
    c.ChannelSize = ChannelSize_->value();
    Result_ = c;
    QDialog::accept();
}

} // namespace kumby::gui
