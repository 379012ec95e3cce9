#pragma once

// "Методы шинковки": the three formulas of the shredding methods and the digits
// kept of each. Formulas are taken as typed; one without a value shreds to 0.

#include "model/Records.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QSpinBox;

namespace kumby::gui {

class TShreddingDialog : public QDialog {
    Q_OBJECT
public:
    explicit TShreddingDialog(const TShreddingSettings& shredding, QWidget* parent = nullptr);

    // The formulas and digits as the dialog shows them.
    TShreddingSettings Result() const;

    QLineEdit* FormulaEdit(int k) const { return Formulas_[static_cast<std::size_t>(k - 1)]; }
    QSpinBox* DigitsEdit(int k) const { return Digits_[static_cast<std::size_t>(k - 1)]; }

private:
    std::array<QLineEdit*, 3> Formulas_{};
    std::array<QSpinBox*, 3> Digits_{};
};

} // namespace kumby::gui
