// Tile decoding. Plane bytes go through lookup tables that spread one byte over eight pixels held in a
// 64-bit value; a tile whose reads all lie inside the memory image takes a fast path that reads memory
// by offset, and any other tile is decoded by the exact path that follows the read position rules.
#include "ripper/PlanarDecoder.h"

#include "app/Checked.h"
#include "ripper/PixelLanes.h"
#include "ripper/PlanarKernels.h"
#include "ripper/RipParameterReader.h"

#include <algorithm>
#include <array>
#include <cstring>

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

using lanes::BitLanes;
using lanes::Lanes;
using planar::ActivePlanes;
using planar::PlanarLayout;

int64_t Mul(int64_t a, int64_t b) { return CheckedMul(a, b); }
int64_t Add(int64_t a, int64_t b) { return CheckedAdd(a, b); }

enum class Combine { Add, Or, Replace };

Lanes CombineLanes(Combine how, Lanes pixels, Lanes value) {
    switch (how) {
    case Combine::Add: return lanes::AddLanes(pixels, value);
    case Combine::Or: return pixels | value;
    default: return value;
    }
}

// Combines eight pixels starting at (x, y) with value; pixels outside the image are dropped.
void CombineGroup(Image& target, int64_t x, int64_t y, Lanes value, Combine how) {
    if (y < 0 || y >= target.Height()) return;
    uint8_t* row = target.Row(static_cast<int32_t>(y));
    if (x >= 0 && x + 8 <= target.Width()) {
        lanes::StoreLanes(row + x, CombineLanes(how, lanes::LoadLanes(row + x), value));
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

// Sets a rectangle to the background, clipped to the image.
void FillRect(Image& target, int64_t x, int64_t y, int64_t width, int64_t height, uint8_t value) {
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t right = std::min<int64_t>(x + width, target.Width());
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t bottom = std::min<int64_t>(y + height, target.Height());
    if (left >= right) return;
    for (int64_t row = top; row < bottom; ++row)
        std::memset(target.Row(static_cast<int32_t>(row)) + left, value, static_cast<size_t>(right - left));
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

// Runs the tiles in memory order, each by the fast path when its reads and its cell allow, else exactly.
// The background goes where nothing overwrites it: the margins, and inside the cells (raised by the planes
// that count as set everywhere) the cells of the exact path, which add to it, and the columns right of
// what the fast path writes, which no plane byte covers when the tile width is not a multiple of 8.
template <class Decoder>
void DecodeEachTile(std::span<const uint8_t> memory, const TileDecodeRequest& request, const Decoder& decoder,
                    Image& target) {
    const RipParameters& p = request.Parameters;
    const uint8_t background = BackgroundIndex(request.Order);
    const auto cellStart = static_cast<uint8_t>(background + decoder.PlanesSetEverywhere());
    const int64_t size = static_cast<int64_t>(memory.size());
    const int64_t count = int64_t{request.TilesAcross} * request.TilesDown;
    const TileReach& reach = decoder.Reach();
    const int64_t fastWidth = decoder.FastWidth();
    int64_t position = p.Address;
    for (int64_t n = 0; n < count; ++n) {
        const int64_t x0 = (n % request.TilesAcross) * p.TileWidth;
        const int64_t y0 = (n / request.TilesAcross) * p.TileHeight;
        if (reach.Inside(position, size) && decoder.CellFits(x0, y0, target)) {
            FillRect(target, x0 + fastWidth, y0, p.TileWidth - fastWidth, p.TileHeight, cellStart);
            decoder.Fast(memory.data(), position, x0, y0, target);
            position = Add(position, reach.Advance);
        } else {
            FillRect(target, x0, y0, p.TileWidth, p.TileHeight, cellStart);
            PlanarReader reader(memory, position);
            decoder.Exact(reader, x0, y0, target);
            position = reader.Tell();
        }
    }
    const int64_t cellsRight = int64_t{request.TilesAcross} * p.TileWidth;
    const int64_t cellsBottom = int64_t{request.TilesDown} * p.TileHeight;
    FillRect(target, cellsRight, 0, target.Width() - cellsRight, cellsBottom, background);
    FillRect(target, 0, cellsBottom, target.Width(), target.Height() - cellsBottom, background);
}

int32_t PlaneValue(int32_t entry) {
    if (entry >= 1 && entry <= 8) return 1 << (entry - 1);
    return entry == 9 ? 1 : 0;
}

// "Amiga ACBM", "Amiga ILBM" and "Atari ST": the planes of a pixel add their values to the background.
class PlanarTileDecoder {
  public:
    PlanarTileDecoder(RipMode mode, const TileDecodeRequest& request) : Mode(mode), AllowSimd(request.AllowSimd) {
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
        BuildLayout();
        BuildTables(request.Order);
    }

    const TileReach& Reach() const { return ReachOfTile; }
    int32_t PlanesSetEverywhere() const { return AlwaysSetPlanes; }

    bool CellFits(int64_t x0, int64_t y0, const Image& target) const {
        return x0 >= 0 && y0 >= 0 && x0 + Layout.PixelsPerRow() <= target.Width() &&
               y0 + Layout.Rows <= target.Height();
    }

    // The fast path writes these columns of each row outright, background and "X" planes included.
    int64_t FastWidth() const { return Layout.PixelsPerRow(); }

    void Fast(const uint8_t* memory, int64_t position, int64_t x0, int64_t y0, Image& target) const {
        if (Layout.PixelsPerRow() == 0 || Layout.Rows == 0) return;
        planar::DecodePlanarCell(memory, position, Layout, Active, target.Row(static_cast<int32_t>(y0)) + x0,
                                 target.Stride(), AllowSimd);
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
        BuildReach(advance);
    }

    void BuildReach(int64_t advance) {
        const PlanarLayout& l = Layout;
        ReachOfTile.Advance = advance;
        ReachOfTile.HasReads = Planes > 0 && l.Rows > 0 && l.Runs > 0 && l.RunLength > 0;
        if (!ReachOfTile.HasReads) return;
        const auto [lowest, highest] = std::minmax_element(l.PlaneOffset.begin(), l.PlaneOffset.begin() + Planes);
        const int64_t rowSpan = Mul(l.Rows - 1, l.RowStride);
        ReachOfTile.First = Add(*lowest, std::min<int64_t>(rowSpan, 0));
        ReachOfTile.Last =
            Add(Add(Add(*highest, std::max<int64_t>(rowSpan, 0)), Mul(l.Runs - 1, l.RunStride)), l.RunLength - 1);
    }

    // ACBM "X" planes count as set at every pixel of the tile, including the columns past the last whole
    // byte of a row that no plane byte covers: they raise the value every pixel of a cell starts at, and
    // their own bytes, still read, add nothing. Planes that add nothing are left out of the fast path.
    void BuildTables(const BitplaneOrder& order) {
        int32_t sum = 0;
        for (int32_t p = 0; p < Planes; ++p) {
            const auto i = static_cast<size_t>(p);
            const auto value = static_cast<uint8_t>(PlaneValue(order[i]));
            if (Mode == RipMode::AmigaAcbm && order[i] == 9) {
                ++AlwaysSetPlanes;
                continue;
            }
            for (size_t byte = 0; byte < 256; ++byte)
                Tables[i][byte] = BitLanes[byte] * value;
            if (value != 0) {
                const auto slot = static_cast<size_t>(Active.Count++);
                Active.Offset[slot] = Layout.PlaneOffset[i];
                Active.Value[slot] = value;
                Active.Table[slot] = &Tables[i];
                sum += value;
            }
        }
        const int32_t start = BackgroundIndex(order) + AlwaysSetPlanes;
        Active.Start = lanes::OneInEveryLane * static_cast<uint8_t>(start);
        Active.Carryless = (start & 0xFF) + sum <= 255;
    }

    void AddByte(int32_t plane, uint8_t byte, int64_t x, int64_t y, Image& target) const {
        CombineGroup(target, x, y, Tables[static_cast<size_t>(plane)][byte], Combine::Add);
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
    bool AllowSimd;
    int32_t Planes = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t LineBytes = 0;
    int32_t Groups = 0;
    bool MaskBefore = false;
    bool MaskAfter = false;
    int32_t SkipBetweenPlanes = 0;
    int32_t SkipBetweenTiles = 0;
    int32_t AlwaysSetPlanes = 0;
    std::array<std::array<Lanes, 256>, 8> Tables{}; // all 0 for an ACBM "X" plane
    PlanarLayout Layout;
    ActivePlanes Active;
    TileReach ReachOfTile;
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
        Stride = Add(spriteBytes, SkipBetweenTiles);
        ReachOfTile.HasReads = spriteBytes > 0;
        ReachOfTile.First = std::min<int64_t>(0, Mul(Sprites - 1, Stride));
        ReachOfTile.Last = std::max<int64_t>(0, Mul(Sprites - 1, Stride)) + spriteBytes - 1;
        ReachOfTile.Advance = Mul(Sprites, Stride);
    }

    const TileReach& Reach() const { return ReachOfTile; }
    int32_t PlanesSetEverywhere() const { return 0; }
    int64_t FastWidth() const { return 0; } // sprites OR into the background

    bool CellFits(int64_t x0, int64_t y0, const Image& target) const {
        return x0 >= 0 && y0 >= 0 && x0 + 16 * Groups <= target.Width() && y0 + Rows <= target.Height();
    }

    // Each group of 16 pixels gathers the words of its planes and ORs them into the row once.
    void Fast(const uint8_t* memory, int64_t position, int64_t x0, int64_t y0, Image& target) const {
        for (int32_t s = 0; s < Sprites; ++s) {
            const uint8_t* sprite = memory + (position + s * Stride);
            for (int32_t y = 0; y < Rows; ++y) {
                uint8_t* out = target.Row(static_cast<int32_t>(y0 + y)) + x0;
                for (int32_t g = 0; g < Groups; ++g, out += 16) {
                    Lanes left = 0;
                    Lanes right = 0;
                    for (int32_t q = 0; q < PlanesPerSprite; ++q) {
                        const uint8_t* word = sprite + 2 * ((y * PlanesPerSprite + q) * Groups + g);
                        const Lanes value = Value[static_cast<size_t>(s)][static_cast<size_t>(q)];
                        left |= BitLanes[word[0]] * value;
                        right |= BitLanes[word[1]] * value;
                    }
                    lanes::StoreLanes(out, lanes::LoadLanes(out) | left);
                    lanes::StoreLanes(out + 8, lanes::LoadLanes(out + 8) | right);
                }
            }
        }
    }

    void Exact(PlanarReader& reader, int64_t x0, int64_t y0, Image& target) const {
        for (int32_t s = 0; s < Sprites; ++s) {
            for (int32_t y = 0; y < Rows; ++y)
                for (int32_t q = 0; q < PlanesPerSprite; ++q) {
                    const Lanes value = Value[static_cast<size_t>(s)][static_cast<size_t>(q)];
                    for (int32_t g = 0; g < Groups; ++g) {
                        const uint16_t word = reader.ReadWord();
                        CombineGroup(target, x0 + 16 * g, y0 + y, BitLanes[word >> 8] * value, Combine::Or);
                        CombineGroup(target, x0 + 16 * g + 8, y0 + y, BitLanes[word & 0xFF] * value, Combine::Or);
                    }
                }
            reader.Skip(SkipBetweenTiles);
        }
    }

  private:
    int32_t PlanesPerSprite = 1;
    int32_t Sprites = 1;
    int32_t Rows = 0;
    int32_t Groups = 0;
    int32_t SkipBetweenTiles = 0;
    int64_t Stride = 0; // from one sprite of a tile to the next
    std::array<std::array<Lanes, 2>, 2> Value{};
    TileReach ReachOfTile;
};

// C64 multicolour: 8 x 8 cells of one byte per row, double-wide pixels that replace the background.
class MulticolourTileDecoder {
  public:
    const TileReach& Reach() const { return ReachOfTile; }
    int32_t PlanesSetEverywhere() const { return 0; }
    int64_t FastWidth() const { return 8; }                              // the pixels are replaced
    bool CellFits(int64_t, int64_t, const Image&) const { return true; } // every write is clipped

    void Fast(const uint8_t* memory, int64_t position, int64_t x0, int64_t y0, Image& target) const {
        UncheckedSource source(memory, position);
        Run(source, x0, y0, target);
    }
    void Exact(PlanarReader& reader, int64_t x0, int64_t y0, Image& target) const { Run(reader, x0, y0, target); }

  private:
    template <class Source> void Run(Source& source, int64_t x0, int64_t y0, Image& target) const {
        for (int32_t y = 0; y < 8; ++y)
            CombineGroup(target, x0, y0 + y, lanes::MulticolourLanes[source.ReadByte()], Combine::Replace);
    }

    TileReach ReachOfTile{true, 0, 7, 8};
};

} // namespace

void DecodeTiles(std::span<const uint8_t> memory, const TileDecodeRequest& request, Image& target) {
    if (target.Format() != PixelFormat::Indexed8) throw Error("The tile ripper decodes into 8-bit images only");
    // Tile counts from negative tile sizes describe no cells on the sheet.
    if (request.TilesAcross <= 0 || request.TilesDown <= 0) {
        target.Fill(BackgroundIndex(request.Order));
        return;
    }
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
