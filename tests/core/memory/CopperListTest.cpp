// Copper list walking: the listing's exact lines, pointer pairing, jumps, waits and the stop line, the
// palette, the bitplane summary, the "Process" address rule, and lists that misbehave.
#include "memory/CopperList.h"

#include "support/SaveStateBuilder.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

constexpr uint32_t Offset = 0x1C;
const std::string Heading = "Chip Addr: Copper instructions ; Comments";
const std::string Dashes(50, '-');
const std::string Destination = std::string(31, ' ') + "; Destination Y coordinate reached!";

class CopperListTest : public ::testing::Test {
  protected:
    MemoryState Memory;

    CopperListTest() {
        Memory.ChipRamOffset = Offset;
        Memory.ChipRamSize = 0x20000;
        Memory.MemoryImage.assign(Offset + 0x20000, 0);
        Memory.Snapshot.EcsPalette[5] = PaletteEntry{1, 2, 3, 0};
    }

    void Put(uint32_t chipAddress, std::initializer_list<uint16_t> words) {
        test::PutWords(Memory.MemoryImage.Mutable(), Offset + chipAddress, words);
    }
    CopperWalk Walk(uint32_t chipAddress, int32_t stopLine = 128) {
        return WalkCopperList(Memory, Offset + chipAddress, stopLine);
    }
};

TEST_F(CopperListTest, PairedListPointerAndCopjmp1ContinueAtTheNewList) {
    Put(0x100, {0x0080, 0x0001, 0x0082, 0x2000, 0x0088, 0x0000});
    Put(0x12000, {0xFFFF, 0xFFFE});
    const CopperWalk walk = Walk(0x100);
    const std::vector<std::string> expected{
        Heading,
        Dashes,
        "$00000100: 0080 0001 0082 2000 ; COP1LC = 0x00012000",
        "$00000108: 0088 0000           ; COPJMP1 = 0x0000",
        Dashes,
        "$00012000: ffff fffe           ; End of copperlist",
        "$00012000: FFFF FFFE           ; Wait for vpos >= 0xFF and hpos >= 0xFE",
        Destination,
    };
    EXPECT_EQ(walk.Lines, expected);
    EXPECT_TRUE(walk.Error.empty());
}

TEST_F(CopperListTest, LowHalfFirstPairsToo) {
    Put(0x40, {0x00E2, 0x4000, 0x00E0, 0x0001, 0x0086, 0x0300, 0x0084, 0x0001, 0x008A, 0x0000});
    Put(0x10300, {0xFFFF, 0xFFFE});
    const CopperWalk walk = Walk(0x40);
    ASSERT_GE(walk.Lines.size(), 7u);
    EXPECT_EQ(walk.Lines[2], "$00000040: 00E2 4000 00E0 0001 ; BPL1PT = 0x00014000");
    EXPECT_EQ(walk.Lines[3], "$00000048: 0086 0300 0084 0001 ; COP2LC = 0x00010300");
    EXPECT_EQ(walk.Lines[6], "$00010300: ffff fffe           ; End of copperlist");
}

TEST_F(CopperListTest, SingleMovesSetTheHalvesOfTheListPointers) {
    Memory.Snapshot.COP1LC = 0x0000ABCD;
    Put(0x40, {0x0080, 0x0001, 0x0100, 0x0000, 0x0082, 0x3000, 0x0088, 0x0000});
    Put(0x13000, {0xFFFF, 0xFFFE});
    const CopperWalk walk = Walk(0x40);
    EXPECT_EQ(walk.Lines[2], "$00000040: 0080 0001           ; COP1LCH = 0x0001");
    EXPECT_EQ(walk.Lines[4], "$00000048: 0082 3000           ; COP1LCL = 0x3000");
    ASSERT_GE(walk.Lines.size(), 8u);
    EXPECT_EQ(walk.Lines[7], "$00013000: ffff fffe           ; End of copperlist");
}

TEST_F(CopperListTest, ColourMoveSetsTheCopperPalette) {
    Put(0x0, {0x0182, 0x0F00, 0xFFFF, 0xFFFE});
    const CopperWalk walk = Walk(0x0);
    EXPECT_EQ(walk.Lines[2], "$00000000: 0182 0F00           ; COLOR01 = 0x0F00");
    EXPECT_EQ(walk.Palette[1], (PaletteEntry{0, 0, 255, 0}));
    EXPECT_EQ(walk.Palette[5], (PaletteEntry{1, 2, 3, 0})); // the rest starts as the saved ECS colours
}

TEST_F(CopperListTest, WaitPastTheStopLineEndsTheWalk) {
    Put(0x0, {0x8107, 0xFFFE, 0x0180, 0x0FFF, 0xFFFF, 0xFFFE});
    const CopperWalk stopped = Walk(0x0, 128);
    const std::vector<std::string> expected{
        Heading, Dashes, "$00000000: 8107 FFFE           ; Wait for vpos >= 0x81 and hpos >= 0x06", Destination};
    EXPECT_EQ(stopped.Lines, expected);
    EXPECT_EQ(stopped.Palette[0], PaletteEntry{});

    const CopperWalk goesOn = Walk(0x0, 0x81);
    ASSERT_EQ(goesOn.Lines.size(), 7u);
    EXPECT_EQ(goesOn.Lines[3], "$00000004: 0180 0FFF           ; COLOR00 = 0x0FFF");
    EXPECT_EQ(goesOn.Palette[0], (PaletteEntry{255, 255, 255, 0}));
}

TEST_F(CopperListTest, LastBplcon0WithBitplanesIsKept) {
    Put(0x0, {0x0100, 0x4200, 0x0100, 0x0200, 0xFFFF, 0xFFFE});
    EXPECT_EQ(Walk(0x0).LastBplcon0, 0x4200); // a later value without planes does not count
    Put(0x0, {0x0100, 0x6600, 0x0100, 0x0000});
    EXPECT_EQ(Walk(0x0).LastBplcon0, 0x6600);
}

TEST(BitplaneSummary, NamesPlanesOrTheDualPlayfieldSplit) {
    EXPECT_EQ(BitplaneSummary(0x6600), "Game uses dual-playfield mode (3 + 3 planes)");
    EXPECT_EQ(BitplaneSummary(0x4200), "Game uses 4 bitplanes");
    EXPECT_EQ(BitplaneSummary(0x5600), "Game uses dual-playfield mode (3 + 2 planes)");
}

TEST_F(CopperListTest, JumpBelowChipRamEndsWithAnErrorKeepingTheLines) {
    Put(0x0, {0x0080, 0xFFFF, 0x0082, 0xFFF0, 0x0088, 0x0000});
    const CopperWalk walk = Walk(0x0);
    ASSERT_EQ(walk.Lines.size(), 5u);
    EXPECT_EQ(walk.Lines[4], Dashes);
    EXPECT_EQ(walk.Error, "Copper jump target $C lies below the start of chip RAM at $1C");
}

TEST_F(CopperListTest, StartBelowChipRamEndsWithAnError) {
    const CopperWalk walk = WalkCopperList(Memory, 0x10, 128);
    EXPECT_EQ(walk.Lines, (std::vector<std::string>{Heading, Dashes}));
    EXPECT_EQ(walk.Error, "Copper list start $10 lies below the start of chip RAM at $1C");
}

TEST_F(CopperListTest, EndlessLoopStopsAfterTenThousandInstructions) {
    Memory.Snapshot.COP1LC = 0x200;
    Put(0x200, {0x0088, 0x0000});
    const CopperWalk walk = Walk(0x200);
    EXPECT_EQ(walk.Lines.size(), 2u + 2u * MaxCopperInstructions);
    EXPECT_TRUE(walk.Error.empty());
}

TEST_F(CopperListTest, ListRunningOffTheEndOfChipRamEndsCleanly) {
    Put(0x1FFFC, {0x0080, 0x0001}); // the pairing look-ahead lies past the image
    const CopperWalk walk = Walk(0x1FFF8);
    ASSERT_EQ(walk.Lines.size(), 4u);
    EXPECT_EQ(walk.Lines[3], "$0001FFFC: 0080 0001           ; COP1LCH = 0x0001");
    EXPECT_TRUE(walk.Error.empty());
}

TEST_F(CopperListTest, ChipRamLargerThanTheImageReadsZerosAndStops) {
    Memory.MemoryImage.resize(Offset + 8); // a raw file loaded after the save state
    const CopperWalk walk = Walk(0x0);
    EXPECT_EQ(walk.Lines.size(), 2u + MaxCopperInstructions);
    EXPECT_EQ(walk.Lines.back(), "$00009C3C: 0000 0000           ; BLTDDAT = 0x0000");
}

TEST_F(CopperListTest, OddStartReadsWordsAtOddOffsets) {
    Put(0x40, {0x0001, 0x8000});
    const CopperWalk walk = Walk(0x41);
    EXPECT_EQ(walk.Lines[2], "$00000041: 0180 0000           ; COLOR00 = 0x0000");
}

TEST(CopperListWalk, WithoutChipRamOnlyTheHeadingsAreListed) {
    MemoryState memory;
    memory.MemoryImage.assign(64, 0x01);
    memory.Snapshot.EcsPalette[0] = PaletteEntry{9, 9, 9, 0};
    const CopperWalk walk = WalkCopperList(memory, 0, 128);
    EXPECT_EQ(walk.Lines, (std::vector<std::string>{Heading, Dashes}));
    EXPECT_EQ(walk.Palette, memory.Snapshot.EcsPalette);
}

// Every pointer register's high half sits just before its low half, under the same name.
TEST(CustomRegisterNames, PointerHalvesComeInPairs) {
    auto endsWith = [](std::string_view name, std::string_view end) {
        return name.size() > end.size() && name.substr(name.size() - end.size()) == end;
    };
    int pairs = 0;
    for (size_t i = 0; i + 1 < CustomRegisterNames.size(); ++i) {
        const std::string_view high = CustomRegisterNames[i];
        if (!endsWith(high, "PTH") && !endsWith(high, "LCH")) continue;
        std::string low(high);
        low.back() = 'L';
        EXPECT_EQ(CustomRegisterNames[i + 1], low) << "after " << high;
        ++pairs;
    }
    for (size_t i = 1; i < CustomRegisterNames.size(); ++i) {
        const std::string_view low = CustomRegisterNames[i];
        if (!endsWith(low, "PTL") && !endsWith(low, "LCL")) continue;
        std::string high(low);
        high.back() = 'H';
        EXPECT_EQ(CustomRegisterNames[i - 1], high) << "before " << low;
    }
    // disk, four blitter channels, two copper lists, four audio channels, eight bitplanes, eight sprites and
    // the two AGA pointers
    EXPECT_EQ(pairs, 1 + 4 + 2 + 4 + 8 + 8 + 2);
}

TEST_F(CopperListTest, BlitterDestinationPointerIsListedAsOnePair) {
    Put(0x40, {0x0054, 0x0001, 0x0056, 0x2000, 0x000C, 0x1234});
    const CopperWalk walk = Walk(0x40);
    ASSERT_GE(walk.Lines.size(), 4u);
    EXPECT_EQ(walk.Lines[2], "$00000040: 0054 0001 0056 2000 ; BLTDPT = 0x00012000");
    EXPECT_EQ(walk.Lines[3], "$00000048: 000C 1234           ; JOY1DAT = 0x1234");
}

TEST(CustomRegisterNames, OddNamesAndEmptyCellsAreAsTheChipsNameThem) {
    EXPECT_EQ(CustomRegisterNames[0x1FE / 2], "NO-OP");
    EXPECT_EQ(CustomRegisterNames[0x1FC / 2], "FMODE");
    EXPECT_EQ(CustomRegisterNames[0x076 / 2], "BLTDDAT");
    EXPECT_EQ(CustomRegisterNames[0x0AC / 2], "");
    const auto named = std::count_if(CustomRegisterNames.begin(), CustomRegisterNames.end(),
                                     [](std::string_view name) { return !name.empty(); });
    EXPECT_EQ(named, 256 - 18);
}

TEST(ProcessStartAddress, ReadsThePaletteAddressField) {
    const AddressMode mode{Offset, false};
    EXPECT_EQ(ProcessStartAddress("+$100", mode), Offset + 0x100);
    EXPECT_EQ(ProcessStartAddress("  + $100 ", mode), Offset + 0x100);
    EXPECT_EQ(ProcessStartAddress("$100", mode), 0x100u);
    EXPECT_EQ(ProcessStartAddress("256", mode), 0x100u);
    EXPECT_EQ(ProcessStartAddress("$100", AddressMode{Offset, true}), Offset + 0x100);
    EXPECT_EQ(ProcessStartAddress("zz", mode), std::nullopt);
    EXPECT_EQ(ProcessStartAddress("   ", mode), std::nullopt);
    EXPECT_EQ(ProcessStartAddress("+", mode), std::nullopt);
    EXPECT_EQ(ProcessStartAddress("100", mode), 100u); // unlike the rip address, no bare hex digits
}

TEST(CopperlistActionStart, IsTheSavedListPointerInsideTheImage) {
    MemoryState memory;
    memory.ChipRamOffset = 0x7C;
    memory.Snapshot.COP1LC = 0x1000;
    EXPECT_EQ(CopperlistActionStart(memory), 0x107Cu);
}

} // namespace
} // namespace tavrik
