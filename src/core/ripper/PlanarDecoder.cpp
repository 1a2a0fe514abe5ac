// Tile decoding. Plane bytes go through lookup tables that spread one byte over eight pixels held in a
// 64-bit value; a tile whose reads all lie inside the memory image takes a fast path that reads memory
// by offset, and any other tile is decoded by the exact path that follows the read position rules.
#include "ripper/PlanarDecoder.h"

#include "app/Checked.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace tavrik {

uint8_t PlanarReader::ReadByte() {
    if (Position < 0 || Position >= static_cast<int64_t>(Memory.size())) return 0;
    return Memory[static_cast<size_t>(Position++)];
}

uint16_t PlanarReader::ReadWord() {
    const int64_t size = static_cast<int64_t>(Memory.size());
    if (Position < 0 || Position >= size) return 0;
    const auto high = static_cast<uint16_t>(Memory[static_cast<size_t>(Position)] << 8);
    if (Position + 1 == size) {
        ++Position;
        return high;
    }
    const uint8_t low = Memory[static_cast<size_t>(Position + 1)];
    Position += 2;
    return static_cast<uint16_t>(high | low);
}

void PlanarReader::Skip(int64_t count) { Position = CheckedAdd(Position, count); }

namespace {

// Eight pixels in one 64-bit value: pixel i is the i-th byte in memory order, whatever the byte order.
using Lanes = uint64_t;

constexpr Lanes LanesOf(const std::array<uint8_t, 8>& pixels) {
    Lanes lanes = 0;
    for (int i = 0; i < 8; ++i) {
        const int shift = std::endian::native == std::endian::little ? 8 * i : 56 - 8 * i;
        lanes |= static_cast<Lanes>(pixels[static_cast<size_t>(i)]) << shift;
    }
    return lanes;
}

// A plane byte as eight lanes of 0 or 1, its most significant bit in the leftmost pixel.
constexpr std::array<Lanes, 256> MakeBitLanes() {
    std::array<Lanes, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        std::array<uint8_t, 8> pixels{};
        for (int i = 0; i < 8; ++i)
            pixels[static_cast<size_t>(i)] = static_cast<uint8_t>((byte >> (7 - i)) & 1);
        table[static_cast<size_t>(byte)] = LanesOf(pixels);
    }
    return table;
}

// A C64 multicolour byte: each bit pair from the left gives two pixels of its value 0 to 3.
constexpr std::array<Lanes, 256> MakeMulticolourLanes() {
    std::array<Lanes, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        std::array<uint8_t, 8> pixels{};
        for (int i = 0; i < 8; ++i)
            pixels[static_cast<size_t>(i)] = static_cast<uint8_t>((byte >> (6 - 2 * (i / 2))) & 3);
        table[static_cast<size_t>(byte)] = LanesOf(pixels);
    }
    return table;
}

constexpr std::array<Lanes, 256> BitLanes = MakeBitLanes();
constexpr std::array<Lanes, 256> MulticolourLanes = MakeMulticolourLanes();
constexpr Lanes OneInEveryLane = 0x0101010101010101;
constexpr Lanes LowSevenBits = 0x7F7F7F7F7F7F7F7F;
constexpr Lanes HighBits = 0x8080808080808080;

// Sums lane by lane modulo 256, so no carry runs from one pixel into the next.
inline Lanes AddLanes(Lanes a, Lanes b) { return ((a & LowSevenBits) + (b & LowSevenBits)) ^ ((a ^ b) & HighBits); }

inline Lanes LoadLanes(const uint8_t* pixels) {
    Lanes lanes;
    std::memcpy(&lanes, pixels, sizeof lanes);
    return lanes;
}

inline void StoreLanes(uint8_t* pixels, Lanes lanes) { std::memcpy(pixels, &lanes, sizeof lanes); }

enum class Combine { Add, Or, Replace };

Lanes CombineLanes(Combine how, Lanes pixels, Lanes value) {
    switch (how) {
    case Combine::Add: return AddLanes(pixels, value);
    case Combine::Or: return pixels | value;
    default: return value;
    }
}

// Combines eight pixels starting at (x, y) with value; pixels outside the image are dropped.
void CombineGroup(Image& target, int64_t x, int64_t y, Lanes value, Combine how) {
    if (y < 0 || y >= target.Height()) return;
    uint8_t* row = target.Row(static_cast<int32_t>(y));
    if (x >= 0 && x + 8 <= target.Width()) {
        StoreLanes(row + x, CombineLanes(how, LoadLanes(row + x), value));
        return;
    }
    std::array<uint8_t, 8> values;
    std::memcpy(values.data(), &value, sizeof value);
    for (int64_t i = 0; i < 8; ++i) {
        const int64_t px = x + i;
        if (px < 0 || px >= target.Width()) continue;
        uint8_t& pixel = row[px];
        const uint8_t v = values[static_cast<size_t>(i)];
        pixel = how == Combine::Add ? static_cast<uint8_t>(pixel + v) : how == Combine::Or ? (pixel | v) : v;
    }
}

// Reads as the fast path does: every read lies inside the memory, checked beforehand for the whole tile.
class UncheckedSource {
  public:
    UncheckedSource(const uint8_t* memory, int64_t position) : Memory(memory), Position(position) {}
    uint8_t ReadByte() { return Memory[Position++]; }
    uint16_t ReadWord() {
        const auto word = static_cast<uint16_t>((Memory[Position] << 8) | Memory[Position + 1]);
        Position += 2;
        return word;
    }
    void Skip(int64_t count) { Position += count; }

  private:
    const uint8_t* Memory;
    int64_t Position;
};

// Where a tile's reads fall relative to its start when each read lies inside the memory, and how far
// the position moves over the whole tile.
struct TileReach {
    bool HasReads = false;
    int64_t First = 0;
    int64_t Last = 0;
    int64_t Advance = 0;

    bool Inside(int64_t position, int64_t size) const {
        if (!HasReads) return true;
        int64_t first, last;
        if (__builtin_add_overflow(position, First, &first) || __builtin_add_overflow(position, Last, &last))
            return false;
        return first >= 0 && last < size;
    }
};

int64_t Mul(int64_t a, int64_t b) { return CheckedMul(a, b); }
int64_t Add(int64_t a, int64_t b) { return CheckedAdd(a, b); }

int32_t PlaneValue(int32_t entry) {
    if (entry >= 1 && entry <= 8) return 1 << (entry - 1);
    return entry == 9 ? 1 : 0;
}

// What one byte of each plane adds to its eight pixels.
struct PlaneTables {
    std::array<std::array<Lanes, 256>, 8> Table{};
    // The plane values sum to at most 255, so plain 64-bit adds of the tables never carry between lanes.
    bool Carryless = true;
};

void FillPlaneTables(PlaneTables& tables, const BitplaneOrder& order, int32_t planes, bool xPlanesAlwaysSet) {
    int32_t sum = 0;
    for (int32_t p = 0; p < planes; ++p) {
        const int32_t entry = order[static_cast<size_t>(p)];
        const auto value = static_cast<Lanes>(PlaneValue(entry));
        sum += static_cast<int32_t>(value);
        for (size_t byte = 0; byte < 256; ++byte)
            tables.Table[static_cast<size_t>(p)][byte] =
                (xPlanesAlwaysSet && entry == 9) ? OneInEveryLane : BitLanes[byte] * value;
    }
    tables.Carryless = sum <= 255;
}

// The byte offsets of the planar modes relative to the tile start, valid while every read lies inside:
// plane p of row y, byte k of run r sits at PlaneOffset[p] + y * RowStride + r * RunStride + k.
struct PlanarLayout {
    std::array<int64_t, 8> PlaneOffset{};
    int32_t Rows = 0;
    int64_t RowStride = 0;
    int32_t Runs = 0; // runs of bytes in a row: one run in the Amiga modes, one per 16 pixels on the Atari ST
    int32_t RunLength = 0;
    int64_t RunStride = 0;
    TileReach Reach;

    int64_t PixelsPerRow() const { return int64_t{8} * Runs * RunLength; }
};

TileReach PlanarReach(const PlanarLayout& layout, int32_t planes, int64_t advance) {
    TileReach reach;
    reach.Advance = advance;
    reach.HasReads = planes > 0 && layout.Rows > 0 && layout.Runs > 0 && layout.RunLength > 0;
    if (!reach.HasReads) return reach;
    const auto [lowest, highest] = std::minmax_element(layout.PlaneOffset.begin(), layout.PlaneOffset.begin() + planes);
    const int64_t rowSpan = Mul(layout.Rows - 1, layout.RowStride);
    reach.First = Add(*lowest, std::min<int64_t>(rowSpan, 0));
    reach.Last = Add(Add(Add(*highest, std::max<int64_t>(rowSpan, 0)), Mul(layout.Runs - 1, layout.RunStride)),
                     layout.RunLength - 1);
    return reach;
}

template <int Planes, bool Carryless>
void DecodePlanarCell(const uint8_t* memory, int64_t position, const PlanarLayout& layout, const PlaneTables& tables,
                      Image& target, int32_t x0, int32_t y0) {
    for (int32_t y = 0; y < layout.Rows; ++y) {
        uint8_t* out = target.Row(y0 + y) + x0;
        const int64_t rowStart = position + y * layout.RowStride;
        for (int32_t r = 0; r < layout.Runs; ++r) {
            const uint8_t* plane[Planes];
            for (int p = 0; p < Planes; ++p)
                plane[p] = memory + (rowStart + r * layout.RunStride + layout.PlaneOffset[p]);
            for (int32_t k = 0; k < layout.RunLength; ++k, out += 8) {
                Lanes sum = 0;
                for (int p = 0; p < Planes; ++p) {
                    const Lanes value = tables.Table[p][plane[p][k]];
                    sum = Carryless ? sum + value : AddLanes(sum, value);
                }
                StoreLanes(out, AddLanes(LoadLanes(out), sum));
            }
        }
    }
}

using PlanarCellDecoder = void (*)(const uint8_t*, int64_t, const PlanarLayout&, const PlaneTables&, Image&, int32_t,
                                   int32_t);

template <size_t... Planes>
constexpr std::array<std::array<PlanarCellDecoder, 2>, sizeof...(Planes)>
MakeCellDecoders(std::index_sequence<Planes...>) {
    return {{{&DecodePlanarCell<static_cast<int>(Planes) + 1, false>,
              &DecodePlanarCell<static_cast<int>(Planes) + 1, true>}...}};
}

constexpr auto CellDecoders = MakeCellDecoders(std::make_index_sequence<8>{});

// "Amiga ACBM", "Amiga ILBM" and "Atari ST": the planes of a pixel add their values.
class PlanarTileDecoder {
  public:
    PlanarTileDecoder(RipMode mode, const TileDecodeRequest& request) : Mode(mode) {
        const RipParameters& p = request.Parameters;
        Planes = std::clamp(p.Bitplanes, 0, 8);
        Width = p.TileWidth;
        Height = p.TileHeight;
        LineBytes = std::max(p.TileWidth / 8, 0);
        Groups = std::max(p.TileWidth / 16, 0);
        MaskBefore = p.MaskBefore;
        MaskAfter = p.MaskAfter;
        SkipBetweenPlanes = p.SkipBetweenPlanes;
        SkipBetweenTiles = p.SkipBetweenTiles;
        FillPlaneTables(Tables, request.Order, Planes, mode == RipMode::AmigaAcbm);
        BuildLayout();
    }

    const TileReach& Reach() const { return Layout.Reach; }

    bool CellFits(int64_t x0, int64_t y0, const Image& target) const {
        return x0 >= 0 && y0 >= 0 && x0 + Layout.PixelsPerRow() <= target.Width() &&
               y0 + Layout.Rows <= target.Height();
    }

    void Fast(const uint8_t* memory, int64_t position, int64_t x0, int64_t y0, Image& target) const {
        if (Planes == 0) return;
        CellDecoders[static_cast<size_t>(Planes - 1)][Tables.Carryless ? 1 : 0](
            memory, position, Layout, Tables, target, static_cast<int32_t>(x0), static_cast<int32_t>(y0));
    }

    void Exact(PlanarReader& reader, int64_t x0, int64_t y0, Image& target) const {
        switch (Mode) {
        case RipMode::AmigaAcbm: ExactAcbm(reader, x0, y0, target); break;
        case RipMode::AmigaIlbm: ExactIlbm(reader, x0, y0, target); break;
        default: ExactAtariSt(reader, x0, y0, target); break;
        }
    }

  private:
    int64_t AcbmMaskBytes() const { return int64_t{Width} * Height / 8; }

    void BuildLayout() {
        PlanarLayout& l = Layout;
        l.Rows = std::max(Height, 0);
        int64_t advance = 0;
        if (Mode == RipMode::AmigaAcbm) {
            const int64_t before = MaskBefore ? AcbmMaskBytes() : 0;
            const int64_t planeSpan = Add(Mul(Height, LineBytes), SkipBetweenPlanes);
            for (int32_t p = 0; p < Planes; ++p)
                l.PlaneOffset[static_cast<size_t>(p)] = Add(before, Mul(p, planeSpan));
            l.RowStride = LineBytes;
            l.Runs = 1;
            l.RunLength = LineBytes;
            advance = Add(Add(Add(before, Mul(Planes, planeSpan)), SkipBetweenTiles), MaskAfter ? AcbmMaskBytes() : 0);
        } else if (Mode == RipMode::AmigaIlbm) {
            const int64_t before = MaskBefore ? LineBytes : 0;
            const int64_t planeSpan = Add(LineBytes, SkipBetweenPlanes);
            for (int32_t p = 0; p < Planes; ++p)
                l.PlaneOffset[static_cast<size_t>(p)] = Add(before, Mul(p, planeSpan));
            l.RowStride = Add(Add(before, Mul(Planes, planeSpan)), MaskAfter ? LineBytes : 0);
            l.Runs = 1;
            l.RunLength = LineBytes;
            advance = Add(Mul(Height, l.RowStride), SkipBetweenTiles);
        } else {
            for (int32_t p = 0; p < Planes; ++p)
                l.PlaneOffset[static_cast<size_t>(p)] = 2 * p;
            l.RunStride = 2 * Planes;
            l.RowStride = Mul(l.RunStride, Groups);
            l.Runs = Groups;
            l.RunLength = 2;
            advance = Mul(Height, l.RowStride);
        }
        l.Reach = PlanarReach(l, Planes, advance);
    }

    void AddByte(int32_t plane, uint8_t byte, int64_t x, int64_t y, Image& target) const {
        CombineGroup(target, x, y, Tables.Table[static_cast<size_t>(plane)][byte], Combine::Add);
    }

    void ExactAcbm(PlanarReader& reader, int64_t x0, int64_t y0, Image& target) const {
        if (MaskBefore) reader.Skip(AcbmMaskBytes());
        for (int32_t p = 0; p < Planes; ++p) {
            for (int32_t y = 0; y < Height; ++y)
                for (int32_t b = 0; b < LineBytes; ++b)
                    AddByte(p, reader.ReadByte(), x0 + 8 * b, y0 + y, target);
            reader.Skip(SkipBetweenPlanes);
        }
        reader.Skip(SkipBetweenTiles);
        if (MaskAfter) reader.Skip(AcbmMaskBytes());
    }

    void ExactIlbm(PlanarReader& reader, int64_t x0, int64_t y0, Image& target) const {
        for (int32_t y = 0; y < Height; ++y) {
            if (MaskBefore) reader.Skip(LineBytes);
            for (int32_t p = 0; p < Planes; ++p) {
                for (int32_t b = 0; b < LineBytes; ++b)
                    AddByte(p, reader.ReadByte(), x0 + 8 * b, y0 + y, target);
                reader.Skip(SkipBetweenPlanes);
            }
            if (MaskAfter) reader.Skip(LineBytes);
        }
        reader.Skip(SkipBetweenTiles);
    }

    void ExactAtariSt(PlanarReader& reader, int64_t x0, int64_t y0, Image& target) const {
        for (int32_t y = 0; y < Height; ++y)
            for (int32_t g = 0; g < Groups; ++g)
                for (int32_t p = 0; p < Planes; ++p) {
                    const uint16_t word = reader.ReadWord();
                    AddByte(p, static_cast<uint8_t>(word >> 8), x0 + 16 * g, y0 + y, target);
                    AddByte(p, static_cast<uint8_t>(word & 0xFF), x0 + 16 * g + 8, y0 + y, target);
                }
    }

    RipMode Mode;
    int32_t Planes = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t LineBytes = 0;
    int32_t Groups = 0;
    bool MaskBefore = false;
    bool MaskAfter = false;
    int32_t SkipBetweenPlanes = 0;
    int32_t SkipBetweenTiles = 0;
    PlaneTables Tables;
    PlanarLayout Layout;
};

// Amiga hardware sprites: one or two sprites of two words per row (one plane: two words side by side),
// each set bit ORing the sprite value into its pixel.
class SpriteTileDecoder {
  public:
    explicit SpriteTileDecoder(const TileDecodeRequest& request) {
        const RipParameters& p = request.Parameters;
        PlanesPerSprite = p.Bitplanes == 1 ? 1 : 2;
        Sprites = p.Bitplanes >= 3 ? 2 : 1;
        Rows = std::max(p.TileHeight, 0);
        Groups = std::max(p.TileWidth / 16, 0);
        SkipBetweenTiles = p.SkipBetweenTiles;
        const int32_t bank = p.Bitplanes == 2 ? 4 * (request.SpriteBank & 3) : 0;
        for (int32_t s = 0; s < Sprites; ++s)
            for (int32_t q = 0; q < PlanesPerSprite; ++q)
                Value[static_cast<size_t>(s)][static_cast<size_t>(q)] =
                    static_cast<Lanes>((1 << (2 * s + q)) | 16 | bank);
        const int64_t spriteBytes = Mul(Mul(Mul(Rows, PlanesPerSprite), Groups), 2);
        const int64_t stride = Add(spriteBytes, SkipBetweenTiles);
        ReachOfTile.HasReads = spriteBytes > 0;
        ReachOfTile.First = std::min<int64_t>(0, Mul(Sprites - 1, stride));
        ReachOfTile.Last = std::max<int64_t>(0, Mul(Sprites - 1, stride)) + spriteBytes - 1;
        ReachOfTile.Advance = Mul(Sprites, stride);
    }

    const TileReach& Reach() const { return ReachOfTile; }
    bool CellFits(int64_t, int64_t, const Image&) const { return true; } // every write is clipped

    void Fast(const uint8_t* memory, int64_t position, int64_t x0, int64_t y0, Image& target) const {
        UncheckedSource source(memory, position);
        Run(source, x0, y0, target);
    }
    void Exact(PlanarReader& reader, int64_t x0, int64_t y0, Image& target) const { Run(reader, x0, y0, target); }

  private:
    template <class Source> void Run(Source& source, int64_t x0, int64_t y0, Image& target) const {
        for (int32_t s = 0; s < Sprites; ++s) {
            for (int32_t y = 0; y < Rows; ++y)
                for (int32_t q = 0; q < PlanesPerSprite; ++q) {
                    const Lanes value = Value[static_cast<size_t>(s)][static_cast<size_t>(q)];
                    for (int32_t g = 0; g < Groups; ++g) {
                        const uint16_t word = source.ReadWord();
                        CombineGroup(target, x0 + 16 * g, y0 + y, BitLanes[word >> 8] * value, Combine::Or);
                        CombineGroup(target, x0 + 16 * g + 8, y0 + y, BitLanes[word & 0xFF] * value, Combine::Or);
                    }
                }
            source.Skip(SkipBetweenTiles);
        }
    }

    int32_t PlanesPerSprite = 1;
    int32_t Sprites = 1;
    int32_t Rows = 0;
    int32_t Groups = 0;
    int32_t SkipBetweenTiles = 0;
    std::array<std::array<Lanes, 2>, 2> Value{};
    TileReach ReachOfTile;
};

// C64 multicolour: 8 x 8 cells of one byte per row, double-wide pixels that replace the background.
class MulticolourTileDecoder {
  public:
    const TileReach& Reach() const { return ReachOfTile; }
    bool CellFits(int64_t, int64_t, const Image&) const { return true; }

    void Fast(const uint8_t* memory, int64_t position, int64_t x0, int64_t y0, Image& target) const {
        UncheckedSource source(memory, position);
        Run(source, x0, y0, target);
    }
    void Exact(PlanarReader& reader, int64_t x0, int64_t y0, Image& target) const { Run(reader, x0, y0, target); }

  private:
    template <class Source> void Run(Source& source, int64_t x0, int64_t y0, Image& target) const {
        for (int32_t y = 0; y < 8; ++y)
            CombineGroup(target, x0, y0 + y, MulticolourLanes[source.ReadByte()], Combine::Replace);
    }

    TileReach ReachOfTile{true, 0, 7, 8};
};

template <class Decoder>
void DecodeEachTile(std::span<const uint8_t> memory, const TileDecodeRequest& request, const Decoder& decoder,
                    Image& target) {
    const RipParameters& p = request.Parameters;
    const int64_t size = static_cast<int64_t>(memory.size());
    const int64_t count = int64_t{request.TilesAcross} * request.TilesDown;
    int64_t position = p.Address;
    for (int64_t n = 0; n < count; ++n) {
        const int64_t x0 = (n % request.TilesAcross) * p.TileWidth;
        const int64_t y0 = (n / request.TilesAcross) * p.TileHeight;
        if (decoder.Reach().Inside(position, size) && decoder.CellFits(x0, y0, target)) {
            decoder.Fast(memory.data(), position, x0, y0, target);
            position = Add(position, decoder.Reach().Advance);
        } else {
            PlanarReader reader(memory, position);
            decoder.Exact(reader, x0, y0, target);
            position = reader.Tell();
        }
    }
}

} // namespace

void DecodeTiles(std::span<const uint8_t> memory, const TileDecodeRequest& request, Image& target) {
    if (target.Format() != PixelFormat::Indexed8) throw Error("The tile ripper decodes into 8-bit images only");
    // Tile counts from negative tile sizes describe no cells on the sheet.
    if (request.TilesAcross <= 0 || request.TilesDown <= 0) return;
    const RipParameters& p = request.Parameters;
    switch (static_cast<RipMode>(p.Mode)) {
    case RipMode::AmigaAcbm:
    case RipMode::AmigaIlbm:
    case RipMode::AtariSt:
        DecodeEachTile(memory, request, PlanarTileDecoder(static_cast<RipMode>(p.Mode), request), target);
        break;
    case RipMode::Sprites: DecodeEachTile(memory, request, SpriteTileDecoder(request), target); break;
    case RipMode::C64:
        // One plane is read as 8 x 8 ACBM tiles, masks and skips included.
        if (p.Bitplanes < 2)
            DecodeEachTile(memory, request, PlanarTileDecoder(RipMode::AmigaAcbm, request), target);
        else
            DecodeEachTile(memory, request, MulticolourTileDecoder(), target);
        break;
    default: throw Error("Unknown graphics mode " + std::to_string(p.Mode));
    }
}

} // namespace tavrik
