// The Atari ST screen of a memory dump: TOS's variables, the three resolutions against a literal reading of
// the interleaved words, and dumps that cannot hold a screen.
#include "screen/AtariScreen.h"

#include "app/Error.h"
#include "support/SaveStateBuilder.h"

#include <gtest/gtest.h>

#include <random>

namespace tavrik::test {
namespace {

constexpr uint32_t Base = 0x78000;

std::vector<uint8_t> Dump(uint8_t shiftMode, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> dump(0x80000);
    for (uint8_t& b : dump)
        b = static_cast<uint8_t>(random());
    PutWords(dump, 0x44C, {static_cast<uint16_t>(shiftMode << 8), static_cast<uint16_t>(Base >> 16),
                           static_cast<uint16_t>(Base & 0xFFFF)});
    return dump;
}

// Pixel x of line y: bit 15 - x mod 16 of each plane's word in the line's group of x div 16.
uint32_t ColourIndex(const std::vector<uint8_t>& dump, int32_t planes, int32_t width, int32_t x, int32_t y) {
    uint32_t index = 0;
    for (int32_t p = 0; p < planes; ++p) {
        const size_t word = Base + static_cast<size_t>(y * width * planes / 8 + x / 16 * 2 * planes + 2 * p);
        const uint32_t value = uint32_t{dump[word]} << 8 | dump[word + 1];
        index |= (value >> (15 - x % 16) & 1) << p;
    }
    return index;
}

TEST(AtariScreen, EachResolutionReadsItsInterleavedPlanes) {
    struct Case {
        uint8_t Mode;
        int32_t Width, Height, Planes;
    };
    std::array<Colour, 16> colours{};
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = static_cast<Colour>(0x101010 * i + 5);
    for (const Case c : {Case{0, 320, 200, 4}, Case{1, 640, 200, 2}, Case{2, 640, 400, 1}}) {
        const std::vector<uint8_t> dump = Dump(c.Mode, c.Mode + 1u);
        const RebuiltScreen screen = RebuildAtariStScreen(dump, colours);
        ASSERT_EQ(screen.Picture.Width(), c.Width);
        ASSERT_EQ(screen.Picture.Height(), c.Height);
        EXPECT_EQ(screen.Description.Address, Base);
        EXPECT_EQ(screen.Description.Bitplanes, c.Planes);
        int32_t wrong = 0;
        for (int32_t y = 0; y < c.Height; ++y)
            for (int32_t x = 0; x < c.Width; ++x)
                wrong += screen.Picture.ColourAt(x, y) != colours[ColourIndex(dump, c.Planes, c.Width, x, y)];
        EXPECT_EQ(wrong, 0) << "shift mode " << int{c.Mode};
    }
}

TEST(AtariScreen, DefaultColoursAreTheStartUpPaletteAndMonochromeIsBlackOnWhite) {
    const std::array<Colour, 16>& colours = DefaultAtariStColours();
    EXPECT_EQ(colours[0], 0xFFFFFFu);
    EXPECT_EQ(colours[15], 0u);
    EXPECT_EQ(colours[1], MakeColour(0xFF, 0, 0));
    EXPECT_EQ(colours[7], MakeColour(0xB6, 0xB6, 0xB6)); // $555
    const RebuiltScreen mono = RebuildAtariStScreen(Dump(2, 9));
    for (int32_t x = 0; x < 64; ++x) {
        const Colour c = mono.Picture.ColourAt(x, 0);
        EXPECT_TRUE(c == 0xFFFFFFu || c == 0u) << x;
    }
}

TEST(AtariScreen, DumpsWithoutAScreenAreRefusedClearly) {
    const auto message = [](const std::vector<uint8_t>& dump) {
        try {
            RebuildAtariStScreen(dump);
        } catch (const Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_NE(message(std::vector<uint8_t>(0x400)).find("too short"), std::string::npos);
    EXPECT_NE(message(Dump(3, 1)).find("shift mode at $44C is 3"), std::string::npos);
    std::vector<uint8_t> shortScreen = Dump(0, 1);
    shortScreen.resize(Base + 31999);
    EXPECT_NE(message(shortScreen).find("runs past the end"), std::string::npos);
    std::vector<uint8_t> baseTooHigh = Dump(0, 1);
    PutWords(baseTooHigh, 0x44E, {0xFFFF, 0xFFF0});
    EXPECT_NE(message(baseTooHigh).find("runs past the end"), std::string::npos);
}

} // namespace
} // namespace tavrik::test
