#include "DrawsModel.h"

#include "GuiText.h"
#include "app/Session.h"
#include "model/VexoUtils.h"

#include <QColor>

namespace kumby::gui {

namespace {

QColor Rgb(TColour colour) {
    return QColor::fromRgb(static_cast<QRgb>(colour));
}

} // namespace

TDrawsModel::TDrawsModel(const Session& session, QObject* parent)
    : QAbstractTableModel(parent), Session_(session), Rows_(static_cast<int>(session.Draws().size())) {}

int TDrawsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Rows_;
}

int TDrawsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

int TDrawsModel::ArchiveIndex(int row) const {
    const int count = static_cast<int>(Session_.Draws().size());
    const int index = count - 1 - row;
    return row >= 0 && index >= 0 && index < count ? index : -1;
}

QVariant TDrawsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int archiveIndex = ArchiveIndex(index.row());
    if (archiveIndex < 0)
        return {};
    const int column = index.column();
    const bool numberCell = column >= ColFirstNumber && column < ColFirstNumber + NumbersInDraw;

    switch (role) {
    case Qt::DisplayRole: {
        const TDrawRecord& draw = Session_.Draws()[archiveIndex];
        if (column == ColNumber)
            return draw.Number;
        if (numberCell)
            return DrawDisplayNumbers(draw, Session_.View().SortedDraws)[column - ColFirstNumber];
        if (column == ColSum)
            return DrawSum(draw);
        if (column == ColDate)
            return Q(draw.DateTextUtf8());
        return {};
    }
    case Qt::BackgroundRole: {
        if (numberCell && Session_.View().ColorDraws) {
            const TDrawRecord& draw = Session_.Draws()[archiveIndex];
            const int n = DrawDisplayNumbers(draw, Session_.View().SortedDraws)[column - ColFirstNumber];
            return Rgb(NumberColour(n, Session_.Config().ChannelSize));
        }
        return index.row() == Session_.DrawsOffset() ? Rgb(OffsetRowColour) : QColor(Qt::white);
    }
    case Qt::ForegroundRole:
        // The cells are always painted light, whatever the desktop's colours.
        return QColor(Qt::black);
    case Qt::TextAlignmentRole:
        return column == ColDate ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant TDrawsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && section == ColDate)
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == ColNumber)
        return QStringLiteral("Тираж");
    if (section >= ColFirstNumber && section < ColFirstNumber + NumbersInDraw)
        return QString::number(section);
    if (section == ColSum)
        return QStringLiteral("S");
    if (section == ColDate)
        return QStringLiteral("Дата тиража");
    return {};
}

void TDrawsModel::Refresh(bool force) {
    const int rows = static_cast<int>(Session_.Draws().size());
    if (force || rows != Rows_) {
        beginResetModel();
        Rows_ = rows;
        endResetModel();
    } else if (Rows_ > 0) {
        emit dataChanged(index(0, 0), index(Rows_ - 1, ColumnCount - 1));
    }
}

} // namespace kumby::gui
