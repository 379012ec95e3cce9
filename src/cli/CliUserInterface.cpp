#include "CliUserInterface.h"

#include <istream>
#include <ostream>

namespace kumby::cli {

void TCliUserInterface::Write(const std::string& text) {
    std::string line = text;
    for (char& c : line)
        if (c == '\r')
            c = '\n';
    Err_ << line << '\n';
}

void TCliUserInterface::ShowError(const std::string& text) {
    ErrorShown_ = true;
    Write(text);
}

void TCliUserInterface::ShowInfo(const std::string& text) {
    Write(text);
}
void TCliUserInterface::ShowWarning(const std::string& text) {
    Write(text);
}
void TCliUserInterface::ShowAttention(const std::string& text) {
    Write(text);
}

bool TCliUserInterface::Confirm(const std::string& text, TConfirmKind) {
    if (AssumeYes_)
        return true;
    if (Interactive_) {
        Write(text + " [y/N]");
        std::string answer;
        std::getline(In_, answer);
        if (answer == "y" || answer == "Y" || answer == "yes" || answer == "д" || answer == "Д" ||
            answer == "да")
            return true;
    } else {
        Write(text);
        Write("Подтвердите ключом --yes.");
    }
    Declined_ = true;
    return false;
}

} // namespace kumby::cli
