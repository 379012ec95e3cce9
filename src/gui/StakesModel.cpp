#include "StakesModel.h"

#include "GuiText.h"
#include "app/Session.h"
#include "model/VexoUtils.h"

#include <QApplication>
#include <QColor>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace kumby::gui {

namespace {

QColor Rgb(TColour colour) {
    return QColor::fromRgb(static_cast<QRgb>(colour));
}

} // namespace

TStakesModel::TStakesModel(Session& session, QObject* parent)
    : QAbstractTableModel(parent), Session_(session) {
    Refresh();
}

int TStakesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Rows_;
}

int TStakesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : StakesGridColumns;
}

const TStakeRecord* TStakesModel::Record(int row) const {
    if (row < 0 || row >= Rows_)
        return nullptr;
    const int64_t first = static_cast<int64_t>(row) / BlockRecords * BlockRecords;
    for (auto it = Blocks_.begin(); it != Blocks_.end(); ++it) {
        if (it->First == first) {
            if (it != Blocks_.begin())
                Blocks_.splice(Blocks_.begin(), Blocks_, it);
            const std::size_t at = static_cast<std::size_t>(row - first);
            return at < Blocks_.front().Records.size() ? &Blocks_.front().Records[at] : nullptr;
        }
    }
    const TStakesFile& file = Session_.Stakes();
    const int64_t count = std::min<int64_t>(BlockRecords, file.Count() - first);
    if (count <= 0)
        return nullptr;
    TBlock block;
    block.First = first;
    block.Records.resize(static_cast<std::size_t>(count));
    try {
        file.ReadMany(first, block.Records.size(), block.Records.data());
    } catch (const std::exception& e) {
        if (!FailureReported_) {
            FailureReported_ = true;
            // Not from inside painting: the message box would paint the grid again.
            const QString text = Q(Format("Ошибка чтения записи из файла ставок!\r\r%s", e.what()));
            auto* self = const_cast<TStakesModel*>(this);
            QTimer::singleShot(0, self, [self, text] { emit self->readFailed(text); });
        }
        return nullptr;
    }
    ++BlockReads_;
    Blocks_.push_front(std::move(block));
    if (Blocks_.size() > KeptBlocks)
        Blocks_.pop_back();
    const std::size_t at = static_cast<std::size_t>(row - first);
    return at < Blocks_.front().Records.size() ? &Blocks_.front().Records[at] : nullptr;
}

std::vector<TStakeNumberCell> TStakesModel::NumberCells(const QModelIndex& index) const {
    const TStakeRecord* r = index.isValid() ? Record(index.row()) : nullptr;
    return r ? StakeNumberCells(*r, index.column()) : std::vector<TStakeNumberCell>{};
}

QVariant TStakesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: {
        const TStakeRecord* r = Record(index.row());
        if (!r)
            return {};
        const std::string cell = StakeGridCells(*r)[static_cast<std::size_t>(column)];
        if (cell.empty())
            return {};
        // Whole numbers go to a spreadsheet as numbers.
        if (column == 0)
            return r->DrawNumber;
        if (column == 3)
            return r->CombsCount;
        if (column == 5)
            return r->MatchedCount();
        return Q(cell);
    }
    case Qt::BackgroundRole: {
        const TStakeRecord* r = Record(index.row());
        const auto colour = r ? StakeKindColour(r->Kind) : std::nullopt;
        return colour ? QVariant(Rgb(*colour)) : QVariant();
    }
    case Qt::ForegroundRole: {
        const TStakeRecord* r = Record(index.row());
        const auto colour = r ? StakeResultColour(*r, column) : std::nullopt;
        // The kind colours are light: the text stays dark whatever the desktop's colours.
        return colour ? Rgb(*colour) : QColor(Qt::black);
    }
    case Qt::TextAlignmentRole:
        if (column == 7)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (column == 8)
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant TStakesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= StakesGridColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(StakesGridLayout()[static_cast<std::size_t>(section)].Caption);
    if (role == Qt::TextAlignmentRole && section == 8)
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void TStakesModel::Refresh() {
    Blocks_.clear();
    BlockReads_ = 0;
    FailureReported_ = false;
    const int64_t count = Session_.Stakes().IsOpen() ? Session_.Stakes().Count() : 0;
    const int rows = static_cast<int>(std::min<int64_t>(count, INT_MAX));
    if (rows != Rows_) {
        beginResetModel();
        Rows_ = rows;
        endResetModel();
    } else if (Rows_ > 0) {
        emit dataChanged(index(0, 0), index(Rows_ - 1, StakesGridColumns - 1));
    }
}

void TStakesDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const auto* model = qobject_cast<const TStakesModel*>(index.model());
    const int column = index.column();
    if (!model || (column != StakesGridStakeColumn && column != StakesGridResultColumn)) {
        // The style's own text margin stands for the grid's.
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }

    // Background and selection as any cell, then the numbers one by one.
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    const std::vector<TStakeNumberCell> numbers = model->NumberCells(index);
    if (numbers.empty())
        return;
    QFont normal = option.font;
    QFont bold = option.font;
    bold.setBold(true);
    const QFontMetrics normalMetrics(normal);
    const QFontMetrics boldMetrics(bold);
    int width = 0;
    for (const TStakeNumberCell& n : numbers)
        width += (n.Matched ? boldMetrics : normalMetrics).horizontalAdvance(QString::number(n.Number));
    width += NumberGap * static_cast<int>(numbers.size() - 1);
    const QRect room = option.rect.adjusted(Margin, 0, -Margin, 0);
    int x = room.left() + std::max(0, (room.width() - width) / 2);
    const bool selected = option.state & QStyle::State_Selected;
    const QColor text = selected ? option.palette.color(QPalette::HighlightedText) : QColor(Qt::black);
    painter->save();
    painter->setClipRect(room);
    for (const TStakeNumberCell& n : numbers) {
        const QString shown = QString::number(n.Number);
        painter->setFont(n.Matched ? bold : normal);
        painter->setPen(n.Matched ? Rgb(StakeMatchedColour) : text);
        const int advance = (n.Matched ? boldMetrics : normalMetrics).horizontalAdvance(shown);
        painter->drawText(QRect(x, room.top(), advance, room.height()), Qt::AlignLeft | Qt::AlignVCenter,
                          shown);
        x += advance + NumberGap;
    }
    painter->restore();
}

} // namespace kumby::gui
