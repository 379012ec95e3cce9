// A program killed in the middle of a back-test leaves files the next start reads
// whole, with ratings that count exactly the checked stakes of the file.

#include "model/VexoUtils.h"
#include "support/KillMidWay.h"
#include "support/RatingsFigures.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::RatingsFigures;
using testing::TRecordingUi;
using testing::TTestSession;

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

    const std::filesystem::path folder = t.Path();
    const bool killed = testing::KillMidWay(
        [&](const std::function<void()>& started) {
            TRecordingUi ui;
            TSessionOptions options;
            options.DataDir = folder;
            options.Headless = true;
            Session session(ui, options);
            session.Create();
            session.Start();
            bool told = false;
            ui.OnEvent = [&](TSessionEvent e) {
                if (!told && e == TSessionEvent::ScriptRunChanged && session.ScriptRunState().Cycle >= 3) {
                    told = true;
                    started();
                }
            };
            session.ScriptBackTest(session.Script().Lines(), 40);
        },
        30000);
    ASSERT_TRUE(killed) << "the back-test finished before it could be killed";

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
    const std::vector<std::string> ratings = RatingsFigures(t.S->Ratings().Items());
    t.Ui.Answers = {true};
    ASSERT_TRUE(t.S->RatingsRefresh());
    EXPECT_EQ(ratings, RatingsFigures(t.S->Ratings().Items()));
}

} // namespace
} // namespace kumby
