// The method registry: its entries, names, favourites, the names file, stake values
// and the weight settings.

#include "StatTestSupport.h"
#include "model/Cp1251.h"
#include "model/Error.h"
#include "stats/families/VF_Nums.h"
#include "support/TempDir.h"

namespace kumby::testing {
namespace {

class StatListTest : public ::testing::Test {
protected:
    std::size_t Index(std::string_view code) const {
        const int i = F.List.FindByCode(code);
        EXPECT_GE(i, 0) << code;
        return static_cast<std::size_t>(i < 0 ? 0 : i);
    }
    std::vector<std::string> MarkedCodes() const {
        std::vector<std::string> codes;
        for (std::size_t i = 0; i < F.List.Count(); ++i)
            if (F.List.Items(i).Marked)
                codes.push_back(F.List.Items(i).MethodCode());
        return codes;
    }

    TStatFixture F;
};

TEST_F(StatListTest, RegistryListsTheFamiliesInTableOrder) {
    std::vector<std::string> codes;
    for (std::size_t i = 0; i < F.List.Count(); ++i)
        codes.push_back(F.List.Items(i).MethodCode());
    const std::vector<std::string> expected = {
        "NUMS",  "DIGS",  "EVEN",   "EVNV",   "SMAL",   "SMLV",   "PRIM",  "PRMV",  "SUMS",  "SUM1",  "SUM2",
        "SUM3",  "SUMC",  "SUMV",   "SUMT",   "SUME",   "SUMP",   "S2T3",  "DIFA",  "DIFM",  "DIFD",  "DIFO",
        "DIFK",  "CHAN",  "CHNV",   "CHNC",   "COLS",   "ROWS",   "COLV",  "ROWV",  "COLN",  "ROWN",  "COLM",
        "ROWM",  "COLA",  "ROWA",   "COLC",   "ROWC",   "SGMS",   "SGMV",  "SGMC",  "SEQL",  "SEQS",  "LENS",
        "RPV2",  "RPV3",  "PRL2",   "PRV2O1", "PRV2O2", "PRV2O3", "PRV+1", "PRV-1", "PRV+2", "PRV-2", "RPC2",
        "RPC3",  "PRB2",  "RPO1",   "PRC2O2", "PRC2O3", "PRC+1",  "PRC-1", "PRC+2", "PRC-2", "KNM2",  "KNM3",
        "KNM4",  "KNS2",  "KNS3",   "KNS4",   "KNP21",  "KNP22",  "KNP23", "KNP24", "KNP25", "KNP26", "KNP27",
        "KNP28", "KNP29", "KNP210", "KNP211", "KNP31",  "KNP32",  "KNP33", "KNP34", "KNP35", "KNP36", "KNP37",
        "KNP38", "KNP39", "KNP310", "KNP41",  "KNP42",  "KNP43",  "KNP44", "KNP45", "KNP46", "KNP47", "KNP48",
        "KNP49", "KDS2",  "KDS3",   "KDS4",   "KCM2",   "KCM3",   "KCM4",  "KCS2",  "KCS3",  "KCS4",  "KFM2",
        "KFM3",  "KFM4",  "KFS2",   "KFS3",   "KFS4",   "KRM2",   "KRM3",  "KRM4",  "KRS2",  "KRS3",  "KRS4",
        "KGM2",  "KGM3",  "KGM4",   "KGS2",   "KGS3",   "KGS4",   "POS1",  "POS2",  "POS3",  "POS4",  "POS5",
        "POS6",  "POS7",  "POS8",   "POS9",   "POS10",  "POS11",  "POS12", "CHN1",  "CHN2",  "CHN3",  "CHN4",
        "CHN5",  "CHN6",  "COL1",   "COL2",   "COL3",   "COL4",   "ROW1",  "ROW2",  "ROW3",  "ROW4",  "ROW5",
        "ROW6",  "SGM1",  "GRPV",   "GRPP",   "GRCV",   "GRCP",   "GRSV",  "GRSP",  "PRDV",  "PRDC",  "PRDG",
        "SDV2",  "SDP2",  "SDN1",   "SDN2",   "SDN3",   "SDN4",   "SDN5",  "SDN6",  "SDN7",  "SDN8",  "SDN9",
        "SDN10", "SDN11", "SDN12",  "SDP3",   "SDM1",   "SDM2",   "SDM3",  "SDM4",  "SDM5",  "SDM6",  "SDM7",
        "SDM8",  "SDM9",  "SDM10",  "SDM11",  "SDM12",  "SCV2",   "SCP2",  "SCN1",  "SCN2",  "SCN3",  "SCN4",
        "SCN5",  "SCN6",  "SCN7",   "SCN8",   "SCN9",   "SCN10",  "SCN11", "SCN12", "SCP3",  "SCM1",  "SCM2",
        "SCM3",  "SCM4",  "SCM5",   "SCM6",   "SCM7",   "SCM8",   "SCM9",  "SCM10", "SCM11", "SCM12", "SC2C1",
        "SC2C2", "SC2C3", "SC2C4",  "SC2C5",  "SC2C6",  "SC3C1",  "SC3C2", "SC3C3", "SC3C4", "SC3C5", "SC3C6",
        "SDA2",  "SDG2",  "SDZ2",   "SDC2",   "SSV2",   "SSP2",   "SSN1",  "SSN2",  "SSN3",  "SSN4",  "SSN5",
        "SSN6",  "SSN7",  "SSN8",   "SSN9",   "SSN10",  "SSN11",  "SSN12", "SSP3",  "SSM1",  "SSM2",  "SSM3",
        "SSM4",  "SSM5",  "SSM6",   "SSM7",   "SSM8",   "SSM9",   "SSM10", "SSM11", "SSM12", "SS2C1", "SS3C1",
        "HCV1",  "HCV2",  "HCV3",   "SHR1",   "SHR2",   "SHR3"};
    EXPECT_EQ(codes, expected) << "POE has no parameter value in this game; KNO2..KNO4 are never registered";
    for (std::size_t i = 0; i < F.List.Count(); ++i) {
        EXPECT_TRUE(F.List.Items(i).Marked);
        EXPECT_TRUE(F.List.Items(i).CustomName.empty());
        // Only the shredding methods carry the formula of their parameter.
        const TStatMethod& m = F.List.Items(i);
        EXPECT_EQ(m.FormulaText, m.StatClass->Group == 12 ? F.Shredding.Formulas[m.Param - 1] : "");
    }

    // Rebuilding starts over, display options included.
    F.List.Ordered = true;
    F.List.ShowGroupName = false;
    F.List.SetFavourites("NUMS");
    F.List.Items(0).CustomName = "Мои";
    F.List.Rebuild();
    EXPECT_EQ(F.List.Count(), 270u);
    EXPECT_FALSE(F.List.Ordered);
    EXPECT_TRUE(F.List.ShowGroupName);
    EXPECT_TRUE(F.List.AllMarked);
    EXPECT_TRUE(F.List.Items(1).Marked);
    EXPECT_TRUE(F.List.Items(0).CustomName.empty());
}

TEST_F(StatListTest, FindsAndCreatesMethodsByCode) {
    EXPECT_EQ(F.List.FindByCode("NUMS"), 0);
    EXPECT_EQ(F.List.FindByCode("sum2"), 10);
    EXPECT_EQ(F.List.FindByCode("SUM4"), -1);
    EXPECT_EQ(F.List.FindByCode("pos3"), 129);
    EXPECT_EQ(F.List.FindByCode("Pos12"), 138);
    EXPECT_EQ(F.List.FindByCode("POS13"), -1);
    EXPECT_EQ(F.List.FindByCode("POE1"), -1);
    EXPECT_EQ(F.List.FindByCode(""), -1);
    EXPECT_EQ(F.List.FindByCode("NUMS "), -1);

    auto pos3 = F.List.CreateInstance(static_cast<std::size_t>(F.List.FindByCode("pos3")));
    EXPECT_EQ(&pos3->Info(), &TstPosVal::ClassInfo);
    EXPECT_EQ(pos3->Param(), 3);
    EXPECT_EQ(pos3->InstanceCaption(), "Число в 3 позиции тиража");
    EXPECT_EQ(&F.List.CreateInstance(3)->Info(), &TstEvenValues::ClassInfo);
}

TEST_F(StatListTest, DisplayNameCarriesGroupTagAndFlagLetters) {
    const std::size_t even = Index("EVEN");
    EXPECT_EQ(F.List.DisplayName(even, true), "{ num } Количество четных чисел в тираже (Ч:Н) [ NG ]");
    EXPECT_EQ(F.List.DisplayName(even, false), "{ num } Количество четных чисел в тираже (Ч:Н)");
    EXPECT_EQ(F.List.DisplayName(Index("NUMS"), true), "{ num } Числа тиража [ N ]");
    EXPECT_EQ(F.List.DisplayName(Index("EVNV"), true),
              "{ num } Четные и нечетные числа в тираже (Чн..нЧ) [ SN ]");
    EXPECT_EQ(F.List.DisplayName(Index("POS3"), true), "{ num } Число в 3 позиции тиража [ SNG ]");

    F.List.ShowGroupName = false;
    EXPECT_EQ(F.List.DisplayName(even, true), "Количество четных чисел в тираже (Ч:Н) [ NG ]");
    F.List.ShowMethodFlags = false;
    EXPECT_EQ(F.List.DisplayName(even, true), "Количество четных чисел в тираже (Ч:Н)");
    F.List.ShowGroupName = true;
    F.List.Items(even).CustomName = "Чет";
    EXPECT_EQ(F.List.DisplayName(even, true), "{ num } Чет");
}

TEST_F(StatListTest, FlagLettersInTheirFixedOrder) {
    static const TStatClassInfo everything = {
        "TAll", "ALL", "Все признаки", nullptr, 9,       StatFlagS | StatFlagN | StatFlagD | StatFlagP,
        true,   true,  false,          true,    nullptr, nullptr};
    static const TStatClassInfo none = {"TNone", "NONE", "Без признаков", nullptr, 7,       0,
                                        false,   true,   false,           true,    nullptr, nullptr};
    F.List.Items(0).StatClass = &everything;
    F.List.Items(1).StatClass = &none;
    EXPECT_EQ(F.List.DisplayName(0, true), "{ per } Все признаки [ SNDPG ]");
    EXPECT_EQ(F.List.DisplayName(1, true), "{ rep } Без признаков");
}

TEST_F(StatListTest, ShreddingNamesCarryTheirFormula) {
    static const TStatClassInfo shredding = {"TShred", "SHR%d", "Метод шинковки %0:d: %%s",
                                             nullptr,  12,      StatFlagS | StatFlagN,
                                             true,     true,    true,
                                             true,     nullptr, nullptr};
    TStatMethod m;
    m.StatClass = &shredding;
    m.Param = 1;
    m.FormulaText = F.Shredding.Formulas[0];
    EXPECT_EQ(m.MethodCode(), "SHR1");
    EXPECT_EQ(m.MethodCaption(), "Метод шинковки 1: %s");
    EXPECT_EQ(m.FullName(), "Метод шинковки 1: (n1+n2+n3+n4+n5+n6)/(n7+n8+n9+n10+n11+n12)");
    m.CustomName = "Шинковка %s";
    EXPECT_EQ(m.FullName(), "Шинковка (n1+n2+n3+n4+n5+n6)/(n7+n8+n9+n10+n11+n12)");
    // Other groups take the name as it stands.
    TStatMethod plain;
    plain.StatClass = &TstValues::ClassInfo;
    plain.CustomName = "100% %s";
    EXPECT_EQ(plain.FullName(), "100% %s");
}

TEST_F(StatListTest, GroupTexts) {
    EXPECT_EQ(TStatList::GroupText(0), "{ num } Числа тиража");
    EXPECT_EQ(TStatList::GroupText(7), "{ rep } Повторяющиеся числа в нескольких тиражах");
    EXPECT_EQ(TStatList::GroupText(12), "{ shr } Методы шинковки");
    EXPECT_EQ(TStatList::GroupText(13), "#ERROR#");
    EXPECT_EQ(TStatList::GroupText(-1), "#ERROR#");
}

// ---- Favourites ------------------------------------------------------------------

TEST_F(StatListTest, FavouritesTextAndBack) {
    EXPECT_EQ(F.List.FavouritesText(), "") << "everything is shown";
    F.List.SetFavourites("nums,pos3");
    EXPECT_FALSE(F.List.AllMarked);
    EXPECT_EQ(MarkedCodes(), (std::vector<std::string>{"NUMS", "POS3"}));
    EXPECT_EQ(F.List.FavouritesText(), "NUMS,POS3");
    EXPECT_TRUE(F.List.IsShown(Index("POS3")));
    EXPECT_FALSE(F.List.IsShown(Index("POS4")));

    // Registry order, whatever the order of the text.
    F.List.SetFavourites("POS12,EVEN,POS1");
    EXPECT_EQ(F.List.FavouritesText(), "EVEN,POS1,POS12");

    // Words are taken as they are.
    F.List.SetFavourites("NUMS, POS3");
    EXPECT_EQ(F.List.FavouritesText(), "NUMS");
    F.List.SetFavourites("XYZ,,");
    EXPECT_EQ(F.List.FavouritesText(), "");
    EXPECT_FALSE(F.List.AllMarked);
    EXPECT_FALSE(F.List.IsShown(0));

    for (const char* empty : {"", "   "}) {
        F.List.SetFavourites("NUMS");
        F.List.SetFavourites(empty);
        EXPECT_TRUE(F.List.AllMarked);
        EXPECT_EQ(MarkedCodes().size(), F.List.Count());
        EXPECT_EQ(F.List.FavouritesText(), "");
    }
}

TEST_F(StatListTest, NormalizeFavouritesTreatsAllAndNoneAlike) {
    for (std::size_t i = 0; i < F.List.Count(); ++i)
        F.List.Items(i).Marked = false;
    F.List.AllMarked = false;
    F.List.NormalizeFavourites();
    EXPECT_TRUE(F.List.AllMarked);
    EXPECT_EQ(MarkedCodes().size(), F.List.Count());

    F.List.Items(2).Marked = false;
    F.List.NormalizeFavourites();
    EXPECT_FALSE(F.List.AllMarked);
    EXPECT_EQ(MarkedCodes().size(), F.List.Count() - 1);
    EXPECT_FALSE(F.List.IsShown(2));

    F.List.Items(2).Marked = true;
    F.List.NormalizeFavourites();
    EXPECT_TRUE(F.List.AllMarked);

    F.List.SetFavourites("EVEN");
    F.List.MarkAll();
    EXPECT_TRUE(F.List.AllMarked);
    EXPECT_EQ(MarkedCodes().size(), F.List.Count());
}

// ---- The names file --------------------------------------------------------------

class NamesFileTest : public StatListTest {
protected:
    std::filesystem::path File() const { return Dir / "Kumby_12x24.flt"; }
    std::string FileText() const { return Cp1251ToUtf8(ReadBytes(File())); }
    TTempDir Dir;
};

TEST_F(NamesFileTest, SaveWritesCp1251AndReplacesTheNamesSection) {
    WriteBytes(File(), Utf8ToCp1251("; заметка\r\n"
                                    "[STRINGS_RUS]\r\n"
                                    "DIGS=Старое имя\r\n"
                                    "ZZZZ=Неизвестный\r\n"
                                    "[STRINGS_ENG]\r\n"
                                    "NUMS=Numbers\r\n"
                                    "[OTHER]\r\n"
                                    "Key=Значение\r\n"));
    F.List.Items(Index("POS3")).CustomName = "Третья позиция";
    F.List.Items(Index("EVEN")).CustomName = "Мои четные";
    F.List.SetFavourites("NUMS,POS3");
    F.List.Ordered = true;
    F.List.ShowGroupName = false;
    ASSERT_NO_THROW(F.List.SaveNames(File(), true, false));

    const std::string bytes = ReadBytes(File());
    EXPECT_NE(bytes.find("EVEN=\xCC\xEE\xE8 \xF7\xE5\xF2\xED\xFB\xE5\r\n"), std::string::npos)
        << "CP1251 on disk";
    const std::string text = FileText();
    EXPECT_NE(text.find("[FILTERS]\r\n"), std::string::npos);
    EXPECT_NE(text.find("Favorites=NUMS,POS3\r\n"), std::string::npos);
    EXPECT_NE(text.find("Ordered=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("ShowGroupName=0\r\n"), std::string::npos);
    EXPECT_NE(text.find("ShowMethodFlags=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("[STRINGS_RUS]\r\nEVEN=Мои четные\r\nPOS3=Третья позиция\r\n"), std::string::npos)
        << text;
    // Names that are no longer custom disappear with the old section; other sections stay.
    EXPECT_EQ(text.find("DIGS="), std::string::npos);
    EXPECT_EQ(text.find("ZZZZ="), std::string::npos);
    EXPECT_NE(text.find("; заметка\r\n"), std::string::npos);
    EXPECT_NE(text.find("[STRINGS_ENG]\r\nNUMS=Numbers\r\n"), std::string::npos);
    EXPECT_NE(text.find("[OTHER]\r\nKey=Значение\r\n"), std::string::npos);
    EXPECT_EQ(text.find("[STRINGS_RUS]"), text.rfind("[STRINGS_RUS]"));

    // Without favourites the FILTERS section is left alone.
    F.List.SetFavourites("");
    F.List.Items(Index("EVEN")).CustomName.clear();
    ASSERT_NO_THROW(F.List.SaveNames(File(), false, false));
    EXPECT_NE(FileText().find("Favorites=NUMS,POS3\r\n"), std::string::npos);
    EXPECT_EQ(FileText().find("EVEN="), std::string::npos);
}

TEST_F(NamesFileTest, LoadRestoresNamesFavouritesAndOptions) {
    F.List.Items(Index("POS3")).CustomName = "Третья позиция";
    F.List.SetFavourites("NUMS,POS3");
    F.List.Ordered = true;
    F.List.ShowMethodFlags = false;
    ASSERT_NO_THROW(F.List.SaveNames(File(), true, false));

    TStatFixture other;
    other.List.Items(0).CustomName = "Будет забыто";
    ASSERT_NO_THROW(other.List.LoadNames(File(), true));
    EXPECT_EQ(other.List.Items(Index("POS3")).CustomName, "Третья позиция");
    EXPECT_EQ(other.List.Items(0).CustomName, "") << "a method missing from the file gets its caption back";
    EXPECT_EQ(other.List.FavouritesText(), "NUMS,POS3");
    EXPECT_TRUE(other.List.Ordered);
    EXPECT_TRUE(other.List.ShowGroupName);
    EXPECT_FALSE(other.List.ShowMethodFlags);
    EXPECT_EQ(other.List.DisplayName(Index("POS3"), true), "{ num } Третья позиция");

    // Names only: the selection stays as it is.
    TStatFixture third;
    third.List.SetFavourites("EVEN");
    ASSERT_NO_THROW(third.List.LoadNames(File(), false));
    EXPECT_EQ(third.List.FavouritesText(), "EVEN");
    EXPECT_FALSE(third.List.Ordered);
    EXPECT_EQ(third.List.Items(Index("POS3")).CustomName, "Третья позиция");
}

TEST_F(NamesFileTest, LoadTrimsNamesAndKeepsWhatTheFileLacks) {
    WriteBytes(File(),
               Utf8ToCp1251("[STRINGS_RUS]\r\npos3=   Третья  \r\nNUMS=\r\n[FILTERS]\r\nOrdered=1\r\n"));
    F.List.SetFavourites("EVEN");
    F.List.ShowGroupName = false;
    ASSERT_NO_THROW(F.List.LoadNames(File(), true));
    EXPECT_EQ(F.List.Items(Index("POS3")).CustomName, "Третья");
    EXPECT_EQ(F.List.Items(0).CustomName, "");
    EXPECT_EQ(F.List.FavouritesText(), "EVEN") << "no Favorites key";
    EXPECT_TRUE(F.List.Ordered);
    EXPECT_FALSE(F.List.ShowGroupName);

    // A missing file reads as empty.
    ASSERT_NO_THROW(F.List.LoadNames(Dir / "none.flt", true));
    EXPECT_EQ(F.List.Items(Index("POS3")).CustomName, "");
    EXPECT_EQ(F.List.FavouritesText(), "EVEN");
    EXPECT_FALSE(std::filesystem::exists(Dir / "none.flt"));
}

TEST_F(NamesFileTest, ExportWritesEveryNameUnderTheLanguageSection) {
    F.List.SetLanguageCode("ENG");
    F.List.Items(Index("NUMS")).CustomName = "Numbers";
    ASSERT_NO_THROW(F.List.SaveNames(File(), false, true));
    const std::string text = FileText();
    EXPECT_NE(text.find("[STRINGS_ENG]\r\nNUMS=Numbers\r\nDIGS=Цифры тиража\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("POS12=Число в 12 позиции тиража\r\n"), std::string::npos);
    EXPECT_EQ(text.find("[FILTERS]"), std::string::npos);
    EXPECT_EQ(text.find("[STRINGS_RUS]"), std::string::npos);
}

TEST_F(NamesFileTest, NameWithLineBreaksStaysOneValue) {
    F.List.SetFavourites("NUMS");
    F.List.Items(Index("POS3")).CustomName = "a=b\r\n[FILTERS]\r\nFavorites=EVEN";
    ASSERT_NO_THROW(F.List.SaveNames(File(), true, false));
    TStatFixture other;
    ASSERT_NO_THROW(other.List.LoadNames(File(), true));
    EXPECT_EQ(other.List.FavouritesText(), "NUMS");
    EXPECT_EQ(other.List.Items(Index("POS3")).CustomName.find('\n'), std::string::npos);
    EXPECT_EQ(other.List.Items(Index("POS3")).CustomName.rfind("a=b", 0), 0u);
}

TEST_F(NamesFileTest, FailuresAreReportedAndChangeNothing) {
    // The message the user is shown: the operation, a blank line, the cause.
    auto failure = [](auto&& call) {
        try {
            call();
        } catch (const Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    // A folder where the file should be.
    std::filesystem::create_directory(File());
    F.List.Items(0).CustomName = "Мои";
    const std::string load = failure([&] { F.List.LoadNames(File(), true); });
    EXPECT_EQ(load.rfind("Ошибка загрузки списка фильтров!\r\r", 0), 0u) << load;
    EXPECT_GT(load.size(), std::string("Ошибка загрузки списка фильтров!\r\r").size());
    EXPECT_EQ(F.List.Items(0).CustomName, "Мои");

    for (const std::filesystem::path& target : {File(), Dir / "no" / "such" / "x.flt"}) {
        const std::string save = failure([&] { F.List.SaveNames(target, true, false); });
        EXPECT_EQ(save.rfind("Ошибка сохранения списка фильтров!\r\r", 0), 0u) << save;
    }
    EXPECT_TRUE(std::filesystem::is_directory(File()));
    EXPECT_FALSE(std::filesystem::exists(Dir / "no"));
}

// ---- Stakes and weights ----------------------------------------------------------

TEST_F(StatListTest, StakeResultChargesEveryLineAndPaysTheFirstMatchingPrize) {
    F.Config.Cost = MoneyFromFloat(10.5);
    F.Config.Profits = {
        {6, MoneyFromFloat(100)}, {12, MoneyFromFloat(1000000)}, {6, MoneyFromFloat(5)}, {0, 7}};
    struct Case {
        int numbers, hits;
        TMoney expected;
    };
    const Case cases[] = {
        {12, -1, -105000},
        {12, 6, -105000 + 1000000},
        {12, 7, -105000},
        {12, 12, -105000 + 10000000000},
        {12, 0, -105000 + 7},
        {13, -1, -13 * 105000},
        {14, 6, -91 * 105000 + 1000000},
        {5, -1, -105000},
        {0, -1, -105000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(F.List.StakeResult(c.numbers, c.hits), c.expected) << c.numbers << " " << c.hits;

    F.Config.Cost = 0;
    F.Config.Profits.clear();
    EXPECT_EQ(F.List.StakeResult(12, 6), 0);
}

TEST_F(StatListTest, WeightsOfAScriptStepAndBack) {
    F.Config.CoefCount = 2;
    F.Config.CoefDeviation = 0.5L;
    F.Config.CoefLevel = -3;
    F.Config.UsePercents = true;
    F.Config.UseAbsValues = false;
    F.List.SaveWeights();

    TWeights step;
    step.CoefCount = 7;
    step.CoefDeviation = 8;
    step.CoefLevel = 9;
    step.UsePercents = false;
    step.UseAbsValues = true;
    F.List.ApplyWeights(true, step);
    EXPECT_EQ(F.Config.CoefCount, 7);
    EXPECT_EQ(F.Config.CoefDeviation, 8);
    EXPECT_EQ(F.Config.CoefLevel, 9);
    EXPECT_FALSE(F.Config.UsePercents);
    EXPECT_TRUE(F.Config.UseAbsValues);

    // A step without its own weights uses the user's.
    F.List.ApplyWeights(false, step);
    EXPECT_EQ(F.Config.CoefCount, 2);
    EXPECT_EQ(F.Config.CoefDeviation, 0.5L);
    EXPECT_EQ(F.Config.CoefLevel, -3);
    EXPECT_TRUE(F.Config.UsePercents);
    EXPECT_FALSE(F.Config.UseAbsValues);

    F.List.ApplyWeights(true, step);
    F.List.RestoreWeights();
    EXPECT_EQ(F.Config.CoefCount, 2);
    EXPECT_TRUE(F.Config.UsePercents);
}

TEST_F(StatListTest, RestoringBeforeAnySaveKeepsTheUsersWeights) {
    // The settings are read after the registry exists.
    F.Config.CoefCount = 4;
    F.Config.UseAbsValues = true;
    F.List.RestoreWeights();
    TWeights none;
    F.List.ApplyWeights(false, none);
    EXPECT_EQ(F.Config.CoefCount, 4);
    EXPECT_TRUE(F.Config.UseAbsValues);
}

} // namespace
} // namespace kumby::testing
