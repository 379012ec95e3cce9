#include "io/AtomicFile.h"

#include "model/Error.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kumby {
namespace {

using testing::TTempDir;
using testing::WriteBytes;

TEST(ReadRegularFileTest, ReadsUpToTheLimitAndNoFurther) {
    TTempDir dir;
    WriteBytes(dir / "ten", "0123456789");
    EXPECT_EQ(ReadRegularFile(dir / "ten", 10), "0123456789");
    EXPECT_EQ(ReadRegularFile(dir / "ten", 1 << 20), "0123456789");
    WriteBytes(dir / "empty", "");
    EXPECT_EQ(ReadRegularFile(dir / "empty", 0), "");
    EXPECT_THROW(ReadRegularFile(dir / "ten", 9), Error);
}

// What is no regular file fails at once, naming itself: nothing waits for a FIFO's
// writer and nothing reads a device without end.
TEST(ReadRegularFileTest, OnlyRegularFilesAreRead) {
    TTempDir dir;
    std::filesystem::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    for (const std::filesystem::path& path :
         {dir / "missing", dir / "folder", dir / "fifo", std::filesystem::path("/dev/zero")}) {
        try {
            ReadRegularFile(path, 1 << 20);
            ADD_FAILURE() << path << " was read";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + path.string() + "\""), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace kumby
