#pragma once

// What the stakes commands of the session share.

#include "app/IUserInterface.h"
#include "stakes/StakesFile.h"

#include <cstdint>
#include <string>

namespace kumby {

// Long stakes operations report through the window and poll its Stop.
class TUiStakesProgress : public IStakesProgress {
public:
    explicit TUiStakesProgress(IUserInterface& ui) : Ui_(ui) {}
    void Status(const std::string& text) override {
        Ui_.SetStatus(text);
        Ui_.PumpEvents();
    }
    void Progress(int64_t done, int64_t total) override {
        Ui_.SetProgress(done, total);
        Ui_.PumpEvents();
    }
    bool StopRequested() override { return Ui_.StopRequested(); }

private:
    IUserInterface& Ui_;
};

// The checks of the multi-stake dialog's fields that its controls make before OK;
// empty when they pass.
std::string StakeFieldsProblem(int64_t drawNumber, int copies, const std::string& comment);

} // namespace kumby
