#include "CliApp.h"
#include "CliRun.h"

#include "combs/PrefetchFile.h"
#include "io/AtomicFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::RunCliIn;
using testing::TRun;
using testing::TTempDir;
using testing::WriteBytes;

// Every file but those named is planted with a marker first, so a run builds only
// what the test is about.
class PrefetchCliTest : public ::testing::Test {
protected:
    TRun Run(std::vector<std::string> args) { return RunCliIn(Dir.Path(), std::move(args)); }
    std::vector<std::string> Codes() {
        std::vector<std::string> codes;
        std::istringstream lines(Run({"methods", "--all"}).Out);
        std::string line;
        std::getline(lines, line); // header
        while (std::getline(lines, line)) {
            const std::size_t a = line.find('\t') + 1;
            codes.push_back(line.substr(a, line.find('\t', a) - a));
        }
        return codes;
    }
    std::filesystem::path File(const std::string& code) const { return PrefetchFilePath(Dir.Path(), code); }
    void PlantAllBut(const std::vector<std::string>& missing) {
        std::filesystem::create_directories(Dir / PrefetchFolderName);
        for (const std::string& code : Codes())
            if (std::find(missing.begin(), missing.end(), code) == missing.end())
                WriteBytes(File(code), Marker);
    }
    bool IsMarker(const std::string& code) const { return ReadBytes(File(code)) == Marker; }

    TTempDir Dir;
    // A sound file of one value, 99 seen once: kept unless a run is to build it.
    const std::string Marker = std::string("\x63\0\0\0\0\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\0\0\0\0\0\0", 24);
};

TEST_F(PrefetchCliTest, BuildsMissingFilesWithTheComparisonOff) {
    PlantAllBut({"POS5"});
    const TRun r = Run({"prefetch"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "1\n");
    EXPECT_EQ(ReadBytes(File("POS5")).size(), 14u * 12) << "5..17 and the trailer";
    EXPECT_TRUE(IsMarker("NUMS"));
    EXPECT_TRUE(IsMarker("POS4"));
}

TEST_F(PrefetchCliTest, NamedMethodsAreMadeAgainAlongWithTheMissing) {
    PlantAllBut({"POS7"});
    const TRun r = Run({"prefetch", "POS4", "pos6", "POS4"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "3\n");
    EXPECT_FALSE(IsMarker("POS4"));
    EXPECT_FALSE(IsMarker("POS6"));
    EXPECT_TRUE(std::filesystem::exists(File("POS7")));
    EXPECT_TRUE(IsMarker("POS5"));

    const TRun none = Run({"prefetch", "--groups", "13,15"});
    ASSERT_EQ(none.Code, 0) << none.Err;
    EXPECT_EQ(none.Out, "0\n") << "no method in those groups, nothing missing";
}

TEST_F(PrefetchCliTest, BadArgumentsAreErrorsNamingThem) {
    struct TCase {
        std::vector<std::string> Args;
        std::string Named;
    };
    const TCase cases[] = {
        {{"prefetch", "NUMS", "XYZ1"}, "\"XYZ1\""}, {{"prefetch", "--groups", "0,x"}, "\"x\""},
        {{"prefetch", "--groups", "16"}, "\"16\""}, {{"prefetch", "--groups"}, "--groups"},
        {{"prefetch", "--fast"}, "\"--fast\""},
    };
    for (const TCase& c : cases) {
        const TRun r = Run(c.Args);
        EXPECT_EQ(r.Code, 1) << c.Named;
        EXPECT_EQ(r.Out, "") << c.Named;
        EXPECT_NE(r.Err.find(c.Named), std::string::npos) << r.Err;
    }
    EXPECT_FALSE(std::filesystem::exists(Dir / PrefetchFolderName)) << "nothing built before the check";
}

TEST_F(PrefetchCliTest, FailedFileMakesTheExitCodeOne) {
    PlantAllBut({});
    SetWriteFaultHookForTesting([](std::size_t) { return false; });
    const TRun r = Run({"prefetch", "POS1"});
    SetWriteFaultHookForTesting(nullptr);
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "") << "a failed command prints no result";
    EXPECT_NE(r.Err.find("Ошибка создания файла данных для полного набора вариантов!"), std::string::npos)
        << r.Err;
    EXPECT_FALSE(std::filesystem::exists(File("POS1")));
}

} // namespace
} // namespace kumby
