#include "DrawDetailsWindow.h"

#include "GuiText.h"
#include "StandardTexts.h"
#include "model/VexoUtils.h"
#include "stats/StatList.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kumby::gui {

namespace {

constexpr int CardCellWidth = 34;
constexpr int CardCellHeight = 26;

} // namespace

TDetailsContent DrawDetailsContent(const TDrawRecord& draw) {
    TDetailsContent content;
    content.Properties.emplace_back("Номер тиража:", std::to_string(draw.Number));
    content.Properties.emplace_back("Дата тиража:", draw.DateTextUtf8());
    content.Numbers = draw.Combination();
    return content;
}

void AddChartValueRows(TDetailsContent& content, const TStatList& registry, const TCombination& numbers,
                       int drawIdx, int lastIdx, bool sorted) {
    TCombination shown = numbers;
    if (sorted)
        std::sort(shown.begin(), shown.end());
    for (std::size_t i = 0; i < registry.Count(); ++i) {
        const TStatClassInfo& info = *registry.Items(i).StatClass;
        if (!info.HasChart || !info.Available || !info.Visible() || !registry.IsShown(i))
            continue;
        std::string value = "-";
        try {
            const std::unique_ptr<TCustomStat> method = registry.CreateInstance(i);
            if (!method->HasChartValue())
                continue;
            value = std::to_string(method->ChartValue(shown.data(), drawIdx, lastIdx, sorted));
        } catch (const std::exception&) {
            // A method that cannot measure these numbers shows a dash.
        }
        content.Properties.emplace_back(registry.Items(i).FullName(), value);
    }
}

TDetailsContent DrawDetailsContent(const TStatList& registry, int index, bool sorted) {
    const TDrawsArray& draws = registry.Draws();
    if (index < 0 || static_cast<std::size_t>(index) >= draws.size())
        return {};
    TDetailsContent content = DrawDetailsContent(draws[index]);
    AddChartValueRows(content, registry, content.Numbers, index, index, sorted);
    return content;
}

TDetailsContent CombinationDetailsContent(const TStatList& registry, const TCombination& comb, int offset,
                                          bool sorted) {
    TDetailsContent content;
    content.Numbers = comb;
    // The same reference as a filter step: the newest draw at the offset, never
    // before the oldest. The combination stands where the next draw would.
    const int lastIdx = std::max(0, static_cast<int>(registry.Draws().size()) - 1 - std::max(0, offset));
    AddChartValueRows(content, registry, comb, lastIdx + 1, lastIdx, sorted);
    return content;
}

TDrawDetailsWindow::TDrawDetailsWindow(const TDetailsContent& content, const TConfigData& config,
                                       QWidget* parent)
    : QDialog(parent), Numbers_(content.Numbers), ChannelSize_(config.ChannelSize) {
    setWindowTitle(QStringLiteral("Подробная информация"));

    Properties_ = new QTableWidget(static_cast<int>(content.Properties.size()), 2);
    Properties_->setHorizontalHeaderLabels({QStringLiteral("Свойство"), QStringLiteral("Значение")});
    Properties_->verticalHeader()->hide();
    Properties_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Properties_->verticalHeader()->setDefaultSectionSize(Properties_->fontMetrics().height() + 8);
    Properties_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Properties_->setSelectionBehavior(QAbstractItemView::SelectRows);
    Properties_->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < Properties_->rowCount(); ++row) {
        const auto& [caption, value] = content.Properties[row];
        Properties_->setItem(row, 0, new QTableWidgetItem(Q(caption)));
        Properties_->setItem(row, 1, new QTableWidgetItem(Q(value)));
    }
    // The method names are long: the caption column takes what the longest needs.
    Properties_->resizeColumnToContents(0);
    const int captionWidth = std::clamp(Properties_->columnWidth(0) + 12, 160, 460);
    Properties_->setColumnWidth(0, captionWidth);
    // The value column shows each value whole, the draw's date among them.
    int valueWidth =
        Properties_->horizontalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("Значение"));
    for (const auto& property : content.Properties)
        valueWidth = std::max(valueWidth, Properties_->fontMetrics().horizontalAdvance(Q(property.second)));
    valueWidth += 24;
    Properties_->setColumnWidth(1, valueWidth);
    Properties_->setMinimumWidth(captionWidth + valueWidth + 2 * Properties_->frameWidth() +
                                 style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    Columns_ = new QSpinBox;
    Columns_->setRange(1, MaxNumber);
    Columns_->setValue(config.MatrixCols >= 1 && config.MatrixCols <= MaxNumber ? config.MatrixCols : 4);
    Columns_->setMinimumWidth(60);

    Card_ = new QTableWidget;
    Card_->horizontalHeader()->hide();
    Card_->verticalHeader()->hide();
    Card_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Card_->setSelectionMode(QAbstractItemView::NoSelection);
    Card_->setFocusPolicy(Qt::NoFocus);
    Card_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Card_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Card_->horizontalHeader()->setDefaultSectionSize(CardCellWidth);
    Card_->verticalHeader()->setDefaultSectionSize(CardCellHeight);
    Card_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Card_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* columnsRow = new QHBoxLayout;
    columnsRow->addWidget(new QLabel(QStringLiteral("Количество столбцов:")));
    columnsRow->addWidget(Columns_);
    columnsRow->addStretch();

    auto* cardSide = new QVBoxLayout;
    cardSide->addLayout(columnsRow);
    cardSide->addWidget(Card_, 0, Qt::AlignLeft | Qt::AlignTop);
    cardSide->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(Properties_, 1);
    top->addLayout(cardSide);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);

    connect(Columns_, &QSpinBox::valueChanged, this, [this] { LayOutCard(); });
    LayOutCard();
    const int rowsHeight = Properties_->rowCount() * Properties_->verticalHeader()->defaultSectionSize() +
                           Properties_->horizontalHeader()->sizeHint().height() + 90;
    resize(sizeHint().width(), std::clamp(rowsHeight, 300, 620));
}

void TDrawDetailsWindow::LayOutCard() {
    const int cols = Columns_->value();
    const int rows = (MaxNumber + cols - 1) / cols;
    Card_->clear();
    Card_->setColumnCount(cols);
    Card_->setRowCount(rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (MatrixNumber(x, y, cols) > MaxNumber)
                item->setBackground(palette().window());
            Card_->setItem(y, x, item);
        }
    for (uint8_t n : Numbers_) {
        if (n < 1 || n > MaxNumber)
            continue;
        QTableWidgetItem* item = Card_->item(MatrixRow(n, cols) - 1, MatrixColumn(n, cols) - 1);
        item->setText(QString::number(n));
        item->setBackground(QColor::fromRgb(static_cast<QRgb>(NumberColour(n, ChannelSize_))));
        item->setForeground(QColor(Qt::black));
    }
    const int frame = 2 * Card_->frameWidth();
    Card_->setFixedSize(cols * CardCellWidth + frame, rows * CardCellHeight + frame);
}

} // namespace kumby::gui
