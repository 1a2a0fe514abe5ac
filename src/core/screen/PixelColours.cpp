// Pixel colours of a displayed Amiga line.
#include "screen/PixelColours.h"

namespace tavrik {

namespace {

uint8_t Channel(Colour c, int32_t shift) { return static_cast<uint8_t>(c >> shift); }

Colour WithChannel(Colour c, int32_t shift, uint32_t value) {
    return (c & ~(Colour{0xFF} << shift)) | (Colour{value & 0xFF} << shift);
}

constexpr int32_t RedShift = 0, GreenShift = 8, BlueShift = 16;
// The HAM control values 1, 2 and 3 modify blue, red and green.
constexpr int32_t HamShifts[4] = {0, BlueShift, RedShift, GreenShift};

// Half brightness: the original chips halve the 4-bit register value, AGA the 8-bit one.
Colour HalfBrite(Colour c, bool aga) {
    Colour half = 0;
    for (int32_t shift : {RedShift, GreenShift, BlueShift}) {
        const uint32_t v = Channel(c, shift);
        half = WithChannel(half, shift, aga ? v >> 1 : ((v >> 4) >> 1) * 17);
    }
    return half;
}

// HAM6 holds 4 bits per channel in planes 1-4 with control in planes 5-6; on AGA the four bits are the
// channel's upper half. HAM8 holds 6 bits in planes 3-8 with control in planes 1-2.
Colour HamPixel(Colour held, uint8_t value, bool ham8, bool aga, const std::array<Colour, 256>& colours) {
    const int32_t control = ham8 ? value & 3 : (value >> 4) & 3;
    const uint32_t data = ham8 ? value >> 2 : value & 15;
    if (control == 0) return colours[data];
    const int32_t shift = HamShifts[control];
    const uint32_t old = Channel(held, shift);
    if (ham8) return WithChannel(held, shift, (data << 2) | (old & 3));
    return WithChannel(held, shift, aga ? (data << 4) | (old & 15) : data * 17);
}

uint32_t PlayfieldBits(uint8_t value, int32_t firstPlane) {
    uint32_t bits = 0;
    for (int32_t p = firstPlane, bit = 0; p < 8; p += 2, ++bit)
        bits |= ((value >> p) & 1u) << bit;
    return bits;
}

Colour DualPlayfieldPixel(uint8_t value, const DisplayMode& mode, const DisplayRegisters& r,
                          const std::array<Colour, 256>& colours) {
    static constexpr uint32_t secondOffsets[8] = {0, 2, 4, 8, 16, 32, 64, 128};
    const uint32_t first = PlayfieldBits(value, 0);
    const uint32_t second = PlayfieldBits(value, 1);
    const uint32_t offset = mode.Aga ? secondOffsets[(r.BPLCON3 >> 10) & 7] : 8;
    const Colour secondColour = colours[(second + offset) & 255];
    const bool secondInFront = (r.BPLCON2 & 0x40) != 0;
    if (secondInFront && second != 0) return secondColour;
    if (first != 0) return colours[first];
    return second != 0 ? secondColour : colours[0];
}

} // namespace

std::vector<Colour> ColourLine(const DisplayMode& mode, const DisplayRegisters& registers,
                               const std::array<Colour, 256>& colours, std::span<const uint8_t> values) {
    std::vector<Colour> line(values.size());
    const bool ham8 = mode.Planes > 6;
    const uint8_t xorMask = mode.Aga ? static_cast<uint8_t>(registers.BPLCON4 >> 8) : 0;
    const uint32_t registerMask = mode.Aga ? 255 : 31;
    Colour held = colours[0];
    for (size_t x = 0; x < values.size(); ++x) {
        const uint8_t v = values[x];
        if (mode.Ham)
            held = line[x] = HamPixel(held, v, ham8, mode.Aga, colours);
        else if (mode.DualPlayfield)
            line[x] = DualPlayfieldPixel(v, mode, registers, colours);
        else if (mode.Ehb && v >= 32)
            line[x] = HalfBrite(colours[v - 32u], mode.Aga);
        else
            line[x] = colours[(v ^ xorMask) & registerMask];
    }
    return line;
}

} // namespace tavrik
