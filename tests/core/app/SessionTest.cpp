#include "app/Session.h"

#include "draws/DrawArchive.h"
#include "io/AtomicFile.h"
#include "io/IniFile.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::PlainDraw;
using testing::ReadArchive;
using testing::ReadBytes;
using testing::TTestSession;
using testing::WriteArchive;
using testing::WriteBytes;

// The program with windows: its start-up asks its questions and shows its help.
constexpr bool Headless = false;

class SessionTest : public ::testing::Test {
protected:
    // Writes a settings file, then creates the session again to read it.
    Session& OpenWithIni(const std::string& name, const std::string& text) {
        WriteBytes(T / name, text);
        T.Open({}, Headless);
        return *T.S;
    }
    // Writes the archive, then creates the session again on it (not started).
    Session& OpenWith(const TDrawsArray& draws) {
        WriteArchive(T.Path(), draws);
        T.Open({}, Headless);
        return *T.S;
    }

    TTestSession T{{}, Headless};
};

TEST_F(SessionTest, EmptyFolderStartsWithAnEmptyArchive) {
    Session& s = *T.S;
    ASSERT_EQ(s.Start(), TStartResult::Ready);
    EXPECT_TRUE(T.Ui.Errors().empty());
    EXPECT_EQ(s.DrawsCountPanel(), "Архив тиражей: 0");
    EXPECT_EQ(s.NextDrawPanel(), "Следующий тираж: 1");
    EXPECT_EQ(s.NextDrawNumbersPanel(), "");
    EXPECT_TRUE(std::filesystem::exists(T / StakesFileName)) << "the lock file is created";
    EXPECT_FALSE(std::filesystem::exists(T / DrawsFileName)) << "nothing written without a change";
    EXPECT_FALSE(s.Busy());
    EXPECT_EQ(T.Ui.Statuses.back(), "") << "the operation text is cleared";
}

TEST_F(SessionTest, OffsetMovesTheNextDraw) {
    Session& s =
        OpenWith({PlainDraw(10), PlainDraw(11), DrawOf(12, {24, 2, 22, 4, 20, 6, 18, 8, 16, 10, 14, 12})});
    ASSERT_EQ(s.Start(), TStartResult::Ready);
    EXPECT_EQ(s.NextDrawPanel(), "Следующий тираж: 13");
    s.SetDrawsOffset(1);
    EXPECT_EQ(s.DrawsOffset(), 1);
    EXPECT_EQ(s.NextDrawPanel(), "Следующий тираж: 12");
    EXPECT_EQ(s.NextDrawNumbersPanel(), "24;2;22;4;20;6;18;8;16;10;14;12");
}

TEST_F(SessionTest, SecondSessionOnTheSameFolderIsRefusedAndTheFirstWorksOn) {
    ASSERT_EQ(T.Start(), TStartResult::Ready);

    auto second = std::make_unique<TTestSession>(T, TCommandLine{}, Headless);
    EXPECT_EQ(second->Start(), TStartResult::Exit);
    const auto errors = second->Ui.Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].rfind("Ошибка чтения файла ставок!\r\r", 0), 0u) << errors[0];
    EXPECT_EQ(errors[1], NoDataLockText);
    second.reset();

    EXPECT_TRUE(T.S->DrawsAdd(PlainDraw(1)));
    EXPECT_EQ(ReadArchive(T.Path()).size(), 1u);

    T.S->Close(false);
    TTestSession third(T, {}, Headless);
    EXPECT_EQ(third.Start(), TStartResult::Ready) << "closing releases the lock";
}

TEST_F(SessionTest, FailedArchiveWriteIsReportedAndTheFileKept) {
    Session& s = OpenWith({PlainDraw(1)});
    const std::string before = ReadBytes(T / DrawsFileName);
    s.Start();

    SetWriteFaultHookForTesting([](std::size_t) { return false; });
    EXPECT_FALSE(s.DrawsAdd(PlainDraw(2)));
    SetWriteFaultHookForTesting(nullptr);

    ASSERT_EQ(T.Ui.Errors().size(), 1u);
    EXPECT_EQ(T.Ui.Errors()[0].rfind("Ошибка записи в файл тиражей!\r\r", 0), 0u) << T.Ui.Errors()[0];
    EXPECT_EQ(ReadBytes(T / DrawsFileName), before);
    EXPECT_FALSE(s.Busy());
}

TEST_F(SessionTest, UnreadableArchiveIsReported) {
    std::filesystem::create_directory(T / DrawsFileName);
    EXPECT_EQ(T.Start(), TStartResult::Ready);
    ASSERT_EQ(T.Ui.Errors().size(), 1u);
    EXPECT_EQ(T.Ui.Errors()[0].rfind("Ошибка чтения файла тиражей!\r\r", 0), 0u);
    EXPECT_EQ(T.S->DrawsCountPanel(), "Архив тиражей: 0");
}

TEST_F(SessionTest, DeleteAsksFirstAndDeletesByNumber) {
    Session& s = OpenWith({PlainDraw(10), PlainDraw(11), PlainDraw(12), PlainDraw(13)});
    s.Start();

    T.Ui.Answers = {false};
    EXPECT_FALSE(s.DrawsDelete({13, 11}));
    EXPECT_EQ(T.Ui.Messages.back().Kind, "confirm-delete");
    EXPECT_EQ(T.Ui.Messages.back().Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
    EXPECT_EQ(s.Draws().size(), 4u);

    T.Ui.Answers = {true};
    EXPECT_TRUE(s.DrawsDelete({13, 11}));
    const TDrawsArray onDisk = ReadArchive(T.Path());
    ASSERT_EQ(onDisk.size(), 2u);
    EXPECT_EQ(onDisk[0].Number, 10);
    EXPECT_EQ(onDisk[1].Number, 12);

    T.Ui.Answers = {true};
    EXPECT_TRUE(s.DrawsDelete({12}));
    EXPECT_EQ(T.Ui.Messages.back().Text, "Удалить выделенную запись?");
}

TEST_F(SessionTest, OffsetStaysInsideTheArchiveAfterDeletion) {
    Session& s = OpenWith({PlainDraw(10), PlainDraw(11), PlainDraw(12)});
    s.Start();
    s.SetDrawsOffset(2);
    T.Ui.Answers = {true};
    s.DrawsDelete({12, 11});
    EXPECT_EQ(s.DrawsOffset(), 0);
    EXPECT_EQ(s.NextDrawPanel(), "Следующий тираж: 11");
}

TEST_F(SessionTest, AddNumbersAfterTheNewest) {
    Session& s = OpenWith({PlainDraw(10), PlainDraw(11)});
    s.Start();
    TDrawRecord rec = s.NewDrawRecord();
    EXPECT_EQ(rec.Number, 12);
    EXPECT_EQ(rec.Combination(), TCombination{});
    rec.SetNumbers({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    ASSERT_TRUE(s.DrawsAdd(rec));
    EXPECT_EQ(s.NextDrawPanel(), "Следующий тираж: 13");

    rec.Number = 99;
    ASSERT_TRUE(s.DrawsChange(0, rec));
    EXPECT_EQ(ReadArchive(T.Path())[0].Number, 99);
    EXPECT_FALSE(s.DrawsChange(5, rec));
}

TEST_F(SessionTest, ImportAndExportThroughTheSession) {
    Session& s = *T.S;
    s.Start();
    WriteBytes(T / "in.csv", "7;\"01.02.2021 20:00\";1;2;3;4;5;6;7;8;9;10;11;12\r\n");
    EXPECT_EQ(s.DrawsImport(T / "in.csv"), 1);
    EXPECT_EQ(s.DrawsImport(T / "nothing.csv"), -1);
    EXPECT_EQ(T.Ui.Errors().size(), 1u);
    ASSERT_TRUE(s.DrawsExport(T / "out.csv"));
    EXPECT_EQ(ReadBytes(T / "out.csv"), ReadBytes(T / "in.csv"));
    EXPECT_EQ(ReadBytes(T / DrawsFileName).size(), 36u);
}

TEST_F(SessionTest, MainSettingsAndProxyMode) {
    Session& s = OpenWithIni(MainSettingsFileName,
                             "[GLOBAL]\r\nMatrixCols=6\r\nMatrixSegments=12a4\r\n"
                             "[STAKES]\r\nCost=12.5\r\nProfits=2\r\nProfit_0_Overlap=12\r\n"
                             "Profit_0_Profit=1000,25\r\nProfit_1_Overlap=0\r\nProfit_1_Profit=3\r\n"
                             "[PROXY]\r\nProxyServer=proxy.local\r\n");
    const TConfigData& c = s.Config();
    EXPECT_EQ(c.MatrixCols, 6);
    EXPECT_EQ(c.ChannelSize, 4);
    EXPECT_EQ(c.MatrixSegments[0], 1);
    EXPECT_EQ(c.MatrixSegments[1], 2);
    EXPECT_EQ(c.MatrixSegments[2], 1) << "a non-digit gives segment 1";
    EXPECT_EQ(c.MatrixSegments[3], 4);
    EXPECT_EQ(c.MatrixSegments[23], 1) << "a short text fills the rest with 1";
    EXPECT_EQ(c.Cost, 125000);
    ASSERT_EQ(c.Profits.size(), 2u);
    EXPECT_EQ(c.Profits[0].Overlap, 12);
    EXPECT_EQ(c.Profits[0].Profit, 10002500);
    EXPECT_EQ(c.CoefDeviation, -1);
    EXPECT_EQ(s.Proxy().Mode, 2);
    EXPECT_EQ(s.Proxy().Port, 80);
    EXPECT_EQ(s.Shredding().Formulas[0], "(n1+n2+n3+n4+n5+n6)/(n7+n8+n9+n10+n11+n12)");
}

TEST_F(SessionTest, NoProxyServerMeansNoProxy) {
    EXPECT_EQ(T.S->Proxy().Mode, 0);
}

TEST_F(SessionTest, SizesOutsideTheMatrixFallBackToDefaults) {
    Session& s = OpenWithIni(MainSettingsFileName, "[GLOBAL]\r\nMatrixCols=0\r\nChannelSize=-3\r\n");
    EXPECT_EQ(s.Config().MatrixCols, 4);
    EXPECT_EQ(s.Config().ChannelSize, 4);
}

TEST_F(SessionTest, ShreddingDigitsOutsideTheDialogsRangeFallBackToTwo) {
    Session& s = OpenWithIni(MainSettingsFileName, "[SHREDDING]\r\nFormula1=n1/7\r\nFormula1Digits=0\r\n"
                                                   "Formula2Digits=300\r\nFormula3Digits=x\r\n");
    EXPECT_EQ(s.Shredding().Formulas[0], "n1/7");
    EXPECT_EQ(s.Shredding().Formulas[1], TShreddingSettings{}.Formulas[1]);
    EXPECT_EQ(s.Shredding().Digits, (std::array<uint8_t, 3>{2, 2, 2}));
    const TStatList& r = s.Registry();
    EXPECT_EQ(r.Items(static_cast<std::size_t>(r.FindByCode("SHR1"))).FullName(), "Метод шинковки 1: n1/7");
    OpenWithIni(MainSettingsFileName, "[SHREDDING]\r\nFormula3Digits=5\r\n");
    EXPECT_EQ(T.S->Shredding().Digits[2], 5);
}

TEST_F(SessionTest, UnreadableSettingsKeepDefaults) {
    std::filesystem::create_directory(T / MainSettingsFileName);
    T.Open({}, Headless);
    ASSERT_FALSE(T.Ui.Errors().empty());
    EXPECT_EQ(T.Ui.Errors()[0].rfind("Ошибка чтения файла конфигурации!\r\r", 0), 0u);
    EXPECT_EQ(T.S->Config().MatrixCols, 4);
}

TEST_F(SessionTest, ApplyConfigWritesTheGroupAndNamesChangedGroups) {
    Session& s = *T.S;
    s.Start();
    TConfigData c = s.Config();
    EXPECT_TRUE(s.ApplyConfig(c).empty());

    c.ChannelSize = 3;
    EXPECT_EQ(s.ApplyConfig(c), std::vector<int>{3});
    c.MatrixCols = 5;
    c.MatrixSegments[7] = 9;
    EXPECT_EQ(s.ApplyConfig(c), (std::vector<int>{4, 5}));

    const TIniFile ini = TIniFile::Load(T / MainSettingsFileName);
    EXPECT_EQ(ini.ReadInteger("GLOBAL", "ChannelSize", 0), 3);
    EXPECT_EQ(ini.ReadString("GLOBAL", "MatrixSegments", ""), "111111191111111111111111");
    EXPECT_TRUE(ini.HasKey("CDL", "UseAbsValues"));
    EXPECT_TRUE(ini.HasKey("STAKES", "Profits"));
}

TEST_F(SessionTest, FavouritesAndNamesSurviveARebuildAndARestart) {
    auto check = [](const TStatList& r, const char* when) {
        EXPECT_EQ(r.FavouritesText(), "NUMS,POS3") << when;
        EXPECT_EQ(r.Items(static_cast<std::size_t>(r.FindByCode("POS3"))).CustomName, "Третья позиция")
            << when;
        EXPECT_FALSE(r.IsShown(static_cast<std::size_t>(r.FindByCode("DIGS")))) << when;
    };
    Session& s = *T.S;
    s.Start();
    TStatList& r = s.Registry();
    r.SetFavourites("NUMS,POS3");
    r.Items(static_cast<std::size_t>(r.FindByCode("POS3"))).CustomName = "Третья позиция";
    ASSERT_NO_THROW(r.SaveNames(T / FilterNamesFileName, true, false));
    TConfigData c = s.Config();
    c.ChannelSize = 3; // parameter ranges follow: the registry is built again
    s.ApplyConfig(c);
    check(s.Registry(), "after the rebuild");
    EXPECT_TRUE(T.Ui.Errors().empty());
    s.Close(false);

    TTestSession again(T, {}, Headless);
    again.Start();
    check(again.S->Registry(), "after the restart");
}

TEST_F(SessionTest, FirstStartMarksPrefetchInit) {
    const TIniFile frm = TIniFile::Load(T / ViewStateFileName);
    EXPECT_EQ(frm.ReadString(MainWindowSection, "PrefetchsInit", ""), "1");
    EXPECT_EQ(frm.ReadString(MainWindowSection, "PrefetchsEnabled", ""), "0");
}

TEST_F(SessionTest, HelpDialogAtStartWhenFirstRun) {
    T.Ui.HelpDontShowAgain = true;
    Session& s = OpenWithIni(ViewStateFileName, "[TFormMain]\r\nFirstRun=1\r\nDownloadDrawsOnStart=2\r\n");
    s.Start();
    EXPECT_EQ(T.Ui.HelpDialogs, 1);
    EXPECT_EQ(TIniFile::Load(T / ViewStateFileName).ReadInteger(MainWindowSection, "FirstRun", 9), 0);
    for (const auto& m : T.Ui.Messages)
        EXPECT_NE(m.Kind, "confirm") << "no question at start: " << m.Text;
}

TEST_F(SessionTest, SwitchesAreWrittenAtOnce) {
    Session& s = *T.S;
    s.Start();
    s.SetSortedDraws(true);
    s.SetColorDraws(false);
    s.SetDownloadDrawsOnStart(2);
    const TIniFile frm = TIniFile::Load(T / ViewStateFileName);
    EXPECT_EQ(frm.ReadString(MainWindowSection, "SortedDraws", ""), "1");
    EXPECT_EQ(frm.ReadString(MainWindowSection, "ColorDraws", ""), "0");
    EXPECT_EQ(frm.ReadString(MainWindowSection, "DownloadDrawsOnStart", ""), "2");
    EXPECT_FALSE(frm.HasKey(MainWindowSection, "DrawsStatLen")) << "sizes wait for the exit";

    s.View().DrawsStatLen = 500;
    s.Close(true);
    EXPECT_EQ(TIniFile::Load(T / ViewStateFileName).ReadInteger(MainWindowSection, "DrawsStatLen", 0), 500);
}

TEST_F(SessionTest, SwitchesThatEndTheProgram) {
    struct TCase {
        std::vector<std::string> Args;
        TStartResult Expected;
        // "loadonly" downloads, and without the site's address says where to set it.
        bool AsksForSiteAddress = false;
    };
    const TCase cases[] = {
        {{"/FULLREFRESH"}, TStartResult::Exit},   {{"-fullrecreate"}, TStartResult::Exit},
        {{"loadonly"}, TStartResult::Exit, true}, {{"--LoadOnly", "\\fullrefresh"}, TStartResult::Exit, true},
        {{"no-language"}, TStartResult::Ready},
    };
    T.S.reset(); // each case is the only program on the folder
    for (const TCase& c : cases) {
        TTestSession run(T, ParseCommandLine(c.Args), Headless);
        EXPECT_EQ(run.Start(), c.Expected) << c.Args[0];
        const std::vector<std::string> errors = run.Ui.Errors();
        ASSERT_EQ(errors.size(), c.AsksForSiteAddress ? 1u : 0u) << c.Args[0];
        if (c.AsksForSiteAddress) {
            EXPECT_NE(errors[0].find("SiteUrl"), std::string::npos);
        }
    }
}

TEST_F(SessionTest, BusyWhileLoadingAndIdleAfter) {
    Session& s = OpenWith({PlainDraw(1)});
    s.Start();
    EXPECT_FALSE(s.Busy());
    EXPECT_NE(std::find(T.Ui.Statuses.begin(), T.Ui.Statuses.end(), "Загрузка файла тиражей..."),
              T.Ui.Statuses.end());
    EXPECT_NE(std::find(T.Ui.Statuses.begin(), T.Ui.Statuses.end(), "Инициализация..."), T.Ui.Statuses.end());
}

} // namespace
} // namespace kumby
