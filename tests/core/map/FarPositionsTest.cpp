// Rips and maps past 4 GiB of a raw memory file: a sparse file of 4.5 GiB, mapped rather than read, holds
// graphics and a map past 4 GiB and different bytes at the same offsets modulo 2 GiB and 4 GiB, so a
// position cut to 32 bits anywhere on the way draws the wrong picture.
#include "support/TempDir.h"

#include "map/CellReadOut.h"
#include "map/MapRenderer.h"
#include "map/MapSettings.h"
#include "ripper/PlanarDecoder.h"
#include "ripper/RipParameterReader.h"
#include "ripper/RipperState.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace tavrik {
namespace {

constexpr int64_t FileSize = int64_t{9} << 29; // 4.5 GiB
constexpr int64_t GraphicsAt = 0x100000100;
constexpr int64_t MapAt = 0x100008000;

// The sparse file, mapped read-only: only the pages written or read take memory.
class SparseMemory {
  public:
    explicit SparseMemory(const std::string& path) {
        Descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        if (Descriptor < 0 || ftruncate(Descriptor, FileSize) != 0) throw std::runtime_error("no sparse file");
    }
    ~SparseMemory() {
        if (Mapped != MAP_FAILED) munmap(Mapped, static_cast<size_t>(FileSize));
        if (Descriptor >= 0) close(Descriptor);
    }
    void Put(int64_t offset, const std::vector<uint8_t>& bytes) const {
        ASSERT_EQ(pwrite(Descriptor, bytes.data(), bytes.size(), offset), static_cast<ssize_t>(bytes.size()));
    }
    std::span<const uint8_t> Bytes() {
        Mapped = mmap(nullptr, static_cast<size_t>(FileSize), PROT_READ, MAP_SHARED, Descriptor, 0);
        if (Mapped == MAP_FAILED) throw std::runtime_error("cannot map the sparse file");
        return {static_cast<const uint8_t*>(Mapped), static_cast<size_t>(FileSize)};
    }

  private:
    int Descriptor = -1;
    void* Mapped = MAP_FAILED;
};

// Two one-bitplane 16 x 16 tiles, stored one after the other: stripes, then solid.
std::vector<uint8_t> TwoTiles() {
    std::vector<uint8_t> bytes(64, 0xFF);
    for (size_t i = 0; i < 32; ++i)
        bytes[i] = 0xAA;
    return bytes;
}

// The same bytes where a cut position would land: 32 or 31 bits of the offset.
void PutWithDecoys(const SparseMemory& memory, int64_t offset, const std::vector<uint8_t>& bytes,
                   const std::vector<uint8_t>& decoy) {
    memory.Put(offset, bytes);
    memory.Put(offset & 0xFFFFFFFF, decoy);
    memory.Put(offset & 0x7FFFFFFF, decoy);
}

TEST(FarPositions, ARipAndAMapPast4GiBReadWhereTheirAddressesPoint) {
    test::TempDir folder;
    SparseMemory memory(folder.File("large.raw"));
    PutWithDecoys(memory, GraphicsAt, TwoTiles(), std::vector<uint8_t>(64, 0x0F));
    PutWithDecoys(memory, MapAt, {1, 0, 0, 1}, {0, 0, 0, 0});
    const std::span<const uint8_t> bytes = memory.Bytes();

    RipControls rip;
    rip.Address = "$100000100";
    rip.RipWidth = "32";
    rip.RipHeight = "16";
    RipperState ripper;
    ReadRipParameters(rip, ripper, {});
    ASSERT_EQ(ripper.Parameters.Address, GraphicsAt);
    Image sheet(32, 16, PixelFormat::Indexed8);
    DecodeTiles(bytes, TileDecodeRequest{ripper.Parameters, DefaultBitplaneOrder, 0, 2, 1}, sheet);
    EXPECT_EQ(sheet.IndexAt(0, 5), 1);
    EXPECT_EQ(sheet.IndexAt(1, 5), 0);
    EXPECT_EQ(sheet.IndexAt(17, 5), 1);

    MapControls controls;
    controls.Address = "$100008000";
    controls.WidthInTiles = "2";
    controls.HeightInTiles = "2";
    TMapVariables map = NewMapVariables(1);
    TMapVariables second = NewMapVariables(2);
    ReadMapSettings(controls, map, second, {});
    ASSERT_EQ(map.Address, MapAt);
    map.MapTileWidth = map.MapTileHeight = 16;
    MapDrawContext context;
    context.MemoryImage = bytes;
    context.TileSource = &sheet;
    context.TileCount = 2;
    Image drawn;
    ASSERT_EQ(DrawMap(map, drawn, context).Result, MapDrawResult::Drawn);
    // Cells 1 0 / 0 1: the solid tile on the diagonal, the stripes beside it.
    EXPECT_EQ(drawn.IndexAt(1, 5), 1);
    EXPECT_EQ(drawn.IndexAt(17, 5), 0);
    EXPECT_EQ(drawn.IndexAt(1, 21), 0);
    EXPECT_EQ(drawn.IndexAt(17, 21), 1);
    EXPECT_EQ(CellReadOut(1, 17, 21, map), "Map: $100008003: (1, 1) = $1");
}

} // namespace
} // namespace tavrik
