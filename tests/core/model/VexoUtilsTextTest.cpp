#include "model/Error.h"
#include "model/VexoUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <string>

namespace kumby {
namespace {

// ---- Dates --------------------------------------------------------------

TEST(VexoDateTest, DayNumbersCountFromThe30thOfDecember1899) {
    EXPECT_EQ(EncodeDateTime(1899, 12, 30, 0, 0), 0.0);
    EXPECT_EQ(EncodeDateTime(1900, 1, 1, 0, 0), 2.0);
    EXPECT_EQ(EncodeDateTime(2000, 1, 1, 0, 0), 36526.0);
    EXPECT_EQ(EncodeDateTime(2023, 12, 25, 18, 0), 45285.75);
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0), -1.25); // time counts away from zero before day 0
    EXPECT_EQ(EncodeDateTime(1, 1, 1, 0, 0), -693593.0);
    EXPECT_EQ(EncodeDateTime(9999, 12, 31, 0, 0), 2958465.0);
}

TEST(VexoDateTest, EncodeRejectsImpossibleDates) {
    struct Case {
        int y, m, d, h, n, s;
    };
    const Case cases[] = {{2023, 2, 29, 0, 0, 0}, {1900, 2, 29, 0, 0, 0}, {2023, 13, 1, 0, 0, 0},
                          {2023, 0, 1, 0, 0, 0},  {0, 1, 1, 0, 0, 0},     {10000, 1, 1, 0, 0, 0},
                          {2023, 4, 31, 0, 0, 0}, {2023, 1, 1, 24, 0, 0}, {2023, 1, 1, 0, 60, 0},
                          {2023, 1, 1, 0, 0, 60}, {2023, 1, 0, 0, 0, 0}};
    for (const Case& c : cases)
        EXPECT_THROW(EncodeDateTime(c.y, c.m, c.d, c.h, c.n, c.s), Error) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_NO_THROW(EncodeDateTime(2024, 2, 29, 23, 59, 59));
    EXPECT_NO_THROW(EncodeDateTime(2000, 2, 29, 0, 0, 0));
}

TEST(VexoDateTest, DecodeRoundsToTheNearestMinute) {
    int y, m, d, h, n;
    const TDateTime eight = EncodeDateTime(2023, 12, 25, 20, 0);
    for (double nudge : {-1e-9, -1.0 / 86400 / 3, 0.0, 1e-9, 1.0 / 86400 * 29}) {
        DecodeDateTime(eight + nudge, y, m, d, h, n);
        EXPECT_EQ(h * 100 + n, 2000) << nudge;
    }
    DecodeDateTime(EncodeDateTime(2023, 12, 31, 23, 59, 59), y, m, d, h, n);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20240101);
    EXPECT_EQ(h * 100 + n, 0);
    DecodeDateTime(-1.25, y, m, d, h, n);
    EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
    EXPECT_EQ(h * 100 + n, 600);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), 1e300, -1e300}) {
        DecodeDateTime(bad, y, m, d, h, n);
        EXPECT_EQ(y + m + d + h + n, 0) << bad;
    }
}

TEST(VexoDateTest, EveryMinuteOfADayPrintsAsWritten) {
    for (int minute = 0; minute < 24 * 60; ++minute) {
        const TDateTime t = EncodeDateTime(2021, 3, 7, minute / 60, minute % 60);
        const std::string text = Format("07.03.2021 %02d:%02d", minute / 60, minute % 60);
        ASSERT_EQ(DrawDateToText(t), text);
        ASSERT_EQ(TextToDrawDate(text), t);
    }
}

TEST(VexoDateTest, DrawDateTextOfNothing) {
    EXPECT_EQ(DrawDateToText(0), "");
    EXPECT_EQ(DrawDateToText(-5.5), "");
    EXPECT_EQ(DrawDateToText(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(DrawDateToText(std::numeric_limits<double>::infinity()), "");
    EXPECT_EQ(DrawDateToText(0.75), "30.12.1899 18:00");
    EXPECT_EQ(TextToDrawDate(""), 0.0);
    EXPECT_EQ(TextToDrawDate(" \t\r\n"), 0.0);
}

TEST(VexoDateTest, TextToDrawDateReadsFixedPositions) {
    struct Case {
        const char* text;
        TDateTime expected;
    };
    const Case cases[] = {
        {"25.12.2023 20:00", EncodeDateTime(2023, 12, 25, 20, 0)},
        {"  25.12.2023 20:00\r\n", EncodeDateTime(2023, 12, 25, 20, 0)},
        {"25.12.2023", EncodeDateTime(2023, 12, 25, 0, 0)},
        {"25/12/2023  7:05", EncodeDateTime(2023, 12, 25, 7, 5)},
        {"25/12/2023 7:05", EncodeDateTime(2023, 12, 25, 0, 5)}, // "7:" is no number
        {"01.02.2003 04:05:59", EncodeDateTime(2003, 2, 1, 4, 5)},
        {"29.02.2024 xx:30", EncodeDateTime(2024, 2, 29, 0, 30)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextToDrawDate(c.text), c.expected) << c.text;
}

TEST(VexoDateTest, TextToDrawDateRejectsWhatIsNoDate) {
    for (const char* text : {"31.02.2023 10:00", "abc", "25.13.2023 10:00", "25.12.2023 24:00",
                             "00.00.0000 00:00", "29.02.2023", "1.2.2020", "25.12.2023 10:60"}) {
        try {
            TextToDrawDate(text);
            ADD_FAILURE() << "no error for " << text;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();
        }
    }
}

TEST(VexoDateTest, NowIsTheLocalClock) {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    int y, m, d, h, n;
    DecodeDateTime(NowDateTime(), y, m, d, h, n);
    EXPECT_EQ(y, local.tm_year + 1900);
    EXPECT_EQ(m, local.tm_mon + 1);
}

// ---- Texts --------------------------------------------------------------

TEST(VexoTextTest, DrawAndCombinationTexts) {
    TDrawRecord draw;
    draw.Number = 1234;
    draw.SetNumbers({24, 1, 13, 7, 2, 19, 5, 11, 22, 16, 9, 3});
    draw.SetDateTextUtf8("25.12.2023 20:00");
    EXPECT_EQ(DrawToText(draw), "Тираж № 1234 от 25.12.2023 20:00, значения: 24;1;13;7;2;19;5;11;22;16;9;3");
    draw.SetDateTextUtf8("");
    EXPECT_EQ(DrawToText(draw), "Тираж № 1234 от , значения: 24;1;13;7;2;19;5;11;22;16;9;3");

    const TCombination comb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(CombToText(comb), "1;2;3;4;5;6;7;8;9;10;11;12");
    EXPECT_EQ(CombToClipboardText(comb), "01 02 03 04 05 06 07 08 09 10 11 12");
    EXPECT_EQ(CombToClipboardText({13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}),
              "13 14 15 16 17 18 19 20 21 22 23 24");

    TNumberList list;
    list.Count = 3;
    list.Numbers[0] = 4;
    list.Numbers[1] = 17;
    list.Numbers[2] = 9;
    list.Numbers[3] = 8;
    EXPECT_EQ(NumberListToText(list, ", "), "4, 17, 9");
    list.Count = 0;
    EXPECT_EQ(NumberListToText(list, ", "), "");
    list.Count = -7;
    EXPECT_EQ(NumberListToText(list, ", "), "");
    EXPECT_EQ(NumbersToText(comb.data(), 2, " - "), "1 - 2");
}

TEST(VexoTextTest, ParseCombinationTakesRunsOfSeparatorsAsOne) {
    struct Case {
        const char* text;
        TCombination expected;
    };
    const Case cases[] = {
        {"1,2,,3;4 5-6:7.8|9 10 11 12", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"01 02 03 04 05 06 07 08 09 10 11 12", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"  24;23;22;21;20;19;18;17;16;15;14;13;\r\n", {24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13}},
        {"\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"1 2 3 4 5 x 7 8 9 10 11 12", {1, 2, 3, 4, 5, 0, 7, 8, 9, 10, 11, 12}},
        {"1 1 3 4 5 6 7 8 9 10 11 99", {1, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 99}},
        {"1 2 3 4 5 256 7 8 9 10 11 12", {1, 2, 3, 4, 5, 0, 7, 8, 9, 10, 11, 12}},
        {"1 2 3 4 5 99999999999 7 8 9 10 11 -12", {1, 2, 3, 4, 5, 0, 7, 8, 9, 10, 11, 12}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseCombination(c.text), c.expected) << c.text;
}

TEST(VexoTextTest, ParseCombinationNeedsTwelveWords) {
    for (const char* text :
         {"1 2 3 4 5 6 7 8 9 10 11", "1 2 3 4 5 6 7 8 9 10 11 12 13", "", ";;;", "слово"}) {
        try {
            ParseCombination(text);
            ADD_FAILURE() << "no error for " << text;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Некорректная комбинация: \"" + std::string(text) + "\"!");
        }
    }
}

TEST(VexoTextTest, ParseIntListForms) {
    struct Case {
        const char* text;
        TIntArray expected;
    };
    const Case cases[] = {
        {"5-20;5", {5, 10, 15, 20}},
        {"3; 7,9", {3, 7, 9}},
        {"-3", {-3}},
        {"5-5;1", {5}},
        {"20-5;5", {}},
        {"1-5;0", {}},
        {"1-5", {}},
        {"", {}},
        {"1,,2;;3", {1, 2, 3}},
        {" 4 ", {4}},
        {"-5--1;2", {-5, -3, -1}},
        {"20-5;-5", {20, 15, 10, 5}},
        {"1 - 7 ; 3", {1, 4, 7}},
        {"1-8,3", {1, 4, 7}},
        {"a,b", {}},
        {"1, x, 3", {}},
        {"x-5;1", {}},
        {"2147483647-2147483647;1", {2147483647}},
        {"-2147483648-2147483647;2147483647", {-2147483647 - 1, -1, 2147483646}},
        {"1-2000000000;1", {}},
        {"99999999999", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseIntList(c.text), c.expected) << c.text;
}

TEST(VexoTextTest, ParseIntListCapsRanges) {
    EXPECT_EQ(ParseIntList("1-100000;1").size(), 100000u);
    EXPECT_TRUE(ParseIntList("1-100001;1").empty());
    EXPECT_EQ(ParseIntList("0-1999980000;20000").size(), 100000u);
    EXPECT_TRUE(ParseIntList("0-2000000000;20000").empty());
}

TEST(VexoTextTest, SmallTexts) {
    EXPECT_EQ(IntListToText({5, -10, 15}, ";"), "5;-10;15");
    EXPECT_EQ(IntListToText({}, ";"), "");
    EXPECT_EQ(IntListToText({7}, ", "), "7");

    const char* kinds[] = {"", "Вручную", "Регуляр", "Сценарий", "Система", ""};
    for (int kind = 0; kind <= 5; ++kind)
        EXPECT_EQ(StakeKindName(kind), kinds[kind]) << kind;
    EXPECT_EQ(StakeKindName(-1), "");

    struct Deviation {
        const char* text;
        int base;
        const char* expected;
    };
    const Deviation deviations[] = {
        {"7", 5, "+2"},
        {"5", 5, "0"},
        {"", 5, "-"},
        {"2", 5, "-3"},
        {"-1", 5, "-"},
        {"abc", 5, "-"},
        {" 9 ", 5, "+4"},
        {"0", -2147483647, "+2147483647"},
        {"2147483647", -2147483647 - 1, "+4294967295"},
    };
    for (const Deviation& d : deviations)
        EXPECT_EQ(DeviationText(d.text, d.base), d.expected) << d.text;
}

TEST(VexoTextTest, MatrixSegmentsText) {
    std::array<uint8_t, MaxNumber> segments;
    for (int i = 0; i < MaxNumber; ++i)
        segments[i] = static_cast<uint8_t>(i % 9 + 1);
    const std::string text = MatrixSegmentsToText(segments);
    EXPECT_EQ(text, "123456789123456789123456");
    EXPECT_EQ(MatrixSegmentsFromText(text), segments);

    std::array<uint8_t, MaxNumber> ones;
    ones.fill(1);
    EXPECT_EQ(MatrixSegmentsFromText(""), ones);
    const std::array<uint8_t, MaxNumber> partial = MatrixSegmentsFromText("9x0 3");
    EXPECT_EQ(partial[0], 9);
    EXPECT_EQ(partial[1], 1);
    EXPECT_EQ(partial[2], 1);
    EXPECT_EQ(partial[3], 1);
    EXPECT_EQ(partial[4], 3);
    EXPECT_EQ(partial[5], 1);
    EXPECT_EQ(MatrixSegmentsFromText("2222222222222222222222229999")[23], 2);
}

TEST(VexoTextTest, IntegerParsing) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        {"12", true, 12},
        {"-7", true, -7},
        {"+7", true, 7},
        {"007", true, 7},
        {"", false, 0},
        {"-", false, 0},
        {" 1", false, 0},
        {"1 ", false, 0},
        {"1a", false, 0},
        {"1.5", false, 0},
        {"2147483647", true, 2147483647},
        {"2147483648", false, 0},
        {"-2147483648", true, -2147483647 - 1},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        int32_t value = 42;
        EXPECT_EQ(TryParseInt(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
        EXPECT_EQ(ParseIntOr(c.text, -99), c.ok ? c.value : -99) << c.text;
    }
    EXPECT_EQ(Trim("\r\n 5 \t"), "5");
    EXPECT_EQ(TrimView("   "), "");
    EXPECT_EQ(TrimView("а б"), "а б");
}

TEST(VexoTextTest, FormatHasNoLengthLimit) {
    const std::string long1(5000, 'x');
    EXPECT_EQ(Format("[%s|%d|%%]", long1.c_str(), -5), "[" + long1 + "|-5|%]");
    EXPECT_EQ(Format("%s", ""), "");
}

} // namespace
} // namespace kumby
