#pragma once

// The session's user interface: message boxes, the status text, event pumping and
// the help dialog. A test can take the place of the person through the answerers.

#include "app/IUserInterface.h"

#include <QString>

#include <QPointer>
#include <QProgressDialog>

#include <functional>
#include <string>

class QWidget;

namespace kumby::gui {

enum class TMessageKind { Error, Info, Warning, Attention, Question, Deletion, ErrorQuestion };

struct TShownMessage {
    TMessageKind Kind;
    QString Caption;
    QString Text; // "\r" already turned into line breaks
};

class TMessageBoxUi : public IUserInterface {
public:
    void ShowError(const std::string& text) override;
    void ShowInfo(const std::string& text) override;
    void ShowWarning(const std::string& text) override;
    void ShowAttention(const std::string& text) override;
    bool Confirm(const std::string& text, TConfirmKind kind) override;
    void SetStatus(const std::string& text) override;
    // A progress window with the status text it opens with, and below it each later
    // status text; a total of 0 closes it, WaitTotal shows it without a measure. Its
    // cancel button is the stop request of the work it shows.
    void SetProgress(long long done, long long total) override;
    void SetWaitHeading(const std::string& text) override;
    bool StopRequested() override;
    // Asks whatever runs to stop at its next check, as the progress window's Stop does.
    void RequestStop() { StopAll_ = true; }
    void PumpEvents() override;
    void Notify(TSessionEvent event) override;
    void ShowHelpDialog(THelpDialogRequest& request) override;
    // Opens the file in the desktop's program for text files.
    void ShowTextFile(const std::filesystem::path& file) override;

    // The window that owns the boxes (none: the active window).
    QWidget* Owner = nullptr;
    // The help file the help dialog offers.
    QString HelpFile;
    // Where the status text and the session's events go.
    std::function<void(const QString&)> OnStatus;
    std::function<void(TSessionEvent)> OnNotify;

    // When set, no box is shown: the answerer sees every message and answers the
    // questions (its result is ignored for the others).
    std::function<bool(const TShownMessage&)> Answerer;
    // When set, the help dialog is not shown; the answerer fills the request.
    std::function<void(THelpDialogRequest&)> HelpAnswerer;
    // When set, text files go here instead of to the desktop.
    std::function<void(const std::filesystem::path&)> TextFileOpener;

    // Sees every progress step (the window is shown all the same).
    std::function<void(long long done, long long total)> ProgressObserver;
    // The open progress window, if any.
    QProgressDialog* Progress() const { return Progress_; }

    static QString CaptionOf(TMessageKind kind);

private:
    bool Show(TMessageKind kind, const std::string& text);

    void ShowProgressText();

    QString Status_;
    QPointer<QProgressDialog> Progress_;
    // The progress window keeps the text it opened with as its first line; the
    // step in hand (the file being built, say) is the second.
    QString ProgressHeading_;
    QString ProgressStep_;
    bool StopAll_ = false;
};

} // namespace kumby::gui
