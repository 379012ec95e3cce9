// A default list file that cannot be read spoils only the start list: every other
// command still runs, and only the generation that asks for the file fails.

#include "CliRun.h"

#include "app/MainSettings.h"
#include "combs/CombList.h"
#include "io/IniFile.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kumby {
namespace {

using testing::TTempDir;

TEST(ListFileCliTest, UnreadableDefaultListFileFailsOnlyTheGenerationFromIt) {
    TTempDir dir;
    testing::WriteArchive(dir.Path(), {testing::PlainDraw(1), testing::SpreadDraw(2, 3)});
    ASSERT_EQ(::mkfifo((dir / "fifo.lcv").c_str(), 0600), 0);
    TIniFile ini;
    WriteGenerateGroup(ini, {GenerateFromFileMode, (dir / "fifo.lcv").string()});
    ini.Save(dir / MainSettingsFileName);

    const testing::TRun stats = testing::RunCliIn(dir.Path(), {"stats", "NUMS"});
    EXPECT_EQ(stats.Code, 0) << stats.Err;
    EXPECT_NE(stats.Err.find("fifo.lcv"), std::string::npos) << "the warning is still given";
    EXPECT_EQ(testing::RunCliIn(dir.Path(), {"draws"}).Code, 0);

    const testing::TRun generate =
        testing::RunCliIn(dir.Path(), {"combs", "generate", "--mode", "4", "--param",
                                       (dir / "fifo.lcv").string(), "--out", (dir / "out.lcv").string()});
    EXPECT_EQ(generate.Code, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.lcv"));
}

} // namespace
} // namespace kumby
