#include "io/DataLock.h"
#include "model/Error.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace kumby {
namespace {

using TTempFolder = testing::TTempDir;

std::string AcquireError(TDataLock& lock, const std::filesystem::path& path) {
    try {
        lock.Acquire(path);
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

TEST(DataLockTest, SecondLockInSameProcessIsRefusedUntilReleased) {
    TTempFolder dir;
    auto path = dir / "Kumby_12x24.lsk";
    TDataLock first;
    first.Acquire(path);
    EXPECT_TRUE(first.Held());
    EXPECT_TRUE(std::filesystem::exists(path));

    TDataLock second;
    EXPECT_EQ(AcquireError(second, path), "Файл \"" + path.string() + "\" занят другим процессом.");
    EXPECT_FALSE(second.Held());

    first.Release();
    EXPECT_FALSE(first.Held());
    EXPECT_EQ(AcquireError(second, path), "");
    EXPECT_TRUE(second.Held());

    {
        TDataLock scoped;
        second.Release();
        scoped.Acquire(path);
    }
    // The destructor let go.
    EXPECT_EQ(AcquireError(first, path), "");
}

TEST(DataLockTest, LockHeldByAnotherProcessBlocksUs) {
    TTempFolder dir;
    auto path = dir / "Kumby_12x24.lsk";
    int ready[2];
    int quit[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(quit), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        ::close(quit[1]);
        char flag = 1;
        TDataLock lock;
        try {
            lock.Acquire(path);
        } catch (...) {
            flag = 0;
        }
        if (::write(ready[1], &flag, 1) != 1) {
            ::_exit(3);
        }
        char any;
        (void)::read(quit[0], &any, 1);
        lock.Release();
        ::_exit(flag ? 0 : 2);
    }
    ::close(ready[1]);
    ::close(quit[0]);
    char flag = 0;
    ASSERT_EQ(::read(ready[0], &flag, 1), 1);
    ASSERT_EQ(flag, 1) << "the child could not take the lock";

    TDataLock ours;
    EXPECT_EQ(AcquireError(ours, path), "Файл \"" + path.string() + "\" занят другим процессом.");

    ::close(quit[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(ready[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(AcquireError(ours, path), "");
}

TEST(DataLockTest, UnopenablePathNamesTheFile) {
    TTempFolder dir;
    auto path = dir / "no-folder" / "Kumby_12x24.lsk";
    TDataLock lock;
    std::string text = AcquireError(lock, path);
    EXPECT_NE(text.find("\"" + path.string() + "\""), std::string::npos) << text;
    EXPECT_FALSE(lock.Held());
}

} // namespace
} // namespace kumby
