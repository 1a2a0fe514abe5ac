// Literal decoders: each step as the layouts describe them, with the read position rules spelled out.
#include "PlanarReference.h"

namespace tavrik::test {

namespace {

class LiteralReader {
  public:
    LiteralReader(std::span<const uint8_t> memory, int64_t position) : Memory(memory), Position(position) {}

    uint8_t ReadByte() {
        if (!Inside(Position)) return 0;
        return Memory[static_cast<size_t>(Position++)];
    }
    uint16_t ReadWord() {
        if (!Inside(Position)) return 0;
        uint16_t word = static_cast<uint16_t>(Memory[static_cast<size_t>(Position++)] << 8);
        if (Inside(Position)) word = static_cast<uint16_t>(word | Memory[static_cast<size_t>(Position++)]);
        return word;
    }
    void Skip(int64_t count) { Position += count; }

  private:
    bool Inside(int64_t at) const { return at >= 0 && at < static_cast<int64_t>(Memory.size()); }
    std::span<const uint8_t> Memory;
    int64_t Position;
};

uint8_t* PixelAt(Image& target, int64_t x, int64_t y) {
    if (x < 0 || y < 0 || x >= target.Width() || y >= target.Height()) return nullptr;
    return target.Row(static_cast<int32_t>(y)) + x;
}

int32_t ValueOf(int32_t entry) {
    if (entry >= 1 && entry <= 8) return 1 << (entry - 1);
    return entry == 9 ? 1 : 0;
}

struct Cell {
    int64_t X;
    int64_t Y;
};

struct Literal {
    const TileDecodeRequest& Request;
    const RipParameters& P;
    LiteralReader& Reader;
    Image& Target;

    void AddTo(int64_t x, int64_t y, int32_t value) {
        if (uint8_t* pixel = PixelAt(Target, x, y)) *pixel = static_cast<uint8_t>(*pixel + value);
    }

    // Eight pixels of plane p from one byte: each set bit adds the plane's value.
    void PlaneByte(int32_t p, uint8_t byte, int64_t x, int64_t y) {
        const int32_t value = ValueOf(Request.Order[static_cast<size_t>(p)]);
        for (int32_t i = 0; i < 8; ++i)
            if ((byte >> (7 - i)) & 1) AddTo(x + i, y, value);
    }

    // An ACBM "X" plane is set at every pixel of the tile, whatever its bytes hold and however many of
    // the tile's columns they cover.
    void Acbm(Cell c, int32_t planes) {
        const int64_t mask = int64_t{P.TileWidth} * P.TileHeight / 8;
        if (P.MaskBefore) Reader.Skip(mask);
        for (int32_t p = 0; p < planes; ++p) {
            const bool setEverywhere = Request.Order[static_cast<size_t>(p)] == 9;
            for (int32_t y = 0; y < P.TileHeight; ++y) {
                for (int32_t b = 0; b < P.TileWidth / 8; ++b) {
                    const uint8_t byte = Reader.ReadByte();
                    if (!setEverywhere) PlaneByte(p, byte, c.X + 8 * b, c.Y + y);
                }
                if (setEverywhere)
                    for (int32_t x = 0; x < P.TileWidth; ++x)
                        AddTo(c.X + x, c.Y + y, 1);
            }
            Reader.Skip(P.SkipBetweenPlanes);
        }
        Reader.Skip(P.SkipBetweenTiles);
        if (P.MaskAfter) Reader.Skip(mask);
    }

    void Ilbm(Cell c, int32_t planes) {
        for (int32_t y = 0; y < P.TileHeight; ++y) {
            if (P.MaskBefore) Reader.Skip(P.TileWidth / 8);
            for (int32_t p = 0; p < planes; ++p) {
                for (int32_t b = 0; b < P.TileWidth / 8; ++b)
                    PlaneByte(p, Reader.ReadByte(), c.X + 8 * b, c.Y + y);
                Reader.Skip(P.SkipBetweenPlanes);
            }
            if (P.MaskAfter) Reader.Skip(P.TileWidth / 8);
        }
        Reader.Skip(P.SkipBetweenTiles);
    }

    void AtariSt(Cell c, int32_t planes) {
        for (int32_t y = 0; y < P.TileHeight; ++y)
            for (int32_t g = 0; g < P.TileWidth / 16; ++g)
                for (int32_t p = 0; p < planes; ++p) {
                    const uint16_t word = Reader.ReadWord();
                    PlaneByte(p, static_cast<uint8_t>(word >> 8), c.X + 16 * g, c.Y + y);
                    PlaneByte(p, static_cast<uint8_t>(word), c.X + 16 * g + 8, c.Y + y);
                }
    }

    void Sprites(Cell c) {
        const int32_t planesPerSprite = P.Bitplanes == 1 ? 1 : 2;
        const int32_t sprites = P.Bitplanes >= 3 ? 2 : 1;
        for (int32_t s = 0; s < sprites; ++s) {
            for (int32_t y = 0; y < P.TileHeight; ++y)
                for (int32_t q = 0; q < planesPerSprite; ++q) {
                    int32_t value = (1 << (2 * s + q)) | 16;
                    if (P.Bitplanes == 2) value |= 4 * Request.SpriteBank;
                    for (int32_t g = 0; g < P.TileWidth / 16; ++g) {
                        const uint16_t word = Reader.ReadWord();
                        for (int32_t i = 0; i < 16; ++i)
                            if ((word >> (15 - i)) & 1)
                                if (uint8_t* pixel = PixelAt(Target, c.X + 16 * g + i, c.Y + y))
                                    *pixel = static_cast<uint8_t>(*pixel | value);
                    }
                }
            Reader.Skip(P.SkipBetweenTiles);
        }
    }

    void Multicolour(Cell c) {
        for (int32_t y = 0; y < 8; ++y) {
            const uint8_t byte = Reader.ReadByte();
            for (int32_t i = 0; i < 8; ++i)
                if (uint8_t* pixel = PixelAt(Target, c.X + i, c.Y + y))
                    *pixel = static_cast<uint8_t>((byte >> (6 - 2 * (i / 2))) & 3);
        }
    }
};

} // namespace

void ReferenceDecodeTiles(std::span<const uint8_t> memory, const TileDecodeRequest& request, Image& target) {
    const RipParameters& p = request.Parameters;
    if (request.TilesAcross <= 0 || request.TilesDown <= 0) return;
    const int32_t planes = p.Bitplanes < 0 ? 0 : (p.Bitplanes > 8 ? 8 : p.Bitplanes);
    LiteralReader reader(memory, p.Address);
    Literal literal{request, p, reader, target};
    for (int64_t n = 0; n < int64_t{request.TilesAcross} * request.TilesDown; ++n) {
        const Cell cell{(n % request.TilesAcross) * p.TileWidth, (n / request.TilesAcross) * p.TileHeight};
        switch (static_cast<RipMode>(p.Mode)) {
        case RipMode::AmigaAcbm: literal.Acbm(cell, planes); break;
        case RipMode::AmigaIlbm: literal.Ilbm(cell, planes); break;
        case RipMode::AtariSt: literal.AtariSt(cell, planes); break;
        case RipMode::Sprites: literal.Sprites(cell); break;
        case RipMode::C64:
            if (p.Bitplanes < 2)
                literal.Acbm(cell, planes);
            else
                literal.Multicolour(cell);
            break;
        }
    }
}

} // namespace tavrik::test
