// The shredding formula evaluator: its grammar and errors, and that a formula read
// once gives what putting the numbers into its text and reading it anew gives.

#include "stats/ShredFormula.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>

namespace kumby {
namespace {

constexpr std::array<uint8_t, 12> Ascending = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
constexpr std::array<uint8_t, 12> Zeros = {};

TFormulaNumbers Only(const std::array<uint8_t, 12>& n) {
    return {n.data(), Zeros.data(), Zeros.data()};
}

TFormulaError Eval(const std::string& text, long double& v) {
    return TShredFormula(text, false).Evaluate(Only(Zeros), v);
}

// The reading the compiled form must reproduce: substitute, then read the text.
TFormulaError Literal(const std::string& formula, const TFormulaNumbers& numbers, long double& v) {
    return TShredFormula(SubstituteFormulaVariables(formula, numbers), false).Evaluate(numbers, v);
}

TEST(ShredFormula, ArithmeticAndFunctions) {
    struct TCase {
        const char* Text;
        long double Value;
    };
    const TCase cases[] = {
        {"1+2*3", 7},  // * binds closer than +
        {"2*3^2", 36}, // * / ^ left to right at one level
        {"2^3*2", 16},
        {"8/2/2", 2},
        {"-3+1", -2}, // a leading sign gets a 0 in front
        {"--3", 3},
        {"2*-3", -6},
        {"2--3", 5},
        {" 1 2 + 3\t", 15}, // blanks go before reading
        {".5+1.", 1.5},
        {"1E2+1e-1", 100.1L},
        {"$FF+$a", 265},
        {"-$10", -16},
        {"sqr(3)+sqrt(16)", 13},
        {"int(2.7)+frac(2.5)+trunc(-1.5)", 1.5},
        {"round(2.5)+round(3.5)", 6}, // halves to even
        {"abs(-2)+sign(-5)+sign(0)", 1},
        {"not(0)", -1},
        {"log(1000)", 3},
        {"ln(e)", 1},
        {"exp(0)+cos(0)+sin(0)+tan(0)+arctan(0)", 2},
        {"2^-1", 0.5L},
        {"0^5", 0},
        {"5^0", 1},
        {"4^0.5", 2},
        {"(-2)^3", -8},
        {"1^99999999", 1},
        {"(1+2)*(3+4)", 21},
        {"((((2))))", 2},
        {"(1)<5", 1}, // the outermost expression ends at <, the rest is not read
        {"(1))(", 1},
    };
    for (const TCase& c : cases) {
        long double v = -12345;
        EXPECT_EQ(Eval(c.Text, v), TFormulaError::None) << c.Text;
        EXPECT_NEAR(static_cast<double>(v), static_cast<double>(c.Value), 1e-12) << c.Text;
    }
    long double pi = 0;
    ASSERT_EQ(Eval("arccos(-1)-PI", pi), TFormulaError::None);
    EXPECT_NEAR(static_cast<double>(pi), 0, 1e-15);
}

TEST(ShredFormula, Errors) {
    struct TCase {
        const char* Text;
        TFormulaError Error;
    };
    const TCase cases[] = {
        {"", TFormulaError::Syntax},
        {"(1+2", TFormulaError::Parenthesis},
        {"1+", TFormulaError::Syntax},
        {"1/(2-2)", TFormulaError::DivisionByZero},
        {"0^-1", TFormulaError::DivisionByZero},
        {"ln(0)", TFormulaError::NegativeLogarithm},
        {"log(-1)", TFormulaError::NegativeLogarithm},
        {"sqrt(-1)", TFormulaError::NegativeRoot},
        {"(-2)^0.5", TFormulaError::FloatingPoint},
        {"2^99999999", TFormulaError::FloatingPoint},
        {"10^99999*0", TFormulaError::FloatingPoint}, // an overflow inside stays an error
        {"arcsin(2)", TFormulaError::FloatingPoint},
        {"1E999999999", TFormulaError::Syntax},
        {"2*-(3)", TFormulaError::Syntax},
        {"(1)(2)", TFormulaError::Syntax},
        {"1,2", TFormulaError::Syntax},
        {"$123456789", TFormulaError::Syntax}, // more than 8 hex digits
        {"sqr 3", TFormulaError::Syntax},
        {"foo(1)", TFormulaError::Syntax},
        {"PI2", TFormulaError::Syntax},
        {"1E", TFormulaError::Syntax},
        {"((1)<2)", TFormulaError::Parenthesis},
        {"1<2", TFormulaError::Syntax}, // a number is followed by an operator or the end
        {"n1", TFormulaError::Syntax},  // a plain expression knows no variables
        {"1+\xD0\xB0", TFormulaError::Syntax},
    };
    for (const TCase& c : cases) {
        long double v = 7;
        EXPECT_EQ(Eval(c.Text, v), c.Error) << c.Text;
        EXPECT_EQ(v, 7) << c.Text; // an error leaves the value alone
    }
}

TEST(ShredFormula, ShreddedDigitsOfTheDefaultFormulas) {
    const TShredFormula f1("(n1+n2+n3+n4+n5+n6)/(n7+n8+n9+n10+n11+n12)");
    const TShredFormula f2("(n7+n8+n9+n10+n11+n12)/(n1+n2+n3+n4+n5+n6)");
    const TShredFormula f3("(N1+n3+n5+n7+n9+n11)/(n2+n4+n6+n8+n10+n12)");
    EXPECT_EQ(f1.Shred(Only(Ascending), 2), 36u);
    EXPECT_EQ(f2.Shred(Only(Ascending), 2), 71u);
    EXPECT_EQ(f3.Shred(Only(Ascending), 2), 85u);
    EXPECT_EQ(f1.Shred(Only(Ascending), 3), 368u);
    EXPECT_EQ(f2.Shred(Only(Ascending), 3), 714u);
    EXPECT_EQ(f3.Shred(Only(Ascending), 3), 857u);
    EXPECT_TRUE(f1.Compiled());

    EXPECT_EQ(TShredFormula("n1+n2").Shred(Only(Ascending), 2), 0u);         // an integer value
    EXPECT_EQ(TShredFormula("-n1/4").Shred(Only(Ascending), 2), 25u);        // |-0.25|
    EXPECT_EQ(TShredFormula("n1/p1").Shred(Only(Ascending), 2), 0u);         // p all zeros
    EXPECT_EQ(TShredFormula("n 1/8").Shred(Only(Ascending), 2), 0u);         // not a name
    EXPECT_EQ(TShredFormula("n13/8").Shred(Only(Ascending), 2), 62u);        // n1 then 3: 13/8
    EXPECT_EQ(TShredFormula("n12/7").Shred(Only(Ascending), 5), 71428u);     // digits above 4 fit
    EXPECT_EQ(TShredFormula("1/3").Shred(Only(Ascending), 200), 333333333u); // at most 9 digits
}

// The compiled formula against the text read anew for every set: formulas made of
// pieces that stress where a number's text meets the text around it.
TEST(ShredFormula, CompiledEqualsTheSubstitutedText) {
    const char* pieces[] = {
        "n1",  "n12", "N13",  "p2",  "t11",   "P1",   "n10",  "t3",     "nn1", "pn12", "n1n12", "n 1", "(",
        ")",   "+",   "-",    "*",   "/",     "^",    ".",    "E",      "e2",  "$",    "$A",    "1",   "0",
        "7.5", "PI",  "sqr(", "ln(", "frac(", "abs(", "not(", "round(", " ",   ",",    "<",     "2^-", "x",
    };
    std::mt19937 rng(20261211);
    std::uniform_int_distribution<int> piece(0, static_cast<int>(std::size(pieces)) - 1);
    std::uniform_int_distribution<int> length(1, 12);
    std::uniform_int_distribution<int> number(0, 24);
    int compiled = 0;
    int valued = 0;
    for (int f = 0; f < 4000; ++f) {
        std::string formula;
        for (int i = length(rng); i > 0; --i)
            formula += pieces[piece(rng)];
        const TShredFormula once(formula);
        compiled += once.Compiled() ? 1 : 0;
        for (int s = 0; s < 8; ++s) {
            std::array<std::array<uint8_t, 12>, 3> lists;
            for (auto& list : lists)
                for (auto& n : list)
                    n = static_cast<uint8_t>(s == 7 ? 255 : number(rng));
            const TFormulaNumbers numbers{lists[0].data(), lists[1].data(), lists[2].data()};
            long double a = 0;
            long double b = 0;
            const TFormulaError ea = once.Evaluate(numbers, a);
            const TFormulaError eb = Literal(formula, numbers, b);
            // Which error is met first may differ: a number read per set is checked
            // only when the run reaches it. Whether there is one may not.
            ASSERT_EQ(ea == TFormulaError::None, eb == TFormulaError::None) << formula;
            if (ea == TFormulaError::None) {
                ++valued;
                ASSERT_TRUE(a == b) << formula;
            }
            ASSERT_EQ(once.Shred(numbers, 3),
                      TShredFormula(SubstituteFormulaVariables(formula, numbers), false).Shred(numbers, 3))
                << formula;
        }
    }
    // The pieces must reach both the compiled and the per-set readings, with values.
    EXPECT_GT(compiled, 1000);
    EXPECT_LT(compiled, 4000);
    EXPECT_GT(valued, 1000);
}

// A ratio of sums takes a whole-number shortcut; "*1" keeps the same value on the
// general path.
TEST(ShredFormula, RatiosOfSumsGiveTheDigitsOfTheGeneralPath) {
    const TShredFormula ratio("n1/n2");
    const TShredFormula general("n1/n2*1");
    std::array<uint8_t, 12> n{};
    for (int t = 0; t <= 255; ++t) {
        for (int b = 1; b <= 255; ++b) {
            n[0] = static_cast<uint8_t>(t);
            n[1] = static_cast<uint8_t>(b);
            for (int d = 1; d <= TShredFormula::MaxDigits; ++d)
                ASSERT_EQ(ratio.Shred(Only(n), d), general.Shred(Only(n), d)) << t << "/" << b << " " << d;
        }
    }
    const TShredFormula sums("(n1+n2+n3+n4-n5+n6)/(n7+n8+n9+n10+n11-n12)");
    const TShredFormula sumsGeneral("(n1+n2+n3+n4-n5+n6)/(n7+n8+n9+n10+n11-n12)*1");
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 200000; ++i) {
        for (auto& x : n)
            x = static_cast<uint8_t>(byte(rng));
        const int d = 1 + i % TShredFormula::MaxDigits;
        ASSERT_EQ(sums.Shred(Only(n), d), sumsGeneral.Shred(Only(n), d));
    }
}

TEST(ShredFormula, NumbersMeetingTheirNeighbours) {
    const std::array<uint8_t, 12> n = {5, 7, 3, 4, 5, 6, 7, 8, 9, 10, 15, 2};
    const TFormulaNumbers numbers{n.data(), n.data(), Zeros.data()};
    struct TCase {
        const char* Formula;
        const char* Substituted;
    };
    const TCase cases[] = {
        {"n13", "53"},   {"n1.n2", "5.7"}, {"n1E2", "5E2"},
        {"$n10", "$10"}, {"nn12", "7"},  // n + the 2 of n12 makes n2, replaced in its turn
        {"n1n12", "52"}, {"pn11", "55"}, // p15 holds p1
        {"N 1", "N 1"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(SubstituteFormulaVariables(c.Formula, numbers), c.Substituted) << c.Formula;
        long double a = 0;
        long double b = 0;
        const TFormulaError ea = TShredFormula(c.Formula).Evaluate(numbers, a);
        ASSERT_EQ(ea, Literal(c.Formula, numbers, b)) << c.Formula;
        EXPECT_TRUE(a == b) << c.Formula;
    }
}

TEST(ShredFormula, HostileFormulasEndWithAnAnswer) {
    long double v = 0;
    EXPECT_EQ(Eval(std::string(100000, '('), v), TFormulaError::Parenthesis);
    EXPECT_EQ(Eval(std::string(100000, '(') + "2" + std::string(100000, ')'), v), TFormulaError::None);
    EXPECT_EQ(v, 2);
    std::string sums = "1";
    for (int i = 0; i < 50000; ++i)
        sums += "+(1";
    sums += std::string(50000, ')');
    EXPECT_EQ(Eval(sums, v), TFormulaError::None);
    EXPECT_EQ(v, 50001);
    EXPECT_EQ(Eval(std::string(100000, '9'), v), TFormulaError::Syntax); // beyond the range
    EXPECT_EQ(Eval("1^" + std::string(4000, '9'), v), TFormulaError::None);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(TShredFormula(std::string(100000, 'n') + "1").Shred(Only(Ascending), 2), 0u);
}

} // namespace
} // namespace kumby
