// Peer check: pictures written as uncompressed ILBM by netpbm's ppmtoilbm, ripped out of the file's BODY
// as "Amiga ILBM" with the CMAP as palette, must show what netpbm's ilbmtoppm decodes from the same file.
#include "workspace/Rip.h"

#include "app/ByteStream.h"
#include "app/Error.h"
#include "app/Files.h"
#include "support/OutsidePrograms.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

namespace tavrik {
namespace {

struct RgbPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Rgb; // red, green, blue per pixel
};

std::vector<uint8_t> EncodePpm(const RgbPicture& picture) {
    const std::string header =
        "P6\n" + std::to_string(picture.Width) + " " + std::to_string(picture.Height) + "\n255\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), picture.Rgb.begin(), picture.Rgb.end());
    return bytes;
}

// Reads the binary PPM that ilbmtoppm writes: "P6", width, height, maxval 255, one blank, the pixels.
RgbPicture DecodePpm(const std::vector<uint8_t>& bytes) {
    std::string text(bytes.begin(), bytes.end());
    std::istringstream in(text);
    std::string magic;
    int maxValue = 0;
    RgbPicture picture;
    in >> magic >> picture.Width >> picture.Height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || !in) throw Error("not a PPM of 8-bit channels");
    const auto start = static_cast<size_t>(in.tellg());
    picture.Rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.end());
    if (picture.Rgb.size() != static_cast<size_t>(picture.Width) * picture.Height * 3)
        throw Error("PPM pixel data of the wrong size");
    return picture;
}

// A picture of random pixels in a few distinct colours.
RgbPicture RandomPicture(int32_t width, int32_t height, int32_t colours, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<Colour> palette;
    for (int32_t i = 0; i < colours; ++i)
        palette.push_back(MakeColour(static_cast<uint8_t>(i * 37 + 11), static_cast<uint8_t>(255 - i * 23),
                                     static_cast<uint8_t>((i * 91) & 0xFF)));
    RgbPicture picture{width, height, {}};
    for (int32_t i = 0; i < width * height; ++i) {
        const Colour c = palette[static_cast<size_t>(random() % static_cast<uint32_t>(colours))];
        picture.Rgb.insert(picture.Rgb.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
    }
    return picture;
}

struct IlbmChunks {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Planes = 0;
    int32_t Compression = -1;
    int32_t Masking = -1;
    size_t BodyOffset = 0;
    std::vector<Colour> Cmap;
};

IlbmChunks FindChunks(const std::vector<uint8_t>& file) {
    IlbmChunks chunks;
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "FORM");
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 12), "ILBM");
    size_t at = 12;
    while (at + 8 <= file.size()) {
        const std::string id(file.begin() + static_cast<std::ptrdiff_t>(at),
                             file.begin() + static_cast<std::ptrdiff_t>(at + 4));
        const uint32_t size = LongBEAt(file, at + 4);
        const size_t data = at + 8;
        if (id == "BMHD") {
            chunks.Width = WordBEAt(file, data);
            chunks.Height = WordBEAt(file, data + 2);
            chunks.Planes = file[data + 8];
            chunks.Masking = file[data + 9];
            chunks.Compression = file[data + 10];
        } else if (id == "CMAP") {
            for (size_t i = 0; i + 2 < size; i += 3)
                chunks.Cmap.push_back(MakeColour(file[data + i], file[data + i + 1], file[data + i + 2]));
        } else if (id == "BODY") {
            chunks.BodyOffset = data;
        }
        at = data + size + (size & 1);
    }
    return chunks;
}

void Run(const std::string& command) {
    const int status = std::system(command.c_str());
    ASSERT_EQ(status, 0) << "netpbm is needed for this peer check; the command failed: " << command;
}

void CheckAgainstNetpbm(int32_t width, int32_t height, int32_t colours, int32_t planes, uint32_t seed) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + ", " + std::to_string(planes) + " planes");
    test::TempDir folder;
    const std::string ppm = folder.File("picture.ppm");
    const std::string ilbm = folder.File("picture.iff");
    const std::string decoded = folder.File("decoded.ppm");
    WriteWholeFile(ppm, EncodePpm(RandomPicture(width, height, colours, seed)));
    ASSERT_NO_FATAL_FAILURE(Run("ppmtoilbm -nocompress -fixplanes " + std::to_string(planes) + " '" + ppm + "' > '" +
                                ilbm + "' 2>/dev/null"));
    ASSERT_NO_FATAL_FAILURE(Run("ilbmtoppm '" + ilbm + "' > '" + decoded + "' 2>/dev/null"));

    const std::vector<uint8_t> file = ReadWholeFile(ilbm);
    const IlbmChunks chunks = FindChunks(file);
    ASSERT_EQ(chunks.Width, width);
    ASSERT_EQ(chunks.Planes, planes);
    ASSERT_EQ(chunks.Compression, 0);
    ASSERT_EQ(chunks.Masking, 0);
    ASSERT_NE(chunks.BodyOffset, 0u);
    const RgbPicture expected = DecodePpm(ReadWholeFile(decoded));
    ASSERT_EQ(expected.Width, width);

    Workspace work;
    work.Memory.MemoryImage = file;
    for (size_t i = 0; i < chunks.Cmap.size() && i < 256; ++i)
        work.Palette.Entries[i] = EntryFromColour(chunks.Cmap[i]);
    RipControls controls;
    const int32_t rowWidth = (width + 15) / 16 * 16;
    controls.Address = std::to_string(chunks.BodyOffset);
    controls.ModeIndex = static_cast<int32_t>(RipMode::AmigaIlbm);
    controls.Bitplanes = std::to_string(planes);
    controls.TileWidth = controls.RipWidth = std::to_string(rowWidth);
    controls.TileHeight = controls.RipHeight = std::to_string(height);
    Rip(work, controls);

    const Image& sheet = work.TileSheet;
    ASSERT_EQ(sheet.Width(), rowWidth);
    ASSERT_EQ(sheet.Height(), height);
    int mismatches = 0;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* rgb = &expected.Rgb[(static_cast<size_t>(y) * width + x) * 3];
            if (sheet.ColourAt(x, y) != MakeColour(rgb[0], rgb[1], rgb[2]) && ++mismatches <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") differs from ilbmtoppm";
        }
    EXPECT_EQ(mismatches, 0);
}

TEST(NetpbmPeer, RippedIlbmBodiesMatchIlbmtoppm) {
    TAVRIK_SKIP_WITHOUT_PROGRAMS("ppmtoilbm", "ilbmtoppm");
    CheckAgainstNetpbm(20, 7, 5, 3, 1);  // row padded from 20 to 32 pixels
    CheckAgainstNetpbm(33, 5, 2, 1, 2);  // one plane, 48-pixel rows
    CheckAgainstNetpbm(64, 9, 20, 5, 3); // five planes, no padding
    CheckAgainstNetpbm(17, 12, 90, 8, 4);
}

} // namespace
} // namespace tavrik
