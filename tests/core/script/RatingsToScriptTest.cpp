// Ratings sources turned back into script lines.

#include "script/RatingsToScript.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

struct TCase {
    const char* Source;
    const char* Line; // nullptr: refused
};

class RatingsToScript : public ::testing::TestWithParam<TCase> {
protected:
    RatingsToScript() : Registry_(Draws_, Config_, Shredding_) { Registry_.Rebuild(); }
    TDrawsArray Draws_;
    TConfigData Config_;
    TShreddingSettings Shredding_;
    TStatList Registry_;
};

TEST_P(RatingsToScript, GivesTheLineThatMadeTheStakes) {
    const std::optional<std::string> line = RatingSourceToScriptLine(GetParam().Source, Registry_);
    if (GetParam().Line == nullptr)
        EXPECT_FALSE(line) << *line;
    else
        EXPECT_EQ(line.value_or("(none)"), GetParam().Line);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, RatingsToScript,
    ::testing::Values(TCase{"03.002: тест @ FULL#RAND + TSD#NUMS:10#CMV:5#SF:1",
                            "FULL#RAND|TSD#NUMS:10#CMV:5#SF:1| | | | | | |03.002: тест"},
                      TCase{"01.000: @ EXCL:3#ALL#NEX + BMF#SUMS:5#WMV:3#ST:4 + TSD#NUMS:7#LNO:#SF:1",
                            "EXCL:3#ALL#NEX|BMF#SUMS:5#WMV:3#ST:4|TSD#NUMS:7#LNO:#SF:1| | | | | |01.000:"},
                      // Seven filters: no empty slot is added.
                      TCase{"x @ CURR#NONE + a + b + c + d + e + f + g", "CURR#NONE|a|b|c|d|e|f|g|x"},
                      // Without "@" the whole source is the filters text and the comment is empty.
                      TCase{"FULL#FIRST + TSD#NUMS:3#LNO:#SF:1",
                            "FULL#FIRST|TSD#NUMS:3#LNO:#SF:1| | | | | | |"},
                      // A manual stake's source has no filter.
                      TCase{"Ставка \"вручную\"", nullptr}, TCase{"01.000: @ FULL#RAND", nullptr}));

} // namespace
} // namespace kumby
