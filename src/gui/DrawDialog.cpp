#include "DrawDialog.h"

#include "GuiText.h"
#include "StandardTexts.h"
#include "app/IUserInterface.h"
#include "draws/DrawArchive.h"
#include "model/VexoUtils.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace kumby::gui {

namespace {

// The record's date, or now when it has none or an unreadable one.
QDateTime InitialDateTime(const TDrawRecord& draw) {
    TDateTime t = 0;
    try {
        t = TextToDrawDate(draw.DateTextUtf8());
    } catch (const std::exception&) {
        t = 0;
    }
    if (t > 0) {
        int year = 0, month = 0, day = 0, hour = 0, minute = 0;
        DecodeDateTime(t, year, month, day, hour, minute);
        if (year > 0)
            return QDateTime(QDate(year, month, day), QTime(hour, minute));
    }
    const QDateTime now = QDateTime::currentDateTime();
    return QDateTime(now.date(), QTime(now.time().hour(), now.time().minute()));
}

} // namespace

TDrawDialog::TDrawDialog(const QString& caption, const TDrawRecord& draw, bool withDate, IUserInterface& ui,
                         QWidget* parent)
    : QDialog(parent), Ui_(ui), Result_(draw), WithDate_(withDate) {
    setWindowTitle(caption);

    Number_ = new QSpinBox;
    Number_->setRange(1, INT_MAX);
    Number_->setValue(draw.Number);
    Number_->setMinimumWidth(120);

    Numbers_ = new QLineEdit(Q(NumbersToText(draw.Numbers, NumbersInDraw, ";")));
    Numbers_->setMinimumWidth(360);

    const QDateTime initial = InitialDateTime(draw);
    DateLabel_ = new QLabel(QStringLiteral("Дата и время тиража:"));
    Date_ = new QDateEdit(initial.date());
    Date_->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    // The first whole day a record can keep a date for (day 0 at 00:00 reads as none).
    Date_->setMinimumDate(QDate(1899, 12, 31));
    Date_->setCalendarPopup(true);
    Time_ = new QTimeEdit(initial.time());
    Time_->setDisplayFormat(QStringLiteral("HH:mm"));

    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(Number_);
    numberRow->addStretch();
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(Date_, 1);
    dateRow->addWidget(Time_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TDrawDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TDrawDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Номер тиража:")));
    layout->addLayout(numberRow);
    layout->addWidget(
        new QLabel(QStringLiteral("Выпавшие числа, разделенные точкой с запятой или запятой:")));
    layout->addWidget(Numbers_);
    layout->addWidget(DateLabel_);
    layout->addLayout(dateRow);
    layout->addStretch();
    layout->addWidget(buttons);

    DateLabel_->setVisible(withDate);
    Date_->setVisible(withDate);
    Time_->setVisible(withDate);
    if (!withDate)
        setFixedHeight(200);
    Numbers_->setFocus();
}

void TDrawDialog::CheckNumberAgainst(const TDrawsArray& draws, int ownIndex) {
    Draws_ = &draws;
    OwnIndex_ = ownIndex;
}

void TDrawDialog::accept() {
    TCombination numbers{};
    if (!ParseDrawNumbers(S(Numbers_->text()), numbers)) {
        Ui_.ShowError(BadDrawNumbersText);
        Numbers_->setFocus();
        Numbers_->selectAll();
        return;
    }
    const int32_t number = Number_->value();
    if (Draws_ && (OwnIndex_ < 0 || number != (*Draws_)[static_cast<std::size_t>(OwnIndex_)].Number)) {
        const std::vector<int> holders = DrawIndexesOfNumber(*Draws_, number);
        const bool taken = std::any_of(holders.begin(), holders.end(), [&](int i) { return i != OwnIndex_; });
        if (taken && !Ui_.Confirm(DrawNumberTakenQuestion(number))) {
            Number_->setFocus();
            Number_->selectAll();
            return;
        }
    }
    Result_.Number = number;
    Result_.SetNumbers(numbers);
    if (WithDate_) {
        const QDate d = Date_->date();
        const QTime t = Time_->time();
        Result_.SetDateTextUtf8(
            DrawDateToText(EncodeDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute())));
    }
    QDialog::accept();
}

} // namespace kumby::gui
