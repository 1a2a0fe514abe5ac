// Writing the Tiled files: names beside the map file, failures that name the file, and a file that is
// either the old one or the new one, never a part of one.
#include "support/OutsidePrograms.h"
#include "support/TempDir.h"
#include "support/TiledReference.h"

#include "app/Error.h"
#include "app/Files.h"
#include "tiled/TiledFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tavrik::test {
namespace {

namespace fs = std::filesystem;

// A 2 x 1 map of 8 x 8 tiles over a sheet of two tiles, the second cell mirrored.
TiledMap SmallMap(uint8_t shade) {
    TiledMap map;
    map.Width = 2;
    map.Height = 1;
    map.Gids = {1, 2 | TiledFlipXBit};
    map.Tileset.TileWidth = map.Tileset.TileHeight = 8;
    map.Tileset.Columns = map.Tileset.TileCount = 2;
    map.Tileset.Sheet.Reset(16, 8, PixelFormat::Indexed8);
    for (int32_t x = 0; x < 16; ++x)
        map.Tileset.Sheet.Row(x % 8)[x] = shade;
    map.Tileset.Sheet.ColourTable[shade] = EntryFromColour(MakeColour(shade, 0, 255));
    return map;
}

std::string ErrorOf(const TiledMap& map, const std::string& path, TiledFormat format) {
    try {
        WriteTiledMap(map, path, format);
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

std::vector<std::string> FileNames(const TempDir& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(TiledFiles, TheTilesetAndSheetAreWrittenBesideTheMapAndNamesNeedNoCare) {
    TAVRIK_SKIP_WITHOUT_TILED();
    TempDir folder;
    const std::string path = folder.File("R&D \"map\" <1>.tmx");
    WriteTiledMap(SmallMap(7), path, TiledFormat::Tmx);
    WriteTiledMap(SmallMap(7), folder.File("R&D \"map\" <1>.tmj"), TiledFormat::Json);
    EXPECT_EQ(FileNames(folder), (std::vector<std::string>{"R&D \"map\" <1>-tiles.png", "R&D \"map\" <1>.tmj",
                                                           "R&D \"map\" <1>.tmx", "R&D \"map\" <1>.tsx"}));
    EXPECT_EQ(CountColourDifferences(RasterizeWithTiled(path, 0), DrawTiledMap(SmallMap(7))), 0);
    EXPECT_EQ(TiledJsonGids(folder.File("R&D \"map\" <1>.tmj")), SmallMap(7).Gids);
}

// A JSON map holds UTF-8 only: a name in an older encoding is refused before anything is written.
TEST(TiledFiles, JsonMapNamedInAnotherEncodingIsRefusedWritingNothing) {
    TempDir folder;
    const std::string latin1Name = folder.File("caf\xE9.tmj");
    EXPECT_NE(ErrorOf(SmallMap(7), latin1Name, TiledFormat::Json).find("not UTF-8"), std::string::npos);
    EXPECT_TRUE(FileNames(folder).empty());
    WriteTiledMap(SmallMap(7), latin1Name, TiledFormat::Tmx);
    EXPECT_EQ(FileNames(folder).size(), 3u);
}

TEST(TiledFiles, JsonNamesAskForJson) {
    EXPECT_EQ(TiledFormatOfPath("levels/one.TMJ"), TiledFormat::Json);
    EXPECT_EQ(TiledFormatOfPath("one.json"), TiledFormat::Json);
    EXPECT_EQ(TiledFormatOfPath("one.tmx"), TiledFormat::Tmx);
    EXPECT_EQ(TiledFormatOfPath("json"), TiledFormat::Tmx);
}

TEST(TiledFiles, AFolderThatDoesNotExistIsNamed) {
    TempDir folder;
    const std::string path = folder.File("missing/level.tmx");
    EXPECT_EQ(ErrorOf(SmallMap(1), path, TiledFormat::Tmx),
              "Cannot write " + path + ": the folder " + folder.File("missing") + " does not exist");
    EXPECT_TRUE(FileNames(folder).empty());
}

// An export is written whole or not at all: when one of its files cannot be written, the earlier export
// stays as it was and none of the new files appears.
TEST(TiledFiles, AFailedWriteLeavesTheEarlierFilesAsTheyWereAndNoPartsBehind) {
    TempDir folder;
    const std::string path = folder.File("level.tmx");
    WriteTiledMap(SmallMap(1), path, TiledFormat::Tmx);
    const std::vector<uint8_t> before = ReadWholeFile(path);
    fs::remove(folder.File("level-tiles.png"));
    fs::create_directory(folder.File("level-tiles.png"));
    TiledMap larger = SmallMap(2);
    larger.Width = 1;
    larger.Gids = {2};
    const std::string message = ErrorOf(larger, path, TiledFormat::Tmx);
    EXPECT_EQ(message.rfind("Cannot write " + folder.File("level-tiles.png") + ": ", 0), 0u) << message;
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(FileNames(folder), (std::vector<std::string>{"level-tiles.png", "level.tmx", "level.tsx"}));

    fs::create_directory(folder.File("blocked.tmj"));
    EXPECT_EQ(ErrorOf(larger, folder.File("blocked.tmj"), TiledFormat::Json).rfind("Cannot write ", 0), 0u);
    // The map cannot be written, so its tile sheet is not written either.
    EXPECT_EQ(FileNames(folder),
              (std::vector<std::string>{"blocked.tmj", "level-tiles.png", "level.tmx", "level.tsx"}));
}

} // namespace
} // namespace tavrik::test
