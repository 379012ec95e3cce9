#include "FilterRowsModel.h"

#include "GuiText.h"
#include "app/Session.h"

#include <QPainter>
#include <QPixmap>

namespace kumby::gui {

namespace {

// A round mark with a white plus (keep) or minus (remove).
QIcon StepIcon(const QColor& colour, bool plus) {
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal unit = size / 16.0;
        painter.setPen(QPen(colour.darker(130), unit));
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(1, 1, size - 2, size - 2));
        painter.setPen(QPen(Qt::white, 2.2 * unit, Qt::SolidLine, Qt::RoundCap));
        const qreal mid = size / 2.0;
        const qreal arm = 4 * unit;
        painter.drawLine(QPointF(mid - arm, mid), QPointF(mid + arm, mid));
        if (plus)
            painter.drawLine(QPointF(mid, mid - arm), QPointF(mid, mid + arm));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

TFilterRowsModel::TFilterRowsModel(const Session& session, QObject* parent)
    : QAbstractTableModel(parent), Session_(session), Rows_(static_cast<int>(session.FilterRows().size())) {}

QIcon TFilterRowsModel::KeepIcon() {
    static const QIcon icon = StepIcon(QColor(0, 150, 60), true);
    return icon;
}

QIcon TFilterRowsModel::RemoveIcon() {
    static const QIcon icon = StepIcon(QColor(210, 40, 40), false);
    return icon;
}

int TFilterRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Rows_;
}

int TFilterRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TFilterRowsModel::data(const QModelIndex& index, int role) const {
    const auto& rows = Session_.FilterRows();
    if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= rows.size())
        return {};
    const Session::TFilterRow& row = rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (index.column()) {
        case ColCaption:
            return Q(row.Caption);
        case ColValues:
            return Q(row.Values);
        case ColCount:
            return role == Qt::DisplayRole ? QVariant(static_cast<qulonglong>(row.Count)) : QVariant();
        default:
            return {};
        }
    case Qt::DecorationRole:
        if (index.column() == ColCaption)
            return row.Exclude ? RemoveIcon() : KeepIcon();
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == ColCount ? QVariant(Qt::AlignCenter)
                                          : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TFilterRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) {
        static const char* const captions[ColumnCount] = {"Примененные фильтры", "Значения", "Комбинаций"};
        return QString::fromUtf8(captions[section]);
    }
    if (role == Qt::TextAlignmentRole)
        return section == ColCount ? QVariant(Qt::AlignCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void TFilterRowsModel::Refresh() {
    // A handful of rows: a reset is simplest and always right.
    beginResetModel();
    Rows_ = static_cast<int>(Session_.FilterRows().size());
    endResetModel();
}

} // namespace kumby::gui
