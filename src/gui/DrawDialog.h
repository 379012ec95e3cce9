#pragma once

// The draw dialog of the add and change commands.

#include "model/Records.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimeEdit;

namespace kumby {
class IUserInterface;
}

namespace kumby::gui {

inline constexpr const char* NextDrawCaption = "Введите данные следующего тиража";

class TDrawDialog : public QDialog {
    Q_OBJECT
public:
    TDrawDialog(const QString& caption, const TDrawRecord& draw, bool withDate, IUserInterface& ui,
                QWidget* parent = nullptr);

    // Asks before OK gives a number that another draw of this archive has; `ownIndex`
    // is the archive index of the draw being changed (-1 for a new one).
    void CheckNumberAgainst(const TDrawsArray& draws, int ownIndex);

    // The record as entered; valid once the dialog was accepted.
    const TDrawRecord& Result() const { return Result_; }

    QSpinBox* NumberEdit() const { return Number_; }
    QLineEdit* NumbersEdit() const { return Numbers_; }
    QDateEdit* DateEdit() const { return Date_; }
    QTimeEdit* TimeEdit() const { return Time_; }

public slots:
    // Closes only when the numbers pass the check.
    void accept() override;

private:
    IUserInterface& Ui_;
    TDrawRecord Result_;
    bool WithDate_;
    const TDrawsArray* Draws_ = nullptr;
    int OwnIndex_ = -1;
    QSpinBox* Number_;
    QLineEdit* Numbers_;
    QLabel* DateLabel_;
    QDateEdit* Date_;
    QTimeEdit* Time_;
};

} // namespace kumby::gui
