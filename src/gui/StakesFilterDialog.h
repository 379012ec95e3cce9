#pragma once

// "Удаление по условию": which stakes go by their number of matches.

#include "stakes/StakesFilter.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class QSpinBox;

namespace kumby::gui {

class TStakesFilterDialog : public QDialog {
    Q_OBJECT
public:
    explicit TStakesFilterDialog(QWidget* parent = nullptr);

    TStakeFilter Result() const;

    QComboBox* ConditionList() const { return Condition_; }
    QSpinBox* ValueEdit() const { return Value_; }
    QPushButton* OkButton() const { return Ok_; }

private:
    QComboBox* Condition_;
    QSpinBox* Value_;
    QPushButton* Ok_;
};

} // namespace kumby::gui
