#pragma once

// What a long job needs from a person while it runs: messages, questions, the status
// line, progress and Stop. Subsystems below the session take this much of the user
// interface and no more.

#include <string>

namespace kumby {

enum class TConfirmKind {
    Question,      // "Подтверждение", Yes/No
    Deletion,      // "Предупреждение", Yes/No, No is the default
    ErrorQuestion, // "Ошибка", Yes/No: whether to try a failed step again
};

// Texts are UTF-8 and keep "\r" as the line break of message boxes.
class IJobInterface {
public:
    virtual ~IJobInterface() = default;

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
};

} // namespace kumby
