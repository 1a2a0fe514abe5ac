// The map data file: what "Load Map" leaves in the workspace, and which map then reads the file.
#include "workspace/MapDataFile.h"

#include "app/Files.h"
#include "map/MapSettings.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "workspace/MapDrawing.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

constexpr int32_t MapAddress = 0x20;
constexpr int32_t MapWidth = 8;
constexpr int32_t MapHeight = 4;

class MapDataFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Work.Memory.MemoryImage.assign(0x4000, 0x05);
        Work.Ripper.Parameters.ActualTileWidth = 16;
        Work.Ripper.Parameters.ActualTileHeight = 16;
        Work.Ripper.TileCount = 320;
        Work.TileSheet.Reset(320, 256, PixelFormat::Indexed8);
    }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = Folder.File(name);
        WriteWholeFile(path, bytes);
        return path;
    }

    // Both maps read at the same address from their tabs, then drawn as the map keys and F5 draw them.
    void DrawBothMaps() {
        MapControls tab;
        tab.Address = "$20";
        tab.WidthInTiles = std::to_string(MapWidth);
        tab.HeightInTiles = std::to_string(MapHeight);
        ReadMapSettings(tab, Work.Maps[0], Work.Maps[1], Work.Addresses());
        ReadMapSettings(tab, Work.Maps[1], Work.Maps[1], Work.Addresses());
        ASSERT_EQ(DrawWorkspaceMap(Work, 1, {}).Result, MapDrawResult::Drawn);
        ASSERT_EQ(DrawWorkspaceMap(Work, 2, {}).Result, MapDrawResult::Drawn);
    }

    // True when every cell of the map holds the byte of source at its place.
    static bool ReadFrom(const TMapVariables& map, const std::vector<uint8_t>& source) {
        for (int32_t row = 0; row < MapHeight; ++row)
            for (int32_t column = 0; column < MapWidth; ++column)
                if (CellAt(map, row, column)->RawValue != source.at(size_t(MapAddress + row * MapWidth + column)))
                    return false;
        return true;
    }

    test::TempDir Folder;
    test::ScriptedDialogs Dialogs;
    Workspace Work;
};

std::vector<uint8_t> LevelBytes() {
    std::vector<uint8_t> bytes(4096);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 7 + 1);
    return bytes;
}

TEST_F(MapDataFileTest, AFileOfBytesChecksTheBoxAndOnlyTheFirstMapReadsIt) {
    const MapDataLoad load = LoadMapData(Work, Write("level.map", LevelBytes()), Dialogs);
    EXPECT_TRUE(load.Found);
    EXPECT_TRUE(load.CheckUseLoadedMap);
    EXPECT_EQ(Work.LoadedMapData, LevelBytes());
    Work.Maps[0].UseLoadedMap = load.CheckUseLoadedMap;
    DrawBothMaps();
    EXPECT_TRUE(ReadFrom(Work.Maps[0], LevelBytes()));
    EXPECT_TRUE(ReadFrom(Work.Maps[1], Work.Memory.MemoryImage));
}

TEST_F(MapDataFileTest, AnEmptyFileEmptiesTheDataAndTheCheckedMapReadsMemory) {
    Work.LoadedMapData = LevelBytes();
    const MapDataLoad load = LoadMapData(Work, Write("empty.map", {}), Dialogs);
    EXPECT_TRUE(load.Found);
    EXPECT_FALSE(load.CheckUseLoadedMap);
    EXPECT_TRUE(Work.LoadedMapData.empty());
    Work.Maps[0].UseLoadedMap = true;
    DrawBothMaps();
    EXPECT_TRUE(ReadFrom(Work.Maps[0], Work.Memory.MemoryImage));
}

TEST_F(MapDataFileTest, AMissingFileKeepsTheDataLoadedBefore) {
    Work.LoadedMapData = {1, 2, 3};
    const MapDataLoad load = LoadMapData(Work, Folder.File("gone.map"), Dialogs);
    EXPECT_FALSE(load.Found);
    EXPECT_EQ(Work.LoadedMapData, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(Dialogs.History.empty());
}

} // namespace
} // namespace tavrik
