#pragma once

// The stakes grid: one row per record of the stakes file, read on demand. Records are
// read in blocks and a few blocks are kept, so that a file of millions of stakes
// scrolls with a handful of reads and never sits in memory.

#include "stakes/StakeRecord.h"
#include "stakes/StakesGrid.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include <cstdint>
#include <list>
#include <vector>

namespace kumby {
class Session;
}

namespace kumby::gui {

class TStakesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int BlockRecords = 256;
    static constexpr std::size_t KeptBlocks = 8;

    explicit TStakesModel(Session& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The record a row shows, or null when it cannot be read (the failure is reported
    // once, after painting).
    const TStakeRecord* Record(int row) const;
    std::vector<TStakeNumberCell> NumberCells(const QModelIndex& index) const;

    // Follows the file: the kept blocks are dropped, a new row count resets the grid,
    // otherwise the rows are repainted.
    void Refresh();
    // Reads from the file since the last refresh, for the tests.
    int BlockReads() const { return BlockReads_; }

signals:
    void readFailed(const QString& text);

private:
    struct TBlock {
        int64_t First = 0;
        std::vector<TStakeRecord> Records;
    };

    Session& Session_;
    int Rows_ = 0;
    // Most recently used first.
    mutable std::list<TBlock> Blocks_;
    mutable int BlockReads_ = 0;
    mutable bool FailureReported_ = false;
};

// Paints the number columns one number at a time, the matched ones in bold blue.
class TStakesDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int NumberGap = 3;
    static constexpr int Margin = 2;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace kumby::gui
