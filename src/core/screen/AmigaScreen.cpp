// Rebuilding an Amiga screen: the fields from the copper lists, the planes read line by line as the display
// fetches them, and each pixel's colour from the registers in effect on its line.
#include "screen/AmigaScreen.h"

#include "app/Error.h"
#include "app/IntegerText.h"
#include "screen/PixelColours.h"
#include "screen/PlaneLayout.h"

#include <algorithm>

namespace tavrik {

namespace {

int32_t FetchWordsPerPlane(const DisplayRegisters& r, bool aga, int32_t cyclesPerWord) {
    static constexpr int32_t fetchWidths[4] = {1, 2, 2, 4};
    const int32_t fetchWords = aga ? fetchWidths[r.FMODE & 3] : 1;
    // The fetch goes in blocks of at least eight cycles; the block under way when DDFSTOP is reached and
    // one more are fetched.
    const int32_t block = std::max(8, fetchWords * cyclesPerWord);
    const int32_t span = (r.DDFSTOP & 0xFE) - (r.DDFSTRT & 0xFE);
    if (span < 0) return 0;
    return ((span + block - 1) / block + 1) * (block / cyclesPerWord);
}

int32_t DisplayedLines(const DisplayRegisters& r) {
    const int32_t start = r.DIWSTRT >> 8;
    const int32_t stop = (r.DIWSTOP >> 8) | ((r.DIWSTOP & 0x8000) ? 0 : 0x100);
    return stop - start;
}

struct Field {
    FieldDisplay Display;
    std::array<uint32_t, 8> Pointers{};
};

class ScreenBuilder {
  public:
    ScreenBuilder(const MemoryState& memory, const std::optional<std::array<Colour, 256>>& baseColours)
        : Memory(memory), Aga(IsAgaMachine(memory.Snapshot)),
          Saved(SavedDisplayRegisters(memory.Snapshot)),
          Colours(baseColours ? *baseColours : SavedColours(memory.Snapshot, Aga)) {}

    RebuiltScreen Build() {
        CheckChipRam();
        Fields.push_back(ReadField(Memory.Snapshot.COP1LC));
        Mode = ReadDisplayMode(Fields[0].Display.Registers, Aga);
        CheckMode(Fields[0].Display.Registers);
        if (Mode.Interlaced) AddOtherField();
        RebuiltScreen screen;
        screen.Picture.Reset(Mode.Width, Mode.Height * static_cast<int32_t>(Fields.size()), PixelFormat::Rgb24);
        for (int32_t row = 0; row < screen.Picture.Height(); ++row)
            DrawRow(screen.Picture, row);
        screen.TopLineColours = Fields[0].Display.Colours;
        screen.Description = Describe();
        return screen;
    }

  private:
    const MemoryState& Memory;
    const bool Aga;
    const DisplayRegisters Saved;
    const std::array<Colour, 256> Colours;
    std::vector<Field> Fields;
    DisplayMode Mode;

    void CheckChipRam() const {
        if (Memory.ChipRamSize == 0)
            throw Error("the file holds no Amiga chip RAM (it is no save state), so it shows no Amiga screen");
        if (Memory.Snapshot.COP1LC == 0 || Memory.Snapshot.COP1LC >= Memory.ChipRamSize)
            throw Error("the save state holds no copper list: COP1LC is " + DollarHex(Memory.Snapshot.COP1LC) +
                        " in " + DollarHex(Memory.ChipRamSize) + " bytes of chip RAM");
    }

    void CheckMode(const DisplayRegisters& r) const {
        if (Mode.Planes == 0)
            throw Error("the display shows no bitplanes: BPLCON0 is " + DollarHex(r.BPLCON0));
        if (Mode.Width <= 0 || Mode.Width > MaxScreenSide)
            throw Error("the data fetch DDFSTRT " + DollarHex(r.DDFSTRT) + " to DDFSTOP " + DollarHex(r.DDFSTOP) +
                        " fetches no usable line");
        if (Mode.Height <= 0 || Mode.Height > MaxScreenSide)
            throw Error("the display window DIWSTRT " + DollarHex(r.DIWSTRT) + " to DIWSTOP " + DollarHex(r.DIWSTOP) +
                        " shows no lines");
        const auto planes = std::span(r.BPLPT).first(static_cast<size_t>(Mode.Planes));
        if (std::all_of(planes.begin(), planes.end(), [](uint32_t p) { return p == 0; }))
            throw Error("the display's bitplane pointers are all 0");
    }

    Field ReadField(uint32_t list) const {
        Field field{ReadFieldDisplay(Memory, list, Saved, Colours, Aga), {}};
        field.Pointers = field.Display.Registers.BPLPT;
        return field;
    }

    int32_t RowStride(const Field& field, int32_t plane) const {
        const DisplayRegisters& r = field.Display.Registers;
        return Mode.RowBytes + (plane % 2 == 0 ? r.BPL1MOD : r.BPL2MOD);
    }

    // The other field's list is the one this list loads into COP2LC. Without one, the other field's lines
    // lie halfway along each line's stride, as in one bitmap shown in two fields: after the list's lines when
    // the state was saved in a short frame, before them in a long frame (the saved LOF bit of VPOSR).
    void AddOtherField() {
        const std::optional<uint32_t> other = Fields[0].Display.OtherList;
        Field second = Fields[0];
        if (other && *other != Memory.Snapshot.COP1LC && *other < Memory.ChipRamSize) {
            second = ReadField(*other);
        } else {
            const int32_t direction = (Memory.Snapshot.VPOSR & 0x8000) ? -1 : 1;
            for (int32_t p = 0; p < 8; ++p)
                second.Pointers[static_cast<size_t>(p)] += static_cast<uint32_t>(direction * RowStride(second, p) / 2);
        }
        Fields.push_back(second);
        if (Fields[1].Pointers[0] < Fields[0].Pointers[0]) std::swap(Fields[0], Fields[1]);
    }

    uint8_t ChipByte(uint64_t address) const {
        if (address >= Memory.ChipRamSize) return 0;
        const uint64_t at = uint64_t{Memory.ChipRamOffset} + address;
        return at < Memory.MemoryImage.size() ? Memory.MemoryImage[at] : 0;
    }

    std::vector<uint8_t> PlaneValues(const Field& field, int32_t line) const {
        std::vector<uint8_t> values(static_cast<size_t>(Mode.Width), 0);
        for (int32_t p = 0; p < Mode.Planes; ++p) {
            const int64_t start = int64_t{field.Pointers[static_cast<size_t>(p)]} + int64_t{line} * RowStride(field, p);
            for (int32_t x = 0; x < Mode.Width; ++x) {
                const int64_t at = start + x / 8;
                if (at >= 0 && ((ChipByte(static_cast<uint64_t>(at)) >> (7 - x % 8)) & 1))
                    values[static_cast<size_t>(x)] |= static_cast<uint8_t>(1 << p);
            }
        }
        return values;
    }

    std::array<Colour, 256> LineColours(const Field& field, int32_t line) const {
        std::array<Colour, 256> colours = field.Display.Colours;
        const int32_t beamLine = (field.Display.Registers.DIWSTRT >> 8) + line;
        for (const ColourWrite& write : field.Display.ColourWrites)
            if (write.Line <= beamLine) colours[write.Index] = write.Value;
        return colours;
    }

    void DrawRow(Image& picture, int32_t row) const {
        const size_t fieldCount = Fields.size();
        const Field& field = Fields[static_cast<size_t>(row) % fieldCount];
        const int32_t line = row / static_cast<int32_t>(fieldCount);
        const std::vector<uint8_t> values = PlaneValues(field, line);
        const std::vector<Colour> colours =
            ColourLine(Mode, field.Display.Registers, LineColours(field, line), values);
        for (int32_t x = 0; x < Mode.Width; ++x)
            picture.SetRgb(x, row, colours[static_cast<size_t>(x)]);
    }

    ScreenDescription Describe() const {
        ScreenDescription d;
        d.Machine = ScreenMachine::Amiga;
        d.Bitplanes = Mode.Planes;
        d.Width = Mode.Width;
        d.Height = Mode.Height * static_cast<int32_t>(Fields.size());
        d.Hires = Mode.Hires || Mode.SuperHires;
        d.Interlaced = Fields.size() == 2;
        d.Ham = Mode.Ham;
        d.Ehb = Mode.Ehb;
        d.DualPlayfield = Mode.DualPlayfield;
        PlaneLayout layout{Mode.Planes, Mode.RowBytes, Mode.Height, Fields[0].Pointers, {}, std::nullopt};
        for (int32_t p = 0; p < 8; ++p)
            layout.RowStrides[static_cast<size_t>(p)] = RowStride(Fields[0], p);
        if (Fields.size() == 2) layout.SecondField = Fields[1].Pointers;
        SetRipLayout(d, layout);
        return d;
    }
};

} // namespace

DisplayMode ReadDisplayMode(const DisplayRegisters& r, bool aga) {
    DisplayMode mode;
    mode.Aga = aga;
    const uint16_t con0 = r.BPLCON0;
    mode.Planes = (aga && (con0 & 0x10)) ? 8 : std::min((con0 >> 12) & 7, aga ? 7 : 6);
    mode.Hires = (con0 & 0x8000) != 0;
    mode.SuperHires = (con0 & 0x40) != 0;
    mode.Interlaced = (con0 & 4) != 0;
    mode.Ham = (con0 & 0x800) != 0;
    mode.DualPlayfield = (con0 & 0x400) != 0;
    const bool killEhb = aga && (r.BPLCON2 & 0x200);
    mode.Ehb = mode.Planes == 6 && !mode.Ham && !mode.DualPlayfield && !killEhb;
    const int32_t cyclesPerWord = mode.SuperHires ? 2 : mode.Hires ? 4 : 8;
    mode.RowBytes = 2 * FetchWordsPerPlane(r, aga, cyclesPerWord);
    mode.Width = 8 * mode.RowBytes;
    mode.Height = DisplayedLines(r);
    return mode;
}

RebuiltScreen RebuildAmigaScreen(const MemoryState& memory, const std::optional<std::array<Colour, 256>>& baseColours) {
    return ScreenBuilder(memory, baseColours).Build();
}

} // namespace tavrik
