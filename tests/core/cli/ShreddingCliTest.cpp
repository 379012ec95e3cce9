// "shredding": shows and sets the formulas; "stats SHR1" then follows them.

#include "CliRun.h"

#include "combs/PrefetchFile.h"
#include "io/IniFile.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::RunCliIn;
using testing::TRun;
using testing::TTempDir;
using testing::WriteArchive;

class ShreddingCliTest : public ::testing::Test {
protected:
    TRun Run(std::vector<std::string> args) { return RunCliIn(Dir.Path(), std::move(args)); }
    TTempDir Dir;
};

TEST_F(ShreddingCliTest, ShowsAndSetsTheFormulas) {
    TRun r = Run({"shredding"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "№\tФормула\tЗнаков\n"
                     "1\t(n1+n2+n3+n4+n5+n6)/(n7+n8+n9+n10+n11+n12)\t2\n"
                     "2\t(n7+n8+n9+n10+n11+n12)/(n1+n2+n3+n4+n5+n6)\t2\n"
                     "3\t(n1+n3+n5+n7+n9+n11)/(n2+n4+n6+n8+n10+n12)\t2\n");

    r = Run({"shredding", "--formula1", "n1 / 8", "--digits1", "3", "--digits3", "5"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_NE(r.Out.find("1\tn1 / 8\t3\n"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("\t5\n"), std::string::npos) << r.Out;
    const TIniFile ini = TIniFile::Load(Dir / "Kumby_12x24.ini");
    EXPECT_EQ(ini.ReadString("SHREDDING", "Formula1", ""), "n1 / 8");
    EXPECT_EQ(ini.ReadInteger("SHREDDING", "Formula3Digits", 0), 5);
    EXPECT_NE(Run({"methods"}).Out.find("Метод шинковки 1: n1 / 8"), std::string::npos);

    // A script's step: the table of SHR1 follows the new formula.
    WriteArchive(Dir.Path(), {DrawOf(1, {3, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12})});
    r = Run({"stats", "SHR1", "--depth", "1"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_NE(r.Out.find("\n375\t"), std::string::npos) << r.Out; // 3/8 unsorted
    r = Run({"--sorted", "stats", "SHR1", "--depth", "1"});
    EXPECT_NE(r.Out.find("\n125\t"), std::string::npos) << r.Out; // 1/8

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"shredding", "--digits2", "0"},
                                               {"shredding", "--digits2", "6"},
                                               {"shredding", "--formula1"},
                                               {"shredding", "--formula4", "n1"}}) {
        r = Run(bad);
        EXPECT_EQ(r.Code, 1) << bad.back();
        EXPECT_FALSE(r.Err.empty());
    }
    EXPECT_EQ(TIniFile::Load(Dir / "Kumby_12x24.ini").ReadInteger("SHREDDING", "Formula2Digits", 0), 2);
}

} // namespace
} // namespace kumby
