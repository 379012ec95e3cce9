#include "io/IniFile.h"
#include "io/AtomicFile.h"
#include "model/Error.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

namespace kumby {
namespace {

using TTempFolder = testing::TTempDir;

TIniFile IniWith(std::string_view key, std::string_view value) {
    TIniFile ini;
    ini.WriteString("S", key, value);
    return ini;
}

TEST(IniFileTest, RussianTextIsCp1251OnDiskWithCrLf) {
    TTempFolder dir;
    auto path = dir / "Kumby_12x24.ini";
    TIniFile ini;
    ini.WriteString("GLOBAL", "CombsGenerateParameters", "Привет");
    ini.WriteInteger("GLOBAL", "MatrixCols", 4);
    ini.WriteFloat("STAKES", "Cost", 10.5L);
    ini.WriteBool("CDL", "UsePercents", true);
    ini.Save(path);

    EXPECT_EQ(ReadWholeFile(path), "[GLOBAL]\r\n"
                                   "CombsGenerateParameters=\xCF\xF0\xE8\xE2\xE5\xF2\r\n"
                                   "MatrixCols=4\r\n"
                                   "[STAKES]\r\n"
                                   "Cost=10.5\r\n"
                                   "[CDL]\r\n"
                                   "UsePercents=1\r\n");

    TIniFile back = TIniFile::Load(path);
    EXPECT_EQ(back.ReadString("GLOBAL", "CombsGenerateParameters", ""), "Привет");
    EXPECT_EQ(back.ReadInteger("GLOBAL", "MatrixCols", 0), 4);
    EXPECT_EQ(back.ReadFloat("STAKES", "Cost", 0), 10.5L);
    EXPECT_TRUE(back.ReadBool("CDL", "UsePercents", false));
    EXPECT_EQ(back.Text(), ini.Text());
}

// A file edited by hand: LF ends, comments, other sections, odd spacing, quotes.
TEST(IniFileTest, ForeignLinesSurviveAndNamesIgnoreCase) {
    TTempFolder dir;
    auto path = dir / "Kumby_12x24.ini";
    SaveFileAtomic(path, "; settings\n"
                         "[Global]\n"
                         "  matrixcols = 5 \n"
                         "Name=\"  quoted  \"\n"
                         "Other='x'\n"
                         "Mixed=\"a'\n"
                         "garbage line\n"
                         "\n"
                         "[Foreign]\n"
                         "\xD2\xE5\xF1\xF2=\xCF\xF0\xE8\xE2\xE5\xF2\n"
                         "\n"
                         "[CDL]\r\n"
                         "Level=2,5");

    TIniFile ini = TIniFile::Load(path);
    EXPECT_EQ(ini.ReadInteger("GLOBAL", "MatrixCols", 0), 5);
    EXPECT_EQ(ini.ReadString("global", "NAME", ""), "  quoted  ");
    EXPECT_EQ(ini.ReadString("Global", "Other", ""), "x");
    EXPECT_EQ(ini.ReadString("Global", "Mixed", ""), "\"a'");
    EXPECT_EQ(ini.ReadString("Foreign", "Тест", ""), "Привет");
    EXPECT_EQ(ini.ReadFloat("cdl", "level", 0), 2.5L);
    EXPECT_FALSE(ini.HasKey("Global", "garbage line"));
    EXPECT_FALSE(ini.HasKey("Global", "; settings"));

    ini.WriteInteger("GLOBAL", "MATRIXCOLS", 6);
    ini.WriteInteger("GLOBAL", "ChannelSize", 4);
    ini.WriteString("PROXY", "ProxyServer", "host");
    ini.Save(path);

    EXPECT_EQ(ReadWholeFile(path), "; settings\r\n"
                                   "[Global]\r\n"
                                   "matrixcols=6\r\n"
                                   "Name=\"  quoted  \"\r\n"
                                   "Other='x'\r\n"
                                   "Mixed=\"a'\r\n"
                                   "garbage line\r\n"
                                   "ChannelSize=4\r\n"
                                   "\r\n"
                                   "[Foreign]\r\n"
                                   "\xD2\xE5\xF1\xF2=\xCF\xF0\xE8\xE2\xE5\xF2\r\n"
                                   "\r\n"
                                   "[CDL]\r\n"
                                   "Level=2,5\r\n"
                                   "[PROXY]\r\n"
                                   "ProxyServer=host\r\n");
}

TEST(IniFileTest, MissingFileSectionOrKeyGiveDefaults) {
    TTempFolder dir;
    TIniFile missing = TIniFile::Load(dir / "absent.ini");
    EXPECT_EQ(missing.Text(), "");
    EXPECT_EQ(missing.ReadInteger("GLOBAL", "MatrixCols", 4), 4);
    EXPECT_EQ(TIniFile::Load(dir / "no-folder" / "absent.ini").Text(), "");

    auto path = dir / "some.ini";
    SaveFileAtomic(path, "[GLOBAL]\r\nMatrixCols=7\r\n");
    TIniFile ini = TIniFile::Load(path);
    EXPECT_EQ(ini.ReadInteger("GLOBAL", "ChannelSize", 4), 4);
    EXPECT_EQ(ini.ReadInteger("STAKES", "MatrixCols", 12), 12);
    EXPECT_EQ(ini.ReadString("PROXY", "ProxyServer", "none"), "none");
    EXPECT_TRUE(ini.ReadBool("GLOBAL", "AutoUpdates", true));
    EXPECT_EQ(ini.ReadFloat("CDL", "Deviation", -1), -1);
}

TEST(IniFileTest, UnreadableFileRaisesErrorNamingIt) {
    TTempFolder dir;
    try {
        TIniFile::Load(dir.Path());
        FAIL() << "no Error raised";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("\"" + dir.Path().string() + "\""), std::string::npos)
            << e.what();
    }
}

TEST(IniFileTest, IntegersAndBooleans) {
    struct TCase {
        const char* Text;
        int Integer; // with default -77
        bool Bool;   // with default true
    };
    const TCase cases[] = {
        {"0", 0, false},
        {"1", 1, true},
        {"2", 2, true},
        {"-3", -3, true},
        {"+5", 5, true},
        {" 12 ", 12, true},
        {"$1F", 31, true},
        {"0x10", 16, true},
        {"abc", -77, true},
        {"", -77, true},
        {"1.5", -77, true},
        {"12abc", -77, true},
        {"- 1", -77, true},
        {"99999999999", -77, true},
        {"-2147483648", std::numeric_limits<int>::min(), true},
        {"+-1", -77, true},
        {"$", -77, true},
    };
    for (const TCase& c : cases) {
        TIniFile ini = IniWith("K", c.Text);
        EXPECT_EQ(ini.ReadInteger("S", "K", -77), c.Integer) << "'" << c.Text << "'";
        EXPECT_EQ(ini.ReadBool("S", "K", true), c.Bool) << "'" << c.Text << "'";
    }
    TIniFile zero = IniWith("K", "0");
    EXPECT_FALSE(zero.ReadBool("S", "K", true));
    TIniFile word = IniWith("K", "abc");
    EXPECT_FALSE(word.ReadBool("S", "K", false));

    TIniFile ini;
    ini.WriteBool("S", "On", true);
    ini.WriteBool("S", "Off", false);
    EXPECT_EQ(ini.Text(), "[S]\r\nOn=1\r\nOff=0\r\n");
}

TEST(IniFileTest, FloatsAcceptPointOrComma) {
    struct TCase {
        const char* Text;
        long double Value; // with default 99
    };
    const TCase cases[] = {
        {"10,5", 10.5L}, {"10.5", 10.5L}, {"-1", -1},  {" 0,25 ", 0.25L}, {"+2.5", 2.5L}, {"7", 7},
        {"1e3", 1000},   {"abc", 99},     {"", 99},    {"1,2.3", 99},     {"1,2,3", 99},  {"nan", 99},
        {"inf", 99},     {"1.5x", 99},    {"+-1", 99}, {"1e99999", 99},
    };
    for (const TCase& c : cases) {
        TIniFile ini = IniWith("K", c.Text);
        EXPECT_EQ(ini.ReadFloat("S", "K", 99), c.Value) << "'" << c.Text << "'";
    }
}

TEST(IniFileTest, FloatToTextIsShortestWithPoint) {
    struct TCase {
        long double Value;
        const char* Text;
    };
    const TCase cases[] = {
        {-1, "-1"},
        {0, "0"},
        {-0.0L, "0"},
        {10.5L, "10.5"},
        {0.1L, "0.1"},
        {1234.5678L, "1234.5678"},
        {1.0L / 3, "0.3333333333333333"},
        {123456789012.0L, "123456789012"},
        {0.000125L, "0.000125"},
        {-2.75L, "-2.75"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(FloatToText(c.Value), c.Text);
    }
}

TEST(IniFileTest, WrittenFloatsReadBackAsTheSameDouble) {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int i = 0; i < 2000; ++i) {
        double value = std::ldexp(mantissa(random), exponent(random));
        TIniFile ini;
        ini.WriteFloat("S", "K", value);
        std::string text = ini.ReadString("S", "K", "");
        EXPECT_EQ(text.find(','), std::string::npos);
        EXPECT_EQ(static_cast<double>(ini.ReadFloat("S", "K", 99)), value) << text;
    }
    for (double extreme : {1e300, -1e-300, 5e-324, 1e20}) {
        TIniFile ini;
        ini.WriteFloat("S", "K", extreme);
        EXPECT_EQ(static_cast<double>(ini.ReadFloat("S", "K", 99)), extreme) << ini.ReadString("S", "K", "");
    }
}

// Values that the line format could mangle come back as written and cannot plant keys.
TEST(IniFileTest, AwkwardValuesRoundTrip) {
    TTempFolder dir;
    auto path = dir / "a.ini";
    const std::pair<const char*, const char*> cases[] = {
        {"  lead", "  lead"},
        {"trail  ", "trail  "},
        {"\"quoted\"", "\"quoted\""},
        {"'single'", "'single'"},
        {"a=b;c", "a=b;c"},
        {"", ""},
        {"[NotASection]", "[NotASection]"},
        {"line1\r\nInjected=1", "line1  Injected=1"},
    };
    TIniFile ini;
    int n = 0;
    for (const auto& [value, expected] : cases) {
        ini.WriteString("S", "K" + std::to_string(n++), value);
    }
    ini.Save(path);
    TIniFile back = TIniFile::Load(path);
    n = 0;
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(back.ReadString("S", "K" + std::to_string(n++), "?"), expected) << "'" << value << "'";
    }
    EXPECT_FALSE(back.HasKey("S", "Injected"));
    EXPECT_EQ(back.Text(), ini.Text());
}

TEST(IniFileTest, RewritingAKeyReplacesItInPlace) {
    TIniFile ini;
    ini.WriteInteger("STAKES", "Profits", 2);
    ini.WriteInteger("STAKES", "Profit_0_Overlap", 3);
    ini.WriteInteger("CDL", "Count", 1);
    ini.WriteInteger("stakes", "profits", 1);
    ini.WriteInteger("STAKES", "MaxStake", 12);
    EXPECT_EQ(ini.Text(),
              "[STAKES]\r\nProfits=1\r\nProfit_0_Overlap=3\r\nMaxStake=12\r\n[CDL]\r\nCount=1\r\n");
}

TEST(IniFileTest, EraseSectionRemovesEveryLineOfIt) {
    TIniFile ini = TIniFile::FromText("[A]\r\nx=1\r\n[STRINGS_RUS]\r\nNUMS=old\r\n; note\r\n[B]\r\ny=2\r\n");
    ini.EraseSection("strings_rus");
    EXPECT_FALSE(ini.HasKey("STRINGS_RUS", "NUMS"));
    ini.WriteString("STRINGS_RUS", "POS3", "new");
    EXPECT_EQ(ini.Text(), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n[STRINGS_RUS]\r\nPOS3=new\r\n");
}

} // namespace
} // namespace kumby
