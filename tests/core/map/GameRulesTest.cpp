// The rules of the games whose maps the general settings cannot describe, on the examples of their maps.
#include "map/GameRules.h"
#include "MapTestKit.h"

#include <gtest/gtest.h>

namespace tavrik::test {
namespace {

struct GameRig : MapRig {
    explicit GameRig(CustomGame game, int32_t address) {
        Memory.assign(0x10000, 0);
        Map.CustomGameId = static_cast<int32_t>(game);
        Map.Address = address;
        Map.WidthInTiles = 4;
        Map.HeightInTiles = 1;
        Context.TileCount = 100000;
    }
};

TEST(GameRules, YoJoeTakesTheNinthBitFromThePlaneBehind) {
    GameRig rig(CustomGame::YoJoe, 0x2000);
    rig.Put(0x2000, {0x12, 0x12});
    rig.Put(0x6B00, {0x80, 0x7F});
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).RawValue, 0x112);
    EXPECT_EQ(rig.Cell(0, 1).RawValue, 0x12);
}

TEST(GameRules, QuadralienFillsEmptyCellsFromTheSecondLayer) {
    GameRig rig(CustomGame::Quadralien, 0x3000);
    rig.Put(0x3000, {0, 5});
    rig.Put(0x3400, {7, 9});
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).RawValue, 7);
    EXPECT_EQ(rig.Cell(0, 1).RawValue, 5);
}

TEST(GameRules, LostVikingsSwapsTheHalvesOfEveryLongwordAndNeverSkips) {
    GameRig rig(CustomGame::LostVikings, 0x1000);
    rig.Map.MemoryType = 1;
    rig.Map.SkipBytes = 2;
    rig.Put(0x1000, {0, 0xA, 0, 0xB, 0, 0xC, 0, 0xD});
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).RawValue, 0xB);
    EXPECT_EQ(rig.Cell(0, 1).RawValue, 0xA);
    EXPECT_EQ(rig.Cell(0, 2).RawValue, 0xD);
    EXPECT_EQ(rig.Cell(0, 3).RawValue, 0xC);
    EXPECT_EQ(rig.Cell(0, 1).SourceOffset, 0x1002);
}

TEST(GameRules, WallAutoJoinTurnsEmptyCellsIntoJoinedWalls) {
    std::vector<uint8_t> block(1024, 0);
    block[5 * 32 + 5] = 0; // a lone empty cell among walls comes next
    MapSource emptyBlock(block);
    WallAutoJoin walls;
    EXPECT_EQ(walls.Next(emptyBlock), 0x2F); // top-left: right and down are empty
    EXPECT_EQ(walls.Next(emptyBlock), 0x37); // top edge: right, down, left
    for (int i = 2; i < 33; ++i)
        walls.Next(emptyBlock);
    EXPECT_EQ(walls.Next(emptyBlock), 0x38); // (1, 1): all four
    for (int i = 34; i < 1023; ++i)
        walls.Next(emptyBlock);
    EXPECT_EQ(walls.Next(emptyBlock), 0x32); // bottom-right: up and left

    std::vector<uint8_t> lone(1024, 3);
    lone[40] = 0;
    MapSource loneBlock(lone);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(walls.Next(loneBlock), 3);
    EXPECT_EQ(walls.Next(loneBlock), 0x29);
}

TEST(GameRules, CaptainFizzReadsTheNextBlockAfter1024Cells) {
    GameRig rig(CustomGame::CaptainFizz, 0);
    rig.Map.WidthInTiles = 64;
    rig.Map.HeightInTiles = 16;
    rig.Map.MapTileWidth = 8;
    rig.Map.MapTileHeight = 8;
    std::fill(rig.Memory.begin(), rig.Memory.begin() + 1024, 1);
    std::fill(rig.Memory.begin() + 1024, rig.Memory.begin() + 2048, 2);
    rig.Draw();
    EXPECT_EQ(rig.Cell(15, 63).RawValue, 1);
    EXPECT_EQ(rig.Cell(0, 1).SourceOffset, 1024);
    rig.Map.HeightInTiles = 17;
    rig.Draw();
    EXPECT_EQ(rig.Cell(16, 0).RawValue, 2);
    EXPECT_EQ(rig.Cell(16, 0).SourceOffset, 1024);
}

TEST(GameRules, BattleSquadronDividesBy80ButKeepsTheRawValue) {
    GameRig rig(CustomGame::BattleSquadron, 0);
    rig.Put(0, {160, 79});
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 0).RawValue, 160);
    EXPECT_EQ(rig.Cell(0, 0).TileIndex, 2);
    EXPECT_EQ(rig.Cell(0, 1).TileIndex, 0);
}

TEST(GameRules, BratTakesEverySixteenthByte) {
    GameRig rig(CustomGame::Brat, 0);
    rig.Put(16, {9});
    rig.Draw();
    EXPECT_EQ(rig.Cell(0, 1).SourceOffset, 16);
    EXPECT_EQ(rig.Cell(0, 1).RawValue, 9);
}

TEST(GameRules, ActionFighterDrawsTheFirstStoredRowAtTheBottom) {
    GameRig rig(CustomGame::ActionFighter, 0);
    rig.Map.WidthInTiles = 1;
    rig.Map.HeightInTiles = 10;
    for (uint8_t i = 0; i < 10; ++i)
        rig.Memory[i] = i;
    rig.Draw();
    for (int32_t row = 0; row < 10; ++row)
        EXPECT_TRUE(rig.ShowsTile(0, 9 - row, row)) << row;
}

} // namespace
} // namespace tavrik::test
