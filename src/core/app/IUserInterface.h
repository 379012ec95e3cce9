#pragma once

#include <filesystem>
#include <string>

namespace kumby {

enum class TConfirmKind {
    Question,      // "Подтверждение", Yes/No
    Deletion,      // "Предупреждение", Yes/No, No is the default
    ErrorQuestion, // "Ошибка", Yes/No: whether to try a failed step again
};

// What the session tells the windows that show its data.
enum class TSessionEvent {
    BusyChanged,         // the busy counter went from 0 to 1 or back
    DrawsChanged,        // the archive, the offset or the derived status panels changed
    DrawsDisplayChanged, // display switches of the draws list (sorted, colours)
    AnalysisViewsChanged,
    CombsChanged, // the working list, its undo copy or the operation history changed
    SettingsChanged,
    StakesChanged,    // records of the stakes file were added, checked or removed
    RatingsChanged,   // the ratings were saved: their records, order or view changed
    RegularsChanged,  // the regular stakes or the visibility of their tab changed
    ScriptRunChanged, // the panels of a script run or its running line changed
    ScriptChanged,    // the lines of the script changed
};

// The help dialog shown at the end of start-up.
struct THelpDialogRequest {
    bool HelpFileAvailable = false;
    bool DontShowAgain = false; // out
};

// Everything the core needs from a person or a window. Texts are UTF-8 and keep
// "\r" as the line break of message boxes.
class IUserInterface {
public:
    virtual ~IUserInterface() = default;

    virtual void ShowError(const std::string& text) = 0;
    virtual void ShowInfo(const std::string& text) = 0;
    virtual void ShowWarning(const std::string& text) = 0;
    virtual void ShowAttention(const std::string& text) = 0;
    virtual bool Confirm(const std::string& text, TConfirmKind kind = TConfirmKind::Question) = 0;

    // The last status-bar panel; empty clears it.
    virtual void SetStatus(const std::string& text) = 0;
    // A total of 0 ends the progress shown; WaitTotal stands for work of no known size.
    static constexpr long long WaitTotal = -1;
    virtual void SetProgress(long long /*done*/, long long /*total*/) {}
    // Replaces the first text of the open progress window; the status steps stay below it.
    virtual void SetWaitHeading(const std::string& /*text*/) {}
    // Keeps the window painted during long work.
    virtual void PumpEvents() {}
    virtual bool StopRequested() { return false; }

    virtual void Notify(TSessionEvent /*event*/) {}
    virtual void ShowHelpDialog(THelpDialogRequest& /*request*/) {}
    // A text file the user asked to read when it is done (a script log).
    virtual void ShowTextFile(const std::filesystem::path& /*file*/) {}
};

} // namespace kumby
