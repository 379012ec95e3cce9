#pragma once

// "Добавление ставки": one stake by hand, for one draw or several in a row.

#include "app/Session.h"
#include "stakes/StakeRecord.h"

#include <QDialog>

class QLineEdit;
class QSpinBox;

namespace kumby {
class IUserInterface;
}

namespace kumby::gui {

class TStakeDialog : public QDialog {
    Q_OBJECT
public:
    TStakeDialog(const TStakeRecord& stake, IUserInterface& ui, QWidget* parent = nullptr);

    // What was entered; the stake's numbers and comment passed the checks once accepted.
    Session::TStakeInput Result() const;

    QSpinBox* DrawNumberEdit() const { return DrawNumber_; }
    QSpinBox* DrawsCountEdit() const { return DrawsCount_; }
    QLineEdit* StakeDataEdit() const { return StakeData_; }
    QLineEdit* StakeSumEdit() const { return StakeSum_; }
    QLineEdit* CommentEdit() const { return Comment_; }

public slots:
    // Closes only when the numbers and the comment pass.
    void accept() override;

private:
    IUserInterface& Ui_;
    QSpinBox* DrawNumber_;
    QSpinBox* DrawsCount_;
    QLineEdit* StakeData_;
    QLineEdit* StakeSum_;
    QLineEdit* Comment_;
};

} // namespace kumby::gui
