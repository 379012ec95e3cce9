#include "io/AtomicFile.h"
#include "model/Error.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kumby {
namespace {

using TTempFolder = testing::TTempDir;

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

std::string ErrorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    ADD_FAILURE() << "no Error raised";
    return {};
}

class SaveFileAtomicTest : public ::testing::Test {
protected:
    void TearDown() override { SetWriteFaultHookForTesting(nullptr); }
    TTempFolder Dir;
};

TEST_F(SaveFileAtomicTest, CreatesAndReplacesKeepingPermissions) {
    auto target = Dir / "data.ldr";
    SaveFileAtomic(target, std::string("first\0bytes", 11));
    EXPECT_EQ(ReadWholeFile(target), std::string("first\0bytes", 11));

    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    SaveFileAtomic(target, "second");
    EXPECT_EQ(ReadWholeFile(target), "second");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    SaveFileAtomic(target, "");
    EXPECT_EQ(ReadWholeFile(target), "");
    EXPECT_EQ(FolderEntries(Dir.Path()), std::vector<std::string>{"data.ldr"});
}

TEST_F(SaveFileAtomicTest, FailureHalfWayKeepsOldFileAndLeavesNoTemporary) {
    auto target = Dir / "data.ldr";
    SaveFileAtomic(target, "old content");

    std::vector<std::size_t> offsets;
    SetWriteFaultHookForTesting([&](std::size_t written) {
        offsets.push_back(written);
        return written < 200 * 1024;
    });
    std::string text = ErrorText([&] { SaveFileAtomic(target, std::string(1 << 20, 'x')); });

    EXPECT_EQ(text, "Не удалось записать файл \"" + target.string() + "\": " + SystemErrorText(ENOSPC));
    // Several chunks went out before the failure, so it really was half-way.
    ASSERT_GE(offsets.size(), 3u);
    EXPECT_GT(offsets.back(), 0u);
    EXPECT_LT(offsets.back(), std::size_t{1} << 20);
    EXPECT_EQ(ReadWholeFile(target), "old content");
    EXPECT_EQ(FolderEntries(Dir.Path()), std::vector<std::string>{"data.ldr"});
}

TEST_F(SaveFileAtomicTest, UnwritablePlacesNameTheFile) {
    auto inMissingFolder = Dir / "no-such-folder" / "x.ini";
    std::string text = ErrorText([&] { SaveFileAtomic(inMissingFolder, "x"); });
    EXPECT_NE(text.find("Не удалось записать файл \"" + inMissingFolder.string() + "\""), std::string::npos)
        << text;

    auto folder = Dir / "sub";
    std::filesystem::create_directory(folder);
    std::filesystem::path inside = folder / "keep";
    SaveFileAtomic(inside, "kept");
    text = ErrorText([&] { SaveFileAtomic(folder, "x"); });
    EXPECT_NE(text.find(folder.string()), std::string::npos) << text;
    EXPECT_EQ(ReadWholeFile(inside), "kept");
    EXPECT_EQ(FolderEntries(Dir.Path()), std::vector<std::string>{"sub"});
}

TEST_F(SaveFileAtomicTest, SavingThroughSymbolicLinkKeepsTheLink) {
    auto real = Dir / "real.ini";
    auto link = Dir / "link.ini";
    SaveFileAtomic(real, "old");
    std::filesystem::create_symlink(real, link);
    SaveFileAtomic(link, "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadWholeFile(real), "new");
}

TEST_F(SaveFileAtomicTest, ReadErrorsNameTheFile) {
    auto missing = Dir / "missing.ldr";
    std::string text = ErrorText([&] { ReadWholeFile(missing); });
    EXPECT_EQ(text, "Не удалось прочитать файл \"" + missing.string() + "\": " + SystemErrorText(ENOENT));

    text = ErrorText([&] { ReadWholeFile(Dir.Path()); });
    EXPECT_NE(text.find(Dir.Path().string()), std::string::npos) << text;

    // A FIFO without a writer would block, a device would never end: both refused.
    const auto fifo = Dir / "import.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::filesystem::path& special : {fifo, std::filesystem::path("/dev/zero")}) {
        text = ErrorText([&] { ReadWholeFile(special); });
        EXPECT_NE(text.find(special.string()), std::string::npos) << text;
    }
}

// A writer killed at any moment leaves exactly the old or the new content.
TEST_F(SaveFileAtomicTest, KilledWriterLeavesWholeOldOrNewFile) {
    auto target = Dir / "big.ldr";
    const std::string a(5 << 20, 'A');
    const std::string b(3 << 20, 'B');
    SaveFileAtomic(target, a);

    std::mt19937 random(std::random_device{}());
    for (int round = 0; round < 6; ++round) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            for (bool useB = true;; useB = !useB) {
                try {
                    SaveFileAtomic(target, useB ? b : a);
                } catch (...) {
                    ::_exit(2);
                }
                char done = 1;
                if (::write(fds[1], &done, 1) != 1) {
                    ::_exit(3);
                }
            }
        }
        ::close(fds[1]);
        char done = 0;
        ASSERT_EQ(::read(fds[0], &done, 1), 1) << "the writer died before its first save";
        ::usleep(static_cast<useconds_t>(random() % 80000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(fds[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;

        std::string content = ReadWholeFile(target);
        EXPECT_TRUE(content == a || content == b) << "round " << round << ": " << content.size() << " bytes";
    }
}

} // namespace
} // namespace kumby
