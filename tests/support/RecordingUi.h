#pragma once

#include "app/IUserInterface.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kumby::testing {

// Answers questions from a script and keeps every message, status and progress
// step for assertions; can ask long work to stop once it got far enough.
class TRecordingUi : public IUserInterface {
public:
    struct TMessage {
        std::string Kind; // "error", "info", "warning", "attention", "confirm"
        std::string Text;
    };

    void ShowError(const std::string& t) override { Messages.push_back({"error", t}); }
    void ShowInfo(const std::string& t) override { Messages.push_back({"info", t}); }
    void ShowWarning(const std::string& t) override { Messages.push_back({"warning", t}); }
    void ShowAttention(const std::string& t) override { Messages.push_back({"attention", t}); }
    bool Confirm(const std::string& t, TConfirmKind kind) override {
        Messages.push_back({kind == TConfirmKind::Deletion ? "confirm-delete" : "confirm", t});
        if (Answers.empty())
            return false;
        const bool a = Answers.front();
        Answers.pop_front();
        return a;
    }
    void SetStatus(const std::string& t) override { Statuses.push_back(t); }
    void SetProgress(long long done, long long total) override { Progress.push_back({done, total}); }
    void SetWaitHeading(const std::string& t) override { WaitHeadings.push_back(t); }
    bool StopRequested() override {
        return StopAfter >= 0 && !Progress.empty() && Progress.back().first >= StopAfter;
    }
    void Notify(TSessionEvent e) override {
        Events.push_back(e);
        if (OnEvent)
            OnEvent(e);
    }
    void ShowHelpDialog(THelpDialogRequest& r) override {
        ++HelpDialogs;
        r.DontShowAgain = HelpDontShowAgain;
    }

    std::vector<std::string> Errors() const {
        std::vector<std::string> out;
        for (const auto& m : Messages)
            if (m.Kind == "error")
                out.push_back(m.Text);
        return out;
    }

    std::vector<TMessage> Messages;
    std::vector<std::string> Statuses;
    std::vector<std::string> WaitHeadings;
    std::vector<TSessionEvent> Events;
    std::vector<std::pair<long long, long long>> Progress; // (done, total)
    long long StopAfter = -1;                              // progress step that asks to stop; -1 never
    std::deque<bool> Answers;
    std::function<void(TSessionEvent)> OnEvent; // runs after each event is recorded
    int HelpDialogs = 0;
    bool HelpDontShowAgain = false;
};

} // namespace kumby::testing
