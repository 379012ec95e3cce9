#pragma once

// "Фильтр" (TFormFilter): one filter of a script line, its statistic, the rows it
// selects and when it stops.

#include "MethodLists.h"
#include "script/FilterEditor.h"

#include <QDialog>
#include <QValidator>

#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace kumby {
class IUserInterface;
}

namespace kumby::gui {

// Only the characters of a number list may be typed ("1, 2, 3", "1-10;2").
class TNumberListValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// What the editor offers and starts with, taken from the statistics tab and the settings.
struct TFilterEditorPresets {
    std::vector<TMethodListEntry> Methods; // the statistics tab's method list, in its order
    int MethodRow = 0;                     // the method selected there
    QString DrawsLen;                      // its number of draws
    TWeights Weights;                      // the settings' weight coefficients
};

class TFilterDialog : public QDialog {
    Q_OBJECT
public:
    TFilterDialog(const TFilterItem& item, const TFilterEditorPresets& presets, const TStatList& registry,
                  IUserInterface& ui, QWidget* parent = nullptr);

    // The filter as the controls have it.
    TFilterItem Result() const;

    QComboBox* MethodList() const { return Method_; }
    QLineEdit* DrawsLenEdit() const { return DrawsLen_; }
    QComboBox* SortOrderList() const { return SortOrder_; }
    QComboBox* DirectionList() const { return Direction_; }
    QComboBox* FilterModeList() const { return FilterMode_; }
    QCheckBox* MultiSelectBox() const { return MultiSelect_; }
    QComboBox* LevelModeList() const { return LevelMode_; }
    QLineEdit* LevelValueEdit() const { return LevelValue_; }
    QCheckBox* OverrideBox() const { return Override_; }
    QLineEdit* CoefCountEdit() const { return CoefCount_; }
    QLineEdit* CoefDeviationEdit() const { return CoefDeviation_; }
    QLineEdit* CoefLevelEdit() const { return CoefLevel_; }
    QCheckBox* PercentsBox() const { return Percents_; }
    QCheckBox* AbsBox() const { return Abs_; }
    QComboBox* StopModeList() const { return StopMode_; }
    QSpinBox* StopValueEdit() const { return StopValue_; }

public slots:
    // Closes only when the filter passes the checks.
    void accept() override;

private:
    void UpdateEnabling();
    void ShowWeights(const TWeights& weights);

    const TFilterEditorPresets& Presets_;
    const TStatList& Registry_;
    IUserInterface& Ui_;
    QComboBox* Method_;
    QLineEdit* DrawsLen_;
    QComboBox* SortOrder_;
    QComboBox* Direction_;
    QComboBox* FilterMode_;
    QCheckBox* MultiSelect_;
    QComboBox* LevelMode_;
    QLineEdit* LevelValue_;
    QCheckBox* Override_;
    QLineEdit* CoefCount_;
    QLineEdit* CoefDeviation_;
    QLineEdit* CoefLevel_;
    QCheckBox* Percents_;
    QCheckBox* Abs_;
    QComboBox* StopMode_;
    QSpinBox* StopValue_;
};

} // namespace kumby::gui
