// The NEOchrome and DEGAS reader: format from the first word and the file length, the 16-colour palette, then
// interleaved (uncompressed) or plane-by-plane run-length (compressed) pixel data.
#include "imageio/NeoImage.h"

#include "app/ByteStream.h"
#include "app/Files.h"
#include "imageio/PlanarBits.h"

#include <cstring>
#include <vector>

namespace tavrik {

namespace {

constexpr size_t DegasFileSize = 32034;
constexpr size_t DegasEliteFileSize = 32066;
constexpr uint16_t CompressedFlag = 0x8000;
constexpr size_t NeoNameSize = 12;
constexpr size_t NeoUnusedSize = 80;

// Pixel data bytes straight from the file (0 past its end).
class PlainBytes {
  public:
    explicit PlainBytes(ByteReader& stream) : Stream(stream) {}
    uint8_t Next() { return Stream.ReadByte(); }

  private:
    ByteReader& Stream;
};

// DEGAS Elite run-length data: the runs carry on across rows and planes.
class RunLengthBytes {
  public:
    explicit RunLengthBytes(ByteReader& stream) : Stream(stream) {}
    uint8_t Next() {
        if (RunLeft == 0) {
            const auto control = static_cast<int8_t>(Stream.ReadByte());
            Repeat = control < 0;
            RunLeft = Repeat ? 1 - control : control + 1;
            if (Repeat) RepeatedByte = Stream.ReadByte();
        }
        --RunLeft;
        return Repeat ? RepeatedByte : Stream.ReadByte();
    }

  private:
    ByteReader& Stream;
    int RunLeft = 0;
    bool Repeat = false;
    uint8_t RepeatedByte = 0;
};

// GroupWidth pixels of plane 0, then of plane 1 and so on, group after group along each row.
template <class Source> void DecodePixels(Image& image, unsigned planes, int32_t groupWidth, Source source) {
    const size_t width = static_cast<size_t>(image.Width());
    const size_t groupBytes = static_cast<size_t>(groupWidth) / 8;
    std::vector<uint64_t> pixels(width / 8);
    for (int32_t y = 0; y < image.Height(); ++y) {
        std::fill(pixels.begin(), pixels.end(), 0);
        for (size_t group = 0; group < width / groupBytes / 8; ++group)
            for (unsigned plane = 0; plane < planes; ++plane)
                for (size_t b = 0; b < groupBytes; ++b)
                    planar::AddPlaneByte(pixels[group * groupBytes + b], source.Next(), plane);
        uint8_t* row = image.Row(y);
        for (size_t i = 0; i < pixels.size(); ++i)
            planar::StorePixels(row + 8 * i, pixels[i]);
    }
}

} // namespace

Colour AtariColourToColour(uint16_t word) {
    const unsigned v = 2u * word;
    return MakeColour(static_cast<uint8_t>((v / 256) % 16 * 17), static_cast<uint8_t>((v / 16) % 16 * 17),
                      static_cast<uint8_t>(v % 16 * 17));
}

void TNEOImage::LoadFromStream(std::span<const uint8_t> bytes) {
    ByteReader stream(bytes);
    const size_t remaining = stream.Remaining();
    const uint16_t first = stream.ReadWordBE();
    if (first <= 2 && AtariFormat == TAtariFormat::afUnknown) {
        if (remaining == DegasFileSize) AtariFormat = TAtariFormat::afDEGAS;
        if (remaining == DegasEliteFileSize) AtariFormat = TAtariFormat::afDEGASElite;
    }
    unsigned resolution = 0;
    if (first <= 2) {
        resolution = first;
        if (AtariFormat == TAtariFormat::afUnknown) AtariFormat = TAtariFormat::afDEGAS;
    } else if (first >= CompressedFlag && first <= CompressedFlag + 2) {
        resolution = first - CompressedFlag;
        AtariFormat = TAtariFormat::afDEGASEliteCompressed;
    } else {
        return;
    }
    // NEOchrome's first word is a flag; its own resolution word follows, and only low resolution is read.
    if (AtariFormat == TAtariFormat::afNEO) {
        if (stream.ReadWordBE() != 0) return;
        resolution = 0;
    }
    PaletteIL.Clear();
    for (int i = 0; i < 16; ++i)
        PaletteIL.Add(static_cast<int32_t>(AtariColourToColour(stream.ReadWordBE())));
    if (AtariFormat == TAtariFormat::afNEO) {
        PictureName = stream.ReadFixedText(NeoNameSize);
        stream.Seek(stream.Tell() + NeoUnusedSize);
    }
    const AtariStResolution& size = AtariStResolutions[resolution];
    Reset(size.Width, size.Height, PixelFormat::Indexed8);
    for (int32_t i = 0; i < 16; ++i)
        ColourTable[static_cast<size_t>(i)] = EntryFromColour(static_cast<Colour>(PaletteIL.Get(i)));
    if (AtariFormat == TAtariFormat::afDEGASEliteCompressed)
        DecodePixels(*this, static_cast<unsigned>(size.Planes), size.Width, RunLengthBytes(stream));
    else
        DecodePixels(*this, static_cast<unsigned>(size.Planes), 16, PlainBytes(stream));
}

void TNEOImage::LoadFromFile(const std::string& name) { LoadFromStream(ReadWholeFile(name)); }

} // namespace tavrik
