// The demo data of examples/ against the program: load, rips, copper palettes and the C64 file, each
// checked against the demo manifest, from which every expected number comes.
#include "workspace/DataFileLoader.h"

#include "app/ByteStream.h"
#include "app/Error.h"
#include "app/IntegerText.h"
#include "memory/CopperList.h"
#include "support/DemoData.h"
#include "support/ScriptedDialogs.h"
#include "workspace/Rip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

namespace tavrik {
namespace {

// The items of the sprite colour bank list; a set sprite pixel becomes 16 + 4 x bank + its 2-bit value.
constexpr std::array<std::string_view, 4> SpriteBanks{"Sprite 0/1", "Sprite 2/3", "Sprite 4/5", "Sprite 6/7"};
constexpr int SpriteColourBase = 16;
// The highest stop line a copper walk takes: it passes every wait of the display.
constexpr int32_t MaxStopLine = 254;

int32_t Int(const nlohmann::json& value) { return static_cast<int32_t>(value.get<int64_t>()); }

const nlohmann::json& Manifest() { return test::DemoManifest(); }

// The controls as a user sets them for a graphic of the manifest, with the address typed as given.
RipControls ControlsFor(const nlohmann::json& ripper, const std::string& address) {
    RipControls controls;
    controls.Address = address;
    controls.ModeIndex = Int(ripper.at("ModeIndex"));
    controls.Bitplanes = std::to_string(Int(ripper.at("Bitplanes")));
    controls.TileWidth = std::to_string(Int(ripper.at("TileWidth")));
    controls.TileHeight = std::to_string(Int(ripper.at("TileHeight")));
    controls.RipWidth = std::to_string(Int(ripper.at("RipWidth")));
    controls.RipHeight = std::to_string(Int(ripper.at("RipHeight")));
    if (ripper.contains("SpriteMode")) {
        const auto bank = std::find(SpriteBanks.begin(), SpriteBanks.end(), ripper.at("SpriteMode").get<std::string>());
        if (bank == SpriteBanks.end()) throw Error("unknown sprite bank " + ripper.at("SpriteMode").get<std::string>());
        controls.SpriteBankIndex = static_cast<int32_t>(bank - SpriteBanks.begin());
    }
    return controls;
}

// The tiles a rip with these settings holds: whole tiles across times whole tiles down.
int32_t CellCount(const nlohmann::json& ripper) {
    return Int(ripper.at("RipWidth")) / Int(ripper.at("TileWidth")) *
           (Int(ripper.at("RipHeight")) / Int(ripper.at("TileHeight")));
}

// Empty when both pictures hold the same indexes; otherwise what differs and where it first does.
std::string IndexDifference(const Image& actual, const Image& expected) {
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height())
        return "size " + std::to_string(actual.Width()) + "x" + std::to_string(actual.Height()) + " instead of " +
               std::to_string(expected.Width()) + "x" + std::to_string(expected.Height());
    int differing = 0;
    std::string first;
    for (int32_t y = 0; y < expected.Height(); ++y)
        for (int32_t x = 0; x < expected.Width(); ++x)
            if (actual.IndexAt(x, y) != expected.IndexAt(x, y) && differing++ == 0)
                first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                        std::to_string(actual.IndexAt(x, y)) + ", not " + std::to_string(expected.IndexAt(x, y));
    return differing == 0 ? "" : std::to_string(differing) + " pixels differ, first " + first;
}

void ExpectPalette(const std::array<PaletteEntry, 32>& palette, const std::vector<Colour>& expected) {
    ASSERT_EQ(expected.size(), palette.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(ColourFromEntry(palette[i]), expected[i]) << "colour " << i;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class DemoStateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Load = LoadDataFile(Work, test::ExampleFile(Manifest().at("SaveState").get<std::string>()), Dialogs);
        ASSERT_TRUE(Load.Loaded) << "the demo state was not found";
    }

    // Rips a graphic of the manifest with its ripper settings at the address text given.
    void RipGraphic(const nlohmann::json& graphic, const std::string& address) {
        Rip(Work, ControlsFor(graphic.at("Ripper"), address));
    }
    // The address typed as chip RAM address ("+$10000") or as file offset ("$10034").
    static std::string ChipAddress(const nlohmann::json& graphic) {
        return "+" + graphic.at("AddressText").get<std::string>();
    }
    static std::string FileOffset(const nlohmann::json& graphic) {
        return graphic.at("FileOffsetText").get<std::string>();
    }

    test::ScriptedDialogs Dialogs;
    Workspace Work;
    DataFileLoad Load;
};

TEST_F(DemoStateTest, LoadFindsChipRamAndTheSavedRegisters) {
    const nlohmann::json& manifest = Manifest();
    const MemoryState& memory = Work.Memory;
    EXPECT_EQ(memory.ChipRamOffset, manifest.at("ChipRamOffset").get<int64_t>());
    EXPECT_EQ(memory.ChipRamSize, manifest.at("ChipRamSize").get<int64_t>());
    EXPECT_GE(memory.MemoryImage.size(), size_t{memory.ChipRamOffset} + memory.ChipRamSize);

    const nlohmann::json& display = manifest.at("Display");
    const ChipsetSnapshot& chip = memory.Snapshot;
    EXPECT_EQ(chip.COP1LC, display.at("COP1LC").get<int64_t>());
    EXPECT_EQ(chip.COP2LC, display.at("COP2LC").get<int64_t>());
    EXPECT_EQ(chip.DIWSTRT, display.at("DIWSTRT").get<int64_t>());
    EXPECT_EQ(chip.DIWSTOP, display.at("DIWSTOP").get<int64_t>());
    EXPECT_EQ(chip.DDFSTRT, display.at("DDFSTRT").get<int64_t>());
    EXPECT_EQ(chip.DDFSTOP, display.at("DDFSTOP").get<int64_t>());
    EXPECT_EQ(chip.BPL1MOD, display.at("BPL1MOD").get<int64_t>());
    EXPECT_EQ(chip.BPL2MOD, display.at("BPL2MOD").get<int64_t>());
    const nlohmann::json& pointers = display.at("BitplanePointers");
    for (size_t n = 0; n < chip.BPLPT.size(); ++n)
        EXPECT_EQ(chip.BPLPT[n], n < pointers.size() ? pointers.at(n).get<int64_t>() : 0) << "BPL" << n + 1 << "PT";
    EXPECT_TRUE(chip.HasEcsColours);
    EXPECT_FALSE(chip.HasAgaColours);
    EXPECT_TRUE(Dialogs.History.empty());
}

TEST_F(DemoStateTest, InfoLinesReportTheChunkThePlanesAndTheCopperList) {
    const nlohmann::json& manifest = Manifest();
    const std::vector<std::string>& lines = Load.InfoLines;
    const uint32_t offset = Int(manifest.at("ChipRamOffset"));
    EXPECT_EQ(lines.at(0), "Amiga State File detected: " + manifest.at("Description").get<std::string>());

    const std::vector<nlohmann::json>& chunks = manifest.at("Chunks");
    const auto cram = std::find_if(chunks.begin(), chunks.end(), [](const nlohmann::json& chunk) {
        return chunk.at("Name").get<std::string>() == "CRAM";
    });
    ASSERT_NE(cram, chunks.end());
    EXPECT_TRUE(HasLine(lines, "ZLib compressed chunk CRAM found at offset " + DollarHex(Int((*cram).at("Offset"))) +
                                   " length " + manifest.at("ChipRamSizeText").get<std::string>()));
    EXPECT_TRUE(HasLine(lines, "Total chip memory: " + manifest.at("ChipRamSizeText").get<std::string>() + " (" +
                                   std::to_string(manifest.at("ChipRamSize").get<int64_t>() / 1024) + "kb)"));
    EXPECT_TRUE(
        HasLine(lines, "Chip memory offset in savestate: " + manifest.at("ChipRamOffsetText").get<std::string>()));

    const nlohmann::json& copper = manifest.at("CopperList");
    EXPECT_TRUE(HasLine(lines, "Copperlist address in chip memory: " + copper.at("AddressText").get<std::string>()));
    EXPECT_TRUE(HasLine(lines, "Copperlist offset in savestate: " + copper.at("FileOffsetText").get<std::string>()));
    const nlohmann::json& pointers = manifest.at("Display").at("BitplanePointers");
    for (size_t n = 0; n < pointers.size(); ++n) {
        const std::string plane = "Bpl" + std::to_string(n + 1) + "Pt";
        const uint32_t address = Int(pointers.at(n));
        EXPECT_TRUE(HasLine(lines, plane + " address in chip memory: " + DollarHex(address))) << plane;
        EXPECT_TRUE(HasLine(lines, plane + " offset in savestate: " + DollarHex(address + offset))) << plane;
    }
    EXPECT_TRUE(HasLine(lines, "DDFStrt: " + DollarHex(Int(manifest.at("Display").at("DDFSTRT"))) +
                                   ", DDFStop: " + DollarHex(Int(manifest.at("Display").at("DDFSTOP"))) +
                                   ", Width: " + std::to_string(Int(manifest.at("Display").at("Width")))));
}

TEST_F(DemoStateTest, TitleScreenRipsToItsIndexPicture) {
    const nlohmann::json& title = Manifest().at("TitleScreen");
    const Image expected = test::ReadIndexPicture(title.at("Indexes").get<std::string>());
    ASSERT_EQ(expected.Width(), Int(title.at("Width")));
    ASSERT_EQ(expected.Height(), Int(title.at("Height")));
    // Both ways of typing the address reach the same bytes.
    for (const std::string& address : {ChipAddress(title), FileOffset(title)}) {
        RipGraphic(title, address);
        EXPECT_EQ(Work.Ripper.TileCount, CellCount(title.at("Ripper"))) << address;
        EXPECT_EQ(IndexDifference(Work.TileSheet, expected), "") << address;
    }
}

TEST_F(DemoStateTest, AcbmAndIlbmTileSetsRipToTheSameSheet) {
    for (const char* name : {"TilesAcbm", "TilesIlbm"}) {
        const nlohmann::json& tiles = Manifest().at(name);
        const nlohmann::json& ripper = tiles.at("Ripper");
        RipGraphic(tiles, FileOffset(tiles));
        EXPECT_EQ(Work.Ripper.TileCount, CellCount(ripper)) << name;
        EXPECT_LE(Int(tiles.at("Count")), Work.Ripper.TileCount) << name << ": the sheet has no room for every tile";
        EXPECT_EQ(IndexDifference(Work.TileSheet, test::ReadIndexPicture(tiles.at("Indexes").get<std::string>())), "")
            << name;
    }
    // The interleaved copy read plane after plane is no tile set: the mode decides what is seen.
    const nlohmann::json& ilbm = Manifest().at("TilesIlbm");
    Rip(Work, ControlsFor(Manifest().at("TilesAcbm").at("Ripper"), FileOffset(ilbm)));
    EXPECT_NE(IndexDifference(Work.TileSheet, test::ReadIndexPicture(ilbm.at("Indexes").get<std::string>())), "");
}

TEST_F(DemoStateTest, SpritesRipIntoTheirColourBank) {
    const nlohmann::json& sprites = Manifest().at("Sprites");
    const nlohmann::json& ripper = sprites.at("Ripper");
    const RipControls controls = ControlsFor(ripper, ChipAddress(sprites));
    Rip(Work, controls);
    const int32_t count = Int(sprites.at("Count"));
    ASSERT_EQ(Work.Ripper.TileCount, CellCount(ripper));
    ASSERT_EQ(count, Work.Ripper.TileCount);

    // Sprite n from its bytes: per row a word of plane 0 (bit 0 of the value) and a word of plane 1 (bit 1).
    const int32_t width = Int(ripper.at("TileWidth")), height = Int(ripper.at("TileHeight"));
    const uint8_t base = static_cast<uint8_t>(SpriteColourBase + 4 * controls.SpriteBankIndex);
    Image expected(Int(ripper.at("RipWidth")), Int(ripper.at("RipHeight")), PixelFormat::Indexed8);
    for (int32_t n = 0; n < count; ++n)
        for (int32_t y = 0; y < height; ++y) {
            const size_t row =
                static_cast<size_t>(Int(sprites.at("FileOffset")) + n * Int(sprites.at("BytesPerSprite")) + y * 4);
            const uint16_t plane0 = WordBEAt(Work.Memory.MemoryImage, row);
            const uint16_t plane1 = WordBEAt(Work.Memory.MemoryImage, row + 2);
            for (int32_t x = 0; x < width; ++x) {
                const int value = (plane0 >> (15 - x) & 1) | (plane1 >> (15 - x) & 1) << 1;
                expected.Row(y)[n * width + x] = static_cast<uint8_t>(value == 0 ? 0 : base + value);
            }
        }
    EXPECT_EQ(IndexDifference(Work.TileSheet, expected), "");

    // Every sprite is drawn, no two alike, in the bank's three colours over the background.
    std::set<std::vector<uint8_t>> shapes;
    for (int32_t n = 0; n < count; ++n) {
        std::vector<uint8_t> shape;
        for (int32_t y = 0; y < height; ++y)
            shape.insert(shape.end(), expected.Row(y) + n * width, expected.Row(y) + (n + 1) * width);
        EXPECT_TRUE(std::any_of(shape.begin(), shape.end(), [](uint8_t p) { return p != 0; })) << "sprite " << n;
        shapes.insert(shape);
    }
    EXPECT_EQ(shapes.size(), static_cast<size_t>(count)) << "two sprites rip alike";
    const std::set<uint8_t> colours(Work.TileSheet.Data().begin(), Work.TileSheet.Data().end());
    const std::set<uint8_t> bankColours{0, static_cast<uint8_t>(base + 1), static_cast<uint8_t>(base + 2),
                                        static_cast<uint8_t>(base + 3)};
    EXPECT_EQ(colours, bankColours);
}

TEST_F(DemoStateTest, CopperListGivesTheTopPaletteAboveTheWaitAndTheLowerOneBelow) {
    const nlohmann::json& manifest = Manifest();
    const nlohmann::json& copper = manifest.at("CopperList");
    const uint32_t start = CopperlistActionStart(Work.Memory);
    EXPECT_EQ(start, copper.at("FileOffset").get<int64_t>());

    const CopperWalk top = WalkCopperList(Work.Memory, start, Int(copper.at("StopLineForTopPalette")));
    ASSERT_EQ(top.Error, "");
    ExpectPalette(top.Palette, test::ManifestColours(manifest.at("TopPalette")));
    EXPECT_EQ(top.LastBplcon0, manifest.at("Display").at("BPLCON0").get<int64_t>());

    const CopperWalk lower = WalkCopperList(Work.Memory, start, MaxStopLine);
    ASSERT_EQ(lower.Error, "");
    ExpectPalette(lower.Palette, test::ManifestColours(manifest.at("SavedPalette")));
    for (const nlohmann::json& change : manifest.at("LowerHalfChanges")) {
        const size_t index = static_cast<size_t>(change.at("Index").get<int64_t>());
        const Colour colour = ColourTextToColour(change.at("Colour").get<std::string>());
        EXPECT_EQ(ColourFromEntry(lower.Palette.at(index)), colour) << "colour " << index;
        EXPECT_NE(ColourFromEntry(top.Palette.at(index)), colour) << "colour " << index << " is set above the wait";
        const std::string write =
            "; " + change.at("Register").get<std::string>() + " = 0x" + change.at("Word").get<std::string>().substr(1);
        EXPECT_TRUE(std::any_of(lower.Lines.begin(), lower.Lines.end(), [&](const std::string& line) {
            return line.ends_with(write);
        })) << write;
    }
}

TEST_F(DemoStateTest, MidScreenWaitEndsTheWalkUpToItsLine) {
    const nlohmann::json& copper = Manifest().at("CopperList");
    const int32_t line = Int(copper.at("MidScreenLine"));
    const uint32_t start = CopperlistActionStart(Work.Memory);
    // A wait for line L ends a walk whose stop line lies below L; a stop line of L passes it.
    ExpectPalette(WalkCopperList(Work.Memory, start, line - 1).Palette,
                  test::ManifestColours(Manifest().at("TopPalette")));
    ExpectPalette(WalkCopperList(Work.Memory, start, line).Palette,
                  test::ManifestColours(Manifest().at("SavedPalette")));
}

TEST_F(DemoStateTest, SavedPaletteIsTheEcsColourRegisters) {
    const std::vector<Colour> saved = test::ManifestColours(Manifest().at("SavedPalette"));
    ExpectPalette(Work.Memory.Snapshot.EcsPalette, saved);
    ASSERT_EQ(Load.Palette, SavedPalette::Ecs);
    ApplySavedPalette(Work, Load.Palette);
    for (size_t i = 0; i < saved.size(); ++i)
        EXPECT_EQ(ColourFromEntry(Work.Palette.Entries[i]), saved[i]) << "entry " << i;
}

TEST(DemoC64Tiles, RawFileRipsIntoDistinctWideTiles) {
    const nlohmann::json& c64 = Manifest().at("C64Tiles");
    const nlohmann::json& ripper = c64.at("Ripper");
    test::ScriptedDialogs dialogs;
    Workspace work;
    ASSERT_TRUE(LoadDataFile(work, test::ExampleFile(c64.at("File").get<std::string>()), dialogs).Loaded);
    const std::vector<uint8_t>& bytes = work.Memory.MemoryImage;
    const int32_t count = Int(c64.at("Count"));
    ASSERT_EQ(bytes.size(), static_cast<size_t>(count * Int(c64.at("BytesPerTile"))));

    Rip(work, ControlsFor(ripper, c64.at("FileOffsetText").get<std::string>()));
    EXPECT_EQ(work.Ripper.TileCount, count);
    EXPECT_EQ(work.Ripper.TileCount, CellCount(ripper));

    // A tile row is one byte of four 2-bit values, each two pixels wide, the leftmost in bits 7-6.
    const int32_t columns = Int(ripper.at("RipWidth")) / Int(ripper.at("TileWidth"));
    Image expected(Int(ripper.at("RipWidth")), Int(ripper.at("RipHeight")), PixelFormat::Indexed8);
    std::set<std::vector<uint8_t>> tiles;
    for (int32_t n = 0; n < count; ++n) {
        const auto tile = bytes.begin() + Int(c64.at("FileOffset")) + n * Int(c64.at("BytesPerTile"));
        tiles.insert(std::vector<uint8_t>(tile, tile + Int(c64.at("BytesPerTile"))));
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 8; ++x)
                expected.Row(n / columns * 8 + y)[n % columns * 8 + x] =
                    static_cast<uint8_t>(tile[y] >> (6 - 2 * (x / 2)) & 3);
    }
    EXPECT_EQ(IndexDifference(work.TileSheet, expected), "");
    EXPECT_EQ(tiles.size(), static_cast<size_t>(count)) << "two tiles are alike";
}

} // namespace
} // namespace tavrik
