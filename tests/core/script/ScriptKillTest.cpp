// A program killed in the middle of a back-test leaves files the next start reads
// whole, with ratings that count exactly the checked stakes of the file.

#include "model/VexoUtils.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace kumby {
namespace {

using testing::TRecordingUi;
using testing::TTestSession;

std::vector<std::string> Figures(const TRatingsArray& items) {
    std::vector<std::string> lines;
    for (const TRatingEntry& e : items) {
        std::string line = Format("%s: %d stakes, %d hits, profit %lld, by hits", e.Name.c_str(), e.Count,
                                  e.HitSum, static_cast<long long>(e.Profit));
        for (int32_t n : e.HitCounts)
            line += " " + std::to_string(n);
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(ScriptKillTest, AKilledBackTestLeavesLoadableFilesAndExactRatings) {
    const std::vector<std::string> script = {
        "FULL:0#ALL|TSD1#NUMS:5,10#LNO:#SC:40| | | | | | |много ставок",
        "",
        "FULL:0#RAND|TSD1#NUMS:10#LNO:#SC:5000| | | | | | |по одной",
    };
    TTestSession t;
    t.StartWith(testing::RandomArchive(60, 21));
    for (const std::string& line : script)
        ASSERT_TRUE(line.empty() ? t.S->ScriptAddSeparator().has_value() : t.S->ScriptAdd(line).has_value());
    t.S->Close(false);

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        TRecordingUi ui;
        TSessionOptions options;
        options.DataDir = t.Path();
        options.Headless = true;
        Session session(ui, options);
        session.Create();
        session.Start();
        bool told = false;
        ui.OnEvent = [&](TSessionEvent e) {
            if (!told && e == TSessionEvent::ScriptRunChanged && session.ScriptRunState().Cycle >= 3) {
                told = true;
                const char one = 1;
                (void)!::write(ready[1], &one, 1);
            }
        };
        session.ScriptBackTest(session.Script().Lines(), 40);
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::usleep(30000);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the back-test finished before it could be killed";

    t.Ui.Messages.clear();
    t.Open();
    ASSERT_EQ(t.Start(), TStartResult::Ready);
    EXPECT_TRUE(t.Ui.Errors().empty()) << t.Ui.Errors()[0];
    EXPECT_EQ(t.S->Script().Lines(), script);
    EXPECT_GT(t.S->Stakes().Count(), 0);
    int64_t checked = 0;
    t.S->Stakes().ForEach(0, [&](int64_t, const TStakeRecord& r) {
        EXPECT_TRUE(r.IsSeparator() || r.Kind == StakeKindScript);
        checked += r.MatchedCount() >= 0 && !r.IsSeparator();
        return true;
    });
    EXPECT_GT(checked, 0);

    // The ratings hold exactly what the checked stakes of the file give.
    const std::vector<std::string> ratings = Figures(t.S->Ratings().Items());
    t.Ui.Answers = {true};
    ASSERT_TRUE(t.S->RatingsRefresh());
    EXPECT_EQ(ratings, Figures(t.S->Ratings().Items()));
}

} // namespace
} // namespace kumby
