#pragma once

// "Параметры proxy-сервера": how the draw download reaches the results site.

#include "app/MainSettings.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace kumby::gui {

class TProxyDialog : public QDialog {
    Q_OBJECT
public:
    explicit TProxyDialog(const TProxy& proxy, QWidget* parent = nullptr);

    // The mode and the fields as the dialog shows them; the server loses the spaces
    // around it.
    TProxy Result() const;

    QRadioButton* ModeButton(int mode) const { return Modes_[static_cast<std::size_t>(mode)]; }
    QLineEdit* ServerEdit() const { return Server_; }
    QSpinBox* PortEdit() const { return Port_; }
    QLineEdit* UserEdit() const { return User_; }
    QLineEdit* PasswordEdit() const { return Password_; }

private:
    int Mode() const;
    // The server fields only count for the manual choice.
    void SyncFields();

    std::array<QRadioButton*, 3> Modes_{};
    QLineEdit* Server_;
    QSpinBox* Port_;
    QLineEdit* User_;
    QLineEdit* Password_;
};

} // namespace kumby::gui
