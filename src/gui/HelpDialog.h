#pragma once

#include <QDialog>

class QCheckBox;

namespace kumby::gui {

// "Справочная информация": shown at the end of start-up while "FirstRun" is on.
class THelpDialog : public QDialog {
    Q_OBJECT
public:
    // An empty helpFile disables the help button.
    explicit THelpDialog(const QString& helpFile, QWidget* parent = nullptr);

    bool DontShowAgain() const;
    QCheckBox* DontShowAgainBox() const { return DontShow_; }

private:
    QString HelpFile_;
    QCheckBox* DontShow_;
};

} // namespace kumby::gui
