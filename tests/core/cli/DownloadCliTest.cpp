// "download" against a local site: in-process, and as a real program killed between batches.

#include "CliRun.h"
#include "core/download/LocalSite.h"
#include "core/download/SitePages.h"
#include "draws/DrawArchive.h"
#include "io/IniFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <thread>

extern char** environ;

namespace kumby {
namespace {

using testing::RangePageHtml;
using testing::RunCliIn;
using testing::SiteDraws;
using testing::TLocalSite;
using testing::TSiteRequest;
using testing::TSiteResponse;

const std::string FirstBatch = "/12x24/archive?mode=draw&firstDraw=0001&lastDraw=0050";
const std::string SecondBatch = "/12x24/archive?mode=draw&firstDraw=0051&lastDraw=0100";

TDrawsArray Saved(const std::filesystem::path& dir) {
    TDrawsArray draws;
    LoadDrawArchive(dir / DrawsFileName, draws);
    return draws;
}

TEST(DownloadCliTest, PrintsEachBatchAndTheDrawsAdded) {
    testing::TTempDir dir;
    TLocalSite site([](const TSiteRequest& r) {
        TSiteResponse a;
        if (r.Target == FirstBatch)
            a.Body = RangePageHtml(SiteDraws(1, 50));
        else if (r.Target == SecondBatch)
            a.Body = RangePageHtml(SiteDraws(51, 99));
        else
            a.Body = RangePageHtml({}); // no newer draws yet
        return a;
    });
    const testing::TRun r = RunCliIn(dir.Path(), {"download", "--url", site.Url()});
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "99\n");
    EXPECT_EQ(r.Err, "Тиражи 1 - 50: добавлено 50\nТиражи 51 - 100: добавлено 49\n");
    EXPECT_EQ(Saved(dir.Path()).size(), 99u);

    // Up to date: nothing more, and success.
    const testing::TRun again = RunCliIn(dir.Path(), {"download", "--url", site.Url()});
    EXPECT_EQ(again.Code, 0);
    EXPECT_EQ(again.Out, "0\n");
}

TEST(DownloadCliTest, FailuresAndAMissingAddress) {
    testing::TTempDir dir;
    testing::TRun r = RunCliIn(dir.Path(), {"download"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("[DOWNLOAD]"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("SiteUrl"), std::string::npos);

    // The settings file's address; every answer fails and --yes retries only so often.
    int calls = 0;
    TLocalSite site([&](const TSiteRequest&) {
        ++calls;
        TSiteResponse a;
        a.Status = 500;
        return a;
    });
    TIniFile ini;
    ini.WriteString("DOWNLOAD", "SiteUrl", site.Url() + "/");
    ini.Save(dir.Path() / "Kumby_12x24.ini");
    r = RunCliIn(dir.Path(), {"--yes", "download", "--retries", "2"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, ""); // a failed command prints no result
    EXPECT_EQ(calls, 3);
    EXPECT_NE(r.Err.find("HTTP 500"), std::string::npos) << r.Err;
}

// The real program killed while it waits for the second batch: the first is on disk
// whole, and the next download goes on from there.
TEST(DownloadCliTest, KilledBetweenBatchesKeepsWhatWasSaved) {
    testing::TTempDir dir;
    std::atomic<bool> secondAsked{false};
    std::atomic<bool> serveSecond{false};
    TLocalSite site([&](const TSiteRequest& r) {
        TSiteResponse a;
        if (r.Target == FirstBatch) {
            a.Body = RangePageHtml(SiteDraws(1, 50));
        } else if (r.Target == SecondBatch && !serveSecond) {
            secondAsked = true;
            a.Stall = true;
        } else if (r.Target == SecondBatch) {
            a.Body = RangePageHtml(SiteDraws(51, 99));
        } else {
            a.Status = 404;
        }
        return a;
    });

    const std::string dataDir = dir.Path().string();
    const std::string url = site.Url();
    std::vector<std::string> args = {KUMBY_CLI_PATH, "--data-dir", dataDir, "download", "--url", url};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!secondAsked && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(secondAsked);
    ASSERT_TRUE(WIFSIGNALED(status));

    TDrawsArray saved = Saved(dir.Path());
    ASSERT_EQ(saved.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(saved[static_cast<std::size_t>(i)].Number, i + 1);

    serveSecond = true;
    const testing::TRun r = RunCliIn(dir.Path(), {"download", "--url", url});
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "49\n");
    EXPECT_EQ(Saved(dir.Path()).size(), 99u);
}

} // namespace
} // namespace kumby
