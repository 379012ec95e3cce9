#pragma once

// "Добавление мультиставки": the draw, the number of draws and the comment of the
// stakes made from the combination list.

#include <QDialog>

#include <string>

class QLineEdit;
class QSpinBox;

namespace kumby {
class IUserInterface;
}

namespace kumby::gui {

class TStakesMultiDialog : public QDialog {
    Q_OBJECT
public:
    TStakesMultiDialog(int drawNumber, IUserInterface& ui, QWidget* parent = nullptr);
    // Preset with another comment, as the system game's.
    TStakesMultiDialog(int drawNumber, const std::string& comment, IUserInterface& ui,
                       QWidget* parent = nullptr);

    int DrawNumber() const;
    int Copies() const;
    std::string Comment() const;

    QSpinBox* DrawNumberEdit() const { return DrawNumber_; }
    QSpinBox* DrawsCountEdit() const { return DrawsCount_; }
    QLineEdit* CommentEdit() const { return Comment_; }

public slots:
    void accept() override;

private:
    IUserInterface& Ui_;
    QSpinBox* DrawNumber_;
    QSpinBox* DrawsCount_;
    QLineEdit* Comment_;
};

} // namespace kumby::gui
