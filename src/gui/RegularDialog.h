#pragma once

// "Добавление регулярной ставки": the comment, where each step starts from, and the step.

#include "stakes/RegularStakes.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace kumby {
class IUserInterface;
}

namespace kumby::gui {

class TRegularDialog : public QDialog {
    Q_OBJECT
public:
    // `oneSelected`: exactly one combination is selected, its numbers may be typed.
    TRegularDialog(const TRegularInput& input, bool oneSelected, const TRegularsArray& existing,
                   IUserInterface& ui, QWidget* parent = nullptr);

    TRegularInput Result() const;

    QLineEdit* CommentEdit() const { return Comment_; }
    QRadioButton* UseMyCombButton() const { return UseMyComb_; }
    QRadioButton* UseLastDrawButton() const { return UseLastDraw_; }
    QLineEdit* CombStartEdit() const { return CombStart_; }
    QSpinBox* StepEdit() const { return Step_; }

public slots:
    // Closes only when the input passes the checks.
    void accept() override;

private:
    void SyncEnabled();

    bool OneSelected_;
    const TRegularsArray& Existing_;
    IUserInterface& Ui_;
    QLineEdit* Comment_;
    QRadioButton* UseMyComb_;
    QLineEdit* CombStart_;
    QRadioButton* UseLastDraw_;
    QSpinBox* Step_;
};

// "Количество тестов": how many of the last draws a back-test runs over.
class TTestCountDialog : public QDialog {
    Q_OBJECT
public:
    TTestCountDialog(int maxCount, QWidget* parent = nullptr);
    int Count() const;
    QSpinBox* CountEdit() const { return Count_; }

private:
    QSpinBox* Count_;
};

} // namespace kumby::gui
