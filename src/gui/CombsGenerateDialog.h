#pragma once

// "Создание нового списка комбинаций": the generation mode, its parameter and
// whether they become the defaults.

#include "app/MainSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kumby::gui {

inline constexpr const char* CombsFileFilter = "Файлы комбинаций (*.lcv)";

class TCombsGenerateDialog : public QDialog {
    Q_OBJECT
public:
    // Opens with `defaults`; the check box always starts unchecked.
    explicit TCombsGenerateDialog(const TGenerateDefaults& defaults, QWidget* parent = nullptr);

    TGenerateDefaults Result() const;
    bool MakeDefault() const;

    QComboBox* ModeList() const { return Mode_; }
    QLineEdit* ParameterEdit() const { return Parameter_; }
    QPushButton* BrowseButton() const { return Browse_; }
    QCheckBox* DefaultBox() const { return Default_; }

    void BrowseExecute();

private:
    void UpdateControls();

    QComboBox* Mode_;
    QLineEdit* Parameter_;
    QPushButton* Browse_;
    QCheckBox* Default_;
};

} // namespace kumby::gui
