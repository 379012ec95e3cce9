#include "model/Money.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace kumby {
namespace {

TEST(MoneyTest, RoundHalfEvenTakesNearestAndHalvesToEven) {
    struct Case {
        long double value;
        int64_t expected;
    };
    const Case cases[] = {
        {0.0L, 0},    {0.5L, 0},    {1.5L, 2},   {2.5L, 2},   {3.5L, 4},
        {-0.5L, 0},   {-1.5L, -2},  {-2.5L, -2}, {2.49L, 2},  {2.51L, 3},
        {-2.51L, -3}, {-2.49L, -2}, {7.0L, 7},   {-7.0L, -7}, {1e15L, static_cast<int64_t>(1e15)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundHalfEven(c.value), c.expected) << static_cast<double>(c.value);
}

TEST(MoneyTest, RoundHalfEvenNeverOverflows) {
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<long double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<long double>::infinity()), 0);
    EXPECT_EQ(RoundHalfEven(1e30L), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(RoundHalfEven(-1e30L), std::numeric_limits<int64_t>::min());
}

// Amounts arrive both as long double and as double parsed from decimal text; a
// written half must go to the even unit either way.
TEST(MoneyTest, MoneyFromFloatRoundsWrittenHalvesToEven) {
    struct Case {
        long double value;
        TMoney expected;
    };
    const Case cases[] = {
        {0.00005L, 0},
        {0.00015L, 2},
        {0.00025L, 2},
        {0.00035L, 4},
        {-0.00005L, 0},
        {-0.00015L, -2},
        {1.23456L, 12346},
        {1.23454L, 12345},
        {12.5L, 125000},
        {0.1L, 1000},
        {-3.75L, -37500},
        {100.00006L, 1000001},
        {12345.67895L, 123456790},
        {12345.67885L, 123456788},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoneyFromFloat(c.value), c.expected) << "long double " << static_cast<double>(c.value);
        const double asDouble = static_cast<double>(c.value);
        EXPECT_EQ(MoneyFromFloat(asDouble), c.expected) << "double " << asDouble;
    }
}

TEST(MoneyTest, MoneyFromFloatOfNonFiniteIsZero) {
    EXPECT_EQ(MoneyFromFloat(std::numeric_limits<long double>::quiet_NaN()), 0);
    EXPECT_EQ(MoneyFromFloat(std::numeric_limits<long double>::infinity()), 0);
}

TEST(MoneyTest, MoneyToFloatScalesBack) {
    EXPECT_EQ(MoneyToFloat(0), 0.0L);
    EXPECT_NEAR(static_cast<double>(MoneyToFloat(12345)), 1.2345, 1e-12);
    EXPECT_NEAR(static_cast<double>(MoneyToFloat(-500000)), -50.0, 1e-12);
    EXPECT_EQ(MoneyFromFloat(MoneyToFloat(987654321)), 987654321);
}

TEST(MoneyTest, MoneyTextShowsTwoDecimals) {
    struct Case {
        TMoney value;
        const char* expected;
    };
    const Case cases[] = {
        {0, "0.00"},
        {10000, "1.00"},
        {12345, "1.23"},
        {12351, "1.24"},
        {12350, "1.24"}, // half a cent: to the even cent
        {12250, "1.22"},
        {-15000, "-1.50"},
        {-12351, "-1.24"},
        {-1, "0.00"},
        {1000000000000, "100000000.00"},
        {std::numeric_limits<int64_t>::min(), "-922337203685477.58"},
        {std::numeric_limits<int64_t>::max(), "922337203685477.58"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MoneyText(c.value), c.expected) << c.value;
}

} // namespace
} // namespace kumby
