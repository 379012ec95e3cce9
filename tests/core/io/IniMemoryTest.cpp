// A huge line of a settings file is held once, not once per piece of it.

#include "io/IniFile.h"

#include "support/CountingAllocator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::TAllocationCounter;

TEST(IniFileMemory, HugeLineIsHeldOnce) {
    // A Latin line and a Cyrillic one (two UTF-8 bytes per CP1251 byte): 16 MB in UTF-8 each.
    constexpr std::size_t Utf8Size = 16u << 20;
    const struct {
        char Byte;
        std::size_t Count;
    } lines[] = {{'a', Utf8Size}, {'\xE0', Utf8Size / 2}};
    for (const auto& line : lines) {
        testing::TTempDir dir;
        testing::WriteBytes(dir / "big.ini",
                            "[GLOBAL]\r\nKey=" + std::string(line.Count, line.Byte) + "\r\nOther=1\r\n");

        const std::size_t before = TAllocationCounter::Start(4 * Utf8Size);
        std::size_t held = 0;
        std::size_t peak = 0;
        std::size_t valueSize = 0;
        {
            TIniFile ini;
            EXPECT_NO_THROW(ini = TIniFile::Load(dir / "big.ini"));
            TAllocationCounter::Stop();
            held = TAllocationCounter::Live.load() - before;
            peak = TAllocationCounter::Peak.load() - before;
            EXPECT_EQ(ini.ReadInteger("GLOBAL", "Other", 0), 1);
            valueSize = ini.ReadString("GLOBAL", "Key", "").size();
        }
        EXPECT_LE(peak, line.Count + Utf8Size + (1u << 20)) << "the file and the line";
        EXPECT_LE(held, Utf8Size + (1u << 20)) << "the line alone once loaded";
        EXPECT_EQ(valueSize, Utf8Size);
    }
}

} // namespace
} // namespace kumby
