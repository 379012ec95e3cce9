#include "app/Session.h"

#include "draws/DrawArchive.h"
#include "io/AtomicFile.h"
#include "io/IniFile.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TRecordingUi;
using testing::TTempDir;
using testing::WriteBytes;

TDrawRecord Draw(int32_t number, TCombination numbers = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}) {
    TDrawRecord d;
    d.Number = number;
    d.SetNumbers(numbers);
    d.SetDateTextUtf8("01.02.2021 20:00");
    return d;
}

class SessionTest : public ::testing::Test {
protected:
    std::unique_ptr<Session> Open(TRecordingUi& ui, TCommandLine cl = {}) {
        TSessionOptions o;
        o.DataDir = Dir.Path();
        o.CommandLine = std::move(cl);
        auto s = std::make_unique<Session>(ui, o);
        EXPECT_TRUE(s->Create());
        return s;
    }
    void WriteIni(const std::string& name, const std::string& text) { WriteBytes(Dir / name, text); }

    TTempDir Dir;
};

TEST_F(SessionTest, EmptyFolderStartsWithAnEmptyArchive) {
    TRecordingUi ui;
    auto s = Open(ui);
    ASSERT_EQ(s->Start(), TStartResult::Ready);
    EXPECT_TRUE(ui.Errors().empty());
    EXPECT_EQ(s->DrawsCountPanel(), "Архив тиражей: 0");
    EXPECT_EQ(s->NextDrawPanel(), "Следующий тираж: 1");
    EXPECT_EQ(s->NextDrawNumbersPanel(), "");
    EXPECT_TRUE(std::filesystem::exists(Dir / StakesFileName)) << "the lock file is created";
    EXPECT_FALSE(std::filesystem::exists(Dir / DrawsFileName)) << "nothing written without a change";
    EXPECT_FALSE(s->Busy());
    EXPECT_EQ(ui.Statuses.back(), "") << "the operation text is cleared";
}

TEST_F(SessionTest, OffsetMovesTheNextDraw) {
    SaveDrawArchive(Dir / DrawsFileName,
                    {Draw(10), Draw(11), Draw(12, {24, 2, 22, 4, 20, 6, 18, 8, 16, 10, 14, 12})});
    TRecordingUi ui;
    auto s = Open(ui);
    ASSERT_EQ(s->Start(), TStartResult::Ready);
    EXPECT_EQ(s->NextDrawPanel(), "Следующий тираж: 13");
    s->SetDrawsOffset(1);
    EXPECT_EQ(s->DrawsOffset(), 1);
    EXPECT_EQ(s->NextDrawPanel(), "Следующий тираж: 12");
    EXPECT_EQ(s->NextDrawNumbersPanel(), "24;2;22;4;20;6;18;8;16;10;14;12");
}

TEST_F(SessionTest, SecondSessionOnTheSameFolderIsRefusedAndTheFirstWorksOn) {
    TRecordingUi ui1, ui2;
    auto first = Open(ui1);
    ASSERT_EQ(first->Start(), TStartResult::Ready);

    auto second = Open(ui2);
    EXPECT_EQ(second->Start(), TStartResult::Exit);
    const auto errors = ui2.Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].rfind("Ошибка чтения файла ставок!\r\r", 0), 0u) << errors[0];
    EXPECT_EQ(errors[1], NoDataLockText);
    second.reset();

    EXPECT_TRUE(first->DrawsAdd(Draw(1)));
    TDrawsArray onDisk;
    LoadDrawArchive(Dir / DrawsFileName, onDisk);
    EXPECT_EQ(onDisk.size(), 1u);

    first->Close(false);
    TRecordingUi ui3;
    auto third = Open(ui3);
    EXPECT_EQ(third->Start(), TStartResult::Ready) << "closing releases the lock";
}

TEST_F(SessionTest, FailedArchiveWriteIsReportedAndTheFileKept) {
    SaveDrawArchive(Dir / DrawsFileName, {Draw(1)});
    const std::string before = ReadBytes(Dir / DrawsFileName);
    TRecordingUi ui;
    auto s = Open(ui);
    s->Start();

    SetWriteFaultHookForTesting([](std::size_t) { return false; });
    EXPECT_FALSE(s->DrawsAdd(Draw(2)));
    SetWriteFaultHookForTesting(nullptr);

    ASSERT_EQ(ui.Errors().size(), 1u);
    EXPECT_EQ(ui.Errors()[0].rfind("Ошибка записи в файл тиражей!\r\r", 0), 0u) << ui.Errors()[0];
    EXPECT_EQ(ReadBytes(Dir / DrawsFileName), before);
    EXPECT_FALSE(s->Busy());
}

TEST_F(SessionTest, UnreadableArchiveIsReported) {
    std::filesystem::create_directory(Dir / DrawsFileName);
    TRecordingUi ui;
    auto s = Open(ui);
    EXPECT_EQ(s->Start(), TStartResult::Ready);
    ASSERT_EQ(ui.Errors().size(), 1u);
    EXPECT_EQ(ui.Errors()[0].rfind("Ошибка чтения файла тиражей!\r\r", 0), 0u);
    EXPECT_EQ(s->DrawsCountPanel(), "Архив тиражей: 0");
}

TEST_F(SessionTest, DeleteAsksFirstAndDeletesByNumber) {
    SaveDrawArchive(Dir / DrawsFileName, {Draw(10), Draw(11), Draw(12), Draw(13)});
    TRecordingUi ui;
    auto s = Open(ui);
    s->Start();

    ui.Answers = {false};
    EXPECT_FALSE(s->DrawsDelete({13, 11}));
    EXPECT_EQ(ui.Messages.back().Kind, "confirm-delete");
    EXPECT_EQ(ui.Messages.back().Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
    EXPECT_EQ(s->Draws().size(), 4u);

    ui.Answers = {true};
    EXPECT_TRUE(s->DrawsDelete({13, 11}));
    TDrawsArray onDisk;
    LoadDrawArchive(Dir / DrawsFileName, onDisk);
    ASSERT_EQ(onDisk.size(), 2u);
    EXPECT_EQ(onDisk[0].Number, 10);
    EXPECT_EQ(onDisk[1].Number, 12);

    ui.Answers = {true};
    EXPECT_TRUE(s->DrawsDelete({12}));
    EXPECT_EQ(ui.Messages.back().Text, "Удалить выделенную запись?");
}

TEST_F(SessionTest, OffsetStaysInsideTheArchiveAfterDeletion) {
    SaveDrawArchive(Dir / DrawsFileName, {Draw(10), Draw(11), Draw(12)});
    TRecordingUi ui;
    auto s = Open(ui);
    s->Start();
    s->SetDrawsOffset(2);
    ui.Answers = {true};
    s->DrawsDelete({12, 11});
    EXPECT_EQ(s->DrawsOffset(), 0);
    EXPECT_EQ(s->NextDrawPanel(), "Следующий тираж: 11");
}

TEST_F(SessionTest, AddNumbersAfterTheNewest) {
    SaveDrawArchive(Dir / DrawsFileName, {Draw(10), Draw(11)});
    TRecordingUi ui;
    auto s = Open(ui);
    s->Start();
    TDrawRecord rec = s->NewDrawRecord();
    EXPECT_EQ(rec.Number, 12);
    EXPECT_EQ(rec.Combination(), TCombination{});
    rec.SetNumbers({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    ASSERT_TRUE(s->DrawsAdd(rec));
    EXPECT_EQ(s->NextDrawPanel(), "Следующий тираж: 13");

    rec.Number = 99;
    ASSERT_TRUE(s->DrawsChange(0, rec));
    TDrawsArray onDisk;
    LoadDrawArchive(Dir / DrawsFileName, onDisk);
    EXPECT_EQ(onDisk[0].Number, 99);
    EXPECT_FALSE(s->DrawsChange(5, rec));
}

TEST_F(SessionTest, ImportAndExportThroughTheSession) {
    TRecordingUi ui;
    auto s = Open(ui);
    s->Start();
    WriteBytes(Dir / "in.csv", "7;\"01.02.2021 20:00\";1;2;3;4;5;6;7;8;9;10;11;12\r\n");
    EXPECT_EQ(s->DrawsImport(Dir / "in.csv"), 1);
    EXPECT_EQ(s->DrawsImport(Dir / "nothing.csv"), -1);
    EXPECT_EQ(ui.Errors().size(), 1u);
    ASSERT_TRUE(s->DrawsExport(Dir / "out.csv"));
    EXPECT_EQ(ReadBytes(Dir / "out.csv"), ReadBytes(Dir / "in.csv"));
    EXPECT_EQ(ReadBytes(Dir / DrawsFileName).size(), 36u);
}

TEST_F(SessionTest, MainSettingsAndProxyMode) {
    WriteIni(MainSettingsFileName, "[GLOBAL]\r\nMatrixCols=6\r\nMatrixSegments=12a4\r\n"
                                   "[STAKES]\r\nCost=12.5\r\nProfits=2\r\nProfit_0_Overlap=12\r\n"
                                   "Profit_0_Profit=1000,25\r\nProfit_1_Overlap=0\r\nProfit_1_Profit=3\r\n"
                                   "[PROXY]\r\nProxyServer=proxy.local\r\n");
    TRecordingUi ui;
    auto s = Open(ui);
    const TConfigData& c = s->Config();
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
    EXPECT_EQ(s->Proxy().Mode, 2);
    EXPECT_EQ(s->Proxy().Port, 80);
    EXPECT_EQ(s->Shredding().Formulas[0], "(n1+n2+n3+n4+n5+n6)/(n7+n8+n9+n10+n11+n12)");
}

TEST_F(SessionTest, NoProxyServerMeansNoProxy) {
    TRecordingUi ui;
    EXPECT_EQ(Open(ui)->Proxy().Mode, 0);
}

TEST_F(SessionTest, SizesOutsideTheMatrixFallBackToDefaults) {
    WriteIni(MainSettingsFileName, "[GLOBAL]\r\nMatrixCols=0\r\nChannelSize=-3\r\n");
    TRecordingUi ui;
    auto s = Open(ui);
    EXPECT_EQ(s->Config().MatrixCols, 4);
    EXPECT_EQ(s->Config().ChannelSize, 4);
}

TEST_F(SessionTest, UnreadableSettingsKeepDefaults) {
    std::filesystem::create_directory(Dir / MainSettingsFileName);
    TRecordingUi ui;
    auto s = Open(ui);
    ASSERT_FALSE(ui.Errors().empty());
    EXPECT_EQ(ui.Errors()[0].rfind("Ошибка чтения файла конфигурации!\r\r", 0), 0u);
    EXPECT_EQ(s->Config().MatrixCols, 4);
}

TEST_F(SessionTest, ApplyConfigWritesTheGroupAndNamesChangedGroups) {
    TRecordingUi ui;
    auto s = Open(ui);
    s->Start();
    TConfigData c = s->Config();
    EXPECT_TRUE(s->ApplyConfig(c).empty());

    c.ChannelSize = 3;
    EXPECT_EQ(s->ApplyConfig(c), std::vector<int>{3});
    c.MatrixCols = 5;
    c.MatrixSegments[7] = 9;
    EXPECT_EQ(s->ApplyConfig(c), (std::vector<int>{4, 5}));

    const TIniFile ini = TIniFile::Load(Dir / MainSettingsFileName);
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
    {
        TRecordingUi ui;
        auto s = Open(ui);
        s->Start();
        TStatList& r = s->Registry();
        r.SetFavourites("NUMS,POS3");
        r.Items(static_cast<std::size_t>(r.FindByCode("POS3"))).CustomName = "Третья позиция";
        ASSERT_NO_THROW(r.SaveNames(Dir / FilterNamesFileName, true, false));
        TConfigData c = s->Config();
        c.ChannelSize = 3; // parameter ranges follow: the registry is built again
        s->ApplyConfig(c);
        check(s->Registry(), "after the rebuild");
        EXPECT_TRUE(ui.Errors().empty());
    }
    TRecordingUi ui;
    auto s = Open(ui);
    s->Start();
    check(s->Registry(), "after the restart");
}

TEST_F(SessionTest, FirstStartMarksPrefetchInit) {
    TRecordingUi ui;
    Open(ui);
    const TIniFile frm = TIniFile::Load(Dir / ViewStateFileName);
    EXPECT_EQ(frm.ReadString(MainWindowSection, "PrefetchsInit", ""), "1");
    EXPECT_EQ(frm.ReadString(MainWindowSection, "PrefetchsEnabled", ""), "0");
}

TEST_F(SessionTest, HelpDialogAtStartWhenFirstRun) {
    WriteIni(ViewStateFileName, "[TFormMain]\r\nFirstRun=1\r\nDownloadDrawsOnStart=2\r\n");
    TRecordingUi ui;
    ui.HelpDontShowAgain = true;
    auto s = Open(ui);
    s->Start();
    EXPECT_EQ(ui.HelpDialogs, 1);
    EXPECT_EQ(TIniFile::Load(Dir / ViewStateFileName).ReadInteger(MainWindowSection, "FirstRun", 9), 0);
    for (const auto& m : ui.Messages)
        EXPECT_NE(m.Kind, "confirm") << "no question at start: " << m.Text;
}

TEST_F(SessionTest, SwitchesAreWrittenAtOnce) {
    TRecordingUi ui;
    auto s = Open(ui);
    s->Start();
    s->SetSortedDraws(true);
    s->SetColorDraws(false);
    s->SetDownloadDrawsOnStart(2);
    const TIniFile frm = TIniFile::Load(Dir / ViewStateFileName);
    EXPECT_EQ(frm.ReadString(MainWindowSection, "SortedDraws", ""), "1");
    EXPECT_EQ(frm.ReadString(MainWindowSection, "ColorDraws", ""), "0");
    EXPECT_EQ(frm.ReadString(MainWindowSection, "DownloadDrawsOnStart", ""), "2");
    EXPECT_FALSE(frm.HasKey(MainWindowSection, "DrawsStatLen")) << "sizes wait for the exit";

    s->View().DrawsStatLen = 500;
    s->Close(true);
    EXPECT_EQ(TIniFile::Load(Dir / ViewStateFileName).ReadInteger(MainWindowSection, "DrawsStatLen", 0), 500);
}

TEST_F(SessionTest, SwitchesThatEndTheProgram) {
    struct TCase {
        std::vector<std::string> Args;
        TStartResult Expected;
    };
    const TCase cases[] = {
        {{"/FULLREFRESH"}, TStartResult::Exit}, {{"-fullrecreate"}, TStartResult::Exit},
        {{"loadonly"}, TStartResult::Exit},     {{"--LoadOnly", "\\fullrefresh"}, TStartResult::Exit},
        {{"no-language"}, TStartResult::Ready},
    };
    for (const TCase& c : cases) {
        TRecordingUi ui;
        auto s = Open(ui, ParseCommandLine(c.Args));
        EXPECT_EQ(s->Start(), c.Expected) << c.Args[0];
        EXPECT_TRUE(ui.Errors().empty());
    }
}

TEST_F(SessionTest, BusyWhileLoadingAndIdleAfter) {
    SaveDrawArchive(Dir / DrawsFileName, {Draw(1)});
    TRecordingUi ui;
    auto s = Open(ui);
    s->Start();
    EXPECT_FALSE(s->Busy());
    EXPECT_NE(std::find(ui.Statuses.begin(), ui.Statuses.end(), "Загрузка файла тиражей..."),
              ui.Statuses.end());
    EXPECT_NE(std::find(ui.Statuses.begin(), ui.Statuses.end(), "Инициализация..."), ui.Statuses.end());
}

} // namespace
} // namespace kumby
