// Peer checks: pictures written by netpbm's ppmtoilbm, ppmtopi1, ppmtoneo, pbmtopi3 and ppmtobmp (and DEGAS
// Elite files of our own read by pc1toppm) must decode to the pixels netpbm's readers give.
//
// Where the colours differ, our rules win and the comparison says so:
// - ILBM: a CMAP whose low nibbles are all zero holds 4-bit colours, which we spread (c + c div 16); netpbm
//   keeps the bytes as they are. Ordinary CMAPs are compared colour for colour.
// - HAM: our rows start from black and a modify sets the whole 8-bit level (data x 17 for HAM6,
//   data x 4 + data div 16 for HAM8); netpbm replaces only the upper bits of the previous level. So HAM
//   files are compared through the pixel values: a copy of the file with the CAMG removed and a CMAP that
//   maps value v to grey v makes ilbmtoppm print the raw values, and our colours must be what our HAM rules
//   make of those values.
// - Atari ST: we double a palette word and take each nibble times 17 (level c of 0-7 becomes 34 x c);
//   netpbm prints the 3-bit levels at maxval 7.
#include "imageio/BmpFile.h"
#include "imageio/IlbmImage.h"
#include "imageio/NeoImage.h"

#include "support/OutsidePrograms.h"
#include "support/PictureTestFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

namespace tavrik {
namespace {

using test::Bytes;
using test::Pnm;
using test::Quoted;
using test::Rgb;
using test::RunCommand;

Rgb PixelOf(const Image& image, int x, int y) {
    if (image.Format() == PixelFormat::Indexed8) {
        const PaletteEntry& e = image.ColourTable[image.IndexAt(x, y)];
        return {e.Red, e.Green, e.Blue};
    }
    const uint8_t* p = image.Row(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

void ExpectPicture(const Image& image, int width, int height, const std::function<Rgb(int, int)>& expected) {
    ASSERT_EQ(image.Width(), width);
    ASSERT_EQ(image.Height(), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(PixelOf(image, x, y), expected(x, y)) << "pixel " << x << "," << y;
}

Pnm MakePicture(int width, int height, const std::function<Rgb(int, int)>& colour, int maxValue = 255) {
    Pnm picture;
    picture.Width = width;
    picture.Height = height;
    picture.MaxValue = maxValue;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Pixels.push_back(colour(x, y));
    return picture;
}

// Runs of varying length, so that ByteRun1 writes both repeat and literal packets.
int PatternIndex(int x, int y, int colours) { return (x / (1 + y % 5) * 7 + y * 3 + x % 3 * (y % 2)) % colours; }

Rgb DistinctColour(int i) {
    return {uint8_t((i * 37 + 11) % 256), uint8_t((i * 91 + 3) % 256), uint8_t((i * 53 + 200) % 256)};
}

// The chunks of an ILBM FORM, after the form type.
std::vector<std::pair<std::string, Bytes>> IlbmChunks(const Bytes& file) {
    std::vector<std::pair<std::string, Bytes>> chunks;
    size_t at = 12;
    while (at + 8 <= file.size()) {
        const size_t size =
            size_t{file[at + 4]} << 24 | size_t{file[at + 5]} << 16 | size_t{file[at + 6]} << 8 | file[at + 7];
        chunks.emplace_back(std::string(file.begin() + at, file.begin() + at + 4),
                            Bytes(file.begin() + at + 8, file.begin() + at + 8 + size));
        at += 8 + size + size % 2;
    }
    return chunks;
}

class NetpbmPeer : public ::testing::Test {
  protected:
    void SetUp() override {
        TAVRIK_SKIP_WITHOUT_PROGRAMS("ppmtoilbm", "ilbmtoppm", "ppmtopi1", "pi1toppm", "ppmtoneo", "neotoppm",
                                     "pbmtopi3", "pi3topbm", "pc1toppm", "ppmtobmp");
    }

    std::string File(const std::string& name) const { return Dir.File(name); }

    // ilbmtoppm's raw pixel values of an ILBM: see the comment at the top.
    std::vector<uint8_t> NetpbmValues(const Bytes& ilbm, int width, int height) {
        Bytes greyMap;
        for (int v = 0; v < 256; ++v)
            greyMap.insert(greyMap.end(), {uint8_t(v), uint8_t(v), uint8_t(v)});
        Bytes form = {'I', 'L', 'B', 'M'};
        for (auto& [id, data] : IlbmChunks(ilbm)) {
            if (id == "CAMG") continue;
            const Bytes chunk = test::IffChunk(id, id == "CMAP" ? greyMap : data);
            form.insert(form.end(), chunk.begin(), chunk.end());
        }
        const Bytes probe = test::IffChunk("FORM", form);
        test::WriteFileBytes(File("probe.iff"), probe);
        RunCommand("ilbmtoppm " + Quoted(File("probe.iff")) + " > " + Quoted(File("probe.ppm")) + " 2>/dev/null");
        const Pnm values = test::ReadPnm(File("probe.ppm"));
        EXPECT_EQ(values.Width, width);
        EXPECT_EQ(values.Height, height);
        std::vector<uint8_t> result;
        for (const Rgb& pixel : values.Pixels)
            result.push_back(pixel.R);
        return result;
    }

    Bytes WriteIlbm(const Pnm& picture, const std::string& options) {
        test::WritePpm(File("in.ppm"), picture);
        RunCommand("ppmtoilbm " + options + " " + Quoted(File("in.ppm")) + " > " + Quoted(File("out.iff")) +
                   " 2>/dev/null");
        return test::ReadFileBytes(File("out.iff"));
    }

    test::TempDir Dir;
};

struct IlbmCase {
    const char* Options;
    int Width, Height, Colours, Planes;
    bool FourBitColours = false;
};

TEST_F(NetpbmPeer, IndexedIlbmFilesOfOneToEightPlanesMatchIlbmtoppm) {
    const IlbmCase cases[] = {
        {"-fixplanes 1", 37, 9, 2, 1},
        {"-nocompress -fixplanes 2", 1, 5, 4, 2},
        {"-fixplanes 3", 17, 12, 7, 3},
        {"-nocompress -fixplanes 4", 100, 20, 16, 4},
        {"-fixplanes 4", 45, 20, 16, 4, true},
        {"-maxplanes 5", 320, 30, 32, 5},
        {"-maxplanes 8 -fixplanes 6", 63, 14, 50, 6},
        {"-maxplanes 8 -fixplanes 7 -nocompress", 45, 11, 100, 7},
        {"-maxplanes 8", 161, 17, 256, 8},
    };
    for (const IlbmCase& c : cases) {
        SCOPED_TRACE(c.Options);
        auto colour = [&](int i) {
            // Multiples of 16 make a CMAP with every low nibble zero.
            return c.FourBitColours ? Rgb{uint8_t(i * 16), uint8_t((15 - i) * 16), uint8_t(i * 7 % 16 * 16)}
                                    : DistinctColour(i);
        };
        const Pnm picture =
            MakePicture(c.Width, c.Height, [&](int x, int y) { return colour(PatternIndex(x, y, c.Colours)); });
        const Bytes file = WriteIlbm(picture, c.Options);
        ASSERT_EQ(file[28], c.Planes);
        TILBMImage ours;
        ours.LoadFromStream(file);
        EXPECT_EQ(ours.ILBMFileFormat, TILBMFileFormat::iffNormal);

        RunCommand("ilbmtoppm " + Quoted(File("out.iff")) + " > " + Quoted(File("peer.ppm")) + " 2>/dev/null");
        const Pnm peer = test::ReadPnm(File("peer.ppm"));
        auto spread = [&](uint8_t v) { return c.FourBitColours ? uint8_t(v + v / 16) : v; };
        ExpectPicture(ours, c.Width, c.Height, [&](int x, int y) {
            const Rgb p = peer.At(x, y);
            return Rgb{spread(p.R), spread(p.G), spread(p.B)};
        });
        EXPECT_EQ(peer.Pixels, picture.Pixels); // netpbm itself round-trips the picture
    }
}

TEST_F(NetpbmPeer, IlbmWithAMaskPlaneMatchesIlbmtoppm) {
    for (const char* compression : {"-compress", "-nocompress"}) {
        SCOPED_TRACE(compression);
        const int width = 23, height = 13;
        std::vector<bool> mask;
        for (int i = 0; i < width * height; ++i)
            mask.push_back(i % 3 != 0);
        test::WritePbm(File("mask.pbm"), width, height, mask);
        const Pnm picture =
            MakePicture(width, height, [](int x, int y) { return DistinctColour(PatternIndex(x, y, 8)); });
        const Bytes file = WriteIlbm(picture, std::string(compression) + " -fixplanes 3 -mmethod maskplane -maskfile " +
                                                  Quoted(File("mask.pbm")));
        ASSERT_EQ(file[29], 1); // masking: a mask plane follows every line
        TILBMImage ours;
        ours.LoadFromStream(file);
        RunCommand("ilbmtoppm " + Quoted(File("out.iff")) + " > " + Quoted(File("peer.ppm")) + " 2>/dev/null");
        const Pnm peer = test::ReadPnm(File("peer.ppm"));
        ExpectPicture(ours, width, height, [&](int x, int y) { return peer.At(x, y); });
    }
}

// Our hold-and-modify rules applied to raw pixel values.
Rgb HoldAndModify(Rgb previous, unsigned value, bool ham6, const Bytes& cmap) {
    const unsigned control = ham6 ? value >> 4 & 3 : value >> 6;
    const unsigned data = ham6 ? value & 15 : value & 63;
    const auto level = static_cast<uint8_t>(ham6 ? data * 17 : data * 4 + data / 16);
    switch (control) {
    case 0: return {cmap[3 * data], cmap[3 * data + 1], cmap[3 * data + 2]};
    case 1: previous.B = level; return previous;
    case 2: previous.R = level; return previous;
    default: previous.G = level; return previous;
    }
}

TEST_F(NetpbmPeer, HamIlbmFilesMatchIlbmtoppmThroughThePixelValues) {
    const struct {
        const char* Options;
        int Width;
        bool Ham6;
    } cases[] = {
        {"-ham6", 50, true}, {"-ham6 -nocompress", 33, true}, {"-ham8", 71, false}, {"-ham8 -nocompress", 40, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Options);
        const int height = 9;
        const Pnm picture = MakePicture(c.Width, height, [&](int x, int y) {
            return Rgb{uint8_t(x * 255 / c.Width), uint8_t(y * 28), uint8_t((x * y * 13) % 256)};
        });
        const Bytes file = WriteIlbm(picture, c.Options);
        TILBMImage ours;
        ours.LoadFromStream(file);
        ASSERT_EQ(ours.ILBMFileFormat, c.Ham6 ? TILBMFileFormat::iffHAM6 : TILBMFileFormat::iffHAM8);
        Bytes cmap;
        for (auto& [id, data] : IlbmChunks(file))
            if (id == "CMAP") cmap = data;
        cmap.resize(64 * 3, 0);
        // Grey CMAPs of netpbm have nonzero low nibbles, so they are used as they stand.
        const std::vector<uint8_t> values = NetpbmValues(file, c.Width, height);
        ASSERT_EQ(values.size(), size_t(c.Width) * height);
        for (int y = 0; y < height; ++y) {
            Rgb colour{0, 0, 0};
            for (int x = 0; x < c.Width; ++x) {
                colour = HoldAndModify(colour, values[size_t(y) * c.Width + x], c.Ham6, cmap);
                ASSERT_EQ(PixelOf(ours, x, y), colour) << "pixel " << x << "," << y;
            }
        }
    }
}

uint8_t StLevel(uint8_t netpbmLevel) { return static_cast<uint8_t>(netpbmLevel * 34); }

Pnm StPicture(int colours) {
    return MakePicture(
        320, 200,
        [&](int x, int y) {
            const int i = PatternIndex(x, y, colours);
            return Rgb{uint8_t(i % 8), uint8_t((i * 3 + 1) % 8), uint8_t(i / 2 % 8)};
        },
        7);
}

TEST_F(NetpbmPeer, DegasAndNeochromeFilesMatchPi1toppmAndNeotoppm) {
    const Pnm picture = StPicture(16);
    test::WritePpm(File("st.ppm"), picture);
    const struct {
        const char* Writer;
        const char* Reader;
        const char* Name;
        TAtariFormat Preset;
        TAtariFormat Expected;
    } cases[] = {{"ppmtopi1", "pi1toppm", "st.pi1", TAtariFormat::afUnknown, TAtariFormat::afDEGAS},
                 {"ppmtoneo", "neotoppm", "st.neo", TAtariFormat::afNEO, TAtariFormat::afNEO}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Writer);
        RunCommand(std::string(c.Writer) + " " + Quoted(File("st.ppm")) + " > " + Quoted(File(c.Name)) +
                   " 2>/dev/null");
        RunCommand(std::string(c.Reader) + " " + Quoted(File(c.Name)) + " > " + Quoted(File("peer.ppm")) +
                   " 2>/dev/null");
        const Pnm peer = test::ReadPnm(File("peer.ppm"));
        ASSERT_EQ(peer.MaxValue, 7);
        TNEOImage ours;
        ours.AtariFormat = c.Preset;
        ours.LoadFromFile(File(c.Name));
        EXPECT_EQ(ours.AtariFormat, c.Expected);
        ExpectPicture(ours, 320, 200, [&](int x, int y) {
            const Rgb p = peer.At(x, y);
            return Rgb{StLevel(p.R), StLevel(p.G), StLevel(p.B)};
        });
        EXPECT_EQ(peer.Pixels, picture.Pixels);
    }
}

TEST_F(NetpbmPeer, HighResolutionDegasMatchesPi3topbm) {
    std::vector<bool> black;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x)
            black.push_back(PatternIndex(x, y, 2) == 1);
    test::WritePbm(File("mono.pbm"), 640, 400, black);
    RunCommand("pbmtopi3 " + Quoted(File("mono.pbm")) + " > " + Quoted(File("mono.pi3")) + " 2>/dev/null");
    RunCommand("pi3topbm " + Quoted(File("mono.pi3")) + " > " + Quoted(File("peer.pbm")) + " 2>/dev/null");
    const Pnm peer = test::ReadPnm(File("peer.pbm"));
    TNEOImage ours;
    ours.LoadFromFile(File("mono.pi3"));
    ASSERT_EQ(ours.Width(), 640);
    ASSERT_EQ(ours.Height(), 400);
    // Through the pixel values: a set bit is value 1, which netpbm shows black.
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(ours.IndexAt(x, y), peer.At(x, y).R) << x << "," << y;
}

TEST_F(NetpbmPeer, CompressedDegasEliteMatchesPc1toppm) {
    // netpbm has no writer for these: the file is packed here, plane row after plane row.
    const Pnm picture = StPicture(16);
    std::vector<uint8_t> values(320 * 200);
    Bytes palette(32, 0);
    std::vector<Rgb> colours;
    for (size_t i = 0; i < values.size(); ++i) {
        const Rgb p = picture.Pixels[i];
        auto found = std::find(colours.begin(), colours.end(), p);
        if (found == colours.end()) found = colours.insert(colours.end(), p);
        values[i] = static_cast<uint8_t>(found - colours.begin());
    }
    ASSERT_LE(colours.size(), 16u);
    for (size_t i = 0; i < colours.size(); ++i) {
        palette[2 * i] = colours[i].R;
        palette[2 * i + 1] = static_cast<uint8_t>(colours[i].G << 4 | colours[i].B);
    }
    Bytes planeRows;
    for (int y = 0; y < 200; ++y)
        for (int plane = 0; plane < 4; ++plane)
            for (int byte = 0; byte < 40; ++byte) {
                uint8_t bits = 0;
                for (int bit = 0; bit < 8; ++bit)
                    if (values[size_t(y) * 320 + byte * 8 + bit] >> plane & 1) bits |= uint8_t(0x80 >> bit);
                planeRows.push_back(bits);
            }
    Bytes file(2 + palette.size(), 0);
    file[0] = 0x80; // compressed, low resolution
    std::copy(palette.begin(), palette.end(), file.begin() + 2);
    // pc1toppm packs each plane row on its own, so the runs are cut at plane rows here.
    for (size_t at = 0; at < planeRows.size(); at += 40) {
        const Bytes packed = test::ByteRun1(Bytes(planeRows.begin() + at, planeRows.begin() + at + 40));
        file.insert(file.end(), packed.begin(), packed.end());
    }
    file.insert(file.end(), 32, 0);
    test::WriteFileBytes(File("st.pc1"), file);
    RunCommand("pc1toppm " + Quoted(File("st.pc1")) + " > " + Quoted(File("peer.ppm")) + " 2>/dev/null");
    const Pnm peer = test::ReadPnm(File("peer.ppm"));
    EXPECT_EQ(peer.Pixels, picture.Pixels);
    TNEOImage ours;
    ours.AtariFormat = TAtariFormat::afDEGASEliteCompressed;
    ours.LoadFromStream(file);
    ExpectPicture(ours, 320, 200, [&](int x, int y) {
        const Rgb p = peer.At(x, y);
        return Rgb{StLevel(p.R), StLevel(p.G), StLevel(p.B)};
    });
}

TEST_F(NetpbmPeer, BitmapsWrittenByPpmtobmpReadBackAsTheirPicture) {
    for (const char* options : {"-bpp 24", "-bpp 8", "-bpp 4", "-bpp 1", "-os2 -bpp 8", "-os2 -bpp 24"}) {
        SCOPED_TRACE(options);
        const bool mono = std::strstr(options, "-bpp 1") != nullptr;
        const int colours = mono ? 2 : std::strstr(options, "-bpp 4") ? 16 : 200;
        const Pnm picture =
            MakePicture(29, 11, [&](int x, int y) { return DistinctColour(PatternIndex(x, y, colours)); });
        test::WritePpm(File("in.ppm"), picture);
        RunCommand(std::string("ppmtobmp ") + options + " " + Quoted(File("in.ppm")) + " > " + Quoted(File("out.bmp")) +
                   " 2>/dev/null");
        const Image ours = ReadBmp(test::ReadFileBytes(File("out.bmp")));
        ExpectPicture(ours, 29, 11, [&](int x, int y) { return picture.At(x, y); });
    }
}

// OS/2 bitmaps (the 12-byte header) hold 3-byte colour table entries. Every entry is used here, so a table
// read short or from the wrong place shows; the odd width pads every row of the 1- and 4-bit kinds.
TEST_F(NetpbmPeer, Os2PaletteBitmapsKeepEveryColourOfTheirTable) {
    for (const int bits : {1, 4, 8})
        for (const auto& [width, height] : {std::pair{320, 200}, std::pair{29, 11}}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, " + std::to_string(width) + " x " + std::to_string(height));
            const int colours = 1 << bits;
            const Pnm picture =
                MakePicture(width, height, [&](int x, int y) { return DistinctColour(PatternIndex(x, y, colours)); });
            test::WritePpm(File("in.ppm"), picture);
            RunCommand("ppmtobmp -os2 -bpp " + std::to_string(bits) + " " + Quoted(File("in.ppm")) + " > " +
                       Quoted(File("out.bmp")) + " 2>/dev/null");
            const Bytes file = test::ReadFileBytes(File("out.bmp"));
            ASSERT_EQ(file[14], 12); // the OS/2 header
            ExpectPicture(ReadBmp(file), width, height, [&](int x, int y) { return picture.At(x, y); });
        }
}

} // namespace
} // namespace tavrik
