// Windows and OS/2 bitmaps: the header is checked against the file here, then stb_image decodes the
// true-colour kinds and the palette kinds are decoded below, uncompressed and run-length alike. stb_image
// lacks the run-length kinds and reads the 3-byte colour table of OS/2 bitmaps short and from the wrong place.
#include "imageio/BmpFile.h"

#include "app/Checked.h"
#include "app/Error.h"
#include "app/Limits.h"

#include <cstring>
#include <memory>
#include <string>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace tavrik {

namespace {

constexpr size_t FileHeaderSize = 14;
constexpr uint32_t CoreHeaderSize = 12;
constexpr uint32_t InfoHeaderSize = 40;

enum Compression : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6 };

uint32_t Little32(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t{bytes[at]} | (uint32_t{bytes[at + 1]} << 8) | (uint32_t{bytes[at + 2]} << 16) |
           (uint32_t{bytes[at + 3]} << 24);
}

uint16_t Little16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

[[noreturn]] void Damaged(const std::string& what) { throw Error("Damaged bitmap file: " + what); }

struct BitmapInfo {
    uint32_t PixelOffset = 0;
    uint32_t HeaderSize = 0;
    int64_t Width = 0;
    int64_t Height = 0; // negative for top-down rows
    uint32_t BitsPerPixel = 0;
    uint32_t Compression = BI_RGB;
    uint32_t ColoursUsed = 0;
};

BitmapInfo ReadInfo(std::span<const uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') Damaged("no \"BM\" signature");
    if (bytes.size() < FileHeaderSize + 4) Damaged("the header runs past the end of the file");
    BitmapInfo info;
    info.PixelOffset = Little32(bytes, 10);
    info.HeaderSize = Little32(bytes, 14);
    if (info.HeaderSize != CoreHeaderSize && info.HeaderSize < InfoHeaderSize)
        Damaged("unknown header size " + std::to_string(info.HeaderSize));
    if (info.HeaderSize > bytes.size() - FileHeaderSize) Damaged("the header runs past the end of the file");
    if (info.HeaderSize == CoreHeaderSize) {
        info.Width = Little16(bytes, 18);
        info.Height = Little16(bytes, 20);
        info.BitsPerPixel = Little16(bytes, 24);
    } else {
        info.Width = static_cast<int32_t>(Little32(bytes, 18));
        info.Height = static_cast<int32_t>(Little32(bytes, 22));
        info.BitsPerPixel = Little16(bytes, 28);
        info.Compression = Little32(bytes, 30);
        info.ColoursUsed = Little32(bytes, 46);
    }
    if (info.Width <= 0 || info.Height == 0)
        Damaged("size " + std::to_string(info.Width) + " x " + std::to_string(info.Height));
    if (info.Width * (info.Height < 0 ? -info.Height : info.Height) > PictureFilePixelLimit)
        Damaged("a picture of " + std::to_string(info.Width) + " x " + std::to_string(info.Height) +
                " pixels is too large");
    if (info.PixelOffset >= bytes.size()) Damaged("the pixel data offset lies past the end of the file");
    return info;
}

int64_t AbsoluteHeight(const BitmapInfo& info) { return info.Height < 0 ? -info.Height : info.Height; }

// The colour table follows the header: 3-byte entries after the OS/2 12-byte header, 4-byte ones otherwise,
// each blue, green, red. The OS/2 header has no count of colours used: its table is full.
uint64_t ColourCount(const BitmapInfo& info) {
    return info.ColoursUsed != 0 ? info.ColoursUsed : uint64_t{1} << info.BitsPerPixel;
}

uint64_t ColourEntrySize(const BitmapInfo& info) { return info.HeaderSize == CoreHeaderSize ? 3 : 4; }

void CheckColourTable(std::span<const uint8_t> bytes, const BitmapInfo& info) {
    if (info.BitsPerPixel > 8) return;
    if (info.ColoursUsed > 256) Damaged(std::to_string(info.ColoursUsed) + " colours in a palette bitmap");
    if (FileHeaderSize + info.HeaderSize + ColourCount(info) * ColourEntrySize(info) > bytes.size())
        Damaged("the colour table runs past the end of the file");
}

// Rows of uncompressed pixels are padded to a multiple of 4 bytes.
uint64_t RowStride(const BitmapInfo& info) {
    return (static_cast<uint64_t>(info.Width) * info.BitsPerPixel + 31) / 32 * 4;
}

void CheckUncompressed(std::span<const uint8_t> bytes, const BitmapInfo& info) {
    switch (info.BitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: Damaged(std::to_string(info.BitsPerPixel) + " bits per pixel");
    }
    if (info.PixelOffset + RowStride(info) * static_cast<uint64_t>(AbsoluteHeight(info)) > bytes.size())
        Damaged("the pixel data runs past the end of the file");
}

Image DecodeWithStb(std::span<const uint8_t> bytes) {
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(bytes.data(), CheckedCast<int>(bytes.size()), &width, &height, &channels, 3),
        stbi_image_free);
    if (!pixels) Damaged(stbi_failure_reason());
    Image image(width, height, PixelFormat::Rgb24);
    std::memcpy(image.Data().data(), pixels.get(), image.Data().size());
    return image;
}

// A palette bitmap of the picture's size with its colour table (checked to lie inside the file), every
// pixel colour 0 until the pixel data is decoded into it.
Image PaletteImage(std::span<const uint8_t> bytes, const BitmapInfo& info) {
    Image image(static_cast<int32_t>(info.Width), static_cast<int32_t>(AbsoluteHeight(info)), PixelFormat::Indexed8);
    const size_t table = FileHeaderSize + info.HeaderSize;
    const size_t entrySize = ColourEntrySize(info);
    for (size_t i = 0; i < ColourCount(info); ++i) {
        const size_t at = table + entrySize * i;
        image.ColourTable[i] = PaletteEntry{bytes[at], bytes[at + 1], bytes[at + 2], 0};
    }
    return image;
}

// Uncompressed 1-, 4- and 8-bit pixels, each byte filled from its most significant bit; the rows run bottom
// first unless the height is negative. The pixel data is checked to lie inside the file.
Image DecodeUncompressedPalette(std::span<const uint8_t> bytes, const BitmapInfo& info) {
    Image image = PaletteImage(bytes, info);
    const uint32_t bits = info.BitsPerPixel;
    const auto mask = static_cast<uint8_t>((1u << bits) - 1);
    for (int32_t y = 0; y < image.Height(); ++y) {
        const uint8_t* in = bytes.data() + info.PixelOffset + RowStride(info) * static_cast<uint64_t>(y);
        uint8_t* out = image.Row(info.Height < 0 ? y : image.Height() - 1 - y);
        for (int32_t x = 0; x < image.Width(); ++x) {
            const uint64_t bit = static_cast<uint64_t>(x) * bits;
            out[x] = static_cast<uint8_t>((in[bit / 8] >> (8 - bits - bit % 8)) & mask);
        }
    }
    image.ConvertTo(PixelFormat::Rgb24);
    return image;
}

// Run-length bitmaps: pairs of (count, value) with escapes for end of line, end of bitmap, a move (delta) and
// literal runs padded to a 16-bit boundary. Pixels outside the picture are dropped; pixels never written
// keep colour 0.
class RunLengthDecoder {
  public:
    RunLengthDecoder(std::span<const uint8_t> bytes, const BitmapInfo& info, Image& target)
        : Bytes(bytes), Position(info.PixelOffset), FourBit(info.Compression == BI_RLE4), Target(target) {}

    void Decode() {
        while (Position < Bytes.size() && Y < Target.Height()) {
            const uint8_t count = Next();
            const uint8_t value = Next();
            if (count > 0)
                RepeatRun(count, value);
            else if (value == 0)
                NewLine();
            else if (value == 1)
                return;
            else if (value == 2)
                Move();
            else
                LiteralRun(value);
        }
    }

  private:
    uint8_t Next() {
        if (Position >= Bytes.size()) Damaged("the run-length data ends early at offset " + std::to_string(Position));
        return Bytes[Position++];
    }

    void Put(uint8_t index) {
        if (X < Target.Width() && Y < Target.Height())
            Target.Row(static_cast<int32_t>(Target.Height() - 1 - Y))[X] = index;
        ++X;
    }

    void RepeatRun(unsigned count, uint8_t value) {
        for (unsigned i = 0; i < count; ++i)
            Put(FourBit ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
    }

    void LiteralRun(unsigned count) {
        const unsigned byteCount = FourBit ? (count + 1) / 2 : count;
        uint8_t value = 0;
        for (unsigned i = 0; i < count; ++i) {
            if (!FourBit || i % 2 == 0) value = Next();
            Put(FourBit ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
        }
        if (byteCount % 2 != 0) Next();
    }

    void NewLine() {
        X = 0;
        ++Y;
    }

    void Move() {
        X += Next();
        Y += Next();
    }

    std::span<const uint8_t> Bytes;
    size_t Position;
    bool FourBit;
    Image& Target;
    int64_t X = 0;
    int64_t Y = 0; // counted from the bottom row
};

Image DecodeRunLength(std::span<const uint8_t> bytes, const BitmapInfo& info) {
    const uint32_t expectedBits = info.Compression == BI_RLE8 ? 8 : 4;
    if (info.BitsPerPixel != expectedBits)
        Damaged("run-length compression with " + std::to_string(info.BitsPerPixel) + " bits per pixel");
    if (info.Height < 0) Damaged("a run-length bitmap cannot be stored top row first");
    Image image = PaletteImage(bytes, info);
    RunLengthDecoder(bytes, info, image).Decode();
    image.ConvertTo(PixelFormat::Rgb24);
    return image;
}

} // namespace

Image ReadBmp(std::span<const uint8_t> bytes) {
    const BitmapInfo info = ReadInfo(bytes);
    CheckColourTable(bytes, info);
    switch (info.Compression) {
    case BI_RLE8:
    case BI_RLE4: return DecodeRunLength(bytes, info);
    case BI_RGB:
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
        CheckUncompressed(bytes, info);
        if (info.Compression == BI_RGB && info.BitsPerPixel <= 8) return DecodeUncompressedPalette(bytes, info);
        return DecodeWithStb(bytes);
    default: Damaged("unsupported compression " + std::to_string(info.Compression));
    }
}

} // namespace tavrik
