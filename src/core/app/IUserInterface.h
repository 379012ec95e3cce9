#pragma once

#include "model/IJobInterface.h"

#include <filesystem>
#include <string>

namespace kumby {

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

// Everything the core needs from a person or a window: what a job needs, and what
// the session tells the windows that show its data.
class IUserInterface : public IJobInterface {
public:
    virtual void Notify(TSessionEvent /*event*/) {}
    virtual void ShowHelpDialog(THelpDialogRequest& /*request*/) {}
    // A text file the user asked to read when it is done (a script log).
    virtual void ShowTextFile(const std::filesystem::path& /*file*/) {}
};

} // namespace kumby
