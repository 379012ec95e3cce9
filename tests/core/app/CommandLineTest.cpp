#include "app/CommandLine.h"
#include "app/ProcessWait.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace kumby {
namespace {

TEST(CommandLine, SwitchesInEveryForm) {
    struct TCase {
        const char* Arg;
        bool Matches;
    };
    const TCase cases[] = {
        {"fullrefresh", true},   {"-fullrefresh", true},   {"--fullrefresh", true},
        {"/FULLREFRESH", true},  {"\\FullRefresh", true},  {"---fullrefresh", false},
        {"fullrefresh2", false}, {"//fullrefresh", false}, {"", false},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(IsSwitch(c.Arg, "fullrefresh"), c.Matches) << c.Arg;
}

TEST(CommandLine, ParsesAllSwitchesAndTheDataFolder) {
    const TCommandLine cl = ParseCommandLine({"restart", "/no-language", "-LOADONLY", "--fullrecreate",
                                              "\\fullrefresh", "--data-dir", "/x y", "other"});
    EXPECT_TRUE(cl.Restart);
    EXPECT_TRUE(cl.NoLanguage);
    EXPECT_TRUE(cl.LoadOnly);
    EXPECT_TRUE(cl.FullRecreate);
    EXPECT_TRUE(cl.FullRefresh);
    EXPECT_EQ(cl.DataDir, "/x y");
    EXPECT_EQ(cl.Others, std::vector<std::string>{"other"});
    EXPECT_EQ(ParseCommandLine({"--data-dir=/d"}).DataDir, "/d");
    EXPECT_FALSE(ParseCommandLine({}).Restart);
}

TEST(ProcessWait, PollsAtMostTheGivenNumberOfTimes) {
    int checks = 0;
    EXPECT_FALSE(WaitWhileRunning([&] { return ++checks, true; }, 601, std::chrono::milliseconds(0)));
    EXPECT_EQ(checks, 601);

    checks = 0;
    EXPECT_TRUE(WaitWhileRunning([&] { return ++checks < 3; }, 601, std::chrono::milliseconds(0)));
    EXPECT_EQ(checks, 3);
}

} // namespace
} // namespace kumby
