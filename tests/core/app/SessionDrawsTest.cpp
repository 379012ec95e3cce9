// The draw commands of the session never lose or corrupt the archive file.

#include "app/DataFiles.h"
#include "io/AtomicFile.h"
#include "io/DataLock.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace kumby {
namespace {

using testing::DrawOf;
using testing::PlainDraw;
using testing::RandomArchive;
using testing::ReadArchive;
using testing::ReadBytes;
using testing::SpreadDraw;
using testing::TTestSession;
using testing::WriteArchive;
using testing::WriteBytes;

std::vector<int32_t> NumbersOf(const TDrawsArray& draws) {
    std::vector<int32_t> numbers;
    for (const TDrawRecord& d : draws)
        numbers.push_back(d.Number);
    return numbers;
}

bool HasErrorContaining(const testing::TRecordingUi& ui, const std::string& part) {
    for (const std::string& e : ui.Errors())
        if (e.find(part) != std::string::npos)
            return true;
    return false;
}

TEST(SessionDrawsSafety, ArchiveThatFailedToLoadIsNeverWritten) {
    TTestSession t;
    WriteArchive(t.Path(), RandomArchive(5000, 9));
    const std::string before = ReadBytes(t / DrawsFileName);
    SetReadFaultHookForTesting([](std::size_t done) { return done < 64 * 1024; });
    t.Open();
    ASSERT_EQ(t.Start(), TStartResult::Ready);
    SetReadFaultHookForTesting(nullptr);
    ASSERT_TRUE(t.S->DrawsLoadFailed());
    ASSERT_GT(t.S->Draws().size(), 0u) << "the draws read so far are shown";
    ASSERT_LT(t.S->Draws().size(), 5000u);
    EXPECT_EQ(t.Ui.Errors().at(0).rfind("Ошибка чтения файла тиражей!\r\r", 0), 0u);

    WriteBytes(t / "in.csv", "9000;\"01.02.2021 20:00\";1;2;3;4;5;6;7;8;9;10;11;12\r\n");
    t.Ui.Answers = {true, true};
    const std::size_t shown = t.S->Draws().size();
    EXPECT_FALSE(t.S->DrawsAdd(PlainDraw(9000)));
    EXPECT_EQ(t.S->DrawsImport(t / "in.csv"), -1);
    EXPECT_FALSE(t.S->DrawsDeleteAt({0}));
    EXPECT_FALSE(t.S->DrawsChange(0, PlainDraw(1)));
    EXPECT_FALSE(t.S->SaveDraws());

    EXPECT_EQ(ReadBytes(t / DrawsFileName), before);
    EXPECT_EQ(t.S->Draws().size(), shown);
    const std::string refusal = DrawsNotLoadedText(t / DrawsFileName);
    EXPECT_NE(refusal.find((t / DrawsFileName).string()), std::string::npos);
    const auto errors = t.Ui.Errors();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), refusal), 5);

    // Once the file reads whole again (next start), it is written as usual.
    t.Open();
    ASSERT_EQ(t.Start(), TStartResult::Ready);
    EXPECT_TRUE(t.S->DrawsAdd(PlainDraw(9000)));
    EXPECT_EQ(ReadArchive(t.Path()).size(), 5001u);
}

TEST(SessionDrawsSafety, DeleteRemovesExactlyTheDrawsAtThePositions) {
    TTestSession t;
    // Draw 11 twice (entered by hand); positions tell them apart.
    t.StartWith({SpreadDraw(10, 1), SpreadDraw(11, 2), SpreadDraw(11, 3), SpreadDraw(12, 4)});
    t.Ui.Answers = {true};
    ASSERT_TRUE(t.S->DrawsDeleteAt({2}));
    const TDrawsArray left = ReadArchive(t.Path());
    ASSERT_EQ(NumbersOf(left), (std::vector<int32_t>{10, 11, 12}));
    EXPECT_EQ(left[1].Numbers[0], SpreadDraw(11, 2).Numbers[0]) << "the other draw 11 stays";

    // By number, a number that several draws have is refused with their list.
    WriteArchive(t.Path(), {SpreadDraw(10, 1), SpreadDraw(11, 2), SpreadDraw(11, 3)});
    t.Open();
    ASSERT_EQ(t.Start(), TStartResult::Ready);
    t.Ui.Messages.clear();
    EXPECT_FALSE(t.S->DrawsDelete({11}));
    ASSERT_EQ(t.Ui.Errors().size(), 1u);
    const std::string listing = t.Ui.Errors()[0];
    EXPECT_NE(listing.find("индекс 1: 01.02.2021 20:00 2;4;6"), std::string::npos) << listing;
    EXPECT_NE(listing.find("индекс 2: 01.02.2021 20:00 3;5;7"), std::string::npos) << listing;
    EXPECT_FALSE(t.S->DrawsDelete({77}));
    EXPECT_EQ(ReadArchive(t.Path()).size(), 3u);

    // An index outside the archive deletes nothing, not even the valid ones.
    t.Ui.Answers = {true};
    EXPECT_FALSE(t.S->DrawsDeleteAt({0, 3}));
    EXPECT_EQ(ReadArchive(t.Path()).size(), 3u);
}

TEST(SessionDrawsSafety, ExistingNumberIsRefusedUnlessAllowed) {
    TTestSession t;
    t.StartWith({PlainDraw(10), PlainDraw(11)});
    EXPECT_FALSE(t.S->DrawsAdd(SpreadDraw(10, 5)));
    EXPECT_TRUE(HasErrorContaining(t.Ui, "Тираж № 10 уже есть в архиве."));
    EXPECT_EQ(ReadArchive(t.Path()).size(), 2u);
    EXPECT_TRUE(t.S->DrawsAdd(SpreadDraw(10, 5), true));
    EXPECT_EQ(NumbersOf(ReadArchive(t.Path())), (std::vector<int32_t>{10, 11, 10}));
    EXPECT_FALSE(t.S->DrawsAdd(SpreadDraw(0, 5), true));
}

TEST(SessionDrawsSafety, NoNewNumberAfterTheLargest) {
    TTestSession t;
    t.StartWith({PlainDraw(MaxDrawNumber)});
    EXPECT_EQ(t.S->NewDrawRecord().Number, 0) << "never a negative number";
    EXPECT_EQ(t.S->NextDrawPanel(), "Следующий тираж: 2147483648");
}

TEST(SessionDrawsSafety, ChangedLoadedRecordIsWrittenWithACleanDateField) {
    TTestSession t;
    // A file whose records carry stray bytes after the date and in the padding.
    TDrawRecord dirty = PlainDraw(10);
    dirty.DateText.Length = 5;
    dirty.Padding[0] = 0x77;
    std::string bytes(DrawRecordSize * 2, '\0');
    std::memcpy(bytes.data(), &dirty, DrawRecordSize);
    dirty.Number = 11;
    std::memcpy(bytes.data() + DrawRecordSize, &dirty, DrawRecordSize);
    WriteBytes(t / DrawsFileName, bytes);
    t.Open();
    ASSERT_EQ(t.Start(), TStartResult::Ready);

    TDrawRecord changed = t.S->Draws()[0];
    changed.Numbers[0] = 13; // the date is left as it was read
    ASSERT_TRUE(t.S->DrawsChange(0, changed));
    const std::string written = ReadBytes(t / DrawsFileName);
    for (std::size_t r = 0; r < 2; ++r)
        EXPECT_EQ(written.substr(r * DrawRecordSize + 22, 14), std::string(14, '\0')) << "record " << r;
    EXPECT_EQ(ReadArchive(t.Path())[0].DateTextUtf8(), "01.02");
}

TEST(SessionDrawsSafety, ChangeThatCouldNotBeSavedIsUndone) {
    TTestSession t;
    t.StartWith({PlainDraw(10), PlainDraw(9)});
    WriteBytes(t / "in.csv", "11;\"\";1;2;3;4;5;6;7;8;9;10;11;12\r\n");
    SetWriteFaultHookForTesting([](std::size_t) { return false; });
    TDrawsImportReport report;
    EXPECT_EQ(t.S->DrawsImport(t / "in.csv", &report), -1) << "no count for draws that were not saved";
    EXPECT_FALSE(t.S->DrawsAdd(PlainDraw(12)));
    t.Ui.Answers = {true};
    EXPECT_FALSE(t.S->DrawsDeleteAt({0}));
    SetWriteFaultHookForTesting(nullptr);
    EXPECT_EQ(NumbersOf(t.S->Draws()), (std::vector<int32_t>{10, 9}))
        << "what is shown is what the file holds";
    EXPECT_EQ(NumbersOf(ReadArchive(t.Path())), (std::vector<int32_t>{10, 9}));
}

TEST(SessionDrawsSafety, ExportNeverReplacesAFileOfTheProgram) {
    TTestSession t;
    t.StartWith({PlainDraw(10), PlainDraw(11)});
    std::filesystem::create_directory(t / "sub");
    std::filesystem::create_symlink(t / DrawsFileName, t / "link.csv");
    const std::string archive = ReadBytes(t / DrawsFileName);
    const std::filesystem::path targets[] = {
        t / DrawsFileName,     t / "sub" / ".." / DrawsFileName,
        t / "link.csv",        t / "Kumby_12x24.ini",
        t / "Kumby_12x24.lsk", t / PrefetchFolderName / "Kumby_12x24_NUMS.dfc",
    };
    for (const auto& target : targets) {
        t.Ui.Messages.clear();
        EXPECT_FALSE(t.S->DrawsExport(target)) << target;
        EXPECT_FALSE(t.S->CombsSave(target)) << target;
        ASSERT_EQ(t.Ui.Errors().size(), 2u) << target;
        EXPECT_EQ(t.Ui.Errors()[0], ProgramDataFileText(target));
    }
    // Relative to the current folder.
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(t / "sub");
    EXPECT_FALSE(t.S->DrawsExport(std::filesystem::path("..") / DrawsFileName));
    std::filesystem::current_path(cwd);

    EXPECT_EQ(ReadBytes(t / DrawsFileName), archive);
    EXPECT_FALSE(std::filesystem::exists(t / "Kumby_12x24.ini"));
    EXPECT_TRUE(t.S->DrawsExport(t / "Kumby_12x24.csv")) << "another name in the folder is fine";
}

TEST(SessionDrawsSafety, RefusedSecondProgramWritesNothing) {
    TTestSession first;
    ASSERT_EQ(first.Start(), TStartResult::Ready);
    std::filesystem::remove(first / ViewStateFileName);
    const auto entriesBefore = std::distance(std::filesystem::directory_iterator(first.Path()), {});

    TTestSession second(first, {});
    EXPECT_EQ(second.Start(), TStartResult::Exit);
    second.S->Close(true);
    EXPECT_FALSE(std::filesystem::exists(first / ViewStateFileName)) << "view state left alone";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(first.Path()), {}), entriesBefore);
}

TEST(SessionDrawsSafety, RestartWaitsForTheCopyOnTheSameFolderOnly) {
    TTestSession other; // another folder: its lock is no reason to wait
    ASSERT_EQ(other.Start(), TStartResult::Ready);
    TCommandLine restart;
    restart.Restart = true;
    const auto started = std::chrono::steady_clock::now();
    TTestSession mine(restart);
    EXPECT_EQ(mine.Start(), TStartResult::Ready);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));

    // The previous copy on the same folder: this one starts once it has gone.
    mine.S->Close(false);
    TDataLock previous;
    previous.Acquire(mine / StakesFileName);
    std::thread leaver([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        previous.Release();
    });
    mine.Open(restart);
    leaver.join();
    EXPECT_TRUE(mine.S->DataLockHeld());
    EXPECT_EQ(mine.Start(), TStartResult::Ready);
}

TEST(SessionDrawsSafety, TemporariesOfAnInterruptedSaveGoAtTheNextStart) {
    TTestSession t;
    std::filesystem::create_directory(t / PrefetchFolderName);
    const std::filesystem::path leftovers[] = {
        t / "Kumby_12x24.ldr.tmp4242_0",
        t / "Kumby_12x24.ini.tmp17_3",
        t / PrefetchFolderName / "Kumby_12x24_NUMS.dfc.tmp99_12",
        t / StakesTempFileName,
    };
    const std::filesystem::path kept[] = {
        t / "notes.tmp",
        t / "Kumby_12x24.ldr.tmp",
        t / "data.tmp12",
        t / PrefetchFolderName / "Kumby_12x24_NUMS.dfc",
    };
    for (const auto& p : leftovers)
        WriteBytes(p, "half");
    for (const auto& p : kept)
        WriteBytes(p, "mine");

    // Not while another copy holds the folder: its save may be under way.
    t.S.reset();
    {
        TDataLock busy;
        busy.Acquire(t / StakesFileName);
        t.Open();
        EXPECT_EQ(t.Start(), TStartResult::Exit);
        for (const auto& p : leftovers)
            EXPECT_TRUE(std::filesystem::exists(p)) << p;
        t.S.reset();
    }
    t.Open();
    ASSERT_EQ(t.Start(), TStartResult::Ready);
    for (const auto& p : leftovers)
        EXPECT_FALSE(std::filesystem::exists(p)) << p;
    for (const auto& p : kept)
        EXPECT_TRUE(std::filesystem::exists(p)) << p;
}

} // namespace
} // namespace kumby
