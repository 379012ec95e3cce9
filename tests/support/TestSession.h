#pragma once

// A session on a temporary data folder with a recording user interface: the one
// set-up of every core test that drives the program as a whole.

#include "app/Session.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

namespace kumby::testing {

class TTestSession {
public:
    // Creates the session (creation steps only); Start() runs the start-up.
    explicit TTestSession(TCommandLine commandLine = {}, bool headless = true) {
        Open(std::move(commandLine), headless);
    }
    // A second program on the folder of another.
    TTestSession(const TTestSession& other, TCommandLine commandLine, bool headless = true)
        : OwnDir_(false), SharedPath_(other.Path()) {
        Open(std::move(commandLine), headless);
    }

    // Creates a session on the same folder again (after Close or destruction of S).
    void Open(TCommandLine commandLine = {}, bool headless = true) {
        S.reset();
        TSessionOptions options;
        options.DataDir = Path();
        options.CommandLine = std::move(commandLine);
        options.Headless = headless;
        S = std::make_unique<Session>(Ui, options);
        EXPECT_TRUE(S->Create());
    }
    TStartResult Start() { return S->Start(); }
    // Writes the archive, then creates and starts the session on it.
    void StartWith(const TDrawsArray& draws) {
        WriteArchive(Path(), draws);
        Open();
        ASSERT_EQ(S->Start(), TStartResult::Ready);
    }

    const std::filesystem::path& Path() const { return OwnDir_ ? Dir.Path() : SharedPath_; }
    std::filesystem::path operator/(const std::string& name) const { return Path() / name; }

    TTempDir Dir;
    TRecordingUi Ui;
    std::unique_ptr<Session> S;

private:
    bool OwnDir_ = true;
    std::filesystem::path SharedPath_;
};

// The statistics tab's keep or remove step with the NUMS rows of these numbers, the
// table computed over the last 100 draws.
inline void FilterByNumbers(Session& s, const std::vector<int>& numbers, bool exclude) {
    s.View().DrawsStatLen = 100;
    s.SortStatTable(-1, false);
    s.ComputeTable(static_cast<std::size_t>(s.Registry().FindByCode("NUMS")), true);
    std::vector<std::size_t> rows;
    const TStatTable& t = s.LastStatTable();
    for (std::size_t r = 0; r < t.RowCount(); ++r)
        for (int n : numbers)
            if (t.DisplayText(r, StatColValue) == std::to_string(n))
                rows.push_back(r);
    s.StatFilter(rows, exclude);
}

} // namespace kumby::testing
