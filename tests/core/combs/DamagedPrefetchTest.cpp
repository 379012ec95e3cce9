// Full-set files that are cut short, grown, overwritten or out of order are never
// read into norms: they count as missing and are built again.

#include "combs/PrefetchFile.h"
#include "support/ShownRows.h"

#include "model/Error.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TTempDir;
using testing::TTestSession;
using testing::WriteBytes;

constexpr int32_t HalfOfFullSet = 1352078; // C(23, 11)

void PutLe(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(v >> (8 * i) & 0xFF);
}

struct TRecord {
    uint16_t Key1, Key2;
    int32_t Count;
};

// A file image written out by hand: the records as given, then the trailer.
std::string Image(std::initializer_list<TRecord> records, int32_t min, int32_t max) {
    std::string out;
    for (const TRecord& r : records) {
        PutLe(out, r.Key1, 2);
        PutLe(out, r.Key2, 2);
        PutLe(out, 0, 4);
        PutLe(out, static_cast<uint32_t>(r.Count), 4);
    }
    PutLe(out, static_cast<uint32_t>(min), 4);
    PutLe(out, static_cast<uint32_t>(max), 4);
    PutLe(out, 0, 4);
    return out;
}

// The numbers method's file: 24 numbers, each in half of the full set.
std::string NumsImage() {
    std::string out;
    for (uint16_t k = 1; k <= 24; ++k) {
        PutLe(out, k, 2);
        PutLe(out, 0, 6);
        PutLe(out, HalfOfFullSet, 4);
    }
    PutLe(out, HalfOfFullSet, 4);
    PutLe(out, HalfOfFullSet, 4);
    PutLe(out, 0, 4);
    return out;
}

struct TDamage {
    const char* What;
    std::string Bytes;
};

// Every way a file of a sound image can be wrong.
std::vector<TDamage> Damages(const std::string& sound) {
    const std::size_t trailer = sound.size() - 12;
    std::string shortCount = sound; // a record's count no longer the trailer's smallest
    shortCount[8 + 12] = 1;
    std::string largerMax = sound;
    std::memset(largerMax.data() + trailer + 4, 0x7F, 3);
    std::string swapped = sound;
    std::swap_ranges(swapped.begin(), swapped.begin() + 12, swapped.begin() + 12);
    std::string zeroed = sound; // a record overwritten with zeros
    std::fill_n(zeroed.begin() + 36, 12, '\0');
    return {
        {"cut short", sound.substr(0, sound.size() - 5)},
        {"grown", sound + "\x01\x02\x03\x04\x05\x06\x07"},
        {"half a record before the trailer", sound.substr(0, 6) + sound.substr(trailer)},
        {"trailer lost", sound.substr(0, trailer)},
        {"count changed", shortCount},
        {"trailer changed", largerMax},
        {"keys swapped", swapped},
        {"record zeroed", zeroed},
    };
}

TEST(DamagedPrefetchTest, DamageIsFoundInEveryForm) {
    const std::string sound = Image({{1, 0, 4}, {2, 0, 6}, {2, 1, 5}, {3, 0, 4}}, 4, 6);
    ASSERT_EQ(PrefetchDamage(sound), "");
    for (const TDamage& d : Damages(sound))
        EXPECT_NE(PrefetchDamage(d.Bytes), "") << d.What;

    const TDamage more[] = {
        {"eleven bytes", std::string(11, '\x01')},
        {"same key twice", Image({{1, 0, 4}, {1, 0, 4}}, 4, 4)},
        {"second key descending", Image({{1, 2, 4}, {1, 1, 4}}, 4, 4)},
        {"negative count", Image({{1, 0, -4}, {2, 0, 6}}, -4, 6)},
        {"no values, wrong trailer", Image({}, 0, 0)},
    };
    for (const TDamage& d : more)
        EXPECT_NE(PrefetchDamage(d.Bytes), "") << d.What;

    // Sound as well: keys compare unsigned, and a method without values.
    EXPECT_EQ(PrefetchDamage(Image({{1, 0, 3}, {0xFFFF, 0, 2}}, 2, 3)), "");
    EXPECT_EQ(PrefetchDamage(Image({}, std::numeric_limits<int32_t>::max(), 0)), "");
}

TEST(DamagedPrefetchTest, ReadingADamagedFileRaisesAndItNeedsBuilding) {
    TTempDir dir;
    const std::string sound = Image({{1, 0, 4}, {2, 0, 6}, {3, 0, 5}}, 4, 6);
    WriteBytes(dir / "sound.dfc", sound);
    EXPECT_FALSE(PrefetchFileNeedsBuilding(dir / "sound.dfc"));
    EXPECT_EQ(ReadPrefetchFile(dir / "sound.dfc").Records.size(), 3u);

    for (const TDamage& d : Damages(sound)) {
        WriteBytes(dir / "d.dfc", d.Bytes);
        EXPECT_TRUE(PrefetchFileNeedsBuilding(dir / "d.dfc")) << d.What;
        try {
            ReadPrefetchFile(dir / "d.dfc");
            ADD_FAILURE() << d.What << " was read";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("d.dfc\" поврежден: "), std::string::npos) << e.what();
        }
    }

    // Missing, empty, or no file at all: built, and never opened for reading (a FIFO
    // would wait for a writer).
    WriteBytes(dir / "empty.dfc", "");
    std::filesystem::create_directory(dir / "folder.dfc");
    ASSERT_EQ(::mkfifo((dir / "fifo.dfc").c_str(), 0600), 0);
    for (const char* name : {"missing.dfc", "empty.dfc", "folder.dfc", "fifo.dfc"})
        EXPECT_TRUE(PrefetchFileNeedsBuilding(dir / name)) << name;
}

class DamagedPrefetchSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        T.StartWith(testing::RandomArchive(40, 7));
        T.S->View().PrefetchsEnabled = true;
        Nums = static_cast<std::size_t>(T.S->Registry().FindByCode("NUMS"));
        Path = T.S->PrefetchFileName(Nums);
        std::filesystem::create_directories(Path.parent_path());
    }

    TTestSession T;
    std::size_t Nums = 0;
    std::filesystem::path Path;
};

// The table built on a damaged file would show wrong norms; the file is built anew
// first, with no message, and the norms are those of the whole full set.
TEST_F(DamagedPrefetchSessionTest, TableRebuildsADamagedFileBeforeItsNorms) {
    for (const TDamage& d : Damages(NumsImage())) {
        SCOPED_TRACE(d.What);
        WriteBytes(Path, d.Bytes);
        T.Ui.Messages.clear();
        T.S->ComputeTable(Nums, true);
        EXPECT_TRUE(T.Ui.Messages.empty()) << T.Ui.Messages.front().Text;
        EXPECT_EQ(ReadBytes(Path), NumsImage());

        const TStatTable& t = T.S->LastStatTable();
        ASSERT_TRUE(t.HasNorm);
        const int32_t sum = t.MaxCount + t.MinCount;
        const int32_t middle = sum / 2 + (sum % 2 == 1 && (sum / 2) % 2 == 1 ? 1 : 0);
        for (const TShownRow& r : ShownRows(t))
            EXPECT_EQ(r.Texts[StatColNorm], std::to_string(middle)) << r.Texts[StatColValue];
    }
}

// At start-up and on the switch, damaged files are built like missing ones; sound
// files stay as they are.
TEST_F(DamagedPrefetchSessionTest, CreatingFilesRebuildsDamagedOnesOnly) {
    ASSERT_GT(T.S->CreatePrefetchFiles(false, {}), 1);
    const std::size_t even = static_cast<std::size_t>(T.S->Registry().FindByCode("EVEN"));
    const std::size_t prim = static_cast<std::size_t>(T.S->Registry().FindByCode("PRIM"));
    const std::string evenSound = ReadBytes(T.S->PrefetchFileName(even));
    const std::string primSound = ReadBytes(T.S->PrefetchFileName(prim));

    WriteBytes(Path, NumsImage().substr(1));
    std::string swapped = evenSound;
    std::swap_ranges(swapped.begin(), swapped.begin() + 12, swapped.begin() + 12);
    WriteBytes(T.S->PrefetchFileName(even), swapped);
    const auto primTime = std::filesystem::last_write_time(T.S->PrefetchFileName(prim));

    T.Ui.Messages.clear();
    EXPECT_EQ(T.S->CreatePrefetchFiles(false, {}), 2);
    EXPECT_TRUE(T.Ui.Errors().empty());
    EXPECT_EQ(ReadBytes(Path), NumsImage());
    EXPECT_EQ(ReadBytes(T.S->PrefetchFileName(even)), evenSound);
    EXPECT_EQ(std::filesystem::last_write_time(T.S->PrefetchFileName(prim)), primTime) << "not rewritten";
    EXPECT_EQ(ReadBytes(T.S->PrefetchFileName(prim)), primSound);
}

} // namespace
} // namespace kumby
