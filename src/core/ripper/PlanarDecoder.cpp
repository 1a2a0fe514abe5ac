// Tile decoding of the planar modes, and the choice of decoder by mode. Plane bytes go through lookup tables
// that spread one byte over eight pixels held in a 64-bit value; a tile whose reads all lie inside the memory
// image takes a fast path that reads memory by offset, and any other tile is decoded by the exact path that
// follows the read position rules.
#include "ripper/PlanarDecoder.h"

#include "ripper/PlanarKernels.h"
#include "ripper/TileDecoding.h"

#include <algorithm>
#include <array>

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
using tiles::Add;
using tiles::Combine;
using tiles::CombineGroup;
using tiles::Mul;
using tiles::TileReach;

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
        tiles::DecodeEachTile(memory, request, PlanarTileDecoder(static_cast<RipMode>(p.Mode), request), target);
        break;
    case RipMode::Sprites: tiles::DecodeSpriteTiles(memory, request, target); break;
    case RipMode::C64:
        // One plane is read as 8 x 8 ACBM tiles, masks and skips included.
        if (p.Bitplanes < 2)
            tiles::DecodeEachTile(memory, request, PlanarTileDecoder(RipMode::AmigaAcbm, request), target);
        else
            tiles::DecodeMulticolourTiles(memory, request, target);
        break;
    default: throw Error("Unknown graphics mode " + std::to_string(p.Mode));
    }
}

} // namespace tavrik
