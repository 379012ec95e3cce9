#include "ProxyDialog.h"

#include "GuiText.h"
#include "StandardTexts.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kumby::gui {

TProxyDialog::TProxyDialog(const TProxy& proxy, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Параметры proxy-сервера"));

    const QString captions[3] = {QStringLiteral("Не использовать proxy-сервер"),
                                 QStringLiteral("Автоматический поиск сервера (возможны задержки)"),
                                 QStringLiteral("Ручной выбор proxy-сервера:")};
    auto* group = new QButtonGroup(this);
    for (int mode = 0; mode < 3; ++mode) {
        Modes_[static_cast<std::size_t>(mode)] = new QRadioButton(captions[mode]);
        group->addButton(Modes_[static_cast<std::size_t>(mode)], mode);
    }
    // A mode the dialog does not know means no proxy.
    ModeButton(proxy.Mode <= 2 ? proxy.Mode : 0)->setChecked(true);

    Server_ = new QLineEdit(Q(proxy.Server));
    Server_->setMinimumWidth(260);
    Port_ = new QSpinBox;
    Port_->setRange(1, 65535);
    Port_->setValue(proxy.Port >= 1 && proxy.Port <= 65535 ? proxy.Port : 80);
    Port_->setMinimumWidth(90);
    Port_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    User_ = new QLineEdit(Q(proxy.UserName));
    Password_ = new QLineEdit(Q(proxy.Password));
    Password_->setEchoMode(QLineEdit::Password);

    auto* fields = new QFormLayout;
    fields->setContentsMargins(24, 0, 0, 0);
    fields->addRow(QStringLiteral("Имя или адрес сервера:"), Server_);
    fields->addRow(QStringLiteral("Порт:"), Port_);
    fields->addRow(QStringLiteral("Имя пользователя:"), User_);
    fields->addRow(QStringLiteral("Пароль:"), Password_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    for (QRadioButton* button : Modes_)
        layout->addWidget(button);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(group, &QButtonGroup::idToggled, this, [this] { SyncFields(); });
    SyncFields();
}

int TProxyDialog::Mode() const {
    for (int mode = 0; mode < 3; ++mode)
        if (ModeButton(mode)->isChecked())
            return mode;
    return 0;
}

void TProxyDialog::SyncFields() {
    const bool manual = Mode() == 2;
    for (QWidget* field : {static_cast<QWidget*>(Server_), static_cast<QWidget*>(Port_),
                           static_cast<QWidget*>(User_), static_cast<QWidget*>(Password_)})
        field->setEnabled(manual);
}

TProxy TProxyDialog::Result() const {
    TProxy proxy;
    proxy.Mode = static_cast<uint8_t>(Mode());
    proxy.Server = S(Server_->text().trimmed());
    proxy.Port = Port_->value();
    proxy.UserName = S(User_->text());
    proxy.Password = S(Password_->text());
    return proxy;
}

} // namespace kumby::gui
