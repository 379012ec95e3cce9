#pragma once

#include "app/IUserInterface.h"

#include <iosfwd>
#include <string>

namespace kumby::cli {

// Messages go to the error stream with "\r" as line breaks; questions are answered
// by --yes, or at the terminal when there is one.
class TCliUserInterface : public IUserInterface {
public:
    TCliUserInterface(std::ostream& err, std::istream& in, bool assumeYes, bool interactive)
        : Err_(err), In_(in), AssumeYes_(assumeYes), Interactive_(interactive) {}

    void ShowError(const std::string& text) override;
    void ShowInfo(const std::string& text) override;
    void ShowWarning(const std::string& text) override;
    void ShowAttention(const std::string& text) override;
    bool Confirm(const std::string& text, TConfirmKind kind) override;
    void SetStatus(const std::string&) override {}

    bool ErrorShown() const { return ErrorShown_; }
    void ClearErrorShown() { ErrorShown_ = false; }
    bool Declined() const { return Declined_; }
    // A question that follows a finished command (whether to do more) does not undo it.
    void ClearDeclined() { Declined_ = false; }

private:
    void Write(const std::string& text);

    std::ostream& Err_;
    std::istream& In_;
    bool AssumeYes_;
    bool Interactive_;
    bool ErrorShown_ = false;
    bool Declined_ = false;
};

} // namespace kumby::cli
