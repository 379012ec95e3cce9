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

// One batch of a longer run: its progress is shown as progress of the whole run.
class TBatchProgress : public IStakesProgress {
public:
    TBatchProgress(IStakesProgress& run, int64_t total) : Run_(run), Total_(total) {}
    void StartBatch(int64_t done) { Done_ = done; }
    void Status(const std::string& text) override { Run_.Status(text); }
    void Progress(int64_t done, int64_t /*total*/) override { Run_.Progress(Done_ + done, Total_); }
    bool StopRequested() override { return Run_.StopRequested(); }

private:
    IStakesProgress& Run_;
    int64_t Total_;
    int64_t Done_ = 0;
};

// The checks of the multi-stake dialog's fields that its controls make before OK;
// empty when they pass.
std::string StakeFieldsProblem(int64_t drawNumber, int copies, const std::string& comment);

} // namespace kumby
