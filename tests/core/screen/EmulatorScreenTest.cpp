// Screens rebuilt from save states an emulator wrote, against the emulator's own screenshot of that moment:
// the rebuilt picture must appear in the screenshot unchanged, apart from the mouse pointer. The emulator
// draws a low-resolution pixel two wide and a line of a screen that is not interlaced two high.
#include "screen/AmigaScreen.h"

#include "app/Files.h"
#include "imageio/PngFile.h"
#include "memory/SaveState.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavrik::test {
namespace {

const std::string DataDir = TAVRIK_TEST_DATA_DIR;

// The pointer is a sprite of at most 16 low-resolution pixels across, drawn over the screen; its lines are
// doubled in an interlaced picture.
constexpr int32_t PointerWidth = 32;
constexpr int32_t PointerHeight = 64;

struct Scale {
    int32_t X = 1;
    int32_t Y = 1;
};

struct Placement {
    int32_t Left = 0;
    int32_t Top = 0;
    int64_t Differences = -1;
    int32_t MinX = 0, MinY = 0, MaxX = -1, MaxY = -1; // the box around the differing pixels
};

// Compares the picture with the screenshot at one place; gives up once more differ than a pointer could cover.
Placement CompareAt(const Image& picture, const Image& shot, Scale scale, int32_t left, int32_t top) {
    Placement p{left, top, 0, picture.Width(), picture.Height(), -1, -1};
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x) {
            if (picture.ColourAt(x, y) == shot.ColourAt(left + x * scale.X, top + y * scale.Y)) continue;
            if (++p.Differences > PointerWidth * PointerHeight) return p;
            p.MinX = std::min(p.MinX, x), p.MinY = std::min(p.MinY, y);
            p.MaxX = std::max(p.MaxX, x), p.MaxY = std::max(p.MaxY, y);
        }
    return p;
}

// Where the screenshot shows the picture: the place with the fewest differing pixels.
Placement BestPlacement(const Image& picture, const Image& shot, Scale scale) {
    Placement best;
    for (int32_t top = 0; top + picture.Height() * scale.Y <= shot.Height(); ++top)
        for (int32_t left = 0; left + picture.Width() * scale.X <= shot.Width(); ++left) {
            const Placement p = CompareAt(picture, shot, scale, left, top);
            if (best.Differences < 0 || p.Differences < best.Differences) best = p;
        }
    return best;
}

void ExpectEmulatorPicture(const std::string& folder, int32_t width, int32_t height, Scale scale = {}) {
    const std::vector<uint8_t> state = ReadWholeFile(DataDir + "/" + folder + "/state.uss");
    const RebuiltScreen screen = RebuildAmigaScreen(ParseDataFile(state, MemoryState{}, "state.uss").Memory);
    const Image shot = ReadPng(ReadWholeFile(DataDir + "/" + folder + "/emulator.png"));
    ASSERT_EQ(screen.Picture.Width(), width);
    ASSERT_EQ(screen.Picture.Height(), height);
    const Placement p = BestPlacement(screen.Picture, shot, scale);
    ASSERT_LE(p.Differences, PointerWidth * PointerHeight) << folder << ": the screenshot does not show the picture";
    EXPECT_LE(p.MaxX - p.MinX, PointerWidth) << folder << ": differences beyond the pointer";
    EXPECT_LE(p.MaxY - p.MinY, PointerHeight) << folder << ": differences beyond the pointer";
}

TEST(EmulatorScreen, OriginalChipsetHiresInterlacedBootScreen) { ExpectEmulatorPicture("screen_aros_ocs", 640, 512); }

TEST(EmulatorScreen, AgaHiresInterlacedBootScreen) { ExpectEmulatorPicture("screen_aros_aga", 640, 512); }

TEST(EmulatorScreen, LowResolutionFivePlanesWithColoursChangedInMidScreen) {
    ExpectEmulatorPicture("screen_boot_lores5", 320, 256, {2, 2});
}

TEST(EmulatorScreen, AgaEightPlanesWithTheWideFetchAndBankedColours) {
    ExpectEmulatorPicture("screen_boot_aga8", 320, 256, {2, 2});
}

} // namespace
} // namespace tavrik::test
