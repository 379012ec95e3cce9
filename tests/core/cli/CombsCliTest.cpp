#include "CliRun.h"

#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::ReadBytes;
using testing::TTempDir;
using testing::WriteArchive;

class CombsCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        TDrawsArray draws;
        for (int k = 1; k <= 6; ++k) {
            TCombination c;
            for (int i = 0; i < 12; ++i)
                c[i] = static_cast<uint8_t>(k + i);
            draws.push_back(DrawOf(100 + k, c, ""));
        }
        WriteArchive(Dir.Path(), draws);
    }
    int Run(std::vector<std::string> args, std::string* out = nullptr, std::string* err = nullptr) {
        const testing::TRun r = testing::RunCliIn(Dir.Path(), std::move(args));
        if (out)
            *out = r.Out;
        if (err)
            *err = r.Err;
        return r.Code;
    }
    std::string P(const char* name) { return (Dir / name).string(); }

    TTempDir Dir;
};

TEST_F(CombsCliTest, GenerateModesIntoAFile) {
    std::string out;
    ASSERT_EQ(Run({"combs", "generate", "--mode", "2", "--param", "1;2;3;4;5;6;7;8;9;10;11;12;13", "--out",
                   P("m2.lcv")},
                  &out),
              0);
    EXPECT_EQ(out, "13\n");
    EXPECT_EQ(ReadBytes(Dir / "m2.lcv").substr(0, 28), "1;2;3;4;5;6;7;8;9;10;11;12\r\n");
    ASSERT_EQ(Run({"combs", "generate", "--mode", "3", "--param", "1,2,3,4,5,6,7,8,9,10,11,12", "--out",
                   P("m3.lcv")},
                  &out),
              0);
    EXPECT_EQ(ReadBytes(Dir / "m3.lcv"), "13;14;15;16;17;18;19;20;21;22;23;24\r\n");
    EXPECT_EQ(Run({"combs", "generate", "--mode", "7", "--out", P("x.lcv")}), 1);
    EXPECT_EQ(Run({"combs", "generate"}), 1) << "--out is required";
}

TEST_F(CombsCliTest, ExcludeAndFilterChain) {
    ASSERT_EQ(Run({"combs", "generate", "--mode", "2", "--param", "1;2;3;4;5;6;7;8;9;10;11;12;13;14", "--out",
                   P("in.lcv")}),
              0); // C(14,12) = 91
    std::string out;
    ASSERT_EQ(
        Run({"--offset", "3", "combs", "exclude", "2", "--in", P("in.lcv"), "--out", P("ex.lcv")}, &out), 0);
    EXPECT_EQ(out, "89\n") << "draws 103 (3..14) and 102 (2..13) go";

    ASSERT_EQ(Run({"filter", "NUMS", "--keep", "1", "--in", P("ex.lcv"), "--out", P("k.lcv")}, &out), 0);
    EXPECT_EQ(out, "78\n") << "C(13,11) have 1, and neither excluded draw has it";
}

TEST_F(CombsCliTest, FilterErrorsNameTheProblem) {
    std::string err;
    EXPECT_EQ(Run({"filter", "NOPE", "--keep", "1", "--out", P("a.lcv")}, nullptr, &err), 1);
    EXPECT_NE(err.find("NOPE"), std::string::npos);
    EXPECT_EQ(Run({"filter", "NUMS", "--keep", "25", "--out", P("a.lcv")}, nullptr, &err), 1);
    EXPECT_NE(err.find("25"), std::string::npos);
    EXPECT_EQ(Run({"filter", "NUMS", "1", "--out", P("a.lcv")}, nullptr, &err), 1) << "keep or remove";
    EXPECT_FALSE(std::filesystem::exists(Dir / "a.lcv"));
}

TEST_F(CombsCliTest, FilterOnTheDefaultListRemovesEverySelectedNumber) {
    std::string out;
    ASSERT_EQ(Run({"filter", "EVEN", "--depth", "6", "--remove", "6:6", "--out", P("e.lcv")}, &out), 0);
    // Combinations with exactly six even numbers: C(12,6)^2 = 853776.
    EXPECT_EQ(out, std::to_string(2704156 - 853776) + "\n");
}

} // namespace
} // namespace kumby
