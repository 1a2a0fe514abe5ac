// Rebuilding the Atari ST screen of a memory dump: word-interleaved planes at the video base.
#include "screen/AtariScreen.h"

#include "app/ByteStream.h"
#include "app/Error.h"
#include "app/IntegerText.h"
#include "imageio/NeoImage.h"

namespace tavrik {

namespace {

constexpr uint32_t ScreenBaseVariable = 0x44E;
constexpr uint32_t ShiftModeVariable = 0x44C;

// The ST's three bits per channel, spread over eight as the video chip's output levels.
constexpr Colour StColour(uint16_t word) {
    const auto level = [](uint32_t n) { return static_cast<uint8_t>((n << 5) | (n << 2) | (n >> 1)); };
    return MakeColour(level((word >> 8) & 7), level((word >> 4) & 7), level(word & 7));
}

} // namespace

const std::array<Colour, 16>& DefaultAtariStColours() {
    static const std::array<Colour, 16> colours = [] {
        constexpr uint16_t words[16] = {0x777, 0x700, 0x070, 0x770, 0x007, 0x707, 0x077, 0x555,
                                        0x333, 0x733, 0x373, 0x773, 0x337, 0x737, 0x377, 0x000};
        std::array<Colour, 16> result{};
        for (size_t i = 0; i < result.size(); ++i)
            result[i] = StColour(words[i]);
        return result;
    }();
    return colours;
}

RebuiltScreen RebuildAtariStScreen(std::span<const uint8_t> dump, const std::optional<std::array<Colour, 16>>& colours) {
    if (dump.size() < ScreenBaseVariable + 4)
        throw Error("the dump is " + std::to_string(dump.size()) +
                    " bytes long, too short to hold TOS's screen variables at $44C and $44E");
    const uint32_t base = LongBEAt(dump, ScreenBaseVariable);
    const uint8_t shiftMode = dump[ShiftModeVariable];
    if (shiftMode > 2)
        throw Error("TOS's shift mode at $44C is " + std::to_string(shiftMode) + ", not 0, 1 or 2");
    const AtariStResolution res = AtariStResolutions[shiftMode];
    const uint64_t bytes = uint64_t{32000};
    if (uint64_t{base} + bytes > dump.size())
        throw Error("the screen at " + DollarHex(base) + " (TOS's video base at $44E) runs past the end of the " +
                    std::to_string(dump.size()) + "-byte dump");
    std::array<Colour, 16> palette = colours ? *colours : DefaultAtariStColours();
    if (res.Planes == 1 && !colours) palette[1] = 0;

    RebuiltScreen screen;
    screen.Picture.Reset(res.Width, res.Height, PixelFormat::Rgb24);
    const int32_t groupBytes = 2 * res.Planes;
    for (int32_t y = 0; y < res.Height; ++y) {
        const size_t row = base + static_cast<size_t>(y) * static_cast<size_t>(res.Width / 16 * groupBytes);
        for (int32_t x = 0; x < res.Width; ++x) {
            const size_t group = row + static_cast<size_t>(x / 16 * groupBytes);
            uint32_t index = 0;
            for (int32_t p = 0; p < res.Planes; ++p) {
                const uint8_t byte = dump[group + static_cast<size_t>(2 * p + (x % 16) / 8)];
                index |= ((byte >> (7 - x % 8)) & 1u) << p;
            }
            screen.Picture.SetRgb(x, y, palette[index]);
        }
    }
    ScreenDescription& d = screen.Description;
    d.Machine = ScreenMachine::AtariSt;
    d.Address = base;
    d.Bitplanes = res.Planes;
    d.Width = d.RipWidth = res.Width;
    d.Height = d.RipHeight = res.Height;
    d.Hires = shiftMode != 0;
    d.Mode = RipMode::AtariSt;
    d.SkipMode = 0;
    std::copy(palette.begin(), palette.end(), screen.TopLineColours.begin());
    return screen;
}

} // namespace tavrik
