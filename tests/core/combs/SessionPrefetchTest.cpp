#include "app/Session.h"
#include "io/IniFile.h"

#include "combs/FullSet.h"
#include "io/AtomicFile.h"
#include "model/VexoUtils.h"
#include "stats/families/VF_Chns.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <map>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TTestSession;
using testing::WriteBytes;

constexpr int NumbersFamilyFiles = 20;
constexpr int32_t HalfOfFullSet = 1352078; // C(23, 11)

void PutLe(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(v >> (8 * i) & 0xFF);
}

// The file image of a distribution, written out by hand: keys ascending, one record
// per value that occurs, then the smallest and largest count and a zero.
std::string ExpectedFile(const std::map<uint16_t, int32_t>& counts) {
    std::string out;
    int32_t lo = 2147483647, hi = 0;
    for (const auto& [key, count] : counts) {
        PutLe(out, key, 2);
        PutLe(out, 0, 6);
        PutLe(out, static_cast<uint32_t>(count), 4);
        lo = std::min(lo, count);
        hi = std::max(hi, count);
    }
    PutLe(out, static_cast<uint32_t>(lo), 4);
    PutLe(out, static_cast<uint32_t>(hi), 4);
    PutLe(out, 0, 4);
    return out;
}

class SessionPrefetchTest : public ::testing::Test {
protected:
    // Creates and starts the session again (the one before it closes first).
    Session& Open(TCommandLine cl = {}) {
        T.Open(std::move(cl));
        Started = T.Start();
        return *T.S;
    }
    std::filesystem::path File(const std::string& code) const { return PrefetchFilePath(T.Path(), code); }
    std::size_t Method(Session& s, const std::string& code) const {
        const int i = s.Registry().FindByCode(code);
        EXPECT_GE(i, 0) << code;
        return static_cast<std::size_t>(i);
    }
    // A well-formed file that no real build produces, to see whether it was rebuilt.
    void PlantMarker(const std::string& code) {
        std::filesystem::create_directories(File(code).parent_path());
        WriteBytes(File(code), Marker);
    }
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(T / PrefetchFolderName))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // 1-based step of a method in a run over the methods with files.
    long long StepOf(Session& s, const std::string& code) const {
        long long step = 0;
        for (std::size_t i = 0; i < s.Registry().Count(); ++i)
            if (s.Registry().Items(i).StatClass->HasPrefetch()) {
                ++step;
                if (s.Registry().Items(i).MethodCode() == code)
                    return step;
            }
        ADD_FAILURE() << code;
        return 0;
    }
    int CountInGroups(Session& s, std::vector<int> groups) const {
        int n = 0;
        for (std::size_t i = 0; i < s.Registry().Count(); ++i) {
            const TStatClassInfo& c = *s.Registry().Items(i).StatClass;
            n += c.HasPrefetch() && std::find(groups.begin(), groups.end(), c.Group) != groups.end();
        }
        return n;
    }
    std::vector<std::string> AllCodes(Session& s) const {
        std::vector<std::string> codes;
        for (std::size_t i = 0; i < s.Registry().Count(); ++i)
            codes.push_back(s.Registry().Items(i).MethodCode());
        return codes;
    }

    TTestSession T;
    TStartResult Started = TStartResult::Ready;
    const std::string Marker = ExpectedFile({{99, 1}});
};

std::string NumsFile() {
    std::map<uint16_t, int32_t> counts;
    for (uint16_t n = 1; n <= 24; ++n)
        counts[n] = HalfOfFullSet;
    return ExpectedFile(counts);
}

TEST_F(SessionPrefetchTest, NumsFileHoldsTwentyFourHalvesAndTheWorkingListComesBack) {
    Session& s = Open();
    const TCombsArray working = {{1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23},
                                 {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24}};
    s.WorkingList() = working;
    s.UndoCopy() = {FirstFullSetCombination};

    T.Ui.Events.clear();
    ASSERT_TRUE(s.CreatePrefetchFile(Method(s, "NUMS")));
    const std::string bytes = ReadBytes(File("NUMS"));
    ASSERT_EQ(bytes.size(), 25u * 12);
    EXPECT_EQ(bytes, NumsFile());
    EXPECT_EQ(bytes.substr(0, 12), std::string("\x01\x00\x00\x00\x00\x00\x00\x00\x8E\xA1\x14\x00", 12));

    EXPECT_EQ(s.WorkingList(), working);
    EXPECT_FALSE(s.CanUndo()) << "the last change can no longer be undone";
    EXPECT_NE(std::find(T.Ui.Events.begin(), T.Ui.Events.end(), TSessionEvent::CombsChanged),
              T.Ui.Events.end())
        << "the list view is refreshed";
    EXPECT_GE(s.WorkingList().capacity(), FullSetSize) << "the reserved room is kept";
    EXPECT_GE(s.UndoCopy().capacity(), FullSetSize);
    EXPECT_FALSE(s.Busy());
    EXPECT_TRUE(T.Ui.Errors().empty());
    EXPECT_NE(std::find(T.Ui.Statuses.begin(), T.Ui.Statuses.end(),
                        "Создание файла предварительной выборки Kumby_12x24_NUMS.dfc..."),
              T.Ui.Statuses.end());
    EXPECT_EQ(T.Ui.Statuses.back(), "");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Kumby_12x24_NUMS.dfc"}) << "no temporary file left";
}

TEST_F(SessionPrefetchTest, OpeningReadsOrRebuildsAndNeverRunsWhileTheComparisonIsOff) {
    Session& s = Open();
    const std::size_t nums = Method(s, "NUMS");
    ASSERT_FALSE(s.View().PrefetchsEnabled) << "off by default";
    EXPECT_FALSE(s.OpenPrefetchFile(nums));
    EXPECT_FALSE(std::filesystem::exists(T / PrefetchFolderName));

    s.View().PrefetchsEnabled = true;
    PlantMarker("NUMS");
    auto data = s.OpenPrefetchFile(nums);
    ASSERT_TRUE(data);
    ASSERT_EQ(data->Records.size(), 1u) << "an existing file is read as it is";
    EXPECT_EQ(data->Records[0].Key1, 99);

    PlantMarker("EVEN");
    WriteBytes(File("EVEN"), ""); // a zero-length file counts as missing
    data = s.OpenPrefetchFile(Method(s, "EVEN"));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->Records.size(), 13u) << "0..12 even numbers";
    EXPECT_EQ(data->MinCount, 1);
    EXPECT_EQ(data->MaxCount, 853776) << "C(12, 6) squared";
    EXPECT_EQ(ReadBytes(File("EVEN")).size(), 14u * 12);

    std::filesystem::remove(File("POS1"));
    data = s.OpenPrefetchFile(Method(s, "POS1"));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->Records.size(), 13u) << "only 1..13 can stand first";
    EXPECT_TRUE(T.Ui.Errors().empty());

    WriteBytes(File("NUMS"), "short");
    data = s.OpenPrefetchFile(nums);
    ASSERT_TRUE(data) << "a damaged file is built again";
    EXPECT_EQ(data->Records.size(), 24u);
    EXPECT_TRUE(T.Ui.Errors().empty());
}

// The switch, force and groups decide which files are made, and the files made for a
// group are whole.
TEST_F(SessionPrefetchTest, CreatingFilesFollowsTheSwitchForceAndGroups) {
    Session& s = Open();
    const std::vector<std::string> codes = AllCodes(s);
    const long long withFiles = StepOf(s, codes.back());

    EXPECT_EQ(s.CreatePrefetchFiles(false, {}), 0);
    EXPECT_FALSE(std::filesystem::exists(T / PrefetchFolderName)) << "comparison off, not forced";
    EXPECT_TRUE(T.Ui.Progress.empty());

    for (const std::string& code : codes)
        if (code != "EVEN")
            PlantMarker(code);
    WriteBytes(File("SMAL"), ""); // empty: missing
    EXPECT_EQ(s.CreatePrefetchFiles(true, {}), 2) << "forced: only the missing ones";
    EXPECT_EQ(ReadBytes(File("NUMS")), Marker);
    EXPECT_NE(ReadBytes(File("EVEN")), Marker);
    EXPECT_NE(ReadBytes(File("SMAL")), Marker);

    const TCombsArray working = {LastFullSetCombination, FirstFullSetCombination};
    s.WorkingList() = working;
    s.UndoCopy() = {FirstFullSetCombination};
    EXPECT_EQ(s.CreatePrefetchFiles(true, {}), 0) << "nothing missing";
    EXPECT_TRUE(s.CanUndo()) << "no file built, nothing to lose";

    s.View().PrefetchsEnabled = true;
    EXPECT_EQ(s.CreatePrefetchFiles(false, {3, 12}), CountInGroups(s, {3, 12}));
    EXPECT_EQ(ReadBytes(File("NUMS")), Marker) << "other groups leave the numbers files alone";

    T.Ui.Progress.clear();
    T.Ui.Statuses.clear();
    T.Ui.Events.clear();
    s.UndoCopy() = {FirstFullSetCombination};
    EXPECT_EQ(s.CreatePrefetchFiles(false, {0}), NumbersFamilyFiles);
    EXPECT_TRUE(T.Ui.Errors().empty());
    EXPECT_EQ(s.WorkingList(), working);
    EXPECT_FALSE(s.CanUndo()) << "as after building each file on its own";
    EXPECT_NE(std::find(T.Ui.Events.begin(), T.Ui.Events.end(), TSessionEvent::CombsChanged),
              T.Ui.Events.end());
    EXPECT_NE(std::find(T.Ui.Statuses.begin(), T.Ui.Statuses.end(),
                        "Создание файла предварительной выборки Kumby_12x24_POS12.dfc..."),
              T.Ui.Statuses.end());
    ASSERT_EQ(T.Ui.Progress.size(), static_cast<std::size_t>(withFiles + 2));
    for (long long k = 0; k <= withFiles; ++k)
        EXPECT_EQ(T.Ui.Progress[k], std::make_pair(k, withFiles));
    EXPECT_EQ(T.Ui.Progress.back(), std::make_pair(0LL, 0LL)) << "the progress window closes";
    EXPECT_EQ(T.Ui.Statuses.front(), "Создание файлов для полного набора комбинаций...");
    EXPECT_EQ(T.Ui.Statuses.back(), "");
    EXPECT_FALSE(s.Busy());

    // Counts by formula: n stands third in C(n-1, 2) * C(24-n, 9) ascending
    // combinations, and k even numbers come with 12 - k odd ones in C(12, k) * C(12, 12-k).
    // The heavy suite checks every file against a count from scratch.
    std::map<uint16_t, int32_t> third, even;
    for (uint16_t n = 3; n <= 15; ++n)
        third[n] = static_cast<int32_t>(Binomial(n - 1, 2) * Binomial(24 - n, 9));
    for (uint16_t k = 0; k <= 12; ++k)
        even[k] = static_cast<int32_t>(Binomial(12, k) * Binomial(12, 12 - k));
    EXPECT_EQ(ReadBytes(File("NUMS")), NumsFile());
    EXPECT_EQ(ReadBytes(File("POS3")), ExpectedFile(third));
    EXPECT_EQ(ReadBytes(File("EVEN")), ExpectedFile(even));
}

TEST_F(SessionPrefetchTest, StopEndsTheRunBetweenWholeFiles) {
    Session& s = Open();
    for (const std::string& code : AllCodes(s))
        if (code != "POS1" && code != "POS2" && code != "POS3")
            PlantMarker(code);
    T.Ui.StopAfter = StepOf(s, "POS2");
    EXPECT_EQ(s.CreatePrefetchFiles(true, {}), 2);
    const std::string pos1 = ReadBytes(File("POS1"));
    ASSERT_EQ(pos1.size(), 14u * 12) << "1..13 and the trailer";
    // Whole up to its trailer: MinCount 1 (only 13 14 ... 24 starts with 13) and
    // MaxCount that of 1 at the front.
    EXPECT_EQ(pos1.substr(pos1.size() - 12, 8), std::string("\x01\x00\x00\x00", 4) + pos1.substr(8, 4));
    EXPECT_EQ(ReadBytes(File("POS2")).size(), 14u * 12);
    EXPECT_FALSE(std::filesystem::exists(File("POS3")));
    EXPECT_EQ(T.Ui.Progress.back(), std::make_pair(0LL, 0LL));
    EXPECT_FALSE(s.Busy());
}

class FaultHookGuard {
public:
    explicit FaultHookGuard(TWriteFaultHook hook) { SetWriteFaultHookForTesting(std::move(hook)); }
    ~FaultHookGuard() { SetWriteFaultHookForTesting(nullptr); }
};

TEST_F(SessionPrefetchTest, FailedWriteLeavesNoFileAndTheRunGoesOn) {
    Session& s = Open();
    const TCombsArray working = {LastFullSetCombination};
    s.WorkingList() = working;
    PlantMarker("POS1"); // an outdated file being made again
    {
        FaultHookGuard fault([](std::size_t) { return false; });
        EXPECT_FALSE(s.CreatePrefetchFile(Method(s, "POS1")));
    }
    EXPECT_FALSE(std::filesystem::exists(File("POS1"))) << "the next attempt starts over";
    EXPECT_TRUE(FolderEntries().empty()) << "no temporary file left";
    EXPECT_EQ(s.WorkingList(), working);
    EXPECT_TRUE(s.UndoCopy().empty());
    EXPECT_FALSE(s.Busy());
    ASSERT_EQ(T.Ui.Errors().size(), 1u);
    const std::string prefix =
        "Ошибка создания файла данных для полного набора вариантов!\r\rИмя файла: " + File("POS1").string() +
        "\r\r";
    EXPECT_EQ(T.Ui.Errors()[0].rfind(prefix, 0), 0u) << T.Ui.Errors()[0];
    EXPECT_NE(T.Ui.Errors()[0].find("Kumby_12x24_POS1.dfc\""), std::string::npos)
        << "the reason names the file";

    // One failure does not stop the run: only the first write fails.
    for (const std::string& code : AllCodes(s))
        if (code != "POS1" && code != "POS2")
            PlantMarker(code);
    int writes = 0;
    FaultHookGuard fault([&](std::size_t written) { return written > 0 || ++writes > 1; });
    EXPECT_EQ(s.CreatePrefetchFiles(true, {}), 1);
    EXPECT_EQ(T.Ui.Errors().size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(File("POS1")));
    EXPECT_TRUE(std::filesystem::exists(File("POS2")));
}

TEST_F(SessionPrefetchTest, SwitchIsWrittenAtOnceAndBuildsWhatIsMissing) {
    {
        Session& s = Open();
        for (const std::string& code : AllCodes(s))
            if (code != "PRIM")
                PlantMarker(code);
        s.SetPrefetchsEnabled(true);
        EXPECT_TRUE(std::filesystem::exists(File("PRIM")));
        EXPECT_EQ(ReadBytes(File("NUMS")), Marker);
        std::filesystem::remove(File("PRIM"));
    }
    {
        Session& s = Open();
        EXPECT_TRUE(s.View().PrefetchsEnabled) << "written at once";
        EXPECT_TRUE(std::filesystem::exists(File("PRIM"))) << "start-up builds missing files while on";
        std::filesystem::remove(File("PRIM"));
        s.SetPrefetchsEnabled(false);
        EXPECT_FALSE(std::filesystem::exists(File("PRIM")));
    }
    Session& s = Open();
    EXPECT_FALSE(s.View().PrefetchsEnabled);
    EXPECT_FALSE(std::filesystem::exists(File("PRIM")));
}

TEST_F(SessionPrefetchTest, FullRefreshSwitchBuildsMissingFilesAndEnds) {
    {
        Session& s = Open();
        for (const std::string& code : AllCodes(s))
            if (code != "POS12")
                PlantMarker(code);
    }
    TCommandLine cl;
    cl.FullRefresh = true;
    Open(cl);
    EXPECT_EQ(Started, TStartResult::Exit);
    EXPECT_TRUE(std::filesystem::exists(File("POS12")));
    EXPECT_EQ(ReadBytes(File("POS11")), Marker);
}

// Unlike "fullrefresh", "fullrecreate" makes the files that exist again: a stale file
// is rewritten. A stop after the second file keeps the run short.
TEST_F(SessionPrefetchTest, FullRecreateSwitchRebuildsExistingFilesAndEnds) {
    {
        Session& s = Open();
        for (const std::string& code : AllCodes(s))
            PlantMarker(code);
        T.Ui.StopAfter = StepOf(s, "DIGS");
    }
    TCommandLine cl;
    cl.FullRecreate = true;
    Open(cl);
    EXPECT_EQ(Started, TStartResult::Exit);
    EXPECT_EQ(ReadBytes(File("NUMS")), NumsFile());
    EXPECT_EQ(ReadBytes(File("DIGS")).size(), 11u * 12) << "the ten digits and the trailer";
    EXPECT_EQ(ReadBytes(File("EVEN")), Marker) << "stopped before the third file";
    EXPECT_TRUE(T.Ui.Errors().empty());
}

// New formulas: written to the settings, named in the method list, and only the
// shredding files made again, and those only while the comparison is on.
TEST_F(SessionPrefetchTest, NewShreddingFormulasRebuildOnlyTheirGroup) {
    Session& s = Open();
    for (std::size_t i = 0; i < s.Registry().Count(); ++i)
        if (s.Registry().Items(i).StatClass->HasPrefetch())
            PlantMarker(s.Registry().Items(i).MethodCode());
    TShreddingSettings shredding = s.Shredding();
    shredding.Formulas[0] = "n1/8";
    shredding.Digits[0] = 3;
    s.ApplyShredding(shredding);
    EXPECT_EQ(ReadBytes(File("SHR1")), Marker) << "the comparison is off";
    EXPECT_EQ(s.Registry().Items(Method(s, "SHR1")).FullName(), "Метод шинковки 1: n1/8");
    const TIniFile ini = TIniFile::Load(T / MainSettingsFileName);
    EXPECT_EQ(ini.ReadString("SHREDDING", "Formula1", ""), "n1/8");
    EXPECT_EQ(ini.ReadInteger("SHREDDING", "Formula1Digits", 0), 3);
    EXPECT_EQ(ini.ReadString("SHREDDING", "Formula2", ""), s.Shredding().Formulas[1]);

    s.View().PrefetchsEnabled = true;
    s.ApplyShredding(shredding);
    // 1..13 stand first: eighths 125, 250, .., 875 and 0 for 8.
    auto data = s.OpenPrefetchFile(Method(s, "SHR1"));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->Records.size(), 8u);
    EXPECT_NE(ReadBytes(File("SHR2")), Marker);
    EXPECT_EQ(ReadBytes(File("NUMS")), Marker);
    EXPECT_TRUE(T.Ui.Errors().empty());
}

// A new channel width: the channel methods are named anew from the new width,
// favourites and names of the methods that still exist survive, and only the
// channel files are made again, from the new width.
TEST_F(SessionPrefetchTest, NewChannelWidthRebuildsOnlyTheChannelFilesAndKeepsNames) {
    Session& s = Open();
    for (std::size_t i = 0; i < s.Registry().Count(); ++i)
        if (s.Registry().Items(i).StatClass->HasPrefetch())
            PlantMarker(s.Registry().Items(i).MethodCode());
    s.Registry().SetFavourites("NUMS,CHN2,CHN6");
    s.Registry().Items(Method(s, "CHN2")).CustomName = "Второй канал";
    s.Registry().Items(Method(s, "CHN6")).CustomName = "Шестой канал";
    s.View().PrefetchsEnabled = true;
    int seenByListeners = 0; // the number of CHN methods when the change is announced
    T.Ui.OnEvent = [&](TSessionEvent e) {
        if (e == TSessionEvent::SettingsChanged)
            for (std::size_t i = 0; i < s.Registry().Count(); ++i)
                seenByListeners += s.Registry().Items(i).StatClass == &TstChnValCnt::ClassInfo;
    };
    TConfigData config = s.Config();
    config.ChannelSize = 5;
    EXPECT_EQ(s.ApplyConfig(config), std::vector<int>{3});
    T.Ui.OnEvent = nullptr;
    EXPECT_EQ(seenByListeners, 5);

    EXPECT_EQ(s.Registry().FindByCode("CHN6"), -1);
    EXPECT_EQ(s.Registry().FavouritesText(), "NUMS,CHN2");
    EXPECT_EQ(s.Registry().Items(Method(s, "CHN2")).CustomName, "Второй канал");
    // Channels 1..4 hold five numbers, channel 5 the four numbers 21..24.
    EXPECT_EQ(ReadBytes(File("CHAN")), ExpectedFile({{1, 5 * HalfOfFullSet},
                                                     {2, 5 * HalfOfFullSet},
                                                     {3, 5 * HalfOfFullSet},
                                                     {4, 5 * HalfOfFullSet},
                                                     {5, 4 * HalfOfFullSet}}));
    std::map<uint16_t, int32_t> inChannelFive;
    for (int k = 0; k <= 4; ++k)
        inChannelFive[static_cast<uint16_t>(k)] = static_cast<int32_t>(Binomial(4, k) * Binomial(20, 12 - k));
    EXPECT_EQ(ReadBytes(File("CHN5")), ExpectedFile(inChannelFive));
    EXPECT_NE(ReadBytes(File("CHNV")), Marker);
    EXPECT_EQ(ReadBytes(File("NUMS")), Marker);
    EXPECT_EQ(ReadBytes(File("SHR1")), Marker);
    EXPECT_TRUE(T.Ui.Errors().empty());

    // The names file and the settings hold what survived.
    Session& again = Open();
    EXPECT_EQ(again.Config().ChannelSize, 5);
    EXPECT_EQ(again.Registry().FavouritesText(), "NUMS,CHN2");
    EXPECT_EQ(again.Registry().Items(Method(again, "CHN2")).CustomName, "Второй канал");
}

// A new column count: the column and row methods are named anew, favourites and names
// of those that still exist survive, and only the matrix files are made again.
TEST_F(SessionPrefetchTest, NewColumnCountRebuildsOnlyTheMatrixFilesAndKeepsNames) {
    Session& s = Open();
    for (std::size_t i = 0; i < s.Registry().Count(); ++i)
        if (s.Registry().Items(i).StatClass->HasPrefetch())
            PlantMarker(s.Registry().Items(i).MethodCode());
    s.Registry().SetFavourites("NUMS,COL2,ROW6");
    s.Registry().Items(Method(s, "COL2")).CustomName = "Второй столбец";
    s.Registry().Items(Method(s, "ROW6")).CustomName = "Шестая строка";
    s.View().PrefetchsEnabled = true;
    TConfigData config = s.Config();
    config.MatrixCols = 5;
    EXPECT_EQ(s.ApplyConfig(config), std::vector<int>{4});

    EXPECT_EQ(s.Registry().FindByCode("ROW6"), -1);
    EXPECT_GE(s.Registry().FindByCode("COL5"), 0);
    EXPECT_EQ(s.Registry().FavouritesText(), "NUMS,COL2");
    EXPECT_EQ(s.Registry().Items(Method(s, "COL2")).CustomName, "Второй столбец");
    // Columns 1..4 hold five numbers, column 5 the four numbers 5, 10, 15, 20.
    EXPECT_EQ(ReadBytes(File("COLS")), ExpectedFile({{1, 5 * HalfOfFullSet},
                                                     {2, 5 * HalfOfFullSet},
                                                     {3, 5 * HalfOfFullSet},
                                                     {4, 5 * HalfOfFullSet},
                                                     {5, 4 * HalfOfFullSet}}));
    std::map<uint16_t, int32_t> inColumnFive;
    for (int k = 0; k <= 4; ++k)
        inColumnFive[static_cast<uint16_t>(k)] = static_cast<int32_t>(Binomial(4, k) * Binomial(20, 12 - k));
    EXPECT_EQ(ReadBytes(File("COL5")), ExpectedFile(inColumnFive));
    EXPECT_EQ(ReadBytes(File("ROW5")), ExpectedFile(inColumnFive)) << "the last row holds 21..24";
    EXPECT_NE(ReadBytes(File("ROWA")), Marker);
    EXPECT_EQ(ReadBytes(File("NUMS")), Marker);
    EXPECT_EQ(ReadBytes(File("CHAN")), Marker);
    EXPECT_TRUE(T.Ui.Errors().empty());

    Session& again = Open();
    EXPECT_EQ(again.Config().MatrixCols, 5);
    EXPECT_EQ(again.Registry().FavouritesText(), "NUMS,COL2");
    EXPECT_EQ(again.Registry().Items(Method(again, "COL2")).CustomName, "Второй столбец");
}

// A new segment table: the SGM methods follow its digits, favourites and names of
// those that still exist survive, and only the segment files are made again.
TEST_F(SessionPrefetchTest, NewSegmentsRebuildOnlyTheSegmentFilesAndKeepNames) {
    Session& s = Open();
    for (std::size_t i = 0; i < s.Registry().Count(); ++i)
        if (s.Registry().Items(i).StatClass->HasPrefetch())
            PlantMarker(s.Registry().Items(i).MethodCode());
    s.Registry().SetFavourites("NUMS,SGM1,SGMC");
    s.Registry().Items(Method(s, "SGM1")).CustomName = "Первый сегмент";
    s.View().PrefetchsEnabled = true;
    TConfigData config = s.Config();
    config.MatrixSegments = MatrixSegmentsFromText("111111222222333333444444");
    EXPECT_EQ(s.ApplyConfig(config), std::vector<int>{5});

    EXPECT_GE(s.Registry().FindByCode("SGM4"), 0);
    EXPECT_EQ(s.Registry().FindByCode("SGM5"), -1);
    EXPECT_EQ(s.Registry().FavouritesText(), "NUMS,SGMC,SGM1");
    EXPECT_EQ(s.Registry().Items(Method(s, "SGM1")).CustomName, "Первый сегмент");
    EXPECT_EQ(ReadBytes(File("SGMS")), ExpectedFile({{1, 6 * HalfOfFullSet},
                                                     {2, 6 * HalfOfFullSet},
                                                     {3, 6 * HalfOfFullSet},
                                                     {4, 6 * HalfOfFullSet}}));
    std::map<uint16_t, int32_t> inQuarter;
    for (int k = 0; k <= 6; ++k)
        inQuarter[static_cast<uint16_t>(k)] = static_cast<int32_t>(Binomial(6, k) * Binomial(18, 12 - k));
    EXPECT_EQ(ReadBytes(File("SGM4")), ExpectedFile(inQuarter));
    EXPECT_NE(ReadBytes(File("SGMV")), Marker);
    EXPECT_EQ(ReadBytes(File("COLS")), Marker);
    EXPECT_EQ(ReadBytes(File("CHAN")), Marker);
    EXPECT_TRUE(T.Ui.Errors().empty());

    // The same table again changes nothing and rebuilds nothing.
    PlantMarker("SGMS");
    EXPECT_TRUE(s.ApplyConfig(config).empty());
    EXPECT_EQ(ReadBytes(File("SGMS")), Marker);

    Session& again = Open();
    EXPECT_EQ(MatrixSegmentsToText(again.Config().MatrixSegments), "111111222222333333444444");
    EXPECT_GE(again.Registry().FindByCode("SGM4"), 0);
    EXPECT_EQ(again.Registry().Items(Method(again, "SGM1")).CustomName, "Первый сегмент");
}

} // namespace
} // namespace kumby
