// The IFF ILBM reader: BMHD checks, then CMAP, CAMG and BODY chunks in file order, then 24-bit conversion.
#include "imageio/IlbmImage.h"

#include "app/ByteStream.h"
#include "app/Checked.h"
#include "app/Error.h"
#include "app/Files.h"
#include "app/Limits.h"
#include "imageio/PlanarBits.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace tavrik {

namespace {

constexpr uint32_t MaxFormSize = 2147483647;
constexpr uint32_t BitmapHeaderSize = 20;
constexpr uint32_t HoldAndModifyMode = 0x800;
// A ByteRun1 packet may run this far past the end of a line.
constexpr size_t LongestPacket = 129;

struct BitmapHeader {
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint8_t Planes = 0;
    uint8_t Masking = 0;
    uint8_t Compression = 0;
};

class IlbmReader {
  public:
    IlbmReader(TILBMImage& target, std::span<const uint8_t> bytes) : Target(target), Bytes(bytes), Stream(bytes) {}

    void Read() {
        if (!ReadHeader()) return;
        if (Header.Compression > 1 || Header.Planes > 8) return;
        if (int64_t{Header.Width} * Header.Height > PictureFilePixelLimit)
            throw Error("ILBM picture too large: " + std::to_string(Header.Width) + " x " +
                        std::to_string(Header.Height) + " pixels");
        Target.Reset(Header.Width, Header.Height, PixelFormat::Indexed8);
        Target.ILBMFileFormat = TILBMFileFormat::iffNormal;
        // The FORM size is not trusted: chunks are read to the end of the data.
        while (Stream.Tell() < Stream.Size())
            if (!ReadChunk()) return;
        Target.ConvertTo(PixelFormat::Rgb24);
    }

  private:
    // False when the file is no ILBM with a 20-byte BMHD first.
    bool ReadHeader() {
        if (Stream.ReadFixedText(4) != "FORM") return false;
        if (Stream.ReadLongBE() > MaxFormSize) return false;
        if (Stream.ReadFixedText(8) != "ILBMBMHD") return false;
        if (Stream.ReadLongBE() != BitmapHeaderSize) return false;
        Header.Width = Stream.ReadWordBE();
        Header.Height = Stream.ReadWordBE();
        Stream.ReadLongBE(); // position
        Header.Planes = Stream.ReadByte();
        Header.Masking = Stream.ReadByte();
        Header.Compression = Stream.ReadByte();
        Stream.Seek(Stream.Tell() + 9); // pad, transparent colour, aspect, page size
        return true;
    }

    // False when the reading stops here.
    bool ReadChunk() {
        const std::string id = Stream.ReadFixedText(4);
        const uint32_t size = Stream.ReadLongBE();
        const size_t start = Stream.Tell();
        if (id == "CMAP") {
            ReadColourMap(size);
        } else if (id == "CAMG") {
            if (!ReadDisplayMode(size)) return false;
        } else if (id == "BODY") {
            ReadBody();
        }
        // A BODY whose size is smaller than the rows it held is not read again as chunks: the file is read
        // once from start to end.
        Stream.Seek(std::max<size_t>(start + size + (size & 1), Stream.Tell()));
        return true;
    }

    void ReadColourMap(uint32_t size) {
        const uint32_t count = size / 3;
        if (count == 0) throw Error(OverflowMessage);
        if (size_t{count} * 3 > Stream.Remaining())
            throw Error("Read error: the ILBM CMAP chunk at offset " + std::to_string(Stream.Tell() - 8) +
                        " runs past the end of the file");
        std::vector<uint8_t> components(size_t{count} * 3);
        bool lowNibblesZero = true;
        for (uint8_t& component : components) {
            component = Stream.ReadByte();
            lowNibblesZero = lowNibblesZero && (component & 0x0F) == 0;
        }
        // Files written with 4-bit colours keep them in the high nibbles; spread them to the full range.
        if (lowNibblesZero)
            for (uint8_t& component : components)
                component = static_cast<uint8_t>(component + component / 16);
        Target.PaletteIL.Clear();
        Target.ColourTable.fill(PaletteEntry{});
        for (size_t i = 0; i < count; ++i) {
            const Colour colour = MakeColour(components[3 * i], components[3 * i + 1], components[3 * i + 2]);
            Target.PaletteIL.Add(static_cast<int32_t>(colour));
            if (i < Target.ColourTable.size()) Target.ColourTable[i] = EntryFromColour(colour);
        }
    }

    // False when a hold-and-modify picture has a plane count HAM cannot use.
    bool ReadDisplayMode(uint32_t size) {
        if (size != 4) return true;
        if ((Stream.ReadLongBE() & HoldAndModifyMode) == 0) return true;
        if (Header.Planes == 6)
            Target.ILBMFileFormat = TILBMFileFormat::iffHAM6;
        else if (Header.Planes == 7 || Header.Planes == 8)
            Target.ILBMFileFormat = TILBMFileFormat::iffHAM8;
        else
            return false;
        return true;
    }

    void ReadBody() {
        RowBytes = (size_t{Header.Width} + 15) / 16 * 2;
        LineBytes = RowBytes * (Header.Planes + (Header.Masking == 1 ? 1u : 0u));
        // Without planes every pixel value is 0, as the image already holds.
        if (LineBytes == 0) return;
        RowData.assign(LineBytes + LongestPacket, 0);
        Values.assign(RowBytes * 8, 0);
        if (Target.ILBMFileFormat != TILBMFileFormat::iffNormal) {
            // Every row is written in colour, so the picture is made 24-bit here rather than converted.
            if (Target.Format() != PixelFormat::Rgb24) Target.Reset(Header.Width, Header.Height, PixelFormat::Rgb24);
            PrepareHoldAndModify();
        }
        for (int32_t y = 0; y < Header.Height; ++y) {
            if (Header.Compression == 0)
                CopyFromFile(RowData.data(), LineBytes);
            else
                ReadByteRun1Line();
            DecodePlanes();
            if (Target.ILBMFileFormat == TILBMFileFormat::iffNormal)
                std::memcpy(Target.Row(y), Values.data(), Header.Width);
            else
                StoreHoldAndModifyRow(y);
        }
        if (Stream.Tell() % 2 != 0) Stream.Seek(Stream.Tell() + 1);
    }

    // Whole packets are decoded until the line is full; what a packet puts beyond the line is dropped.
    void ReadByteRun1Line() {
        size_t filled = 0;
        while (filled < LineBytes) {
            const auto control = static_cast<int8_t>(Stream.ReadByte());
            if (control >= 0) {
                const size_t count = static_cast<size_t>(control) + 1;
                CopyFromFile(RowData.data() + filled, count);
                filled += count;
            } else {
                const size_t count = 1 - static_cast<ptrdiff_t>(control);
                std::memset(RowData.data() + filled, Stream.ReadByte(), count);
                filled += count;
            }
        }
    }

    void CopyFromFile(uint8_t* out, size_t count) {
        if (count > Stream.Remaining())
            throw Error("Read error: the ILBM BODY ends early at offset " + std::to_string(Stream.Tell()));
        std::memcpy(out, Bytes.data() + Stream.Tell(), count);
        Stream.Seek(Stream.Tell() + count);
    }

    // Plane p of the line is the p-th group of RowBytes; the mask row after the planes is not looked at.
    void DecodePlanes() {
        const uint8_t* line = RowData.data();
        for (size_t column = 0; column < RowBytes; ++column) {
            uint64_t pixels = 0;
            for (unsigned plane = 0; plane < Header.Planes; ++plane)
                planar::AddPlaneByte(pixels, line[plane * RowBytes + column], plane);
            planar::StorePixels(Values.data() + 8 * column, pixels);
        }
    }

    // Each pixel value sets the colour from the palette or replaces one component of the colour before it.
    // As a step, that is: the colour before it AND Keep, OR Set (colours as 0xBBGGRR).
    struct HoldAndModifyStep {
        uint32_t Keep = 0;
        uint32_t Set = 0;
    };

    void PrepareHoldAndModify() {
        const bool ham6 = Target.ILBMFileFormat == TILBMFileFormat::iffHAM6;
        for (unsigned value = 0; value < Steps.size(); ++value) {
            const unsigned control = ham6 ? (value / 16) % 4 : value / 64;
            const unsigned data = ham6 ? value % 16 : value % 64;
            const uint32_t level = ham6 ? data * 17 : data * 4 + data / 16;
            const unsigned shift = control == 1 ? 16 : control == 2 ? 0 : 8; // blue, red, green
            if (control == 0) {
                const PaletteEntry& entry = Target.ColourTable[data];
                Steps[value] = {0, uint32_t{entry.Red} | uint32_t{entry.Green} << 8 | uint32_t{entry.Blue} << 16};
            } else {
                Steps[value] = {~(0xFFu << shift), level << shift};
            }
        }
    }

    // Every row starts from black.
    void StoreHoldAndModifyRow(int32_t y) {
        uint32_t colour = 0;
        uint8_t* out = Target.Row(y);
        const uint8_t* value = Values.data();
        for (const uint8_t* end = value + Header.Width; value != end; ++value, out += 3) {
            const HoldAndModifyStep step = Steps[*value];
            colour = (colour & step.Keep) | step.Set;
            out[0] = static_cast<uint8_t>(colour);
            out[1] = static_cast<uint8_t>(colour >> 8);
            out[2] = static_cast<uint8_t>(colour >> 16);
        }
    }

    TILBMImage& Target;
    std::span<const uint8_t> Bytes;
    ByteReader Stream;
    BitmapHeader Header;
    size_t RowBytes = 0;
    size_t LineBytes = 0;
    std::vector<uint8_t> RowData; // one line of plane rows (and mask row), reused for every line
    std::vector<uint8_t> Values;  // the pixel values of one row
    std::array<HoldAndModifyStep, 256> Steps;
};

} // namespace

void TILBMImage::LoadFromStream(std::span<const uint8_t> bytes) { IlbmReader(*this, bytes).Read(); }

void TILBMImage::LoadFromFile(const std::string& name) { LoadFromStream(ReadWholeFile(name)); }

} // namespace tavrik
