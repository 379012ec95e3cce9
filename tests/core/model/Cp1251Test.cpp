#include "model/Cp1251.h"

#include <gtest/gtest.h>

#include <string>

namespace kumby {
namespace {

TEST(Cp1251Test, RussianTextHasItsSingleByteForm) {
    const std::string utf8 = "Тираж № 5, Ёлка ёж — Яя €";
    const std::string expected = "\xD2\xE8\xF0\xE0\xE6 \xB9 5, \xA8\xEB\xEA\xE0 \xB8\xE6 \x97 \xDF\xFF \x88";
    EXPECT_EQ(Utf8ToCp1251(utf8), expected);
    EXPECT_EQ(Cp1251ToUtf8(expected), utf8);
}

TEST(Cp1251Test, EveryDefinedByteSurvivesTheRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) // the one byte the code page leaves undefined
            continue;
        const std::string single(1, static_cast<char>(b));
        const std::string utf8 = Cp1251ToUtf8(single);
        EXPECT_EQ(utf8 == "?", b == '?') << b;
        EXPECT_EQ(Utf8ToCp1251(utf8), single) << b;
    }
}

TEST(Cp1251Test, UnconvertibleTextBecomesQuestionMarks) {
    struct Case {
        std::string utf8;
        std::string expected;
    };
    const Case cases[] = {
        {"中", "?"},                   // not in the code page: one mark per character
        {"a\xF0\x9F\x98\x80z", "a?z"}, // four-byte character
        {"a\xFF"
         "b",
         "a?b"},                     // stray byte
        {"a\xD0", "a?"},             // sequence cut at the end
        {"\xE2\x82", "??"},          // cut three-byte sequence: each byte
        {"\xC0\x80", "??"},          // overlong form
        {"x\xED\xA0\x80y", "x???y"}, // surrogate
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8ToCp1251(c.utf8), c.expected) << c.utf8;
    EXPECT_EQ(Cp1251ToUtf8("a\x98z"), "a?z");
}

TEST(Cp1251Test, LongTextConvertsWhole) {
    std::string utf8;
    for (int i = 0; i < 3000; ++i)
        utf8 += "Щ中";
    const std::string cp = Utf8ToCp1251(utf8);
    ASSERT_EQ(cp.size(), 6000u);
    EXPECT_EQ(cp.substr(0, 4), "\xD9?\xD9?");
    EXPECT_EQ(cp.substr(5996), "\xD9?\xD9?");
}

TEST(Cp1251Test, SameTextIgnoreCaseFoldsRussianAndLatin) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"Иванов", "иВАНОВ", true},
        {"ёжик", "ЁЖИК", true},
        {"Сценарий 1", "СЦЕНАРИЙ 1", true},
        {"Abc", "aBC", true},
        {"", "", true},
        {"abc", "abcd", false},
        {"е", "ё", false},
        {"Иван", "Иванов", false},
        {"a\xFF", "A\xFF", true},
        {"a\xFF", "a\xFE", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SameTextIgnoreCase(c.a, c.b), c.same) << c.a << " / " << c.b;
}

TEST(Cp1251Test, Utf8ToUpperKeepsEverythingButLetterCase) {
    EXPECT_EQ(Utf8ToUpper("Привет, мир! ёж abc 中 №"), "ПРИВЕТ, МИР! ЁЖ ABC 中 №");
    EXPECT_EQ(Utf8ToUpper("ўєїґ"), "ЎЄЇҐ");
    EXPECT_EQ(Utf8ToUpper("a\xFFz"), "A\xFFZ");
}

TEST(Cp1251Test, Utf8LengthAndPrefixCountCharactersNotBytes) {
    EXPECT_EQ(Utf8Length("Система 12"), 10u);
    EXPECT_EQ(Utf8Prefix("Система 12", 4), "Сист");
    EXPECT_EQ(Utf8Prefix("Система 12", 10), "Система 12");
    EXPECT_EQ(Utf8Prefix("Система 12", 99), "Система 12");
    EXPECT_EQ(Utf8Prefix("", 3), "");
    EXPECT_EQ(Utf8Prefix("ab", 0), "");
}

} // namespace
} // namespace kumby
