#pragma once

// "Элемент сценария" (TFormScript): one script line, its options and the texts of
// its seven filters, each open to the filter editor.

#include "FilterDialog.h"

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QToolButton;

namespace kumby::gui {

class TScriptLineDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* NewTitle = "Создание новой строки";
    static constexpr const char* EditTitle = "Редактирование строки";

    // An empty line starts clean, with `drawsExclude` as the number of draws to exclude.
    TScriptLineDialog(const QString& title, const std::string& line, int drawsExclude,
                      const TFilterEditorPresets& presets, const TStatList& registry, IUserInterface& ui,
                      QWidget* parent = nullptr);

    // The line the controls give.
    std::string Line() const;

    QLineEdit* CommentEdit() const { return Comment_; }
    QComboBox* StartList() const { return Start_; }
    QSpinBox* DrawsExcludeEdit() const { return DrawsExclude_; }
    QComboBox* ResultList() const { return Result_; }
    QCheckBox* ClearStakesBox() const { return ClearStakes_; }
    QCheckBox* NewOnlyBox() const { return NewOnly_; }
    QLineEdit* FilterEdit(int n) const { return Filters_[static_cast<std::size_t>(n)]; } // 0..6
    QToolButton* FilterButton(int n) const { return Buttons_[static_cast<std::size_t>(n)]; }

    // "..." of filter n (0..6): the filter editor on the field's text.
    void EditFilter(int n);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const TFilterEditorPresets& Presets_;
    const TStatList& Registry_;
    IUserInterface& Ui_;
    QLineEdit* Comment_;
    QComboBox* Start_;
    QSpinBox* DrawsExclude_;
    QComboBox* Result_;
    QCheckBox* ClearStakes_;
    QCheckBox* NewOnly_;
    std::array<QLineEdit*, ScriptFilterSlots> Filters_{};
    std::array<QToolButton*, ScriptFilterSlots> Buttons_{};
};

} // namespace kumby::gui
