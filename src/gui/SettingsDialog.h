#pragma once

// "Параметры системы": edits a copy of the configuration; OK hands the copy back.

#include "model/Records.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;
class QTableWidgetItem;

namespace kumby {
class IUserInterface;
}

namespace kumby::gui {

inline constexpr int PrizeRows = MaxHits + 1;

class TSettingsDialog : public QDialog {
    Q_OBJECT
public:
    TSettingsDialog(const TConfigData& config, IUserInterface& ui, QWidget* parent = nullptr);

    // The edited copy; valid once the dialog was accepted.
    const TConfigData& Result() const { return Result_; }
    // The segments as the grid shows them now, by number (an empty cell counts as 1).
    std::array<uint8_t, MaxNumber> Segments() const;

    QDoubleSpinBox* CostEdit() const { return Cost_; }
    QTableWidget* PrizeGrid() const { return Prizes_; }
    QSpinBox* MatrixColsEdit() const { return MatrixCols_; }
    QLineEdit* MatrixRowsEdit() const { return MatrixRows_; }
    QTableWidget* SegmentsGrid() const { return Segments_; }
    QSpinBox* ChannelSizeEdit() const { return ChannelSize_; }

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayOutSegments(const std::array<uint8_t, MaxNumber>& segments);
    void SegmentEdited(QTableWidgetItem* item);

    IUserInterface& Ui_;
    TConfigData Result_;
    int ShownCols_ = 0;
    bool Filling_ = false;

    QDoubleSpinBox* Cost_;
    QTableWidget* Prizes_;
    QDoubleSpinBox* CoefCount_;
    QDoubleSpinBox* CoefDeviation_;
    QDoubleSpinBox* CoefLevel_;
    QCheckBox* UsePercents_;
    QCheckBox* UseAbsValues_;
    QSpinBox* MatrixCols_;
    QLineEdit* MatrixRows_;
    QTableWidget* Segments_;
    QSpinBox* ChannelSize_;
};

// Reads a prize cell: the locale's decimal notation, or "." as well; 0 when not a number.
double ParsePrizeText(const QString& text);

} // namespace kumby::gui
