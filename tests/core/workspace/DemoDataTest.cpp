// The demo data of examples/ against the program: load, rips, copper palettes and the C64 file, each
// checked against the demo manifest, from which every expected number comes.
#include "workspace/DataFileLoader.h"

#include "app/ByteStream.h"
#include "app/Error.h"
#include "app/IntegerText.h"
#include "memory/CopperList.h"
#include "workspace/Rip.h"
#include "support/DemoData.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

namespace tavrik {
namespace {

using test::JsonValue;

// The items of the sprite colour bank list; a set sprite pixel becomes 16 + 4 x bank + its 2-bit value.
constexpr std::array<std::string_view, 4> SpriteBanks{"Sprite 0/1", "Sprite 2/3", "Sprite 4/5", "Sprite 6/7"};
constexpr int SpriteColourBase = 16;
// The highest stop line a copper walk takes: it passes every wait of the display.
constexpr int32_t MaxStopLine = 254;

int32_t Int(const JsonValue& value) { return static_cast<int32_t>(value.AsInt()); }

const JsonValue& Manifest() { return test::DemoManifest(); }

// The controls as a user sets them for a graphic of the manifest, with the address typed as given.
RipControls ControlsFor(const JsonValue& ripper, const std::string& address) {
    RipControls controls;
    controls.Address = address;
    controls.ModeIndex = Int(ripper["ModeIndex"]);
    controls.Bitplanes = std::to_string(Int(ripper["Bitplanes"]));
    controls.TileWidth = std::to_string(Int(ripper["TileWidth"]));
    controls.TileHeight = std::to_string(Int(ripper["TileHeight"]));
    controls.RipWidth = std::to_string(Int(ripper["RipWidth"]));
    controls.RipHeight = std::to_string(Int(ripper["RipHeight"]));
    if (ripper.Has("SpriteMode")) {
        const auto bank = std::find(SpriteBanks.begin(), SpriteBanks.end(), ripper["SpriteMode"].AsString());
        if (bank == SpriteBanks.end()) throw Error("unknown sprite bank " + ripper["SpriteMode"].AsString());
        controls.SpriteBankIndex = static_cast<int32_t>(bank - SpriteBanks.begin());
    }
    return controls;
}

// The tiles a rip with these settings holds: whole tiles across times whole tiles down.
int32_t CellCount(const JsonValue& ripper) {
    return Int(ripper["RipWidth"]) / Int(ripper["TileWidth"]) * (Int(ripper["RipHeight"]) / Int(ripper["TileHeight"]));
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
        Load = LoadDataFile(Work, test::ExampleFile(Manifest()["SaveState"].AsString()), Dialogs);
        ASSERT_TRUE(Load.Loaded) << "the demo state was not found";
    }

    // Rips a graphic of the manifest with its ripper settings at the address text given.
    void RipGraphic(const JsonValue& graphic, const std::string& address) {
        Rip(Work, ControlsFor(graphic["Ripper"], address));
    }
    // The address typed as chip RAM address ("+$10000") or as file offset ("$10034").
    static std::string ChipAddress(const JsonValue& graphic) { return "+" + graphic["AddressText"].AsString(); }
    static std::string FileOffset(const JsonValue& graphic) { return graphic["FileOffsetText"].AsString(); }

    test::ScriptedDialogs Dialogs;
    Workspace Work;
    DataFileLoad Load;
};

TEST_F(DemoStateTest, LoadFindsChipRamAndTheSavedRegisters) {
    const JsonValue& manifest = Manifest();
    const MemoryState& memory = Work.Memory;
    EXPECT_EQ(memory.ChipRamOffset, manifest["ChipRamOffset"].AsInt());
    EXPECT_EQ(memory.ChipRamSize, manifest["ChipRamSize"].AsInt());
    EXPECT_GE(memory.MemoryImage.size(), size_t{memory.ChipRamOffset} + memory.ChipRamSize);

    const JsonValue& display = manifest["Display"];
    const ChipsetSnapshot& chip = memory.Snapshot;
    EXPECT_EQ(chip.COP1LC, display["COP1LC"].AsInt());
    EXPECT_EQ(chip.COP2LC, display["COP2LC"].AsInt());
    EXPECT_EQ(chip.DIWSTRT, display["DIWSTRT"].AsInt());
    EXPECT_EQ(chip.DIWSTOP, display["DIWSTOP"].AsInt());
    EXPECT_EQ(chip.DDFSTRT, display["DDFSTRT"].AsInt());
    EXPECT_EQ(chip.DDFSTOP, display["DDFSTOP"].AsInt());
    EXPECT_EQ(chip.BPL1MOD, display["BPL1MOD"].AsInt());
    EXPECT_EQ(chip.BPL2MOD, display["BPL2MOD"].AsInt());
    const JsonValue& pointers = display["BitplanePointers"];
    for (size_t n = 0; n < chip.BPLPT.size(); ++n)
        EXPECT_EQ(chip.BPLPT[n], n < pointers.Size() ? pointers[n].AsInt() : 0) << "BPL" << n + 1 << "PT";
    EXPECT_TRUE(chip.HasEcsColours);
    EXPECT_FALSE(chip.HasAgaColours);
    EXPECT_TRUE(Dialogs.History.empty());
}

TEST_F(DemoStateTest, InfoLinesReportTheChunkThePlanesAndTheCopperList) {
    const JsonValue& manifest = Manifest();
    const std::vector<std::string>& lines = Load.InfoLines;
    const uint32_t offset = Int(manifest["ChipRamOffset"]);
    EXPECT_EQ(lines.at(0), "Amiga State File detected: " + manifest["Description"].AsString());

    const std::vector<JsonValue>& chunks = manifest["Chunks"].Elements();
    const auto cram = std::find_if(chunks.begin(), chunks.end(),
                                   [](const JsonValue& chunk) { return chunk["Name"].AsString() == "CRAM"; });
    ASSERT_NE(cram, chunks.end());
    EXPECT_TRUE(HasLine(lines, "ZLib compressed chunk CRAM found at offset " + DollarHex(Int((*cram)["Offset"])) +
                                   " length " + manifest["ChipRamSizeText"].AsString()));
    EXPECT_TRUE(HasLine(lines, "Total chip memory: " + manifest["ChipRamSizeText"].AsString() + " (" +
                                   std::to_string(manifest["ChipRamSize"].AsInt() / 1024) + "kb)"));
    EXPECT_TRUE(HasLine(lines, "Chip memory offset in savestate: " + manifest["ChipRamOffsetText"].AsString()));

    const JsonValue& copper = manifest["CopperList"];
    EXPECT_TRUE(HasLine(lines, "Copperlist address in chip memory: " + copper["AddressText"].AsString()));
    EXPECT_TRUE(HasLine(lines, "Copperlist offset in savestate: " + copper["FileOffsetText"].AsString()));
    const JsonValue& pointers = manifest["Display"]["BitplanePointers"];
    for (size_t n = 0; n < pointers.Size(); ++n) {
        const std::string plane = "Bpl" + std::to_string(n + 1) + "Pt";
        const uint32_t address = Int(pointers[n]);
        EXPECT_TRUE(HasLine(lines, plane + " address in chip memory: " + DollarHex(address))) << plane;
        EXPECT_TRUE(HasLine(lines, plane + " offset in savestate: " + DollarHex(address + offset))) << plane;
    }
    EXPECT_TRUE(HasLine(lines, "DDFStrt: " + DollarHex(Int(manifest["Display"]["DDFSTRT"])) +
                                   ", DDFStop: " + DollarHex(Int(manifest["Display"]["DDFSTOP"])) +
                                   ", Width: " + std::to_string(Int(manifest["Display"]["Width"]))));
}

TEST_F(DemoStateTest, TitleScreenRipsToItsIndexPicture) {
    const JsonValue& title = Manifest()["TitleScreen"];
    const Image expected = test::ReadIndexPicture(title["Indexes"].AsString());
    ASSERT_EQ(expected.Width(), Int(title["Width"]));
    ASSERT_EQ(expected.Height(), Int(title["Height"]));
    // Both ways of typing the address reach the same bytes.
    for (const std::string& address : {ChipAddress(title), FileOffset(title)}) {
        RipGraphic(title, address);
        EXPECT_EQ(Work.Ripper.TileCount, CellCount(title["Ripper"])) << address;
        EXPECT_EQ(IndexDifference(Work.TileSheet, expected), "") << address;
    }
}

TEST_F(DemoStateTest, AcbmAndIlbmTileSetsRipToTheSameSheet) {
    for (const char* name : {"TilesAcbm", "TilesIlbm"}) {
        const JsonValue& tiles = Manifest()[name];
        const JsonValue& ripper = tiles["Ripper"];
        RipGraphic(tiles, FileOffset(tiles));
        EXPECT_EQ(Work.Ripper.TileCount, CellCount(ripper)) << name;
        EXPECT_LE(Int(tiles["Count"]), Work.Ripper.TileCount) << name << ": the sheet has no room for every tile";
        EXPECT_EQ(IndexDifference(Work.TileSheet, test::ReadIndexPicture(tiles["Indexes"].AsString())), "") << name;
    }
    // The interleaved copy read plane after plane is no tile set: the mode decides what is seen.
    const JsonValue& ilbm = Manifest()["TilesIlbm"];
    Rip(Work, ControlsFor(Manifest()["TilesAcbm"]["Ripper"], FileOffset(ilbm)));
    EXPECT_NE(IndexDifference(Work.TileSheet, test::ReadIndexPicture(ilbm["Indexes"].AsString())), "");
}

TEST_F(DemoStateTest, SpritesRipIntoTheirColourBank) {
    const JsonValue& sprites = Manifest()["Sprites"];
    const JsonValue& ripper = sprites["Ripper"];
    const RipControls controls = ControlsFor(ripper, ChipAddress(sprites));
    Rip(Work, controls);
    const int32_t count = Int(sprites["Count"]);
    ASSERT_EQ(Work.Ripper.TileCount, CellCount(ripper));
    ASSERT_EQ(count, Work.Ripper.TileCount);

    // Sprite n from its bytes: per row a word of plane 0 (bit 0 of the value) and a word of plane 1 (bit 1).
    const int32_t width = Int(ripper["TileWidth"]), height = Int(ripper["TileHeight"]);
    const uint8_t base = static_cast<uint8_t>(SpriteColourBase + 4 * controls.SpriteBankIndex);
    Image expected(Int(ripper["RipWidth"]), Int(ripper["RipHeight"]), PixelFormat::Indexed8);
    for (int32_t n = 0; n < count; ++n)
        for (int32_t y = 0; y < height; ++y) {
            const size_t row =
                static_cast<size_t>(Int(sprites["FileOffset"]) + n * Int(sprites["BytesPerSprite"]) + y * 4);
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
    const JsonValue& manifest = Manifest();
    const JsonValue& copper = manifest["CopperList"];
    const uint32_t start = CopperlistActionStart(Work.Memory);
    EXPECT_EQ(start, copper["FileOffset"].AsInt());

    const CopperWalk top = WalkCopperList(Work.Memory, start, Int(copper["StopLineForTopPalette"]));
    ASSERT_EQ(top.Error, "");
    ExpectPalette(top.Palette, test::ManifestColours(manifest["TopPalette"]));
    EXPECT_EQ(top.LastBplcon0, manifest["Display"]["BPLCON0"].AsInt());

    const CopperWalk lower = WalkCopperList(Work.Memory, start, MaxStopLine);
    ASSERT_EQ(lower.Error, "");
    ExpectPalette(lower.Palette, test::ManifestColours(manifest["SavedPalette"]));
    for (const JsonValue& change : manifest["LowerHalfChanges"].Elements()) {
        const size_t index = static_cast<size_t>(change["Index"].AsInt());
        const Colour colour = ColourTextToColour(change["Colour"].AsString());
        EXPECT_EQ(ColourFromEntry(lower.Palette.at(index)), colour) << "colour " << index;
        EXPECT_NE(ColourFromEntry(top.Palette.at(index)), colour) << "colour " << index << " is set above the wait";
        const std::string write = "; " + change["Register"].AsString() + " = 0x" + change["Word"].AsString().substr(1);
        EXPECT_TRUE(std::any_of(lower.Lines.begin(), lower.Lines.end(), [&](const std::string& line) {
            return line.ends_with(write);
        })) << write;
    }
}

TEST_F(DemoStateTest, MidScreenWaitEndsTheWalkUpToItsLine) {
    const JsonValue& copper = Manifest()["CopperList"];
    const int32_t line = Int(copper["MidScreenLine"]);
    const uint32_t start = CopperlistActionStart(Work.Memory);
    // A wait for line L ends a walk whose stop line lies below L; a stop line of L passes it.
    ExpectPalette(WalkCopperList(Work.Memory, start, line - 1).Palette,
                  test::ManifestColours(Manifest()["TopPalette"]));
    ExpectPalette(WalkCopperList(Work.Memory, start, line).Palette, test::ManifestColours(Manifest()["SavedPalette"]));
}

TEST_F(DemoStateTest, SavedPaletteIsTheEcsColourRegisters) {
    const std::vector<Colour> saved = test::ManifestColours(Manifest()["SavedPalette"]);
    ExpectPalette(Work.Memory.Snapshot.EcsPalette, saved);
    ASSERT_EQ(Load.Palette, SavedPalette::Ecs);
    ApplySavedPalette(Work, Load.Palette);
    for (size_t i = 0; i < saved.size(); ++i)
        EXPECT_EQ(ColourFromEntry(Work.Palette.Entries[i]), saved[i]) << "entry " << i;
}

TEST(DemoC64Tiles, RawFileRipsIntoDistinctWideTiles) {
    const JsonValue& c64 = Manifest()["C64Tiles"];
    const JsonValue& ripper = c64["Ripper"];
    test::ScriptedDialogs dialogs;
    Workspace work;
    ASSERT_TRUE(LoadDataFile(work, test::ExampleFile(c64["File"].AsString()), dialogs).Loaded);
    const std::vector<uint8_t>& bytes = work.Memory.MemoryImage;
    const int32_t count = Int(c64["Count"]);
    ASSERT_EQ(bytes.size(), static_cast<size_t>(count * Int(c64["BytesPerTile"])));

    Rip(work, ControlsFor(ripper, c64["FileOffsetText"].AsString()));
    EXPECT_EQ(work.Ripper.TileCount, count);
    EXPECT_EQ(work.Ripper.TileCount, CellCount(ripper));

    // A tile row is one byte of four 2-bit values, each two pixels wide, the leftmost in bits 7-6.
    const int32_t columns = Int(ripper["RipWidth"]) / Int(ripper["TileWidth"]);
    Image expected(Int(ripper["RipWidth"]), Int(ripper["RipHeight"]), PixelFormat::Indexed8);
    std::set<std::vector<uint8_t>> tiles;
    for (int32_t n = 0; n < count; ++n) {
        const auto tile = bytes.begin() + Int(c64["FileOffset"]) + n * Int(c64["BytesPerTile"]);
        tiles.insert(std::vector<uint8_t>(tile, tile + Int(c64["BytesPerTile"])));
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 8; ++x)
                expected.Row(n / columns * 8 + y)[n % columns * 8 + x] =
                    static_cast<uint8_t>(tile[y] >> (6 - 2 * (x / 2)) & 3);
    }
    EXPECT_EQ(IndexDifference(work.TileSheet, expected), "");
    EXPECT_EQ(tiles.size(), static_cast<size_t>(count)) << "two tiles are alike";
}

// The manifest reader itself: a misread manifest would let the checks above compare the wrong things.
TEST(ManifestReader, ReadsNestedValuesInOrder) {
    const JsonValue value = JsonValue::Parse(R"( {"b": [1, -2.5e1, 0], "a": {"t": true, "f": false, "n": null},
        "s": "q\"\\\/\n\u00e9\u20ac"} )");
    ASSERT_EQ(value.Type(), JsonValue::Kind::Object);
    ASSERT_EQ(value.Size(), 3u);
    EXPECT_EQ(value.Elements()[0].Size(), 3u); // "b" first, as written
    EXPECT_EQ(value["b"][1].AsNumber(), -25.0);
    EXPECT_EQ(value["b"][0].AsInt(), 1);
    EXPECT_TRUE(value["a"]["t"].AsBool());
    EXPECT_FALSE(value["a"]["f"].AsBool());
    EXPECT_TRUE(value["a"]["n"].IsNull());
    EXPECT_EQ(value["s"].AsString(), "q\"\\/\n\xC3\xA9\xE2\x82\xAC");
    EXPECT_FALSE(value.Has("c"));
}

TEST(ManifestReader, MalformedTextNamesLineAndColumn) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"{\"a\": 1,\n \"b\" 2}", "line 2, column 6: expected ':'"},
        {"[1, 2", "expected ']'"},
        {"[1,]", "expected a value"},
        {"\"open", "unterminated string"},
        {"\"a\\x\"", "unknown escape"},
        {"\"\\u12\"", "four hex digits"},
        {"01", "text after the value"},
        {"-", "expected a digit"},
        {"1e999", "out of range"},
        {"", "unexpected end of text"},
        {"tru", "expected a value"},
        {std::string(1000, '['), "nesting deeper"},
    };
    for (const auto& [text, message] : cases) {
        try {
            JsonValue::Parse(text);
            ADD_FAILURE() << "no error for " << text;
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << text << ": " << error.what();
        }
    }
}

TEST(ManifestReader, WrongLookUpsAreErrors) {
    const JsonValue value = JsonValue::Parse(R"({"n": 1.5, "list": [1], "s": "x"})");
    EXPECT_THROW(value["missing"], Error);
    EXPECT_THROW(value["list"][1], Error);
    EXPECT_THROW(value["n"].AsInt(), Error);
    EXPECT_THROW(value["s"].AsNumber(), Error);
    EXPECT_THROW(value["list"]["key"], Error);
    EXPECT_THROW(value["s"].Elements(), Error);
    EXPECT_THROW(JsonValue::ParseFile(test::ExampleFile("no-such-manifest.json")), Error);
}

} // namespace
} // namespace tavrik
