#include "combs/PrefetchFile.h"

#include "model/Error.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::TTempDir;
using testing::WriteBytes;

TStatEntry Value(uint16_t k1, uint16_t k2, uint16_t k3, uint16_t k4, int32_t count) {
    TStatEntry e;
    e.Key1 = k1;
    e.Key2 = k2;
    e.Key3 = k3;
    e.Key4 = k4;
    e.Count = count;
    e.Draw = 77; // not part of the file
    e.Norm = 5;
    return e;
}

TEST(PrefetchFileTest, NameIsTheProgramNameAndTheMethodCodeInPrefetchs) {
    EXPECT_EQ(PrefetchFilePath("/data", "CHN3"),
              std::filesystem::path("/data/Prefetchs/Kumby_12x24_CHN3.dfc"));
}

TEST(PrefetchFileTest, BytesAreLittleEndianRecordsThenTheTrailer) {
    const std::string bytes =
        PrefetchFileBytes({Value(1, 0, 0, 0, 300), Value(0x0102, 0xA0B0, 3, 0xFFFF, 0x01020304)});
    const std::string expected("\x01\x00\x00\x00\x00\x00\x00\x00\x2C\x01\x00\x00"  // 1 0 0 0, 300
                               "\x02\x01\xB0\xA0\x03\x00\xFF\xFF\x04\x03\x02\x01"  // keys, 0x01020304
                               "\x2C\x01\x00\x00\x04\x03\x02\x01\x00\x00\x00\x00", // min, max, 0
                               36);
    EXPECT_EQ(bytes, expected);

    EXPECT_EQ(PrefetchFileBytes({}), std::string("\xFF\xFF\xFF\x7F\x00\x00\x00\x00\x00\x00\x00\x00", 12))
        << "no values: MinCount 2147483647, MaxCount 0";
}

TEST(PrefetchFileTest, ReadsBackWhatWasWritten) {
    TTempDir dir;
    const TStatDrawArray values = {Value(3, 0, 0, 0, 10), Value(5, 1, 0, 0, 20), Value(9, 0, 0, 7, 15)};
    WriteBytes(dir / "a.dfc", PrefetchFileBytes(values));
    const TPrefetchData data = ReadPrefetchFile(dir / "a.dfc");
    EXPECT_EQ(data.MinCount, 10);
    EXPECT_EQ(data.MaxCount, 20);
    ASSERT_EQ(data.Records.size(), 3u);
    EXPECT_EQ(data.Records[1].Key1, 5);
    EXPECT_EQ(data.Records[1].Key2, 1);
    EXPECT_EQ(data.Records[1].Count, 20);
    EXPECT_EQ(data.Records[2].Key4, 7);
}

TEST(PrefetchFileTest, UnreadableFilesRaiseAnErrorNamingThem) {
    TTempDir dir;
    WriteBytes(dir / "empty.dfc", "");
    WriteBytes(dir / "short.dfc", std::string(11, '\x01'));
    std::filesystem::create_directory(dir / "folder.dfc");
    for (const char* name : {"missing.dfc", "empty.dfc", "short.dfc", "folder.dfc"}) {
        try {
            ReadPrefetchFile(dir / name);
            ADD_FAILURE() << name << " was read";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace kumby
