// The Amiga screen rebuilt from save states written by the test writer, against the literal decoder: every
// display kind with colours changed in mid-screen, the geometry registers, interlace and the failures.
#include "screen/AmigaScreen.h"

#include "app/Error.h"
#include "memory/SaveState.h"
#include "support/SaveStateBuilder.h"
#include "support/ScreenReference.h"

#include <gtest/gtest.h>

namespace tavrik::test {
namespace {

MemoryState Load(const std::vector<uint8_t>& state) { return ParseDataFile(state, MemoryState{}, "state.uss").Memory; }

// The first differing pixel, or "" when the pictures are equal.
std::string FirstDifference(const Image& actual, const Image& expected) {
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height())
        return "size " + std::to_string(actual.Width()) + "x" + std::to_string(actual.Height()) + " instead of " +
               std::to_string(expected.Width()) + "x" + std::to_string(expected.Height());
    for (int32_t y = 0; y < expected.Height(); ++y)
        for (int32_t x = 0; x < expected.Width(); ++x)
            if (actual.ColourAt(x, y) != expected.ColourAt(x, y))
                return "pixel " + std::to_string(x) + "," + std::to_string(y);
    return "";
}

void ExpectSameAsReference(ScreenKind kind, bool aga, uint32_t firstSeed) {
    for (uint32_t seed = firstSeed; seed < firstSeed + 12; ++seed) {
        std::mt19937 random(seed);
        const ScreenSpec spec = RandomScreenSpec(kind, aga, random);
        const RebuiltScreen screen = RebuildAmigaScreen(Load(ScreenSaveState(spec, seed)));
        EXPECT_EQ(FirstDifference(screen.Picture, ReferenceScreenPicture(spec, ScreenChipRam(spec, seed))), "")
            << "seed " << seed << ", " << spec.Planes << " planes, " << spec.Width << "x" << spec.Lines;
    }
}

TEST(AmigaScreen, PlainScreensOfEveryDepthMatchTheReference) {
    ExpectSameAsReference(ScreenKind::Plain, false, 100);
    ExpectSameAsReference(ScreenKind::Plain, true, 200);
}

TEST(AmigaScreen, ExtraHalfBriteMatchesTheReference) {
    ExpectSameAsReference(ScreenKind::HalfBrite, false, 300);
    ExpectSameAsReference(ScreenKind::HalfBrite, true, 350);
}

TEST(AmigaScreen, HoldAndModifyMatchesTheReference) {
    ExpectSameAsReference(ScreenKind::Ham6, false, 400);
    ExpectSameAsReference(ScreenKind::Ham6, true, 450);
    ExpectSameAsReference(ScreenKind::Ham8, true, 500);
}

TEST(AmigaScreen, DualPlayfieldMatchesTheReference) {
    ExpectSameAsReference(ScreenKind::DualPlayfield, false, 600);
    ExpectSameAsReference(ScreenKind::DualPlayfield, true, 650);
}

TEST(AmigaScreen, DescribesTheModeAndTheTopLineColours) {
    std::mt19937 random(7);
    ScreenSpec spec = RandomScreenSpec(ScreenKind::Ham6, false, random);
    const RebuiltScreen screen = RebuildAmigaScreen(Load(ScreenSaveState(spec, 7)));
    const ScreenDescription& d = screen.Description;
    EXPECT_EQ(d.Bitplanes, 6);
    EXPECT_TRUE(d.Ham);
    EXPECT_FALSE(d.Ehb || d.DualPlayfield || d.Interlaced || d.Hires);
    EXPECT_EQ(d.Address, spec.Pointers[0]);
    // The saved registers and the list's moves before the display both reach the first line.
    EXPECT_TRUE(std::equal(spec.Colours.begin(), spec.Colours.begin() + 32, screen.TopLineColours.begin()));
}

// A classic display set up by hand: the picture's size comes from the data fetch and the window.
MemoryState ClassicDisplay(uint16_t bplcon0, uint16_t ddfStop, uint16_t fmode, uint32_t mask) {
    std::vector<uint8_t> ram(0x20000, 0);
    PutWords(ram, 0x100, {0x0100, bplcon0, 0x01FC, fmode, 0x00E0, 0, 0x00E2, 0x4000, 0xFFFF, 0xFFFE});
    ChipRegisters r;
    r.COP1LC = 0x100;
    r.DIWSTRT = 0x2C81;
    r.DIWSTOP = 0x2CC1;
    r.DDFSTRT = 0x38;
    r.DDFSTOP = ddfStop;
    r.ChipsetMask = mask;
    SaveStateBuilder state;
    state.Stored("CRAM", ram);
    state.Stored("CHIP", ChipChunkData(r));
    state.End();
    return Load(state.Data());
}

TEST(AmigaScreen, FetchWidthFollowsResolutionAndFetchMode) {
    const auto size = [](const MemoryState& m) {
        const ScreenDescription d = RebuildAmigaScreen(m).Description;
        return std::to_string(d.Width) + "x" + std::to_string(d.Height);
    };
    EXPECT_EQ(size(ClassicDisplay(0x5200, 0xD0, 0, 0)), "320x256");
    EXPECT_EQ(size(ClassicDisplay(0xC200, 0xD0, 0, 0)), "640x256");
    // The AGA 64-bit fetch reads four words per plane at a time: 320 pixels end their fetch at $A0.
    EXPECT_EQ(size(ClassicDisplay(0x0210, 0xA0, 3, 4)), "320x256");
    // The original chips ignore FMODE.
    EXPECT_EQ(size(ClassicDisplay(0x5200, 0xD0, 3, 0)), "320x256");
    EXPECT_EQ(size(ClassicDisplay(0x5204, 0xD0, 0, 0)), "320x512");
}

TEST(AmigaScreen, InterlacedFieldsWeaveLowerAddressFirst) {
    // The list at $100 loads the other field's list ($200) into COP2LC; its planes lie one line earlier.
    std::vector<uint8_t> ram(0x20000, 0);
    PutWords(ram, 0x100, {0x0100, 0x1204, 0x0108, 40, 0x00E0, 0, 0x00E2, 0x4028, 0x0084, 0, 0x0086, 0x200, 0xFFFF, 0xFFFE});
    PutWords(ram, 0x200, {0x0100, 0x1204, 0x0108, 40, 0x00E0, 0, 0x00E2, 0x4000, 0x0084, 0, 0x0086, 0x100, 0xFFFF, 0xFFFE});
    for (int32_t line = 0; line < 512; ++line)
        ram[0x4000 + static_cast<size_t>(line) * 40] = static_cast<uint8_t>(line % 2 ? 0x80 : 0x00);
    ChipRegisters r;
    r.COP1LC = 0x100;
    r.DIWSTRT = 0x2C81;
    r.DIWSTOP = 0x2CC1;
    r.DDFSTRT = 0x38;
    r.DDFSTOP = 0xD0;
    r.COLOR[0] = 0x000;
    r.COLOR[1] = 0xFFF;
    SaveStateBuilder state;
    state.Stored("CRAM", ram);
    state.Stored("CHIP", ChipChunkData(r));
    state.End();
    const RebuiltScreen screen = RebuildAmigaScreen(Load(state.Data()));
    ASSERT_EQ(screen.Picture.Height(), 512);
    EXPECT_TRUE(screen.Description.Interlaced);
    for (int32_t row : {0, 1, 2, 3, 510, 511})
        EXPECT_EQ(screen.Picture.ColourAt(0, row), row % 2 ? 0xFFFFFFu : 0u) << "row " << row;
    // Both fields lie in one bitmap, so the rip takes it whole from the lower field.
    EXPECT_EQ(screen.Description.Address, 0x4000u);
    EXPECT_EQ(screen.Description.RipHeight, 512);
    EXPECT_EQ(screen.Description.RipWidth, 320);
}

TEST(AmigaScreen, StatesWithoutADisplayAreRefusedClearly) {
    const auto message = [](const MemoryState& m) {
        try {
            RebuildAmigaScreen(m);
        } catch (const Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_NE(message(MemoryState{}).find("no Amiga chip RAM"), std::string::npos);
    MemoryState noList = ClassicDisplay(0x5200, 0xD0, 0, 0);
    noList.Snapshot.COP1LC = 0;
    EXPECT_NE(message(noList).find("no copper list"), std::string::npos);
    EXPECT_NE(message(ClassicDisplay(0x0200, 0xD0, 0, 0)).find("no bitplanes"), std::string::npos);
    EXPECT_NE(message(ClassicDisplay(0x5200, 0x30, 0, 0)).find("fetches no usable line"), std::string::npos);
}

} // namespace
} // namespace tavrik::test
