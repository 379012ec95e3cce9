#include "MessageBoxUi.h"

#include "GuiText.h"
#include "HelpDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProgressDialog>
#include <QUrl>

namespace kumby::gui {

QString TMessageBoxUi::CaptionOf(TMessageKind kind) {
    switch (kind) {
    case TMessageKind::Error:
    case TMessageKind::ErrorQuestion:
        return QStringLiteral("Ошибка");
    case TMessageKind::Info:
        return QStringLiteral("Информация");
    case TMessageKind::Warning:
    case TMessageKind::Deletion:
        return QStringLiteral("Предупреждение");
    case TMessageKind::Attention:
        return QStringLiteral("Внимание!");
    case TMessageKind::Question:
        return QStringLiteral("Подтверждение");
    }
    return {};
}

bool TMessageBoxUi::Show(TMessageKind kind, const std::string& text) {
    const TShownMessage message{kind, CaptionOf(kind), ShownText(text)};
    if (Answerer)
        return Answerer(message);

    QMessageBox box(Owner ? Owner : QApplication::activeWindow());
    box.setWindowTitle(message.Caption);
    box.setText(message.Text);
    const bool question = kind == TMessageKind::Question || kind == TMessageKind::Deletion ||
                          kind == TMessageKind::ErrorQuestion;
    switch (kind) {
    case TMessageKind::Error:
    case TMessageKind::ErrorQuestion:
        box.setIcon(QMessageBox::Critical);
        break;
    case TMessageKind::Info:
        box.setIcon(QMessageBox::Information);
        break;
    case TMessageKind::Warning:
    case TMessageKind::Attention:
    case TMessageKind::Deletion:
        box.setIcon(QMessageBox::Warning);
        break;
    case TMessageKind::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (question) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
        // Deleting is the one question whose careless Enter must do nothing.
        box.setDefaultButton(kind == TMessageKind::Deletion ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    return box.exec() == QMessageBox::Yes;
}

void TMessageBoxUi::ShowError(const std::string& text) {
    Show(TMessageKind::Error, text);
}
void TMessageBoxUi::ShowInfo(const std::string& text) {
    Show(TMessageKind::Info, text);
}
void TMessageBoxUi::ShowWarning(const std::string& text) {
    Show(TMessageKind::Warning, text);
}
void TMessageBoxUi::ShowAttention(const std::string& text) {
    Show(TMessageKind::Attention, text);
}

bool TMessageBoxUi::Confirm(const std::string& text, TConfirmKind kind) {
    switch (kind) {
    case TConfirmKind::Deletion:
        return Show(TMessageKind::Deletion, text);
    case TConfirmKind::ErrorQuestion:
        return Show(TMessageKind::ErrorQuestion, text);
    case TConfirmKind::Question:
        break;
    }
    return Show(TMessageKind::Question, text);
}

void TMessageBoxUi::SetStatus(const std::string& text) {
    Status_ = Q(text);
    if (Progress_ && !Status_.isEmpty() && Status_ != ProgressHeading_) {
        ProgressStep_ = Status_;
        ShowProgressText();
    }
    if (OnStatus)
        OnStatus(Status_);
}

void TMessageBoxUi::SetWaitHeading(const std::string& text) {
    if (!Progress_)
        return;
    ProgressHeading_ = ShownText(text);
    ShowProgressText();
}

void TMessageBoxUi::ShowProgressText() {
    if (Progress_)
        Progress_->setLabelText(ProgressHeading_ + QLatin1Char('\n') + ProgressStep_);
}

void TMessageBoxUi::SetProgress(long long done, long long total) {
    if (total == 0) {
        delete Progress_;
        ProgressHeading_.clear();
        ProgressStep_.clear();
        if (ProgressObserver)
            ProgressObserver(done, total);
        return;
    }
    if (!Progress_) {
        Progress_ = new QProgressDialog(Owner ? Owner : QApplication::activeWindow());
        Progress_->setWindowTitle(QStringLiteral("Подождите пожалуйста..."));
        Progress_->setCancelButtonText(QStringLiteral("Стоп"));
        Progress_->setWindowModality(Qt::ApplicationModal);
        Progress_->setMinimumDuration(0);
        Progress_->setAutoClose(false);
        Progress_->setAutoReset(false);
        Progress_->setMinimumWidth(480);
        ProgressHeading_ = Status_;
        ProgressStep_.clear();
        // Two lines from the start: the window does not jump when the second comes.
        ShowProgressText();
        Progress_->show();
    }
    if (total < 0) {
        // No measure: the bar runs to and fro while the work goes on.
        Progress_->setRange(0, 0);
    } else {
        // The bar counts in ints; totals beyond that are scaled down.
        const long long scale = total > 1000000 ? total / 1000000 + 1 : 1;
        Progress_->setMaximum(static_cast<int>(total / scale));
        Progress_->setValue(static_cast<int>(std::min(done, total) / scale));
    }
    if (ProgressObserver)
        ProgressObserver(done, total);
    QCoreApplication::processEvents();
}

bool TMessageBoxUi::StopRequested() {
    return StopAll_ || (Progress_ && Progress_->wasCanceled());
}

void TMessageBoxUi::PumpEvents() {
    QCoreApplication::processEvents();
}

void TMessageBoxUi::Notify(TSessionEvent event) {
    if (OnNotify)
        OnNotify(event);
}

void TMessageBoxUi::ShowTextFile(const std::filesystem::path& file) {
    if (StopAll_)
        return; // the window is closing: no viewer pops up after it
    if (TextFileOpener) {
        TextFileOpener(file);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string()))))
        ShowError("Не удалось открыть файл \"" + file.string() + "\".");
}

void TMessageBoxUi::ShowHelpDialog(THelpDialogRequest& request) {
    if (HelpAnswerer) {
        HelpAnswerer(request);
        return;
    }
    THelpDialog dialog(request.HelpFileAvailable ? HelpFile : QString(),
                       Owner ? Owner : QApplication::activeWindow());
    dialog.exec();
    request.DontShowAgain = dialog.DontShowAgain();
}

} // namespace kumby::gui
