#pragma once

// The dialogs of the systems the program makes and checks: the request of a new
// system, and the report of what a system guarantees.

#include "stakes/SystemGenerator.h"
#include "stakes/Systems.h"

#include <QDialog>

class QLabel;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace kumby {
class IUserInterface;
}

namespace kumby::gui {

// "Создание системы": n, full or reduced, and m and t of the reduced guarantee. OK is
// taken only for a request the core accepts; its message is shown otherwise.
class TSystemGenerateDialog : public QDialog {
    Q_OBJECT
public:
    TSystemGenerateDialog(int n, IUserInterface& ui, QWidget* parent = nullptr);

    TSystemRequest Request() const;

    QSpinBox* NEdit() const { return N_; }
    QRadioButton* FullButton() const { return Full_; }
    QRadioButton* ReducedButton() const { return Reduced_; }
    QSpinBox* MEdit() const { return M_; }
    QSpinBox* TEdit() const { return T_; }
    QLabel* FileLabel() const { return File_; }

public slots:
    void accept() override;

private:
    void Sync();

    IUserInterface& Ui_;
    QSpinBox* N_;
    QRadioButton* Full_;
    QRadioButton* Reduced_;
    QSpinBox* M_;
    QSpinBox* T_;
    QLabel* File_;
};

// The figures of a system: its file, its combinations and, when it was checked for m
// drawn numbers among its n, the guarantee and how many of those draws are matched
// at best by k numbers.
class TSystemReportDialog : public QDialog {
    Q_OBJECT
public:
    TSystemReportDialog(const QString& caption, const TSystemFileInfo& info, int m, const TSystemCheck* check,
                        QWidget* parent = nullptr);

    QLabel* FileLabel() const { return File_; }
    QLabel* CombinationsLabel() const { return Combinations_; }
    QLabel* GuaranteeLabel() const { return Guarantee_; }
    // Best match, draws; empty when the system was not checked.
    QTableWidget* DrawsTable() const { return Draws_; }

private:
    QLabel* File_;
    QLabel* Combinations_;
    QLabel* Guarantee_;
    QTableWidget* Draws_;
};

} // namespace kumby::gui
